// The run's cart table: its name, the include rule, changes, language and dropping.
#include "tests/data/Pasta.h"

#include "platform/dao/Dao.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

std::string Hoje() { return "Carrinho_" + vb::FormatDate(vb::Today(), "yyyymmdd") + "_"; }

class Carrinho : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            EstadoPrograma.CaminhoDados = pasta_.Caminho();
            teste::Escrita e;
            // A description with both characters that SQL text must survive.
            e.Executa("UPDATE PRODUTO SET DescricaoProdutoP = 'O''Neil|x' WHERE CodigoProduto = 9");
        }
        teste::AbreComoInicio(pasta_.Caminho());
        EstadoPrograma.TabelaCarrinho = CriaTabelaCarrinho(EstadoPrograma.DbAuxiliar);
    }
    void TearDown() override { teste::FechaTudo(); }

    struct Linha {
        vb::Variant numero;
        std::string descricao;
        long quantidade;
    };
    std::vector<std::pair<long, Linha>> Conteudo()
    {
        dao::Recordset rs = EstadoPrograma.DbAuxiliar.OpenRecordset(
            "SELECT CodigoProduto,NumeroEmpresaProduto,DescricaoProduto,Quantidade FROM " + EstadoPrograma.TabelaCarrinho +
            " ORDER BY CodigoProduto", dao::dbOpenSnapshot);
        std::vector<std::pair<long, Linha>> res;
        for (; !rs.Eof(); rs.MoveNext())
            res.push_back({rs.Fields(0).Value().ToLong(),
                           {rs.Fields(1).Value(), rs.Fields(2).Value().ToString(), rs.Fields(3).Value().ToLong()}});
        rs.Close();
        return res;
    }
    vb::Variant Catalogo(const std::string& sql) { return ObtemValorSQL(sql, std::string("(nenhum)")); }

    teste::PastaDados pasta_;
};

}  // namespace

TEST_F(Carrinho, TableIsCreatedWithTheFirstFreeNumberOfTheDay)
{
    EXPECT_EQ(EstadoPrograma.TabelaCarrinho, Hoje() + "0");
    EXPECT_TRUE(TabelaExiste(EstadoPrograma.DbAuxiliar, " " + vb::LCase(Hoje()) + "0 "));
    // A table left behind by a run that did not end takes its number.
    EXPECT_EQ(NomeTabelaCarrinho(EstadoPrograma.DbAuxiliar), Hoje() + "1");
    EXPECT_EQ(CriaTabelaCarrinho(EstadoPrograma.DbAuxiliar), Hoje() + "1");
    EXPECT_TRUE(ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, Hoje() + "0"));
    EXPECT_EQ(NomeTabelaCarrinho(EstadoPrograma.DbAuxiliar), Hoje() + "0");
    EXPECT_FALSE(ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, Hoje() + "0"));   // already gone
}

TEST_F(Carrinho, IncludeRaisesToTheLargerQuantityOnly)
{
    const long comNumero = 1;
    const std::string numero = Catalogo("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto=1").ToString();
    ASSERT_TRUE(Catalogo("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto=20").IsNull());
    struct Caso {
        const char* nome;
        long produto;
        std::vector<int> quantidades;
        bool guardado;
        long quantidade;
    };
    const std::vector<Caso> casos = {
        {"1 then 1", comNumero, {1, 1}, true, 1},
        {"1 then 5", comNumero, {1, 5}, true, 5},
        {"5 then 1", comNumero, {5, 1}, true, 5},
        {"Null number", 20, {1}, true, 1},
        {"apostrophe and bar", 9, {2}, true, 2},
        {"unknown product", 999999, {1}, false, 0},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        ExcluiProdutoCarrinho(0);
        for (int q : caso.quantidades) IncluiProdutoCarrinho(caso.produto, q);
        const auto linhas = Conteudo();
        if (!caso.guardado) {
            EXPECT_TRUE(linhas.empty());
            continue;
        }
        ASSERT_EQ(linhas.size(), 1u);
        EXPECT_EQ(linhas[0].first, caso.produto);
        EXPECT_EQ(linhas[0].second.quantidade, caso.quantidade);
    }
    // The stored texts: the number as the catalogue holds it or Null, the description
    // without the bar and with its apostrophe.
    ExcluiProdutoCarrinho(0);
    for (long p : {1L, 9L, 20L}) IncluiProdutoCarrinho(p, 1);
    const auto linhas = Conteudo();
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_EQ(linhas[0].second.numero.ToString(), numero);
    EXPECT_EQ(linhas[1].second.descricao, "O'Neilx");
    EXPECT_TRUE(linhas[2].second.numero.IsNull());
}

