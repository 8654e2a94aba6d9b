#include "tools/pictures/Inventario.h"

#include "catalog/startup/frmApresentacao_regiao.h"
#include "common/modTraducao.h"
#include "tools/pictures/Desenho.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace desenho;

namespace {

QString Mensagem(int numero, const std::string& idioma) {
    return QString::fromStdString(Traduz(numero, idioma));
}

// ================================= Tabs ===================================================

enum class Aspecto { Normal, Ativo, Realce };   // suffix "", "2", "_S"

constexpr int AlturaAba = 27;
constexpr int TopoLegendaAba = 7;   // the strip paints the caption at y 7

// The colour of row y of a tab face. Captions repeat the rows they cover, so a caption is
// indistinguishable from the face around it.
QColor CorFaceAba(Aspecto a, int y) {
    switch (a) {
    case Aspecto::Ativo:
        if (y >= 1 && y <= 3) return Vermelho;
        return Branco;
    case Aspecto::Realce:
        if (y >= 1 && y <= 2) return VermelhoClaro;
        return Mistura(Branco, QColor(0xEE, 0xEE, 0xEE), std::clamp((y - 3) / 23.0, 0.0, 1.0));
    case Aspecto::Normal:
        break;
    }
    return Mistura(QColor(0xF2, 0xF2, 0xF2), QColor(0xD6, 0xD6, 0xD6),
                   std::clamp(y / 26.0, 0.0, 1.0));
}

QColor CorBordaAba(Aspecto a) {
    switch (a) {
    case Aspecto::Ativo: return Vermelho;
    case Aspecto::Realce: return Cinza3;
    case Aspecto::Normal: break;
    }
    return Cinza4;
}

QPainterPath ContornoAba(int w) {
    const double s = 13;
    QPainterPath c;
    c.moveTo(0.5, AlturaAba + 1);
    c.lineTo(s - 3.0, 4.0);
    c.quadTo(s - 1.5, 0.5, s + 2.5, 0.5);
    c.lineTo(w - s - 2.5, 0.5);
    c.quadTo(w - s + 1.5, 0.5, w - s + 3.0, 4.0);
    c.lineTo(w - 0.5, AlturaAba + 1);
    c.closeSubpath();
    return c;
}

// A tab shape: face and edge over the strip's dark back where the edge is antialiased, and
// the key colour wherever the shape does not reach, so the strip copy leaves exactly that out.
QImage FormaAba(int w, Aspecto a) {
    const QPainterPath contorno = ContornoAba(w);
    QImage linhas(w, AlturaAba, QImage::Format_RGB32);
    for (int y = 0; y < AlturaAba; ++y)
        for (int x = 0; x < w; ++x) linhas.setPixelColor(x, y, CorFaceAba(a, y));

    QImage face = Imagem(w, AlturaAba, Escuro);
    {
        QPainter p(&face);
        PreparaPintor(p);
        p.setPen(QPen(CorBordaAba(a), 1.0));
        p.setBrush(QBrush(linhas));
        p.drawPath(contorno);
    }
    QImage cobertura = ImagemTransparente(w, AlturaAba);
    {
        QPainter p(&cobertura);
        PreparaPintor(p);
        p.setPen(QPen(Preto, 1.0));
        p.setBrush(Preto);
        p.drawPath(contorno);
    }
    QImage img = Imagem(w, AlturaAba, CorChave);
    for (int y = 0; y < AlturaAba; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(cobertura.pixel(x, y)) != 0) img.setPixel(x, y, face.pixel(x, y));
    return img;
}

QImage LegendaAba(int w, int h, Aspecto a, const QString& texto) {
    QImage img = Imagem(w, h, Branco);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixelColor(x, y, CorFaceAba(a, y + TopoLegendaAba));
    QPainter p(&img);
    PreparaPintor(p);
    const QColor cor = a == Aspecto::Realce ? Vermelho : Preto;
    const QFont f = FonteQueCabe(Familia::Arial, 12, 9, a == Aspecto::Ativo, texto, w - 4);
    // Centred on 18 rows even in the 16-row caption, so every caption's text sits alike.
    TextoCentrado(p, QRectF(0, 0, w, 18), texto, f, cor);
    return img;
}

// ================================ Grid icons ==============================================

enum class Estado { Linha, LinhaRealce, Barra, BarraRealce };   // "1", "1_S", "2", "2_S"

constexpr double TracoIcone = 2.0;   // the one stroke weight of every icon

QColor CorIcone(Estado e) {
    switch (e) {
    case Estado::Linha: return Escuro;
    case Estado::LinhaRealce: return Vermelho;
    case Estado::Barra: return Branco;
    case Estado::BarraRealce: return Vermelho;
    }
    return Escuro;
}

// The hovered picture on the red selection bar stands on a white plate.
void PlacaIcone(QPainter& p, int w, int h, Estado e) {
    if (e == Estado::BarraRealce) {
        p.setPen(Qt::NoPen);
        p.setBrush(Branco);
        p.drawRoundedRect(QRectF(0, 0, w, h), 3, 3);
    } else if (e == Estado::LinhaRealce) {
        p.setPen(QPen(Mistura(Vermelho, Branco, 0.55), 1));
        p.setBrush(Mistura(Vermelho, Branco, 0.9));
        p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
    }
}

using Pictograma = void (*)(QPainter&, const QRectF&, const QColor&, double);

QImage IconeGrade(int w, int h, Estado e, Pictograma desenhaPictograma, double margem) {
    QImage img = ImagemTransparente(w, h);
    QPainter p(&img);
    PreparaPintor(p);
    PlacaIcone(p, w, h, e);
    desenhaPictograma(p, QRectF(margem, 1, w - 2 * margem, h - 2), CorIcone(e), TracoIcone);
    return img;
}

QImage IconeObservacao(Estado e, const std::string& idioma) {
    const int w = 32, h = 14;
    QImage img = ImagemTransparente(w, h);
    QPainter p(&img);
    PreparaPintor(p);
    const QString texto = Mensagem(44, idioma);
    QColor cor = Cinza4;
    if (e == Estado::LinhaRealce) cor = Vermelho;
    if (e == Estado::Barra) cor = Branco;
    if (e == Estado::BarraRealce) {
        p.setPen(Qt::NoPen);
        p.setBrush(Branco);
        p.drawRoundedRect(QRectF(1, 0, w - 2, h), 3, 3);
        cor = Vermelho;
    } else {
        p.setPen(QPen(cor, 1));
        p.setBrush(e == Estado::LinhaRealce ? Mistura(Vermelho, Branco, 0.9) : QColor(Qt::transparent));
        p.drawRoundedRect(QRectF(1.5, 0.5, w - 3, h - 1), 3, 3);
    }
    TextoCentrado(p, QRectF(1, 0, w - 2, h),
                  texto, FonteQueCabe(Familia::Arial, 10, 8, true, texto, w - 6), cor);
    return img;
}

QImage MarcaLancamento(int w, int h, const QColor& cor) {
    QImage img = ImagemTransparente(w, h);
    QPainter p(&img);
    PreparaPintor(p);
    Estrela(p, QPointF(w / 2.0, h / 2.0 + 0.5), std::min(w, h) / 2.0 - 0.5, cor);
    return img;
}

// ================================ Figure balls ============================================

QImage Bola(const QColor& face, const QColor& aro, double largAro) {
    QImage img = ImagemTransparente(23, 23);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(Qt::NoPen);
    p.setBrush(aro);
    p.drawEllipse(QPointF(11.5, 11.5), 11.0, 11.0);
    p.setBrush(face);
    p.drawEllipse(QPointF(11.5, 11.5), 11.0 - largAro, 11.0 - largAro);
    return img;
}

// The release ball is placed 1 px left and 2 px higher than the others, so 25 x 27 centres it
// on the same number label; it is white for the black number and carries the release star.
QImage BolaLancamento() {
    QImage img = ImagemTransparente(25, 27);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Vermelho);
    p.drawEllipse(QPointF(12.5, 13.5), 12.0, 12.0);
    p.setBrush(Branco);
    p.drawEllipse(QPointF(12.5, 13.5), 9.6, 9.6);
    p.setBrush(Branco);
    p.drawEllipse(QPointF(20.0, 5.0), 5.0, 5.0);
    Estrela(p, QPointF(20.0, 5.3), 4.2, Vermelho);
    return img;
}

