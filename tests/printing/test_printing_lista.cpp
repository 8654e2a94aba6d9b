// The product list printout with its observation section, and the line breaking of
// observations.
#include "tests/printing/ImpressaoFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

using teste::Impressao;
using teste::LinhaEm;
using teste::Palavras;

const std::string kTitulo = "Lista - Motor de Teste Fabricante: Fabricante Teste";

class ImpressaoLista : public Impressao {
protected:
    ListaImpressao Lista(const std::vector<Linha>& linhas, bool veiculo = true)
    {
        ListaImpressao lista;
        lista.Recordset = Recordset(linhas);
        lista.ListaVeiculo = veiculo;
        lista.CodigoAplicacao = teste::kAplicacao;
        return lista;
    }
    // The y of the first word equal to texto on a page, or -1.
    static double Y(const std::vector<teste::Palavra>& palavras, int pagina, const std::string& texto)
    {
        const auto p = Palavras(palavras, pagina, texto);
        return p.empty() ? -1 : p.front().y;
    }
};

TEST_F(ImpressaoLista, ListaPorVeiculoComMarcaReferenciasEObservacoes)
{
    teste::DialogoPdf dialogo(Arquivo("lista.pdf"));
    ListaImpressao lista = Lista({{teste::kComTresReferencias, "12-34-5678", "Filtro de Óleo Teste", "Filtros", {}, Imagens(true)},
                                  {teste::kSemNumero, "", "Junta Sem Número", "Juntas", {}, Imagens(true)},
                                  {teste::kSemObservacao, "11-11-2222", "Tampa", "Tampas", {}, Imagens(false)},
                                  {teste::kObservacaoLonga, "33-33-4444", "Sensor Longo", "Sensores", {}, Imagens(true)}});
    lista.FabricantesAplicacao = "";
    lista.Recordset.Move(2);   // the grid stands on its third row
    ImprimirLista(lista);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    EXPECT_EQ(lista.Recordset.AbsolutePosition(), 2) << "the grid's own row does not move";
    EXPECT_TRUE(lista.Recordset.IsOpen());

    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    GuardaImagem(dialogo.Arquivo(), 1, "lista");
    const std::string info = teste::Executa("pdfinfo", {QString::fromStdString(dialogo.Arquivo())});
    EXPECT_THAT(info, HasSubstr("842 x 595")) << "landscape";
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "Lista")), kTitulo);

    const double yTitulos = Y(palavras, 1, Traduz(43));
    EXPECT_EQ(LinhaEm(palavras, 1, yTitulos), "Nº ZORNAK Descrição Grupo OBS Nº Referência");
    EXPECT_NEAR(Palavras(palavras, 1, Traduz(43))[0].x, Pontos(1900), 0.6);
    EXPECT_NEAR(Palavras(palavras, 1, "OBS")[0].x, Pontos(2500), 0.6);

    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "12-34-5678")), "12-34-5678 Filtro de Óleo Teste Filtros OBS REF1000 (FTE)");
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, teste::Referencia(1))), teste::Referencia(1) + " (FTE)");
    EXPECT_NEAR(Palavras(palavras, 1, teste::Referencia(1))[0].x, Pontos(2750), 0.6);
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "(COD:99102)")), "(COD:99102) Junta Sem Número Juntas OBS");
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "11-11-2222")), "11-11-2222 Tampa Tampas")
        << "no mark without the observation flag";

    // The observation section: its headings, then each product's text beside its number.
    const std::string texto = teste::TextoPdf(dialogo.Arquivo());
    ASSERT_THAT(texto, HasSubstr(Traduz(3)));
    int paginaObs = 0;
    for (int p = 1; p <= teste::NumeroPaginasPdf(dialogo.Arquivo()) && !paginaObs; ++p)
        if (Y(palavras, p, Traduz(3)) >= 0) paginaObs = p;
    EXPECT_EQ(paginaObs, 1) << "the list's page has room for the observations";
    const double yObs = Y(palavras, paginaObs, Traduz(3));
    EXPECT_GT(yObs, Y(palavras, 1, "Sensor"));
    EXPECT_EQ(LinhaEm(palavras, paginaObs, yObs), "Nº ZORNAK Observação");
    EXPECT_NEAR(Palavras(palavras, paginaObs, Traduz(3))[0].x, Pontos(600), 0.6);

    const double yUsar = Y(palavras, paginaObs, "Usar");
    EXPECT_EQ(LinhaEm(palavras, paginaObs, yUsar), "12-34-5678 Usar somente com junta nova.") << "trimmed, one line";
    EXPECT_NEAR(Palavras(palavras, paginaObs, "Usar")[0].x, Pontos(600), 0.6);
    const double yPrimeiro = Y(palavras, paginaObs, "Primeiro");
    const double yTerceiro = Y(palavras, paginaObs, "Terceiro");
    EXPECT_EQ(LinhaEm(palavras, paginaObs, yPrimeiro), "(COD:99102) Primeiro parágrafo.");
    EXPECT_EQ(LinhaEm(palavras, paginaObs, yTerceiro), "Terceiro parágrafo.");
    const double linha = yPrimeiro - yUsar - 20 * 0.2;   // one line of 10 points, without the 20 units
    EXPECT_NEAR(yTerceiro - yPrimeiro, 2 * linha, 0.5) << "the empty paragraph takes a line of its own";

    // The long observation: cut into pieces, all at 600 units, the first beside the number.
    std::string xs;
    int pedacos = 0;
    for (const auto& p : palavras)
        if (p.texto.find_first_not_of('X') == std::string::npos) {
            xs += p.texto;
            ++pedacos;
            EXPECT_NEAR(p.x, Pontos(600), 0.6);
        }
    EXPECT_EQ(xs, std::string(400, 'X'));
    EXPECT_GE(pedacos, 4);
    EXPECT_THAT(LinhaEm(palavras, paginaObs, Palavras(palavras, paginaObs, "33-33-4444").back().y), HasSubstr("33-33-4444 XXX"));
}

