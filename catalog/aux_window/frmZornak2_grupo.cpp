// Screen 3 of the auxiliary window: the applications that take products of one product group
// from one manufacturer, narrowed by type and text, sorted, with the vehicles of the current
// row; the chosen application goes back to the main window.
#include "catalog/aux_window/frmZornak2.h"

#include "catalog/aux_window/ConsultasAuxiliar.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/vb/Strings.h"

namespace {
TabelaPictures PicturesGrupo(bool comLancamento) {
    std::vector<ColunaPictures> colunas = VariantesFiguraLista();
    if (comLancamento) colunas.insert(colunas.begin(), VariantesLancamento());
    return MontaTabelaPictures(colunas);
}
}  // namespace

void frmZornak2Form::ExibeTelaPrincipal(std::uint8_t fabricante, int grupo, long aplicacao, std::uint8_t tipo,
                                        const std::string& filtro, std::uint8_t linha, const std::string& ordem,
                                        std::uint8_t redesenha, std::uint8_t lancamento) {
    if (redesenha == 1 && Ligacoes().RedesenhaPrincipal) Ligacoes().RedesenhaPrincipal();
    std::string textoGrupo;
    if (grupo == -1) {
        // The vehicles pseudo-group: no group clause, and the vehicles type unless one was chosen.
        textoGrupo = Traduz(89);
        if (tipo == 0) tipo = 1;
        grupo = 0;
    } else {
        textoGrupo = ObtemValorCampo(ObtemValorSQL(consultas::DescricaoGrupoProduto(grupo, EstadoPrograma.Idioma),
                                                   vb::Variant(std::string())), "").ToString();
    }
    const std::string textoFabricante = ObtemValorCampo(ObtemValorSQL(consultas::DescricaoFabricante(fabricante, EstadoPrograma.Idioma),
                                                                      vb::Variant(std::string())), "").ToString();

    imgTitulo->SetPicture(CarregaImagemRecurso("TITPRINCIPAL", EstadoPrograma.Idioma));
    lblSubTitulo->SetCaption(vb::UCase(textoFabricante + "  -  " + textoGrupo));
    const std::string prefixo = Traduz(39) + " ";
    lblTipoAplicacaoM->SetCaption(vb::UCase(Traduz(45)));
    lblTipoAplicacaoM->SetToolTipText(prefixo + vb::UCase(Traduz(45)));
    lblDescricaoM->SetCaption(vb::UCase(Traduz(40)));
    lblDescricaoM->SetToolTipText(prefixo + vb::UCase(Traduz(40)));
    lblLancamentoM->SetCaption(Traduz(91));
    lblLancamentoM->SetToolTipText(prefixo + vb::UCase(Traduz(91)));
    lblFigM->SetCaption(vb::UCase(Traduz(46)));
    lblFigM->SetToolTipText(Traduz(8) + " <F3>");
    lblListaM->SetCaption(vb::UCase(Traduz(9)));
    lblListaM->SetToolTipText(Traduz(9) + " <F4>,<ENTER>");
    (*lblVeiculosM)(0).SetCaption(Traduz(89) + ":");
    (*lblVeiculosM)(0).SetTag(std::to_string(fabricante));
    txtDescricaoAplicacaoM->SetText(filtro);
    const bool comLancamento = lancamento == 1;
    lblLancamentoM->SetVisible(comLancamento);
    lblLancamentoM->SetTag(std::to_string(lancamento));
    txtDescricaoAplicacaoM->SetWidth(comLancamento ? 245 : 301);
    // The description column gives the release column its room; the picture columns stay put.
    lblDescricaoM->SetWidth(comLancamento ? 240 : 300);

    // With its pixel width set the combo takes the room of its box and its open list; without,
    // it would be only as high as its arrow, cutting the box and hiding the list.
    cboTHCombo2->mUserControlPixelWidth = 138;
    cboTHCombo2->Move(32, 126, 138);
    CarregaComboTiposAplicacao(*this);
    cboTHCombo2->ObtemDataControl(dtcTHCombo2);
    cboTHCombo2->ConfiguraColunas({"DescricaoTipoAplicacao|0|" + LarguraColuna(200) + "|T"}, std::nullopt,
                                  ConvertePixelsParaTwips(138, "W"));
    dao::Recordset tipos = dtcTHCombo2.GetRecordset();
    tipos.FindFirst("CodigoTipoAplicacao = " + std::to_string(tipo));
    if (tipos.RecordCount() > 0 && (tipos.Eof() || tipos.Bof())) tipos.MoveFirst();
    cboTHCombo2->AtualizaCombo();

    dtcTHGrid1.SetDatabaseName(EstadoPrograma.CaminhoDados + ArquivoBancoCatalogo);
    grdTHGrid1->mUserControlPixelWidth = 553;
    grdTHGrid1->mUserControlPixelHeight = 119;
    grdTHGrid1->Move(31, 157, 553, 119);

    if (CodigoAplicacaoAnterior > 0) {
        aplicacao = CodigoAplicacaoAnterior;
        linha = SemLinhaGrid;
    }
    AtualizaGridAplicacoesGrupo(fabricante, grupo, aplicacao, ordem, false);

    grdTHGrid1->ObtemDataControl(dtcTHGrid1);
    grdTHGrid1->ObtemPictures(PicturesGrupo(comLancamento));
    std::vector<std::string> colunas = {"DescricaoTipoAplicacao|0|" + LarguraColuna(150) + "|T",
                                        "DescricaoAplicacao|0|" + LarguraColuna(comLancamento ? 255 : 311) + "|T"};
    if (comLancamento) colunas.push_back("ImagensGrid|2|" + LarguraColuna(56) + "|I|" + Traduz(91) + "!|0|" + LarguraColuna(34));
    colunas.push_back(ColunaFigura());
    colunas.push_back(ColunaLista("<F4>,<ENTER>"));
    grdTHGrid1->ConfiguraColunas(colunas);
    grdTHGrid1->AtualizaGrid();

    txtDescricaoAplicacaoM->SetVisible(true);
    (*pctTela)(3).SetVisible(true);
    (*pctTela)(3).Refresh();
    cboTHCombo2->SetVisible(true);
    grdTHGrid1->SetVisible(true);
    if (SelecionaLinhaGrid(*grdTHGrid1, linha)) grdTHGrid1->AtualizaGrid();
    ExibeVeiculosAplicacao();
    vb::DoEvents();
    // The window may have been closed meanwhile, its controls with it.
    if (IsLoaded()) IgnoraFalha([&] { txtDescricaoAplicacaoM->SetFocus(); });
}

