// The SQL texts of the main window's lists, as pure functions of the search texts, the
// chosen codes and the sort code. Each result is the data control's whole record source:
// the text with "ORDER BY " and the order list, every "<I>" already replaced by the
// language letter. The search texts are passed as typed; the normalisation happens here,
// so no typed text can break the SQL.
#pragma once

#include <string>

namespace consultas {

// A sort code that names no column of the list sorts by the first column ("1").
std::string OrdemAplicacoes(const std::string& ordem);   // "1,2,3" / "2,3" / "3,1,2"
std::string OrdemProdutos(const std::string& ordem);     // "1,2" / "2,1" / "3,1" / "4 DESC,1"

// The search texts of a product list, as typed into its boxes.
struct FiltrosProdutos {
    std::string numeroFabricante;   // competitor's cross-reference number
    std::string numeroEmpresa;      // company part number
    std::string descricao;          // words of the description
    int grupo = 0;                  // product group; 0 = all groups (not used by list LC)
    std::string itemFigura;         // figure item (list LC only)
};

// Screen 2: applications by description, type and manufacturer (0 = any).
std::string PesquisaAplicacoes(const std::string& descricao, int tipoAplicacao, int fabricante,
                               const std::string& ordem, const std::string& idioma);
// The group combo; textoTodos is the whole caption of its first, all-groups row ("<TODOS>").
std::string CarregaComboGrupos(const std::string& textoTodos, const std::string& idioma);
// The vehicle combo of list LV: the vehicle itself (code 0) and its applications.
std::string CarregaComboAplicacoesVeiculo(long codigoVeiculo, const std::string& idioma);
// Grid 2 of screens 1 and 5: the applications of product p (0 gives no row).
std::string PesquisaAplicacoesProduto(long codigoProduto, const std::string& ordem,
                                      const std::string& idioma);
// Screens 1 (all products) and 5 (lancamentos = true, new releases only).
std::string PesquisaProdutos(bool lancamentos, const FiltrosProdutos& filtros,
                             const std::string& ordem, const std::string& idioma);
// List LV: the products of an application; fabricantes is the comma-separated list of the
// application's manufacturers, which restricts the cross-reference search.
std::string PesquisaProdutosAplicacao(long codigoAplicacao, const FiltrosProdutos& filtros,
                                      const std::string& fabricantes, bool marcaLancamento,
                                      const std::string& ordem, const std::string& idioma);
// List LC: the products of an application's assembly with their figure items.
std::string PesquisaProdutosConjunto(long codigoAplicacao, const FiltrosProdutos& filtros,
                                     const std::string& fabricantes, bool marcaLancamento,
                                     const std::string& ordem, const std::string& idioma);

}  // namespace consultas
