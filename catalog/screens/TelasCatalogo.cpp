#include "catalog/screens/TelasCatalogo.h"

#include "catalog/controls/ModuloGrade.h"
#include "catalog/main_window/frmZornak.h"
#include "catalog/screens/ConsultasListas.h"
#include "catalog/screens/EventosListas.h"
#include "catalog/screens/PainelProduto.h"
#include "catalog/screens/TelaAplicacao.h"
#include "catalog/screens/TelaFigura.h"
#include "catalog/screens/TelaLista.h"
#include "catalog/screens/TelaPrincipal.h"
#include "catalog/screens/TelaProduto.h"
#include "catalog/startup/Modulo.h"
#include "common/modTraducao.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/vb/Strings.h"

void TelasCatalogo::LigaCaixasLista() {
    // Typing a number or a description sorts by it, a figure item by item; a reference keeps
    // the order. Nothing while the switcher builds the screen and writes the boxes.
    struct Caixa {
        vb::TextBox* caixa;
        bool conjunto;
        const char* ordem;   // nullptr: the list's current order
    };
    TelaLista& l = *lista_;
    const Caixa caixas[] = {
        {l.txtNumeroEmpresaLV, false, "1"}, {l.txtDescricaoProdutoLV, false, "2"}, {l.txtNumeroFabricanteLV, false, nullptr},
        {l.txtNumeroEmpresaLC, true, "1"},  {l.txtDescricaoProdutoLC, true, "2"},  {l.txtItemFigLC, true, "3"},
        {l.txtNumeroFabricanteLC, true, nullptr},
    };
    for (const Caixa& c : caixas) {
        if (!c.caixa) continue;
        c.caixa->Change = [this, conjunto = c.conjunto, ordem = c.ordem] {
            if (janela_.m_TrocandoTela) return;
            const std::string o = ordem ? std::string(ordem) : lista_->OrdemLista;
            if (conjunto) PesquisaProdutosConjunto(o, true);
            else PesquisaProdutosAplicacao(o, true);
        };
    }
}

TelasCatalogo::TelasCatalogo(frmZornakForm& janela) : janela_(janela) {
    // The screens reach each other through this object when they run; they are made in the
    // order their controls stack on the panels.
    principal_ = std::make_unique<TelaPrincipal>(janela);
    produto_ = std::make_unique<TelaProduto>(janela, *this);
    painel_ = std::make_unique<PainelProduto>(janela, *this);
    aplicacao_ = std::make_unique<TelaAplicacao>(janela);
    lista_ = std::make_unique<TelaLista>(janela, *this);
    figura_ = std::make_unique<TelaFigura>(janela, *this);
    eventos_ = std::make_unique<EventosListas>(janela, *this);
    LigaCaixasLista();
    // The auxiliary window and the reading of its answer are the main window's.
    principal_->AbreTelaAuxiliar = [this](std::uint8_t modo, const std::string& p) { janela_.AbreTelaAuxiliar(modo, p); };
    principal_->AplicaEstadoPendente = [this](std::uint8_t f, int g) { janela_.AplicaEstadoPendente(f, g); };
    eventos_->AbreTelaAuxiliar = [this](std::uint8_t modo, const std::string& p) { janela_.AbreTelaAuxiliar(modo, p); };

    // The events of the shared list controls go to the screen now shown.
    frmZornakForm& j = janela_;
    if (j.grdTHGrid1) {
        j.grdTHGrid1->RowColChange = [this](const MarcadorLinha& anterior, int) {
            eventos_->grdTHGrid1_RowColChange(PosicionaGrid(janela_.dtcTHGrid1, *janela_.grdTHGrid1, anterior));
        };
        j.grdTHGrid1->ImageClick = [this](std::uint8_t coluna, const MarcadorLinha&, int botao) {
            eventos_->grdTHGrid1_ImageClick(coluna, botao);
        };
        j.grdTHGrid1->DblClick = [this] { eventos_->grdTHGrid1_DblClick(); };
        j.grdTHGrid1->MouseMove = [this](int, int, float, float) { eventos_->grdTHGrid1_MouseMove(); };
    }
    if (j.grdTHGrid2) {
        j.grdTHGrid2->ImageClick = [this](std::uint8_t coluna, const MarcadorLinha&, int botao) {
            eventos_->grdTHGrid2_ImageClick(coluna, botao);
        };
        j.grdTHGrid2->DblClick = [this] { eventos_->grdTHGrid2_DblClick(); };
        j.grdTHGrid2->MouseMove = [this](int, int, float, float) { eventos_->grdTHGrid2_MouseMove(); };
    }
    if (j.cboTHCombo1) {
        j.cboTHCombo1->SelecaoAlterada = [this] { cboTHCombo1_SelecaoAlterada(); };
        j.cboTHCombo1->MouseMove = [this](int, int, float, float) {
            janela_.AtualizaSelecaoMouse(">THCOMBO1");
            DefineAlvoRodaMouse("CAT_COMBO1");
        };
    }
    if (j.cboTHCombo2) {
        j.cboTHCombo2->SelecaoAlterada = [this] { cboTHCombo2_SelecaoAlterada(); };
        j.cboTHCombo2->MouseMove = [this](int, int, float, float) {
            janela_.AtualizaSelecaoMouse(">THCOMBO2");
            DefineAlvoRodaMouse("CAT_COMBO2");
        };
    }
}

