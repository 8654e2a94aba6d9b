// The frame of the auxiliary window: building and placing it, taking the request, the
// screen switcher with its back history, the deferred close, the keyboard, the hover
// highlight, dragging the borderless window and the fixed layout.
#include "catalog/aux_window/frmZornak2.h"

#include "catalog/aux_window/AtualizacaoCatalogo.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/startup/frmApresentacao_regiao.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Strings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <map>

namespace {
constexpr int LarguraJanela = 641, AlturaJanela = 406;

// The field of a split request, "" past its end (the conversions then report the bad request).
std::string Campo(const std::vector<std::string>& v, std::size_t i) { return i < v.size() ? v[i] : std::string(); }
}  // namespace

LigacoesJanelaAuxiliar& frmZornak2Form::Ligacoes() {
    static LigacoesJanelaAuxiliar ligacoes;
    return ligacoes;
}

frmZornak2Form::frmZornak2Form() : vb::Form("frmZornak2") {}
frmZornak2Form::~frmZornak2Form() {
    // The wheel's targets name this window's lists; they must not outlive them.
    if (IsLoaded()) RegistraListasRoda(false);
}

void frmZornak2Form::RegistraListasRoda(bool registra) {
    RegistraListaRoda("TEL_GRID1", registra ? grdTHGrid1 : nullptr);
    RegistraListaRoda("TEL_COMBO2", registra ? cboTHCombo2 : nullptr);
}

frmZornak2Form& frmZornak2() {
    return static_cast<frmZornak2Form&>(
        InstanciaJanela("frmZornak2", [] { return std::make_unique<frmZornak2Form>(); }));
}

IComboRolagem& frmZornak2Form::Combo(const std::string& nome) {
    if (nome != "cboTHCombo2" || !cboTHCombo2) vb::Raise(vb::err::SubscriptOutOfRange, "No combo " + nome);
    return *cboTHCombo2;
}

dao::DataControl& frmZornak2Form::DataControl(const std::string& nome) {
    if (nome == "dtcTHCombo2") return dtcTHCombo2;
    if (nome == "dtcTHGrid1") return dtcTHGrid1;
    vb::Raise(vb::err::SubscriptOutOfRange, "No data control " + nome);
}

vb::Label* frmZornak2Form::NovoRotulo(vb::Container& pai, const std::string& nome, bool cabecalho) {
    vb::Label* l = New<vb::Label>(pai, nome);
    l->SetBackStyle(0);
    l->SetFont("Arial", 8, cabecalho);
    l->SetForeColor(0);
    return l;
}

