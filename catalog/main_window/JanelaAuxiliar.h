// The door to the auxiliary window (frmZornak2): the main window writes the request into
// RequisicaoTela and has the window shown modally; the call returns when it has closed,
// with any answer left in RequisicaoTela. The auxiliary window registers itself here at the
// program's start; opening it before that raises ObjectRequired.
#pragma once

#include <functional>
#include <memory>

class IJanelaAuxiliar {
public:
    virtual ~IJanelaAuxiliar() = default;
    // Shows the window modally over the main window; it takes RequisicaoTela at its first
    // activation.
    virtual void MostraModal() = 0;
};

// Who opens the window (nullptr: none). Returns the one replaced.
std::shared_ptr<IJanelaAuxiliar> DefineJanelaAuxiliar(std::shared_ptr<IJanelaAuxiliar> janela);
IJanelaAuxiliar& JanelaAuxiliar();
