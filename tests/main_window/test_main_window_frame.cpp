// The frame's own handlers: column headers, figure items and pages, adding the whole list
// to the cart, the print button's refusals, the language switch, the hover of the screens'
// controls and the wheel targets.
#include "catalog/main_window/frmMenu.h"
#include "tests/main_window/MainWindowFixture.h"

#include "common/modTraducao.h"
#include "platform/forms/Keys.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <QKeyEvent>

using mainwindowtest::MainWindow;

namespace {

TEST_F(MainWindow, HeadersSortTheirListAndTheBusyGuardStopsOnlyTheGuardedOnes) {
    struct Caso {
        const char* cabecalho;
        const char* chamada;
        bool guardado;
    };
    const Caso casos[] = {
        {"lblNumeroEmpresa", "PesquisaProdutos 1 1", false},
        {"lblDescricaoProduto", "PesquisaProdutos 2 1", false},
        {"lblGrupo", "PesquisaProdutos 3 1", false},
        {"lblLancamento", "PesquisaProdutos 4 1", false},
        {"lblTipoAplicacao", "AtualizaPainelProduto 1 1 0", false},
        {"lblAplicacaoProduto", "AtualizaPainelProduto 2 1 0", false},
        {"lblFabricante", "AtualizaPainelProduto 3 1 0", false},
        {"lblTipoAplicacaoA", "PesquisaAplicacoes 1 1", false},
        {"lblAplicacaoProdutoA", "PesquisaAplicacoes 2 1", false},
        {"lblFabricanteA", "PesquisaAplicacoes 3 1", false},
        {"lblNumeroEmpresaLV", "PesquisaProdutosAplicacao 1 1", true},
        {"lblDescricaoProdutoLV", "PesquisaProdutosAplicacao 2 1", true},
        {"lblGrupoLV", "PesquisaProdutosAplicacao 3 1", true},
        {"lblLancamentoLV", "PesquisaProdutosAplicacao 4 1", false},
        {"lblNumeroEmpresaLC", "PesquisaProdutosConjunto 1 1", true},
        {"lblDescricaoProdutoLC", "PesquisaProdutosConjunto 2 1", true},
        {"lblItemFigLC", "PesquisaProdutosConjunto 3 1", true},
        {"lblLancamentoLC", "PesquisaProdutosConjunto 4 1", false},
    };
    for (const bool ocupado : {false, true}) {
        for (const Caso& c : casos) {
            chamadas.clear();
            Janela().m_TrocandoTela = ocupado;
            vb::Control* rotulo = Janela().Controle(c.cabecalho);
            ASSERT_NE(rotulo, nullptr) << c.cabecalho;
            vb::RunEvent([&] { rotulo->Click(); });
            const std::vector<std::string> esperado =
                ocupado && c.guardado ? std::vector<std::string>{} : std::vector<std::string>{c.chamada};
            EXPECT_EQ(chamadas, esperado) << c.cabecalho << (ocupado ? " during a build" : "");
        }
    }
    Janela().m_TrocandoTela = false;
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(MainWindow, RightClickOnAFigureItemPagesThroughItsProducts) {
    vb::ControlArray<vb::Label>& itens = *Janela().lblItem;
    itens.Load(3).SetCaption("12");
    Janela().ItemFiguraSelecionado = 12;
    // One page: nothing happens.
    telas->paginasItem = 1;
    itens(3).MouseUp(vb::vbRightButton, 0, 0, 0);
    EXPECT_TRUE(chamadas.empty());
    // Three pages: 1, 2, 3 and round to 1.
    telas->paginasItem = 3;
    telas->paginaItem = 1;
    std::vector<int> paginas;
    for (int i = 0; i < 4; ++i) {
        itens(3).MouseUp(vb::vbRightButton, 0, 0, 0);
        paginas.push_back(telas->paginaItem);
    }
    EXPECT_EQ(paginas, (std::vector<int>{2, 3, 1, 2}));
    EXPECT_EQ(chamadas.at(0), "LimpaPainelItem 0");
    EXPECT_EQ(chamadas.at(1), "MostraDadosItem 12 2");
    // The middle button does nothing.
    chamadas.clear();
    itens(3).MouseUp(vb::vbMiddleButton, 0, 0, 0);
    EXPECT_TRUE(chamadas.empty());
    EXPECT_TRUE(popups.empty());
}

TEST_F(MainWindow, LeftClickOnAFigureItemOffersItsProducts) {
    using Produto = ITelasCatalogo::ProdutoItemFigura;
    vb::ControlArray<vb::Label>& itens = *Janela().lblItem;
    itens.Load(1).SetCaption("NA");
    itens.Load(2).SetCaption("7");

    // An item that does not apply says so and offers nothing.
    vb::RunEvent([&] { itens(1).MouseUp(vb::vbLeftButton, 0, 0, 0); });
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, vb::UCase(Traduz(12)) + ".");
    EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
    EXPECT_TRUE(popups.empty());

    struct Caso {
        std::vector<Produto> produtos;
        const char* menu;
    };
    const Caso casos[] = {
        {{{501, "01-02-0003 Filter", false}}, "mnuProduto1"},
        // More than four: the first four are offered.
        {{{1, "1", false}, {2, "2", false}, {3, "3", false}, {4, "4", false}, {5, "5", false}}, "mnuItensFigura"},
        {{{501, "A", true}, {502, "B", false}, {503, "C", true}}, "mnuItensFigura"},
    };
    for (const Caso& c : casos) {
        popups.clear();
        telas->produtosItem = c.produtos;
        frmMenuForm* preenchido = nullptr;
        escolhaPopup = [&](vb::Menu& m) -> vb::Menu* {
            preenchido = &static_cast<frmMenuForm&>(m.OwnerForm());
            return nullptr;
        };
        vb::RunEvent([&] { itens(2).MouseUp(vb::vbLeftButton, 0, 0, 0); });
        ASSERT_EQ(popups, std::vector<std::string>{c.menu});
        ASSERT_NE(preenchido, nullptr);
        for (std::size_t n = 1; n <= 4; ++n) {
            const bool existe = n <= c.produtos.size();
            EXPECT_EQ(preenchido->mnuProduto[n]->Visible(), existe) << n;
            if (!existe) continue;
            const Produto& p = c.produtos[n - 1];
            EXPECT_EQ(preenchido->mnuProduto[n]->Tag(), std::to_string(p.codigo));
            EXPECT_EQ(preenchido->mnuProduto[n]->Caption(), p.texto);
            EXPECT_EQ(preenchido->mnuCarrinho[n]->Caption(), Traduz(2));
            EXPECT_EQ(preenchido->mnuObservacao[n]->Caption(), Traduz(3));
            EXPECT_EQ(preenchido->mnuObservacao[n]->Visible(), p.observacao) << n;
            EXPECT_EQ(preenchido->mnuAplicacao[n]->Caption(), Traduz(27));
        }
    }
    // The person picks the applications of the second of the three products: the choice
    // comes back with the product of its entry.
    escolhaPopup = [](vb::Menu& m) -> vb::Menu* {
        return static_cast<frmMenuForm&>(m.OwnerForm()).mnuAplicacao[2];
    };
    Janela().CodigoAplicacaoFigura = 77;
    vb::RunEvent([&] { itens(2).MouseUp(vb::vbLeftButton, 0, 0, 0); });
    EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{"1|502|77"});
    EXPECT_FALSE(frmMenu().IsLoaded());
    EXPECT_EQ(caixas.Count(), 1u);
}

