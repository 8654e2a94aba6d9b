// The outline of the splash window (and of the auxiliary window): a tab across the top
// right over a body whose right edge slants inwards down to row 80.
#pragma once

#include <QRegion>

// The window region built from one-pixel-high rows 1 to 404; row 0 and the rows below
// 404 lie outside. Each row runs from x1 to x2, x2 excluded.
QRegion CriaRegiaoJanela();
