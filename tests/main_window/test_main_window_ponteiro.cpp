// The main window's frame as a user meets it, on every screen: each clickable element of the
// header, the tab strips and the footer is hovered at its visible centre and clicked through
// the window, and what the click does is checked. The catalogue screens are the real ones on a
// copy of the demo data; the auxiliary window is a recorder.
#include "tests/main_window/MainWindowFixture.h"
#include "tests/support/AplicacaoTeste.h"

#include "catalog/screens/TelasCatalogo.h"
#include "common/modTraducao.h"
#include "platform/forms/PrinterDialog.h"
#include "platform/forms/UserControl.h"
#include "platform/os/Desktop.h"
#include "platform/vb/Strings.h"
#include "tests/printing/Pdf.h"
#include "tests/support/AjudantesDesktop.h"
#include "tests/support/JanelasTeste.h"
#include "tests/support/Ponteiro.h"


#include <QScreen>

#include <functional>
#include <map>
#include <set>

namespace {

using testsupport::CentroVisivel;
using testsupport::RetanguloVisivel;

// The update check, counted instead of started.
class VerificacaoContada : public IVerificacaoAtualizacoes {
public:
    explicit VerificacaoContada(std::vector<bool>& inicios) : inicios_(inicios) {}
    void Inicia(bool automatica) override { inicios_.push_back(automatica); }
    bool EmAndamento() const override { return false; }
    void Encerra() override {}

private:
    std::vector<bool>& inicios_;
};

class MolduraPonteiro : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_main_window_ponteiro"); }

    void SetUp() override {
        ASSERT_TRUE(raiz.isValid());
        ASSERT_NO_FATAL_FAILURE(
            testsupport::InstalaProgramaDemo(raiz.path(), ZK_DEMO_DATA_DIR, testsupport::ImagensDemo::Ligadas));
        testsupport::PreparaJanelas([](frmZornakForm& j) { return std::make_unique<TelasCatalogo>(j); });
        vb::Screen().SetSizeForTesting(tela.width(), tela.height());
        auxiliar = std::make_shared<mainwindowtest::JanelaAuxiliarGravada>();
        DefineJanelaAuxiliar(auxiliar);
        // The browser and the help viewer: a stand-in that notes the address or file.
        ajudantes.Programa("xdg-open", 0);
        QDir().mkpath(raiz.path() + "/cfg/VelmoSistemas");
        QFile cfg(Configuracao());
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cfg.write("P|0||");
        cfg.close();
        ASSERT_TRUE(Inicializa());
        ASSERT_TRUE(J().IsLoaded());
        J().DefineVerificacaoAtualizacoes(std::make_unique<VerificacaoContada>(verificacoes));
        testsupport::Processa();
        ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
    }

    void TearDown() override {
        DefineJanelaAuxiliar(nullptr);
        testsupport::EncerraJanelas();
        EstadoPrograma.RequisicaoTela.clear();
        EstadoPrograma.Idioma = "P";
    }

    frmZornakForm& J() { return frmZornak(); }
    QWidget* W() { return J().Window(); }
    QString Configuracao() const { return raiz.path() + "/cfg/VelmoSistemas/CatalogoZORNAKConfig.txt"; }
    std::string LinhaConfiguracao() const {
        QFile f(Configuracao());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).toStdString() : std::string();
    }

    // The screens as the tests start them: the tabs of strip 0 and, for the list and the
    // figure, the list of an application as the application search opens it.
    void VaiPara(int tela) {
        frmZornakForm& j = J();
        const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
        if (tela == 3 || tela == 4) {
            j.CodigoAplicacaoLista = AplicacaoComFigura;
            j.CodigoAplicacaoCombo = 0;
            j.m_HistoricoTelas = "03";
            j.TrocaTela(3, saindo, "LimpaTelaLista");
            if (tela == 4) {
                j.CodigoAplicacaoFigura = AplicacaoComFigura;
                j.m_HistoricoTelas = "04";
                j.TrocaTela(4, 3, "");
            }
        } else {
            j.m_HistoricoTelas = std::to_string(tela);
            j.TrocaTela(static_cast<std::uint8_t>(tela), saindo, "");
        }
        testsupport::Processa();
        ASSERT_EQ(j.TelaAtual(), tela);
    }

    // Nothing hovered, and the pointer on the bare frame above the header.
    void Repousa() {
        testsupport::MovePara(W(), testsupport::PontoDe(*J().pctBase, QPoint(500, 3)));
        ASSERT_EQ(J().m_ChaveSelecao, "FORM");
    }

    // An application of the demo catalogue that is no vehicle and has a set with a figure.
    static constexpr long AplicacaoComFigura = 36;

    QSize tela{1024, 768};   // the screen the program measures, in pixels
    QTemporaryDir raiz;
    testsupport::FakeMsgBox caixas;
    std::shared_ptr<mainwindowtest::JanelaAuxiliarGravada> auxiliar;
    testsupport::AjudantesDesktop ajudantes;
    std::vector<bool> verificacoes;
};

