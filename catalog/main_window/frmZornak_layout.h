// The main window's fixed layout and the centring of its 800 x 600 panel, as plain
// computations: the form code applies the results to its controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace frmZornakLayout {

// One control placed by PosicionaControles: left, top, width and height in pixels,
// relative to its container. Index -1 means the control is no array element.
struct PosicaoControle {
    std::string controle;
    int indice;
    std::string container;   // "window" for the form itself
    int indiceContainer;
    int left, top, width, height;
};

// A line control, placed by its end points.
struct PosicaoLinha {
    std::string controle;
    int indice;
    std::string container;
    int indiceContainer;
    int x1, y1, x2, y2;
};

// The fixed positions in the order PosicionaControles applies them (pctBase first,
// imgFundoTela last).
const std::vector<PosicaoControle>& TabelaPosicoes();
const std::vector<PosicaoLinha>& TabelaLinhas();

// Screen size in pixels from the screen's twips, as the form computes it (each quotient
// rounded half to even).
struct TamanhoTela {
    int largura, altura;
};
TamanhoTela TelaEmPixels(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                         int twipsPorPixelY);

// Window size at load: 800 x 600 plus a 30-pixel margin on screens of at least
// 1024 x 760, plus the caption height. The forms layer sizes a window by its inner area,
// without the window manager's frame, so the form passes 0 there.
struct TamanhoJanela {
    int largura, altura;
};
TamanhoJanela TamanhoJanelaInicial(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                   int twipsPorPixelY, int alturaTitulo);

// First activation: screens narrower than 1024 or lower than 768 pixels get the window
// maximised.
bool MaximizaNaPrimeiraAtivacao(long larguraTwips, long alturaTwips, int twipsPorPixelX,
                                int twipsPorPixelY);

// The background decision of PosicionaControles: on a large screen (at least 1024 x 768,
// quotients taken as single precision) the 1024 x 768 background surrounds the panel.
struct Fundo {
    bool telaGrande;
    std::string tagFundo;     // imgFundoTela.Tag: "1" or "0"
    int larguraBase;          // pctBase width: 798 or 800
    std::string imagemFundo;  // picture resource of type "G" for imgFundoTela, "" none
};
Fundo DecideFundo(long larguraTwips, long alturaTwips, int twipsPorPixelX, int twipsPorPixelY);

// Where CentralizaTela puts the panel and the background.
struct Centralizacao {
    int leftBase, topBase;
    int leftFundo, topFundo;
};

// Nothing when the call returns without moving anything (not forced, and either no
// background or a minimised window).
std::optional<Centralizacao> CentralizaTela(bool bForcar, const std::string& tagFundo,
                                            bool minimizada, int larguraCliente,
                                            int alturaCliente, int larguraBase);

}  // namespace frmZornakLayout