TEST_F(ImpressaoLista, ListaDoConjuntoImprimeOItemOuNada)
{
    teste::DialogoPdf dialogo(Arquivo("conjunto.pdf"));
    ListaImpressao lista = Lista({{teste::kComTresReferencias, "12-34-5678", "Filtro", "Filtros", "7", Imagens(false)},
                                  {teste::kSemNumero, "", "Junta", "Juntas", {}, Imagens(false)}},
                                 false);
    ImprimirLista(lista);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "Item")), "Nº ZORNAK Descrição Item Fig OBS Nº Referência");
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "12-34-5678")), "12-34-5678 Filtro 7 REF1000 (FTE)");
    EXPECT_NEAR(Palavras(palavras, 1, "7")[0].x, Pontos(1900), 0.6);
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "(COD:99102)")), "(COD:99102) Junta") << "a Null item is an empty cell";
    EXPECT_THAT(teste::TextoPdf(dialogo.Arquivo()), Not(HasSubstr("Filtros"))) << "no group on the set list";
    EXPECT_THAT(teste::TextoPdf(dialogo.Arquivo()), Not(HasSubstr(Traduz(3)))) << "no observation section";
}

struct CasoFiltro {
    const char* fabricantes;
    bool comReferencias;
};

TEST_F(ImpressaoLista, FiltroDeFabricantesRestringeAsReferencias)
{
    for (const CasoFiltro c : {CasoFiltro{"", true}, CasoFiltro{"240", true}, CasoFiltro{"17", false},
                               CasoFiltro{"17,240", true}}) {
        teste::DialogoPdf dialogo(Arquivo(std::string("filtro") + c.fabricantes + ".pdf"));
        ListaImpressao lista = Lista({{teste::kComTresReferencias, "12-34-5678", "Filtro", "Filtros", {}, Imagens(false)}});
        lista.FabricantesAplicacao = c.fabricantes;
        ImprimirLista(lista);
        ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
        const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
        EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "12-34-5678")),
                  c.comReferencias ? "12-34-5678 Filtro Filtros REF1000 (FTE)" : "12-34-5678 Filtro Filtros")
            << c.fabricantes;
        EXPECT_EQ(Palavras(palavras, 1, teste::Referencia(2)).size(), c.comReferencias ? 1u : 0u) << c.fabricantes;
    }
}