// The figure shows numbers on all its markers; an item none of whose products fits the
// application is told by the item panel, which tags its heading "NA".
TEST_F(MainWindow, AnItemThePanelFoundNoProductForIsNotApplicable) {
    vb::ControlArray<vb::Label>& itens = *Janela().lblItem;
    itens.Load(4).SetCaption("15");
    vb::Label* titulo = Janela().New<vb::Label>((*Janela().pctTela)(4), "lblTitDescricaoProdutoF");
    telas->produtosItem = {{501, "01-02-0003 Filter", false}};
    struct Caso {
        const char* tag;
        bool naoAplicavel;
    };
    for (const Caso c : {Caso{"NA", true}, Caso{"", false}}) {
        popups.clear();
        caixas.Clear();
        titulo->SetTag(c.tag);
        vb::RunEvent([&] { itens(4).MouseUp(vb::vbLeftButton, 0, 0, 0); });
        if (c.naoAplicavel) {
            ASSERT_EQ(caixas.Count(), 1u) << c.tag;
            EXPECT_EQ(caixas.Last().prompt, vb::UCase(Traduz(12)) + ".");
            EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
            EXPECT_TRUE(popups.empty()) << "a menu for an item that does not apply";
        } else {
            EXPECT_EQ(caixas.Count(), 0u) << caixas.Last().prompt;
            EXPECT_EQ(popups, std::vector<std::string>{"mnuProduto1"});
        }
    }
}

