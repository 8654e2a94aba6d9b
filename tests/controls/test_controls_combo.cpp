#include "Fixture.h"

#include "catalog/startup/Modulo.h"
#include "common/Modulo.h"
#include "platform/forms/Keys.h"
#include "platform/vb/Err.h"
#include "tests/support/LinhasLista.h"
#include "tests/support/Ponteiro.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>

#include <memory>

namespace {

using fixture::Twips;

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new testsupport::AmbienteAplicacao("test_controls"));

class ControlesCombo : public ::testing::Test {
protected:
    // A combo 200 pixels wide over the products; its list shows the description.
    void Monta(bool atualiza = true, int produtos = 30) {
        EstadoPrograma.Idioma = "P";
        banco = std::make_unique<fixture::Banco>(produtos);
        banco->Liga(dc, sql);
        janela.monta = [this](fixture::Janela& j) {
            combo = j.Cria<THCombo>("cboTHCombo1");
            combo->mUserControlPixelWidth = 200;
            combo->Move(20, 20, 200, 21);
            combo->SelecaoAlterada = [this] { ++selecoes; };
            combo->ImageClick = [this](std::uint8_t c, const MarcadorLinha&, int botao) {
                imagens.push_back({c, botao});
            };
        };
        janela.Load();
        janela.Move(0, 0, 700, 400);
        janela.Show();
        QApplication::setActiveWindow(janela.Window());
        combo->ObtemDataControl(dc);
        if (configura) configura();
        else combo->ConfiguraColunas({"Descricao|0|" + Twips(200) + "|T"});
        if (atualiza) combo->AtualizaCombo();
        fixture::Processa();
    }
    void TearDown() override { janela.Unload(); }

    long CodigoAtual() const { return dc.GetRecordset().Value("Codigo").ToLong(); }
    void Seta() {
        QTest::mouseClick(combo->Seta().Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        fixture::Processa();
    }
    void ClicaLinha(int r) {
        QTest::mouseClick(&combo->Lista().Grade(), Qt::LeftButton, Qt::NoModifier, QPoint(60, r * 17 + 8));
    }
    void Tecla(Qt::Key k) {
        QWidget* foco = QApplication::focusWidget();
        QTest::keyClick(foco ? foco : &combo->Lista().Grade(), k);
        fixture::Processa();
    }
    std::string Caixa() const { return combo->TextoCelula(0).Caption(); }

    std::unique_ptr<fixture::Banco> banco;
    dao::DataControl dc;
    fixture::Janela janela;
    THCombo* combo = nullptr;
    std::function<void()> configura;
    std::string sql = "SELECT * FROM PRODUTO ORDER BY Codigo";
    int selecoes = 0;
    std::vector<std::pair<int, int>> imagens;
};

TEST_F(ControlesCombo, ArrowOpensAndClosingWithoutAChoiceRestoresTheRecord) {
    Monta();
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(Caixa(), "PRODUTO 1");
    EXPECT_EQ(combo->Height(), 193);
    Seta();
    ASSERT_TRUE(combo->ListaAberta());
    EXPECT_TRUE(combo->Lista().Grade().hasFocus());
    // Keys move through the open list: the record follows, the box and the host do not.
    Tecla(Qt::Key_Down);
    Tecla(Qt::Key_Down);
    Tecla(Qt::Key_Down);
    EXPECT_EQ(CodigoAtual(), 4);
    EXPECT_EQ(Caixa(), "PRODUTO 1");
    QTest::qWait(20);
    EXPECT_EQ(selecoes, 0);
    Seta();
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(CodigoAtual(), 1);
    EXPECT_EQ(selecoes, 0);
}

TEST_F(ControlesCombo, ClickingARowChoosesItEvenTheChosenOne) {
    Monta();
    Seta();
    ClicaLinha(2);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 1; }));
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(CodigoAtual(), 3);
    EXPECT_EQ(Caixa(), "PRODUTO 3");
    EXPECT_EQ(combo->MarcadorSalvo(), dc.GetRecordset().GetBookmark());
    // The chosen record stays when the list opens and closes again.
    Seta();
    Seta();
    EXPECT_EQ(CodigoAtual(), 3);
    // Choosing the row that is already chosen still tells the host.
    Seta();
    ClicaLinha(2);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 2; }));
    EXPECT_EQ(CodigoAtual(), 3);
    EXPECT_FALSE(combo->ListaAberta());
}