void frmZornak2Form::Build() {
    SetBorderStyle(0);
    SetKeyPreview(true);
    SetBackColor(vb::vbWhite);
    // The window's background: the mouse over it is the window's own (hover reset, dragging).
    imgFundo = New<vb::Image>(*this, "imgFundo");
    imgFundo->SetPicture(CarregaImagemRecurso("frmZornak2.Fundo", "D"));
    imgFundo->SetDisplayOnly(true);
    imgTitulo = New<vb::Image>(*this, "imgTitulo");
    lblSubTitulo = NovoRotulo(*this, "lblSubTitulo", true);
    lblSubTitulo->SetForeColor(CorDestaque);
    // A product or an application with its maker is longer than the design width: the
    // subtitle grows to the right, over the screens' width.
    lblSubTitulo->SetAutoSize(true);
    imgRodapeEsq = New<vb::Image>(*this, "imgRodapeEsq");
    imgRodapeEsq->SetPicture(CarregaImagemRecurso("frmZornak2.imgRodapeEsq", "D"));
    imgRodapeDir = New<vb::Image>(*this, "imgRodapeDir");
    imgRodapeDir->SetPicture(CarregaImagemRecurso("frmZornak2.imgRodapeDir", "D"));

    auto botao = [this](const std::string& nome, vb::Label*& rotulo, vb::Image*& placa, vb::Image*& realce) {
        placa = New<vb::Image>(*this, "imgBtn" + nome);
        placa->SetPicture(CarregaImagemRecurso("frmZornak2.imgBtn" + nome, "D"));
        realce = New<vb::Image>(*this, "imgBtn" + nome + "Sel");
        realce->SetPicture(CarregaImagemRecurso("frmZornak2.imgBtn" + nome + "Sel", "D"));
        realce->SetVisible(false);
        // Only shows: what the pointer does there belongs to the button.
        realce->SetDisplayOnly(true);
        rotulo = NovoRotulo(*this, "lbl" + nome, true);
        // The main window's buttons' face: the longest caption ("GENERAR ARCHIVO") fits.
        rotulo->SetFont("Arial", 7.5, true);
        rotulo->SetAlignment(vb::vbCenter);
        rotulo->SetForeColor(0x404040);
        rotulo->SetMousePointer(vb::vbArrow);
    };
    botao("Imprimir", lblImprimir, imgBtnImprimir, imgBtnImprimirSel);
    botao("GerarArquivo", lblGerarArquivo, imgBtnGerarArquivo, imgBtnGerarArquivoSel);
    botao("EnviarEmail", lblEnviarEmail, imgBtnEnviarEmail, imgBtnEnviarEmailSel);
    botao("Ok", lblOk, imgBtnOk, imgBtnOkSel);
    botao("Voltar", lblVoltar, imgBtnVoltar, imgBtnVoltarSel);
    for (vb::Control* c : std::initializer_list<vb::Control*>{lblImprimir, imgBtnImprimir, lblGerarArquivo,
                                                              imgBtnGerarArquivo, lblEnviarEmail, imgBtnEnviarEmail,
                                                              lblOk, imgBtnOk})
        c->SetVisible(false);

    pctTela = NewArray<vb::PictureBox>(*this, "pctTela");
    for (int i : {1, 2, 3, 5, 6}) pctTela->Load(i);
    for (int i : {0, 1, 2, 3, 5, 6}) {
        vb::PictureBox& p = (*pctTela)(i);
        p.SetBorderStyle(0);
        p.SetBackColor(vb::vbWhite);
        p.SetVisible(false);
    }

    // Screen 0.
    txtObservacao = New<vb::TextBox>((*pctTela)(0), "txtObservacao", true);
    txtObservacao->SetLocked(true);
    txtObservacao->SetFont("Arial", 9);
    // Screen 1.
    lblTipoAplicacaoA = NovoRotulo((*pctTela)(1), "lblTipoAplicacaoA", true);
    lblAplicacaoProdutoA = NovoRotulo((*pctTela)(1), "lblAplicacaoProdutoA", true);
    lblFabricanteA = NovoRotulo((*pctTela)(1), "lblFabricanteA", true);
    // Screen 2.
    vb::PictureBox& carrinho = (*pctTela)(2);
    lblNumeroEmpresaC = NovoRotulo(carrinho, "lblNumeroEmpresaC", true);
    lblDescricaoC = NovoRotulo(carrinho, "lblDescricaoC", true);
    lblQtdC = NovoRotulo(carrinho, "lblQtdC", true);
    lblQtdC->SetAlignment(vb::vbRightJustify);
    lblMaisC = NovoRotulo(carrinho, "lblMaisC", true);
    lblMenosC = NovoRotulo(carrinho, "lblMenosC", true);
    lblXC = NovoRotulo(carrinho, "lblXC", true);
    // A bold red caption (element 0) and the wrapped text after it (element 1).
    auto legendaETexto = [this](vb::PictureBox& tela, const char* nome, bool visiveis) {
        vb::ControlArray<vb::Label>* par = NewArray<vb::Label>(tela, nome);
        par->Load(1);
        for (int i : {0, 1}) {
            vb::Label& l = (*par)(i);
            l.SetBackStyle(0);
            l.SetFont("Arial", 8, i == 0);
            l.SetForeColor(i == 0 ? CorDestaque : 0);
            l.SetWordWrap(true);
            l.SetVisible(visiveis);
        }
        return par;
    };
    lblNroReferenciaC = legendaETexto(carrinho, "lblNroReferenciaC", true);
    // Screen 3.
    vb::PictureBox& grupo = (*pctTela)(3);
    lblTipoAplicacaoM = NovoRotulo(grupo, "lblTipoAplicacaoM", true);
    lblDescricaoM = NovoRotulo(grupo, "lblDescricaoM", true);
    lblLancamentoM = NovoRotulo(grupo, "lblLancamentoM", true);
    lblLancamentoM->SetAlignment(vb::vbCenter);
    lblFigM = NovoRotulo(grupo, "lblFigM", true);
    lblFigM->SetAlignment(vb::vbCenter);
    lblListaM = NovoRotulo(grupo, "lblListaM", true);
    lblListaM->SetAlignment(vb::vbCenter);
    txtDescricaoAplicacaoM = New<vb::TextBox>(grupo, "txtDescricaoAplicacaoM");
    txtDescricaoAplicacaoM->SetFont("Arial", 8);
    lblVeiculosM = legendaETexto(grupo, "lblVeiculosM", false);
    // Screen 5.
    vb::PictureBox& config = (*pctTela)(5);
    imgVerificarAtualizacoesAuto = NewArray<vb::Image>(config, "imgVerificarAtualizacoesAuto");
    imgVerificarAtualizacoesAuto->Load(1);
    for (int i : {0, 1}) {
        vb::Image& img = (*imgVerificarAtualizacoesAuto)(i);
        img.SetPicture(CarregaImagemRecurso("frmZornak2.imgVerificarAtualizacoesAuto" + std::to_string(i), "D"));
        img.SetMousePointer(vb::vbArrow);
        img.SetVisible(false);
    }
    lblVerificarAtualizacoesAuto = NovoRotulo(config, "lblVerificarAtualizacoesAuto", true);
    lblAutenticacaoProxy = NovoRotulo(config, "lblAutenticacaoProxy", true);
    lblAutenticacaoProxy->SetBackStyle(1);
    lblAutenticacaoProxy->SetBackColor(vb::vbWhite);
    lblAutenticacaoProxy->SetForeColor(CorDestaque);
    lblUsuario = NovoRotulo(config, "lblUsuario", true);
    lblSenha = NovoRotulo(config, "lblSenha", true);
    txtUsuario = New<vb::TextBox>(config, "txtUsuario");
    txtSenha = New<vb::TextBox>(config, "txtSenha");
    txtSenha->SetPasswordChar("*");

    // The lists, over the screens.
    grdTHGrid1 = New<THGrid>(*this, "grdTHGrid1");
    grdTHGrid1->SetVisible(false);
    cboTHCombo2 = New<THCombo>(*this, "cboTHCombo2");
    cboTHCombo2->SetVisible(false);
    RegistraListasRoda(true);
    tmrAux = NewTimer("tmrAux", 2, false);
    LigaEventos();
}

