// The settings file's enciphered fields: hexadecimal text deciphered under the program's key.
#include "common/MRijndael.h"
#include "platform/vb/Err.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    try {
        ProcessaCriptografia(std::string(reinterpret_cast<const char*>(dados), tamanho), false);
    } catch (const vb::Error&) {
    }
    return 0;
}
