// The SQL texts the catalogue screens read besides their lists: the home screen's makers and
// groups, the figure's pages and items, the sets of an application, the list screen's tests
// and the detail panel's references. Pure functions of the codes and texts they are given,
// as the list queries are; codes are written as decimal text, "<I>" is already replaced.
#pragma once

#include <optional>
#include <string>

namespace consultas {

// The home screen: the makers it shows, in their order, and the product groups of one maker
// with the vehicles pseudo-group (code -1, captioned textoVeiculos) last.
std::string FabricantesTelaPrincipal(const std::string& idioma);
std::string GruposFabricante(long codigoFabricante, const std::string& textoVeiculos, const std::string& idioma);

// The figure of a set: its items by page with their state and picture file, the products of
// its items that fit their application, and the items of one product.
std::string CarregaFiguraDetalhada(long conjunto);
std::string AbreItensConjunto(long conjunto, const std::string& idioma);
std::string ItensProdutoConjunto(long conjunto, const std::string& produto);   // produto: decimal digits
// The Find criterion of an item (as its label shows it) among the set's items.
std::string CriterioItemFigura(const std::string& item);

// The first set of an application (of those holding the product unless it is -1); the sets
// of a vehicle's applications, and those among them that hold a product, for the menus.
std::string ObtemConjunto(long aplicacao, long produto);
std::string CarregaMenuConjuntosVeiculo(long veiculo, const std::string& idioma);
std::string CarregaMenuConjuntos(long produto, long veiculo, const std::string& idioma);

// The list screen's tests: 1 when the application is a vehicle (type 1), 1 when it takes a
// new release.
std::string AplicacaoEhTipo1(long aplicacao);
std::string AplicacaoTemLancamentos(long aplicacao);

// The detail panel: the product's cross references, those holding the typed number first
// and marked, restricted to the makers of a comma list when one is given; and the company
// number of the replacing product ("" when it has none).
std::string CarregaReferenciasCruzadas(long produto, const std::string& numeroDigitado,
                                       const std::optional<std::string>& fabricantes, const std::string& idioma);
std::string NumeroEmpresaSubstituto(long substituto);

}  // namespace consultas
