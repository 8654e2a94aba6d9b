// The auxiliary window opened from the running program's main window by a click: what the
// pointer lit there goes out when the window opens over it, and the window's own print button
// goes out when its printer box closes. Read from the pixels of both windows.
#include "catalog/aux_window/frmZornak2.h"
#include "catalog/aux_window/ligacao/RegistroJanelaAuxiliar.h"
#include "common/modTraducao.h"
#include "tests/printing/Pdf.h"
#include "tests/screens_b/JanelaDemo.h"
#include "tests/support/Ponteiro.h"

#include <QTimer>

#include <functional>

namespace {

using testsupport::CentroVisivel;
using testsupport::RetanguloVisivel;

class AberturaAuxiliar : public JanelaDemo {
protected:
    void SetUp() override {
        JanelaDemo::SetUp();
        RegistraJanelaAuxiliar();
    }
    void TearDown() override {
        if (frmZornak2().IsLoaded()) frmZornak2().Unload();
        frmZornak2Form::Ligacoes() = LigacoesJanelaAuxiliar{};
        DefineJanelaAuxiliar(nullptr);
        EstadoPrograma.RequisicaoTela.clear();
        JanelaDemo::TearDown();
    }

    // Runs `acao` from the auxiliary window's modal loop once it shows the screen; after about
    // ten seconds without it, closes that window so that the test ends.
    static void QuandoMostrar(int tela, std::function<void(frmZornak2Form&)> acao, int tentativas = 1000) {
        QTimer::singleShot(10, [tela, acao, tentativas] {
            frmZornak2Form& aux = frmZornak2();
            if (aux.IsLoaded() && aux.TelaAtual() == tela && !aux.TrocandoTela && aux.Window() &&
                aux.Window()->isVisible()) {
                acao(aux);
            } else if (tentativas > 0) {
                QuandoMostrar(tela, acao, tentativas - 1);
            } else {
                ADD_FAILURE() << "the auxiliary window did not show screen " << tela;
                if (aux.IsLoaded()) aux.Unload();
            }
        });
    }

