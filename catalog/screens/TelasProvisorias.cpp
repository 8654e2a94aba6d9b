#include "catalog/screens/ModuloTelas.h"

#include "platform/forms/Controls.h"
#include "platform/vb/Err.h"

void LevantaNaoDisponivel(const std::string& parte) {
    vb::Raise(ErroNaoDisponivel, parte + " is not available yet in this version of the catalogue");
}

TelasProvisorias::TelasProvisorias(std::function<vb::PictureBox&(int)> painel)
    : painel_(std::move(painel)) {}

void TelasProvisorias::Mostra(int painel, bool visivel) { painel_(painel).SetVisible(visivel); }

void TelasProvisorias::MontaTelaPrincipal() { Mostra(0, true); }
void TelasProvisorias::DesmontaTelaPrincipal() { Mostra(0, false); }
void TelasProvisorias::MontaTelaProduto() { Mostra(1, true); }
void TelasProvisorias::DesmontaTelaProduto() { Mostra(1, false); }
void TelasProvisorias::MontaTelaAplicacao() { Mostra(2, true); }
void TelasProvisorias::DesmontaTelaAplicacao() { Mostra(2, false); }
void TelasProvisorias::MontaTelaLista() { Mostra(3, true); }
void TelasProvisorias::DesmontaTelaLista() { Mostra(3, false); }
void TelasProvisorias::MostraTelaFigura() { Mostra(4, true); }
void TelasProvisorias::EscondeTelaFigura() { Mostra(4, false); }

int TelasProvisorias::ObtemConjunto(long, long) { LevantaNaoDisponivel("The figure of a set"); }

void TelasProvisorias::CarregaMenuConjuntosVeiculo(long, bool&) {
    LevantaNaoDisponivel("The menu of the sets of a vehicle");
}

void TelasProvisorias::MostraPaginaFigura(std::uint8_t) { LevantaNaoDisponivel("The figure screen"); }

void TelasProvisorias::ImageClickGrade1(std::uint8_t, int) { LevantaNaoDisponivel("The list of products"); }
void TelasProvisorias::ImageClickGrade2(std::uint8_t, int) {
    LevantaNaoDisponivel("The list of applications");
}

std::vector<ITelasCatalogo::ProdutoItemFigura> ITelasCatalogo::ProdutosPainelItem() {
    LevantaNaoDisponivel("The figure item panel");
}
int ITelasCatalogo::PaginasPainelItem() { LevantaNaoDisponivel("The figure item panel"); }
int ITelasCatalogo::PaginaPainelItem() { LevantaNaoDisponivel("The figure item panel"); }
void ITelasCatalogo::LimpaPainelItem(bool) { LevantaNaoDisponivel("The figure item panel"); }
void ITelasCatalogo::MostraDadosItem(int, int) { LevantaNaoDisponivel("The figure item panel"); }
// A pointer passing over an item is no request: without the figure screen it changes nothing.
void ITelasCatalogo::lblItem_MouseMove(int) {}
