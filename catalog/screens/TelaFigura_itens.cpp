// The figure's items: their markers, the hover, the item panel and the marked items.
#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/screens/TelaFigura.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Strings.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long CinzaClaro = 0xE0E0E0;

const char* PinturaBola(int estado) {
    switch (estado) {
    case 0: return "BOLANORMAL";
    case 1: return "BOLANAOAPLICAVEL";
    case 2: return "BOLALANC";
    default: return nullptr;
    }
}

template <class T>
vb::ControlArray<T>* ArranjoNoPainel(frmZornakForm& janela, vb::Container& painel, const char* nome) {
    if (auto* a = janela.ArranjoControles<T>(nome)) return a;
    return janela.NewArray<T>(painel, nome);
}

vb::Label* RotuloNoPainel(frmZornakForm& janela, vb::Container& painel, const char* nome) {
    if (auto* l = dynamic_cast<vb::Label*>(janela.Controle(nome))) return l;
    return janela.New<vb::Label>(painel, nome);
}

void Desenho(vb::Label& l, int left, int top, int width, int height, double tamanho, bool negrito, long cor) {
    l.Move(left, top, width, height);
    l.SetBackStyle(0);
    l.SetFont("Arial", tamanho, negrito);
    l.SetForeColor(cor);
    l.SetVisible(false);
}

}  // namespace

void TelaFigura::CriaControles() {
    vb::PictureBox& painel = (*janela_.pctTela)(4);
    // The panel measures the texts of the item panel in their font.
    painel.SetFont("Arial", 8);
    // The page buttons point with the hand while they are clickable (every page but the one
    // shown); the loaded buttons copy their template.
    if (auto* paginas = janela_.ArranjoControles<vb::Label>("lblPagF")) {
        try {
            (*paginas)(0).SetMouseIcon(CarregaImagemRecurso("frmZornak.CursorLink", "D"), 10, 1);
        } catch (...) {
        }
        (*paginas)(0).SetMousePointer(vb::vbCustom);
    }
    // The selected picture of a page button only shows: the pointer stays with the button.
    if (auto* selecionadas = janela_.ArranjoControles<vb::Image>("imgBtnPagFSel")) (*selecionadas)(0).SetDisplayOnly(true);
    lblItem_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblItem");
    imgItem_ = ArranjoNoPainel<vb::Image>(janela_, painel, "imgItem");
    vb::Label& item = (*lblItem_)(0);
    Desenho(item, 0, 0, 24, 15, 8, true, vb::vbWhite);
    item.SetAlignment(vb::vbCenter);
    vb::Image& bola = (*imgItem_)(0);
    bola.Move(0, 0, 23, 23);
    bola.SetPicture(CarregaImagemRecurso("BOLANORMAL", "G"));
    bola.SetVisible(false);
    estadoItem_.assign(1, 0);
    estadoDesenhado_.assign(1, 0);

    lblTitDescricaoProdutoF_ = RotuloNoPainel(janela_, painel, "lblTitDescricaoProdutoF");
    lblTitNumeroEmpresaF_ = RotuloNoPainel(janela_, painel, "lblTitNumeroEmpresaF");
    lblTitNumeroReferenciaF_ = RotuloNoPainel(janela_, painel, "lblTitNumeroReferenciaF");
    lblPaginaXdeXF_ = RotuloNoPainel(janela_, painel, "lblPaginaXdeXF");
    lblProximaPaginaF_ = RotuloNoPainel(janela_, painel, "lblProximaPaginaF");
    const long titulo = vb::RGB(0xC8, 0x10, 0x2E);
    for (vb::Label* l : {lblTitDescricaoProdutoF_, lblTitNumeroEmpresaF_, lblTitNumeroReferenciaF_}) {
        Desenho(*l, 590, 54, 186, 14, 8, true, titulo);
        l->SetVisible(true);
    }
    Desenho(*lblPaginaXdeXF_, 590, 384, 186, 13, 7.5, true, vb::vbBlack);
    Desenho(*lblProximaPaginaF_, 590, 398, 186, 26, 6.75, false, vb::RGB(0x55, 0x55, 0x55));
    lblProximaPaginaF_->SetWordWrap(true);

    lblDescricaoProdutoF_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblDescricaoProdutoF");
    lblNumeroEmpresaF_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblNumeroEmpresaF");
    lblObsF_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblObsF");
    imgLancF_ = ArranjoNoPainel<vb::Image>(janela_, painel, "imgLancF");
    lblDataLancF_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblDataLancF");
    lblNroF_ = ArranjoNoPainel<vb::Label>(janela_, painel, "lblNroF");
    Desenho((*lblDescricaoProdutoF_)(0), 590, 72, 186, 13, 8, false, vb::vbBlack);
    (*lblDescricaoProdutoF_)(0).SetWordWrap(true);
    Desenho((*lblNumeroEmpresaF_)(0), 590, 120, 90, 13, 8, true, vb::vbBlack);
    Desenho((*lblObsF_)(0), 684, 120, 26, 13, 7.5, true, CorDestaque);
    (*imgLancF_)(0).Move(714, 119, 16, 16);
    (*imgLancF_)(0).SetVisible(false);
    try {
        (*imgLancF_)(0).SetPicture(CarregaImagemRecurso("frmZornak.imgLancM0", "D"));
    } catch (...) {
    }
    Desenho((*lblDataLancF_)(0), 732, 121, 44, 12, 6.75, true, CorDestaque);
    Desenho((*lblNroF_)(0), 590, 170, 186, 13, 8, false, vb::vbBlack);
    (*lblNroF_)(0).SetWordWrap(true);
    for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblNroF_}) (*a)(0).SetBackColor(CinzaClaro);

    tmrFigura_ = janela_.NewTimer("tmrFigura", 150, false);
    tmrFigura_->TimerEvent = [this] { tmrFigura_Timer(); };
    // The item labels' events are the main window's: it sends the hover here and keeps the
    // buttons (the panel's pages, the item's menu) for itself.
}

