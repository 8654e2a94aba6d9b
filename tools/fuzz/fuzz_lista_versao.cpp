// The lines of the server's version lists ("kind;name;size"), and where each accepted name
// lands: always inside the data folder.
#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "platform/vb/Err.h"
#include "tools/fuzz/PastaFuzz.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A folder of another case for the matching without case to find.
    std::filesystem::create_directories(fuzz::Pasta() + "/dados/Figuras/Sub");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string pasta = fuzz::Pasta() + "/dados/";
    std::vector<ArquivoAtualizacao> tabela;
    std::int64_t total = 0;
    try {
        AcrescentaListaVersao(std::string(reinterpret_cast<const char*>(dados), tamanho), tabela, total);
    } catch (const vb::Error&) {
    }
    for (const ArquivoAtualizacao& a : tabela) {
        const std::string destino = CaminhoArquivoAtualizacao(pasta, a.Nome);
        const auto relativo = std::filesystem::path(destino).lexically_normal().lexically_relative(pasta);
        if (destino.compare(0, pasta.size(), pasta) != 0 || relativo.empty() ||
            *relativo.begin() == "..")
            __builtin_trap();
    }
    return 0;
}