void frmZornak2Form::LigaEventos() {
    auto evento = [](std::function<void()> f) { return [f] { vb::RunEvent(f); }; };
    auto destaque = [this](vb::Control* c, const std::string& chave) {
        c->MouseMove = [this, chave](int, int, float, float) { vb::RunEvent([this, chave] { DestacaControle(chave); }); };
    };
    tmrAux->TimerEvent = evento([this] { tmrAux_Timer(); });
    lblVoltar->Click = evento([this] { lblVoltar_Click(); });
    lblOk->Click = evento([this] { lblOk_Click(); });
    lblImprimir->Click = evento([this] { lblImprimir_Click(); });
    lblGerarArquivo->Click = evento([this] { lblGerarArquivo_Click(); });
    lblEnviarEmail->Click = evento([this] { lblEnviarEmail_Click(); });
    destaque(lblVoltar, "BTNVOLTAR");
    destaque(lblOk, "BTNOK");
    destaque(lblImprimir, "BTNIMPRIMIR");
    destaque(lblGerarArquivo, "BTNGERARARQUIVO");
    destaque(lblEnviarEmail, "BTNENVIAREMAIL");
    destaque(lblTipoAplicacaoA, "_TIPOAPLICACAOA");
    destaque(lblAplicacaoProdutoA, "_APLICACAOPRODUTOA");
    destaque(lblFabricanteA, "_FABRICANTEA");
    destaque(lblNumeroEmpresaC, "_NUMEROEMPRESAC");
    destaque(lblDescricaoC, "_DESCRICAOC");
    destaque(lblTipoAplicacaoM, "_TIPOAPLICACAOM");
    destaque(lblDescricaoM, "_DESCRICAOM");
    destaque(lblLancamentoM, "_LANCAMENTOM");
    destaque(lblVerificarAtualizacoesAuto, "_VERIFICACAOAUTO");
    for (int i : {0, 1}) {
        destaque(&(*imgVerificarAtualizacoesAuto)(i), "_VERIFICACAOAUTO");
        (*imgVerificarAtualizacoesAuto)(i).Click = evento([this] { lblVerificarAtualizacoesAuto_Click(); });
    }
    lblTipoAplicacaoA->Click = evento([this] { AtualizaGridAplicacoesProduto(0, "1", true); });
    lblAplicacaoProdutoA->Click = evento([this] { AtualizaGridAplicacoesProduto(0, "2", true); });
    lblFabricanteA->Click = evento([this] { AtualizaGridAplicacoesProduto(0, "3", true); });
    lblNumeroEmpresaC->Click = evento([this] { AtualizaGridCarrinho(0, 0, "1", false, true); });
    lblDescricaoC->Click = evento([this] { AtualizaGridCarrinho(0, 0, "2", false, true); });
    lblTipoAplicacaoM->Click = evento([this] { AtualizaGridAplicacoesGrupo(0, 0, 0, "1", true); });
    lblDescricaoM->Click = evento([this] { AtualizaGridAplicacoesGrupo(0, 0, 0, "2", true); });
    lblLancamentoM->Click = evento([this] { AtualizaGridAplicacoesGrupo(0, 0, 0, "3", true); });
    lblVerificarAtualizacoesAuto->Click = evento([this] { lblVerificarAtualizacoesAuto_Click(); });
    txtDescricaoAplicacaoM->Change = [this] { txtDescricaoAplicacaoM_Change(); };
    txtObservacao->MouseMove = [this](int, int, float, float) { vb::RunEvent([this] { DestacaControle("FORM"); }); };
    for (int i : {0, 1, 2, 3, 5, 6}) {
        vb::PictureBox& p = (*pctTela)(i);
        p.MouseMove = [this](int b, int s, float x, float y) { vb::RunEvent([=, this] { Form_MouseMove(b, s, x, y); }); };
        p.GotFocus = evento([this] { FocaObservacao(); });
    }
    grdTHGrid1->ImageClick = [this](std::uint8_t coluna, const MarcadorLinha&, int botao) {
        vb::RunEvent([=, this] { grdTHGrid1_ImageClick(coluna, botao); });
    };
    grdTHGrid1->DblClick = evento([this] { grdTHGrid1_DblClick(); });
    grdTHGrid1->RowColChange = [this](const MarcadorLinha& anterior, int) {
        vb::RunEvent([this, anterior] { grdTHGrid1_RowColChange(anterior); });
    };
    grdTHGrid1->MouseMove = [this](int, int, float, float) { vb::RunEvent([this] { grdTHGrid1_MouseMove(); }); };
    cboTHCombo2->SelecaoAlterada = evento([this] { cboTHCombo2_SelecaoAlterada(); });
    cboTHCombo2->MouseMove = [this](int, int, float, float) { vb::RunEvent([this] { cboTHCombo2_MouseMove(); }); };
}

