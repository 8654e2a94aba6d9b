// Screen 6 of the auxiliary window, opened as the main window opens it after an accepted
// update: the run, its boxes, the answer in RequisicaoTela and the window closing itself.
#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "common/modInternet.h"
#include "common/modTraducao.h"
#include "platform/dao/FaultVfs.h"
#include "platform/vb/MsgBox.h"
#include "tests/aux_window/Ambiente.h"
#include "tests/support/ServidorHttpTeste.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace {

namespace fs = std::filesystem;
using testsupport::ServidorHttpTeste;

std::string LeTudo(const fs::path& caminho) {
    std::ifstream f(caminho, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// An archive's bytes, its entries in the order given.
std::string CriaZip(const std::vector<std::pair<std::string, std::string>>& entradas) {
    QTemporaryDir trabalho;
    const std::string caminho = trabalho.path().toStdString() + "/montado.zip";
    int erro = 0;
    zip_t* z = zip_open(caminho.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    EXPECT_NE(z, nullptr);
    for (const auto& [nome, conteudo] : entradas) {
        zip_source_t* s = zip_source_buffer(z, conteudo.data(), conteudo.size(), 0);
        EXPECT_GE(zip_file_add(z, nome.c_str(), s, 0), 0) << nome;
    }
    EXPECT_EQ(zip_close(z), 0);
    return LeTudo(caminho);
}

class TelaAtualizacao : public auxteste::JanelaAuxiliarTeste {
protected:
    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        servidor_ = std::make_unique<ServidorHttpTeste>([this](const ServidorHttpTeste::Pedido& p,
                                                               ServidorHttpTeste::Conexao& c) {
            const std::string objeto = p.linha.substr(4, p.linha.rfind(' ') - 4);
            std::function<void(ServidorHttpTeste::Conexao&)> especial;
            std::string resposta;
            {
                std::lock_guard<std::mutex> trava(mutex_);
                const auto e = especiais_.find(objeto);
                const auto it = arquivos_.find(objeto);
                if (e != especiais_.end()) especial = e->second;
                else resposta = it == arquivos_.end() ? ServidorHttpTeste::Resposta(404, "not here")
                                                      : ServidorHttpTeste::Resposta(200, it->second);
            }
            if (especial) especial(c);
            else c.Envia(resposta);
        });
        AtualizacoesDoServidor(servidor_->Porta());
    }
    void TearDown() override {
        JanelaAuxiliarTeste::TearDown();
        servidor_.reset();
    }
    void Serve(const std::string& nome, const std::string& corpo) {
        std::lock_guard<std::mutex> trava(mutex_);
        arquivos_["/cat/" + nome] = corpo;
    }
    // A server that misbehaves on this file: the handler plays the reply.
    void ServeComo(const std::string& nome, std::function<void(ServidorHttpTeste::Conexao&)> responde) {
        std::lock_guard<std::mutex> trava(mutex_);
        especiais_["/cat/" + nome] = std::move(responde);
    }
    // The texts of the screen's labels.
    std::vector<std::string> TextosTela() {
        std::vector<std::string> textos;
        for (QLabel* l : (*J().pctTela)(6).ContainerWidget()->findChildren<QLabel*>())
            textos.push_back(l->text().toStdString());
        return textos;
    }
    long Versao() { return ObtemValorSQL("SELECT Versao FROM UMREGISTRO", vb::Variant()).ToLong(); }
    // The percentage a step row shows (0 before the step, "0 %").
    double Percentual(int passo) {
        const QLabel* l = (*J().pctTela)(6).ContainerWidget()->findChild<QLabel*>(
            QString("lblNumAtualizacao(%1)").arg(passo));
        if (!l) return -1;
        return l->text().section(' ', 0, 0).replace(',', '.').toDouble();
    }
    // The files of a folder of the data folder and what each holds.
    std::map<std::string, std::string> Arquivos(const std::string& pasta) {
        std::map<std::string, std::string> r;
        for (const auto& e : fs::directory_iterator(EstadoPrograma.CaminhoDados + pasta))
            r[e.path().filename().string()] = LeTudo(e.path());
        return r;
    }

    std::unique_ptr<ServidorHttpTeste> servidor_;
    std::mutex mutex_;
    std::map<std::string, std::string> arquivos_;
    std::map<std::string, std::function<void(ServidorHttpTeste::Conexao&)>> especiais_;
};

TEST_F(TelaAtualizacao, InstalaRespondeEFecha) {
    Serve("ListVersao28.txt", "DAT;leia.txt;3\r\n");
    Serve("leia.txt", "abc");
    // The window closes by itself soon after it reports the result, so what the screen
    // shows is read while the result box is up.
    bool voltarVisivel = true;
    std::vector<std::string> textos;
    caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
        voltarVisivel = J().lblVoltar->Visible();
        textos = TextosTela();
    });
    Abre("6|27|28");
    caixas_.OnBox(nullptr);  // its captures end with this test
    // The installation ran inside the screen's showing; the window closes after it.
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "10");
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().prompt, Traduz(72) + ".");
    EXPECT_EQ(caixas_.Last().buttons, vb::vbInformation);
    EXPECT_FALSE(voltarVisivel);
    for (long m : {73, 74, 75, 76})
        EXPECT_NE(std::find(textos.begin(), textos.end(), vb::UCase(Traduz(m))), textos.end()) << m;
    // Every step ended full.
    EXPECT_EQ(std::count_if(textos.begin(), textos.end(),
                            [](const std::string& t) { return t.rfind("100", 0) == 0 && t.ends_with(" %"); }),
              4);
    EXPECT_EQ(Versao(), 28);
    EXPECT_TRUE(auxteste::Espera([this] { return !J().IsLoaded(); }));
}

