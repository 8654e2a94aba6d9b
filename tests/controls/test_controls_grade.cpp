#include "Fixture.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/Modulo.h"
#include "platform/vb/Err.h"

#include <QMouseEvent>
#include "platform/forms/Keys.h"

#include <QScrollBar>
#include <QStyle>

#include <memory>

namespace {

using fixture::Twips;

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new testsupport::AmbienteAplicacao("test_controls"));

// Code, description and three picture columns: the cart (clickable), the release mark with
// its date legend (not clickable) and a fixed figure picture (clickable).
std::vector<std::string> Colunas() {
    return {"Codigo|1|" + Twips(60) + "|T",
            "Descricao|0|" + Twips(150) + "|T",
            "ImagensGrid|2|" + Twips(30) + "|I|Cesta!|99",
            "ImagensGrid|2|" + Twips(70) + "|I|Lancamento|0|" + Twips(40),
            "|2|" + Twips(40) + "|F|Figura|99"};
}

struct Eventos {
    int cliques = 0, duplos = 0, mudancas = 0, atualizados = 0;
    std::vector<MarcadorLinha> anteriores;
    struct Imagem { int coluna; MarcadorLinha marcador; int botao; };
    std::vector<Imagem> imagens;
};

class ControlesGrade : public ::testing::Test {
protected:
    void Monta(int produtos, const std::string& sql = "SELECT * FROM PRODUTO ORDER BY Codigo") {
        EstadoPrograma.Idioma = "P";
        banco = std::make_unique<fixture::Banco>(produtos);
        banco->Liga(dc, sql);
        janela.monta = [this](fixture::Janela& j) {
            grade = j.Cria<THGrid>("grdTHGrid1");
            grade->mUserControlPixelWidth = 400;
            grade->mUserControlPixelHeight = 170;
            grade->Move(10, 10, 400, 170);
            grade->SetBackColor(0xFFFFFF);
            grade->mTextGridVazio = "Nenhum Item Encontrado";
            grade->Click = [this] { ++ev.cliques; };
            grade->DblClick = [this] { ++ev.duplos; };
            grade->RowColChange = [this](const MarcadorLinha& anterior, int) {
                ++ev.mudancas;
                ev.anteriores.push_back(anterior);
            };
            grade->ImageClick = [this](std::uint8_t c, const MarcadorLinha& b, int botao) {
                ev.imagens.push_back({c, b, botao});
            };
            grade->GridAtualizado = [this] { ++ev.atualizados; };
        };
        janela.Load();
        janela.Move(0, 0, 700, 400);
        janela.Show();
        grade->ObtemDataControl(dc);
        grade->ObtemPictures(fixture::Tabela(3));
        grade->ConfiguraColunas(Colunas());
        grade->AtualizaGrid();
        fixture::Processa();
        ev = {};
    }
    void TearDown() override { janela.Unload(); }

    long CodigoAtual() const { return dc.GetRecordset().Value("Codigo").ToLong(); }
    QPoint CentroLinha(int r) const { return QPoint(100, r * 17 + 8); }
    void Clica(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(w, b, Qt::NoModifier, p);
        fixture::Processa();
    }
    void DuploClique(QWidget* w, QPoint p) {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, p);
        QMouseEvent duplo(QEvent::MouseButtonDblClick, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &duplo);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, p);
        fixture::Processa();
    }
    QWidget* Marca(int k, int r) const {
        vb::PictureBox* m = grade->Marcador(k, r);
        return m ? m->Widget() : nullptr;
    }

    std::unique_ptr<fixture::Banco> banco;
    dao::DataControl dc;
    fixture::Janela janela;
    THGrid* grade = nullptr;
    Eventos ev;
};