// Marked items of other pages stay hidden with their page: only the shown page blinks.
bool TelaFigura::NaPaginaAtual(int item) const {
    return janela_.PaginaFiguraAtual < 255 && lblItem_->Exists(item) &&
           std::atoi((*lblItem_)(item).Tag().c_str()) == janela_.PaginaFiguraAtual;
}

void TelaFigura::DesenhaBolaItem(int item) {
    const int s = EstadoItemFigura(item);
    if (item >= static_cast<int>(estadoDesenhado_.size())) DefineEstado(item, s);
    if (estadoDesenhado_[item] == s) return;
    if (const char* nome = PinturaBola(s)) {
        (*imgItem_)(item).SetPicture(CarregaImagemRecurso(nome, "G"));
        (*lblItem_)(item).SetForeColor(s == 2 ? vb::vbBlack : vb::vbWhite);
    }
    estadoDesenhado_[item] = s;
}

void TelaFigura::lblItem_MouseMove(int indice) {
    if (indice == janela_.ItemFiguraSelecionado) return;
    if (janela_.ItemFiguraSelecionado != -1 || tmrFigura_->Enabled()) {
        if (tmrFigura_->Enabled()) {
            tmrFigura_->SetEnabled(false);
            for (int k = 0; k <= UltimoItemPiscando; ++k)
                if (NaPaginaAtual(static_cast<int>(ItensPiscando[k]))) (*imgItem_)(static_cast<int>(ItensPiscando[k])).SetVisible(true);
        }
        if (janela_.ItemFiguraSelecionado != -1) DesenhaBolaItem(janela_.ItemFiguraSelecionado);
        LimpaPainelItem(true);
    }
    janela_.ItemFiguraSelecionado = indice;
    const int desenhado = EstadoDesenhado(indice);
    vb::Image& bola = (*imgItem_)(indice);
    if (desenhado != 2) bola.SetPicture(CarregaImagemRecurso("BOLASELECIONADA", "G"));
    estadoDesenhado_[indice] = EstadoItemFigura(indice) + 10;
    bola.ZOrder(0);
    vb::Label& numero = (*lblItem_)(indice);
    if (desenhado == 2) numero.SetForeColor(CorDestaque);
    numero.ZOrder(0);
    MostraDadosItem(indice, 1);
}

void TelaFigura::RestauraItemSelecionado() {
    if (janela_.ItemFiguraSelecionado == -1) return;
    LimpaPainelItem(true);
    DesenhaBolaItem(janela_.ItemFiguraSelecionado);
    janela_.ItemFiguraSelecionado = -1;
}

