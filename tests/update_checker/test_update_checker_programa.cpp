// The update checker as the catalogue meets it: the real program, started as a process from
// a program folder of its own, on a copy of the demo data, against a real HTTP server on
// 127.0.0.1.
#include "common/MRijndael.h"
#include "common/Modulo.h"
#include "platform/dao/Dao.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/PastaSomenteLeitura.h"
#include "tests/support/ServidorHttpTeste.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using testsupport::ServidorHttpTeste;

namespace {

const std::string Titulo = "Verificação de Atualizações do Catálogo ZORNAK";

struct Execucao {
    int codigo = -1;
    std::string saidaErro;   // the message box goes here (ZK_MSGBOX=stderr)
};

class VerificadorPrograma : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao<QCoreApplication>("test_update_checker_programa"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        for (const char* pasta : {"prog", "cfg", "dados", "tmp"}) QDir(raiz.path()).mkpath(pasta);
        // The checker finds its data through "Caminho.txt" in its own folder, so it runs
        // from a copy of its own.
        ASSERT_TRUE(QFile::copy(ZK_CHECKER, Programa()));
        QFile(Programa()).setPermissions(QFile(Programa()).permissions() | QFileDevice::ExeOwner);
        ASSERT_TRUE(QFile::copy(QString(ZK_DEMO_DATA_DIR) + "/CatalogoZORNAK.c01", Dados() + "/CatalogoZORNAK.c01"));
        QFile caminho(raiz.path() + "/prog/Caminho.txt");
        ASSERT_TRUE(caminho.open(QIODevice::WriteOnly));
        caminho.write(Dados().toUtf8());
    }

    QString Programa() const { return raiz.path() + "/prog/VerifAtualizCatalogoZORNAK"; }
    QString Dados() const { return raiz.path() + "/dados"; }
    QString Temporaria() const { return raiz.path() + "/tmp"; }
    QString Resultado() const { return raiz.path() + "/resultado.tmp"; }
    QString Configuracao() const { return raiz.path() + "/cfg/VelmoSistemas/CatalogoZORNAKConfig.txt"; }

    // A statement on the test's copy of the catalogue, through a connection of the test.
    void ExecutaNoCatalogo(const std::string& sql) {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("teste", "admin", "");
        dao::Database db = ws.OpenDatabase((Dados() + "/CatalogoZORNAK.c01").toStdString(), false, false,
                                           ";pwd=" + ObtemSenhaBancoDados());
        db.Execute(sql, dao::dbFailOnError);
        db.Close();
        ws.Close();
    }
    void DefineEndereco(const std::string& endereco) {
        ExecutaNoCatalogo("UPDATE UMREGISTRO SET UrlAtualizacao = '" + endereco + "'");
    }
    std::string EnderecoLocal(quint16 porta, const std::string& caminho = "/catalogo/") {
        return "http://127.0.0.1:" + std::to_string(porta) + caminho;
    }