// One clickable element of the frame: where it is clickable, its hover key, the picture that
// shows its hover (nullptr: the strip or label redraws itself), and what its click does.
struct Elemento {
    std::string nome;
    std::function<vb::Control*(frmZornakForm&)> controle;
    std::string chave;
    std::set<int> telas;
    std::function<vb::Control*(frmZornakForm&)> realce;
    std::function<void(MolduraPonteiro&, frmZornakForm&, int tela)> efeito;
};

class MolduraPonteiroTabela : public MolduraPonteiro {
protected:
    std::vector<Elemento> Elementos() {
        auto img = [](std::string nome, int indice = -1) {
            return [nome, indice](frmZornakForm& j) -> vb::Control* { return j.Controle(nome, indice); };
        };
        const std::set<int> todas = {0, 1, 2, 3, 4, 5};
        const std::set<int> faixa0 = {0, 1, 2, 5};
        const std::set<int> listas = {3, 4};
        std::vector<Elemento> e;
        // The flags: each switches the texts and writes its language; the Portuguese one, then
        // shown again, switches back the same way.
        for (const char* idioma : {"E", "I"}) {
            const std::string l = idioma;
            e.push_back({"imgBtnIdioma" + l, img("imgBtnIdioma" + l), "BTNIDIOMA" + l, todas,
                         img("imgBtnIdioma" + l + "Sel"), [this, l](MolduraPonteiro&, frmZornakForm& j, int tela) {
                             EXPECT_EQ(EstadoPrograma.Idioma, l);
                             EXPECT_EQ(LinhaConfiguracao().substr(0, 1), l);
                             EXPECT_EQ(j.lblSair->Caption(), vb::UCase(Traduz(47, l)));
                             EXPECT_EQ(j.TelaAtual(), tela) << "the screen is built again, not left";
                             EXPECT_TRUE(j.Controle("imgIdioma" + l)->Visible());
                             // Back to Portuguese through its own flag, now shown.
                             vb::Control* p = j.Controle("imgBtnIdiomaP");
                             ASSERT_TRUE(p->Visible());
                             testsupport::Clica(W(), CentroVisivel(*p));
                             EXPECT_EQ(EstadoPrograma.Idioma, "P");
                             EXPECT_EQ(LinhaConfiguracao().substr(0, 1), "P");
                             EXPECT_EQ(j.lblSair->Caption(), vb::UCase(Traduz(47, "P")));
                         }});
        }
        e.push_back({"imgSiteZornak", img("imgSiteZornak"), "SITEZORNAK", todas, img("imgSiteZornakSel"),
                     [this](MolduraPonteiro&, frmZornakForm&, int) {
                         const std::optional<std::string> endereco = ajudantes.Argumentos("xdg-open");
                         ASSERT_TRUE(endereco);
                         EXPECT_NE(endereco->find("zornak"), std::string::npos);
                     }});
        e.push_back({"imgCarrinho", img("imgCarrinho"), "CARRINHO", todas, img("imgCarrinhoSel"),
                     [this](MolduraPonteiro&, frmZornakForm&, int) {
                         EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{"2|0"});
                     }});
        e.push_back({"imgAjuda", img("imgAjuda"), "AJUDA", todas, img("imgAjudaSel"),
                     [this](MolduraPonteiro&, frmZornakForm&, int) {
                         // No help file in the demo folder: the box names the file it looked for.
                         ASSERT_EQ(caixas.Count(), 1u);
                         EXPECT_NE(caixas.Last().prompt.find("AjudaCatalogoZORNAK_P.chm"), std::string::npos);
                         caixas.Clear();
                     }});
        e.push_back({"imgMinimizar", img("imgMinimizar"), "MINIMIZAR", todas, img("imgMinimizarSel"),
                     [this](MolduraPonteiro&, frmZornakForm& j, int) {
                         EXPECT_EQ(j.WindowState(), vb::vbMinimized);
                         j.SetWindowState(vb::vbNormal);
                         W()->showNormal();
                         testsupport::Processa();
                     }});
        e.push_back({"lblVerificarAtualizacoes", img("lblVerificarAtualizacoes"), "BTNVERIFICARATUALIZACOES", todas,
                     img("imgBtnVerificarAtualizacoesSel"), [this](MolduraPonteiro&, frmZornakForm&, int) {
                         EXPECT_EQ(verificacoes, std::vector<bool>{false}) << "one manual check";
                     }});
        e.push_back({"lblConfiguracoes", img("lblConfiguracoes"), "BTNCONFIGURACOES", todas,
                     img("imgBtnConfiguracoesSel"), [this](MolduraPonteiro&, frmZornakForm&, int) {
                         EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{"5"});
                     }});
        // Strip 0 on the screens it belongs to: every tab but the current one.
        const int telasFaixa0[] = {0, 1, 2, 5};
        for (int i = 0; i < 4; ++i) {
            const int destino = telasFaixa0[i];
            std::set<int> onde = faixa0;
            onde.erase(destino);
            e.push_back({"imgOrelha0(" + std::to_string(i) + ")", img("imgOrelha0", i), ".IMGORELHA0" + std::to_string(i),
                         onde, nullptr, [destino](MolduraPonteiro&, frmZornakForm& j, int) {
                             EXPECT_EQ(j.TelaAtual(), destino);
                             EXPECT_EQ(j.m_HistoricoTelas, std::to_string(destino));
                         }});
        }
        // Strip 1 on the list and the figure.
        e.push_back({"imgOrelha1(0)", img("imgOrelha1", 0), ".IMGORELHA10", {4}, nullptr,
                     [](MolduraPonteiro&, frmZornakForm& j, int) { EXPECT_EQ(j.TelaAtual(), 3); }});
        e.push_back({"imgOrelha1(1)", img("imgOrelha1", 1), ".IMGORELHA11", {3}, nullptr,
                     [](MolduraPonteiro&, frmZornakForm& j, int) {
                         EXPECT_EQ(j.TelaAtual(), 4);
                         EXPECT_EQ(j.CodigoAplicacaoFigura, AplicacaoComFigura);
                     }});
        // The footer of the list and the figure: back, the logos (back too) and print.
        struct Voltar {
            const char* nome;
            int indice;
            const char* chave;
            const char* realce;
        };
        const Voltar voltar[] = {{"lblInicio", -1, "BTNINICIO", "imgBtnInicioSel"}, {"imgLogo", 0, "", nullptr},
                                 {"imgLogo", 1, "", nullptr}};
        for (const auto& [nome, indice, chave, realce] : voltar) {
            e.push_back({std::string(nome) + (indice >= 0 ? "(" + std::to_string(indice) + ")" : ""), img(nome, indice),
                         chave, listas,
                         realce ? std::function<vb::Control*(frmZornakForm&)>(img(realce)) : nullptr, [](MolduraPonteiro&, frmZornakForm& j, int) {
                             EXPECT_EQ(j.TelaAtual(), 0) << "back to where the list was opened";
                             EXPECT_EQ(j.m_HistoricoTelas, "0");
                         }});
        }
        e.push_back({"lblImprimir", img("lblImprimir"), "BTNIMPRIMIR", listas, img("imgBtnImprimirSel"),
                     [this](MolduraPonteiro&, frmZornakForm&, int) {
                         EXPECT_EQ(dialogosImpressora, 1) << "the printer dialog is asked for";
                         EXPECT_EQ(caixas.Count(), 0u);
                     }});
        e.push_back({"imgCarrinhoTodos", img("imgCarrinhoTodos"), "CARRINHOTODOS", {3}, img("imgCarrinhoTodosSel"),
                     [this](MolduraPonteiro&, frmZornakForm& j, int) {
                         ASSERT_EQ(caixas.Count(), 1u) << "the question";
                         EXPECT_EQ(caixas.Last().prompt, Traduz(28) + "\r\n\r\n" + Traduz(55));
                         std::set<long> produtos;
                         dao::Recordset copia = j.dtcTHGrid1.GetRecordset().Clone();
                         for (; !copia.Eof(); copia.MoveNext()) produtos.insert(copia.Value("CodigoProduto").ToLong());
                         copia.Close();
                         EXPECT_FALSE(produtos.empty());
                         EXPECT_EQ(ObtemValorCarrinho("SELECT Count(*) FROM " + EstadoPrograma.TabelaCarrinho),
                                   static_cast<long>(produtos.size()));
                         ASSERT_EQ(auxiliar->requisicoes.size(), 1u);
                         EXPECT_EQ(auxiliar->requisicoes[0],
                                   "2|" + std::to_string(j.dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong()));
                     }});
        return e;
    }

    static long ObtemValorCarrinho(const std::string& sql) {
        dao::Recordset rs = EstadoPrograma.DbAuxiliar.OpenRecordset(sql, dao::dbOpenSnapshot);
        const long v = rs.Eof() ? -1 : rs.Fields(0).Value().ToLong();
        rs.Close();
        return v;
    }

    int dialogosImpressora = 0;
};

