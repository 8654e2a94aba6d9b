#include "catalog/launcher/Lancador.h"

#include "common/Modulo.h"
#include "platform/os/Folders.h"
#include "platform/vb/Strings.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace lancador {

const char* const ProgramaCatalogo = "CatalogoZORNAK";

std::string PastaPrograma() {
    std::vector<char> bytes(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", bytes.data(), bytes.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < bytes.size()) {
            std::string caminho(bytes.data(), static_cast<std::size_t>(n));
            const std::size_t barra = caminho.rfind('/');
            if (barra == std::string::npos) return {};
            return barra == 0 ? std::string("/") : caminho.substr(0, barra);
        }
        bytes.resize(bytes.size() * 2);
    }
}

bool LeIdProcesso(const std::string& texto, long& id) {
    if (texto.empty() || texto.size() > 9) return false;
    long valor = 0;
    for (char c : texto) {
        if (c < '0' || c > '9') return false;
        valor = valor * 10 + (c - '0');
    }
    if (valor <= 0) return false;
    id = valor;
    return true;
}

SituacaoProcesso LeSituacaoProcesso(long id) {
    SituacaoProcesso s;
    std::ifstream arquivo("/proc/" + std::to_string(id) + "/stat");
    std::string linha;
    if (!std::getline(arquivo, linha)) return s;
    // "id (name) state ...": the name may hold blanks and parentheses, so the fields are
    // counted from the last ")".
    const std::size_t fecha = linha.rfind(')');
    if (fecha == std::string::npos) return s;
    std::istringstream campos(linha.substr(fecha + 1));
    std::string estado;
    campos >> estado;
    // The start time is the 22nd field; the state is the 3rd.
    std::string campo;
    for (int i = 4; i < 22 && campos >> campo; ++i) {
    }
    unsigned long long inicio = 0;
    if (!(campos >> inicio)) return s;
    s.rodando = estado != "Z" && estado != "X" && estado != "x";
    s.inicio = inicio;
    return s;
}

bool AguardaFim(long id, std::chrono::milliseconds limite) {
    const SituacaoProcesso primeira = LeSituacaoProcesso(id);
    if (!primeira.rodando) return true;
    const auto fim = std::chrono::steady_clock::now() + limite;
    for (;;) {
        const SituacaoProcesso agora = LeSituacaoProcesso(id);
        if (!agora.rodando || agora.inicio != primeira.inicio) return true;
        if (std::chrono::steady_clock::now() >= fim) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

int IniciaDestacado(const std::string& programa) {
    // A folder or a file without the right to run it would only fail in the child; said here.
    struct stat info {};
    if (::stat(programa.c_str(), &info) != 0) return errno;
    if (!S_ISREG(info.st_mode)) return EACCES;
    posix_spawnattr_t atributos;
    if (posix_spawnattr_init(&atributos) != 0) return ENOMEM;
    // A session of its own: the terminal or the session the ending catalogue belonged to may go.
    posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSID);
    std::string nome = programa;
    char* argumentos[] = {nome.data(), nullptr};
    pid_t filho = 0;
    // The C library reports a program that cannot be run as the error of this call.
    const int erro = posix_spawn(&filho, programa.c_str(), nullptr, &atributos, argumentos, environ);
    posix_spawnattr_destroy(&atributos);
    return erro;
}

std::string IdiomaConfigurado() {
    try {
        const std::string pasta = os::LocalAppDataFolder();
        if (pasta.empty()) return "P";
        const std::string caminho = pasta + "/VelmoSistemas/" + ArquivoConfiguracao;
        if (!ExisteArquivo(caminho)) return "P";
        const std::vector<std::string> campos = LeCamposConfiguracao(caminho);
        if (campos.empty()) return "P";
        const std::string letra = vb::Left(vb::UCase(vb::Trim(campos[0])), 1);
        if (letra == "P" || letra == "E" || letra == "I") return letra;
    } catch (...) {
    }
    return "P";
}

std::string TextoFalha(Falha falha, const std::string& idioma, const std::string& detalhe) {
    std::string texto;
    if (falha == Falha::EsperaEsgotada) {
        if (idioma == "E")
            texto = "El Catálogo ZORNAK no terminó en 60 segundos y no se abrió de nuevo después de la "
                    "actualización. Ábralo nuevamente.";
        else if (idioma == "I")
            texto = "The ZORNAK Part List did not end within 60 seconds and was not opened again after the "
                    "update. Please open it again.";
        else
            texto = "O Catálogo ZORNAK não terminou em 60 segundos e não foi aberto novamente após a "
                    "atualização. Abra-o novamente.";
    } else {
        if (idioma == "E")
            texto = "No fue posible abrir de nuevo el Catálogo ZORNAK después de la actualización.";
        else if (idioma == "I")
            texto = "The ZORNAK Part List could not be opened again after the update.";
        else
            texto = "Não foi possível abrir novamente o Catálogo ZORNAK após a atualização.";
    }
    if (!detalhe.empty()) texto += "\r\n\r\n" + detalhe;
    return texto;
}

}  // namespace lancador
