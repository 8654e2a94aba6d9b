// Product photos: a studio-like backdrop, a soft shadow and the part in shaded colours, one
// drawing per product group, varied by each product's own seed.
#include "tools/demo_data/Catalogo.h"
#include "tools/demo_data/Imagem.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace demo {

namespace {

QLinearGradient Metal(QPointF a, QPointF b, QColor base)
{
    QLinearGradient g(a, b);
    g.setColorAt(0.0, base.darker(160));
    g.setColorAt(0.35, base.lighter(150));
    g.setColorAt(0.5, base.lighter(115));
    g.setColorAt(1.0, base.darker(190));
    return g;
}

void Fundo(QPainter& p, int w, int h)
{
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(252, 252, 252));
    g.setColorAt(1, QColor(222, 224, 228));
    p.fillRect(0, 0, w, h, g);
}

void Sombra(QPainter& p, QRectF r)
{
    QRadialGradient g(r.center(), r.width() / 2);
    g.setColorAt(0, QColor(0, 0, 0, 90));
    g.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.translate(r.center());
    p.scale(1.0, r.height() / r.width());
    p.drawEllipse(QPointF(0, 0), r.width() / 2, r.width() / 2);
    p.restore();
}

QColor Tom(Aleatorio& r, QColor base)
{
    return QColor::fromHsv((base.hsvHue() + static_cast<int>(r.Entre(-12, 12)) + 360) % 360,
                           std::clamp(base.hsvSaturation() + static_cast<int>(r.Entre(-30, 30)), 0, 255),
                           std::clamp(base.value() + static_cast<int>(r.Entre(-25, 20)), 0, 255));
}

void Pastilha(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(30, 122, 130, 26));
    QPainterPath placa;
    placa.moveTo(28, 70);
    placa.cubicTo(60, 40, 130, 40, 162, 70);
    placa.lineTo(150, 118);
    placa.cubicTo(120, 104, 70, 104, 40, 118);
    placa.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Metal(QPointF(0, 45), QPointF(0, 120), Tom(r, QColor(120, 124, 130))));
    p.drawPath(placa);
    QPainterPath atrito = placa.translated(0, 10);
    p.setBrush(QColor(58, 52, 48));
    p.drawPath(atrito.intersected(placa.translated(0, 14)));
    p.setBrush(QColor(200, 200, 205));
    p.drawEllipse(QPointF(56, 70), 5, 5);
    p.drawEllipse(QPointF(134, 70), 5, 5);
}

void Disco(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(30, 128, 130, 24));
    const QPointF c(95, 80);
    p.setPen(QPen(QColor(50, 50, 55), 1));
    QRadialGradient g(c, 70);
    const QColor base = Tom(r, QColor(150, 150, 155));
    g.setColorAt(0.0, base.lighter(130));
    g.setColorAt(0.8, base);
    g.setColorAt(1.0, base.darker(150));
    p.setBrush(g);
    p.drawEllipse(c, 68, 62);
    p.setBrush(QColor(95, 75, 60));
    p.drawEllipse(c, 30, 27);
    p.setBrush(Metal(QPointF(70, 55), QPointF(120, 105), QColor(170, 170, 175)));
    p.drawEllipse(c, 22, 20);
    p.setBrush(QColor(60, 60, 60));
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5;
        p.drawEllipse(QPointF(c.x() + 13 * std::cos(a), c.y() + 12 * std::sin(a)), 3, 3);
    }
    p.drawEllipse(c, 7, 6);
}

void Cilindro(QPainter& p, QRectF corpo, QColor cor)
{
    p.setPen(QPen(cor.darker(220), 1));
    p.setBrush(Metal(corpo.topLeft(), corpo.topRight(), cor));
    p.drawRect(corpo);
    p.setBrush(cor.lighter(140));
    p.drawEllipse(QRectF(corpo.left(), corpo.top() - 8, corpo.width(), 16));
}

