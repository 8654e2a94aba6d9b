#include "catalog/main_window/frmMenu.h"

#include "catalog/main_window/frmZornak.h"
#include "catalog/startup/Modulo.h"
#include "platform/vb/Strings.h"

frmMenuForm::frmMenuForm() : vb::Form("frmMenu") {}

void frmMenuForm::Build() {
    mnuConjuntos = NewMenu("mnuConjuntos");
    mnuConjunto = NewMenuArray("mnuConjunto", mnuConjuntos);
    mnuConjuntosVeiculo = NewMenu("mnuConjuntosVeiculo");
    mnuConjuntoVeiculo = NewMenuArray("mnuConjuntoVeiculo", mnuConjuntosVeiculo);
    mnuItensFigura = NewMenu("mnuItensFigura");
    for (int n = 1; n <= 4; ++n) {
        const std::string d = std::to_string(n);
        mnuProduto[n] = NewMenu("mnuProduto" + d, mnuItensFigura);
        mnuCarrinho[n] = NewMenu("mnuCarrinho" + d, mnuProduto[n]);
        mnuObservacao[n] = NewMenu("mnuObservacao" + d, mnuProduto[n]);
        mnuAplicacao[n] = NewMenu("mnuAplicacao" + d, mnuProduto[n]);
        const auto posicao = static_cast<std::uint8_t>(n);
        mnuCarrinho[n]->Click = [this, posicao] { ExecutaMenu(0, ObtemCodigoProdutoMenu(posicao)); };
        mnuObservacao[n]->Click = [this, posicao] { ExecutaMenu(1, ObtemCodigoProdutoMenu(posicao)); };
        mnuAplicacao[n]->Click = [this, posicao] { ExecutaMenu(2, ObtemCodigoProdutoMenu(posicao)); };
    }
    // The index of a set item is its column in ConjuntosMenu.
    mnuConjunto->SetHandlers([this](vb::Menu& m) {
        const int indice = m.Index();
        m.Click = [this, indice] { ExecutaMenu(3, indice); };
    });
    mnuConjuntoVeiculo->SetHandlers([this](vb::Menu& m) {
        const int indice = m.Index();
        m.Click = [this, indice] { ExecutaMenu(4, indice); };
    });
}

void frmMenuForm::Form_Load() {
    SetCaption(ObtemTituloAplicacao());
    std::string& requisicao = EstadoPrograma.RequisicaoTela;
    // The figure-item menu needs nothing here: its caller fills it after loading.
    if (requisicao != "CarregaMenuConjuntos" && requisicao != "CarregaMenuConjuntosVeiculo") return;
    const auto& conjuntos = EstadoPrograma.ConjuntosMenu;
    if (conjuntos.size() < 2 || conjuntos[0].empty()) {
        requisicao.clear();
        return;
    }
    vb::ControlArray<vb::Menu>& itens = requisicao == "CarregaMenuConjuntos" ? *mnuConjunto : *mnuConjuntoVeiculo;
    itens.UnloadAll();
    for (std::size_t i = 0; i < conjuntos[0].size(); ++i) {
        const int indice = static_cast<int>(i);
        vb::Menu& item = indice > 0 ? itens.Load(indice) : itens(0);
        item.SetCaption(conjuntos[0][i]);
        item.SetVisible(true);
    }
    requisicao.clear();
}

void frmMenuForm::ExecutaMenu(long opcao, long valor) {
    frmZornak().MenuClick(opcao, valor);
    // MenuClick has unloaded this window already; unloading it again does nothing.
    if (IsLoaded()) Unload();
}

long frmMenuForm::ObtemCodigoProdutoMenu(std::uint8_t posicao) const {
    if (posicao < 1 || posicao > 4) return 0;
    return vb::CLng(mnuProduto[posicao]->Tag());
}

frmMenuForm& frmMenu() {
    return static_cast<frmMenuForm&>(InstanciaJanela("frmMenu", [] { return std::make_unique<frmMenuForm>(); }));
}