    Execucao Executa(const QStringList& argumentos, const std::string& proxy = {}) {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        for (const char* nome : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                                 "no_proxy", "NO_PROXY"})
            ambiente.remove(nome);
        if (!proxy.empty()) ambiente.insert("http_proxy", QString::fromStdString(proxy));
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        ambiente.insert("XDG_CONFIG_HOME", raiz.path() + "/cfg");
        ambiente.insert("TMPDIR", Temporaria());
        ambiente.insert("ZK_MSGBOX", "stderr");
        if (!tempoLimite.isEmpty()) ambiente.insert("ZK_TEMPO_LIMITE_INTERNET", tempoLimite);
        QProcess processo;
        processo.setProcessEnvironment(ambiente);
        processo.start(Programa(), argumentos);
        Execucao execucao;
        if (!processo.waitForStarted() || !processo.waitForFinished(120000)) {
            processo.kill();
            processo.waitForFinished();
            ADD_FAILURE() << "the checker did not end";
            return execucao;
        }
        execucao.codigo = processo.exitCode();
        execucao.saidaErro = QString::fromUtf8(processo.readAllStandardError()).toStdString();
        return execucao;
    }

    // A silent run (through a proxy when one is given) into a new result file; the line
    // written, or nothing when no file came.
    std::optional<std::string> LinhaSilenciosa(const std::string& proxy = {}) {
        QFile::remove(Resultado());
        const Execucao e = Executa({"1|" + Resultado()}, proxy);
        EXPECT_EQ(e.codigo, 0);
        EXPECT_EQ(e.saidaErro.find(Titulo), std::string::npos) << "a silent check showed a box: " << e.saidaErro;
        QFile arquivo(Resultado());
        if (!arquivo.open(QIODevice::ReadOnly)) return std::nullopt;
        return QString::fromUtf8(arquivo.readAll()).toStdString();
    }

    // Files the checker left in the data folder besides the catalogue, and in its temporary
    // folder.
    QStringList Sobras() const {
        QStringList arquivos = QDir(Dados()).entryList(QDir::Files);
        arquivos.removeAll("CatalogoZORNAK.c01");
        return arquivos + QDir(Temporaria()).entryList(QDir::Files);
    }

    static bool Comeca(const std::string& texto, const std::string& inicio) { return texto.rfind(inicio, 0) == 0; }
    static bool Termina(const std::string& texto, const std::string& fim) {
        return texto.size() >= fim.size() && texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
    }

    QTemporaryDir raiz;
    QString tempoLimite;   // the checker's network time-outs in milliseconds; empty: its own
};

// The address in UMREGISTRO in its usual forms gives one request, and the server's number
// with the installed version makes the success line.
TEST_F(VerificadorPrograma, TheAddressFormsAskForVers2AndTheLineJoinsBothVersions) {
    struct Caso {
        const char* nome;
        std::string caminho;        // after "127.0.0.1:port"; the scheme is added by esquema
        const char* esquema;
        std::string corpo;
        int versaoInstalada;
        std::string pedido;         // the request line's path
        std::string linha;
    };
    const std::vector<Caso> casos = {
        {"base path with closing slash", "/catalogo/", "http://", "15", 12, "/catalogo/Vers2.asp", "112|15"},
        {"base path without closing slash", "/catalogo", "http://", "15", 12, "/catalogo/Vers2.asp", "112|15"},
        {"scheme in capitals", "/catalogo/", "HTTP://", "28", 27, "/catalogo/Vers2.asp", "127|28"},
        {"no scheme", "/catalogo/", "", "28", 27, "/catalogo/Vers2.asp", "127|28"},
        {"host without a path", "", "http://", "27", 27, "/Vers2.asp", "127|27"},
        {"deeper base path", "/a/b/", "http://", "30", 27, "/a/b/Vers2.asp", "127|30"},
        {"blanks around the server's number", "/catalogo/", "http://", " 31 ", 27, "/catalogo/Vers2.asp", "127|31"},
        // Servers end their text with a line end, and some pad the number.
        {"a line end after the number", "/catalogo/", "http://", "15\r\n", 27, "/catalogo/Vers2.asp", "127|15"},
        {"blanks and a line end", "/catalogo/", "http://", " 28 \r\n", 27, "/catalogo/Vers2.asp", "127|28"},
        {"tabs and a bare line feed", "/catalogo/", "http://", "\t29\t\n", 27, "/catalogo/Vers2.asp", "127|29"},
        {"negative installed version", "/catalogo/", "http://", "1", -3, "/catalogo/Vers2.asp", "1-3|1"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, c.corpo); });
        DefineEndereco(c.esquema + std::string("127.0.0.1:") + std::to_string(servidor.Porta()) + c.caminho);
        ExecutaNoCatalogo("UPDATE UMREGISTRO SET Versao = " + std::to_string(c.versaoInstalada));

        EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), c.linha);
        auto pedidos = servidor.Pedidos();
        ASSERT_EQ(pedidos.size(), 1u);
        EXPECT_EQ(pedidos[0].linha, "GET " + c.pedido + " HTTP/1.0");
        EXPECT_EQ(pedidos[0].cabecalhos["user-agent"], "CatalogoDePecasZornak");
        // The reply went through a file in the data folder, which is gone.
        EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
    }
}

