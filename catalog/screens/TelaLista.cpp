#include "catalog/screens/TelaLista.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaFigura.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/vb/Strings.h"

#include <cmath>

namespace {

vb::Label* Rotulo(frmZornakForm& janela, vb::Container& painel, const char* nome, int left, int top, int width) {
    vb::Label* l = dynamic_cast<vb::Label*>(janela.Controle(nome));
    if (!l) l = janela.New<vb::Label>(painel, nome);
    l->Move(left, top, width, 14);
    l->SetBackStyle(0);
    l->SetFont("Arial", 7.5, true);
    l->SetForeColor(vb::vbBlack);
    l->SetVisible(false);
    return l;
}

vb::TextBox* Caixa(frmZornakForm& janela, vb::Container& painel, const char* nome, int left, int top, int width) {
    auto* t = janela.New<vb::TextBox>(painel, nome);
    t->Move(left, top, width, 18);
    t->SetFont("Arial", 8);
    t->SetEnabled(false);
    t->SetVisible(false);
    return t;
}

}  // namespace

TelaLista::TelaLista(frmZornakForm& janela, TelasCatalogo& telas) : janela_(janela), telas_(telas) {
    CriaControles();
}

void TelaLista::CriaControles() {
    vb::PictureBox& painel = (*janela_.pctTela)(3);
    // The panel lies at 128 of the design area: the grid (244) starts at 116 here and the
    // filter boxes, with the group combo (213), at 85; the header row stands 16 pixels
    // above the boxes, as on the product search screen.
    lblNumeroEmpresaLV = Rotulo(janela_, painel, "lblNumeroEmpresaLV", 52, 69, 73);
    lblDescricaoProdutoLV = Rotulo(janela_, painel, "lblDescricaoProdutoLV", 127, 69, 190);
    lblGrupoLV = Rotulo(janela_, painel, "lblGrupoLV", 329, 69, 118);
    lblLancamentoLV = Rotulo(janela_, painel, "lblLancamentoLV", 450, 69, 56);
    lblNumeroReferenciaLV = Rotulo(janela_, painel, "lblNumeroReferenciaLV", 657, 69, 123);
    lblNumeroEmpresaLC = Rotulo(janela_, painel, "lblNumeroEmpresaLC", 52, 69, 73);
    lblDescricaoProdutoLC = Rotulo(janela_, painel, "lblDescricaoProdutoLC", 127, 69, 260);
    lblLancamentoLC = janela_.lblLancamentoLC;
    lblLancamentoLC->Move(396, 69, 56, 14);
    lblLancamentoLC->SetBackStyle(0);
    lblLancamentoLC->SetFont("Arial", 7.5, true);
    lblItemFigLC = Rotulo(janela_, painel, "lblItemFigLC", 452, 69, 52);
    lblNumeroReferenciaLC = Rotulo(janela_, painel, "lblNumeroReferenciaLC", 657, 69, 123);
    lblFigL = Rotulo(janela_, painel, "lblFigL", 506, 69, 38);
    lblAplicL = Rotulo(janela_, painel, "lblAplicL", 546, 69, 38);
    lblObsL = Rotulo(janela_, painel, "lblObsL", 586, 69, 38);
    for (vb::Label* l : {lblFigL, lblAplicL, lblObsL, lblLancamentoLV, lblLancamentoLC, lblItemFigLC}) l->SetAlignment(vb::vbCenter);
    // "Lançamento" fits its 56-pixel column only in the smaller type.
    for (vb::Label* l : {lblLancamentoLV, lblLancamentoLC}) l->SetFont("Arial", 6.75, true);

    txtNumeroEmpresaLV = Caixa(janela_, painel, "txtNumeroEmpresaLV", 50, 85, 73);
    txtDescricaoProdutoLV = Caixa(janela_, painel, "txtDescricaoProdutoLV", 125, 85, 193);
    txtNumeroFabricanteLV = Caixa(janela_, painel, "txtNumeroFabricanteLV", 657, 85, 123);
    txtNumeroEmpresaLC = Caixa(janela_, painel, "txtNumeroEmpresaLC", 50, 85, 73);
    txtDescricaoProdutoLC = Caixa(janela_, painel, "txtDescricaoProdutoLC", 125, 85, 260);
    txtNumeroFabricanteLC = Caixa(janela_, painel, "txtNumeroFabricanteLC", 657, 85, 123);
    txtItemFigLC = Caixa(janela_, painel, "txtItemFigLC", 450, 85, 52);

    // The frames around the grid and the reference panel, as on the product search screen.
    janela_.Moldura("shpGrid", 3);
    janela_.Moldura("shpLigaRef", 1);

    imgCarrinhoTodos = janela_.New<vb::Image>(painel, "imgCarrinhoTodos");
    // Under the list, at its right end.
    imgCarrinhoTodos->Move(476, 274, 160, 30);
    imgCarrinhoTodosSel = janela_.New<vb::Image>(painel, "imgCarrinhoTodosSel");
    imgCarrinhoTodosSel->Move(476, 274, 160, 30);
    imgCarrinhoTodosSel->SetVisible(false);
}

