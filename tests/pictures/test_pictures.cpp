// The program's pictures: every name the windows load, with the type they ask for and in the
// size they place it at; the key colour of the tab shapes; the image header readers; the
// transparent copy.
#include "catalog/startup/Modulo.h"

#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

class Imagens : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::CriaAplicacao<QGuiApplication>("test_pictures");
        EstadoPrograma.Idioma = "P";
    }
    void TearDown() override { EstadoPrograma.Idioma = "P"; }
};

QImage Carrega(const std::string& nome, const std::string& tipo) {
    return CarregaImagemRecurso(nome, tipo).Pixmap().toImage();
}

// --- The inventory, as the windows ask for it --------------------------------------------------

struct Pedido {
    std::string nome;
    std::string tipo;
    int largura, altura;      // exact size; 0 when only bounded
    int larguraMax, alturaMax;
};

void PrintTo(const Pedido& p, std::ostream* os) { *os << p.tipo << "/" << p.nome; }

std::vector<Pedido> Pedidos() {
    std::vector<Pedido> t;
    auto exato = [&](const std::string& n, const std::string& tipos, int w, int h) {
        for (char c : tipos) t.push_back({n, std::string(1, c), w, h, w, h});
    };
    auto limite = [&](const std::string& n, const std::string& tipos, int wMax, int hMax) {
        for (char c : tipos) t.push_back({n, std::string(1, c), 0, 0, wMax, hMax});
    };
    for (int q = 1; q <= 6; ++q) exato("FABRICA" + std::to_string(q), "G", 572, 248);
    exato("FUNDOTELA1024X768", "G", 1024, 768);
    exato("FUNDOTELAVELMO1024X768", "G", 1024, 768);
    exato("VAVEZAREVOVIDO800V600", "G", 800, 600);
    exato("FOTOPRODUTOFUNDO", "G", 190, 165);
    exato("FOTOPRODUTOFUNDO2", "G", 190, 165);
    const int larguras[2][4] = {{200, 217, 216, 213}, {299, 308, 0, 0}};
    for (int faixa = 0; faixa < 2; ++faixa)
        for (int aba = 0; aba < (faixa == 0 ? 4 : 2); ++aba)
            for (const char* sufixo : {"", "2", "_S"}) {
                const std::string d = std::to_string(faixa) + std::to_string(aba) + sufixo;
                exato("OREABA" + d, "G", larguras[faixa][aba], 27);
                const bool larga = faixa == 0 && aba == 3;
                exato("ORETXT" + d, "PEI", larga ? 127 : 108, larga ? 16 : 18);
            }
    for (const char* icone : {"ICOCESTA", "ICOMAIS", "ICOMENOS", "ICOX", "ICOFIGURA", "ICOLISTA",
                              "ICOAPLICACAO"}) {
        const std::string n = icone;
        const int wMax = (n == "ICOFIGURA" || n == "ICOLISTA" || n == "ICOAPLICACAO") ? 35 : 25;
        for (const char* v : {"1", "1_S", "2", "2_S"}) limite(n + v, "G", wMax, 14);
    }
    // Spanish shows the Portuguese observation icons and cart button.
    for (const char* v : {"1", "1_S", "2", "2_S"}) limite(std::string("ICOOBS") + v, "PI", 35, 14);
    limite("ICOLANCGRID", "G", 15, 14);
    limite("ICOLANCGRID_S", "G", 15, 14);
    exato("BOLANORMAL", "G", 23, 23);
    exato("BOLANAOAPLICAVEL", "G", 23, 23);
    exato("BOLASELECIONADA", "G", 23, 23);
    limite("BOLALANC", "G", 27, 27);
    for (const char* titulo : {"TITOBSERVACAO", "TITAPLICACAO", "TITPRINCIPAL", "TITCONFIGURACOES",
                               "TITATUALIZACAO"})
        exato(titulo, "PEI", 154, 17);
    exato("TITCARRINHO", "G", 154, 17);
    exato("LEGENDALANCAMENTO", "PEI", 97, 18);
    limite("APLICACAOLIGAGRIDS", "PEI", 800, 84);   // between the grids, y 333 to 417
    limite("CARRINHOTODOS", "PI", 800, 440);
    limite("CARRINHOTODOS_S", "PI", 800, 440);
    return t;
}

