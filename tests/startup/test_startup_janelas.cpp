// The program as a person meets it, in this process: the splash, the start-up on a copy
// of the demo data, the main window's frame and keys, the unload and the credits.
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmApresentacao.h"
#include "catalog/startup/frmApresentacao_regiao.h"
#include "catalog/startup/frmCreditos.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/FakeMsgBox.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/ProgramaDemo.h"
#include "tests/support/TelasProvisorias.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The screens as the window calls them, recorded; the panels still show and hide.
class TelasGravadas : public TelasProvisorias {
public:
    TelasGravadas(frmZornakForm& janela, std::vector<std::string>& chamadas, bool falhaInicio)
        : TelasProvisorias([&janela](int i) -> vb::PictureBox& { return (*janela.pctTela)(i); }),
          chamadas_(chamadas), falhaInicio_(falhaInicio) {}
    void MontaTelaPrincipal() override {
        chamadas_.push_back("MontaTelaPrincipal");
        if (falhaInicio_) vb::Raise(3078, "The home screen could not be built");
        TelasProvisorias::MontaTelaPrincipal();
    }
    void DesmontaTelaPrincipal() override { chamadas_.push_back("DesmontaTelaPrincipal"); TelasProvisorias::DesmontaTelaPrincipal(); }
    void MontaTelaProduto() override { chamadas_.push_back("MontaTelaProduto"); TelasProvisorias::MontaTelaProduto(); }
    void DesmontaTelaProduto() override { chamadas_.push_back("DesmontaTelaProduto"); TelasProvisorias::DesmontaTelaProduto(); }
    void MontaTelaAplicacao() override { chamadas_.push_back("MontaTelaAplicacao"); TelasProvisorias::MontaTelaAplicacao(); }
    void DesmontaTelaAplicacao() override { chamadas_.push_back("DesmontaTelaAplicacao"); TelasProvisorias::DesmontaTelaAplicacao(); }
    void MontaTelaLista() override { chamadas_.push_back("MontaTelaLista"); TelasProvisorias::MontaTelaLista(); }
    void DesmontaTelaLista() override { chamadas_.push_back("DesmontaTelaLista"); TelasProvisorias::DesmontaTelaLista(); }
    void MostraTelaFigura() override { chamadas_.push_back("MostraTelaFigura"); TelasProvisorias::MostraTelaFigura(); }
    void EscondeTelaFigura() override { chamadas_.push_back("EscondeTelaFigura"); TelasProvisorias::EscondeTelaFigura(); }
    void LimpaFiltrosLista(bool a, bool b) override {
        chamadas_.push_back(std::string("LimpaFiltrosLista ") + (a ? "1" : "0") + (b ? "1" : "0"));
    }
    void ImageClickGrade1(std::uint8_t c, int b) override {
        chamadas_.push_back("ImageClickGrade1 " + std::to_string(c) + " " + std::to_string(b));
    }
    void ImageClickGrade2(std::uint8_t c, int b) override {
        chamadas_.push_back("ImageClickGrade2 " + std::to_string(c) + " " + std::to_string(b));
    }

private:
    std::vector<std::string>& chamadas_;
    bool falhaInicio_;
};

