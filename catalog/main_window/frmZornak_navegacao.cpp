// The main window's hand-overs: the auxiliary window and its pending answer, the pop-up
// menus' choices, the group shortcuts, the figure items, the column headers and the rest
// of the frame's buttons that lead somewhere else.
#include "catalog/main_window/frmZornak.h"

#include "catalog/main_window/JanelaAuxiliar.h"
#include "catalog/main_window/frmMenu.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Err.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

#include <type_traits>

namespace {

// The maker's pages (the frame's logo and the home screen's notice).
const char* const EnderecoSiteZornak = "https://www.zornak.com.br";
const char* const EnderecoContatoZornak = "https://www.zornak.com.br/contato";

// The column headers by screen panel, and the list each one sorts.
struct Cabecalho {
    const char* nome;
    int painel;
    const char* ordem;
    bool guardaTroca;   // ignored while a screen is being built
};

const Cabecalho Cabecalhos[] = {
    {"lblNumeroEmpresa", 1, "1", false},      {"lblDescricaoProduto", 1, "2", false},
    {"lblGrupo", 1, "3", false},              {"lblLancamento", 1, "4", false},
    {"lblTipoAplicacao", 1, "1", false},      {"lblAplicacaoProduto", 1, "2", false},
    {"lblFabricante", 1, "3", false},         {"lblTipoAplicacaoA", 2, "1", false},
    {"lblAplicacaoProdutoA", 2, "2", false},  {"lblFabricanteA", 2, "3", false},
    {"lblNumeroEmpresaLV", 3, "1", true},     {"lblDescricaoProdutoLV", 3, "2", true},
    {"lblGrupoLV", 3, "3", true},             {"lblLancamentoLV", 3, "4", false},
    {"lblNumeroEmpresaLC", 3, "1", true},     {"lblDescricaoProdutoLC", 3, "2", true},
    {"lblItemFigLC", 3, "3", true},           {"lblLancamentoLC", 3, "4", false},
};

const Cabecalho* AchaCabecalho(const std::string& nome) {
    for (const Cabecalho& c : Cabecalhos)
        if (nome == c.nome) return &c;
    return nullptr;
}

bool Termina(const std::string& texto, const std::string& fim) {
    return texto.size() >= fim.size() && texto.compare(texto.size() - fim.size(), fim.size(), fim) == 0;
}

}  // namespace

std::string frmZornakForm::ChaveRotulo(const std::string& nome) { return "_" + vb::UCase(nome.substr(3)); }

std::string frmZornakForm::CabecalhoDaChave(const std::string& chave) {
    for (const Cabecalho& c : Cabecalhos)
        if (ChaveRotulo(c.nome) == chave) return c.nome;
    return {};
}

// ------------------------------------------------------------- the screens' own controls

void frmZornakForm::CriaControlesTelas() {
    // The figure items: the figure screen loads and places the elements.
    lblItem = NewArray<vb::Label>((*pctTela)(4), "lblItem");
    arranjosPorNome_["lblItem"] = lblItem;
    controles_[{"lblItem", 0}] = &(*lblItem)(0);
    (*lblItem)(0).SetVisible(false);
    // The item panel's description and reference rows are passive: moving over them leaves
    // nothing highlighted. The figure screen places and fills them.
    for (const char* nome : {"lblDescricaoProdutoF", "lblNroF"}) {
        vb::ControlArray<vb::Label>* linhas = NewArray<vb::Label>((*pctTela)(4), nome);
        arranjosPorNome_[nome] = linhas;
        (*linhas)(0).SetVisible(false);
        linhas->SetHandlers([this](vb::Label& l) {
            l.MouseMove = [this](int, int, float, float) { AtualizaSelecaoMouse("FORM"); };
        });
    }
}

