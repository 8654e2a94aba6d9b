// The module's small routines that the windows share: pixels to twips by axis, a field's
// value without Null, an array's bounds and the cursor over a control.
#include "catalog/startup/Modulo.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/Ponteiro.h"

#include <gtest/gtest.h>

#include <QCursor>

#include <string>
#include <vector>

namespace {

class Fatores : public ::testing::Test {
protected:
    void SetUp() override {
        x_ = EstadoPrograma.TwipsPorPixelX;
        y_ = EstadoPrograma.TwipsPorPixelY;
    }
    void TearDown() override {
        EstadoPrograma.TwipsPorPixelX = x_;
        EstadoPrograma.TwipsPorPixelY = y_;
    }
    int x_ = 0, y_ = 0;
};

TEST_F(Fatores, ConvertePixelsParaTwipsTakesTheAxisTrimmedAndInAnyCase) {
    // Different factors, so that each row tells which axis it took.
    EstadoPrograma.TwipsPorPixelX = 15;
    EstadoPrograma.TwipsPorPixelY = 12;
    struct Caso {
        const char* eixo;
        long twips;
    };
    const Caso casos[] = {
        {"X", 150},    {"L", 150},      {"LEFT", 150},  {"W", 150},      {"WIDTH", 150}, {" left ", 150},
        {"width", 150}, {"\tW", 120},   {"Y", 120},     {"T", 120},      {"TOP", 120},   {"H", 120},
        {"HEIGHT", 120}, {"Z", 120},    {"", 120},      {"WIDE", 120},
    };
    for (const Caso& c : casos) EXPECT_EQ(ConvertePixelsParaTwips(10, c.eixo), c.twips) << '"' << c.eixo << '"';
    EXPECT_EQ(ConvertePixelsParaTwips(-3, "X"), -45);
}

TEST_F(Fatores, ConvertePixelsParaTwipsRaisesOverflowBeyondThirtyTwoBits) {
    EstadoPrograma.TwipsPorPixelX = 15;
    EstadoPrograma.TwipsPorPixelY = 15;
    EXPECT_EQ(ConvertePixelsParaTwips(143165576, "X"), 2147483640L);   // the largest that fits
    for (long pixels : {143165577L, -143165577L, 4000000000L}) {
        try {
            ConvertePixelsParaTwips(pixels, "X");
            ADD_FAILURE() << pixels << " pixels gave no overflow";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), vb::err::Overflow) << pixels;
        }
    }
}

TEST_F(Fatores, BeforeTheStartUpHasMeasuredTheScreenTheScreensFactorsServe) {
    EstadoPrograma.TwipsPorPixelX = 0;
    EstadoPrograma.TwipsPorPixelY = 0;
    EXPECT_EQ(ConvertePixelsParaTwips(10, "W"), 150);
    EXPECT_EQ(ConvertePixelsParaTwips(10, "H"), 150);
}

TEST(ObtemValorCampoTeste, NullGivesTheDefaultElseTheDecorationOrTheValue) {
    const vb::Variant nulo = vb::Variant::Null();
    EXPECT_EQ(ObtemValorCampo(nulo, "").ToString(), "");
    EXPECT_EQ(ObtemValorCampo(nulo, "nada", vb::Variant("enfeite")).ToString(), "nada");
    EXPECT_EQ(ObtemValorCampo(vb::Variant("A"), "nada").ToString(), "A");
    EXPECT_EQ(ObtemValorCampo(vb::Variant("A"), "nada", vb::Variant("enfeite")).ToString(), "enfeite");
    EXPECT_EQ(ObtemValorCampo(vb::Variant(0L), -1L).ToLong(), 0) << "zero is a value, not Null";
    EXPECT_TRUE(ObtemValorCampo(vb::Variant(), "nada").IsEmpty()) << "Empty is not Null";
    EXPECT_TRUE(ObtemValorCampo(nulo, vb::Variant::Null()).IsNull());
}

TEST(ObtemLimiteVetorTeste, AnErasedOrNeverDimensionedArrayHasNoBounds) {
    std::vector<std::string> paginas;
    EXPECT_FALSE(ObtemLimiteVetor(paginas));
    paginas.push_back("01001003|FIG.JPG");
    EXPECT_TRUE(ObtemLimiteVetor(paginas));
    paginas.clear();
    EXPECT_FALSE(ObtemLimiteVetor(paginas));
}

TEST(VerificaCursorSobreJanelaTeste, InsideTheRectangleWithoutItsRightAndBottomEdges) {
    testsupport::CriaAplicacao("test_startup_auxiliares");
    const testsupport::JanelaComCaixa janela("pctCaixa", QSize(300, 300), QRect(40, 30, 100, 50));
    vb::PictureBox* caixa = janela.Caixa();
    const QRect r = caixa->ScreenRect();
    ASSERT_EQ(r.size(), QSize(100, 50));
    QCursor::setPos(r.center());
    if (QCursor::pos() != r.center()) GTEST_SKIP() << "this platform does not move the cursor";

    struct Caso {
        QPoint ponto;
        bool dentro;
    };
    const Caso casos[] = {
        {r.topLeft(), true},
        {r.topLeft() + QPoint(99, 49), true},    // the last pixel
        {r.topLeft() + QPoint(100, 10), false},  // the right edge
        {r.topLeft() + QPoint(10, 50), false},   // the bottom edge
        {r.topLeft() - QPoint(1, 0), false},
        {r.topLeft() - QPoint(0, 1), false},
    };
    for (const Caso& c : casos) {
        QCursor::setPos(c.ponto);
        EXPECT_EQ(VerificaCursorSobreJanela(caixa), c.dentro) << c.ponto.x() << "," << c.ponto.y();
    }
    EXPECT_FALSE(VerificaCursorSobreJanela(nullptr));
}

}  // namespace