class StartupJanelas : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_startup_janelas"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        QDir(raiz.path()).mkpath("prog");
        QDir(raiz.path()).mkpath("cfg");
        QDir(raiz.path()).mkpath("dados");
        setenv("XDG_CONFIG_HOME", (raiz.path() + "/cfg").toLocal8Bit().constData(), 1);
        os::SetProgramFolderForTesting((raiz.path() + "/prog").toStdString());
        for (const char* arquivo : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"})
            ASSERT_TRUE(QFile::copy(QString(ZK_DEMO_DATA_DIR) + "/" + arquivo, Dados() + "/" + arquivo));
        // A run of this morning that was killed left its cart table behind: this run's table
        // is the one every test looks at.
        ASSERT_NO_FATAL_FAILURE(testsupport::DeixaTabelaCarrinho(Dados()));
        deixadas = TodasTabelasCarrinho();
        ApontaDados(Dados());
        // As the program does: an error that escapes a handler reaches the error box.
        testsupport::PreparaJanelas();
    }

    void TearDown() override {
        testsupport::EncerraJanelas();
    }

    QString Dados() const { return raiz.path() + "/dados"; }

    void ApontaDados(const QString& pasta) {
        QFile caminho(raiz.path() + "/prog/Caminho.txt");
        ASSERT_TRUE(caminho.open(QIODevice::WriteOnly | QIODevice::Truncate));
        caminho.write(pasta.toUtf8());
    }

    void GravaTelas(bool falha) {
        frmZornakForm::DefineFabricaTelas([this, falha](frmZornakForm& janela) {
            return std::make_unique<TelasGravadas>(janela, chamadas, falha);
        });
    }

    // The cart tables of this run in the auxiliary database, read through a connection of
    // its own; tables that were there before the run are not this run's.
    std::vector<std::string> TabelasCarrinho() {
        std::vector<std::string> tabelas;
        for (const std::string& t : TodasTabelasCarrinho())
            if (std::find(deixadas.begin(), deixadas.end(), t) == deixadas.end()) tabelas.push_back(t);
        return tabelas;
    }
    std::vector<std::string> deixadas;
    std::vector<std::string> TodasTabelasCarrinho() {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("verifica", "admin", "");
        dao::Database db = ws.OpenDatabase((Dados() + "/CatalogoZORNAK.c02").toStdString(), false, false,
                                           ";pwd=" + ObtemSenhaBancoDados());
        std::vector<std::string> tabelas;
        for (const auto& t : db.TableDefs())
            if (t.Name.rfind("Carrinho_", 0) == 0) tabelas.push_back(t.Name);
        db.Close();
        ws.Close();
        return tabelas;
    }

    static void GravaImagem(QWidget* janela, const QRegion& contorno, const QString& nome) {
        QDir().mkpath(ZK_SCREENSHOT_DIR);
        QImage imagem(janela->size(), QImage::Format_ARGB32);
        imagem.fill(Qt::transparent);
        QPainter p(&imagem);
        if (!contorno.isEmpty()) p.setClipRegion(contorno);
        p.drawPixmap(0, 0, janela->grab());
        p.end();
        ASSERT_TRUE(imagem.save(QString(ZK_SCREENSHOT_DIR) + "/" + nome));
    }

    static void Tecla(QWidget* alvo, int tecla, Qt::KeyboardModifiers mods, const QString& texto = {}) {
        QKeyEvent press(QEvent::KeyPress, tecla, mods, texto);
        QCoreApplication::sendEvent(alvo, &press);
        QKeyEvent release(QEvent::KeyRelease, tecla, mods, texto);
        QCoreApplication::sendEvent(alvo, &release);
    }

    QTemporaryDir raiz;
    testsupport::FakeMsgBox caixas;
    std::vector<std::string> chamadas;
};