void Filtro(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(45, 132, 100, 22));
    const QColor cor = r.Chance(0.5) ? Tom(r, QColor(20, 70, 160)) : Tom(r, QColor(220, 110, 20));
    Cilindro(p, QRectF(55, 40, 80, 100), cor);
    p.setPen(QPen(cor.darker(170), 1));
    for (int y = 52; y < 136; y += 7) p.drawLine(QPointF(57, y), QPointF(133, y));
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(70, 78, 50, 22));
}

void Bomba(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(30, 130, 135, 22));
    const QColor liga = Tom(r, QColor(175, 175, 168));
    QPainterPath corpo;
    corpo.addRoundedRect(QRectF(30, 60, 90, 70), 18, 18);
    p.setPen(QPen(liga.darker(220), 1.2));
    p.setBrush(Metal(QPointF(30, 60), QPointF(30, 130), liga));
    p.drawPath(corpo);
    p.setBrush(Metal(QPointF(110, 40), QPointF(170, 120), QColor(90, 90, 95)));
    p.drawEllipse(QPointF(135, 82), 32, 40);
    p.setBrush(QColor(200, 200, 205));
    p.drawEllipse(QPointF(135, 82), 9, 11);
    p.setBrush(QColor(40, 40, 40));
    for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(45 + i * 30, 118), 4, 4);
}

void Amortecedor(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(50, 145, 90, 14));
    p.save();
    p.translate(95, 82);
    p.rotate(static_cast<double>(r.Entre(-35, -20)));
    const QColor cor = Tom(r, QColor(200, 30, 30));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(Metal(QPointF(-5, 0), QPointF(5, 0), QColor(200, 200, 205)));
    p.drawRect(QRectF(-4, -72, 8, 50));
    p.setBrush(Metal(QPointF(-14, 0), QPointF(14, 0), cor));
    p.drawRoundedRect(QRectF(-14, -24, 28, 88), 5, 5);
    p.setBrush(QColor(60, 60, 60));
    p.drawEllipse(QPointF(0, -74), 9, 9);
    p.drawEllipse(QPointF(0, 70), 9, 9);
    p.restore();
}

void Junta(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(25, 128, 140, 22));
    QPainterPath placa;
    placa.addRoundedRect(QRectF(20, 45, 150, 80), 10, 10);
    QPainterPath furos;
    const int n = static_cast<int>(r.Entre(3, 4));
    for (int i = 0; i < n; ++i) furos.addEllipse(QPointF(45 + i * (100.0 / (n - 1)), 85), 15, 15);
    for (int i = 0; i < 5; ++i) furos.addEllipse(QPointF(30 + i * 32.5, 52), 3, 3);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Metal(QPointF(20, 45), QPointF(170, 125), Tom(r, QColor(160, 150, 130))));
    p.drawPath(placa.subtracted(furos));
}

void Rolamento(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(35, 132, 120, 22));
    const QPointF c(95, 82);
    p.setPen(QPen(QColor(40, 40, 45), 1));
    p.setBrush(Metal(QPointF(35, 25), QPointF(155, 140), Tom(r, QColor(175, 178, 185))));
    p.drawEllipse(c, 58, 56);
    p.setBrush(QColor(70, 70, 75));
    p.drawEllipse(c, 46, 44);
    p.setBrush(Metal(QPointF(60, 50), QPointF(130, 115), QColor(200, 200, 205)));
    for (int i = 0; i < 11; ++i) {
        const double a = i * 2 * M_PI / 11;
        p.drawEllipse(QPointF(c.x() + 40 * std::cos(a), c.y() + 38 * std::sin(a)), 6, 6);
    }
    p.setBrush(Metal(QPointF(60, 50), QPointF(130, 115), QColor(165, 165, 172)));
    p.drawEllipse(c, 33, 31);
    p.setBrush(QColor(245, 245, 245));
    p.drawEllipse(c, 22, 21);
}

void Correia(QPainter& p, Aleatorio& r, int w, int h)
{
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.setBrush(Tom(r, QColor(35, 35, 38)));
    p.drawRoundedRect(QRectF(8, h * 0.25, w - 16, h * 0.5), h * 0.25, h * 0.25);
    p.setPen(QPen(QColor(80, 80, 85), 1));
    for (int x = 20; x < w - 20; x += 6) p.drawLine(QPointF(x, h * 0.3), QPointF(x, h * 0.7));
    p.setPen(QPen(QColor(240, 240, 240), 1));
    p.drawLine(QPointF(30, h * 0.5), QPointF(90, h * 0.5));
}

