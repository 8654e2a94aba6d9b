// The main window's update check, in this process, on a copy of the demo data: its formats
// and timing rule, and the check itself with a stand-in checker program (a script that writes
// the line it is given) in the program folder.
#include "catalog/main_window/frmZornak.h"
#include "catalog/main_window/frmZornak_atualizacao.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/dao/FaultVfs.h"
#include "platform/forms/Events.h"
#include "platform/os/Folders.h"
#include "platform/os/Process.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/PastaSomenteLeitura.h"
#include "tests/support/Ponteiro.h"
#include "tests/support/ProgramaDemo.h"
#include "tests/support/ServidorHttpTeste.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

using namespace frmZornakAtualizacao;

namespace {

// ------------------------------------------------------------------- formats and rules

TEST(VerificacaoFormatos, TheCommandLineNamesTheCheckerModeAndResultFile) {
    struct Caso {
        const char* nome;
        std::string pasta, arquivo;
        bool automatica;
        std::string linha;
        std::vector<std::string> partes;   // as the platform splits it
    };
    const std::vector<Caso> casos = {
        {"automatic", "/opt/zornak/", "/dados/01.tmp", true, "\"/opt/zornak/VerifAtualizCatalogoZORNAK\" 1|/dados/01.tmp",
         {"/opt/zornak/VerifAtualizCatalogoZORNAK", "1|/dados/01.tmp"}},
        {"manual", "/opt/zornak/", "/dados/01.tmp", false, "\"/opt/zornak/VerifAtualizCatalogoZORNAK\" 0|/dados/01.tmp",
         {"/opt/zornak/VerifAtualizCatalogoZORNAK", "0|/dados/01.tmp"}},
        {"blanks in both folders", "/opt/meu zornak/", "/meus dados/01.tmp", false,
         "\"/opt/meu zornak/VerifAtualizCatalogoZORNAK\" \"0|/meus dados/01.tmp\"",
         {"/opt/meu zornak/VerifAtualizCatalogoZORNAK", "0|/meus dados/01.tmp"}},
        {"a quote in the data folder", "/opt/z/", "/d\"x/01.tmp", true, "\"/opt/z/VerifAtualizCatalogoZORNAK\" \"1|/d\"\"\"x/01.tmp\"",
         {"/opt/z/VerifAtualizCatalogoZORNAK", "1|/d\"x/01.tmp"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const std::string linha = MontaLinhaComandoVerificador(c.pasta, c.automatica, c.arquivo);
        EXPECT_EQ(linha, c.linha);
        QStringList esperadas;
        for (const auto& p : c.partes) esperadas << QString::fromStdString(p);
        EXPECT_EQ(QProcess::splitCommand(QString::fromStdString(linha)), esperadas);
    }
}

TEST(VerificacaoFormatos, TheResultLineGivesBothVersionsOrTheCheckersError) {
    struct Caso {
        const char* texto;
        long erro;   // 0: the versions below
        int instalada, ultima;
        const char* descricao;
    };
    const Caso casos[] = {
        {"127|28", 0, 27, 28, ""},
        {"115|15", 0, 15, 15, ""},
        {"115|16|99", 0, 15, 16, ""},          // a further field is ignored
        {"1 15 | 16 ", 0, 15, 16, ""},         // blanks around the numbers
        {"127|28\r\n", 0, 27, 28, ""},         // a line end after the line
        {"X15|16", 0, 15, 16, ""},             // only "0" means failure; the first character goes
        {"1-3|2", 0, -3, 2, ""},
        {"0-104 HttpQueryInfo:0;-103;Status=404", -2, 0, 0, "-104 HttpQueryInfo:0;-103;Status=404"},
        {"013 Type mismatch : <html>", -2, 0, 0, "13 Type mismatch : <html>"},
        {"", vb::err::SubscriptOutOfRange, 0, 0, nullptr},
        {"1", vb::err::SubscriptOutOfRange, 0, 0, nullptr},
        {"115", vb::err::SubscriptOutOfRange, 0, 0, nullptr},
        {"1abc|2", vb::err::TypeMismatch, 0, 0, nullptr},
        {"115|", vb::err::TypeMismatch, 0, 0, nullptr},
        {"140000|1", vb::err::Overflow, 0, 0, nullptr},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        try {
            const VersoesVerificadas v = InterpretaResultadoVerificacao(c.texto);
            EXPECT_EQ(c.erro, 0);
            EXPECT_EQ(v.instalada, c.instalada);
            EXPECT_EQ(v.ultima, c.ultima);
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.erro);
            if (c.descricao) {
                EXPECT_EQ(e.Description(), c.descricao);
            }
        }
    }
}

TEST(VerificacaoFormatos, TheAutomaticCheckIsDueFifteenMinutesAfterTheLastOne) {
    const vb::Date agora = vb::DateSerial(2026, 12, 10) + vb::TimeSerial(11, 30, 0);
    const vb::Date minuto = 1.0 / 1440.0;
    struct Caso {
        const char* nome;
        vb::Date ultima;
        bool devida;
    };
    const Caso casos[] = {
        {"never recorded", 1.0, true},
        {"not read yet", 0.0, true},
        {"14 minutes ago", agora - 14 * minuto, false},
        {"14 minutes 59 seconds ago", agora - 15 * minuto + minuto / 60, false},
        {"exactly 15 minutes ago", vb::DateSerial(2026, 12, 10) + vb::TimeSerial(11, 15, 0), true},
        {"an hour ago", agora - 60 * minuto, true},
        {"just now", agora, false},
        {"ahead of this computer's clock", agora + 5 * minuto, false},
    };
    for (const Caso& c : casos) EXPECT_EQ(VerificacaoAutomaticaDevida(c.ultima, agora), c.devida) << c.nome;
}

// ------------------------------------------------------------------------ the window

class VerificacaoJanela : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_update_checker_janela"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        // The result files go to a temporary folder of the test's own.
        temporaria = raiz.path().toStdString() + "/tmp";
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(temporaria)));
        if (const char* tmp = std::getenv("TMPDIR")) tmpdirAnterior = tmp;
        setenv("TMPDIR", temporaria.c_str(), 1);
        ASSERT_NO_FATAL_FAILURE(testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR));
        ASSERT_NO_FATAL_FAILURE(AntesDoInicio());
        testsupport::PreparaJanelas();
        anterior = DefineInstalacaoAtualizacao([this](const std::string& parametros) {
            instalacoes.push_back(parametros);
            bloqueadoNaInstalacao = !EstadoPrograma.WsBloqueio.IsNothing() && EstadoPrograma.WsBloqueio.TransactionLevel() > 0;
            EstadoPrograma.RequisicaoTela = respostaInstalacao;
        });
        ASSERT_TRUE(Inicializa());
        // The ticks come from the test, not the clock.
        Janela().tmrVerificarAtualizacoes->SetEnabled(false);
        caixas.Clear();
    }

    void TearDown() override {
        testsupport::EncerraJanelas();
        DefineInstalacaoAtualizacao(anterior);
        if (tmpdirAnterior) setenv("TMPDIR", tmpdirAnterior->c_str(), 1);
        else unsetenv("TMPDIR");
    }
    // What a test changes in the installed folder before the program starts on it.
    virtual void AntesDoInicio() {}

    frmZornakForm& Janela() { return frmZornak(); }
    QString Dados() const { return raiz.path() + "/dados"; }
    QString Marca(const char* nome) const { return raiz.path() + "/" + nome; }

    static void Grava(const QString& caminho, const std::string& texto) {
        QFile arquivo(caminho);
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        arquivo.write(texto.c_str());
    }

    // The stand-in checker: it records its arguments, writes "1" into the result file when
    // the mark "parcial" (or "parcialN", N counting its runs) exists, waits while the mark
    // "segura" (or "seguraN") exists, then writes the text of "linhaN.txt" or "linha.txt",
    // when there is one, without a line end; it removes the result file when the mark
    // "apaga" exists, and ends with the exit code that "saida" holds.
    void InstalaVerificador() {
        const std::string d = raiz.path().toStdString();
        Grava(raiz.path() + "/prog/VerifAtualizCatalogoZORNAK",
              "#!/bin/sh\n"
              "d='" + d + "'\n"
              "printf '%s\\n' \"$*\" >> \"$d/argumentos.txt\"\n"
              "n=$(wc -l < \"$d/argumentos.txt\" | tr -d ' ')\n"
              "arg=\"$*\"; arquivo=\"${arg#*|}\"\n"
              "if [ -e \"$d/parcial\" ] || [ -e \"$d/parcial$n\" ]; then printf '1' > \"$arquivo\"; fi\n"
              "while [ -e \"$d/segura\" ] || [ -e \"$d/segura$n\" ]; do sleep 0.02; done\n"
              "if [ -e \"$d/linha$n.txt\" ]; then cat \"$d/linha$n.txt\" > \"$arquivo\";\n"
              "elif [ -e \"$d/linha.txt\" ]; then cat \"$d/linha.txt\" > \"$arquivo\"; fi\n"
              "if [ -e \"$d/apaga\" ]; then rm -f \"$arquivo\"; fi\n"
              "if [ -e \"$d/saida\" ]; then exit $(cat \"$d/saida\"); fi\n");
        QFile(raiz.path() + "/prog/VerifAtualizCatalogoZORNAK")
            .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void Linha(const std::string& texto, int execucao = 0) {
        Grava(execucao == 0 ? Marca("linha.txt") : raiz.path() + "/linha" + QString::number(execucao) + ".txt", texto);
    }
    std::vector<std::string> Argumentos() const {
        QFile arquivo(raiz.path() + "/argumentos.txt");
        std::vector<std::string> linhas;
        if (!arquivo.open(QIODevice::ReadOnly)) return linhas;
        for (const QByteArray& l : arquivo.readAll().split('\n'))
            if (!l.isEmpty()) linhas.push_back(l.toStdString());
        return linhas;
    }

    std::string Tag() { return Janela().tmrVerificaProcessoVerificacao->Tag(); }
    std::string ArquivoResultado() {
        const std::string tag = Tag();
        return tag.size() > 2 && tag[0] == '1' ? tag.substr(2) : std::string();
    }

    // Until the checker has ended; the poll is then ticked by the test.
    void EsperaVerificador() {
        long codigo = 0;
        for (int i = 0; i < 6000; ++i) {
            if (!os::GetExitCodeProcess(Janela().m_ProcessoVerificacao, codigo) || codigo != os::STILL_ACTIVE) return;
            QThread::msleep(10);
        }
        ADD_FAILURE() << "the checker did not end";
    }
    void EsperaArquivo(const std::string& caminho) {
        for (int i = 0; i < 6000 && !QFile::exists(QString::fromStdString(caminho)); ++i) QThread::msleep(10);
        ASSERT_TRUE(QFile::exists(QString::fromStdString(caminho))) << caminho;
    }
    void Verifica(bool automatica) {
        Janela().IniciaVerificacaoAtualizacoes(automatica);
        EsperaVerificador();
        Janela().tmrVerificaProcessoVerificacao_Timer();
    }

    // The user's click on the check button of the shown window.
    void ClicaVerificar() {
        testsupport::Processa();
        QRect area;
        ASSERT_TRUE(testsupport::AlcancaVisivel(Janela().lblVerificarAtualizacoes, area));
        testsupport::Clica(Janela().Window(), area.center());
    }
    // Window events run (the poll ticks by its own timer) until the condition holds.
    static void ProcessaAte(const std::function<bool()>& condicao) {
        QElapsedTimer relogio;
        relogio.start();
        while (!condicao() && relogio.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        EXPECT_TRUE(condicao()) << "still waiting after a minute";
    }
    // Names in a folder, bytes and all; only its files when asked (the toolkit of a started
    // program may make its runtime folder in the temporary folder).
    static std::vector<std::string> Conteudo(const std::string& pasta, bool soArquivos = false) {
        std::vector<std::string> nomes;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec))
            if (!soArquivos || !it->is_directory(ec)) nomes.push_back(it->path().filename().string());
        std::sort(nomes.begin(), nomes.end());
        return nomes;
    }

    // The last-check record as the catalogue holds it now.
    vb::Variant Registro(const char* coluna) {
        return ObtemValorSQL(std::string("SELECT ") + coluna + " FROM UMREGISTRO", vb::Variant());
    }
    void LimpaRegistro() {
        GravaUltimaVerificacao("Null", "Null");
    }

    // Another computer sharing the data folder takes the update lock and holds it until its
    // standard input closes.
    void OutroComputadorSeguraBloqueio(QProcess& outro) {
        outro.start(ZK_SEGURA_BLOQUEIO, {Dados() + "/CatalogoZORNAK.c01"});
        ASSERT_TRUE(outro.waitForStarted());
        while (!outro.canReadLine() && outro.waitForReadyRead(60000)) {
        }
        ASSERT_EQ(outro.readLine().trimmed().toStdString(), "ok") << outro.readAllStandardError().toStdString();
    }

    static bool Vivo(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0; }

    QTemporaryDir raiz;
    std::string temporaria;
    std::optional<std::string> tmpdirAnterior;
    testsupport::FakeMsgBox caixas;
    std::vector<std::string> instalacoes;
    bool bloqueadoNaInstalacao = false;
    std::string respostaInstalacao = "10";
    InstalacaoAtualizacao anterior;
};