void frmZornak2Form::Form_Load() {
    PrimeiraAtivacao = true;
    ChaveSelecaoAtual = "FORM";
    TrocandoTela = false;
    OrdemAplicacoesProduto = OrdemCarrinho = OrdemAplicacoesGrupo = "1";
    CodigoAplicacaoAnterior = 0;
    AcaoPendente.clear();
    HistoricoTelas.clear();
    grdTHGrid1->ZOrder(0);
    cboTHCombo2->ZOrder(0);
    const std::string catalogo = EstadoPrograma.CaminhoDados + ArquivoBancoCatalogo;
    for (dao::DataControl* dc : {&dtcTHGrid1, &dtcTHCombo2}) {
        dc->SetDatabaseName(catalogo);
        dc->SetConnect(";pwd=" + ObtemSenhaBancoDados());
    }
    grdTHGrid1->mTextGridVazio = Traduz(5);
    PosicionaControles();
    // Nothing of the main window stays lit under this window: the pointer is over it now.
    if (Ligacoes().ApagaDestaquePrincipal) Ligacoes().ApagaDestaquePrincipal();

    // Over the main window's content area, kept on the screen with 40 px free at its bottom.
    QRect r;
    if (Ligacoes().AreaDesenhoPrincipal) {
        r = Ligacoes().AreaDesenhoPrincipal();
    } else if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect g = tela->geometry();
        r = QRect(g.x() + (g.width() - 800) / 2, g.y() + (g.height() - 600) / 2, 800, 600);
    }
    const long tppX = ConvertePixelsParaTwips(1, "W"), tppY = ConvertePixelsParaTwips(1, "H");
    const long larguraTela = vb::Screen().Width() / tppX, alturaTela = vb::Screen().Height() / tppY;
    int esquerda = r.left(), topo = r.top();
    if (larguraTela < esquerda + 91 + LarguraJanela) esquerda = static_cast<int>(larguraTela) - 91 - LarguraJanela;
    if (esquerda + 91 < 0) esquerda = -91;
    if (alturaTela < topo + 139 + AlturaJanela + 40) topo = static_cast<int>(alturaTela) - 139 - AlturaJanela - 40;
    if (topo + 139 < 0) topo = -139;
    Move(esquerda + 91, topo + 139, LarguraJanela, AlturaJanela);

    SetRegion(CriaRegiaoJanela());
    ConfiguraLegendasBotoes();
    if (EstadoPrograma.RodaMouseAtiva) {
        if (Ligacoes().SubClassing) Ligacoes().SubClassing(false);
        JanelaRodaMouse = this;
        if (Ligacoes().SubClassing) Ligacoes().SubClassing(true);
    }
}