TEST_F(MainWindow, PageButtonsChangeOnlyToAnotherPage) {
    Janela().PaginaFiguraAtual = 2;
    Janela().lblPagF_Click(2);
    EXPECT_TRUE(chamadas.empty());
    Janela().lblPagF_Click(1);
    EXPECT_EQ(chamadas, (std::vector<std::string>{"ParaPiscarItensFigura", "MostraPaginaFigura 1"}));
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(MainWindow, AddingTheWholeListAsksOnceAndOpensTheCartOnTheCurrentRow) {
    // An empty list says so and opens nothing.
    Janela().dtcTHGrid1.SetRecordSource("SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto < 0");
    Janela().dtcTHGrid1.Refresh();
    Janela().imgCarrinhoTodos_Click();
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(5) + ".");
    EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
    EXPECT_TRUE(auxiliar->requisicoes.empty());

    const std::vector<long> produtos = ListaProdutos(3);
    ASSERT_EQ(produtos.size(), 3u);
    // No: nothing changes.
    caixas.Clear();
    caixas.QueueAnswers({vb::vbNo});
    Janela().imgCarrinhoTodos_Click();
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, Traduz(28) + "\r\n\r\n" + Traduz(55));
    EXPECT_EQ(caixas.Last().buttons, vb::vbYesNo | vb::vbQuestion);
    EXPECT_TRUE(Carrinho().empty());
    EXPECT_TRUE(auxiliar->requisicoes.empty());

    // Yes: every row once, the quantity of one already there kept; the cart opens on the
    // list's current row (the second).
    IncluiProdutoCarrinho(produtos[1], 1);
    AlteraQuantidadeCarrinho(produtos[1], 9);
    Janela().dtcTHGrid1.GetRecordset().MoveNext();
    caixas.QueueAnswers({vb::vbYes});
    Janela().imgCarrinhoTodos_Click();
    EXPECT_EQ(Carrinho(), (std::vector<std::pair<long, int>>{{produtos[0], 1}, {produtos[1], 9}, {produtos[2], 1}}));
    EXPECT_EQ(auxiliar->requisicoes, std::vector<std::string>{"2|" + std::to_string(produtos[1])});
    EXPECT_EQ(vb::Screen().MousePointer(), vb::vbDefault);
}

TEST_F(MainWindow, PrintingNothingExplainsWhyAndOpensNoPrinterDialog) {
    struct Caso {
        const char* historico;
        bool listaVazia;
        int mensagem;   // 0: no box
    };
    const Caso casos[] = {
        {"03", true, 5},
        {"034", false, 63},
        {"0", false, 0},
        {"1", false, 0},
    };
    Janela().dtcTHGrid1.SetRecordSource("SELECT CodigoProduto FROM PRODUTO WHERE CodigoProduto < 0");
    Janela().dtcTHGrid1.Refresh();
    Janela().PaginaFiguraAtual = 255;
    for (const Caso& c : casos) {
        caixas.Clear();
        Janela().m_HistoricoTelas = c.historico;
        Janela().lblImprimir_Click();
        if (c.mensagem == 0) {
            EXPECT_EQ(caixas.Count(), 0u) << c.historico;
            continue;
        }
        ASSERT_EQ(caixas.Count(), 1u) << c.historico;
        EXPECT_EQ(caixas.Last().prompt, Traduz(c.mensagem) + ".");
        EXPECT_EQ(caixas.Last().buttons, vb::vbCritical);
        EXPECT_EQ(caixas.Last().title, Traduz(0));
    }
}

