#include "catalog/main_window/frmZornak_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace frmZornakLayout;

constexpr int kTpp = 15;

struct CasoFundo {
    int largura, altura;   // screen in pixels
    bool grande;
};

void PrintTo(const CasoFundo& c, std::ostream* os) { *os << c.largura << "x" << c.altura; }

class FundoTest : public ::testing::TestWithParam<CasoFundo> {};

TEST_P(FundoTest, LargeScreensGetTheBackgroundAndANarrowerPanel) {
    const CasoFundo c = GetParam();
    const Fundo f = DecideFundo(c.largura * kTpp, c.altura * kTpp, kTpp, kTpp);
    EXPECT_EQ(f.telaGrande, c.grande);
    EXPECT_EQ(f.tagFundo, c.grande ? "1" : "0");
    EXPECT_EQ(f.larguraBase, c.grande ? 798 : 800);
    EXPECT_EQ(f.imagemFundo, c.grande ? "FUNDOTELA1024X768" : "");
}

INSTANTIATE_TEST_SUITE_P(Limites, FundoTest,
                         ::testing::Values(CasoFundo{1024, 768, true}, CasoFundo{1023, 768, false},
                                           CasoFundo{1024, 767, false}, CasoFundo{1280, 1024, true},
                                           CasoFundo{800, 600, false}, CasoFundo{1920, 760, false}));

TEST(FundoTest, AQuotientJustBelowTheThresholdIsSmall) {
    // 15359 twips are 1023.93 pixels: not 1024, even though rounding would say so.
    EXPECT_FALSE(DecideFundo(15359, 768 * kTpp, kTpp, kTpp).telaGrande);
    EXPECT_TRUE(DecideFundo(15360, 768 * kTpp, kTpp, kTpp).telaGrande);
}

struct CasoCentro {
    const char* nome;
    bool forcar;
    const char* tag;
    bool minimizada;
    int clienteL, clienteA, larguraBase;
    bool move;
    int leftBase, topBase, leftFundo, topFundo;
};

void PrintTo(const CasoCentro& c, std::ostream* os) { *os << c.nome; }

class CentralizaTest : public ::testing::TestWithParam<CasoCentro> {};

