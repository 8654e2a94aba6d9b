// CatalogoZORNAK: the splash window starts the program; the credits window, or a failed
// start-up, ends it.
#include "catalog/aux_window/ligacao/RegistroJanelaAuxiliar.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmApresentacao.h"
#include "common/modInternet.h"
#include "platform/forms/App.h"
#include "platform/forms/Events.h"
#include "platform/forms/QtMessageBox.h"
#include "platform/forms/WindowPlatform.h"
#include "platform/os/Signals.h"
#include "platform/vb/Err.h"

#include <QApplication>
#include <QByteArray>

int main(int argc, char** argv) {
    // The windows stand at fixed places on the screen, which Wayland does not allow; X
    // (also XWayland) does.
    vb::PrepareWindowPlatform();
    QApplication app(argc, argv);
    vb::SubstituteOriginalFonts();
    vb::LoadToolkitTranslations();
    TraduzDialogoProxy();
    // ZK_MSGBOX=stderr leaves the boxes on standard error with their first button as the
    // answer, for runs without a person (the start-up tests).
    if (qgetenv("ZK_MSGBOX") != "stderr") vb::InstallQtMessageBox();
    vb::SetErrorHandler([](long numero, const std::string& descricao) { MostraErro(numero, descricao); });
    RegistraJanelaPrincipal();
    RegistraJanelaAuxiliar();
    // Log-out, shut-down, a closed terminal or Ctrl+C end the program as its close does, so
    // that no cart table and no checker outlive it.
    os::WatchEndSignals([](int) { EncerraProgramaPeloSistema(); });

    int codigo = 1;
    bool iniciou = false;
    try {
        frmApresentacao().Show(vb::vbModeless);
        iniciou = true;
    } catch (const vb::Error& e) {
        MostraErro(e.Number(), e.Description());
    } catch (const std::exception& e) {
        MostraErro(51, std::string("Internal error: ") + e.what());
    }
    if (iniciou) codigo = vb::EndRequested() ? vb::EndExitCode() : app.exec();

    // The windows go while the application object still exists.
    LiberaJanelas();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return codigo;
}