bool TelaLista::AplicacaoEhTipo1(long codigo) const {
    const vb::Variant v = ObtemValorSQL(consultas::AplicacaoEhTipo1(codigo), vb::Variant(-1L));
    return !v.IsNull() && v.ToLong() == 1;
}

void TelaLista::ReiniciaContextoLista() {
    janela_.CodigoAplicacaoFigura = 0;
    CodigoProdutoLista = 0;
    janela_.CodigoGrupoLista = 0;
    OrdemLista = "1";
    janela_.CodigoAplicacaoLista = 0;
    janela_.CodigoAplicacaoCombo = 0;
}

void TelaLista::LimpaFiltrosLista(bool bProduto, bool bGrupo) {
    if (bProduto) CodigoProdutoLista = 0;
    if (bGrupo) janela_.CodigoGrupoLista = 0;
    for (vb::TextBox* t : {txtNumeroEmpresaLV, txtDescricaoProdutoLV, txtNumeroFabricanteLV, txtNumeroEmpresaLC,
                           txtDescricaoProdutoLC, txtNumeroFabricanteLC, txtItemFigLC})
        t->SetText("");
    if (OrdemLista == "4") OrdemLista = "1";
}

void TelaLista::ConfiguraComboAplicacao() {
    const long codigo = CodigoAtual(janela_.dtcTHCombo1, "CodigoAplicacao");
    const std::string legenda =
        codigo == 0 ? "<" + vb::UCase(Traduz(29)) + ">" : MontaDescricaoAplicacao(codigo, true, false);
    vb::PictureBox& medida = *janela_.pctTmp;
    medida.SetFont(janela_.cboTHCombo1->FontName(), janela_.cboTHCombo1->FontSize(), janela_.cboTHCombo1->FontBold());
    const int largura = static_cast<int>(std::nearbyint(medida.TextWidth(legenda) + 25.0));
    THCombo& combo = *janela_.cboTHCombo1;
    combo.mUserControlPixelWidth = largura;
    combo.Move(combo.Left(), combo.Top(), largura);
    janela_.cboTHCombo1->VisiblePctTexto(true, legenda);
}

