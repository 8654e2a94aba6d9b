// The fixed layout applied to the main window's controls, and the centring of the panel.
#include "catalog/main_window/frmZornak.h"

#include "catalog/main_window/frmZornak_layout.h"
#include "catalog/startup/Modulo.h"
#include "platform/forms/Screen.h"

#include <QWidget>

void frmZornakForm::PosicionaControles() {
    for (const auto& p : frmZornakLayout::TabelaPosicoes()) {
        vb::Control* c = Controle(p.controle, p.indice);
        if (!c) vb::Raise(vb::err::ObjectRequired, "The window has no " + p.controle);
        c->Move(p.left, p.top, p.width, p.height);
    }
    for (const auto& l : frmZornakLayout::TabelaLinhas()) {
        auto* linha = dynamic_cast<vb::Line*>(Controle(l.controle, l.indice));
        if (!linha) vb::Raise(vb::err::ObjectRequired, "The window has no line " + l.controle);
        linha->SetEnds(l.x1, l.y1, l.x2, l.y2);
    }
    const auto fundo = frmZornakLayout::DecideFundo(vb::Screen().Width(), vb::Screen().Height(),
                                                     EstadoPrograma.TwipsPorPixelX, EstadoPrograma.TwipsPorPixelY);
    if (fundo.telaGrande) imgFundoTela->SetPicture(CarregaImagemRecurso(fundo.imagemFundo, "G"));
    imgFundoTela->SetTag(fundo.tagFundo);
    pctBase->SetWidth(fundo.larguraBase);
    CentralizaTela(true);
}

void frmZornakForm::CentralizaTela(bool bForcar) {
    const auto destino = frmZornakLayout::CentralizaTela(bForcar, imgFundoTela->Tag(), WindowState() == vb::vbMinimized,
                                                         ScaleWidth(), ScaleHeight(), pctBase->Width());
    if (!destino) return;
    // Drawing is frozen while both move, and always released.
    QWidget* janela = Window();
    if (janela) janela->setUpdatesEnabled(false);
    try {
        imgFundoTela->Move(destino->leftFundo, destino->topFundo);
        pctBase->Move(destino->leftBase, destino->topBase);
    } catch (...) {
    }
    if (janela) janela->setUpdatesEnabled(true);
}
