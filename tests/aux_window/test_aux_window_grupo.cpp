// The applications of a product group and manufacturer: filter text, type combo, sort,
// release column, the vehicles panel and the seven-field answer to the main window.
#include "tests/aux_window/Ambiente.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modTraducao.h"
#include "platform/dao/JetSql.h"
#include "platform/forms/Keys.h"
#include "tests/support/Ponteiro.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QPixmap>

#include <map>
#include <set>

namespace {

class AuxGrupo : public auxteste::JanelaAuxiliarTeste {
protected:
    void SetUp() override {
        JanelaAuxiliarTeste::SetUp();
        // The manufacturer and group with the most applications.
        dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
            "SELECT APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto, Count(*) FROM (PRODUTO INNER JOIN "
            "APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) INNER JOIN APLICACAO ON "
            "APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao GROUP BY APLICACAO.CodigoFabricante, "
            "PRODUTO.CodigoGrupoProduto ORDER BY 3 DESC",
            dao::dbOpenSnapshot);
        ASSERT_FALSE(rs.Eof());
        fabricante_ = rs.Fields(0).Value().ToLong();
        grupo_ = rs.Fields(1).Value().ToLong();
        rs.Close();
    }
    std::string Requisicao(const std::string& filtro = "", const std::string& ordem = "1", int lancamento = 0,
                           int grupo = -2, int tipo = 0) {
        return "3|" + std::to_string(fabricante_) + "|" + std::to_string(grupo == -2 ? grupo_ : grupo) + "|0|" +
               std::to_string(tipo) + "|" + filtro + "|255|" + ordem + "|0|" + std::to_string(lancamento);
    }
    // Moves the list to the first row that satisfies the test; false when none does.
    bool VaiPara(const std::function<bool(dao::Recordset&)>& teste) {
        dao::Recordset rs = J().dtcTHGrid1.GetRecordset();
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            if (teste(rs)) return true;
        return false;
    }
    std::string Resposta() {
        EXPECT_TRUE(auxteste::Espera([&] { return !J().IsLoaded(); })) << "the answer closes the window";
        return EstadoPrograma.RequisicaoTela;
    }
    long fabricante_ = 0, grupo_ = 0;
};

TEST_F(AuxGrupo, ListPickAnswersTheSevenFields) {
    auxteste::Janela& j = Abre(Requisicao("", "1", 1));
    ASSERT_GE(j.dtcTHGrid1.GetRecordset().RecordCount(), 2);
    EXPECT_THAT(j.lblSubTitulo->Caption(), ::testing::HasSubstr("  -  "));
    j.dtcTHGrid1.GetRecordset().MoveNext();
    const long aplicacao = Atual("CodigoAplicacao").ToLong();
    const int linha = ObtemLinhaSelecionadaGrid(*j.grdTHGrid1);
    int enter = vb::vbKeyReturn;   // Enter is the list picture
    j.TeclaPress(enter);
    EXPECT_EQ(enter, 0);
    EXPECT_TRUE(j.IsLoaded()) << "closed only after the event";
    const std::vector<std::string> campos = vb::Split(Resposta(), "|");
    ASSERT_EQ(campos.size(), 7u);
    EXPECT_EQ(campos[0], "3");
    EXPECT_EQ(campos[1], std::to_string(aplicacao));
    EXPECT_EQ(campos[2], std::to_string(linha));
    EXPECT_EQ(campos[3], "1");
    EXPECT_EQ(campos[4], "0");
    EXPECT_EQ(campos[5], "") << "an empty filter gives an empty sixth field";
    EXPECT_EQ(campos[6], "1");
}

TEST_F(AuxGrupo, FigurePictureAnswersOnlyForARowWithAFigure) {
    for (int lancamento : {0, 1}) {
        SCOPED_TRACE(lancamento);
        auxteste::Janela& j = Abre(Requisicao("", "1", lancamento));
        const std::size_t flag = lancamento == 1 ? 1 : 0;
        const bool semFigura = VaiPara([&](dao::Recordset& rs) {
            return rs.Value("ImagensGrid").ToString().substr(flag, 1) == "\r";
        });
        if (semFigura) {
            int f3 = vb::vbKeyF3;
            j.TeclaDown(f3, 0);
            EXPECT_EQ(f3, 0);
            auxteste::Processa();
            EXPECT_TRUE(j.IsLoaded()) << "a row without a figure ignores F3";
            EXPECT_EQ(EstadoPrograma.RequisicaoTela, "");
        }
        ASSERT_TRUE(VaiPara([&](dao::Recordset& rs) { return rs.Value("ImagensGrid").ToString().substr(flag, 1) == " "; }))
            << "the demo data has applications with a figure";
        const long aplicacao = Atual("CodigoAplicacao").ToLong();
        int f3 = vb::vbKeyF3;
        j.TeclaDown(f3, 0);
        const std::vector<std::string> campos = vb::Split(Resposta(), "|");
        ASSERT_EQ(campos.size(), 7u);
        EXPECT_EQ(campos[0], "4");
        EXPECT_EQ(campos[1], std::to_string(aplicacao));
        EXPECT_EQ(campos[6], std::to_string(lancamento));
        EstadoPrograma.RequisicaoTela.clear();
    }
}

