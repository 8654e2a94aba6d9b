// The picture generator: draws every picture of the inventory into <out>/<type>/<NAME>.png and
// writes <out>/pictures.qrc that embeds them as ":/<type>/<NAME>". With --contact-sheets <dir>
// it also writes one sheet per type showing every picture with its name. `--icons <dir>` alone
// draws the program's desktop icon in the sizes of the hicolor theme.
// Same input, same bytes: no clock, no randomness, fonts loaded from fixed files.
#include "common/Modulo.h"
#include "tools/pictures/Desenho.h"
#include "tools/pictures/Inventario.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

// Traduz reads the current language from the program state; the generator always names it.
TEstadoPrograma EstadoPrograma;

namespace {

QString NomeRecurso(const FiguraInventario& f) { return QString::fromStdString(f.nome).toUpper(); }

bool Grava(const QImage& img, const QString& caminho) {
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly)) return false;
    QImageWriter escritor(&arquivo, "png");
    escritor.setQuality(0);   // for PNG: the strongest compression
    if (!escritor.write(img)) return false;
    return arquivo.commit();
}

struct Gerada {
    QString tipo;
    QString nome;
    QImage imagem;
    QColor fundo;
};

const Gerada* Procura(const std::vector<Gerada>& geradas, const QString& tipo, const QString& nome) {
    for (const Gerada& g : geradas)
        if (g.tipo == tipo && g.nome == nome) return &g;
    return nullptr;
}

// A tab strip put together the way the main window does it: each shape copied without its
// key colour and its last row, left to right, then its caption at y 7 centred on the tab's
// click area; the white band under it. For review only.
QImage ComporFaixa(const std::vector<Gerada>& geradas, const QString& idioma, int faixa, int ativa,
                   int realce) {
    struct Aba { int x, clique, largura; };
    const std::vector<Aba> abas = faixa == 0
        ? std::vector<Aba>{{0, 0, 191}, {181, 191, 196}, {376, 387, 197}, {570, 584, 198}}
        : std::vector<Aba>{{0, 0, 289}, {280, 289, 295}};
    const int largura = faixa == 0 ? 795 : 590;
    QImage faixaImg = desenho::Imagem(largura, 26 + 13, desenho::Escuro);
    QPainter p(&faixaImg);
    p.fillRect(QRect(0, 26, largura, 13), desenho::Branco);
    const QRgb chave = desenho::CorChave.rgb();
    for (int i = 0; i < static_cast<int>(abas.size()); ++i) {
        const QString sufixo = i == ativa ? QStringLiteral("2") : (i == realce ? QStringLiteral("_S") : QString());
        const QString digitos = QString::number(faixa) + QString::number(i);
        const Gerada* forma = Procura(geradas, QStringLiteral("G"), QStringLiteral("OREABA") + digitos + sufixo);
        const Gerada* legenda = Procura(geradas, idioma, QStringLiteral("ORETXT") + digitos + sufixo);
        if (!forma || !legenda) continue;
        for (int y = 0; y < forma->imagem.height() - 1; ++y)
            for (int x = 0; x < forma->imagem.width(); ++x) {
                const QRgb c = forma->imagem.pixel(x, y);
                if ((c & 0xFFFFFF) != (chave & 0xFFFFFF) && abas[i].x + x < largura && y < 26)
                    faixaImg.setPixel(abas[i].x + x, y, c);
            }
        const double meio = abas[i].clique + abas[i].largura / 2.0 - legenda->imagem.width() / 2.0;
        p.drawImage(static_cast<int>(std::nearbyint(meio)), 7, legenda->imagem);
    }
    return faixaImg;
}

