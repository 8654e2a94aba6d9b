// VerifAtualizCatalogoZORNAK: asks the update server for the latest catalogue version and
// writes one result line. Its hidden window starts the check and the check ends the program.
#include "common/Modulo.h"
#include "common/modInternet.h"
#include "platform/forms/App.h"
#include "platform/forms/Events.h"
#include "platform/forms/QtMessageBox.h"
#include "platform/forms/WindowPlatform.h"
#include "platform/vb/Err.h"
#include "update_checker/Modulo.h"
#include "update_checker/frmVerifAtualizCatalogoZORNAK.h"

#include <QApplication>
#include <QByteArray>

#include <cstdint>
#include <memory>

int main(int argc, char** argv) {
    vb::PrepareWindowPlatform();
    QApplication app(argc, argv);
    DefineArgumentosPrograma(argc, argv);
    vb::SubstituteOriginalFonts();
    vb::LoadToolkitTranslations();
    TraduzDialogoProxy();
    // ZK_MSGBOX=stderr leaves the box on standard error, for runs without a person.
    if (qgetenv("ZK_MSGBOX") != "stderr") vb::InstallQtMessageBox();
    // ZK_TEMPO_LIMITE_INTERNET shortens the network time-outs (milliseconds), so that runs
    // against a server that stalls need not wait a minute each.
    bool tempoValido = false;
    const int tempoLimite = qEnvironmentVariableIntValue("ZK_TEMPO_LIMITE_INTERNET", &tempoValido);
    if (tempoValido && tempoLimite > 0) DefineTempoLimiteInternet(static_cast<std::uint32_t>(tempoLimite));
    vb::SetErrorHandler([](long numero, const std::string& descricao) { MostraErro(numero, descricao); });

    int codigo = 0;
    {
        auto janela = std::make_unique<frmVerifAtualizCatalogoZORNAKForm>();
        try {
            janela->Load();
        } catch (const vb::Error& e) {
            MostraErro(e.Number(), e.Description());
            return 1;
        }
        codigo = vb::EndRequested() ? vb::EndExitCode() : app.exec();
        if (janela->IsLoaded()) janela->Unload();
    }
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return codigo;
}