TEST_F(StartupJanelas, SplashShowsSixFramesAndThenStartsTheCatalogue) {
    frmApresentacaoForm& splash = frmApresentacao();
    splash.Show();
    ASSERT_TRUE(splash.IsLoaded());
    EXPECT_EQ(splash.QuadroAtual(), 1);
    EXPECT_EQ(splash.TimerAnimacao()->Interval(), 600);
    EXPECT_TRUE(splash.TimerAnimacao()->Enabled());
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbHourglass);
    EXPECT_EQ(splash.Window()->mask(), CriaRegiaoJanela());
    // The ticks come from the test, not the clock.
    splash.TimerAnimacao()->SetEnabled(false);

    struct Passo {
        int quadro, intervalo;
    };
    const Passo passos[] = {{2, 100}, {3, 100}, {4, 100}, {5, 100}, {6, 600}};
    for (const Passo& p : passos) {
        splash.tmrAnimacao_Timer();
        EXPECT_EQ(splash.QuadroAtual(), p.quadro);
        EXPECT_EQ(splash.TimerAnimacao()->Interval(), p.intervalo) << "after frame " << p.quadro;
        EXPECT_FALSE(JanelaCriada("frmZornak")) << "the start-up ran before frame " << p.quadro;
    }
    // Frame 6 stands over the factory frame's place, the logo over it.
    const vb::Picture quadro6 = CarregaImagemRecurso("FABRICA6", "G");
    EXPECT_EQ(splash.Animacao()->Point(0, 19 + 200), vb::FromQColor(quadro6.Pixmap().toImage().pixelColor(0, 200)));
    GravaImagem(splash.Window(), CriaRegiaoJanela(), "frmApresentacao.png");

    splash.tmrAnimacao_Timer();
    EXPECT_EQ(splash.QuadroAtual(), 7);
    EXPECT_FALSE(splash.TimerAnimacao()->Enabled());
    EXPECT_FALSE(splash.IsLoaded());
    ASSERT_TRUE(JanelaCriada("frmZornak"));
    EXPECT_TRUE(frmZornak().IsLoaded());
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(StartupJanelas, MainWindowHoldsTheCartTableUntilItUnloadsAndTheCreditsEndTheProgram) {
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    ASSERT_TRUE(janela.IsLoaded());
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    const std::string tabela = EstadoPrograma.TabelaCarrinho;
    EXPECT_EQ(TabelasCarrinho(), std::vector<std::string>{tabela});
    EXPECT_EQ(EstadoPrograma.TwipsPorPixelX, 15);
    EXPECT_EQ(EstadoPrograma.CaminhoDados, Dados().toStdString() + "/");

    // The home screen, under strip 0 with its first tab active.
    EXPECT_EQ(janela.m_HistoricoTelas, "0");
    EXPECT_TRUE((*janela.pctTela)(0).Visible());
    for (int i = 1; i <= 4; ++i) EXPECT_FALSE((*janela.pctTela)(i).Visible()) << "panel " << i;
    EXPECT_TRUE((*janela.pctOrelha)(0).Visible());
    EXPECT_FALSE((*janela.pctOrelha)(1).Visible());
    EXPECT_FALSE((*janela.imgOrelha0)(0).Visible());
    EXPECT_TRUE((*janela.imgOrelha0)(1).Visible());
    EXPECT_EQ(janela.lblSair->Caption(), "SAIR");
    EXPECT_EQ(janela.Caption(), "Cat\xC3\xA1logo ZORNAK");

    // A 1024 x 768 screen: the background surrounds the 798-pixel panel, centred in the
    // 830 x 630 client area.
    EXPECT_EQ(janela.imgFundoTela->Tag(), "1");
    EXPECT_EQ(janela.pctBase->Width(), 798);
    EXPECT_EQ(janela.pctBase->Left(), 16);
    EXPECT_EQ(janela.pctBase->Top(), 15);
    EXPECT_EQ(janela.imgFundoTela->Left(), 16 - 113);
    GravaImagem(janela.Window(), QRegion(), "frmZornak.png");
    EXPECT_EQ(ContaMensagemJanela(janela.Window(), WM_MOUSEWHEEL), 1) << "the wheel is hooked on the window";
    QWidget* janelaQt = janela.Window();

    janela.Unload();
    EXPECT_EQ(ContaMensagemJanela(janelaQt, WM_MOUSEWHEEL), 0);
    EXPECT_EQ(JanelaRodaMouse, nullptr);
    EXPECT_FALSE(janela.IsLoaded());
    EXPECT_TRUE(TabelasCarrinho().empty());
    EXPECT_TRUE(EstadoPrograma.DbCatalogo.IsNothing());
    EXPECT_TRUE(EstadoPrograma.DbAuxiliar.IsNothing());
    EXPECT_TRUE(EstadoPrograma.WsCatalogo.IsNothing());
    EXPECT_TRUE(EstadoPrograma.WsAuxiliar.IsNothing());
    EXPECT_EQ(caixas.Count(), 0u);

    frmCreditosForm& creditos = frmCreditos();
    ASSERT_TRUE(creditos.IsLoaded());
    creditos.Temporizador()->SetEnabled(false);
    for (int i = 1; i <= 4; ++i) creditos.Timer1_Timer();
    EXPECT_TRUE(creditos.IsLoaded());
    EXPECT_FALSE(vb::EndRequested());
    creditos.Timer1_Timer();
    EXPECT_FALSE(creditos.IsLoaded());
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_EQ(vb::EndExitCode(), 0);
}

