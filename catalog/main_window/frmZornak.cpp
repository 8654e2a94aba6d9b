// The main window's construction and its own events: load, first activation, keyboard,
// mouse move, resize and unload.
#include "catalog/main_window/frmZornak.h"

#include "catalog/main_window/frmZornak_layout.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "catalog/startup/frmCreditos.h"
#include "common/modTraducao.h"
#include "platform/forms/App.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/forms/Screen.h"
#include "platform/forms/UserControl.h"
#include "platform/os/Folders.h"
#include "platform/vb/Err.h"

#include <QProcess>
#include <QWidget>
#include <QStringList>

#include <set>

namespace {

frmZornakForm::FabricaTelas& Fabrica() {
    static frmZornakForm::FabricaTelas fabrica;
    return fabrica;
}

// The window's own update check (tests put others in its place).
class VerificacaoPrograma : public IVerificacaoAtualizacoes {
public:
    explicit VerificacaoPrograma(frmZornakForm& janela) : janela_(janela) {}
    void Inicia(bool automatica) override { janela_.IniciaVerificacaoAtualizacoes(automatica); }
    bool EmAndamento() const override { return janela_.VerificacaoAtualizacoesEmAndamento(); }
    void Encerra() override { janela_.EncerraVerificacaoAtualizacoes(); }

private:
    frmZornakForm& janela_;
};

// Controls hidden at design: the hover images, the current-language markers, the
// templates of the arrays the screens fill, the footer's screen-dependent buttons (back,
// print and the logos, which only the list and figure screens show), the notice and the
// scratch controls. The screen panels wait for their builders.
bool OcultoNoDesenho(const std::string& nome) {
    static const std::set<std::string> ocultos = {
        "imgIdiomaP", "imgIdiomaE", "imgIdiomaI", "imgBtnPagF", "imgBtnPagFSel", "lblPagF",
        "imgLegendaLancamento", "lblImprimir", "imgBtnImprimir", "lblInicio", "imgBtnInicio", "imgLogo",
        "pctTmp", "imgAuxFigura",
        "lblFabricanteM", "lblGrupoM", "imgLancM", "lblDataLancM", "imgPopUp", "lblLinkPopUp",
        "lblFecharPopUp", "pctTela"};
    if (ocultos.count(nome)) return true;
    return nome.size() > 3 && nome.compare(nome.size() - 3, 3, "Sel") == 0;
}

std::string Prefixo(const std::string& nome) { return nome.substr(0, 3); }

template <class T>
vb::ControlArray<T>* NovoArranjo(std::vector<std::shared_ptr<void>>& donos, const std::string& nome,
                                 std::function<vb::Container&(int)> onde) {
    auto arranjo = std::make_shared<vb::ControlArray<T>>(
        nome, [nome, onde](int indice) { return std::make_unique<T>(onde(indice), nome, indice); });
    vb::ControlArray<T>* resultado = arranjo.get();
    donos.push_back(std::move(arranjo));
    return resultado;
}

}  // namespace

// --------------------------------------------------------------------------- the window

frmZornakForm::frmZornakForm() : vb::Form("frmZornak") {
    SetKeyPreview(true);
    verificacao_ = std::make_unique<VerificacaoPrograma>(*this);
}

frmZornakForm::~frmZornakForm() {
    // The wheel hook names this object, the wheel's targets its lists; neither may outlive them.
    try {
        RemoveSubClassing();
    } catch (...) {
    }
    if (IsLoaded()) RegistraListasRoda(false);
}

void frmZornakForm::RegistraListasRoda(bool registra) {
    RegistraListaRoda("CAT_GRID1", registra ? grdTHGrid1 : nullptr);
    RegistraListaRoda("CAT_GRID2", registra ? grdTHGrid2 : nullptr);
    RegistraListaRoda("CAT_COMBO1", registra ? cboTHCombo1 : nullptr);
    RegistraListaRoda("CAT_COMBO2", registra ? cboTHCombo2 : nullptr);
}

void frmZornakForm::DefineFabricaTelas(FabricaTelas fabrica) { Fabrica() = std::move(fabrica); }

