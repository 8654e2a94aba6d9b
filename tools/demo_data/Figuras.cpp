// Figure pages: exploded line drawings. The parts of a page stand apart on one or two
// dash-dotted axes; a leader line runs from each part to its item's balloon, which sits
// where the figure screen puts the item's marker (PosicaoLeft, PosicaoTop).
#include "tools/demo_data/Catalogo.h"
#include "tools/demo_data/Imagem.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace demo {

namespace {

constexpr int kLargura = 565;
constexpr int kAltura = 390;

// The marker's centre: the screen's 23-pixel ball starts 5 pixels above the item's label.
QPointF CentroMarcador(const ItemFigura& it) { return QPointF(it.esquerda + 12, it.topo + 7); }

// One part, centred at (cx, eixo), reaching at most meia pixels above and below the axis
// and at most largura across; returns how far it reaches. The pen and a white fill are set
// by the caller.
double DesenhaPeca(QPainter& p, int forma, double cx, double eixo, double meia, double largura)
{
    const double w = std::max(8.0, largura);
    const double h = meia;
    switch (forma) {
    case 0: {   // a disc seen edge-on at an angle
        p.drawEllipse(QPointF(cx, eixo), w * 0.22, h);
        p.drawEllipse(QPointF(cx, eixo), w * 0.10, h * 0.35);
        p.drawLine(QPointF(cx, eixo - h), QPointF(cx + w * 0.18, eixo - h));
        p.drawLine(QPointF(cx, eixo + h), QPointF(cx + w * 0.18, eixo + h));
        return h;
    }
    case 1: {   // a sleeve
        const QRectF r(cx - w * 0.35, eixo - h * 0.6, w * 0.7, h * 1.2);
        p.drawRect(r);
        p.drawEllipse(QRectF(r.left() - 5, r.top(), 10, r.height()));
        p.drawArc(QRectF(r.right() - 5, r.top(), 10, r.height()), -90 * 16, 180 * 16);
        return h * 0.6;
    }
    case 2: {   // a bolt: hexagonal head and threaded shank
        const double hw = w * 0.18;
        p.drawRect(QRectF(cx - w * 0.4, eixo - h * 0.45, hw, h * 0.9));
        p.drawLine(QPointF(cx - w * 0.4, eixo - h * 0.15), QPointF(cx - w * 0.4 + hw, eixo - h * 0.15));
        p.drawLine(QPointF(cx - w * 0.4, eixo + h * 0.15), QPointF(cx - w * 0.4 + hw, eixo + h * 0.15));
        const QRectF haste(cx - w * 0.4 + hw, eixo - h * 0.2, w * 0.62, h * 0.4);
        p.drawRect(haste);
        for (double x = haste.left() + haste.width() * 0.4; x < haste.right() - 2; x += 3)
            p.drawLine(QPointF(x, haste.top()), QPointF(x + 2, haste.bottom()));
        return h * 0.2;   // the shank is what stands at the centre
    }
    case 3: {   // a coil spring
        QPainterPath mola;
        const int voltas = 7;
        const double x0 = cx - w * 0.4, passo = w * 0.8 / voltas;
        mola.moveTo(x0, eixo);
        for (int i = 0; i < voltas; ++i) {
            mola.lineTo(x0 + passo * (i + 0.25), eixo - h * 0.7);
            mola.lineTo(x0 + passo * (i + 0.75), eixo + h * 0.7);
        }
        mola.lineTo(x0 + passo * voltas, eixo);
        p.setBrush(Qt::NoBrush);
        p.drawPath(mola);
        p.setBrush(Qt::white);
        return h * 0.7;
    }
    case 4: {   // a gear seen from the front
        QPainterPath engrenagem;
        const int dentes = 14;
        const double ro = std::min(h, w * 0.45), ri = ro * 0.82;
        for (int i = 0; i <= dentes * 2; ++i) {
            const double a = i * M_PI / dentes;
            const double rr = i % 2 ? ri : ro;
            const QPointF q(cx + rr * std::cos(a), eixo + rr * std::sin(a));
            if (i == 0) engrenagem.moveTo(q); else engrenagem.lineTo(q);
        }
        engrenagem.closeSubpath();
        p.drawPath(engrenagem);
        p.drawEllipse(QPointF(cx, eixo), ro * 0.3, ro * 0.3);
        return ro;
    }
    case 5: {   // a ball bearing
        const double ro = std::min(h, w * 0.45);
        p.drawEllipse(QPointF(cx, eixo), ro, ro);
        p.drawEllipse(QPointF(cx, eixo), ro * 0.45, ro * 0.45);
        for (int i = 0; i < 9; ++i) {
            const double a = i * 2 * M_PI / 9;
            p.drawEllipse(QPointF(cx + ro * 0.72 * std::cos(a), eixo + ro * 0.72 * std::sin(a)), ro * 0.14, ro * 0.14);
        }
        return ro;
    }
    case 6: {   // a housing with bolt holes
        const QRectF r(cx - w * 0.42, eixo - h, w * 0.84, h * 2);
        p.drawRoundedRect(r, 6, 6);
        p.drawRect(r.adjusted(w * 0.12, h * 0.4, -w * 0.12, -h * 0.4));
        for (const QPointF& q : {r.topLeft() + QPointF(6, 6), r.topRight() + QPointF(-6, 6),
                                 r.bottomLeft() + QPointF(6, -6), r.bottomRight() + QPointF(-6, -6)})
            p.drawEllipse(q, 2.5, 2.5);
        return h;
    }
    case 7: {   // a gasket: a flat outline with holes
        const QRectF r(cx - w * 0.12, eixo - h, w * 0.24, h * 2);
        p.drawRoundedRect(r, 4, 4);
        p.drawEllipse(QPointF(cx, eixo), w * 0.06, h * 0.4);
        p.drawEllipse(QPointF(cx, eixo - h * 0.78), 2, 2);
        p.drawEllipse(QPointF(cx, eixo + h * 0.78), 2, 2);
        return h;
    }
    case 8: {   // a washer
        p.drawEllipse(QPointF(cx, eixo), w * 0.12, h * 0.5);
        p.drawEllipse(QPointF(cx, eixo), w * 0.05, h * 0.22);
        return h * 0.5;
    }
    default: {   // a nut seen from the front
        QPolygonF hexagono;
        const double ro = std::min(h, w * 0.42);
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3 + M_PI / 6;
            hexagono << QPointF(cx + ro * std::cos(a), eixo + ro * std::sin(a));
        }
        p.drawPolygon(hexagono);
        p.drawEllipse(QPointF(cx, eixo), ro * 0.5, ro * 0.5);
        return ro;
    }
    }
}

}  // namespace