void TelaLista::MontaTelaLista() {
    janela_.MostraTitulo("lblTituloL", "imgTituloL", MontaDescricaoAplicacao(janela_.CodigoAplicacaoLista, true, true));
    const long a = janela_.ObtemCodigoAplicacao();
    const bool lv = AplicacaoEhTipo1(a);
    janela_.grdTHGrid1->SetTag(lv ? "1" : "2");
    const std::string letra = EstadoPrograma.Idioma == "I" ? "I" : "P";
    imgCarrinhoTodos->SetPicture(CarregaImagemRecurso("CARRINHOTODOS", letra));
    imgCarrinhoTodosSel->SetPicture(CarregaImagemRecurso("CARRINHOTODOS_S", letra));
    const vb::Variant teste = ObtemValorSQL(consultas::AplicacaoTemLancamentos(a), vb::Variant(-1L));
    comLancamentos_ = !teste.IsNull() && teste.ToLong() == 1;

    const std::string dica = Traduz(39) + " ";
    imgCarrinhoTodos->SetToolTipText(Traduz(28));
    lblFigL->SetCaption(vb::UCase(Traduz(46)));
    lblFigL->SetToolTipText(Traduz(8) + " <F3>");
    lblAplicL->SetCaption(vb::UCase(Traduz(52)));
    lblAplicL->SetToolTipText(Traduz(27) + " <F6>");
    lblObsL->SetCaption(vb::UCase(Traduz(44)));
    lblObsL->SetToolTipText(Traduz(3) + " <F2>");
    janela_.lblImprimir->SetToolTipText(Traduz(57) + " " + Traduz(9) + " <CRTL+P>");
    auto cabecalho = [&](vb::Label* l, const std::string& texto, bool ordena) {
        l->SetCaption(texto);
        if (ordena) l->SetToolTipText(dica + texto);
    };
    if (lv) {
        cabecalho(lblNumeroEmpresaLV, vb::UCase(Traduz(32)), true);
        cabecalho(lblDescricaoProdutoLV, vb::UCase(Traduz(40)), true);
        cabecalho(lblNumeroReferenciaLV, vb::UCase(Traduz(42)), false);
        cabecalho(lblGrupoLV, vb::UCase(Traduz(43)), true);
        cabecalho(lblLancamentoLV, Traduz(91), true);
    } else {
        cabecalho(lblNumeroEmpresaLC, vb::UCase(Traduz(32)), true);
        cabecalho(lblDescricaoProdutoLC, vb::UCase(Traduz(40)), true);
        cabecalho(lblNumeroReferenciaLC, vb::UCase(Traduz(42)), false);
        cabecalho(lblItemFigLC, vb::UCase(Traduz(51)), true);
        cabecalho(lblLancamentoLC, Traduz(91), true);
    }
    const int d = comLancamentos_ ? 0 : 56;
    txtDescricaoProdutoLV->SetWidth(193 + d);
    txtDescricaoProdutoLC->SetWidth(260 + d);
    lblDescricaoProdutoLV->SetWidth(190 + d);
    lblDescricaoProdutoLC->SetWidth(257 + d);
    // The group column moves with the description; the figure item column does not: without
    // the release column the description takes the release column's place.
    lblGrupoLV->SetLeft(comLancamentos_ ? 329 : 385);
    lblItemFigLC->SetLeft(452);
    txtItemFigLC->SetLeft(450);

    janela_.FabricantesLista = ObtemFabricantesAplicacao(janela_.CodigoAplicacaoLista);

    for (vb::Control* c : {static_cast<vb::Control*>(lblNumeroEmpresaLV), static_cast<vb::Control*>(lblDescricaoProdutoLV),
                           static_cast<vb::Control*>(lblNumeroReferenciaLV), static_cast<vb::Control*>(lblGrupoLV),
                           static_cast<vb::Control*>(txtNumeroEmpresaLV), static_cast<vb::Control*>(txtDescricaoProdutoLV),
                           static_cast<vb::Control*>(txtNumeroFabricanteLV)})
        c->SetVisible(lv);
    for (vb::Control* c : {static_cast<vb::Control*>(lblNumeroEmpresaLC), static_cast<vb::Control*>(lblDescricaoProdutoLC),
                           static_cast<vb::Control*>(lblNumeroReferenciaLC), static_cast<vb::Control*>(lblItemFigLC),
                           static_cast<vb::Control*>(txtNumeroEmpresaLC), static_cast<vb::Control*>(txtDescricaoProdutoLC),
                           static_cast<vb::Control*>(txtNumeroFabricanteLC), static_cast<vb::Control*>(txtItemFigLC)})
        c->SetVisible(!lv);
    for (vb::Control* c : {static_cast<vb::Control*>(lblFigL), static_cast<vb::Control*>(lblAplicL),
                           static_cast<vb::Control*>(lblObsL), static_cast<vb::Control*>(imgCarrinhoTodos)})
        c->SetVisible(true);
    lblLancamentoLV->SetVisible(lv && comLancamentos_);
    lblLancamentoLC->SetVisible(!lv && comLancamentos_);
    lblLancamentoLV->SetTag(comLancamentos_ ? "1" : "0");
    lblLancamentoLC->SetTag(comLancamentos_ ? "1" : "0");

    comboGrupoEmUso_ = comboAplicacaoEmUso_ = false;
    if (lv) {
        telas_.MontaComboGrupos(comLancamentos_ ? 326 : 382, 213, janela_.CodigoGrupoLista);
        lblGrupoLV->SetLeft(janela_.cboTHCombo2->Left() + 3);
        comboGrupoEmUso_ = true;
    }
    if (AplicacaoEhTipo1(janela_.CodigoAplicacaoLista)) {
        THCombo& combo = *janela_.cboTHCombo1;
        combo.mUserControlPixelWidth = 362;
        combo.Move(25, 156, 362);
        RecarregaLista(combo, janela_.dtcTHCombo1,
                       consultas::CarregaComboAplicacoesVeiculo(janela_.CodigoAplicacaoLista, EstadoPrograma.Idioma));
        LigaCombo(combo, janela_.dtcTHCombo1,
                  {"DescricaoTipoAplicacao|0|" + LarguraColuna(100) + "|T",
                   "DescricaoAplicacao|0|" + LarguraColuna(200) + "|T"},
                  "CodigoAplicacao = " + std::to_string(janela_.CodigoAplicacaoCombo), ConvertePixelsParaTwips(362, "W"));
        ConfiguraComboAplicacao();
        comboAplicacaoEmUso_ = true;
    }

    THGrid& grade = *janela_.grdTHGrid1;
    grade.mUserControlPixelWidth = 616;
    grade.mUserControlPixelHeight = 153;
    grade.Move(20, 244, 616, 153);

    const std::string tipoObs = letra;
    std::vector<ColunaPictures> colunas = {Variantes("ICOCESTA", "G")};
    if (comLancamentos_) colunas.push_back(VariantesLancamento());
    for (ColunaPictures c : {Variantes("ICOFIGURA", "G"), Variantes("ICOAPLICACAO", "G"), Variantes("ICOOBS", tipoObs)})
        colunas.push_back(c);
    const TabelaPictures tabela = MontaTabelaPictures(colunas);

    if (lv) PesquisaProdutosAplicacao(OrdemLista, false);
    else PesquisaProdutosConjunto(OrdemLista, false);

    std::string spec = "|2|" + LarguraColuna(30) + "|F|" + Traduz(2) + " <ENTER>|99" + ";" + "NumeroEmpresaFormatado|0|" +
                       LarguraColuna(75) + "|T" + ";";
    if (lv) {
        spec += "DescricaoProduto|0|" + LarguraColuna(202 + d) + "|T" + ";";
        spec += "DescricaoGrupoProduto|0|" + LarguraColuna(121) + "|T" + ";";
    } else {
        spec += "DescricaoProduto|0|" + LarguraColuna(269 + d) + "|T" + ";";
    }
    if (comLancamentos_)
        spec += "ImagensGrid|2|" + LarguraColuna(56) + "|I|" + Traduz(91) + "!|0|" + LarguraColuna(34) + ";";
    if (!lv) spec += "ItemFigura|1|" + LarguraColuna(54) + "|T" + ";";
    spec += ColunaFigura() + ";";
    spec += "|2|" + LarguraColuna(40) + "|F|" + Traduz(27) + " <F6>|99" + ";";
    spec += "ImagensGrid|2|" + LarguraColuna(40) + "|I|" + Traduz(3) + " <F2>|99";

    LigaGrade(grade, janela_.dtcTHGrid1, tabela, spec);
    if (CodigoProdutoLista > 0) {
        dao::Recordset rs = janela_.dtcTHGrid1.GetRecordset();
        if (!rs.IsNothing()) rs.FindFirst("CodigoProduto = " + std::to_string(CodigoProdutoLista));
    }
    grade.AtualizaGrid();

    for (vb::TextBox* t : {txtNumeroEmpresaLV, txtDescricaoProdutoLV, txtNumeroFabricanteLV, txtNumeroEmpresaLC,
                           txtDescricaoProdutoLC, txtNumeroFabricanteLC, txtItemFigLC})
        t->SetEnabled(true);
    telas_.Painel().AtualizaPainelProdutoLista(false);

    janela_.Img("imgLegendaLancamento").SetVisible(comLancamentos_);
    (*janela_.pctTela)(3).SetVisible(true);
    (*janela_.pctTela)(3).Refresh();
    (*janela_.pctOrelha)(1).Refresh();
    if (comboGrupoEmUso_) janela_.cboTHCombo2->SetVisible(true);
    grade.SetVisible(true);
    janela_.MostraRodapeLista(true);
    vb::DoEvents();
    if (comboAplicacaoEmUso_) janela_.cboTHCombo1->SetVisible(true);
    IgnoraFalha([&] { (lv ? txtNumeroEmpresaLV : txtNumeroEmpresaLC)->SetFocus(); });
}