TEST_F(ControlesGrade, SelectionBarShowsTheCurrentRowAndFollowsAClick) {
    Monta(40);
    EXPECT_EQ(grade->LinhasPorPagina(), 10);
    EXPECT_EQ(grade->Height(), 170);
    EXPECT_EQ(grade->PctTHGridTop(), 0);
    EXPECT_EQ(grade->Caption_lblTHGrid(0), "1");
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "PRODUTO 1");
    // The bar lets the mouse through to the grid under it.
    EXPECT_EQ(grade->Widget()->childAt(CentroLinha(0)), &grade->Grade());

    const MarcadorLinha linha0 = grade->RowBookmark(0);
    Clica(&grade->Grade(), CentroLinha(3));
    EXPECT_EQ(CodigoAtual(), 4);
    EXPECT_EQ(grade->Row(), 3);
    EXPECT_EQ(grade->PctTHGridTop(), 51);
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "PRODUTO 4");
    EXPECT_EQ(ev.mudancas, 1);
    ASSERT_EQ(ev.anteriores.size(), 1u);
    EXPECT_EQ(ev.anteriores[0], linha0);
    EXPECT_EQ(ev.cliques, 1);

    // A click on the row that is already current changes nothing.
    Clica(&grade->Grade(), CentroLinha(3));
    EXPECT_EQ(ev.mudancas, 1);
    EXPECT_EQ(ev.cliques, 2);
}

TEST_F(ControlesGrade, ColumnsFollowTheSpecification) {
    Monta(40);
    ASSERT_EQ(grade->ColumnCount(), 5);
    // The first column starts 2 pixels in; the last fills the bar and 3 pixels more.
    const int barra = grade->BarraSelecao()->Width();
    int esquerda = 0, largura = 0, alinhamento = 0;
    grade->Properties_lblTHGrid(0, esquerda, largura, alinhamento);
    EXPECT_EQ(esquerda, 2);
    EXPECT_EQ(largura, 55);
    EXPECT_EQ(alinhamento, 1);
    int soma = 2;
    for (int j = 0; j < 5; ++j) soma += grade->Columns(j).Width;
    EXPECT_EQ(soma, barra + 3);
    int x1 = 0, x2 = 0;
    grade->Properties_linTHGrid(0, x1, x2);
    EXPECT_EQ(x1, 2 + 60 - 3);
    EXPECT_EQ(grade->UBound_linTHGrid(), 3);
    EXPECT_EQ(grade->UBound_lblTHGrid(), 1);
    EXPECT_EQ(grade->UBound_imgSelecionado(), 2);
    EXPECT_EQ(grade->Tag_lblTHGrid(1), "Descricao");
    // The release picture sits with its legend in the middle of its column; the legend
    // label comes 2 pixels after the picture.
    vb::Picture figura;
    std::string dica;
    int ponteiro = 0;
    grade->Properties_imgSelecionado(1, esquerda, figura, dica, ponteiro);
    const int inicio = 2 + 60 + 150 + 30, W = 70 - 5, G = 40 + 2;
    EXPECT_EQ(esquerda, inicio + W / 2 - (G + 15) / 2);
    EXPECT_EQ(grade->Legenda(0)->Left(), esquerda + 15 + 2);
    EXPECT_EQ(dica, "Lancamento");
    EXPECT_EQ(ponteiro, 0);
    EXPECT_TRUE(grade->Visible_imgSelecionado(2));   // the fixed picture is always shown
}