TEST_F(ControlesCombo, EscAndFocusLeavingCloseAndRestore) {
    Monta();
    Seta();
    ASSERT_TRUE(combo->Lista().Grade().hasFocus());
    Tecla(Qt::Key_Down);
    EXPECT_EQ(CodigoAtual(), 2);
    Tecla(Qt::Key_Escape);
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(CodigoAtual(), 1);
    EXPECT_FALSE(combo->Lista().Grade().hasFocus());
    EXPECT_EQ(selecoes, 0);

    Seta();
    Tecla(Qt::Key_Down);
    janela.caixa->SetFocus();
    fixture::Processa();
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(CodigoAtual(), 1);
}

TEST_F(ControlesCombo, KeepOpenOnFocusLeaving) {
    Monta();
    combo->mNaoFecharExitFocus = true;
    Seta();
    Tecla(Qt::Key_Down);
    Tecla(Qt::Key_Escape);   // the focus goes, the list and the record stay
    EXPECT_TRUE(combo->ListaAberta());
    EXPECT_FALSE(combo->Lista().Grade().hasFocus());
    EXPECT_EQ(CodigoAtual(), 2);
    janela.caixa->SetFocus();
    fixture::Processa();
    EXPECT_TRUE(combo->ListaAberta());
    combo->Descarrega();
    EXPECT_FALSE(combo->mNaoFecharExitFocus);
}

TEST_F(ControlesCombo, BeforeTheFirstAtualizaComboClosingMovesNothing) {
    Monta(false);
    EXPECT_FALSE(combo->MarcadorSalvo().has_value());
    Seta();
    Tecla(Qt::Key_Down);
    Tecla(Qt::Key_Down);
    Seta();
    EXPECT_EQ(CodigoAtual(), 3);
}

TEST_F(ControlesCombo, AtualizaComboAfterARequery) {
    Monta();
    combo->AnalisarScollProximoRefresh();
    dc.SetRecordSource("SELECT * FROM PRODUTO WHERE Codigo > 10 ORDER BY Codigo");
    dc.Refresh();
    dc.GetRecordset().FindFirst("Codigo = 25");
    combo->AtualizaCombo();
    EXPECT_EQ(Caixa(), "PRODUTO 25");
    ASSERT_TRUE(combo->MarcadorSalvo().has_value());
    EXPECT_EQ(*combo->MarcadorSalvo(), dc.GetRecordset().GetBookmark());
    // The list shows the record chosen, on its page.
    EXPECT_EQ(combo->Lista().Caption_lblTHGrid(0), "PRODUTO 25");
    EXPECT_GE(combo->Lista().PctTHGridTop(), 0);
    Seta();
    Tecla(Qt::Key_Up);
    Seta();
    EXPECT_EQ(CodigoAtual(), 25);
    // A bookmark of the old rows is not put back after a requery without AtualizaCombo.
    combo->AnalisarScollProximoRefresh();
    dc.Refresh();
    Seta();
    Seta();
    EXPECT_EQ(CodigoAtual(), 11);
}

TEST_F(ControlesCombo, WheelScrollsOnlyAnOpenList) {
    Monta();
    IRolagemRoda& roda = *combo;
    roda.Scroll(0, 4, true);
    EXPECT_EQ(combo->Lista().Grade().FirstRow(), 0);
    Seta();
    roda.Scroll(0, 4, true);
    EXPECT_EQ(combo->Lista().Grade().FirstRow(), 4);
    IComboRolagem& rolagem = *combo;
    rolagem.AnalisarScollProximoRefresh();   // the selector loaders' call
}

