// The catalogue's own queries, as the screens build them (language letter "P" put in), run on
// a miniature of the catalogue: the rows Jet gives them.
#include "CatalogFixture.h"

#include "platform/dao/JetSql.h"
#include "platform/vb/Err.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const std::string CR = "\r";
const std::string Blanks50(50, ' ');

class DaoProgramSqlBase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ws_ = dao::DBEngine().CreateWorkspace("wsCatalog", "admin", "");
        db_ = ws_.CreateDatabase(dir_.filePath("catalog.c01").toStdString(),
                                 ";LANGID=0x0409;CP=1252;COUNTRY=0" + daotest::ConnectString());
        daotest::CreateCatalog(db_);
    }
    void TearDown() override {
        if (!ws_.IsNothing()) ws_.Close();
    }

    // The rows of a query; cols names the columns to show (1-based), all when empty.
    Lines Rows(const std::string& sql, const std::vector<int>& cols = {}) {
        auto rs = db_.OpenRecordset(sql, dao::dbOpenSnapshot);
        std::vector<int> use = cols;
        if (use.empty())
            for (int i = 1; i <= rs.FieldCount(); ++i) use.push_back(i);
        Lines out;
        while (!rs.Eof()) {
            std::string line;
            for (size_t k = 0; k < use.size(); ++k) {
                vb::Variant v = rs.Fields(use[k] - 1).Value();
                if (k) line += "|";
                line += v.IsNull() ? "<null>" : v.ToString();
            }
            out.push_back(line);
            rs.MoveNext();
        }
        return out;
    }

    QTemporaryDir dir_;
    dao::Workspace ws_;
    dao::Database db_;
};

struct ProgramCase {
    const char* what;
    std::string sql;
    std::vector<int> cols;
    Lines rows;
};

void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.what; }

class DaoProgramSqlTest : public DaoProgramSqlBase, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(DaoProgramSqlTest, GivesTheRowsTheScreensExpect) {
    const ProgramCase& c = GetParam();
    std::string translated;
    try {
        translated = dao::TranslateJetSql(c.sql);
    } catch (const vb::Error& e) {
        translated = "(" + e.Description() + ")";
    }
    try {
        EXPECT_EQ(Rows(c.sql, c.cols), c.rows) << c.sql << "\n  as SQLite: " << translated;
    } catch (const vb::Error& e) {
        ADD_FAILURE() << e.Number() << " " << e.Description() << "\n  " << c.sql << "\n  as SQLite: " << translated;
    }
}

// The select list and joins of the product lists, up to the WHERE text.
const std::string ProductSelect =
    "SELECT IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
    "PRODUTO.DescricaoProdutoP AS DescricaoProduto,GRUPOPRODUTO.DescricaoGrupoProdutoP AS DescricaoGrupoProduto,"
    "PRODUTO.FlagLancamento & PRODUTO.DataLancamento AS OBLancamento,PRODUTO.CodigoProduto,"
    "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado,PRODUTO.ArquivoFotoProduto,"
    "IIF(PRODUTO.FlagLancamento=1,' ','" + CR + "') & IIF(PRODUTO_OBS.CodigoProduto=Null,'" + CR + "',' ') & '" +
    Blanks50 + ".'&PRODUTO.DataLancamento As ImagensGrid "
    "FROM (PRODUTO LEFT JOIN GRUPOPRODUTO ON PRODUTO.CodigoGrupoProduto = GRUPOPRODUTO.CodigoGrupoProduto) "
    "LEFT JOIN PRODUTO_OBS  ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto ";

const std::string GroupAggregates =
    "Max(PRODUTO.FlagLancamento & PRODUTO.DataLancamento) AS OBLancamento,Max(PRODUTO.FlagLancamento) AS FlagLanc ";

