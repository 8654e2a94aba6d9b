#include "update_checker/frmVerifAtualizCatalogoZORNAK.h"

#include "platform/forms/Events.h"
#include "update_checker/Modulo.h"

void frmVerifAtualizCatalogoZORNAKForm::Build() {
    Timer1 = NewTimer("Timer1", 100, true);
    Timer1->TimerEvent = [this] { Timer1_Timer(); };
}

void frmVerifAtualizCatalogoZORNAKForm::Form_Load() {
    vb::DoEvents();
    SetCaption(TituloVerificacao);
    Hide();
    Move(0, 0, 0, 0);
    ContadorTimer = 0;
}

void frmVerifAtualizCatalogoZORNAKForm::Timer1_Timer() {
    if (ContadorTimer < 255) ++ContadorTimer;
    if (ContadorTimer <= 1) return;
    // The second tick: the window has loaded; the check runs once and the program ends.
    Timer1->SetEnabled(false);
    vb::DoEvents();
    vb::End(VerificaAtualizacoes());
}
