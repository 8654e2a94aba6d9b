// The real program, started as a person starts it: a data folder without a catalogue ends
// it after one error box with a non-zero exit code; the system's end signals end it as its
// close does.
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(StartupPrograma, MissingCatalogueEndsWithOneErrorBoxAndANonZeroExitCode) {
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    QDir(raiz.path()).mkpath("prog");
    QDir(raiz.path()).mkpath("vazia");
    QDir(raiz.path()).mkpath("cfg");
    // The program folder is the executable's own: a copy of it, with its own Caminho.txt.
    const QString programa = raiz.path() + "/prog/CatalogoZORNAK";
    ASSERT_TRUE(QFile::copy(ZK_PROGRAM, programa));
    QFile caminho(raiz.path() + "/prog/Caminho.txt");
    ASSERT_TRUE(caminho.open(QIODevice::WriteOnly));
    caminho.write((raiz.path() + "/vazia").toUtf8());
    caminho.close();

    QProcess processo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    ambiente.insert("XDG_CONFIG_HOME", raiz.path() + "/cfg");
    ambiente.insert("ZK_MSGBOX", "stderr");
    processo.setProcessEnvironment(ambiente);
    processo.start(programa, {});
    ASSERT_TRUE(processo.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(processo.exitCode(), 0);
    const QString saida = QString::fromUtf8(processo.readAllStandardError());
    EXPECT_EQ(saida.count("Erro N"), 1) << saida.toStdString();
    EXPECT_TRUE(saida.contains("3024")) << saida.toStdString();
}

// The program installed in a folder whose name is not UTF-8 (a Latin-1 byte), with its data
// beside it or named by its Caminho.txt: it finds its folder from the bytes of its own path and
// opens its catalogue. It is started through a link of an ASCII name, as a menu entry would.
TEST(StartupPrograma, AProgramFolderNamedInLatin1BytesOpensItsCatalogue) {
    struct Caso {
        const char* nome;
        bool dadosAoLado;   // else Caminho.txt names "dados"
    };
    const Caso casos[] = {{"the data beside the program", true}, {"the data named by Caminho.txt", false}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QTemporaryDir raiz;
        ASSERT_TRUE(raiz.isValid());
        const std::string r = raiz.path().toStdString();
        // The temporary folder's own removal goes by text and would leave the Latin-1 name.
        struct Remove {
            std::string pasta;
            ~Remove() {
                std::error_code ec;
                std::filesystem::remove_all(pasta, ec);
            }
        } remove{r};
        const std::string programa = r + "/cat\xE1logo";
        const std::string dados = c.dadosAoLado ? programa : r + "/dados";
        ASSERT_TRUE(std::filesystem::create_directories(programa));
        std::filesystem::create_directories(dados);
        std::filesystem::create_directories(r + "/cfg");
        std::filesystem::copy_file(ZK_PROGRAM, programa + "/CatalogoZORNAK");
        for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"})
            std::filesystem::copy_file(std::string(ZK_DEMO_DATA_DIR) + "/" + arquivo, dados + "/" + arquivo);
        if (!c.dadosAoLado) std::ofstream(programa + "/Caminho.txt", std::ios::binary) << dados;
        std::filesystem::create_symlink(programa + "/CatalogoZORNAK", r + "/zornak");

        QProcess processo;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        ambiente.insert("XDG_CONFIG_HOME", raiz.path() + "/cfg");
        ambiente.insert("ZK_MSGBOX", "stderr");
        processo.setProcessEnvironment(ambiente);
        processo.start(raiz.path() + "/zornak", {});
        ASSERT_TRUE(processo.waitForStarted(30000));
        // The start-up makes this run's cart table in the auxiliary database once the
        // catalogue is open.
        auto tabelas = [&] {
            std::size_t n = 0;
            try {
                dao::Workspace ws = dao::DBEngine().CreateWorkspace("verifica", "admin", "");
                dao::Database db = ws.OpenDatabase(dados + "/CatalogoZORNAK.c02", false, true, ";pwd=" + ObtemSenhaBancoDados());
                for (const auto& t : db.TableDefs())
                    if (t.Name.rfind("Carrinho_", 0) == 0) ++n;
                db.Close();
                ws.Close();
            } catch (const std::exception&) {
            }
            return n;
        };
        for (int i = 0; i < 1200 && tabelas() == 0 && processo.state() == QProcess::Running; ++i) QThread::msleep(50);
        EXPECT_EQ(tabelas(), 1u) << processo.readAllStandardError().toStdString();
        ASSERT_EQ(processo.state(), QProcess::Running);
        QThread::msleep(500);
        ASSERT_EQ(::kill(static_cast<pid_t>(processo.processId()), SIGTERM), 0);
        ASSERT_TRUE(processo.waitForFinished(60000)) << "the program did not end";
        EXPECT_EQ(processo.exitCode(), 0);
        const QString saida = QString::fromUtf8(processo.readAllStandardError());
        EXPECT_FALSE(saida.contains("Erro N")) << saida.toStdString();
        EXPECT_EQ(tabelas(), 0u);
    }
}

// The demo program in a folder of its own, started as a process.
class ProgramaRodando : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        ASSERT_NO_FATAL_FAILURE(testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR));
        ASSERT_TRUE(QFile::copy(ZK_PROGRAM, raiz.path() + "/prog/CatalogoZORNAK"));
    }
    void TearDown() override {
        if (processo.state() != QProcess::NotRunning) {
            processo.kill();
            processo.waitForFinished(30000);
        }
    }

    void Inicia() {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        ambiente.insert("XDG_CONFIG_HOME", raiz.path() + "/cfg");
        ambiente.insert("ZK_MSGBOX", "stderr");
        processo.setProcessEnvironment(ambiente);
        processo.start(raiz.path() + "/prog/CatalogoZORNAK", {});
        ASSERT_TRUE(processo.waitForStarted(30000));
    }

    // The cart tables in the auxiliary database now.
    std::vector<std::string> TabelasCarrinho() { return testsupport::TabelasCarrinhoEm((raiz.path() + "/dados").toStdString()); }

    // Until the start-up has made this run's cart table (the main window comes right after).
    void EsperaTabelaCarrinho() {
        for (int i = 0; i < 1200 && TabelasCarrinho().empty(); ++i) {
            ASSERT_EQ(processo.state(), QProcess::Running) << processo.readAllStandardError().toStdString();
            QThread::msleep(50);
        }
        ASSERT_EQ(TabelasCarrinho().size(), 1u);
        // Let the start-up reach the main window.
        QThread::msleep(1000);
    }

    static bool Vivo(long pid) {
        std::ifstream estado("/proc/" + std::to_string(pid) + "/stat");
        std::string campo, nome, situacao;
        if (!(estado >> campo >> nome >> situacao)) return false;
        return situacao != "Z";   // a process that ended and was not yet reaped is no longer running
    }

    QTemporaryDir raiz;
    QProcess processo;
};

