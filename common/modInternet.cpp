// The HTTP client of both programs over the WinINet-like layer.
#include "common/modInternet.h"

#include "common/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"

#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>

TEstadoInternet EstadoInternet;

namespace {

constexpr const char* kAgente = "CatalogoDePecasZornak";
constexpr net::DWORD kFlagsRequisicao = net::INTERNET_FLAG_RELOAD | net::INTERNET_FLAG_NO_CACHE_WRITE |
                                        net::INTERNET_FLAG_KEEP_CONNECTION |
                                        net::INTERNET_FLAG_PRAGMA_NOCACHE;   // 0x84400100
constexpr net::DWORD kStatusProxy = 407;
constexpr std::size_t kTamanhoBuffer = 4096;

GanchoProgressoDownload ganchoProgresso;
std::uint32_t tempoLimite = 60000;

std::string FormaCurta(const std::string& etapa, net::DWORD codigo) {
    return etapa + ":" + std::to_string(codigo);
}

std::string FormaLonga(const std::string& etapa, long numero, const std::string& descricao) {
    return etapa + ":" + std::to_string(net::GetLastError()) + ";" + std::to_string(numero) + ";" +
           descricao;
}

// The long form of the failure being handled; called only inside a catch of std::exception.
std::string FormaDaFalha(const std::string& etapa) {
    try {
        throw;
    } catch (const vb::Error& e) {
        return FormaLonga(etapa, e.Number(), e.Description());
    } catch (const std::bad_alloc&) {
        return FormaLonga(etapa, vb::err::OutOfMemory, vb::DefaultDescription(vb::err::OutOfMemory));
    } catch (const std::exception& e) {
        return FormaLonga(etapa, 51, e.what());
    }
}

// "host", "host:port", "[v6]" or "[v6]:port". A part after ":" that is not a port number
// stays in the name, which the connection then refuses.
void SeparaServidor(const std::string& servidor, std::string& host, std::uint16_t& porta) {
    host = servidor;
    porta = net::INTERNET_DEFAULT_HTTP_PORT;
    std::string resto;
    if (!servidor.empty() && servidor.front() == '[') {
        const std::size_t fim = servidor.find(']');
        if (fim == std::string::npos) return;
        host = servidor.substr(1, fim - 1);
        resto = servidor.substr(fim + 1);
        if (resto.empty()) return;
        if (resto.front() != ':') {
            host = servidor;
            return;
        }
        resto.erase(0, 1);
    } else {
        const std::size_t doisPontos = servidor.find(':');
        if (doisPontos == std::string::npos || servidor.find(':', doisPontos + 1) != std::string::npos)
            return;
        resto = servidor.substr(doisPontos + 1);
        host = servidor.substr(0, doisPontos);
    }
    unsigned long valor = 0;
    bool valido = !resto.empty() && resto.size() <= 5;
    for (char c : resto) {
        if (c < '0' || c > '9') valido = false;
        else valor = valor * 10 + static_cast<unsigned long>(c - '0');
    }
    if (!valido || valor == 0 || valor > 65535) {
        host = servidor;
        return;
    }
    porta = static_cast<std::uint16_t>(valor);
}

void FechaHandle(net::HINTERNET& handle) {
    if (handle != 0) net::InternetCloseHandle(handle);
    // A closed handle is forgotten, so it can never be closed a second time.
    handle = 0;
}

std::string LeBytes(const std::string& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    if (!arquivo.is_open()) vb::Raise(vb::err::FileNotFound, "File not found: " + caminho);
    std::string bytes((std::istreambuf_iterator<char>(arquivo)), std::istreambuf_iterator<char>());
    if (arquivo.bad()) vb::Raise(vb::err::DeviceIOError, "Device I/O error: " + caminho);
    return bytes;
}

[[noreturn]] void ErroArquivo(const std::string& caminho) {
    const int codigo = errno;
    const long numero = codigo == ENOENT || codigo == ENOTDIR
                            ? vb::err::PathNotFound
                            : vb::FileErrorNumber(codigo, vb::err::PathFileAccessError);
    vb::Raise(numero, vb::DefaultDescription(numero) + ": " + caminho);
}

}  // namespace

