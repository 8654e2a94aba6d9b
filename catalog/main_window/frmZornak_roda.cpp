// The mouse-wheel hook: the main window watches the wheel of one window (itself, or the
// auxiliary window while that is open) and scrolls the list under the cursor.
#include "catalog/main_window/frmZornak.h"

#include "catalog/startup/Modulo.h"

void frmZornakForm::SubClassing(bool sYesNo) {
    RemoveSubClassing();
    if (!sYesNo || !JanelaRodaMouse) return;
    m_JanelaSubclassificada = JanelaRodaMouse->Window();
    AdicionaMensagemJanela(*this, m_JanelaSubclassificada, WM_MOUSEWHEEL);
}

void frmZornakForm::RemoveSubClassing() {
    if (!m_JanelaSubclassificada) return;
    RemoveMensagemJanela(*this, m_JanelaSubclassificada, WM_MOUSEWHEEL);
    m_JanelaSubclassificada = nullptr;
    // The wheel has no target until the mouse moves over a list again.
    DefineAlvoRodaMouse("");
}

long frmZornakForm::WindowProc(QWidget*, long mensagem, long wParam, long) {
    if (mensagem != WM_MOUSEWHEEL || !EstadoPrograma.RodaMouseAtiva || EstadoPrograma.ChaveAlvoRoda.empty())
        return 0;
    try {
        if (!VerificaCursorSobreJanela(AlvoRodaJanela)) {
            DefineAlvoRodaMouse("");
            return 0;
        }
        // One message is one step, whatever the size of the turn; away from the user is up.
        const int sinal = wParam > 0 ? 1 : (wParam < 0 ? -1 : 0);
        const int linhas = -sinal * EstadoPrograma.LinhasRoda;
        if (linhas != 0 && AlvoRodaRolagem) AlvoRodaRolagem->Scroll(0, linhas, true);
    } catch (...) {
    }
    return 0;
}