TEST_F(ControlesGrade, MarkersAndLegendsFollowImagensGrid) {
    Monta(40);
    for (int r = 0; r < 10; ++r) {
        const int codigo = r + 1;
        SCOPED_TRACE(codigo);
        ASSERT_NE(Marca(0, r), nullptr);
        EXPECT_TRUE(grade->Marcador(0, r)->Visible());
        EXPECT_EQ(grade->Marcador(1, r)->Visible(), codigo % 2 == 0);
        EXPECT_TRUE(grade->Marcador(2, r)->Visible());
        EXPECT_EQ(grade->Marcador(0, r)->ToolTipText(), "Cesta!");
    }
    // Code 6 has a release date and shows its picture: the date is in its tooltip.
    EXPECT_EQ(grade->Marcador(1, 5)->ToolTipText(), "Lancamento (07-MAI-2024)");
    // The legend is drawn into the marker beside the picture, over the row's back colour.
    const int dx = grade->Legenda(0)->Left() - grade->Marcador(1, 5)->Left();
    bool desenhou = false;
    for (int x = dx; x < grade->Marcador(1, 5)->Width(); ++x)
        for (int y = 0; y < 14; ++y) desenhou = desenhou || grade->Marcador(1, 5)->Point(x, y) != 0xFFFFFF;
    EXPECT_TRUE(desenhou);
    // Code 4 shows the picture without a date: the base text alone.
    EXPECT_EQ(grade->Marcador(1, 3)->ToolTipText(), "Lancamento");
    // Code 3 has a date but no picture: nothing is drawn beside it.
    EXPECT_FALSE(grade->Marcador(1, 2)->Visible());
    bool limpo = true;
    for (int x = dx; x < grade->Marcador(1, 2)->Width(); ++x)
        for (int y = 0; y < 14; ++y) limpo = limpo && grade->Marcador(1, 2)->Point(x, y) == 0xFFFFFF;
    EXPECT_TRUE(limpo);

    // On the selection bar: the legend label carries the short date of the current row.
    Clica(&grade->Grade(), CentroLinha(5));
    EXPECT_TRUE(grade->Visible_imgSelecionado(1));
    EXPECT_EQ(grade->Legenda(0)->Caption(), "07 MAI");
    Clica(&grade->Grade(), CentroLinha(2));
    EXPECT_FALSE(grade->Visible_imgSelecionado(1));
    EXPECT_EQ(grade->Legenda(0)->Caption(), "");
}

TEST_F(ControlesGrade, ImageClickReportsThePicturePositionAndTheRow) {
    Monta(40);
    Clica(Marca(0, 4), QPoint(5, 5));
    ASSERT_EQ(ev.imagens.size(), 1u);
    EXPECT_EQ(ev.imagens[0].coluna, 0);
    EXPECT_EQ(ev.imagens[0].marcador, grade->RowBookmark(4));
    EXPECT_EQ(ev.imagens[0].botao, vb::vbLeftButton);
    EXPECT_EQ(CodigoAtual(), 5);
    EXPECT_EQ(ev.mudancas, 1);   // the row became current before the event

    // The right button clicks too, and says so.
    Clica(Marca(2, 1), QPoint(5, 5), Qt::RightButton);
    ASSERT_EQ(ev.imagens.size(), 2u);
    EXPECT_EQ(ev.imagens[1].coluna, 2);
    EXPECT_EQ(ev.imagens[1].marcador, grade->RowBookmark(1));
    EXPECT_EQ(ev.imagens[1].botao, vb::vbRightButton);
    EXPECT_EQ(CodigoAtual(), 2);

    // The closed box of a combo raises the same event for the current row.
    grade->EventImageClick(1);
    ASSERT_EQ(ev.imagens.size(), 3u);
    EXPECT_EQ(ev.imagens[2].marcador, grade->Grade().Bookmark());
    EXPECT_EQ(ev.imagens[2].botao, 0);
}

TEST_F(ControlesGrade, DoubleClicksOnPictures) {
    Monta(40);
    // A clickable picture: one ImageClick from the first click, no DblClick.
    DuploClique(Marca(0, 3), QPoint(5, 5));
    EXPECT_EQ(ev.imagens.size(), 1u);
    EXPECT_EQ(ev.duplos, 0);
    // With mIf_DblClick_Call_Click the double click clicks again.
    grade->mIf_DblClick_Call_Click = true;
    DuploClique(Marca(0, 3), QPoint(5, 5));
    EXPECT_EQ(ev.imagens.size(), 3u);
    EXPECT_EQ(ev.duplos, 0);
    // A picture that is not clickable counts as the grid: DblClick.
    DuploClique(Marca(1, 3), QPoint(5, 5));
    EXPECT_EQ(ev.duplos, 1);
    // And the grid itself.
    DuploClique(&grade->Grade(), CentroLinha(6));
    EXPECT_EQ(ev.duplos, 2);
}