vb::Container& frmZornakForm::ContainerDe(const std::string& nome, int indice) {
    if (nome == "window") return *this;
    vb::Control* c = Controle(nome, indice);
    auto* container = dynamic_cast<vb::Container*>(c);
    if (!container) vb::Raise(vb::err::ObjectRequired, "No container " + nome);
    return *container;
}

vb::Shape& frmZornakForm::Moldura(const std::string& nome, int indice) {
    auto* s = dynamic_cast<vb::Shape*>(Controle(nome, indice));
    if (!s) vb::Raise(vb::err::ObjectRequired, "The window has no frame " + nome + "(" + std::to_string(indice) + ")");
    s->SetBorderColor(vb::RGB(0xC8, 0xC8, 0xC8));
    return *s;
}

vb::Control* frmZornakForm::Controle(const std::string& nome, int indice) const {
    auto it = controles_.find({nome, indice});
    if (it != controles_.end()) return it->second;
    // A control the screens made themselves: looked up among the window's widgets.
    QWidget* janela = Window();
    if (!janela) return nullptr;
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        vb::Control* c = vb::ControlOf(w);
        if (c && c->Name() == nome && c->Index() == indice) return c;
    }
    return nullptr;
}

vb::Image& frmZornakForm::Img(const std::string& nome, int indice) const {
    auto* c = dynamic_cast<vb::Image*>(Controle(nome, indice));
    if (!c) vb::Raise(vb::err::ObjectRequired, "No image " + nome);
    return *c;
}

vb::Label& frmZornakForm::Lbl(const std::string& nome, int indice) const {
    auto* c = dynamic_cast<vb::Label*>(Controle(nome, indice));
    if (!c) vb::Raise(vb::err::ObjectRequired, "No label " + nome);
    return *c;
}

void frmZornakForm::Build() {
    arranjos_.clear();
    arranjosPorNome_.clear();
    controles_.clear();
    SetBackColor(vb::vbWhite);
    CriaControles();
    LigaEventos();
    LigaEventosTelas();
    if (Fabrica()) telas_ = Fabrica()(*this);
    else telas_ = std::make_unique<TelasCatalogo>(*this);
    CompletaControlesTelas();
}

