// Jet SQL from outside (the update scripts' statements) through the translation to SQLite.
#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    try {
        dao::TranslateJetSql(std::string_view(reinterpret_cast<const char*>(dados), tamanho));
    } catch (const vb::Error&) {
    }
    return 0;
}
