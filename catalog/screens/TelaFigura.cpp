// The figure screen: pages, page buttons and the item labels with their markers.
#include "catalog/screens/TelaFigura.h"

#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Screen.h"
#include "platform/vb/Strings.h"

#include <cstdio>

namespace {

std::string Formata(long valor, int digitos) {
    char texto[16];
    std::snprintf(texto, sizeof texto, "%0*ld", digitos, valor);
    return texto;
}

}  // namespace

TelaFigura::TelaFigura(frmZornakForm& janela, TelasCatalogo& telas)
    : janela_(janela), telas_(telas) {
    janela_.ItemFiguraSelecionado = -1;
    CriaControles();
}

int TelaFigura::EstadoItemFigura(int item) const {
    return item >= 0 && item < static_cast<int>(estadoItem_.size()) ? estadoItem_[item] : 0;
}

int TelaFigura::EstadoDesenhado(int item) const {
    return item >= 0 && item < static_cast<int>(estadoDesenhado_.size()) ? estadoDesenhado_[item] : 0;
}

void TelaFigura::DefineEstado(int item, int estado) {
    if (item >= static_cast<int>(estadoItem_.size())) {
        estadoItem_.resize(item + 1, 0);
        estadoDesenhado_.resize(item + 1, 0);
    }
    estadoItem_[item] = estado;
}

// ----------------------------------------------------------------------------- the screen

void TelaFigura::MostraTelaFigura() {
    janela_.MostraTitulo("lblTituloF", "imgTituloF", MontaDescricaoAplicacao(janela_.CodigoAplicacaoFigura, true, true));
    lblTitDescricaoProdutoF_->SetCaption(vb::UCase(Traduz(40)));
    lblTitNumeroEmpresaF_->SetCaption(vb::UCase(Traduz(32)));
    lblTitNumeroReferenciaF_->SetCaption(vb::UCase(Traduz(42)));
    (*lblObsF_)(0).SetCaption(vb::UCase(Traduz(44)));
    lblProximaPaginaF_->SetCaption(Traduz(62));
    janela_.lblImprimir->SetToolTipText(Traduz(57) + " " + Traduz(8) + " <CRTL+P>");

    const int conjunto = telas_.ObtemConjunto(janela_.CodigoAplicacaoFigura, -1);
    janela_.FabricantesLista = ObtemFabricantesAplicacao(janela_.CodigoAplicacaoFigura);
    MostraDadosItem(-1, 1);
    CarregaFiguraDetalhada(conjunto);
    AbreItensConjunto(conjunto);
    janela_.ItemFiguraSelecionado = -1;
    LocalizaItensFigura(conjunto);

    vb::Image& legenda = janela_.Img("imgLegendaLancamento");
    legenda.SetVisible(legenda.Tag() == "1");
    (*janela_.pctTela)(4).SetVisible(true);
    janela_.MostraRodapeLista(true);
}

