#include "catalog/aux_window/ligacao/RegistroJanelaAuxiliar.h"

#include "catalog/aux_window/frmZornak2.h"
#include "catalog/main_window/JanelaAuxiliar.h"
#include "catalog/main_window/ModuloImpressao.h"
#include "catalog/main_window/frmZornak.h"

#include <memory>

namespace {

class JanelaAuxiliarZornak2 : public IJanelaAuxiliar {
public:
    void MostraModal() override {
        frmZornak2Form& janela = frmZornak2();
        // Each request gets a freshly loaded window.
        if (janela.IsLoaded()) janela.Unload();
        janela.Show(vb::vbModal);
    }
};

}  // namespace

void RegistraJanelaAuxiliar() {
    LigacoesJanelaAuxiliar& l = frmZornak2Form::Ligacoes();
    l.AreaDesenhoPrincipal = [] { return frmZornak().pctBase->ScreenRect(); };
    l.SubClassing = [](bool liga) { frmZornak().SubClassing(liga); };
    l.JanelaPrincipal = []() -> vb::Form* { return &frmZornak(); };
    l.RedesenhaPrincipal = [] {
        frmZornakForm& principal = frmZornak();
        (*principal.pctTela)(0).Refresh();
        (*principal.pctOrelha)(0).Refresh();
        principal.Refresh();
    };
    l.ApagaDestaquePrincipal = [] { frmZornak().AtualizaSelecaoMouse("FORM"); };
    l.ImprimirCarrinho = [](dao::Recordset& rs) { ImprimirCarrinho(rs); };
    DefineJanelaAuxiliar(std::make_shared<JanelaAuxiliarZornak2>());
}
