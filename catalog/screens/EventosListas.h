// The events of the main window's two list grids (icon clicks, double-clicks, row changes,
// mouse moves) and the sets of an application: the first set, and the pop-up menus that
// offer the sets of a vehicle's applications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class frmZornakForm;
class TelasCatalogo;

class EventosListas {
public:
    EventosListas(frmZornakForm& janela, TelasCatalogo& telas);

    void grdTHGrid1_ImageClick(std::uint8_t sColuna, int sButton);
    void grdTHGrid2_ImageClick(std::uint8_t sColuna, int sButton);
    void grdTHGrid1_DblClick();
    void grdTHGrid2_DblClick();
    // linhaMudou: what PosicionaGrid answered for the row left.
    void grdTHGrid1_RowColChange(bool linhaMudou);
    void grdTHGrid1_MouseMove();
    void grdTHGrid2_MouseMove();

    int ObtemConjunto(long aplicacao, long produto);
    bool CarregaMenuConjuntosVeiculo(long veiculo);
    void CarregaMenuConjuntos(long produto, long veiculo);

    // What these events use of the window: the auxiliary window in a mode and the pop-up
    // menu of frmMenu ("mnuConjuntos" or "mnuConjuntosVeiculo") (tests put others in their
    // place).
    std::function<void(std::uint8_t modo, const std::string& parametros)> AbreTelaAuxiliar;
    std::function<void(const std::string& menu)> MostraMenu;

private:
    // Fills ConjuntosMenu from a menu query; the number of entries.
    int PreencheConjuntosMenu(const std::string& sql);
    void TrocaParaFigura(long aplicacao, std::uint8_t saindo);
    void IncluiNoCarrinho(long produto);

    frmZornakForm& janela_;
    TelasCatalogo& telas_;
};