TEST_F(ControlesGrade, KeyboardMovesTheCurrentRecordAndThePage) {
    Monta(40);
    struct Passo { Qt::Key tecla; int vezes; long codigo; int primeira; int mudancas; };
    const Passo passos[] = {
        {Qt::Key_Down, 12, 13, 3, 12},   // the page follows down, the record at the bottom row
        {Qt::Key_PageUp, 1, 3, 2, 1},    // a page up, the page follows up
        {Qt::Key_Up, 1, 2, 1, 1},
        {Qt::Key_End, 1, 40, 30, 1},
        {Qt::Key_Down, 1, 40, 30, 0},    // nothing beyond the last record
        {Qt::Key_Home, 1, 1, 0, 1},
        {Qt::Key_Up, 1, 1, 0, 0},
        {Qt::Key_PageDown, 1, 11, 1, 1},
    };
    for (const Passo& p : passos) {
        SCOPED_TRACE(p.codigo);
        ev.mudancas = 0;
        for (int i = 0; i < p.vezes; ++i) QTest::keyClick(&grade->Grade(), p.tecla);
        fixture::Processa();
        EXPECT_EQ(CodigoAtual(), p.codigo);
        EXPECT_EQ(grade->Grade().FirstRow(), p.primeira);
        EXPECT_EQ(ev.mudancas, p.mudancas);
        // The bar stays on the current record.
        EXPECT_EQ(grade->PctTHGridTop(), (p.codigo - 1 - p.primeira) * 17);
    }
}

TEST_F(ControlesGrade, EmptyAndShortLists) {
    Monta(40, "SELECT * FROM PRODUTO WHERE Codigo < 0");
    EXPECT_TRUE(grade->TextoVazio()->Visible());
    EXPECT_EQ(grade->TextoVazio()->Caption(), "Nenhum Item Encontrado");
    EXPECT_EQ(grade->PctTHGridTop(), -1);
    EXPECT_EQ(grade->Grade().ScrollBars(), 0);
    for (int r = 0; r < 10; ++r) EXPECT_FALSE(grade->Marcador(2, r)->Visible());
    vb::Control* fundo = dynamic_cast<vb::Control*>(vb::ControlOf(grade->Widget()->childAt(QPoint(100, 100))));
    ASSERT_NE(fundo, nullptr);
    EXPECT_EQ(fundo->Name(), "pctFundo");
    EXPECT_EQ(fundo->Top(), 0);
    EXPECT_EQ(fundo->Height(), 170);

    // Three rows: no scroll bar, the background panel below the last row.
    grade->AnalisarScollProximoRefresh();
    dc.SetRecordSource("SELECT * FROM PRODUTO WHERE Codigo <= 3 ORDER BY Codigo");
    dc.Refresh();
    grade->AtualizaGrid();
    EXPECT_FALSE(grade->TextoVazio()->Visible());
    EXPECT_EQ(grade->Grade().ScrollBars(), 0);
    EXPECT_EQ(grade->Grade().width(), 400 - grade->Grade().style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1);
    EXPECT_EQ(fundo->Top(), 51);
    EXPECT_EQ(fundo->Height(), 170 - 51);
    EXPECT_TRUE(grade->Marcador(2, 2)->Visible());
    EXPECT_FALSE(grade->Marcador(2, 3)->Visible());

    // Back to many rows: the scroll bar returns.
    grade->AnalisarScollProximoRefresh();
    dc.SetRecordSource("SELECT * FROM PRODUTO ORDER BY Codigo");
    dc.Refresh();
    grade->AtualizaGrid();
    EXPECT_EQ(grade->Grade().ScrollBars(), 2);
    EXPECT_EQ(grade->Grade().width(), 400);
    EXPECT_FALSE(fundo->Visible());
}