void frmZornakForm::CriaControles() {
    using frmZornakLayout::TabelaLinhas;
    using frmZornakLayout::TabelaPosicoes;
    // Where each array element lies, from the layout; an element the layout does not
    // place (element 0 of some arrays) lies with the array's first placed one.
    std::map<std::string, std::map<int, std::pair<std::string, int>>> onde;
    for (const auto& p : TabelaPosicoes())
        if (p.indice >= 0) onde[p.controle][p.indice] = {p.container, p.indiceContainer};
    for (const auto& l : TabelaLinhas())
        if (l.indice >= 0) onde[l.controle][l.indice] = {l.container, l.indiceContainer};

    auto lugar = [this, onde](const std::string& nome) {
        return [this, lugares = onde.at(nome)](int indice) -> vb::Container& {
            auto it = lugares.find(indice);
            const auto& o = it != lugares.end() ? it->second : lugares.begin()->second;
            return ContainerDe(o.first, o.second);
        };
    };

    auto cria = [&](const std::string& nome, int indice, const std::string& container, int indiceContainer) {
        if (Controle(nome, indice)) return;
        const std::string tipo = Prefixo(nome);
        vb::Control* c = nullptr;
        if (indice < 0) {
            vb::Container& pai = ContainerDe(container, indiceContainer);
            if (tipo == "pct") c = New<vb::PictureBox>(pai, nome);
            else if (tipo == "img") c = New<vb::Image>(pai, nome);
            else if (tipo == "lbl") c = New<vb::Label>(pai, nome);
            else if (tipo == "shp") c = New<vb::Shape>(pai, nome);
            else if (tipo == "lin") c = New<vb::Line>(pai, nome);
            else vb::Raise(vb::err::ObjectRequired, "Unknown control kind " + nome);
            if (OcultoNoDesenho(nome)) c->SetVisible(false);
            controles_[{nome, -1}] = c;
            return;
        }
        auto acrescenta = [&](auto* arranjo) {
            if (!arranjo->Exists(indice)) arranjo->Load(indice);
            auto& elemento = (*arranjo)(indice);
            elemento.SetVisible(!OcultoNoDesenho(nome));
            controles_[{nome, indice}] = &elemento;
        };
        auto garante = [&](auto tag) {
            using T = typename decltype(tag)::type;
            auto* arranjo = Arranjo<T>(nome);
            if (!arranjo) {
                arranjo = NovoArranjo<T>(arranjos_, nome, lugar(nome));
                arranjosPorNome_[nome] = arranjo;
                // Element 0 comes with the array; hidden until the layout places it.
                (*arranjo)(0).SetVisible(false);
            }
            acrescenta(arranjo);
        };
        if (tipo == "pct") garante(std::type_identity<vb::PictureBox>{});
        else if (tipo == "img") garante(std::type_identity<vb::Image>{});
        else if (tipo == "lbl") garante(std::type_identity<vb::Label>{});
        else if (tipo == "shp") garante(std::type_identity<vb::Shape>{});
        else if (tipo == "lin") garante(std::type_identity<vb::Line>{});
        else vb::Raise(vb::err::ObjectRequired, "Unknown control kind " + nome);
    };

    for (const auto& p : TabelaPosicoes()) cria(p.controle, p.indice, p.container, p.indiceContainer);
    for (const auto& l : TabelaLinhas()) cria(l.controle, l.indice, l.container, l.indiceContainer);

    pctBase = dynamic_cast<vb::PictureBox*>(Controle("pctBase"));
    pctTela = Arranjo<vb::PictureBox>("pctTela");
    pctOrelha = Arranjo<vb::PictureBox>("pctOrelha");
    imgOrelha0 = Arranjo<vb::Image>("imgOrelha0");
    imgOrelha1 = Arranjo<vb::Image>("imgOrelha1");
    pctTmp = dynamic_cast<vb::PictureBox*>(Controle("pctTmp"));
    imgFundoTela = &Img("imgFundoTela");
    lblSair = &Lbl("lblSair");
    lblInicio = &Lbl("lblInicio");
    lblImprimir = &Lbl("lblImprimir");
    lblVerificarAtualizacoes = &Lbl("lblVerificarAtualizacoes");
    lblConfiguracoes = &Lbl("lblConfiguracoes");
    lblUltimaAtualizacao = &Lbl("lblUltimaAtualizacao");

    // The release header of the set list: its tag tells the keyboard whether the list
    // shows the release icon column. The list screen places and shows it.
    lblLancamentoLC = New<vb::Label>((*pctTela)(3), "lblLancamentoLC");
    lblLancamentoLC->SetVisible(false);
    controles_[{"lblLancamentoLC", -1}] = lblLancamentoLC;

    // The list controls: placed and shown by the screens that use them.
    grdTHGrid1 = New<THGrid>(*pctBase, "grdTHGrid1");
    grdTHGrid2 = New<THGrid>(*pctBase, "grdTHGrid2");
    cboTHCombo1 = New<THCombo>(*pctBase, "cboTHCombo1");
    cboTHCombo2 = New<THCombo>(*pctBase, "cboTHCombo2");
    for (vb::Control* lista : std::initializer_list<vb::Control*>{grdTHGrid1, grdTHGrid2, cboTHCombo1, cboTHCombo2})
        lista->SetVisible(false);
    RegistraListasRoda(true);
    CriaControlesTelas();
    CriaTemporizadoresVerificacao();

    // Looks of the design: picture boxes without borders on white, the design pictures,
    // transparent labels in the design's fonts.
    for (auto& [chave, c] : controles_) {
        const auto& [nome, indice] = chave;
        const std::string recurso = "frmZornak." + nome + (indice >= 0 ? std::to_string(indice) : "");
        if (auto* pct = dynamic_cast<vb::PictureBox*>(c)) {
            pct->SetBorderStyle(0);
            pct->SetBackColor(vb::vbWhite);
            pct->SetAutoRedraw(true);
            try {
                pct->SetPicture(CarregaImagemRecurso(recurso, "D"));
            } catch (const vb::Error&) {
            }
        } else if (auto* img = dynamic_cast<vb::Image*>(c)) {
            try {
                img->SetPicture(CarregaImagemRecurso(recurso, "D"));
            } catch (const vb::Error&) {
            }
        } else if (auto* lbl = dynamic_cast<vb::Label*>(c)) {
            lbl->SetBackStyle(0);
            lbl->SetFont("Arial", 8);
            lbl->SetForeColor(vb::RGB(0x33, 0x33, 0x33));
        }
    }
    // The hover pictures of the frame's buttons only show: the pointer, its presses and the
    // tooltip stay with the button under them.
    for (const char* realce : {"imgBtnIdiomaPSel", "imgBtnIdiomaESel", "imgBtnIdiomaISel", "imgSiteZornakSel",
                               "imgCarrinhoSel", "imgAjudaSel", "imgMinimizarSel", "imgBtnVerificarAtualizacoesSel",
                               "imgBtnConfiguracoesSel", "imgBtnImprimirSel", "imgBtnInicioSel", "imgBtnSairSel"})
        Img(realce).SetDisplayOnly(true);
    for (vb::Label* l : {lblUltimaAtualizacao, lblVerificarAtualizacoes, lblConfiguracoes}) {
        l->SetFont("Arial", 7.5, true);
        l->SetForeColor(vb::vbWhite);
    }
    lblUltimaAtualizacao->SetAlignment(vb::vbLeftJustify);
    for (vb::Label* l : {lblVerificarAtualizacoes, lblConfiguracoes, lblImprimir, lblInicio, lblSair, &Lbl("lblPagF", 0)}) {
        l->SetAlignment(vb::vbCenter);
        if (l != lblVerificarAtualizacoes && l != lblConfiguracoes) l->SetFont("Arial", 7.5, true);
        l->SetMousePointer(vb::vbArrow);
    }
    // A title (the application, its type and its maker) is longer than its design width: it
    // reaches along the title strip under it and breaks at a word there (MostraTitulo).
    for (const char* t : {"lblTituloL", "lblTituloF"}) {
        Lbl(t).SetFont("Arial", 9, true);
        Lbl(t).SetForeColor(vb::RGB(0xC8, 0x10, 0x2E));
        Lbl(t).SetWordWrap(true);
    }
    pctTmp->SetAutoSize(true);
    // The home screen's grid of 3 x 4 cells.
    auto& base = dynamic_cast<vb::Shape&>(*Controle("shpBaseM"));
    base.SetBorderColor(vb::RGB(0xC8, 0xC8, 0xC8));
    for (const auto& l : frmZornakLayout::TabelaLinhas())
        dynamic_cast<vb::Line&>(*Controle(l.controle, l.indice)).SetBorderColor(vb::RGB(0xC8, 0xC8, 0xC8));
}

