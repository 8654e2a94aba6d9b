// The catalogue installing an update, in a process of its own, for the tests that kill it:
//   ajudante_instalacao <data folder> <request>     (request as "6|27|28")
// It opens the data folder as the start-up does, takes the update lock as the main window does
// and opens the auxiliary window with the request. Every message box goes to standard output
// as one line, "caixa " and its text (line breaks as " / "), and then stays up: nobody answers
// it. Lines of its own: "bloqueado" once the lock is held, "sem bloqueio" when refused.
#include "catalog/aux_window/frmZornak2.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/Events.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <QApplication>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>

namespace {

class Janela : public frmZornak2Form {
public:
    void Ativa() { Form_Activate(); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: ajudante_instalacao <data folder> <request>\n";
        return 2;
    }
    QApplication app(argc, argv);
    EstadoPrograma.CaminhoDados = std::string(argv[1]) + "/";
    vb::SetMsgBoxHandler([](const std::string& texto, int, const std::string&) -> int {
        std::cout << "caixa " << vb::Replace(texto, "\r\n", " / ") << std::endl;
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    });
    AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    AbreBancoAuxiliar(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar);
    if (!BloqueiaAtualizacao(true)) {
        std::cout << "sem bloqueio" << std::endl;
        return 1;
    }
    std::cout << "bloqueado" << std::endl;
    Janela janela;
    EstadoPrograma.RequisicaoTela = argv[2];
    janela.Show(vb::vbModeless);
    QApplication::processEvents();
    if (janela.PrimeiraAtivacao) janela.Ativa();
    for (;;) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
