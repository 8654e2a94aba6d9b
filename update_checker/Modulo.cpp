// The update checker's run: command line, data folder, the catalogue's update address and
// installed version, the server's latest version, and the one result line.
#include "update_checker/Modulo.h"

#include "common/MRijndael.h"
#include "common/Modulo.h"
#include "common/modInternet.h"
#include "platform/forms/Events.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

const char* const TituloVerificacao = "Verificação de Atualizações do Catálogo ZORNAK";

namespace {

// Copying an older settings file must not stop the check.
void CopiaSemFalha(const std::string& de, const std::string& para) {
    std::error_code ec;
    std::filesystem::copy_file(de, para, std::filesystem::copy_options::overwrite_existing, ec);
}

// A field deciphered, or "" when it is missing or not a cipher text of the program's key.
std::string DecifraCampo(const std::vector<std::string>& campos, std::size_t indice) {
    if (indice >= campos.size()) return {};
    try {
        return ProcessaCriptografia(campos[indice], false);
    } catch (...) {
        return {};
    }
}

}  // namespace

std::int16_t ConverteRespostaVersao(const std::string& resposta) {
    // Servers end their text with a line end, and some pad it; only the number counts.
    const std::string numero = TiraBrancos(resposta);
    try {
        return vb::CInt(numero);
    } catch (const vb::Error& e) {
        // The reply is quoted short and on one line: it may be a whole web page.
        vb::Raise(e.Number(), e.Description() + " : " + TextoUmaLinha(numero));
    }
}

LinhaComandoVerificador InterpretaLinhaComando(const std::string& linha) {
    LinhaComandoVerificador comando;
    const std::string texto = vb::Trim(linha);
    const std::size_t barra = texto.find('|');
    if (barra == std::string::npos) return comando;
    comando.silenciosa = texto.substr(0, barra) == "1";
    // The whole rest is the path: a folder's name may hold "|", and writing to the part
    // before it would replace some other file.
    comando.arquivoResultado = texto.substr(barra + 1);
    return comando;
}

namespace {

// The arguments as the system gave them, bytes and all.
std::vector<std::string>& ArgumentosPrograma() {
    static std::vector<std::string> argumentos;
    return argumentos;
}

}  // namespace

void DefineArgumentosPrograma(int argc, char** argv) {
    ArgumentosPrograma().assign(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string LinhaComandoPrograma() {
    std::string linha;
    for (const std::string& a : ArgumentosPrograma()) linha += (linha.empty() ? "" : " ") + a;
    return linha;
}

void AbreBancoDados(dao::Database& db, bool somenteLeitura) {
    db = dao::DBEngine().OpenDatabase(EstadoPrograma.CaminhoDados + "CatalogoZORNAK.c01", false,
                                      somenteLeitura, ";pwd=" + ObtemSenhaBancoDados());
}

void LeUsuarioSenhaProxy(std::string& usuario, std::string& senha) {
    usuario.clear();
    senha.clear();
    std::string caminho;
    try {
        caminho = ObtemPastaConfiguracao(true) + ArquivoConfiguracao;
        if (!ExisteArquivo(caminho)) {
            // An older installation kept the file in the system folder.
            const std::string antigo = ObtemPastaSistema("SYSTEM", true) + ArquivoConfiguracao;
            if (vb::UCase(antigo) != vb::UCase(caminho) && ExisteArquivo(antigo)) CopiaSemFalha(antigo, caminho);
            if (!ExisteArquivo(caminho)) return;
        }
    } catch (...) {
        return;
    }
    // A file that is there but cannot be read is this run's failure, not "no credentials".
    const std::vector<std::string> campos = LeCamposConfiguracao(caminho);
    usuario = DecifraCampo(campos, 2);
    senha = DecifraCampo(campos, 3);
}

std::string ObtemResultadoVerificacao(const LinhaComandoVerificador& comando) {
    std::string resultado;
    dao::Database db;
    try {
        EstadoPrograma.CaminhoDados = ObtemCaminhoDados();
        vb::DoEvents();

        AbreBancoDados(db, true);
        vb::DoEvents();

        EnderecoAtualizacao endereco;
        std::int16_t instalada = 0;
        {
            dao::Recordset rs = db.OpenRecordset(ConsultaEnderecoAtualizacao(), dao::dbOpenForwardOnly);
            try {
                endereco = LeEnderecoAtualizacao(rs.Value("UrlAtualizacao").ToString());
                instalada = rs.Value("Versao").ToInteger();
            } catch (...) {
                IgnoraFalha([&] { rs.Close(); });
                throw;
            }
            rs.Close();
        }
        vb::DoEvents();

        AbreConexaoInternet(endereco.Servidor);

        std::string usuario, senha;
        LeUsuarioSenhaProxy(usuario, senha);

        const std::string objeto = endereco.CaminhoBase + "Vers2.asp";
        // A version is a few bytes: whatever a server sends beyond the limit is left unread.
        const std::string resposta = ExecutaRequisicaoHTTP("D", !comando.silenciosa, objeto, true, "", "", "",
                                                           usuario, senha, LimiteRespostaVersao);
        const std::int16_t ultima = ConverteRespostaVersao(resposta);
        resultado = "1" + std::to_string(instalada) + "|" + std::to_string(ultima);
    } catch (const vb::Error& e) {
        resultado = "0" + std::to_string(e.Number()) + " " + e.Description();
    } catch (const std::exception& e) {
        resultado = "051 Internal error: " + std::string(e.what());
    }

    IgnoraFalha([] { vb::DoEvents(); });
    IgnoraFalha([&] {
        if (!db.IsNothing()) db.Close();
    });
    IgnoraFalha([] { FechaConexaoInternet(); });
    return resultado;
}

int VerificaAtualizacoes() {
    vb::DoEvents();
    const LinhaComandoVerificador comando = InterpretaLinhaComando(LinhaComandoPrograma());
    vb::DoEvents();
    const std::string resultado = ObtemResultadoVerificacao(comando);

    if (comando.arquivoResultado.empty()) {
        vb::MsgBox(resultado, vb::vbInformation | vb::vbOKOnly, TituloVerificacao);
        return 0;
    }
    // One line and no line end: the catalogue reads the whole file as the line. A file that
    // cannot be written leaves nothing; the program ends all the same, and its exit code tells
    // the catalogue why.
    const int erro = GravaBytesArquivo(comando.arquivoResultado, resultado, 0600);
    return erro == 0 ? 0 : CodigoSaidaResultadoNaoGravado(erro);
}
