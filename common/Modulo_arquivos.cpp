// Files, folders, dates and the one error box.
#include "common/Modulo.h"

#include "common/modTraducao.h"
#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

TEstadoPrograma EstadoPrograma;

namespace {

std::string ComSeparador(std::string pasta, bool comSeparador) {
    if (comSeparador && (pasta.empty() || pasta.back() != '/')) pasta += '/';
    return pasta;
}

}  // namespace

std::string ObtemCaminhoAplicacao(bool comSeparador) {
    return ComSeparador(os::ProgramFolder(), comSeparador);
}

std::string ObtemPastaSistema(const std::string& tipo, bool comSeparador) {
    const std::string qual = vb::UCase(vb::Trim(tipo));
    std::string pasta;
    if (qual == "SYSTEM") pasta = os::SystemFolder();
    else if (qual == "TEMP") pasta = os::TempFolder();
    if (pasta.empty()) return ObtemCaminhoAplicacao(comSeparador);
    return ComSeparador(pasta, comSeparador);
}

bool ExisteArquivo(const std::string& caminho) {
    if (caminho.empty()) return false;
    // Opened without waiting: a FIFO at the path must not hold the program at its open.
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    // Only a regular file is a file here: a folder, a FIFO or a device counts as missing.
    return regular;
}

void ApagaArquivo(const std::string& caminho) {
    if (!ExisteArquivo(caminho)) return;
    std::error_code ec;
    std::filesystem::remove(caminho, ec);
}

int GravaBytesArquivo(const std::string& caminho, std::string_view bytes, unsigned modo) {
    const int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, static_cast<mode_t>(modo));
    if (fd < 0) return errno;
    int erro = 0;
    for (std::size_t escritos = 0; escritos < bytes.size() && erro == 0;) {
        const ssize_t n = ::write(fd, bytes.data() + escritos, bytes.size() - escritos);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) erro = n < 0 ? errno : EIO;
        else escritos += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && erro == 0) erro = errno;
    return erro;
}

std::string LeBytesArquivo(const std::string& caminho, std::size_t maximo) {
    if (caminho.empty()) vb::Raise(vb::err::FileNotFound, "File not found: " + caminho);
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int codigo = errno;
        if (codigo == ENOENT || codigo == ENOTDIR) vb::Raise(vb::err::FileNotFound, "File not found: " + caminho);
        if (codigo == EACCES || codigo == EPERM) vb::Raise(vb::err::PermissionDenied, "Permission denied: " + caminho);
        vb::Raise(vb::err::PathFileAccessError, "Path/File access error: " + caminho);
    }
    struct Fecha {
        int fd;
        ~Fecha() { ::close(fd); }
    } fecha{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) vb::Raise(vb::err::DeviceIOError, "Device I/O error: " + caminho);
    // A folder, a FIFO or a device has no length to read: it would never end, or never start.
    if (!S_ISREG(info.st_mode)) vb::Raise(vb::err::PathFileAccessError, "Path/File access error: " + caminho);
    // One read of the length the file had when it was opened; whatever grows later is not
    // part of this reading.
    std::string bytes(std::min(static_cast<std::size_t>(info.st_size), maximo), '\0');
    std::size_t lidos = 0;
    while (lidos < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + lidos, bytes.size() - lidos);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) vb::Raise(vb::err::DeviceIOError, "Device I/O error: " + caminho);
        if (n == 0) break;
        lidos += static_cast<std::size_t>(n);
    }
    bytes.resize(lidos);
    return bytes;
}

std::string LeArquivo(const std::string& caminho) {
    // One character per byte, as the single-byte reading always gave.
    return vb::DecodeLatin1(LeBytesArquivo(caminho));
}

namespace {

// The bytes of a small text file without the line ends at its end: editors end the line
// they save, and the line end is not part of the value.
std::string LeBytesSemFimDeLinha(const std::string& caminho) {
    std::string bytes = LeBytesArquivo(caminho);
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
    return bytes;
}

}  // namespace

std::string LeArquivoTexto(const std::string& caminho) {
    return vb::DecodeServerText(LeBytesSemFimDeLinha(caminho));
}

