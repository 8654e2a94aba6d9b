// The mouse-wheel hook: the main window watches the wheel of one window (itself, or the
// auxiliary window while that is open) and scrolls the list under the cursor.
#include "catalog/main_window/frmZornak.h"

#include "catalog/startup/Modulo.h"

#include <QCursor>

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
    LimpaAlvoRoda();
}

void frmZornakForm::LimpaAlvoRoda() {
    // The wheel has no target until the mouse moves over a list again.
    if (!EstadoPrograma.RodaMouseAtiva || EstadoPrograma.ChaveAlvoRoda.empty()) return;
    AlvoRodaJanela = nullptr;
    AlvoRodaRolagem = nullptr;
    EstadoPrograma.LinhasRoda = 0;
    EstadoPrograma.ChaveAlvoRoda.clear();
}

long frmZornakForm::WindowProc(QWidget*, long mensagem, long wParam, long) {
    if (mensagem != WM_MOUSEWHEEL || !EstadoPrograma.RodaMouseAtiva || EstadoPrograma.ChaveAlvoRoda.empty())
        return 0;
    try {
        if (!AlvoRodaJanela || !AlvoRodaJanela->ScreenRect().contains(QCursor::pos())) {
            LimpaAlvoRoda();
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

// ------------------------------------------------------------------------ wheel targets

namespace {

struct ListasAuxiliar {
    THGrid* grade1 = nullptr;
    THCombo* combo2 = nullptr;
};

ListasAuxiliar& Auxiliar() {
    static ListasAuxiliar listas;
    return listas;
}

}  // namespace

void RegistraListasRodaAuxiliar(THGrid* grdTHGrid1, THCombo* cboTHCombo2) {
    Auxiliar().grade1 = grdTHGrid1;
    Auxiliar().combo2 = cboTHCombo2;
}

void DefineAlvoRodaMouse(const std::string& chave) {
    if (!EstadoPrograma.RodaMouseAtiva || chave == EstadoPrograma.ChaveAlvoRoda) return;
    auto alvo = [](vb::Control* controle, IRolagemRoda* rolagem) {
        AlvoRodaJanela = controle;
        AlvoRodaRolagem = rolagem;
        EstadoPrograma.LinhasRoda = controle ? 4 : 0;
    };
    if (chave.empty()) {
        alvo(nullptr, nullptr);
    } else if (chave.rfind("CAT_", 0) == 0 && JanelaCriada("frmZornak")) {
        frmZornakForm& j = frmZornak();
        if (chave == "CAT_GRID1") alvo(j.grdTHGrid1, j.grdTHGrid1);
        else if (chave == "CAT_GRID2") alvo(j.grdTHGrid2, j.grdTHGrid2);
        else if (chave == "CAT_COMBO1") alvo(j.cboTHCombo1, j.cboTHCombo1);
        else if (chave == "CAT_COMBO2") alvo(j.cboTHCombo2, j.cboTHCombo2);
    } else if (chave == "TEL_GRID1") {
        alvo(Auxiliar().grade1, Auxiliar().grade1);
    } else if (chave == "TEL_COMBO2") {
        alvo(Auxiliar().combo2, Auxiliar().combo2);
    }
    EstadoPrograma.ChaveAlvoRoda = chave;
}
