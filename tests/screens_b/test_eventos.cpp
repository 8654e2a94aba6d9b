// The list screen by vehicle and by assembly, the list events and the set menus, on the
// demo catalogue: vehicle 1 has the sets of applications 36, 37 and 57, vehicle 2 only that
// of 63, vehicle 3 none.
#include "JanelaDemo.h"

#include "catalog/screens/EventosListas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaFigura.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaProduto.h"
#include "common/modTraducao.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

class ListaEventosDemo : public JanelaDemo {
protected:
    frmZornakForm& IniciaComGanchos() {
        frmZornakForm& j = Inicia();
        EventosListas& e = Telas(j).Eventos();
        e.AbreTelaAuxiliar = [this](std::uint8_t modo, const std::string& p) { auxiliar.push_back(std::to_string(modo) + ":" + p); };
        e.MostraMenu = [this](const std::string& m) { menus.push_back(m); };
        return j;
    }
    // The list of an application, as the application search opens it.
    void AbreLista(frmZornakForm& j, long aplicacao) {
        const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
        j.CodigoAplicacaoLista = aplicacao;
        j.CodigoAplicacaoCombo = 0;
        j.m_HistoricoTelas = "03";
        j.TrocaTela(3, saindo, "LimpaTelaLista");
    }
    static long Valor(const std::string& sql) { return ObtemValorSQL(sql, vb::Variant(-1L)).ToLong(); }
    static bool TemLancamento(long aplicacao) {
        return Valor("SELECT Count(*) FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
                     "PRODUTO.CodigoProduto WHERE APLICACAO_PRODUTO.CodigoAplicacao = " + std::to_string(aplicacao) +
                     " AND PRODUTO.FlagLancamento = 1") > 0;
    }
    std::vector<std::string> auxiliar, menus;
};

