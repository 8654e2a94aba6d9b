// Small pieces the catalogue screens share: pixel widths as twips, the column
// specification texts, the four pictures of a picture column, the sort header colours.
#pragma once

#include "catalog/controls/THGrid.h"
#include "platform/forms/Controls.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace telas {

// Pixels to twips on one axis: "X", "L", "LEFT", "W", "WIDTH" horizontal, "T", "H" vertical.
long ConvertePixelsParaTwips(long pixels, const std::string& eixo);
// A width in pixels as the decimal twips text of a column specification.
std::string Largura(long pixels);
// The specification text split at ";" into the items ConfiguraColunas takes.
std::vector<std::string> DivideEspecificacao(const std::string& especificacao);

// One picture column of a picture table, as [variant][column]: the names are the four
// variants in order (plain, hover, on the selection bar, its hover).
struct ColunaPictures {
    std::string v0, v1, v2, v3;
    std::string tipo;   // resource type
};
// N & "1", N & "1_S", N & "2", N & "2_S" of resource type tipo.
ColunaPictures Variantes(const std::string& nome, const std::string& tipo);
TabelaPictures MontaTabelaPictures(std::initializer_list<ColunaPictures> colunas);

// The header labels of a list in column order: the label at the sort code's position gets
// the active colour, the others black.
void ColoreCabecalhos(const std::string& ordem, std::initializer_list<vb::Label*> rotulos);


// The first field of the current row as a whole number; 0 when the recordset is Nothing,
// closed or at its end, or the value is Null.
long CodigoAtual(const dao::DataControl& dc, const std::string& campo);

}  // namespace telas
