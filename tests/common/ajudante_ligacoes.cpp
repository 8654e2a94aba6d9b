// A program that hands a file from a folder whose name is not UTF-8 to the mail program, as
// the cart screen does, and ends as the catalogue ends, for test_common_shell to watch from
// outside. The file is PASTA/peças/carrinho.txt, the folder's name in Latin-1 (an argument
// could not carry it). It prints "pronto" once xdg-email has been started; then:
//   ajudante_ligacoes fim PASTA      ends by itself (the close)
//   ajudante_ligacoes espera PASTA   runs until the system asks it to end (SIGTERM...)
#include "common/Modulo.h"
#include "platform/forms/Events.h"
#include "platform/os/Signals.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) return 2;
    const std::string modo = argv[1];
    // The system's end requests end the run as the catalogue's close does.
    os::WatchEndSignals([](int) { vb::End(0); });
    try {
        EnviaEmail(std::string(argv[2]) + "/pe\xE7" "as/carrinho.txt", "|");
    } catch (const vb::Error& e) {
        std::printf("erro: %ld %s\n", e.Number(), e.Description().c_str());
        return 1;
    }
    std::printf("pronto\n");
    std::fflush(stdout);
    if (modo == "fim") QTimer::singleShot(0, [] { vb::End(0); });
    else if (modo != "espera") return 2;
    return vb::EndRequested() ? vb::EndExitCode() : app.exec();
}