TEST_F(MainWindow, TheLanguageSwitchStoresTheLanguageAndRebuildsTheCurrentScreen) {
    frmZornakForm& j = Janela();
    j.imgOrelha0_Click(1);
    chamadas.clear();
    ASSERT_EQ(EstadoPrograma.Idioma, "P");
    vb::RunEvent([&] { j.Img("imgBtnIdiomaE").Click(); });
    EXPECT_EQ(EstadoPrograma.Idioma, "E");
    // The marker stands for the current language; the old one's flag is back.
    EXPECT_TRUE(j.Img("imgIdiomaE").Visible());
    EXPECT_FALSE(j.Img("imgBtnIdiomaE").Visible());
    EXPECT_FALSE(j.Img("imgBtnIdiomaESel").Visible());
    EXPECT_TRUE(j.Img("imgBtnIdiomaP").Visible());
    EXPECT_FALSE(j.Img("imgIdiomaP").Visible());
    EXPECT_TRUE(j.Img("imgBtnIdiomaI").Visible());
    EXPECT_FALSE(j.Img("imgIdiomaI").Visible());
    // The frame's texts in Spanish, the key hints as they were.
    EXPECT_EQ(j.lblSair->Caption(), vb::UCase(Traduz(47, "E")));
    EXPECT_EQ(j.lblSair->ToolTipText(), Traduz(47, "E") + " <ALT+F4>");
    EXPECT_EQ((*j.imgOrelha0)(3).ToolTipText(), Traduz(88, "E") + " <CTRL+TAB>");
    EXPECT_EQ(j.grdTHGrid1->mTextGridVazio, Traduz(5, "E"));
    EXPECT_EQ(chamadas, (std::vector<std::string>{"DesmontaTelaProduto", "MontaTelaProduto"}));
    EXPECT_EQ(j.m_HistoricoTelas, "1");
    // The settings line begins with the new language.
    QFile configuracao(QString::fromStdString(ObtemPastaConfiguracao(true)) + "CatalogoZORNAKConfig.txt");
    ASSERT_TRUE(configuracao.open(QIODevice::ReadOnly)) << configuracao.fileName().toStdString();
    EXPECT_TRUE(configuracao.readAll().startsWith("E")) << "the settings do not hold the new language";
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(MainWindow, ScreenControlsHighlightWhileHovered) {
    frmZornakForm& j = Janela();
    // The group shortcut shows its release date while hovered, unless it has none.
    vb::Label& grupo = j.Lbl("lblGrupoM", 0);
    vb::Label& data = j.Lbl("lblDataLancM", 0);
    struct Caso {
        long dataLancamento;
        bool mostraData;
    };
    for (const Caso c : {Caso{0, true}, Caso{-1, false}}) {
        grupo.SetWhatsThisHelpID(c.dataLancamento);
        data.SetVisible(false);
        grupo.MouseMove(0, 0, 0, 0);
        EXPECT_TRUE(grupo.FontUnderline()) << c.dataLancamento;
        EXPECT_EQ(data.Visible(), c.mostraData) << c.dataLancamento;
        j.AtualizaSelecaoMouse("FORM");
        EXPECT_FALSE(grupo.FontUnderline());
        EXPECT_FALSE(data.Visible());
    }
    // Headers and the add-all button through their own mouse moves.
    j.Lbl("lblNumeroEmpresaLV").MouseMove(0, 0, 0, 0);
    EXPECT_TRUE(j.Lbl("lblNumeroEmpresaLV").FontUnderline());
    j.Img("imgCarrinhoTodos").MouseMove(0, 0, 0, 0);
    EXPECT_FALSE(j.Lbl("lblNumeroEmpresaLV").FontUnderline());
    EXPECT_TRUE(j.Img("imgCarrinhoTodosSel").Visible());
    EXPECT_EQ(j.m_ChaveSelecao, "CARRINHOTODOS");
    // Over the page button now shown nothing changes.
    j.PaginaFiguraAtual = 0;
    j.Lbl("lblPagF", 0).MouseMove(0, 0, 0, 0);
    EXPECT_EQ(j.m_ChaveSelecao, "CARRINHOTODOS");
    // A list takes the hover key and the wheel.
    EstadoPrograma.RodaMouseAtiva = true;
    j.grdTHGrid2->MouseMove(0, 0, 0, 0);
    EXPECT_EQ(j.m_ChaveSelecao, ">THGRID2");
    EXPECT_FALSE(j.Img("imgCarrinhoTodosSel").Visible());
    EXPECT_EQ(EstadoPrograma.ChaveAlvoRoda, "CAT_GRID2");
    EXPECT_EQ(AlvoRodaJanela, j.grdTHGrid2);
}

// The figure screen's passive areas clear the highlight; its panel also gives the hovered
// item its normal look back, the item panel's rows do not.
TEST_F(MainWindow, TheFigureScreensPassiveAreasClearTheHighlight) {
    frmZornakForm& j = Janela();
    vb::Image& sair = j.Img("imgBtnSairSel");
    auto* descricoes = j.ArranjoControles<vb::Label>("lblDescricaoProdutoF");
    auto* referencias = j.ArranjoControles<vb::Label>("lblNroF");
    ASSERT_NE(descricoes, nullptr);
    ASSERT_NE(referencias, nullptr);
    struct Caso {
        const char* nome;
        vb::Control* area;
        bool restauraItem;
    };
    const Caso casos[] = {
        {"lblDescricaoProdutoF(0)", &(*descricoes)(0), false},
        {"lblDescricaoProdutoF(2), loaded by the panel", &descricoes->Load(2), false},
        {"lblNroF(1), loaded by the panel", &referencias->Load(1), false},
        {"pctTela(4)", &(*j.pctTela)(4), true},
    };
    for (const Caso& c : casos) {
        chamadas.clear();
        j.AtualizaSelecaoMouse("BTNSAIR");
        ASSERT_TRUE(sair.Visible()) << c.nome;
        c.area->MouseMove(0, 0, 0, 0);
        EXPECT_EQ(j.m_ChaveSelecao, "FORM") << c.nome;
        EXPECT_FALSE(sair.Visible()) << c.nome;
        EXPECT_EQ(chamadas, c.restauraItem ? std::vector<std::string>{"RestauraItemSelecionado"}
                                           : std::vector<std::string>{})
            << c.nome;
    }
}

// Between the two passes of an accepted update the lock is held while the running flag is
// clear for a moment: the automatic timer must not start a check of its own there.
TEST_F(MainWindow, TheSchedulerStartsNoCheckWhileTheUpdateLockIsHeld) {
    frmZornakForm& j = Janela();
    const bool automatica = EstadoPrograma.VerificacaoAutomatica;
    EstadoPrograma.VerificacaoAutomatica = true;
    j.m_UltimaVerificacao = 1.0;   // never checked: a check is due
    for (const bool bloqueio : {true, false}) {
        // As the first pass leaves it: the lock taken, the second pass about to start.
        if (bloqueio) {
            ASSERT_TRUE(BloqueiaAtualizacao(true));
            j.lblUltimaAtualizacao->SetTag("1");
        }
        j.m_BloqueioAtualizacao = bloqueio;
        j.tmrVerificaProcessoVerificacao->SetTag("");
        j.tmrVerificarAtualizacoes_Timer();
        EXPECT_EQ(j.m_VerificandoAtualizacao, !bloqueio) << (bloqueio ? "with" : "without") << " the lock";
        EXPECT_EQ(j.tmrVerificaProcessoVerificacao->Tag().empty(), bloqueio);
        if (bloqueio) {
            EXPECT_TRUE(BloqueiaAtualizacao(false));
            j.lblUltimaAtualizacao->SetTag("");
        }
        j.m_BloqueioAtualizacao = false;
        // No checker lies beside this test's program; the started check is ended unseen.
        j.EncerraVerificacaoAtualizacoes();
    }
    EstadoPrograma.VerificacaoAutomatica = automatica;
    EXPECT_EQ(caixas.Count(), 0u);
}

TEST_F(MainWindow, TheWheelGoesToTheListOfTheKey) {
    frmZornakForm& j = Janela();
    EstadoPrograma.RodaMouseAtiva = true;
    THGrid* gradeAuxiliar = j.New<THGrid>(*j.pctBase, "grdTeste");
    THCombo* comboAuxiliar = j.New<THCombo>(*j.pctBase, "cboTeste");
    // As the auxiliary window registers its lists while it is open.
    RegistraListaRoda("TEL_GRID1", gradeAuxiliar);
    RegistraListaRoda("TEL_COMBO2", comboAuxiliar);
    struct Caso {
        const char* chave;
        vb::Control* alvo;
        IRolagemRoda* rolagem;
        int linhas;
    };
    const Caso casos[] = {
        {"CAT_GRID1", j.grdTHGrid1, j.grdTHGrid1, 4},
        {"CAT_GRID2", j.grdTHGrid2, j.grdTHGrid2, 4},
        {"CAT_COMBO1", j.cboTHCombo1, j.cboTHCombo1, 4},
        {"CAT_COMBO2", j.cboTHCombo2, j.cboTHCombo2, 4},
        {"TEL_GRID1", gradeAuxiliar, gradeAuxiliar, 4},
        {"TEL_COMBO2", comboAuxiliar, comboAuxiliar, 4},
        {"", nullptr, nullptr, 0},
    };
    for (const Caso& c : casos) {
        DefineAlvoRodaMouse("CAT_GRID1" == std::string(c.chave) ? "" : "CAT_GRID1");
        DefineAlvoRodaMouse(c.chave);
        EXPECT_EQ(EstadoPrograma.ChaveAlvoRoda, c.chave);
        EXPECT_EQ(AlvoRodaJanela, c.alvo) << c.chave;
        EXPECT_EQ(AlvoRodaRolagem, c.rolagem) << c.chave;
        EXPECT_EQ(EstadoPrograma.LinhasRoda, c.linhas) << c.chave;
    }
    // An unknown key keeps the target but is remembered.
    DefineAlvoRodaMouse("CAT_GRID2");
    DefineAlvoRodaMouse("OUTRA");
    EXPECT_EQ(EstadoPrograma.ChaveAlvoRoda, "OUTRA");
    EXPECT_EQ(AlvoRodaJanela, j.grdTHGrid2);
    // The current key again changes nothing, even when the target was cleared meanwhile.
    DefineAlvoRodaMouse("CAT_COMBO1");
    AlvoRodaJanela = nullptr;
    DefineAlvoRodaMouse("CAT_COMBO1");
    EXPECT_EQ(AlvoRodaJanela, nullptr);
    // With the wheel off nothing is touched.
    EstadoPrograma.RodaMouseAtiva = false;
    DefineAlvoRodaMouse("CAT_GRID1");
    EXPECT_EQ(EstadoPrograma.ChaveAlvoRoda, "CAT_COMBO1");
    EstadoPrograma.RodaMouseAtiva = true;
    // A list that goes takes the wheel's target with it; the other one stays registered.
    DefineAlvoRodaMouse("TEL_GRID1");
    RegistraListaRoda("TEL_GRID1", nullptr, nullptr);
    EXPECT_TRUE(EstadoPrograma.ChaveAlvoRoda.empty());
    EXPECT_EQ(AlvoRodaJanela, nullptr);
    EXPECT_EQ(EstadoPrograma.LinhasRoda, 0);
    DefineAlvoRodaMouse("TEL_GRID1");
    EXPECT_EQ(AlvoRodaRolagem, nullptr) << "no list for the key now";
    DefineAlvoRodaMouse("TEL_COMBO2");
    EXPECT_EQ(AlvoRodaRolagem, comboAuxiliar);
    RegistraListaRoda("TEL_COMBO2", nullptr, nullptr);
    EXPECT_TRUE(EstadoPrograma.ChaveAlvoRoda.empty());
}

TEST_F(MainWindow, TheFigureTabOpensTheFirstSetOrSaysThereIsNone) {
    frmZornakForm& j = Janela();
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset("SELECT TOP 1 CodigoAplicacao FROM APLICACAO");
    ASSERT_FALSE(rs.Eof());
    const long aplicacao = rs.Value("CodigoAplicacao").ToLong();
    rs.Close();
    struct Caso {
        long lista, combo;           // the list's application and the one chosen in its combo
        int conjunto;
        bool menuVeiculo;            // the vehicle's other sets were offered
        const char* historico;       // afterwards, from "023"
        bool caixa;
    };
    const Caso casos[] = {
        {aplicacao, 0, 8, false, "024", false},
        {5, aplicacao, 8, false, "024", false},
        {aplicacao, 0, 0, true, "023", false},
        {aplicacao, 0, 0, false, "023", true},
    };
    for (const Caso& c : casos) {
        j.m_HistoricoTelas = "023";
        j.CodigoAplicacaoFigura = 0;
        j.CodigoAplicacaoLista = c.lista;
        j.CodigoAplicacaoCombo = c.combo;
        telas->conjunto = c.conjunto;
        telas->mostraMenuVeiculo = c.menuVeiculo;
        chamadas.clear();
        caixas.Clear();
        j.imgOrelha1_Click(1);
        const std::string nome = std::to_string(c.conjunto) + (c.menuVeiculo ? " menu" : "");
        EXPECT_EQ(chamadas.at(0), "ObtemConjunto " + std::to_string(aplicacao) + " -1") << nome;
        EXPECT_EQ(j.m_HistoricoTelas, c.historico) << nome;
        EXPECT_EQ(j.CodigoAplicacaoFigura, c.conjunto > 0 ? aplicacao : 0) << nome;
        if (c.conjunto > 0) {
            EXPECT_EQ(chamadas, (std::vector<std::string>{chamadas.at(0), "DesmontaTelaLista", "MostraTelaFigura"}));
        } else {
            EXPECT_EQ(chamadas.at(1), "CarregaMenuConjuntosVeiculo " + std::to_string(aplicacao)) << nome;
        }
        ASSERT_EQ(caixas.Count(), c.caixa ? 1u : 0u) << nome;
        if (c.caixa) {
            EXPECT_EQ(caixas.Last().prompt,
                      MontaDescricaoAplicacao(aplicacao, true, true) + "\r\n\r\n" + vb::UCase(Traduz(31)));
            EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
        }
    }
    // The list tab from the figure replaces the last screen of the history too.
    j.m_HistoricoTelas = "024";
    j.imgOrelha1_Click(0);
    EXPECT_EQ(j.m_HistoricoTelas, "023");
}

TEST_F(MainWindow, GoingToAScreenStartsANewHistoryThereAndShowsTheMessage) {
    frmZornakForm& j = Janela();
    j.m_HistoricoTelas = "023";
    j.CodigoFabricanteRetorno = 3;
    j.VaiParaTela("", 5);
    EXPECT_EQ(j.m_HistoricoTelas, "5");
    EXPECT_EQ(j.CodigoFabricanteRetorno, 0);
    EXPECT_EQ(j.m_SubTelaProduto, 1);
    EXPECT_EQ(chamadas, (std::vector<std::string>{"DesmontaTelaLista", "MontaTelaProduto"}));
    EXPECT_EQ(caixas.Count(), 0u);
    j.VaiParaTela("Done", 0);
    EXPECT_EQ(j.m_HistoricoTelas, "0");
    ASSERT_EQ(caixas.Count(), 1u);
    EXPECT_EQ(caixas.Last().prompt, "Done");
    EXPECT_EQ(caixas.Last().buttons, vb::vbInformation);
    EXPECT_EQ(caixas.Last().title, Traduz(0));
}

// The tab strips as drawn: a hovered tab looks different and comes back exactly; the active
// tab is not hovered, and a tab that became active while hovered keeps its active look.
TEST_F(MainWindow, HoveredTabsAreDrawnAndRestored) {
    frmZornakForm& j = Janela();
    // The caption of tab 1 (108 x 18, centred on its click image): the neighbours' shapes
    // overlap the tab's edges, but not its caption.
    const vb::Image& aba1 = (*j.imgOrelha0)(1);
    const QRect legenda(aba1.Left() + aba1.Width() / 2 - 54, 7, 108, 18);
    auto faixa = [&j, legenda] { return (*j.pctOrelha)(0).GetImage().Pixmap().toImage().copy(legenda); };
    const QImage inicial = faixa();
    j.AtualizaSelecaoMouse(".IMGORELHA01");
    EXPECT_NE(faixa(), inicial) << "the hovered look was not drawn";
    j.AtualizaSelecaoMouse("FORM");
    EXPECT_EQ(faixa(), inicial) << "leaving the tab did not restore its normal look";

    // The home screen's tab is active: its click image is hidden, nothing reaches it.
    EXPECT_FALSE((*j.imgOrelha0)(0).Visible());
    j.AtualizaSelecaoMouse(".IMGORELHA01");
    j.imgOrelha0_Click(1);
    const QImage ativa = faixa();
    j.AtualizaSelecaoMouse("FORM");
    EXPECT_EQ(faixa(), ativa) << "the active tab was redrawn in its normal look";
    EXPECT_FALSE((*j.imgOrelha0)(1).Visible());
    EXPECT_TRUE((*j.imgOrelha0)(0).Visible());
}

// The arrow keys in a search box move the selection of the list below it; the box keeps
// the focus and never sees the key.
TEST_F(MainWindow, ArrowKeysInASearchBoxMoveTheListBelow) {
    frmZornakForm& j = Janela();
    const std::vector<long> produtos = ListaProdutos(20);
    ASSERT_GE(produtos.size(), 3u);
    THGrid& grade = *j.grdTHGrid1;
    grade.mUserControlPixelWidth = 400;
    grade.mUserControlPixelHeight = 170;
    grade.Move(10, 200, 400, 170);
    grade.SetVisible(true);
    grade.ObtemDataControl(j.dtcTHGrid1);
    grade.ConfiguraColunas({"CodigoProduto|1|1500|T"});
    grade.AtualizaGrid();
    vb::TextBox* caixa = j.New<vb::TextBox>(*j.pctBase, "txtTeste");
    caixa->Move(10, 150, 100, 20);
    caixa->SetVisible(true);
    j.Window()->activateWindow();
    for (int i = 0; i < 3; ++i) vb::DoEvents();
    caixa->SetFocus();
    ASSERT_EQ(j.ActiveControl(), caixa);
    auto tecla = [&](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(caixa->Widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QCoreApplication::sendEvent(caixa->Widget(), &release);
        for (int i = 0; i < 3; ++i) vb::DoEvents();
    };
    auto atual = [&j] { return j.dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong(); };
    ASSERT_EQ(atual(), produtos[0]);
    tecla(Qt::Key_Down);
    EXPECT_EQ(atual(), produtos[1]);
    tecla(Qt::Key_Down);
    EXPECT_EQ(atual(), produtos[2]);
    tecla(Qt::Key_Up);
    EXPECT_EQ(atual(), produtos[1]);
    EXPECT_EQ(j.ActiveControl(), caixa) << "the focus stayed in the list";
    // While a screen is being built the key goes to the box as it came.
    j.m_TrocandoTela = true;
    tecla(Qt::Key_Down);
    EXPECT_EQ(atual(), produtos[1]);
    j.m_TrocandoTela = false;
}

TEST_F(MainWindow, AjustaJanelaReplacesTheFrameOfTheWindow) {
    vb::Form janela("frmTeste");
    janela.Show();
    struct Caso {
        long borda;
        bool menu, maximizar, minimizar, ajuda;
        bool semMoldura;
    };
    const Caso casos[] = {
        {0, true, true, true, false, true},
        {2, true, false, true, true, false},
        {1, false, false, false, false, false},
        {0, false, true, false, false, true},
    };
    for (const Caso& c : casos) {
        AjustaJanela(janela, c.borda, true, c.menu, c.maximizar, c.minimizar, true, c.ajuda);
        const Qt::WindowFlags f = janela.Window()->windowFlags();
        const std::string nome = "border " + std::to_string(c.borda);
        EXPECT_EQ(f.testFlag(Qt::FramelessWindowHint), c.semMoldura) << nome;
        EXPECT_EQ(f.testFlag(Qt::WindowSystemMenuHint), c.menu) << nome;
        EXPECT_EQ(f.testFlag(Qt::WindowMaximizeButtonHint), c.maximizar) << nome;
        EXPECT_EQ(f.testFlag(Qt::WindowMinimizeButtonHint), c.minimizar) << nome;
        EXPECT_EQ(f.testFlag(Qt::WindowContextHelpButtonHint), c.ajuda) << nome;
        EXPECT_EQ(janela.BorderStyle(), c.borda) << nome;
        EXPECT_TRUE(janela.Window()->isVisible()) << nome;
    }
    // A border style outside 0 to 5 changes nothing.
    const Qt::WindowFlags antes = janela.Window()->windowFlags();
    try {
        AjustaJanela(janela, 7, true, true, true, true, true, false);
        ADD_FAILURE() << "border 7 was taken";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), 380);
    }
    EXPECT_EQ(janela.Window()->windowFlags(), antes);
    EXPECT_EQ(janela.BorderStyle(), 0);
    janela.Unload();
}

}  // namespace
