// The demo data folder: keyed files, the schema's rules and content for every screen, and
// the opening errors.
#include "tests/data/Pasta.h"

#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"
#include "tools/demo_data/Catalogo.h"

#include <sqlite3.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>

using teste::kDemo;

namespace {

std::string Cabecalho(const std::string& arquivo)
{
    std::ifstream f(arquivo, std::ios::binary);
    std::string s(16, '\0');
    f.read(s.data(), 16);
    return s;
}

class Demo : public ::testing::Test {
protected:
    void SetUp() override
    {
        EstadoPrograma.CaminhoDados = kDemo + "/";
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    }
    void TearDown() override { teste::FechaTudo(); }

    std::vector<std::vector<vb::Variant>> Linhas(const std::string& sql)
    {
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(AplicaIdioma(sql), dao::dbOpenSnapshot);
        std::vector<std::vector<vb::Variant>> res;
        for (; !rs.Eof(); rs.MoveNext()) {
            std::vector<vb::Variant> l;
            for (int i = 0; i < rs.FieldCount(); ++i) l.push_back(rs.Fields(i).Value());
            res.push_back(l);
        }
        rs.Close();
        return res;
    }
    long Conta(const std::string& sql) { return ObtemValorSQL(sql, 0).ToLong(); }
};

// A field as the screens show it: Null as nothing.
std::string Txt(const vb::Variant& v) { return ObtemValorCampo(v, "").ToString(); }

}  // namespace

TEST(ArquivosDemo, BothDatabasesAreKeyedAndTheFoldersExist)
{
    const std::string semChave("SQLite format 3\0", 16);
    for (const char* f : {"CatalogoZORNAK.c01", "CatalogoZORNAK.c02"}) {
        const std::string cab = Cabecalho(kDemo + "/" + f);
        EXPECT_EQ(cab.size(), 16u) << f;
        EXPECT_NE(cab, semChave) << f;
    }
    EXPECT_TRUE(QDir(QString::fromStdString(kDemo + "/FotoPeca")).exists());
    EXPECT_TRUE(QDir(QString::fromStdString(kDemo + "/Figuras")).exists());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(kDemo + "/cnpop.txt")));
    EXPECT_EQ(ObtemSenhaBancoDados().size(), 11u);
}