void TelaFigura::CarregaFiguraDetalhada(int conjunto) {
    vb::Image& legenda = janela_.Img("imgLegendaLancamento");
    vb::Image& figura = janela_.Img("imgFiguraDetalhada");
    legenda.SetTag("");
    const std::string sql = consultas::CarregaFiguraDetalhada(conjunto);
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenForwardOnly);

    QuantidadeItensFigura = 0;
    long parteAtual = 0;
    int p = -1;
    janela_.PaginaFiguraAtual = 255;
    figura.SetTag("");
    auto* lblPagF = janela_.ArranjoControles<vb::Label>("lblPagF");
    auto* imgBtnPagF = janela_.ArranjoControles<vb::Image>("imgBtnPagF");
    auto* imgBtnPagFSel = janela_.ArranjoControles<vb::Image>("imgBtnPagFSel");

    while (!rs.Eof()) {
        const int n = ++QuantidadeItensFigura;
        vb::Label& rotulo = lblItem_->Load(n);
        vb::Image& marcador = imgItem_->Load(n);
        DefineEstado(n, 0);
        estadoDesenhado_[n] = 0;
        const long parte = rs.Value("NumeroParteFigura").ToLong();
        if (parte != parteAtual) {
            parteAtual = parte;
            ++p;
            const std::string arquivo = ObtemValorCampo(rs.Value("ArqFig"), "").ToString();
            figura.SetTag(figura.Tag().empty() ? arquivo : figura.Tag() + "|" + arquivo);
            janela_.PaginasFigura.resize(p + 1);
            if (p > 0) {
                lblPagF->Load(p);
                imgBtnPagFSel->Load(p);
                imgBtnPagF->Load(p);
                // Clickable until it is the page shown, whatever the template was left at.
                (*lblPagF)(p).SetMousePointer(vb::vbCustom);
            }
            (*lblPagF)(p).SetCaption(std::to_string(p + 1));
            (*lblPagF)(p).SetToolTipText(Traduz(61) + " " + std::to_string(p + 1));
            janela_.PaginasFigura[p] = Formata(parte, 2) + Formata(n, 3);
        }
        if (rs.Value("ItemAplicavel").IsNull()) {
            DefineEstado(n, 1);
            DesenhaBolaItem(n);
        } else {
            const vb::Variant flag = rs.Value("FlagLanc");
            if (!flag.IsNull() && flag.ToLong() == 1) {
                DefineEstado(n, 2);
                DesenhaBolaItem(n);
                legenda.SetTag("1");
            }
        }
        rotulo.SetCaption(rs.Value("ItemFigura").ToString());
        rotulo.Move(figura.Left() + static_cast<int>(rs.Value("PosicaoLeft").ToLong()),
                    figura.Top() + static_cast<int>(rs.Value("PosicaoTop").ToLong()));
        rotulo.SetTag(Formata(p, 2));
        PosicionaMarcadorItem(n);
        // The number stands over its ball.
        marcador.ZOrder(0);
        rotulo.ZOrder(0);
        rs.MoveNext();
        if (rs.Eof() || rs.Value("NumeroParteFigura").ToLong() != parteAtual) {
            janela_.PaginasFigura[p] += Formata(QuantidadeItensFigura, 3);
            if (p == 3) break;
        }
    }
    rs.Close();
    figura.ZOrder(1);

    const int ultima = p;
    if (ultima >= 1) {
        janela_.Img("imgRodapeEsq").ZOrder(1);
        for (int q = ultima; q >= 0; --q) {
            const int d = (ultima - q) * 35;
            (*lblPagF)(q).SetLeft(479 - d);
            (*imgBtnPagF)(q).SetLeft(475 - d);
            (*imgBtnPagFSel)(q).SetLeft(475 - d);
            (*lblPagF)(q).SetVisible(true);
            (*imgBtnPagF)(q).SetVisible(true);
            // Loaded after its selected picture, the plate would hide it: the plate at the
            // bottom, the selected picture over it, the number on top.
            (*imgBtnPagFSel)(q).ZOrder(0);
            (*lblPagF)(q).ZOrder(0);
        }
    }
}

void TelaFigura::PosicionaMarcadorItem(int item) {
    const vb::Label& rotulo = (*lblItem_)(item);
    const int s = EstadoItemFigura(item);
    vb::Image& marcador = (*imgItem_)(item);
    marcador.Move(rotulo.Left() - (s == 2 ? 1 : 0), rotulo.Top() - (s == 2 ? 7 : 5));
}

void TelaFigura::AbreItensConjunto(int conjunto) {
    const std::string sql = consultas::AbreItensConjunto(conjunto, EstadoPrograma.Idioma);
    ItensFigura = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenSnapshot);
}

