// What the hosts of the list controls share: the module's routines that read and restore a
// THGrid's selected row (a row is kept by the callers as a byte: 0 to 254 are rows, 255 means
// "no row"), the widths of a column specification, the picture table of the picture columns
// and the colour of the sort headers.
#pragma once

#include "catalog/controls/THCombo.h"
#include "catalog/controls/THGrid.h"
#include "platform/forms/Controls.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

constexpr std::uint8_t SemLinhaGrid = 255;

// The grid's current row, 255 when it has none on the page (or one above 254).
std::uint8_t ObtemLinhaSelecionadaGrid(THGrid& grid);
// Brings the current record to visible row `linha` by scrolling; True when it scrolled.
// Row 255, or the record already there, does nothing. Never raises.
bool SelecionaLinhaGrid(THGrid& grid, std::uint8_t linha);
// True when the selected record is not `anterior` (or on an empty list, at row 0 or less,
// or when anything fails): the row-change handlers refresh their panels only then.
bool PosicionaGrid(dao::DataControl& dc, THGrid& grid, const MarcadorLinha& anterior);

// Whether the data control's recordset stands on a row (it is there, open, and at neither end).
bool TemLinhaAtual(const dao::DataControl& dc);
// A whole-number field of the current row; 0 without a current row or for a Null value.
long CodigoAtual(const dao::DataControl& dc, const std::string& campo);

// Closes the data control's recordset (a failure to close is of no interest to a screen that
// goes) and leaves the control without one.
void FechaRecordset(dao::DataControl& dc);
// A list that its screen leaves: the control lets its rows' elements go, its recordset closes.
template <class Lista>
void DescarregaLista(Lista& lista, dao::DataControl& dc) {
    lista.Descarrega();
    FechaRecordset(dc);
}

// A grid's new rows from an SQL text (RecarregaLista), redrawn when asked.
inline void RecarregaGrade(THGrid& grade, dao::DataControl& dc, const std::string& sql, bool redesenha) {
    RecarregaLista(grade, dc, sql);
    if (redesenha) grade.AtualizaGrid();
}

// A screen's combo over its data control, which the caller has loaded: bound to it, with its
// list's columns (and the list's width in twips, -1 the combo's own), on the first row that
// meets the criteria, and drawn.
void LigaCombo(THCombo& combo, dao::DataControl& dc, const std::vector<std::string>& colunas,
               const std::string& criterio, long larguraLista = -1);
// A list grid of a screen over its data control: bound to it, with its pictures and columns.
void LigaGrade(THGrid& grade, dao::DataControl& dc, const TabelaPictures& pictures, const std::string& especificacao);

// A width in pixels as the twips text of a column specification (the horizontal axis).
std::string LarguraColuna(long pixels);

// One picture column of a picture table: the resource names of its four looks in order (plain,
// hover, on the selection bar, its hover) and their resource type.
struct ColunaPictures {
    std::string v0, v1, v2, v3;
    std::string tipo;
};
// The usual names of the four looks: N & "1", N & "1_S", N & "2", N & "2_S".
ColunaPictures Variantes(const std::string& nome, const std::string& tipo);
// The release mark's column, which has no looks of its own on the selection bar.
ColunaPictures VariantesLancamento();
// The pictures of the columns in order, as ObtemPictures takes them ([look][column]).
TabelaPictures MontaTabelaPictures(const std::vector<ColunaPictures>& colunas);

// The figure icon and the list icon that lists of applications end with: their pictures, and
// the specification of each column (the list icon's tooltip names the keys that open the list).
std::vector<ColunaPictures> VariantesFiguraLista();
std::string ColunaFigura();
std::string ColunaLista(const std::string& teclas);

// The catalogue's red (#DA251D) of highlighted texts and lines.
constexpr long CorDestaque = 0x1D25DA;
// The colour of the header label of the column that sorts a list.
constexpr long CorOrdemAtiva = CorDestaque;
// The colour of the header at a position (from 1) for a sort code: the active colour when the
// code's first character is that position's digit, else black.
long CorCabecalho(const std::string& ordem, int posicao);
// The header labels of a list in column order coloured for the sort code; a missing label
// keeps its place.
void ColoreCabecalhos(const std::string& ordem, std::initializer_list<vb::Label*> rotulos);
