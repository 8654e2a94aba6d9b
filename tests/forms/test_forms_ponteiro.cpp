// The pointer support of the tests, on a form of our layer: a press reaches the control a
// user sees under the pointer, a resting pointer shows that control's tooltip, and the
// pixels read are the ones drawn.
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {

class FormPonteiro : public vb::Form {
public:
    FormPonteiro() : Form("frmPonteiro") {}
    vb::Label* fundo = nullptr;
    vb::TextBox* caixa = nullptr;
    int cliquesFundo = 0, cliquesCaixa = 0;

protected:
    void Build() override {
        SetBackColor(0x00FF00);   // green, BGR
        fundo = New<vb::Label>(*this, "lblFundo");
        fundo->Move(10, 10, 100, 40);
        fundo->SetBackStyle(1);
        fundo->SetBackColor(0x0000FF);   // red, BGR
        fundo->SetToolTipText("Fundo");
        fundo->Click = [this] { ++cliquesFundo; };
        caixa = New<vb::TextBox>(*this, "txtCaixa");
        caixa->Move(60, 20, 100, 20);
        caixa->Click = [this] { ++cliquesCaixa; };
    }
};

TEST(Ponteiro, PressesReachWhatLiesOnTopAndPixelsAreWhatIsDrawn) {
    static int argc = 1;
    static char nome[] = "test_forms_ponteiro";
    static char* argv[] = {nome, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);

    FormPonteiro f;
    f.Load();
    f.Move(0, 0, 300, 200);
    f.Show();
    testsupport::Processa();
    QWidget* janela = f.fundo->Widget()->window();

    // The label alone, then where the windowed text box lies over it.
    const QPoint soLabel = testsupport::PontoDe(*f.fundo, QPoint(20, 20));
    EXPECT_EQ(testsupport::ControleNoPonto(janela, soLabel), f.fundo);
    testsupport::Clica(janela, soLabel);
    EXPECT_EQ(f.cliquesFundo, 1);
    testsupport::Clica(janela, testsupport::PontoDe(*f.fundo, QPoint(80, 20)));
    EXPECT_EQ(f.cliquesFundo, 1);
    EXPECT_EQ(f.cliquesCaixa, 1);

    EXPECT_EQ(testsupport::CorNoPonto(janela, soLabel), QColor(255, 0, 0));
    EXPECT_EQ(testsupport::CorNoPonto(janela, QPoint(250, 150)), QColor(0, 255, 0));
    EXPECT_EQ(testsupport::DicaNoPonto(janela, soLabel), "Fundo");
    f.Unload();
}

}  // namespace
