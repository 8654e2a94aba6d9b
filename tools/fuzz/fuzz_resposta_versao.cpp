// The update server's reply to the version question, as the checker turns it into a number:
// the reply's bytes as text, then the checker's own conversion.
#include "platform/vb/Err.h"
#include "platform/vb/Text.h"
#include "update_checker/Modulo.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    try {
        ConverteRespostaVersao(vb::DecodeServerText(std::string_view(reinterpret_cast<const char*>(dados), tamanho)));
    } catch (const vb::Error&) {
    }
    return 0;
}