TEST_F(Carrinho, ChangeDeleteAndRelabel)
{
    for (long p : {1L, 2L, 3L}) IncluiProdutoCarrinho(p, 1);
    AlteraQuantidadeCarrinho(2, 32000);
    ExcluiProdutoCarrinho(3);
    auto linhas = Conteudo();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[1].second.quantidade, 32000);

    // A product that leaves the catalogue keeps its old text when the language changes.
    {
        teste::Escrita e;
        e.Executa("DELETE FROM PRODUTO WHERE CodigoProduto = 2");
    }
    const std::string antigo = linhas[1].second.descricao;
    AtualizaDescricoesCarrinho("I");
    linhas = Conteudo();
    EXPECT_EQ(linhas[0].second.descricao,
              Catalogo("SELECT DescricaoProdutoI FROM PRODUTO WHERE CodigoProduto=1").ToString());
    EXPECT_EQ(linhas[1].second.descricao, antigo);
    EstadoPrograma.Idioma = "E";
    AtualizaDescricoesCarrinho("");
    EXPECT_EQ(Conteudo()[0].second.descricao,
              Catalogo("SELECT DescricaoProdutoE FROM PRODUTO WHERE CodigoProduto=1").ToString());

    ExcluiProdutoCarrinho(0);
    EXPECT_TRUE(Conteudo().empty());
}

// The cart screen deletes the row it shows by its stored code: a product kept under a
// negative code goes alone; only 0 empties the cart.
TEST_F(Carrinho, DeletingANegativeCodeDeletesOnlyThatProduct)
{
    {
        teste::Escrita e;
        e.Executa("INSERT INTO PRODUTO (CodigoProduto,NumeroEmpresaProduto,DescricaoProdutoP) VALUES (-7,Null,'Negativo')");
    }
    for (long p : {-7L, 1L, 2L}) IncluiProdutoCarrinho(p, 1);
    ASSERT_EQ(Conteudo().size(), 3u);
    ExcluiProdutoCarrinho(-7);
    const auto linhas = Conteudo();
    ASSERT_EQ(linhas.size(), 2u);
    EXPECT_EQ(linhas[0].first, 1);
    EXPECT_EQ(linhas[1].first, 2);
    ExcluiProdutoCarrinho(-8);   // no such row: nothing goes
    EXPECT_EQ(Conteudo().size(), 2u);
}

// The cart screen's list keeps its rows when the table goes; the next refresh reports it.
TEST_F(Carrinho, DroppingTheTableWhileADataControlShowsIt)
{
    IncluiProdutoCarrinho(1, 3);
    dao::DataControl dc;
    dc.SetDatabase(EstadoPrograma.DbAuxiliar);
    dc.SetRecordSource("SELECT * FROM " + EstadoPrograma.TabelaCarrinho);
    dc.Refresh();
    ASSERT_EQ(dc.GetRecordset().RecordCount(), 1);
    EXPECT_TRUE(ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho));
    EXPECT_EQ(dc.GetRecordset().Fields("Quantidade").Value().ToLong(), 3);
    try {
        dc.Refresh();
        ADD_FAILURE() << "refreshed a dropped table";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), dao::jet::NoSuchTable) << e.Description();
    }
    EXPECT_FALSE(TabelaExiste(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho));
}

// Programs on several computers start together on one data folder: each gets a cart table
// of its own, none fails.
TEST_F(Carrinho, ProgramsStartingTogetherGetDistinctTables)
{
    const std::string pasta = pasta_.Caminho().substr(0, pasta_.Caminho().size() - 1);
    std::vector<std::unique_ptr<QProcess>> outros;
    for (int i = 0; i < 4; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QString::fromStdString(ZK_AJUDANTE), {"carrinho", QString::fromStdString(pasta)});
        ASSERT_TRUE(p->waitForStarted(10000));
        outros.push_back(std::move(p));
    }
    for (auto& p : outros) {
        while (!p->canReadLine()) ASSERT_TRUE(p->waitForReadyRead(20000));
        ASSERT_EQ(QString::fromUtf8(p->readLine()).trimmed().toStdString(), "pronto");
    }
    QFile vai(QString::fromStdString(pasta + "/vai"));
    ASSERT_TRUE(vai.open(QIODevice::WriteOnly));
    vai.close();
    std::set<std::string> nomes;
    for (auto& p : outros) {
        ASSERT_TRUE(p->waitForFinished(60000));
        const std::string nome = QString::fromUtf8(p->readAll()).trimmed().toStdString();
        EXPECT_EQ(p->exitCode(), 0) << nome;
        nomes.insert(nome);
    }
    // This test's own run holds number 0.
    EXPECT_EQ(nomes, (std::set<std::string>{Hoje() + "1", Hoje() + "2", Hoje() + "3", Hoje() + "4"}));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