// =============================== Titles and legends =======================================

QImage Titulo(const QString& texto, bool carrinho) {
    QImage img = Imagem(154, 17, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.fillRect(QRect(0, 2, 4, 13), Vermelho);
    if (carrinho) {
        Carrinho(p, QRectF(10, 1, 22, 15), Escuro, 1.8);
        return img;
    }
    const QFont f = FonteQueCabe(Familia::Arial, 13, 10, true, texto, 154 - 12);
    TextoEsquerda(p, QRectF(10, 0, 144, 17), texto, f, Escuro);
    return img;
}

// Main window footer: a light bar with a hairline above and below. The pictures that lie on
// it repeat its rows.
QColor CorRodape(int y, int altura) {
    if (y == 0 || y == altura - 1) return Cinza3;
    return Cinza1;
}

QImage Rodape(int w, int h, bool pontasRedondas = false) {
    QImage img = Imagem(w, h, Cinza1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixelColor(x, y, CorRodape(y, h));
    if (pontasRedondas) {
        // The two pieces of the main window's footer end round on the white panel.
        img.fill(Branco);
        QPainter p(&img);
        PreparaPintor(p);
        p.setPen(QPen(Cinza3, 1));
        p.setBrush(Cinza1);
        p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    }
    return img;
}

QImage LegendaLancamento(const std::string& idioma) {
    QImage img = Imagem(97, 18, Branco);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 97; ++x) img.setPixelColor(x, y, CorRodape(y, 17));
    QPainter p(&img);
    PreparaPintor(p);
    Estrela(p, QPointF(9, 8.5), 6.2, Vermelho);
    const QString texto = Mensagem(91, idioma);
    TextoEsquerda(p, QRectF(19, 0, 78, 17), texto, FonteQueCabe(Familia::Arial, 11, 8, false, texto, 76),
                  Preto);
    return img;
}

QImage LigaGrades(const std::string& idioma) {
    const int w = 207, h = 84;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    QPen pen(Vermelho, 2);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath linha;
    linha.moveTo(24, 0);
    linha.lineTo(24, 58);
    linha.quadTo(24, 72, 38, 72);
    linha.lineTo(w - 9, 72);
    p.drawPath(linha);
    QPainterPath ponta;
    ponta.moveTo(w - 1, 72);
    ponta.lineTo(w - 11, 66);
    ponta.lineTo(w - 11, 78);
    ponta.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Vermelho);
    p.drawPath(ponta);
    p.drawEllipse(QPointF(24, 3), 4, 4);
    Veiculo(p, QRectF(40, 46, 26, 16), Escuro, 1.6);
    const QString texto = Mensagem(27, idioma);
    TextoEsquerda(p, QRectF(72, 45, w - 80, 18), texto,
                  FonteQueCabe(Familia::Arial, 13, 9, true, texto, w - 84), Escuro);
    return img;
}

QImage CarrinhoTodos(bool realce, const std::string& idioma) {
    const int w = 160, h = 30;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(realce ? Vermelho : Cinza3, 1));
    p.setBrush(realce ? Vermelho : Cinza1);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    const QColor tinta = realce ? Branco : Escuro;
    Carrinho(p, QRectF(6, 6, 24, 17), tinta, 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(realce ? Branco : Vermelho);
    p.drawEllipse(QPointF(29, 8), 5, 5);
    Mais(p, QRectF(26, 5, 6, 6), realce ? Vermelho : Branco, 1.6);
    const QString texto = Mensagem(28, idioma);
    const QFont f = Fonte(Familia::Arial, 10, false);
    p.setFont(f);
    p.setPen(tinta);
    p.drawText(QRectF(38, 2, w - 42, h - 4), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextWordWrap,
               texto);
    return img;
}

// ================================== Scenes ================================================

void Ceu(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Branco);
    g.setColorAt(1, Cinza1);
    p.fillRect(r, g);
}

