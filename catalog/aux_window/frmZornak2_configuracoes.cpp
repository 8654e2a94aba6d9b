// Screen 5 of the auxiliary window, the user's settings (automatic update check, proxy user
// name and password), and the entry of screen 6, the update installation.
#include "catalog/aux_window/frmZornak2.h"

#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

void frmZornak2Form::ExibeTelaConfiguracoes() {
    imgTitulo->SetPicture(CarregaImagemRecurso("TITCONFIGURACOES"));
    lblSubTitulo->SetCaption("");
    lblVerificarAtualizacoesAuto->SetCaption(vb::UCase(Traduz(80)));
    lblAutenticacaoProxy->SetCaption("  " + vb::UCase(Traduz(81)) + "  ");
    lblUsuario->SetCaption(vb::UCase(Traduz(82)));
    lblSenha->SetCaption(vb::UCase(Traduz(83)));
    lblOk->SetVisible(true);
    imgBtnOk->SetVisible(true);
    const bool ligada = EstadoPrograma.VerificacaoAutomatica;
    lblVerificarAtualizacoesAuto->SetTag(ligada ? "1" : "0");
    (*imgVerificarAtualizacoesAuto)(0).SetVisible(!ligada);
    (*imgVerificarAtualizacoesAuto)(1).SetVisible(ligada);
    std::string usuario, senha;
    LeConfiguracao("USUARIO_SENHA", usuario, senha);
    txtUsuario->SetText(usuario);
    txtSenha->SetText(senha);
    (*pctTela)(5).SetVisible(true);
    (*pctTela)(5).Refresh();
    vb::DoEvents();
    // The window may have been closed meanwhile, its controls with it.
    if (IsLoaded()) IgnoraFalha([&] { txtUsuario->SetFocus(); });
}

void frmZornak2Form::lblVerificarAtualizacoesAuto_Click() {
    const int antigo = lblVerificarAtualizacoesAuto->Tag() == "1" ? 1 : 0;
    const int novo = antigo == 0 ? 1 : 0;
    (*imgVerificarAtualizacoesAuto)(novo).SetVisible(true);
    (*imgVerificarAtualizacoesAuto)(antigo).SetVisible(false);
    lblVerificarAtualizacoesAuto->SetTag(std::to_string(novo));
}

void frmZornak2Form::lblOk_Click() {
    if (TelaAtual() != 5) return;
    vb::Screen().SetMousePointer(vb::vbHourglass);
    const std::string chave = lblVerificarAtualizacoesAuto->Tag();
    // The user name is trimmed; a password may begin or end with blanks on purpose.
    GravaConfiguracao("", chave, vb::Trim(txtUsuario->Text()), txtSenha->Text(), true);
    EstadoPrograma.VerificacaoAutomatica = chave == "1";
    lblVoltar_Click();
    vb::Screen().SetMousePointer(vb::vbDefault);
}

void frmZornak2Form::ExibeTelaAtualizacao(int versaoInstalada, int versaoNova) {
    // The installation runs inside the show routine; it answers and closes the window itself.
    ExecutaTelaAtualizacao(*this, versaoInstalada, versaoNova);
}