void frmZornak2Form::Form_Activate() {
    // Later activations (after a message box) must not rebuild the screen.
    if (!PrimeiraAtivacao) return;
    PrimeiraAtivacao = false;
    const std::string requisicao = EstadoPrograma.RequisicaoTela;
    EstadoPrograma.RequisicaoTela.clear();
    HistoricoTelas = vb::Left(requisicao, 1);
    ExibeTela(200, requisicao);
    vb::Screen().SetMousePointer(vb::vbDefault);
}

void frmZornak2Form::Form_Unload(int&) {
    tmrAux->SetEnabled(false);
    if (EstadoPrograma.RodaMouseAtiva) {
        if (Ligacoes().SubClassing) Ligacoes().SubClassing(false);
        JanelaRodaMouse = Ligacoes().JanelaPrincipal ? Ligacoes().JanelaPrincipal() : nullptr;
        if (Ligacoes().SubClassing) Ligacoes().SubClassing(true);
    }
    RegistraListasRoda(false);
}

std::uint8_t frmZornak2Form::TelaAtual() const {
    if (HistoricoTelas.empty()) return 255;
    const char c = HistoricoTelas.back();
    return c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0') : 255;
}

void frmZornak2Form::ExibeTela(std::uint8_t telaSaindo, const std::string& requisicao) {
    TrocandoTela = true;
    struct Fim {
        bool& f;
        ~Fim() { f = false; }
    } fim{TrocandoTela};
    switch (telaSaindo) {
    case 0: SaiTelaObservacao(); break;
    case 1: SaiTelaAplicacoesProduto(); break;
    case 2: SaiTelaCarrinho(); break;
    case 3: SaiTelaPrincipal(); break;
    default: break;
    }
    const std::vector<std::string> v = vb::Split(requisicao, "|");
    const std::string modo = Campo(v, 0);
    // One digit only: a longer number would not fit the conversion to a screen index.
    if (modo.size() == 1 && vb::IsNumeric(modo) && pctTela->Exists(static_cast<int>(vb::Val(modo))))
        (*pctTela)(static_cast<int>(vb::Val(modo))).SetTag(requisicao);
    if (modo == "0") {
        ExibeTelaObservacao(Campo(v, 1), vb::CLng(Campo(v, 2)), "");
    } else if (modo == "1") {
        ExibeTelaAplicacoesProduto(vb::CLng(Campo(v, 1)), vb::CLng(Campo(v, 2)));
    } else if (modo == "2") {
        ExibeTelaCarrinho(vb::CLng(Campo(v, 1)));
    } else if (modo == "3") {
        ExibeTelaPrincipal(vb::CByte(Campo(v, 1)), vb::CInt(Campo(v, 2)), vb::CLng(Campo(v, 3)),
                           vb::CByte(Campo(v, 4)), Campo(v, 5), vb::CByte(Campo(v, 6)), Campo(v, 7),
                           vb::CByte(Campo(v, 8)), vb::CByte(Campo(v, 9)));
    } else if (modo == "5") {
        ExibeTelaConfiguracoes();
    } else if (modo == "6") {
        ExibeTelaAtualizacao(vb::CInt(Campo(v, 1)), vb::CInt(Campo(v, 2)));
    }
}

void frmZornak2Form::lblVoltar_Click() {
    if (HistoricoTelas.size() > 1) {
        vb::Screen().SetMousePointer(vb::vbHourglass);
        const auto saindo = static_cast<std::uint8_t>(HistoricoTelas.back() - '0');
        HistoricoTelas.pop_back();
        const int anterior = HistoricoTelas.back() - '0';
        try {
            ExibeTela(saindo, (*pctTela)(anterior).Tag());
        } catch (...) {
            vb::Screen().SetMousePointer(vb::vbDefault);
            throw;
        }
        vb::Screen().SetMousePointer(vb::vbDefault);
        return;
    }
    // Qt windows cannot shrink to nothing; hiding first avoids the flash the same way.
    Hide();
    vb::DoEvents();
    Unload();
}

void frmZornak2Form::tmrAux_Timer() {
    tmrAux->SetEnabled(false);
    if (AcaoPendente == "VOLTAR") {
        AcaoPendente.clear();
        vb::DoEvents();
        if (IsLoaded()) lblVoltar_Click();
    }
}