GanchoProgressoDownload DefineGanchoProgressoDownload(GanchoProgressoDownload gancho) {
    GanchoProgressoDownload anterior = std::move(ganchoProgresso);
    ganchoProgresso = std::move(gancho);
    return anterior;
}

std::uint32_t DefineTempoLimiteInternet(std::uint32_t milissegundos) {
    const std::uint32_t anterior = tempoLimite;
    tempoLimite = milissegundos;
    return anterior;
}

void AtualizaProgressoDownload(std::int32_t sBytes) {
    if (ganchoProgresso) ganchoProgresso(sBytes);
}

std::string CorpoUploadArquivo(const std::string& /*sArquivoUpload1*/,
                               const std::string& /*sArquivoUpload2*/) {
    vb::Raise(-107, "Não é Permitido UPLOAD");
}

void FechaConexaoInternet() {
    FechaHandle(EstadoInternet.ConexaoInternet);
    FechaHandle(EstadoInternet.SessaoInternet);
}

void AbreConexaoInternet(const std::string& sServidor) {
    // One session and one connection at a time.
    FechaConexaoInternet();
    std::string etapa;
    std::string erro;
    try {
        etapa = "InternetOpen";
        EstadoInternet.SessaoInternet =
            net::InternetOpen(kAgente, net::INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0);
        if (EstadoInternet.SessaoInternet == 0) {
            erro = FormaCurta(etapa, net::GetLastError());
        } else {
            etapa = "InternetConnect";
            std::string host;
            std::uint16_t porta = net::INTERNET_DEFAULT_HTTP_PORT;
            SeparaServidor(sServidor, host, porta);
            EstadoInternet.ConexaoInternet =
                net::InternetConnect(EstadoInternet.SessaoInternet, host, porta, "", "",
                                     net::INTERNET_SERVICE_HTTP, 0, 0);
            if (static_cast<std::int32_t>(EstadoInternet.ConexaoInternet) < 1)
                erro = FormaCurta(etapa, net::GetLastError());
        }
    } catch (const std::exception&) {
        erro = FormaDaFalha(etapa);
    }
    if (!erro.empty()) {
        FechaConexaoInternet();
        vb::Raise(-100, erro);
    }
}