// One frame of the splash: a factory whose line carries parts to the packing crates.
QImage Fabrica(int quadro) {
    const int w = 572, h = 248;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    Ceu(p, QRectF(0, 0, w, 206));
    // Floor.
    p.fillRect(QRectF(0, 206, w, h - 206), Cinza2);
    p.fillRect(QRectF(0, 206, w, 1), Cinza3);
    for (int x = -40 + (quadro * 6) % 40; x < w; x += 40)
        p.fillRect(QRectF(x, 226, 22, 2), Cinza3);

    // Factory hall with a saw-tooth roof, well left of the logo above.
    const QColor parede = Escuro;
    QPainterPath telhado;
    telhado.moveTo(14, 206);
    telhado.lineTo(14, 110);
    for (int i = 0; i < 4; ++i) {
        const double x = 14 + i * 50;
        telhado.lineTo(x + 36, 82);
        telhado.lineTo(x + 50, 82);
        telhado.lineTo(x + 50, 110);
    }
    telhado.lineTo(214, 206);
    telhado.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(parede);
    p.drawPath(telhado);
    // Roof glazing.
    p.setBrush(EscuroClaro);
    for (int i = 0; i < 4; ++i) {
        QPainterPath vidro;
        const double x = 14 + i * 50;
        vidro.moveTo(x + 38, 86);
        vidro.lineTo(x + 47, 86);
        vidro.lineTo(x + 47, 106);
        vidro.closeSubpath();
        p.drawPath(vidro);
    }
    // Chimney with drifting smoke.
    p.setBrush(parede);
    p.drawRect(QRectF(34, 40, 16, 50));
    p.setBrush(Vermelho);
    p.drawRect(QRectF(34, 48, 16, 5));
    for (int i = 0; i < 5; ++i) {
        const double t = i + quadro / 6.0;
        const double raio = 5 + t * 2.6;
        p.setBrush(Mistura(Cinza3, Branco, std::min(0.9, 0.25 + t * 0.14)));
        p.drawEllipse(QPointF(42 + t * 17, 34 - t * 6), raio, raio * 0.8);
    }
    // Windows, lit.
    for (int fila = 0; fila < 2; ++fila)
        for (int i = 0; i < 6; ++i) {
            p.setBrush(((i + fila + quadro) % 5 == 0) ? Mistura(Vermelho, Branco, 0.35) : Cinza1);
            p.drawRect(QRectF(26 + i * 30, 122 + fila * 26, 18, 14));
        }
    // Gate the line comes out of.
    p.setBrush(EscuroProfundo);
    p.drawRect(QRectF(176, 168, 38, 38));
    p.setBrush(Vermelho);
    p.drawRect(QRectF(14, 110, 200, 4));

    // Conveyor.
    const double yEsteira = 186;
    p.setBrush(EscuroClaro);
    p.drawRoundedRect(QRectF(200, yEsteira, 300, 10), 5, 5);
    for (int i = 0; i < 11; ++i) {
        const QPointF c(208 + i * 28.4, yEsteira + 5);
        p.setBrush(Cinza4);
        p.drawEllipse(c, 4, 4);
        const double a = quadro * 0.9 + i;
        p.setPen(QPen(Cinza2, 1.2));
        p.drawLine(c, QPointF(c.x() + 3 * std::cos(a), c.y() + 3 * std::sin(a)));
        p.setPen(Qt::NoPen);
    }
    for (int i = 0; i < 5; ++i) {
        p.setBrush(Cinza4);
        p.drawRect(QRectF(220 + i * 64, yEsteira + 10, 4, 206 - yEsteira - 10));
    }

    // The parts on the line move 14 px to the right from frame to frame.
    const double passo = 14.0 * (quadro - 1);
    const double base = yEsteira;
    const double x0 = 214 + passo;
    Engrenagem(p, QPointF(x0 + 14, base - 15), 15, 10, Vermelho, Cinza1, passo / 20.0);
    Disco(p, QPointF(x0 + 74, base - 18), 18, Cinza4, Cinza1, passo / 30.0);
    p.setBrush(Vermelho);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(x0 + 84, base - 30, 10, 18), 3, 3);
    Pistao(p, QRectF(x0 + 118, base - 38, 24, 38), Escuro, Cinza1);
    Filtro(p, QRectF(x0 + 166, base - 30, 26, 30), Vermelho, Cinza1);
    if (x0 + 222 < 500) Vela(p, QRectF(x0 + 214, base - 40, 16, 40), Escuro, Cinza1);

    // Packing crates at the end of the line; the top crate fills as the frames run.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 2; ++i) {
        p.setBrush(QColor(0xC8, 0x9A, 0x5C));
        p.drawRect(QRectF(506, 206 - 36 * (i + 1), 60, 34));
        p.setBrush(QColor(0xB0, 0x83, 0x48));
        p.drawRect(QRectF(506, 206 - 36 * (i + 1) + 14, 60, 4));
    }
    for (int i = 0; i < std::min(quadro, 5); ++i) {
        p.setBrush(i % 2 ? Vermelho : Cinza4);
        p.drawEllipse(QPointF(514 + i * 11, 132), 5, 5);
    }
    p.setBrush(Vermelho);
    p.drawRect(QRectF(506, 196, 60, 3));
    // Frame 6: the line has stopped, a check mark over the full crate.
    if (quadro == 6) {
        p.setBrush(Vermelho);
        p.drawEllipse(QPointF(536, 106), 14, 14);
        Visto(p, QRectF(524, 94, 24, 24), Branco, 3);
    }
    return img;
}

// Faint diagonal hairlines and soft light: the background around the design area.
void FundoEscuro(QPainter& p, int w, int h, const QPointF& luz) {
    QRadialGradient g(luz, std::max(w, h) * 0.75);
    g.setColorAt(0, EscuroClaro);
    g.setColorAt(1, EscuroProfundo);
    p.fillRect(QRect(0, 0, w, h), g);
    p.setPen(QPen(QColor(255, 255, 255, 8), 1));
    for (int d = -h; d < w; d += 14) p.drawLine(QPointF(d, h), QPointF(d + h, 0));
}

QImage FundoTela() {
    const int w = 1024, h = 768;
    QImage img = Imagem(w, h, Escuro);
    QPainter p(&img);
    PreparaPintor(p);
    FundoEscuro(p, w, h, QPointF(w / 2.0, h / 2.0));
    // A soft shadow under the 800 x 600 panel (it covers the image from (113, 84)).
    const QRectF painel(113, 84, 800, 600);
    for (int i = 12; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 7));
        p.drawRoundedRect(painel.adjusted(-i, -i + 4, i, i + 4), i, i);
    }
    p.fillRect(QRectF(0, h - 6, w, 6), Vermelho);
    p.fillRect(QRectF(0, h - 8, w, 1), VermelhoEscuro);
    Engrenagem(p, QPointF(60, 700), 90, 14, QColor(255, 255, 255, 10), QColor(0, 0, 0, 0));
    Engrenagem(p, QPointF(980, 80), 70, 12, QColor(255, 255, 255, 10), QColor(0, 0, 0, 0));
    return img;
}

QImage Creditos(int w, int h) {
    QImage img = Imagem(w, h, Escuro);
    QPainter p(&img);
    PreparaPintor(p);
    FundoEscuro(p, w, h, QPointF(w / 2.0, h * 0.42));
    const double cx = w / 2.0, cy = h * 0.42;
    MarcaZornak(p, QRectF(cx - w * 0.3, cy - h * 0.1, w * 0.6, h * 0.15), Branco, Vermelho);
    // A row of parts under the name.
    const double y = cy + h * 0.16, passo = w * 0.09;
    const QColor claro = Mistura(EscuroClaro, Branco, 0.55);
    Engrenagem(p, QPointF(cx - 2 * passo, y), passo * 0.32, 10, claro, EscuroProfundo);
    Disco(p, QPointF(cx - passo, y), passo * 0.34, claro, EscuroProfundo);
    Pistao(p, QRectF(cx - passo * 0.22, y - passo * 0.35, passo * 0.44, passo * 0.7), Vermelho,
           EscuroProfundo);
    Filtro(p, QRectF(cx + passo - passo * 0.25, y - passo * 0.3, passo * 0.5, passo * 0.6), claro,
           EscuroProfundo);
    Vela(p, QRectF(cx + 2 * passo - passo * 0.17, y - passo * 0.45, passo * 0.34, passo * 0.9),
         claro, EscuroProfundo);
    p.fillRect(QRectF(cx - w * 0.2, cy + h * 0.27, w * 0.4, 2), Vermelho);
    return img;
}