void frmZornak2Form::ConfiguraLegendasBotoes() {
    SetCaption(ObtemTituloAplicacao());
    grdTHGrid1->mTextGridVazio = Traduz(5);
    const struct {
        vb::Label* rotulo;
        long mensagem;
        const char* dica;
    } botoes[] = {{lblVoltar, 58, " <ESC>"},
                  {lblOk, 84, " <ENTER>"},
                  {lblImprimir, 57, " <CTRL+P>"},
                  {lblGerarArquivo, 85, " <CTRL+S>"},
                  {lblEnviarEmail, 86, " <CTRL+E>"}};
    for (const auto& b : botoes) {
        b.rotulo->SetCaption(vb::UCase(Traduz(b.mensagem)));
        b.rotulo->SetToolTipText(Traduz(b.mensagem) + b.dica);
    }
}

void frmZornak2Form::ObtemControleDestaque(const std::string& chave, vb::Control*& controle) {
    const std::map<std::string, vb::Control*> tabela = {
        {"BTNVOLTAR", imgBtnVoltarSel},
        {"BTNOK", imgBtnOkSel},
        {"BTNIMPRIMIR", imgBtnImprimirSel},
        {"BTNGERARARQUIVO", imgBtnGerarArquivoSel},
        {"BTNENVIAREMAIL", imgBtnEnviarEmailSel},
        {"_TIPOAPLICACAOA", lblTipoAplicacaoA},
        {"_APLICACAOPRODUTOA", lblAplicacaoProdutoA},
        {"_FABRICANTEA", lblFabricanteA},
        {"_NUMEROEMPRESAC", lblNumeroEmpresaC},
        {"_DESCRICAOC", lblDescricaoC},
        {"_TIPOAPLICACAOM", lblTipoAplicacaoM},
        {"_DESCRICAOM", lblDescricaoM},
        {"_VERIFICACAOAUTO", lblVerificarAtualizacoesAuto},
        {"_LANCAMENTOM", lblLancamentoM},
        {">THGRID1", grdTHGrid1},
        {">THCOMBO2", cboTHCombo2},
    };
    const auto it = tabela.find(chave);
    if (it != tabela.end()) controle = it->second;
}

void frmZornak2Form::DestacaControle(const std::string& chave) {
    if (chave == ChaveSelecaoAtual) return;
    auto aplica = [this](const std::string& k, bool liga) {
        vb::Control* c = nullptr;
        ObtemControleDestaque(k, c);
        if (!c) return;
        if (k[0] == '_') {
            c->SetFontUnderline(liga);
        } else if (k[0] == '>') {
            if (liga) return;
            if (c == grdTHGrid1) grdTHGrid1->ApagaSelecao();
            if (c == cboTHCombo2) cboTHCombo2->ApagaSelecao();
        } else {
            c->SetVisible(liga);
        }
    };
    // The new highlight shows before the old one goes, so nothing flickers in between.
    if (chave != "FORM") aplica(chave, true);
    if (ChaveSelecaoAtual != "FORM") aplica(ChaveSelecaoAtual, false);
    ChaveSelecaoAtual = chave;
}

void frmZornak2Form::FocaObservacao() {
    if (TelaAtual() != 0) return;
    IgnoraFalha([&] { txtObservacao->SetFocus(); });
}

void frmZornak2Form::grdTHGrid1_MouseMove() {
    DestacaControle(">THGRID1");
    DefineAlvoRodaMouse("TEL_GRID1");
}

void frmZornak2Form::cboTHCombo2_MouseMove() {
    DestacaControle(">THCOMBO2");
    DefineAlvoRodaMouse("TEL_COMBO2");
}

void frmZornak2Form::Form_MouseMove(int Button, int, float, float) {
    DestacaControle("FORM");
    if (Button == vb::vbLeftButton && Window()) {
        // The borderless window follows the mouse as if its caption were dragged.
        if (QWindow* w = Window()->windowHandle()) w->startSystemMove();
    }
}