TEST_F(ListaEventosDemo, ListByVehicleAndByAssembly) {
    frmZornakForm& j = IniciaComGanchos();
    TelaLista& l = Telas(j).Lista();
    AbreLista(j, 1);
    ASSERT_TRUE(erros.empty()) << erros.front();
    EXPECT_EQ(j.grdTHGrid1->Tag(), "1");
    EXPECT_EQ(j.Lbl("lblTituloL").Caption(), MontaDescricaoAplicacao(1, true, true));
    EXPECT_TRUE(l.txtNumeroEmpresaLV->Visible());
    EXPECT_FALSE(l.txtNumeroEmpresaLC->Visible());
    EXPECT_TRUE(j.cboTHCombo1->Visible());
    EXPECT_TRUE(j.cboTHCombo2->Visible());
    EXPECT_TRUE(j.cboTHCombo1->ModoTexto());
    EXPECT_EQ(j.cboTHCombo1->Texto().Caption(), "<" + vb::UCase(Traduz(29)) + ">");
    // The closed combo asks for the width of its caption and the arrow.
    EXPECT_LT(j.cboTHCombo1->mUserControlPixelWidth, 362);
    EXPECT_GT(j.cboTHCombo1->mUserControlPixelWidth, 25);
    const dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    ASSERT_FALSE(rs.IsNothing());
    EXPECT_EQ(rs.RecordCount(), Valor("SELECT Count(*) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 1"));
    EXPECT_TRUE(j.grdTHGrid1->Visible());
    EXPECT_EQ(j.grdTHGrid1->Left(), 20);
    EXPECT_EQ(j.grdTHGrid1->Top(), 244);

    // The row already shown chosen again: no rebuild, so the typed filter stays.
    l.txtNumeroEmpresaLV->SetText("1");
    const long filtrados = j.dtcTHGrid1.GetRecordset().RecordCount();
    j.dtcTHCombo1.GetRecordset().FindFirst("CodigoAplicacao = 0");
    j.cboTHCombo1->SelecaoAlterada();
    EXPECT_EQ(l.txtNumeroEmpresaLV->Text(), "1");
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), filtrados);

    // An assembly chosen in the combo: its LC list, the combo still over it, no group combo.
    dao::Recordset combo = j.dtcTHCombo1.GetRecordset();
    combo.FindFirst("CodigoAplicacao = 36");
    ASSERT_FALSE(combo.NoMatch());
    j.cboTHCombo1->SelecaoAlterada();
    EXPECT_EQ(j.grdTHGrid1->Tag(), "2");
    EXPECT_TRUE(j.cboTHCombo1->Visible());
    EXPECT_FALSE(j.cboTHCombo2->Visible());
    EXPECT_EQ(j.cboTHCombo1->Texto().Caption(), MontaDescricaoAplicacao(36, true, false));
    EXPECT_TRUE(l.txtItemFigLC->Visible());
    EXPECT_GT(j.dtcTHGrid1.GetRecordset().RecordCount(), 0);

    // The vehicle row again: the whole vehicle by LV, its filters emptied.
    j.dtcTHCombo1.GetRecordset().FindFirst("CodigoAplicacao = 0");
    j.cboTHCombo1->SelecaoAlterada();
    EXPECT_EQ(j.grdTHGrid1->Tag(), "1");
    EXPECT_EQ(l.txtNumeroEmpresaLV->Text(), "");
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), Valor("SELECT Count(*) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 1"));
    EXPECT_EQ(j.cboTHCombo1->Texto().Caption(), "<" + vb::UCase(Traduz(29)) + ">");

    // An assembly opened on its own: LC without either combo.
    AbreLista(j, 36);
    EXPECT_EQ(j.grdTHGrid1->Tag(), "2");
    EXPECT_FALSE(j.cboTHCombo1->Visible());
    EXPECT_FALSE(j.cboTHCombo2->Visible());
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(ListaEventosDemo, ReleaseColumnDecidesHeadersWidthsAndComboPlace) {
    frmZornakForm& j = IniciaComGanchos();
    TelaLista& l = Telas(j).Lista();
    // A vehicle with releases and one without, from the catalogue.
    long com = 0, sem = 0;
    for (long v = 1; v <= 35 && (!com || !sem); ++v) {
        if (Valor("SELECT Count(*) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = " + std::to_string(v)) == 0) continue;
        (TemLancamento(v) ? com : sem) = (TemLancamento(v) ? com : sem) ? (TemLancamento(v) ? com : sem) : v;
    }
    ASSERT_GT(com, 0);
    ASSERT_GT(sem, 0);
    for (long v : {com, sem}) {
        const bool lanc = v == com;
        SCOPED_TRACE(lanc ? "with releases" : "without releases");
        AbreLista(j, v);
        EXPECT_EQ(l.lblLancamentoLV->Visible(), lanc);
        EXPECT_EQ(l.lblLancamentoLV->Tag(), lanc ? "1" : "0");
        EXPECT_EQ(j.lblLancamentoLC->Tag(), lanc ? "1" : "0");
        EXPECT_EQ(j.Img("imgLegendaLancamento").Visible(), lanc);
        EXPECT_EQ(l.txtDescricaoProdutoLV->Width(), lanc ? 193 : 249);
        EXPECT_EQ(j.cboTHCombo2->Left(), lanc ? 326 : 382);
        EXPECT_EQ(l.lblGrupoLV->Left(), j.cboTHCombo2->Left() + 3);
        j.TrocaTela(0, 3, "");
    }
}