QImage FotoFundo(int variante) {
    const int w = 190, h = 165;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, Branco);
    g.setColorAt(1, Cinza1);
    p.fillRect(QRect(0, 0, w, h), g);
    p.setPen(QPen(Cinza2, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    const QPointF c(w / 2.0, h / 2.0 - 6);
    if (variante == 1) {
        Engrenagem(p, c, 40, 12, Cinza2, Cinza1);
        Engrenagem(p, QPointF(c.x() + 44, c.y() + 30), 20, 9, Cinza3, Cinza1, 0.2);
    } else {
        Disco(p, c, 42, Cinza2, Cinza1);
        p.setBrush(Cinza3);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(c.x() + 26, c.y() - 22, 16, 40), 5, 5);
    }
    p.fillRect(QRectF(w / 2.0 - 30, h - 22, 60, 2), Cinza3);
    return img;
}

// ============================ Design-time pictures ========================================

// A rounded plate over the whole of a background: red when lit, else white with a grey edge.
QImage PlacaSobre(QImage img, bool realce) {
    {
        QPainter p(&img);
        PreparaPintor(p);
        p.setPen(QPen(realce ? VermelhoEscuro : Cinza3, 1));
        p.setBrush(realce ? Vermelho : Branco);
        p.drawRoundedRect(QRectF(0.5, 0.5, img.width() - 1, img.height() - 1), 3, 3);
    }
    return img;
}

QImage Placa(int w, int h, bool realce, bool rodape = true) {
    return PlacaSobre(rodape ? Rodape(w, h) : Imagem(w, h, Branco), realce);
}

// The header: its first 11 rows continue the white toolbar band (the flags, the site link,
// the cart and the window buttons reach down to y 28), a red rule, then the dark body the
// logo, the information line and the tabs stand on.
constexpr int FimBandaClara = 11;   // rows 0 to 10 of the header
QImage Cabecalho() {
    const int w = 784, h = 74;
    QImage img = Imagem(w, h, Escuro);
    QPainter p(&img);
    PreparaPintor(p);
    const int topo = FimBandaClara + 2;
    QLinearGradient g(0, topo, 0, h);
    g.setColorAt(0, EscuroClaro);
    g.setColorAt(1, Escuro);
    p.fillRect(QRect(0, topo, w, h - topo), g);
    p.setClipRect(QRect(0, topo, w, h - topo));
    p.setPen(QPen(QColor(255, 255, 255, 7), 1));
    for (int d = -h; d < w; d += 10) p.drawLine(QPointF(d, h), QPointF(d + h, 0));
    Engrenagem(p, QPointF(520, 38), 46, 12, QColor(255, 255, 255, 12), QColor(0, 0, 0, 0), 0.1);
    Engrenagem(p, QPointF(580, 66), 26, 9, QColor(255, 255, 255, 10), QColor(0, 0, 0, 0), 0.3);
    p.setClipping(false);
    p.fillRect(QRect(0, 0, w, FimBandaClara), Branco);
    p.fillRect(QRect(0, FimBandaClara, w, 2), Vermelho);
    // The last rows are the strip's own back, so the tabs hang from the header seamlessly.
    p.fillRect(QRect(0, h - 3, w, 3), Escuro);
    return img;
}

QImage Faixa() {
    QImage img = Imagem(785, 13, Branco);
    QPainter p(&img);
    p.fillRect(QRect(0, 12, 785, 1), Cinza2);
    return img;
}

QImage Bandeira(char idioma, int w) {
    QImage img = Imagem(w, 10, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    if (idioma == 'P') {
        p.fillRect(QRect(0, 0, w, 10), QColor(0x00, 0x97, 0x3A));
        QPainterPath losango;
        losango.moveTo(w / 2.0, 1);
        losango.lineTo(w - 2, 5);
        losango.lineTo(w / 2.0, 9);
        losango.lineTo(2, 5);
        losango.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xFE, 0xDD, 0x00));
        p.drawPath(losango);
        p.setBrush(QColor(0x01, 0x21, 0x69));
        p.drawEllipse(QPointF(w / 2.0, 5), 2.4, 2.4);
    } else if (idioma == 'E') {
        p.fillRect(QRect(0, 0, w, 10), QColor(0xAA, 0x15, 0x1B));
        p.fillRect(QRect(0, 3, w, 4), QColor(0xF1, 0xBF, 0x00));
    } else {
        p.fillRect(QRect(0, 0, w, 10), QColor(0x01, 0x21, 0x69));
        p.setPen(QPen(Branco, 2.4));
        p.drawLine(QPointF(0, 0), QPointF(w, 10));
        p.drawLine(QPointF(0, 10), QPointF(w, 0));
        p.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 0.9));
        p.drawLine(QPointF(0, 0), QPointF(w, 10));
        p.drawLine(QPointF(0, 10), QPointF(w, 0));
        p.fillRect(QRectF(w / 2.0 - 2, 0, 4, 10), Branco);
        p.fillRect(QRectF(0, 3, w, 4), Branco);
        p.fillRect(QRectF(w / 2.0 - 1, 0, 2, 10), QColor(0xC8, 0x10, 0x2E));
        p.fillRect(QRectF(0, 4, w, 2), QColor(0xC8, 0x10, 0x2E));
    }
    p.setPen(QPen(QColor(0, 0, 0, 50), 1));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRect(QRect(0, 0, w - 1, 9));
    return img;
}

QImage MoldeBandeira() {
    QImage img = ImagemTransparente(26, 13);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(Vermelho, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.75, 0.75, 24.5, 11.5), 2.5, 2.5);
    return img;
}

QImage MarcadorIdioma() {
    QImage img = ImagemTransparente(20, 20);
    QPainter p(&img);
    PreparaPintor(p);
    QPainterPath ponta;
    ponta.moveTo(6, 1);
    ponta.lineTo(14, 1);
    ponta.lineTo(10, 7);
    ponta.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Vermelho);
    p.drawPath(ponta);
    return img;
}

QImage Site(bool realce) {
    QImage img = Imagem(104, 11, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    const QString texto = QStringLiteral("www.zornak.com.br");
    const QFont f = FonteQueCabe(Familia::SansSerif, 10, 7, false, texto, 102);
    TextoCentrado(p, QRectF(0, 0, 104, 10), texto, f, realce ? Vermelho : Escuro);
    if (realce) p.fillRect(QRect(4, 10, 96, 1), Vermelho);
    return img;
}

QImage Haste() {
    QImage img = Imagem(4, 12, Branco);
    QPainter p(&img);
    p.fillRect(QRect(1, 0, 1, 12), Cinza3);
    return img;
}

QImage BotaoRedondo(int w, int h, bool realce, int simbolo) {
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(realce ? VermelhoEscuro : Cinza3, 1));
    p.setBrush(realce ? Vermelho : Cinza1);
    p.drawEllipse(QRectF(0.5, 0.5, w - 1, h - 1));
    const QColor tinta = realce ? Branco : Escuro;
    const QRectF dentro(4, 4, w - 8, h - 8);
    if (simbolo == 0) Interrogacao(p, dentro, tinta, 1.8);
    if (simbolo == 1) Traco(p, dentro, tinta, 2.0);
    return img;
}

