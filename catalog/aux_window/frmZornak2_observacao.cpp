// Screens 0 and 1 of the auxiliary window: the observation of a product or an application,
// and the applications of one product with three sort orders.
#include "catalog/aux_window/frmZornak2.h"

#include "catalog/aux_window/ConsultasAuxiliar.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/vb/Strings.h"

void frmZornak2Form::ExibeTelaObservacao(const std::string& tipo, long codigo, const std::string& /*legenda*/) {
    imgTitulo->SetPicture(CarregaImagemRecurso("TITOBSERVACAO"));
    lblSubTitulo->SetCaption(tipo == "A" ? MontaDescricaoAplicacao(codigo, true, true) : MontaDescricaoProduto(codigo, true));
    const vb::Variant valor =
        ObtemValorSQL(consultas::ObservacaoAuxiliar(tipo, codigo, EstadoPrograma.Idioma), vb::Variant(std::string()));
    txtObservacao->SetText(ObtemValorCampo(valor, "").ToString());
    (*pctTela)(0).SetVisible(true);
    (*pctTela)(0).Refresh();
    vb::DoEvents();
    IgnoraFalha([&] { txtObservacao->SetFocus(); });
}

void frmZornak2Form::SaiTelaObservacao() {
    (*pctTela)(0).SetVisible(false);
    imgTitulo->SetPicture(vb::Picture());
    lblSubTitulo->SetCaption("");
}

void frmZornak2Form::ExibeTelaAplicacoesProduto(long produto, long aplicacao) {
    imgTitulo->SetPicture(CarregaImagemRecurso("TITAPLICACAO"));
    lblSubTitulo->SetCaption(MontaDescricaoProduto(produto, true));
    const struct {
        vb::Label* rotulo;
        long mensagem;
    } cabecalhos[] = {{lblTipoAplicacaoA, 45}, {lblAplicacaoProdutoA, 40}, {lblFabricanteA, 30}};
    for (const auto& c : cabecalhos) {
        const std::string texto = vb::UCase(Traduz(c.mensagem));
        c.rotulo->SetCaption(texto);
        c.rotulo->SetToolTipText(Traduz(39) + " " + texto);
    }
    dtcTHGrid1.SetDatabaseName(EstadoPrograma.CaminhoDados + ArquivoBancoCatalogo);
    grdTHGrid1->mUserControlPixelWidth = 553;
    grdTHGrid1->mUserControlPixelHeight = 221;
    grdTHGrid1->Move(31, 121, 553, 221);

    AtualizaGridAplicacoesProduto(produto, OrdemAplicacoesProduto, false);

    dao::Recordset rs = dtcTHGrid1.GetRecordset();
    if (CodigoAplicacaoAnterior >= 1)
        rs.FindFirst("CodigoAplicacao = " + std::to_string(CodigoAplicacaoAnterior));
    else if (aplicacao > 0)
        rs.FindFirst("CodigoAplicacao = " + std::to_string(aplicacao));
    // An unsuccessful search leaves no current row; the list then starts on its first row.
    if (rs.RecordCount() > 0 && (rs.Eof() || rs.Bof())) rs.MoveFirst();

    grdTHGrid1->ObtemDataControl(dtcTHGrid1);
    grdTHGrid1->ConfiguraColunas({"DescricaoTipoAplicacao|0|" + LarguraColuna(120) + "|T",
                                  "DescricaoAplicacao|0|" + LarguraColuna(301) + "|T",
                                  "DescricaoFabricante|0|" + LarguraColuna(120) + "|T"});
    grdTHGrid1->AtualizaGrid();
    (*pctTela)(1).SetVisible(true);
    (*pctTela)(1).Refresh();
    grdTHGrid1->SetVisible(true);
    IgnoraFalha([&] { grdTHGrid1->SetFocus(); });
}

void frmZornak2Form::AtualizaGridAplicacoesProduto(long produto, const std::string& ordem, bool bAtualiza) {
    OrdemAplicacoesProduto = vb::Left(ordem, 1);
    ColoreCabecalhos(ordem, {lblTipoAplicacaoA, lblAplicacaoProdutoA, lblFabricanteA});
    if (produto > 0) {
        BaseAplicacoesProduto = consultas::GradeAplicacoesProduto(produto, EstadoPrograma.Idioma);
        grdTHGrid1->AnalisarScollProximoRefresh();
    }
    dtcTHGrid1.SetRecordSource(BaseAplicacoesProduto + consultas::OrdemGradeAplicacoesProduto(ordem));
    dtcTHGrid1.Refresh();
    if (bAtualiza) grdTHGrid1->AtualizaGrid();
}

void frmZornak2Form::SaiTelaAplicacoesProduto() {
    CodigoAplicacaoAnterior = CodigoAtual(dtcTHGrid1, "CodigoAplicacao");
    grdTHGrid1->SetVisible(false);
    (*pctTela)(1).SetVisible(false);
    imgTitulo->SetPicture(vb::Picture());
    lblSubTitulo->SetCaption("");
    DescarregaLista(*grdTHGrid1, dtcTHGrid1);
}