void frmZornak2Form::AtualizaGridAplicacoesGrupo(std::uint8_t fabricante, int grupo, long aplicacao,
                                                 const std::string& ordem, bool redesenha) {
    OrdemAplicacoesGrupo = ordem;
    ColoreCabecalhos(ordem, {lblTipoAplicacaoM, lblDescricaoM, lblLancamentoM});
    if (fabricante > 0) {
        BaseAplicacoesGrupo =
            consultas::BaseAplicacoesGrupo(fabricante, grupo, lblLancamentoM->Tag() == "1", EstadoPrograma.Idioma);
    }
    // The filter is built anew on every query.
    long tipo = 0;
    const dao::Recordset tipos = dtcTHCombo2.GetRecordset();
    if (!tipos.IsNothing() && tipos.IsOpen() && !tipos.Eof() && !tipos.Bof()) tipo = tipos.Value("CodigoTipoAplicacao").ToLong();
    dtcTHGrid1.SetRecordSource(
        consultas::GradeAplicacoesGrupo(BaseAplicacoesGrupo, txtDescricaoAplicacaoM->Text(), tipo, ordem, EstadoPrograma.Idioma));
    grdTHGrid1->AnalisarScollProximoRefresh();
    dtcTHGrid1.Refresh();
    if (aplicacao > 0) dtcTHGrid1.GetRecordset().FindFirst("CodigoAplicacao=" + std::to_string(aplicacao));
    if (redesenha) grdTHGrid1->AtualizaGrid();
}

