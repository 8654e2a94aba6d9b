// The pop-up menus of the main window. The window is loaded but never shown: it only
// carries the menus that the main window pops up, and every choice goes back to the main
// window's MenuClick with an action code and a value.
#pragma once

#include "platform/forms/ControlArray.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"

#include <array>
#include <cstdint>
#include <string>

class frmMenuForm : public vb::Form {
public:
    frmMenuForm();

    // The sets of one product, and the sets of every application of the current vehicle.
    vb::Menu* mnuConjuntos = nullptr;
    vb::ControlArray<vb::Menu>* mnuConjunto = nullptr;
    vb::Menu* mnuConjuntosVeiculo = nullptr;
    vb::ControlArray<vb::Menu>* mnuConjuntoVeiculo = nullptr;
    // The products of a figure item (1 to 4; element 0 unused), each with its three actions.
    vb::Menu* mnuItensFigura = nullptr;
    std::array<vb::Menu*, 5> mnuProduto{}, mnuCarrinho{}, mnuObservacao{}, mnuAplicacao{};

    // Calls the main window's MenuClick, then unloads this window.
    void ExecutaMenu(long opcao, long valor);
    // The product code in the Tag of mnuProduto1..4; 0 for any other position.
    long ObtemCodigoProdutoMenu(std::uint8_t posicao) const;

protected:
    void Build() override;
    void Form_Load() override;
};

frmMenuForm& frmMenu();
