#include "catalog/startup/frmApresentacao_regiao.h"

#include <QRect>

namespace {

struct FaixaRegiao {
    int primeiraLinha, ultimaLinha, x1, x2;
};

// Runs of rows with equal spans.
constexpr FaixaRegiao kFaixas[] = {
    {1, 1, 476, 639},    {2, 2, 475, 640},    {3, 3, 475, 641},    {4, 4, 474, 640},
    {5, 6, 473, 640},    {7, 7, 472, 639},    {8, 9, 471, 639},    {10, 10, 470, 638},
    {11, 11, 2, 638},    {12, 14, 1, 637},    {15, 17, 1, 636},    {18, 20, 1, 635},
    {21, 23, 1, 634},    {24, 25, 1, 633},    {26, 28, 1, 632},    {29, 31, 1, 631},
    {32, 34, 1, 630},    {35, 37, 1, 629},    {38, 39, 1, 628},    {40, 42, 1, 627},
    {43, 45, 1, 626},    {46, 48, 1, 625},    {49, 51, 1, 624},    {52, 54, 1, 623},
    {55, 56, 1, 622},    {57, 59, 1, 621},    {60, 62, 1, 620},    {63, 65, 1, 619},
    {66, 68, 1, 618},    {69, 70, 1, 617},    {71, 73, 1, 616},    {74, 76, 1, 615},
    {77, 79, 1, 614},    {80, 403, 1, 613},   {404, 404, 2, 612},
};

}  // namespace

QRegion CriaRegiaoJanela() {
    QRegion contorno;
    for (const FaixaRegiao& faixa : kFaixas)
        for (int y = faixa.primeiraLinha; y <= faixa.ultimaLinha; ++y)
            contorno += QRect(faixa.x1, y, faixa.x2 - faixa.x1, 1);
    return contorno;
}
