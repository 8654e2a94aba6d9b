// Jet's LIKE matcher and the JET collation on any two texts ("pattern NUL text"). The
// collation must be a consistent order, or SQLite's sorting and indexes go wrong.
#include "platform/dao/JetSql.h"
#include "tools/fuzz/PastaFuzz.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    const auto [a, b] = fuzz::Divide(dados, tamanho);
    dao::JetLike(a, b);
    const int ab = dao::JetCollate(a, b);
    const int ba = dao::JetCollate(b, a);
    if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0)) __builtin_trap();
    if (dao::JetCollate(a, a) != 0) __builtin_trap();
    return 0;
}
