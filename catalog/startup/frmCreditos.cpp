#include "catalog/startup/frmCreditos.h"

#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmCreditos_imagem.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"

frmCreditosForm::frmCreditosForm() : vb::Form("frmCreditos") {}

void frmCreditosForm::Build() {
    SetBorderStyle(0);
    SetBackColor(vb::vbBlack);
    imgCreditos = New<vb::Image>(*this, "imgCreditos");
    Timer1 = NewTimer("Timer1", 500, true);
    Timer1->TimerEvent = [this] { Timer1_Timer(); };
}

void frmCreditosForm::Form_Load() {
    SetCaption(ObtemTituloAplicacao());
    m_Ticks = 0;
    const int tx = static_cast<int>(ConvertePixelsParaTwips(1, "X"));
    const int ty = static_cast<int>(ConvertePixelsParaTwips(1, "Y"));
    const long largura = vb::Screen().Width(), altura = vb::Screen().Height();
    // The window covers the screen; the picture lies on it.
    Move(0, 0, static_cast<int>(largura / tx), static_cast<int>(altura / ty));
    const ImagemCreditos escolha = EscolheImagemCreditos(largura, altura, tx, ty);
    imgCreditos->SetPicture(CarregaImagemRecurso(escolha.recurso, "G"));
    imgCreditos->Move(escolha.left, escolha.top);
}

void frmCreditosForm::Timer1_Timer() {
    ++m_Ticks;
    if (m_Ticks == 5) Unload();
}

void frmCreditosForm::Form_Click() { Unload(); }

void frmCreditosForm::Form_KeyDown(int&, int) { Unload(); }

void frmCreditosForm::Form_Unload(int&) {
    Timer1->SetEnabled(false);
    vb::End(0);
}
