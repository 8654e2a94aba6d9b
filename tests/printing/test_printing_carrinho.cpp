// Printer set-up, the page header and the cart printout, printed to PDF and read back.
#include "tests/printing/ImpressaoFixture.h"

#include <gmock/gmock.h>

#include <cmath>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using teste::Impressao;
using teste::LinhaEm;
using teste::Palavras;

TEST_F(Impressao, DialogoCanceladoNaoImprimeNemAvisaEDeixaORecordsetAberto)
{
    teste::DialogoPdf dialogo(Arquivo("cancelado.pdf"));
    dialogo.cancela = true;
    EXPECT_FALSE(ConfiguraImpressora(1));

    dao::Recordset rs = Recordset({{teste::kComTresReferencias, "12-34-5678", "Filtro", {}, {}, {}, 2},
                                   {teste::kSemNumero, "", "Junta", {}, {}, {}, 1}});
    rs.MoveNext();
    dao::Recordset chamador = rs;
    ImprimirCarrinho(chamador);
    EXPECT_EQ(dialogo.vezes, 2);
    EXPECT_EQ(dialogo.ultimasFlags, 0x14000C);
    EXPECT_EQ(caixas_.Count(), 0u) << "a cancel is not an error";
    EXPECT_FALSE(Existe(dialogo.Arquivo()));
    ASSERT_FALSE(chamador.IsNothing());
    EXPECT_TRUE(chamador.IsOpen());
    EXPECT_EQ(chamador.AbsolutePosition(), 1) << "the recordset is left untouched";
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(Impressao, SemImpressoraOErroEMostradoENadaSeImprime)
{
    vb::ScopedPrinterDialog dialogo([](QPrinter& printer, long, const vb::PrinterDialogTexts&) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName("Impressora Que Nao Existe");
        printer.setOutputFileName(QString());
        return true;
    });
    dao::Recordset rs = Recordset({{teste::kSemNumero, "", "Junta", {}, {}, {}, 1}});
    ImprimirCarrinho(rs);
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_THAT(caixas_.Last().prompt, HasSubstr(std::to_string(vb::err::PrinterError)));
    EXPECT_TRUE(rs.IsOpen()) << "nothing was printed, the caller keeps its rows";
    EXPECT_FALSE(vb::Printer().Ready());
    EXPECT_FALSE(vb::Printer().DocumentOpen());
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

// The missing printer speaks the program's language; the printer dialog is the platform's
// (it speaks the system's) and is given only the PDF output's proposed file name.
TEST_F(Impressao, AFaltaDeImpressoraFalaOIdiomaDoPrograma)
{
    struct Caso {
        const char* idioma;
        const char* semImpressora;
    };
    const Caso casos[] = {
        {"P", "Nenhuma impressora disponível"},
        {"E", "Ninguna impresora disponible"},
        {"I", "No printer is available"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.idioma);
        EstadoPrograma.Idioma = c.idioma;
        caixas_.Clear();
        {
            teste::DialogoPdf dialogo(Arquivo("idioma.pdf"));
            dialogo.cancela = true;
            EXPECT_FALSE(ConfiguraImpressora(1));
            EXPECT_EQ(dialogo.ultimosTextos.pdfFileName, "ZORNAK.pdf");
        }
        vb::ScopedPrinterDialog semImpressora([](QPrinter& printer, long, const vb::PrinterDialogTexts&) {
            printer.setOutputFormat(QPrinter::NativeFormat);
            printer.setPrinterName("Impressora Que Nao Existe");
            printer.setOutputFileName(QString());
            return true;
        });
        EXPECT_FALSE(ConfiguraImpressora(1));
        ASSERT_EQ(caixas_.Count(), 1u);
        EXPECT_THAT(caixas_.Last().prompt, HasSubstr(c.semImpressora));
        EXPECT_THAT(caixas_.Last().prompt, HasSubstr(Traduz(1)));
    }
    EstadoPrograma.Idioma = "P";
}

struct CasoEscala {
    int dpi;
    double escala;
};

TEST_F(Impressao, EscalaDaImpressoraPorResolucao)
{
    for (const CasoEscala c : {CasoEscala{600, 4.0 / 2.4}, CasoEscala{1200, 4.0 / 1.2}, CasoEscala{300, 4.0 / 4.8}}) {
        teste::DialogoPdf dialogo(Arquivo("escala.pdf"), c.dpi);
        ASSERT_TRUE(ConfiguraImpressora(2));
        EXPECT_NEAR(EscalaImpressao(), c.escala, 1e-9) << c.dpi;
        EXPECT_EQ(vb::Printer().Orientation(), 2);
        EXPECT_EQ(vb::Printer().ScaleMode(), vb::vbPixels);
        EXPECT_EQ(vb::Printer().FontName(), "Arial");
    }
    // A font the system lacks is ignored: the printer keeps its font and printing goes on.
    teste::DialogoPdf dialogo(Arquivo("fonte.pdf"));
    EXPECT_TRUE(ConfiguraImpressora(1, "No Such Face 123"));
    EXPECT_EQ(vb::Printer().FontName(), "Arial");
    EXPECT_EQ(caixas_.Count(), 0u);
}

TEST_F(Impressao, CabecalhoEmArialComPaginaDaImpressoraEFonteRestaurada)
{
    teste::DialogoPdf dialogo(Arquivo("cabecalho.pdf"));
    ASSERT_TRUE(ConfiguraImpressora(1));
    vb::Printer().SetFontName("DejaVu Sans");
    ImprimirCabecalho("Documento de Teste", false);
    EXPECT_EQ(vb::Printer().FontName(), "DejaVu Sans") << "the font in force before the header is back";
    EXPECT_EQ(vb::Printer().FontSize(), 7);
    ImprimirCabecalho("Documento de Teste", true);
    ImprimirCabecalho("Documento de Teste", true);
    vb::Printer().EndDoc();

    ASSERT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 3);
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    for (int pagina = 1; pagina <= 3; ++pagina) {
        const auto pag = Palavras(palavras, pagina);
        ASSERT_GE(pag.size(), 3u);
        // Left margin: 200 units, at printer pixel 333 of 600 dpi.
        EXPECT_NEAR(pag.front().x, Pontos(200), 0.6);
        EXPECT_NEAR(pag.front().y, Pontos(150), 3.0);
        const std::string primeira = LinhaEm(palavras, pagina, pag.front().y);
        EXPECT_EQ(primeira, Traduz(0) + " 1.0 Emissão: 01/12/2026");
        const auto titulo = Palavras(palavras, pagina, "Documento");
        ASSERT_EQ(titulo.size(), 1u);
        EXPECT_NEAR(titulo[0].x, Pontos(200), 0.6);
        EXPECT_EQ(LinhaEm(palavras, pagina, titulo[0].y), "Documento de Teste");
        const auto linhaPagina = Palavras(palavras, pagina, Traduz(61));
        ASSERT_EQ(linhaPagina.size(), 1u);
        EXPECT_GT(linhaPagina[0].y, titulo[0].y);
        EXPECT_EQ(LinhaEm(palavras, pagina, linhaPagina[0].y), Traduz(61) + " " + std::to_string(pagina));
    }
    const std::string fontes = teste::FontesPdf(dialogo.Arquivo());
    EXPECT_THAT(fontes, HasSubstr("LiberationSans"));
    EXPECT_THAT(fontes, Not(HasSubstr("DejaVu")));
}

