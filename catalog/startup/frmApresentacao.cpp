#include "catalog/startup/frmApresentacao.h"

#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmApresentacao_regiao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace {
// The window's outline lies within this box.
constexpr int LarguraJanela = 642, AlturaJanela = 405;
}  // namespace

frmApresentacaoForm::frmApresentacaoForm() : vb::Form("frmApresentacao") {
    // The Portuguese text of message 0, fixed at design.
    SetCaption("Cat\xC3\xA1logo ZORNAK");
}

void frmApresentacaoForm::Build() {
    SetBackColor(vb::vbWhite);
    pctAnimacao = New<vb::PictureBox>(*this, "pctAnimacao");
    pctAnimacao->SetBorderStyle(0);
    pctAnimacao->SetBackColor(vb::vbWhite);
    pctAnimacao->SetAutoRedraw(true);
    // Both images only mark where the frame and the logo are drawn on pctAnimacao.
    imgFabrica = New<vb::Image>(*pctAnimacao, "imgFabrica");
    imgFabrica->SetVisible(false);
    imgLogo = New<vb::Image>(*pctAnimacao, "imgLogo");
    imgLogo->SetPicture(CarregaImagemRecurso("frmApresentacao.imgLogo", "D"));
    imgLogo->SetVisible(false);
    imgTitulo = New<vb::Image>(*this, "imgTitulo");
    imgTitulo->SetPicture(CarregaImagemRecurso("frmApresentacao.imgTitulo", "D"));
    tmrAnimacao = NewTimer("tmrAnimacao", 600, true);
    tmrAnimacao->TimerEvent = [this] { tmrAnimacao_Timer(); };
}

void frmApresentacaoForm::Form_Load() {
    // The databases get ready while the animation plays.
    PreparaBancos();
    PosicionaControles();
    pctAnimacao->Cls();   // the frames are drawn on the box at its placed size
    AplicaRegiao();
    m_Quadro = 1;
    ExibeQuadro(m_Quadro);
    vb::Screen().SetMousePointer(vb::vbHourglass);
}

void frmApresentacaoForm::PosicionaControles() {
    // The window itself: its outline's box, centred on the screen.
    int left = 0, top = 0;
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->geometry();
        left = area.x() + (area.width() - LarguraJanela) / 2;
        top = area.y() + (area.height() - AlturaJanela) / 2;
    }
    Move(left, top, LarguraJanela, AlturaJanela);
    pctAnimacao->Move(21, 105, 577, 273);
    imgLogo->Move(269, 0, 164, 50);
    imgFabrica->Move(0, 19, 572, 248);
    imgTitulo->Move(15, 26, 400, 19);
}

void frmApresentacaoForm::AplicaRegiao() { SetRegion(CriaRegiaoJanela()); }

void frmApresentacaoForm::ExibeQuadro(std::uint8_t n) {
    const vb::Picture quadro = CarregaImagemRecurso("FABRICA" + std::to_string(n), "G");
    pctAnimacao->PaintPicture(quadro, imgFabrica->Left(), imgFabrica->Top());
    pctAnimacao->PaintPicture(imgLogo->GetPicture(), imgLogo->Left(), imgLogo->Top());
    pctAnimacao->Refresh();
}

void frmApresentacaoForm::tmrAnimacao_Timer() {
    if (tmrAnimacao->Interval() != 100) tmrAnimacao->SetInterval(100);
    ++m_Quadro;
    if (m_Quadro != 7) {
        ExibeQuadro(m_Quadro);
        if (m_Quadro == 6) tmrAnimacao->SetInterval(600);
    } else {
        // Off before the start-up, so that it runs exactly once.
        tmrAnimacao->SetEnabled(false);
        Finaliza();
    }
}

void frmApresentacaoForm::Finaliza() {
    Inicializa();
    Unload();
    vb::Screen().SetMousePointer(vb::vbDefault);
}