    // What an area of a window shows.
    static QImage Area(QWidget* janela, const QRect& area) { return testsupport::Captura(janela).copy(area); }
};

// One element of the main window that opens the auxiliary window, and the picture that shows
// its hover.
struct Abre {
    const char* nome;
    std::function<vb::Control*(frmZornakForm&)> elemento;
    std::function<vb::Control*(frmZornakForm&)> realce;
    int tela;
};

TEST_F(AberturaAuxiliar, OpeningClearsWhatThePointerLitInTheMainWindow) {
    const std::vector<Abre> casos = {
        {"cart icon", [](frmZornakForm& j) { return &j.Img("imgCarrinho"); },
         [](frmZornakForm& j) { return &j.Img("imgCarrinhoSel"); }, 2},
        {"settings link", [](frmZornakForm& j) { return static_cast<vb::Control*>(j.lblConfiguracoes); },
         [](frmZornakForm& j) { return j.Controle("imgBtnConfiguracoesSel"); }, 5},
        // A label underlined under the pointer.
        {"group link of the home screen", [](frmZornakForm& j) { return &j.Lbl("lblGrupoM", 0); },
         [](frmZornakForm& j) { return &j.Lbl("lblGrupoM", 0); }, 3},
    };
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    QWidget* janela = j.Window();
    for (const Abre& c : casos) {
        SCOPED_TRACE(c.nome);
        vb::Control* elemento = c.elemento(j);
        vb::Control* realce = c.realce(j);
        ASSERT_NE(elemento, nullptr);
        ASSERT_NE(realce, nullptr);
        testsupport::MovePara(janela, testsupport::PontoDe(*j.pctBase, QPoint(500, 3)));
        ASSERT_EQ(j.m_ChaveSelecao, "FORM");
        const QPoint centro = CentroVisivel(*elemento);
        const QRect area = RetanguloVisivel(*realce) | RetanguloVisivel(*elemento);
        const QImage apagado = Area(janela, area);
        testsupport::MovePara(janela, centro);
        ASSERT_NE(Area(janela, area), apagado) << "the pointer lights the element";

        QImage sobAuxiliar;
        std::string chave;
        QuandoMostrar(c.tela, [&](frmZornak2Form& aux) {
            sobAuxiliar = Area(janela, area);
            chave = j.m_ChaveSelecao;
            testsupport::Clica(*aux.lblVoltar);   // one screen in the history: Back closes
        });
        testsupport::Clica(janela, centro);
        ASSERT_FALSE(frmZornak2().IsLoaded());
        ASSERT_FALSE(sobAuxiliar.isNull()) << "the auxiliary window showed";
        EXPECT_EQ(sobAuxiliar, apagado) << "the element is drawn unlit while the auxiliary window is open";
        EXPECT_EQ(chave, "FORM");
        ASSERT_TRUE(erros.empty()) << erros.front();
    }
}

// The cart's print button, hovered and clicked: its highlight goes when the printer box
// closes, whether the box was cancelled or printed.
TEST_F(AberturaAuxiliar, ThePrintButtonGoesOutWhenThePrinterBoxCloses) {
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset("SELECT TOP 3 CodigoProduto FROM PRODUTO ORDER BY 1",
                                                                dao::dbOpenSnapshot);
    for (; !rs.Eof(); rs.MoveNext()) IncluiProdutoCarrinho(rs.Fields(0).Value().ToLong(), 1);
    rs.Close();
    QTemporaryDir saida;
    teste::DialogoPdf dialogo(saida.filePath("carrinho.pdf").toStdString());
    for (const bool cancela : {true, false}) {
        SCOPED_TRACE(cancela ? "cancelled" : "printed");
        dialogo.cancela = cancela;
        dialogo.vezes = 0;
        QImage apagado, aceso, depois;
        std::string chave;
        QuandoMostrar(2, [&](frmZornak2Form& aux) {
            QWidget* w = aux.Window();
            const QRect area = RetanguloVisivel(*aux.imgBtnImprimirSel) | RetanguloVisivel(*aux.lblImprimir);
            apagado = Area(w, area);
            testsupport::MovePara(w, CentroVisivel(*aux.lblImprimir));
            aceso = Area(w, area);
            testsupport::Clica(w, CentroVisivel(*aux.lblImprimir));
            depois = Area(w, area);
            chave = aux.ChaveSelecaoAtual;
            testsupport::Clica(*aux.lblVoltar);
        });
        testsupport::Clica(j.Img("imgCarrinho"));
        ASSERT_FALSE(frmZornak2().IsLoaded());
        EXPECT_EQ(dialogo.vezes, 1);
        ASSERT_FALSE(apagado.isNull());
        EXPECT_NE(aceso, apagado) << "the pointer lights the button";
        EXPECT_EQ(depois, apagado) << "the button is drawn unlit once the box has closed";
        EXPECT_EQ(chave, "FORM");
        ASSERT_TRUE(erros.empty()) << erros.front();
    }
}

// The cart printed from its screen's print button goes to the printer named with the
// program's title and the cart's document title (the second line of its header), as a print
// queue or a PDF printer shows the job; the PDF file carries the same title.
TEST_F(AberturaAuxiliar, ThePrintedCartGoesToThePrinterUnderItsTitle) {
    frmZornakForm& j = Inicia();
    j.Show();
    testsupport::Processa();
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset("SELECT TOP 2 CodigoProduto FROM PRODUTO ORDER BY 1",
                                                                dao::dbOpenSnapshot);
    for (; !rs.Eof(); rs.MoveNext()) IncluiProdutoCarrinho(rs.Fields(0).Value().ToLong(), 1);
    rs.Close();
    QTemporaryDir saida;
    const std::string arquivo = saida.filePath("carrinho.pdf").toStdString();
    teste::DialogoPdf dialogo(arquivo);
    vb::Printer().SetDocName("");
    QuandoMostrar(2, [&](frmZornak2Form& aux) {
        QWidget* w = aux.Window();
        testsupport::MovePara(w, CentroVisivel(*aux.lblImprimir));
        testsupport::Clica(w, CentroVisivel(*aux.lblImprimir));
        testsupport::Clica(*aux.lblVoltar);
    });
    testsupport::Clica(j.Img("imgCarrinho"));
    ASSERT_FALSE(frmZornak2().IsLoaded());
    ASSERT_EQ(dialogo.vezes, 1);
    ASSERT_TRUE(erros.empty()) << erros.front();
    const std::string titulo = teste::LinhaQueComeca(teste::TextoPdf(arquivo), Traduz(36) + " - ");
    ASSERT_FALSE(titulo.empty()) << "the header's document title";
    // The text read back from the page has its runs of blanks made single.
    const std::string esperado = teste::Simplifica(Traduz(0) + " - " + titulo);
    EXPECT_EQ(teste::Simplifica(vb::Printer().DocName()), esperado);
    EXPECT_EQ(teste::Simplifica(teste::TituloPdf(arquivo)), esperado);
}

}  // namespace
