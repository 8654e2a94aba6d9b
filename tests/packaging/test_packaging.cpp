// The catalogue as a shop installs it: `cmake --install` into a temporary prefix lays out the
// program folder, the command, the desktop entry and the icon; the installed command starts
// the catalogue on the shared data folder that its Caminho.txt names; `cpack -G DEB` makes a
// package that declares what the programs need.
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

struct Resultado {
    int codigo = -1;
    std::string saida;
};

// Runs a program to its end and gives its exit code and its output (both channels).
Resultado Executa(const QString& programa, const QStringList& argumentos, int limiteMs = 120000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    Resultado r;
    if (!p.waitForStarted(20000)) {
        r.saida = "cannot start " + programa.toStdString() + ": " + p.errorString().toStdString();
        return r;
    }
    if (!p.waitForFinished(limiteMs)) {
        p.kill();
        p.waitForFinished(20000);
        r.saida = programa.toStdString() + " did not end";
        return r;
    }
    r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.saida = QString::fromUtf8(p.readAll()).toStdString();
    return r;
}

// The desktop entry's keys of its one group.
std::map<std::string, std::string> LeEntrada(const fs::path& caminho) {
    std::map<std::string, std::string> chaves;
    std::ifstream f(caminho);
    std::string linha;
    while (std::getline(f, linha)) {
        const std::size_t igual = linha.find('=');
        if (linha.empty() || linha[0] == '[' || linha[0] == '#' || igual == std::string::npos) continue;
        chaves[linha.substr(0, igual)] = linha.substr(igual + 1);
    }
    return chaves;
}

std::vector<std::string> TabelasCarrinho(const fs::path& dados) { return testsupport::TabelasCarrinhoEm(dados.string()); }