TEST_F(VerificacaoJanela, TheCheckerRunsFromTheProgramFolderWithANewResultFileInTheTemporaryFolder) {
    InstalaVerificador();
    Linha("127|27");
    Janela().IniciaVerificacaoAtualizacoes(true);
    EXPECT_TRUE(Janela().m_VerificandoAtualizacao);
    EXPECT_TRUE(Janela().tmrVerificaProcessoVerificacao->Enabled());
    EXPECT_EQ(Janela().tmrVerificaProcessoVerificacao->Interval(), 500);
    const std::string tag = Tag();
    ASSERT_EQ(tag.substr(0, 2), "11");
    const std::string arquivo = tag.substr(2);
    ASSERT_EQ(arquivo.rfind(temporaria + "/", 0), 0u) << arquivo;
    // A name of letters and digits, made of the moment, the volume serial and a random number.
    const std::string nome = arquivo.substr(temporaria.size() + 1);
    EXPECT_TRUE(EhNomeArquivoUnico(nome, "tmp")) << nome;
    EXPECT_EQ(nome.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz."), std::string::npos);
    // The file is there before the checker runs: made by the catalogue, for this check alone.
    EXPECT_TRUE(QFile::exists(QString::fromStdString(arquivo)));
    // A second start while one runs does nothing.
    const long processo = Janela().m_ProcessoVerificacao;
    Janela().IniciaVerificacaoAtualizacoes(false);
    EXPECT_EQ(Janela().m_ProcessoVerificacao, processo);
    EXPECT_EQ(Tag(), tag);
    EsperaVerificador();
    EXPECT_EQ(Argumentos(), std::vector<std::string>{"1|" + arquivo});
    Janela().tmrVerificaProcessoVerificacao_Timer();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(arquivo)));
    EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
}