void TelaFigura::LimpaPainelItem(bool completo) {
    for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblObsF_, lblDataLancF_, lblNroF_}) {
        (*a)(0).SetVisible(false);
        a->UnloadAll();
    }
    (*imgLancF_)(0).SetVisible(false);
    imgLancF_->UnloadAll();
    if (!completo) return;
    if ((*lblNumeroEmpresaF_)(0).ForeColor() != 0)
        for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblNroF_}) (*a)(0).SetForeColor(vb::vbBlack);
    lblPaginaXdeXF_->SetVisible(false);
    lblProximaPaginaF_->SetVisible(false);
    MostraDadosItem(-1, 1);
}

void TelaFigura::MostraDadosItem(int item, std::uint8_t pagina) {
    bool achou = false;
    long pular = 0;
    std::string legenda;
    if (item >= 0 && !ItensFigura.IsNothing()) {
        legenda = (*lblItem_)(item).Caption();
        ItensFigura.FindFirst(consultas::CriterioItemFigura(legenda));
        achou = !ItensFigura.NoMatch();
        if (achou && pagina > 1) {
            pular = (pagina - 1) * 4L;
            const dao::Bookmark inicio = ItensFigura.GetBookmark();
            ItensFigura.Move(pular);
            // A page beyond the item's products starts over on its first.
            if (ItensFigura.Eof() || ItensFigura.Value("ItemFigura").ToString() != legenda) {
                ItensFigura.SetBookmark(inicio);
                pular = 0;
                pagina = 1;
            }
        }
    }
    lblTitDescricaoProdutoF_->SetTag(achou ? "" : "NA");
    (*lblDescricaoProdutoF_)(0).SetFontStrikethru(!achou && item >= 0);

    int k = 0;
    for (;;) {
        if (k >= 1 && k <= 3) {
            for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblObsF_, lblDataLancF_, lblNroF_})
                if (!a->Exists(k)) a->Load(k);
            if (!imgLancF_->Exists(k)) imgLancF_->Load(k);
            (*lblDescricaoProdutoF_)(k).SetFontStrikethru(false);
        }
        if (k <= 3) {
            vb::Label& descricao = (*lblDescricaoProdutoF_)(k);
            vb::Label& numero = (*lblNumeroEmpresaF_)(k);
            vb::Label& referencias = (*lblNroF_)(k);
            if (achou) {
                const vb::Variant d = ItensFigura.Value("DescricaoProduto");
                const vb::Variant n = ItensFigura.Value("NumeroEmpresaFormatado");
                const long codigo = ItensFigura.Value("CodigoProduto").ToLong();
                const vb::Variant flag = ItensFigura.Value("FlagLancamento");
                const vb::Variant data = ItensFigura.Value("DataLancamento");
                descricao.SetCaption(ObtemValorCampo(d, "").ToString());
                numero.SetCaption(ObtemValorCampo(n, "").ToString());
                referencias.SetCaption(ObtemReferenciasCruzadas(codigo, janela_.FabricantesLista));
                numero.SetTag(std::to_string(codigo));
                (*lblObsF_)(k).SetTag(ItensFigura.Value("Observacao").IsNull() ? "0" : "1");
                (*imgLancF_)(k).SetTag((flag.IsNull() || flag.ToLong() == 0) ? "0" : "1");
                (*lblDataLancF_)(k).SetCaption(FormataDataCompacta(ObtemValorCampo(data, "").ToString(), true));
            } else {
                descricao.SetCaption(item < 0 ? "" : vb::UCase(Traduz(12)));
                numero.SetCaption("");
                referencias.SetCaption("");
                (*lblDataLancF_)(k).SetCaption("");
                numero.SetTag("0");
                (*lblObsF_)(k).SetTag("0");
                (*imgLancF_)(k).SetTag("0");
            }
            for (vb::Label* l : {&descricao, &numero, &referencias}) l->SetBackStyle(k % 2 == 1 ? 1 : 0);
        }
        if (!achou) break;
        ItensFigura.MoveNext();
        if (ItensFigura.Eof() || ItensFigura.Value("ItemFigura").ToString() != legenda) break;
        ++k;
    }

    const long quantidade = k + 1 + pular;
    const long paginas = quantidade / 4 + (quantidade % 4 > 0 ? 1 : 0);
    lblPaginaXdeXF_->SetCaption(vb::Replace(vb::Replace(Traduz(56), "|1|", std::to_string(pagina)), "|2|",
                                            std::to_string(paginas)));
    lblPaginaXdeXF_->SetTag(std::to_string(pagina));
    lblProximaPaginaF_->SetTag(std::to_string(paginas));

    const int ultima = k < 3 ? k : 3;
    vb::PictureBox& tela = (*janela_.pctTela)(4);
    for (int r = 0; r <= ultima; ++r) {
        vb::Label& descricao = (*lblDescricaoProdutoF_)(r);
        vb::Label& numero = (*lblNumeroEmpresaF_)(r);
        vb::Label& referencias = (*lblNroF_)(r);
        if (pagina > 1 || ultima > 0) {
            const std::string prefixo = std::to_string(r + 1 + pular) + " - ";
            for (vb::Label* l : {&descricao, &numero, &referencias}) l->SetCaption(prefixo + l->Caption());
        }
        descricao.SetHeight(tela.TextWidth(descricao.Caption()) > descricao.Width() ? 26 : 13);
        numero.SetHeight(13);
        referencias.SetHeight(tela.TextWidth(referencias.Caption()) > referencias.Width() ? 26 : 13);
    }

    // The three blocks stack down the panel: each row 2 pixels under the one above it, a
    // block's title 6 pixels under the last row of the block before and its rows 18 under it.
    double y = lblTitDescricaoProdutoF_->Top() + 18;
    auto arredonda = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    auto empilha = [&](vb::ControlArray<vb::Label>& linhas, auto&& aoLado) {
        for (int r = 0; r <= ultima; ++r) {
            vb::Label& l = linhas(r);
            l.SetTop(arredonda(y));
            aoLado(r, y);
            y = y + l.Height() + 2;
        }
    };
    auto titulo = [&](vb::Label& t) {
        t.SetTop(arredonda(y + 6));
        y = t.Top() + 18;
    };
    auto nada = [](int, double) {};
    empilha(*lblDescricaoProdutoF_, nada);
    titulo(*lblTitNumeroEmpresaF_);
    empilha(*lblNumeroEmpresaF_, [&](int r, double topo) {
        (*lblObsF_)(r).SetTop(arredonda(topo));
        (*imgLancF_)(r).SetTop(arredonda(topo - 1));
        (*lblDataLancF_)(r).SetTop(arredonda(topo + 1));
    });
    titulo(*lblTitNumeroReferenciaF_);
    empilha(*lblNroF_, nada);

    for (int r = 0; r <= ultima; ++r) {
        for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblObsF_, lblDataLancF_, lblNroF_}) (*a)(r).ZOrder(0);
        (*imgLancF_)(r).ZOrder(0);
        (*lblDescricaoProdutoF_)(r).SetVisible(true);
        (*lblNumeroEmpresaF_)(r).SetVisible(true);
        (*lblNroF_)(r).SetVisible(true);
        (*lblObsF_)(r).SetVisible((*lblObsF_)(r).Tag() == "1");
        const bool lancamento = (*imgLancF_)(r).Tag() == "1";
        (*imgLancF_)(r).SetVisible(lancamento);
        (*lblDataLancF_)(r).SetVisible(lancamento);
    }
    if (paginas > 1) {
        lblPaginaXdeXF_->ZOrder(0);
        lblProximaPaginaF_->ZOrder(0);
        lblPaginaXdeXF_->SetVisible(true);
        lblProximaPaginaF_->SetVisible(true);
    }
}

