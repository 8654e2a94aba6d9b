#include "catalog/controls/THCombo.h"

#include "catalog/controls/EspecificacaoColunas.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr int AlturaCaixa = 21;      // the box row; the list starts right under it
constexpr int AlturaLista = 172;
constexpr int AlturaAberta = AlturaCaixa + AlturaLista;

vb::Picture Figura(const char* nome) {
    try {
        return CarregaImagemRecurso(nome, "D");
    } catch (const vb::Error&) {
        return {};
    }
}

// The frame of the closed box. It lies over the box's parts, so the arrow at the right end
// does not break it; the pointer goes through it to them.
class MolduraCaixa : public QWidget {
public:
    explicit MolduraCaixa(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
};

// Puts the picture, tip and pointer of the grid's selection-bar picture i on the combo's
// own; returns where the grid has it.
int CopiaImgSelecionado(THGrid& grade, int i, vb::Image& img) {
    int left = 0, ponteiro = 0;
    vb::Picture figura;
    std::string dica;
    grade.Properties_imgSelecionado(i, left, figura, dica, ponteiro);
    img.SetPicture(figura);
    img.SetToolTipText(dica);
    img.SetMousePointer(ponteiro);
    return left;
}

}  // namespace

THCombo::THCombo(vb::Container& parent, std::string name, int index) : vb::UserControl(parent, std::move(name), index) {
    pctTexto = New<vb::PictureBox>(*this, "pctTexto");
    lblTexto = New<vb::Label>(*pctTexto, "lblTexto");
    pctTHGrid = New<vb::PictureBox>(*this, "pctTHGrid");
    linTHGrid = NewArray<vb::Line>(*pctTHGrid, "linTHGrid");
    imgSelecionado2 = NewArray<vb::Image>(*pctTHGrid, "imgSelecionado2");
    imgSelecionado = NewArray<vb::Image>(*pctTHGrid, "imgSelecionado");
    lblTHGrid = NewArray<vb::Label>(*pctTHGrid, "lblTHGrid");
    tmr = NewTimer("tmr", 1, false);
    THGrid1 = New<THGrid>(*this, "THGrid1");
    THGrid1->StartUp(nullptr);
    imgTipo2[0] = Figura("THCombo.imgTipo2");
    imgTipo2[1] = Figura("THCombo.imgTipo2Sel");
    imgTipo1[0] = Figura("THCombo.imgTipo1");
    imgTipo1[1] = Figura("THCombo.imgTipo1Sel");
    img2 = New<vb::Image>(*this, "img2");
    img1 = New<vb::Image>(*this, "img1");

    // Design of the constituents.
    for (vb::PictureBox* p : {pctTexto, pctTHGrid}) {
        p->SetBorderStyle(0);
        p->Widget()->setFocusPolicy(Qt::NoFocus);
    }
    lblTexto->SetBackStyle(0);
    lblTexto->SetCaption("TEXTO");
    lblTexto->SetFont("MS Sans Serif", 8.25);
    lblTexto->SetForeColor(0x202020);
    THGrid1->SetBorderStyle(1);
    THGrid1->SetBackColor(0xFFFFFF);
    THGrid1->SetVisible(false);

    auto alterna = [this] { AlternaLista(); };
    img1->Click = alterna;
    pctTHGrid->Click = alterna;
    pctTexto->Click = alterna;
    lblTexto->Click = alterna;
    lblTHGrid->SetHandlers([this, alterna](vb::Label& l) {
        l.SetBackStyle(0);
        l.SetFont("MS Sans Serif", 8.25);
        l.SetForeColor(0x202020);
        l.Click = alterna;
        l.MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte("FLECHA", b, s, x, y); };
    });
    linTHGrid->SetHandlers([](vb::Line& l) { l.SetBorderColor(0xC0C0C0); });
    // The hover variant lies over its row picture: the mouse goes through it to the picture,
    // which keeps its highlight and its click.
    imgSelecionado2->SetHandlers([](vb::Image& img) { img.SetDisplayOnly(true); });
    imgSelecionado->SetHandlers([this](vb::Image& img) {
        const int i = img.Index();
        img.MouseDown = [this](int Button, int, float, float) { ultimoBotao_ = Button; };
        img.Click = [this, i] { ClickFigura(i); };
        img.MouseUp = [this, i, &img](int Button, int, float X, float Y) {
            if (Button == vb::vbRightButton && X >= 0 && Y >= 0 && X < img.Width() && Y < img.Height()) ClickFigura(i);
        };
        img.MouseMove = [this, i](int b, int s, float x, float y) {
            MouseMoveParte("SELECIONADO" + std::to_string(i), b, s, x, y);
        };
    });
    img1->MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte("FLECHA", b, s, x, y); };
    pctTHGrid->MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte("FLECHA", b, s, x, y); };
    pctTexto->MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte("FLECHA", b, s, x, y); };
    lblTexto->MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte("FLECHA", b, s, x, y); };
    img2->SetDisplayOnly(true);

    THGrid1->Click = [this] {
        cliquePendente_ = true;
        RowColChangeLista();
    };
    THGrid1->RowColChange = [this](const MarcadorLinha&, int) { RowColChangeLista(); };
    THGrid1->MouseMove = [this](int b, int s, float x, float y) { MouseMoveParte(">THGRID", b, s, x, y); };
    THGrid1->ImageClick = [this](std::uint8_t c, const MarcadorLinha& b, int botao) { RaiseEvent(ImageClick, c, b, botao); };
    THGrid1->KeyDown = [this](int& KeyCode, int Shift) { UserControl_KeyDown(KeyCode, Shift); };
    tmr->TimerEvent = [this] { Tick(); };
    moldura_ = new MolduraCaixa(Widget());
    moldura_->raise();
}

