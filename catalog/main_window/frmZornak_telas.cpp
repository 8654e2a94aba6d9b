// The main window's navigation: the screen switcher, the tab strips, the language switch,
// the frame's texts, the hover highlight and the frame's button handlers.
#include "catalog/main_window/frmZornak.h"

#include "catalog/main_window/ModuloImpressao.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <QImage>
#include <QPainter>

namespace {

int PosicaoOrelha(int faixa, int aba) {
    static const int posicoes[2][4] = {{0, 181, 376, 570}, {0, 280, 0, 0}};
    if (faixa < 0 || faixa > 1 || aba < 0 || aba > 3) return 0;
    return posicoes[faixa][aba];
}

}  // namespace

// ------------------------------------------------------------------------- the switcher

void frmZornakForm::TrocaTela(std::uint8_t telaEntrando, std::uint8_t telaSaindo, const std::string& opcaoLimpeza) {
    vb::Screen().SetMousePointer(vb::vbHourglass);
    m_TrocandoTela = true;
    try {
        TrocaTelaPassos(telaEntrando, telaSaindo, opcaoLimpeza);
    } catch (...) {
        // A screen that failed to build must not leave the window busy: every search box
        // and list would ignore the user from then on. The caller reports the error.
        m_TrocandoTela = false;
        vb::Screen().SetMousePointer(vb::vbDefault);
        throw;
    }
    m_TrocandoTela = false;
    vb::Screen().SetMousePointer(vb::vbDefault);
    LimpaSelecaoOculta();
}

void frmZornakForm::TrocaTelaPassos(std::uint8_t telaEntrando, std::uint8_t telaSaindo, const std::string& opcaoLimpeza) {
    switch (telaSaindo) {
    case 0: telas_->DesmontaTelaPrincipal(); break;
    case 1: m_SubTelaProduto = 0; telas_->DesmontaTelaProduto(); break;
    case 2: telas_->DesmontaTelaAplicacao(); break;
    case 3: telas_->DesmontaTelaLista(); break;
    case 4: telas_->EscondeTelaFigura(); break;
    case 5: m_SubTelaProduto = 1; telas_->DesmontaTelaProduto(); break;
    default: break;
    }
    const bool entraFaixa1 = telaEntrando == 3 || telaEntrando == 4;
    const bool saiFaixa1 = telaSaindo == 3 || telaSaindo == 4;
    const bool saiFaixa0 = telaSaindo == 0 || telaSaindo == 1 || telaSaindo == 2 || telaSaindo == 5;
    if (entraFaixa1 && (saiFaixa0 || telaSaindo == 200)) {
        (*pctOrelha)(0).SetVisible(false);
        (*pctOrelha)(1).SetVisible(true);
    } else if (!entraFaixa1 && telaEntrando <= 5 && (saiFaixa1 || telaSaindo == 200)) {
        (*pctOrelha)(0).SetVisible(true);
        (*pctOrelha)(1).SetVisible(false);
    }
    if (opcaoLimpeza == "LimpaTelaLista") telas_->LimpaFiltrosLista(true, true);
    else if (opcaoLimpeza == "LimpaTelaLista10") telas_->LimpaFiltrosLista(true, false);
    else if (opcaoLimpeza == "LimpaTelaLista01") telas_->LimpaFiltrosLista(false, true);
    switch (telaEntrando) {
    case 0: SelecionaOrelha(0, 0, false); telas_->MontaTelaPrincipal(); break;
    case 1: SelecionaOrelha(0, 1, false); m_SubTelaProduto = 0; telas_->MontaTelaProduto(); break;
    case 2: SelecionaOrelha(0, 2, false); telas_->MontaTelaAplicacao(); break;
    case 3: SelecionaOrelha(1, 0, false); telas_->MontaTelaLista(); break;
    case 4: SelecionaOrelha(1, 1, false); telas_->MostraTelaFigura(); break;
    case 5: SelecionaOrelha(0, 3, false); m_SubTelaProduto = 1; telas_->MontaTelaProduto(); break;
    default: break;
    }
}

