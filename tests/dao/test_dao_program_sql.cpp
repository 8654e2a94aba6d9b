// The catalogue's own queries, as the program's routines build them (language letter "P" put
// in), run on a miniature of the catalogue: the rows Jet gives them.
#include "CatalogFixture.h"

#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "catalog/aux_window/ConsultasAuxiliar.h"
#include "catalog/main_window/ModuloImpressao.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/startup/Modulo.h"
#include "common/modInternet.h"
#include "platform/dao/JetSql.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

const std::string CR = "\r";
const std::string Blanks50(50, ' ');
const std::string P = "P";

// The texts the routines run with "<I>" in them, in Portuguese.
std::string EmPortugues(const std::string& sql) { return consultas::Idioma(sql, P); }

consultas::FiltrosProdutos Filtros(const std::string& numeroFabricante, const std::string& numeroEmpresa,
                                   const std::string& descricao, int grupo = 0, const std::string& itemFigura = "") {
    consultas::FiltrosProdutos f;
    f.numeroFabricante = numeroFabricante;
    f.numeroEmpresa = numeroEmpresa;
    f.descricao = descricao;
    f.grupo = grupo;
    f.itemFigura = itemFigura;
    return f;
}

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
    bool anyOrder = false;   // the query has no ORDER BY: its rows are compared sorted
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
        Lines rows = Rows(c.sql, c.cols);
        if (c.anyOrder) std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.rows) << c.sql << "\n  as SQLite: " << translated;
    } catch (const vb::Error& e) {
        ADD_FAILURE() << e.Number() << " " << e.Description() << "\n  " << c.sql << "\n  as SQLite: " << translated;
    }
}

// The application list of the auxiliary window's group screen of maker 1 with the release
// column, as the screen makes it from its base.
std::string AplicacoesGrupo(long grupo, const std::string& descricao, long tipo, const std::string& ordem) {
    return consultas::GradeAplicacoesGrupo(consultas::BaseAplicacoesGrupo(1, grupo, true, P), descricao, tipo, ordem, P);
}

