// The main window's keyboard: which handler a key ends in, and whether the key is
// swallowed. Every shortcut ends in a handler the mouse also reaches.
#pragma once

#include <string>

namespace frmZornakTeclado {

// What the keyboard looks at in the window when a key comes.
struct Contexto {
    int tela = 0;                  // the last digit of m_HistoricoTelas
    std::string tipoFoco;          // type of the control with the focus ("TextBox", "THCombo", ...); "" none
    bool trocandoTela = false;     // m_TrocandoTela
    bool colunaLancamento = false; // lblLancamentoLC.Tag is "1": the set list shows the release icon
    bool grade1Visivel = false;    // grdTHGrid1.Visible
    bool imprimirVisivel = false;  // lblImprimir.Visible
};

// The handlers a key can end in.
class IAcoes {
public:
    virtual ~IAcoes() = default;
    // The image-click action of grdTHGrid1 (grade 1) or grdTHGrid2 (2) at an icon position,
    // as a left-button click without a bookmark.
    virtual void IconeGrade(int grade, int coluna) = 0;
    // Focus to grdTHGrid1, the keys sent there and processed, the focus back where it was.
    virtual void RepeteNaGrade1(const std::string& teclas) = 0;
    virtual void imgAjuda_Click() = 0;
    virtual void lblSair_Click() = 0;
    virtual void lblVerificarAtualizacoes_Click() = 0;
    virtual void imgCarrinho_Click() = 0;
    virtual void lblImprimir_Click() = 0;
    virtual void lblInicio_Click() = 0;
    virtual void imgOrelha0_Click(int indice) = 0;
    virtual void imgOrelha1_Click(int indice) = 0;
};

// KeyDown with key preview: KeyCode 0 afterwards swallows the key.
void TrataKeyDown(int& KeyCode, int Shift, const Contexto& contexto, IAcoes& acoes);
// KeyPress (Enter and Esc only): KeyAscii 0 afterwards swallows the key.
void TrataKeyPress(int& KeyAscii, const Contexto& contexto, IAcoes& acoes);

}  // namespace frmZornakTeclado
