// The product search screen (screen 1, all products; screen 5, new releases only): three
// search boxes, the group combo, the product grid and the grid of the current product's
// applications, beside the product detail panel. Each mode remembers its own texts, group,
// rows and sort orders while the window lives.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class frmZornakForm;
class TelasCatalogo;
namespace vb {
class Image;
class Label;
class PictureBox;
class Shape;
class TextBox;
}  // namespace vb

class TelaProduto {
public:
    TelaProduto(frmZornakForm& janela, TelasCatalogo& telas);

    void MontaTelaProduto();
    void DesmontaTelaProduto();

    // The lists of the screen.
    void PesquisaProdutos(const std::string& ordem, bool bAtualiza);
    void PesquisaAplicacoesProduto(const std::string& ordem, bool bAtualiza, bool bLimpa);

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
    std::array<vb::Shape*, 2> shpGrid{};

private:
    void CriaControles();
    vb::PictureBox& Painel() const;
    frmZornakForm& janela_;
    TelasCatalogo& telas_;
};
