#include "catalog/screens/EventosListas.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmMenu.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasTelas.h"
#include "catalog/screens/ModuloTelas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelasCatalogo.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/Strings.h"

namespace {

// Character n (from 1) of the row's ImagensGrid is a blank: that picture is shown.
bool ImagemVisivel(const dao::DataControl& dc, long n) {
    const vb::Variant v = dc.GetRecordset().Value("ImagensGrid");
    if (v.IsNull()) return false;
    return vb::Mid(v.ToString(), n, 1) == " ";
}

}  // namespace

EventosListas::EventosListas(frmZornakForm& janela, TelasCatalogo& telas) : janela_(janela), telas_(telas) {
    AbreTelaAuxiliar = [this](std::uint8_t modo, const std::string& p) { janela_.AbreTelaAuxiliar(modo, p); };
    MostraMenu = [this](const std::string& nome) {
        if (VerificaFormularioCarregado("frmMenu")) frmMenu().Unload();
        frmMenuForm& menu = frmMenu();
        // Its load builds the items from ConjuntosMenu, as RequisicaoTela asks.
        menu.Load();
        janela_.PopupMenu(nome == "mnuConjuntos" ? *menu.mnuConjuntos : *menu.mnuConjuntosVeiculo);
    };
}

void EventosListas::IncluiNoCarrinho(long produto) {
    IncluiProdutoCarrinho(produto, 1);
    AbreTelaAuxiliar(2, std::to_string(produto));
}

void EventosListas::TrocaParaFigura(long aplicacao, std::uint8_t saindo) {
    janela_.CodigoAplicacaoFigura = static_cast<int>(aplicacao);
    if (!janela_.m_HistoricoTelas.empty()) janela_.m_HistoricoTelas.back() = '4';
    else janela_.m_HistoricoTelas = "4";
    janela_.TrocaTela(4, saindo, "");
}

void EventosListas::grdTHGrid1_ImageClick(std::uint8_t sColuna, int /*sButton*/) {
    if (janela_.m_TrocandoTela) return;
    const dao::DataControl& dc = janela_.dtcTHGrid1;
    if (!TemLinhaAtual(dc)) return;
    const int tela = janela_.TelaAtual();
    if (tela == 1 || tela == 5) {
        const long produto = CodigoAtual(dc, "CodigoProduto");
        if (sColuna == 0) IncluiNoCarrinho(produto);
        else if (sColuna == 2 && ImagemVisivel(dc, 2)) AbreTelaAuxiliar(0, "P|" + std::to_string(produto));
    } else if (tela == 2) {
        const long aplicacao = CodigoAtual(dc, "CodigoAplicacao");
        if (sColuna == 0 && ImagemVisivel(dc, 1)) {
            telas_.ReiniciaContextoLista();
            janela_.CodigoAplicacaoFigura = static_cast<int>(aplicacao);
            janela_.CodigoAplicacaoLista = aplicacao;
            janela_.m_HistoricoTelas += "4";
            janela_.TrocaTela(4, 2, "LimpaTelaLista");
        } else if (sColuna == 1) {
            telas_.ReiniciaContextoLista();
            janela_.CodigoAplicacaoLista = aplicacao;
            janela_.m_HistoricoTelas += "3";
            janela_.TrocaTela(3, 2, "LimpaTelaLista");
        }
    } else if (tela == 3) {
        const int s = janela_.lblLancamentoLC->Tag() == "1" ? 1 : 0;
        int q = sColuna;
        if (s == 1) {
            if (sColuna == 1) return;
            if (sColuna >= 2) q = sColuna - 1;
        }
        const long produto = CodigoAtual(dc, "CodigoProduto");
        switch (q) {
        case 0: IncluiNoCarrinho(produto); break;
        case 1:
            if (!ImagemVisivel(dc, s + 1)) break;
            if (janela_.grdTHGrid1->Tag() == "1") {
                CarregaMenuConjuntos(produto, janela_.CodigoAplicacaoLista);
            } else {
                const vb::Variant item = dc.GetRecordset().Value("ItemFigura");
                EstadoPrograma.RequisicaoTela = "I:" + ObtemValorCampo(item, "").ToString() + ":I";
                TrocaParaFigura(janela_.ObtemCodigoAplicacao(), 3);
            }
            break;
        case 2: AbreTelaAuxiliar(1, std::to_string(produto) + "|" + std::to_string(janela_.ObtemCodigoAplicacao())); break;
        case 3:
            if (ImagemVisivel(dc, s + 2)) AbreTelaAuxiliar(0, "P|" + std::to_string(produto));
            break;
        default: break;
        }
    }
}