TEST_F(ControlesCombo, ListWiderThanTheCombo) {
    configura = [this] { combo->ConfiguraColunas({"Descricao|0|" + Twips(300) + "|T"}, std::nullopt, 300 * 15); };
    Monta();
    EXPECT_EQ(combo->Width(), 300);
    EXPECT_EQ(combo->Lista().Width(), 300);
    EXPECT_EQ(combo->Lista().Height(), 172);
    EXPECT_EQ(combo->Height(), 193);
    // The arrow goes to the new right end at the next resize.
    combo->Move(20, 20, 310, 193);
    fixture::Processa();
    EXPECT_EQ(combo->Width(), 300);
    EXPECT_EQ(combo->Seta().Left(), 300 - 17);
}

// The application list's way: the list as wide as the control, then a box only as wide as
// its caption. The box is framed, drawn and clicked at its own width; only the open list
// takes the rest of the control.
TEST_F(ControlesCombo, ABoxNarrowerThanItsListKeepsItsOwnWidth) {
    configura = [this] { combo->ConfiguraColunas({"Descricao|0|" + Twips(300) + "|T"}, std::nullopt, 300 * 15); };
    Monta();
    janela.SetBackColor(0x00FF00);
    combo->mUserControlPixelWidth = 120;
    combo->SetWidth(120);
    combo->VisiblePctTexto(true, "CAIXA");
    fixture::Processa();
    ASSERT_EQ(combo->Width(), 300) << "the control keeps the room of its list";
    EXPECT_EQ(combo->Seta().Left() + combo->Seta().Width(), 120);

    QWidget* w = janela.Window();
    const QPoint origem = combo->Widget()->mapTo(w, QPoint(0, 0));
    const QColor moldura(0xA0, 0xA0, 0xA0), fundo(0, 255, 0);
    QImage tela = testsupport::Captura(w);
    EXPECT_EQ(tela.pixelColor(origem + QPoint(119, 19)), moldura);
    EXPECT_EQ(tela.pixelColor(origem + QPoint(60, 20)), moldura);
    for (int x : {121, 200, 299}) {
        EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 19)), fundo) << x;
        EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 5)), fundo) << x;
    }
    // Beside the box the pointer reaches the window, not the combo.
    EXPECT_EQ(testsupport::ControleNoPonto(w, origem + QPoint(200, 10)), nullptr);
    testsupport::Clica(w, origem + QPoint(200, 10));
    EXPECT_FALSE(combo->ListaAberta());
    // Anywhere on the box's text it opens; the list has the control's whole width.
    testsupport::Clica(w, origem + QPoint(90, 10));
    ASSERT_TRUE(combo->ListaAberta());
    tela = testsupport::Captura(w);
    EXPECT_NE(tela.pixelColor(origem + QPoint(280, 40)), fundo);
    EXPECT_EQ(tela.pixelColor(origem + QPoint(200, 10)), fundo) << "beside the box, above the list";
    EXPECT_EQ(testsupport::ControleNoPonto(w, origem + QPoint(280, 40)), &combo->Lista());
}