void TelaLista::DesmontaTelaLista() {
    const bool grupoVisivel = janela_.cboTHCombo2->Visible();
    const bool aplicacaoVisivel = janela_.cboTHCombo1->Visible();
    for (vb::TextBox* t : {txtNumeroEmpresaLV, txtDescricaoProdutoLV, txtNumeroFabricanteLV, txtNumeroEmpresaLC,
                           txtDescricaoProdutoLC, txtNumeroFabricanteLC, txtItemFigLC})
        t->SetEnabled(false);
    CodigoProdutoLista = CodigoAtual(janela_.dtcTHGrid1, "CodigoProduto");
    if (grupoVisivel) janela_.CodigoGrupoLista = static_cast<int>(CodigoAtual(janela_.dtcTHCombo2, "CodigoGrupoProduto"));
    if (aplicacaoVisivel) janela_.CodigoAplicacaoCombo = CodigoAtual(janela_.dtcTHCombo1, "CodigoAplicacao");
    janela_.cboTHCombo1->SetVisible(false);
    janela_.cboTHCombo2->SetVisible(false);
    janela_.grdTHGrid1->SetVisible(false);
    (*janela_.pctTela)(3).SetVisible(false);
    for (std::size_t i : {2u, 3u}) telas_.Painel().imgFotoProduto[i]->SetPicture(vb::Picture());
    imgCarrinhoTodos->SetPicture(vb::Picture());
    imgCarrinhoTodosSel->SetPicture(vb::Picture());
    janela_.MostraRodapeLista(false);
    janela_.Img("imgLegendaLancamento").SetVisible(false);
    DescarregaLista(*janela_.grdTHGrid1, janela_.dtcTHGrid1);
    if (grupoVisivel) DescarregaLista(*janela_.cboTHCombo2, janela_.dtcTHCombo2);
    if (aplicacaoVisivel) DescarregaLista(*janela_.cboTHCombo1, janela_.dtcTHCombo1);
}