void frmZornakForm::VaiParaTela(const std::string& mensagem, long tela) {
    vb::Screen().SetMousePointer(vb::vbHourglass);
    vb::DoEvents();
    CodigoFabricanteRetorno = 0;
    const int saindo = TelaAtual();
    m_HistoricoTelas = std::to_string(tela);
    TrocaTela(static_cast<std::uint8_t>(tela), static_cast<std::uint8_t>(saindo), "");
    vb::DoEvents();
    vb::Screen().SetMousePointer(vb::vbDefault);
    if (!mensagem.empty()) vb::MsgBox(mensagem, vb::vbInformation, Traduz(0));
}

void frmZornakForm::MostraRodapeLista(bool visivel) {
    for (vb::Control* c : std::initializer_list<vb::Control*>{&Img("imgBtnInicio"), lblInicio, &Img("imgBtnImprimir"),
                                                              lblImprimir, &Img("imgLogo", 0), &Img("imgLogo", 1)})
        c->SetVisible(visivel);
}

// A title stands in one line above its strip and ends where the strip ends. One longer than
// that breaks at a word into two lines of a smaller type, which still stand above the strip:
// a vehicle's combo of assemblies lies on the list's strip.
void frmZornakForm::MostraTitulo(const char* titulo, const char* faixa, const std::string& texto) {
    vb::Label& l = Lbl(titulo);
    const vb::Image& f = Img(faixa);
    const int largura = f.Left() + f.Width() - 25;
    pctTmp->SetFont("Arial", 9, true);
    const bool umaLinha = pctTmp->TextWidth(texto) <= largura;
    l.SetFont("Arial", umaLinha ? 9 : 7.5, true);
    if (umaLinha) l.Move(25, 2, largura, 16);
    else l.Move(25, 0, largura, f.Top());
    l.SetCaption(texto);
}

// ---------------------------------------------------------------------------- tab strips

void frmZornakForm::ObtemCorFundoOrelha() {
    pctTmp->SetPicture(CarregaImagemRecurso("OREABA01", "G"));
    m_CorFundoOrelha = pctTmp->Point(0, 0);
}

void frmZornakForm::DesenhaOrelha(std::uint8_t faixa, std::uint8_t aba, const std::string& sufixo, bool bRefresh) {
    const std::string digitos = std::to_string(faixa) + std::to_string(aba);
    const vb::Picture forma = CarregaImagemRecurso("OREABA" + digitos + sufixo, "G");
    pctTmp->SetPicture(forma);
    // The shapes overlap: only the pixels that are not the transparent colour are copied.
    QImage recorte(forma.Width(), forma.Height(), QImage::Format_ARGB32);
    recorte.fill(Qt::transparent);
    CopiaPixelsTransparente(forma.Pixmap().toImage(), recorte, m_CorFundoOrelha, 0, 0, false);
    vb::PictureBox& faixaCaixa = (*pctOrelha)(faixa);
    faixaCaixa.PaintPicture(vb::Picture(QPixmap::fromImage(recorte)), PosicaoOrelha(faixa, aba), 0);
    vb::Image& clique = faixa == 0 ? (*imgOrelha0)(aba) : (*imgOrelha1)(aba);
    const int larguraTexto = (faixa == 0 && aba == 3) ? 127 : 108;
    const int x = vb::CInt(clique.Left() + clique.Width() / 2.0 - larguraTexto / 2.0);
    faixaCaixa.PaintPicture(CarregaImagemRecurso("ORETXT" + digitos + sufixo, EstadoPrograma.Idioma), x, 7);
    if (bRefresh) faixaCaixa.Refresh();
}

