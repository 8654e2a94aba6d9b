// The pointer support of the tests, on a form of our layer: a press reaches the control a
// user sees under the pointer, a resting pointer shows that control's tooltip, and the
// pixels read are the ones drawn.
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/Ponteiro.h"

#include <QApplication>
#include <QPixmap>

#include <algorithm>
#include <string>
#include <vector>

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
    testsupport::CriaAplicacao("test_forms_ponteiro");

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

// A picture button with its hover picture laid over it, as the windows draw them.
class FormBotao : public vb::Form {
public:
    FormBotao() : Form("frmBotao") {}
    vb::Image* botao = nullptr;
    vb::Image* realce = nullptr;
    vb::ControlArray<vb::Image>* realces = nullptr;
    vb::ControlArray<vb::Image>* botoes = nullptr;
    std::vector<std::string> eventos;

protected:
    void Build() override {
        SetBackColor(0xFFFFFF);
        botao = New<vb::Image>(*this, "imgBotao");
        botao->SetPicture(vb::Picture(Quadrado(40, 20, Qt::blue)));
        botao->Move(10, 10);
        botao->SetToolTipText("Botao");
        botao->SetMousePointer(2);   // the cross, to tell it from the form's
        botao->Click = [this] { eventos.push_back("Click"); };
        botao->DblClick = [this] { eventos.push_back("DblClick"); };
        botao->MouseDown = [this](int b, int, float, float) { eventos.push_back("MouseDown " + std::to_string(b)); };
        botao->MouseUp = [this](int b, int, float, float) { eventos.push_back("MouseUp " + std::to_string(b)); };
        botao->MouseMove = [this](int, int, float, float) { eventos.push_back("MouseMove"); };
        realce = New<vb::Image>(*this, "imgBotaoSel");
        realce->SetPicture(vb::Picture(Quadrado(40, 20, Qt::red)));
        realce->Move(10, 10);
        realce->SetDisplayOnly(true);

        // An array whose template is display-only: what Load makes is so too.
        botoes = NewArray<vb::Image>(*this, "imgPagina");
        realces = NewArray<vb::Image>(*this, "imgPaginaSel");
        (*botoes)(0).SetPicture(vb::Picture(Quadrado(30, 20, Qt::blue)));
        (*realces)(0).SetPicture(vb::Picture(Quadrado(30, 20, Qt::red)));
        (*realces)(0).SetDisplayOnly(true);
        botoes->SetHandlers([this](vb::Image& i) {
            const int indice = i.Index();
            i.Click = [this, indice] { eventos.push_back("Pagina " + std::to_string(indice)); };
        });
        for (int i = 0; i < 2; ++i) {
            if (i > 0) {
                botoes->Load(i);
                realces->Load(i);
            }
            (*botoes)(i).Move(10 + 40 * i, 60);
            (*realces)(i).Move(10 + 40 * i, 60);
            (*botoes)(i).SetVisible(true);
            (*realces)(i).SetVisible(true);
        }
    }

private:
    static QPixmap Quadrado(int w, int h, Qt::GlobalColor cor) {
        QPixmap p(w, h);
        p.fill(cor);
        return p;
    }
};

TEST(Ponteiro, ADisplayOnlyPictureShowsAndTheButtonUnderItTakesTheMouse) {
    testsupport::CriaAplicacao("test_forms_ponteiro");

    FormBotao f;
    f.Load();
    f.Move(0, 0, 200, 120);
    f.Show();
    testsupport::Processa();
    QWidget* janela = f.botao->Widget()->window();
    const QPoint centro = testsupport::CentroVisivel(*f.botao);

    // What shows is the hover picture; what the pointer meets is the button.
    EXPECT_EQ(testsupport::CorNoPonto(janela, centro), QColor(Qt::red));
    EXPECT_EQ(testsupport::ControleNoPonto(janela, centro), f.botao);
    EXPECT_EQ(testsupport::WidgetNoPonto(janela, centro)->cursor().shape(), Qt::CrossCursor);

    // The moves the pointer makes on its way come and go with the platform; the rest is exact.
    auto semMovimentos = [&f] {
        std::vector<std::string> r;
        for (const std::string& e : f.eventos)
            if (e != "MouseMove") r.push_back(e);
        f.eventos.clear();
        return r;
    };
    f.eventos.clear();
    testsupport::MovePara(janela, centro + QPoint(3, 2));
    EXPECT_EQ(f.eventos, std::vector<std::string>{"MouseMove"});
    f.eventos.clear();
    testsupport::Clica(janela, centro);
    EXPECT_EQ(semMovimentos(), (std::vector<std::string>{"MouseDown 1", "MouseUp 1", "Click"}));
    testsupport::Clica(janela, centro, Qt::RightButton);
    EXPECT_EQ(semMovimentos(), (std::vector<std::string>{"MouseDown 2", "MouseUp 2"}));
    testsupport::ClicaDuplo(janela, centro);
    const std::vector<std::string> duplo = semMovimentos();
    EXPECT_NE(std::find(duplo.begin(), duplo.end(), "DblClick"), duplo.end());
    EXPECT_EQ(testsupport::DicaNoPonto(janela, centro), "Botao");

    // Loaded elements: each press reaches its own page button.
    f.eventos.clear();
    for (int i : {0, 1}) {
        const QPoint p = testsupport::CentroVisivel((*f.botoes)(i));
        EXPECT_EQ(testsupport::CorNoPonto(janela, p), QColor(Qt::red)) << i;
        EXPECT_TRUE((*f.realces)(i).DisplayOnly()) << i;
        testsupport::Clica(janela, p);
    }
    EXPECT_EQ(f.eventos, (std::vector<std::string>{"Pagina 0", "Pagina 1"}));

    // A picture that is not display-only takes the press itself, as before.
    f.realce->SetDisplayOnly(false);
    f.eventos.clear();
    testsupport::Clica(janela, centro);
    EXPECT_EQ(testsupport::ControleNoPonto(janela, centro), f.realce);
    EXPECT_TRUE(f.eventos.empty());
    f.Unload();
}

}  // namespace
