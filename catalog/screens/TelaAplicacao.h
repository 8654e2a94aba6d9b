// The application search screen (screen 2): applications by description words, type and
// manufacturer; each row opens the application's figure or its product list. The chosen
// type, manufacturer, application and sort order come back on the next visit, and so do
// the typed words (the box keeps its text).
#pragma once

#include <cstdint>
#include <string>

class frmZornakForm;
namespace vb {
class Label;
class TextBox;
}  // namespace vb

class TelaAplicacao {
public:
    explicit TelaAplicacao(frmZornakForm& janela);

    void MontaTelaAplicacao();
    void DesmontaTelaAplicacao();
    void PesquisaAplicacoes(const std::string& ordem, bool bAtualiza);

    // The description box's change and the choice in either combo.
    void txtDescricaoAplicacaoA_Change();
    void Combo_SelecaoAlterada();

    std::uint8_t CodigoTipoAplicacaoA = 0;
    std::uint8_t CodigoFabricanteA = 0;
    long CodigoAplicacaoA = 0;
    std::string OrdemAplicacoes = "1";

    vb::TextBox* txtDescricaoAplicacaoA = nullptr;
    vb::Label *lblTipoAplicacaoA = nullptr, *lblAplicacaoProdutoA = nullptr, *lblFabricanteA = nullptr,
              *lblFigA = nullptr, *lblListaA = nullptr;

private:
    void CriaControles();
    frmZornakForm& janela_;
};
