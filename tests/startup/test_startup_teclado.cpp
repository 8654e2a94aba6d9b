// The main window's keyboard as a table: which handler a key ends in and whether the key
// is swallowed, by screen, modifiers and the kind of the focused control.
#include "catalog/main_window/frmZornak_teclado.h"
#include "platform/forms/Keys.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using frmZornakTeclado::Contexto;

class Gravador : public frmZornakTeclado::IAcoes {
public:
    std::vector<std::string> chamadas;
    void IconeGrade(int g, int c) override { chamadas.push_back("Icone " + std::to_string(g) + "," + std::to_string(c)); }
    void RepeteNaGrade1(const std::string& t) override { chamadas.push_back("Grade1 " + t); }
    void imgAjuda_Click() override { chamadas.push_back("Ajuda"); }
    void lblSair_Click() override { chamadas.push_back("Sair"); }
    void lblVerificarAtualizacoes_Click() override { chamadas.push_back("Verificar"); }
    void imgCarrinho_Click() override { chamadas.push_back("Carrinho"); }
    void lblImprimir_Click() override { chamadas.push_back("Imprimir"); }
    void lblInicio_Click() override { chamadas.push_back("Inicio"); }
    void imgOrelha0_Click(int i) override { chamadas.push_back("Orelha0 " + std::to_string(i)); }
    void imgOrelha1_Click(int i) override { chamadas.push_back("Orelha1 " + std::to_string(i)); }
};

constexpr int Nenhum = 0, Shift = vb::vbShiftMask, Ctrl = vb::vbCtrlMask, Alt = vb::vbAltMask;

struct Caso {
    const char* nome;
    int tecla;
    int modificadores;
    int tela;
    const char* foco;        // type of the focused control, "" none
    bool trocando;
    bool colunaLancamento;
    const char* esperado;    // the one handler called, "" none
    bool engolida;
};

void PrintTo(const Caso& c, std::ostream* os) { *os << c.nome; }

Contexto Monta(const Caso& c) {
    Contexto ctx;
    ctx.tela = c.tela;
    ctx.tipoFoco = c.foco;
    ctx.trocandoTela = c.trocando;
    ctx.colunaLancamento = c.colunaLancamento;
    ctx.grade1Visivel = true;
    ctx.imprimirVisivel = true;
    return ctx;
}

class StartupKeyDown : public ::testing::TestWithParam<Caso> {};