class ImagensInventario : public ::testing::TestWithParam<Pedido> {
protected:
    void SetUp() override { testsupport::CriaAplicacao<QGuiApplication>("test_pictures"); }
};

TEST_P(ImagensInventario, LoadsInTheSizeTheWindowPlacesItAt) {
    const Pedido p = GetParam();
    const vb::Picture imagem = CarregaImagemRecurso(p.nome, p.tipo);
    ASSERT_FALSE(imagem.IsNothing());
    if (p.largura > 0) {
        EXPECT_EQ(imagem.Width(), p.largura);
        EXPECT_EQ(imagem.Height(), p.altura);
    } else {
        EXPECT_GT(imagem.Width(), 0);
        EXPECT_LE(imagem.Width(), p.larguraMax);
        EXPECT_GT(imagem.Height(), 0);
        EXPECT_LE(imagem.Height(), p.alturaMax);
    }
}

INSTANTIATE_TEST_SUITE_P(Todas, ImagensInventario, ::testing::ValuesIn(Pedidos()));

TEST_F(Imagens, TheInventoryHoldsTheDeliveredCountPerType) {
    std::map<std::string, int> porTipo;
    for (const Pedido& p : Pedidos()) ++porTipo[p.tipo];
    EXPECT_EQ(porTipo["G"], 64);
    EXPECT_EQ(porTipo["P"], 31);
    EXPECT_EQ(porTipo["I"], 31);
    EXPECT_EQ(porTipo["E"], 25);
}

// The grid and the strips put the variants of one picture in the same place.
TEST_F(Imagens, VariantsOfOnePictureShareItsSize) {
    struct Grupo { std::string tipo; std::vector<std::string> nomes; };
    std::vector<Grupo> grupos;
    for (const char* i : {"ICOCESTA", "ICOMAIS", "ICOMENOS", "ICOX", "ICOFIGURA", "ICOLISTA", "ICOAPLICACAO"}) {
        const std::string n = i;
        grupos.push_back({"G", {n + "1", n + "1_S", n + "2", n + "2_S"}});
    }
    grupos.push_back({"P", {"ICOOBS1", "ICOOBS1_S", "ICOOBS2", "ICOOBS2_S"}});
    grupos.push_back({"I", {"ICOOBS1", "ICOOBS1_S", "ICOOBS2", "ICOOBS2_S"}});
    grupos.push_back({"G", {"ICOLANCGRID", "ICOLANCGRID_S"}});
    grupos.push_back({"P", {"CARRINHOTODOS", "CARRINHOTODOS_S"}});
    grupos.push_back({"G", {"BOLANORMAL", "BOLANAOAPLICAVEL", "BOLASELECIONADA"}});
    for (const Grupo& g : grupos) {
        const vb::Picture primeiro = CarregaImagemRecurso(g.nomes[0], g.tipo);
        for (const std::string& n : g.nomes) {
            const vb::Picture outra = CarregaImagemRecurso(n, g.tipo);
            EXPECT_EQ(outra.Width(), primeiro.Width()) << n;
            EXPECT_EQ(outra.Height(), primeiro.Height()) << n;
        }
    }
}

TEST_F(Imagens, WithoutATypeTheCurrentLanguageIsTheType) {
    EstadoPrograma.Idioma = "E";
    const QImage semTipo = CarregaImagemRecurso("TITPRINCIPAL").Pixmap().toImage();
    EXPECT_EQ(semTipo, Carrega("TITPRINCIPAL", "E"));
    EXPECT_NE(semTipo, Carrega("TITPRINCIPAL", "P"));
    EXPECT_NE(semTipo, Carrega("TITPRINCIPAL", "I"));
}

TEST_F(Imagens, NamesAndTypesMatchInAnyCase) {
    EXPECT_EQ(Carrega("oreaba01", "g"), Carrega("OREABA01", "G"));
}

