#include "catalog/main_window/frmZornak_teclado.h"

#include "platform/forms/Keys.h"

namespace frmZornakTeclado {

namespace {

// An icon click runs only from a focused control other than a combo, and never while a
// screen is being built; when it runs the key is swallowed.
void Icone(int& KeyCode, const Contexto& c, IAcoes& acoes, int grade, int coluna) {
    if (c.tipoFoco.empty() || c.tipoFoco == "THCombo" || c.trocandoTela) return;
    acoes.IconeGrade(grade, coluna);
    KeyCode = 0;
}

bool ProdutosOuLancamentos(int tela) { return tela == 1 || tela == 5; }

}  // namespace

void TrataKeyDown(int& KeyCode, int Shift, const Contexto& c, IAcoes& acoes) {
    const bool alt = (Shift & vb::vbAltMask) != 0;
    const bool ctrl = (Shift & vb::vbCtrlMask) != 0;
    const bool shift = (Shift & vb::vbShiftMask) != 0;
    switch (KeyCode) {
    case vb::vbKeyDown:
    case vb::vbKeyUp:
    case vb::vbKeyPageDown:
    case vb::vbKeyPageUp: {
        // The search boxes move the selection of the list below them.
        if ((c.tipoFoco != "TextBox" && c.tipoFoco != "PictureBox") || !c.grade1Visivel || c.trocandoTela)
            return;
        const char* teclas = KeyCode == vb::vbKeyDown ? "{DOWN}"
                             : KeyCode == vb::vbKeyUp  ? "{UP}"
                             : KeyCode == vb::vbKeyPageDown ? "{PGDN}"
                                                            : "{PGUP}";
        KeyCode = 0;
        acoes.RepeteNaGrade1(teclas);
        return;
    }
    case vb::vbKeyF1:
        acoes.imgAjuda_Click();
        return;
    case vb::vbKeyF2:
        if (ProdutosOuLancamentos(c.tela)) Icone(KeyCode, c, acoes, 1, 2);
        else if (c.tela == 3) Icone(KeyCode, c, acoes, 1, c.colunaLancamento ? 4 : 3);
        return;
    case vb::vbKeyF3:
        if (ProdutosOuLancamentos(c.tela)) Icone(KeyCode, c, acoes, 2, 0);
        else if (c.tela == 2) Icone(KeyCode, c, acoes, 1, 0);
        else if (c.tela == 3) Icone(KeyCode, c, acoes, 1, c.colunaLancamento ? 2 : 1);
        return;
    case vb::vbKeyF4:
        if (alt) {
            KeyCode = 0;
            acoes.lblSair_Click();
        } else if (ProdutosOuLancamentos(c.tela)) {
            Icone(KeyCode, c, acoes, 2, 1);
        } else if (c.tela == 2) {
            Icone(KeyCode, c, acoes, 1, 1);
        } else if (c.tela == 4) {
            acoes.imgOrelha1_Click(0);
        }
        return;
    case vb::vbKeyF5:
        acoes.lblVerificarAtualizacoes_Click();
        return;
    case vb::vbKeyF6:
        if (c.tela == 3) Icone(KeyCode, c, acoes, 1, c.colunaLancamento ? 3 : 2);
        return;
    case vb::vbKeyF10:
        acoes.imgCarrinho_Click();
        return;
    case vb::vbKeyP:
        if (ctrl && c.imprimirVisivel) {
            KeyCode = 0;
            acoes.lblImprimir_Click();
        }
        return;
    case vb::vbKeyTab: {
        if (!ctrl || c.trocandoTela) return;
        KeyCode = 0;
        // Strip 0 holds the screens 0, 1, 2 and 5 in this order; strip 1 the screens 3 and 4.
        if (c.tela == 3) acoes.imgOrelha1_Click(1);
        else if (c.tela == 4) acoes.imgOrelha1_Click(0);
        else if (!shift) {
            if (c.tela == 0) acoes.imgOrelha0_Click(1);
            else if (c.tela == 1) acoes.imgOrelha0_Click(2);
            else if (c.tela == 2) acoes.imgOrelha0_Click(3);
            else if (c.tela == 5) acoes.imgOrelha0_Click(0);
        } else {
            if (c.tela == 0) acoes.imgOrelha0_Click(3);
            else if (c.tela == 1) acoes.imgOrelha0_Click(0);
            else if (c.tela == 2) acoes.imgOrelha0_Click(1);
            else if (c.tela == 5) acoes.imgOrelha0_Click(2);
        }
        return;
    }
    default:
        return;
    }
}

void TrataKeyPress(int& KeyAscii, const Contexto& c, IAcoes& acoes) {
    if (KeyAscii != vb::vbKeyReturn && KeyAscii != vb::vbKeyEscape) return;
    if (c.tipoFoco.empty() || c.tipoFoco == "THCombo" || c.trocandoTela) return;
    const bool enter = KeyAscii == vb::vbKeyReturn;
    bool agiu = true;
    if (ProdutosOuLancamentos(c.tela) && enter) acoes.IconeGrade(1, 0);
    else if (c.tela == 2 && enter) acoes.IconeGrade(1, 1);
    else if (c.tela == 3 && enter) acoes.IconeGrade(1, 0);
    else if (c.tela == 4 && enter) acoes.imgOrelha1_Click(0);
    else if ((c.tela == 3 || c.tela == 4) && !enter) acoes.lblInicio_Click();
    else agiu = false;
    if (agiu) KeyAscii = 0;
}

}  // namespace frmZornakTeclado