TEST_F(MolduraPonteiroTabela, EveryFrameElementOfEveryScreenAnswersThePointer) {
    vb::ScopedPrinterDialog impressora([this](QPrinter&, long, const vb::PrinterDialogTexts&) {
        ++dialogosImpressora;
        return false;
    });
    caixas.SetAnswer(vb::vbYes);
    const std::vector<Elemento> elementos = Elementos();
    for (int tela : {0, 1, 2, 5, 3, 4}) {
        for (const Elemento& e : elementos) {
            if (!e.telas.count(tela)) continue;
            SCOPED_TRACE("screen " + std::to_string(tela) + ", " + e.nome);
            ASSERT_NO_FATAL_FAILURE(VaiPara(tela));
            frmZornakForm& j = J();
            vb::Control* c = e.controle(j);
            QRect area;
            ASSERT_TRUE(testsupport::AlcancaVisivel(c, area));
            const QPoint centro = area.center();
            ASSERT_NO_FATAL_FAILURE(Repousa());

            // The hover: its key, and a different picture where the element is.
            vb::Control* realce = e.realce ? e.realce(j) : nullptr;
            const bool mudou = testsupport::MoveParaMudaDesenho(W(), centro, realce ? RetanguloVisivel(*realce) | area : area);
            if (!e.chave.empty()) {
                EXPECT_EQ(j.m_ChaveSelecao, e.chave);
                EXPECT_TRUE(mudou) << "the hover shows";
            }
            if (realce) {
                EXPECT_TRUE(realce->Visible());
            }
            // What a press there reaches: the element itself, not its hover picture.
            EXPECT_EQ(testsupport::ControleNoPonto(W(), centro), c);

            auxiliar->requisicoes.clear();
            verificacoes.clear();
            dialogosImpressora = 0;
            caixas.Clear();
            EstadoPrograma.DbAuxiliar.Execute("DELETE FROM " + EstadoPrograma.TabelaCarrinho);
            testsupport::Clica(W(), centro);
            e.efeito(*this, J(), tela);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST_F(MolduraPonteiroTabela, FrameButtonsShowTheirTooltipsUnderTheirHoverPictures) {
    ASSERT_NO_FATAL_FAILURE(VaiPara(0));
    frmZornakForm& j = J();
    for (const char* nome : {"imgBtnIdiomaE", "imgBtnIdiomaI", "imgSiteZornak", "imgCarrinho", "imgAjuda", "imgMinimizar",
                             "lblVerificarAtualizacoes", "lblConfiguracoes", "lblSair"}) {
        SCOPED_TRACE(nome);
        vb::Control* c = j.Controle(nome);
        ASSERT_NE(c, nullptr);
        if (c->ToolTipText().empty()) continue;
        ASSERT_NO_FATAL_FAILURE(Repousa());
        EXPECT_EQ(testsupport::DicaNoPonto(W(), CentroVisivel(*c)), c->ToolTipText());
    }
}

// The site link and help hand their work to xdg-open and go on; when it fails, the box of the
// routine shows afterwards, and when it goes on running (a browser in the foreground) nothing
// does, while the window keeps answering the pointer.
TEST_F(MolduraPonteiro, TheSiteLinkAndHelpReportAViewerThatFails) {
    const std::string ajuda = EstadoPrograma.CaminhoDados + "AjudaCatalogoZORNAK_P.chm";
    {
        QFile f(QString::fromStdString(ajuda));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_NO_FATAL_FAILURE(VaiPara(0));
    struct Caso {
        const char* botao;
        int codigo;
        std::string inicio;   // of the box's text; "" for no box
        std::string fala;     // what else it tells
    };
    const Caso casos[] = {
        {"imgSiteZornak", 3, Traduz(1) + ": 31\r\n", "(1) You should check that your browser is correctly installed."},
        {"imgSiteZornak", 0, "", ""},
        {"imgAjuda", 3, Traduz(1) + ": 48\r\n", ajuda},
        {"imgAjuda", 0, "", ""},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.botao) + " with xdg-open ending with " + std::to_string(c.codigo));
        ajudantes.Programa("xdg-open", c.codigo);
        caixas.Clear();
        ASSERT_NO_FATAL_FAILURE(Repousa());
        testsupport::Clica(W(), CentroVisivel(*J().Controle(c.botao)));
        ASSERT_TRUE(ajudantes.Argumentos("xdg-open"));
        ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
        testsupport::DeixaCorrer(100);
        if (c.inicio.empty()) {
            EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
            continue;
        }
        ASSERT_EQ(caixas.Count(), 1u);
        EXPECT_EQ(caixas.Last().prompt.rfind(c.inicio, 0), 0u) << caixas.Last().prompt;
        EXPECT_NE(caixas.Last().prompt.find(c.fala), std::string::npos) << caixas.Last().prompt;
    }

    // A browser that stays: its failure after the grace period is no failure of the link.
    ajudantes.Programa("xdg-open", 3, true);
    caixas.Clear();
    ASSERT_NO_FATAL_FAILURE(Repousa());
    testsupport::Clica(W(), CentroVisivel(*J().Controle("imgSiteZornak")));
    ASSERT_TRUE(ajudantes.Argumentos("xdg-open"));
    vb::Control* carrinho = J().Controle("imgCarrinho");
    vb::Control* realce = J().Controle("imgCarrinhoSel");
    EXPECT_TRUE(testsupport::MoveParaMudaDesenho(W(), CentroVisivel(*carrinho),
                                                 RetanguloVisivel(*carrinho) | RetanguloVisivel(*realce)))
        << "the window answers the pointer while the browser runs";
    EXPECT_EQ(J().m_ChaveSelecao, "CARRINHO");
    testsupport::DeixaCorrer(os::HelperGraceMs + 500);
    EXPECT_FALSE(ajudantes.Terminou("xdg-open"));
    ajudantes.Solta("xdg-open");
    ASSERT_TRUE(testsupport::EsperaComEventos([] { return os::WatchedHelpers() == 0; }));
    testsupport::DeixaCorrer(100);
    EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
}

// The application combo of a vehicle's list is only as wide as its caption; the room its list
// needs beside it shows what lies under it and does not open the list.
TEST_F(MolduraPonteiro, TheApplicationComboShowsACaptionSizedBox) {
    frmZornakForm& j = J();
    j.CodigoAplicacaoLista = 1;
    j.CodigoAplicacaoCombo = 0;
    j.m_HistoricoTelas = "03";
    j.TrocaTela(3, 0, "LimpaTelaLista");
    testsupport::Processa();
    THCombo& combo = *j.cboTHCombo1;
    ASSERT_TRUE(combo.Visible());
    const int caixa = combo.mUserControlPixelWidth;
    ASSERT_LT(caixa, 362);
    EXPECT_EQ(combo.Width(), 362) << "the control keeps the room of its list";
    const QPoint origem = combo.Widget()->mapTo(W(), QPoint(0, 0));
    const QImage tela = testsupport::Captura(W());
    // The frame ends at the box's right edge with the arrow just inside it.
    const QColor moldura(0xA0, 0xA0, 0xA0);
    EXPECT_EQ(tela.pixelColor(origem + QPoint(caixa - 1, 19)), moldura);
    EXPECT_EQ(tela.pixelColor(origem + QPoint(caixa / 2, 20)), moldura);
    EXPECT_EQ(combo.Seta().Left() + combo.Seta().Width(), caixa);
    // Past it, the screen's background as it is without the combo.
    const QColor fundo = tela.pixelColor(origem + QPoint(362 + 5, 19));
    for (int x : {caixa + 3, (caixa + 362) / 2, 360}) {
        EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 19)), fundo) << x;
        EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 20)), fundo) << x;
    }
    // The pointer: beside the box it does not reach the combo; on the caption it opens it.
    EXPECT_NE(testsupport::ControleNoPonto(W(), origem + QPoint((caixa + 362) / 2, 10)), &combo);
    testsupport::Clica(W(), origem + QPoint((caixa + 362) / 2, 10));
    EXPECT_FALSE(combo.ListaAberta());
    testsupport::Clica(W(), origem + QPoint(caixa / 2, 10));
    ASSERT_TRUE(combo.ListaAberta());
    // The open list is as wide as the control.
    EXPECT_EQ(testsupport::ControleNoPonto(W(), origem + QPoint(350, 60)), &combo.Lista());
    testsupport::Clica(W(), origem + QPoint(caixa / 2, 10));
    EXPECT_FALSE(combo.ListaAberta());
}

