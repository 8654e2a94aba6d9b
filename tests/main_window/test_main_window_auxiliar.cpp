// The hand-overs of the main window: requests to the auxiliary window, its pending answer,
// the group shortcuts, the pop-up menus' window and their choices.
#include "catalog/main_window/frmMenu.h"
#include "tests/main_window/MainWindowFixture.h"

#include "common/modTraducao.h"
#include "platform/vb/Strings.h"

using mainwindowtest::MainWindow;

namespace {

TEST_F(MainWindow, RequestsCarryTheModeAndOnlyNonEmptyParameters) {
    struct Caso {
        long modo;
        const char* parametros;
        const char* requisicao;
    };
    const Caso casos[] = {
        {5, "", "5"},
        {2, "0", "2|0"},
        {0, "P|1234", "0|P|1234"},
        {6, "15|16", "6|15|16"},
    };
    for (const Caso& c : casos) {
        Janela().AbreTelaAuxiliar(c.modo, c.parametros);
        ASSERT_FALSE(auxiliar->requisicoes.empty());
        EXPECT_EQ(auxiliar->requisicoes.back(), c.requisicao);
    }
}

TEST_F(MainWindow, FrameButtonsOpenTheirAuxiliaryScreens) {
    struct Caso {
        const char* controle;
        const char* requisicao;
    };
    for (const Caso c : {Caso{"lblConfiguracoes", "5"}, Caso{"imgCarrinho", "2|0"}}) {
        auxiliar->requisicoes.clear();
        vb::Control* controle = Janela().Controle(c.controle);
        ASSERT_NE(controle, nullptr) << c.controle;
        vb::RunEvent([&] { controle->Click(); });
        EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{c.requisicao}) << c.controle;
    }
    EXPECT_EQ(caixas.Count(), 0u);
}

// An auxiliary window that fails to open: the error reaches the user, the request goes.
class JanelaAuxiliarQueFalha : public IJanelaAuxiliar {
public:
    void MostraModal() override { LevantaNaoDisponivel("The auxiliary window"); }
};

TEST_F(MainWindow, AnAuxiliaryWindowThatFailsToOpenSaysSoAndLeavesNoRequestBehind) {
    DefineJanelaAuxiliar(std::make_shared<JanelaAuxiliarQueFalha>());
    try {
        Janela().AbreTelaAuxiliar(2, "0");
        FAIL() << "the failing window opened";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), ErroNaoDisponivel);
        EXPECT_NE(e.Description().find("not available yet"), std::string::npos);
    }
    EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty()) << "a request nobody took would be read as an answer";
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
    // From a click the user sees the box, and the window stays as it was.
    vb::RunEvent([&] { Janela().Img("imgCarrinho").Click(); });
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find("not available yet"), std::string::npos);
    EXPECT_EQ(Janela().m_HistoricoTelas, "0");
}