// Opening errors, for both files: the program's messages tell a missing file from a file it
// cannot read with its password.
TEST(AbreBancos, MissingWrongPasswordAndPlainFilesGiveJetErrors)
{
    struct Caso {
        const char* nome;
        std::function<void(const std::string&)> prepara;
        long erro;
    };
    auto comSenha = [](const std::string& caminho, const std::string& senha) {
        dao::Workspace ws = dao::DBEngine().CreateWorkspace("Prepara", "admin", "");
        dao::Database db = ws.CreateDatabase(caminho, ";pwd=" + senha);
        db.Execute("CREATE TABLE UMREGISTRO (Versao Long)");
        db.Close();
        ws.Close();
    };
    const std::vector<Caso> casos = {
        {"missing", [](const std::string&) {}, dao::jet::FileNotFound},
        {"other password", [&](const std::string& c) { comSenha(c, "OutraSenha1"); }, dao::jet::NotValidPassword},
        {"plain SQLite", [](const std::string& c) {
             sqlite3* db = nullptr;
             ASSERT_EQ(sqlite3_open(c.c_str(), &db), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE UMREGISTRO (Versao INTEGER)", nullptr, nullptr, nullptr), SQLITE_OK);
             sqlite3_close(db);
         }, dao::jet::NotValidPassword},
    };
    for (const auto& caso : casos) {
        for (bool catalogo : {true, false}) {
            SCOPED_TRACE(std::string(caso.nome) + (catalogo ? " catalogue" : " auxiliary"));
            QTemporaryDir dir;
            EstadoPrograma.CaminhoDados = dir.path().toStdString() + "/";
            caso.prepara(EstadoPrograma.CaminhoDados + (catalogo ? ArquivoBancoCatalogo : ArquivoBancoAuxiliar));
            dao::Workspace ws;
            dao::Database db;
            try {
                if (catalogo) AbreBancoCatalogo(ws, NomeWsCatalogo, db, true);
                else AbreBancoAuxiliar(ws, db);
                ADD_FAILURE() << "opened";
            } catch (const vb::Error& e) {
                EXPECT_EQ(e.Number(), caso.erro) << e.Description();
            }
            EXPECT_TRUE(ws.IsNothing());
            EXPECT_TRUE(db.IsNothing());
        }
    }
}

TEST_F(Demo, OneRowTablesAndTheWildcardMakers)
{
    EXPECT_EQ(Conta("SELECT Count(*) FROM UMREGISTRO"), 1);
    EXPECT_EQ(Conta("SELECT Count(*) FROM CONTROLETRAN"), 1);
    EXPECT_EQ(Txt(ObtemValorSQL("SELECT CodigosFabricantesCoringas FROM UMREGISTRO", "")), "17,19,20");
    EXPECT_GT(ObtemValorSQL("SELECT Versao FROM UMREGISTRO", 0).ToLong(), 0);
    EXPECT_EQ(Conta("SELECT Count(*) FROM APLICACAO WHERE CodigoFabricante=Null"), 0);
    EXPECT_EQ(Conta("SELECT Count(*) FROM CONJUNTO WHERE CodigoAplicacao > 32767"), 0);
}

// Every per-language column holds three different texts, and the Portuguese ones carry
// accents, so a wrong "<I>" replacement shows.
TEST_F(Demo, PerLanguageColumnsDifferInEveryLanguage)
{
    const std::vector<std::pair<std::string, std::string>> colunas = {
        {"PRODUTO", "DescricaoProduto"},          {"GRUPOPRODUTO", "DescricaoGrupoProduto"},
        {"FABRICANTE", "DescricaoFabricante"},    {"FABRICANTE", "DescricaoAbrevFabricante"},
        {"TIPOAPLICACAO", "DescricaoTipoAplicacao"}, {"APLICACAO", "DescricaoAplicacao"},
        {"APLICACAO_PRODUTO", "ComplementoAplicacao"}, {"PRODUTO_OBS", "Observacao"},
        {"APLICACAO_OBS", "Observacao"}};
    for (const auto& [tabela, base] : colunas) {
        SCOPED_TRACE(tabela + "." + base);
        const auto linhas = Linhas("SELECT " + base + "P," + base + "E," + base + "I FROM " + tabela);
        long comTexto = 0;
        for (const auto& l : linhas) {
            if (Txt(l[0]).empty()) continue;
            ++comTexto;
            EXPECT_NE(Txt(l[0]), Txt(l[1]));
            EXPECT_NE(Txt(l[1]), Txt(l[2]));
            EXPECT_NE(Txt(l[0]), Txt(l[2]));
        }
        EXPECT_GT(comTexto, 0);
    }
    EXPECT_GT(Conta("SELECT Count(*) FROM PRODUTO WHERE DescricaoProdutoP LIKE '*[áâãçéêíóôõú]*'"), 10);
    EXPECT_GT(Conta("SELECT Count(*) FROM APLICACAO WHERE DescricaoAplicacaoP LIKE '*[áâãçéêíóôõú]*'"), 10);
}

TEST_F(Demo, SearchColumnsHoldTheNormalisedTexts)
{
    for (const char* l : {"P", "E", "I"}) {
        const std::string L = l;
        for (const auto& r : Linhas("SELECT DescricaoAplicacao" + L + ",DescricaoAplicacaoPesquisa" + L + " FROM APLICACAO"))
            EXPECT_EQ(Txt(r[1]), MontaChaveBusca(Txt(r[0])));
    }
    const auto refs = Linhas("SELECT NumeroFabricante,NumeroFabricantePesquisa FROM REFERENCIACRUZADA");
    for (const auto& r : refs) EXPECT_EQ(Txt(r[1]), NormalizaCodigoAlfanumerico(Txt(r[0])));
    // The spellings the search must see through.
    auto algum = [&](const std::function<bool(const std::string&)>& f) {
        for (const auto& r : refs)
            if (f(Txt(r[0]))) return true;
        return false;
    };
    EXPECT_TRUE(algum([](const std::string& s) { return s.find(' ') != std::string::npos; }));
    EXPECT_TRUE(algum([](const std::string& s) { return s.find('-') != std::string::npos; }));
    EXPECT_TRUE(algum([](const std::string& s) { return !s.empty() && s[0] == '0'; }));
    EXPECT_TRUE(algum([](const std::string& s) { return s != vb::UCase(s); }));
}

// The home screen's group query (as the home screen runs it) gives makers with no group
// row, one, four, five and more than five.
TEST_F(Demo, HomeScreenMakersCoverEveryGroupCount)
{
    const auto fabricantes = Linhas(
        "SELECT CodigoFabricante,OrdemTelaPrincipal FROM FABRICANTE WHERE FlagExibirTelaPrincipal=1 ORDER BY 2");
    ASSERT_EQ(fabricantes.size(), 14u);
    std::set<long> ordens;
    std::multiset<long> contagens;
    for (const auto& f : fabricantes) {
        ordens.insert(f[1].ToLong());
        const std::string c = std::to_string(f[0].ToLong());
        const std::string lanc = "Max(PRODUTO.FlagLancamento & PRODUTO.DataLancamento) AS OBLancamento,"
                                 "Max(PRODUTO.FlagLancamento) AS FlagLanc ";
        const std::string sqlGrupos =
            "SELECT Min(GRUPOPRODUTO.DescricaoGrupoProduto<I>) AS DescricaoGrupoProduto,PRODUTO.CodigoGrupoProduto,"
            "1 AS AuxOB," + lanc + "FROM ((APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = "
            "APLICACAO_PRODUTO.CodigoAplicacao) INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = "
            "PRODUTO.CodigoProduto) INNER JOIN GRUPOPRODUTO      ON PRODUTO.CodigoGrupoProduto = "
            "GRUPOPRODUTO.CodigoGrupoProduto WHERE APLICACAO.CodigoFabricante=" + c +
            " GROUP BY PRODUTO.CodigoGrupoProduto";
        const std::string sqlVeiculos =
            "SELECT 'Veículos' AS DescricaoGrupoProduto,-1 AS CodigoGrupoProduto,2 AS AuxOB," + lanc +
            "FROM (APLICACAO INNER JOIN APLICACAO_PRODUTO ON APLICACAO.CodigoAplicacao = "
            "APLICACAO_PRODUTO.CodigoAplicacao) INNER JOIN PRODUTO           ON APLICACAO_PRODUTO.CodigoProduto = "
            "PRODUTO.CodigoProduto WHERE APLICACAO.CodigoFabricante=" + c +
            " AND APLICACAO.CodigoTipoAplicacao=1 GROUP BY APLICACAO.CodigoTipoAplicacao";
        const auto grupos = Linhas(sqlGrupos);
        const auto veiculos = Linhas(sqlVeiculos);
        // The whole UNION, sorted by column numbers as the home screen sorts it.
        EXPECT_EQ(Linhas(sqlGrupos + " UNION " + sqlVeiculos + " ORDER BY 3,1").size(),
                  grupos.size() + veiculos.size());
        contagens.insert(static_cast<long>(grupos.size() + veiculos.size()));
    }
    EXPECT_EQ(ordens.size(), 14u);
    for (long n : {0L, 1L, 4L, 5L}) EXPECT_GE(contagens.count(n), 1u) << n << " groups";
    EXPECT_GE(*contagens.rbegin(), 7);
}

TEST_F(Demo, ProductsNumbersReleasesAndDescriptions)
{
    const auto p = Linhas("SELECT NumeroEmpresaProduto,DescricaoProdutoP,FlagLancamento,DataLancamento FROM PRODUTO");
    EXPECT_GE(p.size(), 350u);
    EXPECT_LE(p.size(), 450u);
    long semNumero = 0, lancamentos = 0, apostrofo = 0, dozePalavras = 0, longa = 0;
    std::set<std::string> meses;
    for (const auto& l : p) {
        if (l[0].IsNull()) ++semNumero;
        else {
            const std::string n = l[0].ToString();
            EXPECT_TRUE(n.size() == 7 || n.size() == 8) << n;
            EXPECT_NE(n[0], '0') << n;
        }
        const std::string d = Txt(l[1]);
        EXPECT_LE(vb::Len(d), 50) << d;   // the cart keeps descriptions in Text(50)
        if (d.find('\'') != std::string::npos) ++apostrofo;
        if (vb::Split(d, " ").size() == 12) ++dozePalavras;
        if (vb::Len(d) >= 45) ++longa;
        if (!l[2].IsNull() && l[2].ToLong() == 1) {
            ++lancamentos;
            const std::string data = Txt(l[3]);
            ASSERT_EQ(data.size(), 6u);
            meses.insert(data.substr(0, 4));
        }
    }
    EXPECT_GE(semNumero, 1);
    EXPECT_GE(lancamentos, 20);
    EXPECT_LE(lancamentos, 30);
    EXPECT_GE(meses.size(), 5u);    // spread over about six months
    EXPECT_GE(apostrofo, 1);
    EXPECT_GE(dozePalavras, 1);
    EXPECT_GE(longa, 1);
    EXPECT_GE(Conta("SELECT Count(*) FROM PRODUTO WHERE DescricaoProdutoP LIKE '* D[AEO] *'"), 20);
    for (const auto& l : Linhas("SELECT DescricaoProdutoE,DescricaoProdutoI FROM PRODUTO"))
        for (const auto& v : l) EXPECT_LE(vb::Len(Txt(v)), 50) << Txt(v);
    EXPECT_GE(Conta("SELECT Count(*) FROM PRODUTO_OBS"), 30);
    EXPECT_GE(Conta("SELECT Count(*) FROM APLICACAO_OBS"), 3);
}

TEST_F(Demo, CrossReferencesPerProduct)
{
    const auto porProduto =
        Linhas("SELECT CodigoProduto,Count(*) FROM REFERENCIACRUZADA GROUP BY CodigoProduto ORDER BY 2 DESC");
    long total = 0, comNove = 0;
    for (const auto& l : porProduto) {
        total += l[1].ToLong();
        EXPECT_LE(l[1].ToLong(), 9);
        if (l[1].ToLong() == 9) ++comNove;
    }
    EXPECT_EQ(comNove, 1);
    EXPECT_GE(total, 1200);
    EXPECT_LE(total, 1900);
    EXPECT_GT(Conta("SELECT Count(*) FROM PRODUTO WHERE CodigoProduto NOT IN (SELECT CodigoProduto FROM REFERENCIACRUZADA)"), 0);
}

TEST_F(Demo, ReplacementChainsIncludeACycle)
{
    EXPECT_EQ(ObtemValorSQL("SELECT CodigoProdutoNovo FROM SUBSTITUIDOS WHERE CodigoProduto=106", 0).ToLong(), 107);
    EXPECT_EQ(ObtemValorSQL("SELECT CodigoProdutoNovo FROM SUBSTITUIDOS WHERE CodigoProduto=107", 0).ToLong(), 106);
    EXPECT_GE(Conta("SELECT Count(*) FROM SUBSTITUIDOS"), 10);
}

TEST_F(Demo, SetsPagesItemsAndVehicles)
{
    // Pages per set.
    std::set<long> paginas;
    for (const auto& l : Linhas("SELECT CodigoConjunto,Count(*) FROM (SELECT DISTINCT CodigoConjunto,NumeroParteFigura "
                                "FROM FIGURADETALHADA1) GROUP BY CodigoConjunto"))
        paginas.insert(l[1].ToLong());
    for (long n : {1L, 2L, 3L, 5L}) EXPECT_TRUE(paginas.count(n)) << n << " pages";
    for (const auto& l : Linhas("SELECT Count(*) FROM FIGURADETALHADA1 GROUP BY CodigoConjunto,NumeroParteFigura")) {
        EXPECT_GE(l[0].ToLong(), 8);
        EXPECT_LE(l[0].ToLong(), 25);
    }
    // One set holds the items that sort and match by prefix awkwardly.
    std::set<std::string> itens;
    const long conjunto = ObtemValorSQL("SELECT CodigoConjunto FROM FIGURADETALHADA1 WHERE ItemFigura='12A'", 0).ToLong();
    ASSERT_GT(conjunto, 0);
    for (const auto& l : Linhas("SELECT ItemFigura FROM FIGURADETALHADA1 WHERE CodigoConjunto=" + std::to_string(conjunto)))
        itens.insert(Txt(l[0]));
    for (const char* i : {"1", "10", "11", "7", "17", "12A", "A"}) EXPECT_TRUE(itens.count(i)) << i;

    // Products per item that fit the set's application, as the figure screen counts them.
    const std::string c = std::to_string(conjunto);
    std::multiset<long> porItem;
    for (const auto& l : Linhas(
             "SELECT FIGURADETALHADA1.ItemFigura,Count(APLICACAO_PRODUTO.CodigoProduto),"
             "Max(IIF(APLICACAO_PRODUTO.CodigoAplicacao=Null,Null,1)) AS ItemAplicavel,Max(PRODUTO.FlagLancamento) "
             "FROM ((FIGURADETALHADA1 LEFT JOIN CONJUNTO_PRODUTO1 ON FIGURADETALHADA1.CodigoConjunto = "
             "CONJUNTO_PRODUTO1.CodigoConjunto AND FIGURADETALHADA1.ItemFigura     = CONJUNTO_PRODUTO1.ItemFigura) "
             "LEFT JOIN APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto AND "
             "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao) LEFT JOIN PRODUTO ON "
             "APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE FIGURADETALHADA1.CodigoConjunto = " + c +
             " GROUP BY FIGURADETALHADA1.ItemFigura")) {
        porItem.insert(l[1].ToLong());
    }
    for (long n : {0L, 1L, 4L, 5L, 9L}) EXPECT_TRUE(porItem.count(n)) << "an item with " << n << " products";
    EXPECT_GE(porItem.count(0), 2u);   // one without products, one whose product does not fit
    EXPECT_GE(Conta("SELECT Count(*) FROM CONJUNTO_PRODUTO1 INNER JOIN PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = "
                    "PRODUTO.CodigoProduto WHERE PRODUTO.FlagLancamento=1"), 1);

    // Vehicles with no set, one and several.
    std::set<long> conjuntosPorVeiculo;
    for (const auto& l : Linhas("SELECT APLICACAO.CodigoAplicacao,Count(CONJUNTO.CodigoConjunto) FROM (APLICACAO LEFT "
                                "JOIN APLICACAO_VEICULO ON APLICACAO.CodigoAplicacao = APLICACAO_VEICULO.CodigoVeiculo) "
                                "LEFT JOIN CONJUNTO ON APLICACAO_VEICULO.CodigoAplicacao = CONJUNTO.CodigoAplicacao "
                                "WHERE APLICACAO.CodigoTipoAplicacao=1 GROUP BY APLICACAO.CodigoAplicacao"))
        conjuntosPorVeiculo.insert(std::min(2L, static_cast<long>(l[1].ToLong())));
    EXPECT_EQ(conjuntosPorVeiculo, (std::set<long>{0, 1, 2}));
    EXPECT_GE(Conta("SELECT Count(*) FROM APLICACAO WHERE CodigoTipoAplicacao=1"), 30);
    EXPECT_GE(Conta("SELECT Count(*) FROM APLICACAO WHERE CodigoTipoAplicacao>1"), 45);
    EXPECT_GE(Conta("SELECT Count(*) FROM APLICACAO WHERE CodigoTipoAplicacao>1 AND CodigoAplicacao NOT IN "
                    "(SELECT CodigoAplicacao FROM APLICACAO_VEICULO)"), 3);
}

// Pictures: the photo sizes and formats the product panel meets, one photo and one figure
// page missing, and every item's balloon and leader line drawn where its marker goes.
TEST_F(Demo, PhotosAndFigurePages)
{
    std::map<std::string, int> tamanhos, formatos;
    long faltando = 0;
    for (const auto& l : Linhas("SELECT DISTINCT ArquivoFotoProduto FROM PRODUTO WHERE ArquivoFotoProduto<>Null")) {
        QImageReader leitor(QString::fromStdString(kDemo + "/FotoPeca/" + Txt(l[0])));
        if (!leitor.canRead()) { ++faltando; continue; }
        const QSize s = leitor.size();
        ++tamanhos[std::to_string(s.width()) + "x" + std::to_string(s.height())];
        ++formatos[leitor.format().toStdString()];
    }
    EXPECT_EQ(faltando, 1);
    EXPECT_EQ(tamanhos["191x165"], 1);
    EXPECT_GT(tamanhos["415x45"], 3);
    EXPECT_GT(tamanhos["190x165"], tamanhos["415x45"] * 3);
    for (const char* f : {"jpeg", "png", "gif", "bmp"}) EXPECT_GT(formatos[f], 0) << f;

    long paginasFaltando = 0, itensVistos = 0;
    for (const auto& pg : Linhas("SELECT DISTINCT CodigoConjunto,NumeroParteFigura,ArquivoFigura FROM FIGURADETALHADA1")) {
        QImage img(QString::fromStdString(kDemo + "/Figuras/" + Txt(pg[2])));
        if (img.isNull()) { ++paginasFaltando; continue; }
        EXPECT_EQ(img.size(), QSize(565, 390));
        for (const auto& it : Linhas("SELECT PosicaoLeft,PosicaoTop FROM FIGURADETALHADA1 WHERE CodigoConjunto=" +
                                     Txt(pg[0]) + " AND NumeroParteFigura=" + Txt(pg[1]))) {
            const int x = static_cast<int>(it[0].ToLong()) + 12, y = static_cast<int>(it[1].ToLong()) + 7;
            auto escuro = [&](int px, int py) {
                return std::min({qGray(img.pixel(px - 1, py)), qGray(img.pixel(px, py)), qGray(img.pixel(px + 1, py))}) < 200;
            };
            EXPECT_GT(qGray(img.pixel(x, y)), 200) << "balloon centre";
            EXPECT_TRUE(escuro(x + 12, y) || escuro(x - 12, y)) << "balloon rim";
            const int sentido = y < 195 ? 1 : -1;   // the leader runs towards the axis
            EXPECT_TRUE(escuro(x, y + sentido * 20)) << "leader line at " << x << "," << y;
            ++itensVistos;
        }
    }
    EXPECT_EQ(paginasFaltando, 1);
    EXPECT_GT(itensVistos, 100);
}

TEST(GeraCatalogo, SameSeedSameCatalogueAndScaleMultiplies)
{
    auto linhas = [](const demo::Catalogo& c) {
        std::vector<std::vector<demo::Valor>> todas;
        for (const auto& t : c.tabelas) todas.insert(todas.end(), t.linhas.begin(), t.linhas.end());
        return todas;
    };
    const auto a = demo::GeraCatalogo({1, 1});
    EXPECT_EQ(linhas(a), linhas(demo::GeraCatalogo({1, 1})));
    EXPECT_NE(linhas(a), linhas(demo::GeraCatalogo({2, 1})));
    const auto grande = demo::GeraCatalogo({1, 50});
    EXPECT_GE(grande.Tab("PRODUTO").linhas.size(), 20000u);
    EXPECT_GE(grande.Tab("REFERENCIACRUZADA").linhas.size(), 200000u);
    EXPECT_GT(grande.Tab("APLICACAO").linhas.size(), a.Tab("APLICACAO").linhas.size() * 40);
}

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);   // image reading
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