// The poll waits while the checker runs and does nothing else.
TEST_F(VerificacaoJanela, ThePollWaitsForTheCheckerToEnd) {
    InstalaVerificador();
    Linha("127|27");
    Grava(Marca("segura"), "");
    LimpaRegistro();
    Janela().IniciaVerificacaoAtualizacoes(false);
    for (int i = 0; i < 3; ++i) Janela().tmrVerificaProcessoVerificacao_Timer();
    EXPECT_TRUE(Janela().tmrVerificaProcessoVerificacao->Enabled());
    EXPECT_TRUE(Janela().m_VerificandoAtualizacao);
    EXPECT_EQ(caixas.Count(), 0u);
    EXPECT_TRUE(Registro("DataUltimaVerificacao").IsNull());
    QFile::remove(Marca("segura"));
    EsperaVerificador();
    Janela().tmrVerificaProcessoVerificacao_Timer();
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(67) + ".");
}

// One check from result to outcome: boxes, the recorded flag and the status line.
TEST_F(VerificacaoJanela, TheResultDecidesTheBoxAndTheRecordedFlag) {
    struct Caso {
        const char* nome;
        bool automatica;
        const char* linha;        // nullptr: the checker writes nothing
        int resposta;             // to message 66
        std::vector<std::string> caixas;   // the start of each box shown
        const char* flag;
    };
    const std::string erro = Traduz(1) + ": ";
    const std::vector<Caso> casos = {
        {"manual, nothing new", false, "127|27", vb::vbOK, {Traduz(67) + "."}, "0"},
        {"automatic, nothing new", true, "127|27", vb::vbOK, {}, "0"},
        {"manual, server older than the catalogue", false, "127|20", vb::vbOK, {Traduz(67) + "."}, "0"},
        {"manual, the checker failed", false, "0-104 HttpSendRequest:12029", vb::vbOK, {erro + "-2\r\n" + Traduz(69)}, "1"},
        {"automatic, the checker failed", true, "0-104 HttpSendRequest:12029", vb::vbOK, {}, "1"},
        {"manual, an empty result file", false, nullptr, vb::vbOK, {erro + std::to_string(vb::err::InputPastEndOfFile) + "\r\n"}, "1"},
        {"manual, a line that is no number", false, "1abc|x", vb::vbOK, {erro + "13\r\n"}, "1"},
        {"manual, newer, the user says No", false, "127|28", vb::vbNo, {Traduz(66)}, "0"},
        {"automatic, newer, the user says No", true, "127|28", vb::vbNo, {Traduz(66)}, "0"},
    };
    InstalaVerificador();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(Marca("linha.txt"));
        if (c.linha) Linha(c.linha);
        LimpaRegistro();
        caixas.Clear();
        caixas.SetAnswer(c.resposta);
        const vb::Date antes = vb::Now();
        Verifica(c.automatica);
        const std::string arquivo = ArquivoResultado();

        ASSERT_EQ(caixas.Count(), c.caixas.size());
        for (std::size_t i = 0; i < c.caixas.size(); ++i)
            EXPECT_EQ(caixas.Boxes()[i].prompt.rfind(c.caixas[i], 0), 0u) << caixas.Boxes()[i].prompt;
        EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), c.flag);
        const vb::Variant data = Registro("DataUltimaVerificacao");
        ASSERT_FALSE(data.IsNull());
        EXPECT_GE(data.ToDate(), antes - 1.0 / 86400);
        EXPECT_EQ(Janela().m_UltimaVerificacao, data.ToDate());
        const std::string dica = Janela().lblVerificarAtualizacoes->ToolTipText();
        EXPECT_NE(dica.find(Traduz(std::string(c.flag) == "1" ? 71 : 78) + ": "), std::string::npos) << dica;
        EXPECT_TRUE(instalacoes.empty());
        EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(arquivo)));
        EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
    }
}

// A checker that cannot be started is reported at the next tick, also for an automatic check.
TEST_F(VerificacaoJanela, AMissingCheckerIsReportedAtTheNextTickEvenWhenAutomatic) {
    LimpaRegistro();
    Janela().IniciaVerificacaoAtualizacoes(true);
    EXPECT_EQ(Tag().substr(0, 1), "0");
    EXPECT_EQ(caixas.Count(), 0u);
    EXPECT_TRUE(Janela().tmrVerificaProcessoVerificacao->Enabled());
    Janela().tmrVerificaProcessoVerificacao_Timer();
    ASSERT_EQ(caixas.Count(), 1u);
    const std::string texto = caixas.Last().prompt;
    EXPECT_EQ(texto.rfind(Traduz(1) + ": -1\r\n" + Traduz(69), 0), 0u) << texto;
    EXPECT_NE(texto.find("53 "), std::string::npos) << texto;
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "1");
    EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
}

