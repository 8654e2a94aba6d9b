// Where a shown list's rows end, as the screen shows them: a list with fewer rows than a page
// has no scroll bar, and its rows end where its selection bar ends; the room a scroll bar
// would take holds no row and takes no click.
#pragma once

#include "catalog/controls/THGrid.h"
#include "tests/support/Ponteiro.h"

#include <QColor>
#include <QImage>
#include <QStyle>

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// The line under the first row (the bar lies on that row) is drawn up to the bar's last
// pixel and no further.
inline ::testing::AssertionResult LinhasTerminamComABarra(THGrid& lista) {
    QWidget* janela = lista.Widget()->window();
    const vb::PictureBox& barra = *lista.BarraSelecao();
    if (!barra.Widget()->isVisible()) return ::testing::AssertionFailure() << "the selection bar is not shown";
    if (lista.PctTHGridTop() != 0) return ::testing::AssertionFailure() << "the bar is not on the first row";
    const QImage imagem = Captura(janela);
    const QColor linha(0xE4, 0xE4, 0xE4);
    const int fimBarra = PontoDe(barra, QPoint(barra.Width() - 1, 0)).x();
    const int y = lista.Grade().mapTo(janela, QPoint(0, 16)).y();
    if (imagem.pixelColor(fimBarra - 2, y) != linha)
        return ::testing::AssertionFailure() << "no row line under the bar's end";
    const int rolagem = lista.Grade().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int x = fimBarra + 1; x < fimBarra + rolagem - 2; ++x)
        if (imagem.pixelColor(x, y) == linha)
            return ::testing::AssertionFailure() << "the row line runs " << x - fimBarra << " pixels past the bar";
    return ::testing::AssertionSuccess();
}

// A point of the third row, in the room right of the bar.
inline QPoint PontoAoLadoDaBarra(THGrid& lista) {
    const vb::PictureBox& barra = *lista.BarraSelecao();
    const int rolagem = lista.Grade().style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return QPoint(PontoDe(barra, QPoint(barra.Width() - 1, 0)).x() + rolagem / 2,
                  lista.Grade().mapTo(lista.Grade().window(), QPoint(0, 2 * 17 + 8)).y());
}

}  // namespace testsupport