TEST_F(Imagens, AMissingNameOrTypeRaisesTheMissingResourceError) {
    struct Caso { std::string nome; vb::Variant tipo; std::string idioma; };
    const std::vector<Caso> casos = {
        {"NAOEXISTE", "G", "P"},
        {"OREFIGURA", vb::Variant(), "E"},      // not delivered, and Spanish never had it
        {"OREFIGURA", "P", "P"},                // loaded by no code, not delivered
        {"ICOOBS1", "E", "P"},                  // Spanish shows the Portuguese one
        {"CARRINHOTODOS", "E", "P"},
        {"TITIMPRIMIR", "P", "P"},
        {"OREABA01", "X", "P"},
        {"ICOCESTA1", "P", "P"},                // a general picture asked for by language
        {"", "G", "P"},                         // names the folder, not a picture
        {"OREABA01", "", "P"},
    };
    for (const Caso& c : casos) {
        EstadoPrograma.Idioma = c.idioma;
        try {
            CarregaImagemRecurso(c.nome, c.tipo);
            ADD_FAILURE() << c.nome << " of type " << c.tipo.ToString() << " loaded";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), ErroRecursoNaoEncontrado) << c.nome;
        }
    }
}

// --- Tab shapes and their key colour ------------------------------------------------------

std::vector<std::string> FormasAba() {
    std::vector<std::string> nomes;
    for (const char* d : {"00", "01", "02", "03", "10", "11"})
        for (const char* s : {"", "2", "_S"}) nomes.push_back(std::string("OREABA") + d + s);
    return nomes;
}

TEST_F(Imagens, TabShapesShareOneKeyColourThatNoShapeUses) {
    const QImage referencia = Carrega("OREABA01", "G");
    const long chave = CorPixel(referencia, 0, 0);
    ASSERT_NE(chave, 0) << "black would cut the dark edges out of the shapes";
    const QColor corChave(static_cast<int>(chave & 0xFF), static_cast<int>((chave >> 8) & 0xFF),
                          static_cast<int>((chave >> 16) & 0xFF));
    for (const std::string& nome : FormasAba()) {
        const QImage forma = Carrega(nome, "G");
        const int w = forma.width();
        EXPECT_EQ(CorPixel(forma, 0, 0), chave) << nome;
        EXPECT_EQ(CorPixel(forma, w - 1, 0), chave) << nome;
        for (int y = 0; y < forma.height(); ++y) {
            // Outside the shape lies at both ends of a row, never inside it.
            int x = 0;
            while (x < w && CorPixel(forma, x, y) == chave) ++x;
            int fim = w - 1;
            while (fim >= x && CorPixel(forma, fim, y) == chave) --fim;
            for (int i = x; i <= fim; ++i) {
                const QColor c = forma.pixelColor(i, y);
                ASSERT_NE(CorPixel(forma, i, y), chave) << nome << " uses the key inside at " << i << "," << y;
                // An edge blended into the key would come out tinted with it.
                const int dr = c.red() - corChave.red(), dg = c.green() - corChave.green(),
                          db = c.blue() - corChave.blue();
                EXPECT_GT(dr * dr + dg * dg + db * db, 160 * 160)
                    << nome << " edge tinted by the key at " << i << "," << y;
            }
            // The caption band (rows 7 to 24 under the caption) lies inside every shape.
            if (y >= 7 && y <= 24) {
                EXPECT_LT(x, w / 2 - 70) << nome << " row " << y;
                EXPECT_GT(fim, w / 2 + 70) << nome << " row " << y;
            }
        }
    }
}

// Captions are opaque: their back must be the face of the same look behind them.
TEST_F(Imagens, CaptionBackMatchesTheTabFaceBehindIt) {
    struct Aba { const char* digitos; int x, clique, largura; };
    const Aba abas[] = {{"00", 0, 0, 191}, {"01", 181, 191, 196}, {"02", 376, 387, 197},
                        {"03", 570, 584, 198}, {"10", 0, 0, 289}, {"11", 280, 289, 295}};
    for (const Aba& a : abas)
        for (const char* s : {"", "2", "_S"})
            for (const char* idioma : {"P", "E", "I"}) {
                const QImage forma = Carrega(std::string("OREABA") + a.digitos + s, "G");
                const QImage legenda = Carrega(std::string("ORETXT") + a.digitos + s, idioma);
                const int xl = static_cast<int>(std::nearbyint(a.clique + a.largura / 2.0 - legenda.width() / 2.0));
                for (int y : {0, legenda.height() - 1})
                    for (int x : {0, legenda.width() - 1})
                        EXPECT_EQ(legenda.pixelColor(x, y), forma.pixelColor(xl + x - a.x, y + 7))
                            << a.digitos << s << " " << idioma << " at " << x << "," << y;
            }
}

