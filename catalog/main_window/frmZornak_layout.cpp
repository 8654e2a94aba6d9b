#include "catalog/main_window/frmZornak_layout.h"

#include "platform/vb/Strings.h"

namespace frmZornakLayout {

namespace {

std::vector<PosicaoControle> MontaPosicoes() {
    std::vector<PosicaoControle> t;
    auto add = [&t](const char* controle, int indice, const char* container, int indiceContainer,
                    int left, int top, int width, int height) {
        t.push_back({controle, indice, container, indiceContainer, left, top, width, height});
    };
    // The reference panels repeat one row shape; row 0 of the maker column sits a pixel higher.
    auto linhasReferencia = [&add](const char* numero, const char* fabricante, int linhas,
                                   int painel) {
        for (int i = 0; i < linhas; ++i) {
            add(numero, i, "pctPainelRef", painel, 6, 7 + 18 * i, 124, 18);
            add(fabricante, i, "pctPainelRef", painel, 93, i == 0 ? 6 : 7 + 18 * i, 30, 18);
        }
    };

    add("pctBase", -1, "window", -1, 7, 7, 800, 600);

    // Product search.
    add("pctTela", 1, "pctBase", -1, 0, 128, 800, 440);
    add("pctPainelRef", 0, "pctTela", 1, 657, 69, 123, 95);
    linhasReferencia("lblNumeroFabricanteRef", "lblFabricanteRef", 7, 0);
    // The frames a pixel outside the two grids and the reference panel.
    add("shpGrid", 0, "pctTela", 1, 19, 68, 618, 138);
    add("shpGrid", 1, "pctTela", 1, 226, 288, 555, 138);
    add("shpLigaRef", 0, "pctTela", 1, 656, 68, 125, 97);

    // Home.
    add("pctTela", 0, "pctBase", -1, 0, 128, 800, 445);
    add("shpBaseM", -1, "pctTela", 0, 61, 16, 679, 412);
    add("lblFabricanteM", 0, "pctTela", 0, 103, 31, 143, 16);
    add("lblGrupoM", 0, "pctTela", 0, 103, 50, 143, 17);
    add("imgLancM", 0, "pctTela", 0, 202, 50, 16, 16);
    add("lblDataLancM", 0, "pctTela", 0, 219, 52, 32, 11);
    add("imgPopUp", -1, "pctTela", 0, 61, 332, 678, 95);
    add("lblLinkPopUp", 0, "pctTela", 0, 312, 343, 179, 45);
    add("lblLinkPopUp", 1, "pctTela", 0, 122, 370, 553, 49);
    add("lblFecharPopUp", -1, "pctTela", 0, 689, 337, 50, 22);

    // List.
    add("pctTela", 3, "pctBase", -1, 0, 128, 800, 440);
    add("pctPainelRef", 1, "pctTela", 3, 657, 116, 123, 152);
    linhasReferencia("lblNumeroFabricanteRefL", "lblFabricanteRefL", 8, 1);
    // The frames a pixel outside the product grid (616 x 153 at 20, 116) and the panel.
    add("shpGrid", 3, "pctTela", 3, 19, 115, 618, 155);
    add("shpLigaRef", 1, "pctTela", 3, 656, 115, 125, 154);
    add("lblTituloL", -1, "pctTela", 3, 25, 2, 324, 16);
    add("imgTituloL", -1, "pctTela", 3, 10, 22, 773, 19);

    // Figure.
    add("pctTela", 4, "pctBase", -1, 0, 128, 800, 440);
    add("lblTituloF", -1, "pctTela", 4, 25, 2, 324, 16);
    add("imgTituloF", -1, "pctTela", 4, 10, 22, 773, 19);
    add("imgFiguraDetalhada", -1, "pctTela", 4, 13, 46, 565, 390);
    add("lblPainelF", -1, "pctTela", 4, 583, 46, 200, 380);

    // Application search.
    add("pctTela", 2, "pctBase", -1, 0, 128, 800, 440);
    add("shpGrid", 2, "pctTela", 2, 19, 68, 762, 358);

    // Tab strips.
    add("pctOrelha", 0, "pctBase", -1, 0, 89, 795, 26);
    add("imgOrelha0", 0, "pctOrelha", 0, 0, 0, 191, 26);
    add("imgOrelha0", 1, "pctOrelha", 0, 191, 0, 196, 26);
    add("imgOrelha0", 2, "pctOrelha", 0, 387, 0, 197, 27);
    add("imgOrelha0", 3, "pctOrelha", 0, 584, 0, 198, 27);
    add("pctOrelha", 1, "pctBase", -1, 0, 89, 590, 26);
    add("imgOrelha1", 0, "pctOrelha", 1, 0, 0, 289, 27);
    add("imgOrelha1", 1, "pctOrelha", 1, 289, 0, 295, 27);

    // Header.
    add("imgCabecalho", 0, "pctBase", -1, 0, 18, 784, 74);
    add("imgCabecalho", 1, "pctBase", -1, 0, 115, 785, 13);
    add("imgLogo", 0, "pctBase", -1, 624, 25, 55, 13);
    add("imgLogo", 1, "pctBase", -1, 624, 36, 158, 42);
    add("imgIdiomaP", -1, "pctBase", -1, 10, 5, 20, 20);
    add("imgIdiomaE", -1, "pctBase", -1, 39, 5, 20, 20);
    add("imgIdiomaI", -1, "pctBase", -1, 69, 5, 20, 20);
    add("imgBtnIdiomaP", -1, "pctBase", -1, 11, 15, 18, 10);
    add("imgBtnIdiomaE", -1, "pctBase", -1, 40, 15, 19, 10);
    add("imgBtnIdiomaI", -1, "pctBase", -1, 69, 15, 19, 10);
    add("imgBtnIdiomaPSel", -1, "pctBase", -1, 7, 12, 26, 13);
    add("imgBtnIdiomaESel", -1, "pctBase", -1, 36, 12, 26, 13);
    add("imgBtnIdiomaISel", -1, "pctBase", -1, 66, 12, 26, 13);
    add("imgSiteZornak", -1, "pctBase", -1, 128, 14, 104, 11);
    add("imgSiteZornakSel", -1, "pctBase", -1, 128, 14, 104, 11);
    add("imgHaste", 0, "pctBase", -1, 246, 14, 4, 12);
    add("imgCarrinho", -1, "pctBase", -1, 261, 7, 22, 21);
    add("imgCarrinhoSel", -1, "pctBase", -1, 261, 7, 22, 21);
    add("imgAjuda", -1, "pctBase", -1, 753, 6, 20, 20);
    add("imgAjudaSel", -1, "pctBase", -1, 753, 6, 20, 20);
    add("imgMinimizar", -1, "pctBase", -1, 776, 6, 20, 20);
    add("imgMinimizarSel", -1, "pctBase", -1, 776, 6, 20, 20);

    // Information line.
    add("lblUltimaAtualizacao", -1, "pctBase", -1, 4, 68, 202, 14);
    add("imgBtnVerificarAtualizacoesSel", -1, "pctBase", -1, 225, 65, 178, 18);
    add("lblVerificarAtualizacoes", -1, "pctBase", -1, 227, 68, 176, 14);
    add("imgBtnConfiguracoesSel", -1, "pctBase", -1, 392, 65, 157, 18);
    add("lblConfiguracoes", -1, "pctBase", -1, 397, 68, 149, 14);

    // Footer.
    add("imgRodapeEsq", -1, "pctBase", -1, 0, 572, 529, 17);
    add("imgRodapeDir", -1, "pctBase", -1, 575, 573, 226, 15);
    add("imgBtnImprimir", -1, "pctBase", -1, 16, 572, 86, 17);
    add("imgBtnImprimirSel", -1, "pctBase", -1, 16, 572, 86, 17);
    add("lblImprimir", -1, "pctBase", -1, 23, 575, 71, 14);
    add("imgLegendaLancamento", -1, "pctBase", -1, 150, 572, 97, 18);
    add("imgBtnPagF", 0, "pctBase", -1, 474, 572, 35, 17);
    add("imgBtnPagFSel", 0, "pctBase", -1, 474, 572, 35, 17);
    add("lblPagF", 0, "pctBase", -1, 478, 574, 28, 14);
    add("imgBtnInicio", -1, "pctBase", -1, 598, 573, 83, 15);
    add("imgBtnInicioSel", -1, "pctBase", -1, 598, 573, 83, 15);
    add("lblInicio", -1, "pctBase", -1, 598, 575, 83, 14);
    add("imgBtnSair", -1, "pctBase", -1, 700, 573, 83, 15);
    add("imgBtnSairSel", -1, "pctBase", -1, 700, 573, 83, 15);
    add("lblSair", -1, "pctBase", -1, 700, 575, 83, 14);

    // Hidden helpers, then the background out of sight.
    add("pctTmp", -1, "pctBase", -1, 398, 0, 27, 14);
    add("imgAuxFigura", -1, "pctBase", -1, 430, 0, 26, 14);
    add("imgFundoTela", -1, "window", -1, -106, -77, 33, 33);
    return t;
}

}  // namespace

const std::vector<PosicaoControle>& TabelaPosicoes() {
    static const std::vector<PosicaoControle> tabela = MontaPosicoes();
    return tabela;
}

const std::vector<PosicaoLinha>& TabelaLinhas() {
    // Three rows and two columns of lines over shpBaseM make the home screen's 3 x 4 grid.
    static const std::vector<PosicaoLinha> tabela = {
        {"linHM", 0, "pctTela", 0, 61, 121, 739, 121},
        {"linHM", 1, "pctTela", 0, 61, 226, 739, 226},
        {"linHM", 2, "pctTela", 0, 61, 331, 739, 331},
        {"linVM", 0, "pctTela", 0, 287, 16, 287, 427},
        {"linVM", 1, "pctTela", 0, 513, 16, 513, 427},
    };
    return tabela;
}

TamanhoTela TelaEmPixels(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                         int twipsPorPixelY) {
    return {static_cast<int>(vb::CLng(static_cast<double>(larguraTwips) / twipsPorPixelX)),
            static_cast<int>(vb::CLng(static_cast<double>(alturaTwips) / twipsPorPixelY))};
}

TamanhoJanela TamanhoJanelaInicial(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                   int twipsPorPixelY, int alturaTitulo) {
    const TamanhoTela tela = TelaEmPixels(larguraTwips, alturaTwips, twipsPorPixelX, twipsPorPixelY);
    // 760 here, not 768: a 1024 x 760 screen still gets the margin.
    const int margem = (tela.largura >= 1024 && tela.altura >= 760) ? 30 : 0;
    return {800 + margem, 600 + margem + alturaTitulo};
}

bool MaximizaNaPrimeiraAtivacao(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                int twipsPorPixelY) {
    const TamanhoTela tela = TelaEmPixels(larguraTwips, alturaTwips, twipsPorPixelX, twipsPorPixelY);
    return tela.largura < 1024 || tela.altura < 768;
}

Fundo DecideFundo(long larguraTwips, long alturaTwips, int twipsPorPixelX, int twipsPorPixelY) {
    const float largura = static_cast<float>(larguraTwips) / static_cast<float>(twipsPorPixelX);
    const float altura = static_cast<float>(alturaTwips) / static_cast<float>(twipsPorPixelY);
    if (largura >= 1024.0f && altura >= 768.0f) return {true, "1", 798, "FUNDOTELA1024X768"};
    return {false, "0", 800, ""};
}

std::optional<Centralizacao> CentralizaTela(bool bForcar, const std::string& tagFundo,
                                            bool minimizada, int larguraCliente,
                                            int alturaCliente, int larguraBase) {
    if (!bForcar && (tagFundo == "0" || minimizada)) return std::nullopt;
    const double x = larguraCliente > 800 ? (larguraCliente - larguraBase) / 2.0 : 0.0;
    // The vertical centring uses the design height, not the panel's.
    const double y = alturaCliente > 600 ? (alturaCliente - 600) / 2.0 : 0.0;
    // The layout's whole numbers are 16-bit Integers, rounded half to even.
    const int left = vb::CInt(x);
    const int top = vb::CInt(y);
    // (1024 - 798) / 2 and (768 - 600) / 2: the background stays centred on the panel.
    return Centralizacao{left, top, left - 113, top - 84};
}

}  // namespace frmZornakLayout
