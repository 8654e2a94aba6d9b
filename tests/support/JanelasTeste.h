// The program's windows as the tests of the main window start them and clean up after them.
#pragma once

#include "catalog/main_window/JanelaAuxiliar.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"

#include <QCoreApplication>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The auxiliary window as the main window meets it: it records the request, sets the default
// pointer as the window does when its first screen shows, and leaves the scripted answer.
class JanelaAuxiliarGravada : public IJanelaAuxiliar {
public:
    void MostraModal() override {
        requisicoes.push_back(EstadoPrograma.RequisicaoTela);
        vb::Screen().SetMousePointer(vb::vbDefault);
        EstadoPrograma.RequisicaoTela = resposta;
    }
    std::string Ultima() const { return requisicoes.empty() ? std::string() : requisicoes.back(); }
    std::vector<std::string> requisicoes;
    std::string resposta;
};

// A 1024 x 768 screen; an error that escapes a handler goes to `erros` (the error box, as in
// the program, when none is given); the start-up makes the main window, with the screens that
// `fabrica` makes when one is given. Call it once the data are in place.
inline void PreparaJanelas(frmZornakForm::FabricaTelas fabrica = {}, vb::ErrorHandler erros = {}) {
    vb::Screen().SetSizeForTesting(1024, 768);
    if (!erros) erros = [](long numero, const std::string& descricao) { MostraErro(numero, descricao); };
    vb::SetErrorHandler(std::move(erros));
    RegistraJanelaPrincipal();
    if (fabrica) frmZornakForm::DefineFabricaTelas(std::move(fabrica));
}

// What such a test leaves goes: the windows and the events they posted, the screens' maker and
// the program folder.
inline void EncerraJanelas() {
    LiberaJanelas();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    frmZornakForm::DefineFabricaTelas({});
    os::SetProgramFolderForTesting("");
}

}  // namespace testsupport