TEST_F(Imagens, AStripComposedFromTheShapesShowsNoKeyColour) {
    const long chave = CorPixel(Carrega("OREABA01", "G"), 0, 0);
    const long fundo = 0x3D3023;
    QImage faixa(795, 26, QImage::Format_RGB32);
    faixa.fill(QColor(0x23, 0x30, 0x3D));
    const int xs[] = {0, 181, 376, 570};
    for (int i = 0; i < 4; ++i)
        CopiaPixelsTransparente(Carrega("OREABA0" + std::to_string(i) + (i == 1 ? "2" : ""), "G"),
                                faixa, chave, xs[i], 0, false);
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 795; ++x) ASSERT_NE(CorPixel(faixa, x, y), chave) << x << "," << y;
    // The corner outside tab 0 keeps the strip's own back.
    EXPECT_EQ(CorPixel(faixa, 0, 0), fundo);
}

// --- The transparent copy -------------------------------------------------------------------

TEST_F(Imagens, TransparentCopyLeavesOutTheKeyAndTheLastRow) {
    const QColor chave(255, 0, 255), a(10, 20, 30), b(200, 100, 50);
    QImage origem(3, 3, QImage::Format_RGB32);
    origem.fill(a);
    origem.setPixelColor(1, 0, chave);
    origem.setPixelColor(2, 1, b);
    QImage destino(5, 5, QImage::Format_RGB32);
    destino.fill(Qt::white);
    int chamadas = 0;
    CopiaPixelsTransparente(origem, destino, 0xFF00FF, 1, 1, true, [&] { ++chamadas; });
    EXPECT_EQ(chamadas, 1);
    EXPECT_EQ(destino.pixelColor(1, 1), a);
    EXPECT_EQ(destino.pixelColor(2, 1), QColor(Qt::white)) << "key colour copied";
    EXPECT_EQ(destino.pixelColor(3, 2), b);
    EXPECT_EQ(destino.pixelColor(1, 3), QColor(Qt::white)) << "last row copied";
    EXPECT_EQ(destino.pixelColor(0, 0), QColor(Qt::white));

    // Off the target's edges nothing is drawn and nothing fails; no refresh asked, none done.
    QImage pequeno(2, 2, QImage::Format_RGB32);
    pequeno.fill(Qt::white);
    CopiaPixelsTransparente(origem, pequeno, 0xFF00FF, -2, -1, false, [&] { ++chamadas; });
    EXPECT_EQ(chamadas, 1);
    EXPECT_EQ(pequeno.pixelColor(0, 0), b);    // source (2, 1)
    EXPECT_EQ(pequeno.pixelColor(1, 0), QColor(Qt::white));

    // A one-row source still copies its row 0.
    QImage linha(2, 1, QImage::Format_RGB32);
    linha.fill(b);
    QImage alvo(2, 2, QImage::Format_RGB32);
    alvo.fill(Qt::white);
    CopiaPixelsTransparente(linha, alvo, 0xFF00FF, 0, 0, false);
    EXPECT_EQ(alvo.pixelColor(1, 0), b);
    EXPECT_EQ(alvo.pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(Imagens, PixelColourReadsAsBlueGreenRed) {
    QImage img(1, 1, QImage::Format_RGB32);
    img.setPixelColor(0, 0, QColor(0xDA, 0x25, 0x1D));
    EXPECT_EQ(CorPixel(img, 0, 0), 1910234);
    EXPECT_EQ(CorPixel(img, 1, 0), -1);
}

// --- Header words ---------------------------------------------------------------------------

TEST(ImagensPalavras, AreSignExtendedSixteenBitWords) {
    const std::vector<std::uint8_t> b = {0xFF, 0x7F, 0x00, 0x80, 0x40, 0x9C, 0x01};
    EXPECT_EQ(PalavraLE(0, b), 32767);
    EXPECT_EQ(PalavraBE(0, b), -129);
    EXPECT_EQ(PalavraLE(2, b), -32768);
    EXPECT_EQ(PalavraBE(2, b), 128);
    EXPECT_EQ(PalavraLE(4, b), -25536);   // 40000
    EXPECT_EQ(PalavraBE(5, b), -25599);   // 0x9C01
    for (long fora : {-1L, 6L, 7L}) {
        try {
            PalavraLE(fora, b);
            ADD_FAILURE() << "position " << fora;
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), vb::err::SubscriptOutOfRange);
        }
        EXPECT_THROW(PalavraBE(fora, b), vb::Error);
    }
}

