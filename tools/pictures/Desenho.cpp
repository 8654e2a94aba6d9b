#include "tools/pictures/Desenho.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace desenho {

QColor Mistura(const QColor& a, const QColor& b, double t) {
    auto canal = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(canal(a.red(), b.red()), canal(a.green(), b.green()),
                  canal(a.blue(), b.blue()), canal(a.alpha(), b.alpha()));
}

bool CarregaFontes(QString& falta) {
    static const char* const arquivos[] = {
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    };
    for (const char* arquivo : arquivos) {
        if (QFontDatabase::addApplicationFont(QString::fromUtf8(arquivo)) < 0) {
            falta = QString::fromUtf8(arquivo);
            return false;
        }
    }
    return true;
}

QFont Fonte(Familia familia, int pixels, bool negrito) {
    QFont f(familia == Familia::Arial ? QStringLiteral("Liberation Sans")
                                      : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    // Grey-scale antialiasing with full hinting: crisp at 1:1 and the same on every machine.
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias |
                                            QFont::NoFontMerging | QFont::PreferMatch));
    return f;
}

QFont FonteQueCabe(Familia familia, int maximo, int minimo, bool negrito, const QString& texto,
                   int largura) {
    for (int px = maximo; px > minimo; --px) {
        QFont f = Fonte(familia, px, negrito);
        if (QFontMetrics(f).horizontalAdvance(texto) <= largura) return f;
    }
    return Fonte(familia, minimo, negrito);
}

namespace {

// The baseline that centres the font's cap height plus a little of its descent on the box.
void Texto(QPainter& p, const QRectF& r, const QString& texto, const QFont& f, const QColor& cor,
           bool centrado) {
    QFontMetrics m(f);
    const int largura = m.horizontalAdvance(texto);
    const double x = centrado ? r.left() + (r.width() - largura) / 2.0 : r.left();
    const double alturaTexto = m.ascent() + m.descent() * 0.35;
    const double base = r.top() + (r.height() - alturaTexto) / 2.0 + m.ascent();
    p.save();
    p.setFont(f);
    p.setPen(cor);
    p.drawText(QPointF(std::round(x), std::round(base)), texto);
    p.restore();
}

}  // namespace

void TextoCentrado(QPainter& p, const QRectF& r, const QString& texto, const QFont& f,
                   const QColor& cor) {
    Texto(p, r, texto, f, cor, true);
}

void TextoEsquerda(QPainter& p, const QRectF& r, const QString& texto, const QFont& f,
                   const QColor& cor) {
    Texto(p, r, texto, f, cor, false);
}

QImage Imagem(int largura, int altura, const QColor& fundo) {
    QImage img(largura, altura, QImage::Format_RGB32);
    img.fill(fundo);
    return img;
}

