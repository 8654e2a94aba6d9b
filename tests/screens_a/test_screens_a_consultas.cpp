// The SQL texts of the main window's lists: their shape for every sort code and filter, and
// what they find in the demo catalogue, compared with what its tables hold.
#include "catalog/controls/ModuloGrade.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/startup/Modulo.h"
#include "platform/vb/Strings.h"
#include "tests/support/ProgramaDemo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using consultas::FiltrosProdutos;

// A part number in the form 00-00-0000.
std::string Mascara(const std::string& numero) {
    const std::string d = std::string(8 - std::min<size_t>(8, numero.size()), '0') + numero;
    return d.substr(0, 2) + "-" + d.substr(2, 2) + "-" + d.substr(4);
}

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// The text from "WHERE " (or the end when there is none) up to "ORDER BY ".
std::string Where(const std::string& sql) {
    const std::size_t fim = sql.rfind("ORDER BY ");
    // The sub-selects of the select list also say WHERE: the outer one follows the last FROM join.
    const std::size_t ultimoJoin = sql.rfind("JOIN ");
    const std::size_t w = sql.find("WHERE ", ultimoJoin);
    if (w == std::string::npos || w > fim) return {};
    return sql.substr(w, fim - w);
}

TEST(ScreensAConsultasOrdem, EachSortCodeNamesItsColumnsAndAnUnknownCodeSortsByTheFirst) {
    struct Caso {
        std::string ordem, produtos, aplicacoes;
    };
    const Caso casos[] = {
        {"1", "1,2", "1,2,3"}, {"2", "2,1", "2,3"}, {"3", "3,1", "3,1,2"}, {"4", "4 DESC,1", "1,2,3"}, {"", "1,2", "1,2,3"}, {"9", "1,2", "1,2,3"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(consultas::OrdemProdutos(c.ordem), c.produtos) << c.ordem;
        EXPECT_EQ(consultas::OrdemAplicacoes(c.ordem), c.aplicacoes) << c.ordem;
        const std::string p = consultas::PesquisaProdutos(false, {}, c.ordem, "P");
        EXPECT_EQ(p.substr(p.size() - std::string("ORDER BY " + c.produtos).size()), "ORDER BY " + c.produtos);
        const std::string a = consultas::PesquisaAplicacoes("", 0, 0, c.ordem, "P");
        EXPECT_EQ(a.substr(a.size() - std::string("ORDER BY " + c.aplicacoes).size()), "ORDER BY " + c.aplicacoes);
    }
    EXPECT_EQ(CorCabecalho("3", 3), CorOrdemAtiva);
    EXPECT_EQ(CorCabecalho("3", 1), 0);
    EXPECT_EQ(CorCabecalho("", 1), 0);
}

TEST(ScreensAConsultasProdutos, TheFiltersJoinInTheirOrderNormalisedAndEmptyOnesAddNothing) {
    struct Caso {
        const char* nome;
        bool lancamentos;
        FiltrosProdutos f;
        std::string where;
    };
    const std::string ref = "PRODUTO.CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA "
                            "WHERE NumeroFabricantePesquisa LIKE '*123AB*') ";
    const Caso casos[] = {
        {"nothing typed", false, {}, ""},
        {"releases only", true, {}, "WHERE PRODUTO.FlagLancamento=1 "},
        {"reference, spelled loosely", false, {" 00123-ab ", "", "", 0, ""}, "WHERE " + ref},
        {"reference of punctuation only", false, {"-- ./", "", "", 0, ""}, ""},
        {"group", false, {"", "", "", 3, ""}, "WHERE PRODUTO.CodigoGrupoProduto = 3 "},
        {"part number with zeros and dashes", false, {"", "0012-34", "", 0, ""},
         "WHERE PRODUTO.NumeroEmpresaProduto LIKE '1234*' "},
        {"part number of letters only", false, {"", "abc", "", 0, ""}, ""},
        {"everything, in order", true, {"123ab", "5", "disco", 2, ""},
         "WHERE PRODUTO.FlagLancamento=1 AND " + ref + "AND PRODUTO.CodigoGrupoProduto = 2 "
         "AND PRODUTO.NumeroEmpresaProduto LIKE '5*' AND PRODUTO.DescricaoProdutoP LIKE '*D[IÍÌÎÏ]S[CÇ][OÓÒÔÖÕº]*'"},
        {"the figure item is not a filter here", false, {"", "", "", 0, "12"}, ""},
    };
    for (const Caso& c : casos) {
        const std::string sql = consultas::PesquisaProdutos(c.lancamentos, c.f, "1", "P");
        EXPECT_EQ(Where(sql), c.where) << c.nome;
    }
}

TEST(ScreensAConsultasProdutos, DescriptionWordsAreAccentBlindAtMostElevenAndDeIsDroppedInside) {
    const std::string tres = Where(consultas::PesquisaProdutos(false, {"", "", "pastilha de freio", 0, ""}, "2", "P"));
    EXPECT_EQ(tres, "WHERE PRODUTO.DescricaoProdutoP LIKE '*P[AÁÀÂÄÃª]ST[IÍÌÎÏ]LH[AÁÀÂÄÃª]*' AND "
                    "PRODUTO.DescricaoProdutoP LIKE '*FR[EÉÈÊË][IÍÌÎÏ][OÓÒÔÖÕº]*'");
    const std::string doze = Where(consultas::PesquisaProdutos(false, {"", "", "b b b b b b b b b b b zz", 0, ""}, "2", "P"));
    EXPECT_EQ(std::count(doze.begin(), doze.end(), '*'), 22) << doze;
    EXPECT_FALSE(Contem(doze, "ZZ"));
    // A quote cannot end the SQL text early.
    const std::string aspas = Where(consultas::PesquisaProdutos(false, {"", "", "d'agua", 0, ""}, "2", "P"));
    EXPECT_TRUE(Contem(aspas, "D''[AÁÀÂÄÃª]G[UÚÙÛÜ][AÁÀÂÄÃª]")) << aspas;
}

TEST(ScreensAConsultasProdutos, TheLanguageLetterReplacesEveryPlaceholder) {
    for (const std::string idioma : {"P", "E", "I"}) {
        const FiltrosProdutos f{"1", "1", "x", 1, "1"};
        const std::vector<std::string> textos = {
            consultas::PesquisaProdutos(true, f, "1", idioma),
            consultas::PesquisaProdutosAplicacao(7, f, "1,2", true, "1", idioma),
            consultas::PesquisaProdutosConjunto(7, f, "1,2", true, "1", idioma),
            consultas::PesquisaAplicacoes("x", 1, 1, "1", idioma),
            consultas::PesquisaAplicacoesProduto(5, "1", idioma),
            consultas::CarregaComboGrupos("<TODOS>", idioma),
            consultas::CarregaComboAplicacoesVeiculo(3, idioma),
        };
        for (const std::string& t : textos) {
            EXPECT_FALSE(Contem(t, "<I>")) << t;
            EXPECT_TRUE(Contem(t, "Descricao") && (Contem(t, "Produto" + idioma) || Contem(t, "Aplicacao" + idioma) ||
                                                   Contem(t, "GrupoProduto" + idioma)))
                << t;
        }
    }
}

TEST(ScreensAConsultasListas, TheListsStartFromTheApplicationAndLimitReferencesToItsMakers) {
    FiltrosProdutos f{"ab-1", "", "", 4, "1"};
    const std::string lv = consultas::PesquisaProdutosAplicacao(12, f, "3,5", false, "1", "P");
    EXPECT_EQ(Where(lv), "WHERE APLICACAO_PRODUTO.CodigoAplicacao=12 AND APLICACAO_PRODUTO.CodigoProduto IN (SELECT "
                         "CodigoProduto FROM REFERENCIACRUZADA WHERE NumeroFabricantePesquisa LIKE '*AB1*' AND "
                         "CodigoFabricante IN (3,5)) AND PRODUTO.CodigoGrupoProduto = 4 ");
    const std::string lc = consultas::PesquisaProdutosConjunto(12, f, "3,5", false, "3", "P");
    EXPECT_TRUE(Contem(Where(lc), "AND CONJUNTO_PRODUTO1.ItemFigura LIKE '1*' ")) << lc;
    EXPECT_FALSE(Contem(Where(lc), "CodigoGrupoProduto")) << "LC has no group filter";
    // The release mark puts the release flag first in ImagensGrid.
    const std::string prefixo = "IIF(PRODUTO.FlagLancamento=1,' ','\r') & IIF(EXISTS(";
    EXPECT_FALSE(Contem(lv, prefixo));
    EXPECT_TRUE(Contem(consultas::PesquisaProdutosAplicacao(12, {}, "3", true, "1", "P"), prefixo));
    EXPECT_TRUE(Contem(consultas::PesquisaProdutosConjunto(12, {}, "3", true, "1", "P"), prefixo));
}

TEST(ScreensAConsultasAplicacoes, DescriptionTypeAndMakerConditions) {
    struct Caso {
        std::string descricao;
        int tipo, fabricante;
        std::string where;
    };
    const Caso casos[] = {
        {"", 0, 0, ""},
        {"  ", 0, 0, ""},
        {"Gol 1.6", 0, 0, "WHERE APLICACAO.DescricaoAplicacaoPesquisaP LIKE '*G[OÓÒÔÖÕº]L16*' "},
        {"", 2, 0, "WHERE APLICACAO.CodigoTipoAplicacao = 2 "},
        {"", 0, 7, "WHERE APLICACAO.CodigoFabricante = 7 "},
        {"x", 2, 7, "WHERE APLICACAO.DescricaoAplicacaoPesquisaP LIKE '*X*' AND APLICACAO.CodigoTipoAplicacao = 2 "
                    "AND APLICACAO.CodigoFabricante = 7 "},
    };
    for (const Caso& c : casos) EXPECT_EQ(Where(consultas::PesquisaAplicacoes(c.descricao, c.tipo, c.fabricante, "1", "P")), c.where) << c.descricao;
}

// ----------------------------------------------------------------------- on the demo data

struct Produto {
    long codigo = 0;
    std::string numero;     // "" when Null
    std::string descricao;
    int grupo = 0;
    int flag = 0;
    std::string data;
    bool obs = false;
};

class ScreensAConsultasDemo : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EstadoPrograma.CaminhoDados = std::string(ZK_DEMO_DATA_DIR) + "/";
        EstadoPrograma.Idioma = "P";
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
        std::set<long> comObs;
        for (const auto& l : Linhas("SELECT CodigoProduto FROM PRODUTO_OBS")) comObs.insert(vb::CLng(l[0]));
        for (const auto& l : Linhas("SELECT CodigoProduto, NumeroEmpresaProduto, DescricaoProdutoP, CodigoGrupoProduto, "
                                    "FlagLancamento, DataLancamento FROM PRODUTO")) {
            Produto p;
            p.codigo = vb::CLng(l[0]);
            p.numero = l[1];
            p.descricao = l[2];
            p.grupo = l[3].empty() ? 0 : vb::CLng(l[3]);
            p.flag = l[4].empty() ? 0 : vb::CLng(l[4]);
            p.data = l[5];
            p.obs = comObs.count(p.codigo) != 0;
            produtos()[p.codigo] = p;
        }
    }
    static void TearDownTestSuite() { FechaBanco(EstadoPrograma.WsCatalogo, EstadoPrograma.DbCatalogo); }

    static std::map<long, Produto>& produtos() {
        static std::map<long, Produto> p;
        return p;
    }

    static std::vector<std::vector<std::string>> Linhas(const std::string& sql) { return testsupport::LinhasCatalogo(sql); }

    static std::vector<long> Codigos(const std::string& sql, const std::string& campo) {
        std::vector<long> c;
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenSnapshot);
        while (!rs.Eof()) {
            c.push_back(rs.Value(campo).ToLong());
            rs.MoveNext();
        }
        rs.Close();
        return c;
    }

    static std::set<long> Conjunto(const std::vector<long>& v) { return {v.begin(), v.end()}; }
};