TEST_F(ListaEventosDemo, LeavingRemembersTheProductAndClearingTextsForgetIt) {
    frmZornakForm& j = IniciaComGanchos();
    TelaLista& l = Telas(j).Lista();
    AbreLista(j, 1);
    dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    rs.MoveFirst();
    rs.MoveNext();
    rs.MoveNext();
    const long produto = rs.Value("CodigoProduto").ToLong();
    PainelProduto& painel = Telas(j).Painel();
    ASSERT_FALSE(painel.imgFotoProduto[2]->GetPicture().IsNothing() && painel.imgFotoProduto[3]->GetPicture().IsNothing());
    j.TrocaTela(0, 3, "");
    EXPECT_EQ(l.CodigoProdutoLista, produto);
    EXPECT_TRUE(painel.imgFotoProduto[2]->GetPicture().IsNothing());
    EXPECT_TRUE(painel.imgFotoProduto[3]->GetPicture().IsNothing());
    EXPECT_FALSE(l.txtNumeroEmpresaLV->Enabled());
    j.TrocaTela(3, 0, "");
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong(), produto);
    EXPECT_TRUE(l.txtNumeroEmpresaLV->Enabled());

    // An empty list remembers no product.
    l.txtNumeroEmpresaLV->SetText("99999999");
    Telas(j).PesquisaProdutosAplicacao(l.OrdemLista, true);
    ASSERT_TRUE(j.dtcTHGrid1.GetRecordset().Eof());
    j.TrocaTela(0, 3, "");
    EXPECT_EQ(l.CodigoProdutoLista, 0);
    EXPECT_EQ(l.txtNumeroEmpresaLV->Text(), "99999999") << "no clearing text keeps the filters";

    struct Caso {
        const char* texto;
        bool produto, grupo, filtros, ordem;   // forgotten
    };
    const Caso casos[] = {
        {"LimpaTelaLista", true, true, true, true},
        {"LimpaTelaLista10", true, false, true, true},
        {"LimpaTelaLista01", false, true, true, true},
        {"", false, false, false, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        l.CodigoProdutoLista = 7;
        j.CodigoGrupoLista = 3;
        // Typing re-queries the list in its own order: the sort code comes after.
        l.txtDescricaoProdutoLC->SetText("FILTRO");
        l.OrdemLista = "4";
        j.m_HistoricoTelas = "02";
        j.TrocaTela(2, 0, c.texto);
        EXPECT_EQ(l.CodigoProdutoLista, c.produto ? 0 : 7);
        EXPECT_EQ(j.CodigoGrupoLista, c.grupo ? 0 : 3);
        EXPECT_EQ(l.txtDescricaoProdutoLC->Text(), c.filtros ? "" : "FILTRO");
        EXPECT_EQ(l.OrdemLista, c.ordem ? "1" : "4");
        j.m_HistoricoTelas = "0";
        j.TrocaTela(0, 2, "");
    }
}

TEST_F(ListaEventosDemo, TheGroupComboFiltersTheVehicleListKeepsTheProductAndIsRemembered) {
    frmZornakForm& j = IniciaComGanchos();
    AbreLista(j, 1);
    dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    rs.MoveLast();
    const long produto = rs.Value("CodigoProduto").ToLong();
    const long grupo = Valor("SELECT CodigoGrupoProduto FROM PRODUTO WHERE CodigoProduto = " + std::to_string(produto));
    const auto doGrupo = [&](long g) {
        return Valor("SELECT Count(*) FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
                     "PRODUTO.CodigoProduto WHERE APLICACAO_PRODUTO.CodigoAplicacao = 1 AND PRODUTO.CodigoGrupoProduto = " +
                     std::to_string(g));
    };
    const long outro = Valor("SELECT Min(PRODUTO.CodigoGrupoProduto) FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON "
                             "APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE "
                             "APLICACAO_PRODUTO.CodigoAplicacao = 1 AND PRODUTO.CodigoGrupoProduto <> " + std::to_string(grupo));
    ASSERT_GT(outro, 0);

    // The product's own group: only that group's products, the product still current.
    j.dtcTHCombo2.GetRecordset().FindFirst("CodigoGrupoProduto = " + std::to_string(grupo));
    j.cboTHCombo2->SelecaoAlterada();
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), doGrupo(grupo));
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong(), produto);
    EXPECT_EQ(j.TelaAtual(), 3);

    // Another group lists its own; the group chosen comes back with the screen.
    j.dtcTHCombo2.GetRecordset().FindFirst("CodigoGrupoProduto = " + std::to_string(outro));
    j.cboTHCombo2->SelecaoAlterada();
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), doGrupo(outro));
    j.TrocaTela(0, 3, "");
    EXPECT_EQ(j.CodigoGrupoLista, outro);
    j.TrocaTela(3, 0, "");
    EXPECT_EQ(j.dtcTHCombo2.GetRecordset().Value("CodigoGrupoProduto").ToLong(), outro);
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), doGrupo(outro));

    // The all-groups row: the whole vehicle again.
    j.dtcTHCombo2.GetRecordset().FindFirst("CodigoGrupoProduto = 0");
    j.cboTHCombo2->SelecaoAlterada();
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(),
              Valor("SELECT Count(*) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 1"));
    EXPECT_TRUE(erros.empty()) << erros.front();
}

