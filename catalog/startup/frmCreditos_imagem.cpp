#include "catalog/startup/frmCreditos_imagem.h"

#include <cmath>

namespace {

// Whole pixels, to the nearest with a half to the even number.
long Arredonda(double valor) {
    double inteiro = std::floor(valor);
    const double resto = valor - inteiro;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(inteiro, 2.0) != 0.0)) inteiro += 1.0;
    return static_cast<long>(inteiro);
}

}  // namespace

ImagemCreditos EscolheImagemCreditos(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                     int twipsPorPixelY) {
    const long largura = Arredonda(static_cast<double>(larguraTwips) / twipsPorPixelX);
    const long altura = Arredonda(static_cast<double>(alturaTwips) / twipsPorPixelY);
    if (largura < 1024 || altura < 768) return {"VAVEZAREVOVIDO800V600", 0, 0};
    return {"FUNDOTELAVELMO1024X768", static_cast<int>(Arredonda((largura - 1024) / 2.0)),
            static_cast<int>(Arredonda((altura - 768) / 2.0))};
}
