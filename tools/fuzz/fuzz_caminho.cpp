// "Caminho.txt" beside the program: the data folder it names.
#include "common/Modulo.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "tools/fuzz/PastaFuzz.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::filesystem::create_directories(fuzz::Pasta() + "/programa");
    os::SetProgramFolderForTesting(fuzz::Pasta() + "/programa");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string arquivo = fuzz::Pasta() + "/programa/Caminho.txt";
    fuzz::Grava(arquivo, dados, tamanho);
    try {
        const std::string pasta = ObtemCaminhoDados();
        if (pasta.empty() || pasta.back() != '/') __builtin_trap();
    } catch (const vb::Error&) {
    }
    return 0;
}
