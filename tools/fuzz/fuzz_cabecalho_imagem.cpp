// The size of a product photo read from its file's header (PNG, GIF, BMP, JPEG).
#include "catalog/startup/Modulo.h"
#include "tools/fuzz/PastaFuzz.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string arquivo = fuzz::Pasta() + "/foto";
    fuzz::Grava(arquivo, dados, tamanho);
    DimensoesImagem dimensoes;
    std::string tipo;
    ObtemDimensoesImagem(arquivo, dimensoes, tipo);
    return 0;
}