INSTANTIATE_TEST_SUITE_P(
    DaoProgram, DaoProgramSqlTest,
    ::testing::Values(
        // ---------------------------------------------------------------- the home screen
        ProgramCase{"home screen makers", consultas::FabricantesTelaPrincipal(P), {}, {"Émbar|2", "Volta|1"}},
        ProgramCase{"groups of a maker with the vehicles pseudo-group (UNION, ORDER BY 3,1)",
                    consultas::GruposFabricante(1, "Veículos", P),
                    {}, {"água|2|1|0|0", "Freios|1|1|1240601|1", "Veículos|-1|2|1240507|1"}},
        // ------------------------------------------------------ product search and releases
        ProgramCase{"product word filter glued to ORDER BY",
                    consultas::PesquisaProdutos(false, Filtros("", "", "bomba"), "1", P), {},
                    {"00-00-0987|bomba de óleo|água|<null>|103|00-00-0987|d.gif|" + CR + CR + Blanks50 + ".",
                     "z|Bomba d'água|água|0|101|<null>|<null>|" + CR + " " + Blanks50 + "."}},
        ProgramCase{"new releases with a word filter, newest first",
                    consultas::PesquisaProdutos(true, Filtros("", "", "pastilha"), "4", P),
                    {5, 4, 8}, {"102|1240601| " + CR + Blanks50 + ".240601", "100|1240507|  " + Blanks50 + ".240507"}},
        ProgramCase{"a word with an apostrophe",
                    consultas::PesquisaProdutos(false, Filtros("", "", "d'água"), "2", P), {5}, {"101"}},
        ProgramCase{"cross-reference substring and company-number prefix",
                    consultas::PesquisaProdutos(false, Filtros("07-x", "0012", ""), "1", P), {5, 6}, {"100|01-23-4567"}},
        ProgramCase{"company-number prefix sorts by the formatted number",
                    consultas::PesquisaProdutos(false, Filtros("", "12", ""), "1", P), {5, 1},
                    {"102|00-00-0012", "100|01-23-4567"}},
        ProgramCase{"a group", consultas::PesquisaProdutos(false, Filtros("", "", "", 2), "2", P), {5}, {"101", "103"}},
        ProgramCase{"applications of a product: description, blanks and complement",
                    consultas::PesquisaAplicacoesProduto(100, "1", P),
                    {}, {"<null>|Avulsa   |Émbar|30|" + CR, "Veículo|Carro X   diant.|Volta|10|" + CR}},
        ProgramCase{"applications of a product in one of its sets", consultas::PesquisaAplicacoesProduto(102, "2", P),
                    {2, 5}, {"Motor 1.6   | "}},
        ProgramCase{"group combo: the all row first, then the JET order", consultas::CarregaComboGrupos("<TODOS>", P),
                    {}, {"<TODOS>|0|", "água|2|água", "Freios|1|Freios"}},
        // -------------------------------------------------------------- application search
        ProgramCase{"application search: Null types first, set flag from EXISTS",
                    consultas::PesquisaAplicacoes("", 0, 0, "1", P),
                    {}, {"<null>|Avulsa|Émbar|30|" + CR, "Motor|Motor 1.6|Volta|20| ", "Veículo|Carro X|Volta|10|" + CR}},
        ProgramCase{"application search with a key and a maker", consultas::PesquisaAplicacoes("motôr", 0, 1, "1", P),
                    {4}, {"20"}},
        ProgramCase{"application search by type, sorted by maker", consultas::PesquisaAplicacoes("", 1, 0, "3", P),
                    {4}, {"10"}},
        ProgramCase{"maker combo filtered by a list with duplicates",
                    EmPortugues(consultas::CarregaComboFabricantes("<TODOS>", "1,1,3")), {2}, {"0", "1", "3"}},
        ProgramCase{"maker combo of every maker", EmPortugues(consultas::CarregaComboFabricantes("<TODOS>", "")), {2},
                    {"0", "2", "1", "3"}},
        ProgramCase{"application type combo", EmPortugues(consultas::CarregaComboTiposAplicacao("<TODOS>")), {2},
                    {"0", "2", "1"}},
        // -------------------------------------------------------------------- the lists
        ProgramCase{"vehicle's application combo (UNION ALL, ORDER BY 1,2,3)",
                    consultas::CarregaComboAplicacoesVeiculo(10, P), {}, {"0|Veículo|Carro X|0", "1|Motor|Motor 1.6|20"}},
        ProgramCase{"vehicle list: set flag of any set, observation, date",
                    consultas::PesquisaProdutosAplicacao(10, Filtros("", "", ""), "1,2", false, "1", P), {5, 3, 8},
                    {"100|Freios|  " + Blanks50 + ".240507", "101|água|" + CR + " " + Blanks50 + "."}},
        ProgramCase{"vehicle list with the release column and a group",
                    consultas::PesquisaProdutosAplicacao(10, Filtros("", "", "", 1), "1,2", true, "4", P), {5, 8},
                    {"100|   " + Blanks50 + ".240507"}},
        ProgramCase{"vehicle list: a reference counts only for the application's makers",
                    consultas::PesquisaProdutosAplicacao(10, Filtros("ab12", "", ""), "2", false, "1", P), {5}, {}},
        ProgramCase{"vehicle list: the reference of one of its makers",
                    consultas::PesquisaProdutosAplicacao(10, Filtros("ab12", "", ""), "2,1", false, "1", P), {5}, {"100"}},
        ProgramCase{"assembly list ordered by figure item (\"01\" \"07\" \"12A\" \"z\")",
                    consultas::PesquisaProdutosConjunto(20, Filtros("", "", ""), "", true, "3", P), {3, 5, 9},
                    {"01|102|  " + CR + Blanks50 + ".240601", "07|102|  " + CR + Blanks50 + ".240601",
                     "12A|103|" + CR + " " + CR + Blanks50 + ".", "z|101|" + CR + CR + " " + Blanks50 + "."}},
        ProgramCase{"assembly list by figure item prefix",
                    consultas::PesquisaProdutosConjunto(20, Filtros("", "", "", 0, "1"), "", true, "3", P), {7},
                    {"1", "12A"}},
        ProgramCase{"a vehicle", consultas::AplicacaoEhTipo1(10), {}, {"1"}},
        ProgramCase{"an application of another type", consultas::AplicacaoEhTipo1(20), {}, {}},
        ProgramCase{"an application with a release", consultas::AplicacaoTemLancamentos(30), {}, {"1"}},
        // ---------------------------------------------------------------- the detail panel
        ProgramCase{"cross-reference panel, the searched number first",
                    consultas::CarregaReferenciasCruzadas(100, "b-1", std::string("1,2"), P),
                    {}, {"VLT|Volta|ab-12|1", "EMB|Émbar|0077 x|0"}},
        ProgramCase{"cross-reference panel of screen 1: every maker, none marked",
                    consultas::CarregaReferenciasCruzadas(100, "", std::nullopt, P), {1, 4}, {"EMB|0", "VLT|0"}},
        ProgramCase{"cross-reference panel of a list without makers", consultas::CarregaReferenciasCruzadas(100, "", std::string(), P),
                    {}, {}},
        ProgramCase{"replacement: a Null successor", EmPortugues(consultas::ProdutoSubstituto(101)), {}, {"<null>"}},
        ProgramCase{"replacement: the successor", EmPortugues(consultas::ProdutoSubstituto(100)), {}, {"102"}},
        ProgramCase{"the successor's number, formatted", consultas::NumeroEmpresaSubstituto(102), {}, {"00-00-0012"}},
        ProgramCase{"the successor's number when it has none", consultas::NumeroEmpresaSubstituto(101), {}, {""}},
        // ------------------------------------------------------------------ the figure
        ProgramCase{"figure page items grouped, the not-applicable item Null", consultas::CarregaFiguraDetalhada(1),
                    {}, {"1|1|10|20|1|1240601|f1.png|1", "1|12A|30|40|1|<null>|f1.png|<null>",
                         "2|10|5|5|<null>|1240507|f2.png|1", "2|7|1|1|1|1240601|f2.png|1"}},
        ProgramCase{"items of a set", consultas::AbreItensConjunto(1, P), {1, 6, 5},
                    {"1|102|<null>", "12A|103|<null>", "7|102|<null>"}},
        ProgramCase{"items of a product in a set", consultas::ItensProdutoConjunto(1, "102"), {}, {"1", "7"}},
        ProgramCase{"lowest set of an application (TOP 1)", consultas::ObtemConjunto(20, -1), {}, {"1"}},
        ProgramCase{"lowest set of an application holding a product", consultas::ObtemConjunto(20, 103), {}, {"1"}},
        ProgramCase{"no set holds the product", consultas::ObtemConjunto(20, 100), {}, {}},
        ProgramCase{"sets menu of a vehicle, DISTINCT over two sets", consultas::CarregaMenuConjuntosVeiculo(10, P),
                    {}, {"Motor|Motor 1.6|Volta|20"}},
        ProgramCase{"sets menu of a product on a vehicle, its items DISTINCT", consultas::CarregaMenuConjuntos(102, 10, P),
                    {}, {"Motor|Motor 1.6   |Volta|20"}},
        ProgramCase{"sets menu of a product that fits none of them", consultas::CarregaMenuConjuntos(100, 10, P), {}, {}},
        // ------------------------------------------------------------ texts and helpers
        ProgramCase{"cross references joined by the maker list", EmPortugues(consultas::ObtemReferenciasCruzadas(100, "1,2")),
                    {}, {"0077 x", "ab-12"}},
        ProgramCase{"cross-reference texts", EmPortugues(consultas::MontaTextoReferenciasCruzadas(100, "")), {},
                    {"0077 x (EMB)|0077 x", "ab-12 (VLT)|ab-12"}},
        ProgramCase{"cross-reference texts, a Null number gives only the maker",
                    EmPortugues(consultas::MontaTextoReferenciasCruzadas(103, "1,3")), {}, {" (ZT)|<null>"}},
        ProgramCase{"makers of a vehicle's applications", EmPortugues(consultas::FabricantesRelacionados(10, true)), {},
                    {"1"}},
        ProgramCase{"makers of an application's vehicles", EmPortugues(consultas::FabricantesRelacionados(20, false)), {},
                    {"1"}},
        ProgramCase{"application description with a Null type", EmPortugues(consultas::MontaDescricaoAplicacao(30)), {},
                    {"<null>|Avulsa|Émbar"}},
        ProgramCase{"product description without a number", EmPortugues(consultas::MontaDescricaoProduto(101)), {},
                    {"Bomba d'água|<null>"}},
        ProgramCase{"release list", ConsultaListaLancamentos(), {}, {"100", "102"}},
        // ------------------------------------------------------ the auxiliary window
        ProgramCase{"observation of a product", consultas::ObservacaoAuxiliar("P", 100, P), {}, {"Obs 100"}},
        ProgramCase{"observation of an application, its table named in mixed case",
                    consultas::ObservacaoAuxiliar("A", 20, P), {}, {"Obs motor"}},
        ProgramCase{"applications of a product: a Null type first, a Null complement as nothing",
                    consultas::GradeAplicacoesProduto(100, P) + consultas::OrdemGradeAplicacoesProduto("1"), {},
                    {"<null>|Avulsa   |Émbar|30", "Veículo|Carro X   diant.|Volta|10"}},
        ProgramCase{"applications of a product by type, then by description",
                    consultas::GradeAplicacoesProduto(101, P) + consultas::OrdemGradeAplicacoesProduto("1"), {4},
                    {"20", "10"}},
        ProgramCase{"applications of a product by description",
                    consultas::GradeAplicacoesProduto(101, P) + consultas::OrdemGradeAplicacoesProduto("2"), {4},
                    {"10", "20"}},
        ProgramCase{"cross references of a cart product", consultas::ReferenciasCarrinho(100, P), {},
                    {"0077 x (EMB)", "ab-12 (VLT)"}},
        ProgramCase{"a cross reference without a number", consultas::ReferenciasCarrinho(103, P), {}, {" (ZT)"}},
        ProgramCase{"group and maker of the subtitle",
                    consultas::DescricaoGrupoProduto(2, P) + " UNION ALL " + consultas::DescricaoFabricante(1, P), {},
                    {"água", "Volta"}},
        ProgramCase{"application list of a maker, grouped, release key through Mid(Max(...))",
                    AplicacoesGrupo(0, "", 0, "1"), {},
                    {"Motor|Motor 1.6|1240601|2|20|  " + Blanks50 + ".240601",
                     "Veículo|Carro X|1240507|1|10| " + CR + Blanks50 + ".240507"}},
        ProgramCase{"application list of a maker and a group without releases, by release",
                    AplicacoesGrupo(2, "", 0, "3"), {3, 5, 6},
                    {"0|20|" + CR + " " + Blanks50 + ".", "0|10|" + CR + CR + Blanks50 + "."}},
        ProgramCase{"application list filtered by typed words", AplicacoesGrupo(0, "motor", 0, "1"), {5}, {"20"}},
        ProgramCase{"application list filtered by type", AplicacoesGrupo(0, "", 1, "1"), {5}, {"10"}},
        ProgramCase{"application list: an apostrophe typed finds nothing", AplicacoesGrupo(0, "d'x", 0, "1"), {5}, {}},
        ProgramCase{"vehicles of an application from its maker", consultas::VeiculosAplicacao(20, "1", P), {}, {"Carro X"}},
        ProgramCase{"vehicles of an application from another maker", consultas::VeiculosAplicacao(20, "2", P), {}, {}},
        // ------------------------------------------------------------------ the printouts
        ProgramCase{"printed observation: the code stands in for a missing number",
                    consultas::ObservacaoImpressao(101, P), {}, {"(COD:101)|Obs 101"}},
        ProgramCase{"printed observation with the number", consultas::ObservacaoImpressao(100, P), {},
                    {"01-23-4567|Obs 100"}},
        ProgramCase{"printed observation of a product without one", consultas::ObservacaoImpressao(102, P), {}, {}},
        ProgramCase{"printed figure page: an item whose product does not fit is Null",
                    consultas::FiguraImpressao(1, 2), {}, {"2|f2.png|10|5|5|<null>", "2|f2.png|7|1|1|1"}, true},
        ProgramCase{"printed figure page of another page", consultas::FiguraImpressao(1, 1), {3, 6}, {"12A|1", "1|1"}, true},
        // ------------------------------------------------------------ the catalogue's facts
        ProgramCase{"the wildcard makers", consultas::FabricantesCoringas(), {}, {"3"}},
        ProgramCase{"issue date complement and the last check", consultas::DatasCatalogo(), {2, 3, 4}, {" (rev)|<null>|0"}},
        ProgramCase{"update address and installed version", ConsultaEnderecoAtualizacao(), {}, {"http://x|3"}}));