// Log-out, shut-down (SIGTERM), a closed terminal (SIGHUP) and Ctrl+C (SIGINT) end the program
// as its close does: the run's cart table is dropped, and it ends normally.
TEST_F(ProgramaRodando, TheSystemsEndSignalsDropTheCartTableAndEndTheProgram) {
    for (const int sinal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(::strsignal(sinal));
        ASSERT_NO_FATAL_FAILURE(Inicia());
        ASSERT_NO_FATAL_FAILURE(EsperaTabelaCarrinho());
        ASSERT_EQ(::kill(static_cast<pid_t>(processo.processId()), sinal), 0);
        ASSERT_TRUE(processo.waitForFinished(60000)) << "the program did not end";
        EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(processo.exitCode(), 0);
        EXPECT_TRUE(TabelasCarrinho().empty());
        const QString saida = QString::fromUtf8(processo.readAllStandardError());
        EXPECT_FALSE(saida.contains("Erro N")) << saida.toStdString();
    }
}

// An automatic check is running (the first one comes 20 s after the start when none was ever
// recorded): SIGTERM stops the checker too.
TEST_F(ProgramaRodando, SigtermStopsARunningChecker) {
    const QString verificador = raiz.path() + "/prog/VerifAtualizCatalogoZORNAK";
    const QString marca = raiz.path() + "/verificador.pid";
    {
        QFile script(verificador);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\necho $$ > '" + marca + "'\nexec sleep 300\n").toUtf8());
    }
    QFile(verificador).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_NO_FATAL_FAILURE(Inicia());
    ASSERT_NO_FATAL_FAILURE(EsperaTabelaCarrinho());
    long pid = 0;
    for (int i = 0; i < 1800 && pid == 0; ++i) {
        QFile arquivo(marca);
        if (arquivo.open(QIODevice::ReadOnly)) pid = arquivo.readAll().trimmed().toLong();
        if (pid == 0) QThread::msleep(50);
    }
    ASSERT_GT(pid, 0) << "the automatic check did not start";
    ASSERT_TRUE(Vivo(pid));

    ASSERT_EQ(::kill(static_cast<pid_t>(processo.processId()), SIGTERM), 0);
    ASSERT_TRUE(processo.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
    for (int i = 0; i < 100 && Vivo(pid); ++i) QThread::msleep(50);
    EXPECT_FALSE(Vivo(pid)) << "the checker outlived the program";
    if (Vivo(pid)) ::kill(static_cast<pid_t>(pid), SIGKILL);
    EXPECT_TRUE(TabelasCarrinho().empty());
}

}  // namespace
