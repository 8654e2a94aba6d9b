// Files, folders, dates, the data folder rule and the error box.
#include "common/Modulo.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "tests/common/AmbienteComum.h"
#include "tests/support/ErroVb.h"
#include "tests/support/FakeMsgBox.h"

#include <QDir>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <regex>
#include <set>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testecomum::AmbienteComum;
using testecomum::Conteudo;
using testecomum::Grava;

namespace {

class ArquivosTeste : public AmbienteComum {};

using testsupport::NumeroErro;

TEST_F(ArquivosTeste, FoldersEndWithOneSeparatorWhenAsked) {
    EXPECT_EQ(ObtemCaminhoAplicacao(false), Raiz() + "/program");
    EXPECT_EQ(ObtemCaminhoAplicacao(true), Raiz() + "/program/");
    os::SetProgramFolderForTesting(Raiz() + "/program/");
    EXPECT_EQ(ObtemCaminhoAplicacao(true), Raiz() + "/program/");
    os::SetProgramFolderForTesting("/");
    EXPECT_EQ(ObtemCaminhoAplicacao(true), "/");

    os::SetProgramFolderForTesting(Raiz() + "/program");
    const std::string temp = QDir::tempPath().toStdString();
    EXPECT_EQ(ObtemPastaSistema(" temp ", true), temp + "/");
    EXPECT_EQ(ObtemPastaSistema("Temp", false), temp);
    EXPECT_EQ(ObtemPastaSistema("system", true), Raiz() + "/program/");
    EXPECT_EQ(ObtemPastaSistema("WINDOWS", true), Raiz() + "/program/");
}

TEST_F(ArquivosTeste, FileExistenceIgnoresFoldersAndUnreadableFiles) {
    const std::string arquivo = Raiz() + "/a.txt";
    EXPECT_FALSE(ExisteArquivo(arquivo));
    EXPECT_FALSE(ExisteArquivo(""));
    EXPECT_FALSE(ExisteArquivo(Raiz()));   // a folder is no file
    Grava(arquivo, "x");
    EXPECT_TRUE(ExisteArquivo(arquivo));

    if (geteuid() != 0) {   // root reads everything
        const std::string fechado = Raiz() + "/fechado.txt";
        Grava(fechado, "x");
        chmod(fechado.c_str(), 0);
        EXPECT_FALSE(ExisteArquivo(fechado));
        chmod(fechado.c_str(), 0600);
    }

    ApagaArquivo(arquivo);
    EXPECT_FALSE(std::filesystem::exists(arquivo));
    EXPECT_NO_THROW(ApagaArquivo(arquivo));   // already gone: nothing happens
    EXPECT_NO_THROW(ApagaArquivo(Raiz()));
    EXPECT_TRUE(std::filesystem::is_directory(Raiz()));
}

TEST_F(ArquivosTeste, WholeFileReadGivesOneCharacterPerByte) {
    const std::string arquivo = Raiz() + "/bytes.bin";
    Grava(arquivo, std::string("A\xE7\x00Z\r\n", 6));
    // ç as one byte, the NUL and the line end all kept
    EXPECT_EQ(LeArquivo(arquivo), std::string("A\xC3\xA7\x00Z\r\n", 7));
    Grava(arquivo, "");
    EXPECT_EQ(LeArquivo(arquivo), "");
    try {
        LeArquivo(Raiz() + "/nenhum.txt");
        FAIL() << "a missing file must raise";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), vb::err::FileNotFound);
    }
}