// Pictures in a grid of cells, each with its name under it; a checkerboard shows through the
// transparent ones. Pictures wider than 800 px are shown at half size (the caption says so).
QImage FolhaContato(const QString& tipo, const std::vector<const Gerada*>& figuras, int recursos) {
    using namespace desenho;
    const int larguraFolha = 1400, margem = 16, espaco = 14, alturaNome = 28;
    const QFont fonteNome = Fonte(Familia::Arial, 11, true);
    const QFont fonteTamanho = Fonte(Familia::Arial, 10, false);
    struct Celula { const Gerada* g; QImage mostra; int x, y, w, h; bool metade; };
    std::vector<Celula> celulas;
    int x = margem, y = margem + 40, alturaLinha = 0;
    for (const Gerada* g : figuras) {
        const bool metade = g->imagem.width() > 800;
        QImage mostra = metade ? g->imagem.scaled(g->imagem.size() / 2, Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation)
                               : g->imagem;
        const int wNome = QFontMetrics(fonteNome).horizontalAdvance(g->nome) + 8;
        const int w = std::max(mostra.width() + 8, wNome), h = mostra.height() + 8 + alturaNome;
        if (x + w > larguraFolha - margem && x > margem) {
            x = margem;
            y += alturaLinha + espaco;
            alturaLinha = 0;
        }
        celulas.push_back({g, mostra, x, y, w, h, metade});
        x += w + espaco;
        alturaLinha = std::max(alturaLinha, h);
    }
    const int alturaFolha = y + alturaLinha + margem;
    QImage folha = Imagem(larguraFolha, alturaFolha, QColor(0xB8, 0xBE, 0xC4));
    QPainter p(&folha);
    PreparaPintor(p);
    TextoEsquerda(p, QRectF(margem, 8, 900, 26),
                  QStringLiteral("Pictures of type \"%1\": %2").arg(tipo).arg(recursos) +
                      (recursos < static_cast<int>(figuras.size()) ? QStringLiteral(", then the tab strips composed from them") : QString()),
                  Fonte(Familia::Arial, 18, true), Escuro);
    for (const Celula& c : celulas) {
        p.fillRect(QRect(c.x, c.y, c.w, c.h), QColor(0xCC, 0xD1, 0xD6));
        const int ix = c.x + (c.w - c.mostra.width()) / 2, iy = c.y + 4;
        if (c.g->fundo.isValid()) {
            p.fillRect(QRect(ix, iy, c.mostra.width(), c.mostra.height()), c.g->fundo);
        } else {
        // Checkerboard under the picture.
        for (int cy = 0; cy < c.mostra.height(); cy += 6)
            for (int cx = 0; cx < c.mostra.width(); cx += 6)
                p.fillRect(QRect(ix + cx, iy + cy, std::min(6, c.mostra.width() - cx),
                                 std::min(6, c.mostra.height() - cy)),
                           ((cx / 6 + cy / 6) % 2) ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xDD, 0xDD, 0xDD));
        }
        p.drawImage(ix, iy, c.mostra);
        const QRectF areaNome(c.x, iy + c.mostra.height() + 2, c.w, 14);
        TextoCentrado(p, areaNome, c.g->nome, fonteNome, Preto);
        QString tamanho = QStringLiteral("%1 x %2").arg(c.g->imagem.width()).arg(c.g->imagem.height());
        if (c.metade) tamanho += QStringLiteral(" (shown at 50%)");
        TextoCentrado(p, areaNome.translated(0, 13), tamanho, fonteTamanho, QColor(0x40, 0x40, 0x40));
    }
    return folha;
}

