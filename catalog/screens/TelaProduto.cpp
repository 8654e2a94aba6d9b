#include "catalog/screens/TelaProduto.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

namespace {

// The sort tooltip: "Ordenar por " and the caption.
std::string DicaOrdem(const std::string& legenda) { return Traduz(39) + " " + legenda; }

void Cabecalho(vb::Label* l, const std::string& legenda, const std::string& dica) {
    l->SetCaption(legenda);
    l->SetToolTipText(dica);
}

}  // namespace

TelaProduto::TelaProduto(frmZornakForm& janela, TelasCatalogo& telas) : janela_(janela), telas_(telas) {
    CriaControles();
}

std::uint8_t TelaProduto::Modo() const { return janela_.m_SubTelaProduto == 1 ? 1 : 0; }

vb::PictureBox& TelaProduto::Painel() const { return (*janela_.pctTela)(1); }

void TelaProduto::CriaControles() {
    vb::PictureBox& painel = Painel();
    auto texto = [&](const char* nome, int l, int t, int w) {
        auto* c = janela_.New<vb::TextBox>(painel, nome);
        c->Move(l, t, w, 20);
        c->SetFont("Arial", 8);
        c->SetVisible(false);
        return c;
    };
    // Each box stands over the column it searches.
    txtNumeroEmpresa = texto("txtNumeroEmpresa", 50, 40, 75);
    txtDescricaoProduto = texto("txtDescricaoProduto", 127, 40, 274);
    txtNumeroFabricante = texto("txtNumeroFabricante", 657, 40, 123);

    auto rotulo = [&](const char* nome, int l, int t, int w, int alinhamento, bool ordena) {
        auto* c = janela_.New<vb::Label>(painel, nome);
        c->Move(l, t, w, 14);
        c->SetBackStyle(0);
        c->SetFont("Arial", 7.5, true);
        c->SetForeColor(0);
        c->SetAlignment(alinhamento);
        if (ordena) c->SetMousePointer(vb::vbArrow);
        return c;
    };
    lblNumeroEmpresa = rotulo("lblNumeroEmpresa", 50, 24, 75, vb::vbLeftJustify, true);
    lblDescricaoProduto = rotulo("lblDescricaoProduto", 127, 24, 274, vb::vbLeftJustify, true);
    lblGrupo = rotulo("lblGrupo", 404, 24, 122, vb::vbLeftJustify, true);
    // Up to the next header, so that "Lanzamiento" stands whole.
    lblLancamento = rotulo("lblLancamento", 526, 24, 64, vb::vbCenter, true);
    lblObs = rotulo("lblObs", 590, 24, 40, vb::vbCenter, false);
    lblNumeroReferencia = rotulo("lblNumeroReferencia", 657, 24, 123, vb::vbLeftJustify, false);
    lblTipoAplicacao = rotulo("lblTipoAplicacao", 229, 272, 100, vb::vbLeftJustify, true);
    lblAplicacaoProduto = rotulo("lblAplicacaoProduto", 329, 272, 256, vb::vbLeftJustify, true);
    lblFabricante = rotulo("lblFabricante", 585, 272, 103, vb::vbLeftJustify, true);
    lblFig = rotulo("lblFig", 688, 272, 40, vb::vbCenter, false);
    lblLista = rotulo("lblLista", 728, 272, 52, vb::vbCenter, false);

    // The frames around the two grids (the window's layout places them), the link between
    // the grids.
    shpGrid[0] = &janela_.Moldura("shpGrid", 0);
    shpGrid[1] = &janela_.Moldura("shpGrid", 1);

    imgAplicacaoLigaGrids = janela_.New<vb::Image>(painel, "imgAplicacaoLigaGrids");
    imgAplicacaoLigaGrids->Move(20, 190, 207, 84);
    // The link starts under the product grid: its frame stays drawn over the picture.
    shpGrid[0]->ZOrder(0);

    txtNumeroEmpresa->Change = [this] { txtNumeroEmpresa_Change(); };
    txtDescricaoProduto->Change = [this] { txtDescricaoProduto_Change(); };
    txtNumeroFabricante->Change = [this] { txtNumeroFabricante_Change(); };
    lblNumeroEmpresa->Click = [this] { PesquisaProdutos("1", true); };
    lblDescricaoProduto->Click = [this] { PesquisaProdutos("2", true); };
    lblGrupo->Click = [this] { PesquisaProdutos("3", true); };
    lblLancamento->Click = [this] { PesquisaProdutos("4", true); };
    lblTipoAplicacao->Click = [this] { telas_.Painel().AtualizaPainelProduto("1", true, false); };
    lblAplicacaoProduto->Click = [this] { telas_.Painel().AtualizaPainelProduto("2", true, false); };
    lblFabricante->Click = [this] { telas_.Painel().AtualizaPainelProduto("3", true, false); };
}

