#include "tools/demo_data/Imagem.h"

#include <gif_lib.h>

#include <QColor>
#include <QVector>

#include <stdexcept>
#include <vector>

namespace demo {

namespace {

// A fixed palette (the 6 x 6 x 6 colour cube and a fine grey ramp for the studio backdrops)
// that QImage maps the picture onto with dithering: the same on every machine.
QVector<QRgb> Paleta()
{
    QVector<QRgb> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) p.push_back(qRgb(r * 51, g * 51, b * 51));
    const int cinzas = 256 - static_cast<int>(p.size());
    for (int i = 0; i < cinzas; ++i) {
        const int v = 5 + i * 250 / (cinzas - 1);
        p.push_back(qRgb(v, v, v));
    }
    return p;
}

void SalvaGif(const QImage& imagem, const std::string& caminho)
{
    const QVector<QRgb> paleta = Paleta();
    const QImage ind = imagem.convertToFormat(QImage::Format_Indexed8, paleta, Qt::DiffuseDither | Qt::PreferDither);
    int erro = 0;
    GifFileType* gif = EGifOpenFileName(caminho.c_str(), false, &erro);
    if (!gif) throw std::runtime_error("cannot write " + caminho);
    std::vector<GifColorType> cores(256);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < ind.colorCount() ? ind.color(i) : qRgb(0, 0, 0);
        cores[static_cast<size_t>(i)] = {static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                                         static_cast<GifByteType>(qBlue(c))};
    }
    ColorMapObject* mapa = GifMakeMapObject(256, cores.data());
    bool ok = mapa && EGifPutScreenDesc(gif, ind.width(), ind.height(), 8, 0, mapa) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, ind.width(), ind.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < ind.height(); ++y) {
        std::vector<GifPixelType> linha(ind.constScanLine(y), ind.constScanLine(y) + ind.width());
        ok = EGifPutLine(gif, linha.data(), ind.width()) == GIF_OK;
    }
    GifFreeMapObject(mapa);
    if (EGifCloseFile(gif, &erro) != GIF_OK) ok = false;
    if (!ok) throw std::runtime_error("cannot write " + caminho);
}

}  // namespace

void SalvaImagem(const QImage& imagem, const std::string& caminho)
{
    const auto fim = caminho.substr(caminho.size() >= 4 ? caminho.size() - 4 : 0);
    if (fim == ".gif") return SalvaGif(imagem, caminho);
    const char* formato = fim == ".jpg" ? "JPG" : fim == ".bmp" ? "BMP" : "PNG";
    const int qualidade = fim == ".jpg" ? 88 : -1;
    QImage saida = imagem.convertToFormat(QImage::Format_RGB32);
    if (!saida.save(QString::fromStdString(caminho), formato, qualidade))
        throw std::runtime_error("cannot write " + caminho);
}

}  // namespace demo