QImage CarrinhoTopo(bool realce) {
    QImage img = Imagem(22, 21, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    if (realce) {
        p.setPen(Qt::NoPen);
        p.setBrush(Mistura(Vermelho, Branco, 0.88));
        p.drawRoundedRect(QRectF(0, 0, 22, 21), 4, 4);
    }
    Carrinho(p, QRectF(1, 3, 20, 15), realce ? Vermelho : Escuro, 1.7);
    return img;
}

// Hover plate behind a caption on the dark header, at (x, y) of the design area.
QImage PlacaCabecalho(int x, int y, int w, int h) {
    QImage img = Cabecalho().copy(x, y - 18, w, h);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(Qt::NoPen);
    p.setBrush(EscuroClaro);
    p.drawRoundedRect(QRectF(0, 0, w, h), 3, 3);
    p.fillRect(QRectF(4, h - 2, w - 8, 2), Vermelho);
    return img;
}

QImage PainelInicio() {
    const int w = 800, h = 445;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, Branco);
    g.setColorAt(1, QColor(0xF7, 0xF7, 0xF7));
    p.fillRect(QRect(0, 0, w, h), g);
    Engrenagem(p, QPointF(770, 420), 60, 12, QColor(0, 0, 0, 6), QColor(0, 0, 0, 0));
    return img;
}

QImage Aviso() {
    const int w = 678, h = 95;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(Vermelho, 1));
    p.setBrush(Mistura(Vermelho, Branco, 0.94));
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 6, 6);
    p.fillRect(QRect(1, 1, 8, h - 2), Vermelho);
    // Close area at (628, 5) 50 x 22.
    p.setPen(Qt::NoPen);
    p.setBrush(Branco);
    p.drawRoundedRect(QRectF(630, 6, 44, 19), 4, 4);
    Xis(p, QRectF(645, 9, 13, 13), Vermelho, 2);
    // Link area 0 at (251, 11) 179 x 45: the contact button.
    p.setBrush(Vermelho);
    p.drawRoundedRect(QRectF(253, 13, 175, 22), 5, 5);
    TextoCentrado(p, QRectF(253, 13, 175, 22), QStringLiteral("Fale com a ZORNAK"),
                  Fonte(Familia::Arial, 13, true), Branco);
    // Link area 1 at (61, 38) 553 x 49: the line of text under it.
    TextoCentrado(p, QRectF(61, 50, 553, 18),
                  QStringLiteral("Novos produtos, lançamentos e representantes: conheça a linha completa"),
                  Fonte(Familia::Arial, 13, false), Escuro);
    TextoCentrado(p, QRectF(61, 68, 553, 16), QStringLiteral("www.zornak.com.br"),
                  Fonte(Familia::Arial, 12, true), Vermelho);
    Estrela(p, QPointF(36, 47), 14, Vermelho);
    return img;
}

QImage BarraTitulo() {
    const int w = 773, h = 19;
    QImage img = Imagem(w, h, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, Cinza1);
    g.setColorAt(1, Cinza2);
    p.setPen(QPen(Cinza3, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 3, 3);
    p.fillRect(QRect(1, 1, 4, h - 2), Vermelho);
    return img;
}

QImage CursorLink() {
    // A pointing hand; its hot spot is the tip of the finger at (10, 1).
    QImage img = ImagemTransparente(32, 32);
    QPainter p(&img);
    PreparaPintor(p);
    QPainterPath mao;
    mao.moveTo(9, 2);
    mao.quadTo(10, 0.5, 11.5, 2);
    mao.lineTo(11.5, 11);
    mao.lineTo(13, 10);
    mao.quadTo(14.5, 9.5, 15, 11);
    mao.lineTo(16.5, 10.5);
    mao.quadTo(18, 10.5, 18.5, 12);
    mao.lineTo(20, 12);
    mao.quadTo(21.5, 12.5, 21.5, 14);
    mao.lineTo(21.5, 20);
    mao.quadTo(21, 24, 18.5, 26);
    mao.lineTo(11, 26);
    mao.quadTo(9, 23, 5, 17.5);
    mao.quadTo(4.5, 15.5, 6.5, 15.5);
    mao.lineTo(9, 18);
    mao.closeSubpath();
    p.setPen(QPen(Preto, 1.2));
    p.setBrush(Branco);
    p.drawPath(mao);
    p.setPen(QPen(Preto, 0.9));
    p.drawLine(QPointF(15, 11.5), QPointF(15, 16));
    p.drawLine(QPointF(18.5, 12.5), QPointF(18.5, 16.5));
    return img;
}

QImage FundoJanelaAuxiliar() {
    const int w = 641, h = 406;
    // The window's own outline (a tab across the top right over the body).
    const QRegion contorno = CriaRegiaoJanela();
    auto dentro = [&](int x, int y) { return contorno.contains(QPoint(x, y)); };
    QImage img = Imagem(w, h, Escuro);
    QPainter p(&img);
    PreparaPintor(p);
    // Body white, the tab across the top right dark with the word mark.
    p.fillRect(QRect(0, 0, w, h), Branco);
    p.fillRect(QRect(468, 0, w - 468, 11), Escuro);
    {
        QFont f = Fonte(Familia::Arial, 9, true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
        TextoCentrado(p, QRectF(476, 1, 163, 10), QStringLiteral("ZORNAK"), f, Branco);
    }
    p.fillRect(QRect(0, 11, w, 3), Vermelho);
    // A hairline between the title and subtitle and the screens (which start at y 84).
    p.fillRect(QRect(13, 80, 589, 1), Cinza2);
    // Footer band behind the buttons (y 363).
    p.fillRect(QRect(0, 356, w, h - 356), Cinza1);
    p.fillRect(QRect(0, 356, w, 1), Cinza3);
    p.end();
    // Outside the outline nothing shows; keep it the header colour, and draw a 1 px edge
    // along the outline inside it.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!dentro(x, y)) {
                img.setPixelColor(x, y, Escuro);
            } else if (!dentro(x - 1, y) || !dentro(x + 1, y) || !dentro(x, y - 1) ||
                       !dentro(x, y + 1)) {
                img.setPixelColor(x, y, Cinza4);
            }
        }
    return img;
}

QImage RodapeAuxiliar(int w, int h) {
    QImage img = Imagem(w, h, Cinza1);
    QPainter p(&img);
    p.fillRect(QRect(0, h - 1, w, 1), Cinza3);
    return img;
}

QImage PlacaAuxiliar(int w, int h, bool realce) { return PlacaSobre(Imagem(w, h, Cinza1), realce); }