// The writes of the program: the last-check record, the installed version, the lock statement.
TEST_F(DaoProgramSqlBase, UpdateStatementsOfTheCatalogue) {
    EXPECT_EQ(consultas::GravaUltimaVerificacao("", ""), "") << "nothing to record runs nothing";
    db_.Execute(consultas::GravaUltimaVerificacao(FormataDataHoraSQL(vb::DateSerial(2024, 5, 7) + vb::TimeSerial(9, 3, 0)), "1"),
                dao::dbFailOnError);
    EXPECT_EQ(Rows("SELECT Format(DataUltimaVerificacao,'yyyy-mm-dd hh:nn:ss'), FlagErroUltimaVerificacao FROM UMREGISTRO"),
              Lines{"2024-05-07 09:03:00|1"});
    db_.Execute(consultas::GravaUltimaVerificacao("", "0"), dao::dbFailOnError);
    EXPECT_EQ(Rows("SELECT Format(DataUltimaVerificacao,'yyyy-mm-dd'), FlagErroUltimaVerificacao FROM UMREGISTRO"),
              Lines{"2024-05-07|0"});
    db_.Execute(MontaComandoVersao(3, 4, vb::DateSerial(2024, 6, 1) + vb::TimeSerial(23, 59, 59)), dao::dbFailOnError);
    EXPECT_EQ(Rows("SELECT Versao, VersaoAnterior, Format(DataUltimaVerificacao,'yyyy-mm-dd hh:nn:ss'), FlagErroUltimaVerificacao FROM UMREGISTRO"),
              Lines{"4|3|2024-06-01 23:59:59|0"});
    // The main window reads the moment back as a date.
    auto rs = db_.OpenRecordset(consultas::DatasCatalogo(), dao::dbOpenForwardOnly);
    EXPECT_EQ(rs.Value("DataUltimaVerificacao").Type(), vb::VarType::Date);
    EXPECT_EQ(rs.Value("DataEmissao").Type(), vb::VarType::Date);
    db_.Execute(consultas::BloqueiaAtualizacao(), dao::dbFailOnError | dao::dbSeeChanges);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    EXPECT_EQ(Rows("SELECT a FROM CONTROLETRAN"), Lines{"1"});
}

