// A private temporary folder per fuzzing process, for the routines that read their input
// from a file, and the split of one input into two texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace fuzz {

// Made once per process and removed at its normal end. Kept on the heap so that the
// removal at exit still has the name.
inline const std::string& Pasta() {
    static const std::string* pasta = [] {
        // In memory where there is such a folder: the settings are written with a sync.
        const char* tmp = std::getenv("TMPDIR");
        std::error_code ec;
        const std::string base = tmp && *tmp ? tmp : std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "/tmp";
        auto* modelo = new std::string(base + "/zk-fuzz-XXXXXX");
        if (!mkdtemp(modelo->data())) std::abort();
        return modelo;
    }();
    static const bool limpeza = [] {
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*pasta, ec);
        });
        return true;
    }();
    (void)limpeza;
    return *pasta;
}

inline void Grava(const std::string& caminho, const std::uint8_t* dados, std::size_t tamanho) {
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    arquivo.write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
    if (!arquivo) std::abort();
}

// The bytes before the first NUL and the bytes after it (all of them and "" without one).
inline std::pair<std::string_view, std::string_view> Divide(const std::uint8_t* dados, std::size_t tamanho) {
    const std::string_view texto(reinterpret_cast<const char*>(dados), tamanho);
    const std::size_t nul = texto.find('\0');
    if (nul == std::string_view::npos) return {texto, {}};
    return {texto.substr(0, nul), texto.substr(nul + 1)};
}

}  // namespace fuzz