TEST_F(ScreensAConsultasDemo, PartNumberPrefixFindsExactlyTheProductsWhoseNumberStartsSo) {
    for (const std::string digitado : {"12", "0-9", "1234567"}) {
        const std::string prefixo = NormalizaCodigoNumerico(digitado);
        std::set<long> esperado;
        for (const auto& [c, p] : produtos())
            if (p.numero.rfind(prefixo, 0) == 0 && !p.numero.empty()) esperado.insert(c);
        const auto achados = Codigos(consultas::PesquisaProdutos(false, {"", digitado, "", 0, ""}, "1", "P"), "CodigoProduto");
        EXPECT_EQ(Conjunto(achados), esperado) << digitado;
        EXPECT_EQ(achados.size(), esperado.size()) << "no product twice";
    }
}

TEST_F(ScreensAConsultasDemo, TheWholeListSortsByNumberWithTheUnnumberedLastAndShowsItsMarks) {
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(consultas::PesquisaProdutos(false, {}, "1", "P"),
                                                                 dao::dbOpenSnapshot);
    ASSERT_EQ(rs.RecordCount(), static_cast<long>(produtos().size()));
    std::string anterior;
    bool semNumero = false;
    while (!rs.Eof()) {
        const Produto& p = produtos().at(rs.Value("CodigoProduto").ToLong());
        const vb::Variant formatado = rs.Value("NumeroEmpresaFormatado");
        if (p.numero.empty()) {
            semNumero = true;
            EXPECT_TRUE(formatado.IsNull() || formatado.ToString().empty()) << p.codigo;
        } else {
            EXPECT_FALSE(semNumero) << "product " << p.codigo << " follows a product without a number";
            EXPECT_EQ(formatado.ToString(), Mascara(p.numero));
            EXPECT_LE(anterior, formatado.ToString());
            anterior = formatado.ToString();
        }
        const std::string marcas = rs.Value("ImagensGrid").ToString();
        ASSERT_GE(marcas.size(), 53u);
        EXPECT_EQ(marcas[0], p.flag == 1 ? ' ' : '\r') << p.codigo;
        EXPECT_EQ(marcas[1], p.obs ? ' ' : '\r') << p.codigo;
        EXPECT_EQ(marcas.substr(2), std::string(50, ' ') + "." + p.data) << p.codigo;
        rs.MoveNext();
    }
    EXPECT_TRUE(semNumero);
    rs.Close();
}