// ----------------------------------------------------------------------- creation and layout

void THCombo::UserControl_Initialize() {
    InicializaGeometria();
    colunasConfiguradas_ = cliquePendente_ = mNaoFecharExitFocus = redimensionando_ = false;
    salvo_.reset();
    chave_ = "FORM";
    layoutPermitido_ = true;
    mUserControlPixelWidth = 0;
    iniciado_ = true;
}

void THCombo::Move(int left, int top, int width, int height) {
    const QSize antes = Widget()->size();
    vb::UserControl::Move(left, top, width, height);
    if (iniciado_ && (Widget()->size() != antes || !Widget()->isVisible())) UserControl_Resize();
}

void THCombo::InicializaGeometria() {
    pctTexto->Move(1, 2, 98, 16);
    lblTexto->Move(0, 1, 36, 15);
    pctTHGrid->Move(1, 2, 50, 16);
    (*linTHGrid)(0).SetEnds(34, 0, 34, 23);
    (*imgSelecionado2)(0).Move(19, 1, 8, 14);
    (*imgSelecionado)(0).Move(45, 1, 15, 14);
    (*lblTHGrid)(0).Move(2, 1, 12, 16);
    THGrid1->Move(0, AlturaCaixa, 118, AlturaLista);
    img2->Move(101, 2, 17, 11);
    img1->Move(101, 2, 17, 11);
    pctTexto->SetVisible(false);
    img2->SetVisible(false);
    (*linTHGrid)(0).SetVisible(false);
    (*imgSelecionado2)(0).SetVisible(false);
}

void THCombo::UserControl_InitProperties() { AplicaBackColor(0xFFFFFF); }

void THCombo::UserControl_ReadProperties(const vb::PropertyBag& bag) {
    AplicaBackColor(static_cast<long>(bag.ReadProperty("BackColor", qlonglong(0xFFFFFF)).toLongLong()));
}

void THCombo::UserControl_WriteProperties(vb::PropertyBag& bag) {
    bag.WriteProperty("BackColor", qlonglong(pctTHGrid->BackColor()), qlonglong(0xFFFFFF));
}

