// The per-user settings line, as both readings take it: language and check flag, then the
// enciphered proxy user and password.
#include "common/Modulo.h"
#include "platform/os/Folders.h"
#include "tools/fuzz/PastaFuzz.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("XDG_CONFIG_HOME", fuzz::Pasta().c_str(), 1);
    // No old copy in the "system folder" (the program folder).
    std::filesystem::create_directories(fuzz::Pasta() + "/programa");
    os::SetProgramFolderForTesting(fuzz::Pasta() + "/programa");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    static const std::string arquivo = ObtemPastaConfiguracao(true) + ArquivoConfiguracao;
    fuzz::Grava(arquivo, dados, tamanho);
    std::string usuario, senha;
    LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", usuario, senha);
    if (EstadoPrograma.Idioma != "P" && EstadoPrograma.Idioma != "E" && EstadoPrograma.Idioma != "I")
        __builtin_trap();
    LeConfiguracao("USUARIO_SENHA", usuario, senha);
    return 0;
}