// The applications of a group picked from the home screen: the vehicle's list opens with its
// group combo on that group, and lists only that group's products.
TEST_F(ListaEventosDemo, AnApplicationPickedForAGroupOpensTheVehicleListOnThatGroup) {
    frmZornakForm& j = IniciaComGanchos();
    const long grupo = Valor("SELECT Min(PRODUTO.CodigoGrupoProduto) FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON "
                             "APLICACAO_PRODUTO.CodigoProduto = PRODUTO.CodigoProduto WHERE "
                             "APLICACAO_PRODUTO.CodigoAplicacao = 1");
    ASSERT_GT(grupo, 0);
    const long doGrupo = Valor("SELECT Count(*) FROM APLICACAO_PRODUTO INNER JOIN PRODUTO ON APLICACAO_PRODUTO.CodigoProduto = "
                               "PRODUTO.CodigoProduto WHERE APLICACAO_PRODUTO.CodigoAplicacao = 1 AND "
                               "PRODUTO.CodigoGrupoProduto = " + std::to_string(grupo));
    ASSERT_LT(doGrupo, Valor("SELECT Count(*) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 1"));
    // The auxiliary window's answer: the list, vehicle 1, no row, sort 1, no type, no filter.
    EstadoPrograma.RequisicaoTela = "3|1|255|1|0||0";
    j.AplicaEstadoPendente(1, static_cast<int>(grupo));
    ASSERT_TRUE(erros.empty()) << erros.front();
    EXPECT_EQ(j.TelaAtual(), 3);
    EXPECT_EQ(j.grdTHGrid1->Tag(), "1");
    ASSERT_TRUE(j.cboTHCombo2->Visible());
    EXPECT_EQ(j.dtcTHCombo2.GetRecordset().Value("CodigoGrupoProduto").ToLong(), grupo);
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().RecordCount(), doGrupo);
}

// Photo names come from a catalogue made where file names ignore case and folders are
// written with "\": such a name still finds its file here.
TEST_F(ListaEventosDemo, APhotoIsFoundWhateverTheCaseAndSeparatorOfItsName) {
    frmZornakForm& j = IniciaComGanchos();
    PainelProduto& p = Telas(j).Painel();
    const std::string nome =
        ObtemValorSQL("SELECT ArquivoFotoProduto FROM PRODUTO WHERE CodigoProduto = 1", vb::Variant(std::string())).ToString();
    ASSERT_FALSE(nome.empty());
    ASSERT_TRUE(p.MostraFotoProduto(nome, 3)) << "the demo photo of product 1 has one of the two sizes";
    QDir(Dados()).mkpath("FotoPeca/Lote");
    ASSERT_TRUE(QFile::rename(Dados() + "/FotoPeca/" + QString::fromStdString(nome),
                              Dados() + "/FotoPeca/Lote/" + QString::fromStdString(nome).toLower()));
    for (const std::string& pedido : {"lote\\" + vb::UCase(nome), "LOTE/" + nome}) {
        SCOPED_TRACE(pedido);
        EXPECT_TRUE(p.MostraFotoProduto(pedido, 3));
    }
    // A name that matches nothing still shows the background, as a missing file does.
    EXPECT_FALSE(p.MostraFotoProduto("Lote\\nada.jpg", 3));
    EXPECT_FALSE(p.imgFotoProduto[2]->GetPicture().IsNothing());
}

