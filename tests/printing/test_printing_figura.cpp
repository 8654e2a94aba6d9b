// The figure page printout: the picture scaled to about a point per pixel and the item
// numbers on it, bold when applicable, italic when not.
#include "tests/printing/ImpressaoFixture.h"

#include <gmock/gmock.h>

#include <QRegularExpression>

#include <sys/stat.h>

#include <algorithm>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using teste::Impressao;
using teste::LinhaEm;
using teste::Palavras;

class ImpressaoFigura : public Impressao {
protected:
    void SetUp() override
    {
        Impressao::SetUp();
        QDir().mkpath(QString::fromStdString(pasta_.Caminho() + "Figuras"));
        // The catalogue names the file in another case than the disk has it.
        ASSERT_TRUE(QFile::copy(QString::fromStdString(teste::kDemo + "/Figuras/FG001_01.png"),
                                QString::fromStdString(pasta_.Caminho() + "Figuras/fig_teste.png")));
        QFile corrompida(QString::fromStdString(pasta_.Caminho() + "Figuras/corrompida.png"));
        ASSERT_TRUE(corrompida.open(QIODevice::WriteOnly));
        corrompida.write("\x89PNG nada mais");
        corrompida.close();
        // A FIFO that nothing writes to: reading it would wait for good.
        ASSERT_EQ(::mkfifo((pasta_.Caminho() + "Figuras/fifo.png").c_str(), 0600), 0);
        {
            teste::Escrita e;
            for (int conjunto : {900, 901, 902, 903})
                e.Executa("INSERT INTO CONJUNTO (CodigoConjunto,CodigoAplicacao) VALUES (" + std::to_string(conjunto) +
                          ",99000)");
            e.Executa("INSERT INTO APLICACAO_PRODUTO (CodigoAplicacao,CodigoProduto) VALUES (99000,99101)");
            // Set 900: "7" applicable, "107" not, "12" with one row of each; page 2's file is missing.
            Item(e, 900, 1, "FIG_TESTE.PNG", "7", 100, 80, {99101});
            Item(e, 900, 1, "FIG_TESTE.PNG", "107", 300, 200, {99102});
            Item(e, 900, 1, "FIG_TESTE.PNG", "12", 450, 300, {99101, 99102});
            Item(e, 900, 2, "nao_existe.png", "1", 10, 10, {99101});
            Item(e, 900, 3, "corrompida.png", "1", 10, 10, {99102});
            Item(e, 900, 4, "fifo.png", "1", 10, 10, {});
            Item(e, 901, 1, "fig_teste.png", "5", 50, 50, {99101});
            Item(e, 902, 1, "fig_teste.png", "6", 50, 50, {99102});
            Item(e, 903, 1, "fig_teste.png", "12", 50, 50, {99101, 99102});
        }
    }
    static void Item(teste::Escrita& e, int conjunto, int parte, const std::string& arquivo, const std::string& item,
                     int esquerda, int topo, const std::vector<long>& produtos)
    {
        e.Executa("INSERT INTO FIGURADETALHADA1 (CodigoConjunto,NumeroParteFigura,ArquivoFigura,ItemFigura,PosicaoLeft,"
                  "PosicaoTop) VALUES (" + std::to_string(conjunto) + "," + std::to_string(parte) + ",'" + arquivo + "','" +
                  item + "'," + std::to_string(esquerda) + "," + std::to_string(topo) + ")");
        for (long p : produtos)
            e.Executa("INSERT INTO CONJUNTO_PRODUTO1 (CodigoConjunto,CodigoAplicacao,CodigoProduto,ItemFigura) VALUES (" +
                      std::to_string(conjunto) + ",99000," + std::to_string(p) + ",'" + item + "')");
    }
    static double CentroX(const teste::Palavra& p) { return (p.x + p.xMax) / 2; }
    // Printer pixels of 600 dpi in points on the page.
    static double PontosPixel(double pixels) { return 18.0 + pixels * 72.0 / 600.0; }
};