// The main window's design area put together from the design-time pictures, with strip 0 on
// tab 0; labels are the windows' own and left out. For review only.
QImage ComporJanelaPrincipal(const std::vector<Gerada>& geradas) {
    QImage janela = desenho::Imagem(800, 600, desenho::Branco);
    QPainter p(&janela);
    auto poe = [&](const char* tipo, const char* nome, int x, int y) {
        if (const Gerada* g = Procura(geradas, QString::fromLatin1(tipo), QString::fromLatin1(nome).toUpper()))
            p.drawImage(x, y, g->imagem);
    };
    poe("D", "frmZornak.imgCabecalho0", 0, 18);
    p.drawImage(0, 89, ComporFaixa(geradas, QStringLiteral("P"), 0, 0, 2).copy(0, 0, 795, 26));
    poe("D", "frmZornak.imgCabecalho1", 0, 115);
    poe("D", "frmZornak.pctTela0", 0, 128);
    poe("D", "frmZornak.imgPopUp", 61, 128 + 332);
    poe("D", "frmZornak.imgLogo0", 624, 25);
    poe("D", "frmZornak.imgLogo1", 624, 36);
    poe("D", "frmZornak.imgIdiomaP", 10, 5);
    poe("D", "frmZornak.imgBtnIdiomaP", 11, 15);
    poe("D", "frmZornak.imgBtnIdiomaE", 40, 15);
    poe("D", "frmZornak.imgBtnIdiomaI", 69, 15);
    poe("D", "frmZornak.imgBtnIdiomaESel", 36, 12);
    poe("D", "frmZornak.imgSiteZornak", 128, 14);
    poe("D", "frmZornak.imgHaste0", 246, 14);
    poe("D", "frmZornak.imgCarrinho", 261, 7);
    poe("D", "frmZornak.imgAjuda", 753, 6);
    poe("D", "frmZornak.imgMinimizarSel", 776, 6);
    poe("D", "frmZornak.imgBtnVerificarAtualizacoesSel", 225, 65);
    poe("D", "frmZornak.imgRodapeEsq", 0, 572);
    poe("D", "frmZornak.imgRodapeDir", 575, 573);
    poe("D", "frmZornak.imgBtnImprimir", 16, 572);
    poe("P", "LEGENDALANCAMENTO", 150, 572);
    poe("D", "frmZornak.imgBtnPagF0", 474, 572);
    poe("D", "frmZornak.imgBtnInicio", 598, 573);
    poe("D", "frmZornak.imgBtnSairSel", 700, 573);
    return janela;
}

// The program's icon for the desktop's menus: a gear in the header's dark with the system's
// red at its hub and the word mark's rule under it; transparent outside its rounded corners.
QImage IconePrograma(int tamanho) {
    using namespace desenho;
    QImage img = ImagemTransparente(tamanho, tamanho);
    QPainter p(&img);
    PreparaPintor(p);
    const double s = tamanho;
    p.setPen(Qt::NoPen);
    p.setBrush(Escuro);
    p.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.18, s * 0.18);
    Engrenagem(p, QPointF(s * 0.5, s * 0.44), s * 0.29, 10, Branco, Vermelho);
    p.fillRect(QRectF(s * 0.22, s * 0.80, s * 0.56, std::max(2.0, std::round(s * 0.07))), Vermelho);
    return img;
}

