// The catalogue query helpers on a copy of the demo catalogue, with a few rows added where
// a case needs them.
#include "tests/data/Pasta.h"

#include "common/modTraducao.h"
#include "platform/dao/Dao.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QCoreApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using ::testing::ElementsAre;

namespace {

class Consultas : public ::testing::Test {
protected:
    void SetUp() override
    {
        EstadoPrograma.CaminhoDados = pasta_.Caminho();
        {
            teste::Escrita e;
            // An assembly of maker 5 in two vehicles of makers 5 and 7; an application
            // without type and one without maker; references without a number.
            e.Executa("INSERT INTO APLICACAO (CodigoAplicacao,CodigoTipoAplicacao,CodigoFabricante,DescricaoAplicacaoP) "
                      "VALUES (9000,2,5,'Motor de Teste')");
            e.Executa("INSERT INTO APLICACAO (CodigoAplicacao,CodigoTipoAplicacao,CodigoFabricante,DescricaoAplicacaoP) "
                      "VALUES (9001,1,5,'Veículo A')");
            e.Executa("INSERT INTO APLICACAO (CodigoAplicacao,CodigoTipoAplicacao,CodigoFabricante,DescricaoAplicacaoP) "
                      "VALUES (9002,1,7,'Veículo B')");
            e.Executa("INSERT INTO APLICACAO_VEICULO (CodigoVeiculo,CodigoAplicacao) VALUES (9001,9000)");
            e.Executa("INSERT INTO APLICACAO_VEICULO (CodigoVeiculo,CodigoAplicacao) VALUES (9002,9000)");
            e.Executa("INSERT INTO APLICACAO (CodigoAplicacao,CodigoTipoAplicacao,CodigoFabricante,DescricaoAplicacaoP) "
                      "VALUES (9003,Null,4,'Sem Tipo')");
            e.Executa("INSERT INTO REFERENCIACRUZADA (CodigoProduto,CodigoFabricante,NumeroFabricante) VALUES (5,17,Null)");
            e.Executa("INSERT INTO REFERENCIACRUZADA (CodigoProduto,CodigoFabricante,NumeroFabricante) VALUES (5,17,'')");
            e.Executa("INSERT INTO SUBSTITUIDOS (CodigoProduto,CodigoProdutoNovo) VALUES (113,Null)");
            e.Executa("INSERT INTO SUBSTITUIDOS (CodigoProduto,CodigoProdutoNovo) VALUES (114,113)");
        }
        AbreBancoCatalogo(EstadoPrograma.WsCatalogo, NomeWsCatalogo, EstadoPrograma.DbCatalogo, true);
    }
    void TearDown() override { teste::FechaTudo(); }

    void Coringas(const std::string& valorSQL)
    {
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET CodigosFabricantesCoringas = " + valorSQL);
    }
    std::vector<std::string> Numeros(long produto, const std::string& condicao = "")
    {
        std::vector<std::string> res;
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT NumeroFabricante FROM REFERENCIACRUZADA WHERE CodigoProduto=" + std::to_string(produto) +
            " AND NumeroFabricante<>'' " + condicao + " ORDER BY 1", dao::dbOpenSnapshot);
        for (; !rs.Eof(); rs.MoveNext()) res.push_back(rs.Fields(0).Value().ToString());
        rs.Close();
        return res;
    }

    teste::PastaDados pasta_;
};

}  // namespace

TEST_F(Consultas, ValueNullAndNoRowAreThreeOutcomes)
{
    const auto valor = ObtemValorSQL("SELECT Versao FROM UMREGISTRO");
    ASSERT_TRUE(valor.has_value());
    EXPECT_GT(valor->ToLong(), 0);
    const auto nulo = ObtemValorSQL("SELECT DataUltimaVerificacao FROM UMREGISTRO");
    ASSERT_TRUE(nulo.has_value());
    EXPECT_TRUE(nulo->IsNull());
    EXPECT_FALSE(ObtemValorSQL("SELECT Versao FROM UMREGISTRO WHERE 1=0").has_value());
    // With a default: Null stays Null, no row gives the default.
    EXPECT_TRUE(ObtemValorSQL("SELECT DataUltimaVerificacao FROM UMREGISTRO", 7).IsNull());
    EXPECT_EQ(ObtemValorSQL("SELECT Versao FROM UMREGISTRO WHERE 1=0", 7).ToLong(), 7);
    // "<I>" follows the language.
    EstadoPrograma.Idioma = "E";
    EXPECT_EQ(ObtemValorSQL("SELECT DescricaoTipoAplicacao<I> FROM TIPOAPLICACAO WHERE CodigoTipoAplicacao=1", "").ToString(),
              "Vehículo");
    EXPECT_THROW(ObtemValorSQL("SELECT Nada FROM TabelaQueNaoExiste"), vb::Error);
}