void Vela(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(60, 148, 80, 12));
    p.save();
    p.translate(95, 85);
    p.rotate(static_cast<double>(r.Entre(-70, -55)));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(Metal(QPointF(0, -10), QPointF(0, 10), QColor(235, 235, 230)));
    p.drawRoundedRect(QRectF(-70, -9, 60, 18), 6, 6);
    p.setBrush(Metal(QPointF(0, -14), QPointF(0, 14), QColor(170, 170, 175)));
    p.drawRect(QRectF(-12, -14, 24, 28));
    p.setBrush(Metal(QPointF(0, -8), QPointF(0, 8), Tom(r, QColor(190, 160, 70))));
    p.drawRect(QRectF(12, -8, 40, 16));
    p.setPen(QPen(QColor(80, 80, 80), 1));
    for (int x = 16; x < 50; x += 4) p.drawLine(QPointF(x, -8), QPointF(x + 2, 8));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(52, 0), QPointF(62, 0));
    p.restore();
}

void Embreagem(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(25, 132, 140, 24));
    const QPointF c(95, 82);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Metal(QPointF(30, 20), QPointF(160, 145), Tom(r, QColor(150, 150, 155))));
    p.drawEllipse(c, 64, 60);
    p.setBrush(QColor(85, 70, 60));
    p.drawEllipse(c, 52, 49);
    p.setBrush(Metal(QPointF(60, 50), QPointF(130, 115), QColor(185, 185, 190)));
    QPainterPath mola;
    for (int i = 0; i < 12; ++i) {
        const double a = i * 2 * M_PI / 12;
        mola.addEllipse(QPointF(c.x() + 32 * std::cos(a), c.y() + 30 * std::sin(a)), 7, 4);
    }
    p.drawPath(mola);
    p.drawEllipse(c, 16, 15);
    p.setBrush(QColor(50, 50, 50));
    p.drawEllipse(c, 7, 7);
}

void Terminal(QPainter& p, Aleatorio& r)
{
    Sombra(p, QRectF(20, 125, 150, 20));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(Metal(QPointF(0, 80), QPointF(0, 95), Tom(r, QColor(120, 120, 125))));
    p.drawRect(QRectF(20, 80, 110, 14));
    p.setBrush(Metal(QPointF(120, 60), QPointF(170, 115), QColor(95, 95, 100)));
    p.drawEllipse(QPointF(145, 87), 24, 22);
    p.setBrush(QColor(30, 30, 30));
    p.drawRoundedRect(QRectF(134, 52, 22, 16), 4, 4);
    p.setBrush(Metal(QPointF(0, 40), QPointF(0, 60), QColor(200, 180, 90)));
    p.drawRect(QRectF(140, 36, 10, 18));
}

}  // namespace

void GravaFotos(const Catalogo& c, const std::string& pasta)
{
    for (const FotoProduto& f : c.fotos) {
        if (!f.gravar) continue;
        QImage img(f.largura, f.altura, QImage::Format_ARGB32_Premultiplied);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        Fundo(p, f.largura, f.altura);
        Aleatorio r(f.semente);
        if (f.altura < 100) {
            Correia(p, r, f.largura, f.altura);
        } else {
            // Photos of other sizes keep the part's proportions, centred.
            p.translate((f.largura - 190) / 2.0, (f.altura - 165) / 2.0);
            switch (f.grupo) {
            case 1: Pastilha(p, r); break;
            case 2: Disco(p, r); break;
            case 3: Filtro(p, r); break;
            case 4: Bomba(p, r); break;
            case 5: Amortecedor(p, r); break;
            case 6: Junta(p, r); break;
            case 7: Rolamento(p, r); break;
            case 9: Vela(p, r); break;
            case 10: Embreagem(p, r); break;
            case 11: Terminal(p, r); break;
            default: Junta(p, r); break;
            }
        }
        p.end();
        SalvaImagem(img, pasta + f.arquivo);
    }
}

}  // namespace demo