void TelaFigura::LocalizaItensFigura(int conjunto) {
    std::string lista;
    const std::string& pedido = EstadoPrograma.RequisicaoTela;
    const long p = vb::InStr(pedido, "I:");
    if (p > 0) {
        const long fim = vb::InStr(p + 2, pedido, ":I");
        const std::string resto = vb::Mid(pedido, p + 2);
        lista = (fim > 0 ? vb::Mid(pedido, p + 2, fim - p - 2) : resto) + "|";
    }
    const long q = vb::InStr(pedido, "P:");
    if (q > 0) {
        const long fim = vb::InStr(q + 2, pedido, ":P");
        const std::string codigo = fim > 0 ? vb::Mid(pedido, q + 2, fim - q - 2) : vb::Mid(pedido, q + 2);
        // Only a number goes into the SQL: anything else finds no item.
        if (!codigo.empty() && codigo.find_first_not_of("0123456789") == std::string::npos) {
            dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(consultas::ItensProdutoConjunto(conjunto, codigo),
                                                                        dao::dbOpenForwardOnly);
            while (!rs.Eof()) {
                lista += rs.Value("ItemFigura").ToString() + "|";
                rs.MoveNext();
            }
            rs.Close();
        }
    }
    EstadoPrograma.RequisicaoTela.clear();
    MarcaItensFigura(lista);
}