TEST_F(AuxGrupo, FilterTextIsReducedToLettersAndDigits) {
    auxteste::Janela& j = Abre(Requisicao());
    const long total = j.dtcTHGrid1.GetRecordset().RecordCount();
    const std::string descricao = Atual("DescricaoAplicacao").ToString();
    const std::string chave = vb::Left(MontaChaveBusca(descricao), 3);
    ASSERT_FALSE(chave.empty());
    // Lower case, blanks and punctuation around the key change nothing.
    j.lblTipoAplicacaoM->Click();
    j.txtDescricaoAplicacaoM->SetText(" " + vb::LCase(vb::Left(chave, 1)) + "." + vb::Mid(chave, 2) + "- ");
    EXPECT_EQ(j.OrdemAplicacoesGrupo, "2") << "typing sorts by description";
    const std::vector<std::string> filtradas = Coluna("DescricaoAplicacao");
    ASSERT_FALSE(filtradas.empty());
    for (const std::string& d : filtradas) EXPECT_THAT(MontaChaveBusca(d), ::testing::HasSubstr(chave)) << d;
    EXPECT_TRUE(std::is_sorted(filtradas.begin(), filtradas.end(), [](const std::string& a, const std::string& b) {
        return vb::UCase(RemoveAcentos(a)) < vb::UCase(RemoveAcentos(b));
    }));
    j.txtDescricaoAplicacaoM->SetText(" .-/ ");
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), total) << "a filter of nothing filters nothing";
}

TEST_F(AuxGrupo, ArrowsInTheFilterBoxMoveTheListAndKeepTheFocus) {
    auxteste::Janela& j = Abre(Requisicao());
    ASSERT_GE(j.dtcTHGrid1.GetRecordset().RecordCount(), 2);
    j.txtDescricaoAplicacaoM->SetFocus();
    auxteste::Processa();
    ASSERT_EQ(j.ActiveControl(), j.txtDescricaoAplicacaoM);
    const long antes = j.dtcTHGrid1.GetRecordset().AbsolutePosition();
    int baixo = vb::vbKeyDown;
    j.TeclaDown(baixo, 0);
    EXPECT_EQ(baixo, 0);
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().AbsolutePosition(), antes + 1);
    EXPECT_EQ(j.ActiveControl(), j.txtDescricaoAplicacaoM);
}

TEST_F(AuxGrupo, TypeComboNarrowsAndKeepsTheSort) {
    auxteste::Janela& j = Abre(Requisicao("", "3", 1));
    EXPECT_EQ(j.lblLancamentoM->ForeColor(), 1910234);
    const std::vector<std::string> tipos = Coluna("CodigoTipoAplicacao");
    const std::set<std::string> distintos(tipos.begin(), tipos.end());
    ASSERT_FALSE(distintos.empty());
    const std::string tipo = *distintos.rbegin();
    j.dtcTHCombo2.GetRecordset().FindFirst("CodigoTipoAplicacao = " + tipo);
    j.cboTHCombo2_SelecaoAlterada();
    EXPECT_EQ(j.OrdemAplicacoesGrupo, "3");
    const std::vector<std::string> depois = Coluna("CodigoTipoAplicacao");
    ASSERT_FALSE(depois.empty());
    for (const std::string& t : depois) EXPECT_EQ(t, tipo);
    const std::vector<std::string> lancamentos = Coluna("OBLancamento");
    EXPECT_TRUE(std::is_sorted(lancamentos.rbegin(), lancamentos.rend())) << "newest releases first";
}

// The type combo as a user meets it: a click on its arrow opens its list under the box, where
// a click on a type's row narrows the list to that type.
TEST_F(AuxGrupo, TheTypeComboOpensUnderItsBoxAndAClickedTypeNarrowsTheList) {
    auxteste::Janela& j = Abre(Requisicao());
    QWidget* w = j.Window();
    THCombo& combo = *j.cboTHCombo2;
    const QRect caixa = testsupport::RetanguloVisivel(combo);
    EXPECT_GE(caixa.height(), 21) << "the whole box is seen";
    testsupport::Clica(w, testsupport::CentroVisivel(combo.Seta()));
    ASSERT_TRUE(combo.ListaAberta());
    const QRect lista = testsupport::RetanguloVisivel(combo.Lista());
    EXPECT_EQ(lista.top(), caixa.top() + 21) << "right under the box";
    EXPECT_GE(lista.height(), 100) << "the open list is seen";
    // The second row (the first type after the all-types row).
    const QPoint linha(lista.left() + 30, lista.top() + 17 + 8);
    ASSERT_EQ(testsupport::ControleNoPonto(w, linha), &combo.Lista());
    testsupport::Clica(w, linha);
    ASSERT_TRUE(auxteste::Espera([&] { return !combo.ListaAberta(); }));
    auxteste::Processa();
    const std::string tipo = j.dtcTHCombo2.GetRecordset().Value("CodigoTipoAplicacao").ToString();
    EXPECT_NE(tipo, "0");
    for (const std::string& t : Coluna("CodigoTipoAplicacao")) EXPECT_EQ(t, tipo);
}