QImage ImagemTransparente(int largura, int altura) {
    QImage img(largura, altura, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void PreparaPintor(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {

QPen Caneta(const QColor& cor, double traco) {
    QPen pen(cor, traco);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A pictogram drawn on a grid of w x h units, scaled to fit r and centred in it.
struct GradePictograma {
    double s, x0, y0;
    QPointF operator()(double x, double y) const { return QPointF(x0 + x * s, y0 + y * s); }
};
GradePictograma Encaixa(const QRectF& r, double w, double h) {
    const double s = std::min(r.width() / w, r.height() / h);
    return {s, r.center().x() - w / 2 * s, r.center().y() - h / 2 * s};
}

}  // namespace

void Carrinho(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    // A shop cart seen from the side: handle, basket, two wheels.
    const GradePictograma P = Encaixa(r, 20, 14);
    p.save();
    p.setPen(Caneta(cor, traco));
    p.setBrush(Qt::NoBrush);
    QPainterPath cesto;
    cesto.moveTo(P(1, 1.5));
    cesto.lineTo(P(4, 1.5));
    cesto.lineTo(P(6.2, 9));
    cesto.lineTo(P(16.5, 9));
    cesto.lineTo(P(18.5, 3.5));
    cesto.lineTo(P(4.8, 3.5));
    p.drawPath(cesto);
    p.drawLine(P(5.5, 6.3), P(17.5, 6.3));
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    const double roda = std::max(1.4 * P.s, traco * 0.9);
    p.drawEllipse(P(7.5, 12), roda, roda);
    p.drawEllipse(P(15, 12), roda, roda);
    p.restore();
}

namespace {

QPointF CentroInteiro(const QRectF& r) {
    return QPointF(std::round(r.center().x()), std::round(r.center().y()));
}

// The minus sign across the middle of r, and with the upright stroke the plus sign.
void Sinal(QPainter& p, const QRectF& r, const QColor& cor, double traco, bool vertical) {
    const double m = std::floor(std::min(r.width(), r.height()) / 2.0);
    const QPointF c = CentroInteiro(r);
    p.save();
    p.setPen(Caneta(cor, traco));
    p.drawLine(QPointF(c.x() - m + 1, c.y()), QPointF(c.x() + m - 1, c.y()));
    if (vertical) p.drawLine(QPointF(c.x(), c.y() - m + 1), QPointF(c.x(), c.y() + m - 1));
    p.restore();
}

}  // namespace

void Mais(QPainter& p, const QRectF& r, const QColor& cor, double traco) { Sinal(p, r, cor, traco, true); }

void Menos(QPainter& p, const QRectF& r, const QColor& cor, double traco) { Sinal(p, r, cor, traco, false); }

void Xis(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    const double m = std::floor(std::min(r.width(), r.height()) / 2.0) - 1.5;
    const QPointF c = CentroInteiro(r);
    p.save();
    p.setPen(Caneta(cor, traco));
    p.drawLine(QPointF(c.x() - m, c.y() - m), QPointF(c.x() + m, c.y() + m));
    p.drawLine(QPointF(c.x() - m, c.y() + m), QPointF(c.x() + m, c.y() - m));
    p.restore();
}

void Figura(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    // A figure sheet with a gear drawn on it.
    const double h = std::round(r.height()), w = std::round(std::min(r.width(), h * 1.4));
    const double x0 = std::round(r.center().x() - w / 2), y0 = std::round(r.top());
    p.save();
    QPen pen(cor, traco);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x0 + traco / 2, y0 + traco / 2, w - traco, h - traco));
    const double raio = h / 2.0 - traco - 0.3;
    Engrenagem(p, QPointF(x0 + w / 2.0, y0 + h / 2.0), raio, 7, cor, Qt::transparent, 0.2);
    p.restore();
}

void Lista(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    // A parts list: bullet and line, three rows.
    const double h = std::round(r.height()), w = std::round(std::min(r.width(), h * 1.5));
    const double x0 = std::round(r.center().x() - w / 2), y0 = std::round(r.top());
    const double passo = std::floor((h - traco) / 2.0);
    const double topo = y0 + std::floor((h - (2 * passo + traco)) / 2.0);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    for (int i = 0; i < 3; ++i) {
        const double y = topo + passo * i;
        p.drawRect(QRectF(x0, y, traco + 1, traco));
        p.drawRect(QRectF(x0 + traco + 3, y, w - traco - 3, traco));
    }
    p.restore();
}

void Veiculo(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    // A car in profile: the vehicles a part applies to.
    const GradePictograma P = Encaixa(r, 22, 13);
    p.save();
    p.setPen(Caneta(cor, traco));
    p.setBrush(Qt::NoBrush);
    QPainterPath corpo;
    corpo.moveTo(P(3.5, 9.5));
    corpo.lineTo(P(1, 9.5));
    corpo.lineTo(P(1, 6.8));
    corpo.lineTo(P(5, 5.6));
    corpo.lineTo(P(8, 2));
    corpo.lineTo(P(15, 2));
    corpo.lineTo(P(18, 5.6));
    corpo.lineTo(P(21, 6.5));
    corpo.lineTo(P(21, 9.5));
    corpo.lineTo(P(18.5, 9.5));
    p.drawPath(corpo);
    p.drawLine(P(8.5, 9.5), P(13.5, 9.5));
    p.drawLine(P(5, 5.6), P(18, 5.6));
    p.drawEllipse(P(6, 10), 2.2 * P.s, 2.2 * P.s);
    p.drawEllipse(P(16, 10), 2.2 * P.s, 2.2 * P.s);
    p.restore();
}

void Estrela(QPainter& p, const QPointF& centro, double raio, const QColor& cor) {
    QPainterPath estrela;
    for (int i = 0; i < 10; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double rr = (i % 2 == 0) ? raio : raio * 0.45;
        const QPointF q(centro.x() + rr * std::cos(a), centro.y() + rr * std::sin(a));
        if (i == 0)
            estrela.moveTo(q);
        else
            estrela.lineTo(q);
    }
    estrela.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawPath(estrela);
    p.restore();
}

void Engrenagem(QPainter& p, const QPointF& centro, double raio, int dentes, const QColor& cor,
                const QColor& furo, double angulo) {
    QPainterPath roda;
    const double interno = raio * 0.78;
    const int passos = dentes * 4;
    for (int i = 0; i < passos; ++i) {
        const double a = angulo + 2 * std::numbers::pi * i / passos;
        const double rr = (i % 4 == 0 || i % 4 == 1) ? raio : interno;
        const QPointF q(centro.x() + rr * std::cos(a), centro.y() + rr * std::sin(a));
        if (i == 0)
            roda.moveTo(q);
        else
            roda.lineTo(q);
    }
    roda.closeSubpath();
    // The hub is cut out, so whatever lies behind shows through; `furo` may tint it.
    roda.addEllipse(centro, raio * 0.32, raio * 0.32);
    roda.setFillRule(Qt::OddEvenFill);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawPath(roda);
    if (furo.alpha() > 0) {
        p.setBrush(furo);
        p.drawEllipse(centro, raio * 0.32, raio * 0.32);
    }
    p.restore();
}

void Disco(QPainter& p, const QPointF& centro, double raio, const QColor& cor,
           const QColor& fundo, double angulo) {
    // A ventilated brake disc with its five wheel-bolt holes.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawEllipse(centro, raio, raio);
    p.setBrush(Mistura(cor, fundo, 0.35));
    p.drawEllipse(centro, raio * 0.55, raio * 0.55);
    p.setBrush(fundo);
    p.drawEllipse(centro, raio * 0.2, raio * 0.2);
    for (int i = 0; i < 5; ++i) {
        const double a = angulo + 2 * std::numbers::pi * i / 5;
        p.drawEllipse(QPointF(centro.x() + raio * 0.38 * std::cos(a),
                              centro.y() + raio * 0.38 * std::sin(a)),
                      raio * 0.06 + 0.4, raio * 0.06 + 0.4);
    }
    p.setPen(QPen(Mistura(cor, fundo, 0.45), std::max(1.0, raio * 0.04)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centro, raio * 0.8, raio * 0.8);
    p.restore();
}

void Pistao(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo) {
    p.save();
    p.setPen(Qt::NoPen);
    const double w = r.width(), h = r.height();
    const QRectF cabeca(r.left(), r.top(), w, h * 0.5);
    p.setBrush(cor);
    p.drawRoundedRect(cabeca, w * 0.08, w * 0.08);
    p.setBrush(fundo);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(r.left(), r.top() + h * (0.08 + 0.08 * i), w, std::max(1.0, h * 0.03)));
    p.setBrush(cor);
    QPainterPath biela;
    biela.moveTo(r.left() + w * 0.38, r.top() + h * 0.5);
    biela.lineTo(r.left() + w * 0.62, r.top() + h * 0.5);
    biela.lineTo(r.left() + w * 0.58, r.top() + h * 0.85);
    biela.lineTo(r.left() + w * 0.42, r.top() + h * 0.85);
    biela.closeSubpath();
    p.drawPath(biela);
    p.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.86), w * 0.2, w * 0.2);
    p.setBrush(fundo);
    p.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.86), w * 0.09, w * 0.09);
    p.drawEllipse(QPointF(r.center().x(), r.top() + h * 0.36), w * 0.08, w * 0.08);
    p.restore();
}