// Names from a catalogue made on Windows: "\" between folders, any letter case.
// The data folder's own name may hold a byte that is no UTF-8 (a Latin-1 "é").
TEST_F(ArquivosTeste, CatalogueNamesAreFoundWhateverTheirCaseAndSeparators) {
    for (const std::string& pasta : {Raiz() + "/dados/", Raiz() + "/dados\xE9/"}) {
        std::filesystem::create_directories(pasta + "Figuras/Sub");
        Grava(pasta + "Figuras/Sub/FG01.png", "x");
        struct Caso {
            const char* nome;
            std::string esperado;
        };
        for (const Caso& c : {Caso{"Figuras/Sub/FG01.png", pasta + "Figuras/Sub/FG01.png"},
                              Caso{"FIGURAS\\sub\\fg01.PNG", pasta + "Figuras/Sub/FG01.png"},
                              Caso{"Figuras/Sub/FG02.png", pasta + "Figuras/Sub/FG02.png"},
                              Caso{"outra\\fg01.png", pasta + "outra/fg01.png"}}) {
            EXPECT_EQ(LocalizaArquivo(pasta, c.nome), c.esperado) << c.nome;
        }
    }
}

TEST_F(ArquivosTeste, UniqueFileNamesLieInTheDataFolderAndAreNew) {
    std::set<std::string> nomes;
    for (int i = 0; i < 20; ++i) {
        const std::string nome = GeraNomeArquivoUnico("tmp");
        ASSERT_EQ(nome.rfind(PastaPrograma(), 0), 0u) << nome;
        ASSERT_EQ(nome.substr(nome.size() - 4), ".tmp");
        // The moment "sshhyynnmmdd", the volume serial, then the random number 0 to 9999.
        const std::string meio = nome.substr(PastaPrograma().size(), nome.size() - PastaPrograma().size() - 4);
        ASSERT_TRUE(std::regex_match(meio, std::regex("[0-9]{12}" + SerialVolume("/") + "(0|[1-9][0-9]{0,3})")))
            << meio;
        ASSERT_FALSE(ExisteArquivo(nome));
        Grava(nome, "");   // taken: the next call must find another
        nomes.insert(nome);
    }
    EXPECT_EQ(nomes.size(), 20u);
}

TEST_F(ArquivosTeste, RandomNumbersStayInTheHalfOpenUnitInterval) {
    std::set<double> vistos;
    for (int i = 0; i < 1000; ++i) {
        const double r = Rnd();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        vistos.insert(r);
    }
    EXPECT_GT(vistos.size(), 990u);
}

TEST_F(ArquivosTeste, VolumeSerialIsEightUppercaseHexDigits) {
    for (const std::string& raiz : {std::string("/"), Raiz()}) {
        const std::string serial = SerialVolume(raiz);
        ASSERT_EQ(serial.size(), 8u);
        EXPECT_EQ(serial.find_first_not_of("0123456789ABCDEF"), std::string::npos) << serial;
    }
    EXPECT_EQ(SerialVolume(Raiz() + "/no/such/folder"), "1A281CEA");
}

TEST(IndiceMesTeste, MonthsMapToTheirAbbreviationMessages) {
    const std::pair<int, long> casos[] = {{1, 13}, {2, 14}, {7, 19}, {12, 24}, {0, 0}, {13, 0}, {255, 0}};
    for (const auto& [mes, mensagem] : casos)
        EXPECT_EQ(IndiceMes(static_cast<std::uint8_t>(mes)), mensagem) << mes;
}

TEST(FormataDataTeste, DayMonthAbbreviationAndYearInEachLanguage) {
    EstadoPrograma.Idioma = "P";
    const vb::Date fev = vb::DateSerial(2026, 2, 1);
    const vb::Date dez = vb::DateSerial(2026, 12, 9) + vb::TimeSerial(7, 5, 3);
    struct Caso { vb::Date data; const char* idioma; const char* esperado; };
    const Caso casos[] = {
        {fev, "P", "01-FEV-2026"}, {fev, "E", "01-FEB-2026"}, {fev, "I", "01-FEB-2026"},
        {dez, "P", "09-DEZ-2026"}, {dez, "E", "09-DIC-2026"}, {dez, "I", "09-DEC-2026"},
        {dez, "", "09-DEZ-2026"},   // "" is the current language
    };
    for (const Caso& c : casos) EXPECT_EQ(FormataData(c.data, c.idioma), c.esperado) << c.idioma;
    EXPECT_EQ(FormataDataHora(dez, "I"), "09-DEC-2026 07:05:03");
    EstadoPrograma.Idioma = "I";
    EXPECT_EQ(ObtemTituloAplicacao(), "ZORNAK Part List");
    EstadoPrograma.Idioma = "P";
}

