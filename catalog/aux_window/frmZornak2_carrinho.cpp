// Screen 2 of the auxiliary window: the cart of this run, its quantities and deletions, the
// cross references of the current row, and the cart's printout, text file and e-mail.
#include "catalog/aux_window/frmZornak2.h"

#include "catalog/aux_window/ConsultasAuxiliar.h"

#include "catalog/controls/ModuloGrade.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/forms/Screen.h"
#include "platform/vb/DateTime.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
constexpr int QuantidadeMinima = 1, QuantidadeMaxima = 32000;

void AvisoCarrinhoVazio() { vb::MsgBox(Traduz(5) + ".", vb::vbCritical, Traduz(0)); }

}  // namespace

void frmZornak2Form::ExibeTelaCarrinho(long codigoProduto) {
    imgTitulo->SetPicture(CarregaImagemRecurso("TITCARRINHO", "G"));
    lblSubTitulo->SetCaption("");
    const std::string numero = vb::UCase(Traduz(32)), descricao = vb::UCase(Traduz(40));
    lblNumeroEmpresaC->SetCaption(numero);
    lblNumeroEmpresaC->SetToolTipText(Traduz(39) + " " + numero);
    lblDescricaoC->SetCaption(descricao);
    lblDescricaoC->SetToolTipText(Traduz(39) + " " + descricao);
    lblQtdC->SetCaption(vb::UCase(Traduz(59)));
    lblQtdC->SetToolTipText(Traduz(60));
    lblMaisC->SetToolTipText(Traduz(34));
    lblMenosC->SetToolTipText(Traduz(35));
    lblXC->SetToolTipText(Traduz(33) + " <DELETE>");
    (*lblNroReferenciaC)(0).SetCaption(Traduz(42) + ":");
    (*lblNroReferenciaC)(1).SetCaption("");

    for (vb::Control* c : std::initializer_list<vb::Control*>{lblImprimir, imgBtnImprimir, lblGerarArquivo,
                                                              imgBtnGerarArquivo, lblEnviarEmail, imgBtnEnviarEmail})
        c->SetVisible(true);

    dtcTHGrid1.SetDatabaseName(EstadoPrograma.CaminhoDados + ArquivoBancoAuxiliar);
    grdTHGrid1->mUserControlPixelWidth = 553;
    grdTHGrid1->mUserControlPixelHeight = 153;
    grdTHGrid1->Move(31, 121, 553, 153);

    AtualizaGridCarrinho(codigoProduto, SemLinhaGrid, OrdemCarrinho, true, false);

    grdTHGrid1->ObtemDataControl(dtcTHGrid1);
    grdTHGrid1->ObtemPictures(
        MontaTabelaPictures({Variantes("ICOMAIS", "G"), Variantes("ICOMENOS", "G"), Variantes("ICOX", "G")}));
    const std::string mais = Traduz(34) + " <+>  -  " + Traduz(65) + ":+1 / " + Traduz(64) + ":+10";
    const std::string menos = Traduz(35) + " <->  -  " + Traduz(65) + ":-1 / " + Traduz(64) + ":-10";
    grdTHGrid1->ConfiguraColunas({
        "NumeroEmpresaFormatado|0|" + LarguraColuna(100) + "|T",
        "DescricaoProduto|0|" + LarguraColuna(301) + "|T",
        "Quantidade|1|" + LarguraColuna(50) + "|T",
        "|2|" + LarguraColuna(30) + "|F|" + mais + "|99",
        "|2|" + LarguraColuna(30) + "|F|" + menos + "|99",
        "|2|" + LarguraColuna(30) + "|F|" + Traduz(33) + " <DELETE>|99",
    });
    grdTHGrid1->AtualizaGrid();

    (*pctTela)(2).SetVisible(true);
    (*pctTela)(2).Refresh();
    grdTHGrid1->SetVisible(true);
    grdTHGrid1->mIf_DblClick_Call_Click = true;
    ExibeReferenciasProduto();

    vb::DoEvents();
    // The window may have been closed meanwhile, its controls with it.
    if (IsLoaded()) IgnoraFalha([&] { grdTHGrid1->SetFocus(); });
}

void frmZornak2Form::SaiTelaCarrinho() {
    grdTHGrid1->SetVisible(false);
    grdTHGrid1->mIf_DblClick_Call_Click = false;
    (*pctTela)(2).SetVisible(false);
    for (vb::Control* c : std::initializer_list<vb::Control*>{lblImprimir, imgBtnImprimir, imgBtnImprimirSel,
                                                              lblGerarArquivo, imgBtnGerarArquivo, imgBtnGerarArquivoSel,
                                                              lblEnviarEmail, imgBtnEnviarEmail, imgBtnEnviarEmailSel})
        c->SetVisible(false);
    imgTitulo->SetPicture(vb::Picture());
    DescarregaLista(*grdTHGrid1, dtcTHGrid1);
}

