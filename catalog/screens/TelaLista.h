// Screen 3, the products of one application: LV, the list by vehicle (with its group
// filter), or LC, the list by assembly (with the figure item); over both, for a vehicle,
// the combo of the vehicle and its assemblies. The list context outlives the screen.
#pragma once

#include <string>

class frmZornakForm;
class TelasCatalogo;
namespace vb {
class Image;
class Label;
class TextBox;
}  // namespace vb

class TelaLista {
public:
    TelaLista(frmZornakForm& janela, TelasCatalogo& telas);

    void MontaTelaLista();
    void DesmontaTelaLista();
    void LimpaFiltrosLista(bool bProduto, bool bGrupo);
    void ReiniciaContextoLista();
    bool AplicacaoEhTipo1(long codigo) const;
    void ConfiguraComboAplicacao();

    // The list's products: LV by vehicle (with its group), LC by assembly (with the figure
    // item), filtered by the screen's boxes and sorted by ordem, which the list keeps.
    void PesquisaProdutosAplicacao(const std::string& ordem, bool bAtualiza);
    void PesquisaProdutosConjunto(const std::string& ordem, bool bAtualiza);

    // The list context (the application of the list and of its combo and the group are the
    // window's CodigoAplicacaoLista, CodigoAplicacaoCombo and CodigoGrupoLista).
    long CodigoProdutoLista = 0;
    std::string OrdemLista = "1";
    // True after a build while the list has a release column.
    bool ComLancamentos() const { return comLancamentos_; }

    // The screen's own controls, on the window's panel 3.
    vb::Label *lblNumeroEmpresaLV = nullptr, *lblDescricaoProdutoLV = nullptr, *lblNumeroReferenciaLV = nullptr,
              *lblGrupoLV = nullptr, *lblLancamentoLV = nullptr;
    vb::Label *lblNumeroEmpresaLC = nullptr, *lblDescricaoProdutoLC = nullptr, *lblNumeroReferenciaLC = nullptr,
              *lblItemFigLC = nullptr, *lblLancamentoLC = nullptr;
    vb::TextBox *txtNumeroEmpresaLV = nullptr, *txtDescricaoProdutoLV = nullptr, *txtNumeroFabricanteLV = nullptr;
    vb::TextBox *txtNumeroEmpresaLC = nullptr, *txtDescricaoProdutoLC = nullptr, *txtNumeroFabricanteLC = nullptr,
                *txtItemFigLC = nullptr;
    vb::Label *lblFigL = nullptr, *lblAplicL = nullptr, *lblObsL = nullptr;
    vb::Image *imgCarrinhoTodos = nullptr, *imgCarrinhoTodosSel = nullptr;

private:
    void CriaControles();
    bool MarcaLancamento() const;

    frmZornakForm& janela_;
    TelasCatalogo& telas_;
    bool comLancamentos_ = false;
    bool comboGrupoEmUso_ = false, comboAplicacaoEmUso_ = false;
};