// Every failure is one line: "0", the number, a blank and the description.
// A maker that moved its update address answers the old one with a redirect: the checker
// follows it and reads the version there; a loop, or a redirect to another scheme, is an
// error line that says so.
TEST_F(VerificadorPrograma, TheVersionIsReadThroughARedirect) {
    struct Caso {
        const char* nome;
        int status;
        std::string para;    // the Location given for the old address
        std::string linha;   // the whole line, or its start
        std::string contem;
    };
    const std::vector<Caso> casos = {
        {"moved for good", 301, "/novo/Vers2.asp", "127|29", ""},
        {"moved for now", 302, "/novo/Vers2.asp", "127|29", ""},
        {"moved, same method", 307, "/novo/Vers2.asp", "127|29", ""},
        {"a loop", 302, "/catalogo/Vers2.asp", "0-104 ", "HttpSendRequest:12156 - too many redirects"},
        {"another scheme", 302, "ftp://127.0.0.1/Vers2.asp", "0-104 ",
         "HttpSendRequest:12156 - redirect to an unsupported address: ftp://127.0.0.1/Vers2.asp"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido& p) {
            if (p.Objeto() == "/novo/Vers2.asp") return ServidorHttpTeste::Resposta(200, "29");
            return ServidorHttpTeste::Resposta(c.status, "moved", "Location: " + c.para + "\r\n");
        });
        DefineEndereco(EnderecoLocal(servidor.Porta()));
        ExecutaNoCatalogo("UPDATE UMREGISTRO SET Versao = 27");
        const std::string linha = LinhaSilenciosa().value_or("<no file>");
        if (c.contem.empty()) EXPECT_EQ(linha, c.linha);
        else EXPECT_TRUE(Comeca(linha, c.linha)) << linha;
        EXPECT_NE(linha.find(c.contem), std::string::npos) << linha;
        EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
    }
}

TEST_F(VerificadorPrograma, FailuresBecomeTheErrorLine) {
    struct Caso {
        const char* nome;
        int status;                      // 0: nobody listens on the port
        std::string corpo;
        std::string sql;                 // run on the catalogue before the check
        std::string inicio, fim;         // of the line
        std::vector<std::string> contem;
    };
    const std::vector<Caso> casos = {
        {"server answers 404", 404, "no", "", "0-104 ", "", {"-103", "Status=404"}},
        {"server answers 500", 500, "", "", "0-104 ", "", {"Status=500"}},
        {"server is down", 0, "", "", "0-104 ", "", {"HttpSendRequest"}},
        {"a page of text", 200, "<html>Erro</html>", "", "013 ", " : <html>Erro</html>", {}},
        {"an empty reply", 200, "", "", "013 ", " : ", {}},
        {"a number beyond 16 bits", 200, "40000", "", "06 ", " : 40000", {}},
        {"a page of several lines", 200, "<html>\r\n<body>Erro</body>\r\n</html>\r\n", "", "013 ",
         " : <html> <body>Erro</body> </html>", {}},
        {"a number and a word", 200, "15 ok\r\n", "", "013 ", " : 15 ok", {}},
        {"no update record", 200, "15", "DELETE FROM UMREGISTRO", "03021 ", "", {}},
        {"installed version empty", 200, "15", "UPDATE UMREGISTRO SET Versao = Null", "094 ", "", {}},
        {"installed version beyond 16 bits", 200, "15", "UPDATE UMREGISTRO SET Versao = 40000", "06 ", "", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        // A fresh catalogue for each case.
        QFile::remove(Dados() + "/CatalogoZORNAK.c01");
        ASSERT_TRUE(QFile::copy(QString(ZK_DEMO_DATA_DIR) + "/CatalogoZORNAK.c01", Dados() + "/CatalogoZORNAK.c01"));
        std::optional<ServidorHttpTeste> servidor;
        quint16 porta = ServidorHttpTeste::PortaFechada();
        if (c.status != 0) {
            servidor.emplace([&](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(c.status, c.corpo); });
            porta = servidor->Porta();
        }
        DefineEndereco(EnderecoLocal(porta));
        if (!c.sql.empty()) ExecutaNoCatalogo(c.sql);

        const std::string linha = LinhaSilenciosa().value_or("<no file>");
        EXPECT_TRUE(Comeca(linha, c.inicio)) << linha;
        EXPECT_TRUE(Termina(linha, c.fim)) << linha;
        for (const std::string& parte : c.contem) EXPECT_NE(linha.find(parte), std::string::npos) << linha;
        EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
    }
}

// "Caminho.txt" naming, in Latin-1 bytes, a data folder whose name holds such a byte: the
// checker reads its catalogue there, and the reply's file there is gone afterwards.
TEST_F(VerificadorPrograma, ADataFolderNamedInLatin1BytesIsFound) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    ExecutaNoCatalogo("UPDATE UMREGISTRO SET Versao = 27");
    const std::string pasta = raiz.path().toStdString() + "/cat\xE1logo";
    ASSERT_EQ(std::rename(Dados().toStdString().c_str(), pasta.c_str()), 0);
    std::ofstream(raiz.path().toStdString() + "/prog/Caminho.txt", std::ios::binary | std::ios::trunc) << pasta;
    EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");
    EXPECT_EQ(servidor.Pedidos().size(), 1u);
    std::vector<std::string> arquivos;
    for (const auto& e : std::filesystem::directory_iterator(pasta)) arquivos.push_back(e.path().filename().string());
    EXPECT_EQ(arquivos, std::vector<std::string>{"CatalogoZORNAK.c01"});
}