TEST_P(CentralizaTest, PlacesPanelAndBackground) {
    const CasoCentro c = GetParam();
    const auto r = CentralizaTela(c.forcar, c.tag, c.minimizada, c.clienteL, c.clienteA, c.larguraBase);
    ASSERT_EQ(r.has_value(), c.move);
    if (!c.move) return;
    EXPECT_EQ(r->leftBase, c.leftBase);
    EXPECT_EQ(r->topBase, c.topBase);
    EXPECT_EQ(r->leftFundo, c.leftFundo);
    EXPECT_EQ(r->topFundo, c.topFundo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, CentralizaTest,
    ::testing::Values(
        CasoCentro{"large_1024x700", false, "1", false, 1024, 700, 798, true, 113, 50, 0, -34},
        CasoCentro{"client_800x600", true, "1", false, 800, 600, 798, true, 0, 0, -113, -84},
        CasoCentro{"client_smaller", true, "0", false, 640, 480, 800, true, 0, 0, -113, -84},
        CasoCentro{"half_to_even_down", true, "0", false, 801, 600, 800, true, 0, 0, -113, -84},
        CasoCentro{"half_to_even_up", true, "1", false, 801, 603, 798, true, 2, 2, -111, -82},
        CasoCentro{"half_to_even_odd_top", true, "1", false, 1024, 601, 798, true, 113, 0, 0, -84},
        CasoCentro{"height_uses_600_not_panel", true, "1", false, 900, 700, 798, true, 51, 50, -62, -34},
        CasoCentro{"small_screen_resize_ignored", false, "0", false, 1024, 700, 800, false, 0, 0, 0, 0},
        CasoCentro{"minimised_ignored", false, "1", true, 1024, 700, 798, false, 0, 0, 0, 0},
        CasoCentro{"forced_while_minimised", true, "1", true, 1024, 700, 798, true, 113, 50, 0, -34},
        CasoCentro{"restored_large_screen", false, "1", false, 1280, 1000, 798, true, 241, 200, 128, 116}));

TEST(CentralizaTest, AClientTooLargeForA16BitPositionOverflows) {
    EXPECT_THROW(CentralizaTela(true, "1", false, 70000, 700, 798), std::exception);
}

struct CasoJanela {
    int largura, altura, titulo;
    int janelaL, janelaA;
    bool maximiza;
};

void PrintTo(const CasoJanela& c, std::ostream* os) { *os << c.largura << "x" << c.altura; }

class JanelaTest : public ::testing::TestWithParam<CasoJanela> {};

TEST_P(JanelaTest, SizeAtLoadAndMaximisingAtFirstActivation) {
    const CasoJanela c = GetParam();
    const TamanhoJanela j = TamanhoJanelaInicial(c.largura * kTpp, c.altura * kTpp, kTpp, kTpp, c.titulo);
    EXPECT_EQ(j.largura, c.janelaL);
    EXPECT_EQ(j.altura, c.janelaA);
    EXPECT_EQ(MaximizaNaPrimeiraAtivacao(c.largura * kTpp, c.altura * kTpp, kTpp, kTpp), c.maximiza);
}

INSTANTIATE_TEST_SUITE_P(Telas, JanelaTest,
                         ::testing::Values(CasoJanela{1024, 768, 22, 830, 652, false},
                                           CasoJanela{1024, 759, 22, 800, 622, true},
                                           CasoJanela{1280, 760, 0, 830, 630, true},
                                           CasoJanela{1023, 1024, 0, 800, 600, true},
                                           CasoJanela{800, 600, 0, 800, 600, true}));

TEST(TabelaPosicoesTest, StartsWithTheBaseEndsWithTheBackgroundAndHoldsEachControlOnce) {
    const auto& t = TabelaPosicoes();
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.front().controle, "pctBase");
    EXPECT_EQ(t.front().left, 7);
    EXPECT_EQ(t.front().width, 800);
    EXPECT_EQ(t.back().controle, "imgFundoTela");
    EXPECT_EQ(t.back().left, -106);
    EXPECT_EQ(t.back().top, -77);
    std::set<std::string> vistos;
    for (const auto& p : t) {
        const std::string chave = p.controle + "(" + std::to_string(p.indice) + ")";
        EXPECT_TRUE(vistos.insert(chave).second) << chave << " placed twice";
        // Every container is placed before what it holds.
        if (p.container != "window") {
            const std::string dono = p.container + "(" + std::to_string(p.indiceContainer) + ")";
            EXPECT_TRUE(vistos.count(dono)) << chave << " before its container " << dono;
        }
    }
}

TEST(TabelaPosicoesTest, ReferenceRowsAndTabs) {
    auto acha = [](const std::string& nome, int indice) -> const PosicaoControle* {
        for (const auto& p : TabelaPosicoes())
            if (p.controle == nome && p.indice == indice) return &p;
        return nullptr;
    };
    const PosicaoControle* fab0 = acha("lblFabricanteRef", 0);
    const PosicaoControle* fab1 = acha("lblFabricanteRefL", 1);
    const PosicaoControle* num7 = acha("lblNumeroFabricanteRefL", 7);
    ASSERT_TRUE(fab0 && fab1 && num7);
    EXPECT_EQ(fab0->top, 6);   // row 0 of the maker column sits one pixel higher
    EXPECT_EQ(fab1->top, 25);
    EXPECT_EQ(num7->top, 7 + 18 * 7);
    EXPECT_EQ(num7->indiceContainer, 1);
    EXPECT_EQ(acha("lblNumeroFabricanteRef", 7), nullptr);   // the search panel has rows 0 to 6
    const PosicaoControle* aba3 = acha("imgOrelha0", 3);
    ASSERT_TRUE(aba3);
    EXPECT_EQ(aba3->left, 584);
    EXPECT_EQ(aba3->height, 27);
    ASSERT_EQ(TabelaLinhas().size(), 5u);
    EXPECT_EQ(TabelaLinhas()[3].x1, 287);
    EXPECT_EQ(TabelaLinhas()[3].y2, 427);
}

}  // namespace