// The header is a design picture on an Image control: dark where it shows.
TEST_F(StartupJanelas, TheHeaderPictureShowsInTheScreenshot) {
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    const QImage tela = janela.Window()->grab().toImage();
    const QColor cabecalho = tela.pixelColor(janela.pctBase->Left() + 100, janela.pctBase->Top() + 50);
    EXPECT_LT(cabecalho.lightness(), 128) << "the header picture is not drawn";
}

TEST_F(StartupJanelas, TheWindowManagersCloseRunsTheSameUnload) {
    ASSERT_TRUE(Inicializa());
    frmZornak().Window()->close();
    EXPECT_FALSE(frmZornak().IsLoaded());
    EXPECT_TRUE(TabelasCarrinho().empty());
    EXPECT_TRUE(frmCreditos().IsLoaded());
}

TEST_F(StartupJanelas, AnNWFileHoldingOneTurnsTheWheelOff) {
    struct Caso {
        const char* conteudo;
        bool rodaAtiva;
    };
    for (const Caso c : {Caso{"1", false}, Caso{"1\r\n", false}, Caso{"0", true}, Caso{"11", true}}) {
        QFile nw(Dados() + "/NW.txt");
        ASSERT_TRUE(nw.open(QIODevice::WriteOnly | QIODevice::Truncate));
        nw.write(c.conteudo);
        nw.close();
        ASSERT_TRUE(Inicializa());
        EXPECT_EQ(EstadoPrograma.RodaMouseAtiva, c.rodaAtiva) << c.conteudo;
        EXPECT_EQ(ContaMensagemJanela(frmZornak().Window(), WM_MOUSEWHEEL), c.rodaAtiva ? 1 : 0) << c.conteudo;
        frmZornak().Unload();
        frmCreditos().Unload();
        LiberaJanelas();
    }
}

TEST_F(StartupJanelas, ResizingOnALargeScreenCentresThePanelAgain) {
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    janela.Move(0, 0, 1024, 700);
    for (int i = 0; i < 3; ++i) vb::DoEvents();
    EXPECT_EQ(janela.pctBase->Left(), 113);
    EXPECT_EQ(janela.pctBase->Top(), 50);
    EXPECT_EQ(janela.imgFundoTela->Left(), 0);
    EXPECT_EQ(janela.imgFundoTela->Top(), -34);
}

TEST_F(StartupJanelas, SmallScreenHasNoBackgroundAndTheFirstActivationMaximises) {
    vb::Screen().SetSizeForTesting(800, 600);
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    EXPECT_EQ(janela.imgFundoTela->Tag(), "0");
    EXPECT_TRUE(janela.imgFundoTela->GetPicture().IsNothing());
    EXPECT_EQ(janela.pctBase->Width(), 800);
    EXPECT_EQ(janela.pctBase->Left(), 0);
    EXPECT_EQ(janela.pctBase->Top(), 0);
    janela.Window()->activateWindow();
    for (int i = 0; i < 3; ++i) vb::DoEvents();
    EXPECT_FALSE(janela.m_PrimeiraAtivacao);
    EXPECT_EQ(janela.WindowState(), vb::vbMaximized);
}

TEST_F(StartupJanelas, MissingCatalogueGivesOneErrorBoxAndNoMainWindow) {
    QDir(raiz.path()).mkpath("vazia");
    ApontaDados(raiz.path() + "/vazia");
    EXPECT_FALSE(Inicializa());
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find("3024"), std::string::npos) << caixas.Last().prompt;
    EXPECT_EQ(caixas.Last().title, "Cat\xC3\xA1logo ZORNAK");
    EXPECT_FALSE(JanelaCriada("frmZornak"));
    EXPECT_TRUE(EstadoPrograma.TabelaCarrinho.empty());
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_NE(vb::EndExitCode(), 0);
}

TEST_F(StartupJanelas, AFailureAfterTheCartTableWasCreatedDropsIt) {
    GravaTelas(true);
    EXPECT_FALSE(Inicializa());
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find("3078"), std::string::npos) << caixas.Last().prompt;
    EXPECT_TRUE(TabelasCarrinho().empty());
    EXPECT_TRUE(EstadoPrograma.TabelaCarrinho.empty());
    EXPECT_TRUE(EstadoPrograma.DbAuxiliar.IsNothing());
    EXPECT_TRUE(EstadoPrograma.DbCatalogo.IsNothing());
    EXPECT_FALSE(frmZornak().Visible()) << "the window of a failed start-up was shown";
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_NE(vb::EndExitCode(), 0);
}