// A row whose fields are Null: empty texts, none of its flag-driven pictures, the fixed one.
TEST_F(ControlesGrade, NullFieldsShowEmptyTextsAndNoFlaggedPictures) {
    Monta(3);
    banco->db.Execute("INSERT INTO PRODUTO (Codigo) VALUES (4)");
    dc.Refresh();
    grade->AtualizaGrid();
    Clica(&grade->Grade(), CentroLinha(3));
    ASSERT_EQ(CodigoAtual(), 4);
    EXPECT_EQ(grade->PctTHGridTop(), 3 * 17);
    EXPECT_EQ(grade->Caption_lblTHGrid(0), "4");
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "");
    EXPECT_FALSE(grade->Visible_imgSelecionado(0));
    EXPECT_FALSE(grade->Visible_imgSelecionado(1));
    EXPECT_TRUE(grade->Visible_imgSelecionado(2));
    EXPECT_EQ(grade->Legenda(0)->Caption(), "");
    EXPECT_FALSE(grade->Marcador(0, 3)->Visible());
    EXPECT_FALSE(grade->Marcador(1, 3)->Visible());
    EXPECT_TRUE(grade->Marcador(2, 3)->Visible());
    EXPECT_TRUE(grade->Marcador(0, 2)->Visible());
    // Its pictures' clicks still report the row.
    Clica(Marca(2, 3), QPoint(5, 5));
    ASSERT_EQ(ev.imagens.size(), 1u);
    EXPECT_EQ(ev.imagens[0].marcador, grade->RowBookmark(3));
}

// With the list empty the background panel holds the focus; with rows the grid does.
TEST_F(ControlesGrade, FocusGoesToTheGridOrToTheEmptyPanel) {
    Monta(40, "SELECT * FROM PRODUTO WHERE Codigo < 0");
    QApplication::setActiveWindow(janela.Window());
    janela.caixa->SetFocus();
    fixture::Processa();
    grade->SetFocus();
    fixture::Processa();
    QWidget* foco = QApplication::focusWidget();
    ASSERT_NE(foco, nullptr);
    EXPECT_NE(foco, &grade->Grade());
    EXPECT_EQ(vb::ControlOf(foco) ? vb::ControlOf(foco)->Name() : std::string(), "pctFundo");
    grade->AnalisarScollProximoRefresh();
    dc.SetRecordSource("SELECT * FROM PRODUTO ORDER BY Codigo");
    dc.Refresh();
    grade->AtualizaGrid();
    janela.caixa->SetFocus();
    fixture::Processa();
    grade->SetFocus();
    fixture::Processa();
    EXPECT_EQ(QApplication::focusWidget(), &grade->Grade());
}

// A list that becomes empty by a requery of the same source (no re-check asked for) still
// shows the empty-list text on the screen.
TEST_F(ControlesGrade, EmptyTextShowsWithoutARecheck) {
    Monta(40);
    banco->db.Execute("DELETE FROM PRODUTO");
    dc.Refresh();
    grade->AtualizaGrid();
    fixture::Processa();
    EXPECT_EQ(grade->PctTHGridTop(), -1);
    EXPECT_TRUE(grade->TextoVazio()->Widget()->isVisible());
    EXPECT_EQ(grade->TextoVazio()->Caption(), "Nenhum Item Encontrado");
    // Rows again: the text goes.
    banco->db.Execute("INSERT INTO PRODUTO (Codigo, Descricao) VALUES (1, 'UM')");
    dc.Refresh();
    grade->AtualizaGrid();
    fixture::Processa();
    EXPECT_FALSE(grade->TextoVazio()->Widget()->isVisible());
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "UM");
    // The background panel lies below the row, not over it.
    EXPECT_EQ(grade->Widget()->childAt(CentroLinha(0)), &grade->Grade());
    EXPECT_NE(grade->Widget()->childAt(CentroLinha(1)), &grade->Grade());
}

