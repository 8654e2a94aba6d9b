// The frame of a window chosen at run time: the main window on a small screen becomes a
// borderless window that still has its system menu, minimise and maximise and a taskbar
// entry.
#include "catalog/main_window/frmZornak.h"

#include "platform/vb/Err.h"

#include <QWidget>

void AjustaJanela(vb::Form& janela, long borda, bool recortaFilhos, bool menuSistema, bool botaoMaximizar,
                  bool botaoMinimizar, bool barraTarefas, bool botaoAjuda) {
    // A border style the forms do not know would leave the window in a state no property
    // describes: refused before anything changes.
    if (borda < 0 || borda > 5) vb::Raise(380, "Invalid property value");
    // Child widgets never paint over each other's area here, so the clipping flag has no
    // counterpart to set.
    (void)recortaFilhos;
    QWidget* w = janela.Window();
    if (!w) vb::Raise(vb::err::ObjectRequired, "The window " + janela.Name() + " is not loaded");

    // The old flags are replaced, not added to.
    Qt::WindowFlags flags = Qt::Window;
    const bool ferramenta = borda == 4 || borda == 5;
    if (ferramenta || !barraTarefas) flags = Qt::Tool;
    if (borda == 0) flags |= Qt::FramelessWindowHint;
    else flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    if (borda == 1 || borda == 3 || borda == 4) flags |= Qt::MSWindowsFixedSizeDialogHint;
    if (menuSistema) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (botaoMaximizar) flags |= Qt::WindowMaximizeButtonHint;
    if (botaoMinimizar) flags |= Qt::WindowMinimizeButtonHint;
    if (botaoAjuda) flags |= Qt::WindowContextHelpButtonHint;

    const bool visivel = w->isVisible();
    w->setWindowFlags(flags);
    if (visivel) {
        // Changing the flags hides a window; it comes back on top, with its new frame.
        w->show();
        w->raise();
    }
    janela.SetBorderStyle(static_cast<int>(borda));
}
