// The WinINet-like layer itself: handle lifetimes, headers, chunked reads, resends.
#include "platform/net/WinInet.h"
#include "tests/support/ServidorHttpTeste.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include <cstdlib>

using ::testing::HasSubstr;
using ::testing::Not;

using testsupport::ServidorHttpTeste;

namespace {

class WinInetTest : public ::testing::Test {
protected:
    void SetUp() override {
        sessao_ = net::InternetOpen("zk-teste", net::INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
        ASSERT_NE(sessao_, 0u);
    }
    void TearDown() override {
        if (sessao_) net::InternetCloseHandle(sessao_);
    }
    net::HINTERNET Conecta(const ServidorHttpTeste& s) {
        return net::InternetConnect(sessao_, "127.0.0.1", s.Porta(), "", "", net::INTERNET_SERVICE_HTTP, 0, 0);
    }
    static std::string LeCorpo(net::HINTERNET requisicao, net::DWORD pedaco) {
        std::string corpo;
        char buffer[8192];
        for (;;) {
            net::DWORD lidos = 0;
            EXPECT_TRUE(net::InternetReadFile(requisicao, buffer, pedaco, lidos)) << net::GetLastError();
            if (lidos == 0) return corpo;
            EXPECT_LE(lidos, pedaco);
            corpo.append(buffer, lidos);
        }
    }
    net::HINTERNET sessao_ = 0;
};

TEST_F(WinInetTest, ClosingASessionClosesWhatWasOpenedOnIt) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, "x"); });
    const net::HINTERNET conexao = Conecta(servidor);
    const net::HINTERNET requisicao = net::HttpOpenRequest(conexao, "GET", "a", "HTTP/1.0", "", 0, 0);
    ASSERT_NE(requisicao, 0u);
    ASSERT_TRUE(net::InternetCloseHandle(sessao_));
    sessao_ = 0;
    for (net::HINTERNET h : {conexao, requisicao}) {
        EXPECT_FALSE(net::InternetCloseHandle(h));
        EXPECT_EQ(net::GetLastError(), net::ERROR_INVALID_HANDLE);
    }
    EXPECT_FALSE(net::HttpSendRequest(requisicao, "", nullptr, 0));
    EXPECT_EQ(net::GetLastError(), net::ERROR_INVALID_HANDLE);
}

TEST_F(WinInetTest, ReplyIsReadInChunksAndOnlyAfterASend) {
    const std::string corpo(10007, 'q');
    int vez = 0;
    ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) {
        c.Responde(200, ++vez == 1 ? std::string("primeira") : corpo);
    });
    const net::HINTERNET requisicao =
        net::HttpOpenRequest(Conecta(servidor), "GET", "a b/ç.txt", "HTTP/1.0", "", 0, 0);
    net::DWORD status = 0;
    char buffer[16];
    net::DWORD lidos = 0;
    EXPECT_FALSE(net::HttpQueryInfo(requisicao, net::HTTP_QUERY_STATUS_CODE | net::HTTP_QUERY_FLAG_NUMBER, status));
    EXPECT_FALSE(net::InternetReadFile(requisicao, buffer, sizeof buffer, lidos));

    // Sent twice: the first reply is dropped, the second read whole in small pieces.
    ASSERT_TRUE(net::HttpSendRequest(requisicao, "", nullptr, 0));
    ASSERT_TRUE(net::HttpSendRequest(requisicao, "", nullptr, 0));
    ASSERT_TRUE(net::HttpQueryInfo(requisicao, net::HTTP_QUERY_STATUS_CODE | net::HTTP_QUERY_FLAG_NUMBER, status));
    EXPECT_EQ(status, 200u);
    EXPECT_EQ(LeCorpo(requisicao, 333), corpo);
    // After the end, reads keep answering 0 bytes.
    EXPECT_TRUE(net::InternetReadFile(requisicao, buffer, sizeof buffer, lidos));
    EXPECT_EQ(lidos, 0u);
    servidor.Para();
    // Unsafe characters of the object are escaped.
    EXPECT_THAT(servidor.Pedidos().at(0).texto, ::testing::StartsWith("GET /a%20b/%C3%A7.txt HTTP/1.0\r\n"));
}