// Yes to message 66: the lock is taken, the checker runs again in the manual mode, and the
// installation opens with installed "|" latest while the lock is held; then all is released.
TEST_F(VerificacaoJanela, AnAcceptedUpdateChecksAgainUnderTheLockAndInstalls) {
    struct Caso {
        const char* nome;
        bool automatica;
        std::string respostaInstalacao;
        int tela;
    };
    const Caso casos[] = {
        {"manual, with new releases", false, "11", 5},
        {"automatic, without new releases", true, "10", 0},
        {"the installation failed and said so", false, "00", 0},
    };
    InstalaVerificador();
    Linha("127|28");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(raiz.path() + "/argumentos.txt");
        instalacoes.clear();
        respostaInstalacao = c.respostaInstalacao;
        caixas.Clear();
        caixas.SetAnswer(vb::vbYes);
        Janela().VaiParaTela("", 1);

        Verifica(c.automatica);
        // The second checker is already running and may have written its own line.
        const std::vector<std::string> argumentos = Argumentos();
        ASSERT_GE(argumentos.size(), 1u);
        ASSERT_EQ(caixas.Count(), 1u);
        EXPECT_EQ(caixas.Last().prompt, Traduz(66));
        EXPECT_EQ(caixas.Last().buttons, vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2);
        // The second pass runs under the lock, in the manual mode, with a new file.
        EXPECT_TRUE(Janela().m_BloqueioAtualizacao);
        EXPECT_EQ(Janela().lblUltimaAtualizacao->Tag(), "1");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(argumentos[0].substr(2))));
        EXPECT_EQ(Tag().substr(0, 2), "10");
        EsperaVerificador();
        Janela().tmrVerificaProcessoVerificacao_Timer();

        ASSERT_EQ(Argumentos().size(), 2u);
        EXPECT_EQ(Argumentos()[1].substr(0, 2), "0|");
        EXPECT_EQ(caixas.Count(), 1u) << "the user is asked once";
        EXPECT_EQ(instalacoes, std::vector<std::string>{"27|28"});
        EXPECT_TRUE(bloqueadoNaInstalacao);
        EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty());
        EXPECT_FALSE(Janela().m_BloqueioAtualizacao);
        EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
        EXPECT_EQ(Janela().lblUltimaAtualizacao->Tag(), "");
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Argumentos()[1].substr(2))));
        EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "0");
        EXPECT_EQ(Janela().TelaAtual(), c.tela);
        EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
    }
}

// An update script asked for a restart: the main window unloads instead of showing a screen,
// and nothing of the check is left running.
TEST_F(VerificacaoJanela, AnInstallationThatAsksForARestartUnloadsTheWindow) {
    InstalaVerificador();
    Linha("127|28");
    DefineInstalacaoAtualizacao([](const std::string&) {
        EstadoPrograma.RequisicaoTela = "11";
        EstadoPrograma.ReiniciarAposAtualizacao = true;
    });
    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    EsperaVerificador();
    Janela().tmrVerificaProcessoVerificacao_Timer();
    EXPECT_FALSE(Janela().IsLoaded());
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EstadoPrograma.ReiniciarAposAtualizacao = false;
}

// Another computer installed the update while this one waited for the lock: the second pass
// finds nothing to install.
TEST_F(VerificacaoJanela, TheSecondPassFindsTheUpdateAlreadyInstalled) {
    InstalaVerificador();
    Linha("127|28", 1);
    Linha("128|28", 2);
    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    EsperaVerificador();
    Janela().tmrVerificaProcessoVerificacao_Timer();
    ASSERT_EQ(caixas.Count(), 2u);
    EXPECT_EQ(caixas.Boxes()[1].prompt, Traduz(67) + ".");
    EXPECT_TRUE(instalacoes.empty());
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
}

// An installation window that cannot be opened (here: none is registered) is reported; the
// lock is released all the same and nothing pretends an update happened.
TEST_F(VerificacaoJanela, AnInstallationWindowThatCannotOpenIsReportedAndTheLockReleased) {
    DefineInstalacaoAtualizacao(anterior);
    InstalaVerificador();
    Linha("127|28");
    caixas.SetAnswer(vb::vbYes);
    Janela().VaiParaTela("", 1);
    Verifica(false);
    EsperaVerificador();
    Janela().tmrVerificaProcessoVerificacao_Timer();
    ASSERT_EQ(caixas.Count(), 2u);
    EXPECT_NE(caixas.Last().prompt.find(std::to_string(vb::err::ObjectRequired)), std::string::npos) << caixas.Last().prompt;
    EXPECT_NE(caixas.Last().prompt.find("No auxiliary window"), std::string::npos);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "1");
    EXPECT_EQ(Janela().TelaAtual(), 1);
}

// The scheduler: the interval, the due rule on the recorded date, and the automatic flag.
TEST_F(VerificacaoJanela, TheSchedulerStartsAnAutomaticCheckOnlyWhenDue) {
    InstalaVerificador();
    Linha("127|27");
    frmZornakForm& j = Janela();
    EXPECT_EQ(j.tmrVerificarAtualizacoes->Interval(), 20000);
    // The demo catalogue has no check recorded.
    EXPECT_EQ(j.m_UltimaVerificacao, 1.0);

    EstadoPrograma.VerificacaoAutomatica = false;
    j.tmrVerificarAtualizacoes_Timer();
    EXPECT_EQ(j.tmrVerificarAtualizacoes->Interval(), 65535);
    EXPECT_FALSE(j.m_VerificandoAtualizacao);

    EstadoPrograma.VerificacaoAutomatica = true;
    j.m_UltimaVerificacao = vb::Now() - 14.0 / 1440.0;
    j.tmrVerificarAtualizacoes_Timer();
    EXPECT_FALSE(j.m_VerificandoAtualizacao);

    j.m_UltimaVerificacao = vb::Now() - 16.0 / 1440.0;
    j.tmrVerificarAtualizacoes_Timer();
    EXPECT_TRUE(j.m_VerificandoAtualizacao);
    EXPECT_EQ(Tag().substr(0, 2), "11");
    EsperaVerificador();
    j.tmrVerificaProcessoVerificacao_Timer();
    EXPECT_EQ(caixas.Count(), 0u);
    // The recorded check postpones the next one.
    j.tmrVerificarAtualizacoes_Timer();
    EXPECT_FALSE(j.m_VerificandoAtualizacao);
    EXPECT_EQ(Argumentos().size(), 1u);
}

