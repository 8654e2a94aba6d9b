// Drawing primitives of the picture generator: the palette, the two fonts, crisp text and
// the flat pictograms every picture is made of. Everything is drawn at 1:1 in device pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace desenho {

// --- Palette ------------------------------------------------------------------------------
inline const QColor Vermelho{0xDA, 0x25, 0x1D};        // the system's highlight colour
inline const QColor VermelhoClaro{0xE8, 0x51, 0x4A};   // hover of red things
inline const QColor VermelhoEscuro{0xA8, 0x1B, 0x15};  // pressed/edge of red things
inline const QColor Preto{0x00, 0x00, 0x00};
inline const QColor Branco{0xFF, 0xFF, 0xFF};
inline const QColor Cinza1{0xF0, 0xF0, 0xF0};          // grid back
inline const QColor Cinza2{0xE0, 0xE0, 0xE0};
inline const QColor Cinza3{0xC0, 0xC0, 0xC0};          // dividers
inline const QColor Cinza4{0x80, 0x80, 0x80};          // abbreviations
inline const QColor Escuro{0x23, 0x30, 0x3D};          // header: white names stand on it
inline const QColor EscuroClaro{0x34, 0x45, 0x57};
inline const QColor EscuroProfundo{0x17, 0x20, 0x2A};
// Outside every tab shape; a colour no drawing uses, so the strip copy can leave it out.
inline const QColor CorChave{0xFF, 0x00, 0xFF};

QColor Mistura(const QColor& a, const QColor& b, double t);   // t = 0 gives a, 1 gives b

// --- Fonts ----------------------------------------------------------------------------------
// Loads the Debian font files by path so no font configuration of the machine takes part.
// Returns false (with the missing file in `falta`) when a file cannot be loaded.
bool CarregaFontes(QString& falta);

enum class Familia { Arial, SansSerif };   // Liberation Sans / DejaVu Sans

QFont Fonte(Familia familia, int pixels, bool negrito = false);
// The largest font from `maximo` down to `minimo` pixels whose text fits `largura`.
QFont FonteQueCabe(Familia familia, int maximo, int minimo, bool negrito, const QString& texto,
                   int largura);
// Text drawn with its box centred on the rectangle, on whole pixels.
void TextoCentrado(QPainter& p, const QRectF& r, const QString& texto, const QFont& f,
                   const QColor& cor);
void TextoEsquerda(QPainter& p, const QRectF& r, const QString& texto, const QFont& f,
                   const QColor& cor);

// --- Images ---------------------------------------------------------------------------------
QImage Imagem(int largura, int altura, const QColor& fundo);   // opaque
QImage ImagemTransparente(int largura, int altura);
void PreparaPintor(QPainter& p);

// --- Pictograms -----------------------------------------------------------------------------
// Drawn inside `r` with strokes of width `traco` in colour `cor`; `detalhe` fills accents.
void Carrinho(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Mais(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Menos(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Xis(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Figura(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Lista(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Veiculo(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Estrela(QPainter& p, const QPointF& centro, double raio, const QColor& cor);
void Engrenagem(QPainter& p, const QPointF& centro, double raio, int dentes, const QColor& cor,
                const QColor& furo, double angulo = 0);
void Disco(QPainter& p, const QPointF& centro, double raio, const QColor& cor,
           const QColor& fundo, double angulo = 0);
void Pistao(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo);
void Mola(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Vela(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo);
void Filtro(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo);
void Interrogacao(QPainter& p, const QRectF& r, const QColor& cor, double traco);
void Traco(QPainter& p, const QRectF& r, const QColor& cor, double traco);   // minimise
void Seta(QPainter& p, const QRectF& r, const QColor& cor);                  // combo arrow
void Visto(QPainter& p, const QRectF& r, const QColor& cor, double traco);   // check mark

// The "ZORNAK" word mark in the box, red letters with a dark (or white) rule under them.
void MarcaZornak(QPainter& p, const QRectF& r, const QColor& letras, const QColor& filete);

}  // namespace desenho