// A data folder in which no file can be made (read-only, or full): the server's reply is read
// through the temporary folder, and the check succeeds.
TEST_F(VerificadorPrograma, AReadOnlyDataFolderStillGivesTheLine) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    ExecutaNoCatalogo("UPDATE UMREGISTRO SET Versao = 27");
    testsupport::PastaSomenteLeitura somenteLeitura(Dados().toStdString());
    if (!somenteLeitura.Vale()) GTEST_SKIP() << "no way to make a folder read-only here";
    EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");
    somenteLeitura.Solta();
    EXPECT_EQ(servidor.Pedidos().size(), 1u);
    EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
}

TEST_F(VerificadorPrograma, AMissingCatalogueIsTheEnginesError) {
    QFile::remove(Dados() + "/CatalogoZORNAK.c01");
    const std::string linha = LinhaSilenciosa().value_or("<no file>");
    EXPECT_TRUE(Comeca(linha, "03024 ")) << linha;
}

// Where the line goes by the command line: the file after "|", or a box when there is none.
TEST_F(VerificadorPrograma, TheCommandLineChoosesFileOrBox) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    const QString comBrancos = raiz.path() + "/pasta com brancos";
    QDir().mkpath(comBrancos);
    // Beside a folder "pecas|2026" lies a user's file "pecas", which the part of the path
    // before the bar names.
    const QString comBarra = raiz.path() + "/pecas|2026";
    QDir().mkpath(comBarra);
    {
        QFile usuario(raiz.path() + "/pecas");
        ASSERT_TRUE(usuario.open(QIODevice::WriteOnly));
        usuario.write("planilha de pecas");
    }
    struct Caso {
        const char* nome;
        QStringList argumentos;
        QString arquivo;   // where the line must be; empty: a box instead
    };
    const std::vector<Caso> casos = {
        {"silent with a file", {"1|" + Resultado()}, Resultado()},
        {"manual with a file", {"0|" + Resultado()}, Resultado()},
        // All after the first "|" is the path: a folder's name may hold one.
        {"a bar inside the path", {"1|" + comBarra + "/r.tmp"}, comBarra + "/r.tmp"},
        {"a path with blanks in one argument", {"1|" + comBrancos + "/r.tmp"}, comBrancos + "/r.tmp"},
        {"a path with blanks split by a shell", QString("1|" + comBrancos + "/s.tmp").split(' '), comBrancos + "/s.tmp"},
        {"no command line", {}, {}},
        {"no bar", {"0"}, {}},
        {"a bar and no file", {"1|"}, {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        if (!c.arquivo.isEmpty()) QFile::remove(c.arquivo);
        const Execucao e = Executa(c.argumentos);
        EXPECT_EQ(e.codigo, 0);
        const std::string caixa = Titulo + ": 127|28";
        if (c.arquivo.isEmpty()) {
            EXPECT_NE(e.saidaErro.find(caixa), std::string::npos) << e.saidaErro;
        } else {
            EXPECT_EQ(e.saidaErro.find(Titulo), std::string::npos) << e.saidaErro;
            QFile arquivo(c.arquivo);
            ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
            EXPECT_EQ(arquivo.readAll().toStdString(), "127|28");
        }
    }
    EXPECT_FALSE(QFile::exists(raiz.path() + "/prog/|"));
    QFile usuario(raiz.path() + "/pecas");
    ASSERT_TRUE(usuario.open(QIODevice::ReadOnly));
    EXPECT_EQ(usuario.readAll().toStdString(), "planilha de pecas");
}

// The line replaces what the file held, and ends without a line end: the catalogue reads the
// whole file as the line.
TEST_F(VerificadorPrograma, TheResultReplacesTheFileWithoutALineEnd) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    {
        QFile antigo(Resultado());
        ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
        antigo.write("0-104 a much longer line from an earlier run\r\n");
    }
    EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");
}