std::string ObtemCaminhoDados() {
    std::string caminho = ObtemCaminhoAplicacao(true);
    const std::string indicacao = caminho + "Caminho.txt";
    if (ExisteArquivo(indicacao)) {
        // An empty file names no folder: the data stay beside the program.
        const std::string bytes = LeBytesSemFimDeLinha(indicacao);
        // A folder's name is bytes: one in Latin-1 is no UTF-8 and would not survive a
        // decoding, so the bytes as they stand come first; when they name no folder, the
        // text is read as an editor of another system may have written it.
        std::error_code naoPasta;
        std::string texto =
            !bytes.empty() && std::filesystem::is_directory(bytes, naoPasta) ? bytes : vb::DecodeServerText(bytes);
        // Paths built on the data folder refuse "..", which names from the update server
        // must not hold; a folder named with it ("/opt/zornak/../dados") is resolved here.
        const std::filesystem::path pasta(texto);
        if (std::find(pasta.begin(), pasta.end(), std::filesystem::path("..")) != pasta.end()) {
            std::error_code ec;
            const std::filesystem::path resolvida =
                std::filesystem::weakly_canonical(std::filesystem::absolute(pasta, ec), ec);
            if (!ec) texto = resolvida.string();
        }
        if (!texto.empty()) caminho = ComSeparador(texto, true);
    }
    return caminho;
}

bool LeRodaMouseAtiva(const std::string& caminhoDados) {
    const std::string arquivo = caminhoDados + "NW.txt";
    if (!ExisteArquivo(arquivo)) return true;
    return LeArquivoTexto(arquivo) != "1";
}