TEST_F(TelaAtualizacao, FalhaMostraOErroERespondeZeroZero) {
    Serve("ListVersao28.txt", "DAT;falta.txt;3\r\n");
    Abre("6|27|28");
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "00");
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().prompt.rfind(Traduz(1) + ": -104\r\n", 0), 0u) << caixas_.Last().prompt;
    EXPECT_EQ(caixas_.Last().buttons, vb::vbCritical);
    EXPECT_EQ(Versao(), 27);
    EXPECT_TRUE(auxteste::Espera([this] { return !J().IsLoaded(); }));
}

// Under the update lock, as the main window installs, the disk fills when the update is
// committed: the run fails as every failure does (the error box, "00"), the success box never
// shows, nothing of the script or the version stays, and the lock, gone with the transaction,
// releases at once.
TEST_F(TelaAtualizacao, UmDiscoCheioAoGravarAAtualizacaoEUmaFalhaRelatada) {
    Serve("ListVersao28.txt", "SDB;script28.sql;10\r\n");
    Serve("script28.sql", "E:CREATE TABLE NOVA_TABELA (a Long)\r\nE:INSERT INTO NOVA_TABELA (a) VALUES (1)");
    ASSERT_TRUE(BloqueiaAtualizacao(true));
    const std::string catalogo = EstadoPrograma.CaminhoDados + ArquivoBancoCatalogo;
    dao::SetFileFaultForTesting(catalogo, dao::FileFault::FullDisk);
    // There is room again by the time the user has read the box.
    caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) { dao::SetFileFaultForTesting(catalogo, dao::FileFault::None); });
    Abre("6|27|28");
    caixas_.OnBox(nullptr);
    dao::SetFileFaultForTesting(catalogo, dao::FileFault::None);
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "00");
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().prompt.rfind(Traduz(1) + ": " + std::to_string(dao::jet::DiskFull) + "\r\n", 0), 0u)
        << caixas_.Last().prompt;
    EXPECT_EQ(caixas_.Last().buttons, vb::vbCritical);
    EXPECT_TRUE(BloqueiaAtualizacao(false));
    EXPECT_TRUE(EstadoPrograma.WsBloqueio.IsNothing());
    EXPECT_EQ(Versao(), 27);
    for (const dao::TableDef& t : EstadoPrograma.DbCatalogo.TableDefs()) EXPECT_NE(t.Name, "NOVA_TABELA");
}