void frmZornakForm::SelecionaOrelha(std::uint8_t faixa, std::uint8_t abaAtiva, bool bRefresh) {
    const int ultima = faixa == 0 ? 3 : 1;
    for (int i = 0; i <= ultima; ++i) {
        vb::Image& clique = faixa == 0 ? (*imgOrelha0)(i) : (*imgOrelha1)(i);
        // The active tab takes neither clicks nor hover.
        clique.SetVisible(i != abaAtiva);
        DesenhaOrelha(faixa, static_cast<std::uint8_t>(i), i == abaAtiva ? "2" : "", false);
    }
    if (bRefresh) (*pctOrelha)(faixa).Refresh();
}

// ------------------------------------------------------------------------------ language

void frmZornakForm::AlteraIdioma(std::string idioma, bool bInicial) {
    auto valida = [](const std::string& l) { return l == "P" || l == "E" || l == "I"; };
    if (valida(EstadoPrograma.Idioma)) {
        Img("imgBtnIdioma" + EstadoPrograma.Idioma).SetVisible(true);
        Img("imgIdioma" + EstadoPrograma.Idioma).SetVisible(false);
    }
    EstadoPrograma.Idioma = idioma.substr(0, 1);
    if (valida(EstadoPrograma.Idioma)) {
        Img("imgIdioma" + EstadoPrograma.Idioma).SetVisible(true);
        Img("imgBtnIdioma" + EstadoPrograma.Idioma).SetVisible(false);
        Img("imgBtnIdioma" + EstadoPrograma.Idioma + "Sel").SetVisible(false);
    }
    if (bInicial) return;
    GravaConfiguracao(EstadoPrograma.Idioma, "", "", "", false);
    TraduzTelaPrincipal(false);
    AtualizaDescricoesCarrinho("");
    const auto tela = static_cast<std::uint8_t>(TelaAtual());
    TrocaTela(tela, tela, "");
}

void frmZornakForm::TraduzTelaPrincipal(bool bAtualizaData) {
    SetCaption(ObtemTituloAplicacao());
    grdTHGrid1->mTextGridVazio = Traduz(5);
    grdTHGrid2->mTextGridVazio = Traduz(5);
    Img("imgCarrinho").SetToolTipText(Traduz(36) + " <F10>");
    Img("imgAjuda").SetToolTipText(Traduz(37) + " <F1>");
    Img("imgMinimizar").SetToolTipText(Traduz(38));
    lblSair->SetCaption(vb::UCase(Traduz(47)));
    lblSair->SetToolTipText(Traduz(47) + " <ALT+F4>");
    lblInicio->SetCaption(vb::UCase(Traduz(48)));
    lblInicio->SetToolTipText(Traduz(48) + " <ESC>");
    lblImprimir->SetCaption(vb::UCase(Traduz(57)));
    Img("imgLogo", 0).SetToolTipText(Traduz(48));
    Img("imgLogo", 1).SetToolTipText(Traduz(48));
    lblVerificarAtualizacoes->SetCaption(vb::UCase(Traduz(49)));
    lblConfiguracoes->SetCaption(vb::UCase(Traduz(50)));
    (*imgOrelha0)(0).SetToolTipText(Traduz(53) + " <CTRL+TAB>");
    (*imgOrelha0)(1).SetToolTipText(Traduz(54) + " <CTRL+TAB>");
    (*imgOrelha0)(2).SetToolTipText(Traduz(27) + " <CTRL+TAB>");
    (*imgOrelha0)(3).SetToolTipText(Traduz(88) + " <CTRL+TAB>");
    (*imgOrelha1)(0).SetToolTipText(Traduz(9) + " <CTRL+TAB>,<F4>");
    (*imgOrelha1)(1).SetToolTipText(Traduz(8) + " <CTRL+TAB>");
    Img("imgLegendaLancamento").SetPicture(CarregaImagemRecurso("LEGENDALANCAMENTO"));
    // The issue date and the last check: a catalogue that cannot be read now leaves the
    // texts as they were.
    try {
        AtualizaUltimaAtualizacao(bAtualizaData);
    } catch (...) {
    }
}