void EventosListas::grdTHGrid2_ImageClick(std::uint8_t sColuna, int /*sButton*/) {
    if (janela_.m_TrocandoTela) return;
    const dao::DataControl& dc = janela_.dtcTHGrid2;
    if (!TemLinhaAtual(dc)) return;
    const int tela = janela_.TelaAtual();
    if (tela != 1 && tela != 5) return;
    const long aplicacao = CodigoAtual(dc, "CodigoAplicacao");
    const long produto = TemLinhaAtual(janela_.dtcTHGrid1) ? CodigoAtual(janela_.dtcTHGrid1, "CodigoProduto") : 0;
    if (sColuna == 0 && ImagemVisivel(dc, 1)) {
        telas_.ReiniciaContextoLista();
        janela_.CodigoAplicacaoFigura = static_cast<int>(aplicacao);
        janela_.CodigoAplicacaoLista = aplicacao;
        EstadoPrograma.RequisicaoTela = "P:" + std::to_string(produto) + ":P";
        janela_.m_HistoricoTelas += "4";
        janela_.TrocaTela(4, static_cast<std::uint8_t>(tela), "LimpaTelaLista");
    } else if (sColuna == 1) {
        telas_.ReiniciaContextoLista();
        janela_.CodigoAplicacaoLista = aplicacao;
        telas_.Lista().CodigoProdutoLista = produto;
        janela_.m_HistoricoTelas += "3";
        janela_.TrocaTela(3, static_cast<std::uint8_t>(tela), "LimpaTelaLista01");
    }
}

void EventosListas::grdTHGrid1_DblClick() {
    const int tela = janela_.TelaAtual();
    if (tela == 2) grdTHGrid1_ImageClick(1, 1);
    else if (tela == 3) grdTHGrid1_ImageClick(janela_.lblLancamentoLC->Tag() == "1" ? 2 : 1, 1);
}

void EventosListas::grdTHGrid2_DblClick() {
    const int tela = janela_.TelaAtual();
    if (tela == 1 || tela == 5) grdTHGrid2_ImageClick(1, 1);
}

void EventosListas::grdTHGrid1_RowColChange(bool linhaMudou) {
    // A screen being built refreshes its own panel; the grid's first rows must not reach
    // the panel of the screen being left.
    if (janela_.m_TrocandoTela || !linhaMudou) return;
    const int tela = janela_.TelaAtual();
    if (tela == 1 || tela == 5) telas_.Painel().AtualizaPainelProduto("", true, false);
    else if (tela == 3) telas_.Painel().AtualizaPainelProdutoLista(false);
}

void EventosListas::grdTHGrid1_MouseMove() {
    janela_.AtualizaSelecaoMouse(">THGRID1");
    DefineAlvoRodaMouse("CAT_GRID1");
}

void EventosListas::grdTHGrid2_MouseMove() {
    janela_.AtualizaSelecaoMouse(">THGRID2");
    DefineAlvoRodaMouse("CAT_GRID2");
}

// ------------------------------------------------------------------------------- the sets

int EventosListas::ObtemConjunto(long aplicacao, long produto) {
    const vb::Variant v = ObtemValorSQL(consultas::ObtemConjunto(aplicacao, produto), vb::Variant(-1L));
    return v.IsNull() ? -1 : v.ToInteger();
}

int EventosListas::PreencheConjuntosMenu(const std::string& sql) {
    dao::Recordset rs = EstadoPrograma.DbCatalogo.OpenRecordset(sql, dao::dbOpenForwardOnly);
    if (rs.Eof()) {
        rs.Close();
        return 0;
    }
    auto& menu = EstadoPrograma.ConjuntosMenu;
    menu.assign(2, {});
    while (!rs.Eof()) {
        const vb::Variant tipo = rs.Value("DescricaoTipoAplicacao");
        const vb::Variant aplicacao = rs.Value("DescricaoAplicacao");
        const vb::Variant fabricante = rs.Value("DescricaoFabricante");
        std::string legenda;
        if (!tipo.IsNull()) legenda = tipo.ToString() + ": ";
        legenda += vb::RTrim(ObtemValorCampo(aplicacao, "").ToString());
        if (!fabricante.IsNull()) legenda += "     " + Traduz(30) + ": " + fabricante.ToString();
        menu[0].push_back(legenda);
        menu[1].push_back(rs.Value("CodigoAplicacao").ToString());
        rs.MoveNext();
    }
    rs.Close();
    return static_cast<int>(menu[0].size());
}

bool EventosListas::CarregaMenuConjuntosVeiculo(long veiculo) {
    const std::string sql = consultas::CarregaMenuConjuntosVeiculo(veiculo, EstadoPrograma.Idioma);
    const int n = PreencheConjuntosMenu(sql);
    if (n == 0) return false;
    if (n == 1) {
        const long aplicacao = vb::CLng(EstadoPrograma.ConjuntosMenu[1][0]);
        EstadoPrograma.ConjuntosMenu.clear();
        TrocaParaFigura(aplicacao, 3);
    } else {
        EstadoPrograma.RequisicaoTela = "CarregaMenuConjuntosVeiculo";
        MostraMenu("mnuConjuntosVeiculo");
    }
    return true;
}

void EventosListas::CarregaMenuConjuntos(long produto, long veiculo) {
    const std::string sql = consultas::CarregaMenuConjuntos(produto, veiculo, EstadoPrograma.Idioma);
    EstadoPrograma.ConjuntosMenu.clear();
    const int n = PreencheConjuntosMenu(sql);
    if (n == 0) {
        vb::MsgBox(Traduz(63) + ".", vb::vbInformation, Traduz(0));
    } else if (n == 1) {
        const long aplicacao = vb::CLng(EstadoPrograma.ConjuntosMenu[1][0]);
        EstadoPrograma.ConjuntosMenu.clear();
        EstadoPrograma.RequisicaoTela = "P:" + std::to_string(produto) + ":P";
        TrocaParaFigura(aplicacao, 3);
    } else {
        EstadoPrograma.RequisicaoTela = "CarregaMenuConjuntos";
        MostraMenu("mnuConjuntos");
    }
}
