// The HTTP client against a real server on 127.0.0.1.
#include "common/Modulo.h"
#include "common/modInternet.h"
#include "platform/net/WinInet.h"
#include "platform/vb/Err.h"
#include "tests/support/ServidorHttpTeste.h"

#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using testsupport::ServidorHttpTeste;

namespace {

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void Grava(const fs::path& caminho, const std::string& bytes) {
    std::ofstream(caminho, std::ios::binary) << bytes;
}

// The error a call raised, or nothing.
template <class F>
std::optional<vb::Error> ErroDe(F&& f) {
    try {
        f();
    } catch (const vb::Error& e) {
        return e;
    }
    return std::nullopt;
}

class EnvProxy {
public:
    explicit EnvProxy(const std::string& valor) {
        for (const char* nome : {"http_proxy", "no_proxy", "NO_PROXY"}) {
            if (const char* v = std::getenv(nome)) guardados_.emplace_back(nome, v);
            ::unsetenv(nome);
        }
        if (!valor.empty()) ::setenv("http_proxy", valor.c_str(), 1);
    }
    ~EnvProxy() {
        ::unsetenv("http_proxy");
        for (const auto& [nome, valor] : guardados_) ::setenv(nome.c_str(), valor.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> guardados_;
};

class ModInternetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temporaria_.isValid());
        pasta_ = temporaria_.path().toStdString();
        EstadoPrograma.CaminhoDados = pasta_.string() + "/";
        semProxy_.emplace("");
        dialogoOriginal_ = net::SetProxyLoginDialog([this](const std::string&, std::string&, std::string&) {
            ++dialogos_;
            return false;
        });
    }
    void TearDown() override {
        FechaConexaoInternet();
        DefineGanchoProgressoDownload({});
        DefineTempoLimiteInternet(60000);
        net::SetProxyLoginDialog(dialogoOriginal_);
        semProxy_.reset();
    }

    std::string Baixa(const std::string& objeto, bool texto, const std::string& local = "",
                      bool interativo = false, const std::string& usuario = "",
                      const std::string& senha = "") {
        return ExecutaRequisicaoHTTP("D", interativo, objeto, texto, local, "", "", usuario, senha);
    }

    std::vector<fs::path> ArquivosTmp() const {
        std::vector<fs::path> achados;
        for (const auto& e : fs::directory_iterator(pasta_))
            if (e.path().extension() == ".tmp") achados.push_back(e.path());
        return achados;
    }

    QTemporaryDir temporaria_;
    fs::path pasta_;
    std::optional<EnvProxy> semProxy_;
    int dialogos_ = 0;
    net::ProxyLoginDialog dialogoOriginal_;
};

TEST_F(ModInternetTest, DownloadsTextAndFilesThroughTheGivenPort) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.texto.rfind("GET /zornak/Vers2.asp ", 0) == 0) c.Responde(200, "11|42");
        else if (p.texto.rfind("GET /vazio.txt ", 0) == 0) c.Responde(200, "");
        else c.Responde(200, "bytes\x01\xff\r\n");
    });
    AbreConexaoInternet(servidor.Servidor());

    // Text: the body comes back and no file stays behind.
    EXPECT_EQ(Baixa("zornak/Vers2.asp", true), "11|42");
    EXPECT_TRUE(ArquivosTmp().empty());
    EXPECT_EQ(Baixa("vazio.txt", true), "");

    // File with a name of its own: a new ".tmp" in the data folder, bytes as received.
    const std::string caminho = Baixa("dados.bin", false);
    EXPECT_EQ(fs::path(caminho).parent_path(), pasta_);
    EXPECT_EQ(fs::path(caminho).extension(), ".tmp");
    EXPECT_EQ(LeTudo(caminho), "bytes\x01\xff\r\n");

    // A given file: the older one is replaced, not appended to.
    const fs::path dado = pasta_ / "alvo.zip";
    Grava(dado, std::string(10000, 'x'));
    EXPECT_EQ(Baixa("/dados.bin", false, dado.string()), dado.string());
    EXPECT_EQ(LeTudo(dado), "bytes\x01\xff\r\n");

    // A file that cannot be written: the request fails and says why.
    const auto erro = ErroDe([&] { Baixa("dados.bin", false, (pasta_ / "falta" / "x.bin").string()); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Number(), -104);
    EXPECT_THAT(erro->Description(), HasSubstr(";76;"));

    const std::vector<ServidorHttpTeste::Pedido> pedidos = servidor.Pedidos();
    ASSERT_GE(pedidos.size(), 1u);
    EXPECT_THAT(pedidos[0].texto, StartsWith("GET /zornak/Vers2.asp HTTP/1.0\r\n"));
    EXPECT_THAT(pedidos[0].texto, HasSubstr("User-Agent: CatalogoDePecasZornak\r\n"));
    EXPECT_THAT(pedidos[0].texto, HasSubstr("Pragma: no-cache\r\n"));
}