// A result file that cannot be written leaves nothing, and the program still ends, its exit
// code carrying the system's reason to the catalogue.
TEST_F(VerificadorPrograma, AnUnwritableResultFileEndsTheProgramWithTheReason) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    const QString semPasta = raiz.path() + "/nao/existe/r.tmp";
    struct Caso {
        const char* nome;
        QString arquivo;
        int erro;
    };
    const Caso casos[] = {
        {"a folder that is not there", semPasta, ENOENT},
        {"a full disk", "/dev/full", ENOSPC},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const Execucao e = Executa({"1|" + c.arquivo});
        EXPECT_EQ(e.codigo, CodigoSaidaResultadoNaoGravado(c.erro));
        EXPECT_EQ(ErroSistemaDoCodigoSaida(e.codigo), c.erro);
        EXPECT_EQ(e.saidaErro.find(Titulo), std::string::npos);
    }
    EXPECT_FALSE(QFile::exists(semPasta));
}

// The checker only reads the settings: a missing file is not created, a damaged one is not
// repaired (that is the catalogue's business), and the check goes on without credentials.
TEST_F(VerificadorPrograma, TheSettingsFileIsReadAndNeverWritten) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");
    EXPECT_FALSE(QFile::exists(Configuracao()));

    QDir().mkpath(raiz.path() + "/cfg/VelmoSistemas");
    for (const char* conteudo : {"E|0|nao e cifra|XYZ", "P|1|", "I"}) {
        SCOPED_TRACE(conteudo);
        {
            QFile arquivo(Configuracao());
            ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
            arquivo.write(conteudo);
        }
        EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");
        QFile arquivo(Configuracao());
        ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
        EXPECT_EQ(arquivo.readAll().toStdString(), conteudo);
    }
}

// The proxy credentials of the settings file reach a proxy that asks for them; without them
// a silent check reports the proxy's refusal and shows no log-in dialog.
TEST_F(VerificadorPrograma, TheProxyGetsTheCredentialsOfTheSettingsFile) {
    ServidorHttpTeste proxy([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (c.ExigeProxy("joana", "s3gredo|x", p)) c.Responde(200, "29");
    });
    // Through the proxy, the address is only text in the request; it names the proxy itself.
    DefineEndereco(EnderecoLocal(proxy.Porta()));
    const std::string viaProxy = "http://127.0.0.1:" + std::to_string(proxy.Porta());

    const std::string recusa = LinhaSilenciosa(viaProxy).value_or("<no file>");
    EXPECT_TRUE(Comeca(recusa, "0-104 ")) << recusa;
    EXPECT_NE(recusa.find("Status=407"), std::string::npos) << recusa;
    ASSERT_FALSE(proxy.Pedidos().empty());
    EXPECT_NE(proxy.Pedidos()[0].linha.find("/catalogo/Vers2.asp"), std::string::npos);

    QDir().mkpath(raiz.path() + "/cfg/VelmoSistemas");
    {
        QFile arquivo(Configuracao());
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
        arquivo.write(("P|1|" + ProcessaCriptografia("joana", true) + "|" + ProcessaCriptografia("s3gredo|x", true)).c_str());
    }
    // A password with "|" would split the line: the cipher's hexadecimal text never holds one.
    EXPECT_EQ(LinhaSilenciosa(viaProxy).value_or("<no file>"), "127|29");
}

