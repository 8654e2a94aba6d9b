// The criteria of FindFirst/FindNext: read against a recordset's field names and evaluated
// on rows of each kind of value.
#include "platform/dao/Criteria.h"
#include "platform/vb/Err.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::vector<std::string> campos = {"Id", "Nome", "Num", "Qt", "Preco", "Dia"};
    static const std::vector<std::vector<vb::Variant>> linhas = {
        {vb::Variant(1), vb::Variant("Pastilha"), vb::Variant("1234567"), vb::Variant(5),
         vb::Variant(1.5), vb::Variant::Date(40000.25)},
        {vb::Variant(2), vb::Variant("ÁGUA"), vb::Variant::Null(), vb::Variant::Null(),
         vb::Variant(-0.0), vb::Variant::Null()},
        {vb::Variant(-2147483647 - 1), vb::Variant(""), vb::Variant("x1"), vb::Variant(true),
         vb::Variant(1e308), vb::Variant::Date(-1.5)}};
    try {
        const dao::detail::Criteria criterio(
            std::string_view(reinterpret_cast<const char*>(dados), tamanho), campos);
        for (const auto& linha : linhas) {
            try {
                criterio.Matches([&linha](int campo) { return linha.at(static_cast<std::size_t>(campo)); });
            } catch (const vb::Error&) {
            }
        }
    } catch (const vb::Error&) {
    }
    return 0;
}