TEST_F(ImpressaoLista, ColunaDeLancamentoDeslocaABandeiraDeObservacao)
{
    // With the release column ImagensGrid reads release, set, observation.
    teste::DialogoPdf dialogo(Arquivo("lancamento.pdf"));
    ListaImpressao lista = Lista({{teste::kComTresReferencias, "12-34-5678", "Filtro", "Filtros", {}, " \r " + std::string(50, ' ') + "."},
                                  {teste::kSemNumero, "", "Junta", "Juntas", {}, "  \r" + std::string(50, ' ') + "."}});
    lista.ColunaLancamento = true;
    ImprimirLista(lista);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    EXPECT_THAT(LinhaEm(palavras, 1, Y(palavras, 1, "12-34-5678")), HasSubstr("Filtros OBS"));
    EXPECT_EQ(LinhaEm(palavras, 1, Y(palavras, 1, "(COD:99102)")), "(COD:99102) Junta Juntas");
    EXPECT_GE(Y(palavras, 1, "Usar"), 0);
    EXPECT_LT(Y(palavras, 1, "Primeiro"), 0);
}

TEST_F(ImpressaoLista, ProdutoMarcadoSemTextoNaoGastaOsTitulosDasObservacoes)
{
    // The first marked product has no row in PRODUTO_OBS: it prints nothing, and the next
    // product's observation still comes under the observation headings.
    teste::DialogoPdf dialogo(Arquivo("semtexto.pdf"));
    ListaImpressao lista = Lista({{teste::kSemObservacao, "11-11-2222", "Tampa Sem Texto", "Tampas", {}, Imagens(true)},
                                  {teste::kComTresReferencias, "12-34-5678", "Filtro", "Filtros", {}, Imagens(true)}});
    ImprimirLista(lista);
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    const double yObs = Y(palavras, 1, Traduz(3));
    ASSERT_GE(yObs, 0);
    EXPECT_LT(yObs, Y(palavras, 1, "Usar"));
    EXPECT_EQ(Palavras(palavras, 1, "11-11-2222").size(), 1u) << "only its list row";
}

TEST_F(ImpressaoLista, ObservacoesContinuamPelasPaginasComNumeroETitulos)
{
    teste::DialogoPdf dialogo(Arquivo("paginas.pdf"));
    std::vector<Linha> linhas;
    for (int i = 0; i < 14; ++i)
        linhas.push_back({teste::kObservacaoLonga, "33-33-4444", "Sensor " + std::to_string(i), "Sensores", {}, Imagens(true)});
    ImprimirLista(Lista(linhas));
    ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
    const int paginas = teste::NumeroPaginasPdf(dialogo.Arquivo());
    ASSERT_GE(paginas, 3);
    const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
    GuardaImagem(dialogo.Arquivo(), 2, "lista_observacoes");
    for (int p = 1; p <= paginas; ++p) {
        EXPECT_EQ(LinhaEm(palavras, p, Y(palavras, p, Traduz(61))), Traduz(61) + " " + std::to_string(p));
        EXPECT_EQ(LinhaEm(palavras, p, Y(palavras, p, "Lista")), kTitulo) << "one title throughout";
        if (p > 1) {
            EXPECT_EQ(LinhaEm(palavras, p, Y(palavras, p, Traduz(3))), "Nº ZORNAK Observação") << p;
        }
        // No line starts below the page's limit plus one line.
        for (const auto& w : Palavras(palavras, p)) EXPECT_LT(w.y, Pontos(2500) + 14) << p;
    }
    // Every observation printed: 14 times the 400 characters.
    std::string xs;
    for (const auto& p : palavras)
        if (p.texto.find_first_not_of('X') == std::string::npos) xs += p.texto;
    EXPECT_EQ(xs.size(), 14u * 400u);
}