TEST_F(ScreensAConsultasDemo, ACompetitorNumberAsTypedFindsTheProductsThatCarryIt) {
    const auto refs = Linhas("SELECT CodigoProduto, NumeroFabricante, NumeroFabricantePesquisa FROM REFERENCIACRUZADA");
    ASSERT_FALSE(refs.empty());
    // A reference typed as its maker prints it (dashes, blanks, lower case, zeros in front).
    for (size_t i : {size_t{0}, refs.size() / 2, refs.size() - 1}) {
        const std::string digitado = "0" + vb::LCase(refs[i][1]) + " ";
        const std::string chave = NormalizaCodigoAlfanumerico(digitado);
        std::set<long> esperado;
        for (const auto& r : refs)
            if (r[2].find(chave) != std::string::npos) esperado.insert(vb::CLng(r[0]));
        ASSERT_TRUE(esperado.count(vb::CLng(refs[i][0])));
        const auto achados = Codigos(consultas::PesquisaProdutos(false, {digitado, "", "", 0, ""}, "1", "P"), "CodigoProduto");
        EXPECT_EQ(Conjunto(achados), esperado) << digitado;
    }
}

TEST_F(ScreensAConsultasDemo, DescriptionWordsGroupAndReleasesFilterTheCatalogue) {
    // A word of some description, in lower case with an accent on a vowel it may not have.
    const std::string palavra = vb::UCase(vb::Split(produtos().begin()->second.descricao, " ")[0]);
    std::set<long> comPalavra;
    for (const auto& [c, p] : produtos())
        if (RemoveAcentos(vb::UCase(p.descricao)).find(RemoveAcentos(palavra)) != std::string::npos) comPalavra.insert(c);
    EXPECT_EQ(Conjunto(Codigos(consultas::PesquisaProdutos(false, {"", "", vb::LCase(palavra), 0, ""}, "2", "P"),
                               "CodigoProduto")),
              comPalavra);

    std::set<long> doGrupo, lancamentos;
    for (const auto& [c, p] : produtos()) {
        if (p.grupo == 3) doGrupo.insert(c);
        if (p.flag == 1) lancamentos.insert(c);
    }
    ASSERT_FALSE(doGrupo.empty());
    EXPECT_EQ(Conjunto(Codigos(consultas::PesquisaProdutos(false, {"", "", "", 3, ""}, "3", "P"), "CodigoProduto")), doGrupo);

    // Screen 5's first visit: the releases, newest first.
    const auto novos = Linhas(consultas::PesquisaProdutos(true, {}, "4", "P"));
    std::set<long> achados;
    std::string anterior = "9";
    for (const auto& l : novos) {
        achados.insert(vb::CLng(l[4]));
        EXPECT_GE(anterior, l[3]);
        anterior = l[3];
    }
    EXPECT_EQ(achados, lancamentos);
    EXPECT_EQ(lancamentos.size(), 25u);
}