void frmZornakForm::LigaEventos() {
    lblSair->Click = [this] { lblSair_Click(); };
    lblInicio->Click = [this] { lblInicio_Click(); };
    lblImprimir->Click = [this] { lblImprimir_Click(); };
    lblVerificarAtualizacoes->Click = [this] { lblVerificarAtualizacoes_Click(); };
    lblConfiguracoes->Click = [this] { lblConfiguracoes_Click(); };
    Img("imgCarrinho").Click = [this] { imgCarrinho_Click(); };
    Img("imgAjuda").Click = [this] { imgAjuda_Click(); };
    Img("imgMinimizar").Click = [this] { imgMinimizar_Click(); };
    Arranjo<vb::Image>("imgLogo")->SetHandlers([this](vb::Image& i) { i.Click = [this] { lblInicio_Click(); }; });
    imgOrelha0->SetHandlers([this](vb::Image& i) {
        const int indice = i.Index();
        i.Click = [this, indice] { imgOrelha0_Click(indice); };
        i.MouseMove = [this, indice](int, int, float, float) { AtualizaSelecaoMouse(".IMGORELHA0" + std::to_string(indice)); };
    });
    imgOrelha1->SetHandlers([this](vb::Image& i) {
        const int indice = i.Index();
        i.Click = [this, indice] { imgOrelha1_Click(indice); };
        i.MouseMove = [this, indice](int, int, float, float) { AtualizaSelecaoMouse(".IMGORELHA1" + std::to_string(indice)); };
    });
    for (const char* idioma : {"P", "E", "I"}) {
        vb::Image& bandeira = Img(std::string("imgBtnIdioma") + idioma);
        const std::string letra = idioma;
        // The switch rebuilds the screen: not from inside a build that lets clicks run.
        bandeira.Click = [this, letra] {
            if (!m_TrocandoTela) AlteraIdioma(letra, false);
        };
        bandeira.MouseMove = [this, letra](int, int, float, float) { AtualizaSelecaoMouse("BTNIDIOMA" + letra); };
    }
    Lbl("lblFecharPopUp").Click = [this] {
        Img("imgPopUp").SetVisible(false);
        for (int i : Arranjo<vb::Label>("lblLinkPopUp")->Indices()) Lbl("lblLinkPopUp", i).SetVisible(false);
        Lbl("lblFecharPopUp").SetVisible(false);
    };

    // Hover keys of the frame.
    auto passa = [this](vb::Control& c, std::string chave) {
        c.MouseMove = [this, chave](int, int, float, float) { AtualizaSelecaoMouse(chave); };
    };
    passa(*pctBase, "FORM");
    for (int i : pctOrelha->Indices()) passa((*pctOrelha)(i), "FORM");
    for (int i : pctTela->Indices()) passa((*pctTela)(i), "FORM");
    (*pctTela)(4).MouseMove = [this](int, int, float, float) {
        AtualizaSelecaoMouse("FORM");
        telas_->RestauraItemSelecionado();
    };
    for (const char* n : {"lblTituloF", "lblTituloL", "lblUltimaAtualizacao"}) passa(Lbl(n), "FORM");
    passa(Img("imgAjuda"), "AJUDA");
    passa(*lblConfiguracoes, "BTNCONFIGURACOES");
    passa(*lblImprimir, "BTNIMPRIMIR");
    passa(*lblInicio, "BTNINICIO");
    passa(*lblSair, "BTNSAIR");
    passa(*lblVerificarAtualizacoes, "BTNVERIFICARATUALIZACOES");
    passa(Img("imgCarrinho"), "CARRINHO");
    passa(Img("imgMinimizar"), "MINIMIZAR");
    passa(Img("imgSiteZornak"), "SITEZORNAK");
}

