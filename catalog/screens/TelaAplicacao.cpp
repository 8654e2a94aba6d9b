#include "catalog/screens/TelaAplicacao.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

namespace {

// The selector loaders of the start-up module work on a window's combos by name.
class Seletores : public IJanelaSeletores {
public:
    explicit Seletores(frmZornakForm& j) : j_(j) {}
    IComboRolagem& Combo(const std::string& nome) override {
        return nome == "cboTHCombo1" ? static_cast<IComboRolagem&>(*j_.cboTHCombo1) : *j_.cboTHCombo2;
    }
    dao::DataControl& DataControl(const std::string& nome) override {
        return nome == "dtcTHCombo1" ? j_.dtcTHCombo1 : j_.dtcTHCombo2;
    }

private:
    frmZornakForm& j_;
};

std::uint8_t ByteAtual(const dao::DataControl& dc, const std::string& campo) {
    return dc.GetRecordset().Value(campo).ToByte();
}

}  // namespace

TelaAplicacao::TelaAplicacao(frmZornakForm& janela) : janela_(janela) { CriaControles(); }

void TelaAplicacao::CriaControles() {
    vb::PictureBox& painel = (*janela_.pctTela)(2);
    txtDescricaoAplicacaoA = janela_.New<vb::TextBox>(painel, "txtDescricaoAplicacaoA");
    txtDescricaoAplicacaoA->Move(169, 40, 316, 20);
    txtDescricaoAplicacaoA->SetFont("Arial", 8);
    txtDescricaoAplicacaoA->SetEnabled(false);
    auto rotulo = [&](const char* nome, int l, int w, int alinhamento) {
        auto* c = janela_.New<vb::Label>(painel, nome);
        c->Move(l, 24, w, 14);
        c->SetBackStyle(0);
        c->SetFont("Arial", 7.5, true);
        c->SetForeColor(0);
        c->SetAlignment(alinhamento);
        return c;
    };
    // Over the grid's columns: 147, 321, 200, 40 and 40 pixels from 20.
    lblTipoAplicacaoA = rotulo("lblTipoAplicacaoA", 22, 145, vb::vbLeftJustify);
    lblAplicacaoProdutoA = rotulo("lblAplicacaoProdutoA", 169, 316, vb::vbLeftJustify);
    lblFabricanteA = rotulo("lblFabricanteA", 489, 196, vb::vbLeftJustify);
    lblFigA = rotulo("lblFigA", 688, 40, vb::vbCenter);
    lblListaA = rotulo("lblListaA", 728, 52, vb::vbCenter);

    txtDescricaoAplicacaoA->Change = [this] { txtDescricaoAplicacaoA_Change(); };
    lblTipoAplicacaoA->Click = [this] { PesquisaAplicacoes("1", true); };
    lblAplicacaoProdutoA->Click = [this] { PesquisaAplicacoes("2", true); };
    lblFabricanteA->Click = [this] { PesquisaAplicacoes("3", true); };
}

void TelaAplicacao::PesquisaAplicacoes(const std::string& ordem, bool bAtualiza) {
    OrdemAplicacoes = ordem;
    ColoreCabecalhos(ordem, {lblTipoAplicacaoA, lblAplicacaoProdutoA, lblFabricanteA});
    const std::string sql = consultas::PesquisaAplicacoes(
        txtDescricaoAplicacaoA->Text(), ByteAtual(janela_.dtcTHCombo2, "CodigoTipoAplicacao"),
        ByteAtual(janela_.dtcTHCombo1, "CodigoFabricante"), ordem, EstadoPrograma.Idioma);
    RecarregaGrade(*janela_.grdTHGrid1, janela_.dtcTHGrid1, sql, bAtualiza);
}

void TelaAplicacao::txtDescricaoAplicacaoA_Change() {
    // The build does not write this box, and it is disabled while another screen shows; a
    // change before the lists are bound has nothing to requery.
    if (janela_.dtcTHCombo1.GetRecordset().IsNothing() || janela_.dtcTHCombo2.GetRecordset().IsNothing()) return;
    PesquisaAplicacoes("2", true);
}

void TelaAplicacao::Combo_SelecaoAlterada() { PesquisaAplicacoes(OrdemAplicacoes, true); }