const std::string ListSelect =
    "SELECT DISTINCT IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
    "PRODUTO.DescricaoProdutoP AS DescricaoProduto,"
    "IIF(CONJUNTO_PRODUTO1.ItemFigura=Null,'z',IIF(IsNumeric(CONJUNTO_PRODUTO1.ItemFigura),Format(CONJUNTO_PRODUTO1.ItemFigura,'00'),Right('000' & CONJUNTO_PRODUTO1.ItemFigura,3))) As ItemFiguraOrderBy,"
    "PRODUTO.FlagLancamento & PRODUTO.DataLancamento AS OBLancamento,PRODUTO.CodigoProduto,"
    "Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado,CONJUNTO_PRODUTO1.ItemFigura,"
    "PRODUTO.ArquivoFotoProduto,IIF(PRODUTO.FlagLancamento=1,' ','" + CR + "') & "
    "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao AND CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto),' ','" + CR + "') & "
    "IIF(PRODUTO_OBS.CodigoProduto=Null,'" + CR + "',' ') & '" + Blanks50 + ".'&PRODUTO.DataLancamento As ImagensGrid "
    "FROM ((APLICACAO_PRODUTO INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto) "
    "LEFT  JOIN PRODUTO_OBS       ON PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto) "
    "LEFT  JOIN CONJUNTO_PRODUTO1 ON APLICACAO_PRODUTO.CodigoAplicacao = CONJUNTO_PRODUTO1.CodigoAplicacao AND APLICACAO_PRODUTO.CodigoProduto = CONJUNTO_PRODUTO1.CodigoProduto ";

const std::string AppListSelect =
    "SELECT Min(TIPOAPLICACAO.DescricaoTipoAplicacaoP) AS DescricaoTipoAplicacao,"
    "Min(APLICACAO.DescricaoAplicacaoP) AS DescricaoAplicacao,"
    "Max(IIF(PRODUTO.FlagLancamento=Null,0,PRODUTO.FlagLancamento)&PRODUTO.DataLancamento) AS OBLancamento,"
    "Min(APLICACAO.CodigoTipoAplicacao) AS CodigoTipoAplicacao,APLICACAO_PRODUTO.CodigoAplicacao,"
    "IIF(Max(PRODUTO.FlagLancamento)=1,' ','" + CR + "') & "
    "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao),' ','" + CR + "') & '" +
    Blanks50 + ".'&Mid(Max(IIF(PRODUTO.FlagLancamento=Null,0,PRODUTO.FlagLancamento)&PRODUTO.DataLancamento),2) As ImagensGrid "
    "FROM ((PRODUTO INNER JOIN APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) "
    "INNER JOIN APLICACAO ON APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
    "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao WHERE ";

const std::string A = "[AÁÀÂÄÃª]", E = "[EÉÈÊË]", I = "[IÍÌÎÏ]", O = "[OÓÒÔÖÕº]";