// --- Image headers --------------------------------------------------------------------------

using Bytes = std::vector<std::uint8_t>;

void Poe16BE(Bytes& b, std::size_t i, unsigned v) { b[i] = (v >> 8) & 0xFF; b[i + 1] = v & 0xFF; }
void Poe16LE(Bytes& b, std::size_t i, unsigned v) { b[i] = v & 0xFF; b[i + 1] = (v >> 8) & 0xFF; }
void Poe32BE(Bytes& b, std::size_t i, unsigned v) { Poe16BE(b, i, v >> 16); Poe16BE(b, i + 2, v & 0xFFFF); }
void Poe32LE(Bytes& b, std::size_t i, unsigned v) { Poe16LE(b, i, v & 0xFFFF); Poe16LE(b, i + 2, v >> 16); }

Bytes Png(unsigned w, unsigned h) {
    Bytes b = {137, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    b.resize(33, 0);
    Poe32BE(b, 16, w);
    Poe32BE(b, 20, h);
    return b;
}

Bytes Gif(unsigned w, unsigned h) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    b.resize(13, 0);
    Poe16LE(b, 6, w);
    Poe16LE(b, 8, h);
    return b;
}

Bytes Bmp(unsigned w, unsigned h) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Poe32LE(b, 14, 40);
    Poe32LE(b, 18, w);
    Poe32LE(b, 22, h);
    return b;
}