void TelaAplicacao::MontaTelaAplicacao() {
    frmZornakForm& j = janela_;
    auto maiusculas = [](long n) { return vb::UCase(Traduz(n)); };
    const std::string dica = Traduz(39) + " ";
    lblTipoAplicacaoA->SetCaption(maiusculas(45));
    lblTipoAplicacaoA->SetToolTipText(dica + maiusculas(45));
    lblAplicacaoProdutoA->SetCaption(maiusculas(40));
    lblAplicacaoProdutoA->SetToolTipText(dica + maiusculas(40));
    lblFabricanteA->SetCaption(maiusculas(30));
    lblFabricanteA->SetToolTipText(dica + maiusculas(30));
    lblFigA->SetCaption(maiusculas(46));
    lblFigA->SetToolTipText(Traduz(8) + " <F3>");
    lblListaA->SetCaption(maiusculas(9));
    lblListaA->SetToolTipText(Traduz(9) + " <F4>,<ENTER>");

    Seletores seletores(j);
    THCombo& tipos = *j.cboTHCombo2;
    tipos.mUserControlPixelWidth = 135;
    tipos.Move(21, 166, 135);
    CarregaComboTiposAplicacao(seletores);
    LigaCombo(tipos, j.dtcTHCombo2, {"DescricaoTipoAplicacao|0|" + LarguraColuna(200) + "|T"},
              "CodigoTipoAplicacao = " + std::to_string(CodigoTipoAplicacaoA));

    THCombo& fabricantes = *j.cboTHCombo1;
    fabricantes.mUserControlPixelWidth = 188;
    fabricantes.Move(489, 166, 188);
    CarregaComboFabricantes(seletores, "<" + maiusculas(7) + ">", 0);
    LigaCombo(fabricantes, j.dtcTHCombo1, {"DescricaoFabricante|0|" + LarguraColuna(200) + "|T"},
              "CodigoFabricante = " + std::to_string(CodigoFabricanteA));

    THGrid& grade = *j.grdTHGrid1;
    grade.mUserControlPixelWidth = 760;
    grade.mUserControlPixelHeight = 357;
    grade.Move(20, 197, 760, 357);
    PesquisaAplicacoes(OrdemAplicacoes, false);
    const std::string especificacao =
        "DescricaoTipoAplicacao|0|" + LarguraColuna(147) + "|T" + ";" +
        "DescricaoAplicacao|0|" + LarguraColuna(321) + "|T" + ";" +
        "DescricaoFabricante|0|" + LarguraColuna(200) + "|T" + ";" + ColunaFigura() + ";" + ColunaLista("<F4>,<ENTER>");
    LigaGrade(grade, j.dtcTHGrid1, MontaTabelaPictures(VariantesFiguraLista()), especificacao);
    if (CodigoAplicacaoA > 0)
        j.dtcTHGrid1.GetRecordset().FindFirst("CodigoAplicacao = " + std::to_string(CodigoAplicacaoA));
    grade.AtualizaGrid();

    txtDescricaoAplicacaoA->SetEnabled(true);
    j.Img("imgLegendaLancamento").SetVisible(false);
    (*j.pctTela)(2).SetVisible(true);
    (*j.pctTela)(2).Refresh();
    (*j.pctOrelha)(0).Refresh();
    fabricantes.SetVisible(true);
    tipos.SetVisible(true);
    grade.SetVisible(true);
    vb::DoEvents();
    IgnoraFalha([&] { txtDescricaoAplicacaoA->SetFocus(); });
}

void TelaAplicacao::DesmontaTelaAplicacao() {
    frmZornakForm& j = janela_;
    txtDescricaoAplicacaoA->SetEnabled(false);
    CodigoAplicacaoA = CodigoAtual(j.dtcTHGrid1, "CodigoAplicacao");
    CodigoTipoAplicacaoA = ByteAtual(j.dtcTHCombo2, "CodigoTipoAplicacao");
    CodigoFabricanteA = ByteAtual(j.dtcTHCombo1, "CodigoFabricante");
    j.cboTHCombo1->SetVisible(false);
    j.cboTHCombo2->SetVisible(false);
    j.grdTHGrid1->SetVisible(false);
    (*j.pctTela)(2).SetVisible(false);
    DescarregaLista(*j.cboTHCombo1, j.dtcTHCombo1);
    DescarregaLista(*j.cboTHCombo2, j.dtcTHCombo2);
    DescarregaLista(*j.grdTHGrid1, j.dtcTHGrid1);
}