void frmZornakForm::CompletaControlesTelas() {
    // The headers and the add-all button are the screens' to place and show; those that the
    // screens did not make come from here, and handlers the screens did not give them are
    // the frame's.
    auto completa = [this](const std::string& nome, int painel, auto tipo) -> vb::Control& {
        using T = typename decltype(tipo)::type;
        vb::Control* c = Controle(nome);
        if (!c) {
            T* novo = New<T>((*pctTela)(painel), nome);
            novo->SetVisible(false);
            if constexpr (std::is_same_v<T, vb::Label>) {
                novo->SetBackStyle(0);
                novo->SetFont("Arial", 7.5, true);
            }
            controles_[{nome, -1}] = novo;
            c = novo;
        }
        return *c;
    };
    auto passa = [this](vb::Control& c, const std::string& chave) {
        if (!c.MouseMove) c.MouseMove = [this, chave](int, int, float, float) { AtualizaSelecaoMouse(chave); };
    };
    for (const Cabecalho& cab : Cabecalhos) {
        const std::string nome = cab.nome;
        vb::Control& rotulo = completa(nome, cab.painel, std::type_identity<vb::Label>{});
        if (!rotulo.Click) rotulo.Click = [this, nome] { CabecalhoClick(nome); };
        passa(rotulo, ChaveRotulo(nome));
    }
    vb::Control& todos = completa("imgCarrinhoTodos", 3, std::type_identity<vb::Image>{});
    completa("imgCarrinhoTodosSel", 3, std::type_identity<vb::Image>{}).SetDisplayOnly(true);
    if (!todos.Click) todos.Click = [this] { imgCarrinhoTodos_Click(); };
    passa(todos, "CARRINHOTODOS");
}

void frmZornakForm::LigaEventosTelas() {
    Img("imgSiteZornak").Click = [this] { imgSiteZornak_Click(); };
    Arranjo<vb::Label>("lblLinkPopUp")->SetHandlers([this](vb::Label& l) { l.Click = [this] { lblLinkPopUp_Click(); }; });
    Arranjo<vb::Label>("lblGrupoM")->SetHandlers([this](vb::Label& l) {
        const int indice = l.Index();
        l.Click = [this, indice] { lblGrupoM_Click(indice); };
        l.MouseMove = [this, indice](int, int, float, float) { AtualizaSelecaoMouse("_GRUPOM" + std::to_string(indice)); };
    });
    Arranjo<vb::Label>("lblPagF")->SetHandlers([this](vb::Label& l) {
        const int indice = l.Index();
        l.Click = [this, indice] { lblPagF_Click(indice); };
        // Over the page now shown nothing changes.
        l.MouseMove = [this, indice](int, int, float, float) {
            if (indice != PaginaFiguraAtual) AtualizaSelecaoMouse("PAGINAF" + std::to_string(indice));
        };
    });
    // The figure items: the hover is the figure screen's, the buttons are the window's.
    lblItem->SetHandlers([this](vb::Label& l) {
        const int indice = l.Index();
        l.MouseMove = [this, indice](int, int, float, float) { telas_->lblItem_MouseMove(indice); };
        l.MouseUp = [this, indice](int Button, int Shift, float X, float Y) { lblItem_MouseUp(indice, Button, Shift, X, Y); };
    });
    // The lists: their own hover, and the wheel goes to the one under the mouse.
    auto lista = [this](vb::Control& c, const std::string& chave, const std::string& alvo) {
        c.MouseMove = [this, chave, alvo](int, int, float, float) {
            AtualizaSelecaoMouse(chave);
            DefineAlvoRodaMouse(alvo);
        };
    };
    lista(*grdTHGrid1, ">THGRID1", "CAT_GRID1");
    lista(*grdTHGrid2, ">THGRID2", "CAT_GRID2");
    lista(*cboTHCombo1, ">THCOMBO1", "CAT_COMBO1");
    lista(*cboTHCombo2, ">THCOMBO2", "CAT_COMBO2");
    // A cross-reference panel with the focus takes no clicks until it loses it again.
    Arranjo<vb::PictureBox>("pctPainelRef")->SetHandlers([](vb::PictureBox& p) {
        p.GotFocus = [&p] {
            try {
                p.SetEnabled(false);
            } catch (...) {
            }
        };
        p.LostFocus = [&p] {
            try {
                p.SetEnabled(true);
            } catch (...) {
            }
        };
    });
}