TEST_F(ScreensAConsultasDemo, TheGroupComboStartsWithTheAllGroupsRow) {
    const auto grupos = Linhas(consultas::CarregaComboGrupos("<TODOS>", "P"));
    const auto tabela = Linhas("SELECT CodigoGrupoProduto FROM GRUPOPRODUTO");
    ASSERT_EQ(grupos.size(), tabela.size() + 1);
    EXPECT_EQ(grupos[0][0], "<TODOS>");
    EXPECT_EQ(grupos[0][1], "0");
    for (size_t i = 2; i < grupos.size(); ++i) EXPECT_LE(vb::UCase(grupos[i - 1][0]), vb::UCase(grupos[i][0]));
}

TEST_F(ScreensAConsultasDemo, ApplicationsByDescriptionTypeAndMakerAndThoseOfAProduct) {
    const auto todas = Linhas("SELECT CodigoAplicacao, CodigoTipoAplicacao, CodigoFabricante, DescricaoAplicacaoPesquisaP, "
                              "DescricaoAplicacaoP FROM APLICACAO");
    ASSERT_FALSE(todas.empty());
    const std::string& amostra = todas[todas.size() / 2][4];
    const std::string digitado = vb::LCase(amostra.substr(0, std::min<size_t>(amostra.size(), 5)));
    const std::string chave = MontaChaveBusca(digitado);
    const int tipo = vb::CLng(todas[todas.size() / 2][1]);
    std::set<long> porTexto, porTextoETipo;
    for (const auto& a : todas)
        if (a[3].find(chave) != std::string::npos) {
            porTexto.insert(vb::CLng(a[0]));
            if (vb::CLng(a[1]) == tipo) porTextoETipo.insert(vb::CLng(a[0]));
        }
    EXPECT_EQ(Conjunto(Codigos(consultas::PesquisaAplicacoes(digitado, 0, 0, "2", "P"), "CodigoAplicacao")), porTexto)
        << digitado;
    EXPECT_EQ(Conjunto(Codigos(consultas::PesquisaAplicacoes(digitado, tipo, 0, "1", "P"), "CodigoAplicacao")),
              porTextoETipo);
    EXPECT_EQ(Codigos(consultas::PesquisaAplicacoes("", 0, 0, "1", "P"), "CodigoAplicacao").size(), todas.size());

    // The applications of product 1, with the complement after three blanks.
    const auto ligadas = Linhas("SELECT CodigoAplicacao, ComplementoAplicacaoP FROM APLICACAO_PRODUTO WHERE CodigoProduto=1");
    const auto linhas = Linhas(consultas::PesquisaAplicacoesProduto(1, "1", "P"));
    EXPECT_EQ(linhas.size(), ligadas.size());
    EXPECT_TRUE(Linhas(consultas::PesquisaAplicacoesProduto(0, "1", "P")).empty());
}

