// The product search screen (screen 1, all products; screen 5, new releases only) and its
// product detail panel: three search boxes, the group combo, the product grid, the grid of
// the current product's applications, the photo, the cross references and the replacement.
// Each mode remembers its own texts, group, rows and sort orders while the window lives.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class frmZornakForm;
namespace vb {
class Image;
class Label;
class PictureBox;
class Shape;
class TextBox;
}  // namespace vb

class TelaProduto {
public:
    explicit TelaProduto(frmZornakForm& janela);

    void MontaTelaProduto();
    void DesmontaTelaProduto();

    // The lists of the screen.
    void PesquisaProdutos(const std::string& ordem, bool bAtualiza);
    void PesquisaAplicacoesProduto(const std::string& ordem, bool bAtualiza, bool bLimpa);
    void CarregaComboGrupos();

    // The detail panel of the product grid's current row; ordem "" keeps the applications
    // grid's remembered sort.
    void AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, bool bLimpa);
    // The same panel of the list screen (screen 3): references and photo only.
    void AtualizaPainelProdutoLista(bool bLimpa);
    // painel 1: screens 1 and 5; 3: the list screen.
    void CarregaReferenciasCruzadas(long painel, long produto);
    // The product photo from the data folder's "FotoPeca/"; True when a file was shown.
    bool MostraFotoProduto(const std::string& arquivo, long painel);
    // The list screen's number search box (LV or LC, whichever the list is) and the
    // manufacturers of its application; the list screen provides them.
    std::function<std::string()> TextoBuscaLista = [] { return std::string(); };

    // The search boxes' change handlers and the group combo's choice.
    void txtNumeroEmpresa_Change();
    void txtDescricaoProduto_Change();
    void txtNumeroFabricante_Change();
    void cboTHCombo2_SelecaoAlterada();

    // The mode now shown (the window's sub-screen: 0 all products, 1 new releases).
    std::uint8_t Modo() const;

    // Remembered per mode.
    std::array<std::string, 2> TextoNumeroFabricante, TextoNumeroEmpresa, TextoDescricaoProduto;
    std::array<int, 2> CodigoGrupoPesquisa{0, 0};
    std::array<long, 2> CodigoProdutoPesquisa{0, 0};
    std::array<long, 2> CodigoAplicacaoPesquisa{0, 0};
    std::array<std::string, 2> OrdemProdutos{"1", "4"};
    std::array<std::string, 2> OrdemAplicacoesProduto{"1", "1"};

    // The screen's own controls, on the window's panel 1.
    vb::TextBox* txtNumeroEmpresa = nullptr;
    vb::TextBox* txtDescricaoProduto = nullptr;
    vb::TextBox* txtNumeroFabricante = nullptr;
    vb::Label *lblNumeroEmpresa = nullptr, *lblDescricaoProduto = nullptr, *lblGrupo = nullptr,
              *lblLancamento = nullptr, *lblObs = nullptr, *lblNumeroReferencia = nullptr,
              *lblTipoAplicacao = nullptr, *lblAplicacaoProduto = nullptr, *lblFabricante = nullptr,
              *lblFig = nullptr, *lblLista = nullptr;
    vb::Image* imgAplicacaoLigaGrids = nullptr;
    std::array<vb::Image*, 4> imgFotoProduto{};   // 0, 1 here; 2, 3 on the list screen
    vb::Label* lblNroSubstituido = nullptr;
    vb::Shape* shpNroSubstituido = nullptr;
    vb::Shape* shpLigaRef = nullptr;
    std::array<vb::Shape*, 2> shpGrid{};
    vb::PictureBox* pctPainelRef = nullptr;
    std::array<vb::Label*, 7> lblNumeroFabricanteRef{};
    std::array<vb::Label*, 7> lblFabricanteRef{};
    vb::PictureBox* pctPainelRefL = nullptr;
    std::array<vb::Label*, 8> lblNumeroFabricanteRefL{};
    std::array<vb::Label*, 8> lblFabricanteRefL{};

private:
    void CriaControles();
    vb::PictureBox& Painel() const;
    frmZornakForm& janela_;
};