TEST_F(ControlesGrade, RequeryTellsARowChange) {
    Monta(40);
    Clica(&grade->Grade(), CentroLinha(4));
    ev = {};
    dc.SetRecordSource("SELECT * FROM PRODUTO WHERE Codigo > 20 ORDER BY Codigo");
    dc.Refresh();
    EXPECT_EQ(ev.mudancas, 1);
    EXPECT_EQ(CodigoAtual(), 21);
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "PRODUTO 21");
    EXPECT_EQ(grade->Grade().FirstRow(), 0);
    // A find on the recordset moves the grid to the record found.
    dc.GetRecordset().FindFirst("Codigo = 35");
    EXPECT_EQ(ev.mudancas, 2);
    EXPECT_EQ(grade->Caption_lblTHGrid(0), "35");
    EXPECT_GE(grade->Row(), 0);
}

TEST_F(ControlesGrade, ScrollingByTheWheelAndTheDeferredRepaint) {
    Monta(40);
    grade->Scroll(0, 3, true);
    EXPECT_EQ(grade->Grade().FirstRow(), 3);
    EXPECT_EQ(CodigoAtual(), 1);                 // scrolling does not move the record
    EXPECT_EQ(grade->PctTHGridTop(), -1);        // which is now off the page
    EXPECT_EQ(grade->Marcador(1, 0)->Visible(), true);    // code 4 shows its note
    EXPECT_EQ(grade->Marcador(1, 1)->Visible(), false);   // code 5 does not
    grade->Scroll(0, -3, true);
    EXPECT_EQ(grade->Grade().FirstRow(), 0);
    EXPECT_EQ(grade->PctTHGridTop(), 0);
    grade->Scroll(0, 0, true);
    EXPECT_EQ(grade->Grade().FirstRow(), 0);

    // A burst of scroll events gives one repaint, two timer ticks after the last.
    ev.atualizados = 0;
    for (int i = 0; i < 3; ++i) grade->Grade().Scroll(0, 1);
    EXPECT_TRUE(fixture::Espera([&] { return ev.atualizados > 0; }));
    QTest::qWait(30);
    EXPECT_EQ(ev.atualizados, 1);
    EXPECT_EQ(grade->Grade().FirstRow(), 3);

    // The user's scroll bar scrolls the same way.
    ev.atualizados = 0;
    auto* barra = grade->Grade().findChild<QScrollBar*>();
    ASSERT_NE(barra, nullptr);
    barra->setValue(10);
    EXPECT_EQ(grade->Grade().FirstRow(), 10);
    EXPECT_TRUE(fixture::Espera([&] { return ev.atualizados == 1; }));
    EXPECT_EQ(grade->Marcador(1, 0)->Visible(), false);   // code 11
}

TEST_F(ControlesGrade, ScrollWithoutAScrollBarDoesNothing) {
    Monta(5);
    EXPECT_EQ(grade->Grade().ScrollBars(), 0);
    grade->Scroll(0, 2, true);
    EXPECT_EQ(grade->Grade().FirstRow(), 0);
}

TEST_F(ControlesGrade, HoverPicturesFollowTheMouse) {
    Monta(40);
    QTest::mouseMove(Marca(0, 3), QPoint(4, 4));
    fixture::Processa();
    EXPECT_EQ(grade->ChaveDestaque(), "PIC; ;3;0;3");
    QTest::mouseMove(Marca(2, 0), QPoint(4, 4));
    fixture::Processa();
    EXPECT_EQ(grade->ChaveDestaque(), "PIC;*;20;2;0");
    QTest::mouseMove(&grade->Grade(), CentroLinha(5));
    fixture::Processa();
    EXPECT_EQ(grade->ChaveDestaque(), "FORM");
    grade->ApagaSelecao();
    EXPECT_EQ(grade->ChaveDestaque(), "FORM");
}

TEST_F(ControlesGrade, HeightIsWholeRows) {
    Monta(40);
    struct Caso { int pedida; int altura; int linhas; };
    const Caso casos[] = {{170, 170, 10}, {100, 102, 6}, {8, 17, 1}, {25, 17, 1}, {26, 34, 2}, {17, 17, 1}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.pedida);
        grade->mUserControlPixelHeight = c.pedida;
        grade->Move(10, 10, 400, c.pedida);
        fixture::Processa();
        EXPECT_EQ(grade->Height(), c.altura);
        EXPECT_EQ(grade->LinhasPorPagina(), c.linhas);
        // Markers are made for the new page when it is painted.
        grade->AtualizaGrid();
        EXPECT_NE(grade->Marcador(2, c.linhas - 1), nullptr);
        EXPECT_TRUE(grade->Marcador(2, c.linhas - 1)->Visible());
    }
}