TEST_F(StartupJanelas, AfterAnUpdateAskedForARestartTheLauncherGetsTheProcessIdInsteadOfTheCredits) {
    const QString recebido = raiz.path() + "/recebido.txt";
    const QString lancador = raiz.path() + "/prog/CallCatalogoZORNAK";
    {
        QFile script(lancador);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // Written aside and moved in, so the file is whole once it exists.
        script.write(("#!/bin/sh\nprintf '%s' \"$*\" > '" + recebido + ".tmp' && mv '" + recebido + ".tmp' '" +
                      recebido + "'\n").toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    ASSERT_TRUE(Inicializa());
    EstadoPrograma.ReiniciarAposAtualizacao = true;
    frmZornak().Unload();
    EXPECT_TRUE(TabelasCarrinho().empty());
    EXPECT_FALSE(JanelaCriada("frmCreditos"));
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_EQ(vb::EndExitCode(), 0);
    // The launcher runs on its own; wait for its answer, not for a time.
    for (int i = 0; i < 200 && !QFile::exists(recebido); ++i) QThread::msleep(50);
    QFile arquivo(recebido);
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly)) << "the launcher was not started";
    EXPECT_EQ(arquivo.readAll().toStdString(), std::to_string(QCoreApplication::applicationPid()));
}

// A launcher that is not there, or that cannot be run: the catalogue says so in its error box
// before it ends, and still leaves its data closed; it does not just vanish.
class LancadorQueFalha : public StartupJanelas, public ::testing::WithParamInterface<bool> {};

