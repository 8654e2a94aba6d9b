// The product detail panel beside the product lists: the current product's photo (or its
// strip), its cross references with the searched number first and in red, and, on screens 1
// and 5, the product that replaces it and the grid of its applications; on the list screen
// only the references of the list application's manufacturers. Also the large drawing of
// the figure screen's page.
#pragma once

#include <array>
#include <string>

class frmZornakForm;
class TelasCatalogo;
namespace vb {
class Image;
class Label;
class PictureBox;
class Shape;
}  // namespace vb

class PainelProduto {
public:
    // The controls are made on the panels of screens 1 and 3; the screens' own search boxes
    // and the applications grid are reached through telas when the panel is refreshed.
    PainelProduto(frmZornakForm& janela, TelasCatalogo& telas);

    // Screens 1 and 5: the whole panel of the product grid's current row. ordem "" keeps the
    // applications grid's remembered sort; bLimpa empties the panel and the grid.
    void AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, bool bLimpa);
    // The list screen: references and photo only.
    void AtualizaPainelProdutoLista(bool bLimpa);
    // painel 1: screens 1 and 5; 3: the list screen.
    void CarregaReferenciasCruzadas(long painel, long produto);
    // The product photo from the data folder's "FotoPeca/"; True when a file was shown.
    bool MostraFotoProduto(const std::string& arquivo, long painel);
    // The figure page's picture: CaminhoDados & "Figuras/" & arquivo; an empty name clears
    // it, a file that cannot be read leaves the picture as it was.
    void MostraFigura(const std::string& arquivo);

    std::array<vb::Image*, 4> imgFotoProduto{};   // 0, 1 on screens 1 and 5; 2, 3 on the list screen
    vb::Label* lblNroSubstituido = nullptr;
    vb::Shape* shpNroSubstituido = nullptr;
    vb::Shape* shpLigaRef = nullptr;
    vb::PictureBox* pctPainelRef = nullptr;
    std::array<vb::Label*, 7> lblNumeroFabricanteRef{};
    std::array<vb::Label*, 7> lblFabricanteRef{};
    vb::PictureBox* pctPainelRefL = nullptr;
    std::array<vb::Label*, 8> lblNumeroFabricanteRefL{};
    std::array<vb::Label*, 8> lblFabricanteRefL{};

private:
    void CriaControles();
    // The number typed in the search box whose matches the references highlight.
    std::string TextoBusca(long painel) const;

    frmZornakForm& janela_;
    TelasCatalogo& telas_;
};