// --------------------------------------------------------------------------------- hover

vb::Control* frmZornakForm::ObtemControleSelecao(const std::string& k) const {
    static const std::map<std::string, std::string> botoes = {
        {"BTNIDIOMAP", "imgBtnIdiomaPSel"}, {"BTNIDIOMAE", "imgBtnIdiomaESel"},
        {"BTNIDIOMAI", "imgBtnIdiomaISel"}, {"BTNVERIFICARATUALIZACOES", "imgBtnVerificarAtualizacoesSel"},
        {"BTNCONFIGURACOES", "imgBtnConfiguracoesSel"}, {"BTNSAIR", "imgBtnSairSel"},
        {"BTNINICIO", "imgBtnInicioSel"}, {"BTNIMPRIMIR", "imgBtnImprimirSel"},
        {"SITEZORNAK", "imgSiteZornakSel"}, {"CARRINHO", "imgCarrinhoSel"},
        {"CARRINHOTODOS", "imgCarrinhoTodosSel"}, {"AJUDA", "imgAjudaSel"},
        {"MINIMIZAR", "imgMinimizarSel"}};
    // Array elements the screens loaded are found in their arrays.
    auto elemento = [this](auto tipo, const char* nome, int indice) -> vb::Control* {
        auto* a = Arranjo<typename decltype(tipo)::type>(nome);
        return a && a->Exists(indice) ? &(*a)(indice) : nullptr;
    };
    if (k.rfind("_GRUPOM", 0) == 0) return elemento(std::type_identity<vb::Label>{}, "lblGrupoM", std::atoi(k.c_str() + 7));
    if (k.rfind("PAGINAF", 0) == 0) return elemento(std::type_identity<vb::Image>{}, "imgBtnPagFSel", std::atoi(k.c_str() + 7));
    auto it = botoes.find(k);
    if (it != botoes.end()) return Controle(it->second);
    if (!k.empty() && k[0] == '_') {
        // The sortable headers, wherever the screens made them.
        if (const std::string nome = CabecalhoDaChave(k); !nome.empty()) return Controle(nome);
        for (const auto& [chaveControle, c] : controles_)
            if (chaveControle.second < 0 && chaveControle.first.rfind("lbl", 0) == 0 &&
                ChaveRotulo(chaveControle.first) == k)
                return c;
    }
    return nullptr;
}

vb::Control* frmZornakForm::ControleApontado(const std::string& k) const {
    if (k.empty() || k == "FORM") return nullptr;
    if (k[0] == '.') {
        const int faixa = k[k.size() - 2] - '0', aba = k.back() - '0';
        const auto* cliques = faixa == 0 ? imgOrelha0 : imgOrelha1;
        return cliques && cliques->Exists(aba) ? &(*cliques)(aba) : nullptr;
    }
    if (k == ">THGRID1") return grdTHGrid1;
    if (k == ">THGRID2") return grdTHGrid2;
    if (k == ">THCOMBO1") return cboTHCombo1;
    if (k == ">THCOMBO2") return cboTHCombo2;
    vb::Control* c = ObtemControleSelecao(k);
    if (!c || k[0] == '_') return c;
    // A hover picture lies over its button, which has its name without "Sel".
    const std::string& nome = c->Name();
    return Controle(nome.substr(0, nome.size() - 3), c->Index());
}

void frmZornakForm::LimpaSelecaoOculta() {
    if (m_ChaveSelecao == "FORM") return;
    const vb::Control* c = ControleApontado(m_ChaveSelecao);
    const QWidget* w = c ? c->Widget() : nullptr;
    if (!w || !w->isVisibleTo(w->window())) AtualizaSelecaoMouse("FORM");
}