// The group shortcuts of the home screen: the mode-3 request by release state, and the
// answer that opens the list.
TEST_F(MainWindow, GroupShortcutAsksForItsGroupAndShowsTheChosenList) {
    vb::Label& grupo = Janela().Lbl("lblGrupoM", 0);
    struct Caso {
        long dataLancamento;   // WhatsThisHelpID: the index of the release-date label, or negative
        const char* requisicao;
    };
    const Caso casos[] = {
        {2, "3|4|17|0|0||255|3|0|1"},
        {0, "3|4|17|0|0||255|3|0|1"},
        {-1, "3|4|17|0|0||255|1|0|0"},
    };
    for (const Caso& c : casos) {
        auxiliar->requisicoes.clear();
        auxiliar->resposta.clear();
        grupo.SetTag("4|17");
        grupo.SetWhatsThisHelpID(c.dataLancamento);
        Janela().lblGrupoM_Click(0);
        EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{c.requisicao}) << c.dataLancamento;
    }
    // Closed without a choice: the home screen stays and the list state is reset.
    EXPECT_EQ(Janela().m_HistoricoTelas, "0");
    EXPECT_EQ(Janela().CodigoFabricanteRetorno, 0);
    EXPECT_EQ(Janela().LinhaRetorno, 255);
    EXPECT_EQ(Janela().OrdemRetorno, "1");
    EXPECT_TRUE(chamadas.empty());

    // The user picked an application: the list opens from the home screen.
    Janela().CodigoAplicacaoCombo = 99;
    auxiliar->resposta = "3|2345|7|3|2|Gol 1.6|1";
    Janela().lblGrupoM_Click(0);
    EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty());
    EXPECT_EQ(Janela().m_HistoricoTelas, "03");
    EXPECT_EQ(chamadas, (std::vector<std::string>{"ReiniciaContextoLista", "DesmontaTelaPrincipal",
                                                  "LimpaFiltrosLista 10", "MontaTelaLista"}));
    const frmZornakForm& j = Janela();
    EXPECT_EQ(j.CodigoFabricanteRetorno, 4);
    EXPECT_EQ(j.CodigoGrupoProdutoRetorno, 17);
    EXPECT_EQ(j.CodigoAplicacaoRetorno, 2345);
    EXPECT_EQ(j.LinhaRetorno, 7);
    EXPECT_EQ(j.OrdemRetorno, "3");
    EXPECT_EQ(j.CodigoTipoAplicacaoRetorno, 2);
    EXPECT_EQ(j.FiltroRetorno, "Gol 1.6");
    EXPECT_EQ(j.MarcaLancamentoRetorno, 1);
    EXPECT_EQ(j.CodigoAplicacaoFigura, 2345);
    EXPECT_EQ(j.CodigoAplicacaoLista, 2345);
    EXPECT_EQ(j.CodigoGrupoLista, 17);
    EXPECT_TRUE((*j.pctOrelha)(1).Visible());

    // Back twice after the shortcut: from the list to the home screen, then nothing.
    Janela().lblInicio_Click();
    EXPECT_EQ(Janela().m_HistoricoTelas, "0");
}

TEST_F(MainWindow, AMalformedPendingStateFailsWithoutSwitchingScreens) {
    struct Caso {
        const char* estado;
        long erro;
    };
    const Caso casos[] = {
        {"3|2345|7|3|2", vb::err::SubscriptOutOfRange},
        {"3|abc|7|3|2||1", 13},
        {"3|2345|300|3|2||1", 6},
        {"3|40000|7|3|2||1", 6},   // the figure's application is an Integer
    };
    Janela().CodigoAplicacaoRetorno = 42;
    Janela().CodigoFabricanteRetorno = 9;
    for (const Caso& c : casos) {
        EstadoPrograma.RequisicaoTela = c.estado;
        try {
            Janela().AplicaEstadoPendente(1, 2);
            ADD_FAILURE() << c.estado << " was applied";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), c.erro) << c.estado;
        }
        EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty()) << "a state is taken once: " << c.estado;
        EXPECT_EQ(Janela().m_HistoricoTelas, "0") << c.estado;
        EXPECT_EQ(Janela().CodigoAplicacaoRetorno, 42) << "a bad state was half applied: " << c.estado;
        EXPECT_EQ(Janela().CodigoFabricanteRetorno, 9) << c.estado;
    }
    EXPECT_TRUE(chamadas.empty());
}

// --------------------------------------------------------------------------- the menus