void frmZornak2Form::Form_KeyDown(int& KeyCode, int Shift) {
    vb::Control* ativo = ActiveControl();
    const bool caixa = ativo && (ativo->Kind() == vb::ControlKind::TextBox || ativo->Kind() == vb::ControlKind::PictureBox);
    const bool grade = ativo && ativo->TypeName() == "THGrid";
    const bool combo = ativo && ativo->TypeName() == "THCombo";
    const bool ctrl = (Shift & vb::vbCtrlMask) != 0;
    switch (KeyCode) {
    case vb::vbKeyDown:
    case vb::vbKeyUp:
    case vb::vbKeyPageDown:
    case vb::vbKeyPageUp: {
        if (!caixa || !grdTHGrid1->Visible() || TrocandoTela) return;
        static const std::map<int, std::string> teclas = {
            {vb::vbKeyDown, "{DOWN}"}, {vb::vbKeyUp, "{UP}"}, {vb::vbKeyPageDown, "{PGDN}"}, {vb::vbKeyPageUp, "{PGUP}"}};
        const std::string tecla = teclas.at(KeyCode);
        KeyCode = 0;
        // The list scrolls while the text box keeps the focus.
        try {
            grdTHGrid1->SetFocus();
            vb::SendKeys(tecla, true);
            ativo->SetFocus();
        } catch (...) {
        }
        return;
    }
    case vb::vbKeyDelete:
        if (grade && !TrocandoTela && TelaAtual() == 2) KeyCode = 0;   // the row goes at the key's release
        return;
    case vb::vbKeyP:
        if (ctrl && lblImprimir->Visible()) {
            KeyCode = 0;
            lblImprimir_Click();
        }
        return;
    case 83:   // S
        if (ctrl && lblGerarArquivo->Visible()) {
            KeyCode = 0;
            lblGerarArquivo_Click();
        }
        return;
    case 69:   // E
        if (ctrl && lblEnviarEmail->Visible()) {
            KeyCode = 0;
            lblEnviarEmail_Click();
        }
        return;
    case vb::vbKeyF1:
        AbreAjuda(TelaAtual(), true, false);
        return;
    case vb::vbKeyF3:
    case vb::vbKeyF4:
        if (TelaAtual() != 3 || combo || TrocandoTela) return;
        {
            // The release column, when shown, comes before the figure and the list pictures.
            const int desvio = lblLancamentoM->Tag() == "1" ? 1 : 0;
            const auto coluna = static_cast<std::uint8_t>((KeyCode == vb::vbKeyF3 ? 0 : 1) + desvio);
            KeyCode = 0;
            grdTHGrid1_ImageClick(coluna, vb::vbLeftButton);
        }
        return;
    default:
        return;
    }
}

void frmZornak2Form::Form_KeyPress(int& KeyAscii) {
    vb::Control* ativo = ActiveControl();
    const bool combo = ativo && ativo->TypeName() == "THCombo";
    const bool grade = ativo && ativo->TypeName() == "THGrid";
    if (KeyAscii == vb::vbKeyEscape) {
        if (combo || TrocandoTela) return;
        if (lblVoltar->Visible()) {
            KeyAscii = 0;
            lblVoltar_Click();
        }
    } else if (KeyAscii == vb::vbKeyReturn) {
        if (combo || TrocandoTela) return;
        if (TelaAtual() == 3) {
            KeyAscii = 0;
            grdTHGrid1_ImageClick(static_cast<std::uint8_t>(lblLancamentoM->Tag() == "1" ? 2 : 1), vb::vbLeftButton);
        } else if (TelaAtual() == 5) {
            KeyAscii = 0;
            lblOk_Click();
        }
    } else if (KeyAscii == '+' || KeyAscii == '-') {
        if (grade && !TrocandoTela && TelaAtual() == 2)
            grdTHGrid1_ImageClick(static_cast<std::uint8_t>(KeyAscii == '+' ? 0 : 1), vb::vbLeftButton);
    }
}

void frmZornak2Form::Form_KeyUp(int& KeyCode, int) {
    if (KeyCode != vb::vbKeyDelete) return;
    vb::Control* ativo = ActiveControl();
    if (ativo && ativo->TypeName() == "THGrid" && !TrocandoTela && TelaAtual() == 2)
        grdTHGrid1_ImageClick(2, vb::vbLeftButton);
}