double Rnd() {
    static std::mt19937 gerador(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return std::generate_canonical<double, 32>(gerador);
}

namespace {

// The moment, the volume serial and a random number from 0 to 9999, then the extension.
std::string NomeUnico(const std::string& extensao) {
    long n = static_cast<long>(Rnd() * 10000);
    if (n > 9999) n = 9999;
    return vb::FormatDate(vb::Now(), "sshhyynnmmdd") + SerialVolume("/") + std::to_string(n) + "." + extensao;
}

// Exit codes from here up carry errno; below lie the ones of a crash (1) and of the shells.
constexpr int BaseCodigoSaidaErro = 64;

}  // namespace

std::string GeraNomeArquivoUnico(const std::string& extensao) {
    std::string nome;
    do {
        nome = EstadoPrograma.CaminhoDados + NomeUnico(extensao);
    } while (ExisteArquivo(nome));
    return nome;
}

std::string CriaArquivoTemporarioUnico(const std::string& extensao) {
    const std::string pasta = ObtemPastaSistema("TEMP", true);
    for (;;) {
        const std::string nome = pasta + NomeUnico(extensao);
        // Never through a file or link that is there already: the folder is shared.
        const int fd = ::open(nome.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return nome;
        }
        if (errno != EEXIST) LevantaErroArquivo(errno, nome, vb::err::PathFileAccessError);
    }
}

void LevantaErroArquivo(int erroSistema, const std::string& caminho, long outro) {
    const long numero = erroSistema == ENOENT || erroSistema == ENOTDIR ? vb::err::PathNotFound
                                                                        : vb::FileErrorNumber(erroSistema, outro);
    vb::Raise(numero, vb::DefaultDescription(numero) + ": " + caminho + " (" + std::strerror(erroSistema) + ")");
}

int CodigoSaidaResultadoNaoGravado(int erroSistema) {
    if (erroSistema <= 0 || erroSistema > 255 - BaseCodigoSaidaErro) erroSistema = EIO;
    return BaseCodigoSaidaErro + erroSistema;
}

int ErroSistemaDoCodigoSaida(long codigo) {
    return codigo > BaseCodigoSaidaErro && codigo <= 255 ? static_cast<int>(codigo - BaseCodigoSaidaErro) : 0;
}

bool EhNomeArquivoUnico(const std::string& nome, const std::string& extensao) {
    const std::string fim = "." + extensao;
    if (nome.size() < 12 + 8 + 1 + fim.size() || nome.compare(nome.size() - fim.size(), fim.size(), fim) != 0)
        return false;
    auto digitos = [&](std::size_t de, std::size_t n) {
        for (std::size_t i = de; i < de + n; ++i)
            if (nome[i] < '0' || nome[i] > '9') return -1;
        return std::stoi(nome.substr(de, n));
    };
    // sshhyynnmmdd
    const int segundo = digitos(0, 2), hora = digitos(2, 2), ano = digitos(4, 2), minuto = digitos(6, 2),
              mes = digitos(8, 2), dia = digitos(10, 2);
    if (segundo < 0 || segundo > 59 || hora < 0 || hora > 23 || ano < 0 || minuto < 0 || minuto > 59 || mes < 1 ||
        mes > 12 || dia < 1 || dia > 31)
        return false;
    for (std::size_t i = 12; i < 20; ++i)
        if (!std::isdigit(static_cast<unsigned char>(nome[i])) && (nome[i] < 'A' || nome[i] > 'F')) return false;
    const std::string numero = nome.substr(20, nome.size() - fim.size() - 20);
    if (numero.empty() || numero.size() > 4 || (numero.size() > 1 && numero[0] == '0')) return false;
    return digitos(20, numero.size()) >= 0;
}

std::string SerialVolume(const std::string& raiz) {
    std::uint32_t serial = 0;
    if (!os::VolumeSerial(raiz, serial)) return "1A281CEA";
    char texto[9];
    std::snprintf(texto, sizeof texto, "%08X", static_cast<unsigned>(serial));
    return texto;
}

long IndiceMes(std::uint8_t mes) {
    return (mes >= 1 && mes <= 12) ? 12 + static_cast<long>(mes) : 0;
}

std::string FormataData(vb::Date data, const std::string& idioma) {
    return vb::FormatDate(data, "dd") + "-" +
           Traduz(IndiceMes(static_cast<std::uint8_t>(vb::Month(data))), idioma) + "-" +
           vb::FormatDate(data, "yyyy");
}

std::string FormataDataHora(vb::Date data, const std::string& idioma) {
    return FormataData(data, idioma) + " " + vb::FormatDate(data, "hh:nn:ss");
}

bool VerificaFormularioCarregado(const std::string& nome) {
    return vb::FindLoadedForm(nome) != nullptr;
}

std::string ObtemTituloAplicacao() { return Traduz(0); }

void MostraErro(long numero, const std::string& descricao) {
    vb::Screen().SetMousePointer(vb::vbDefault);
    vb::MsgBox(Traduz(1) + ": " + std::to_string(numero) + "\r\n" + descricao,
               vb::vbCritical | vb::vbOKOnly, Traduz(0));
}

std::string LocalizaArquivo(const std::string& pasta, const std::string& nome) {
    // Paths stay bytes from end to end: the data folder's name need not be UTF-8.
    std::string relativo = nome;
    std::replace(relativo.begin(), relativo.end(), '\\', '/');
    const std::string exato = pasta + relativo;
    std::error_code ec;
    if (std::filesystem::exists(exato, ec)) return exato;
    // Names are compared without case where both are text; among several matches the first
    // in name order.
    auto mesmoNome = [](const std::string& a, const std::string& b) {
        return a == b || (vb::IsValidUtf8(a) && vb::IsValidUtf8(b) && vb::UCase(a) == vb::UCase(b));
    };
    std::string atual = pasta;
    const std::vector<std::string> partes = vb::Split(relativo, "/");
    std::vector<std::string> nomes;
    for (const std::string& p : partes)
        if (!p.empty()) nomes.push_back(p);
    for (std::size_t i = 0; i < nomes.size(); ++i) {
        std::string achado;
        for (std::filesystem::directory_iterator it(atual.empty() ? "." : atual, ec), fim; !ec && it != fim;
             it.increment(ec)) {
            const std::string candidato = it->path().filename().string();
            if (mesmoNome(candidato, nomes[i]) && (achado.empty() || candidato < achado)) achado = candidato;
        }
        if (achado.empty()) break;
        if (i + 1 == nomes.size()) return atual + achado;
        atual += achado + "/";
        if (!std::filesystem::is_directory(atual, ec)) break;
    }
    return exato;
}
