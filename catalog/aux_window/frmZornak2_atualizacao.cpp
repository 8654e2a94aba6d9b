// Screen 6 of the auxiliary window: the installation of a catalogue update with its four
// step rows (lists, downloads, files, database), each with a bar and a percentage.
#include "catalog/aux_window/AtualizacaoCatalogo.h"
#include "catalog/aux_window/frmZornak2.h"
#include "catalog/controls/ModuloGrade.h"

#include "common/modTraducao.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/os/Folders.h"
#include "platform/os/Process.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <QLocale>

#include <cmath>

namespace {

constexpr long CorPassoAtual = CorDestaque;
constexpr int LarguraBarra = 379;

// The step rows, made on the screen's first showing and kept with the window.
struct LinhasPasso {
    vb::PictureBox* tela = nullptr;
    vb::ControlArray<vb::Label>* lblTitAtualizacao = nullptr;
    vb::ControlArray<vb::Label>* lblNumAtualizacao = nullptr;
    vb::ControlArray<vb::Shape>* imgBordaBarraAtualizacao = nullptr;
    vb::ControlArray<vb::Shape>* imgBarraAtualizacao = nullptr;
    vb::ControlArray<vb::Shape>* imgPassoAtualAtualizacao = nullptr;
    vb::ControlArray<vb::Shape>* imgPassoConcluidoAtualizacao = nullptr;
};

LinhasPasso CriaLinhasPasso(frmZornak2Form& janela) {
    vb::PictureBox& tela = (*janela.pctTela)(6);
    LinhasPasso l;
    l.tela = &tela;
    l.lblTitAtualizacao = janela.NewArray<vb::Label>(tela, "lblTitAtualizacao");
    l.lblNumAtualizacao = janela.NewArray<vb::Label>(tela, "lblNumAtualizacao");
    l.imgBordaBarraAtualizacao = janela.NewArray<vb::Shape>(tela, "imgBordaBarraAtualizacao");
    l.imgBarraAtualizacao = janela.NewArray<vb::Shape>(tela, "imgBarraAtualizacao");
    l.imgPassoAtualAtualizacao = janela.NewArray<vb::Shape>(tela, "imgPassoAtualAtualizacao");
    l.imgPassoConcluidoAtualizacao = janela.NewArray<vb::Shape>(tela, "imgPassoConcluidoAtualizacao");
    // The rows are elements 1 to 4; the templates stay out of sight.
    for (auto* a : {l.lblTitAtualizacao, l.lblNumAtualizacao}) (*a)(0).SetVisible(false);
    for (auto* a : {l.imgBordaBarraAtualizacao, l.imgBarraAtualizacao, l.imgPassoAtualAtualizacao,
                    l.imgPassoConcluidoAtualizacao})
        (*a)(0).SetVisible(false);
    for (int i = 1; i <= 4; ++i) {
        for (auto* a : {l.lblTitAtualizacao, l.lblNumAtualizacao}) a->Load(i);
        for (auto* a : {l.imgBordaBarraAtualizacao, l.imgBarraAtualizacao, l.imgPassoAtualAtualizacao,
                        l.imgPassoConcluidoAtualizacao})
            a->Load(i);
        const int topo = 28 + 57 * (i - 1);
        vb::Label& tit = (*l.lblTitAtualizacao)(i);
        tit.SetBackStyle(0);
        tit.SetFont("Arial", 8, true);
        tit.Move(58, topo, 320, 14);
        vb::Label& num = (*l.lblNumAtualizacao)(i);
        num.SetBackStyle(0);
        num.SetFont("Arial", 8, true);
        num.SetAlignment(vb::vbRightJustify);
        num.Move(381, topo, 62, 14);
        // The titles and percentages stand from the start, as on the window's design; what
        // Load makes starts hidden.
        tit.SetVisible(true);
        num.SetVisible(true);
        vb::Shape& borda = (*l.imgBordaBarraAtualizacao)(i);
        borda.SetFillStyle(vb::vbFSTransparent);
        borda.SetBorderColor(0x808080);
        borda.Move(58, topo + 16, 385, 23);
        vb::Shape& barra = (*l.imgBarraAtualizacao)(i);
        barra.SetFillStyle(vb::vbFSSolid);
        barra.SetFillColor(CorPassoAtual);
        barra.SetBorderStyle(vb::vbTransparent);
        barra.Move(61, topo + 19, 0, 17);
        vb::Shape& atual = (*l.imgPassoAtualAtualizacao)(i);
        atual.SetShape(vb::vbShapeCircle);
        atual.SetFillStyle(vb::vbFSSolid);
        atual.SetFillColor(CorPassoAtual);
        atual.SetBorderColor(CorPassoAtual);
        atual.Move(36, topo + 20, 14, 14);
        vb::Shape& concluido = (*l.imgPassoConcluidoAtualizacao)(i);
        concluido.SetShape(vb::vbShapeCircle);
        concluido.SetFillStyle(vb::vbFSSolid);
        concluido.SetFillColor(0);
        concluido.SetBorderColor(0);
        concluido.Move(36, topo + 20, 14, 14);
        for (vb::Control* c : {static_cast<vb::Control*>(&borda), static_cast<vb::Control*>(&barra),
                               static_cast<vb::Control*>(&atual), static_cast<vb::Control*>(&concluido)})
            c->SetVisible(false);
    }
    return l;
}

// The screen's side of the installation: the rows' Tags hold the step's total (frame) and
// the amount done (bar), as the download hook adds to them.
class ProgressoTela : public IProgressoAtualizacao {
public:
    explicit ProgressoTela(const LinhasPasso& l) : l_(l) {}