// The status texts: the issue date, and the last check with its outcome.
TEST_F(VerificacaoJanela, TheStatusTextsShowTheIssueDateAndTheLastCheck) {
    frmZornakForm& j = Janela();
    const std::string emissao = vb::UCase(Traduz(77)) + ": " + EstadoPrograma.DataEmissaoTexto;
    EXPECT_NE(EstadoPrograma.DataEmissaoTexto.find(" - 7"), std::string::npos) << EstadoPrograma.DataEmissaoTexto;
    EXPECT_EQ(j.lblUltimaAtualizacao->Caption(), emissao);
    EXPECT_EQ(j.lblUltimaAtualizacao->ToolTipText(), emissao);
    EXPECT_EQ(j.lblVerificarAtualizacoes->ToolTipText(), Traduz(79) + " <F5>  -  ");

    const vb::Date momento = vb::DateSerial(2026, 3, 4) + vb::TimeSerial(5, 6, 7);
    GravaUltimaVerificacao(FormataDataHoraSQL(momento), "1");
    j.AtualizaUltimaAtualizacao(false);
    EXPECT_EQ(j.lblVerificarAtualizacoes->ToolTipText(), Traduz(79) + " <F5>  -  " + Traduz(71) + ": " + FormataDataHora(momento));
    EXPECT_EQ(j.m_UltimaVerificacao, 1.0) << "only a refresh that asks for it reloads the date";
    GravaUltimaVerificacao("", "0");
    j.AtualizaUltimaAtualizacao(true);
    EXPECT_EQ(j.lblVerificarAtualizacoes->ToolTipText(), Traduz(79) + " <F5>  -  " + Traduz(78) + ": " + FormataDataHora(momento));
    EXPECT_EQ(j.m_UltimaVerificacao, momento);
}

// Ending a running check: its process is killed before its result file is deleted.
TEST_F(VerificacaoJanela, EncerraKillsTheRunningCheckerAndDeletesItsFile) {
    InstalaVerificador();
    Linha("127|28");
    Grava(Marca("parcial"), "");
    Grava(Marca("segura"), "");
    Janela().IniciaVerificacaoAtualizacoes(false);
    const long processo = Janela().m_ProcessoVerificacao;
    const std::string arquivo = ArquivoResultado();
    EsperaArquivo(arquivo);
    ASSERT_TRUE(Vivo(processo));
    ASSERT_TRUE(Janela().VerificacaoAtualizacoes().EmAndamento());

    Janela().VerificacaoAtualizacoes().Encerra();
    EXPECT_FALSE(Vivo(processo));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(arquivo)));
    EXPECT_FALSE(Janela().VerificacaoAtualizacoes().EmAndamento());
    EXPECT_FALSE(Janela().tmrVerificaProcessoVerificacao->Enabled());
    // A later tick finds nothing to do.
    Janela().tmrVerificaProcessoVerificacao_Timer();
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(VerificacaoJanela, UnloadingTheWindowDuringTheSecondPassLeavesNoCheckerFileOrLock) {
    InstalaVerificador();
    Linha("127|28");
    // The second checker hangs with its file half written.
    Grava(Marca("parcial2"), "");
    Grava(Marca("segura2"), "");
    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    ASSERT_TRUE(Janela().m_BloqueioAtualizacao);
    const long processo = Janela().m_ProcessoVerificacao;
    const std::string arquivo = ArquivoResultado();
    EsperaArquivo(arquivo);
    ASSERT_TRUE(Vivo(processo));

    Janela().Unload();
    EXPECT_FALSE(Vivo(processo));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(arquivo)));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_TRUE(instalacoes.empty());
    // Nothing else is left in the data folder.
    QStringList resto = QDir(Dados()).entryList(QDir::Files);
    resto.removeAll("CatalogoZORNAK.c01");
    resto.removeAll("CatalogoZORNAK.c02");
    EXPECT_TRUE(resto.isEmpty()) << resto.join(", ").toStdString();
}

// Another computer holds the lock: message 68, nothing installed, no second pass.
TEST_F(VerificacaoJanela, ALockHeldElsewhereIsReportedAndNothingIsInstalled) {
    InstalaVerificador();
    Linha("127|28");
    QProcess outro;
    ASSERT_NO_FATAL_FAILURE(OutroComputadorSeguraBloqueio(outro));

    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    outro.closeWriteChannel();
    outro.waitForFinished();

    ASSERT_EQ(caixas.Count(), 2u);
    EXPECT_EQ(caixas.Boxes()[0].prompt, Traduz(66));
    EXPECT_EQ(caixas.Boxes()[1].prompt, Traduz(68) + ".");
    EXPECT_EQ(caixas.Boxes()[1].buttons, vb::vbInformation);
    EXPECT_TRUE(instalacoes.empty());
    EXPECT_EQ(Argumentos().size(), 1u);
    EXPECT_FALSE(Janela().m_BloqueioAtualizacao);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
}

