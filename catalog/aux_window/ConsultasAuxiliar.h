// The SQL texts of the auxiliary window's screens, as pure functions of the codes and texts
// they are given: codes are written as decimal text, every "<I>" is already replaced by the
// language letter. A list's text ends with "ORDER BY "; its order function gives the order
// list of a sort code (a code it does not know is used as it stands).
#pragma once

#include <string>

namespace consultas {

// Screen 0: the observation of an application (tipo "A") or of a product.
std::string ObservacaoAuxiliar(const std::string& tipo, long codigo, const std::string& idioma);

// Screen 1: the applications of a product with their type and maker.
std::string GradeAplicacoesProduto(long produto, const std::string& idioma);
std::string OrdemGradeAplicacoesProduto(const std::string& ordem);   // "1,2,3" / "2,3" / "3,1,2"

// Screen 2: the rows of the cart table, and the cross references of one product.
std::string GradeCarrinho(const std::string& tabela);
std::string OrdemGradeCarrinho(const std::string& ordem);            // "1,2" / "2,1"
std::string ReferenciasCarrinho(long produto, const std::string& idioma);

// Screen 3: the names in its subtitle; the applications that take products of a group (0 for
// every group) from a maker, with the release flag first in ImagensGrid when the release
// column shows, and "<WHERE>" where the filter goes (the screen keeps it while the maker and
// group stay); the record source made of it with the filter of the typed words and an
// application type (0 for any) and the order list ("1,2" / "3 DESC,1,2"); the vehicles of an
// application from a maker (decimal digits).
std::string DescricaoGrupoProduto(long grupo, const std::string& idioma);
std::string DescricaoFabricante(long fabricante, const std::string& idioma);
std::string BaseAplicacoesGrupo(long fabricante, long grupo, bool colunaLancamento, const std::string& idioma);
std::string GradeAplicacoesGrupo(const std::string& base, const std::string& descricao, long tipo,
                                 const std::string& ordem, const std::string& idioma);
std::string VeiculosAplicacao(long aplicacao, const std::string& fabricante, const std::string& idioma);

}  // namespace consultas