// The cart's statements in the order a session runs them, with texts that need quoting.
TEST_F(DaoProgramSqlBase, CartStatements) {
    const std::string t = "Carrinho_1";
    db_.Execute(consultas::CriaTabelaCarrinho(t));
    EXPECT_EQ(Rows(EmPortugues(consultas::ProdutoCarrinho(100))), Lines{"1234567|Pastilha de freio"});
    db_.Execute(consultas::IncluiProdutoCarrinho(t, 100, std::string("1234567"), "O'Neilx", 1));
    db_.Execute(consultas::IncluiProdutoCarrinho(t, 101, std::nullopt, "Bomba d'água|", 5));
    EXPECT_EQ(Rows(consultas::QuantidadeCarrinho(t, 101)), Lines{"5"});
    EXPECT_EQ(Rows(consultas::QuantidadeCarrinho(t, 102)), Lines{});
    db_.Execute(consultas::AlteraQuantidadeCarrinho(t, 100, 7), dao::dbFailOnError);
    db_.Execute(consultas::AlteraDescricaoCarrinho(t, 100, "Pastilha d'X \"a\""));
    const std::string grid = consultas::GradeCarrinho(t);
    EXPECT_EQ(Rows(grid + consultas::OrdemGradeCarrinho("1")),
              (Lines{"01-23-4567|Pastilha d'X \"a\"|7|01-23-4567|100", "z|Bomba d'água|5|<null>|101"}));
    EXPECT_EQ(Rows(grid + consultas::OrdemGradeCarrinho("2"), {5}), (Lines{"101", "100"}));
    db_.Execute(consultas::ExcluiProdutoCarrinho(t, 100), dao::dbFailOnError);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    db_.Execute(consultas::ExcluiProdutoCarrinho(t, 0), dao::dbFailOnError);
    EXPECT_EQ(db_.RecordsAffected(), 1);
    db_.Execute(consultas::ApagaTabelaCarrinho(t));
    EXPECT_EQ(db_.RecordsAffected(), 0);
}

// The item searches of the figure screen run as Find criteria on the set's items.
TEST_F(DaoProgramSqlBase, FindsItemsOfASet) {
    auto rs = db_.OpenRecordset(consultas::AbreItensConjunto(1, P), dao::dbOpenSnapshot);
    rs.FindFirst(consultas::CriterioItemFigura("12a"));   // Jet compares texts without regard to case
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Fields("CodigoProduto").Value().ToString(), "103");
    rs.FindFirst(consultas::CriterioItemFigura("7"));
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Fields("CodigoProduto").Value().ToString(), "102");
    rs.FindFirst(consultas::CriterioItemFigura("O'X"));
    EXPECT_TRUE(rs.NoMatch());
}

}  // namespace
