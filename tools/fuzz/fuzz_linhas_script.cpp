// The lines of an update's database script, one after another with the template they set.
#include "catalog/aux_window/LinhasScript.h"
#include "platform/vb/Strings.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string texto(reinterpret_cast<const char*>(dados), tamanho);
    std::string modelo;
    for (const std::string& linha : vb::Split(texto, "\r\n")) InterpretaLinhaScript(linha, modelo);
    return 0;
}