// Between a change of height and the next repaint the markers are those of the old page:
// a click on one still names its own picture position and row.
TEST_F(ControlesGrade, MarkerClickBeforeTheRepaintOfANewHeight) {
    Monta(40);
    QWidget* nota = Marca(1, 3);   // code 4 shows its note
    ASSERT_NE(nota, nullptr);
    grade->mUserControlPixelHeight = 102;
    grade->Move(10, 10, 400, 102);
    ASSERT_EQ(grade->LinhasPorPagina(), 6);
    Clica(nota, QPoint(5, 5));
    ASSERT_EQ(ev.imagens.size(), 1u);
    EXPECT_EQ(ev.imagens[0].coluna, 1);
    EXPECT_EQ(ev.imagens[0].marcador, grade->RowBookmark(3));
    EXPECT_EQ(CodigoAtual(), 4);
    grade->AtualizaGrid();
    EXPECT_NE(grade->Marcador(2, 5), nullptr);
    EXPECT_EQ(grade->Marcador(2, 6), nullptr);
}

TEST_F(ControlesGrade, ConfigurationErrorsChangeNothing) {
    Monta(40);
    EXPECT_THROW(grade->ConfiguraColunas({"Codigo|1|900|T", "Descricao|0"}), vb::Error);
    EXPECT_EQ(grade->ColumnCount(), 5);
    // The picture table went with the last configuration: a picture column needs a new one.
    try {
        grade->ConfiguraColunas({"|2|600|F|Figura|99"});
        ADD_FAILURE() << "no error";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
    }
    EXPECT_EQ(grade->ColumnCount(), 5);

    grade->Descarrega();
    EXPECT_EQ(grade->ColumnCount(), 0);
    const int topo = grade->PctTHGridTop();
    grade->AtualizaGrid();   // not configured: nothing changes
    EXPECT_EQ(grade->PctTHGridTop(), topo);
    // A single item keeps its own width.
    grade->ConfiguraColunas({"Descricao|0|" + Twips(120) + "|T"});
    EXPECT_EQ(grade->ColumnCount(), 1);
    EXPECT_EQ(grade->Columns(0).Width, 120);
    EXPECT_EQ(grade->Caption_lblTHGrid(0), "PRODUTO 1");
    EXPECT_FALSE(grade->Marcador(0, 0)->Visible());
    EXPECT_EQ(grade->Marcador(0, 1), nullptr);
}

TEST_F(ControlesGrade, ALongListHasMarkersForOnePageOnly) {
    Monta(3000);
    EXPECT_NE(grade->Marcador(2, 9), nullptr);
    EXPECT_EQ(grade->Marcador(3, 0), nullptr);
    QTest::keyClick(&grade->Grade(), Qt::Key_End);
    EXPECT_EQ(CodigoAtual(), 3000);
    EXPECT_EQ(grade->Caption_lblTHGrid(1), "PRODUTO 3000");
    EXPECT_EQ(grade->PctTHGridTop(), 9 * 17);
}