INSTANTIATE_TEST_SUITE_P(
    DaoProgram, DaoProgramSqlTest,
    ::testing::Values(
        ProgramCase{"home screen makers",
                    "SELECT FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante,FABRICANTE.CodigoFabricante FROM FABRICANTE "
                    "WHERE FABRICANTE.FlagExibirTelaPrincipal=1 ORDER BY FABRICANTE.OrdemTelaPrincipal",
                    {}, {"Émbar|2", "Volta|1"}},
        ProgramCase{"groups of a maker with the vehicles pseudo-group (UNION, ORDER BY 3,1)",
                    "SELECT Min(GRUPOPRODUTO.DescricaoGrupoProdutoP) AS DescricaoGrupoProduto,PRODUTO.CodigoGrupoProduto,1 AS AuxOB," +
                        GroupAggregates +
                        "FROM ((APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) "
                        "INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto) "
                        "INNER JOIN GRUPOPRODUTO      ON PRODUTO.CodigoGrupoProduto = GRUPOPRODUTO.CodigoGrupoProduto "
                        "WHERE APLICACAO.CodigoFabricante=1 GROUP BY PRODUTO.CodigoGrupoProduto "
                        "UNION SELECT 'Veículos' AS DescricaoGrupoProduto,-1 AS CodigoGrupoProduto,2 AS AuxOB," +
                        GroupAggregates +
                        "FROM (APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) "
                        "INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto "
                        "WHERE APLICACAO.CodigoFabricante=1 AND APLICACAO.CodigoTipoAplicacao=1 "
                        "GROUP BY APLICACAO.CodigoTipoAplicacao ORDER BY 3,1",
                    {}, {"água|2|1|0|0", "Freios|1|1|1240601|1", "Veículos|-1|2|1240507|1"}},
        ProgramCase{"product word filter glued to ORDER BY",
                    ProductSelect + "WHERE PRODUTO.DescricaoProdutoP LIKE '*B" + O + "MB" + A + "*'ORDER BY 1,2", {},
                    {"00-00-0987|bomba de óleo|água|<null>|103|00-00-0987|d.gif|" + CR + CR + Blanks50 + ".",
                     "z|Bomba d'água|água|0|101|<null>|<null>|" + CR + " " + Blanks50 + "."}},
        ProgramCase{"new releases with a word filter, newest first",
                    ProductSelect + "WHERE PRODUTO.FlagLancamento=1 AND PRODUTO.DescricaoProdutoP LIKE '*P" + A + "ST" + I + "LH" +
                        A + "*'ORDER BY 4 DESC,1",
                    {5, 4, 8}, {"102|1240601| " + CR + Blanks50 + ".240601", "100|1240507|  " + Blanks50 + ".240507"}},
        ProgramCase{"a word with an apostrophe",
                    ProductSelect + "WHERE PRODUTO.DescricaoProdutoP LIKE '*D''" + A + "G" + "[UÚÙÛÜ]" + A + "*'ORDER BY 2,1",
                    {5}, {"101"}},
        ProgramCase{"cross-reference substring and company-number prefix",
                    ProductSelect + "WHERE PRODUTO.CodigoProduto IN (SELECT CodigoProduto FROM REFERENCIACRUZADA "
                                    "WHERE NumeroFabricantePesquisa LIKE '*7X*') AND PRODUTO.NumeroEmpresaProduto LIKE '12*' ORDER BY 1,2",
                    {5, 6}, {"100|01-23-4567"}},
        ProgramCase{"company-number prefix sorts by the formatted number",
                    ProductSelect + "WHERE PRODUTO.NumeroEmpresaProduto LIKE '12*' ORDER BY 1,2", {5, 1},
                    {"102|00-00-0012", "100|01-23-4567"}},
        ProgramCase{"application search: Null types first, set flag from EXISTS",
                    "SELECT TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao,"
                    "FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante,APLICACAO.CodigoAplicacao,"
                    "IIF(EXISTS(SELECT 1 FROM CONJUNTO WHERE CONJUNTO.CodigoAplicacao = APLICACAO.CodigoAplicacao),' ','" + CR +
                        "') As ImagensGrid FROM (APLICACAO LEFT  JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
                        "LEFT  JOIN FABRICANTE    ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante ORDER BY 1,2,3",
                    {}, {"<null>|Avulsa|Émbar|30|" + CR, "Motor|Motor 1.6|Volta|20| ", "Veículo|Carro X|Volta|10|" + CR}},
        ProgramCase{"application search with a key and a maker",
                    "SELECT APLICACAO.CodigoAplicacao FROM APLICACAO WHERE APLICACAO.DescricaoAplicacaoPesquisaP LIKE '*M" + O + "T" +
                        O + "R*' AND APLICACAO.CodigoFabricante = 1 ORDER BY 1",
                    {}, {"20"}},
        ProgramCase{"vehicle's application combo (UNION ALL, ORDER BY 1,2,3)",
                    "SELECT 1 AS OrderBy,TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao,"
                    "APLICACAO_VEICULO.CodigoAplicacao FROM (APLICACAO_VEICULO INNER JOIN APLICACAO     ON APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
                    "LEFT  JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao "
                    "WHERE APLICACAO_VEICULO.CodigoVeiculo = 10 UNION ALL SELECT 0 AS OrderBy,TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,"
                    "APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao,0 AS CodigoAplicacao FROM APLICACAO "
                    "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao "
                    "WHERE APLICACAO.CodigoAplicacao = 10 ORDER BY 1,2,3",
                    {}, {"0|Veículo|Carro X|0", "1|Motor|Motor 1.6|20"}},
        ProgramCase{"group combo: the all row first, then the JET order",
                    "SELECT GRUPOPRODUTO.DescricaoGrupoProdutoP AS DescricaoGrupoProduto,GRUPOPRODUTO.CodigoGrupoProduto,"
                    "GRUPOPRODUTO.DescricaoGrupoProdutoP AS OrderBy FROM GRUPOPRODUTO UNION ALL SELECT '<TODOS>' AS DescricaoGrupoProduto,"
                    "0 AS CodigoGrupoProduto,'' AS OrderBy FROM UMREGISTRO ORDER BY OrderBy",
                    {}, {"<TODOS>|0|", "água|2|água", "Freios|1|Freios"}},
        ProgramCase{"maker combo filtered by a list with duplicates",
                    "SELECT DescricaoFabricanteP AS DescricaoFabricante,CodigoFabricante,DescricaoFabricanteP AS OrderBy FROM FABRICANTE "
                    "WHERE CodigoFabricante IN (1,1,3) UNION ALL SELECT '<TODOS>' AS DescricaoFabricante,0 AS CodigoFabricante,'' AS OrderBy "
                    "FROM UMREGISTRO ORDER BY OrderBy",
                    {2}, {"0", "1", "3"}},
        ProgramCase{"applications of a product: description, blanks and complement",
                    "SELECT TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,"
                    "APLICACAO.DescricaoAplicacaoP & '   ' & APLICACAO_PRODUTO.ComplementoAplicacaoP AS DescricaoAplicacao,"
                    "FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante,APLICACAO_PRODUTO.CodigoAplicacao,"
                    "IIF(EXISTS(SELECT 1 FROM CONJUNTO_PRODUTO1 WHERE CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao AND "
                    "CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto),' ','" + CR + "') As ImagensGrid "
                    "FROM ((APLICACAO_PRODUTO INNER JOIN APLICACAO ON APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
                    "LEFT JOIN TIPOAPLICACAO ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
                    "LEFT JOIN FABRICANTE ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
                    "WHERE APLICACAO_PRODUTO.CodigoProduto=100 ORDER BY 1,2,3",
                    {}, {"<null>|Avulsa   |Émbar|30|" + CR, "Veículo|Carro X   diant.|Volta|10|" + CR}},
        ProgramCase{"assembly list ordered by figure item (\"01\" \"07\" \"12A\" \"z\")",
                    ListSelect + "WHERE APLICACAO_PRODUTO.CodigoAplicacao=20 ORDER BY 3,1", {3, 5, 9},
                    {"01|102|  " + CR + Blanks50 + ".240601", "07|102|  " + CR + Blanks50 + ".240601",
                     "12A|103|" + CR + " " + CR + Blanks50 + ".", "z|101|" + CR + CR + " " + Blanks50 + "."}},
        ProgramCase{"assembly list by figure item prefix",
                    ListSelect + "WHERE APLICACAO_PRODUTO.CodigoAplicacao=20 AND CONJUNTO_PRODUTO1.ItemFigura LIKE '1*' ORDER BY 3,1",
                    {7}, {"1", "12A"}},
        ProgramCase{"figure page items grouped, the not-applicable item Null",
                    "SELECT DISTINCT FIGURADETALHADA1.NumeroParteFigura,FIGURADETALHADA1.ItemFigura,FIGURADETALHADA1.PosicaoLeft,"
                    "FIGURADETALHADA1.PosicaoTop,Max(IIF(APLICACAO_PRODUTO.CodigoAplicacao=Null,Null,1)) AS ItemAplicavel,"
                    "Max(PRODUTO.FlagLancamento & PRODUTO.DataLancamento) AS OBLancamento,Max(FIGURADETALHADA1.ArquivoFigura) AS ArqFig,"
                    "Max(PRODUTO.FlagLancamento) AS FlagLanc FROM ((FIGURADETALHADA1 LEFT JOIN CONJUNTO_PRODUTO1 ON "
                    "FIGURADETALHADA1.CodigoConjunto = CONJUNTO_PRODUTO1.CodigoConjunto AND FIGURADETALHADA1.ItemFigura     = CONJUNTO_PRODUTO1.ItemFigura) "
                    "LEFT JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
                    "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) LEFT JOIN PRODUTO ON "
                    "CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO.CodigoProduto WHERE FIGURADETALHADA1.CodigoConjunto = 1 GROUP BY "
                    "FIGURADETALHADA1.NumeroParteFigura,FIGURADETALHADA1.ItemFigura,FIGURADETALHADA1.PosicaoLeft,FIGURADETALHADA1.PosicaoTop "
                    "ORDER BY 1,2",
                    {}, {"1|1|10|20|1|1240601|f1.png|1", "1|12A|30|40|1|<null>|f1.png|<null>",
                         "2|10|5|5|<null>|1240507|f2.png|1", "2|7|1|1|1|1240601|f2.png|1"}},
        ProgramCase{"items of a set",
                    "SELECT DISTINCT CONJUNTO_PRODUTO1.ItemFigura,IIF(PRODUTO.NumeroEmpresaProduto=Null,'z',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
                    "PRODUTO.DescricaoProdutoP AS DescricaoProduto,Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') AS NumeroEmpresaFormatado,"
                    "PRODUTO_OBS.CodigoProduto AS Observacao,CONJUNTO_PRODUTO1.CodigoProduto,PRODUTO.FlagLancamento,PRODUTO.DataLancamento "
                    "FROM ((CONJUNTO_PRODUTO1 INNER JOIN PRODUTO           ON CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO.CodigoProduto) "
                    "INNER JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
                    "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) "
                    "LEFT  JOIN PRODUTO_OBS       ON CONJUNTO_PRODUTO1.CodigoProduto = PRODUTO_OBS.CodigoProduto "
                    "WHERE CONJUNTO_PRODUTO1.CodigoConjunto = 1 ORDER BY 1,2,3",
                    {1, 6, 5}, {"1|102|<null>", "12A|103|<null>", "7|102|<null>"}},
        ProgramCase{"cross references joined by the maker list",
                    "SELECT NumeroFabricante FROM REFERENCIACRUZADA WHERE CodigoProduto    = 100 AND CodigoFabricante IN (1,2) ORDER BY 1",
                    {}, {"0077 x", "ab-12"}},
        ProgramCase{"cross-reference texts, a Null number gives only the maker",
                    "SELECT REFERENCIACRUZADA.NumeroFabricante & ' (' & FABRICANTE.DescricaoAbrevFabricanteP & ')' FROM REFERENCIACRUZADA "
                    "INNER JOIN FABRICANTE ON REFERENCIACRUZADA.CodigoFabricante = FABRICANTE.CodigoFabricante "
                    "WHERE REFERENCIACRUZADA.CodigoProduto = 100 OR REFERENCIACRUZADA.CodigoProduto = 103 ORDER BY 1",
                    {}, {" (ZT)", "0077 x (EMB)", "ab-12 (VLT)"}},
        ProgramCase{"cross-reference panel, the searched number first",
                    "SELECT FABRICANTE.DescricaoAbrevFabricanteP AS DescricaoAbrevFabricante,FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante,"
                    "REFERENCIACRUZADA.NumeroFabricante,IIF(REFERENCIACRUZADA.NumeroFabricantePesquisa LIKE '*B1*',1,0) AS CorDestaque "
                    "FROM REFERENCIACRUZADA INNER JOIN FABRICANTE ON REFERENCIACRUZADA.CodigoFabricante = FABRICANTE.CodigoFabricante "
                    "WHERE REFERENCIACRUZADA.CodigoProduto = 100 AND REFERENCIACRUZADA.CodigoFabricante IN (1,2) "
                    "ORDER BY IIF(REFERENCIACRUZADA.NumeroFabricantePesquisa LIKE '*B1*',0,1),1,2",
                    {}, {"VLT|Volta|ab-12|1", "EMB|Émbar|0077 x|0"}},
        ProgramCase{"application list of a maker, grouped, release key through Mid(Max(...))",
                    AppListSelect + "APLICACAO.CodigoFabricante=1 GROUP BY APLICACAO_PRODUTO.CodigoAplicacao ORDER BY 1,2", {},
                    {"Motor|Motor 1.6|1240601|2|20|  " + Blanks50 + ".240601",
                     "Veículo|Carro X|1240507|1|10| " + CR + Blanks50 + ".240507"}},
        ProgramCase{"application list of a maker and a group without releases",
                    AppListSelect + "PRODUTO.CodigoGrupoProduto=2 AND APLICACAO.CodigoFabricante=1 GROUP BY APLICACAO_PRODUTO.CodigoAplicacao ORDER BY 3 DESC,1",
                    {3, 5, 6}, {"0|20|" + CR + " " + Blanks50 + ".", "0|10|" + CR + CR + Blanks50 + "."}},
        ProgramCase{"vehicles of an application",
                    "SELECT APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao FROM APLICACAO_VEICULO INNER JOIN APLICACAO ON "
                    "APLICACAO_VEICULO.CodigoVeiculo = APLICACAO.CodigoAplicacao WHERE APLICACAO_VEICULO.CodigoAplicacao = 20 AND "
                    "APLICACAO.CodigoFabricante = 1 ORDER BY 1",
                    {}, {"Carro X"}},
        ProgramCase{"makers of a vehicle's applications",
                    "SELECT DISTINCT APLICACAO.CodigoFabricante FROM APLICACAO_VEICULO INNER JOIN APLICACAO ON "
                    "APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao WHERE APLICACAO_VEICULO.CodigoVeiculo = 10",
                    {}, {"1"}},
        ProgramCase{"application description with a Null type",
                    "SELECT TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao,"
                    "FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante FROM (APLICACAO LEFT JOIN TIPOAPLICACAO ON "
                    "APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) LEFT JOIN FABRICANTE    ON "
                    "APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante WHERE APLICACAO.CodigoAplicacao = 30",
                    {}, {"<null>|Avulsa|Émbar"}},
        ProgramCase{"product description without a number",
                    "SELECT PRODUTO.DescricaoProdutoP AS DescricaoProduto,Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado "
                    "FROM PRODUTO WHERE PRODUTO.CodigoProduto = 101",
                    {}, {"Bomba d'água|<null>"}},
        ProgramCase{"printed observations: the code stands in for a missing number",
                    "SELECT IIF(PRODUTO.NumeroEmpresaProduto=Null,'(COD:'&PRODUTO.CodigoProduto&')',Format(PRODUTO.NumeroEmpresaProduto,'00-00-0000')) "
                    "As NumeroEmpresaFormatado,PRODUTO_OBS.ObservacaoP AS Observacao FROM PRODUTO INNER JOIN PRODUTO_OBS ON "
                    "PRODUTO.CodigoProduto = PRODUTO_OBS.CodigoProduto WHERE PRODUTO.CodigoProduto=100 OR PRODUTO.CodigoProduto=101 ORDER BY 1",
                    {}, {"(COD:101)|Obs 101", "01-23-4567|Obs 100"}},
        ProgramCase{"replacement: a Null successor, an empty number",
                    "SELECT CodigoProdutoNovo, (SELECT IIF(NumeroEmpresaProduto=Null,'',Format(NumeroEmpresaProduto,'00-00-0000')) "
                    "FROM PRODUTO WHERE CodigoProduto=101) FROM SUBSTITUIDOS WHERE CodigoProduto=101",
                    {}, {"<null>|"}},
        ProgramCase{"lowest set of an application and product (TOP 1)",
                    "SELECT TOP 1 CONJUNTO.CodigoConjunto FROM CONJUNTO INNER JOIN CONJUNTO_PRODUTO ON "
                    "CONJUNTO.CodigoConjunto = CONJUNTO_PRODUTO.CodigoConjunto WHERE CONJUNTO.CodigoAplicacao = 20 ORDER BY 1",
                    {}, {"1"}},
        ProgramCase{"sets menu of a vehicle, DISTINCT over two sets",
                    "SELECT DISTINCT TIPOAPLICACAO.DescricaoTipoAplicacaoP AS DescricaoTipoAplicacao,APLICACAO.DescricaoAplicacaoP AS DescricaoAplicacao,"
                    "FABRICANTE.DescricaoFabricanteP AS DescricaoFabricante,APLICACAO_VEICULO.CodigoAplicacao FROM (((APLICACAO_VEICULO "
                    "INNER JOIN CONJUNTO          ON APLICACAO_VEICULO.CodigoAplicacao = CONJUNTO.CodigoAplicacao) "
                    "INNER JOIN APLICACAO         ON APLICACAO_VEICULO.CodigoAplicacao = APLICACAO.CodigoAplicacao) "
                    "LEFT  JOIN TIPOAPLICACAO     ON APLICACAO.CodigoTipoAplicacao = TIPOAPLICACAO.CodigoTipoAplicacao) "
                    "LEFT  JOIN FABRICANTE        ON APLICACAO.CodigoFabricante = FABRICANTE.CodigoFabricante "
                    "WHERE APLICACAO_VEICULO.CodigoVeiculo = 10 ORDER BY 1,2,3",
                    {}, {"Motor|Motor 1.6|Volta|20"}},
        ProgramCase{"release list and release test",
                    "SELECT CodigoProduto, (SELECT 1 FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
                    "PRODUTO.CodigoProduto WHERE APLICACAO_PRODUTO.CodigoAplicacao=30 AND PRODUTO.FlagLancamento=1) FROM PRODUTO "
                    "WHERE FlagLancamento=1 ORDER BY 1",
                    {}, {"100|1", "102|1"}},
        ProgramCase{"observation table named in mixed case",
                    "SELECT ObservacaoP AS Observacao FROM Aplicacao_OBS WHERE CodigoAplicacao=20", {}, {"Obs motor"}},
        ProgramCase{"catalogue facts", "SELECT UrlAtualizacao, Versao, CodigosFabricantesCoringas, Format(DataEmissao,'dd/mm/yyyy') & ComplementoDataEmissao FROM UMREGISTRO",
                    {}, {"http://x|3|3|07/05/2024 (rev)"}}));