// The icon in the sizes of the desktop's hicolor theme: <folder>/<n>x<n>/apps/catalogo-zornak.png.
int GravaIcones(const QString& pasta) {
    for (int tamanho : {48, 64, 128, 256}) {
        const QString sub = pasta + QStringLiteral("/%1x%1/apps").arg(tamanho);
        if (!QDir().mkpath(sub) || !Grava(IconePrograma(tamanho), sub + QStringLiteral("/catalogo-zornak.png"))) {
            std::fprintf(stderr, "zk_pictures: cannot write the icon of %d pixels in %s\n", tamanho, qPrintable(sub));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--icons")) return GravaIcones(args[2]);
    QString saida, folhas;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--contact-sheets") && i + 1 < args.size())
            folhas = args[++i];
        else if (saida.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            saida = args[i];
        else {
            std::fprintf(stderr, "usage: zk_pictures <output folder> [--contact-sheets <folder>] | --icons <folder>\n");
            return 2;
        }
    }
    if (saida.isEmpty()) {
        std::fprintf(stderr, "usage: zk_pictures <output folder> [--contact-sheets <folder>] | --icons <folder>\n");
        return 2;
    }
    QString falta;
    if (!desenho::CarregaFontes(falta)) {
        std::fprintf(stderr, "zk_pictures: cannot load the font %s\n", qPrintable(falta));
        return 1;
    }

    std::vector<Gerada> geradas;
    for (const FiguraInventario& f : Inventario()) {
        for (char letra : f.tipos) {
            const std::string idioma(1, letra);
            QImage img = f.desenha(idioma);
            if (img.width() != f.largura || img.height() != f.altura) {
                std::fprintf(stderr, "zk_pictures: %s of type %c drawn %d x %d, listed %d x %d\n",
                             f.nome.c_str(), letra, img.width(), img.height(), f.largura, f.altura);
                return 1;
            }
            geradas.push_back({QString(QChar::fromLatin1(letra)), NomeRecurso(f), std::move(img), f.fundo});
        }
    }

    QDir raiz;
    QString qrc;
    QTextStream texto(&qrc);
    texto << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const Gerada& g : geradas) {
        if (!raiz.mkpath(saida + QLatin1Char('/') + g.tipo)) {
            std::fprintf(stderr, "zk_pictures: cannot create %s/%s\n", qPrintable(saida), qPrintable(g.tipo));
            return 1;
        }
        const QString relativo = g.tipo + QLatin1Char('/') + g.nome + QStringLiteral(".png");
        if (!Grava(g.imagem, saida + QLatin1Char('/') + relativo)) {
            std::fprintf(stderr, "zk_pictures: cannot write %s\n", qPrintable(relativo));
            return 1;
        }
        texto << "  <file alias=\"" << g.tipo << '/' << g.nome << "\">" << relativo << "</file>\n";
    }
    texto << "</qresource>\n</RCC>\n";
    texto.flush();
    {
        QSaveFile arquivo(saida + QStringLiteral("/pictures.qrc"));
        if (!arquivo.open(QIODevice::WriteOnly) || arquivo.write(qrc.toUtf8()) < 0 || !arquivo.commit()) {
            std::fprintf(stderr, "zk_pictures: cannot write pictures.qrc\n");
            return 1;
        }
    }

    if (!folhas.isEmpty()) {
        if (!raiz.mkpath(folhas)) {
            std::fprintf(stderr, "zk_pictures: cannot create %s\n", qPrintable(folhas));
            return 1;
        }
        std::map<QString, std::vector<const Gerada*>> porTipo;
        for (const Gerada& g : geradas) porTipo[g.tipo].push_back(&g);
        std::map<QString, int> recursos;
        for (const auto& [tipo, lista] : porTipo) recursos[tipo] = static_cast<int>(lista.size());
        // The language sheets end with their tab strips as the window composes them.
        std::vector<Gerada> faixas;
        faixas.reserve(3 * 8 + 1);
        for (const QString& idioma : {QStringLiteral("P"), QStringLiteral("E"), QStringLiteral("I")}) {
            for (int ativa = 0; ativa < 4; ++ativa)
                faixas.push_back({idioma, QStringLiteral("strip 0, tab %1 active, tab %2 hovered").arg(ativa).arg((ativa + 1) % 4),
                                  ComporFaixa(geradas, idioma, 0, ativa, (ativa + 1) % 4), QColor()});
            for (int ativa = 0; ativa < 2; ++ativa)
                faixas.push_back({idioma, QStringLiteral("strip 1, tab %1 active, tab %2 hovered").arg(ativa).arg(1 - ativa),
                                  ComporFaixa(geradas, idioma, 1, ativa, 1 - ativa), QColor()});
        }
        faixas.push_back({QStringLiteral("D"), QStringLiteral("main window, composed (labels left out)"),
                          ComporJanelaPrincipal(geradas), QColor()});
        for (const Gerada& g : faixas) porTipo[g.tipo].push_back(&g);
        for (const auto& [tipo, lista] : porTipo)
            if (!Grava(FolhaContato(tipo, lista, recursos[tipo]), folhas + QStringLiteral("/pictures_") + tipo +
                                                      QStringLiteral(".png"))) {
                std::fprintf(stderr, "zk_pictures: cannot write the contact sheet %s\n", qPrintable(tipo));
                return 1;
            }
    }
    return 0;
}
