// An update whose script asks for a restart, installed by the real catalogue in a process of
// its own from a program folder that holds the three programs: the automatic check finds the
// new version on a local server, the user's "yes" is the boxes' first button, and after the
// success message the catalogue ends and the launcher starts it again on the updated data.
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/dao/Dao.h"
#include "tests/support/ProgramaDemo.h"
#include "tests/support/ServidorHttpTeste.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ServidorHttpTeste;

namespace {

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The processes running the program file `programa` now, by id.
std::vector<long> ProcessosDoPrograma(const fs::path& programa) {
    std::vector<long> ids;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
        const std::string nome = e.path().filename().string();
        if (nome.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code ec2;
        const fs::path exe = fs::read_symlink(e.path() / "exe", ec2);
        if (ec2 || exe != programa) continue;
        // A process that has ended and waits for its parent runs no more.
        std::ifstream estado(e.path() / "stat");
        std::string linha;
        std::getline(estado, linha);
        const std::size_t fecha = linha.rfind(')');
        if (fecha != std::string::npos && fecha + 2 < linha.size() && linha[fecha + 2] == 'Z') continue;
        ids.push_back(std::stol(nome));
    }
    return ids;
}

class ReinicioAposAtualizacao : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char nome[] = "test_install_reinicio";
        static char* argv[] = {nome, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }

    void SetUp() override {
        ASSERT_TRUE(raiz_.isValid());
        base_ = fs::canonical(raiz_.path().toStdString());
        for (const char* p : {"prog", "cfg", "dados"}) fs::create_directories(base_ / p);
        for (const char* programa : {ZK_PROGRAMA, ZK_VERIFICADOR, ZK_LANCADOR}) {
            const fs::path destino = base_ / "prog" / fs::path(programa).filename();
            std::error_code ec;
            fs::create_hard_link(programa, destino, ec);
            if (ec) fs::copy_file(programa, destino);
        }
        for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02", "cnpop.txt"})
            fs::copy_file(fs::path(ZK_DEMO_DATA) / arquivo, base_ / "dados" / arquivo);
        std::ofstream(base_ / "prog" / "Caminho.txt", std::ios::binary) << (base_ / "dados").string();

        servidor_ = std::make_unique<ServidorHttpTeste>([this](const ServidorHttpTeste::Pedido& p) {
            const std::string objeto = p.Objeto();
            std::lock_guard<std::mutex> trava(mutex_);
            pedidos_.push_back(objeto);
            const auto it = arquivos_.find(objeto);
            if (it == arquivos_.end()) return ServidorHttpTeste::Resposta(404, "not here");
            return ServidorHttpTeste::Resposta(200, it->second);
        });
        // Version 27 installed, never checked: the automatic check is due at its first tick.
        EstadoPrograma.CaminhoDados = (base_ / "dados").string() + "/";
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, "PreparaTeste", db, false);
        db.Execute("UPDATE UMREGISTRO SET UrlAtualizacao='http://127.0.0.1:" + std::to_string(servidor_->Porta()) +
                       "/catalogo', Versao=27, DataUltimaVerificacao=Null",
                   dao::dbFailOnError);
        FechaBanco(ws, db);
    }

    void TearDown() override {
        // Whatever still runs from this program folder goes with the test.
        for (long id : ProcessosDoPrograma(base_ / "prog" / "CatalogoZORNAK")) ::kill(static_cast<pid_t>(id), SIGKILL);
        if (catalogo_.state() != QProcess::NotRunning) {
            catalogo_.kill();
            catalogo_.waitForFinished(20000);
        }
        servidor_.reset();
    }

    void Serve(const std::string& nome, const std::string& corpo) {
        std::lock_guard<std::mutex> trava(mutex_);
        arquivos_["/catalogo/" + nome] = corpo;
    }

    // A value read through a connection of this process, opened afresh.
    std::string Valor(const std::string& sql) {
        dao::Workspace ws;
        dao::Database db;
        AbreBancoCatalogo(ws, "Confere", db, true);
        dao::Recordset rs = db.OpenRecordset(sql, dao::dbOpenSnapshot);
        const std::string v = rs.Eof() ? std::string("(none)") : rs.Fields(0).Value().ToString();
        rs.Close();
        FechaBanco(ws, db);
        return v;
    }

    std::vector<std::string> TabelasCarrinho() { return testsupport::TabelasCarrinhoEm((base_ / "dados").string()); }

    QTemporaryDir raiz_;
    fs::path base_;
    std::unique_ptr<ServidorHttpTeste> servidor_;
    std::mutex mutex_;
    std::map<std::string, std::string> arquivos_;
    std::vector<std::string> pedidos_;
    QProcess catalogo_;
};