TEST_F(Impressao, CarrinhoComReferenciasUmaPorLinha)
{
    teste::DialogoPdf dialogo(Arquivo("carrinho.pdf"));
    dao::Recordset rs = Recordset({{teste::kComTresReferencias, "12-34-5678", "Filtro de Óleo Teste", {}, {}, {}, 3},
                                   {teste::kSemNumero, "", "Junta Sem Número", {}, {}, {}, 12}});
    dao::Recordset outra = rs;   // the caller's other reference to the same recordset
    ImprimirCarrinho(rs);
    EXPECT_EQ(caixas_.Count(), 0u) << (caixas_.Count() ? caixas_.Last().prompt : "");
    EXPECT_TRUE(rs.IsNothing()) << "the caller's reference is emptied";
    EXPECT_FALSE(outra.IsOpen()) << "and the recordset is closed";
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);

    ASSERT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 1);
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    GuardaImagem(dialogo.Arquivo(), 1, "carrinho");

    // The title: message 36, " - " and the date and time.
    const auto titulo = Palavras(palavras, 1, Traduz(36));
    ASSERT_EQ(titulo.size(), 1u);
    EXPECT_THAT(LinhaEm(palavras, 1, titulo[0].y), testing::MatchesRegex("Carrinho - [0-9]{2}-[A-Z]{3}-[0-9]{4} [0-9:]{8}"));

    // The headings: bold italic, at 200, 550, 1750 and 2000 units.
    const auto qtd = Palavras(palavras, 1, Traduz(59));
    ASSERT_EQ(qtd.size(), 1u);
    EXPECT_NEAR(qtd[0].x, Pontos(1750), 0.6);
    EXPECT_EQ(LinhaEm(palavras, 1, qtd[0].y), "Nº ZORNAK Descrição Qtd Nº Referência");

    // The part with three references: three lines, all columns on the first only.
    const auto numero = Palavras(palavras, 1, "12-34-5678");
    ASSERT_EQ(numero.size(), 1u);
    EXPECT_NEAR(numero[0].x, Pontos(200), 0.6);
    EXPECT_EQ(LinhaEm(palavras, 1, numero[0].y), "12-34-5678 Filtro de Óleo Teste 3 REF1000 (FTE)");
    const auto quantidade = Palavras(palavras, 1, "3");
    ASSERT_EQ(quantidade.size(), 1u);
    EXPECT_GT(quantidade[0].x, Pontos(1750) + 1.0) << "a blank stands where the sign would be";
    for (int i = 1; i < 3; ++i) {
        const auto ref = Palavras(palavras, 1, teste::Referencia(i));
        ASSERT_EQ(ref.size(), 1u) << i;
        EXPECT_NEAR(ref[0].x, Pontos(2000), 0.6);
        EXPECT_EQ(LinhaEm(palavras, 1, ref[0].y), teste::Referencia(i) + " (FTE)") << "only the reference";
    }
    // The part without a number or references: its code, one line.
    const auto cod = Palavras(palavras, 1, "(COD:" + std::to_string(teste::kSemNumero) + ")");
    ASSERT_EQ(cod.size(), 1u);
    EXPECT_EQ(LinhaEm(palavras, 1, cod[0].y), cod[0].texto + " Junta Sem Número 12");
    const double passoReferencia = Palavras(palavras, 1, teste::Referencia(1))[0].y - numero[0].y;
    const double passoLinha = cod[0].y - Palavras(palavras, 1, teste::Referencia(2))[0].y;
    EXPECT_NEAR(passoLinha - passoReferencia, 25 * 0.2, 0.3) << "25 units more before each cart row";
}