// Only the focus going to another control of the window closes the list; another window taking
// the focus (another program's, a message box) leaves it open with the row chosen by the keys.
TEST_F(ControlesCombo, AnotherWindowTakingTheFocusLeavesTheListOpen) {
    Monta();
    Seta();
    Tecla(Qt::Key_Down);
    Tecla(Qt::Key_Down);
    ASSERT_TRUE(combo->ListaAberta());
    ASSERT_EQ(CodigoAtual(), 3);
    for (const bool comCaixa : {false, true}) {
        SCOPED_TRACE(comCaixa ? "a window with a text box" : "a window without focus");
        QWidget outra;
        outra.resize(120, 60);
        if (comCaixa) (new QLineEdit(&outra))->setFocus();
        outra.show();
        QApplication::setActiveWindow(&outra);
        fixture::Processa();
        EXPECT_TRUE(combo->ListaAberta());
        EXPECT_EQ(CodigoAtual(), 3);
        outra.close();
        QApplication::setActiveWindow(janela.Window());
        fixture::Processa();
        EXPECT_TRUE(combo->ListaAberta());
    }
    EXPECT_EQ(selecoes, 0);
    // Back in the window, the focus on another control closes it and restores the record.
    janela.caixa->SetFocus();
    fixture::Processa();
    EXPECT_FALSE(combo->ListaAberta());
    EXPECT_EQ(CodigoAtual(), 1);
}

// The red of the hover arrow: pixels of it in an area of the window.
int PixelsVermelhos(const QImage& tela, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = tela.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90) ++n;
        }
    return n;
}

// The box's frame is whole on all four sides, under the arrow as well, with the pointer away
// and with it over the arrow.
TEST_F(ControlesCombo, TheFrameRunsUnbrokenUnderTheArrow) {
    Monta();
    QWidget* w = janela.Window();
    const QPoint origem = combo->Widget()->mapTo(w, QPoint(0, 0));
    const int direita = combo->Seta().Left() + combo->Seta().Width() - 1;
    const QColor moldura(0xA0, 0xA0, 0xA0);
    for (const bool sobreSeta : {false, true}) {
        SCOPED_TRACE(sobreSeta ? "pointer over the arrow" : "pointer away");
        testsupport::MovePara(w, sobreSeta ? testsupport::CentroVisivel(combo->Seta()) : QPoint(650, 300));
        const QImage tela = testsupport::Captura(w);
        if (sobreSeta) {
            ASSERT_GT(PixelsVermelhos(tela, testsupport::RetanguloVisivel(combo->Seta())), 20);
        }
        for (int y = 0; y <= 20; ++y) {
            EXPECT_EQ(tela.pixelColor(origem + QPoint(direita, y)), moldura) << "right side, y " << y;
            EXPECT_EQ(tela.pixelColor(origem + QPoint(0, y)), moldura) << "left side, y " << y;
        }
        for (int x = 0; x <= direita; x += 7) {
            EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 0)), moldura) << "top, x " << x;
            EXPECT_EQ(tela.pixelColor(origem + QPoint(x, 20)), moldura) << "bottom, x " << x;
        }
    }
}

// A host unloads the combo while the pointer lights its arrow (a key switches the screen) and
// places it elsewhere for the next screen: the arrow there is the plain one, and stays so when
// the pointer moves on.
TEST_F(ControlesCombo, UnloadingTakesTheLitArrowAlong) {
    Monta();
    QWidget* w = janela.Window();
    const QPoint ponteiro = testsupport::CentroVisivel(combo->Seta());
    testsupport::MovePara(w, QPoint(650, 300));
    testsupport::MovePara(w, ponteiro);
    ASSERT_EQ(combo->ChaveDestaque(), "FLECHA");
    ASSERT_GT(PixelsVermelhos(testsupport::Captura(w), testsupport::RetanguloVisivel(combo->Seta())), 20);

    combo->Descarrega();
    combo->Move(300, 60, 200, 21);
    combo->ConfiguraColunas({"Descricao|0|" + Twips(200) + "|T"});
    combo->AtualizaCombo();
    fixture::Processa();
    const QRect seta = testsupport::RetanguloVisivel(combo->Seta());
    ASSERT_FALSE(seta.contains(ponteiro)) << "the pointer is not over the moved arrow";
    EXPECT_EQ(PixelsVermelhos(testsupport::Captura(w), seta), 0);
    testsupport::MovePara(w, QPoint(650, 300));
    combo->ApagaSelecao();
    EXPECT_EQ(PixelsVermelhos(testsupport::Captura(w), seta), 0);
}