// ---------------------------------------------------------------------------- lists

void TelaProduto::PesquisaProdutos(const std::string& ordem, bool bAtualiza) {
    const std::uint8_t m = Modo();
    OrdemProdutos[m] = ordem;
    ColoreCabecalhos(ordem, {lblNumeroEmpresa, lblDescricaoProduto, lblGrupo, lblLancamento});
    const consultas::FiltrosProdutos f =
        telas_.FiltrosProdutos(*txtNumeroFabricante, *txtNumeroEmpresa, *txtDescricaoProduto, true);
    RecarregaGrade(*janela_.grdTHGrid1, janela_.dtcTHGrid1, consultas::PesquisaProdutos(m == 1, f, ordem, EstadoPrograma.Idioma),
                   bAtualiza);
}

void TelaProduto::PesquisaAplicacoesProduto(const std::string& ordem, bool bAtualiza, bool bLimpa) {
    const std::uint8_t m = Modo();
    OrdemAplicacoesProduto[m] = ordem;
    ColoreCabecalhos(ordem, {lblTipoAplicacao, lblAplicacaoProduto, lblFabricante});
    long produto = 0;
    if (!bLimpa) {
        try {
            produto = CodigoAtual(janela_.dtcTHGrid1, "CodigoProduto");
        } catch (const vb::Error&) {
            produto = 0;
        }
    }
    RecarregaGrade(*janela_.grdTHGrid2, janela_.dtcTHGrid2,
                   consultas::PesquisaAplicacoesProduto(produto, ordem, EstadoPrograma.Idioma), bAtualiza);
}

void TelaProduto::txtNumeroEmpresa_Change() {
    if (janela_.m_TrocandoTela) return;
    PesquisaProdutos("1", true);
}

void TelaProduto::txtDescricaoProduto_Change() {
    if (janela_.m_TrocandoTela) return;
    PesquisaProdutos("2", true);
}

void TelaProduto::txtNumeroFabricante_Change() {
    if (janela_.m_TrocandoTela) return;
    PesquisaProdutos(OrdemProdutos[Modo()], true);
}

void TelaProduto::cboTHCombo2_SelecaoAlterada() {
    const long k = CodigoAtual(janela_.dtcTHGrid1, "CodigoProduto");
    PesquisaProdutos(OrdemProdutos[Modo()], false);
    if (k != 0) janela_.dtcTHGrid1.GetRecordset().FindFirst("CodigoProduto = " + std::to_string(k));
    janela_.grdTHGrid1->AtualizaGrid();
}

// ---------------------------------------------------------------------------- build and leave

