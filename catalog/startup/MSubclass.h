// Window subclassing: an object that implements ISubclass attaches itself to one message
// of one window of this program and sees that message before the window's own handling.
// Qt has no window procedures to replace; an application event filter stands in for the
// module's dispatcher, and only the mouse wheel (message 522) reaches it.
#pragma once

class QWidget;

constexpr long WM_MOUSEWHEEL = 522;

class ISubclass {
public:
    virtual ~ISubclass() = default;
    // 1: the window's own handling after the handlers; 2: before them; other: not at all.
    // The wheel always reaches the window afterwards: nothing in Qt answers it first.
    virtual long MsgResponse() const = 0;
    virtual void SetMsgResponse(long) {}
    // wParam: the wheel delta in the high word, the buttons in the low one; lParam: the
    // cursor's screen position, y in the high word and x in the low one.
    virtual long WindowProc(QWidget* janela, long mensagem, long wParam, long lParam) = 0;
};

// Errors, the values combined with the object-error base.
constexpr long ErroSubclassJanela = static_cast<long>(static_cast<int>(0x80040000u | 13081u));
constexpr long ErroMensagemJaTratada = static_cast<long>(static_cast<int>(0x80040000u | 13082u));
constexpr long ErroJanelaInvalida = static_cast<long>(static_cast<int>(0x80040000u | 13083u));
constexpr long ErroJanelaExterna = static_cast<long>(static_cast<int>(0x80040000u | 13084u));

// Attaches the handler to the message of the top-level window. Raises "Invalid window" for
// no window, "Message already handled by another class" when this handler is attached
// there already.
void AdicionaMensagemJanela(ISubclass& handler, QWidget* janela, long mensagem);
// Detaches it; never raises.
void RemoveMensagemJanela(ISubclass& handler, QWidget* janela, long mensagem);
// How many handlers the window has for the message (0 when it is not subclassed).
int ContaMensagemJanela(QWidget* janela, long mensagem);