TEST_F(Impressao, TamanhosEEstilosDoCabecalhoDosTitulosEDoCorpo)
{
    teste::DialogoPdf dialogo(Arquivo("fontes.pdf"));
    dao::Recordset rs = Recordset({{teste::kComTresReferencias, "12-34-5678", "Filtro de Óleo Teste", {}, {}, {}, 3}});
    ImprimirCarrinho(rs);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    const auto altura = [&](const std::string& texto) {
        const auto p = Palavras(palavras, 1, texto);
        return p.empty() ? 0.0 : p[0].yMax - p[0].y;
    };
    // The word boxes grow with the font size: 12 points for the title line, 10 for the
    // document title, the headings and the body, 7 for the page line.
    const double corpo = altura("12-34-5678");
    ASSERT_GT(corpo, 0);
    struct CasoTamanho {
        std::string texto;
        double pontos;
    };
    for (const CasoTamanho& c : {CasoTamanho{"Catálogo", 12}, CasoTamanho{"1.0", 12}, CasoTamanho{Traduz(36), 10},
                                 CasoTamanho{Traduz(61), 7}, CasoTamanho{Traduz(59), 10}, CasoTamanho{"REF1000", 10}})
        EXPECT_NEAR(altura(c.texto) / corpo, c.pontos / 10, 0.03) << c.texto;
    // Only the headings are bold, and they are italic too.
    const std::string fontes = teste::FontesPdf(dialogo.Arquivo());
    EXPECT_THAT(fontes, HasSubstr("LiberationSans-BoldItalic"));
    EXPECT_THAT(fontes, HasSubstr("LiberationSans "));
    EXPECT_THAT(fontes, Not(HasSubstr("LiberationSans-Bold ")));
    EXPECT_THAT(fontes, Not(HasSubstr("LiberationSans-Italic ")));
}

