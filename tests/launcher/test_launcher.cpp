// The restart launcher as the catalogue meets it: a copy of it in a program folder of its own,
// beside a stand-in catalogue (a script that writes a mark), started with a process id.
#include "catalog/launcher/Lancador.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void Grava(const fs::path& caminho, const std::string& texto) {
    std::ofstream f(caminho, std::ios::binary | std::ios::trunc);
    f << texto;
}

// A program folder (named `nome`, any bytes) with the launcher and a stand-in catalogue that
// writes its arguments into "marca" beside the folder, once it has run.
class Lancador : public ::testing::Test {
protected:
    void PreparaPasta(const std::string& nome = "prog", bool comCatalogo = true) {
        raiz_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(raiz_->isValid());
        base_ = raiz_->path().toStdString();
        pasta_ = base_ + "/" + nome;
        fs::create_directories(pasta_);
        fs::create_directories(base_ + "/cfg");
        std::error_code ec;
        fs::create_hard_link(ZK_LANCADOR, pasta_ + "/CallCatalogoZORNAK", ec);
        if (ec) fs::copy_file(ZK_LANCADOR, pasta_ + "/CallCatalogoZORNAK");
        programa_ = pasta_ + "/CallCatalogoZORNAK";
        if (comCatalogo) {
            Grava(pasta_ + "/CatalogoZORNAK", "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$*\" > '" + base_ +
                                                   "/marca.tmp' && mv '" + base_ + "/marca.tmp' '" + base_ + "/marca'\n");
            fs::permissions(pasta_ + "/CatalogoZORNAK", fs::perms::owner_all);
        }
    }
    void Idioma(const std::string& linha) {
        fs::create_directories(base_ + "/cfg/VelmoSistemas");
        Grava(base_ + "/cfg/VelmoSistemas/CatalogoZORNAKConfig.txt", linha);
    }

    // Runs the launcher with the arguments and waits for its end.
    void Roda(const QStringList& argumentos, int esperaMs = 0) {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        ambiente.insert("ZK_MSGBOX", "stderr");
        ambiente.insert("XDG_CONFIG_HOME", QString::fromStdString(base_ + "/cfg"));
        if (esperaMs > 0) ambiente.insert("ZK_ESPERA_LANCADOR", QString::number(esperaMs));
        lancador_.setProcessEnvironment(ambiente);
        lancador_.start(QString::fromStdString(programa_), argumentos);
        ASSERT_TRUE(lancador_.waitForStarted(20000));
    }
    void Termina() {
        ASSERT_TRUE(lancador_.waitForFinished(90000)) << "the launcher did not end";
        saida_ = QString::fromUtf8(lancador_.readAllStandardError()).toStdString();
    }
    // The stand-in catalogue's mark, once it is there (or "" after a few seconds).
    std::string Marca(std::chrono::milliseconds limite = 10s) {
        const auto fim = std::chrono::steady_clock::now() + limite;
        while (!fs::exists(base_ + "/marca") && std::chrono::steady_clock::now() < fim) std::this_thread::sleep_for(20ms);
        return LeTudo(base_ + "/marca");
    }

    std::unique_ptr<QTemporaryDir> raiz_;
    std::string base_, pasta_, programa_;
    QProcess lancador_;
    std::string saida_;
};

// A process of the test's own that runs until it is ended.
struct Dormente {
    Dormente() {
        processo.start("sleep", {"300"});
        processo.waitForStarted(20000);
    }
    ~Dormente() {
        processo.kill();
        processo.waitForFinished(20000);
    }
    QString Id() const { return QString::number(processo.processId()); }
    QProcess processo;
};

TEST_F(Lancador, WaitsForTheCatalogueToEndThenStartsTheOneBesideIt) {
    ASSERT_NO_FATAL_FAILURE(PreparaPasta());
    Dormente catalogo;
    ASSERT_NO_FATAL_FAILURE(Roda({catalogo.Id()}));
    EXPECT_EQ(Marca(1500ms), "") << "started while the old catalogue still ran";
    EXPECT_EQ(lancador_.state(), QProcess::Running);
    catalogo.processo.kill();
    ASSERT_TRUE(catalogo.processo.waitForFinished(20000));
    ASSERT_NO_FATAL_FAILURE(Termina());
    EXPECT_EQ(lancador_.exitCode(), 0) << saida_;
    EXPECT_EQ(Marca(), "0|") << "the catalogue starts without arguments";
    EXPECT_EQ(saida_, "");
}

// The ending catalogue is the child of whoever started it, and stays a zombie until that
// parent takes its end: it has ended all the same, and the launcher does not wait for it.
TEST_F(Lancador, AnEndedCatalogueItsParentHasNotReapedCountsAsEnded) {
    ASSERT_NO_FATAL_FAILURE(PreparaPasta());
    const pid_t filho = ::fork();
    if (filho == 0) ::_exit(0);
    ASSERT_GT(filho, 0);
    std::this_thread::sleep_for(200ms);
    const auto inicio = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(Roda({QString::number(filho)}));
    ASSERT_NO_FATAL_FAILURE(Termina());
    EXPECT_LT(std::chrono::steady_clock::now() - inicio, 20s);
    EXPECT_EQ(lancador_.exitCode(), 0) << saida_;
    EXPECT_EQ(Marca(), "0|");
    ::waitpid(filho, nullptr, 0);
}