TEST_F(ImpressaoFigura, FiguraEscaladaComItensNoMeioDosMarcadores)
{
    teste::DialogoPdf dialogo(Arquivo("figura.pdf"));
    ImprimirFigura(900, 1, teste::kAplicacao);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
    ASSERT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 1);
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    EXPECT_EQ(LinhaEm(palavras, 1, Palavras(palavras, 1, "Figura")[0].y),
              "Figura - Motor de Teste Fabricante: Fabricante Teste");
    EXPECT_FALSE(vb::Printer().FontBold());
    EXPECT_FALSE(vb::Printer().FontItalic());

    // 600 dpi: k = 8 printer pixels per picture pixel, so the picture prints at 75 per inch.
    const std::string imagens = teste::Executa("pdfimages", {"-list", QString::fromStdString(dialogo.Arquivo())});
    const auto linhas = QString::fromStdString(imagens).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 3) << imagens;
    const QStringList campos = linhas[2].split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    EXPECT_EQ(campos[3].toInt(), 565);
    EXPECT_EQ(campos[4].toInt(), 390);
    EXPECT_EQ(campos[12].toInt(), 75) << imagens;

    // Each number is centred on its marker's middle (12 picture pixels in), one-digit and
    // three-digit alike, and stands at the marker's top.
    const double x0 = 333;   // 200 units
    struct CasoItem {
        const char* item;
        int esquerda, topo;
    };
    const auto sete = Palavras(palavras, 1, "7");
    ASSERT_EQ(sete.size(), 1u);
    for (const CasoItem c : {CasoItem{"7", 100, 80}, CasoItem{"107", 300, 200}, CasoItem{"12", 450, 300}}) {
        const auto p = Palavras(palavras, 1, c.item);
        ASSERT_EQ(p.size(), 1u) << c.item << ": printed once";
        EXPECT_NEAR(CentroX(p[0]), PontosPixel(x0 + 8 * (c.esquerda + 12)), 3.0) << c.item;
        EXPECT_NEAR(p[0].y - sete[0].y, 8 * (c.topo - 80) * 72.0 / 600.0, 1.0) << c.item;
    }
    GuardaImagem(dialogo.Arquivo(), 1, "figura_itens");
}

struct CasoResolucao {
    int dpi;
    int k;   // printer pixels per picture pixel
};

TEST_F(ImpressaoFigura, EscalaDaFiguraEmPixelsInteirosPorPonto)
{
    // k = 5 x EscalaImpressao = dpi / 72 as a whole number, halves to the even neighbour:
    // 180 dpi gives 2.5 and so 2; 108 dpi 1.5 and so 2; 1200 dpi 16.67 and so 17.
    for (const CasoResolucao c : {CasoResolucao{180, 2}, CasoResolucao{108, 2}, CasoResolucao{1200, 17}}) {
        teste::DialogoPdf dialogo(Arquivo("escala" + std::to_string(c.dpi) + ".pdf"), c.dpi);
        ImprimirFigura(901, 1, teste::kAplicacao);
        ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
        const std::string imagens = teste::Executa("pdfimages", {"-list", QString::fromStdString(dialogo.Arquivo())});
        const auto linhas = QString::fromStdString(imagens).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(linhas.size(), 3) << imagens;
        const QStringList campos = linhas[2].split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        // The picture's pixels per inch on paper: the printer's dots per inch over k.
        EXPECT_EQ(campos[12].toInt(), qRound(double(c.dpi) / c.k)) << c.dpi << "\n" << imagens;
    }
}

struct CasoEstilo {
    int conjunto;
    bool negrito, italico;
};

TEST_F(ImpressaoFigura, NegritoSeAplicavelItalicoSeNao)
{
    for (const CasoEstilo c : {CasoEstilo{901, true, false}, CasoEstilo{902, false, true}, CasoEstilo{903, true, false}}) {
        teste::DialogoPdf dialogo(Arquivo("estilo" + std::to_string(c.conjunto) + ".pdf"));
        ImprimirFigura(c.conjunto, 1, teste::kAplicacao);
        ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
        const std::string fontes = teste::FontesPdf(dialogo.Arquivo());
        EXPECT_EQ(fontes.find("LiberationSans-Bold") != std::string::npos, c.negrito) << c.conjunto << fontes;
        EXPECT_EQ(fontes.find("LiberationSans-Italic") != std::string::npos, c.italico) << c.conjunto << fontes;
    }
}