TEST_F(ModInternetTest, ServerTextIsUtf8WhenValidElseWindows1252) {
    struct Caso {
        std::string corpo;
        std::string esperado;
    };
    const std::vector<Caso> casos = {
        {"Vers\xC3\xA3o \xE2\x82\xAC", "Vers\xC3\xA3o \xE2\x82\xAC"},      // UTF-8 stays
        {"Vers\xE3o \x80", "Vers\xC3\xA3o \xE2\x82\xAC"},                  // 1252: ã and €
        {"\xEF\xBB\xBFLista", "Lista"},                                     // byte-order mark dropped
    };
    std::string corpo;
    ServidorHttpTeste servidor([&corpo](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, corpo); });
    AbreConexaoInternet(servidor.Servidor());
    for (const Caso& caso : casos) {
        corpo = caso.corpo;
        EXPECT_EQ(Baixa("ListVersao3.txt", true), caso.esperado);
    }
}

TEST_F(ModInternetTest, StatusOtherThan200EndsIn104CarryingTheStatus) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.texto.find("/falta") != std::string::npos) c.Responde(404, "not here");
        else if (p.texto.find("/negado") != std::string::npos) c.Responde(401, "", "WWW-Authenticate: Basic realm=\"x\"\r\n");
        else c.Responde(500, "oops");
    });
    AbreConexaoInternet(servidor.Servidor());
    const fs::path alvo = pasta_ / "velho.txt";
    Grava(alvo, "old");
    for (const auto& [objeto, status] : std::vector<std::pair<std::string, std::string>>{
             {"falta.txt", "404"}, {"quebra.asp", "500"}, {"negado.txt", "401"}}) {
        const auto erro = ErroDe([&] { Baixa(objeto, false, alvo.string()); });
        ASSERT_TRUE(erro);
        EXPECT_EQ(erro->Number(), -104);
        EXPECT_EQ(erro->Description(), "HttpQueryInfo:0;-103;Status=" + status);
    }
    // Nothing was written over the caller's file, and the connection still serves.
    EXPECT_EQ(LeTudo(alvo), "old");
    EXPECT_TRUE(ArquivosTmp().empty());
}