void frmZornakForm::AtualizaSelecaoMouse(const std::string& chave) {
    if (chave == m_ChaveSelecao) return;
    // The key's control: tabs are drawn, list controls clear their own hover, labels are
    // underlined, picture buttons show their "Sel" image.
    auto realca = [&](const std::string& k, bool liga) {
        if (k.empty()) return;
        if (k[0] == '.') {
            const int faixa = k[k.size() - 2] - '0', aba = k.back() - '0';
            vb::Image& clique = faixa == 0 ? (*imgOrelha0)(aba) : (*imgOrelha1)(aba);
            if (liga) DesenhaOrelha(static_cast<std::uint8_t>(faixa), static_cast<std::uint8_t>(aba), "_S", true);
            else if (clique.Visible()) DesenhaOrelha(static_cast<std::uint8_t>(faixa), static_cast<std::uint8_t>(aba), "", true);
            return;
        }
        if (k[0] == '>') {
            // The list controls draw their own hover and are only told to clear it.
            if (liga) return;
            if (k == ">THGRID1") grdTHGrid1->ApagaSelecao();
            else if (k == ">THGRID2") grdTHGrid2->ApagaSelecao();
            else if (k == ">THCOMBO1") cboTHCombo1->ApagaSelecao();
            else if (k == ">THCOMBO2") cboTHCombo2->ApagaSelecao();
            return;
        }
        vb::Control* c = ObtemControleSelecao(k);
        if (!c) return;
        if (k[0] == '_') {
            c->SetFontUnderline(liga);
            if (k.rfind("_GRUPOM", 0) == 0 && c->WhatsThisHelpID() >= 0) {
                try {
                    auto* datas = Arranjo<vb::Label>("lblDataLancM");
                    const int m = static_cast<int>(c->WhatsThisHelpID());
                    if (vb::Control* data = datas && datas->Exists(m) ? &(*datas)(m) : nullptr)
                        data->SetVisible(liga);
                } catch (...) {
                }
            }
        } else {
            c->SetVisible(liga);
        }
    };
    if (chave != "FORM") realca(chave, true);
    if (m_ChaveSelecao != "FORM") realca(m_ChaveSelecao, false);
    m_ChaveSelecao = chave;
}

// --------------------------------------------------------------------- frame's handlers

void frmZornakForm::IconeGrade(int grade, int coluna) {
    if (grade == 1) telas_->ImageClickGrade1(static_cast<std::uint8_t>(coluna), 1);
    else telas_->ImageClickGrade2(static_cast<std::uint8_t>(coluna), 1);
}

void frmZornakForm::RepeteNaGrade1(const std::string& teclas) {
    vb::Control* anterior = ActiveControl();
    grdTHGrid1->SetFocus();
    vb::SendKeys(teclas, true);
    IgnoraFalha([&] { if (anterior) anterior->SetFocus(); });
}

void frmZornakForm::imgAjuda_Click() {
    AbreAjuda(static_cast<std::uint8_t>(TelaAtual()), false, grdTHGrid1->Tag() == "1");
}

void frmZornakForm::lblSair_Click() { Unload(); }

void frmZornakForm::lblVerificarAtualizacoes_Click() {
    vb::Screen().SetMousePointer(vb::vbHourglass);
    verificacao_->Inicia(false);
    vb::Screen().SetMousePointer(vb::vbDefault);
}

void frmZornakForm::lblConfiguracoes_Click() { AbreTelaAuxiliar(5, ""); }

void frmZornakForm::imgCarrinho_Click() { AbreTelaAuxiliar(2, "0"); }

void frmZornakForm::imgMinimizar_Click() { SetWindowState(vb::vbMinimized); }

void frmZornakForm::lblImprimir_Click() {
    // The printer dialog or the box that answers the click has the pointer: the button's
    // highlight goes with it, and the next move over the button lights it again.
    try {
        ImprimeTelaAtual();
    } catch (...) {
        AtualizaSelecaoMouse("FORM");
        throw;
    }
    AtualizaSelecaoMouse("FORM");
}