TEST_F(AuxGrupo, VehiclesPseudoGroupStartsOnTheVehicleType) {
    auxteste::Janela& j = Abre(Requisicao("", "1", 0, -1, 0));
    EXPECT_THAT(j.lblSubTitulo->Caption(), ::testing::EndsWith("  -  " + vb::UCase(Traduz(89))));
    EXPECT_EQ(j.dtcTHCombo2.GetRecordset().Value("CodigoTipoAplicacao").ToLong(), 1);
    EXPECT_THAT(j.dtcTHGrid1.RecordSource(), ::testing::Not(::testing::HasSubstr("CodigoGrupoProduto")));
    for (const std::string& t : Coluna("CodigoTipoAplicacao")) EXPECT_EQ(t, "1");
    EXPECT_FALSE((*j.lblVeiculosM)(1).Visible()) << "a vehicle shows no vehicles panel";
}

TEST_F(AuxGrupo, VehiclesOfTheCurrentRowFromThisManufacturer) {
    // An application other than a vehicle, used by vehicles of its own manufacturer.
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
        "SELECT APP.CodigoFabricante, PRODUTO.CodigoGrupoProduto, APP.CodigoAplicacao FROM (((APLICACAO_VEICULO "
        "INNER JOIN APLICACAO ON APLICACAO_VEICULO.CodigoVeiculo = APLICACAO.CodigoAplicacao) "
        "INNER JOIN APLICACAO AS APP ON APLICACAO_VEICULO.CodigoAplicacao = APP.CodigoAplicacao) "
        "INNER JOIN APLICACAO_PRODUTO ON APLICACAO_PRODUTO.CodigoAplicacao = APP.CodigoAplicacao) "
        "INNER JOIN PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto "
        "WHERE APP.CodigoTipoAplicacao <> 1 AND APP.CodigoFabricante = APLICACAO.CodigoFabricante",
        dao::dbOpenSnapshot);
    if (rs.Eof()) GTEST_SKIP() << "the demo data has no such application";
    fabricante_ = rs.Fields(0).Value().ToLong();
    grupo_ = rs.Fields(1).Value().ToLong();
    const long aplicacao = rs.Fields(2).Value().ToLong();
    rs.Close();
    const long doFabricante = ObtemValorSQL("SELECT Count(*) FROM APLICACAO_VEICULO INNER JOIN APLICACAO ON "
                                            "APLICACAO_VEICULO.CodigoVeiculo = APLICACAO.CodigoAplicacao WHERE "
                                            "APLICACAO_VEICULO.CodigoAplicacao = " + std::to_string(aplicacao) +
                                                " AND APLICACAO.CodigoFabricante = " + std::to_string(fabricante_),
                                            vb::Variant(0L)).ToLong();
    auxteste::Janela& j = Abre(Requisicao());
    ASSERT_TRUE(VaiPara([&](dao::Recordset& r) { return r.Value("CodigoAplicacao").ToLong() == aplicacao; }));
    j.ExibeVeiculosAplicacao();
    EXPECT_TRUE((*j.lblVeiculosM)(0).Visible());
    EXPECT_TRUE((*j.lblVeiculosM)(1).Visible());
    EXPECT_EQ(static_cast<long>(vb::Split((*j.lblVeiculosM)(1).Caption(), "  -  ").size()), doFabricante);

    // The same application without a type: no error, and its vehicles still show.
    {
        teste::Escrita e;
        e.Executa("UPDATE APLICACAO SET CodigoTipoAplicacao = Null WHERE CodigoAplicacao = " + std::to_string(aplicacao));
    }
    auxteste::Janela& k = Abre(Requisicao());
    ASSERT_TRUE(VaiPara([&](dao::Recordset& r) { return r.Value("CodigoAplicacao").ToLong() == aplicacao; }));
    ASSERT_TRUE(Atual("CodigoTipoAplicacao").IsNull());
    EXPECT_NO_THROW(k.ExibeVeiculosAplicacao());
    EXPECT_TRUE((*k.lblVeiculosM)(1).Visible());
    EXPECT_EQ(static_cast<long>(vb::Split((*k.lblVeiculosM)(1).Caption(), "  -  ").size()), doFabricante);
}