TEST_F(ListaEventosDemo, FirstSetOfAnApplication) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    const long noConjunto = Valor("SELECT Min(CodigoProduto) FROM CONJUNTO_PRODUTO WHERE CodigoConjunto = 1");
    const long foraDele = Valor("SELECT Min(CodigoProduto) FROM PRODUTO WHERE CodigoProduto NOT IN "
                                "(SELECT CodigoProduto FROM CONJUNTO_PRODUTO WHERE CodigoConjunto = 1)");
    struct Caso {
        long aplicacao, produto;
        int conjunto;
    };
    const Caso casos[] = {{36, -1, 1}, {52, -1, 4}, {1, -1, -1}, {36, noConjunto, 1}, {36, foraDele, -1}};
    for (const Caso& c : casos)
        EXPECT_EQ(e.ObtemConjunto(c.aplicacao, c.produto), c.conjunto) << c.aplicacao << " " << c.produto;
}

TEST_F(ListaEventosDemo, VehicleSetMenu) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();

    // Several sets: the menu's entries, captions with the maker, codes as text.
    AbreLista(j, 1);
    EXPECT_TRUE(e.CarregaMenuConjuntosVeiculo(1));
    ASSERT_EQ(menus, std::vector<std::string>{"mnuConjuntosVeiculo"});
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "CarregaMenuConjuntosVeiculo");
    const auto& m = EstadoPrograma.ConjuntosMenu;
    ASSERT_EQ(m.size(), 2u);
    std::set<std::string> codigos(m[1].begin(), m[1].end());
    EXPECT_EQ(codigos, (std::set<std::string>{"36", "37", "57"}));
    for (size_t i = 0; i < m[0].size(); ++i) {
        const long a = std::stol(m[1][i]);
        EXPECT_EQ(m[0][i], MontaDescricaoAplicacao(a, false, true)) << m[0][i];
    }
    EXPECT_EQ(j.TelaAtual(), 3);

    // One set: straight to the figure, the menu entries gone.
    EstadoPrograma.RequisicaoTela.clear();
    AbreLista(j, 2);
    EXPECT_TRUE(e.CarregaMenuConjuntosVeiculo(2));
    EXPECT_TRUE(EstadoPrograma.ConjuntosMenu.empty());
    EXPECT_EQ(j.CodigoAplicacaoFigura, 63);
    EXPECT_EQ(j.m_HistoricoTelas, "04");
    EXPECT_TRUE((*j.pctTela)(4).Visible());
    EXPECT_GT(Telas(j).Figura().QuantidadeItensFigura, 0);

    // None: False and nothing changes.
    j.TrocaTela(0, 4, "");
    AbreLista(j, 3);
    EstadoPrograma.ConjuntosMenu = {{"x"}, {"1"}};
    EXPECT_FALSE(e.CarregaMenuConjuntosVeiculo(3));
    EXPECT_EQ(EstadoPrograma.ConjuntosMenu.size(), 2u);
    EXPECT_EQ(j.TelaAtual(), 3);
    EXPECT_EQ(menus.size(), 1u);
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(ListaEventosDemo, ProductSetMenu) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    // A product of set 1 only (application 36 of vehicle 1).
    const long unico = Valor(
        "SELECT Min(CodigoProduto) FROM CONJUNTO_PRODUTO1 WHERE CodigoConjunto = 1 AND CodigoProduto NOT IN "
        "(SELECT CodigoProduto FROM CONJUNTO_PRODUTO1 WHERE CodigoConjunto <> 1) AND CodigoProduto IN "
        "(SELECT CodigoProduto FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 36)");
    ASSERT_GT(unico, 0);
    AbreLista(j, 1);
    e.CarregaMenuConjuntos(unico, 1);
    EXPECT_TRUE(menus.empty());
    EXPECT_EQ(j.CodigoAplicacaoFigura, 36);
    EXPECT_EQ(j.TelaAtual(), 4);
    EXPECT_TRUE(EstadoPrograma.ConjuntosMenu.empty());
    // The figure took the "P:" request and marks the product's items.
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "");
    EXPECT_GE(Telas(j).Figura().UltimoItemPiscando, 0);

    // A product without a set on the vehicle: message 63 with a final ".".
    j.TrocaTela(0, 4, "");
    AbreLista(j, 1);
    const long semConjunto = Valor("SELECT Min(CodigoProduto) FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 1 AND "
                                   "CodigoProduto NOT IN (SELECT CodigoProduto FROM CONJUNTO_PRODUTO1)");
    ASSERT_GT(semConjunto, 0);
    e.CarregaMenuConjuntos(semConjunto, 1);
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(63) + ".");
    EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
    EXPECT_EQ(j.TelaAtual(), 3);
}