void THCombo::UserControl_Resize() {
    if (redimensionando_) return;
    redimensionando_ = true;
    if (mUserControlPixelWidth < 1) {
        SetHeight(img1->Top() + img1->Height());
    } else {
        SetWidth(mUserControlPixelWidth);
        SetHeight(AlturaAberta);
    }
    if (layoutPermitido_) {
        const int w = Width();
        img1->SetLeft(w - img1->Width());
        img2->SetLeft(w - img2->Width());
        pctTHGrid->SetWidth(img1->Left() - pctTHGrid->Left());
        pctTexto->SetWidth(pctTHGrid->Width());
        lblTexto->SetWidth(pctTHGrid->Width());
        if (colunasConfiguradas_ && THGrid1->mUserControlPixelWidth > mUserControlPixelWidth)
            SetWidth(THGrid1->mUserControlPixelWidth);
    }
    AjustaMascara();
    redimensionando_ = false;
}

// The combo takes only its box, and the list while it is open: what lies under the rest of
// the control stays visible and takes the mouse, as under the original's transparent surface.
void THCombo::AjustaMascara() {
    const QRect caixa(0, 0, LarguraCaixa(), std::min(std::max(1, Height()), AlturaCaixa));
    QRegion area(caixa);
    if (THGrid1->Visible()) area += THGrid1->Widget()->geometry();
    Widget()->setMask(area);
    moldura_->setGeometry(caixa);
    moldura_->raise();
}

int THCombo::LarguraCaixa() const {
    const int largura = std::max(1, Width());
    return std::clamp(img1->Left() + img1->Width(), 1, largura);
}

// ------------------------------------------------------------------------------- configuring

void THCombo::ObtemDataControl(dao::DataControl& sDataControl) {
    THGrid1->ObtemDataControl(sDataControl);
    dc_ = sDataControl;
}

void THCombo::ObtemPictures(const TabelaPictures& sPictures) { THGrid1->ObtemPictures(sPictures); }

const dao::DataControl* THCombo::DataSource() const {
    try {
        return THGrid1->DataSource();
    } catch (const vb::Error&) {
        return nullptr;
    }
}

void THCombo::SetDataSource(const dao::DataControl* dc) { THGrid1->SetDataSource(dc); }

void THCombo::ConfiguraColunas(const std::vector<std::string>& sColunasTHGrid,
                               const std::optional<std::vector<std::string>>& sColunasTHCombo, long sWidthTHGrid) {
    // A bad specification fails before anything changes.
    int figurasLista = 0;
    for (const ColunaEspecificada& c : LeEspecificacaoColunas(sColunasTHGrid)) figurasLista += c.EhFigura() ? 1 : 0;
    if (sColunasTHCombo) {
        if (sColunasTHCombo->size() > 255)
            vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range: more than 255 closed-box items");
        int figuras = 0;
        for (const std::string& item : *sColunasTHCombo) {
            const std::vector<std::string> f = vb::Split(item, "|");
            if (f.size() < 4)
                vb::Raise(vb::err::SubscriptOutOfRange,
                          "Subscript out of range: closed-box item '" + item + "' has fewer than 4 fields");
            if (!vb::IsNumeric(vb::Trim(f[1])) || !vb::IsNumeric(vb::Trim(f[2])))
                vb::Raise(vb::err::TypeMismatch,
                          "Type mismatch: the alignment or width of closed-box item '" + item + "' is not a number");
            figuras += (f[3] == "I" || f[3] == "F") ? 1 : 0;
        }
        // Each picture cell of the box stands for one picture column of the list, in order.
        if (figuras != figurasLista)
            vb::Raise(vb::err::SubscriptOutOfRange,
                      "Subscript out of range: the closed box has " + std::to_string(figuras) +
                          " picture cells for " + std::to_string(figurasLista) + " picture columns of the list");
    }
    layoutPermitido_ = false;
    if (sWidthTHGrid == -1) {
        THGrid1->mUserControlPixelWidth = Width();
    } else {
        const int pixels = TwipsParaPixels(sWidthTHGrid);
        THGrid1->mUserControlPixelWidth = pixels;
        if (Width() < pixels) {
            mUserControlPixelWidth = pixels;
            SetWidth(pixels);
        }
    }
    THGrid1->mUserControlPixelHeight = AlturaLista;
    THGrid1->Move(THGrid1->Left(), THGrid1->Top(), THGrid1->mUserControlPixelWidth, THGrid1->mUserControlPixelHeight);
    try {
        THGrid1->ConfiguraColunas(sColunasTHGrid);
        if (!sColunasTHCombo) CopiaElementosTHGrid();
        else MontaTextoFechado(*sColunasTHCombo);
        AtualizaElementosFechado();
    } catch (...) {
        layoutPermitido_ = true;
        throw;
    }
    layoutPermitido_ = true;
    colunasConfiguradas_ = true;
}