// A server that moved its files answers with a redirect: the request follows it (to
// another path or another server) and the body of the last address is the result. A loop,
// or a redirect to a scheme other than http or https, fails and says so in plain words.
TEST_F(ModInternetTest, RedirectsAreFollowedAndTheirFailuresSayWhy) {
    ServidorHttpTeste novo([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.Objeto() == "/outro/Vers2.asp") c.Responde(200, "31");
        else c.Responde(404, "not here");
    });
    const std::string outroServidor = "http://" + novo.Servidor() + "/outro/Vers2.asp";
    ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        const std::string o = p.Objeto();
        auto vai = [&c](int status, const std::string& para) { c.Responde(status, "moved", "Location: " + para + "\r\n"); };
        if (o == "/novo/Vers2.asp") c.Responde(200, "29");
        else if (o == "/301/Vers2.asp") vai(301, "/novo/Vers2.asp");
        else if (o == "/302/Vers2.asp") vai(302, "../novo/Vers2.asp");
        else if (o == "/307/Vers2.asp") vai(307, "http://" + p.Cabecalho("Host") + "/novo/Vers2.asp");
        else if (o == "/303/Vers2.asp") vai(303, outroServidor);
        else if (o.rfind("/cadeia/", 0) == 0) {
            // "/cadeia/N": N more redirects before the file.
            const int n = std::stoi(o.substr(8));
            if (n == 0) c.Responde(200, "fim");
            else vai(302, "/cadeia/" + std::to_string(n - 1));
        } else if (o == "/laco") vai(302, "/laco");
        else if (o == "/ftp") vai(302, "ftp://127.0.0.1/Vers2.asp");
        else if (o == "/arquivo") vai(301, "file:///etc/hostname");
        else c.Responde(404, "not here");
    });
    AbreConexaoInternet(servidor.Servidor());

    struct Caso {
        std::string objeto;
        std::string resultado;   // the text; empty when the request fails
        std::string erro;        // the failure's description
    };
    const std::vector<Caso> casos = {
        {"301/Vers2.asp", "29", ""},
        {"302/Vers2.asp", "29", ""},
        {"307/Vers2.asp", "29", ""},
        {"303/Vers2.asp", "31", ""},
        {"cadeia/10", "fim", ""},
        {"cadeia/11", "", "HttpSendRequest:12156 - too many redirects (more than 10), the last to /cadeia/0"},
        {"laco", "", "HttpSendRequest:12156 - too many redirects (more than 10), the last to /laco"},
        {"ftp", "", "HttpSendRequest:12156 - redirect to an unsupported address: ftp://127.0.0.1/Vers2.asp"},
        {"arquivo", "", "HttpSendRequest:12156 - redirect to an unsupported address: file:///etc/hostname"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.objeto);
        if (c.erro.empty()) {
            EXPECT_EQ(Baixa(c.objeto, true), c.resultado);
            continue;
        }
        const auto erro = ErroDe([&] { Baixa(c.objeto, true); });
        ASSERT_TRUE(erro);
        EXPECT_EQ(erro->Number(), -104);
        EXPECT_EQ(erro->Description(), c.erro);
    }
    // A file too: it holds the last address's body.
    const std::string caminho = Baixa("302/Vers2.asp", false);
    EXPECT_EQ(LeTudo(caminho), "29");
    fs::remove(caminho);
    EXPECT_TRUE(ArquivosTmp().empty());
    // No request went to a scheme other than http.
    for (const auto& p : servidor.Pedidos()) EXPECT_THAT(p.linha, StartsWith("GET /")) << p.linha;
}

TEST_F(ModInternetTest, RefusedConnectionIsTriedThreeTimes) {
    std::string servidor;
    {
        ServidorHttpTeste parado([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao&) {});
        servidor = parado.Servidor();
    }
    AbreConexaoInternet(servidor);   // no traffic yet: opening succeeds
    const auto erro = ErroDe([&] { Baixa("Vers2.asp", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Number(), -104);
    EXPECT_EQ(erro->Description(), "HttpSendRequest:12029");
}

TEST_F(ModInternetTest, SilentServerTimesOutAndIsTriedTwice) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) {
        c.Espera(std::chrono::seconds(10));
    });
    DefineTempoLimiteInternet(200);
    AbreConexaoInternet(servidor.Servidor());
    const auto erro = ErroDe([&] { Baixa("Vers2.asp", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Description(), "HttpSendRequest:12002");
    servidor.Para();
    EXPECT_EQ(servidor.Pedidos().size(), 2u);
}

TEST_F(ModInternetTest, BodyCutShortIsAFailureNotAShortFile) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.texto.find("/para") != std::string::npos) {
            c.Envia("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(5000, 'a'));
            c.Espera(std::chrono::seconds(10));   // stalls: the receive time-out ends it
        } else {
            c.Envia("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(5000, 'a'));
        }
    });
    DefineTempoLimiteInternet(300);
    AbreConexaoInternet(servidor.Servidor());

    struct Caso {
        std::string objeto;
        std::string descricao;
    };
    for (const Caso& caso : {Caso{"corta.bin", "InternetReadFile:12030;-105;Ret=0"},
                             Caso{"para.bin", "InternetReadFile:12002;-105;Ret=0"}}) {
        SCOPED_TRACE(caso.objeto);
        // As text: nothing delivered, and the file this call named is not left behind.
        auto erro = ErroDe([&] { Baixa(caso.objeto, true); });
        ASSERT_TRUE(erro);
        EXPECT_EQ(erro->Number(), -104);
        EXPECT_EQ(erro->Description(), caso.descricao);
        EXPECT_TRUE(ArquivosTmp().empty());
        // To the caller's file: an error, and the file holds what came.
        const fs::path alvo = pasta_ / "parcial.bin";
        erro = ErroDe([&] { Baixa(caso.objeto, false, alvo.string()); });
        ASSERT_TRUE(erro);
        EXPECT_EQ(erro->Description(), caso.descricao);
        EXPECT_EQ(fs::file_size(alvo), 5000u);
    }
}