    void IniciaPasso(int passo, double total) override {
        (*l_.imgPassoAtualAtualizacao)(passo).SetVisible(true);
        (*l_.lblTitAtualizacao)(passo).SetForeColor(CorPassoAtual);
        (*l_.lblNumAtualizacao)(passo).SetForeColor(CorPassoAtual);
        (*l_.imgBordaBarraAtualizacao)(passo).SetVisible(true);
        (*l_.imgBarraAtualizacao)(passo).SetVisible(true);
        (*l_.imgBordaBarraAtualizacao)(passo).SetTag(Texto(total));
        (*l_.imgBarraAtualizacao)(passo).SetTag("0");
        AtualizarProgressBar(passo);
        DesenhaLinhas();
    }
    void DefineFeito(int passo, double feito) override {
        (*l_.imgBarraAtualizacao)(passo).SetTag(Texto(feito));
        AtualizarProgressBar(passo);
    }
    void AcrescentaFeito(int passo, double quantidade) override {
        vb::Shape& barra = (*l_.imgBarraAtualizacao)(passo);
        barra.SetTag(Texto(Numero(barra.Tag()) + quantidade));
        AtualizarProgressBar(passo);
    }
    void TerminaPasso(int passo) override {
        (*l_.imgBarraAtualizacao)(passo).SetTag((*l_.imgBordaBarraAtualizacao)(passo).Tag());
        AtualizarProgressBar(passo);
        vb::DoEvents();
        (*l_.imgPassoAtualAtualizacao)(passo).SetVisible(false);
        (*l_.lblTitAtualizacao)(passo).SetForeColor(0);
        (*l_.lblNumAtualizacao)(passo).SetForeColor(0);
        (*l_.imgPassoConcluidoAtualizacao)(passo).SetVisible(true);
        DesenhaLinhas();
    }
    void ProcessaEventos() override { vb::DoEvents(); }

    // The rows as they stand, drawn at once: a step may go straight into a long wait (a
    // network request) before window events run again, and its row would show half of its
    // new state meanwhile.
    void DesenhaLinhas() { l_.tela->Refresh(); }

    void AtualizarProgressBar(int passo) {
        const double total = Numero((*l_.imgBordaBarraAtualizacao)(passo).Tag());
        const double feito = Numero((*l_.imgBarraAtualizacao)(passo).Tag());
        double p = total > 0 ? feito / total : 1.0;
        if (p > 1) p = 1;
        if (p < 0) p = 0;
        // Drawn only where something changed: a step of thousands of files moves the bar by a
        // pixel every few dozen of them.
        vb::Shape& barra = (*l_.imgBarraAtualizacao)(passo);
        const int largura = static_cast<int>(std::nearbyint(p * LarguraBarra));
        if (largura != barra.Width()) {
            barra.Move(barra.Left(), barra.Top(), largura, barra.Height());
            barra.Refresh();
        }
        vb::Label& num = (*l_.lblNumAtualizacao)(passo);
        const std::string texto = QLocale::system().toString(p * 100, 'f', 2).toStdString() + " %";
        if (texto != num.Caption()) {
            num.SetCaption(texto);
            num.Refresh();
        }
    }

private:
    static std::string Texto(double v) { return std::to_string(static_cast<long long>(std::llround(v))); }
    static double Numero(const std::string& s) { return s.empty() ? 0.0 : std::strtod(s.c_str(), nullptr); }
    const LinhasPasso& l_;
};

}  // namespace

void ExecutaTelaAtualizacao(frmZornak2Form& janela, int instalada, int disponivel) {
    // The window is made anew for each request; the rows go with it when it unloads.
    const LinhasPasso linhas = CriaLinhasPasso(janela);

    janela.imgTitulo->SetPicture(CarregaImagemRecurso("TITATUALIZACAO"));
    janela.lblSubTitulo->SetCaption("");
    const long mensagens[] = {73, 74, 75, 76};
    for (int i = 1; i <= 4; ++i) (*linhas.lblTitAtualizacao)(i).SetCaption(vb::UCase(Traduz(mensagens[i - 1])));
    // Nothing may close the window while files are being replaced.
    janela.lblVoltar->SetVisible(false);
    janela.imgBtnVoltar->SetVisible(false);
    for (int i = 1; i <= 4; ++i) {
        (*linhas.lblNumAtualizacao)(i).SetCaption("0 %");
        vb::Shape& barra = (*linhas.imgBarraAtualizacao)(i);
        barra.Move(barra.Left(), barra.Top(), 0, barra.Height());
        barra.ZOrder(0);
    }
    (*janela.pctTela)(6).SetVisible(true);
    (*janela.pctTela)(6).Refresh();
    vb::Screen().SetMousePointer(vb::vbDefault);
    vb::DoEvents();

    ProgressoTela progresso(linhas);
    const ResultadoAtualizacao r = InstalaAtualizacao(instalada, disponivel, progresso);
    if (r.Sucesso) {
        vb::MsgBox(Traduz(72) + ".", vb::vbInformation, Traduz(0));
        if (r.NovosLancamentos) vb::MsgBox(Traduz(90) + "!", vb::vbExclamation, Traduz(0));
        if (!r.ProgramaIniciar.empty()) {
            try {
                os::Shell("\"" + os::PathForOtherPrograms(r.ProgramaIniciar) + "\"", 1);
            } catch (...) {
                // The update is installed; a program that does not start changes nothing of it.
            }
        }
    } else {
        MostraErro(r.NumeroErro, r.DescricaoErro);
    }
    EstadoPrograma.RequisicaoTela = r.Resposta();
    // Closed after this event has finished, as the other screens close the window.
    janela.AcaoPendente = "VOLTAR";
    janela.tmrAux->SetEnabled(true);
}