// An older settings file found only in the system folder (the program folder here) is
// copied into the user's folder and used.
TEST_F(VerificadorPrograma, AnOlderSettingsFileInTheSystemFolderIsCopiedAndUsed) {
    ServidorHttpTeste proxy([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (c.ExigeProxy("ana", "pw", p)) c.Responde(200, "29");
    });
    DefineEndereco(EnderecoLocal(proxy.Porta()));
    const std::string linhaAntiga = "E|0|" + ProcessaCriptografia("ana", true) + "|" + ProcessaCriptografia("pw", true);
    {
        QFile antigo(raiz.path() + "/prog/CatalogoZORNAKConfig.txt");
        ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
        antigo.write(linhaAntiga.c_str());
    }
    EXPECT_EQ(LinhaSilenciosa("http://127.0.0.1:" + std::to_string(proxy.Porta())).value_or("<no file>"), "127|29");
    QFile copia(Configuracao());
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll().toStdString(), linhaAntiga);
}

// A version is a few bytes. A server that sends a web page or an endless stream instead gets
// a short, one-line error: the checker reads a bounded amount, and quotes a short piece.
TEST_F(VerificadorPrograma, AHugeOrLongReplyGivesAShortOneLineError) {
    struct Caso {
        const char* nome;
        std::function<void(ServidorHttpTeste::Conexao&)> responde;
        std::string inicio;
    };
    std::string pagina = "<html>\r\n<head><title>Erro</title></head>\r\n<body>\r\n";
    while (pagina.size() < 20000) pagina += "<p>Servidor indispon\xC3\xADvel, tente mais tarde.</p>\r\n";
    pagina += "</body></html>\r\n";
    const std::vector<Caso> casos = {
        {"50 MB with a length", [](ServidorHttpTeste::Conexao& c) { c.RespondeEnorme(200, 50u << 20); },
         "06 Overflow : 999999"},
        {"50 MB ended by the close", [](ServidorHttpTeste::Conexao& c) { c.RespondeEnorme(200, 50u << 20, false); },
         "06 Overflow : 999999"},
        {"50 MB of text", [](ServidorHttpTeste::Conexao& c) { c.RespondeEnorme(200, 50u << 20, true, 'x'); },
         "013 Type mismatch : xxxxxx"},
        {"a 20 KB error page", [&](ServidorHttpTeste::Conexao& c) { c.Responde(200, pagina); },
         "013 Type mismatch : <html> <head>"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido&, ServidorHttpTeste::Conexao& conexao) {
            c.responde(conexao);
        });
        DefineEndereco(EnderecoLocal(servidor.Porta()));
        const std::string linha = LinhaSilenciosa().value_or("<no file>");
        EXPECT_TRUE(Comeca(linha, c.inicio)) << linha.substr(0, 200);
        EXPECT_TRUE(Termina(linha, "...")) << linha.substr(0, 200);
        EXPECT_LT(linha.size(), 200u);
        EXPECT_EQ(linha.find_first_of("\r\n"), std::string::npos);
        EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
    }
}