TEST_F(ModInternetTest, LargeBodyArrivesInChunksThroughTheProgressHook) {
    std::string corpo(1500000, '\0');
    for (std::size_t i = 0; i < corpo.size(); ++i) corpo[i] = static_cast<char>((i * 7919u) >> 3);
    ServidorHttpTeste servidor([&corpo](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, corpo); });
    std::int64_t total = 0;
    int chamadas = 0;
    int maior = 0;
    DefineGanchoProgressoDownload([&](std::int32_t bytes) {
        total += bytes;
        ++chamadas;
        maior = std::max(maior, static_cast<int>(bytes));
    });
    AbreConexaoInternet(servidor.Servidor());
    const std::string caminho = Baixa("pacote-ci-.zip", false);
    EXPECT_EQ(LeTudo(caminho), corpo);
    EXPECT_EQ(total, static_cast<std::int64_t>(corpo.size()));
    EXPECT_LE(maior, 4096);
    EXPECT_GE(chamadas, static_cast<int>(corpo.size() / 4096));
}

TEST_F(ModInternetTest, ErrorInTheProgressHookEndsTheRequest) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, "abc"); });
    DefineGanchoProgressoDownload([](std::int32_t) { vb::Raise(-9, "barra"); });
    AbreConexaoInternet(servidor.Servidor());
    const auto erro = ErroDe([&] { Baixa("x.txt", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Description(), "InternetReadFile:0;-9;barra");
}

TEST_F(ModInternetTest, UploadsAreRefusedBeforeAnythingIsSent) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, "x"); });
    AbreConexaoInternet(servidor.Servidor());
    for (const std::string modo : {"U", "d", "X", ""}) {
        const auto erro = ErroDe([&] {
            ExecutaRequisicaoHTTP(modo, false, "up.asp", true, "", "a.txt", "b.txt", "", "");
        });
        ASSERT_TRUE(erro) << modo;
        EXPECT_EQ(erro->Number(), -104);
        EXPECT_EQ(erro->Description(), "BodyPostFileUpload:0;-107;N\xC3\xA3o \xC3\xA9 Permitido UPLOAD");
    }
    servidor.Para();
    EXPECT_TRUE(servidor.Pedidos().empty());
}

