// The per-user settings file: one line "language|check|user|password", no line end.
#include "common/Modulo.h"

#include "common/MRijndael.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <filesystem>

const char* const ArquivoConfiguracao = "CatalogoZORNAKConfig.txt";

namespace {

constexpr const char* LinhaPadrao = "P|1||";
constexpr std::size_t QuantidadeCampos = 4;

std::string CaminhoConfiguracao() { return ObtemPastaConfiguracao(true) + ArquivoConfiguracao; }

std::string SemFimDeLinha(std::string texto) {
    while (!texto.empty() && (texto.back() == '\r' || texto.back() == '\n')) texto.pop_back();
    return texto;
}

// A line with fewer fields keeps what it has; the missing fields take the defaults, so
// storing one field never throws away the others (a chosen language, above all).
std::vector<std::string> CamposCompletos(std::vector<std::string> campos) {
    const std::vector<std::string> padrao = vb::Split(LinhaPadrao, "|");
    for (std::size_t i = campos.size(); i < QuantidadeCampos; ++i) campos.push_back(padrao[i]);
    return campos;
}

bool Escreve(const std::string& caminho, const std::string& linha) {
    // Written aside and then put in place, so a failed write leaves the old line.
    QSaveFile arquivo(QString::fromStdString(caminho));
    arquivo.setDirectWriteFallback(true);
    if (!arquivo.open(QIODevice::WriteOnly)) return false;
    const std::string bytes = vb::EncodeLatin1(linha);
    if (arquivo.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        arquivo.cancelWriting();
        return false;
    }
    return arquivo.commit();
}

std::string Decifra(const std::string& campo, bool& reparar) {
    try {
        return ProcessaCriptografia(campo, false);
    } catch (const std::exception&) {
        reparar = true;
        return {};
    }
}

}  // namespace

std::string ObtemPastaConfiguracao(bool comSeparador) {
    try {
        const std::string local = os::LocalAppDataFolder();
        if (!local.empty()) {
            // The user's configuration folder itself may not be there yet on a new account.
            std::error_code ec;
            std::filesystem::create_directories(local, ec);
            const std::string base = local.back() == '/' ? local : local + "/";
            const std::string pasta = base + "VelmoSistemas";
            if (!PastaExiste(pasta)) CriaPasta(base, "VelmoSistemas", false);
            // CriaPasta settles for a folder of another case ("velmosistemas"); the settings
            // are read and written under this exact name, so that one must be there.
            if (!PastaExiste(pasta)) std::filesystem::create_directory(pasta, ec);
            if (PastaExiste(pasta)) return pasta + (comSeparador ? "/" : "");
        }
    } catch (const std::exception&) {
        // Any failure here means the system folder, as below.
    }
    return ObtemPastaSistema("SYSTEM", comSeparador);
}

std::vector<std::string> LeCamposConfiguracao(const std::string& caminho) {
    return vb::Split(SemFimDeLinha(LeArquivo(caminho)), "|");
}

void LeConfiguracao(const std::string& seletor, std::string& usuario, std::string& senha) {
    const std::string caminho = CaminhoConfiguracao();
    if (!ExisteArquivo(caminho)) {
        const std::string antigo = ObtemPastaSistema("SYSTEM", true) + ArquivoConfiguracao;
        if (vb::UCase(antigo) != vb::UCase(caminho) && ExisteArquivo(antigo)) {
            std::error_code ec;
            std::filesystem::copy_file(antigo, caminho, ec);   // a failed copy means the default
        }
        if (!ExisteArquivo(caminho)) GravaConfiguracao("", "", "", "", false);
    }

    const std::vector<std::string> campos = LeCamposConfiguracao(caminho);
    bool reparar = false;

    if (seletor == "IDIOMA_VERIFICACAOAUTOMATICA") {
        std::string idioma;
        if (!campos.empty()) {
            idioma = vb::UCase(vb::Trim(campos[0]));
            idioma = idioma.empty() ? std::string(" ") : vb::Left(idioma, 1);
        }
        if (campos.empty() || (idioma != "P" && idioma != "E" && idioma != "I")) {
            idioma = "P";
            reparar = true;
        }
        EstadoPrograma.Idioma = idioma;

        if (campos.size() >= 2) {
            EstadoPrograma.VerificacaoAutomatica = campos[1] == "1";
        } else {
            EstadoPrograma.VerificacaoAutomatica = true;
            reparar = true;
        }
        if (reparar)
            GravaConfiguracao(EstadoPrograma.Idioma,
                              EstadoPrograma.VerificacaoAutomatica ? "1" : "0", "", "", false);
    } else if (seletor == "USUARIO_SENHA") {
        if (campos.size() >= 3) usuario = Decifra(campos[2], reparar);
        else { usuario.clear(); reparar = true; }
        if (campos.size() >= 4) senha = Decifra(campos[3], reparar);
        else { senha.clear(); reparar = true; }
        if (reparar) GravaConfiguracao("", "", usuario, senha, true);
    }
}

void GravaConfiguracao(const std::string& idioma, const std::string& verificacao,
                       const std::string& usuario, const std::string& senha,
                       bool gravaCredenciais) {
    const std::string caminho = CaminhoConfiguracao();
    std::string linha;
    try {
        std::vector<std::string> campos =
            CamposCompletos(ExisteArquivo(caminho) ? LeCamposConfiguracao(caminho) : vb::Split(LinhaPadrao, "|"));
        if (!idioma.empty()) campos[0] = idioma;
        if (!verificacao.empty()) campos[1] = verificacao;
        if (gravaCredenciais) {
            campos[2] = usuario.empty() ? std::string() : ProcessaCriptografia(usuario, true);
            campos[3] = senha.empty() ? std::string() : ProcessaCriptografia(senha, true);
        }
        linha = vb::Join(campos, "|");
    } catch (const std::exception&) {
        linha = LinhaPadrao;
    }
    // Nothing is reported: a first failure falls back to the default line, a second ends it.
    if (!Escreve(caminho, linha) && linha != LinhaPadrao) Escreve(caminho, LinhaPadrao);
}