// The print button, hovered and clicked on the list and the figure: its highlight goes once
// the printer dialog has closed, cancelled or printed, though the pointer has not moved.
TEST_F(MolduraPonteiro, ThePrintButtonGoesOutWhenThePrinterDialogCloses) {
    QTemporaryDir saida;
    teste::DialogoPdf dialogo(saida.filePath("lista.pdf").toStdString());
    const struct {
        int tela;
        bool cancela;
    } casos[] = {{3, true}, {3, false}, {4, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE("screen " + std::to_string(c.tela) + (c.cancela ? ", cancelled" : ", printed"));
        ASSERT_NO_FATAL_FAILURE(VaiPara(c.tela));
        frmZornakForm& j = J();
        ASSERT_NO_FATAL_FAILURE(Repousa());
        const QRect area = RetanguloVisivel(*j.Controle("imgBtnImprimirSel")) | RetanguloVisivel(*j.lblImprimir);
        const QImage apagado = testsupport::Captura(W()).copy(area);
        const QPoint centro = CentroVisivel(*j.lblImprimir);
        testsupport::MovePara(W(), centro);
        ASSERT_NE(testsupport::Captura(W()).copy(area), apagado) << "the pointer lights the button";
        dialogo.cancela = c.cancela;
        dialogo.vezes = 0;
        testsupport::Clica(W(), centro);
        EXPECT_EQ(dialogo.vezes, 1);
        EXPECT_EQ(caixas.Count(), 0u);
        EXPECT_EQ(testsupport::Captura(W()).copy(area), apagado) << "the button is drawn unlit";
        EXPECT_EQ(j.m_ChaveSelecao, "FORM");
        // The next move over it lights it again.
        testsupport::MovePara(W(), centro + QPoint(1, 0));
        EXPECT_NE(testsupport::Captura(W()).copy(area), apagado);
    }
}

// The list and the figure page, printed from the print button, go to the printer named with
// the program's title and the document's own title (the second line of its header), as a
// print queue or a PDF printer shows the job; the PDF file carries the same title.
TEST_F(MolduraPonteiro, PrintedListsAndFiguresGoToThePrinterUnderTheirTitles) {
    QTemporaryDir saida;
    const struct {
        int tela;
        int mensagem;   // the document title's first word
    } casos[] = {{3, 9}, {4, 8}};
    for (const auto& c : casos) {
        SCOPED_TRACE("screen " + std::to_string(c.tela));
        const std::string arquivo = saida.filePath(QString("tela%1.pdf").arg(c.tela)).toStdString();
        teste::DialogoPdf dialogo(arquivo);
        ASSERT_NO_FATAL_FAILURE(VaiPara(c.tela));
        frmZornakForm& j = J();
        vb::Printer().SetDocName("");
        testsupport::MovePara(W(), CentroVisivel(*j.lblImprimir));
        testsupport::Clica(W(), CentroVisivel(*j.lblImprimir));
        ASSERT_EQ(dialogo.vezes, 1);
        ASSERT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
        const std::string titulo = teste::LinhaQueComeca(teste::TextoPdf(arquivo), Traduz(c.mensagem) + " - ");
        ASSERT_FALSE(titulo.empty()) << "the header's document title";
        // The text read back from the page has its runs of blanks made single.
        const std::string esperado = teste::Simplifica(Traduz(0) + " - " + titulo);
        EXPECT_EQ(teste::Simplifica(vb::Printer().DocName()), esperado);
        EXPECT_EQ(teste::Simplifica(teste::TituloPdf(arquivo)), esperado);
    }
}

// On a small screen the window fills it, maximised from its first activation. The program's own
// minimise button keeps that: the window is minimised as a maximised one, and when the window
// manager restores it (it takes the Minimized flag away, as Qt reports a window shown again
// from the task bar) it is maximised again, at the size it had, not the 800 x 600 it was
// built with.
class MolduraPonteiroTelaPequena : public MolduraPonteiro {
protected:
    MolduraPonteiroTelaPequena() { tela = QSize(1024, 600); }
};

TEST_F(MolduraPonteiroTelaPequena, MinimisedFromItsButtonTheWindowComesBackMaximised) {
    ASSERT_NO_FATAL_FAILURE(VaiPara(1));
    frmZornakForm& j = J();
    QWidget* janela = W();
    // Shown, the window is activated (the window manager's part; offscreen, the test's).
    janela->activateWindow();
    testsupport::Processa();
    ASSERT_FALSE(j.m_PrimeiraAtivacao);
    ASSERT_EQ(j.WindowState(), vb::vbMaximized) << "maximised on its first activation";
    const QSize maximizada = janela->size();
    ASSERT_EQ(maximizada, janela->screen()->availableGeometry().size());

    ASSERT_NO_FATAL_FAILURE(Repousa());
    testsupport::MovePara(janela, CentroVisivel(j.Img("imgMinimizar")));
    testsupport::Clica(janela, CentroVisivel(j.Img("imgMinimizar")));
    testsupport::Processa();
    EXPECT_EQ(j.WindowState(), vb::vbMinimized);
    EXPECT_TRUE(janela->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_TRUE(janela->windowState().testFlag(Qt::WindowMaximized)) << "minimised as a maximised window";

    janela->setWindowState(janela->windowState() & ~Qt::WindowMinimized);
    testsupport::Processa();
    EXPECT_EQ(j.WindowState(), vb::vbMaximized);
    EXPECT_EQ(janela->size(), maximizada);
    EXPECT_EQ(caixas.Count(), 0u);
}

// Last: the exit ends the window, as the user's last click does.
TEST_F(MolduraPonteiro, TheExitButtonClosesTheWindow) {
    ASSERT_NO_FATAL_FAILURE(VaiPara(1));
    frmZornakForm& j = J();
    QWidget* janela = W();
    vb::Control* sair = j.lblSair;
    const QPoint centro = CentroVisivel(*sair);
    testsupport::MovePara(janela, centro);
    EXPECT_EQ(j.m_ChaveSelecao, "BTNSAIR");
    EXPECT_TRUE(j.Controle("imgBtnSairSel")->Visible());
    EXPECT_EQ(testsupport::ControleNoPonto(janela, centro), sair);
    testsupport::Clica(janela, centro);
    EXPECT_FALSE(j.IsLoaded());
}

}  // namespace