void frmZornak2Form::PosicionaControles() {
    imgFundo->Move(0, 0, LarguraJanela, AlturaJanela);
    imgTitulo->Move(31, 30, 154, 17);
    lblSubTitulo->Move(31, 62, 358, 12);
    for (int i : {0, 1, 2, 3, 5, 6}) (*pctTela)(i).Move(13, 84, 589, 265);
    imgRodapeEsq->Move(12, 363, 318, 15);
    imgRodapeDir->Move(384, 363, 218, 15);
    lblImprimir->Move(25, 365, 69, 14);
    imgBtnImprimir->Move(21, 363, 81, 15);
    imgBtnImprimirSel->Move(19, 363, 81, 15);
    lblGerarArquivo->Move(110, 365, 104, 14);
    imgBtnGerarArquivo->Move(104, 363, 116, 15);
    imgBtnGerarArquivoSel->Move(104, 363, 116, 15);
    lblEnviarEmail->Move(230, 365, 82, 14);
    imgBtnEnviarEmail->Move(224, 363, 95, 15);
    imgBtnEnviarEmailSel->Move(224, 363, 95, 15);
    lblOk->Move(405, 365, 80, 14);
    imgBtnOk->Move(405, 363, 81, 15);
    imgBtnOkSel->Move(405, 363, 81, 15);
    lblVoltar->Move(506, 365, 80, 14);
    imgBtnVoltar->Move(506, 363, 81, 15);
    imgBtnVoltarSel->Move(506, 363, 81, 15);

    // Screen 0.
    txtObservacao->Move(45, 20, 500, 226);
    // Screen 1: the headers over the grid's columns (the grid sits at 18, 37 of the screen).
    lblTipoAplicacaoA->Move(20, 18, 115, 15);
    lblAplicacaoProdutoA->Move(139, 18, 295, 15);
    lblFabricanteA->Move(440, 18, 120, 15);
    // Screen 2: the description's header ends where the right-aligned quantity's begins.
    lblNumeroEmpresaC->Move(20, 18, 95, 15);
    lblDescricaoC->Move(119, 18, 293, 15);
    lblQtdC->Move(412, 18, 56, 15);
    lblMaisC->Move(477, 18, 28, 15);
    lblMenosC->Move(507, 18, 28, 15);
    lblXC->Move(538, 18, 28, 15);
    (*lblNroReferenciaC)(0).Move(18, 200, 110, 15);
    (*lblNroReferenciaC)(1).Move(130, 200, 440, 45);
    // Screen 3: headers, then the type combo and the filter box under them, then the grid.
    lblTipoAplicacaoM->Move(20, 24, 140, 15);
    lblDescricaoM->Move(169, 24, 250, 15);
    // From the shortened description header (409) to FIG: room for "Lanzamiento".
    lblLancamentoM->Move(412, 24, 68, 15);
    lblFigM->Move(480, 24, 40, 15);
    lblListaM->Move(520, 24, 40, 15);
    txtDescricaoAplicacaoM->Move(166, 42, 301, 19);
    (*lblVeiculosM)(0).Move(18, 200, 70, 15);
    (*lblVeiculosM)(1).Move(90, 200, 480, 45);
    // Screen 5.
    for (int i : {0, 1}) (*imgVerificarAtualizacoesAuto)(i).Move(36, 30, 18, 17);
    lblVerificarAtualizacoesAuto->Move(58, 31, 307, 17);
    lblAutenticacaoProxy->Move(43, 71, 195, 15);
    lblUsuario->Move(57, 101, 70, 15);
    txtUsuario->Move(129, 99, 145, 21);
    lblSenha->Move(57, 131, 70, 15);
    txtSenha->Move(129, 129, 145, 21);
}

bool frmZornak2Form::ListaVazia() const {
    return !TemLinhaAtual(dtcTHGrid1);
}

void frmZornak2Form::grdTHGrid1_ImageClick(std::uint8_t coluna, int botao) {
    switch (TelaAtual()) {
    case 2: CarrinhoImageClick(coluna, botao); break;
    case 3: GrupoImageClick(coluna); break;
    default: break;
    }
}

void frmZornak2Form::grdTHGrid1_DblClick() {
    if (TelaAtual() == 3 && !ListaVazia()) RetornaAplicacaoSelecionada(3);
}

void frmZornak2Form::grdTHGrid1_RowColChange(const MarcadorLinha& linhaAnterior) {
    const std::uint8_t tela = TelaAtual();
    if (tela != 2 && tela != 3) return;
    if (!PosicionaGrid(dtcTHGrid1, *grdTHGrid1, linhaAnterior)) return;
    if (tela == 2) ExibeReferenciasProduto();
    else ExibeVeiculosAplicacao();
}

void frmZornak2Form::cboTHCombo2_SelecaoAlterada() {
    vb::DoEvents();
    if (TelaAtual() == 3) AtualizaGridAplicacoesGrupo(0, 0, 0, OrdemAplicacoesGrupo, true);
}

void frmZornak2Form::txtDescricaoAplicacaoM_Change() {
    if (TrocandoTela) return;
    vb::RunEvent([this] { AtualizaGridAplicacoesGrupo(0, 0, 0, "2", true); });
}