QImage MolduraBarra() {
    QImage img = Imagem(385, 23, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(Cinza3, 1));
    p.setBrush(Cinza1);
    p.drawRoundedRect(QRectF(0.5, 0.5, 384, 22), 4, 4);
    return img;
}

QImage BarraProgresso() {
    QImage img = Imagem(379, 17, Vermelho);
    QPainter p(&img);
    PreparaPintor(p);
    QLinearGradient g(0, 0, 0, 17);
    g.setColorAt(0, VermelhoClaro);
    g.setColorAt(1, VermelhoEscuro);
    p.fillRect(QRect(0, 0, 379, 17), g);
    p.setPen(QPen(QColor(255, 255, 255, 28), 5));
    for (int x = -17; x < 379; x += 14) p.drawLine(QPointF(x, 17), QPointF(x + 17, 0));
    return img;
}

QImage MarcaPasso(bool concluido) {
    QImage img = ImagemTransparente(16, 16);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(Qt::NoPen);
    if (concluido) {
        p.setBrush(Escuro);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        Visto(p, QRectF(2, 2, 12, 12), Branco, 2);
    } else {
        QPainterPath ponta;
        ponta.moveTo(3, 2);
        ponta.lineTo(14, 8);
        ponta.lineTo(3, 14);
        ponta.closeSubpath();
        p.setBrush(Vermelho);
        p.drawPath(ponta);
    }
    return img;
}