// ---------------------------------------------------------------------------- the lists

void TelaLista::PesquisaProdutosAplicacao(const std::string& ordem, bool bAtualiza) {
    OrdemLista = ordem;
    ColoreCabecalhos(ordem, {lblNumeroEmpresaLV, lblDescricaoProdutoLV, lblGrupoLV, lblLancamentoLV});
    const consultas::FiltrosProdutos f =
        telas_.FiltrosProdutos(*txtNumeroFabricanteLV, *txtNumeroEmpresaLV, *txtDescricaoProdutoLV, true);
    RecarregaGrade(*janela_.grdTHGrid1, janela_.dtcTHGrid1,
                   consultas::PesquisaProdutosAplicacao(janela_.ObtemCodigoAplicacao(), f, janela_.FabricantesLista,
                                                        MarcaLancamento(), ordem, EstadoPrograma.Idioma),
                   bAtualiza);
}

void TelaLista::PesquisaProdutosConjunto(const std::string& ordem, bool bAtualiza) {
    OrdemLista = ordem;
    ColoreCabecalhos(ordem, {lblNumeroEmpresaLC, lblDescricaoProdutoLC, lblItemFigLC, lblLancamentoLC});
    consultas::FiltrosProdutos f =
        telas_.FiltrosProdutos(*txtNumeroFabricanteLC, *txtNumeroEmpresaLC, *txtDescricaoProdutoLC, false);
    f.itemFigura = txtItemFigLC->Text();
    RecarregaGrade(*janela_.grdTHGrid1, janela_.dtcTHGrid1,
                   consultas::PesquisaProdutosConjunto(janela_.ObtemCodigoAplicacao(), f, janela_.FabricantesLista,
                                                       MarcaLancamento(), ordem, EstadoPrograma.Idioma),
                   bAtualiza);
}

// The release mark of the list being shown: both kinds read it from the LC label.
bool TelaLista::MarcaLancamento() const { return janela_.lblLancamentoLC && janela_.lblLancamentoLC->Tag() == "1"; }