void frmZornakForm::IniciaEstado() {
    m_ChaveSelecao = "FORM";
    m_PrimeiraAtivacao = true;
    m_TrocandoTela = false;
    m_VerificandoAtualizacao = false;
    m_BloqueioAtualizacao = false;
    m_TicksVerificacao = 0;
    m_ProcessoVerificacao = 0;
    m_UltimaVerificacao = 0;
    CodigoFabricanteRetorno = 0;
    CodigoGrupoProdutoRetorno = 0;
    CodigoAplicacaoRetorno = 0;
    CodigoTipoAplicacaoRetorno = 0;
    FiltroRetorno.clear();
    LinhaRetorno = 255;
    OrdemRetorno = "1";
    MarcaLancamentoRetorno = 0;
    m_JanelaSubclassificada = nullptr;
    EstadoPrograma.ChaveAlvoRoda.clear();
}

void frmZornakForm::Form_Load() {
    // The placement: its errors do not stop the window.
    try {
        const long largura = vb::Screen().Width(), altura = vb::Screen().Height();
        // Qt sizes the inner area; the window manager adds the caption around it.
        const auto tamanho = frmZornakLayout::TamanhoJanelaInicial(
            largura, altura, EstadoPrograma.TwipsPorPixelX, EstadoPrograma.TwipsPorPixelY, 0);
        Move(0, 0, tamanho.largura, tamanho.altura);
    } catch (...) {
    }
    try {
        AlteraIdioma(EstadoPrograma.Idioma, true);
        const std::string banco = EstadoPrograma.CaminhoDados + ArquivoBancoCatalogo;
        for (dao::DataControl* dtc : {&dtcTHGrid1, &dtcTHGrid2, &dtcTHCombo1, &dtcTHCombo2}) {
            dtc->SetDatabaseName(banco);
            dtc->SetConnect(";pwd=" + ObtemSenhaBancoDados());
            dtc->SetReadOnly(true);
        }
        grdTHGrid2->ZOrder(0);
        grdTHGrid1->ZOrder(0);
        cboTHCombo2->ZOrder(0);
        cboTHCombo1->ZOrder(0);
        IniciaEstado();
        // "NW.txt" holding "1" (a line end after it allowed) turns the wheel off.
        EstadoPrograma.RodaMouseAtiva = LeRodaMouseAtiva(EstadoPrograma.CaminhoDados);
        PosicionaControles();
        // The strips are drawn on at their placed size.
        for (int i : pctOrelha->Indices()) (*pctOrelha)(i).Cls();
        TraduzTelaPrincipal(true);
        ObtemCorFundoOrelha();
        m_HistoricoTelas = "0";
        TrocaTela(0, 200, "");
        if (EstadoPrograma.RodaMouseAtiva) {
            JanelaRodaMouse = this;
            SubClassing(true);
        }
    } catch (const vb::Error& e) {
        EncerraAposFalhaInicio(e.Number(), e.Description());
    } catch (const std::exception& e) {
        EncerraAposFalhaInicio(51, std::string("Internal error: ") + e.what());
    }
}

