// The observation screen (of a product or an application) and the applications of a product
// with their three sort orders and the remembered application.
#include "tests/aux_window/Ambiente.h"

#include "common/modTraducao.h"

#include <gmock/gmock.h>

namespace {

class AuxObservacao : public auxteste::JanelaAuxiliarTeste {
protected:
    std::string Texto(const std::string& sql) {
        return ObtemValorCampo(ObtemValorSQL(sql, vb::Variant(std::string())), "").ToString();
    }
};

TEST_F(AuxObservacao, ShowsTheObservationOfAProductOrAnApplication) {
    struct Caso {
        const char* tipo;
        const char* tabela;
        const char* chave;
    };
    for (const Caso& c : {Caso{"P", "PRODUTO_OBS", "CodigoProduto"}, Caso{"A", "APLICACAO_OBS", "CodigoAplicacao"}}) {
        SCOPED_TRACE(c.tipo);
        const std::vector<long> com = Codigos(std::string("SELECT ") + c.chave + " FROM " + c.tabela + " ORDER BY 1");
        ASSERT_FALSE(com.empty());
        const std::string esperado =
            Texto(std::string("SELECT ObservacaoP FROM ") + c.tabela + " WHERE " + c.chave + "=" + std::to_string(com[0]));
        auxteste::Janela& j = Abre(std::string("0|") + c.tipo + "|" + std::to_string(com[0]));
        EXPECT_FALSE(esperado.empty());
        EXPECT_EQ(j.txtObservacao->Text(), esperado);
        const std::string legenda = std::string(c.tipo) == "P" ? MontaDescricaoProduto(com[0], true)
                                                                : MontaDescricaoAplicacao(com[0], true, true);
        EXPECT_EQ(j.lblSubTitulo->Caption(), legenda);
    }
    // Without an observation the box is empty, without a message.
    const std::vector<long> sem = Codigos(
        "SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto NOT IN (SELECT CodigoProduto FROM PRODUTO_OBS) ORDER BY 1");
    ASSERT_FALSE(sem.empty());
    EXPECT_EQ(Abre("0|P|" + std::to_string(sem[0])).txtObservacao->Text(), "");
    EXPECT_EQ(caixas_.Count(), 0u);
}

TEST_F(AuxObservacao, ApplicationsOfAProductSortAndSelect) {
    const std::vector<long> produtos = Codigos(
        "SELECT CodigoProduto FROM APLICACAO_PRODUTO GROUP BY CodigoProduto HAVING Count(*) >= 3 ORDER BY CodigoProduto");
    ASSERT_FALSE(produtos.empty());
    const long p = produtos[0];
    auxteste::Janela& j = Abre("1|" + std::to_string(p) + "|0");
    const std::vector<std::string> tipos = Coluna("DescricaoTipoAplicacao");
    EXPECT_TRUE(std::is_sorted(tipos.begin(), tipos.end(), [](const std::string& a, const std::string& b) {
        return vb::UCase(RemoveAcentos(a)) < vb::UCase(RemoveAcentos(b));
    }));
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().AbsolutePosition(), 0) << "first row without a requested application";
    EXPECT_EQ(j.lblTipoAplicacaoA->ForeColor(), 0x1D25DA);
    EXPECT_EQ(j.lblTipoAplicacaoA->Caption(), vb::UCase(Traduz(45)));

    const std::string base = j.BaseAplicacoesProduto;
    j.lblFabricanteA->Click();
    EXPECT_EQ(j.OrdemAplicacoesProduto, "3");
    EXPECT_EQ(j.BaseAplicacoesProduto, base) << "a re-sort keeps the base query";
    EXPECT_THAT(j.dtcTHGrid1.RecordSource(), ::testing::EndsWith("ORDER BY 3,1,2"));
    EXPECT_EQ(j.lblFabricanteA->ForeColor(), 0x1D25DA);
    EXPECT_EQ(j.lblTipoAplicacaoA->ForeColor(), 0);
    EXPECT_EQ(j.lblAplicacaoProdutoA->ForeColor(), 0);

    // A requested application is selected; leaving remembers the current one.
    dao::Recordset copia = j.dtcTHGrid1.GetRecordset().Clone();
    copia.MoveLast();
    const long ultima = copia.Value("CodigoAplicacao").ToLong();
    auxteste::Janela& k = Abre("1|" + std::to_string(p) + "|" + std::to_string(ultima));
    EXPECT_EQ(Atual("CodigoAplicacao").ToLong(), ultima);
    EXPECT_EQ(k.OrdemAplicacoesProduto, "1") << "a new window starts with the sort by type";
    k.HistoricoTelas += "0";
    k.ExibeTela(1, "0|P|" + std::to_string(p));
    EXPECT_EQ(k.CodigoAplicacaoAnterior, ultima);
}

TEST_F(AuxObservacao, ProductWithoutApplicationsShowsAnEmptyList) {
    const std::vector<long> sem = Codigos(
        "SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto NOT IN (SELECT CodigoProduto FROM APLICACAO_PRODUTO) "
        "ORDER BY 1");
    if (sem.empty()) GTEST_SKIP() << "every demo product has applications";
    auxteste::Janela& j = Abre("1|" + std::to_string(sem[0]) + "|0");
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), 0);
    j.HistoricoTelas += "0";
    j.ExibeTela(1, "0|P|" + std::to_string(sem[0]));
    EXPECT_EQ(j.CodigoAplicacaoAnterior, 0);
}

}  // namespace
