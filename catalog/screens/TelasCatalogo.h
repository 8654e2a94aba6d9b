// The catalogue screens of the main window: one object per screen behind the interface the
// screen switcher calls. Each call goes to the screen that owns it.
#pragma once

#include "catalog/screens/ConsultasListas.h"
#include "catalog/screens/ModuloTelas.h"

#include <memory>

class frmZornakForm;
namespace vb {
class TextBox;
}
class TelaPrincipal;
class TelaProduto;
class TelaAplicacao;
class TelaLista;
class TelaFigura;
class EventosListas;
class PainelProduto;

class TelasCatalogo : public ITelasCatalogo {
public:
    explicit TelasCatalogo(frmZornakForm& janela);
    ~TelasCatalogo() override;

    void MontaTelaPrincipal() override;
    void DesmontaTelaPrincipal() override;
    void MontaTelaProduto() override;
    void DesmontaTelaProduto() override;
    void MontaTelaAplicacao() override;
    void DesmontaTelaAplicacao() override;
    void MontaTelaLista() override;
    void DesmontaTelaLista() override;
    void MostraTelaFigura() override;
    void EscondeTelaFigura() override;
    void LimpaFiltrosLista(bool esqueceAplicacao, bool esqueceConjunto) override;

    void PesquisaProdutos(const std::string& ordem, bool bAtualiza) override;
    void PesquisaProdutosAplicacao(const std::string& ordem, bool bAtualiza) override;
    void PesquisaProdutosConjunto(const std::string& ordem, bool bAtualiza) override;
    void PesquisaAplicacoes(const std::string& ordem, bool bAtualiza) override;
    void AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, long extra) override;

    int ObtemConjunto(long aplicacao, long produto) override;
    void CarregaMenuConjuntosVeiculo(long aplicacao, bool& mostrouMenu) override;
    void ReiniciaContextoLista() override;
    void ParaPiscarItensFigura() override;
    void MostraPaginaFigura(std::uint8_t pagina) override;
    void RestauraItemSelecionado() override;
    void lblItem_MouseMove(int indice) override;

    void ImageClickGrade1(std::uint8_t coluna, int botao) override;
    void ImageClickGrade2(std::uint8_t coluna, int botao) override;

    std::vector<ProdutoItemFigura> ProdutosPainelItem() override;
    int PaginasPainelItem() override;
    int PaginaPainelItem() override;
    void LimpaPainelItem(bool flag) override;
    void MostraDadosItem(int item, int pagina) override;

    // The choice in either combo, for the screen now shown.
    void cboTHCombo1_SelecaoAlterada();
    void cboTHCombo2_SelecaoAlterada();

    // The screens, for each other and for the tests.
    TelaPrincipal& Principal() { return *principal_; }
    TelaProduto& Produto() { return *produto_; }
    PainelProduto& Painel() { return *painel_; }
    TelaAplicacao& Aplicacao() { return *aplicacao_; }
    TelaLista& Lista() { return *lista_; }
    TelaFigura& Figura() { return *figura_; }
    EventosListas& Eventos() { return *eventos_; }

    // The product-group combo of the product search, new-release and vehicle list screens:
    // the groups with a first row for all of them (CarregaComboGrupos), placed with its left
    // and top, on the row of the group code (0 the all-groups row).
    void CarregaComboGrupos();
    void MontaComboGrupos(int left, int top, int grupo);
    // The search texts of a product list as typed into its three boxes; with comGrupo, the
    // group of the group combo's current row while its list is open (the data engine's
    // error reaches the caller when it is on no row).
    consultas::FiltrosProdutos FiltrosProdutos(const vb::TextBox& numeroFabricante, const vb::TextBox& numeroEmpresa,
                                               const vb::TextBox& descricao, bool comGrupo);

private:
    void LigaCaixasLista();
    frmZornakForm& janela_;
    std::unique_ptr<TelaPrincipal> principal_;
    std::unique_ptr<TelaProduto> produto_;
    std::unique_ptr<PainelProduto> painel_;
    std::unique_ptr<TelaAplicacao> aplicacao_;
    std::unique_ptr<TelaLista> lista_;
    std::unique_ptr<TelaFigura> figura_;
    std::unique_ptr<EventosListas> eventos_;
};
