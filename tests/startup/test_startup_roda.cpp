// The mouse-wheel hook: attaching handlers to a window's wheel, and the main window's
// routing of a notch to the list under the cursor.
#include "catalog/main_window/frmZornak.h"
#include "catalog/startup/MSubclass.h"
#include "catalog/startup/Modulo.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/Ponteiro.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <vector>

namespace {

class Contador : public ISubclass {
public:
    long MsgResponse() const override { return 2; }
    long WindowProc(QWidget*, long mensagem, long wParam, long) override {
        recebidas.push_back({mensagem, wParam});
        return 0;
    }
    std::vector<std::pair<long, long>> recebidas;
};

class StartupRoda : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::CriaAplicacao("test_startup_roda"); }
};

TEST_F(StartupRoda, AttachedHandlersSeeEachNotchOnceAndGoWhenDetached) {
    QWidget janela;
    janela.resize(100, 100);
    janela.show();
    Contador a, b;
    AdicionaMensagemJanela(a, &janela, WM_MOUSEWHEEL);
    AdicionaMensagemJanela(b, &janela, WM_MOUSEWHEEL);
    EXPECT_EQ(ContaMensagemJanela(&janela, WM_MOUSEWHEEL), 2);

    testsupport::Roda(&janela, QPoint(5, 5), -1);
    ASSERT_EQ(a.recebidas.size(), 1u);
    EXPECT_EQ(a.recebidas[0].first, WM_MOUSEWHEEL);
    EXPECT_LT(a.recebidas[0].second, 0) << "the delta's sign rides in the high word";
    EXPECT_EQ(b.recebidas.size(), 1u);

    RemoveMensagemJanela(a, &janela, WM_MOUSEWHEEL);
    EXPECT_EQ(ContaMensagemJanela(&janela, WM_MOUSEWHEEL), 1);
    testsupport::Roda(&janela, QPoint(5, 5), 1);
    EXPECT_EQ(a.recebidas.size(), 1u);
    ASSERT_EQ(b.recebidas.size(), 2u);
    EXPECT_GT(b.recebidas[1].second, 0);
    RemoveMensagemJanela(b, &janela, WM_MOUSEWHEEL);
    RemoveMensagemJanela(b, &janela, WM_MOUSEWHEEL);   // a second detach is harmless
    EXPECT_EQ(ContaMensagemJanela(&janela, WM_MOUSEWHEEL), 0);
    EXPECT_TRUE(janela.dynamicPropertyNames().isEmpty()) << "the window keeps no bookkeeping once detached";
}

TEST_F(StartupRoda, AttachErrors) {
    Contador a;
    QWidget janela;
    AdicionaMensagemJanela(a, &janela, WM_MOUSEWHEEL);
    try {
        AdicionaMensagemJanela(a, &janela, WM_MOUSEWHEEL);
        FAIL() << "a second attach of the same handler was accepted";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), ErroMensagemJaTratada);
        EXPECT_EQ(e.Description(), "Message already handled by another class");
    }
    EXPECT_EQ(ContaMensagemJanela(&janela, WM_MOUSEWHEEL), 1);
    try {
        AdicionaMensagemJanela(a, nullptr, WM_MOUSEWHEEL);
        FAIL() << "no window was accepted";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), ErroJanelaInvalida);
    }
    RemoveMensagemJanela(a, &janela, WM_MOUSEWHEEL);
}

// The list under the wheel, recorded.
class Lista : public IRolagemRoda {
public:
    void Scroll(int colunas, int linhas, bool atualiza) override { chamadas.push_back({colunas, linhas, atualiza}); }
    struct Chamada {
        int colunas, linhas;
        bool atualiza;
    };
    std::vector<Chamada> chamadas;
};

TEST_F(StartupRoda, ANotchScrollsTheTargetListByItsRowsAndAMissClearsTheTarget) {
    frmZornakForm janela;
    EstadoPrograma.RodaMouseAtiva = true;
    // The target as DefineAlvoRodaMouse leaves it: a control stands for the list's window.
    const testsupport::JanelaComCaixa dono("grdTeste", QSize(400, 400), QRect(0, 0, 400, 400));
    vb::PictureBox* caixa = dono.Caixa();
    Lista lista;
    auto defineAlvo = [&] {
        EstadoPrograma.ChaveAlvoRoda = "CAT_GRID1";
        AlvoRodaJanela = caixa;
        AlvoRodaRolagem = &lista;
        EstadoPrograma.LinhasRoda = 4;
    };
    defineAlvo();
    QCursor::setPos(caixa->ScreenRect().center());
    if (!caixa->ScreenRect().contains(QCursor::pos())) GTEST_SKIP() << "this platform does not move the cursor";

    // Away from the user scrolls up; the size of the turn does not count.
    janela.WindowProc(nullptr, WM_MOUSEWHEEL, 120 << 16, 0);
    janela.WindowProc(nullptr, WM_MOUSEWHEEL, -240 * 65536, 0);
    ASSERT_EQ(lista.chamadas.size(), 2u);
    EXPECT_EQ(lista.chamadas[0].linhas, -4);
    EXPECT_EQ(lista.chamadas[1].linhas, 4);
    EXPECT_EQ(lista.chamadas[0].colunas, 0);
    EXPECT_TRUE(lista.chamadas[0].atualiza);

    // Other messages and a zero delta do nothing.
    janela.WindowProc(nullptr, 512, 120 << 16, 0);
    janela.WindowProc(nullptr, WM_MOUSEWHEEL, 0, 0);
    EXPECT_EQ(lista.chamadas.size(), 2u);

    // A notch outside the list clears the target; the next one finds none.
    QCursor::setPos(caixa->ScreenRect().bottomRight() + QPoint(50, 50));
    janela.WindowProc(nullptr, WM_MOUSEWHEEL, 120 << 16, 0);
    EXPECT_TRUE(EstadoPrograma.ChaveAlvoRoda.empty());
    EXPECT_EQ(AlvoRodaRolagem, nullptr);
    EXPECT_EQ(EstadoPrograma.LinhasRoda, 0);
    QCursor::setPos(caixa->ScreenRect().center());
    janela.WindowProc(nullptr, WM_MOUSEWHEEL, 120 << 16, 0);
    EXPECT_EQ(lista.chamadas.size(), 2u);
}

}  // namespace
