// The auxiliary window's frame: placement over the main window, the request and its
// screens, the back history, the highlight, the captions, the deferred close.
#include "tests/aux_window/Ambiente.h"

#include "common/modTraducao.h"
#include "platform/forms/Keys.h"

#include <gmock/gmock.h>

namespace {

using auxteste::JanelaAuxiliarTeste;

class AuxMoldura : public JanelaAuxiliarTeste {};

struct CasoPosicao {
    const char* nome;
    QRect area;          // the main window's design area on the screen
    int larguraTela, alturaTela;
    int esquerda, topo;  // where the window must open
};

TEST_F(AuxMoldura, OpensOverTheDesignAreaAndStaysOnTheScreen) {
    const CasoPosicao casos[] = {
        {"inside", QRect(100, 50, 800, 600), 1920, 1080, 191, 189},
        {"far right of a small screen", QRect(600, 0, 800, 600), 1024, 768, 1024 - 641, 139},
        {"low on the screen keeps 40 px", QRect(0, 300, 800, 600), 1024, 768, 91, 768 - 406 - 40},
        {"design area above the top", QRect(120, -200, 800, 600), 1920, 1080, 211, 0},
        {"design area left of the screen", QRect(-300, 0, 800, 600), 1920, 1080, 0, 139},
    };
    for (const CasoPosicao& c : casos) {
        SCOPED_TRACE(c.nome);
        vb::Screen().SetSizeForTesting(c.larguraTela, c.alturaTela);
        const QRect area = c.area;
        frmZornak2Form::Ligacoes().AreaDesenhoPrincipal = [area] { return area; };
        auxteste::Janela& j = Abre("5");
        EXPECT_EQ(j.Left(), c.esquerda);
        EXPECT_EQ(j.Top(), c.topo);
        EXPECT_EQ(j.Width(), 641);
        EXPECT_EQ(j.Height(), 406);
    }
}

struct CasoRequisicao {
    const char* requisicao;
    int tela;            // the screen shown, -1 none
};

TEST_F(AuxMoldura, TakesTheRequestOnceAndShowsItsScreen) {
    const long produto = Codigos("SELECT TOP 1 CodigoProduto FROM PRODUTO ORDER BY CodigoProduto").at(0);
    const std::string p = std::to_string(produto);
    const CasoRequisicao casos[] = {
        {"0|P|", 0}, {"1||0", 1}, {"2|0", 2}, {"5", 5}, {"4", -1},
    };
    for (const CasoRequisicao& c : casos) {
        std::string req = c.requisicao;
        if (req == "0|P|") req += p;
        if (req == "1||0") req = "1|" + p + "|0";
        SCOPED_TRACE(req);
        auxteste::Janela& j = Abre(req);
        EXPECT_EQ(EstadoPrograma.RequisicaoTela, "") << "the reader clears the hand-over";
        EXPECT_EQ(j.HistoricoTelas, req.substr(0, 1));
        for (int t : {0, 1, 2, 3, 5, 6}) EXPECT_EQ((*j.pctTela)(t).Visible(), t == c.tela) << "screen " << t;
        if (c.tela >= 0) {
            EXPECT_EQ((*j.pctTela)(c.tela).Tag(), req);
        }
        EXPECT_FALSE(j.TrocandoTela);
    }
}

TEST_F(AuxMoldura, MalformedParametersRaiseTypeMismatchAndShowNothing) {
    auxteste::Janela& j = Abre("4");
    for (const char* req : {"2|abc", "1|12", "3|1|x|0|0||255|1|0|0"}) {
        SCOPED_TRACE(req);
        try {
            j.ExibeTela(200, req);
            ADD_FAILURE() << "no error";
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.Number(), 13);
        }
        EXPECT_FALSE(j.TrocandoTela) << "the keys work again after a failed switch";
    }
}

TEST_F(AuxMoldura, LaterActivationsDoNotTakeANewRequest) {
    auxteste::Janela& j = Abre("5");
    EstadoPrograma.RequisicaoTela = "2|0";
    j.Ativa();   // as after a message box
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "2|0");
    EXPECT_TRUE((*j.pctTela)(5).Visible());
    EXPECT_FALSE((*j.pctTela)(2).Visible());
}

