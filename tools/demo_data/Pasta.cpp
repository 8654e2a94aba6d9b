// The whole data folder, written beside its final place and moved there when complete.
#include "tools/demo_data/Catalogo.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace demo {

void GravaPastaDados(const Catalogo& c, const std::string& pasta, bool comImagens)
{
    namespace fs = std::filesystem;
    if (fs::exists(pasta)) throw std::runtime_error("the folder already exists: " + pasta);
    fs::create_directories(pasta);
    const std::string base = pasta + "/";
    GravaBancoCatalogo(c, base + "CatalogoZORNAK.c01");
    GravaBancoAuxiliar(base + "CatalogoZORNAK.c02");
    fs::create_directories(base + "FotoPeca");
    fs::create_directories(base + "Figuras");
    if (comImagens) {
        GravaFotos(c, base + "FotoPeca/");
        GravaFiguras(c, base + "Figuras/");
    }
    std::ofstream aviso(base + "cnpop.txt", std::ios::binary);
    aviso << c.aviso;
    if (!aviso) throw std::runtime_error("cannot write " + base + "cnpop.txt");
}

}  // namespace demo