void TelaFigura::MostraPaginaFigura(std::uint8_t pagina) {
    auto& paginas = janela_.PaginasFigura;
    if (paginas.empty() || pagina >= paginas.size()) return;
    auto* lblPagF = janela_.ArranjoControles<vb::Label>("lblPagF");
    auto* imgBtnPagFSel = janela_.ArranjoControles<vb::Image>("imgBtnPagFSel");
    vb::Image& figura = janela_.Img("imgFiguraDetalhada");
    auto faixa = [](const std::string& entrada, int& primeiro, int& ultimo) {
        primeiro = std::stoi(entrada.substr(2, 3));
        ultimo = std::stoi(entrada.substr(5, 3));
    };
    int primeiro = 0, ultimo = -1;
    const std::uint8_t atual = janela_.PaginaFiguraAtual;
    if (atual < 255 && atual < paginas.size()) {
        faixa(paginas[atual], primeiro, ultimo);
        for (int i = primeiro; i <= ultimo; ++i) {
            (*lblItem_)(i).SetVisible(false);
            (*imgItem_)(i).SetVisible(false);
        }
        figura.SetVisible(false);
        figura.SetPicture(vb::Picture());
        if ((*lblPagF)(atual).Visible()) {
            (*imgBtnPagFSel)(atual).SetVisible(false);
            (*lblPagF)(atual).SetMousePointer(vb::vbCustom);
        }
    }
    const std::vector<std::string> arquivos = vb::Split(figura.Tag(), "|");
    telas_.Painel().MostraFigura(pagina < arquivos.size() ? arquivos[pagina] : "");
    figura.SetVisible(true);
    faixa(paginas[pagina], primeiro, ultimo);
    for (int i = primeiro; i <= ultimo; ++i) {
        (*lblItem_)(i).SetVisible(true);
        (*imgItem_)(i).SetVisible(true);
    }
    if ((*lblPagF)(pagina).Visible()) {
        if (janela_.m_ChaveSelecao == "PAGINAF" + std::to_string(pagina)) janela_.AtualizaSelecaoMouse("FORM");
        (*lblPagF)(pagina).SetMousePointer(vb::vbDefault);
        (*imgBtnPagFSel)(pagina).SetVisible(true);
        (*lblPagF)(pagina).ZOrder(0);
    }
    janela_.PaginaFiguraAtual = pagina;
}

void TelaFigura::EscondeTelaFigura() {
    vb::Image& figura = janela_.Img("imgFiguraDetalhada");
    figura.SetVisible(false);
    figura.SetPicture(vb::Picture());
    janela_.MostraRodapeLista(false);
    janela_.Img("imgLegendaLancamento").SetVisible(false);
    (*janela_.pctTela)(4).SetVisible(false);
    ParaPiscarItensFigura();
    LimpaFiguraDetalhada();
}

void TelaFigura::LimpaFiguraDetalhada() {
    for (int i = 1; i <= QuantidadeItensFigura; ++i) {
        if (lblItem_->Exists(i)) lblItem_->Unload(i);
        if (imgItem_->Exists(i)) imgItem_->Unload(i);
    }
    DefineEstado(0, 0);
    DesenhaBolaItem(0);
    estadoItem_.resize(1);
    estadoDesenhado_.resize(1);
    if (!janela_.PaginasFigura.empty()) {
        auto* lblPagF = janela_.ArranjoControles<vb::Label>("lblPagF");
        auto* imgBtnPagF = janela_.ArranjoControles<vb::Image>("imgBtnPagF");
        auto* imgBtnPagFSel = janela_.ArranjoControles<vb::Image>("imgBtnPagFSel");
        janela_.Img("imgFiguraDetalhada").SetPicture(vb::Picture());
        (*lblPagF)(0).SetVisible(false);
        (*imgBtnPagF)(0).SetVisible(false);
        (*imgBtnPagFSel)(0).SetVisible(false);
        (*lblPagF)(0).SetMousePointer(vb::vbCustom);
        for (int p = 1; p < static_cast<int>(janela_.PaginasFigura.size()); ++p) {
            if (lblPagF->Exists(p)) lblPagF->Unload(p);
            if (imgBtnPagF->Exists(p)) imgBtnPagF->Unload(p);
            if (imgBtnPagFSel->Exists(p)) imgBtnPagFSel->Unload(p);
        }
        janela_.PaginasFigura.clear();
    }
    try {
        if (!ItensFigura.IsNothing()) ItensFigura.Close();
    } catch (...) {
    }
    ItensFigura = dao::Recordset();
}