TEST_F(ListaEventosDemo, IconClicksOfTheAssemblyListWithItsReleaseColumn) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    AbreLista(j, 36);
    ASSERT_EQ(j.lblLancamentoLC->Tag(), "1") << "every set application has a release";
    dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    ASSERT_FALSE(rs.Eof());
    // A row with an item, whose set picture shows.
    rs.FindFirst("ItemFigura <> Null");
    ASSERT_FALSE(rs.NoMatch());
    const long produto = rs.Value("CodigoProduto").ToLong();
    const std::string item = rs.Value("ItemFigura").ToString();
    ASSERT_EQ(vb::Mid(rs.Value("ImagensGrid").ToString(), 2, 1), " ");

    e.grdTHGrid1_ImageClick(1, 1);   // the release mark
    EXPECT_TRUE(auxiliar.empty());
    EXPECT_EQ(j.TelaAtual(), 3);
    e.grdTHGrid1_ImageClick(3, 1);   // the applications
    EXPECT_EQ(auxiliar.back(), "1:" + std::to_string(produto) + "|36");
    e.grdTHGrid1_ImageClick(9, 1);   // past the last picture
    EXPECT_EQ(auxiliar.size(), 1u);

    // The cart: the product once more in this run's cart table, then the cart screen.
    e.grdTHGrid1_ImageClick(0, 1);
    EXPECT_EQ(auxiliar.back(), "2:" + std::to_string(produto));
    dao::Recordset carrinho = EstadoPrograma.DbAuxiliar.OpenRecordset(
        "SELECT Quantidade FROM " + EstadoPrograma.TabelaCarrinho + " WHERE CodigoProduto = " + std::to_string(produto));
    ASSERT_FALSE(carrinho.Eof());
    EXPECT_EQ(carrinho.Value("Quantidade").ToLong(), 1);
    carrinho.Close();

    // While the screens switch nothing happens.
    j.m_TrocandoTela = true;
    e.grdTHGrid1_ImageClick(2, 1);
    j.m_TrocandoTela = false;
    EXPECT_EQ(j.TelaAtual(), 3);

    // The set picture, by a double-click: the figure with the row's item marked.
    j.m_HistoricoTelas = "023";
    e.grdTHGrid1_DblClick();
    EXPECT_EQ(j.m_HistoricoTelas, "024");
    EXPECT_EQ(j.CodigoAplicacaoFigura, 36);
    TelaFigura& f = Telas(j).Figura();
    ASSERT_GE(f.UltimoItemPiscando, 0);
    for (int k = 0; k <= f.UltimoItemPiscando; ++k)
        EXPECT_EQ(f.lblItem()(static_cast<int>(f.ItensPiscando[k])).Caption(), item);
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(ListaEventosDemo, VehicleListSetPictureOffersTheProductsSets) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    AbreLista(j, 1);
    dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    const int s = j.lblLancamentoLC->Tag() == "1" ? 1 : 0;
    // A product of a set of one of the vehicle's assemblies.
    const long produto = Valor("SELECT Min(CONJUNTO_PRODUTO1.CodigoProduto) FROM CONJUNTO_PRODUTO1 INNER JOIN "
                               "APLICACAO_PRODUTO ON CONJUNTO_PRODUTO1.CodigoProduto = APLICACAO_PRODUTO.CodigoProduto "
                               "WHERE CONJUNTO_PRODUTO1.CodigoAplicacao IN (36, 37, 57) AND "
                               "CONJUNTO_PRODUTO1.CodigoAplicacao = APLICACAO_PRODUTO.CodigoAplicacao AND "
                               "CONJUNTO_PRODUTO1.CodigoProduto IN (SELECT CodigoProduto FROM APLICACAO_PRODUTO "
                               "WHERE CodigoAplicacao = 1)");
    ASSERT_GT(produto, 0);
    rs.FindFirst("CodigoProduto = " + std::to_string(produto));
    ASSERT_FALSE(rs.NoMatch());
    ASSERT_EQ(vb::Mid(rs.Value("ImagensGrid").ToString(), s + 1, 1), " ");
    e.grdTHGrid1_ImageClick(static_cast<std::uint8_t>(1 + s), 1);
    // One set opens the figure, several a menu; never a message.
    EXPECT_TRUE(j.TelaAtual() == 4 || menus == std::vector<std::string>{"mnuConjuntos"});
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(ListaEventosDemo, MouseMovesReportTheGridAndTheWheelTarget) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    e.grdTHGrid1_MouseMove();
    EXPECT_EQ(j.m_ChaveSelecao, ">THGRID1");
    e.grdTHGrid2_MouseMove();
    EXPECT_EQ(j.m_ChaveSelecao, ">THGRID2");
}

}  // namespace