void Mola(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    p.save();
    p.setPen(Caneta(cor, traco));
    const int voltas = 6;
    QPainterPath mola;
    mola.moveTo(r.left(), r.bottom());
    for (int i = 0; i < voltas; ++i) {
        const double y1 = r.bottom() - r.height() * (i + 0.5) / voltas;
        const double y2 = r.bottom() - r.height() * (i + 1.0) / voltas;
        mola.lineTo(r.right(), y1);
        mola.lineTo(r.left(), y2);
    }
    p.drawPath(mola);
    p.restore();
}

void Vela(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo) {
    // A spark plug standing up: terminal, white insulator, hex, thread, electrode.
    p.save();
    p.setPen(Qt::NoPen);
    const double w = r.width(), h = r.height(), cx = r.center().x();
    p.setBrush(cor);
    p.drawRect(QRectF(cx - w * 0.12, r.top(), w * 0.24, h * 0.1));
    p.setBrush(Mistura(fundo, cor, 0.15));
    p.drawRoundedRect(QRectF(cx - w * 0.22, r.top() + h * 0.08, w * 0.44, h * 0.42), 2, 2);
    p.setBrush(cor);
    p.drawRect(QRectF(cx - w * 0.5, r.top() + h * 0.5, w, h * 0.16));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(cx - w * 0.3, r.top() + h * (0.68 + 0.06 * i), w * 0.6, h * 0.035));
    p.drawRect(QRectF(cx - w * 0.06, r.top() + h * 0.9, w * 0.12, h * 0.1));
    p.restore();
}