TEST(MostraErroTeste, CriticalBoxWithNumberAndDescriptionAndDefaultPointer) {
    testsupport::FakeMsgBox caixa;
    const std::pair<const char*, const char*> idiomas[] = {
        {"P", "Catálogo ZORNAK"}, {"I", "ZORNAK Part List"}};
    for (const auto& [idioma, titulo] : idiomas) {
        EstadoPrograma.Idioma = idioma;
        vb::Screen().SetMousePointer(vb::vbHourglass);
        MostraErro(53, "File not found");
        EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
        EXPECT_EQ(caixa.Last().buttons, vb::vbCritical | vb::vbOKOnly);
        EXPECT_EQ(caixa.Last().title, titulo);
    }
    EXPECT_EQ(caixa.Boxes()[0].prompt, "Erro Nº: 53\r\nFile not found");
    EXPECT_EQ(caixa.Boxes()[1].prompt, "Err Nr.: 53\r\nFile not found");
    MostraErro(-7, "");
    EXPECT_EQ(caixa.Last().prompt, "Err Nr.: -7\r\n");
    EstadoPrograma.Idioma = "P";
}

// "Caminho.txt" beside the program names the data folder.
TEST_F(ArquivosTeste, DataFolderFollowsCaminhoTxt) {
    const std::string programa = PastaPrograma();
    const std::string dados = Raiz() + "/dados";
    const std::string real = std::filesystem::canonical(Raiz()).string();
    std::filesystem::create_directories(Raiz() + "/dados \xE7\xE3o");
    struct Caso { const char* nome; std::optional<std::string> conteudo; std::string esperado; };
    const Caso casos[] = {
        {"no file", std::nullopt, programa},
        {"no final slash", dados, dados + "/"},
        {"final slash kept", dados + "/", dados + "/"},
        {"CR LF stripped", dados + "\r\n", dados + "/"},
        {"LF stripped", dados + "/\n", dados + "/"},
        {"empty file ignored", std::string(), programa},
        {"only a line end ignored", std::string("\r\n"), programa},
        {"UTF-8 name", Raiz() + "/dados ção", Raiz() + "/dados ção/"},
        // A folder named in Latin-1 bytes is that folder; Latin-1 text naming no such folder
        // is read as the text it is.
        {"Latin-1 name of a folder", Raiz() + "/dados \xE7\xE3o", Raiz() + "/dados \xE7\xE3o/"},
        {"Latin-1 text of a UTF-8 name", Raiz() + "/outros \xE7\xE3o\r\n", Raiz() + "/outros ção/"},
        // Paths on the data folder refuse "..": the folder itself is resolved.
        {"up and back down", Raiz() + "/program/../dados", real + "/dados/"},
        {"up and back down, final slash", Raiz() + "/program/../dados/\n", real + "/dados/"},
    };
    for (const Caso& c : casos) {
        std::filesystem::remove(programa + "Caminho.txt");
        if (c.conteudo) Grava(programa + "Caminho.txt", *c.conteudo);
        const std::string pasta = ObtemCaminhoDados();
        EXPECT_EQ(pasta, c.esperado) << c.nome;
        // What the update installation does with a file of the server below it.
        EXPECT_EQ(ExtraiPastaArquivo(pasta + "Fotos\\novas-ci-.zip", false),
                  vb::Variant(pasta + "Fotos")) << c.nome;
    }
}

TEST_F(ArquivosTeste, WheelIsOffOnlyWhenNwTxtHoldsOne) {
    const std::string dados = Raiz() + "/";
    const std::pair<std::optional<std::string>, bool> casos[] = {
        {std::nullopt, true}, {"1", false}, {"1\r\n", false}, {"1\n", false},
        {"0", true}, {"", true}, {" 1", true}, {"11", true},
    };
    for (const auto& [conteudo, ativa] : casos) {
        std::filesystem::remove(dados + "NW.txt");
        if (conteudo) Grava(dados + "NW.txt", *conteudo);
        EXPECT_EQ(LeRodaMouseAtiva(dados), ativa) << (conteudo ? *conteudo : "<missing>");
    }
}