namespace {

TEST_F(ListaEventosDemo, ScreenshotsOfTheLists) {
    frmZornakForm& j = IniciaComGanchos();
    j.Show();
    AbreLista(j, 1);
    vb::DoEvents();
    GravaImagem(j.pctBase->Widget(), "screens_b_lista_lv.png");
    AbreLista(j, 36);
    vb::DoEvents();
    GravaImagem(j.pctBase->Widget(), "screens_b_lista_lc.png");
}

}  // namespace

namespace {

TEST_F(ListaEventosDemo, ApplicationSearchOpensTheFigureOrTheList) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    struct Caso {
        int posicao;
        bool duplo;
        long aplicacao;
        int tela;              // where the click leads; 2 = it stays
        const char* historico;
    };
    const Caso casos[] = {
        {0, false, 36, 4, "024"},   // the figure of a set
        {0, false, 38, 2, "02"},    // no set: its figure picture is hidden
        {1, false, 38, 3, "023"},   // the list
        {1, true, 36, 3, "023"},    // a double-click opens the list too
        {2, false, 36, 2, "02"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::to_string(c.posicao) + (c.duplo ? " double" : "") + " on " + std::to_string(c.aplicacao));
        const auto saindo = static_cast<std::uint8_t>(j.TelaAtual());
        j.m_HistoricoTelas = "02";
        j.TrocaTela(2, saindo, "");
        dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
        ASSERT_FALSE(rs.IsNothing());
        rs.FindFirst("CodigoAplicacao = " + std::to_string(c.aplicacao));
        ASSERT_FALSE(rs.NoMatch());
        Telas(j).Lista().CodigoProdutoLista = 5;
        if (c.duplo) e.grdTHGrid1_DblClick();
        else e.grdTHGrid1_ImageClick(static_cast<std::uint8_t>(c.posicao), 1);
        EXPECT_EQ(j.TelaAtual(), c.tela);
        EXPECT_EQ(j.m_HistoricoTelas, c.historico);
        if (c.tela == 2) continue;
        EXPECT_EQ(j.CodigoAplicacaoLista, c.aplicacao);
        EXPECT_EQ(Telas(j).Lista().CodigoProdutoLista, 0) << "a new list context";
        if (c.tela == 4) {
            EXPECT_EQ(j.CodigoAplicacaoFigura, c.aplicacao);
        }
    }
    EXPECT_TRUE(erros.empty()) << erros.front();
}

