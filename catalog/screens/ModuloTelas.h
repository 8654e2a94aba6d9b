// What the main window asks of the catalogue screens: the builders and leave routines the
// screen switcher calls, the list queries of the headers and the keyboard, the figure and
// set operations and the icon clicks of the two list grids. The screens are one object
// behind this interface, so the frame is tested with stand-ins in their place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    // The pointer over figure item indice (its label): the item's hover.
    virtual void lblItem_MouseMove(int indice) = 0;

    // The icon at position coluna of the current row of grid 1 or 2, as a click with the
    // button; the keyboard sends button 1 and no bookmark.
    virtual void ImageClickGrade1(std::uint8_t coluna, int botao) = 0;
    virtual void ImageClickGrade2(std::uint8_t coluna, int botao) = 0;

    // The figure item detail panel, which the item buttons page through and whose products
    // fill the item's pop-up menu: the products it shows now (at most four, in order), its
    // page count and current page, and the two routines that page.
    struct ProdutoItemFigura {
        long codigo = 0;
        std::string texto;        // the product's label text, the menu entry's caption
        bool observacao = false;  // the product has an observation
    };
    virtual std::vector<ProdutoItemFigura> ProdutosPainelItem() = 0;
    virtual int PaginasPainelItem() = 0;
    virtual int PaginaPainelItem() = 0;
    virtual void LimpaPainelItem(bool flag) = 0;
    virtual void MostraDadosItem(int item, int pagina) = 0;
};
