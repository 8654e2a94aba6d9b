// Printing of the main window: the cart, the product list of a list screen with the
// products' observations, and one page of a set's figure. Each printout asks for the printer
// (ConfiguraImpressora), prints the page header on every page (ImprimirCabecalho) and ends
// the document. Positions are print units of 4 twips (1/360 inch); a position of N units
// is N x EscalaImpressao() printer pixels.
//
// The routines take what they read of the main window as arguments, so that the window's
// print button (and the auxiliary window's cart screen) only hand it over.
#pragma once

#include "platform/dao/Dao.h"

#include <cstdint>
#include <string>
#include <vector>

// Shows the printer dialog and prepares the printer: orientation (1 portrait, 2 landscape),
// pixel scale, EscalaImpressao and the font. False when the user cancelled (no message) or an
// error was reported with MostraErro.
bool ConfiguraImpressora(std::uint8_t sOrientation, const std::string& sFontName = "Arial");

// The page header: the program's title, version and issue date, sTitulo, and the page line;
// with sNewPage True it first starts a new page. The printer's font name is kept.
void ImprimirCabecalho(const std::string& sTitulo, bool sNewPage);

// Printer pixels per print unit, as the last ConfiguraImpressora set it.
double EscalaImpressao();

// The cart, portrait, from the recordset's current row to its end (rows with CodigoProduto,
// NumeroEmpresaFormatado, DescricaoProduto, Quantidade). When the printer was chosen the
// recordset is closed and sRsCarrinho becomes Nothing; after a cancelled dialog it is left
// open and untouched.
void ImprimirCarrinho(dao::Recordset& sRsCarrinho);

// What the product list printout reads of the list screen.
struct ListaImpressao {
    dao::Recordset Recordset;            // the recordset of dtcTHGrid1 (printed from a clone)
    bool ListaVeiculo = true;            // the Tag of grdTHGrid1 is "1": by group, else by figure item
    bool ColunaLancamento = false;       // the list shows the release column, so ImagensGrid
                                         // starts with the release flag
    std::string FabricantesAplicacao;    // FabricantesLista: "" prints every maker's references
    long CodigoAplicacao = 0;            // ObtemCodigoAplicacao(), for the title
};

// The product list, landscape, then the observations of the products that have one.
void ImprimirLista(const ListaImpressao& lista);

// One figure page of a set, landscape: the picture at about one picture pixel per point and
// the item numbers on it, bold when applicable to the set's application, italic otherwise.
// aplicacaoFigura (CodigoAplicacaoFigura) gives the title.
void ImprimirFigura(long CodigoConjunto, std::uint8_t NumeroParteFigura, long aplicacaoFigura);

// The SQL texts the printouts read: the observation of a product with its number (its code
// as "(COD:n)" when it has none), "<I>" replaced by the language letter; and the items of one
// figure page of a set with their places, ItemAplicavel 1 when a product of the item fits the
// set's application.
namespace consultas {
std::string ObservacaoImpressao(long produto, const std::string& idioma);
std::string FiguraImpressao(long conjunto, std::uint8_t parte);
}  // namespace consultas

// The width of a text in screen pixels in a font, as the window's hidden measuring picture
// box pctTmp measures it.
long LarguraTextoMedida(const std::string& texto, const std::string& fonte, double tamanho);

// The printable lines of an observation: trimmed (TiraBrancos), split into paragraphs at
// CR LF, each paragraph cut where it grows wider than 620 measuring pixels in the printer's
// font. At least one line.
std::vector<std::string> QuebraTexto(const std::string& sTexto);
std::vector<std::string> QuebraLinha(const std::string& sTexto);