void frmZornak2Form::AtualizaGridCarrinho(long codigoProduto, std::uint8_t linha, const std::string& ordem,
                                          bool reconstroi, bool redesenha) {
    OrdemCarrinho = ordem;
    ColoreCabecalhos(ordem, {lblNumeroEmpresaC, lblDescricaoC});
    if (reconstroi) {
        BaseCarrinho = consultas::GradeCarrinho(EstadoPrograma.TabelaCarrinho);
        grdTHGrid1->AnalisarScollProximoRefresh();
    }
    dtcTHGrid1.SetRecordSource(BaseCarrinho + consultas::OrdemGradeCarrinho(ordem));
    dtcTHGrid1.Refresh();
    if (codigoProduto > 0) dtcTHGrid1.GetRecordset().FindFirst("CodigoProduto=" + std::to_string(codigoProduto));
    SelecionaLinhaGrid(*grdTHGrid1, linha);
    if (redesenha) grdTHGrid1->AtualizaGrid();
}

void frmZornak2Form::CarrinhoImageClick(std::uint8_t coluna, int botao) {
    if (ListaVazia() || coluna > 2) return;
    dao::Recordset rs = dtcTHGrid1.GetRecordset();
    if (coluna <= 1) {
        const int passo = botao == vb::vbRightButton ? 10 : 1;
        long q = rs.Value("Quantidade").ToLong() + (coluna == 0 ? passo : -passo);
        q = std::clamp<long>(q, QuantidadeMinima, QuantidadeMaxima);
        const std::uint8_t linha = ObtemLinhaSelecionadaGrid(*grdTHGrid1);
        const long codigo = rs.Value("CodigoProduto").ToLong();
        AlteraQuantidadeCarrinho(codigo, static_cast<int>(q));
        AtualizaGridCarrinho(codigo, linha, OrdemCarrinho, false, true);
        return;
    }
    // The row to select afterwards is chosen before the delete: the next one in the same
    // grid row, else the previous one a row higher, else nothing.
    // The grid row is read before the recordset moves: stepping past the bottom row would
    // scroll the list and shift the row the user saw.
    const std::uint8_t linhaAtual = ObtemLinhaSelecionadaGrid(*grdTHGrid1);
    long selecionar = 0;
    std::uint8_t linha = SemLinhaGrid;
    rs.MoveNext();
    if (!rs.Eof()) {
        selecionar = rs.Value("CodigoProduto").ToLong();
        rs.MovePrevious();
        linha = linhaAtual;
    } else {
        rs.MoveLast();
        rs.MovePrevious();
        if (!rs.Bof()) {
            selecionar = rs.Value("CodigoProduto").ToLong();
            rs.MoveNext();
            linha = linhaAtual;
            if (linha != 0 && linha != SemLinhaGrid) --linha;
        } else {
            rs.MoveFirst();
        }
    }
    ExcluiProdutoCarrinho(rs.Value("CodigoProduto").ToLong());
    AtualizaGridCarrinho(selecionar, linha, OrdemCarrinho, true, true);
}

void frmZornak2Form::ExibeReferenciasProduto() {
    vb::Label& rotulo = (*lblNroReferenciaC)(1);
    if (ListaVazia()) {
        rotulo.SetCaption("");
        return;
    }
    const long codigo = dtcTHGrid1.GetRecordset().Value("CodigoProduto").ToLong();
    dao::Recordset rs =
        EstadoPrograma.DbCatalogo.OpenRecordset(consultas::ReferenciasCarrinho(codigo, EstadoPrograma.Idioma), dao::dbOpenForwardOnly);
    std::vector<std::string> textos;
    while (!rs.Eof()) {
        const vb::Variant v = rs.Fields(0).Value();
        textos.push_back(ObtemValorCampo(v, "").ToString());
        rs.MoveNext();
    }
    rs.Close();
    rotulo.SetCaption(vb::Join(textos, "  -  "));
}

std::string frmZornak2Form::GeraNomeArquivoCarrinho() {
    return "ZORNAK_" + vb::Replace(vb::Replace(FormataDataHora(vb::Now()), ":", "-"), " ", "_") + ".txt";
}

void frmZornak2Form::SelecionaArquivoDestino(const std::string& extensao) {
    cdlGerarArquivo.DialogTitle = Traduz(85) + " - " + Traduz(0);
    cdlGerarArquivo.InitDir = ObtemPastaDesktop(false);
    if (extensao == "TXT") cdlGerarArquivo.Filter = "TXT (*.txt)|*.txt";
    cdlGerarArquivo.FilterIndex = 1;
    cdlGerarArquivo.Flags = vb::cdlOFNOverwritePrompt | vb::cdlOFNHideReadOnly;
    cdlGerarArquivo.CancelError = true;
}