TEST_F(MainWindow, ProductMenuChoicesOpenTheAuxiliaryWindow) {
    const std::vector<long> produtos = ListaProdutos(1);
    ASSERT_EQ(produtos.size(), 1u);
    const long p = produtos[0];
    Janela().CodigoAplicacaoFigura = 321;
    struct Caso {
        long codigo;
        std::string requisicao;
    };
    const Caso casos[] = {
        {1, "0|P|" + std::to_string(p)},
        {2, "1|" + std::to_string(p) + "|321"},
        {0, "2|" + std::to_string(p)},
    };
    for (const Caso& c : casos) {
        frmMenu().Load();
        auxiliar->requisicoes.clear();
        Janela().MenuClick(c.codigo, p);
        EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{c.requisicao}) << c.codigo;
        EXPECT_FALSE(frmMenu().IsLoaded()) << c.codigo;
    }
    // Only the cart choice put the product in; twice keeps the quantity it had.
    EXPECT_EQ(Carrinho(), (std::vector<std::pair<long, int>>{{p, 1}}));
    AlteraQuantidadeCarrinho(p, 5);
    Janela().MenuClick(0, p);
    EXPECT_EQ(Carrinho(), (std::vector<std::pair<long, int>>{{p, 5}}));
    // Codes above 4 only unload the menus.
    frmMenu().Load();
    auxiliar->requisicoes.clear();
    Janela().MenuClick(7, p);
    EXPECT_TRUE(auxiliar->requisicoes.empty());
    EXPECT_FALSE(frmMenu().IsLoaded());
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(MainWindow, SetMenuChoicesOpenTheFigureOfTheChosenSet) {
    const std::vector<long> produtos = ListaProdutos(2);
    ASSERT_EQ(produtos.size(), 2u);
    struct Caso {
        long codigo;
        std::string pendente;   // what the figure screen finds in RequisicaoTela
    };
    const Caso casos[] = {{3, "P:" + std::to_string(produtos[0]) + ":P"}, {4, ""}};
    for (const Caso& c : casos) {
        Janela().m_HistoricoTelas = "023";
        EstadoPrograma.ConjuntosMenu = {{"Set A", "Set B", "Set C"}, {"11", "22", "33"}};
        chamadas.clear();
        Janela().MenuClick(c.codigo, 1);
        EXPECT_EQ(Janela().CodigoAplicacaoFigura, 22) << c.codigo;
        EXPECT_TRUE(EstadoPrograma.ConjuntosMenu.empty()) << c.codigo;
        EXPECT_EQ(EstadoPrograma.RequisicaoTela, c.pendente) << c.codigo;
        EXPECT_EQ(Janela().m_HistoricoTelas, "024") << c.codigo;
        EXPECT_EQ(chamadas, (std::vector<std::string>{"DesmontaTelaLista", "MostraTelaFigura"})) << c.codigo;
        EstadoPrograma.RequisicaoTela.clear();
    }
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(MainWindow, ASetIndexOutsideTheMenuIsReportedAndNothingSwitches) {
    Janela().m_HistoricoTelas = "03";
    EstadoPrograma.ConjuntosMenu = {{"Set A"}, {"11"}};
    frmMenu().Load();
    Janela().MenuClick(4, 3);
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_NE(caixas.Last().prompt.find("9"), std::string::npos) << caixas.Last().prompt;
    EXPECT_EQ(Janela().m_HistoricoTelas, "03");
    EXPECT_TRUE(chamadas.empty());
    EXPECT_FALSE(frmMenu().IsLoaded());
}

TEST_F(MainWindow, TheMenusWindowFillsTheSetListOfItsMode) {
    struct Caso {
        const char* modo;
        bool doVeiculo;
    };
    for (const Caso c : {Caso{"CarregaMenuConjuntos", false}, Caso{"CarregaMenuConjuntosVeiculo", true}}) {
        // A longer list first, so that loading again must drop the extra element.
        for (const std::vector<std::string>& legendas :
             {std::vector<std::string>{"A", "B", "C", "D"}, std::vector<std::string>{"Car 1", "Car 2", "Truck"}}) {
            std::vector<std::string> codigos;
            for (std::size_t i = 0; i < legendas.size(); ++i) codigos.push_back(std::to_string(10 + i));
            EstadoPrograma.ConjuntosMenu = {legendas, codigos};
            EstadoPrograma.RequisicaoTela = c.modo;
            frmMenuForm& menu = frmMenu();
            menu.Load();
            EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty()) << c.modo;
            EXPECT_EQ(menu.Caption(), ObtemTituloAplicacao());
            vb::ControlArray<vb::Menu>& itens = c.doVeiculo ? *menu.mnuConjuntoVeiculo : *menu.mnuConjunto;
            vb::ControlArray<vb::Menu>& outros = c.doVeiculo ? *menu.mnuConjunto : *menu.mnuConjuntoVeiculo;
            ASSERT_EQ(itens.Count(), static_cast<int>(legendas.size())) << c.modo;
            for (std::size_t i = 0; i < legendas.size(); ++i) {
                EXPECT_EQ(itens(static_cast<int>(i)).Caption(), legendas[i]) << c.modo << " " << i;
                EXPECT_TRUE(itens(static_cast<int>(i)).Visible()) << c.modo << " " << i;
            }
            EXPECT_EQ(outros.Count(), 1);
            menu.Unload();
        }
    }
}