// ------------------------------------------------------------------ the auxiliary window

void frmZornakForm::AbreTelaAuxiliar(long modo, const std::string& parametros) {
    // The auxiliary window sets the pointer back when its first screen shows.
    vb::Screen().SetMousePointer(vb::vbHourglass);
    if (WindowState() == vb::vbMinimized) {
        // It places itself over this window's client area.
        SetWindowState(vb::vbMaximized);
        vb::DoEvents();
    }
    EstadoPrograma.RequisicaoTela = std::to_string(modo);
    if (!parametros.empty()) EstadoPrograma.RequisicaoTela += "|" + parametros;
    try {
        JanelaAuxiliar().MostraModal();
    } catch (...) {
        // A window that did not open took nothing: its request must not be read later as
        // an answer.
        EstadoPrograma.RequisicaoTela.clear();
        vb::Screen().SetMousePointer(vb::vbDefault);
        throw;
    }
}

void frmZornakForm::AplicaEstadoPendente(std::uint8_t fabricante, int grupo) {
    if (EstadoPrograma.RequisicaoTela.empty()) {
        // Nothing chosen: the home screen will not open the group again.
        CodigoFabricanteRetorno = 0;
        CodigoGrupoProdutoRetorno = 0;
        CodigoAplicacaoRetorno = 0;
        LinhaRetorno = 255;
        OrdemRetorno = "1";
        CodigoTipoAplicacaoRetorno = 0;
        FiltroRetorno.clear();
        MarcaLancamentoRetorno = 0;
        return;
    }
    const std::vector<std::string> campos = vb::Split(EstadoPrograma.RequisicaoTela, "|");
    EstadoPrograma.RequisicaoTela.clear();
    // The auxiliary window always writes all seven fields; anything shorter is a fault.
    if (campos.size() < 7) vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range");
    const std::uint8_t tela = vb::CByte(campos[0]);
    const long aplicacao = vb::CLng(campos[1]);
    const std::uint8_t linha = vb::CByte(campos[2]);
    const std::uint8_t tipo = vb::CByte(campos[4]);
    const std::uint8_t lancamento = vb::CByte(campos[6]);
    const int aplicacaoFigura = vb::CInt(campos[1]);
    // Every field converted before any is kept: a bad state changes nothing.
    CodigoFabricanteRetorno = fabricante;
    CodigoGrupoProdutoRetorno = grupo;
    CodigoAplicacaoRetorno = aplicacao;
    LinhaRetorno = linha;
    OrdemRetorno = campos[3].substr(0, 1);
    CodigoTipoAplicacaoRetorno = tipo;
    FiltroRetorno = campos[5];
    MarcaLancamentoRetorno = lancamento;
    telas_->ReiniciaContextoLista();
    CodigoAplicacaoFigura = aplicacaoFigura;
    CodigoAplicacaoLista = aplicacao;
    CodigoGrupoLista = grupo;
    m_HistoricoTelas += std::to_string(tela);
    TrocaTela(tela, 0, "LimpaTelaLista10");
}

void frmZornakForm::lblGrupoM_Click(int indice) {
    vb::Label& rotulo = Lbl("lblGrupoM", indice);
    const std::vector<std::string> partes = vb::Split(rotulo.Tag(), "|");
    if (partes.size() < 2) vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range");
    const std::uint8_t fabricante = vb::CByte(partes[0]);
    const int grupo = vb::CInt(partes[1]);
    // A group with new releases lists them first.
    const bool lancamentos = rotulo.WhatsThisHelpID() >= 0;
    const std::string requisicao =
        rotulo.Tag() + "|0|0||255|" + (lancamentos ? "3" : "1") + "|0|" + (lancamentos ? "1" : "0");
    AbreTelaAuxiliar(3, requisicao);
    AplicaEstadoPendente(fabricante, grupo);
}