QImage Chave(bool ligada) {
    QImage img = Imagem(18, 17, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(QPen(ligada ? VermelhoEscuro : Cinza4, 1));
    p.setBrush(ligada ? Vermelho : Branco);
    p.drawRoundedRect(QRectF(1.5, 1.5, 15, 14), 3, 3);
    if (ligada) Visto(p, QRectF(3, 3, 12, 11), Branco, 2);
    return img;
}

QImage LogoApresentacao() {
    QImage img = Imagem(164, 50, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    MarcaZornak(p, QRectF(4, 4, 156, 40), Vermelho, Escuro);
    return img;
}

QImage TituloApresentacao() {
    QImage img = Imagem(400, 19, Branco);
    QPainter p(&img);
    PreparaPintor(p);
    p.fillRect(QRect(0, 3, 4, 13), Vermelho);
    TextoEsquerda(p, QRectF(10, 0, 390, 19), Mensagem(0, "P"), Fonte(Familia::Arial, 15, true),
                  Escuro);
    return img;
}

// A red ribbon that hangs from the header's rule (it is placed at (624, 25), the rule at
// y 29) with three parts in white; around it the header itself shows.
QImage LogoPequeno() {
    QImage img = Cabecalho().copy(624, 25 - 18, 55, 13);
    QPainter p(&img);
    PreparaPintor(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Vermelho);
    QPainterPath fita;
    fita.moveTo(0, 0);
    fita.lineTo(55, 0);
    fita.lineTo(55, 9);
    fita.quadTo(55, 11, 53, 11);
    fita.lineTo(2, 11);
    fita.quadTo(0, 11, 0, 9);
    fita.closeSubpath();
    p.drawPath(fita);
    Engrenagem(p, QPointF(10, 5.5), 4.6, 8, Branco, Vermelho);
    Disco(p, QPointF(27.5, 5.5), 4.6, Branco, Vermelho);
    Estrela(p, QPointF(45, 5.8), 4.8, Branco);
    return img;
}

QImage LogoGrande() {
    QImage img = Cabecalho().copy(624, 36 - 18, 158, 42);
    QPainter p(&img);
    PreparaPintor(p);
    MarcaZornak(p, QRectF(0, 2, 158, 38), Branco, Vermelho);
    return img;
}

QImage SetaCombo(bool fundoBranco, bool realce) {
    const QColor fundo = fundoBranco ? Branco : Cinza1;
    QImage img = Imagem(17, 11, fundo);
    QPainter p(&img);
    PreparaPintor(p);
    if (realce) {
        p.setPen(Qt::NoPen);
        p.setBrush(Vermelho);
        p.drawRoundedRect(QRectF(0, 0, 17, 11), 2, 2);
    }
    Seta(p, QRectF(0, 0, 17, 11), realce ? Branco : Escuro);
    return img;
}

// ================================ The table ===============================================

void Adiciona(std::vector<FiguraInventario>& t, std::string nome, std::string tipos, int w, int h,
              std::string mostra, int mensagem,
              std::function<QImage(const std::string&)> desenha, QColor fundo = QColor()) {
    t.push_back({std::move(nome), std::move(tipos), w, h, std::move(mostra), mensagem,
                 std::move(fundo), std::move(desenha)});
}

// The back a grid picture stands on: the white row, or the red selection bar.
QColor FundoEstado(Estado e) {
    return (e == Estado::Barra || e == Estado::BarraRealce) ? Vermelho : Branco;
}

std::vector<FiguraInventario> MontaInventario() {
    std::vector<FiguraInventario> t;
    auto fixa = [](QImage img) { return [img](const std::string&) { return img; }; };

    // Splash frames.
    for (int q = 1; q <= 6; ++q)
        Adiciona(t, "FABRICA" + std::to_string(q), "G", 572, 248,
                 "splash frame: the factory line carrying parts to the crates", -1,
                 [q](const std::string&) { return Fabrica(q); });

    // Backgrounds and photo placeholders.
    Adiciona(t, "FUNDOTELA1024X768", "G", 1024, 768, "background around the 800 x 600 design area",
             -1, [](const std::string&) { return FundoTela(); });
    Adiciona(t, "FUNDOTELAVELMO1024X768", "G", 1024, 768, "closing credits, large screens", -1,
             [](const std::string&) { return Creditos(1024, 768); });
    Adiciona(t, "VAVEZAREVOVIDO800V600", "G", 800, 600, "closing credits, small screens", -1,
             [](const std::string&) { return Creditos(800, 600); });
    Adiciona(t, "FOTOPRODUTOFUNDO", "G", 190, 165, "photo slot without a photo (product search)", -1,
             [](const std::string&) { return FotoFundo(1); });
    Adiciona(t, "FOTOPRODUTOFUNDO2", "G", 190, 165, "photo slot without a photo (list)", -1,
             [](const std::string&) { return FotoFundo(2); });

    // Tabs: shapes ("G") and captions (one per language).
    struct Aba { int faixa, aba, largura, mensagem; };
    constexpr Aba abas[] = {{0, 0, 200, 53}, {0, 1, 217, 54}, {0, 2, 216, 27}, {0, 3, 213, 88},
                            {1, 0, 299, 9},  {1, 1, 308, 8}};
    struct Sufixo { const char* texto; Aspecto aspecto; const char* nome; };
    constexpr Sufixo sufixos[] = {{"", Aspecto::Normal, "normal"},
                                  {"2", Aspecto::Ativo, "active"},
                                  {"_S", Aspecto::Realce, "hover"}};
    for (const Aba& a : abas)
        for (const Sufixo& s : sufixos) {
            const std::string digitos = std::to_string(a.faixa) + std::to_string(a.aba);
            const Aspecto aspecto = s.aspecto;
            const int largura = a.largura;
            Adiciona(t, "OREABA" + digitos + s.texto, "G", largura, AlturaAba,
                     std::string("tab shape, ") + s.nome, -1,
                     [largura, aspecto](const std::string&) { return FormaAba(largura, aspecto); });
            const bool larga = a.faixa == 0 && a.aba == 3;
            const int lw = larga ? 127 : 108, lh = larga ? 16 : 18;
            const int mensagem = a.mensagem;
            Adiciona(t, "ORETXT" + digitos + s.texto, "PEI", lw, lh,
                     std::string("tab caption, ") + s.nome, mensagem,
                     [lw, lh, aspecto, mensagem](const std::string& idioma) {
                         return LegendaAba(lw, lh, aspecto, Mensagem(mensagem, idioma));
                     });
        }

    // Grid icons.
    struct Icone { const char* nome; int largura; Pictograma pictograma; double margem; const char* mostra; };
    const Icone icones[] = {
        {"ICOCESTA", 22, &Carrinho, 1, "put the product in the cart"},
        {"ICOFIGURA", 22, &Figura, 1, "show the product's figure"},
        {"ICOLISTA", 22, &Lista, 2, "show the parts list"},
        {"ICOAPLICACAO", 24, &Veiculo, 1, "show the applications"},
        {"ICOMAIS", 16, &Mais, 3, "increase the quantity"},
        {"ICOMENOS", 16, &Menos, 3, "decrease the quantity"},
        {"ICOX", 16, &Xis, 3, "remove from the cart"},
    };
    struct Variante { const char* sufixo; Estado estado; const char* nome; };
    constexpr Variante variantes[] = {{"1", Estado::Linha, "row"},
                                      {"1_S", Estado::LinhaRealce, "row hover"},
                                      {"2", Estado::Barra, "selection bar"},
                                      {"2_S", Estado::BarraRealce, "selection bar hover"}};
    for (const Icone& i : icones)
        for (const Variante& v : variantes) {
            const int w = i.largura;
            const Estado e = v.estado;
            const Pictograma pg = i.pictograma;
            const double margem = i.margem;
            Adiciona(t, std::string(i.nome) + v.sufixo, "G", w, 14,
                     std::string(i.mostra) + ", " + v.nome, -1,
                     [w, e, pg, margem](const std::string&) { return IconeGrade(w, 14, e, pg, margem); },
                     FundoEstado(e));
        }
    for (const Variante& v : variantes) {
        const Estado e = v.estado;
        Adiciona(t, std::string("ICOOBS") + v.sufixo, "PI", 32, 14,
                 std::string("the product has a note, ") + v.nome, 44,
                 [e](const std::string& idioma) { return IconeObservacao(e, idioma); },
                 FundoEstado(e));
    }
    Adiciona(t, "ICOLANCGRID", "G", 15, 14, "release mark on a row", -1,
             [](const std::string&) { return MarcaLancamento(15, 14, Vermelho); }, Branco);
    Adiciona(t, "ICOLANCGRID_S", "G", 15, 14, "release mark on the selection bar", -1,
             [](const std::string&) { return MarcaLancamento(15, 14, Branco); }, Vermelho);

    // Figure item balls.
    Adiciona(t, "BOLANORMAL", "G", 23, 23, "figure item, white number", -1,
             [](const std::string&) { return Bola(Vermelho, VermelhoEscuro, 1.2); }, Branco);
    Adiciona(t, "BOLANAOAPLICAVEL", "G", 23, 23, "figure item that does not apply, white number", -1,
             [](const std::string&) { return Bola(Cinza4, QColor(0x60, 0x60, 0x60), 1.2); }, Branco);
    Adiciona(t, "BOLALANC", "G", 25, 27, "figure item with a release, black number", -1,
             [](const std::string&) { return BolaLancamento(); }, Branco);
    Adiciona(t, "BOLASELECIONADA", "G", 23, 23, "figure item under the mouse", -1,
             [](const std::string&) { return Bola(Escuro, VermelhoClaro, 2.4); }, Branco);

    // Auxiliary window titles.
    struct Tit { const char* nome; int mensagem; };
    constexpr Tit titulos[] = {{"TITOBSERVACAO", 3}, {"TITAPLICACAO", 27}, {"TITPRINCIPAL", 89},
                               {"TITCONFIGURACOES", 50}, {"TITATUALIZACAO", 49}};
    for (const Tit& tt : titulos) {
        const int mensagem = tt.mensagem;
        Adiciona(t, tt.nome, "PEI", 154, 17, "auxiliary window title", mensagem,
                 [mensagem](const std::string& idioma) { return Titulo(Mensagem(mensagem, idioma), false); });
    }
    Adiciona(t, "TITCARRINHO", "G", 154, 17, "auxiliary window title of the cart (pictogram)", -1,
             [](const std::string&) { return Titulo(QString(), true); });

    // Other language pictures.
    Adiciona(t, "LEGENDALANCAMENTO", "PEI", 97, 18, "legend of the release mark, on the footer", 91,
             [](const std::string& idioma) { return LegendaLancamento(idioma); });
    Adiciona(t, "APLICACAOLIGAGRIDS", "PEI", 207, 84,
             "links the product grid to its applications grid", 27,
             [](const std::string& idioma) { return LigaGrades(idioma); });
    Adiciona(t, "CARRINHOTODOS", "PI", 160, 30, "put the whole list in the cart", 28,
             [](const std::string& idioma) { return CarrinhoTodos(false, idioma); });
    Adiciona(t, "CARRINHOTODOS_S", "PI", 160, 30, "put the whole list in the cart, hover", 28,
             [](const std::string& idioma) { return CarrinhoTodos(true, idioma); });

    // Design-time pictures of the main window.
    const std::string z = "frmZornak.";
    Adiciona(t, z + "imgCabecalho0", "D", 784, 74, "header", -1, fixa(Cabecalho()));
    Adiciona(t, z + "imgCabecalho1", "D", 785, 13, "band under the tabs", -1, fixa(Faixa()));
    Adiciona(t, z + "imgLogo0", "D", 55, 13, "small logo", -1, fixa(LogoPequeno()));
    Adiciona(t, z + "imgLogo1", "D", 158, 42, "logo", -1, fixa(LogoGrande()));
    for (const char* l : {"P", "E", "I"}) {
        Adiciona(t, z + "imgIdioma" + l, "D", 20, 20, "marker of the current language", -1,
                 fixa(MarcadorIdioma()), Branco);
        const int w = l[0] == 'P' ? 18 : 19;
        Adiciona(t, z + "imgBtnIdioma" + l, "D", w, 10, "language flag", -1, fixa(Bandeira(l[0], w)));
        Adiciona(t, z + "imgBtnIdioma" + l + "Sel", "D", 26, 13, "hover frame of a flag", -1,
                 fixa(MoldeBandeira()), Branco);
    }
    Adiciona(t, z + "imgSiteZornak", "D", 104, 11, "site link", -1, fixa(Site(false)));
    Adiciona(t, z + "imgSiteZornakSel", "D", 104, 11, "site link, hover", -1, fixa(Site(true)));
    Adiciona(t, z + "imgHaste0", "D", 4, 12, "separator", -1, fixa(Haste()));
    Adiciona(t, z + "imgCarrinho", "D", 22, 21, "cart", -1, fixa(CarrinhoTopo(false)));
    Adiciona(t, z + "imgCarrinhoSel", "D", 22, 21, "cart, hover", -1, fixa(CarrinhoTopo(true)));
    Adiciona(t, z + "imgAjuda", "D", 20, 20, "help", -1, fixa(BotaoRedondo(20, 20, false, 0)));
    Adiciona(t, z + "imgAjudaSel", "D", 20, 20, "help, hover", -1, fixa(BotaoRedondo(20, 20, true, 0)));
    Adiciona(t, z + "imgMinimizar", "D", 20, 20, "minimise", -1, fixa(BotaoRedondo(20, 20, false, 1)));
    Adiciona(t, z + "imgMinimizarSel", "D", 20, 20, "minimise, hover", -1,
             fixa(BotaoRedondo(20, 20, true, 1)));
    Adiciona(t, z + "imgBtnVerificarAtualizacoesSel", "D", 178, 18, "hover plate on the header", -1,
             fixa(PlacaCabecalho(225, 65, 178, 18)));
    Adiciona(t, z + "imgBtnConfiguracoesSel", "D", 157, 18, "hover plate on the header", -1,
             fixa(PlacaCabecalho(392, 65, 157, 18)));
    Adiciona(t, z + "imgRodapeEsq", "D", 529, 17, "footer, left", -1, fixa(Rodape(529, 17, true)));
    Adiciona(t, z + "imgRodapeDir", "D", 226, 15, "footer, right", -1, fixa(Rodape(226, 15, true)));
    struct Btn { const char* nome; int w, h; };
    constexpr Btn botoes[] = {{"imgBtnImprimir", 86, 17}, {"imgBtnPagF0", 35, 17},
                              {"imgBtnInicio", 83, 15}, {"imgBtnSair", 83, 15}};
    for (const Btn& b : botoes) {
        std::string sel = b.nome;
        if (sel == "imgBtnPagF0")
            sel = "imgBtnPagFSel0";
        else
            sel += "Sel";
        Adiciona(t, z + b.nome, "D", b.w, b.h, "button plate", -1, fixa(Placa(b.w, b.h, false)));
        Adiciona(t, z + sel, "D", b.w, b.h, "button plate, hover", -1, fixa(Placa(b.w, b.h, true)));
    }
    Adiciona(t, z + "pctTela0", "D", 800, 445, "home panel background", -1, fixa(PainelInicio()));
    Adiciona(t, z + "imgLancM0", "D", 16, 16, "release mark", -1,
             fixa(MarcaLancamento(16, 16, Vermelho)));
    Adiciona(t, z + "imgPopUp", "D", 678, 95, "notice of the home screen (Portuguese)", -1,
             fixa(Aviso()));
    Adiciona(t, z + "imgTituloL", "D", 773, 19, "title bar of the list", -1, fixa(BarraTitulo()));
    Adiciona(t, z + "imgTituloF", "D", 773, 19, "title bar of the figure", -1, fixa(BarraTitulo()));
    Adiciona(t, z + "CursorLink", "D", 32, 32, "pointer over links, hot spot (10, 1)", -1,
             fixa(CursorLink()));

    // Design-time pictures of the auxiliary window.
    const std::string a = "frmZornak2.";
    Adiciona(t, a + "Fundo", "D", 641, 406, "background inside the window outline", -1,
             fixa(FundoJanelaAuxiliar()));
    Adiciona(t, a + "imgRodapeEsq", "D", 318, 15, "footer, left", -1, fixa(RodapeAuxiliar(318, 15)));
    Adiciona(t, a + "imgRodapeDir", "D", 218, 15, "footer, right", -1, fixa(RodapeAuxiliar(218, 15)));
    constexpr Btn botoesAux[] = {{"imgBtnImprimir", 81, 15}, {"imgBtnGerarArquivo", 116, 15},
                                 {"imgBtnEnviarEmail", 95, 15}, {"imgBtnOk", 81, 15},
                                 {"imgBtnVoltar", 81, 15}};
    for (const Btn& b : botoesAux) {
        Adiciona(t, a + b.nome, "D", b.w, b.h, "button plate", -1, fixa(PlacaAuxiliar(b.w, b.h, false)));
        Adiciona(t, a + b.nome + "Sel", "D", b.w, b.h, "button plate, hover", -1,
                 fixa(PlacaAuxiliar(b.w, b.h, true)));
    }
    Adiciona(t, a + "imgBordaBarraAtualizacao", "D", 385, 23, "progress frame", -1, fixa(MolduraBarra()));
    Adiciona(t, a + "imgBarraAtualizacao", "D", 379, 17, "progress bar", -1, fixa(BarraProgresso()));
    Adiciona(t, a + "imgPassoAtualAtualizacao", "D", 16, 16, "running step", -1, fixa(MarcaPasso(false)), Branco);
    Adiciona(t, a + "imgPassoConcluidoAtualizacao", "D", 16, 16, "finished step", -1,
             fixa(MarcaPasso(true)), Branco);
    Adiciona(t, a + "imgVerificarAtualizacoesAuto0", "D", 18, 17, "switch off", -1, fixa(Chave(false)));
    Adiciona(t, a + "imgVerificarAtualizacoesAuto1", "D", 18, 17, "switch on", -1, fixa(Chave(true)));

    // Splash window and the combo box arrows.
    Adiciona(t, "frmApresentacao.imgLogo", "D", 164, 50, "splash logo", -1, fixa(LogoApresentacao()));
    Adiciona(t, "frmApresentacao.imgTitulo", "D", 400, 19, "splash title", 0, fixa(TituloApresentacao()));
    Adiciona(t, "THCombo.imgTipo1", "D", 17, 11, "arrow on white", -1, fixa(SetaCombo(true, false)));
    Adiciona(t, "THCombo.imgTipo1Sel", "D", 17, 11, "arrow on white, hover", -1, fixa(SetaCombo(true, true)));
    Adiciona(t, "THCombo.imgTipo2", "D", 17, 11, "arrow on a coloured back", -1, fixa(SetaCombo(false, false)));
    Adiciona(t, "THCombo.imgTipo2Sel", "D", 17, 11, "arrow on a coloured back, hover", -1,
             fixa(SetaCombo(false, true)));
    return t;
}

}  // namespace

const std::vector<FiguraInventario>& Inventario() {
    static const std::vector<FiguraInventario> tabela = MontaInventario();
    return tabela;
}