std::string ExecutaRequisicaoHTTP(const std::string& sModo, bool sInterativo,
                                  const std::string& sObjeto, bool sRetornaTexto,
                                  const std::string& sArquivoLocal,
                                  const std::string& sArquivoUpload1,
                                  const std::string& sArquivoUpload2,
                                  const std::string& sUsuarioProxy,
                                  const std::string& sSenhaProxy,
                                  std::size_t sLimiteBytes,
                                  bool* sTamanhoAnunciado) {
    // The windows stay alive while the layer waits for the server, as between chunks.
    struct EsperaComEventos {
        net::WaitHook anterior = net::SetWaitHook([] { vb::DoEvents(); });
        ~EsperaComEventos() { net::SetWaitHook(std::move(anterior)); }
    } esperaComEventos;
    if (sTamanhoAnunciado) *sTamanhoAnunciado = false;
    std::string etapa;
    std::string erro;
    std::string resultado;
    std::string arquivoLocal = sArquivoLocal;
    bool nomeGerado = false;
    net::HINTERNET requisicao = 0;
    std::FILE* arquivo = nullptr;

    try {
        do {
            etapa = "HttpOpenRequest";
            requisicao = net::HttpOpenRequest(EstadoInternet.ConexaoInternet,
                                              sModo == "U" ? "POST" : "GET", sObjeto, "HTTP/1.0",
                                              "", kFlagsRequisicao, 0);
            if (requisicao == 0) {
                erro = FormaCurta(etapa, net::GetLastError());
                break;
            }

            std::string corpo;
            if (sModo != "D") {
                etapa = "HttpAddRequestHeaders";
                net::HttpAddRequestHeaders(requisicao, "Content-Type: multipart/form-data",
                                           net::HTTP_ADDREQ_FLAG_ADD | net::HTTP_ADDREQ_FLAG_REPLACE);
                etapa = "BodyPostFileUpload";
                corpo = CorpoUploadArquivo(sArquivoUpload1, sArquivoUpload2);
            }

            etapa = "InternetSetOption_TimeOut";
            net::InternetSetOption(requisicao, net::INTERNET_OPTION_CONNECT_TIMEOUT, tempoLimite);
            net::InternetSetOption(requisicao, net::INTERNET_OPTION_RECEIVE_TIMEOUT, tempoLimite);
            net::InternetSetOption(requisicao, net::INTERNET_OPTION_SEND_TIMEOUT, tempoLimite);
            std::uint8_t tentativasCertificado = 0;
            std::uint8_t rodadasProxy = 0;
            std::uint8_t falhasEnvio = 0;
            net::DWORD status = 0;

            for (;;) {
                etapa = "HttpSendRequest";
                const bool enviado = net::HttpSendRequest(requisicao, "", corpo.empty() ? nullptr : corpo.data(),
                                                          corpo.size());
                const net::DWORD codigo = net::GetLastError();
                const std::string detalhe = net::InternetGetLastResponseInfo();
                if (!enviado && codigo == net::ERROR_INTERNET_INVALID_CA) {
                    // Only reachable over TLS, which this client never speaks; kept for the
                    // day a secure address is used.
                    etapa = "InternetSetOption_SECURITY_FLAG_IGNORE_UNKNOWN_CA";
                    net::InternetSetOption(requisicao, net::INTERNET_OPTION_SECURITY_FLAGS,
                                           net::SECURITY_FLAG_IGNORE_UNKNOWN_CA);
                    ++tentativasCertificado;
                    if (tentativasCertificado <= 3) continue;
                    vb::Raise(-101, "Cont=" + std::to_string(tentativasCertificado));
                }
                if (!enviado) {
                    // A server that cannot be reached is tried three times, any other
                    // failure twice.
                    falhasEnvio = static_cast<std::uint8_t>(
                        falhasEnvio + (codigo == net::ERROR_INTERNET_CANNOT_CONNECT ? 1 : 2));
                    if (falhasEnvio > 2) {
                        // A code that does not tell the cause alone (a failed redirect) gets
                        // its words.
                        erro = FormaCurta("HttpSendRequest", codigo);
                        if (!detalhe.empty()) erro += " - " + detalhe;
                        break;
                    }
                    for (int i = 0; i < 3; ++i) vb::DoEvents();
                    continue;
                }

                etapa = "HttpQueryInfo";
                status = 0;
                net::HttpQueryInfo(requisicao, net::HTTP_QUERY_STATUS_CODE | net::HTTP_QUERY_FLAG_NUMBER,
                                   status);
                if (status != kStatusProxy) break;

                ++rodadasProxy;
                if (rodadasProxy == 1 && (!sUsuarioProxy.empty() || !sSenhaProxy.empty())) {
                    etapa = "InternetSetOptionStr_ProxyUsername";
                    net::InternetSetOptionStr(requisicao, net::INTERNET_OPTION_PROXY_USERNAME, sUsuarioProxy);
                    etapa = "InternetSetOptionStr_ProxyPassword";
                    net::InternetSetOptionStr(requisicao, net::INTERNET_OPTION_PROXY_PASSWORD, sSenhaProxy);
                    continue;
                }
                if (!sInterativo) break;
                etapa = "InternetErrorDlg";
                const net::DWORD resposta = net::InternetErrorDlg(
                    0, requisicao, net::ERROR_INTERNET_INCORRECT_PASSWORD,
                    net::FLAGS_ERROR_UI_FILTER_FOR_ERRORS | net::FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                        net::FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                    nullptr);
                if (resposta != net::ERROR_INTERNET_FORCE_RETRY) vb::Raise(-106, "Cancel Proxy Auth");
                if (rodadasProxy > 6) vb::Raise(-102, "Cont=" + std::to_string(rodadasProxy));
            }
            if (!erro.empty()) break;

            if (status != 200) vb::Raise(-103, "Status=" + std::to_string(status));
            net::DWORD tamanho = 0;
            const bool comTamanho = net::HttpQueryInfo(
                requisicao, net::HTTP_QUERY_CONTENT_LENGTH | net::HTTP_QUERY_FLAG_NUMBER, tamanho);

            if (!arquivoLocal.empty()) {
                ApagaArquivo(arquivoLocal);
            } else {
                // A reply read only for its text is no file of the data folder, which may be
                // read-only or full: the temporary folder takes it.
                arquivoLocal = sRetornaTexto ? CriaArquivoTemporarioUnico("tmp") : GeraNomeArquivoUnico("tmp");
                nomeGerado = true;
            }
            arquivo = std::fopen(arquivoLocal.c_str(), "wb");
            if (!arquivo) ErroArquivo(arquivoLocal);

            etapa = "InternetReadFile";
            char buffer[kTamanhoBuffer];
            std::size_t recebidos = 0;
            bool inteiro = false;   // the read reached the body's end, not the limit
            for (;;) {
                net::DWORD pedir = kTamanhoBuffer;
                if (sLimiteBytes > 0) {
                    if (recebidos >= sLimiteBytes) break;
                    pedir = static_cast<net::DWORD>(std::min<std::size_t>(pedir, sLimiteBytes - recebidos));
                }
                net::DWORD lidos = 0;
                const bool lido = net::InternetReadFile(requisicao, buffer, pedir, lidos);
                // A failed read is a body cut short: never a complete file.
                if (!lido) vb::Raise(-105, "Ret=0");
                if (lidos == 0) {
                    inteiro = true;
                    break;
                }
                if (std::fwrite(buffer, 1, lidos, arquivo) != lidos) ErroArquivo(arquivoLocal);
                recebidos += lidos;
                AtualizaProgressoDownload(static_cast<std::int32_t>(lidos));
                vb::DoEvents();
            }
            std::FILE* fechando = arquivo;
            arquivo = nullptr;
            if (std::fclose(fechando) != 0) ErroArquivo(arquivoLocal);
            if (sTamanhoAnunciado) *sTamanhoAnunciado = comTamanho && inteiro;

            etapa = "Data Return";
            erro.clear();
            if (sRetornaTexto) resultado = vb::DecodeServerText(LeBytes(arquivoLocal));
            else if (sModo == "D") resultado = arquivoLocal;
            if (sRetornaTexto) ApagaArquivo(arquivoLocal);
        } while (false);
    } catch (const std::exception&) {
        erro = FormaDaFalha(etapa);
    }

    // Clean-up: nothing here may hide the request's own outcome.
    if (arquivo) std::fclose(arquivo);
    if (requisicao != 0) net::InternetCloseHandle(requisicao);
    if (!erro.empty()) {
        // Nobody else knows the name of a file this call chose; a failed download must not
        // leave it behind. A file the caller named stays as written.
        if (nomeGerado) {
            try {
                ApagaArquivo(arquivoLocal);
            } catch (...) {
            }
        }
        vb::Raise(-104, erro);
    }
    return resultado;
}

EnderecoAtualizacao LeEnderecoAtualizacao(const std::string& url) {
    std::string texto = url;
    if (vb::Right(texto, 1) != "/") texto += "/";
    if (vb::LCase(vb::Left(texto, 7)) == "http://") texto = vb::Mid(texto, 8);
    // The host runs to the first "/"; the base path keeps its own closing "/".
    const long barra = vb::InStr(texto, "/");
    EnderecoAtualizacao e;
    e.Servidor = vb::Left(texto, barra - 1);
    e.CaminhoBase = vb::Mid(texto, barra + 1);
    return e;
}

std::string ConsultaEnderecoAtualizacao() { return "SELECT UrlAtualizacao, Versao FROM UMREGISTRO"; }

void TraduzDialogoProxy() {
    const QLocale::Language lingua = QLocale::system().language();
    const std::string idioma = lingua == QLocale::Portuguese ? "P" : lingua == QLocale::Spanish ? "E" : "I";
    net::SetProxyLoginTexts(Traduz(82, idioma) + ":", Traduz(83, idioma) + ":");
}