// The stored design of both controls: what is written is read back, defaults are not
// written, and a grid whose stored border is the single frame lays its parts inside it as
// one given that border at run time does.
TEST(ControlesPropriedades, StoredPropertiesRoundTrip) {
    EstadoPrograma.Idioma = "P";
    fixture::Janela modelo;
    THGrid* feita = nullptr;
    THCombo* combo = nullptr;
    modelo.monta = [&](fixture::Janela& j) {
        feita = j.Cria<THGrid>("grdFeita");
        combo = j.Cria<THCombo>("cboFeito");
    };
    modelo.Load();
    EXPECT_EQ(feita->BackColor(), 0xF0F0F0);
    EXPECT_EQ(feita->BorderStyle(), 0);
    EXPECT_EQ(combo->BackColor(), 0xFFFFFF);
    const vb::PropertyBag vazio = feita->SaveProperties();
    EXPECT_FALSE(vazio.Contains("BackColor"));
    EXPECT_FALSE(vazio.Contains("BorderStyle"));
    EXPECT_FALSE(combo->SaveProperties().Contains("BackColor"));
    feita->SetBorderStyle(1);
    feita->SetBackColor(0xFFFFFF);
    combo->SetBackColor(0xE0E0E0);
    EXPECT_TRUE(feita->WasPropertyChanged("BorderStyle"));
    EXPECT_TRUE(feita->WasPropertyChanged("BackColor"));
    EXPECT_TRUE(combo->WasPropertyChanged("BackColor"));
    const vb::PropertyBag bagGrade = feita->SaveProperties();
    const vb::PropertyBag bagCombo = combo->SaveProperties();

    fixture::Janela janela;
    THGrid* lida = nullptr;
    THCombo* comboLido = nullptr;
    janela.SetStoredProperties("grdLida", bagGrade);
    janela.SetStoredProperties("cboLido", bagCombo);
    janela.monta = [&](fixture::Janela& j) {
        lida = j.Cria<THGrid>("grdLida");
        comboLido = j.Cria<THCombo>("cboLido");
    };
    janela.Load();
    EXPECT_EQ(lida->BorderStyle(), 1);
    EXPECT_EQ(lida->BackColor(), 0xFFFFFF);
    EXPECT_EQ(lida->Grade().BackColor(), 0xFFFFFF);
    EXPECT_EQ(comboLido->BackColor(), 0xE0E0E0);
    for (THGrid* g : {feita, lida}) {
        g->mUserControlPixelWidth = 300;
        g->mUserControlPixelHeight = 85;
        g->Move(10, 10, 300, 85);
    }
    EXPECT_EQ(lida->Height(), feita->Height());
    EXPECT_EQ(lida->Grade().geometry(), feita->Grade().geometry());
    EXPECT_EQ(lida->BarraSelecao()->Widget()->geometry(), feita->BarraSelecao()->Widget()->geometry());
    EXPECT_EQ(lida->TextoVazio()->Parent().ContainerWidget()->geometry(),
              feita->TextoVazio()->Parent().ContainerWidget()->geometry());
    janela.Unload();
    modelo.Unload();
}

TEST_F(ControlesGrade, RowHelpersOfTheModule) {
    Monta(40);
    Clica(&grade->Grade(), CentroLinha(5));
    EXPECT_EQ(ObtemLinhaSelecionadaGrid(*grade), 5);
    EXPECT_FALSE(SelecionaLinhaGrid(*grade, 255));
    EXPECT_FALSE(SelecionaLinhaGrid(*grade, 5));
    EXPECT_TRUE(SelecionaLinhaGrid(*grade, 2));   // scrolls the page 3 rows down
    EXPECT_EQ(grade->Grade().FirstRow(), 3);
    EXPECT_EQ(grade->Row(), 2);
    EXPECT_EQ(CodigoAtual(), 6);

    EXPECT_FALSE(PosicionaGrid(dc, *grade, grade->RowBookmark(2)));
    EXPECT_TRUE(PosicionaGrid(dc, *grade, grade->RowBookmark(1)));
    EXPECT_TRUE(PosicionaGrid(dc, *grade, std::nullopt));
    grade->Scroll(0, 5, true);                    // the record off the page
    EXPECT_EQ(ObtemLinhaSelecionadaGrid(*grade), 255);
    dc.SetRecordSource("SELECT * FROM PRODUTO WHERE Codigo < 0");
    dc.Refresh();
    EXPECT_TRUE(PosicionaGrid(dc, *grade, std::nullopt));
    EXPECT_EQ(ObtemLinhaSelecionadaGrid(*grade), 255);
}

}  // namespace