void frmZornakForm::Form_Activate() {
    if (!m_PrimeiraAtivacao) return;
    m_PrimeiraAtivacao = false;
    if (frmZornakLayout::MaximizaNaPrimeiraAtivacao(vb::Screen().Width(), vb::Screen().Height(),
                                                    EstadoPrograma.TwipsPorPixelX, EstadoPrograma.TwipsPorPixelY)) {
        // A small screen: a borderless window that fills it.
        try {
            AjustaJanela(*this, 0, true, true, true, true, true, false);
            if (WindowState() != vb::vbMaximized) SetWindowState(vb::vbMaximized);
            Refresh();
        } catch (...) {
        }
    } else {
        Refresh();
    }
    vb::DoEvents();
}

int frmZornakForm::TelaAtual() const {
    if (m_HistoricoTelas.empty()) return 0;
    return m_HistoricoTelas.back() - '0';
}

frmZornakTeclado::Contexto frmZornakForm::ContextoTeclado() const {
    frmZornakTeclado::Contexto c;
    c.tela = TelaAtual();
    if (vb::Control* foco = ActiveControl()) c.tipoFoco = foco->TypeName();
    c.trocandoTela = m_TrocandoTela;
    c.colunaLancamento = lblLancamentoLC->Tag() == "1";
    c.grade1Visivel = grdTHGrid1->Visible();
    c.imprimirVisivel = lblImprimir->Visible();
    return c;
}

void frmZornakForm::Form_KeyDown(int& KeyCode, int Shift) {
    frmZornakTeclado::TrataKeyDown(KeyCode, Shift, ContextoTeclado(), *this);
}

void frmZornakForm::Form_KeyPress(int& KeyAscii) {
    frmZornakTeclado::TrataKeyPress(KeyAscii, ContextoTeclado(), *this);
}

void frmZornakForm::Form_MouseMove(int, int, float, float) { AtualizaSelecaoMouse("FORM"); }

void frmZornakForm::Form_Resize() {
    if (!pctBase) return;   // the window resizes while it is being built
    CentralizaTela(false);
}