TEST_F(ControlesCombo, WithoutAPixelWidthTheComboIsOnlyTheBox) {
    Monta();
    combo->mUserControlPixelWidth = 0;
    combo->Move(20, 20, 150, 50);
    fixture::Processa();
    EXPECT_EQ(combo->Height(), 13);
    // A configured combo is never narrower than its list.
    EXPECT_EQ(combo->Width(), 200);
}

TEST_F(ControlesCombo, ClosedBoxAfterItsOwnSpecification) {
    // The note flag alone: codes 2, 4, ... show the picture.
    sql = "SELECT Codigo, Descricao, Grupo, Mid(ImagensGrid, 2) AS ImagensGrid FROM PRODUTO ORDER BY Codigo";
    configura = [this] {
        combo->ObtemPictures(fixture::Tabela(1));
        combo->ConfiguraColunas({"Descricao|0|" + Twips(120) + "|T", "ImagensGrid|2|" + Twips(40) + "|I|Nota|99"},
                                std::vector<std::string>{"Grupo|0|" + Twips(60) + "|T",
                                                         "Descricao|0|" + Twips(100) + "|T",
                                                         "ImagensGrid|1|" + Twips(30) + "|I|x|99"});
    };
    Monta();
    // "Grupo" is no text column of the list: it never changes. "Descricao" follows.
    EXPECT_EQ(combo->TextoCelula(0).Caption(), "");
    EXPECT_EQ(combo->TextoCelula(0).Left(), 2);
    EXPECT_EQ(combo->TextoCelula(1).Caption(), "PRODUTO 1");
    EXPECT_EQ(combo->TextoCelula(1).Left(), 62);
    EXPECT_EQ(combo->TextoCelula(1).Width(), 95);
    // A right-aligned picture ends 5 pixels before its cell's right edge.
    EXPECT_EQ(combo->FiguraCelula(0).Left(), 162 + 30 - 5 - 15);
    // The picture shows as the list's bar shows it: code 1 has no note, code 2 has.
    EXPECT_FALSE(combo->FiguraCelula(0).Visible());
    Seta();
    ClicaLinha(1);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 1; }));
    EXPECT_TRUE(combo->FiguraCelula(0).Visible());
    EXPECT_EQ(combo->TextoCelula(1).Caption(), "PRODUTO 2");
    // A click on the box's picture is the list's image click for the chosen row.
    QTest::mouseClick(combo->FiguraCelula(0).Widget(), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    ASSERT_EQ(imagens.size(), 1u);
    EXPECT_EQ(imagens[0], std::make_pair(0, vb::vbRightButton));
}

// The hover picture shown over a row picture of the box must not take the mouse: the picture
// stays highlighted while the mouse rests on it, and a click on it is still its image click.
TEST_F(ControlesCombo, BoxPictureUnderItsHoverVariantKeepsItsClick) {
    sql = "SELECT Codigo, Descricao, Grupo, Mid(ImagensGrid, 2) AS ImagensGrid FROM PRODUTO ORDER BY Codigo";
    configura = [this] {
        combo->ObtemPictures(fixture::Tabela(1));
        combo->ConfiguraColunas({"Descricao|0|" + Twips(120) + "|T", "ImagensGrid|2|" + Twips(40) + "|I|Nota|99"});
    };
    Monta();
    Seta();
    ClicaLinha(1);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 1; }));
    vb::Image& figura = combo->FiguraCelula(0);
    ASSERT_TRUE(figura.Visible());
    QTest::mouseMove(figura.Widget(), QPoint(3, 3));
    fixture::Processa();
    ASSERT_EQ(combo->ChaveDestaque(), "SELECIONADO0");
    // Whatever now lies under the mouse gets the next events.
    const QPoint ponto = figura.Widget()->mapTo(combo->Widget(), QPoint(3, 3));
    QWidget* sob = combo->Widget()->childAt(ponto);
    ASSERT_NE(sob, nullptr);
    const QPoint local = sob->mapFrom(combo->Widget(), ponto);
    QTest::mouseMove(sob, local + QPoint(1, 0));
    fixture::Processa();
    EXPECT_EQ(combo->ChaveDestaque(), "SELECIONADO0");
    QTest::mouseClick(sob, Qt::LeftButton, Qt::NoModifier, local);
    fixture::Processa();
    ASSERT_EQ(imagens.size(), 1u);
    EXPECT_EQ(imagens[0], std::make_pair(0, vb::vbLeftButton));
    EXPECT_FALSE(combo->ListaAberta());
}