TEST_F(ImpressaoFigura, PaginaSemItensNaoImprimeNada)
{
    teste::DialogoPdf dialogo(Arquivo("sem.pdf"));
    ImprimirFigura(900, 9, teste::kAplicacao);
    EXPECT_EQ(caixas_.Count(), 0u);
    EXPECT_FALSE(Existe(dialogo.Arquivo()));
    EXPECT_FALSE(vb::Printer().DocumentOpen());
}

struct CasoFiguraRuim {
    int parte;
    long erro;
    const char* arquivo;
};

TEST_F(ImpressaoFigura, FiguraAusenteOuIlegivelMostraOErroDepoisDoCabecalho)
{
    for (const CasoFiguraRuim c : {CasoFiguraRuim{2, 53, "nao_existe.png"}, CasoFiguraRuim{3, 481, "corrompida.png"},
                                   CasoFiguraRuim{4, 53, "fifo.png"}}) {
        caixas_.Clear();
        teste::DialogoPdf dialogo(Arquivo("ruim" + std::to_string(c.parte) + ".pdf"));
        ImprimirFigura(900, static_cast<std::uint8_t>(c.parte), teste::kAplicacao);
        ASSERT_EQ(caixas_.Count(), 1u) << c.arquivo;
        EXPECT_THAT(caixas_.Last().prompt, HasSubstr(std::to_string(c.erro)));
        EXPECT_THAT(caixas_.Last().prompt, HasSubstr(c.arquivo));
        EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
        EXPECT_FALSE(vb::Printer().DocumentOpen());
        EXPECT_FALSE(vb::Printer().FontBold());
        const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
        EXPECT_EQ(LinhaEm(palavras, 1, Palavras(palavras, 1, "Figura")[0].y),
                  "Figura - Motor de Teste Fabricante: Fabricante Teste");
        EXPECT_EQ(Palavras(palavras, 1, "1").size(), 1u) << "the page line's only: no item without its picture";
    }
}

TEST_F(ImpressaoFigura, DialogoCanceladoNaoImprime)
{
    teste::DialogoPdf dialogo(Arquivo("cancelado.pdf"));
    dialogo.cancela = true;
    ImprimirFigura(900, 1, teste::kAplicacao);
    ImprimirLista(ListaImpressao{});
    EXPECT_EQ(dialogo.vezes, 2);
    EXPECT_EQ(caixas_.Count(), 0u);
    EXPECT_FALSE(Existe(dialogo.Arquivo()));
}

TEST_F(ImpressaoFigura, PaginaDeFiguraDoCatalogoDeDemonstracao)
{
    // The demo catalogue's first set, printed as it comes, for a look at the rendering.
    for (const QString& f : QDir(QString::fromStdString(teste::kDemo + "/Figuras")).entryList({"FG001_*"}))
        QFile::copy(QString::fromStdString(teste::kDemo + "/Figuras/") + f,
                    QString::fromStdString(pasta_.Caminho() + "Figuras/") + f);
    const long aplicacao = ObtemValorSQL("SELECT CodigoAplicacao FROM CONJUNTO WHERE CodigoConjunto = 1", 0).ToLong();
    ASSERT_GT(aplicacao, 0);
    teste::DialogoPdf dialogo(Arquivo("demo.pdf"));
    ImprimirFigura(1, 1, aplicacao);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    std::vector<std::string> itens;
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
        "SELECT ItemFigura FROM FIGURADETALHADA1 WHERE CodigoConjunto = 1 AND NumeroParteFigura = 1");
    for (; !rs.Eof(); rs.MoveNext()) itens.push_back(rs.Value("ItemFigura").ToString());
    rs.Close();
    ASSERT_FALSE(itens.empty());
    std::sort(itens.begin(), itens.end());
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    const double fimCabecalho = Palavras(palavras, 1, Traduz(61))[0].yMax;
    std::vector<std::string> impressos;
    for (const auto& p : palavras)
        if (p.y > fimCabecalho) impressos.push_back(p.texto);
    std::sort(impressos.begin(), impressos.end());
    EXPECT_EQ(impressos, itens) << "every item of the page, once, on the figure";
    GuardaImagem(dialogo.Arquivo(), 1, "figura_demo");
}

}  // namespace