void THCombo::CopiaElementosTHGrid() {
    (*linTHGrid)(0).SetVisible(false);
    for (int i = 0; i <= THGrid1->UBound_linTHGrid(); ++i) {
        if (i > 0) linTHGrid->Load(i);
        int x1 = 0, x2 = 0;
        THGrid1->Properties_linTHGrid(i, x1, x2);
        vb::Line& l = (*linTHGrid)(i);
        l.SetEnds(x1, l.Y1(), x2, l.Y2());
        l.SetVisible(false);
    }
    (*lblTHGrid)(0).SetVisible(false);
    for (int i = 0; i <= THGrid1->UBound_lblTHGrid(); ++i) {
        if (i > 0) lblTHGrid->Load(i);
        int left = 0, width = 0, alignment = 0;
        THGrid1->Properties_lblTHGrid(i, left, width, alignment);
        vb::Label& l = (*lblTHGrid)(i);
        l.Move(left, l.Top(), width, l.Height());
        l.SetAlignment(alignment);
        l.SetTag(THGrid1->Tag_lblTHGrid(i));
        l.SetVisible(true);
    }
    (*imgSelecionado2)(0).SetVisible(false);
    for (int i = 0; i <= THGrid1->UBound_imgSelecionado2(); ++i) {
        if (i > 0) imgSelecionado2->Load(i);
        int left = 0;
        vb::Picture figura;
        THGrid1->Properties_imgSelecionado2(i, left, figura);
        vb::Image& img = (*imgSelecionado2)(i);
        img.SetLeft(left);
        img.SetPicture(figura);
        img.SetVisible(false);
    }
    (*imgSelecionado)(0).SetVisible(false);
    for (int i = 0; i <= THGrid1->UBound_imgSelecionado(); ++i) {
        if (i > 0) imgSelecionado->Load(i);
        vb::Image& img = (*imgSelecionado)(i);
        img.SetLeft(CopiaImgSelecionado(*THGrid1, i, img));
        img.SetVisible(false);
    }
}