void frmZornakForm::ImprimeTelaAtual() {
    const int tela = TelaAtual();
    if (tela == 3) {
        const dao::Recordset rs = dtcTHGrid1.GetRecordset();
        if (!rs.IsNothing() && !rs.Eof()) {
            ListaImpressao lista;
            lista.Recordset = rs;
            lista.ListaVeiculo = grdTHGrid1->Tag() == "1";
            lista.ColunaLancamento = lblLancamentoLC->Tag() == "1";
            lista.FabricantesAplicacao = FabricantesLista;
            lista.CodigoAplicacao = ObtemCodigoAplicacao();
            ImprimirLista(lista);
        } else {
            vb::MsgBox(Traduz(5) + ".", vb::vbCritical, Traduz(0));
        }
    } else if (tela == 4) {
        if (PaginaFiguraAtual < 255) {
            const int conjunto = telas_->ObtemConjunto(CodigoAplicacaoFigura, -1);
            // The page list holds the two-digit part number first.
            if (PaginaFiguraAtual >= PaginasFigura.size())
                vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range");
            const std::string& pagina = PaginasFigura[PaginaFiguraAtual];
            ImprimirFigura(conjunto, vb::CByte(pagina.substr(0, 2)), CodigoAplicacaoFigura);
        } else {
            vb::MsgBox(Traduz(63) + ".", vb::vbCritical, Traduz(0));
        }
    }
}

// A screen build lets waiting clicks run; one that switched screens from inside it would
// leave controls of one screen on the other. Back, the logos and the tabs wait for no
// build: they are ignored while one runs, as their keys are.
void frmZornakForm::lblInicio_Click() {
    if (m_TrocandoTela) return;
    if (m_HistoricoTelas.size() <= 1) return;
    const int saindo = m_HistoricoTelas.back() - '0';
    m_HistoricoTelas.pop_back();
    TrocaTela(static_cast<std::uint8_t>(TelaAtual()), static_cast<std::uint8_t>(saindo), "");
}

void frmZornakForm::imgOrelha0_Click(int indice) {
    static const int telas[4] = {0, 1, 2, 5};
    if (m_TrocandoTela) return;
    if (indice < 0 || indice > 3) return;
    const int nova = telas[indice];
    const int saindo = TelaAtual();
    m_HistoricoTelas = std::to_string(nova);
    TrocaTela(static_cast<std::uint8_t>(nova), static_cast<std::uint8_t>(saindo), "");
}

void frmZornakForm::imgOrelha1_Click(int indice) {
    if (m_TrocandoTela) return;
    const int nova = indice + 3;
    if (nova == 4) {
        const long aplicacao = ObtemCodigoAplicacao();
        const int conjunto = telas_->ObtemConjunto(aplicacao, -1);
        if (conjunto < 1) {
            bool mostrou = false;
            telas_->CarregaMenuConjuntosVeiculo(aplicacao, mostrou);
            if (mostrou) return;
            vb::MsgBox(MontaDescricaoAplicacao(aplicacao, true, true) + "\r\n\r\n" + vb::UCase(Traduz(31)),
                       vb::vbInformation, Traduz(0));
            return;
        }
        CodigoAplicacaoFigura = static_cast<int>(aplicacao);
    }
    const int saindo = TelaAtual();
    if (!m_HistoricoTelas.empty()) m_HistoricoTelas.back() = static_cast<char>('0' + nova);
    else m_HistoricoTelas = std::to_string(nova);
    TrocaTela(static_cast<std::uint8_t>(nova), static_cast<std::uint8_t>(saindo), "");
}

long frmZornakForm::ObtemCodigoAplicacao() const {
    return CodigoAplicacaoCombo >= 1 ? CodigoAplicacaoCombo : CodigoAplicacaoLista;
}