void frmZornak2Form::GravaArquivoCarrinho(const std::string& caminho) {
    // A copy walks the rows, so the grid keeps its place; the file follows the screen's order.
    dao::Recordset copia = dtcTHGrid1.GetRecordset().Clone();
    const std::string fim = "\r\n";
    std::string texto = Traduz(0) + "     1.0     " + EstadoPrograma.DataEmissaoTexto + fim + fim;
    texto += FormataCampoLargura(vb::UCase(Traduz(32)), 16, "D") + FormataCampoLargura(vb::UCase(Traduz(40)), 51, "D") +
             FormataCampoLargura(vb::UCase(Traduz(59)), 5, "E") + "   " + vb::UCase(Traduz(42)) + fim;
    if (copia.RecordCount() > 0) copia.MoveFirst();
    while (!copia.Eof()) {
        const long codigo = copia.Value("CodigoProduto").ToLong();
        const vb::Variant formatado = copia.Value("NumeroEmpresaFormatado");
        std::string numero = ObtemValorCampo(formatado, "").ToString();
        if (numero.empty()) numero = "(COD:" + std::to_string(codigo) + ")";
        texto += FormataCampoLargura(numero, 16, "D") + FormataCampoLargura(copia.Value("DescricaoProduto"), 51, "D") +
                 FormataCampoLargura(copia.Value("Quantidade"), 5, "E") + "   " +
                 vb::Join(MontaTextoReferenciasCruzadas(codigo, ""), " - ") + fim;
        copia.MoveNext();
    }
    copia.Close();
    // Written whole in one go, on the path's bytes: a folder whose name is not UTF-8 is a
    // folder like any other.
    const int erro = GravaBytesArquivo(caminho, texto, 0666);
    if (erro != 0) vb::Raise(75, "Path/File access error: " + caminho + " (" + std::strerror(erro) + ")");
}

void frmZornak2Form::lblGerarArquivo_Click() {
    if (ListaVazia()) {
        AvisoCarrinhoVazio();
        return;
    }
    try {
        SelecionaArquivoDestino("TXT");
        cdlGerarArquivo.FileName = GeraNomeArquivoCarrinho();
        cdlGerarArquivo.ShowSave();
        vb::DoEvents();
    } catch (const vb::Error& e) {
        vb::Screen().SetMousePointer(vb::vbDefault);
        // A cancelled box ends the click quietly; anything else the user must hear about.
        if (e.Number() != vb::cdlCancel) MostraErro(e.Number(), e.Description());
        return;
    }
    const std::string caminho = cdlGerarArquivo.FileName;
    vb::Screen().SetMousePointer(vb::vbHourglass);
    try {
        GravaArquivoCarrinho(caminho);
    } catch (const vb::Error& e) {
        vb::Screen().SetMousePointer(vb::vbDefault);
        MostraErro(e.Number(), e.Description());
        return;
    }
    vb::Screen().SetMousePointer(vb::vbDefault);
    vb::MsgBox(vb::Replace(Traduz(87), "|1|", caminho) + ".", vb::vbInformation, Traduz(0));
}

void frmZornak2Form::lblEnviarEmail_Click() {
    if (ListaVazia()) {
        AvisoCarrinhoVazio();
        return;
    }
    vb::Screen().SetMousePointer(vb::vbHourglass);
    try {
        const std::string caminho = ObtemPastaSistema("TEMP", true) + GeraNomeArquivoCarrinho();
        GravaArquivoCarrinho(caminho);
        vb::DoEvents();
        EnviaEmail(caminho, "|");
    } catch (const vb::Error& e) {
        vb::Screen().SetMousePointer(vb::vbDefault);
        MostraErro(e.Number(), e.Description());
        return;
    }
    vb::Screen().SetMousePointer(vb::vbDefault);
}

void frmZornak2Form::lblImprimir_Click() {
    if (ListaVazia()) {
        AvisoCarrinhoVazio();
    } else {
        dao::Recordset copia = dtcTHGrid1.GetRecordset().Clone();
        if (copia.RecordCount() > 0) copia.MoveFirst();
        if (Ligacoes().ImprimirCarrinho) {
            Ligacoes().ImprimirCarrinho(copia);
        } else {
            vb::MsgBox("Printing is not available in this build.", vb::vbExclamation, Traduz(0));
        }
        if (!copia.IsNothing() && copia.IsOpen()) copia.Close();
    }
    // The box that answered the click had the pointer: the button's highlight goes with it,
    // and the next move over the button lights it again.
    DestacaControle("FORM");
}
