// Screen 0, the home screen: up to twelve manufacturers in a 3 x 4 grid, each with up to
// five product-group links (a vehicles link last, in red), release marks with their date
// on hover, and the Portuguese notice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class frmZornakForm;

class TelaPrincipal {
public:
    explicit TelaPrincipal(frmZornakForm& janela);

    void MontaTelaPrincipal();
    void DesmontaTelaPrincipal();

    // The auxiliary window and the reading of its answer (the main window's; tests put
    // others in their place).
    std::function<void(std::uint8_t modo, const std::string& parametros)> AbreTelaAuxiliar;
    std::function<void(std::uint8_t fabricante, int grupo)> AplicaEstadoPendente;

private:
    frmZornakForm& janela_;
};