// The program folder's name is bytes that are no UTF-8 (Latin-1): the catalogue starts the
// launcher through a link of a name it can carry, and the catalogue beside the launcher's file
// is still found and started.
TEST_F(Lancador, StartsTheCatalogueFromAFolderWhoseNameIsNoUtf8) {
    ASSERT_NO_FATAL_FAILURE(PreparaPasta("Cat\xE1logo \xE7"));
    programa_ = base_ + "/ligacao";
    fs::create_symlink(pasta_ + "/CallCatalogoZORNAK", programa_);
    const pid_t filho = ::fork();
    if (filho == 0) ::_exit(0);
    ::waitpid(filho, nullptr, 0);
    ASSERT_NO_FATAL_FAILURE(Roda({QString::number(filho)}));
    ASSERT_NO_FATAL_FAILURE(Termina());
    EXPECT_EQ(lancador_.exitCode(), 0) << saida_;
    EXPECT_EQ(Marca(), "0|");
}

// When it cannot do its work the launcher tells the user, in the language of the user's
// settings, and starts nothing.
TEST_F(Lancador, TellsTheUserWhenTheWaitRunsOutOrTheCatalogueCannotStart) {
    struct Caso {
        const char* nome;
        const char* configuracao;   // nullptr: no settings file
        bool espera;                // the old catalogue never ends (else it has ended)
        int catalogo;               // 0 missing, 1 not executable, 2 a folder, 3 there
        const char* texto;
    } casos[] = {
        {"the wait runs out, Portuguese", "P|1||", true, 3,
         "O Catálogo ZORNAK não terminou em 60 segundos e não foi aberto novamente após a atualização."},
        {"the wait runs out, Spanish", "E|0||", true, 3,
         "El Catálogo ZORNAK no terminó en 60 segundos y no se abrió de nuevo después de la actualización."},
        {"the wait runs out, English", " i |1", true, 3,
         "The ZORNAK Part List did not end within 60 seconds and was not opened again after the update."},
        {"no catalogue, no settings", nullptr, false, 0,
         "Não foi possível abrir novamente o Catálogo ZORNAK após a atualização."},
        {"no catalogue, a language the program does not know", "X|1||", false, 0,
         "Não foi possível abrir novamente o Catálogo ZORNAK após a atualização."},
        {"a catalogue that may not be run, English", "I|1||", false, 1,
         "The ZORNAK Part List could not be opened again after the update."},
        {"a folder where the catalogue should be, Spanish", "E|1||", false, 2,
         "No fue posible abrir de nuevo el Catálogo ZORNAK después de la actualización."},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ASSERT_NO_FATAL_FAILURE(PreparaPasta("prog", c.catalogo == 1 || c.catalogo == 3));
        if (c.catalogo == 1) fs::permissions(pasta_ + "/CatalogoZORNAK", fs::perms::owner_read | fs::perms::owner_write);
        if (c.catalogo == 2) fs::create_directory(pasta_ + "/CatalogoZORNAK");
        if (c.configuracao) Idioma(c.configuracao);
        Dormente velho;
        QString id = velho.Id();
        if (!c.espera) {
            velho.processo.kill();
            velho.processo.waitForFinished(20000);
        }
        ASSERT_NO_FATAL_FAILURE(Roda({id}, 600));
        ASSERT_NO_FATAL_FAILURE(Termina());
        EXPECT_EQ(lancador_.exitCode(), 1);
        // The box: the program's title in that language, then the text.
        EXPECT_NE(saida_.find(c.texto), std::string::npos) << saida_;
        if (!c.espera) {
            EXPECT_NE(saida_.find(pasta_ + "/CatalogoZORNAK: "), std::string::npos) << saida_;
        }
        EXPECT_FALSE(fs::exists(base_ + "/marca"));
    }
}

TEST_F(Lancador, RefusesArgumentsThatAreNoProcessId) {
    ASSERT_NO_FATAL_FAILURE(PreparaPasta());
    const QStringList casos[] = {{}, {""}, {"abc"}, {"-5"}, {"0"}, {"12x"}, {" 12"}, {"12", "13"}, {"99999999999"}};
    for (const QStringList& argumentos : casos) {
        SCOPED_TRACE(argumentos.join(',').toStdString());
        ASSERT_NO_FATAL_FAILURE(Roda(argumentos));
        ASSERT_NO_FATAL_FAILURE(Termina());
        EXPECT_EQ(lancador_.exitCode(), 2);
        EXPECT_NE(saida_.find("usage: CallCatalogoZORNAK"), std::string::npos) << saida_;
    }
    EXPECT_EQ(Marca(500ms), "") << "nothing is started on such a call";
}

}  // namespace