TEST_F(Consultas, MakersOfAnApplicationWithTheWildcards)
{
    struct Caso {
        const char* nome;
        std::string coringas;   // as SQL
        long aplicacao;
        std::vector<std::string> esperados;   // the order of the vehicles' makers is the query's
    };
    const std::vector<Caso> casos = {
        {"assembly in two vehicles", "'9, 12'", 9000, {"5", "5", "7", "9", "12"}},
        {"vehicle", "'9,12'", 9001, {"5", "5", "9", "12"}},
        {"Null wildcards", "Null", 9000, {"5", "5", "7"}},
        {"empty wildcards", "''", 9000, {"5", "5", "7"}},
        {"wildcards with empty items", "'9,,12,'", 9000, {"5", "5", "7", "9", "12"}},
        {"wildcards that are no list", "'9) OR (1=1'", 9000, {"5", "5", "7"}},
        {"no such application", "''", 424242, {"-1"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        Coringas(caso.coringas);
        auto partes = vb::Split(ObtemFabricantesAplicacao(caso.aplicacao), ",");
        EXPECT_EQ(partes.size(), caso.esperados.size());
        if (partes.size() >= 3 && caso.esperados.size() >= 3) std::sort(partes.begin() + 1, partes.begin() + 3);
        EXPECT_EQ(partes, caso.esperados);
    }
    // The list goes into an IN list as it stands.
    Coringas("'17,19'");
    EXPECT_NO_THROW(ObtemReferenciasCruzadas(5, ObtemFabricantesAplicacao(9000)));
    // An empty list matches no maker instead of making "IN ()", which does not parse.
    EXPECT_EQ(ListaFabricantesSQL("5,7"), "5,7");
    for (const char* vazia : {"", "  "})
        EXPECT_EQ(ObtemValorSQL("SELECT Count(*) FROM FABRICANTE WHERE CodigoFabricante IN (" +
                                    ListaFabricantesSQL(vazia) + ")", -1).ToLong(), 0);
}

TEST_F(Consultas, CrossReferenceTextsSkipMissingNumbers)
{
    const auto todos = Numeros(5);
    ASSERT_EQ(todos.size(), 9u);
    std::string esperado;
    for (const auto& n : todos) esperado += (esperado.empty() ? "" : " - ") + n;
    std::string todosFabricantes;
    for (int f = 1; f <= 22; ++f) {
        if (f > 1) todosFabricantes += ",";
        todosFabricantes += std::to_string(f);
    }
    EXPECT_EQ(ObtemReferenciasCruzadas(5, todosFabricantes), esperado);
    EXPECT_EQ(ObtemReferenciasCruzadas(5, ""), "");
    EXPECT_EQ(ObtemReferenciasCruzadas(0, todosFabricantes), "");
    const auto so17 = Numeros(5, "AND CodigoFabricante IN (17)");
    std::string esperado17;
    for (const auto& n : so17) esperado17 += (esperado17.empty() ? "" : " - ") + n;
    EXPECT_EQ(ObtemReferenciasCruzadas(5, "17"), esperado17);

    const auto textos = MontaTextoReferenciasCruzadas(5, "");
    ASSERT_EQ(textos.size(), 9u);
    for (const auto& t : textos) {
        EXPECT_THAT(t, ::testing::EndsWith(")"));
        EXPECT_NE(t.substr(0, 2), " (") << "a reference without its number";
    }
    EXPECT_EQ(MontaTextoReferenciasCruzadas(5, "17").size(), so17.size());
    const long semReferencia = ObtemValorSQL(
        "SELECT TOP 1 CodigoProduto FROM PRODUTO WHERE CodigoProduto NOT IN (SELECT CodigoProduto FROM REFERENCIACRUZADA)", 0)
                                   .ToLong();
    EXPECT_THAT(MontaTextoReferenciasCruzadas(semReferencia, ""), ElementsAre(""));
}

TEST_F(Consultas, ReplacementChain)
{
    const std::vector<std::pair<long, long>> casos = {
        {101, 102}, {103, 105}, {104, 105}, {106, 106}, {108, 108}, {109, 112},
        {1, -5},       // no replacement
        {113, -5},     // a row without its new product
        {114, 113},    // ends where the next row has none
    };
    for (auto [produto, esperado] : casos) EXPECT_EQ(ObtemProdutoSubstituto(produto), esperado) << produto;
}

TEST_F(Consultas, CaptionLines)
{
    const std::string fab = Traduz(30), num = Traduz(32);
    EXPECT_EQ(MontaDescricaoAplicacao(9001, false, true), "Veículo: Veículo A     " + fab + ": Nordavik Caminhões");
    EXPECT_EQ(MontaDescricaoAplicacao(9001, true, false), vb::UCase("Veículo: Veículo A"));
    EXPECT_EQ(MontaDescricaoAplicacao(9003, false, false), "Sem Tipo");
    EXPECT_EQ(MontaDescricaoAplicacao(424242, false, true), "");

    const std::string desc = ObtemValorSQL("SELECT DescricaoProdutoP FROM PRODUTO WHERE CodigoProduto=1", "").ToString();
    const std::string numero = ObtemValorSQL("SELECT NumeroEmpresaProduto FROM PRODUTO WHERE CodigoProduto=1", "").ToString();
    const std::string formatado = vb::FormatNumber(vb::Val(numero), "00-00-0000");
    EXPECT_EQ(MontaDescricaoProduto(1, false), desc + "     " + num + ": " + formatado);
    EXPECT_EQ(MontaDescricaoProduto(1, true), vb::UCase(desc + "     " + num + ": " + formatado));
    const std::string semNumero = ObtemValorSQL("SELECT DescricaoProdutoP FROM PRODUTO WHERE CodigoProduto=20", "").ToString();
    EXPECT_EQ(MontaDescricaoProduto(20, false), semNumero + "     " + num + ": ");
    EXPECT_EQ(MontaDescricaoProduto(999999, false), "");
}

namespace {

class ComboFalso : public IComboRolagem {
public:
    void AnalisarScollProximoRefresh() override { ++chamadas; }
    int chamadas = 0;
};

class JanelaFalsa : public IJanelaSeletores {
public:
    IComboRolagem& Combo(const std::string& nome) override { return combos[nome]; }
    dao::DataControl& DataControl(const std::string& nome) override
    {
        auto it = dados.find(nome);
        if (it == dados.end()) {
            it = dados.emplace(nome, dao::DataControl()).first;
            it->second.SetDatabase(EstadoPrograma.DbCatalogo);
        }
        return it->second;
    }
    std::map<std::string, ComboFalso> combos;
    std::map<std::string, dao::DataControl> dados;
};

std::vector<std::pair<std::string, long>> Linhas(dao::DataControl& dc)
{
    std::vector<std::pair<std::string, long>> res;
    dao::Recordset rs = dc.GetRecordset();
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) res.push_back({rs.Fields(0).Value().ToString(), rs.Fields(1).Value().ToLong()});
    return res;
}

}  // namespace

TEST_F(Consultas, SelectorLoadersPutTheAllRowFirst)
{
    JanelaFalsa janela;
    CarregaComboTiposAplicacao(janela);
    EXPECT_EQ(janela.combos["cboTHCombo2"].chamadas, 1);
    auto tipos = Linhas(janela.DataControl("dtcTHCombo2"));
    ASSERT_EQ(tipos.size(), 8u);
    EXPECT_EQ(tipos[0], (std::pair<std::string, long>("<" + vb::UCase(Traduz(7)) + ">", 0)));

    CarregaComboFabricantes(janela, "<TODOS>", 0);
    EXPECT_EQ(janela.combos["cboTHCombo1"].chamadas, 1);
    auto fabricantes = Linhas(janela.DataControl("dtcTHCombo1"));
    ASSERT_EQ(fabricantes.size(), 23u);
    EXPECT_EQ(fabricantes[0], (std::pair<std::string, long>("<TODOS>", 0)));
    for (size_t i = 2; i < fabricantes.size(); ++i) EXPECT_LE(vb::UCase(fabricantes[i - 1].first), vb::UCase(fabricantes[i].first));

    // Restricted to the application's makers and the wildcards.
    CarregaComboFabricantes(janela, "<TODOS>", 9000);
    std::set<long> codigos;
    for (const auto& l : Linhas(janela.DataControl("dtcTHCombo1"))) codigos.insert(l.second);
    EXPECT_EQ(codigos, (std::set<long>{0, 5, 7, 17, 19, 20}));

    EstadoPrograma.Idioma = "I";
    CarregaComboTiposAplicacao(janela);
    EXPECT_EQ(Linhas(janela.DataControl("dtcTHCombo2"))[1].first, "Brake System");
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
