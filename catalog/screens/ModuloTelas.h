// What the main window asks of the catalogue screens: the builders and leave routines the
// screen switcher calls, the list queries of the headers and the keyboard, the figure and
// set operations and the icon clicks of the two list grids. The screens are one object
// behind this interface, so the frame works (and is tested) without them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vb {
class PictureBox;
}

class ITelasCatalogo {
public:
    virtual ~ITelasCatalogo() = default;

    // Builders and leave routines, by screen: 0 home, 1 and 5 products (the mode is the
    // main window's m_SubTelaProduto), 2 applications, 3 list, 4 figure.
    virtual void MontaTelaPrincipal() = 0;
    virtual void DesmontaTelaPrincipal() = 0;
    virtual void MontaTelaProduto() = 0;
    virtual void DesmontaTelaProduto() = 0;
    virtual void MontaTelaAplicacao() = 0;
    virtual void DesmontaTelaAplicacao() = 0;
    virtual void MontaTelaLista() = 0;
    virtual void DesmontaTelaLista() = 0;
    virtual void MostraTelaFigura() = 0;
    virtual void EscondeTelaFigura() = 0;
    virtual void LimpaFiltrosLista(bool esqueceAplicacao, bool esqueceConjunto) = 0;

    // List queries: rebuild one list in the sort order, refreshing its grid when asked.
    virtual void PesquisaProdutos(const std::string& ordem, bool bAtualiza) = 0;
    virtual void PesquisaProdutosAplicacao(const std::string& ordem, bool bAtualiza) = 0;
    virtual void PesquisaProdutosConjunto(const std::string& ordem, bool bAtualiza) = 0;
    virtual void PesquisaAplicacoes(const std::string& ordem, bool bAtualiza) = 0;
    virtual void AtualizaPainelProduto(const std::string& ordem, bool bAtualiza, long extra) = 0;

    // Figure and set operations.
    virtual int ObtemConjunto(long aplicacao, long produto) = 0;
    virtual void CarregaMenuConjuntosVeiculo(long aplicacao, bool& mostrouMenu) = 0;
    virtual void ReiniciaContextoLista() = 0;
    virtual void ParaPiscarItensFigura() = 0;
    virtual void MostraPaginaFigura(std::uint8_t pagina) = 0;
    virtual void RestauraItemSelecionado() = 0;
    // The pointer over figure item indice (its label): the item's hover. Nothing until the
    // figure screen provides it.
    virtual void lblItem_MouseMove(int indice);

    // The icon at position coluna of the current row of grid 1 or 2, as a click with the
    // button; the keyboard sends button 1 and no bookmark.
    virtual void ImageClickGrade1(std::uint8_t coluna, int botao) = 0;
    virtual void ImageClickGrade2(std::uint8_t coluna, int botao) = 0;

    // The figure item detail panel, which the item buttons page through and whose products
    // fill the item's pop-up menu: the products it shows now (at most four, in order), its
    // page count and current page, and the two routines that page. Until the figure screen
    // provides them they say that they are not available.
    struct ProdutoItemFigura {
        long codigo = 0;
        std::string texto;        // the product's label text, the menu entry's caption
        bool observacao = false;  // the product has an observation
    };
    virtual std::vector<ProdutoItemFigura> ProdutosPainelItem();
    virtual int PaginasPainelItem();
    virtual int PaginaPainelItem();
    virtual void LimpaPainelItem(bool flag);
    virtual void MostraDadosItem(int item, int pagina);
};

// The number of the error a part of the catalogue that this version does not have yet
// raises; the description names the part.
constexpr long ErroNaoDisponivel = 445;
[[noreturn]] void LevantaNaoDisponivel(const std::string& parte);

// Until the catalogue screens exist: each builder shows its screen's panel empty and each
// leave routine hides it; the queries leave the (missing) grids empty; whatever would
// state a catalogue fact raises ErroNaoDisponivel.
class TelasProvisorias : public ITelasCatalogo {
public:
    // painel(i) is the main window's pctTela(i); screens 1 and 5 share panel 1.
    explicit TelasProvisorias(std::function<vb::PictureBox&(int)> painel);

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
    void LimpaFiltrosLista(bool, bool) override {}

    void PesquisaProdutos(const std::string&, bool) override {}
    void PesquisaProdutosAplicacao(const std::string&, bool) override {}
    void PesquisaProdutosConjunto(const std::string&, bool) override {}
    void PesquisaAplicacoes(const std::string&, bool) override {}
    void AtualizaPainelProduto(const std::string&, bool, long) override {}

    int ObtemConjunto(long aplicacao, long produto) override;
    void CarregaMenuConjuntosVeiculo(long aplicacao, bool& mostrouMenu) override;
    void ReiniciaContextoLista() override {}
    void ParaPiscarItensFigura() override {}
    void MostraPaginaFigura(std::uint8_t pagina) override;
    void RestauraItemSelecionado() override {}

    void ImageClickGrade1(std::uint8_t coluna, int botao) override;
    void ImageClickGrade2(std::uint8_t coluna, int botao) override;

private:
    void Mostra(int painel, bool visivel);
    std::function<vb::PictureBox&(int)> painel_;
};