void GravaFiguras(const Catalogo& c, const std::string& pasta)
{
    for (const PaginaFigura& pg : c.paginas) {
        if (!pg.gravar) continue;
        QImage img(kLargura, kAltura, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const QPen traco(QColor(20, 20, 20), 1.3);
        const QPen eixo(QColor(110, 110, 110), 0.8, Qt::DashDotLine);
        const QPen lider(QColor(20, 20, 20), 0.8);

        // Frame of the drawing.
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.drawRect(QRectF(1.5, 1.5, kLargura - 3, kAltura - 3));

        // The axes, dash-dotted, behind the parts.
        p.setPen(eixo);
        std::vector<int> eixos;
        for (const ItemFigura& it : pg.itens)
            if (std::find(eixos.begin(), eixos.end(), it.eixoY) == eixos.end()) eixos.push_back(it.eixoY);
        for (int y : eixos) p.drawLine(QPointF(14, y), QPointF(kLargura - 14, y));
        for (const ItemFigura& it : pg.itens) {
            const double meia = std::abs(it.ancoraY - it.eixoY);
            p.setPen(traco);
            p.setBrush(Qt::white);
            const double alcance = DesenhaPeca(p, it.forma, it.ancoraX, it.eixoY, meia, it.faixa - 6);
            // Leader line from the part's outline to the balloon's rim, and the balloon itself.
            const double lado = it.ancoraY < it.eixoY ? -1.0 : 1.0;
            const QPointF a(it.ancoraX, it.eixoY + lado * alcance), m = CentroMarcador(it);
            const double dx = a.x() - m.x(), dy = a.y() - m.y();
            const double d = std::max(1.0, std::hypot(dx, dy));
            p.setPen(lider);
            p.drawLine(QPointF(m.x() + dx * 12.5 / d, m.y() + dy * 12.5 / d), a);
            p.setBrush(QColor(20, 20, 20));
            p.drawEllipse(a, 1.6, 1.6);
            p.setBrush(Qt::white);
            p.drawEllipse(m, 12.5, 12.5);
        }
        p.end();
        SalvaImagem(img, pasta + pg.arquivo);
    }
}

}  // namespace demo