TEST_F(ControlesCombo, BadClosedBoxSpecificationChangesNothing) {
    Monta();
    const std::vector<std::string> lista = {"Descricao|0|" + Twips(120) + "|T"};
    struct Caso { const char* nome; std::vector<std::string> caixa; long numero; };
    const Caso casos[] = {
        {"a picture cell without a picture column", {"Descricao|0|1500|T", "ImagensGrid|2|450|I"}, 9},
        {"too few fields", {"Descricao|0|1500"}, 9},
        {"width not a number", {"Descricao|0|larga|T"}, 13},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        try {
            combo->ConfiguraColunas(lista, c.caixa);
            ADD_FAILURE() << "no error";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.numero);
        }
        // The combo still shows and chooses as configured before.
        EXPECT_EQ(Caixa(), "PRODUTO 1");
        EXPECT_EQ(combo->Lista().ColumnCount(), 1);
    }
    Seta();
    ClicaLinha(1);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 1; }));
    EXPECT_EQ(Caixa(), "PRODUTO 2");
}

TEST_F(ControlesCombo, PlainTextMode) {
    Monta();
    combo->VisiblePctTexto(true, "TODOS", vb::vbCenter);
    EXPECT_TRUE(combo->ModoTexto());
    EXPECT_EQ(combo->Texto().Caption(), "TODOS");
    EXPECT_EQ(combo->Texto().Alignment(), vb::vbCenter);
    Seta();
    ClicaLinha(4);
    ASSERT_TRUE(fixture::Espera([&] { return selecoes == 1; }));
    EXPECT_EQ(CodigoAtual(), 5);
    EXPECT_EQ(combo->Texto().Caption(), "TODOS");
    combo->VisiblePctTexto(false);
    EXPECT_FALSE(combo->ModoTexto());
    EXPECT_EQ(Caixa(), "PRODUTO 5");
}

TEST_F(ControlesCombo, ArrowPicturesByBackColour) {
    Monta();
    const QImage branco = CarregaImagemRecurso("THCombo.imgTipo1", "D").Pixmap().toImage();
    const QImage cor = CarregaImagemRecurso("THCombo.imgTipo2", "D").Pixmap().toImage();
    ASSERT_NE(branco, cor);
    combo->SetBackColor(0xFFFFFF);
    EXPECT_EQ(combo->Seta().GetPicture().Pixmap().toImage(), branco);
    combo->SetBackColor(0xFFFFFE);
    EXPECT_EQ(combo->Seta().GetPicture().Pixmap().toImage(), cor);
    EXPECT_EQ(combo->BackColor(), 0xFFFFFE);
}

TEST_F(ControlesCombo, HoverMovesBetweenArrowListAndSurface) {
    Monta();
    Seta();
    QTest::mouseMove(combo->Seta().Widget(), QPoint(3, 3));
    fixture::Processa();
    EXPECT_EQ(combo->ChaveDestaque(), "FLECHA");
    QTest::mouseMove(&combo->Lista().Grade(), QPoint(30, 30));
    fixture::Processa();
    EXPECT_EQ(combo->ChaveDestaque(), ">THGRID");
    combo->ApagaSelecao();
    EXPECT_EQ(combo->ChaveDestaque(), "FORM");
}