// The writes of the program: the last-check record, the installed version, the lock statement.
TEST_F(DaoProgramSqlBase, UpdateStatementsOfTheCatalogue) {
    db_.Execute("UPDATE UMREGISTRO SET DataUltimaVerificacao=DateSerial(2024,5,7)+TimeSerial(9,3,0),FlagErroUltimaVerificacao=1",
                dao::dbFailOnError);
    EXPECT_EQ(Rows("SELECT Format(DataUltimaVerificacao,'yyyy-mm-dd hh:nn:ss'), FlagErroUltimaVerificacao FROM UMREGISTRO"),
              Lines{"2024-05-07 09:03:00|1"});
    db_.Execute("UPDATE UMREGISTRO SET Versao                    = 4,VersaoAnterior            = 3,"
                "DataUltimaVerificacao     = DateSerial(2024,6,1)+TimeSerial(23,59,59),FlagErroUltimaVerificacao = 0",
                dao::dbFailOnError);
    EXPECT_EQ(Rows("SELECT Versao, VersaoAnterior, Format(DataUltimaVerificacao,'yyyy-mm-dd hh:nn:ss'), FlagErroUltimaVerificacao FROM UMREGISTRO"),
              Lines{"4|3|2024-06-01 23:59:59|0"});
    auto rs = db_.OpenRecordset("SELECT DataUltimaVerificacao FROM UMREGISTRO", dao::dbOpenForwardOnly);
    EXPECT_EQ(rs.Fields(0).Value().Type(), vb::VarType::Date);
    db_.Execute("UPDATE CONTROLETRAN SET a = a", dao::dbFailOnError | dao::dbSeeChanges);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    EXPECT_EQ(Rows("SELECT a FROM CONTROLETRAN"), Lines{"1"});
}