TEST(Instalacao, InstalledIntoAPrefixTheCommandStartsTheCatalogueOnTheSharedDataFolder) {
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    const fs::path base = fs::canonical(raiz.path().toStdString());
    const fs::path prefixo = base / "usr";
    const Resultado instalacao = Executa(ZK_CMAKE, {"--install", ZK_BUILD_DIR, "--prefix", QString::fromStdString(prefixo.string())});
    ASSERT_EQ(instalacao.codigo, 0) << instalacao.saida;

    // One program folder with the three programs; the command is a link to the catalogue.
    const fs::path pasta = prefixo / "lib" / "catalogo-zornak";
    for (const char* programa : {"CatalogoZORNAK", "VerifAtualizCatalogoZORNAK", "CallCatalogoZORNAK"}) {
        SCOPED_TRACE(programa);
        ASSERT_TRUE(fs::is_regular_file(pasta / programa));
        EXPECT_NE(fs::status(pasta / programa).permissions() & fs::perms::others_exec, fs::perms::none);
    }
    const fs::path comando = prefixo / "bin" / "catalogo-zornak";
    ASSERT_TRUE(fs::is_symlink(comando));
    EXPECT_EQ(fs::canonical(comando), pasta / "CatalogoZORNAK");
    // The shop's setting lives under etc, named from the program folder; empty at first.
    const fs::path caminho = prefixo / "etc" / "catalogo-zornak" / "Caminho.txt";
    ASSERT_TRUE(fs::is_symlink(pasta / "Caminho.txt"));
    EXPECT_EQ(fs::read_symlink(pasta / "Caminho.txt"), caminho);
    EXPECT_EQ(LeTudo(caminho), "");
    // No demo data unless asked for.
    EXPECT_FALSE(fs::exists(prefixo / "share" / "catalogo-zornak"));

    // The desktop entry: valid, named in the three languages, starting the command.
    const fs::path entrada = prefixo / "share" / "applications" / "catalogo-zornak.desktop";
    ASSERT_TRUE(fs::is_regular_file(entrada));
    const Resultado validacao = Executa("desktop-file-validate", {QString::fromStdString(entrada.string())});
    EXPECT_EQ(validacao.codigo, 0) << validacao.saida;
    EXPECT_EQ(validacao.saida, "");
    std::map<std::string, std::string> chaves = LeEntrada(entrada);
    EXPECT_EQ(chaves["Type"], "Application");
    EXPECT_EQ(chaves["Exec"], "catalogo-zornak");
    EXPECT_EQ(chaves["Icon"], "catalogo-zornak");
    EXPECT_EQ(chaves["Name[pt]"], "Catálogo ZORNAK");
    EXPECT_EQ(chaves["Name[es]"], "Catálogo ZORNAK");
    EXPECT_EQ(chaves["Name[en]"], "ZORNAK Part List");
    EXPECT_EQ(chaves["Terminal"], "false");

    // The icon in the theme's sizes, square, with its corners transparent.
    for (int tamanho : {48, 64, 128, 256}) {
        SCOPED_TRACE(tamanho);
        const fs::path icone = prefixo / "share" / "icons" / "hicolor" /
                               (std::to_string(tamanho) + "x" + std::to_string(tamanho)) / "apps" / "catalogo-zornak.png";
        QImage imagem;
        ASSERT_TRUE(imagem.load(QString::fromStdString(icone.string())));
        EXPECT_EQ(imagem.size(), QSize(tamanho, tamanho));
        EXPECT_EQ(qAlpha(imagem.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(imagem.pixel(tamanho / 2, tamanho / 2)), 255);
    }

    // The shop names its shared data folder once; the command starts the catalogue there.
    const fs::path dados = base / "compartilhada";
    fs::create_directories(dados);
    fs::create_directories(base / "cfg");
    for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"})
        fs::copy_file(fs::path(ZK_DEMO_DATA) / arquivo, dados / arquivo);
    std::ofstream(caminho, std::ios::binary | std::ios::trunc) << dados.string();

    QProcess catalogo;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    ambiente.insert("XDG_CONFIG_HOME", QString::fromStdString((base / "cfg").string()));
    ambiente.insert("ZK_MSGBOX", "stderr");
    catalogo.setProcessEnvironment(ambiente);
    catalogo.start(QString::fromStdString(comando.string()), {});
    ASSERT_TRUE(catalogo.waitForStarted(30000));
    for (int i = 0; i < 1200 && TabelasCarrinho(dados).empty(); ++i) {
        ASSERT_EQ(catalogo.state(), QProcess::Running) << catalogo.readAllStandardError().toStdString();
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(TabelasCarrinho(dados).size(), 1u) << "the catalogue did not open the shared data folder";
    // The program file that runs is the one in the program folder.
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(catalogo.processId()) + "/exe"), pasta / "CatalogoZORNAK");
    std::this_thread::sleep_for(1000ms);
    ASSERT_EQ(::kill(static_cast<pid_t>(catalogo.processId()), SIGTERM), 0);
    ASSERT_TRUE(catalogo.waitForFinished(60000));
    EXPECT_EQ(catalogo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(catalogo.exitCode(), 0);
    EXPECT_TRUE(TabelasCarrinho(dados).empty());
    const std::string erros = catalogo.readAllStandardError().toStdString();
    EXPECT_EQ(erros.find("Erro N"), std::string::npos) << erros;
}

// The package is made from the same install rules (about 20 s: the programs are stripped and
// their libraries looked up).
TEST(Instalacao, TheDebianPackageDeclaresWhatTheProgramsNeed) {
    QTemporaryDir raiz;
    ASSERT_TRUE(raiz.isValid());
    const Resultado pacote = Executa(ZK_CPACK, {"--config", QString(ZK_BUILD_DIR) + "/CPackConfig.cmake", "-G", "DEB",
                                                "-B", raiz.path()}, 300000);
    ASSERT_EQ(pacote.codigo, 0) << pacote.saida;
    std::vector<fs::path> debs;
    for (const auto& e : fs::directory_iterator(raiz.path().toStdString()))
        if (e.path().extension() == ".deb") debs.push_back(e.path());
    ASSERT_EQ(debs.size(), 1u) << pacote.saida;
    const QString deb = QString::fromStdString(debs[0].string());

    const Resultado depende = Executa("dpkg-deb", {"-f", deb, "Depends"});
    ASSERT_EQ(depende.codigo, 0) << depende.saida;
    for (const char* pacoteDebian : {"libqt6widgets6", "libqt6printsupport6", "libqt6gui6", "libsqlcipher0", "libcurl4",
                                     "libzip4", "fonts-liberation2", "xdg-utils", "qt6-translations-l10n"})
        EXPECT_NE(depende.saida.find(pacoteDebian), std::string::npos) << pacoteDebian << " in: " << depende.saida;
    EXPECT_EQ(Executa("dpkg-deb", {"-f", deb, "Package"}).saida, "catalogo-zornak\n");

    const Resultado conteudo = Executa("dpkg-deb", {"-c", deb});
    ASSERT_EQ(conteudo.codigo, 0) << conteudo.saida;
    for (const char* arquivo : {"./usr/lib/catalogo-zornak/CatalogoZORNAK", "./usr/lib/catalogo-zornak/VerifAtualizCatalogoZORNAK",
                                "./usr/lib/catalogo-zornak/CallCatalogoZORNAK",
                                "./usr/lib/catalogo-zornak/Caminho.txt -> /etc/catalogo-zornak/Caminho.txt",
                                "./usr/bin/catalogo-zornak -> ../lib/catalogo-zornak/CatalogoZORNAK",
                                "./etc/catalogo-zornak/Caminho.txt", "./usr/share/applications/catalogo-zornak.desktop",
                                "./usr/share/icons/hicolor/256x256/apps/catalogo-zornak.png"})
        EXPECT_NE(conteudo.saida.find(arquivo), std::string::npos) << arquivo << " in:\n" << conteudo.saida;
    // The shop's setting survives upgrades and removal.
    const Resultado conffiles = Executa("dpkg-deb", {"-I", deb, "conffiles"});
    EXPECT_EQ(conffiles.saida, "/etc/catalogo-zornak/Caminho.txt\n");
}

}  // namespace