TEST_F(ListaEventosDemo, ProductSearchIconsAndTheApplicationsGrid) {
    frmZornakForm& j = IniciaComGanchos();
    EventosListas& e = Telas(j).Eventos();
    j.m_HistoricoTelas = "01";
    j.TrocaTela(1, 0, "");
    dao::Recordset rs = j.dtcTHGrid1.GetRecordset();
    ASSERT_FALSE(rs.IsNothing());
    ASSERT_FALSE(rs.Eof());

    // Observation only where its picture shows; the release mark does nothing.
    long comObs = 0, semObs = 0;
    for (rs.MoveFirst(); !rs.Eof() && (!comObs || !semObs); rs.MoveNext()) {
        const bool obs = vb::Mid(rs.Value("ImagensGrid").ToString(), 2, 1) == " ";
        (obs ? comObs : semObs) = rs.Value("CodigoProduto").ToLong();
    }
    ASSERT_TRUE(comObs && semObs);
    rs.FindFirst("CodigoProduto = " + std::to_string(semObs));
    e.grdTHGrid1_ImageClick(2, 1);
    e.grdTHGrid1_ImageClick(1, 1);
    e.grdTHGrid1_DblClick();
    EXPECT_TRUE(auxiliar.empty());
    rs.FindFirst("CodigoProduto = " + std::to_string(comObs));
    e.grdTHGrid1_ImageClick(2, 1);
    EXPECT_EQ(auxiliar, std::vector<std::string>{"0:P|" + std::to_string(comObs)});

    // A product of set 1, its application 36 in grid 2: the figure with the product marked.
    const long produto = Valor("SELECT Min(CodigoProduto) FROM CONJUNTO_PRODUTO1 WHERE CodigoAplicacao = 36 AND "
                               "CodigoProduto IN (SELECT CodigoProduto FROM APLICACAO_PRODUTO WHERE CodigoAplicacao = 36)");
    rs.FindFirst("CodigoProduto = " + std::to_string(produto));
    ASSERT_FALSE(rs.NoMatch());
    Telas(j).AtualizaPainelProduto("", true, 0);
    dao::Recordset aplicacoes = j.dtcTHGrid2.GetRecordset();
    ASSERT_FALSE(aplicacoes.IsNothing());
    aplicacoes.FindFirst("CodigoAplicacao = 36");
    ASSERT_FALSE(aplicacoes.NoMatch());
    e.grdTHGrid2_ImageClick(0, 1);
    EXPECT_EQ(j.TelaAtual(), 4);
    EXPECT_EQ(j.m_HistoricoTelas, "014");
    EXPECT_EQ(j.CodigoAplicacaoFigura, 36);
    EXPECT_GE(Telas(j).Figura().UltimoItemPiscando, 0);

    // Back on screen 1, the list of that application opens on the product.
    j.m_HistoricoTelas = "01";
    j.TrocaTela(1, 4, "");
    rs = j.dtcTHGrid1.GetRecordset();
    rs.FindFirst("CodigoProduto = " + std::to_string(produto));
    Telas(j).AtualizaPainelProduto("", true, 0);
    j.dtcTHGrid2.GetRecordset().FindFirst("CodigoAplicacao = 36");
    e.grdTHGrid2_DblClick();
    EXPECT_EQ(j.TelaAtual(), 3);
    EXPECT_EQ(j.m_HistoricoTelas, "013");
    EXPECT_EQ(j.CodigoAplicacaoLista, 36);
    EXPECT_EQ(j.dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong(), produto);
    EXPECT_TRUE(erros.empty()) << erros.front();
}

}  // namespace
