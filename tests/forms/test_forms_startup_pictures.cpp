#include "catalog/startup/frmApresentacao_regiao.h"
#include "catalog/startup/frmCreditos_imagem.h"

#include <gtest/gtest.h>

namespace {

struct Linha {
    int y, x1, x2;   // x2 excluded
};

void PrintTo(const Linha& l, std::ostream* os) { *os << "row " << l.y; }

class RegiaoTest : public ::testing::TestWithParam<Linha> {};

TEST_P(RegiaoTest, EachRowSpansExactlyItsRun) {
    const Linha l = GetParam();
    const QRegion regiao = CriaRegiaoJanela();
    EXPECT_FALSE(regiao.contains(QPoint(l.x1 - 1, l.y))) << "left of row " << l.y;
    EXPECT_TRUE(regiao.contains(QPoint(l.x1, l.y))) << "first pixel of row " << l.y;
    EXPECT_TRUE(regiao.contains(QPoint(l.x2 - 1, l.y))) << "last pixel of row " << l.y;
    EXPECT_FALSE(regiao.contains(QPoint(l.x2, l.y))) << "right edge of row " << l.y;
}

INSTANTIATE_TEST_SUITE_P(Linhas, RegiaoTest,
                         ::testing::Values(Linha{1, 476, 639}, Linha{3, 475, 641}, Linha{6, 473, 640},
                                           Linha{10, 470, 638}, Linha{11, 2, 638}, Linha{14, 1, 637},
                                           Linha{25, 1, 633}, Linha{79, 1, 614}, Linha{80, 1, 613},
                                           Linha{403, 1, 613}, Linha{404, 2, 612}));

TEST(RegiaoTest, RowsOutsideTheOutlineAreEmpty) {
    const QRegion regiao = CriaRegiaoJanela();
    const QRect limites = regiao.boundingRect();
    EXPECT_EQ(limites.top(), 1);
    EXPECT_EQ(limites.bottom(), 404);
    EXPECT_EQ(limites.left(), 1);
    EXPECT_EQ(limites.right(), 640);
    // Left of the tab, above the body.
    EXPECT_FALSE(regiao.contains(QPoint(100, 5)));
}

struct CasoCreditos {
    int largura, altura;
    const char* recurso;
    int left, top;
};

void PrintTo(const CasoCreditos& c, std::ostream* os) { *os << c.largura << "x" << c.altura; }

class CreditosTest : public ::testing::TestWithParam<CasoCreditos> {};

TEST_P(CreditosTest, PictureAndPlaceByScreenSize) {
    const CasoCreditos c = GetParam();
    const ImagemCreditos i = EscolheImagemCreditos(c.largura * 15L, c.altura * 15L, 15, 15);
    EXPECT_EQ(i.recurso, c.recurso);
    EXPECT_EQ(i.left, c.left);
    EXPECT_EQ(i.top, c.top);
}

INSTANTIATE_TEST_SUITE_P(
    Telas, CreditosTest,
    ::testing::Values(CasoCreditos{800, 600, "VAVEZAREVOVIDO800V600", 0, 0},
                      CasoCreditos{1023, 768, "VAVEZAREVOVIDO800V600", 0, 0},
                      CasoCreditos{1024, 767, "VAVEZAREVOVIDO800V600", 0, 0},
                      CasoCreditos{1024, 768, "FUNDOTELAVELMO1024X768", 0, 0},
                      CasoCreditos{1280, 1024, "FUNDOTELAVELMO1024X768", 128, 128},
                      // Halves round to the even number: 0.5 to 0, 1.5 to 2.
                      CasoCreditos{1025, 771, "FUNDOTELAVELMO1024X768", 0, 2}));

}  // namespace