TEST_F(ReinicioAposAtualizacao, TheCatalogueEndsAfterTheSuccessMessageAndStartsAgainOnTheNewVersion) {
    const std::string script = "E:CREATE TABLE REINICIO (a Long)\r\nR:";
    Serve("Vers2.asp", "28");
    Serve("ListVersao28.txt", "SDB;script28.sql;" + std::to_string(script.size()) + "\r\n");
    Serve("script28.sql", script);

    // Standard error goes to a file that the launcher and the restarted catalogue inherit.
    const fs::path saida = base_ / "saida.txt";
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("QT_QPA_PLATFORM", "offscreen");
    ambiente.insert("XDG_CONFIG_HOME", QString::fromStdString((base_ / "cfg").string()));
    ambiente.insert("ZK_MSGBOX", "stderr");
    catalogo_.setProcessEnvironment(ambiente);
    catalogo_.setStandardErrorFile(QString::fromStdString(saida.string()));
    const fs::path programa = base_ / "prog" / "CatalogoZORNAK";
    catalogo_.start(QString::fromStdString(programa.string()), {});
    ASSERT_TRUE(catalogo_.waitForStarted(30000));
    const long primeiro = static_cast<long>(catalogo_.processId());

    // The first automatic check comes 20 s after the window; then the check under the lock,
    // the installation, the success message and the end.
    ASSERT_TRUE(catalogo_.waitForFinished(120000)) << LeTudo(saida);
    EXPECT_EQ(catalogo_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(catalogo_.exitCode(), 0) << LeTudo(saida);

    // The restarted catalogue: another process of the same program file, which opens the
    // data folder and makes its cart table there (the first one dropped its own).
    std::vector<long> novos;
    const auto limite = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < limite) {
        novos = ProcessosDoPrograma(programa);
        if (!novos.empty() && TabelasCarrinho().size() == 1) break;
        std::this_thread::sleep_for(100ms);
    }
    const std::string texto = LeTudo(saida);
    ASSERT_EQ(novos.size(), 1u) << "the catalogue was not started again\n" << texto;
    EXPECT_NE(novos[0], primeiro);
    ASSERT_EQ(TabelasCarrinho().size(), 1u) << texto;

    // The boxes, in order: the offer, the success; nothing after it, no error.
    const std::size_t oferta = texto.find(Traduz(66, "P"));
    const std::size_t sucesso = texto.find(Traduz(72, "P") + ".");
    EXPECT_NE(oferta, std::string::npos) << texto;
    ASSERT_NE(sucesso, std::string::npos) << texto;
    EXPECT_LT(oferta, sucesso);
    EXPECT_EQ(texto.find("Erro N"), std::string::npos) << texto;
    EXPECT_EQ(texto.find("CallCatalogoZORNAK"), std::string::npos) << texto;

    // The data the new process opened are the new version's.
    EXPECT_EQ(Valor("SELECT Versao FROM UMREGISTRO"), "28");
    EXPECT_EQ(Valor("SELECT Count(*) FROM REINICIO"), "0");

    // Ended by the system as at log-out: it drops its cart table and goes.
    ASSERT_EQ(::kill(static_cast<pid_t>(novos[0]), SIGTERM), 0);
    const auto fim = std::chrono::steady_clock::now() + 60s;
    while (!ProcessosDoPrograma(programa).empty() && std::chrono::steady_clock::now() < fim)
        std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(ProcessosDoPrograma(programa).empty());
    EXPECT_TRUE(TabelasCarrinho().empty());
}

}  // namespace