// Every wait for the server lets the window run and paint, not only the reading of a body
// that flows: a server that accepts and never answers, and one that trickles a byte now and
// then. Both end as the time-out (shortened here), the trickle long before it would be done.
TEST_F(TelaAtualizacao, AsEsperasPelaRedeDeixamAJanelaPintarEAcabamNoTempoLimite) {
    using Conexao = ServidorHttpTeste::Conexao;
    struct Caso {
        const char* nome;
        std::function<void(Conexao&)> lista;   // empty: the list is served whole
        std::function<void(Conexao&)> arquivo;
        std::string falha;                      // the end of the error box's text
    };
    const std::vector<Caso> casos = {
        {"a server that never answers", [](Conexao& c) { c.Espera(std::chrono::seconds(30)); }, nullptr,
         "HttpSendRequest:12002"},
        {"a body that trickles", nullptr,
         [](Conexao& c) {
             if (c.Envia("HTTP/1.0 200 OK\r\nContent-Length: 40\r\nConnection: close\r\n\r\n"))
                 c.Goteja(std::string(40, 'x'), std::chrono::milliseconds(200));
         },
         "InternetReadFile:12002;-105;Ret=0"},
    };
    DefineTempoLimiteInternet(1000);
    // From the moment the misbehaving reply starts: paint events of every window, and the
    // ticks of a timer that asks the shown windows to repaint.
    std::atomic<bool> esperando = false;
    struct ContaPinturas : QObject {
        explicit ContaPinturas(std::atomic<bool>& e) : esperando(e) {}
        std::atomic<bool>& esperando;
        int pinturas = 0;
        bool eventFilter(QObject* o, QEvent* e) override {
            // One count per window repainted, not per control in it.
            if (e->type() == QEvent::Paint && esperando && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
                ++pinturas;
            return false;
        }
    } contador(esperando);
    qApp->installEventFilter(&contador);
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        {
            std::lock_guard<std::mutex> trava(mutex_);
            especiais_.clear();
        }
        Serve("ListVersao28.txt", "DAT;leia.txt;40\r\n");
        auto marcaEspera = [&esperando](std::function<void(Conexao&)> responde) {
            return [&esperando, responde](Conexao& conexao) {
                esperando = true;
                responde(conexao);
            };
        };
        if (c.lista) ServeComo("ListVersao28.txt", marcaEspera(c.lista));
        if (c.arquivo) ServeComo("leia.txt", marcaEspera(c.arquivo));
        esperando = false;
        int ticks = 0;
        QTimer relogio;
        relogio.setInterval(50);
        QObject::connect(&relogio, &QTimer::timeout, [&] {
            if (!esperando) return;
            ++ticks;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible()) w->update();
        });
        // Counted when the run reports its end, so only the waits of the run count.
        int ticksNaFalha = -1;
        int pinturasNaFalha = -1;
        caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
            ticksNaFalha = ticks;
            pinturasNaFalha = contador.pinturas;
        });
        caixas_.Clear();
        relogio.start();
        contador.pinturas = 0;
        Abre("6|27|28");
        relogio.stop();
        caixas_.OnBox(nullptr);

        EXPECT_EQ(EstadoPrograma.RequisicaoTela, "00");
        ASSERT_EQ(caixas_.Count(), 1u);
        EXPECT_EQ(caixas_.Last().prompt.rfind(Traduz(1) + ": -104\r\n", 0), 0u) << caixas_.Last().prompt;
        EXPECT_TRUE(caixas_.Last().prompt.ends_with(c.falha)) << caixas_.Last().prompt;
        // About a second or two of waiting at 50 ms a tick.
        EXPECT_GE(ticksNaFalha, 10);
        EXPECT_GE(pinturasNaFalha, 5);
        EXPECT_EQ(Versao(), 27);
        EXPECT_TRUE(auxteste::Espera([this] { return !J().IsLoaded(); }));
    }
    qApp->removeEventFilter(&contador);
}