TEST_F(WinInetTest, HeadersAreAddedOrReplaced) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, ""); });
    const net::HINTERNET requisicao = net::HttpOpenRequest(
        Conecta(servidor), "GET", "h", "HTTP/1.0", "",
        net::INTERNET_FLAG_PRAGMA_NOCACHE | net::INTERNET_FLAG_KEEP_CONNECTION, 0);
    ASSERT_TRUE(net::HttpAddRequestHeaders(requisicao, "X-Um: 1\r\nX-Dois: 2", net::HTTP_ADDREQ_FLAG_ADD));
    ASSERT_TRUE(net::HttpAddRequestHeaders(requisicao, "x-um: trocado",
                                           net::HTTP_ADDREQ_FLAG_ADD | net::HTTP_ADDREQ_FLAG_REPLACE));
    ASSERT_TRUE(net::HttpSendRequest(requisicao, "X-Tres: 3\r\n", nullptr, 0));
    servidor.Para();
    const std::string pedido = servidor.Pedidos().at(0).texto;
    EXPECT_THAT(pedido, HasSubstr("x-um: trocado\r\n"));
    EXPECT_THAT(pedido, Not(HasSubstr("X-Um: 1")));
    EXPECT_THAT(pedido, HasSubstr("X-Dois: 2\r\n"));
    EXPECT_THAT(pedido, HasSubstr("X-Tres: 3\r\n"));
    EXPECT_THAT(pedido, HasSubstr("Pragma: no-cache\r\n"));
    EXPECT_THAT(pedido, HasSubstr("User-Agent: zk-teste\r\n"));
}

TEST_F(WinInetTest, ExplicitProxyIsUsedAndBadArgumentsAreRefused) {
    ServidorHttpTeste proxy([](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& c) { c.Responde(200, "p"); });
    const net::HINTERNET viaProxy =
        net::InternetOpen("zk", net::INTERNET_OPEN_TYPE_PROXY, proxy.Servidor(), "", 0);
    const net::HINTERNET conexao =
        net::InternetConnect(viaProxy, "127.0.0.1", 1, "", "", net::INTERNET_SERVICE_HTTP, 0, 0);
    const net::HINTERNET requisicao = net::HttpOpenRequest(conexao, "GET", "x", "HTTP/1.0", "", 0, 0);
    ASSERT_TRUE(net::HttpSendRequest(requisicao, "", nullptr, 0));
    EXPECT_EQ(LeCorpo(requisicao, 4096), "p");
    net::InternetCloseHandle(viaProxy);
    proxy.Para();
    EXPECT_THAT(proxy.Pedidos().at(0).texto, ::testing::StartsWith("GET http://127.0.0.1:1/x HTTP/1.0\r\n"));

    EXPECT_EQ(net::InternetOpen("zk", net::INTERNET_OPEN_TYPE_PROXY, "", "", 0), 0u);
    EXPECT_EQ(net::InternetOpen("zk", 7, "", "", 0), 0u);
    EXPECT_EQ(net::InternetConnect(sessao_, "h", 80, "", "", 1, 0, 0), 0u);   // FTP: not spoken
    EXPECT_EQ(net::GetLastError(), net::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(net::InternetConnect(sessao_, "a/b", 80, "", "", net::INTERNET_SERVICE_HTTP, 0, 0), 0u);
    EXPECT_EQ(net::GetLastError(), net::ERROR_INTERNET_INVALID_URL);
    EXPECT_NE(net::InternetConnect(sessao_, "::1", 80, "", "", net::INTERNET_SERVICE_HTTP, 0, 0), 0u);
    EXPECT_FALSE(net::InternetSetOptionStr(sessao_, net::INTERNET_OPTION_PROXY_USERNAME, "u"));
    EXPECT_EQ(net::GetLastError(), net::ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
}

TEST(ProxyLoginDialogTest, AsksTheUserOnlyWhenThereIsAWindowSystem) {
    std::string usuario = "antes";
    std::string senha;
    // Nobody to ask: cancelled, nothing changed.
    EXPECT_FALSE(net::DefaultProxyLoginDialog("http://127.0.0.1:3128", usuario, senha));
    EXPECT_EQ(usuario, "antes");

    int argc = 1;
    char nome[] = "test_net_WinInet";
    char* argv[] = {nome, nullptr};
    QApplication app(argc, argv);
    for (bool aceita : {true, false}) {
        QTimer::singleShot(0, [aceita] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialogo, nullptr);
            const auto campos = dialogo->findChildren<QLineEdit*>();
            ASSERT_EQ(campos.size(), 2);
            EXPECT_EQ(campos[0]->text(), QString("antes"));
            EXPECT_EQ(campos[1]->echoMode(), QLineEdit::Password);
            campos[0]->setText("joao");
            campos[1]->setText("s3nha");
            aceita ? dialogo->accept() : dialogo->reject();
        });
        usuario = "antes";
        senha.clear();
        EXPECT_EQ(net::DefaultProxyLoginDialog("http://127.0.0.1:3128", usuario, senha), aceita);
        EXPECT_EQ(usuario, aceita ? "joao" : "antes");
        EXPECT_EQ(senha, aceita ? "s3nha" : "");
    }
}