void frmZornakForm::Form_Unload(int&) {
    // A running update check goes first: neither its process nor its result file may
    // outlive the window.
    try {
        if (verificacao_ && verificacao_->EmAndamento()) verificacao_->Encerra();
    } catch (...) {
    }
    if (EstadoPrograma.RodaMouseAtiva) {
        SubClassing(false);
        JanelaRodaMouse = nullptr;
    }
    RegistraListasRoda(false);
    if (!EstadoPrograma.TabelaCarrinho.empty() && !EstadoPrograma.DbAuxiliar.IsNothing()) {
        // A cart table that cannot be dropped is reported; the databases still close.
        try {
            ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho);
            EstadoPrograma.TabelaCarrinho.clear();
        } catch (const vb::Error& e) {
            MostraErro(e.Number(), e.Description());
        }
    }
    auto ignora = [](auto&& f) {
        try {
            f();
        } catch (...) {
        }
    };
    if (!m_Recordset.IsNothing()) ignora([this] { m_Recordset.Close(); });
    if (!EstadoPrograma.DbAuxiliar.IsNothing()) ignora([] { EstadoPrograma.DbAuxiliar.Close(); });
    if (!EstadoPrograma.WsAuxiliar.IsNothing()) ignora([] { EstadoPrograma.WsAuxiliar.Close(); });
    if (!EstadoPrograma.DbCatalogo.IsNothing()) ignora([] { EstadoPrograma.DbCatalogo.Close(); });
    if (!EstadoPrograma.WsCatalogo.IsNothing()) ignora([] { EstadoPrograma.WsCatalogo.Close(); });
    m_Recordset = {};
    EstadoPrograma.DbAuxiliar = {};
    EstadoPrograma.WsAuxiliar = {};
    EstadoPrograma.DbCatalogo = {};
    EstadoPrograma.WsCatalogo = {};

    if (EstadoPrograma.ReiniciarAposAtualizacao) {
        // The launcher starts the catalogue again once this process has gone. One that cannot
        // be started is said before the end, so the catalogue does not just vanish.
        const std::string lancador = ObtemCaminhoAplicacao(true) + "CallCatalogoZORNAK";
        QProcess processo;
        processo.setProgram(QString::fromStdString(os::PathForOtherPrograms(lancador)));
        processo.setArguments({QString::number(vb::App().ProcessId())});
        if (!processo.startDetached()) {
            IgnoraFalha([&] {
                MostraErro(vb::err::FileNotFound,
                           "File not found: " + lancador + " (" + processo.errorString().toStdString() + ")");
            });
            vb::End(1);
            return;
        }
        vb::End(0);
        return;
    }
    vb::Screen().SetMousePointer(vb::vbHourglass);
    frmCreditos().Show(vb::vbModeless);
    vb::Screen().SetMousePointer(vb::vbDefault);
}

void frmZornakForm::EncerraPeloSistema() {
    if (m_InstalandoAtualizacao) {
        // Ended halfway, an update would leave the catalogue between two versions.
        m_EncerramentoPendente = true;
        return;
    }
    m_EncerramentoPendente = false;
    // A modal window open above this one goes first, as when the session ends.
    if (vb::Form* auxiliar = vb::FindLoadedForm("frmZornak2")) {
        try {
            auxiliar->Unload();
        } catch (...) {
        }
    }
    Unload();
    vb::End(0);
}

void EncerraProgramaPeloSistema() {
    static bool encerrando = false;
    if (JanelaCriada("frmZornak") && frmZornak().IsLoaded()) {
        frmZornakForm& janela = frmZornak();
        if (janela.m_InstalandoAtualizacao) {
            janela.m_EncerramentoPendente = true;
            return;
        }
        if (encerrando) return;
        encerrando = true;
        janela.EncerraPeloSistema();
        return;
    }
    if (encerrando) return;
    encerrando = true;
    // Before the main window (the start-up) or after it (the credits): what the start-up
    // made of this run is undone here.
    auto ignora = [](auto&& f) {
        try {
            f();
        } catch (...) {
        }
    };
    if (!EstadoPrograma.TabelaCarrinho.empty() && !EstadoPrograma.DbAuxiliar.IsNothing())
        ignora([] { ApagaTabelaCarrinho(EstadoPrograma.DbAuxiliar, EstadoPrograma.TabelaCarrinho); });
    EstadoPrograma.TabelaCarrinho.clear();
    ignora([] { FechaBanco(EstadoPrograma.WsAuxiliar, EstadoPrograma.DbAuxiliar); });
    ignora([] { FechaBanco(EstadoPrograma.WsCatalogo, EstadoPrograma.DbCatalogo); });
    vb::End(0);
}

// ---------------------------------------------------------------------------- instances

void RegistraJanelaPrincipal() {
    DefineJanelaPrincipal([] { return std::make_unique<frmZornakForm>(); });
}

frmZornakForm& frmZornak() {
    if (!JanelaCriada("frmZornak")) RegistraJanelaPrincipal();
    return static_cast<frmZornakForm&>(JanelaPrincipal());
}