void THCombo::MontaTextoFechado(const std::vector<std::string>& itens) {
    (*lblTHGrid)(0).SetVisible(false);
    (*linTHGrid)(0).SetVisible(false);
    (*imgSelecionado2)(0).SetVisible(false);
    (*imgSelecionado)(0).SetVisible(false);
    int t = -1, p = -1, x = 2;
    const int total = static_cast<int>(itens.size());
    for (int n = 0; n < total; ++n) {
        const std::vector<std::string> f = vb::Split(itens[static_cast<std::size_t>(n)], "|");
        const int largura = TwipsParaPixels(vb::CLng(vb::Trim(f[2])));
        const int alinhamento = vb::CInt(vb::Trim(f[1]));
        if (f[3] == "T") {
            ++t;
            if (t > 0) lblTHGrid->Load(t);
            vb::Label& l = (*lblTHGrid)(t);
            l.SetVisible(true);
            l.Move(x, l.Top(), largura - 5, l.Height());
            l.SetAlignment(alinhamento);
            l.SetTag(f[0]);
        } else if (f[3] == "I" || f[3] == "F") {
            ++p;
            if (p > 0) {
                imgSelecionado->Load(p);
                imgSelecionado2->Load(p);
            }
            vb::Image& img = (*imgSelecionado)(p);
            CopiaImgSelecionado(*THGrid1, p, img);
            const int W = largura - 5;
            switch (alinhamento) {
            case 0: img.SetLeft(x); break;
            case 1: img.SetLeft(x + W - img.GetPicture().Width()); break;
            case 2: img.SetLeft(x + W / 2 - img.GetPicture().Width() / 2); break;
            default: break;
            }
            int left2 = 0;
            vb::Picture figura2;
            THGrid1->Properties_imgSelecionado2(p, left2, figura2);
            vb::Image& img2e = (*imgSelecionado2)(p);
            img2e.SetPicture(figura2);
            img2e.SetLeft(img.Left());
        }
        if (n != total - 1) {
            if (n > 0) linTHGrid->Load(n);
            vb::Line& l = (*linTHGrid)(n);
            l.SetVisible(false);
            l.SetEnds(x + largura - 3, l.Y1(), x + largura - 3, l.Y2());
        }
        x += largura;
    }
}

void THCombo::AtualizaElementosFechado() {
    for (int i = 0; i <= THGrid1->UBound_lblTHGrid(); ++i) {
        const std::string tag = THGrid1->Tag_lblTHGrid(i);
        for (int j : lblTHGrid->Indices())
            if ((*lblTHGrid)(j).Tag() == tag) (*lblTHGrid)(j).SetCaption(vb::LTrim(THGrid1->Caption_lblTHGrid(i)));
    }
    for (int i = 0; i <= THGrid1->UBound_imgSelecionado(); ++i) {
        if (imgSelecionado2->Exists(i)) (*imgSelecionado2)(i).SetVisible(false);
        if (imgSelecionado->Exists(i)) (*imgSelecionado)(i).SetVisible(THGrid1->Visible_imgSelecionado(i));
    }
    pctTHGrid->Refresh();
}

void THCombo::VisiblePctTexto(bool sVisible, const std::string& sTexto, int sAlignment) {
    pctTHGrid->SetVisible(!sVisible);
    pctTexto->SetVisible(sVisible);
    lblTexto->SetAlignment(sAlignment);
    lblTexto->SetCaption(sTexto);
    pctTHGrid->Refresh();
}

void THCombo::AtualizaCombo() {
    THGrid1->AtualizaGrid();
    AtualizaElementosFechado();
    salvo_ = THGrid1->Grade().Bookmark();
}

void THCombo::AnalisarScollProximoRefresh() { THGrid1->AnalisarScollProximoRefresh(); }

void THCombo::Descarrega() {
    colunasConfiguradas_ = false;
    cliquePendente_ = false;
    mNaoFecharExitFocus = false;
    salvo_.reset();
    chave_ = "FORM";
    // The key goes without its highlight: the next host of this control would otherwise
    // find the hover arrow lit, with the pointer elsewhere, and no key that clears it.
    img2->SetVisible(false);
    THGrid1->Descarrega();
    DescarregaArray(*linTHGrid);
    DescarregaArray(*lblTHGrid);
    DescarregaArray(*imgSelecionado);
    DescarregaArray(*imgSelecionado2);
    pctTHGrid->SetVisible(true);
    pctTexto->SetVisible(false);
}

// ------------------------------------------------------------------------ opening and closing

bool THCombo::ListaAberta() const { return THGrid1->Visible(); }

void THCombo::FechaRestaurando() {
    THGrid1->SetVisible(false);
    AjustaMascara();
    if (salvo_ && dc_) {
        try {
            dao::Recordset rs = dc_->GetRecordset();
            if (!rs.IsNothing()) rs.SetBookmark(*salvo_);
        } catch (const vb::Error&) {
        }
    }
}