TEST_P(LancadorQueFalha, IsReportedBeforeTheEnd) {
    if (GetParam()) {
        QFile arquivo(raiz.path() + "/prog/CallCatalogoZORNAK");
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
        arquivo.write("#!/bin/sh\nexit 0\n");
        arquivo.close();
        arquivo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    ASSERT_TRUE(Inicializa());
    caixas.Clear();
    EstadoPrograma.ReiniciarAposAtualizacao = true;
    frmZornak().Unload();
    ASSERT_EQ(caixas.Count(), 1u) << "no word of the failed restart";
    EXPECT_NE(caixas.Last().prompt.find("53"), std::string::npos) << caixas.Last().prompt;
    EXPECT_NE(caixas.Last().prompt.find(raiz.path().toStdString() + "/prog/CallCatalogoZORNAK"), std::string::npos)
        << caixas.Last().prompt;
    EXPECT_TRUE(TabelasCarrinho().empty());
    EXPECT_TRUE(EstadoPrograma.DbCatalogo.IsNothing());
    EXPECT_FALSE(JanelaCriada("frmCreditos"));
    EXPECT_TRUE(vb::EndRequested());
    EXPECT_NE(vb::EndExitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lancador, LancadorQueFalha, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "NotExecutable" : "Missing"; });

// An update check that runs while the window closes.
class VerificacaoEmCurso : public IVerificacaoAtualizacoes {
public:
    explicit VerificacaoEmCurso(std::vector<std::string>& eventos) : eventos_(eventos) {}
    void Inicia(bool) override {}
    bool EmAndamento() const override { return emAndamento; }
    void Encerra() override {
        eventos_.push_back(EstadoPrograma.DbCatalogo.IsNothing() ? "Encerra after the databases closed"
                                                                 : "Encerra");
        emAndamento = false;
    }
    bool emAndamento = true;

private:
    std::vector<std::string>& eventos_;
};

TEST_F(StartupJanelas, UnloadStopsARunningUpdateCheckFirst) {
    ASSERT_TRUE(Inicializa());
    frmZornak().DefineVerificacaoAtualizacoes(std::make_unique<VerificacaoEmCurso>(chamadas));
    frmZornak().Unload();
    EXPECT_EQ(chamadas, std::vector<std::string>{"Encerra"});
    EXPECT_TRUE(TabelasCarrinho().empty());
}

TEST_F(StartupJanelas, KeysReachTheScreensThroughTheWindow) {
    GravaTelas(false);
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    EXPECT_EQ(chamadas, std::vector<std::string>{"MontaTelaPrincipal"});

    // Ctrl+Tab on the home screen goes to the product search, swallowed.
    Tecla(janela.Window(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(janela.m_HistoricoTelas, "1");
    EXPECT_EQ(chamadas, (std::vector<std::string>{"MontaTelaPrincipal", "DesmontaTelaPrincipal", "MontaTelaProduto"}));
    EXPECT_TRUE((*janela.pctTela)(1).Visible());
    EXPECT_FALSE((*janela.pctTela)(0).Visible());

    // F2 from a search box: the cart icon of grid 1's row; the box never sees the key.
    vb::TextBox* caixa = janela.New<vb::TextBox>((*janela.pctTela)(1), "txtTeste");
    caixa->Move(10, 10, 100, 20);
    caixa->SetFocus();
    ASSERT_EQ(janela.ActiveControl(), caixa);
    chamadas.clear();
    Tecla(caixa->Widget(), Qt::Key_F2, Qt::NoModifier);
    EXPECT_EQ(chamadas, std::vector<std::string>{"ImageClickGrade1 2 1"});
    // Esc on the product search does nothing, and reaches the box.
    chamadas.clear();
    Tecla(caixa->Widget(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_TRUE(chamadas.empty());
    EXPECT_EQ(janela.m_HistoricoTelas, "1");

    // F5 starts the update check. No checker program lies beside this test's program: the
    // check's first poll says so in the error box; nothing else happens.
    Tecla(caixa->Widget(), Qt::Key_F5, Qt::NoModifier);
    EXPECT_TRUE(janela.VerificacaoAtualizacoes().EmAndamento());
    EXPECT_EQ(caixas.Count(), 0u);
    janela.tmrVerificaProcessoVerificacao_Timer();
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find(": -1\r\n"), std::string::npos) << caixas.Last().prompt;
    EXPECT_FALSE(janela.VerificacaoAtualizacoes().EmAndamento());
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

// The switcher: leave routine, strips, clearing option and builder, by case.
TEST_F(StartupJanelas, TheSwitcherLeavesBuildsAndSwapsTheStrips) {
    GravaTelas(false);
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    struct Caso {
        int entra, sai;
        const char* opcao;
        std::vector<std::string> esperadas;
        bool faixa0, faixa1;   // visible afterwards
        int subTela;           // m_SubTelaProduto afterwards, -1 unchanged
    };
    const Caso casos[] = {
        {1, 0, "", {"DesmontaTelaPrincipal", "MontaTelaProduto"}, true, false, 0},
        {3, 1, "LimpaTelaLista10", {"DesmontaTelaProduto", "LimpaFiltrosLista 10", "MontaTelaLista"}, false, true, 0},
        {4, 3, "LimpaTelaLista", {"DesmontaTelaLista", "LimpaFiltrosLista 11", "MostraTelaFigura"}, false, true, -1},
        {3, 4, "limpatelalista", {"EscondeTelaFigura", "MontaTelaLista"}, false, true, -1},
        {5, 3, "LimpaTelaLista01", {"DesmontaTelaLista", "LimpaFiltrosLista 01", "MontaTelaProduto"}, true, false, 1},
        {2, 5, "", {"DesmontaTelaProduto", "MontaTelaAplicacao"}, true, false, 1},
        {2, 2, "", {"DesmontaTelaAplicacao", "MontaTelaAplicacao"}, true, false, -1},
    };
    for (const Caso& c : casos) {
        chamadas.clear();
        const int antes = janela.m_SubTelaProduto;
        janela.TrocaTela(static_cast<std::uint8_t>(c.entra), static_cast<std::uint8_t>(c.sai), c.opcao);
        const std::string nome = std::to_string(c.sai) + " -> " + std::to_string(c.entra) + " " + c.opcao;
        EXPECT_EQ(chamadas, c.esperadas) << nome;
        EXPECT_EQ((*janela.pctOrelha)(0).Visible(), c.faixa0) << nome;
        EXPECT_EQ((*janela.pctOrelha)(1).Visible(), c.faixa1) << nome;
        EXPECT_EQ(janela.m_SubTelaProduto, c.subTela < 0 ? antes : c.subTela) << nome;
        EXPECT_FALSE(janela.m_TrocandoTela) << nome;
    }
    // Strip 1, tab 1 (the figure) now active: its click image is hidden, tab 0's shown.
    janela.TrocaTela(4, 3, "");
    EXPECT_FALSE((*janela.imgOrelha1)(1).Visible());
    EXPECT_TRUE((*janela.imgOrelha1)(0).Visible());
}

TEST_F(StartupJanelas, TabsRestartTheHistoryAndBackWalksIt) {
    GravaTelas(false);
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    janela.imgOrelha0_Click(2);
    EXPECT_EQ(janela.m_HistoricoTelas, "2");
    janela.m_HistoricoTelas = "023";   // as a pending list request leaves it
    janela.imgOrelha0_Click(3);
    EXPECT_EQ(janela.m_HistoricoTelas, "5") << "a strip-0 tab starts the history afresh";
    janela.m_HistoricoTelas = "013";
    chamadas.clear();
    janela.lblInicio_Click();
    EXPECT_EQ(janela.m_HistoricoTelas, "01");
    EXPECT_EQ(chamadas, (std::vector<std::string>{"DesmontaTelaLista", "MontaTelaProduto"}));
    janela.lblInicio_Click();
    EXPECT_EQ(janela.m_HistoricoTelas, "0");
    chamadas.clear();
    janela.lblInicio_Click();
    EXPECT_EQ(janela.m_HistoricoTelas, "0");
    EXPECT_TRUE(chamadas.empty()) << "back from a single screen did something";
}

TEST_F(StartupJanelas, HoverShowsOneHighlightAtATime) {
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    vb::Image& sair = janela.Img("imgBtnSairSel");
    vb::Image& inicio = janela.Img("imgBtnInicioSel");
    janela.AtualizaSelecaoMouse("BTNSAIR");
    EXPECT_TRUE(sair.Visible());
    janela.AtualizaSelecaoMouse("BTNINICIO");
    EXPECT_TRUE(inicio.Visible());
    EXPECT_FALSE(sair.Visible());
    EXPECT_EQ(janela.m_ChaveSelecao, "BTNINICIO");
    janela.AtualizaSelecaoMouse("FORM");
    EXPECT_FALSE(inicio.Visible());
    EXPECT_EQ(janela.m_ChaveSelecao, "FORM");
    // A sortable header label is underlined while hovered.
    janela.AtualizaSelecaoMouse("_LANCAMENTOLC");
    EXPECT_TRUE(janela.lblLancamentoLC->FontUnderline());
    janela.AtualizaSelecaoMouse("FORM");
    EXPECT_FALSE(janela.lblLancamentoLC->FontUnderline());
}

TEST_F(StartupJanelas, TheFigureTabStatesNoFactItDoesNotHave) {
    GravaTelas(false);   // the stand-in screens, which have no sets to tell of
    ASSERT_TRUE(Inicializa());
    frmZornakForm& janela = frmZornak();
    janela.m_HistoricoTelas = "03";
    vb::RunEvent([&] { janela.imgOrelha1_Click(1); });
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find("not available yet"), std::string::npos);
    EXPECT_EQ(janela.m_HistoricoTelas, "03") << "the screen changed without a figure";
}

TEST_F(StartupJanelas, CreditsPictureFollowsTheScreenSize) {
    struct Caso {
        int largura, altura;
        int left, top, larguraImagem;
    };
    for (const Caso c : {Caso{800, 600, 0, 0, 800}, Caso{1280, 1024, 128, 128, 1024}}) {
        vb::Screen().SetSizeForTesting(c.largura, c.altura);
        EstadoPrograma.TwipsPorPixelX = EstadoPrograma.TwipsPorPixelY = 15;
        frmCreditosForm& creditos = frmCreditos();
        creditos.Show();
        EXPECT_EQ(creditos.Imagem()->Left(), c.left) << c.largura;
        EXPECT_EQ(creditos.Imagem()->Top(), c.top) << c.largura;
        EXPECT_EQ(creditos.Imagem()->GetPicture().Width(), c.larguraImagem) << c.largura;
        EXPECT_EQ(creditos.Caption(), "Cat\xC3\xA1logo ZORNAK");
        creditos.Unload();
    }
}

}  // namespace
