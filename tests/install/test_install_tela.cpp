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

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace {

using testsupport::ServidorHttpTeste;

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
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET UrlAtualizacao='http://127.0.0.1:" + std::to_string(servidor_->Porta()) +
                  "/cat/', Versao=27");
        DefineTempoLimiteInternet(5000);
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

}  // namespace