// The catalogue is one this user may not change: the program browses it, and an accepted
// update is refused with the error of opening the catalogue for writing, not taken for
// another computer's update. Its permissions make the file unwritable where they bind (not
// for root); the layer's file faults do everywhere.
class VerificacaoCatalogoSomenteLeitura : public VerificacaoJanela {
protected:
    void AntesDoInicio() override {
        catalogo = (Dados() + "/CatalogoZORNAK.c01").toStdString();
        if (::geteuid() != 0) {
            ASSERT_TRUE(QFile::setPermissions(QString::fromStdString(catalogo), QFileDevice::ReadOwner));
        } else {
            dao::SetFileFaultForTesting(catalogo, dao::FileFault::NoWriteAccess);
        }
    }
    void TearDown() override {
        VerificacaoJanela::TearDown();
        dao::SetFileFaultForTesting(catalogo, dao::FileFault::None);
        QFile::setPermissions(QString::fromStdString(catalogo), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    std::string catalogo;
};

TEST_F(VerificacaoCatalogoSomenteLeitura, AnAcceptedUpdateShowsWhyTheCatalogueCannotBeChanged) {
    InstalaVerificador();
    Linha("127|28");
    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    ASSERT_EQ(caixas.Count(), 2u);
    EXPECT_EQ(caixas.Boxes()[0].prompt, Traduz(66));
    const std::string& erro = caixas.Boxes()[1].prompt;
    EXPECT_EQ(erro.rfind(Traduz(1) + ": " + std::to_string(dao::jet::ReadOnly) + "\r\n" + Traduz(69), 0), 0u) << erro;
    EXPECT_NE(erro.find(catalogo), std::string::npos) << erro;
    EXPECT_EQ(caixas.Boxes()[1].buttons, vb::vbCritical);
    EXPECT_TRUE(instalacoes.empty());
    EXPECT_EQ(Argumentos().size(), 1u) << "no second pass";
    EXPECT_FALSE(Janela().m_BloqueioAtualizacao);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
}

// Another computer reading the catalogue makes the release fail: the lock and what was written
// under it stay, and the next tick releases it, keeping the writes.
TEST_F(VerificacaoJanela, AReleaseThatFailsIsTriedAgainAndKeepsWhatWasWritten) {
    EstadoPrograma.VerificacaoAutomatica = false;
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    Janela().m_BloqueioAtualizacao = true;
    GravaUltimaVerificacao("", "1");

    QProcess leitor;
    leitor.start(ZK_AJUDANTE, {"leitura", Dados()});
    ASSERT_TRUE(leitor.waitForStarted());
    while (!leitor.canReadLine() && leitor.waitForReadyRead(60000)) {
    }
    ASSERT_EQ(leitor.readLine().trimmed().toStdString(), "1");

    Janela().LiberaBloqueioAtualizacao();
    EXPECT_TRUE(Janela().m_BloqueioAtualizacao);
    EXPECT_FALSE(EstadoPrograma.WsBloqueio.IsNothing());

    leitor.write("solta\n");
    leitor.closeWriteChannel();
    ASSERT_TRUE(leitor.waitForFinished(60000));

    Janela().tmrVerificarAtualizacoes_Timer();
    EXPECT_FALSE(Janela().m_BloqueioAtualizacao);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_EQ(ObtemValorSQL("SELECT FlagErroUltimaVerificacao FROM UMREGISTRO", vb::Variant()).ToLong(), 1);
}

// The real checker program beside the catalogue, against a server on 127.0.0.1: the line it
// writes is the line the window reads.
TEST_F(VerificacaoJanela, TheRealCheckersLineIsReadByTheWindow) {
    const QString programa = raiz.path() + "/prog/VerifAtualizCatalogoZORNAK";
    ASSERT_TRUE(QFile::copy(ZK_CHECKER, programa));
    QFile(programa).setPermissions(QFile(programa).permissions() | QFileDevice::ExeOwner);
    for (const char* nome : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) unsetenv(nome);
    setenv("ZK_MSGBOX", "stderr", 1);
    testsupport::ServidorHttpTeste servidor(
        [](const testsupport::ServidorHttpTeste::Pedido&) { return testsupport::ServidorHttpTeste::Resposta(200, "28"); });
    {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("teste", "admin", "");
        dao::Database db = ws.OpenDatabase((Dados() + "/CatalogoZORNAK.c01").toStdString(), false, false,
                                           ";pwd=" + ObtemSenhaBancoDados());
        db.Execute("UPDATE UMREGISTRO SET UrlAtualizacao = 'http://127.0.0.1:" + std::to_string(servidor.Porta()) +
                       "/catalogo/'",
                   dao::dbFailOnError);
        db.Close();
        ws.Close();
    }
    caixas.SetAnswer(vb::vbNo);
    Verifica(false);
    unsetenv("ZK_MSGBOX");
    ASSERT_EQ(servidor.Pedidos().size(), 1u);
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(66));
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "0");
    EXPECT_FALSE(Janela().VerificacaoAtualizacoesEmAndamento());
}

// A checker's failure line that quotes a whole page, or a megabyte: the error box shows one
// short line of it.
TEST_F(VerificacaoJanela, ALongFailureLineGivesAShortErrorBox) {
    std::string pagina = "<html>\r\n";
    while (pagina.size() < 20000) pagina += "<p>Servidor fora do ar</p>\r\n";
    const std::vector<std::pair<const char*, std::string>> casos = {
        {"a 20 KB page", "013 Type mismatch : " + pagina},
        {"a megabyte", "013 Type mismatch : " + std::string(1 << 20, '9')},
    };
    InstalaVerificador();
    for (const auto& [nome, linha] : casos) {
        SCOPED_TRACE(nome);
        Linha(linha);
        caixas.Clear();
        Verifica(false);
        ASSERT_EQ(caixas.Count(), 1u);
        const std::string texto = caixas.Last().prompt;
        EXPECT_LT(texto.size(), 1000u);
        const std::string descricao = texto.substr(texto.rfind("\r\n\r\n") + 4);
        EXPECT_EQ(descricao.rfind("13 Type mismatch : ", 0), 0u) << descricao;
        EXPECT_EQ(descricao.find_first_of("\r\n"), std::string::npos) << descricao;
        EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "1");
    }
}

// Another computer installs an update and holds the catalogue: this one's record of its check
// fails at once (no frozen window), and the scheduler counts from the check all the same, so
// the offer comes at most once per 15 minutes; once the lock is free the next check records.
TEST_F(VerificacaoJanela, WhileAnotherComputerInstallsTheOfferComesAtMostOncePerFifteenMinutes) {
    InstalaVerificador();
    Linha("127|28");
    QProcess outro;
    ASSERT_NO_FATAL_FAILURE(OutroComputadorSeguraBloqueio(outro));

    frmZornakForm& j = Janela();
    EstadoPrograma.VerificacaoAutomatica = true;
    caixas.SetAnswer(vb::vbNo);
    ASSERT_EQ(j.m_UltimaVerificacao, 1.0);
    j.tmrVerificarAtualizacoes_Timer();
    ASSERT_TRUE(j.m_VerificandoAtualizacao);
    EsperaVerificador();
    QElapsedTimer relogio;
    relogio.start();
    j.tmrVerificaProcessoVerificacao_Timer();
    // The record used to wait 5 s for the lock before it failed.
    EXPECT_LT(relogio.elapsed(), 2500);
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(66));
    EXPECT_TRUE(Registro("DataUltimaVerificacao").IsNull()) << "the catalogue is held by the other computer";
    EXPECT_NEAR(j.m_UltimaVerificacao, vb::Now(), 1.0 / 1440);

    // The ticks of the next quarter of an hour (one each 65.5 s) offer nothing.
    for (int i = 0; i < 13; ++i) j.tmrVerificarAtualizacoes_Timer();
    EXPECT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(Argumentos().size(), 1u);

    // A quarter of an hour after the check, the offer comes again, once.
    j.m_UltimaVerificacao -= 15.0 / 1440;
    j.tmrVerificarAtualizacoes_Timer();
    ASSERT_TRUE(j.m_VerificandoAtualizacao);
    EsperaVerificador();
    j.tmrVerificaProcessoVerificacao_Timer();
    EXPECT_EQ(caixas.Count(), 2u);
    j.tmrVerificarAtualizacoes_Timer();
    EXPECT_EQ(caixas.Count(), 2u);

    // The other computer is done: the next check is recorded.
    outro.closeWriteChannel();
    ASSERT_TRUE(outro.waitForFinished(60000));
    j.m_UltimaVerificacao -= 15.0 / 1440;
    const vb::Date antes = vb::Now();
    j.tmrVerificarAtualizacoes_Timer();
    EsperaVerificador();
    j.tmrVerificaProcessoVerificacao_Timer();
    const vb::Variant data = Registro("DataUltimaVerificacao");
    ASSERT_FALSE(data.IsNull());
    EXPECT_GE(data.ToDate(), antes - 1.0 / 86400);
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "0");
}

