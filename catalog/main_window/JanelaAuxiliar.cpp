#include "catalog/main_window/JanelaAuxiliar.h"

#include "catalog/screens/ModuloTelas.h"

namespace {

class JanelaAuxiliarIndisponivel : public IJanelaAuxiliar {
public:
    void MostraModal() override { LevantaNaoDisponivel("The auxiliary window"); }
};

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
    static JanelaAuxiliarIndisponivel indisponivel;
    return Atual() ? *Atual() : indisponivel;
}