void TelaProduto::MontaTelaProduto() {
    const std::uint8_t m = Modo();
    frmZornakForm& j = janela_;
    imgAplicacaoLigaGrids->SetPicture(CarregaImagemRecurso("APLICACAOLIGAGRIDS", EstadoPrograma.Idioma));

    auto maiusculas = [](long n) { return vb::UCase(Traduz(n)); };
    Cabecalho(lblNumeroEmpresa, maiusculas(32), DicaOrdem(maiusculas(32)));
    Cabecalho(lblDescricaoProduto, maiusculas(40), DicaOrdem(maiusculas(40)));
    Cabecalho(lblGrupo, maiusculas(43), DicaOrdem(maiusculas(43)));
    Cabecalho(lblLancamento, Traduz(91), DicaOrdem(maiusculas(91)));
    Cabecalho(lblObs, maiusculas(44), Traduz(3) + " <F2>");
    lblNumeroReferencia->SetCaption(maiusculas(42));
    Cabecalho(lblTipoAplicacao, maiusculas(45), DicaOrdem(maiusculas(45)));
    Cabecalho(lblAplicacaoProduto, maiusculas(40), DicaOrdem(maiusculas(40)));
    Cabecalho(lblFabricante, maiusculas(30), DicaOrdem(maiusculas(30)));
    Cabecalho(lblFig, maiusculas(46), Traduz(8) + " <F3>");
    Cabecalho(lblLista, maiusculas(9), Traduz(9) + " <F4>");

    // The builder writes the remembered texts while the switcher is busy: no requery.
    txtNumeroFabricante->SetText(TextoNumeroFabricante[m]);
    txtNumeroEmpresa->SetText(TextoNumeroEmpresa[m]);
    txtDescricaoProduto->SetText(TextoDescricaoProduto[m]);

    telas_.MontaComboGrupos(404, 166, CodigoGrupoPesquisa[m]);

    THGrid& grade1 = *j.grdTHGrid1;
    grade1.mUserControlPixelWidth = 616;
    grade1.mUserControlPixelHeight = 136;
    grade1.Move(20, 197, grade1.mUserControlPixelWidth, grade1.mUserControlPixelHeight);
    PesquisaProdutos(OrdemProdutos[m], false);
    {
        const std::string tipoObs = EstadoPrograma.Idioma == "I" ? "I" : "P";
        const TabelaPictures pictures = MontaTabelaPictures(
            {Variantes("ICOCESTA", "G"),
             VariantesLancamento(),
             Variantes("ICOOBS", tipoObs)});
        const std::string especificacao =
            "|2|" + LarguraColuna(30) + "|F|" + Traduz(2) + " <ENTER>|99" + ";" +
            "NumeroEmpresaFormatado|0|" + LarguraColuna(75) + "|T" + ";" +
            "DescricaoProduto|0|" + LarguraColuna(278) + "|T" + ";" +
            "DescricaoGrupoProduto|0|" + LarguraColuna(125) + "|T" + ";" +
            "ImagensGrid|2|" + LarguraColuna(56) + "|I|" + Traduz(91) + "!|0|" + LarguraColuna(34) + ";" +
            "|2|" + LarguraColuna(40) + "|I|" + Traduz(3) + " <F2>|99";
        LigaGrade(grade1, j.dtcTHGrid1, pictures, especificacao);
    }
    if (CodigoProdutoPesquisa[m] > 0)
        j.dtcTHGrid1.GetRecordset().FindFirst("CodigoProduto = " + std::to_string(CodigoProdutoPesquisa[m]));
    grade1.AtualizaGrid();

    THGrid& grade2 = *j.grdTHGrid2;
    grade2.mUserControlPixelWidth = 553;
    grade2.mUserControlPixelHeight = 136;
    grade2.Move(227, 417, grade2.mUserControlPixelWidth, grade2.mUserControlPixelHeight);
    PesquisaAplicacoesProduto(OrdemAplicacoesProduto[m], false, false);
    LigaGrade(grade2, j.dtcTHGrid2, MontaTabelaPictures(VariantesFiguraLista()),
              "DescricaoTipoAplicacao|0|" + LarguraColuna(100) + "|T" + ";" +
              "DescricaoAplicacao|0|" + LarguraColuna(256) + "|T" + ";" +
              "DescricaoFabricante|0|" + LarguraColuna(105) + "|T" + ";" + ColunaFigura() + ";" + ColunaLista("<F4>"));
    if (CodigoAplicacaoPesquisa[m] > 0)
        j.dtcTHGrid2.GetRecordset().FindFirst("CodigoAplicacao = " + std::to_string(CodigoAplicacaoPesquisa[m]));
    grade2.AtualizaGrid();

    for (vb::TextBox* t : {txtNumeroEmpresa, txtDescricaoProduto, txtNumeroFabricante}) t->SetVisible(true);
    telas_.Painel().AtualizaPainelProduto("", false, false);
    j.Img("imgLegendaLancamento").SetVisible(true);
    Painel().SetVisible(true);
    Painel().Refresh();
    (*j.pctOrelha)(0).Refresh();
    j.cboTHCombo2->SetVisible(true);
    grade1.SetVisible(true);
    grade2.SetVisible(true);
    vb::DoEvents();
    IgnoraFalha([&] { txtNumeroEmpresa->SetFocus(); });
}

void TelaProduto::DesmontaTelaProduto() {
    const std::uint8_t m = Modo();
    frmZornakForm& j = janela_;
    for (vb::TextBox* t : {txtNumeroEmpresa, txtDescricaoProduto, txtNumeroFabricante}) t->SetVisible(false);
    TextoNumeroFabricante[m] = txtNumeroFabricante->Text();
    TextoNumeroEmpresa[m] = txtNumeroEmpresa->Text();
    TextoDescricaoProduto[m] = txtDescricaoProduto->Text();
    CodigoProdutoPesquisa[m] = CodigoAtual(j.dtcTHGrid1, "CodigoProduto");
    CodigoAplicacaoPesquisa[m] = CodigoAtual(j.dtcTHGrid2, "CodigoAplicacao");
    CodigoGrupoPesquisa[m] = j.dtcTHCombo2.GetRecordset().Value("CodigoGrupoProduto").ToInteger();

    j.cboTHCombo2->SetVisible(false);
    j.grdTHGrid1->SetVisible(false);
    j.grdTHGrid2->SetVisible(false);
    Painel().SetVisible(false);
    imgAplicacaoLigaGrids->SetPicture(vb::Picture());
    j.Img("imgLegendaLancamento").SetVisible(false);
    DescarregaLista(*j.cboTHCombo2, j.dtcTHCombo2);
    DescarregaLista(*j.grdTHGrid1, j.dtcTHGrid1);
    DescarregaLista(*j.grdTHGrid2, j.dtcTHGrid2);
}