// The settings line as the catalogue writes it, and as an editor or another system leaves it
// (with a line end): the checker gives the proxy the same user name and password.
TEST_F(VerificadorPrograma, TheSettingsLineIsReadWhateverItsLineEnd) {
    ServidorHttpTeste proxy([](const ServidorHttpTeste::Pedido& p, ServidorHttpTeste::Conexao& c) {
        if (c.ExigeProxy("joana", "s3gredo", p)) c.Responde(200, "29");
    });
    DefineEndereco("http://zornak.invalid/catalogo/");
    const std::string viaProxy = "http://127.0.0.1:" + std::to_string(proxy.Porta());
    qputenv("XDG_CONFIG_HOME", (raiz.path() + "/cfg").toUtf8());
    // The catalogue's settings screen writes the line.
    GravaConfiguracao("E", "0", "joana", "s3gredo", true);
    QFile arquivo(Configuracao());
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QByteArray escrita = arquivo.readAll();
    arquivo.close();
    for (const char* fim : {"", "\r\n", "\n"}) {
        SCOPED_TRACE(std::string("line end ") + (*fim == '\r' ? "CR LF" : *fim == '\n' ? "LF" : "none"));
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        arquivo.write(escrita + fim);
        arquivo.close();
        EXPECT_EQ(LinhaSilenciosa(viaProxy).value_or("<no file>"), "127|29");
    }
}

// A FIFO (or a device) where the settings file or "Caminho.txt" should be: the checker does
// not wait at its open or read forever; the FIFO counts as a missing file.
TEST_F(VerificadorPrograma, AFifoInPlaceOfAFileDoesNotHangTheChecker) {
    ServidorHttpTeste servidor([](const ServidorHttpTeste::Pedido&) { return ServidorHttpTeste::Resposta(200, "28"); });
    DefineEndereco(EnderecoLocal(servidor.Porta()));
    QDir().mkpath(raiz.path() + "/cfg/VelmoSistemas");
    ASSERT_EQ(::mkfifo(Configuracao().toLocal8Bit().constData(), 0600), 0);
    EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), "127|28");

    // "Caminho.txt" a FIFO: no data folder is named, so the program folder serves, which
    // has no catalogue: the engine's error, not a hang.
    QFile::remove(raiz.path() + "/prog/Caminho.txt");
    ASSERT_EQ(::mkfifo((raiz.path() + "/prog/Caminho.txt").toLocal8Bit().constData(), 0600), 0);
    const std::string linha = LinhaSilenciosa().value_or("<no file>");
    EXPECT_TRUE(Comeca(linha, "03024 ")) << linha;
}

// A server that trickles its reply keeps the check going only for the time-out, however long
// the trickle would last, so the next check is not refused for hours; the line is the
// time-out's failure. Trickled headers are a failed send (tried twice), a trickled body a
// failed read.
TEST_F(VerificadorPrograma, ATrickleEndsAsTheTimeOut) {
    using Conexao = ServidorHttpTeste::Conexao;
    struct Caso {
        const char* nome;
        std::function<void(Conexao&)> responde;
        std::string linha;
        std::size_t pedidos;
    };
    const std::vector<Caso> casos = {
        {"a body that trickles",
         [](Conexao& c) {
             if (c.Envia("HTTP/1.0 200 OK\r\nContent-Length: 40\r\n\r\n"))
                 c.Goteja("15" + std::string(38, ' '), std::chrono::milliseconds(200));
         },
         "0-104 InternetReadFile:12002;-105;Ret=0", 1},
        {"headers that trickle",
         [](Conexao& c) {
             // A whole line every 600 ms: never a second without a complete header.
             std::string cabecalhos;
             for (int i = 0; i < 12; ++i) cabecalhos += "X: a\r\n";
             if (c.Envia("HTTP/1.0 200 OK\r\n") && c.Goteja(cabecalhos, std::chrono::milliseconds(100)))
                 c.Envia("Content-Length: 2\r\n\r\n15");
         },
         "0-104 HttpSendRequest:12002", 2},
    };
    tempoLimite = "1000";
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ServidorHttpTeste servidor([&](const ServidorHttpTeste::Pedido&, Conexao& conexao) { c.responde(conexao); });
        DefineEndereco(EnderecoLocal(servidor.Porta()));
        EXPECT_EQ(LinhaSilenciosa().value_or("<no file>"), c.linha);
        servidor.Para();
        EXPECT_EQ(servidor.Pedidos().size(), c.pedidos);
        EXPECT_TRUE(Sobras().isEmpty()) << Sobras().join(", ").toStdString();
    }
}

}  // namespace
