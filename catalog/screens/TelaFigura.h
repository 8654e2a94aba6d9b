// Screen 4, the figure screen: the exploded drawing of one assembly set, page by page,
// with a numbered round marker over every item, the page buttons and the item panel that
// lists the products of the item under the mouse. Items another screen asked for blink.
#pragma once

#include "catalog/screens/ModuloTelas.h"
#include "platform/dao/Dao.h"

#include <cstdint>
#include <string>
#include <vector>

class frmZornakForm;
class TelasCatalogo;
namespace vb {
class Label;
class Image;
class Timer;
template <class T>
class ControlArray;
}  // namespace vb

class TelaFigura {
public:
    TelaFigura(frmZornakForm& janela, TelasCatalogo& telas);

    // The screen.
    void MostraTelaFigura();
    void EscondeTelaFigura();
    void CarregaFiguraDetalhada(int conjunto);
    void AbreItensConjunto(int conjunto);
    void PosicionaMarcadorItem(int item);
    void MostraPaginaFigura(std::uint8_t pagina);
    void LimpaFiguraDetalhada();

    // The items.
    void DesenhaBolaItem(int item);
    void lblItem_MouseMove(int indice);
    void LimpaPainelItem(bool completo);
    void MostraDadosItem(int item, std::uint8_t pagina);
    void RestauraItemSelecionado();
    void ParaPiscarItensFigura();
    void LocalizaItensFigura(int conjunto);
    void MarcaItensFigura(const std::string& lista);
    void tmrFigura_Timer();

    // What the item panel shows now, for the item's menu: its products (at most four, in
    // order), the number of panel pages and the page shown.
    std::vector<ITelasCatalogo::ProdutoItemFigura> ProdutosPainelItem() const;
    int PaginasPainelItem() const;
    int PaginaPainelItem() const;

    // The item state of lblItem(i): 0 normal, 1 not applicable, 2 release.
    int EstadoItemFigura(int item) const;
    // What imgItem(i) last drew: the item state, + 10 while the item is under the mouse.
    int EstadoDesenhado(int item) const;

    // The screen's state.
    int QuantidadeItensFigura = 0;
    std::vector<long> ItensPiscando;
    int UltimoItemPiscando = -1;
    dao::Recordset ItensFigura;

    // The controls the screen makes on its panel.
    vb::ControlArray<vb::Label>& lblItem() const { return *lblItem_; }
    vb::ControlArray<vb::Image>& imgItem() const { return *imgItem_; }
    vb::ControlArray<vb::Label>& lblDescricaoProdutoF() const { return *lblDescricaoProdutoF_; }
    vb::ControlArray<vb::Label>& lblNumeroEmpresaF() const { return *lblNumeroEmpresaF_; }
    vb::ControlArray<vb::Label>& lblObsF() const { return *lblObsF_; }
    vb::ControlArray<vb::Image>& imgLancF() const { return *imgLancF_; }
    vb::ControlArray<vb::Label>& lblDataLancF() const { return *lblDataLancF_; }
    vb::ControlArray<vb::Label>& lblNroF() const { return *lblNroF_; }
    vb::Label& lblTitDescricaoProdutoF() const { return *lblTitDescricaoProdutoF_; }
    vb::Label& lblTitNumeroEmpresaF() const { return *lblTitNumeroEmpresaF_; }
    vb::Label& lblTitNumeroReferenciaF() const { return *lblTitNumeroReferenciaF_; }
    vb::Label& lblPaginaXdeXF() const { return *lblPaginaXdeXF_; }
    vb::Label& lblProximaPaginaF() const { return *lblProximaPaginaF_; }
    vb::Timer& tmrFigura() const { return *tmrFigura_; }

private:
    void CriaControles();
    void DefineEstado(int item, int estado);
    bool NaPaginaAtual(int item) const;
    void CarregaLinhaPainel(int linha);

    frmZornakForm& janela_;
    TelasCatalogo& telas_;
    std::vector<int> estadoItem_, estadoDesenhado_;
    vb::ControlArray<vb::Label>* lblItem_ = nullptr;
    vb::ControlArray<vb::Image>* imgItem_ = nullptr;
    vb::ControlArray<vb::Label>* lblDescricaoProdutoF_ = nullptr;
    vb::ControlArray<vb::Label>* lblNumeroEmpresaF_ = nullptr;
    vb::ControlArray<vb::Label>* lblObsF_ = nullptr;
    vb::ControlArray<vb::Image>* imgLancF_ = nullptr;
    vb::ControlArray<vb::Label>* lblDataLancF_ = nullptr;
    vb::ControlArray<vb::Label>* lblNroF_ = nullptr;
    vb::Label* lblTitDescricaoProdutoF_ = nullptr;
    vb::Label* lblTitNumeroEmpresaF_ = nullptr;
    vb::Label* lblTitNumeroReferenciaF_ = nullptr;
    vb::Label* lblPaginaXdeXF_ = nullptr;
    vb::Label* lblProximaPaginaF_ = nullptr;
    vb::Timer* tmrFigura_ = nullptr;
};