TEST_F(ScreensAConsultasDemo, TheSetListFindsItemsByPrefixAndSortsThem) {
    const auto itens = Linhas("SELECT CodigoAplicacao, CodigoProduto, ItemFigura FROM CONJUNTO_PRODUTO1");
    ASSERT_FALSE(itens.empty());
    const long aplicacao = vb::CLng(itens[0][0]);
    std::set<long> esperado;
    for (const auto& i : itens)
        if (vb::CLng(i[0]) == aplicacao && i[2].rfind("1", 0) == 0) esperado.insert(vb::CLng(i[1]));
    // Only products of the application count (an item may list a product that does not fit).
    std::set<long> daAplicacao;
    for (const auto& l : Linhas("SELECT CodigoProduto FROM APLICACAO_PRODUTO WHERE CodigoAplicacao=" + std::to_string(aplicacao)))
        daAplicacao.insert(vb::CLng(l[0]));
    std::set<long> filtrado;
    for (long p : esperado)
        if (daAplicacao.count(p)) filtrado.insert(p);
    const auto linhas = Linhas(consultas::PesquisaProdutosConjunto(aplicacao, {"", "", "", 0, "1"}, "", false, "3", "P"));
    std::set<long> achados;
    std::string anterior;
    for (const auto& l : linhas) {
        achados.insert(vb::CLng(l[4]));
        EXPECT_LE(anterior, l[2]);
        anterior = l[2];
    }
    EXPECT_EQ(achados, filtrado);
}

}  // namespace
