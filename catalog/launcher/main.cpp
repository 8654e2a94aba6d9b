// CallCatalogoZORNAK: the catalogue starts it, with its own process id, when an update asked
// for a restart, and then ends. This program waits until that process has gone and starts
// the catalogue again from its own folder; when it cannot, it says so in a message box.
#include "catalog/launcher/Lancador.h"
#include "common/modTraducao.h"
#include "platform/forms/App.h"
#include "platform/forms/QtMessageBox.h"
#include "platform/forms/WindowPlatform.h"
#include "platform/vb/MsgBox.h"

#include <QApplication>
#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

// Longer than any closing of the catalogue; a test may shorten it (milliseconds).
std::chrono::milliseconds LimiteEspera() {
    bool valido = false;
    const int ms = qEnvironmentVariableIntValue("ZK_ESPERA_LANCADOR", &valido);
    return std::chrono::milliseconds(valido && ms > 0 ? ms : 60000);
}

// Only where a window can be shown: without any display the text stays on standard error.
bool HaTela() {
    for (const char* nome : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* valor = std::getenv(nome);
        if (valor && *valor) return true;
    }
    return false;
}

int Avisa(int argc, char** argv, lancador::Falha falha, const std::string& detalhe) {
    const std::string idioma = lancador::IdiomaConfigurado();
    const std::string texto = lancador::TextoFalha(falha, idioma, detalhe);
    std::cerr << "CallCatalogoZORNAK: " << texto << std::endl;
    if (!HaTela()) return 1;
    vb::PrepareWindowPlatform();
    QApplication app(argc, argv);
    vb::SubstituteOriginalFonts();
    vb::LoadToolkitTranslations();
    if (qgetenv("ZK_MSGBOX") != "stderr") vb::InstallQtMessageBox();
    vb::MsgBox(texto, vb::vbCritical, Traduz(0, idioma));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    long id = 0;
    if (argc != 2 || !lancador::LeIdProcesso(argv[1], id)) {
        std::cerr << "usage: CallCatalogoZORNAK <process id of the catalogue that is ending>\n";
        return 2;
    }
    const std::string pasta = lancador::PastaPrograma();
    const std::string catalogo = (pasta == "/" ? pasta : pasta + "/") + lancador::ProgramaCatalogo;
    if (!lancador::AguardaFim(id, LimiteEspera()))
        return Avisa(argc, argv, lancador::Falha::EsperaEsgotada, {});
    const int erro = pasta.empty() ? ENOENT : lancador::IniciaDestacado(catalogo);
    if (erro != 0) return Avisa(argc, argv, lancador::Falha::InicioFalhou, catalogo + ": " + std::strerror(erro));
    return 0;
}
