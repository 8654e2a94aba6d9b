#include "catalog/controls/ModuloGrade.h"

#include "platform/vb/Err.h"

std::uint8_t ObtemLinhaSelecionadaGrid(THGrid& grid) {
    try {
        const int row = grid.Row();
        if (row < 0 || row > 255) return SemLinhaGrid;
        return static_cast<std::uint8_t>(row);
    } catch (const vb::Error&) {
        return SemLinhaGrid;
    }
}

bool SelecionaLinhaGrid(THGrid& grid, std::uint8_t linha) {
    if (linha == SemLinhaGrid) return false;
    try {
        const int row = grid.Row();
        if (row == linha) return false;
        grid.Scroll(0, row - linha, false);
    } catch (const vb::Error&) {
    }
    return true;
}

bool PosicionaGrid(dao::DataControl& dc, THGrid& grid, const MarcadorLinha& anterior) {
    try {
        const dao::Recordset rs = dc.GetRecordset();
        if (rs.IsNothing() || rs.Eof()) return true;
        const int row = grid.Row();
        if (row <= 0) return true;
        return grid.RowBookmark(row) != anterior;
    } catch (const vb::Error&) {
        return true;
    }
}
