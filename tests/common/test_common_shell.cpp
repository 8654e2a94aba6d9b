// Folder creation, started programs, the desktop's programs and the text helpers.
#include "common/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Screen.h"
#include "platform/os/Desktop.h"
#include "platform/os/Process.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "platform/vb/Text.h"
#include "tests/common/AmbienteComum.h"
#include "tests/support/AjudantesDesktop.h"
#include "tests/support/ErroVb.h"
#include "tests/support/FakeMsgBox.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <cstdio>
#include <optional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

using testecomum::AmbienteComum;
using testecomum::Conteudo;
using testecomum::Grava;
namespace fs = std::filesystem;

namespace {

class ShellTeste : public AmbienteComum {};

using testsupport::NumeroErro;

// --- CriaPasta --------------------------------------------------------------------------

TEST_F(ShellTeste, CreatesTheFoldersOfARelativePath) {
    const std::string base = Raiz() + "/base/";
    fs::create_directories(base);
    struct Caso {
        const char* relativo;
        bool ultimoEhArquivo;
        std::vector<const char*> pastas;    // folders that must exist afterwards
        std::vector<const char*> ausentes;  // names that must not exist
    };
    const Caso casos[] = {
        {"a\\b\\c.txt", true, {"a", "a/b"}, {"a/b/c.txt"}},
        {"a\\b\\c.txt", false, {"a", "a/b", "a/b/c.txt"}, {}},
        {"d/e/f.zip", true, {"d", "d/e"}, {"d/e/f.zip"}},
        {"g.txt", true, {}, {"g.txt"}},
        {"h", false, {"h"}, {}},
        {"i//j\\", false, {"i", "i/j"}, {}},
        {"", false, {}, {}},
    };
    for (const Caso& c : casos) {
        EXPECT_NO_THROW(CriaPasta(base, c.relativo, c.ultimoEhArquivo)) << c.relativo;
        for (const char* p : c.pastas) EXPECT_TRUE(fs::is_directory(base + p)) << c.relativo << " " << p;
        for (const char* p : c.ausentes) EXPECT_FALSE(fs::exists(base + p)) << c.relativo << " " << p;
    }
    // Existing folders are left alone, and one of another case is used, not doubled.
    Grava(base + "a/b/keep.txt", "x");
    fs::create_directories(base + "Fotos");
    CriaPasta(base, "a\\b\\c.txt", true);
    CriaPasta(base, "FOTOS\\novas\\x.jpg", true);
    EXPECT_EQ(Conteudo(base + "a/b/keep.txt"), "x");
    EXPECT_TRUE(fs::is_directory(base + "Fotos/novas"));
    EXPECT_FALSE(fs::exists(base + "FOTOS"));
}

TEST_F(ShellTeste, RefusesNamesThatLeaveTheBaseFolder) {
    const std::string base = Raiz() + "/base/";
    fs::create_directories(base);
    const std::string recusados[] = {"..\\fora\\x.txt", "a/../../fora/x.txt", "a\\..", "/tmp/fora/x.txt",
                                     "\\fora\\x.txt", "C:\\fora\\x.txt", "c:fora",
                                     std::string("..\0x\\fora", 9), std::string("a\0", 2)};
    for (const std::string& nome : recusados) {
        for (bool arquivo : {true, false}) {
            EXPECT_EQ(NumeroErro([&] { CriaPasta(base, nome, arquivo); }),
                      vb::err::BadFileNameOrNumber) << nome;
        }
    }
    EXPECT_FALSE(fs::exists(Raiz() + "/fora"));
    EXPECT_FALSE(fs::exists(base + "a"));   // nothing is made before the refusal
    EXPECT_TRUE(fs::is_empty(base));
}

TEST_F(ShellTeste, AFolderThatCannotBeMadeRaises) {
    const std::string base = Raiz() + "/base/";
    fs::create_directories(base);
    Grava(base + "arquivo", "x");   // a file where a folder should go
    EXPECT_EQ(NumeroErro([&] { CriaPasta(base, "arquivo/sub/x", true); }),
              vb::err::PathFileAccessError);
}

// --- ExtraiPastaArquivo -----------------------------------------------------------------

TEST(ExtraiPastaArquivoTeste, FolderPartWithOrWithoutTheSeparator) {
    struct Caso { const char* caminho; bool mantem; vb::Variant esperado; };
    const Caso casos[] = {
        {"/dados/a/b.zip", true, "/dados/a/"},
        {"/dados/a/b.zip", false, "/dados/a"},
        {"/dados/Fotos\\novas\\b-ci-.zip", false, "/dados/Fotos/novas"},
        {"a\\b.zip", true, "a/"},
        {"/b.zip", false, ""},
        {"b.zip", true, vb::Variant()},
        {"", false, vb::Variant()},
    };
    for (const Caso& c : casos) EXPECT_EQ(ExtraiPastaArquivo(c.caminho, c.mantem), c.esperado) << c.caminho;

    for (const std::string& recusado : {std::string("/dados/../etc/x.zip"), std::string("..\\x.zip"),
                                       std::string("C:\\a\\b.zip"), std::string("/dados/a/.."),
                                       std::string("/dados/..\0/x.zip", 16)})
        EXPECT_EQ(NumeroErro([&] { ExtraiPastaArquivo(recusado, true); }),
                  vb::err::BadFileNameOrNumber) << recusado;
}

// --- Text helpers -----------------------------------------------------------------------

TEST(FormataCampoLarguraTeste, PadsOrCutsToTheWidth) {
    struct Caso { vb::Variant valor; int largura; const char* alinhamento; const char* esperado; };
    const Caso casos[] = {
        {"12", 5, "D", "12   "},
        {"12", 5, "E", "   12"},
        {"123456", 3, "D", "123"},
        {"123456", 3, "E", "456"},
        {"  12  ", 4, " d ", "12  "},     // value and alignment trimmed, alignment in any case
        {"abc", 3, "D", "abc"},
        {"ção", 5, "E", "  ção"},          // characters, not bytes
        {"Pistão", 4, "D", "Pist"},
        {12L, 4, "E", "  12"},
        {vb::Variant::Null(), 3, "D", "   "},
        {"x", 0, "D", ""},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(FormataCampoLargura(c.valor, c.largura, c.alinhamento), c.esperado)
            << c.largura << c.alinhamento;
}

TEST(TiraBrancosTeste, ControlCharactersAndBlanksAtEitherEnd) {
    struct Caso { std::string texto, esquerda, direita, ambos; };
    const Caso casos[] = {
        {"\t\r\n a b \a\r\n", "a b \a\r\n", "\t\r\n a b", "a b"},
        {" \a\t\n\r ", "", "", ""},
        {"", "", "", ""},
        {"x\x0By", "x\x0By", "x\x0By", "x\x0By"},   // vertical tab is not one of them
        {"\x0Bx ", "\x0Bx ", "\x0Bx", "\x0Bx"},
        {" ção ", "ção ", " ção", "ção"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(TiraBrancosEsquerda(c.texto), c.esquerda);
        EXPECT_EQ(TiraBrancosDireita(c.texto), c.direita);
        EXPECT_EQ(TiraBrancos(c.texto), c.ambos);
    }
}

TEST(FormataDataCompactaTeste, PackedReleaseDates) {
    struct Caso { const char* idioma; const char* compacta; bool curta; const char* esperado; };
    const Caso casos[] = {
        {"P", "240507", true, "07 MAI"},
        {"P", "240507", false, "07-MAI-2024"},
        {"I", "241231", false, "31-DEC-2024"},
        {"E", "251209", true, "09 DIC"},
        {"P", "", true, ""},
        {"P", "      ", false, ""},
        // Bad months show nothing (not the program title, no error): lists paint these.
        {"P", "241307", false, ""},
        {"P", "240007", true, ""},
        {"P", "24XX07", false, ""},
        {"P", "24-107", false, ""},
        {"P", "24", true, ""},
    };
    for (const Caso& c : casos) {
        EstadoPrograma.Idioma = c.idioma;
        EXPECT_EQ(FormataDataCompacta(c.compacta, c.curta), c.esperado) << c.compacta;
    }
    EstadoPrograma.Idioma = "P";
}

TEST(VerificaVetorValidoTeste, BinarySearchInASortedArray) {
    const std::vector<long> vetor{3, 8, 15, 42};
    const std::pair<long, long> casos[] = {{3, 0}, {8, 1}, {15, 2}, {42, 3}, {9, -1}, {1, -1}, {50, -1}};
    for (const auto& [valor, indice] : casos) EXPECT_EQ(VerificaVetorValido(vetor, valor), indice) << valor;
    EXPECT_EQ(VerificaVetorValido({7}, 7), 0);
    EXPECT_EQ(VerificaVetorValido({}, 7), -1);
}

TEST(FormataDataHoraSQLTeste, JetExpressionOfAMoment) {
    EXPECT_EQ(FormataDataHoraSQL(vb::DateSerial(2024, 5, 7) + vb::TimeSerial(9, 3, 0)),
              "DateSerial(2024,5,7)+TimeSerial(9,3,0)");
    // No moment (the date serial 1) is now.
    const vb::Date antes = vb::Now();
    const std::string agora = FormataDataHoraSQL();
    EXPECT_EQ(agora.rfind("DateSerial(" + std::to_string(vb::Year(antes)) + ",", 0), 0u) << agora;
}

TEST(TopicoAjudaTeste, TopicsByScreenAndMode) {
    struct Caso { int codigo; bool auxiliar; bool lista; long topico; };
    const Caso casos[] = {
        {0, false, false, 10002}, {1, false, false, 10003}, {2, false, false, 10004},
        {3, false, true, 10008}, {3, false, false, 10009}, {4, false, false, 10006},
        {5, false, false, 10005}, {6, false, false, 0},
        {2, true, false, 10010}, {3, true, false, 10002}, {5, true, true, 10011},
        {0, true, false, 0}, {1, true, false, 0},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(TopicoAjuda(static_cast<std::uint8_t>(c.codigo), c.auxiliar, c.lista), c.topico)
            << c.codigo << c.auxiliar;
}

// --- Started programs -------------------------------------------------------------------

TEST_F(ShellTeste, WaitsForTheStartedProgramToEnd) {
    const std::string marca = Raiz() + "/feito";
    ExecutaEAguarda("/bin/sh -c \"sleep 0.2; touch '" + marca + "'\"", 1);
    EXPECT_TRUE(fs::exists(marca));
}

// The application told to quit while an update script runs (its window closed) must not
// cut the script short. Run in a process of its own: a quit request stays for the process.
TEST_F(ShellTeste, AQuitRequestWhileWaitingStillWaitsForTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string pode = Raiz() + "/pode-sair";
    const std::string feito = Raiz() + "/feito";
    EXPECT_EXIT(
        {
            QTimer::singleShot(0, [pode] {
                QCoreApplication::exit(0);
                Grava(pode, "");   // only now may the script finish
            });
            ExecutaEAguarda("/bin/sh -c \"while [ ! -e '" + pode + "' ]; do sleep 0.02; done; touch '" +
                                feito + "'\"",
                            1);
            const bool terminou = fs::exists(feito);
            fs::remove_all(Raiz());
            std::exit(terminou ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ShellTeste, AMissingProgramRaisesWithItsName) {
    struct Caso { std::string linha; long numero; std::string nome; };
    const Caso casos[] = {
        {"programa-que-nao-existe --x", vb::err::FileNotFound, "programa-que-nao-existe"},
        {Raiz() + "/program/nenhum", vb::err::FileNotFound, "nenhum"},
        {"", vb::err::InvalidProcedureCall, ""},
        {"   ", vb::err::InvalidProcedureCall, ""},
    };
    for (const Caso& c : casos) {
        try {
            ExecutaEAguarda(c.linha, 1);
            ADD_FAILURE() << "no error for " << c.linha;
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.numero) << c.linha;
            EXPECT_NE(e.Description().find(c.nome), std::string::npos) << e.Description();
        }
    }
}

TEST_F(ShellTeste, ExitCodeReadsStillActiveUntilTheProgramEnds) {
    const std::string sinal = Raiz() + "/pode-sair";
    const long id = os::Shell("/bin/sh -c \"while [ ! -e '" + sinal + "' ]; do sleep 0.02; done; exit 3\"");
    long codigo = 0;
    ASSERT_TRUE(os::GetExitCodeProcess(id, codigo));
    EXPECT_EQ(codigo, os::STILL_ACTIVE);
    Grava(sinal, "");
    os::WaitForProcess(id);
    ASSERT_TRUE(os::GetExitCodeProcess(id, codigo));
    EXPECT_EQ(codigo, 3);
    os::TerminateProcess(id);
    EXPECT_FALSE(os::GetExitCodeProcess(id, codigo));   // forgotten
}

TEST_F(ShellTeste, ABareNameIsFoundBesideTheProgramFirst) {
    const std::string programa = PastaPrograma() + "ferramenta";
    Grava(programa, "#!/bin/sh\ntouch \"$1\"\n");
    fs::permissions(programa, fs::perms::owner_all);
    const std::string marca = Raiz() + "/marca";
    ExecutaEAguarda("ferramenta \"" + marca + "\"", 1);
    EXPECT_TRUE(fs::exists(marca));
}

// Program and arguments reach the started program as the bytes they are: a folder name in
// Latin-1 survives, and the line is split as the platform's splitCommand splits text.
TEST_F(ShellTeste, ProgramAndArgumentsArriveByteForByte) {
    const std::string pasta = Raiz() + "/ferramentas \xE7";
    fs::create_directories(pasta);
    // The temporary folder's own removal goes by text and would leave a Latin-1 name behind.
    struct Remove {
        std::string pasta;
        ~Remove() {
            std::error_code ec;
            fs::remove_all(pasta, ec);
        }
    } remove{pasta};
    const std::string programa = pasta + "/nota";
    const std::string notas = Raiz() + "/notas";
    Grava(programa, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + notas + "'\n");
    fs::permissions(programa, fs::perms::owner_all);
    struct Caso {
        std::string argumentos;
        std::vector<std::string> esperados;
    };
    const std::vector<Caso> casos = {
        {"1|/tmp/pe\xE7" "as|2026/r.tmp", {"1|/tmp/pe\xE7" "as|2026/r.tmp"}},
        {"\"0|/meus dados\xE1/r.tmp\"", {"0|/meus dados\xE1/r.tmp"}},
        {"a  \"b c\"\td \"e\"\"\"f\"", {"a", "b c", "d", "e\"f"}},
        {"x\"\"y \"\"", {"xy"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.argumentos);
        fs::remove(notas);
        ExecutaEAguarda("\"" + programa + "\" " + c.argumentos, 1);
        std::ifstream f(notas, std::ios::binary);
        std::vector<std::string> recebidos;
        for (std::string l; std::getline(f, l);) recebidos.push_back(l);
        EXPECT_EQ(recebidos, c.esperados);
        if (vb::IsValidUtf8(c.argumentos)) {
            std::vector<std::string> texto;
            for (const QString& a : QProcess::splitCommand(QString::fromStdString(c.argumentos))) texto.push_back(a.toStdString());
            EXPECT_EQ(recebidos, texto) << "split as the platform splits text";
        }
    }
}

// --- Browser, help and mail: stand-in desktop programs note their arguments -----------

class DesktopTeste : public AmbienteComum {
protected:
    void SetUp() override {
        AmbienteComum::SetUp();
        ajudantes_.emplace();
    }
    void TearDown() override {
        ajudantes_.reset();
        AmbienteComum::TearDown();
    }
    void Falso(const std::string& nome, int codigo = 0, bool espera = false) {
        ajudantes_->Programa(nome, codigo, espera);
    }
    std::optional<std::string> Argumentos(const std::string& nome) { return ajudantes_->Argumentos(nome); }
    void SemPrograma(const std::string& nome) {
        ajudantes_->SoAjudantes();
        ajudantes_->Remove(nome);
    }

    std::optional<testsupport::AjudantesDesktop> ajudantes_;
};

TEST_F(DesktopTeste, BrowserOpensTheAddress) {
    Falso("xdg-open");
    testsupport::FakeMsgBox caixa;
    EXPECT_TRUE(AbreNavegador("http://www.zornak.com.br/contato"));
    EXPECT_EQ(Argumentos("xdg-open"), "http://www.zornak.com.br/contato\n");
    EXPECT_EQ(caixa.Count(), 0u);
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(DesktopTeste, BrowserThatCannotStartShowsTheErrorBox) {
    SemPrograma("xdg-open");
    testsupport::FakeMsgBox caixa;
    EXPECT_FALSE(AbreNavegador("http://www.zornak.com.br"));
    ASSERT_EQ(caixa.Count(), 1u);
    EXPECT_NE(caixa.Last().prompt.find("(1) You should check that your browser is correctly installed."),
              std::string::npos);
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(DesktopTeste, HelpFileOfTheCurrentLanguageOpens) {
    Falso("xdg-open");
    EstadoPrograma.Idioma = "E";
    const std::string ajuda = EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_E.chm";
    Grava(ajuda, "help");
    testsupport::FakeMsgBox caixa;
    AbreAjuda(3, false, true);
    EXPECT_EQ(Argumentos("xdg-open"), ajuda + "\n");
    EXPECT_EQ(caixa.Count(), 0u);
}

// A data folder whose name is not UTF-8: the viewer is handed a name it can carry, which
// leads to the help file itself.
TEST_F(DesktopTeste, HelpFileInAFolderNamedInLatin1BytesReachesTheViewer) {
    Falso("xdg-open");
    const std::string antes = EstadoPrograma.CaminhoDados;
    const std::string pasta = EstadoPrograma.CaminhoDados + "cat\xE1logo/";
    ASSERT_TRUE(std::filesystem::create_directory(pasta));
    EstadoPrograma.CaminhoDados = pasta;
    EstadoPrograma.Idioma = "P";
    Grava(pasta + "AjudaCatalogoZORNAK_P.chm", "ajuda em latin-1");
    testsupport::FakeMsgBox caixa;
    AbreAjuda(3, false, true);
    EstadoPrograma.CaminhoDados = antes;
    const std::optional<std::string> argumentos = Argumentos("xdg-open");
    ASSERT_TRUE(argumentos.has_value());
    const std::string caminho = argumentos->substr(0, argumentos->find('\n'));
    EXPECT_TRUE(vb::IsValidUtf8(caminho)) << caminho;
    std::ifstream f(caminho, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>()), "ajuda em latin-1");
    EXPECT_EQ(caixa.Count(), 0u);
}

TEST_F(DesktopTeste, MissingHelpFileShowsErrorSevenNegativeAndOpensNothing) {
    Falso("xdg-open");
    EstadoPrograma.Idioma = "I";
    const std::string ajuda = EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_I.chm";
    testsupport::FakeMsgBox caixa;
    AbreAjuda(0, true, false);
    ASSERT_EQ(caixa.Count(), 1u);
    EXPECT_EQ(caixa.Last().prompt,
              "Err Nr.: -7\r\nArquivo de Ajuda \"" + ajuda + "\" não encontrado.");
    EXPECT_FALSE(ajudantes_->Iniciou("xdg-open"));
}

TEST_F(DesktopTeste, MailGetsEveryFileAttached) {
    Falso("xdg-email");
    EnviaEmail("/tmp/t/x.txt|/tmp/t/y z.txt", "|");
    EXPECT_EQ(Argumentos("xdg-email"), "--attach\n/tmp/t/x.txt\n--attach\n/tmp/t/y z.txt\n");
}

// An attachment in a folder whose name is not UTF-8 reaches the mail program by a name it
// can carry; the UTF-8 one goes as it is.
TEST_F(DesktopTeste, MailAttachmentInAFolderNamedInLatin1BytesReachesTheMailProgram) {
    Falso("xdg-email");
    const std::string pasta = EstadoPrograma.CaminhoDados + "pe\xE7" "as/";
    ASSERT_TRUE(std::filesystem::create_directory(pasta));
    Grava(pasta + "carrinho.txt", "itens do carrinho");
    EnviaEmail(pasta + "carrinho.txt|/tmp/t/y.txt", "|");
    const std::optional<std::string> argumentos = Argumentos("xdg-email");
    ASSERT_TRUE(argumentos.has_value());
    const std::vector<std::string> partes = vb::Split(*argumentos, "\n");
    ASSERT_GE(partes.size(), 4u) << *argumentos;
    EXPECT_EQ(partes[0], "--attach");
    EXPECT_TRUE(vb::IsValidUtf8(partes[1])) << partes[1];
    std::ifstream f(partes[1], std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>()), "itens do carrinho");
    EXPECT_EQ(partes[3], "/tmp/t/y.txt");
}

TEST_F(DesktopTeste, MailWithoutXdgEmailRaisesTheMissingLibraryError) {
    SemPrograma("xdg-email");
    EXPECT_EQ(NumeroErro([] { EnviaEmail("/tmp/x.txt", "|"); }), vb::err::FileNotFoundDll);
}

// A helper that is missing, or is there and cannot start: the number stays the missing
// library's, and the words say which helper and why.
TEST_F(DesktopTeste, AHelperThatCannotStartSaysWhichAndWhy) {
    EstadoPrograma.Idioma = "I";
    const std::string ajuda = EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_I.chm";
    Grava(ajuda, "help");
    struct Caso {
        std::string nome;
        std::function<void()> prepara;
        std::string texto;
    };
    const std::string semArquivo = std::strerror(ENOENT);
    const std::vector<Caso> casos = {
        {"mail, no xdg-email", [this] { SemPrograma("xdg-email"); }, "xdg-email could not be started: " + semArquivo},
        {"help, no xdg-open", [this] { SemPrograma("xdg-open"); },
         "xdg-open could not be started: " + semArquivo + " (\"" + ajuda + "\")"},
        {"mail, an xdg-email whose interpreter is missing",
         [this] {
             Falso("xdg-email");
             const std::string caminho = ajudantes_->Pasta() + "/xdg-email";
             Grava(caminho, "#!/nao/existe/sh\nexit 0\n");
             fs::permissions(caminho, fs::perms::owner_all);
         },
         "xdg-email could not be started: "},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        c.prepara();
        std::string texto;
        testsupport::FakeMsgBox caixa;
        if (c.nome.rfind("mail", 0) == 0) {
            try {
                EnviaEmail("/tmp/t/x.txt", "|");
                ADD_FAILURE() << "no error";
            } catch (const vb::Error& e) {
                EXPECT_EQ(e.Number(), vb::err::FileNotFoundDll);
                texto = e.Description();
            }
        } else {
            AbreAjuda(1, false, false);
            ASSERT_EQ(caixa.Count(), 1u);
            texto = caixa.Last().prompt;
            EXPECT_EQ(texto.rfind(Traduz(1) + ": 48\r\n", 0), 0u) << texto;
        }
        EXPECT_NE(texto.find(c.texto), std::string::npos) << texto;
        EXPECT_EQ(texto.find("DLL"), std::string::npos) << texto;
        ajudantes_.reset();
        ajudantes_.emplace();
    }
}

// The links made for other programs stay while the run lasts (the mail program may read its
// attachment after xdg-email has ended) and go when it ends, by itself or through SIGTERM.
TEST_F(DesktopTeste, TheLinksForOtherProgramsGoWhenTheRunEnds) {
    for (const std::string modo : {"fim", "espera"}) {
        SCOPED_TRACE(modo);
        Falso("xdg-email");
        QTemporaryDir temporaria;
        QTemporaryDir dados;
        ASSERT_TRUE(temporaria.isValid() && dados.isValid());
        // The helper adds the folder whose name is not UTF-8: an argument could not carry it.
        const std::string pasta = dados.path().toStdString() + "/pe\xE7" "as";
        ASSERT_TRUE(fs::create_directory(pasta));
        Grava(pasta + "/carrinho.txt", "itens do carrinho");

        QProcess processo;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("TMPDIR", temporaria.path());
        processo.setProcessEnvironment(ambiente);
        processo.start(AJUDANTE_LIGACOES, {QString::fromStdString(modo), dados.path()});
        ASSERT_TRUE(processo.waitForStarted(10000));
        ASSERT_TRUE(testsupport::EsperaComEventos([&] { return ajudantes_->Terminou("xdg-email"); }, 20000));
        const std::vector<std::string> argumentos = vb::Split(Argumentos("xdg-email").value_or(""), "\n");
        ASSERT_GE(argumentos.size(), 2u);
        const std::string ligacao = argumentos[1];
        EXPECT_EQ(ligacao.rfind(temporaria.path().toStdString() + "/zk-ligacoes-", 0), 0u) << ligacao;
        if (modo == "espera") {
            // xdg-email has ended; the link still leads to the file.
            std::ifstream f(ligacao, std::ios::binary);
            EXPECT_EQ(std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>()),
                      "itens do carrinho");
            ASSERT_EQ(::kill(static_cast<pid_t>(processo.processId()), SIGTERM), 0);
        }
        // It may have ended already while events ran.
        ASSERT_TRUE(processo.state() == QProcess::NotRunning || processo.waitForFinished(20000));
        EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardOutput().toStdString();
        EXPECT_FALSE(fs::exists(fs::symlink_status(ligacao))) << ligacao;
        EXPECT_TRUE(QDir(temporaria.path()).isEmpty()) << "the links' folder went too";
        EXPECT_TRUE(fs::exists(pasta + "/carrinho.txt")) << "the file itself stays";
    }
}

// The helpers are watched, not waited for: the call returns at once and a failure shows
// its routine's box afterwards, from the event loop.
TEST_F(DesktopTeste, AHelperThatFailsShowsTheBoxOfItsRoutine) {
    EstadoPrograma.Idioma = "I";
    const std::string ajuda = EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_I.chm";
    Grava(ajuda, "help");
    const std::string navegador = "You should check that your browser is correctly installed.";
    struct Caso {
        std::string rotina;
        std::string programa;
        int codigo;
        std::string numero;               // the box's error number; "" for no box
        std::vector<std::string> textos;  // what its text tells
    };
    const Caso casos[] = {
        // No program for web pages, and one that failed to show the page.
        {"browser", "xdg-open", 3, "31", {"\r\n(1) " + navegador}},
        {"browser", "xdg-open", 4, "4", {"\r\n(2) " + navegador}},
        {"browser", "xdg-open", 1, "1", {"\r\n(2) " + navegador}},
        {"browser", "xdg-open", 0, "", {}},
        // Which helper failed and why, in plain words after the number.
        {"help", "xdg-open", 3, "48",
         {"\r\nxdg-open ended with code 3: no program is configured to open this kind of file (\"" + ajuda + "\")"}},
        {"help", "xdg-open", 4, "48", {"\r\nxdg-open ended with code 4: the program for this file failed to open it", ajuda}},
        {"help", "xdg-open", 0, "", {}},
        {"mail", "xdg-email", 3, "48", {"\r\nxdg-email ended with code 3: no mail program is configured"}},
        {"mail", "xdg-email", 5, "48", {"\r\nxdg-email ended with code 5: no permission to read a file to attach"}},
        {"mail", "xdg-email", 9, "48", {"\r\nxdg-email ended with code 9"}},
        {"mail", "xdg-email", 0, "", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.rotina + " ending with " + std::to_string(c.codigo));
        Falso(c.programa, c.codigo);
        testsupport::FakeMsgBox caixa;
        if (c.rotina == "browser") EXPECT_TRUE(AbreNavegador("www.zornak.com.br"));
        else if (c.rotina == "help") AbreAjuda(1, false, false);
        else EnviaEmail("/tmp/t/x.txt", "|");
        EXPECT_EQ(caixa.Count(), 0u) << "the call does not wait for the helper";
        ASSERT_TRUE(Argumentos(c.programa));
        ASSERT_TRUE(testsupport::EsperaComEventos(
            [&] { return ajudantes_->Terminou(c.programa) && os::WatchedHelpers() == 0; }))
            << "the helper's process object goes with it";
        testsupport::DeixaCorrer(100);
        if (c.numero.empty()) {
            EXPECT_EQ(caixa.Count(), 0u) << caixa.Last().prompt;
            continue;
        }
        ASSERT_EQ(caixa.Count(), 1u);
        const std::string& texto = caixa.Last().prompt;
        EXPECT_EQ(texto.rfind(Traduz(1) + ": " + c.numero + "\r\n", 0), 0u) << texto;
        for (const std::string& t : c.textos) EXPECT_NE(texto.find(t), std::string::npos) << texto;
        EXPECT_EQ(texto.find("DLL"), std::string::npos) << texto;
        EXPECT_EQ(caixa.Last().buttons & vb::vbCritical, vb::vbCritical);
        EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
    }
}

// A helper still running after a few seconds is taken to be showing what it was asked for
// (a browser started in the foreground): its end, even a failed one, reports nothing.
TEST_F(DesktopTeste, AHelperStillRunningAfterTheGracePeriodCountsAsDone) {
    EstadoPrograma.Idioma = "I";
    Grava(EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_I.chm", "help");
    Falso("xdg-open", 3, true);
    Falso("xdg-email", 3, true);
    testsupport::FakeMsgBox caixa;
    int batidas = 0;
    QTimer relogio;
    relogio.setInterval(50);
    QObject::connect(&relogio, &QTimer::timeout, [&batidas] { ++batidas; });
    relogio.start();

    EXPECT_TRUE(AbreNavegador("www.zornak.com.br"));
    AbreAjuda(0, false, false);
    EnviaEmail("/tmp/t/x.txt", "|");
    ASSERT_TRUE(Argumentos("xdg-open"));
    ASSERT_TRUE(Argumentos("xdg-email"));
    EXPECT_EQ(os::WatchedHelpers(), 3);
    testsupport::DeixaCorrer(os::HelperGraceMs + 500);
    EXPECT_FALSE(ajudantes_->Terminou("xdg-open"));
    EXPECT_FALSE(ajudantes_->Terminou("xdg-email"));
    EXPECT_GE(batidas, os::HelperGraceMs / 50 / 2) << "events ran while the helpers did";

    ajudantes_->Solta("xdg-open");
    ajudantes_->Solta("xdg-email");
    ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
    testsupport::DeixaCorrer(100);
    EXPECT_EQ(caixa.Count(), 0u) << caixa.Last().prompt;
}

// The program ending while helpers are watched, as its own end goes (the event loop quits,
// the last events run, the application object goes): a failure that comes after the quit
// shows nothing, nothing crashes, and a helper still running is left to run.
TEST_F(DesktopTeste, TheProgramEndsCleanlyWhileHelpersAreWatched) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Falso("xdg-open", 3, true);
            Falso("xdg-email", 0, true);
            testsupport::FakeMsgBox caixa;
            AbreNavegador("www.zornak.com.br");
            EnviaEmail("/tmp/t/x.txt", "|");
            int falhas = Argumentos("xdg-open") && Argumentos("xdg-email") ? 0 : 1;
            QTimer::singleShot(0, [] { QCoreApplication::quit(); });
            QCoreApplication::exec();
            ajudantes_->Solta("xdg-open");
            testsupport::EsperaComEventos([this] { return os::WatchedHelpers() == 1; });
            testsupport::DeixaCorrer(200);
            if (caixa.Count() != 0) falhas |= 2;
            delete QCoreApplication::instance();
            // The mail program outlived the application object: released now, it ends itself.
            ajudantes_->Solta("xdg-email");
            bool terminou = false;
            for (int i = 0; i < 250 && !terminou; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                terminou = ajudantes_->Terminou("xdg-email");
            }
            if (!terminou) falhas |= 4;
            fs::remove_all(ajudantes_->Pasta());
            fs::remove_all(Raiz());
            std::fprintf(stderr, "falhas=%d\n", falhas);
            std::exit(falhas);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(DesktopTeste, DesktopFolderOrTheProgramFolder) {
    // Without a desktop folder the save dialog starts beside the program.
    setenv("XDG_CONFIG_HOME", (Raiz() + "/home/.config").c_str(), 1);
    fs::remove_all(Raiz() + "/home/Desktop");
    EXPECT_EQ(ObtemPastaDesktop(true), PastaPrograma());
    EXPECT_EQ(ObtemPastaDesktop(false), Raiz() + "/program");
    fs::create_directories(Raiz() + "/home/Desktop");
    EXPECT_EQ(ObtemPastaDesktop(true), Raiz() + "/home/Desktop/");
    EXPECT_EQ(ObtemPastaDesktop(false), Raiz() + "/home/Desktop");
}

}  // namespace