TEST_F(AuxMoldura, BackReturnsThroughTheHistoryAndThenCloses) {
    const long produto = Codigos("SELECT TOP 1 CodigoProduto FROM PRODUTO ORDER BY CodigoProduto").at(0);
    auxteste::Janela& j = Abre("2|" + std::to_string(produto));
    // A screen moving forward appends the new mode and switches with its own number.
    j.HistoricoTelas += "0";
    j.ExibeTela(2, "0|P|" + std::to_string(produto));
    EXPECT_TRUE((*j.pctTela)(0).Visible());
    EXPECT_FALSE((*j.pctTela)(2).Visible());
    EXPECT_FALSE(j.lblImprimir->Visible()) << "the cart's buttons go with the cart";

    int esc = vb::vbKeyEscape;
    j.TeclaPress(esc);
    EXPECT_EQ(esc, 0);
    EXPECT_EQ(j.HistoricoTelas, "2");
    EXPECT_TRUE((*j.pctTela)(2).Visible()) << "rebuilt from the request it was shown with";
    EXPECT_FALSE((*j.pctTela)(0).Visible());
    EXPECT_TRUE(j.lblImprimir->Visible());

    esc = vb::vbKeyEscape;
    j.TeclaPress(esc);
    EXPECT_FALSE(j.IsLoaded());
}

TEST_F(AuxMoldura, DeferredCloseRunsAfterTheEvent) {
    auxteste::Janela& j = Abre("5");
    j.AcaoPendente = "VOLTAR";
    j.tmrAux->SetEnabled(true);
    EXPECT_TRUE(j.IsLoaded()) << "nothing closes inside the event that asked";
    EXPECT_TRUE(auxteste::Espera([&] { return !j.IsLoaded(); }));
}

TEST_F(AuxMoldura, UpdateInstallationThatCannotReachTheServerAnswersFailure) {
    {
        // A server address nothing listens on, so the run fails at once and never leaves the machine.
        teste::Escrita e;
        e.Executa("UPDATE UMREGISTRO SET UrlAtualizacao = 'http://127.0.0.1:9/'");
    }
    auxteste::Janela& j = Abre("6|3|5");
    EXPECT_GE(caixas_.Count(), 1u) << "the failure is reported";
    EXPECT_TRUE(auxteste::Espera([&] { return !j.IsLoaded(); }));
    EXPECT_EQ(EstadoPrograma.RequisicaoTela, "00") << "never a pretended success";
}

TEST_F(AuxMoldura, HighlightMovesBetweenButtonsAndLabels) {
    auxteste::Janela& j = Abre("2|0");
    j.DestacaControle("BTNOK");
    EXPECT_TRUE(j.imgBtnOkSel->Visible());
    j.DestacaControle("_DESCRICAOC");
    EXPECT_FALSE(j.imgBtnOkSel->Visible());
    EXPECT_TRUE(j.lblDescricaoC->FontUnderline());
    j.DestacaControle("BTNVOLTAR");
    EXPECT_FALSE(j.lblDescricaoC->FontUnderline());
    EXPECT_TRUE(j.imgBtnVoltarSel->Visible());
    j.DestacaControle("FORM");
    EXPECT_FALSE(j.imgBtnVoltarSel->Visible());
    EXPECT_EQ(j.ChaveSelecaoAtual, "FORM");

    vb::Control* c = j.lblOk;
    j.ObtemControleDestaque("NAOEXISTE", c);
    EXPECT_EQ(c, j.lblOk) << "an unknown key leaves the out argument alone";
}

TEST_F(AuxMoldura, ButtonCaptionsAndHints) {
    auxteste::Janela& j = Abre("5");
    EXPECT_EQ(j.Caption(), Traduz(0));
    const std::pair<vb::Label*, std::pair<long, std::string>> botoes[] = {
        {j.lblVoltar, {58, " <ESC>"}},      {j.lblOk, {84, " <ENTER>"}}, {j.lblImprimir, {57, " <CTRL+P>"}},
        {j.lblGerarArquivo, {85, " <CTRL+S>"}}, {j.lblEnviarEmail, {86, " <CTRL+E>"}}};
    for (const auto& [rotulo, msg] : botoes) {
        EXPECT_EQ(rotulo->Caption(), vb::UCase(Traduz(msg.first)));
        EXPECT_EQ(rotulo->ToolTipText(), Traduz(msg.first) + msg.second);
    }
    EXPECT_EQ(j.grdTHGrid1->mTextGridVazio, Traduz(5));
}

TEST_F(AuxMoldura, WheelGoesToThisWindowAndBack) {
    EstadoPrograma.RodaMouseAtiva = true;
    std::vector<bool> chamadas;
    vb::Form* principal = reinterpret_cast<vb::Form*>(0x1);   // only compared, never used
    frmZornak2Form::Ligacoes().SubClassing = [&](bool liga) { chamadas.push_back(liga); };
    frmZornak2Form::Ligacoes().JanelaPrincipal = [&] { return principal; };
    auxteste::Janela& j = Abre("5");
    EXPECT_EQ(JanelaRodaMouse, &j);
    j.Unload();
    EXPECT_EQ(JanelaRodaMouse, principal);
    EXPECT_EQ(chamadas, (std::vector<bool>{false, true, false, true}));
    JanelaRodaMouse = nullptr;
}

}  // namespace