// -------------------------------------------------------------------- the pop-up menus

void frmZornakForm::MenuClick(long sMenu, long sInformacaoAdicional) {
    auto abreFigura = [this](long indice, bool marcaProduto) {
        auto& conjuntos = EstadoPrograma.ConjuntosMenu;
        if (conjuntos.size() < 2 || indice < 0 || static_cast<std::size_t>(indice) >= conjuntos[1].size())
            vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range");
        const int aplicacao = vb::CInt(conjuntos[1][static_cast<std::size_t>(indice)]);
        std::string requisicao;
        if (marcaProduto) {
            // The figure marks every item of the list's current product.
            const dao::Recordset rs = dtcTHGrid1.GetRecordset();
            if (rs.IsNothing()) vb::Raise(vb::err::ObjectRequired, "Object required");
            requisicao = "P:" + std::to_string(rs.Value("CodigoProduto").ToLong()) + ":P";
        }
        CodigoAplicacaoFigura = aplicacao;
        conjuntos.clear();
        if (marcaProduto) EstadoPrograma.RequisicaoTela = requisicao;
        // The figure takes the list's place in the history.
        if (m_HistoricoTelas.empty()) m_HistoricoTelas = "4";
        else m_HistoricoTelas.back() = '4';
        TrocaTela(4, 3, "");
    };
    auto descarregaMenu = [] {
        if (JanelaCriada("frmMenu") && frmMenu().IsLoaded()) frmMenu().Unload();
    };
    try {
        switch (sMenu) {
        case 0:
            IncluiProdutoCarrinho(sInformacaoAdicional, 1);
            AbreTelaAuxiliar(2, std::to_string(sInformacaoAdicional));
            break;
        case 1: AbreTelaAuxiliar(0, "P|" + std::to_string(sInformacaoAdicional)); break;
        case 2:
            AbreTelaAuxiliar(1, std::to_string(sInformacaoAdicional) + "|" + std::to_string(CodigoAplicacaoFigura));
            break;
        case 3: abreFigura(sInformacaoAdicional, true); break;
        case 4: abreFigura(sInformacaoAdicional, false); break;
        default: break;
        }
    } catch (const vb::Error& e) {
        descarregaMenu();
        MostraErro(e.Number(), e.Description());
        return;
    }
    descarregaMenu();
}

// ------------------------------------------------------------------------ figure items

void frmZornakForm::lblItem_MouseUp(int indice, int Button, int, float, float) {
    if (Button == vb::vbRightButton) {
        // The next page of the item's products, back to the first after the last.
        const int paginas = telas_->PaginasPainelItem();
        if (paginas <= 1) return;
        int pagina = telas_->PaginaPainelItem() + 1;
        if (pagina > paginas) pagina = 1;
        telas_->LimpaPainelItem(false);
        telas_->MostraDadosItem(ItemFiguraSelecionado, pagina);
        return;
    }
    if (Button != vb::vbLeftButton) return;
    // Not applicable: the marker says "NA", or the item panel found none of the item's
    // products for this application (it tags its heading "NA" then).
    const vb::Control* titulo = Controle("lblTitDescricaoProdutoF");
    if ((*lblItem)(indice).Caption() == "NA" || (titulo && titulo->Tag() == "NA")) {
        vb::MsgBox(vb::UCase(Traduz(12)) + ".", vb::vbInformation, Traduz(0));
        return;
    }
    MostraMenuItemFigura(telas_->ProdutosPainelItem());
}