// A picture of a grid and an open combo over the fixture, for the eye: the selection bar,
// the markers with their release dates, and the drop-down list.
TEST(ControlesImagem, GridAndOpenCombo) {
    EstadoPrograma.Idioma = "P";
    fixture::Banco banco(40);
    dao::DataControl dcGrade, dcCombo;
    banco.Liga(dcGrade);
    banco.Liga(dcCombo, "SELECT * FROM PRODUTO WHERE Codigo <= 12 ORDER BY Codigo");
    fixture::Janela janela;
    THGrid* grade = nullptr;
    THGrid* vazia = nullptr;
    THCombo* combo = nullptr;
    janela.monta = [&](fixture::Janela& j) {
        grade = j.Cria<THGrid>("grdTHGrid1");
        vazia = j.Cria<THGrid>("grdTHGrid2");
        combo = j.Cria<THCombo>("cboTHCombo1");
    };
    janela.Load();
    janela.Move(0, 0, 780, 330);
    janela.caixa->SetVisible(false);
    janela.SetBackColor(0xFFFFFF);
    janela.Show();
    grade->mUserControlPixelWidth = 500;
    grade->mUserControlPixelHeight = 204;
    grade->Move(20, 30, 500, 204);
    grade->SetBackColor(0xFFFFFF);
    TabelaPictures t;
    for (const char* nome : {"ICOCESTA", "ICOLANC", "ICOFIGURA"}) {
        const std::string n = nome;
        const bool lanc = n == "ICOLANC";
        const std::string nomes[4] = {lanc ? "ICOLANCGRID" : n + "1", lanc ? "ICOLANCGRID" : n + "1_S",
                                      lanc ? "ICOLANCGRID_S" : n + "2", lanc ? "ICOLANCGRID_S" : n + "2_S"};
        for (int v = 0; v < 4; ++v) t[static_cast<std::size_t>(v)].push_back(CarregaImagemRecurso(nomes[v], "G"));
    }
    grade->ObtemDataControl(dcGrade);
    grade->ObtemPictures(t);
    grade->ConfiguraColunas({"Codigo|1|" + Twips(50) + "|T", "Descricao|0|" + Twips(170) + "|T",
                             "Grupo|0|" + Twips(90) + "|T", "ImagensGrid|2|" + Twips(36) + "|I|Cesta!|99",
                             "ImagensGrid|0|" + Twips(70) + "|I|Lançamento|0|" + Twips(36),
                             "|2|" + Twips(60) + "|F|Figura|99"});
    dcGrade.GetRecordset().FindFirst("Codigo = 6");
    grade->AtualizaGrid();

    // An empty list says so.
    dao::DataControl dcVazia;
    banco.Liga(dcVazia, "SELECT * FROM PRODUTO WHERE Codigo < 0");
    vazia->mUserControlPixelWidth = 500;
    vazia->mUserControlPixelHeight = 51;
    vazia->Move(20, 260, 500, 51);
    vazia->SetBackColor(0xFFFFFF);
    vazia->mTextGridVazio = "Nenhum Item Encontrado";
    vazia->ObtemDataControl(dcVazia);
    vazia->ConfiguraColunas({"Descricao|0|" + Twips(300) + "|T", "Grupo|0|" + Twips(200) + "|T"});

    combo->mUserControlPixelWidth = 220;
    combo->Move(540, 30, 220, 193);
    combo->ObtemDataControl(dcCombo);
    combo->ConfiguraColunas({"Descricao|0|" + Twips(130) + "|T", "Grupo|0|" + Twips(90) + "|T"});
    dcCombo.GetRecordset().FindFirst("Codigo = 3");
    combo->AtualizaCombo();
    combo->AlternaLista();
    fixture::Processa();

    const QImage imagem = janela.Window()->grab().toImage();
    const QString pasta = QString::fromUtf8(ZK_SCREENSHOT_DIR);
    QDir().mkpath(pasta);
    ASSERT_TRUE(imagem.save(pasta + "/controles.png"));
    // A close-up of the rows for reviewing the pixels.
    ASSERT_TRUE(imagem.copy(0, 20, 390, 220).scaled(780, 440).save(pasta + "/controles_detalhe.png"));
    // The bar is the system's red under the current row (code 6, the sixth row).
    const QPoint naBarra = grade->Widget()->mapTo(janela.Window(), QPoint(200, 5 * 17 + 2));
    EXPECT_EQ(imagem.pixelColor(naBarra), QColor(0xDA, 0x25, 0x1D));
    janela.Unload();
}

}  // namespace

