// zk_demo_data: writes the demo data folder.
//   zk_demo_data --out <folder> [--seed N] [--scale N] [--no-pictures]
// The folder is replaced as a whole: the new one is written beside it and swapped in.
#include "tools/demo_data/Catalogo.h"

#include "platform/vb/Err.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    std::string destino;
    demo::Opcoes op;
    bool imagens = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto valor = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zk_demo_data: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--out") destino = valor();
        else if (a == "--seed") op.semente = std::stoull(valor());
        else if (a == "--scale") op.escala = std::stoi(valor());
        else if (a == "--no-pictures") imagens = false;
        else {
            std::fprintf(stderr, "usage: zk_demo_data --out <folder> [--seed N] [--scale N] [--no-pictures]\n");
            return 2;
        }
    }
    if (destino.empty() || op.escala < 1) {
        std::fprintf(stderr, "usage: zk_demo_data --out <folder> [--seed N] [--scale N] [--no-pictures]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    try {
        while (!destino.empty() && destino.back() == '/') destino.pop_back();
        const std::string novo = destino + ".novo";
        const std::string velho = destino + ".velho";
        fs::remove_all(novo);
        fs::remove_all(velho);
        const demo::Catalogo c = demo::GeraCatalogo(op);
        demo::GravaPastaDados(c, novo, imagens);
        if (fs::exists(destino)) fs::rename(destino, velho);
        fs::rename(novo, destino);
        fs::remove_all(velho);
        std::printf("zk_demo_data: %s (%zu products)\n", destino.c_str(), c.Tab("PRODUTO").linhas.size());
        return 0;
    } catch (const vb::Error& e) {
        std::fprintf(stderr, "zk_demo_data: error %ld: %s\n", e.Number(), e.Description().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zk_demo_data: %s\n", e.what());
    }
    return 1;
}
