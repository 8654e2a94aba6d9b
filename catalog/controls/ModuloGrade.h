// The module's routines that read and restore a THGrid's selected row. A row is kept by
// the callers as a byte: 0 to 254 are rows, 255 means "no row".
#pragma once

#include "catalog/controls/THGrid.h"

#include <cstdint>

constexpr std::uint8_t SemLinhaGrid = 255;

// The grid's current row, 255 when it has none on the page (or one above 254).
std::uint8_t ObtemLinhaSelecionadaGrid(THGrid& grid);
// Brings the current record to visible row `linha` by scrolling; True when it scrolled.
// Row 255, or the record already there, does nothing. Never raises.
bool SelecionaLinhaGrid(THGrid& grid, std::uint8_t linha);
// True when the selected record is not `anterior` (or on an empty list, at row 0 or less,
// or when anything fails): the row-change handlers refresh their panels only then.
bool PosicionaGrid(dao::DataControl& dc, THGrid& grid, const MarcadorLinha& anterior);