// A list with fewer rows than a page has no scroll bar: its rows end where its selection bar
// ends, and the room the bar would take holds no row. So it is also when the list was set up
// while hidden and shown afterwards: a grid that its screen fills before showing it, and a
// combo's list, filled while the combo is closed and shown by its arrow.
TEST(ControlesImagem, AShortListSetUpWhileHiddenEndsItsRowsWithItsBar) {
    EstadoPrograma.Idioma = "P";
    fixture::Banco banco(40);
    dao::DataControl dcGrade, dcCombo;
    const std::string tres = "SELECT * FROM PRODUTO WHERE Codigo <= 3 ORDER BY Codigo";
    banco.Liga(dcGrade, tres);
    banco.Liga(dcCombo, tres);
    fixture::Janela janela;
    THGrid* grade = nullptr;
    THCombo* combo = nullptr;
    int cliquesGrade = 0, selecoes = 0;
    janela.monta = [&](fixture::Janela& j) {
        grade = j.Cria<THGrid>("grdTHGrid1");
        combo = j.Cria<THCombo>("cboTHCombo1");
    };
    janela.Load();
    janela.Move(0, 0, 700, 330);
    janela.caixa->SetVisible(false);
    janela.SetBackColor(0xFFFFFF);
    janela.Show();
    fixture::Processa();

    grade->SetVisible(false);
    grade->mUserControlPixelWidth = 400;
    grade->mUserControlPixelHeight = 170;
    grade->Move(20, 30, 400, 170);
    grade->SetBackColor(0xFFFFFF);
    grade->Click = [&] { ++cliquesGrade; };
    grade->ObtemDataControl(dcGrade);
    grade->ConfiguraColunas({"Codigo|1|" + Twips(60) + "|T", "Descricao|0|" + Twips(340) + "|T"});
    grade->AtualizaGrid();
    combo->mUserControlPixelWidth = 220;
    combo->Move(450, 30, 220, 193);
    combo->SelecaoAlterada = [&] { ++selecoes; };
    combo->ObtemDataControl(dcCombo);
    combo->ConfiguraColunas({"Descricao|0|" + Twips(130) + "|T", "Grupo|0|" + Twips(90) + "|T"});
    combo->AtualizaCombo();
    fixture::Processa();
    struct Caso {
        const char* nome;
        THGrid* lista;
        dao::DataControl* dc;
        std::function<void()> mostra;
    };
    const std::vector<Caso> casos = {
        {"grid", grade, &dcGrade, [&] { grade->SetVisible(true); }},
        {"combo's list", &combo->Lista(), &dcCombo, [&] { testsupport::Clica(combo->Seta()); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        c.mostra();
        fixture::Processa();
        ASSERT_TRUE(c.lista->Widget()->isVisible());
        EXPECT_EQ(c.lista->Grade().ScrollBars(), 0);
        EXPECT_TRUE(testsupport::LinhasTerminamComABarra(*c.lista));
        // A click right of the bar, on the third row, chooses nothing.
        testsupport::Clica(janela.Window(), testsupport::PontoAoLadoDaBarra(*c.lista));
        fixture::Processa();
        EXPECT_EQ(c.dc->GetRecordset().Value("Codigo").ToLong(), 1);
    }
    EXPECT_EQ(cliquesGrade, 0);
    EXPECT_EQ(selecoes, 0);
    janela.Unload();
}