void frmZornak2Form::GrupoImageClick(std::uint8_t coluna) {
    if (ListaVazia()) return;
    const bool comLancamento = lblLancamentoM->Tag() == "1";
    if (comLancamento) {
        if (coluna == 0) return;
        --coluna;
    }
    if (coluna == 0) {
        const std::string imagens = ObtemValorCampo(dtcTHGrid1.GetRecordset().Value("ImagensGrid"), "").ToString();
        if (vb::Mid(imagens + "  ", comLancamento ? 2 : 1, 1) == " ") RetornaAplicacaoSelecionada(4);
    } else if (coluna == 1) {
        RetornaAplicacaoSelecionada(3);
    }
}

void frmZornak2Form::RetornaAplicacaoSelecionada(long tela) {
    const dao::Recordset rs = dtcTHGrid1.GetRecordset();
    const dao::Recordset tipos = dtcTHCombo2.GetRecordset();
    std::string tipo = "0";
    if (!tipos.IsNothing() && tipos.IsOpen() && !tipos.Eof() && !tipos.Bof())
        tipo = ObtemValorCampo(tipos.Value("CodigoTipoAplicacao"), "").ToString();
    EstadoPrograma.RequisicaoTela = std::to_string(tela) + "|" + ObtemValorCampo(rs.Value("CodigoAplicacao"), "").ToString() + "|" +
                                    std::to_string(ObtemLinhaSelecionadaGrid(*grdTHGrid1)) + "|" +
                                    OrdemAplicacoesGrupo + "|" + tipo + "|" +
                                    vb::Replace(vb::Trim(txtDescricaoAplicacaoM->Text()), "|", "") + "|" +
                                    lblLancamentoM->Tag();
    AcaoPendente = "VOLTAR";
    tmrAux->SetEnabled(true);
}

void frmZornak2Form::ExibeVeiculosAplicacao() {
    (*lblVeiculosM)(0).SetVisible(false);
    (*lblVeiculosM)(1).SetVisible(false);
    if (ListaVazia()) return;
    const dao::Recordset atual = dtcTHGrid1.GetRecordset();
    // An application without a type is not a vehicle: its vehicles are looked up too.
    const vb::Variant tipo = atual.Value("CodigoTipoAplicacao");
    if (!tipo.IsNull() && tipo.ToLong() == 1) return;
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(
        consultas::VeiculosAplicacao(atual.Value("CodigoAplicacao").ToLong(), (*lblVeiculosM)(0).Tag(), EstadoPrograma.Idioma),
        dao::dbOpenForwardOnly);
    std::vector<std::string> nomes;
    while (!rs.Eof()) {
        nomes.push_back(ObtemValorCampo(rs.Fields(0).Value(), "").ToString());
        rs.MoveNext();
    }
    rs.Close();
    const std::string texto = vb::Join(nomes, "  -  ");
    if (texto.empty()) return;
    (*lblVeiculosM)(1).SetCaption(texto);
    (*lblVeiculosM)(0).SetVisible(true);
    (*lblVeiculosM)(1).SetVisible(true);
}

void frmZornak2Form::SaiTelaPrincipal() {
    txtDescricaoAplicacaoM->SetVisible(false);
    // With an empty list nothing is remembered, so a later build selects the request's row.
    CodigoAplicacaoAnterior = CodigoAtual(dtcTHGrid1, "CodigoAplicacao");
    cboTHCombo2->SetVisible(false);
    grdTHGrid1->SetVisible(false);
    (*pctTela)(3).SetVisible(false);
    imgTitulo->SetPicture(vb::Picture());
    lblSubTitulo->SetCaption("");
    (*lblVeiculosM)(0).SetVisible(false);
    (*lblVeiculosM)(1).SetVisible(false);
    DescarregaLista(*cboTHCombo2, dtcTHCombo2);
    DescarregaLista(*grdTHGrid1, dtcTHGrid1);
}