TEST_F(ImpressaoLista, ObservacoesNaMesmaPaginaSoAte2400Unidades)
{
    // Lists of growing length, all on one page, the last product marked: its observation
    // headings stay on the list's page while the list ends at most 2400 units down, and
    // start a new page (header, page 2) once the list ends further down.
    bool mesmaPagina = false, novaPagina = false;
    for (int n = 18; n <= 28; ++n) {
        teste::DialogoPdf dialogo(Arquivo("limite" + std::to_string(n) + ".pdf"));
        std::vector<Linha> linhas;
        for (int i = 0; i < n; ++i)
            linhas.push_back({teste::kSemObservacao, "11-11-2222", "Tampa", "Tampas", {}, Imagens(false)});
        linhas.back() = {teste::kSemNumero, "", "Junta", "Juntas", {}, Imagens(true)};
        ImprimirLista(Lista(linhas));
        ASSERT_EQ(caixas_.Count(), 0u) << caixas_.Last().prompt;
        const auto palavras = teste::PalavrasPdf(dialogo.Arquivo());
        const auto ultima = Palavras(palavras, 1, "(COD:" + std::to_string(teste::kSemNumero) + ")");
        if (ultima.empty()) continue;   // the list itself went on to page 2
        // Where the list's last line ends, in print units from the printable top.
        const double fim = (ultima[0].yMax - 18.0) * 5.0;
        if (std::abs(fim - 2400) < 5) continue;   // too close to tell from the page
        if (fim <= 2400) {
            mesmaPagina = true;
            EXPECT_GT(Y(palavras, 1, Traduz(3)), ultima[0].y) << n;
            EXPECT_GT(Y(palavras, 1, "Primeiro"), Y(palavras, 1, Traduz(3))) << n;
        } else {
            novaPagina = true;
            EXPECT_EQ(teste::NumeroPaginasPdf(dialogo.Arquivo()), 2) << n;
            EXPECT_LT(Y(palavras, 1, Traduz(3)), 0) << n;
            EXPECT_EQ(LinhaEm(palavras, 2, Y(palavras, 2, Traduz(61))), Traduz(61) + " 2") << n;
            EXPECT_LT(Y(palavras, 2, Traduz(3)), Y(palavras, 2, "Primeiro")) << n;
        }
    }
    EXPECT_TRUE(mesmaPagina);
    EXPECT_TRUE(novaPagina);
}

// --- Line breaking -------------------------------------------------------------------------

class QuebraDeTexto : public Impressao {
protected:
    void SetUp() override
    {
        Impressao::SetUp();
        vb::Printer().SetFontName("Arial");
        vb::Printer().SetFontSize(10);
    }
};

struct CasoQuebra {
    std::string texto;
    std::vector<std::string> linhas;
};

TEST_F(QuebraDeTexto, ParagrafosEBrancosNasPontas)
{
    const std::vector<CasoQuebra> casos = {
        {"  curta  ", {"curta"}},
        {"\t\r\n Duas\r\nlinhas \r\n\a", {"Duas", "linhas"}},
        {"A\r\n\r\nB", {"A", "", "B"}},
        {"um\ndois", {"um\ndois"}},   // only CR LF separates paragraphs
        {"", {""}},
        {" \t\r\n ", {""}},
    };
    for (const auto& c : casos) EXPECT_THAT(QuebraTexto(c.texto), ElementsAreArray(c.linhas)) << c.texto;
}

TEST_F(QuebraDeTexto, ParagrafoLongoCortadoLogoAlemDaLargura)
{
    for (const std::string& unidade : {std::string("X"), std::string("Ç"), std::string("il")}) {
        std::string texto;
        for (int i = 0; i < 300; ++i) texto += unidade;
        const auto linhas = QuebraLinha(texto);
        ASSERT_GE(linhas.size(), 2u) << unidade;
        std::string junto;
        for (std::size_t i = 0; i < linhas.size(); ++i) {
            junto += linhas[i];
            if (i + 1 == linhas.size()) {
                EXPECT_LE(LarguraTextoMedida(linhas[i], "Arial", 10), 620 + 3 * 15) << unidade;
                continue;
            }
            // Each piece is wider than 620, but was not three characters earlier.
            EXPECT_GT(LarguraTextoMedida(linhas[i], "Arial", 10), 620) << unidade << " " << i;
            const std::u32string c = vb::ToChars(linhas[i]);
            EXPECT_LE(LarguraTextoMedida(vb::FromChars(c.substr(0, c.size() - 3)), "Arial", 10), 620) << unidade << i;
        }
        EXPECT_EQ(junto, texto) << "nothing lost, characters kept whole";
    }
    // A text that fits is its own line, and words are not looked at.
    EXPECT_THAT(QuebraLinha("cabe numa linha"), ElementsAre("cabe numa linha"));
}

TEST_F(QuebraDeTexto, MedeNaFonteDaImpressora)
{
    std::string texto(70, 'm');
    vb::Printer().SetFontSize(7);
    EXPECT_EQ(QuebraLinha(texto).size(), 1u) << "small print: 70 characters fit";
    vb::Printer().SetFontSize(14);
    EXPECT_GE(QuebraLinha(texto).size(), 2u);
}

}  // namespace