// A large picture update: hundreds of new pictures listed for a picture folder that already
// holds thousands. While the listed names are checked (step 1, its bar standing at the end of
// the lists) and while the files are put in place (step 3), the window's events run: a timer
// of the application ticks, and the window repaints when asked, between the names as between
// the blocks of a download.
TEST_F(TelaAtualizacao, AVerificacaoEAColocacaoDeMuitosArquivosDeixamAJanelaCorrer) {
    const int existentes = 3000, novos = 500;
    const std::string dados = EstadoPrograma.CaminhoDados;
    fs::create_directories(dados + "Fotos");
    char nome[64];
    for (int i = 0; i < existentes; ++i) {
        std::snprintf(nome, sizeof nome, "Fotos/FG%05d_01.png", i);
        std::ofstream(dados + nome) << "antiga";
    }
    std::string lista;
    for (int i = 0; i < novos; ++i) {
        std::snprintf(nome, sizeof nome, "F%04d.JPG", i);
        lista += std::string("DAT;Fotos\\") + nome + ";4\r\n";
        Serve(std::string("Fotos/") + nome, "nova");
    }
    Serve("ListVersao28.txt", lista);

    struct ContaPinturas : QObject {
        const int* fase = nullptr;
        std::map<int, int> pinturas;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && *fase && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
                ++pinturas[*fase];
            return false;
        }
    } contador;
    // 1: the names are being checked (the lists are in, row 1 at 50 %); 3: files are being
    // put in place (row 3 between 0 and 100 %).
    int fase = 0;
    contador.fase = &fase;
    std::map<int, int> ticks;
    QTimer relogio;
    relogio.setInterval(0);
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        if (!janela_ || !J().IsLoaded()) return;
        const double p1 = Percentual(1), p3 = Percentual(3);
        fase = p1 == 50 ? 1 : (p3 > 0 && p3 < 100 ? 3 : 0);
        if (!fase) return;
        ++ticks[fase];
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible()) w->update();
    });
    int ticksNoFim = -1;
    caixas_.OnBox([&](const testsupport::FakeMsgBox::Box&) {
        ticksNoFim = ticks[1] + ticks[3];
        fase = 0;
    });
    qApp->installEventFilter(&contador);
    relogio.start();
    Abre("6|27|28");
    relogio.stop();
    qApp->removeEventFilter(&contador);
    caixas_.OnBox(nullptr);

    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "10");
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(caixas_.Last().prompt, Traduz(72) + ".");
    EXPECT_GE(ticksNoFim, 0);
    // One chance for the window at least every few names (a name, a file: one pass each).
    EXPECT_GE(ticks[1], novos / 5) << "step 1";
    EXPECT_GE(ticks[3], novos / 5) << "step 3";
    EXPECT_GE(contador.pinturas[1], 10) << "step 1";
    EXPECT_GE(contador.pinturas[3], 10) << "step 3";
    EXPECT_EQ(Arquivos("Fotos").size(), static_cast<std::size_t>(existentes + novos));
    EXPECT_EQ(LeTudo(dados + "Fotos/F0499.JPG"), "nova");
    EXPECT_EQ(Versao(), 28);
}

