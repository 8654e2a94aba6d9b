#include "catalog/main_window/JanelaAuxiliar.h"

#include "platform/vb/Err.h"

namespace {

std::shared_ptr<IJanelaAuxiliar>& Atual() {
    static std::shared_ptr<IJanelaAuxiliar> janela;
    return janela;
}

}  // namespace

std::shared_ptr<IJanelaAuxiliar> DefineJanelaAuxiliar(std::shared_ptr<IJanelaAuxiliar> janela) {
    std::shared_ptr<IJanelaAuxiliar> anterior = std::move(Atual());
    Atual() = std::move(janela);
    return anterior;
}

IJanelaAuxiliar& JanelaAuxiliar() {
    if (!Atual()) vb::Raise(vb::err::ObjectRequired, "No auxiliary window is registered");
    return *Atual();
}