TEST_P(StartupKeyDown, EndsInItsHandler) {
    const Caso c = GetParam();
    Gravador g;
    int codigo = c.tecla;
    frmZornakTeclado::TrataKeyDown(codigo, c.modificadores, Monta(c), g);
    if (*c.esperado) {
        ASSERT_EQ(g.chamadas.size(), 1u);
        EXPECT_EQ(g.chamadas[0], c.esperado);
    } else {
        EXPECT_TRUE(g.chamadas.empty()) << g.chamadas[0];
    }
    EXPECT_EQ(codigo == 0, c.engolida) << "key code after the handler: " << codigo;
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, StartupKeyDown,
    ::testing::Values(
        // Icon clicks by screen; the release column moves the set list's icons up by one.
        Caso{"F2 on product search", vb::vbKeyF2, Nenhum, 1, "TextBox", false, false, "Icone 1,2", true},
        Caso{"F2 on new releases", vb::vbKeyF2, Nenhum, 5, "TextBox", false, false, "Icone 1,2", true},
        Caso{"F2 on the list", vb::vbKeyF2, Nenhum, 3, "THGrid", false, false, "Icone 1,3", true},
        Caso{"F2 on the list with releases", vb::vbKeyF2, Nenhum, 3, "THGrid", false, true, "Icone 1,4", true},
        Caso{"F2 on the home screen", vb::vbKeyF2, Nenhum, 0, "TextBox", false, false, "", false},
        Caso{"F3 on product search", vb::vbKeyF3, Nenhum, 1, "TextBox", false, false, "Icone 2,0", true},
        Caso{"F3 on application search", vb::vbKeyF3, Nenhum, 2, "TextBox", false, false, "Icone 1,0", true},
        Caso{"F3 on the list", vb::vbKeyF3, Nenhum, 3, "TextBox", false, false, "Icone 1,1", true},
        Caso{"F3 on the list with releases", vb::vbKeyF3, Nenhum, 3, "TextBox", false, true, "Icone 1,2", true},
        Caso{"F4 on product search", vb::vbKeyF4, Nenhum, 1, "TextBox", false, false, "Icone 2,1", true},
        Caso{"F4 on application search", vb::vbKeyF4, Nenhum, 2, "TextBox", false, false, "Icone 1,1", true},
        Caso{"F4 on the figure goes back to the list", vb::vbKeyF4, Nenhum, 4, "", false, false, "Orelha1 0", false},
        Caso{"F6 on the list", vb::vbKeyF6, Nenhum, 3, "TextBox", false, false, "Icone 1,2", true},
        Caso{"F6 on the list with releases", vb::vbKeyF6, Nenhum, 3, "TextBox", false, true, "Icone 1,3", true},
        Caso{"F6 on product search", vb::vbKeyF6, Nenhum, 1, "TextBox", false, false, "", false},
        // Icon clicks need a focused control that is no combo, and no screen switch.
        Caso{"F2 without focus", vb::vbKeyF2, Nenhum, 1, "", false, false, "", false},
        Caso{"F2 from a combo", vb::vbKeyF2, Nenhum, 1, "THCombo", false, false, "", false},
        Caso{"F2 while a screen is built", vb::vbKeyF2, Nenhum, 1, "TextBox", true, false, "", false},
        Caso{"F3 with Shift still counts", vb::vbKeyF3, Shift, 2, "TextBox", false, false, "Icone 1,0", true},
        // Handlers that leave the key to the control.
        Caso{"F1 help", vb::vbKeyF1, Nenhum, 0, "", false, false, "Ajuda", false},
        Caso{"F5 update check", vb::vbKeyF5, Nenhum, 3, "TextBox", true, false, "Verificar", false},
        Caso{"F10 cart", vb::vbKeyF10, Ctrl, 2, "THCombo", false, false, "Carrinho", false},
        // Exit and print.
        Caso{"Alt+F4 exits on any screen", vb::vbKeyF4, Alt, 1, "TextBox", false, false, "Sair", true},
        Caso{"Ctrl+P prints", vb::vbKeyP, Ctrl, 3, "", false, false, "Imprimir", true},
        Caso{"P alone is a letter", vb::vbKeyP, Nenhum, 3, "TextBox", false, false, "", false},
        // Tabs: strip 0 is screens 0, 1, 2, 5; strip 1 screens 3 and 4.
        Caso{"Ctrl+Tab home to products", vb::vbKeyTab, Ctrl, 0, "", false, false, "Orelha0 1", true},
        Caso{"Ctrl+Tab products to applications", vb::vbKeyTab, Ctrl, 1, "", false, false, "Orelha0 2", true},
        Caso{"Ctrl+Tab applications to releases", vb::vbKeyTab, Ctrl, 2, "", false, false, "Orelha0 3", true},
        Caso{"Ctrl+Tab releases to home", vb::vbKeyTab, Ctrl, 5, "", false, false, "Orelha0 0", true},
        Caso{"Ctrl+Tab list to figure", vb::vbKeyTab, Ctrl, 3, "", false, false, "Orelha1 1", true},
        Caso{"Ctrl+Tab figure to list", vb::vbKeyTab, Ctrl, 4, "", false, false, "Orelha1 0", true},
        Caso{"Ctrl+Shift+Tab home to releases", vb::vbKeyTab, Ctrl | Shift, 0, "", false, false, "Orelha0 3", true},
        Caso{"Ctrl+Shift+Tab products to home", vb::vbKeyTab, Ctrl | Shift, 1, "", false, false, "Orelha0 0", true},
        Caso{"Ctrl+Shift+Tab releases to applications", vb::vbKeyTab, Ctrl | Shift, 5, "", false, false, "Orelha0 2", true},
        Caso{"Ctrl+Shift+Tab list to figure", vb::vbKeyTab, Ctrl | Shift, 3, "", false, false, "Orelha1 1", true},
        Caso{"Ctrl+Tab during a switch is left alone", vb::vbKeyTab, Ctrl, 0, "", true, false, "", false},
        Caso{"Tab alone moves the focus", vb::vbKeyTab, Nenhum, 0, "TextBox", false, false, "", false},
        // Arrows from a search box move grid 1.
        Caso{"Down from a text box", vb::vbKeyDown, Nenhum, 1, "TextBox", false, false, "Grade1 {DOWN}", true},
        Caso{"Page Up from a picture box", vb::vbKeyPageUp, Nenhum, 3, "PictureBox", false, false, "Grade1 {PGUP}", true},
        Caso{"Up from the grid itself", vb::vbKeyUp, Nenhum, 1, "THGrid", false, false, "", false},
        Caso{"Page Down while switching", vb::vbKeyPageDown, Nenhum, 1, "TextBox", true, false, "", false},
        Caso{"Other keys pass", vb::vbKeyA, Nenhum, 1, "TextBox", false, false, "", false}),
    [](const ::testing::TestParamInfo<Caso>& info) {
        std::string n;
        for (const char* p = info.param.nome; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return n;
    });

TEST(StartupKeyDown, ArrowsNeedTheGridShownAndPrintNeedsItsButton) {
    Gravador g;
    Contexto ctx;
    ctx.tela = 1;
    ctx.tipoFoco = "TextBox";
    ctx.grade1Visivel = false;
    int codigo = vb::vbKeyDown;
    frmZornakTeclado::TrataKeyDown(codigo, 0, ctx, g);
    EXPECT_EQ(codigo, vb::vbKeyDown);
    ctx.imprimirVisivel = false;
    codigo = vb::vbKeyP;
    frmZornakTeclado::TrataKeyDown(codigo, vb::vbCtrlMask, ctx, g);
    EXPECT_EQ(codigo, vb::vbKeyP);
    EXPECT_TRUE(g.chamadas.empty());
}

struct CasoPress {
    const char* nome;
    int ascii;
    int tela;
    const char* foco;
    bool trocando;
    const char* esperado;
};

void PrintTo(const CasoPress& c, std::ostream* os) { *os << c.nome; }

class StartupKeyPress : public ::testing::TestWithParam<CasoPress> {};

TEST_P(StartupKeyPress, EnterAndEscByScreen) {
    const CasoPress c = GetParam();
    Gravador g;
    Contexto ctx;
    ctx.tela = c.tela;
    ctx.tipoFoco = c.foco;
    ctx.trocandoTela = c.trocando;
    int ascii = c.ascii;
    frmZornakTeclado::TrataKeyPress(ascii, ctx, g);
    if (*c.esperado) {
        ASSERT_EQ(g.chamadas.size(), 1u);
        EXPECT_EQ(g.chamadas[0], c.esperado);
        EXPECT_EQ(ascii, 0);
    } else {
        EXPECT_TRUE(g.chamadas.empty());
        EXPECT_EQ(ascii, c.ascii);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, StartupKeyPress,
    ::testing::Values(CasoPress{"Enter on products", 13, 1, "TextBox", false, "Icone 1,0"},
                      CasoPress{"Enter on releases", 13, 5, "TextBox", false, "Icone 1,0"},
                      CasoPress{"Enter on applications", 13, 2, "TextBox", false, "Icone 1,1"},
                      CasoPress{"Enter on the list", 13, 3, "THGrid", false, "Icone 1,0"},
                      CasoPress{"Enter on the figure", 13, 4, "PictureBox", false, "Orelha1 0"},
                      CasoPress{"Esc on the list goes back", 27, 3, "TextBox", false, "Inicio"},
                      CasoPress{"Esc on the figure goes back", 27, 4, "TextBox", false, "Inicio"},
                      CasoPress{"Esc on products does nothing", 27, 1, "TextBox", false, ""},
                      CasoPress{"Enter on home does nothing", 13, 0, "TextBox", false, ""},
                      CasoPress{"Enter in a combo", 13, 1, "THCombo", false, ""},
                      CasoPress{"Enter without focus", 13, 1, "", false, ""},
                      CasoPress{"Esc during a switch", 27, 3, "TextBox", true, ""},
                      CasoPress{"A letter", 'a', 3, "TextBox", false, ""}),
    [](const ::testing::TestParamInfo<CasoPress>& info) {
        std::string n;
        for (const char* p = info.param.nome; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return n;
    });

}  // namespace