// The names of an update land on the files already there under another case, with the
// folder's names read once for the run: a listed name on an old file; a file that another
// program takes away, or adds under another case, while the files are being put in place
// (also where the folder's time does not show it, as on a file system of coarse times); an
// archive entry on a file that a list entry of the same update placed, two entries of one
// archive that differ only in case, and a list entry after the archive on a file it placed.
// Nothing is written a second time beside a file under another case, nor under the name of a
// file that is gone.
TEST_F(TelaAtualizacao, OsNomesDaAtualizacaoSubstituemOsArquivosDeOutraCaixa) {
    const std::string dados = EstadoPrograma.CaminhoDados;
    const std::string zip = CriaZip({{"fotos/NOVA.JPG", "nova do zip"},
                                     {"Fotos/dup.jpg", "dup 1"},
                                     {"FOTOS/DUP.JPG", "dup 2"},
                                     {"fotos/Interna.jpg", "interna do zip"}});
    Serve("ListVersao28.txt", "DAT;Fotos\\foto1.jpg;5\r\nDAT;Fotos\\foto2.jpg;5\r\nDAT;Fotos\\foto3.jpg;5\r\n"
                              "DAT;Fotos\\Nova.jpg;4\r\nDAT;FOTOS-CI-.ZIP;" + std::to_string(zip.size()) +
                              "\r\nDAT;Fotos\\INTERNA.jpg;7\r\n");
    Serve("Fotos/foto1.jpg", "nova1");
    Serve("Fotos/foto2.jpg", "nova2");
    Serve("Fotos/foto3.jpg", "nova3");
    Serve("Fotos/Nova.jpg", "nova");
    Serve("FOTOS-CI-.ZIP", zip);
    Serve("Fotos/INTERNA.jpg", "interna");

    struct Caso {
        const char* nome;
        bool tira, poe, horaVolta;   // FOTO2.JPG taken away, FOTO3.JPG added, the folder's time set back
    };
    const Caso casos[] = {
        {"a file taken away, another added", true, true, false},
        {"a file taken away, the folder's time set back", true, false, true},
        {"a file added under another case", false, true, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        fs::remove_all(dados + "Fotos");
        fs::create_directories(dados + "Fotos");
        std::ofstream(dados + "Fotos/FOTO1.JPG") << "velha 1";
        std::ofstream(dados + "Fotos/FOTO2.JPG") << "velha 2";
        {
            teste::Escrita e;
            e.Executa("UPDATE UMREGISTRO SET Versao=27");
        }
        caixas_.Clear();
        // Another program, once the first file is in place.
        bool mudou = false;
        QTimer outroPrograma;
        outroPrograma.setInterval(0);
        QObject::connect(&outroPrograma, &QTimer::timeout, [&] {
            if (mudou || !janela_ || !J().IsLoaded() || Percentual(3) <= 0 || Percentual(3) >= 100) return;
            mudou = true;
            const auto hora = fs::last_write_time(dados + "Fotos");
            if (c.tira) fs::remove(dados + "Fotos/FOTO2.JPG");
            if (c.poe) std::ofstream(dados + "Fotos/FOTO3.JPG") << "de outro programa";
            if (c.horaVolta) fs::last_write_time(dados + "Fotos", hora);
        });
        outroPrograma.start();
        Abre("6|27|28");
        outroPrograma.stop();

        EXPECT_TRUE(mudou);
        ASSERT_EQ(caixas_.Count(), 1u);
        EXPECT_EQ(caixas_.Last().prompt, Traduz(72) + ".") << caixas_.Last().prompt;
        EXPECT_EQ(EstadoPrograma.RequisicaoTela, "10");
        EXPECT_EQ(Arquivos("Fotos"), (std::map<std::string, std::string>{{"FOTO1.JPG", "nova1"},
                                                                         {c.tira ? "foto2.jpg" : "FOTO2.JPG", "nova2"},
                                                                         {c.poe ? "FOTO3.JPG" : "foto3.jpg", "nova3"},
                                                                         {"Nova.jpg", "nova do zip"},
                                                                         {"dup.jpg", "dup 2"},
                                                                         {"Interna.jpg", "interna"}}));
        EXPECT_FALSE(fs::exists(dados + "FOTOS-CI-.ZIP"));
        EXPECT_EQ(Versao(), 28);
        EXPECT_TRUE(auxteste::Espera([this] { return !J().IsLoaded(); }));
    }
}

}  // namespace