void Filtro(QPainter& p, const QRectF& r, const QColor& cor, const QColor& fundo) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawRoundedRect(r, r.width() * 0.12, r.width() * 0.12);
    p.setBrush(fundo);
    const int pregas = 5;
    for (int i = 0; i < pregas; ++i) {
        const double x = r.left() + r.width() * (0.2 + 0.6 * i / (pregas - 1));
        p.drawRect(QRectF(x - 0.75, r.top() + r.height() * 0.22, 1.5, r.height() * 0.56));
    }
    p.restore();
}

void Interrogacao(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    p.save();
    p.setPen(Caneta(cor, traco));
    p.setBrush(Qt::NoBrush);
    const double s = r.height() / 12.0;
    const QPointF c = r.center();
    QPainterPath q;
    q.moveTo(c.x() - 2.8 * s, c.y() - 2.8 * s);
    q.cubicTo(c.x() - 2.8 * s, c.y() - 6.2 * s, c.x() + 3.2 * s, c.y() - 6.2 * s,
              c.x() + 3.0 * s, c.y() - 2.6 * s);
    q.cubicTo(c.x() + 2.9 * s, c.y() - 0.6 * s, c.x(), c.y() - 0.6 * s, c.x(), c.y() + 1.6 * s);
    p.drawPath(q);
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawEllipse(QPointF(c.x(), c.y() + 4.6 * s), traco * 0.7, traco * 0.7);
    p.restore();
}

void Traco(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    p.save();
    p.setPen(Caneta(cor, traco));
    const double y = r.bottom() - r.height() * 0.28;
    p.drawLine(QPointF(r.left() + r.width() * 0.22, y), QPointF(r.right() - r.width() * 0.22, y));
    p.restore();
}

void Seta(QPainter& p, const QRectF& r, const QColor& cor) {
    QPainterPath seta;
    const QPointF c = r.center();
    const double m = std::min(r.width(), r.height() * 1.6) * 0.26;
    seta.moveTo(c.x() - m, c.y() - m / 2);
    seta.lineTo(c.x() + m, c.y() - m / 2);
    seta.lineTo(c.x(), c.y() + m / 2 + 0.5);
    seta.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(cor);
    p.drawPath(seta);
    p.restore();
}

void Visto(QPainter& p, const QRectF& r, const QColor& cor, double traco) {
    p.save();
    p.setPen(Caneta(cor, traco));
    QPainterPath v;
    v.moveTo(r.left() + r.width() * 0.18, r.top() + r.height() * 0.52);
    v.lineTo(r.left() + r.width() * 0.42, r.top() + r.height() * 0.76);
    v.lineTo(r.left() + r.width() * 0.84, r.top() + r.height() * 0.26);
    p.drawPath(v);
    p.restore();
}

void MarcaZornak(QPainter& p, const QRectF& r, const QColor& letras, const QColor& filete) {
    const QString nome = QStringLiteral("ZORNAK");
    const int px = static_cast<int>(r.height() * 0.78);
    QFont f = FonteQueCabe(Familia::Arial, std::max(px, 6), 6, true, nome,
                           static_cast<int>(r.width() * 0.92));
    f.setItalic(false);
    f.setLetterSpacing(QFont::PercentageSpacing, 104);
    QFontMetrics m(f);
    const int largura = m.horizontalAdvance(nome);
    const double x = std::round(r.left() + (r.width() - largura) / 2.0);
    const double base = std::round(r.top() + (r.height() - m.ascent()) / 2.0 + m.ascent() -
                                   r.height() * 0.06);
    p.save();
    p.setFont(f);
    p.setPen(letras);
    p.drawText(QPointF(x, base), nome);
    const double espessura = std::max(1.0, std::round(r.height() * 0.07));
    p.fillRect(QRectF(x, base + espessura + 1, largura, espessura), filete);
    p.restore();
}

}  // namespace desenho