TEST_F(ModInternetTest, OpeningAndClosingFailures) {
    // A request before any connection.
    auto erro = ErroDe([&] { Baixa("Vers2.asp", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Number(), -104);
    EXPECT_EQ(erro->Description(), "HttpOpenRequest:6");

    for (const std::string servidor : {"", "host com espaco", "127.0.0.1:porta", "a:1:2"}) {
        erro = ErroDe([&] { AbreConexaoInternet(servidor); });
        ASSERT_TRUE(erro) << servidor;
        EXPECT_EQ(erro->Number(), -100);
        EXPECT_EQ(erro->Description(), "InternetConnect:12005");
        EXPECT_EQ(EstadoInternet.SessaoInternet, 0u);
        EXPECT_EQ(EstadoInternet.ConexaoInternet, 0u);
    }
    // Closing twice, or with nothing open, raises nothing.
    EXPECT_NO_THROW(FechaConexaoInternet());
    AbreConexaoInternet("127.0.0.1:1");
    const net::HINTERNET conexao = EstadoInternet.ConexaoInternet;
    FechaConexaoInternet();
    EXPECT_NO_THROW(FechaConexaoInternet());
    EXPECT_FALSE(net::InternetCloseHandle(conexao));   // really closed once
}

// --- Proxy log-in ---------------------------------------------------------------------------

class ProxyTest : public ModInternetTest {
protected:
    // A proxy that wants "user"/"pass" (Basic) and then answers for the origin itself.
    ServidorHttpTeste proxy_{[](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (c.ExigeProxy("user", "pass", p)) c.Responde(200, "via proxy");
    }};
    void SetUp() override {
        ModInternetTest::SetUp();
        semProxy_.reset();
        semProxy_.emplace("http://" + proxy_.Servidor());
    }
    std::vector<std::string> Logados() {
        std::vector<std::string> logados;
        for (const auto& p : proxy_.Pedidos())
            if (!p.Cabecalho("Proxy-Authorization").empty()) logados.push_back(p.texto);
        return logados;
    }
};

TEST_F(ProxyTest, CredentialsFromTheCallerAreGivenOnTheFirstChallenge) {
    AbreConexaoInternet("127.0.0.1:1");
    EXPECT_EQ(Baixa("base/Vers2.asp", true, "", false, "user", "pass"), "via proxy");
    EXPECT_EQ(dialogos_, 0);
    const auto pedidos = proxy_.Pedidos();
    ASSERT_FALSE(pedidos.empty());
    EXPECT_THAT(pedidos.front().texto, StartsWith("GET http://127.0.0.1:1/base/Vers2.asp HTTP/1.0\r\n"));
    EXPECT_EQ(pedidos.front().Cabecalho("Proxy-Authorization"), "");
    EXPECT_FALSE(Logados().empty());
}

// Through a proxy, a redirect is followed through the proxy too, with the log-in given on
// the first challenge.
TEST_F(ProxyTest, ARedirectIsFollowedThroughTheProxyWithTheLogIn) {
    ServidorHttpTeste proxy([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (!c.ExigeProxy("user", "pass", p)) return;
        if (p.Objeto() == "http://127.0.0.1:1/velho/Vers2.asp")
            c.Responde(302, "", "Location: http://127.0.0.2:1/novo/Vers2.asp\r\n");
        else if (p.Objeto() == "http://127.0.0.2:1/novo/Vers2.asp") c.Responde(200, "28");
        else c.Responde(404, "not here");
    });
    semProxy_.reset();
    semProxy_.emplace("http://" + proxy.Servidor());
    AbreConexaoInternet("127.0.0.1:1");
    EXPECT_EQ(Baixa("velho/Vers2.asp", true, "", false, "user", "pass"), "28");
    EXPECT_EQ(dialogos_, 0);
    std::vector<std::string> logados;
    for (const auto& p : proxy.Pedidos())
        if (!p.Cabecalho("Proxy-Authorization").empty()) logados.push_back(p.Objeto());
    EXPECT_EQ(logados, (std::vector<std::string>{"http://127.0.0.1:1/velho/Vers2.asp",
                                                 "http://127.0.0.2:1/novo/Vers2.asp"}));
}

TEST_F(ProxyTest, SilentCallWithWrongOrNoCredentialsEndsIn407WithoutADialog) {
    AbreConexaoInternet("127.0.0.1:1");
    for (const auto& [usuario, senha] : std::vector<std::pair<std::string, std::string>>{
             {"user", "errada"}, {"", ""}}) {
        const auto erro = ErroDe([&] { Baixa("Vers2.asp", true, "", false, usuario, senha); });
        ASSERT_TRUE(erro);
        EXPECT_EQ(erro->Number(), -104);
        EXPECT_EQ(erro->Description(), "HttpQueryInfo:0;-103;Status=407");
    }
    EXPECT_EQ(dialogos_, 0);
}

TEST_F(ProxyTest, InteractiveCallAsksTheDialog) {
    AbreConexaoInternet("127.0.0.1:1");

    // The user types the right log-in: the request goes through.
    net::SetProxyLoginDialog([this](const std::string& proxy, std::string& usuario, std::string& senha) {
        ++dialogos_;
        EXPECT_THAT(proxy, HasSubstr(proxy_.Servidor()));
        usuario = "user";
        senha = "pass";
        return true;
    });
    EXPECT_EQ(Baixa("Vers2.asp", true, "", true), "via proxy");
    EXPECT_EQ(dialogos_, 1);

    // Cancelled.
    dialogos_ = 0;
    net::SetProxyLoginDialog([this](const std::string&, std::string&, std::string&) {
        ++dialogos_;
        return false;
    });
    auto erro = ErroDe([&] { Baixa("Vers2.asp", true, "", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Description(), "InternetErrorDlg:0;-106;Cancel Proxy Auth");
    EXPECT_EQ(dialogos_, 1);

    // Always wrong: seven dialogs, then the request gives up.
    dialogos_ = 0;
    net::SetProxyLoginDialog([this](const std::string&, std::string& usuario, std::string& senha) {
        ++dialogos_;
        usuario = "user";
        senha = "nope";
        return true;
    });
    erro = ErroDe([&] { Baixa("Vers2.asp", true, "", true); });
    ASSERT_TRUE(erro);
    EXPECT_EQ(erro->Description(), "InternetErrorDlg:0;-102;Cont=7");
    EXPECT_EQ(dialogos_, 7);
}

}  // namespace