TEST_F(WinInetTest, TheLengthIsKnownOnlyWhenTheReplyGivesIt) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.Objeto() == "/com") c.Responde(200, "23 bytes de um arquivo.");
        else if (p.Objeto() == "/vazio") c.Responde(200, "");
        else c.RespondeSemTamanho(200, "sem tamanho");
    });
    const net::HINTERNET conexao = Conecta(servidor);
    struct Caso {
        const char* objeto;
        bool conhecido;
        net::DWORD tamanho;
    };
    for (const Caso& c : {Caso{"com", true, 23}, Caso{"vazio", true, 0}, Caso{"sem", false, 0}}) {
        SCOPED_TRACE(c.objeto);
        const net::HINTERNET requisicao = net::HttpOpenRequest(conexao, "GET", c.objeto, "HTTP/1.0", "", 0, 0);
        net::DWORD tamanho = 99;
        const net::DWORD pedido = net::HTTP_QUERY_CONTENT_LENGTH | net::HTTP_QUERY_FLAG_NUMBER;
        EXPECT_FALSE(net::HttpQueryInfo(requisicao, pedido, tamanho)) << "nothing sent yet";
        ASSERT_TRUE(net::HttpSendRequest(requisicao, "", nullptr, 0));
        EXPECT_EQ(net::HttpQueryInfo(requisicao, pedido, tamanho), c.conhecido);
        if (c.conhecido) {
            EXPECT_EQ(tamanho, c.tamanho);
        } else {
            EXPECT_EQ(net::GetLastError(), net::ERROR_HTTP_HEADER_NOT_FOUND);
        }
        LeCorpo(requisicao, 4096);
        net::InternetCloseHandle(requisicao);
    }
}

// The caller's windows run during every wait; closing the request (or its connection) from
// there ends the waiting call instead of leaving it on a request that is gone.
TEST_F(WinInetTest, TheWaitHookRunsWhileTheServerIsSilentAndMayCloseTheRequest) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (p.Objeto() == "/corpo") c.Envia("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nab");
        c.Espera(std::chrono::seconds(30));
    });
    const net::HINTERNET conexao = Conecta(servidor);
    struct Caso {
        const char* objeto;
        bool fechaConexao;
    };
    for (const Caso& c : {Caso{"cabecalhos", false}, Caso{"corpo", false}, Caso{"cabecalhos", true}}) {
        SCOPED_TRACE(std::string(c.objeto) + (c.fechaConexao ? ", the connection closed" : ""));
        const net::HINTERNET alvo = c.fechaConexao ? Conecta(servidor) : conexao;
        const net::HINTERNET requisicao = net::HttpOpenRequest(alvo, "GET", c.objeto, "HTTP/1.0", "", 0, 0);
        ASSERT_TRUE(net::InternetSetOption(requisicao, net::INTERNET_OPTION_RECEIVE_TIMEOUT, 5000));
        const bool corpo = std::string(c.objeto) == "corpo";
        char buffer[64];
        net::DWORD lidos = 0;
        if (corpo) {
            // The first chunk is in; the rest never comes.
            ASSERT_TRUE(net::HttpSendRequest(requisicao, "", nullptr, 0));
            ASSERT_TRUE(net::InternetReadFile(requisicao, buffer, sizeof buffer, lidos));
        }
        int vezes = 0;
        const net::WaitHook anterior = net::SetWaitHook([&] {
            // A second call on the waiting request is refused, not started over it.
            if (++vezes == 1) {
                EXPECT_FALSE(net::HttpSendRequest(requisicao, "", nullptr, 0));
                EXPECT_EQ(net::GetLastError(), net::ERROR_INTERNET_INCORRECT_HANDLE_STATE);
            }
            if (vezes == 10) net::InternetCloseHandle(c.fechaConexao ? alvo : requisicao);
        });
        const bool ok = corpo ? net::InternetReadFile(requisicao, buffer, sizeof buffer, lidos)
                              : net::HttpSendRequest(requisicao, "", nullptr, 0);
        net::SetWaitHook(anterior);
        EXPECT_FALSE(ok);
        EXPECT_EQ(net::GetLastError(), net::ERROR_INTERNET_OPERATION_CANCELLED);
        EXPECT_EQ(vezes, 10);
        EXPECT_FALSE(net::InternetCloseHandle(requisicao)) << "closed already";
    }
}

}  // namespace