TelasCatalogo::~TelasCatalogo() = default;

void TelasCatalogo::cboTHCombo1_SelecaoAlterada() {
    vb::DoEvents();
    const int tela = janela_.TelaAtual();
    if (tela == 2) {
        aplicacao_->Combo_SelecaoAlterada();
    } else if (tela == 3) {
        const long aplicacao = janela_.dtcTHCombo1.GetRecordset().Value("CodigoAplicacao").ToLong();
        if (aplicacao != janela_.CodigoAplicacaoCombo) {
            janela_.CodigoAplicacaoCombo = aplicacao;
            janela_.TrocaTela(3, 3, "LimpaTelaLista");
        }
    }
}

void TelasCatalogo::cboTHCombo2_SelecaoAlterada() {
    vb::DoEvents();
    const int tela = janela_.TelaAtual();
    if (tela == 1 || tela == 5) {
        produto_->cboTHCombo2_SelecaoAlterada();
    } else if (tela == 2) {
        aplicacao_->Combo_SelecaoAlterada();
    } else if (tela == 3) {
        const long k = CodigoAtual(janela_.dtcTHGrid1, "CodigoProduto");
        lista_->PesquisaProdutosAplicacao(lista_->OrdemLista, false);
        if (k != 0) janela_.dtcTHGrid1.GetRecordset().FindFirst("CodigoProduto = " + std::to_string(k));
        janela_.grdTHGrid1->AtualizaGrid();
    }
}

void TelasCatalogo::MontaTelaPrincipal() { principal_->MontaTelaPrincipal(); }
void TelasCatalogo::DesmontaTelaPrincipal() { principal_->DesmontaTelaPrincipal(); }
void TelasCatalogo::MontaTelaProduto() { produto_->MontaTelaProduto(); }
void TelasCatalogo::DesmontaTelaProduto() { produto_->DesmontaTelaProduto(); }
void TelasCatalogo::MontaTelaAplicacao() { aplicacao_->MontaTelaAplicacao(); }
void TelasCatalogo::DesmontaTelaAplicacao() { aplicacao_->DesmontaTelaAplicacao(); }
void TelasCatalogo::MontaTelaLista() { lista_->MontaTelaLista(); }
void TelasCatalogo::DesmontaTelaLista() { lista_->DesmontaTelaLista(); }
void TelasCatalogo::MostraTelaFigura() { figura_->MostraTelaFigura(); }
void TelasCatalogo::EscondeTelaFigura() { figura_->EscondeTelaFigura(); }
void TelasCatalogo::LimpaFiltrosLista(bool esqueceAplicacao, bool esqueceConjunto) {
    lista_->LimpaFiltrosLista(esqueceAplicacao, esqueceConjunto);
}