void THCombo::AlternaLista() {
    if (THGrid1->Visible()) {
        FechaRestaurando();
    } else {
        THGrid1->SetVisible(true);
        AjustaMascara();
        ZOrder(0);
        THGrid1->ZOrder(0);
        moldura_->raise();
        try {
            THGrid1->SetFocus();
        } catch (const vb::Error&) {
            // A combo on a window that is not shown cannot take the focus; the list opens.
        }
    }
}

void THCombo::RowColChangeLista() {
    if (!cliquePendente_) return;
    cliquePendente_ = false;
    tmr->SetEnabled(true);
}

void THCombo::Tick() {
    tmr->SetEnabled(false);
    vb::DoEvents();
    AtualizaElementosFechado();
    salvo_ = THGrid1->Grade().Bookmark();
    if (THGrid1->Visible()) {
        THGrid1->SetVisible(false);
        AjustaMascara();
        vb::DoEvents();
        RaiseEvent(SelecaoAlterada);
    }
}

void THCombo::UserControl_ExitFocus() {
    if (mNaoFecharExitFocus) return;
    FechaRestaurando();
}

void THCombo::UserControl_KeyDown(int& KeyCode, int /*Shift*/) {
    if (KeyCode != vb::vbKeyEscape) return;
    KeyCode = 0;
    // Disabling the control sends the focus on to the next control.
    SetEnabled(false);
    SetEnabled(true);
    UserControl_ExitFocus();
}

void THCombo::ClickFigura(int i) {
    vb::DoEvents();
    THGrid1->EventImageClick(static_cast<std::uint8_t>(i), std::nullopt, ultimoBotao_);
}

void THCombo::Scroll(int sCols, int sRows, bool sAtualizaGrid) {
    if (THGrid1->Visible()) THGrid1->Scroll(sCols, sRows, sAtualizaGrid);
}

// ------------------------------------------------------------------------------ hover, colour

void THCombo::DestaqueObjeto(const std::string& chave, bool mostra) {
    if (chave == "FLECHA") {
        img2->SetVisible(mostra);
        if (mostra) {
            img2->ZOrder(0);
            moldura_->raise();
        }
    } else if (chave == ">THGRID") {
        if (!mostra) THGrid1->ApagaSelecao();
    } else if (chave.rfind("SELECIONADO", 0) == 0) {
        const int i = std::stoi(chave.substr(11));
        if (imgSelecionado2->Exists(i)) {
            (*imgSelecionado2)(i).SetVisible(mostra);
            if (mostra) (*imgSelecionado2)(i).ZOrder(0);
        }
    }
}

void THCombo::AlteraDestaque(const std::string& chave) {
    if (chave == chave_) return;
    if (chave != "FORM") DestaqueObjeto(chave, true);
    if (chave_ != "FORM") DestaqueObjeto(chave_, false);
    chave_ = chave;
}

void THCombo::ApagaSelecao() {
    AlteraDestaque("FORM");
    THGrid1->ApagaSelecao();
}

void THCombo::MouseMoveParte(const std::string& chave, int Button, int Shift, float X, float Y) {
    AlteraDestaque(chave);
    RaiseEvent(MouseMove, Button, Shift, X, Y);
}

void THCombo::UserControl_MouseMove(int Button, int Shift, float X, float Y) {
    MouseMoveParte("FORM", Button, Shift, X, Y);
}

void THCombo::AplicaBackColor(long color) {
    const vb::Picture* par = color != 0xFFFFFF ? imgTipo2 : imgTipo1;
    img1->SetPicture(par[0]);
    img2->SetPicture(par[1]);
    pctTHGrid->SetBackColor(color);
    pctTexto->SetBackColor(color);
    vb::Control::SetBackColor(color);
}

long THCombo::BackColor() const { return pctTHGrid->BackColor(); }

void THCombo::SetBackColor(long color) {
    AplicaBackColor(color);
    PropertyChanged("BackColor");
}