// The cart's statements in the order a session runs them, with texts that need quoting.
TEST_F(DaoProgramSqlBase, CartStatements) {
    const std::string t = "Carrinho_1";
    db_.Execute("CREATE TABLE " + t + "(CodigoProduto         Long     Not Null,NumeroEmpresaProduto  Text(8)  Null,"
                "DescricaoProduto      Text(50) Not Null,Quantidade            Int      Not Null,"
                "CONSTRAINT PK" + t + " PRIMARY KEY(CodigoProduto))");
    db_.Execute("INSERT INTO " + t + "(CodigoProduto,NumeroEmpresaProduto,DescricaoProduto,Quantidade) VALUES(100,'1234567','O''Neilx',1)");
    db_.Execute("INSERT INTO " + t + "(CodigoProduto,NumeroEmpresaProduto,DescricaoProduto,Quantidade) VALUES(101,Null,'Bomba d''água',5)");
    EXPECT_EQ(Rows("SELECT Quantidade FROM " + t + " WHERE CodigoProduto = 101"), Lines{"5"});
    db_.Execute("UPDATE " + t + " SET Quantidade = 7 WHERE CodigoProduto = 100", dao::dbFailOnError);
    db_.Execute("UPDATE " + t + " SET DescricaoProduto='Pastilha d''X \"a\"' WHERE CodigoProduto=100");
    const std::string grid = "SELECT IIF(NumeroEmpresaProduto=Null,'z',Format(NumeroEmpresaProduto,'00-00-0000')) As NumeroEmpresaOrderBy,"
                             "DescricaoProduto,Quantidade,Format(NumeroEmpresaProduto,'00-00-0000') As NumeroEmpresaFormatado,CodigoProduto FROM " +
                             t + " ORDER BY ";
    EXPECT_EQ(Rows(grid + "1,2"), (Lines{"01-23-4567|Pastilha d'X \"a\"|7|01-23-4567|100", "z|Bomba d'água|5|<null>|101"}));
    EXPECT_EQ(Rows(grid + "2,1", {5}), (Lines{"101", "100"}));
    db_.Execute("DELETE FROM " + t + " WHERE CodigoProduto = 100", dao::dbFailOnError);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    db_.Execute("DELETE FROM " + t, dao::dbFailOnError);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    db_.Execute("DROP TABLE " + t);
    EXPECT_EQ(db_.RecordsAffected(), 0);
}

// The item searches of the figure screen run as Find criteria on the set's items.
TEST_F(DaoProgramSqlBase, FindsItemsOfASet) {
    auto rs = db_.OpenRecordset("SELECT DISTINCT CONJUNTO_PRODUTO1.ItemFigura, CONJUNTO_PRODUTO1.CodigoProduto FROM CONJUNTO_PRODUTO1 "
                                "WHERE CONJUNTO_PRODUTO1.CodigoConjunto = 1 ORDER BY 1,2",
                                dao::dbOpenSnapshot);
    rs.FindFirst("ItemFigura='12a'");   // Jet compares texts without regard to case
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Fields("CodigoProduto").Value().ToString(), "103");
    rs.FindFirst("ItemFigura = '7'");
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Fields("CodigoProduto").Value().ToString(), "102");
    rs.FindFirst("ItemFigura='O''X'");
    EXPECT_TRUE(rs.NoMatch());
}

}  // namespace