// Start of image, the segments given, then the frame header `sof` and some scan data.
Bytes Jpeg(const std::vector<Bytes>& segmentos, std::uint8_t sof, unsigned w, unsigned h) {
    Bytes b = {0xFF, 0xD8};
    for (const Bytes& s : segmentos) b.insert(b.end(), s.begin(), s.end());
    Bytes quadro = {0xFF, sof, 0, 17, 8, 0, 0, 0, 0, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
    Poe16BE(quadro, 5, h);
    Poe16BE(quadro, 7, w);
    b.insert(b.end(), quadro.begin(), quadro.end());
    b.resize(b.size() + 24, 0x55);
    b.push_back(0xFF);
    b.push_back(0xD9);
    return b;
}

Bytes Segmento(std::uint8_t marcador, std::size_t comprimento) {
    Bytes s(comprimento + 2, 0x20);
    s[0] = 0xFF;
    s[1] = marcador;
    Poe16BE(s, 2, static_cast<unsigned>(comprimento));
    return s;
}

Bytes App0() {
    Bytes s = Segmento(0xE0, 16);
    const char jfif[] = "JFIF";
    for (int i = 0; i < 5; ++i) s[4 + i] = static_cast<std::uint8_t>(jfif[i]);
    return s;
}

Bytes Texto(const std::string& t) { return Bytes(t.begin(), t.end()); }

struct Cabecalho {
    const char* caso;
    Bytes bytes;
    bool reconhecido;
    const char* tipo;
    std::int32_t largura, altura;
};

void PrintTo(const Cabecalho& c, std::ostream* os) { *os << c.caso; }

std::vector<Cabecalho> Cabecalhos() {
    Bytes ffAntes = Jpeg({App0()}, 0xC0, 320, 240);
    // Fill bytes before a marker are stepped over one at a time.
    ffAntes.insert(ffAntes.begin() + 2 + App0().size(), {0xFF, 0xFF});
    Bytes lixoAntes = Texto("junk");
    const Bytes j = Jpeg({}, 0xC0, 64, 32);
    lixoAntes.insert(lixoAntes.end(), j.begin(), j.end());
    // An application segment that says 60000 bytes in a file of a few dozen.
    Bytes longo = {0xFF, 0xD8, 0xFF, 0xE0, 0xEA, 0x60};
    longo.resize(40, 0x20);
    const Bytes quadro = Jpeg({}, 0xC0, 5, 5);
    longo.insert(longo.end(), quadro.begin() + 2, quadro.end());
    Bytes gifCurto = Gif(300, 200);
    gifCurto.resize(8);
    return {
        {"gif 320 x 200", Gif(320, 200), true, "gif", 320, 200},
        {"png 640 x 480", Png(640, 480), true, "png", 640, 480},
        {"png wider than 65535 keeps the low 16 bits", Png(70000, 10), true, "png", 4464, 10},
        {"png of height 40000 comes out negative", Png(10, 40000), true, "png", 10, -25536},
        {"bmp 100 x 50", Bmp(100, 50), true, "bmp", 100, 50},
        {"bmp of height 40000 comes out negative", Bmp(100, 40000), true, "bmp", 100, -25536},
        {"jpeg with an application segment first", Jpeg({App0()}, 0xC0, 640, 480), true, "jpg", 640, 480},
        {"jpeg whose frame follows a 40000-byte segment", Jpeg({App0(), Segmento(0xE1, 40000)}, 0xC0, 800, 600),
         true, "jpg", 800, 600},
        {"jpeg frame right after the start", Jpeg({}, 0xC0, 64, 32), true, "jpg", 64, 32},
        {"progressive jpeg (SOF2)", Jpeg({App0()}, 0xC2, 1024, 768), true, "jpg", 1024, 768},
        {"lossless jpeg (SOF3)", Jpeg({App0()}, 0xC3, 12, 34), true, "jpg", 12, 34},
        {"jpeg SOF5 is not recognised", Jpeg({App0()}, 0xC5, 640, 480), false, "", 0, 0},
        {"jpeg 50000 wide comes out negative", Jpeg({App0()}, 0xC0, 50000, 10), true, "jpg", -15536, 10},
        {"jpeg with fill bytes before a marker", ffAntes, true, "jpg", 320, 240},
        {"jpeg after leading junk", lixoAntes, true, "jpg", 64, 32},
        {"jpeg whose segment runs past the end", longo, false, "", 0, 0},
        {"text file", Texto("Isto não é uma imagem, só um texto qualquer.\n"), false, "", 0, 0},
        {"empty file", Bytes{}, false, "", 0, 0},
        {"two bytes", Bytes{0xFF, 0xD8}, false, "", 0, 0},
        {"start of image only", Bytes{0xFF, 0xD8, 0xFF}, false, "", 0, 0},
        // The width is read before the height runs past the end: the read stops there.
        {"gif cut inside its height", gifCurto, false, "", 300, 0},
    };
}

class ImagensDimensoes : public ::testing::TestWithParam<Cabecalho> {};

TEST_P(ImagensDimensoes, ReadFromTheHeader) {
    const Cabecalho& c = GetParam();
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const std::string caminho = pasta.filePath(QStringLiteral("imagem")).toStdString();
    {
        std::ofstream f(caminho, std::ios::binary);
        f.write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
    }
    DimensoesImagem d;
    d.Altura = d.Largura = d.TamanhoArquivo = 77;
    std::string tipo = "old";
    EXPECT_EQ(ObtemDimensoesImagem(caminho, d, tipo), c.reconhecido);
    EXPECT_EQ(tipo, c.tipo);
    EXPECT_EQ(d.Largura, c.largura);
    EXPECT_EQ(d.Altura, c.altura);
    EXPECT_EQ(d.TamanhoArquivo, static_cast<std::int32_t>(c.bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Arquivos, ImagensDimensoes, ::testing::ValuesIn(Cabecalhos()));

TEST(ImagensDimensoesArquivo, AMissingFileOrAFolderGivesFalse) {
    DimensoesImagem d;
    d.Largura = 5;
    std::string tipo = "png";
    EXPECT_FALSE(ObtemDimensoesImagem("/nonexistent/folder/foto.jpg", d, tipo));
    EXPECT_EQ(tipo, "");
    EXPECT_EQ(d.Largura, 0);
    EXPECT_EQ(d.TamanhoArquivo, 0);

    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    EXPECT_FALSE(ObtemDimensoesImagem(pasta.path().toStdString(), d, tipo)) << "a folder";
    EXPECT_EQ(tipo, "");
}

// The pictures the generator writes are measured like any photo.
TEST_F(Imagens, GeneratedPicturesMeasureAsPng) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString caminho = pasta.filePath(QStringLiteral("f.png"));
    ASSERT_TRUE(Carrega("FOTOPRODUTOFUNDO", "G").save(caminho, "PNG"));
    DimensoesImagem d;
    std::string tipo;
    EXPECT_TRUE(ObtemDimensoesImagem(caminho.toStdString(), d, tipo));
    EXPECT_EQ(tipo, "png");
    EXPECT_EQ(d.Largura, 190);
    EXPECT_EQ(d.Altura, 165);
}

}  // namespace