void TelasCatalogo::PesquisaProdutos(const std::string& ordem, bool bAtualiza) { produto_->PesquisaProdutos(ordem, bAtualiza); }
void TelasCatalogo::PesquisaProdutosAplicacao(const std::string& ordem, bool bAtualiza) {
    lista_->PesquisaProdutosAplicacao(ordem, bAtualiza);
}
void TelasCatalogo::PesquisaProdutosConjunto(const std::string& ordem, bool bAtualiza) {
    lista_->PesquisaProdutosConjunto(ordem, bAtualiza);
}
void TelasCatalogo::PesquisaAplicacoes(const std::string& ordem, bool bAtualiza) {
    aplicacao_->PesquisaAplicacoes(ordem, bAtualiza);
}
void TelasCatalogo::AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, long extra) {
    painel_->AtualizaPainelProduto(ordem, bAtualiza, extra != 0);
}

int TelasCatalogo::ObtemConjunto(long aplicacao, long produto) { return eventos_->ObtemConjunto(aplicacao, produto); }
void TelasCatalogo::CarregaMenuConjuntosVeiculo(long aplicacao, bool& mostrouMenu) {
    mostrouMenu = eventos_->CarregaMenuConjuntosVeiculo(aplicacao);
}
void TelasCatalogo::ReiniciaContextoLista() {
    lista_->ReiniciaContextoLista();
    figura_->LimpaPainelItem(true);
}
void TelasCatalogo::ParaPiscarItensFigura() { figura_->ParaPiscarItensFigura(); }
void TelasCatalogo::MostraPaginaFigura(std::uint8_t pagina) { figura_->MostraPaginaFigura(pagina); }
void TelasCatalogo::RestauraItemSelecionado() { figura_->RestauraItemSelecionado(); }
void TelasCatalogo::lblItem_MouseMove(int indice) { figura_->lblItem_MouseMove(indice); }

void TelasCatalogo::ImageClickGrade1(std::uint8_t coluna, int botao) { eventos_->grdTHGrid1_ImageClick(coluna, botao); }
void TelasCatalogo::ImageClickGrade2(std::uint8_t coluna, int botao) { eventos_->grdTHGrid2_ImageClick(coluna, botao); }

std::vector<ITelasCatalogo::ProdutoItemFigura> TelasCatalogo::ProdutosPainelItem() { return figura_->ProdutosPainelItem(); }
int TelasCatalogo::PaginasPainelItem() { return figura_->PaginasPainelItem(); }
int TelasCatalogo::PaginaPainelItem() { return figura_->PaginaPainelItem(); }
void TelasCatalogo::LimpaPainelItem(bool flag) { figura_->LimpaPainelItem(flag); }
void TelasCatalogo::MostraDadosItem(int item, int pagina) {
    figura_->MostraDadosItem(item, static_cast<std::uint8_t>(pagina));
}

void TelasCatalogo::CarregaComboGrupos() {
    RecarregaLista(*janela_.cboTHCombo2, janela_.dtcTHCombo2,
                   consultas::CarregaComboGrupos("<" + vb::UCase(Traduz(7)) + ">", EstadoPrograma.Idioma));
}

consultas::FiltrosProdutos TelasCatalogo::FiltrosProdutos(const vb::TextBox& numeroFabricante,
                                                          const vb::TextBox& numeroEmpresa,
                                                          const vb::TextBox& descricao, bool comGrupo) {
    consultas::FiltrosProdutos f;
    f.numeroFabricante = numeroFabricante.Text();
    f.numeroEmpresa = numeroEmpresa.Text();
    f.descricao = descricao.Text();
    if (comGrupo) {
        const dao::Recordset grupos = janela_.dtcTHCombo2.GetRecordset();
        if (!grupos.IsNothing() && grupos.IsOpen()) f.grupo = grupos.Value("CodigoGrupoProduto").ToInteger();
    }
    return f;
}

void TelasCatalogo::MontaComboGrupos(int left, int top, int grupo) {
    THCombo& combo = *janela_.cboTHCombo2;
    combo.mUserControlPixelWidth = 122;
    combo.Move(left, top, combo.mUserControlPixelWidth);
    CarregaComboGrupos();
    LigaCombo(combo, janela_.dtcTHCombo2, {"DescricaoGrupoProduto|0|" + LarguraColuna(200) + "|T"},
              "CodigoGrupoProduto = " + std::to_string(grupo));
}