TEST_F(MainWindow, ASetModeWithoutSetsOnlyClearsTheRequest) {
    EstadoPrograma.ConjuntosMenu.clear();
    EstadoPrograma.RequisicaoTela = "CarregaMenuConjuntos";
    frmMenuForm& menu = frmMenu();
    menu.Load();
    EXPECT_TRUE(EstadoPrograma.RequisicaoTela.empty());
    EXPECT_EQ(menu.mnuConjunto->Count(), 1);
    // Any other text is not the menus window's: it stays for its reader.
    menu.Unload();
    EstadoPrograma.RequisicaoTela = "I:12:I";
    menu.Load();
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "I:12:I");
}

TEST_F(MainWindow, MenuItemsPassTheirActionAndTheProductOfTheirPosition) {
    frmMenuForm& menu = frmMenu();
    menu.Load();
    for (int n = 1; n <= 4; ++n) menu.mnuProduto[static_cast<std::size_t>(n)]->SetTag(std::to_string(1000 + n));
    struct Caso {
        std::uint8_t posicao;
        long codigo;
    };
    for (const Caso c : {Caso{0, 0}, Caso{1, 1001}, Caso{2, 1002}, Caso{4, 1004}, Caso{5, 0}})
        EXPECT_EQ(menu.ObtemCodigoProdutoMenu(c.posicao), c.codigo) << int(c.posicao);

    Janela().CodigoAplicacaoFigura = 5;
    struct Escolha {
        std::function<vb::Menu*(frmMenuForm&)> item;
        const char* requisicao;
    };
    const Escolha escolhas[] = {
        {[](frmMenuForm& m) { return m.mnuObservacao[2]; }, "0|P|1002"},
        {[](frmMenuForm& m) { return m.mnuAplicacao[3]; }, "1|1003|5"},
        {[](frmMenuForm& m) { return m.mnuCarrinho[1]; }, "2|1001"},
    };
    for (const Escolha& e : escolhas) {
        frmMenuForm& m = frmMenu();
        if (!m.IsLoaded()) {
            m.Load();
            for (int n = 1; n <= 4; ++n) m.mnuProduto[static_cast<std::size_t>(n)]->SetTag(std::to_string(1000 + n));
        }
        auxiliar->requisicoes.clear();
        vb::RunEvent([&] { e.item(m)->Click(); });
        EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{e.requisicao});
        EXPECT_FALSE(frmMenu().IsLoaded());
    }
    // A set item passes its index.
    EstadoPrograma.ConjuntosMenu = {{"A", "B"}, {"40", "50"}};
    EstadoPrograma.RequisicaoTela = "CarregaMenuConjuntosVeiculo";
    frmMenu().Load();
    Janela().m_HistoricoTelas = "03";
    vb::RunEvent([&] { (*frmMenu().mnuConjuntoVeiculo)(1).Click(); });
    EXPECT_EQ(Janela().CodigoAplicacaoFigura, 50);
    EXPECT_EQ(Janela().m_HistoricoTelas, "04");
    EXPECT_EQ(caixas.Count(), 0u);
}

}  // namespace
