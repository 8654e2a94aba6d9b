// Stand-in catalogue screens for the tests of the main window's frame: each builder shows
// its screen's panel empty and each leave routine hides it; the queries leave the grids
// empty; whatever would state a catalogue fact raises ErroNaoDisponivel, which names the
// part. Tests derive from it to record what the frame calls.
#pragma once

#include "catalog/screens/ModuloTelas.h"
#include "platform/forms/Controls.h"
#include "platform/vb/Err.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

constexpr long ErroNaoDisponivel = 445;

[[noreturn]] inline void LevantaNaoDisponivel(const std::string& parte) {
    vb::Raise(ErroNaoDisponivel, parte + " is not available yet in this version of the catalogue");
}

class TelasProvisorias : public ITelasCatalogo {
public:
    // painel(i) is the main window's pctTela(i); screens 1 and 5 share panel 1.
    explicit TelasProvisorias(std::function<vb::PictureBox&(int)> painel) : painel_(std::move(painel)) {}

    void MontaTelaPrincipal() override { Mostra(0, true); }
    void DesmontaTelaPrincipal() override { Mostra(0, false); }
    void MontaTelaProduto() override { Mostra(1, true); }
    void DesmontaTelaProduto() override { Mostra(1, false); }
    void MontaTelaAplicacao() override { Mostra(2, true); }
    void DesmontaTelaAplicacao() override { Mostra(2, false); }
    void MontaTelaLista() override { Mostra(3, true); }
    void DesmontaTelaLista() override { Mostra(3, false); }
    void MostraTelaFigura() override { Mostra(4, true); }
    void EscondeTelaFigura() override { Mostra(4, false); }
    void LimpaFiltrosLista(bool, bool) override {}

    void PesquisaProdutos(const std::string&, bool) override {}
    void PesquisaProdutosAplicacao(const std::string&, bool) override {}
    void PesquisaProdutosConjunto(const std::string&, bool) override {}
    void PesquisaAplicacoes(const std::string&, bool) override {}
    void AtualizaPainelProduto(const std::string&, bool, long) override {}

    int ObtemConjunto(long, long) override { LevantaNaoDisponivel("The figure of a set"); }
    void CarregaMenuConjuntosVeiculo(long, bool&) override { LevantaNaoDisponivel("The menu of the sets of a vehicle"); }
    void ReiniciaContextoLista() override {}
    void ParaPiscarItensFigura() override {}
    void MostraPaginaFigura(std::uint8_t) override { LevantaNaoDisponivel("The figure screen"); }
    void RestauraItemSelecionado() override {}
    // A pointer passing over an item is no request: it changes nothing.
    void lblItem_MouseMove(int) override {}

    void ImageClickGrade1(std::uint8_t, int) override { LevantaNaoDisponivel("The list of products"); }
    void ImageClickGrade2(std::uint8_t, int) override { LevantaNaoDisponivel("The list of applications"); }

    std::vector<ProdutoItemFigura> ProdutosPainelItem() override { LevantaNaoDisponivel("The figure item panel"); }
    int PaginasPainelItem() override { LevantaNaoDisponivel("The figure item panel"); }
    int PaginaPainelItem() override { LevantaNaoDisponivel("The figure item panel"); }
    void LimpaPainelItem(bool) override { LevantaNaoDisponivel("The figure item panel"); }
    void MostraDadosItem(int, int) override { LevantaNaoDisponivel("The figure item panel"); }

private:
    void Mostra(int painel, bool visivel) { painel_(painel).SetVisible(visivel); }
    std::function<vb::PictureBox&(int)> painel_;
};