// The scheduler ticks while the install pass starts (its start lets pending events run): the
// lock just taken stays with the pass, and the installation runs under it.
TEST_F(VerificacaoJanela, ASchedulerTickBeforeTheInstallPassLeavesTheLockToIt) {
    InstalaVerificador();
    Linha("127|28");
    frmZornakForm& j = Janela();
    EstadoPrograma.VerificacaoAutomatica = false;
    caixas.SetAnswer(vb::vbYes);
    caixas.OnBox([&j](const testsupport::FakeMsgBox::Box& caixa) {
        if (caixa.prompt != Traduz(66)) return;
        // Due at once: the next pending events run the tick.
        j.tmrVerificarAtualizacoes->SetInterval(1);
        j.tmrVerificarAtualizacoes->SetEnabled(true);
        QThread::msleep(20);
    });
    Verifica(false);
    EXPECT_EQ(j.tmrVerificarAtualizacoes->Interval(), 65535) << "the tick ran";
    j.tmrVerificarAtualizacoes->SetEnabled(false);
    EXPECT_TRUE(j.m_BloqueioAtualizacao);
    EXPECT_FALSE(EstadoPrograma.WsBloqueio.IsNothing());
    EsperaVerificador();
    j.tmrVerificaProcessoVerificacao_Timer();
    EXPECT_EQ(instalacoes, std::vector<std::string>{"27|28"});
    EXPECT_TRUE(bloqueadoNaInstalacao);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
}

// The system asks the catalogue to end (log-out, shut-down) while an update is being
// installed: the installation finishes and is recorded, the lock is released, and then the
// window unloads and the program ends.
TEST_F(VerificacaoJanela, TheSystemsEndDuringAnInstallationWaitsForIt) {
    InstalaVerificador();
    Linha("127|28");
    DefineInstalacaoAtualizacao([this](const std::string& parametros) {
        // What the end signal runs, arriving among the installation's pending events.
        EncerraProgramaPeloSistema();
        EXPECT_TRUE(Janela().IsLoaded()) << "the installation was cut short";
        instalacoes.push_back(parametros);
        bloqueadoNaInstalacao = !EstadoPrograma.WsBloqueio.IsNothing();
        EstadoPrograma.RequisicaoTela = "10";
    });
    caixas.SetAnswer(vb::vbYes);
    Verifica(false);
    EsperaVerificador();
    Janela().tmrVerificaProcessoVerificacao_Timer();
    EXPECT_EQ(instalacoes, std::vector<std::string>{"27|28"});
    EXPECT_TRUE(bloqueadoNaInstalacao);
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_FALSE(Janela().IsLoaded());
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_TRUE(EstadoPrograma.DbCatalogo.IsNothing()) << "the unload closed the databases";
    AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "0");
    FechaBanco(EstadoPrograma.WsCatalogo, EstadoPrograma.DbCatalogo);
}

// A result file that cannot be had, made or read, is reported with the file and the reason,
// never as a line without fields, and never under the Internet's note; nothing is left.
TEST_F(VerificacaoJanela, AResultFileThatCannotBeHadIsReportedWithTheFileAndTheReason) {
    const std::string r = raiz.path().toStdString();
    std::ofstream(r + "/um-arquivo") << "x";
    struct Caso {
        const char* nome;
        std::string tmpdir;       // TMPDIR for the check
        const char* marca;        // of the stand-in checker, or nullptr
        std::string saida;        // its exit code, or ""
        long numero;              // the box's number
        std::vector<std::string> texto;   // in the box
        std::string naoNoTexto;
    };
    const std::string semPasta = r + "/nao-existe";
    const std::vector<Caso> casos = {
        {"the checker wrote nothing", temporaria, nullptr, "", vb::err::InputPastEndOfFile,
         {"Input past end of file: " + temporaria + "/"}, "\r\n" + std::to_string(vb::err::SubscriptOutOfRange)},
        {"the checker could not write: a full disk", temporaria, nullptr,
         std::to_string(CodigoSaidaResultadoNaoGravado(ENOSPC)), vb::err::DiskFull,
         {temporaria + "/", std::strerror(ENOSPC)}, ""},
        {"the file went", temporaria, "apaga", "", vb::err::FileNotFound, {"File not found: " + temporaria + "/"}, ""},
        {"no temporary folder", semPasta, nullptr, "", -1,
         {std::to_string(vb::err::PathNotFound) + " Path not found: " + semPasta + "/", std::strerror(ENOENT)}, ""},
        {"the temporary folder is a file", r + "/um-arquivo", nullptr, "", -1,
         {r + "/um-arquivo/", std::strerror(ENOTDIR)}, ""},
    };
    InstalaVerificador();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        for (const char* m : {"apaga", "saida"}) QFile::remove(Marca(m));
        if (c.marca) Grava(Marca(c.marca), "");
        if (!c.saida.empty()) Grava(Marca("saida"), c.saida);
        setenv("TMPDIR", c.tmpdir.c_str(), 1);
        LimpaRegistro();
        caixas.Clear();
        ASSERT_NO_FATAL_FAILURE(ClicaVerificar());
        const std::string arquivo = ArquivoResultado();
        ProcessaAte([this] { return !Janela().VerificacaoAtualizacoesEmAndamento(); });
        ASSERT_EQ(caixas.Count(), 1u);
        const std::string texto = caixas.Last().prompt;
        EXPECT_EQ(texto.rfind(Traduz(1) + ": " + std::to_string(c.numero) + "\r\n" + Traduz(69), 0), 0u) << texto;
        for (const std::string& parte : c.texto) EXPECT_NE(texto.find(parte), std::string::npos) << parte << " in " << texto;
        EXPECT_EQ(texto.find(Traduz(70)), std::string::npos) << texto;
        if (!c.naoNoTexto.empty()) {
            EXPECT_EQ(texto.find(c.naoNoTexto), std::string::npos) << texto;
        }
        EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "1");
        EXPECT_EQ(Conteudo(temporaria, true), std::vector<std::string>{});
        if (!arquivo.empty()) {
            EXPECT_FALSE(QFile::exists(QString::fromStdString(arquivo)));
        }
    }
    setenv("TMPDIR", temporaria.c_str(), 1);
}