void TelaFigura::MarcaItensFigura(const std::string& lista) {
    UltimoItemPiscando = -1;
    ItensPiscando.clear();
    bool primeiro = true;
    if (janela_.PaginasFigura.empty()) return;
    const std::string procura = "|" + lista;
    for (int i = 1; i <= QuantidadeItensFigura; ++i) {
        const std::string c = (*lblItem_)(i).Caption();
        if (procura.find("|" + c + "|") == std::string::npos) continue;
        if (!ItensFigura.IsNothing()) {
            ItensFigura.FindFirst(consultas::CriterioItemFigura(c));
            if (!ItensFigura.NoMatch()) {
                for (auto* a : {lblDescricaoProdutoF_, lblNumeroEmpresaF_, lblNroF_}) (*a)(0).SetForeColor(CorDestaque);
                if (primeiro) {
                    primeiro = false;
                    MostraDadosItem(i, 1);
                }
            }
        }
        ItensPiscando.push_back(i);
        ++UltimoItemPiscando;
    }
    if (UltimoItemPiscando >= 0) {
        const std::string pagina = (*lblItem_)(static_cast<int>(ItensPiscando[0])).Tag().substr(0, 2);
        MostraPaginaFigura(static_cast<std::uint8_t>(std::atoi(pagina.c_str())));
        tmrFigura_->SetEnabled(true);
    } else {
        MostraPaginaFigura(0);
    }
}

void TelaFigura::tmrFigura_Timer() {
    try {
        if (UltimoItemPiscando < 0) {
            tmrFigura_->SetEnabled(false);
            return;
        }
        for (int k = 0; k <= UltimoItemPiscando; ++k) {
            if (!NaPaginaAtual(static_cast<int>(ItensPiscando[k]))) continue;
            vb::Image& bola = (*imgItem_)(static_cast<int>(ItensPiscando[k]));
            bola.SetVisible(!bola.Visible());
        }
    } catch (...) {
    }
}

void TelaFigura::ParaPiscarItensFigura() {
    tmrFigura_->SetEnabled(false);
    if (UltimoItemPiscando >= 0) {
        for (int k = 0; k <= UltimoItemPiscando; ++k) {
            try {
                if (NaPaginaAtual(static_cast<int>(ItensPiscando[k])))
                    (*imgItem_)(static_cast<int>(ItensPiscando[k])).SetVisible(true);
            } catch (...) {
            }
        }
        UltimoItemPiscando = -1;
        ItensPiscando.clear();
    }
    LimpaPainelItem(true);
    RestauraItemSelecionado();
}

std::vector<ITelasCatalogo::ProdutoItemFigura> TelaFigura::ProdutosPainelItem() const {
    std::vector<ITelasCatalogo::ProdutoItemFigura> produtos;
    if (lblTitDescricaoProdutoF_->Tag() == "NA" || janela_.ItemFiguraSelecionado < 0) return produtos;
    int linhas = 0;
    while (linhas <= 3 && lblNumeroEmpresaF_->Exists(linhas) && (*lblNumeroEmpresaF_)(linhas).Visible()) ++linhas;
    // The rows of an item with several products each carry their position ("2 - ") on the
    // number and on the description; the menu entry shows it once.
    const int pagina = std::max(1, PaginaPainelItem());
    const bool numeradas = pagina > 1 || linhas > 1;
    for (int r = 0; r < linhas; ++r) {
        ITelasCatalogo::ProdutoItemFigura p;
        p.codigo = std::atol((*lblNumeroEmpresaF_)(r).Tag().c_str());
        const std::string prefixo = numeradas ? std::to_string(r + 1 + (pagina - 1) * 4) + " - " : "";
        auto semPrefixo = [&prefixo](const std::string& texto) {
            return !prefixo.empty() && texto.rfind(prefixo, 0) == 0 ? texto.substr(prefixo.size()) : texto;
        };
        const std::string n = semPrefixo((*lblNumeroEmpresaF_)(r).Caption());
        const std::string d = semPrefixo((*lblDescricaoProdutoF_)(r).Caption());
        p.texto = prefixo + (n.empty() ? d : n + "   " + d);
        p.observacao = (*lblObsF_)(r).Tag() == "1";
        produtos.push_back(p);
    }
    return produtos;
}

int TelaFigura::PaginasPainelItem() const { return std::atoi(lblProximaPaginaF_->Tag().c_str()); }
int TelaFigura::PaginaPainelItem() const { return std::atoi(lblPaginaXdeXF_->Tag().c_str()); }