// A FIFO or a device where a small file should be ("Caminho.txt", "NW.txt", the settings
// file): it counts as missing, or its reading is refused, at once; never an open that waits
// for a writer nor a read without end.
TEST_F(ArquivosTeste, AFifoOrADeviceIsNoFileAndNeverHangs) {
    const std::string caminho = Raiz() + "/program/Caminho.txt";
    const std::string roda = Raiz() + "/program/NW.txt";
    const std::string configuracao = ObtemPastaConfiguracao(true) + ArquivoConfiguracao;
    for (const std::string& f : {caminho, roda, configuracao}) ASSERT_EQ(::mkfifo(f.c_str(), 0600), 0) << f;
    // Runs a call and fails the test when it waits; a waiting open is let go first, so
    // that the test itself never hangs.
    auto semEsperar = [&](const char* nome, const std::function<void()>& chamada) {
        auto futuro = std::async(std::launch::async, chamada);
        if (futuro.wait_for(std::chrono::seconds(20)) == std::future_status::ready) return futuro.get();
        ADD_FAILURE() << nome << " hung";
        for (const std::string& f : {caminho, roda, configuracao}) {
            const int fd = ::open(f.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
        futuro.wait();
    };
    semEsperar("ExisteArquivo", [&] { EXPECT_FALSE(ExisteArquivo(caminho)); });
    semEsperar("LeArquivo", [&] { EXPECT_EQ(NumeroErro([&] { LeArquivo(caminho); }), vb::err::PathFileAccessError); });
    semEsperar("LeArquivoTexto", [&] { EXPECT_EQ(NumeroErro([&] { LeArquivoTexto(caminho); }), vb::err::PathFileAccessError); });
    semEsperar("ObtemCaminhoDados", [&] { EXPECT_EQ(ObtemCaminhoDados(), Raiz() + "/program/"); });
    semEsperar("LeRodaMouseAtiva", [&] { EXPECT_TRUE(LeRodaMouseAtiva(Raiz() + "/program/")); });
    semEsperar("LeConfiguracao", [&] {
        EstadoPrograma.Idioma = "I";
        std::string usuario, senha;
        LeConfiguracao("IDIOMA_VERIFICACAOAUTOMATICA", usuario, senha);
        EXPECT_EQ(EstadoPrograma.Idioma, "P");
    });

    // A device: /dev/null reads as nothing, but it is no file either.
    const std::string dispositivo = Raiz() + "/dispositivo.txt";
    std::filesystem::create_symlink("/dev/null", dispositivo);
    EXPECT_FALSE(ExisteArquivo(dispositivo));
    EXPECT_EQ(NumeroErro([&] { LeArquivo(dispositivo); }), vb::err::PathFileAccessError);
}

// A file is read as long as it was when it was opened, in one go.
TEST_F(ArquivosTeste, AFileIsReadAsItWasWhenOpened) {
    const std::string arquivo = Raiz() + "/texto.txt";
    Grava(arquivo, std::string("a\0b\xff", 4));
    EXPECT_EQ(LeBytesArquivo(arquivo), std::string("a\0b\xff", 4));
    EXPECT_EQ(LeBytesArquivo(arquivo, 2), std::string("a\0", 2));
    EXPECT_EQ(LeArquivo(arquivo).size(), 5u);   // one character per byte: \xff is two bytes in UTF-8
    EXPECT_EQ(NumeroErro([&] { LeArquivo(Raiz() + "/falta.txt"); }), vb::err::FileNotFound);
    EXPECT_EQ(NumeroErro([&] { LeArquivo(Raiz()); }), vb::err::PathFileAccessError);
}

}  // namespace