TEST_F(Impressao, CarrinhoLongoContinuaNaPaginaSeguinte)
{
    // A part with sixty references runs past the page: on page 2 its columns come again
    // beside the next reference, under the header and the headings.
    teste::DialogoPdf dialogo(Arquivo("longo.pdf"));
    std::vector<Linha> linhas;
    for (int i = 0; i < 5; ++i) linhas.push_back({teste::kSemNumero, "", "Junta " + std::to_string(i), {}, {}, {}, 1});
    linhas.push_back({teste::kSessentaReferencias, "87-65-4321", "Bomba Muitas Referências", {}, {}, {}, 4});
    dao::Recordset rs = Recordset(linhas);
    ImprimirCarrinho(rs);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    ASSERT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 2);
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    GuardaImagem(dialogo.Arquivo(), 2, "carrinho_pagina2");

    EXPECT_EQ(Palavras(palavras, 1, "87-65-4321").size(), 1u);
    const auto naSegunda = Palavras(palavras, 2, "87-65-4321");
    ASSERT_EQ(naSegunda.size(), 1u);
    const std::string linha = LinhaEm(palavras, 2, naSegunda[0].y);
    EXPECT_THAT(linha, testing::MatchesRegex("87-65-4321 Bomba Muitas Referências 4 REF1[0-9]{3} \\(FTE\\)"));
    // The reference beside it is the one after the last of page 1: none lost, none twice.
    int vistas = 0;
    for (int i = 0; i < 60; ++i) {
        const auto ref = teste::Referencia(100 + i);
        const size_t n = Palavras(palavras, 1, ref).size() + Palavras(palavras, 2, ref).size();
        EXPECT_EQ(n, 1u) << ref;
        vistas += static_cast<int>(n);
    }
    EXPECT_EQ(vistas, 60);
    // Page 2 has the header with its page number and the headings above the rows.
    EXPECT_EQ(LinhaEm(palavras, 2, Palavras(palavras, 2, Traduz(61))[0].y), Traduz(61) + " 2");
    const auto titulos = Palavras(palavras, 2, Traduz(59));
    ASSERT_EQ(titulos.size(), 1u);
    EXPECT_LT(titulos[0].y, naSegunda[0].y);
    // Page 1 breaks past 3400 units (9.44 inches from the printable top): its last line lies
    // below that, and no line lies a line further.
    double ultimaY = 0;
    for (const auto& p : Palavras(palavras, 1)) ultimaY = std::max(ultimaY, p.y);
    EXPECT_GT(ultimaY, Pontos(3400) - 14);
    EXPECT_LT(ultimaY, Pontos(3400) + 14);
}

TEST_F(Impressao, CarrinhoVazioNaoImprimePagina)
{
    teste::DialogoPdf dialogo(Arquivo("vazio.pdf"));
    dao::Recordset rs = Recordset({});
    ImprimirCarrinho(rs);
    EXPECT_EQ(caixas_.Count(), 0u);
    EXPECT_TRUE(rs.IsNothing());
    EXPECT_FALSE(Existe(dialogo.Arquivo()));
    EXPECT_FALSE(vb::Printer().DocumentOpen());
}

TEST_F(Impressao, ErroNoMeioMostraOErroETerminaODocumentoSemContaminarOProximo)
{
    teste::DialogoPdf dialogo(Arquivo("erro.pdf"));
    Recordset({{teste::kComTresReferencias, "12-34-5678", "Filtro", {}, {}, {}, 2}});
    // A recordset without the quantity: the first row fails after the header.
    dao::Recordset rs = fixture_.OpenRecordset("SELECT CodigoProduto, NumeroEmpresaFormatado, DescricaoProduto FROM Linhas");
    ImprimirCarrinho(rs);
    ASSERT_EQ(caixas_.Count(), 1u);
    EXPECT_THAT(caixas_.Last().prompt, HasSubstr(std::to_string(dao::jet::ItemNotFound)));
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
    ASSERT_FALSE(rs.IsNothing()) << "the recordset is left as it was at the error";
    EXPECT_TRUE(rs.IsOpen());
    EXPECT_FALSE(vb::Printer().DocumentOpen()) << "the pages drawn so far went out";
    EXPECT_THAT(teste::TextoPdf(dialogo.Arquivo()), HasSubstr(Traduz(36) + " - "));

    // The next printout is a document of its own.
    dialogo.Para(Arquivo("seguinte.pdf"));
    dao::Recordset bom = Recordset({{teste::kSemNumero, "", "Junta Seguinte", {}, {}, {}, 1}});
    ImprimirCarrinho(bom);
    EXPECT_EQ(caixas_.Count(), 1u);
    EXPECT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 1);
    const std::string texto = teste::TextoPdf(dialogo.Arquivo());
    EXPECT_THAT(texto, HasSubstr("Junta Seguinte"));
    EXPECT_THAT(texto, HasSubstr(Traduz(61) + " 1"));
}

}  // namespace