// The real checker against a server on 127.0.0.1, started by a click and by the automatic
// timer, on folders whose names Linux allows: the check succeeds, and no file outside its own
// is touched (a user's file "pecas" lies beside the data folder).
struct CasoPastas {
    const char* nome;
    std::string dados;          // the data folder's name
    std::string temporaria;     // the temporary folder's name
    bool somenteLeitura;        // no file can be made in the data folder while the checker runs
    std::string programa = "prog";   // the program folder's name
};

class VerificacaoPastas : public VerificacaoJanela, public ::testing::WithParamInterface<CasoPastas> {
protected:
    void AntesDoInicio() override {
        const std::string r = raiz.path().toStdString();
        pastaDados = r + "/" + GetParam().dados;
        if (GetParam().dados != "dados") {
            ASSERT_EQ(std::rename((r + "/dados").c_str(), pastaDados.c_str()), 0);
        }
        const std::string prog = r + "/" + GetParam().programa;
        if (GetParam().programa != "prog") {
            ASSERT_EQ(std::rename((r + "/prog").c_str(), prog.c_str()), 0);
            os::SetProgramFolderForTesting(prog);
        }
        std::ofstream(prog + "/Caminho.txt", std::ios::binary | std::ios::trunc) << pastaDados;
        temporaria = r + "/" + GetParam().temporaria;
        ASSERT_TRUE(std::filesystem::create_directories(temporaria) || std::filesystem::is_directory(temporaria));
        setenv("TMPDIR", temporaria.c_str(), 1);
        std::ofstream(r + "/pecas", std::ios::binary) << ArquivoDoUsuario;

        std::filesystem::copy_file(ZK_CHECKER, prog + "/VerifAtualizCatalogoZORNAK");
        for (const char* nome : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) unsetenv(nome);
        setenv("ZK_MSGBOX", "stderr", 1);
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("teste", "admin", "");
        dao::Database db = ws.OpenDatabase(pastaDados + "/CatalogoZORNAK.c01", false, false, ";pwd=" + ObtemSenhaBancoDados());
        // The server offers the installed version: nothing to install.
        db.Execute("UPDATE UMREGISTRO SET Versao = 15, UrlAtualizacao = 'http://127.0.0.1:" +
                       std::to_string(servidor.Porta()) + "/catalogo/'",
                   dao::dbFailOnError);
        db.Close();
        ws.Close();
    }
    void TearDown() override {
        VerificacaoJanela::TearDown();
        unsetenv("ZK_MSGBOX");
        // The temporary folder's own removal goes by text and would leave Latin-1 names behind.
        std::error_code ec;
        std::filesystem::remove_all(raiz.path().toStdString(), ec);
    }

    static constexpr const char* ArquivoDoUsuario = "a planilha de pecas do usuario";
    std::string pastaDados;
    testsupport::ServidorHttpTeste servidor{
        [](const testsupport::ServidorHttpTeste::Pedido&) { return testsupport::ServidorHttpTeste::Resposta(200, "15"); }};
};

TEST_P(VerificacaoPastas, TheCheckSucceedsAndTouchesNoOtherFile) {
    const std::string r = raiz.path().toStdString();
    const std::vector<std::string> dadosAntes = Conteudo(pastaDados);
    std::size_t pedidos = 0;
    for (const bool automatica : {false, true}) {
        SCOPED_TRACE(automatica ? "automatic, by its timer" : "manual, by a click");
        LimpaRegistro();
        caixas.Clear();
        {
            std::optional<testsupport::PastaSomenteLeitura> somenteLeitura;
            if (GetParam().somenteLeitura) {
                somenteLeitura.emplace(pastaDados);
                if (!somenteLeitura->Vale()) GTEST_SKIP() << "no way to make a folder read-only here";
            }
            if (!automatica) {
                ASSERT_NO_FATAL_FAILURE(ClicaVerificar());
            } else {
                EstadoPrograma.VerificacaoAutomatica = true;
                Janela().m_UltimaVerificacao = 1.0;
                Janela().tmrVerificarAtualizacoes->SetInterval(1);
                Janela().tmrVerificarAtualizacoes->SetEnabled(true);
                ProcessaAte([this] { return Janela().m_VerificandoAtualizacao; });
                Janela().tmrVerificarAtualizacoes->SetEnabled(false);
            }
            ASSERT_EQ(Tag().substr(0, 2), automatica ? "11" : "10") << Tag();
            // The catalogue records the check in the data folder: writable again for that.
            EsperaVerificador();
        }
        ProcessaAte([this] { return !Janela().VerificacaoAtualizacoesEmAndamento(); });
        EXPECT_EQ(servidor.Pedidos().size(), ++pedidos);
        if (automatica) {
            EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
        } else {
            ASSERT_EQ(caixas.Count(), 1u);
            EXPECT_EQ(caixas.Last().prompt, Traduz(67) + ".");
        }
        EXPECT_EQ(Registro("FlagErroUltimaVerificacao").ToString(), "0");
        std::ifstream usuario(r + "/pecas", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(usuario), {}), ArquivoDoUsuario);
        EXPECT_EQ(Conteudo(pastaDados), dadosAntes);
        EXPECT_EQ(Conteudo(temporaria, true), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(
    NomesDePastas, VerificacaoPastas,
    ::testing::Values(CasoPastas{"BarraNoNomeDaPastaDeDados", "pecas|2026", "tmp", false},
                      CasoPastas{"Latin1NoNomeDaPastaDeDados", "pe\xE7" "as 2026", "tmp", false},
                      CasoPastas{"PastaDeDadosSomenteLeitura", "pecas 2026", "tmp", true},
                      CasoPastas{"Latin1NoNomeDaPastaTemporaria", "dados", "tempor\xE1rios", false},
                      // The checker beside the catalogue finds its Caminho.txt from its own path's bytes.
                      CasoPastas{"Latin1NoNomeDaPastaDoPrograma", "dados", "tmp", false, "programa\xE7"}),
    [](const ::testing::TestParamInfo<CasoPastas>& info) { return std::string(info.param.nome); });

}  // namespace