TEST_F(AuxGrupo, BackFromAnObservationReturnsToTheSameApplication) {
    auxteste::Janela& j = Abre(Requisicao());
    j.dtcTHGrid1.GetRecordset().MoveLast();
    const long aplicacao = Atual("CodigoAplicacao").ToLong();
    j.HistoricoTelas += "0";
    j.ExibeTela(3, "0|A|" + std::to_string(aplicacao));
    EXPECT_TRUE((*j.pctTela)(0).Visible());
    int esc = vb::vbKeyEscape;
    j.TeclaPress(esc);
    EXPECT_TRUE((*j.pctTela)(3).Visible());
    EXPECT_EQ(Atual("CodigoAplicacao").ToLong(), aplicacao);
    esc = vb::vbKeyEscape;
    j.TeclaPress(esc);
    EXPECT_FALSE(j.IsLoaded());
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "") << "leaving without a choice answers nothing";
}

// Every list of a maker and group, in each sort and each language, comes out in Jet's text
// order (case-blind, accented letters beside their base letter), although its sort columns
// are Min() of the descriptions, whose own collation SQLite does not keep.
TEST_F(AuxGrupo, EveryListSortsAsJetInEachLanguage) {
    const std::string pares =
        "SELECT DISTINCT APLICACAO.CodigoFabricante, PRODUTO.CodigoGrupoProduto FROM (PRODUTO INNER JOIN "
        "APLICACAO_PRODUTO ON PRODUTO.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto) INNER JOIN APLICACAO ON "
        "APLICACAO_PRODUTO.CodigoAplicacao = APLICACAO.CodigoAplicacao";
    std::vector<std::pair<long, long>> listas;
    for (dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(pares, dao::dbOpenSnapshot); !rs.Eof(); rs.MoveNext())
        listas.push_back({rs.Fields(0).Value().ToLong(), rs.Fields(1).Value().ToLong()});
    ASSERT_GT(listas.size(), 50u);
    // Null (no type) sorts first, as SQLite puts it.
    auto compara = [](const std::string& campo, dao::Recordset& a, dao::Recordset& b) {
        const vb::Variant x = a.Value(campo), y = b.Value(campo);
        if (x.IsNull() || y.IsNull()) return x.IsNull() == y.IsNull() ? 0 : x.IsNull() ? -1 : 1;
        return dao::JetCollate(x.ToString(), y.ToString());
    };
    struct Chave {
        const char* campo;
        bool decrescente;
    };
    const std::map<std::string, std::vector<Chave>> ordens = {
        {"1", {{"DescricaoTipoAplicacao", false}, {"DescricaoAplicacao", false}}},
        {"2", {{"DescricaoAplicacao", false}}},
        {"3", {{"OBLancamento", true}, {"DescricaoTipoAplicacao", false}, {"DescricaoAplicacao", false}}}};
    for (const char* idioma : {"P", "E", "I"}) {
        EstadoPrograma.Idioma = idioma;
        auxteste::Janela& j = Abre(Requisicao("", "1", 1));
        int foraDeOrdem = 0;
        for (const auto& [fabricante, grupo] : listas) {
            for (const auto& [ordem, chaves] : ordens) {
                j.AtualizaGridAplicacoesGrupo(static_cast<std::uint8_t>(fabricante), static_cast<int>(grupo), 0, ordem, false);
                dao::Recordset anterior = j.dtcTHGrid1.GetRecordset().Clone();
                dao::Recordset atual = j.dtcTHGrid1.GetRecordset().Clone();
                if (!atual.Eof()) atual.MoveNext();
                for (; !atual.Eof(); anterior.MoveNext(), atual.MoveNext()) {
                    int c = 0;
                    for (const Chave& k : chaves) {
                        c = compara(k.campo, anterior, atual) * (k.decrescente ? -1 : 1);
                        if (c != 0) break;
                    }
                    if (c > 0) {
                        ADD_FAILURE() << idioma << ": maker " << fabricante << ", group " << grupo << ", sort " << ordem
                                      << ": \"" << anterior.Value("DescricaoAplicacao").ToString() << "\" before \""
                                      << atual.Value("DescricaoAplicacao").ToString() << "\"";
                        ++foraDeOrdem;
                        break;
                    }
                }
            }
        }
        EXPECT_EQ(foraDeOrdem, 0) << "lists out of Jet's order in language " << idioma;
    }
}

TEST_F(AuxGrupo, Screenshot) {
    auxteste::Janela& j = Abre(Requisicao("", "3", 1));
    auxteste::Processa();
    QDir().mkpath(ZK_SCREENSHOT_DIR);
    EXPECT_TRUE(j.Window()->grab().save(QString(ZK_SCREENSHOT_DIR) + "/aux_window_grupo.png"));
}

}  // namespace