void frmZornakForm::MostraMenuItemFigura(const std::vector<ITelasCatalogo::ProdutoItemFigura>& produtos) {
    if (VerificaFormularioCarregado("frmMenu")) frmMenu().Unload();
    frmMenuForm& menu = frmMenu();
    menu.Load();
    // Four positions at most; an item with more products offers its first four.
    for (std::size_t n = 1; n <= 4; ++n) {
        vb::Menu& produto = *menu.mnuProduto[n];
        const bool existe = n <= produtos.size();
        produto.SetVisible(existe);
        if (!existe) continue;
        const auto& p = produtos[n - 1];
        produto.SetTag(std::to_string(p.codigo));
        produto.SetCaption(p.texto);
        menu.mnuCarrinho[n]->SetCaption(Traduz(2));
        menu.mnuObservacao[n]->SetCaption(Traduz(3));
        menu.mnuObservacao[n]->SetVisible(p.observacao);
        menu.mnuAplicacao[n]->SetCaption(Traduz(27));
    }
    if (produtos.empty()) return;
    // One product goes straight to its actions; several are listed first.
    PopupMenu(produtos.size() == 1 ? *menu.mnuProduto[1] : *menu.mnuItensFigura);
}

// The button of the page now shown is no link (it points with the arrow): nothing to do.
void frmZornakForm::lblPagF_Click(int indice) {
    if (indice == PaginaFiguraAtual) return;
    vb::Screen().SetMousePointer(vb::vbHourglass);
    telas_->ParaPiscarItensFigura();
    telas_->MostraPaginaFigura(static_cast<std::uint8_t>(indice));
    vb::Screen().SetMousePointer(vb::vbDefault);
}

// ---------------------------------------------------------------- headers and buttons

void frmZornakForm::CabecalhoClick(const std::string& nomeLabel) {
    const Cabecalho* c = AchaCabecalho(nomeLabel);
    if (!c) return;
    if (c->guardaTroca && m_TrocandoTela) return;
    const std::string ordem = c->ordem;
    if (c->painel == 2) {
        telas_->PesquisaAplicacoes(ordem, true);
    } else if (c->painel == 1) {
        const bool aplicacoes = nomeLabel == "lblTipoAplicacao" || nomeLabel == "lblAplicacaoProduto" ||
                                nomeLabel == "lblFabricante";
        if (aplicacoes) telas_->AtualizaPainelProduto(ordem, true, 0);
        else telas_->PesquisaProdutos(ordem, true);
    } else if (Termina(nomeLabel, "LV")) {
        telas_->PesquisaProdutosAplicacao(ordem, true);
    } else {
        telas_->PesquisaProdutosConjunto(ordem, true);
    }
}

void frmZornakForm::imgCarrinhoTodos_Click() {
    const dao::Recordset rs = dtcTHGrid1.GetRecordset();
    if (rs.IsNothing() || rs.Eof()) {
        vb::MsgBox(Traduz(5) + ".", vb::vbInformation, Traduz(0));
        return;
    }
    if (vb::MsgBox(Traduz(28) + "\r\n\r\n" + Traduz(55), vb::vbYesNo | vb::vbQuestion, Traduz(0)) != vb::vbYes)
        return;
    vb::Screen().SetMousePointer(vb::vbHourglass);
    dao::Recordset todos = rs.Clone();
    try {
        if (!todos.Eof()) todos.MoveFirst();
        while (!todos.Eof()) {
            IncluiProdutoCarrinho(todos.Value("CodigoProduto").ToLong(), 1);
            todos.MoveNext();
        }
    } catch (...) {
        todos.Close();
        vb::Screen().SetMousePointer(vb::vbDefault);
        throw;
    }
    todos.Close();
    vb::Screen().SetMousePointer(vb::vbDefault);
    AbreTelaAuxiliar(2, std::to_string(rs.Value("CodigoProduto").ToLong()));
}

void frmZornakForm::imgSiteZornak_Click() { AbreNavegador(EnderecoSiteZornak); }

void frmZornakForm::lblLinkPopUp_Click() { AbreNavegador(EnderecoContatoZornak); }
