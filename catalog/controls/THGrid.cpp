#include "catalog/controls/THGrid.h"

#include "catalog/controls/EspecificacaoColunas.h"
#include "common/Modulo.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Linha = GradeDados::AlturaLinha;
constexpr long CorDivisoria = 0xC0C0C0;
constexpr long CorFundoVazio = 0xF0F0F0;
constexpr long CorLegendaLinha = 0x1D25DA;

// The selection bar, its contents and the hover pictures let the mouse through to the grid
// and the markers beneath, as the original's disabled overlay did.
void DeixaPassarMouse(vb::Control& c) { c.Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, true); }

}  // namespace

namespace {

// Draws the one-pixel frame of BorderStyle 1 over the control's background.
class Moldura : public QObject {
public:
    Moldura(QObject* parent, const int* estilo) : QObject(parent), estilo_(estilo) {}
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (e->type() == QEvent::Paint && *estilo_ == 1) {
            auto* w = static_cast<QWidget*>(alvo);
            QPainter p(w);
            p.setPen(QColor(0xA0, 0xA0, 0xA0));
            p.drawRect(w->rect().adjusted(0, 0, -1, -1));
        }
        return false;
    }

private:
    const int* estilo_;
};

}  // namespace

THGrid::THGrid(vb::Container& parent, std::string name, int index) : vb::UserControl(parent, std::move(name), index) {
    // The grid first, so that everything else lies over it.
    grdTHGrid = new GradeDados(Widget());
    grdTHGrid->setGeometry(0, 0, 31, 27);
    grdTHGrid->show();
    tmrTHGrid = NewTimer("tmrTHGrid", 1, false);

    pctTHGrid = New<vb::PictureBox>(*this, "pctTHGrid");
    lblTHGrid = NewArray<vb::Label>(*pctTHGrid, "lblTHGrid");
    imgSelecionado = NewArray<vb::Image>(*pctTHGrid, "imgSelecionado");
    imgSelecionado2 = NewArray<vb::Image>(*pctTHGrid, "imgSelecionado2");
    lblLegImg = NewArray<vb::Label>(*pctTHGrid, "lblLegImg");
    linTHGrid = NewArray<vb::Line>(*pctTHGrid, "linTHGrid");
    pctNaoSelecionado = NewArray<vb::PictureBox>(*this, "pctNaoSelecionado");
    pctNaoSelecionado2 = NewArray<vb::PictureBox>(*this, "pctNaoSelecionado2");
    pctFundo = New<vb::PictureBox>(*this, "pctFundo");
    linRodape0 = New<vb::Line>(*this, "linRodape");
    linRodape1 = New<vb::Line>(*pctFundo, "linRodape");
    // On the background panel, which covers the whole grid when the list is empty.
    lblTextGridVazio = New<vb::Label>(*pctFundo, "lblTextGridVazio");

    // Design of the constituents.
    pctTHGrid->SetBorderStyle(0);
    pctTHGrid->SetBackColor(CorBarraSelecao);
    pctTHGrid->Widget()->setFocusPolicy(Qt::NoFocus);
    DeixaPassarMouse(*pctTHGrid);
    lblTHGrid->SetHandlers([](vb::Label& l) {
        l.SetBackStyle(0);
        l.SetForeColor(CorTextoBarra);
        l.SetFont("MS Sans Serif", 8.25);
    });
    lblLegImg->SetHandlers([](vb::Label& l) {
        l.SetBackStyle(0);
        l.SetForeColor(CorTextoBarra);
        l.SetFont("Arial", 6.75);
    });
    linTHGrid->SetHandlers([](vb::Line& l) { l.SetBorderColor(CorDivisoria); });
    pctNaoSelecionado->SetHandlers([this](vb::PictureBox& p) {
        p.SetBorderStyle(0);
        p.Widget()->setFocusPolicy(Qt::NoFocus);
        const int i = p.Index();
        p.Click = [this, i] { MarcadorClick(i); };
        p.DblClick = [this, i] { MarcadorDblClick(i); };
        p.GotFocus = [this] { RoteiaFoco(""); };
        p.MouseDown = [this](int Button, int, float, float) { botaoMarcador_ = Button; };
        // The right button clicks a picture too (the cart's plus and minus take ten).
        p.MouseUp = [this, i, &p](int Button, int, float X, float Y) {
            if (Button == vb::vbRightButton && X >= 0 && Y >= 0 && X < p.Width() && Y < p.Height()) MarcadorClick(i);
        };
        p.MouseMove = [this, i](int, int, float, float) { MarcadorMouseMove(i); };
    });
    pctNaoSelecionado2->SetHandlers([](vb::PictureBox& p) {
        p.SetBorderStyle(0);
        p.SetAutoSize(true);
        p.Widget()->setFocusPolicy(Qt::NoFocus);
        DeixaPassarMouse(p);
    });
    pctFundo->SetBorderStyle(0);
    pctFundo->SetBackColor(CorFundoVazio);
    pctFundo->GotFocus = [this] { RoteiaFoco("pctFundo"); };
    pctFundo->MouseMove = [this](int Button, int Shift, float X, float Y) {
        AlteraDestaque("FORM");
        RaiseEvent(MouseMove, Button, Shift, X, Y);
    };
    linRodape0->SetBorderColor(CorDivisoria);
    linRodape1->SetBorderColor(CorDivisoria);
    lblTextGridVazio->SetFont("Arial", 9.75, true);
    lblTextGridVazio->SetBackStyle(0);
    lblTextGridVazio->SetForeColor(0x606060);
    lblTextGridVazio->SetAlignment(vb::vbCenter);

    grdTHGrid->Click = [this] { RaiseEvent(Click); };
    grdTHGrid->DblClick = [this] {
        vb::DoEvents();
        RaiseEvent(DblClick);
    };
    grdTHGrid->GotFocus = [this] { RoteiaFoco("grdTHGrid"); };
    grdTHGrid->MouseMove = [this](int Button, int Shift, float X, float Y) {
        AlteraDestaque("FORM");
        RaiseEvent(MouseMove, Button, Shift, X, Y);
    };
    grdTHGrid->ScrollEvent = [this](int&) { GradeScroll(); };
    grdTHGrid->RowColChange = [this](const MarcadorLinha& lastRow, int lastCol) { GradeRowColChange(lastRow, lastCol); };
    tmrTHGrid->TimerEvent = [this] { Tick(); };
    Widget()->setFocusProxy(grdTHGrid);
    Widget()->installEventFilter(new Moldura(Widget(), &borderStyle_));
}


THGrid::~THGrid() {
    // The grid widget goes later, with the control's widget: it must not call back.
    if (grdTHGrid) {
        grdTHGrid->SetDataSource(nullptr);
        grdTHGrid->Click = grdTHGrid->DblClick = grdTHGrid->GotFocus = nullptr;
        grdTHGrid->MouseMove = grdTHGrid->MouseDown = nullptr;
        grdTHGrid->ScrollEvent = nullptr;
        grdTHGrid->RowColChange = nullptr;
    }
}

// ------------------------------------------------------------------------ creation, layout

void THGrid::UserControl_Initialize() {
    // Template geometry of the design.
    grdTHGrid->setGeometry(ClientOrigin().x(), ClientOrigin().y(), 31, 27);
    pctTHGrid->Move(0, 0, 700, 16);
    (*lblTHGrid)(0).Move(2, 1, 118, 16);
    (*imgSelecionado)(0).Move(132, 0, 35, 14);
    (*imgSelecionado2)(0).Move(84, 0, 35, 14);
    (*lblLegImg)(0).Move(219, 2, 40, 14);
    (*linTHGrid)(0).SetEnds(121, 0, 121, 23);
    (*pctNaoSelecionado)(0).Move(152, 17, 21, 8);
    (*pctNaoSelecionado2)(0).Move(110, 17, 21, 8);
    pctFundo->Move(0, 0, 96, 29);
    lblTextGridVazio->Move(0, 0, 4, 20);
    for (vb::Control* c : std::initializer_list<vb::Control*>{
             &(*lblTHGrid)(0), &(*imgSelecionado)(0), &(*imgSelecionado2)(0), &(*lblLegImg)(0), &(*linTHGrid)(0),
             &(*pctNaoSelecionado)(0), &(*pctNaoSelecionado2)(0), lblTextGridVazio})
        c->SetVisible(false);
    pctTHGrid->SetVisible(false);
    pctFundo->SetVisible(false);
    chave_ = "FORM";
    guarda_ = 0;
    ocupado_ = false;
    mUserControlPixelWidth = mUserControlPixelHeight = 0;
    mIf_DblClick_Call_Click = false;
    mTextGridVazio.clear();
    pctFundo->ZOrder(0);
    larguraRolagem_ = grdTHGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    iniciado_ = true;
}

void THGrid::UserControl_InitProperties() { AplicaCorFundo(0xF0F0F0); }

void THGrid::UserControl_ReadProperties(const vb::PropertyBag& bag) {
    try {
        const int row = bag.ReadProperty("Row", 0).toInt();
        if (row != 0) grdTHGrid->SetRow(row);
    } catch (const vb::Error&) {
    }
    // Through the property, so that the parts placed at creation move inside the frame.
    SetBorderStyle(bag.ReadProperty("BorderStyle", 0).toInt());
    AplicaCorFundo(static_cast<long>(bag.ReadProperty("BackColor", qlonglong(0xF0F0F0)).toLongLong()));
}

void THGrid::UserControl_WriteProperties(vb::PropertyBag& bag) {
    bag.WriteProperty("Row", grdTHGrid->Row() < 0 ? 0 : grdTHGrid->Row(), 0);
    bag.WriteProperty("BorderStyle", borderStyle_, 0);
    bag.WriteProperty("BackColor", qlonglong(backColor_), qlonglong(0xF0F0F0));
}

void THGrid::UserControl_Resize() { PosicionaControles(); }

void THGrid::Move(int left, int top, int width, int height) {
    const QSize antes = Widget()->size();
    vb::UserControl::Move(left, top, width, height);
    if (iniciado_ && (Widget()->size() != antes || !Widget()->isVisible())) PosicionaControles();
}

void THGrid::PosicionaControles() {
    if (ocupado_) return;
    ocupado_ = true;
    try {
        if (mUserControlPixelWidth > 0) SetWidth(mUserControlPixelWidth);
        int h = mUserControlPixelHeight >= 1 ? mUserControlPixelHeight : Height();
        const int borda = borderStyle_ == 1 ? 2 : 0;
        // Whole rows only; halves go to the even count.
        h = Linha * static_cast<int>(std::nearbyint(static_cast<double>(h) / Linha));
        if (h == 0) h = Linha;
        SetHeight(h + borda);
        const int w = Width();
        pctTHGrid->SetWidth(w - larguraRolagem_ + 1 - borda);
        linhasPagina_ = h / Linha;
        // A configured list that the last repaint found shorter than a page keeps the width
        // without the scroll bar's room. A control resized while hidden gets its resize only
        // when it is shown, after that repaint: its rows would run on past the bar.
        const bool semRolagem = guarda_ != 0 && grdTHGrid->ScrollBars() == 0;
        grdTHGrid->setGeometry(ClientOrigin().x(), ClientOrigin().y(),
                               semRolagem ? w - larguraRolagem_ + 1 - borda : w - borda, h);
        pctFundo->Move(pctFundo->Left(), pctFundo->Top(), w - borda, h);
        linRodape0->SetEnds(0, h - 1, w - borda, h - 1);
        linRodape1->SetEnds(0, linRodape1->Y1(), w - borda, linRodape1->Y2());
        lblTextGridVazio->Move(0, 6, w - borda, 20);
    } catch (const vb::Error&) {
    }
    ocupado_ = false;
}

// ----------------------------------------------------------------------------- configuring

void THGrid::ObtemDataControl(dao::DataControl& sDataControl) {
    dc_ = sDataControl;
    const dao::DataControl* atual = grdTHGrid->DataSource();
    if (!atual || !atual->SameAs(sDataControl)) grdTHGrid->SetDataSource(&*dc_);
}

void THGrid::ObtemPictures(const TabelaPictures& sPictures) {
    pictures_ = sPictures;
    temPictures_ = true;
}

void THGrid::ConfiguraColunas(const std::vector<std::string>& sColunas) {
    // Everything is read and checked before anything changes.
    const std::vector<ColunaEspecificada> colunas = LeEspecificacaoColunas(sColunas);
    if (colunas.size() > 255) vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range: more than 255 columns");
    int posicoes = 0;
    for (const ColunaEspecificada& c : colunas) posicoes += c.EhFigura() ? 1 : 0;
    for (int k = 0; k < posicoes; ++k)
        for (int v = 0; v < 4; ++v)
            if (!temPictures_ || static_cast<int>(pictures_[static_cast<std::size_t>(v)].size()) <= k)
                vb::Raise(vb::err::SubscriptOutOfRange, "Subscript out of range: the picture table has no picture " +
                                                            std::to_string(v) + " for picture column " + std::to_string(k));

    tiposColunas_.clear();
    figuras_.clear();
    int k = -1, t = -1, legendas = -1, contaI = -1, n = -1;
    int x = 2;
    const int largura = static_cast<int>(colunas.size());
    for (int j = 0; j < largura; ++j) {
        const ColunaEspecificada& c = colunas[static_cast<std::size_t>(j)];
        n = grdTHGrid->ColumnCount();
        grdTHGrid->AddColumn(n);
        GradeDados::Coluna& col = grdTHGrid->Columns(n);
        col.DataField = c.Campo;
        col.DividerStyle = 6;
        col.Alignment = c.Alinhamento;
        col.AllowSizing = false;
        int w = TwipsParaPixels(c.Largura);
        // The last column fills the bar and 3 pixels more.
        if (j == largura - 1 && largura > 1) {
            const int barra = pctTHGrid->Width();
            if (barra + 3 != x + w) w = barra + 3 - x;
        }
        col.Width = w;
        col.Visible = true;
        if (c.Tipo == "T") {
            tiposColunas_ += "T";
            ++t;
            if (t > 0) lblTHGrid->Load(t);
            vb::Label& l = (*lblTHGrid)(t);
            l.SetVisible(true);
            l.Move(x, l.Top(), w - 5, l.Height());
            l.SetAlignment(c.Alinhamento);
            l.SetTag(c.Campo);
        } else if (c.EhFigura()) {
            tiposColunas_ += c.Tipo;
            ++k;
            if (k > 0) {
                imgSelecionado->Load(k);
                imgSelecionado2->Load(k);
                pctNaoSelecionado2->Load(k);
            }
            const std::size_t kk = static_cast<std::size_t>(k);
            vb::Image& img = (*imgSelecionado)(k);
            img.SetToolTipText(c.Dica);
            img.SetMousePointer(c.Ponteiro);
            img.SetPicture(pictures_[2][kk]);
            (*imgSelecionado2)(k).SetPicture(pictures_[3][kk]);
            (*pctNaoSelecionado2)(k).SetPicture(pictures_[1][kk]);
            PosicaoFigura f;
            f.coluna = n;
            f.tipo = c.Tipo[0];
            f.figura = pictures_[0][kk];
            f.ponteiro = c.Ponteiro;
            f.dica = c.Dica;
            if (c.Tipo == "I") f.indiceI = ++contaI;
            if (c.TemLegenda) {
                ++legendas;
                if (legendas > 0) lblLegImg->Load(legendas);
                vb::Label& leg = (*lblLegImg)(legendas);
                leg.SetCaption("");
                leg.Move(leg.Left(), leg.Top(), TwipsParaPixels(c.LarguraLegenda), leg.Height());
                leg.SetVisible(true);
                f.legenda = legendas;
                f.larguraLegenda = TwipsParaPixels(c.LarguraLegenda) + 2;
            }
            const int W = w - 5, p = img.GetPicture().Width(), G = f.larguraLegenda;
            switch (c.Alinhamento) {
            case 0: img.SetLeft(x); break;
            case 1: img.SetLeft(x + W - (G + p)); break;
            case 2: img.SetLeft(x + W / 2 - (G + p) / 2); break;
            default: break;
            }
            if (G > 0) (*lblLegImg)(f.legenda).Move(img.Left() + p + 2, 2);
            img.SetVisible(c.Tipo == "F");
            f.esquerda = img.Left();
            (*imgSelecionado2)(k).SetLeft(img.Left());
            (*imgSelecionado2)(k).ZOrder(0);
            (*pctNaoSelecionado2)(k).SetLeft(img.Left());
            figuras_.push_back(f);
        }
        if (j != largura - 1) {
            if (n > 0 && !linTHGrid->Exists(n)) linTHGrid->Load(n);
            vb::Line& lin = (*linTHGrid)(n);
            lin.SetEnds(x + w - 3, 0, x + w - 3, 23);
            lin.SetVisible(true);
        }
        x += w;
    }
    pictures_ = {};
    temPictures_ = false;
    ultimaColuna_ = n;
    ultimaFigura_ = k;
    ultimoTexto_ = t;
    linhasMarcadores_ = 0;
    MontaMarcadores();
    guarda_ = -1;
    reverifica_ = true;
    pctTHGrid->ZOrder(0);
    pctFundo->ZOrder(0);
    AtualizaGrid();
}

// The markers of every picture position for every row of the page: element index =
// position x rows per page + row. Rebuilt when the rows per page change.
void THGrid::MontaMarcadores() {
    if (linhasMarcadores_ == linhasPagina_) return;
    DescarregaArray(*pctNaoSelecionado);
    linhasMarcadores_ = linhasPagina_;
    const int linhas = linhasPagina_;
    for (std::size_t k = 0; k < figuras_.size(); ++k) {
        const PosicaoFigura& f = figuras_[k];
        for (int r = 0; r < linhas; ++r) {
            const int idx = static_cast<int>(k) * linhas + r;
            if (idx > 0) pctNaoSelecionado->Load(idx);
            vb::PictureBox& m = (*pctNaoSelecionado)(idx);
            m.SetBackColor(backColor_);
            if (f.larguraLegenda > 0) {
                m.SetTag(f.dica);
                m.SetToolTipText("");
                m.SetAutoSize(false);
                m.SetAutoRedraw(true);
                m.SetFont("Arial", 6.75);
                m.SetForeColor(CorLegendaLinha);
                m.SetPicture(f.figura);
                m.Move(f.esquerda, r * Linha + 1, f.figura.Width() + f.larguraLegenda, f.figura.Height());
            } else {
                m.SetTag("");
                m.SetToolTipText(f.dica);
                m.SetAutoSize(true);
                m.SetAutoRedraw(false);
                m.SetPicture(f.figura);
                m.Move(f.esquerda, r * Linha + 1);
            }
            m.SetMousePointer(f.ponteiro);
            if (f.ponteiro == 99) m.Widget()->setCursor(Qt::PointingHandCursor);
            m.ZOrder(0);
            m.SetVisible(f.tipo == 'F');
        }
        (*pctNaoSelecionado2)(static_cast<int>(k)).ZOrder(0);
    }
    pctTHGrid->ZOrder(0);
    pctFundo->ZOrder(0);
}

// ----------------------------------------------------------------------------------- painting

void THGrid::AtualizaGrid() {
    if (guarda_ == 0) return;
    if (linhasMarcadores_ != linhasPagina_) {
        AlteraDestaque("FORM");
        MontaMarcadores();
    }
    pctTHGrid->SetVisible(false);
    const int visiveis = grdTHGrid->VisibleRows();
    const int ultima = std::min(linhasPagina_, visiveis - 1);
    const dao::Recordset rs = RecordsetLigado();
    const int topoGrade = grdTHGrid->y() - ClientOrigin().y();

    // A requery that was not announced by AnalisarScollProximoRefresh can leave the panel
    // wrong for the new rows: hidden under an empty list (the empty-list text on it unseen)
    // or lying over rows. Such a page is checked again all the same.
    if (!reverifica_) {
        const int topoPainel = pctFundo->Top();
        if (ultima == -1 ? (!pctFundo->Visible() || topoPainel != topoGrade)
                         : (pctFundo->Visible() && topoPainel < topoGrade + (ultima + 1) * Linha))
            reverifica_ = true;
    }
    if (reverifica_) {
        reverifica_ = false;
        pctFundo->SetVisible(false);
        const int borda = borderStyle_ == 1 ? 2 : 0;
        const long total = (rs.IsNothing() || !rs.IsOpen()) ? 0 : rs.RecordCount();
        if (total <= linhasPagina_) {
            grdTHGrid->SetScrollBars(0);
            grdTHGrid->resize(Width() - larguraRolagem_ + 1 - borda, grdTHGrid->height());
            const int topo = ultima == -1 ? topoGrade : topoGrade + (ultima + 1) * Linha;
            pctFundo->Move(pctFundo->Left(), topo, pctFundo->Width(), grdTHGrid->height() - (topo - topoGrade));
            const int y = pctFundo->Height() - 1;
            linRodape1->SetEnds(linRodape1->X1(), y, linRodape1->X2(), y);
            pctFundo->SetVisible(true);
        } else {
            grdTHGrid->SetScrollBars(2);
            grdTHGrid->resize(Width() - borda, grdTHGrid->height());
        }
    }

    // The selection bar on the current row, when that row is on the page.
    const MarcadorLinha atual = grdTHGrid->Bookmark();
    int linhaAtual = -1;
    if (atual)
        for (int r = 0; r <= ultima; ++r)
            if (grdTHGrid->RowBookmark(r) == atual) {
                linhaAtual = r;
                break;
            }
    if (linhaAtual >= 0) {
        pctTHGrid->SetTop(topoGrade + linhaAtual * Linha);
        int t = -1, k = -1;
        bool lido = false;
        ImagensLinha imagens;
        for (int j = 0; j <= ultimaColuna_ && j < static_cast<int>(tiposColunas_.size()); ++j) {
            const char tipo = tiposColunas_[static_cast<std::size_t>(j)];
            if (tipo == 'T') {
                ++t;
                (*lblTHGrid)(t).SetCaption(grdTHGrid->ColumnText(j));
            } else if (tipo == 'I') {
                ++k;
                const PosicaoFigura& f = figuras_[static_cast<std::size_t>(k)];
                if (!lido) {
                    imagens = LeImagensGrid(grdTHGrid->ColumnText(j), static_cast<int>(figuras_.size()));
                    lido = true;
                }
                const bool mostra = imagens.Mostra[static_cast<std::size_t>(f.indiceI)];
                (*imgSelecionado)(k).SetVisible(mostra);
                if (f.legenda >= 0)
                    (*lblLegImg)(f.legenda).SetCaption(mostra ? FormataDataCompacta(imagens.Legenda(f.legenda), true) : "");
            } else if (tipo == 'F') {
                ++k;
            }
        }
    }

    // Markers of every row of the page.
    if (ultimaFigura_ >= 0) {
        const long fundo = grdTHGrid->BackColor();
        for (int r = 0; r < linhasPagina_; ++r) {
            bool lido = false;
            ImagensLinha imagens;
            for (int k = 0; k <= ultimaFigura_; ++k) {
                const PosicaoFigura& f = figuras_[static_cast<std::size_t>(k)];
                vb::PictureBox& m = (*pctNaoSelecionado)(k * linhasPagina_ + r);
                if (r > ultima) {
                    m.SetVisible(false);
                    continue;
                }
                if (f.tipo == 'F') {
                    m.SetVisible(true);
                    continue;
                }
                if (!lido) {
                    imagens = LeImagensGrid(grdTHGrid->CellText(f.coluna, grdTHGrid->RowBookmark(r)),
                                            static_cast<int>(figuras_.size()));
                    lido = true;
                }
                const bool mostra = imagens.Mostra[static_cast<std::size_t>(f.indiceI)];
                m.SetVisible(mostra);
                if (f.legenda >= 0) {
                    const vb::Label& leg = (*lblLegImg)(f.legenda);
                    const vb::Image& img = (*imgSelecionado)(k);
                    const int dx = leg.Left() - img.Left(), dy = leg.Top() - img.Top();
                    m.FillRectangle(dx, 0, m.Width() - 1, m.Height() - 1, fundo);
                    if (mostra) {
                        const std::string entrada = imagens.Legenda(f.legenda);
                        m.SetCurrentX(dx);
                        m.SetCurrentY(dy);
                        m.Print(FormataDataCompacta(entrada, true));
                        const std::string d = FormataDataCompacta(entrada, false);
                        if (d.empty()) m.SetToolTipText(m.Tag());
                        else if (!m.Tag().empty()) m.SetToolTipText(m.Tag() + " (" + d + ")");
                        else m.SetToolTipText(d);
                    }
                }
            }
        }
    }

    if (linhaAtual >= 0) pctTHGrid->SetVisible(true);
    if (ultima == -1) {
        lblTextGridVazio->SetCaption(mTextGridVazio);
        lblTextGridVazio->SetVisible(true);
        lblTextGridVazio->ZOrder(0);
    } else {
        lblTextGridVazio->SetVisible(false);
    }
}

void THGrid::Descarrega() {
    chave_ = "FORM";
    guarda_ = 0;
    tiposColunas_.clear();
    figuras_.clear();
    ultimaColuna_ = -1;
    ultimaFigura_ = -1;
    ultimoTexto_ = -1;
    linhasMarcadores_ = 0;
    DescarregaArray(*linTHGrid);
    DescarregaArray(*lblTHGrid);
    DescarregaArray(*imgSelecionado);
    DescarregaArray(*imgSelecionado2);
    DescarregaArray(*lblLegImg);
    DescarregaArray(*pctNaoSelecionado);
    DescarregaArray(*pctNaoSelecionado2);
    (*lblTHGrid)(0).SetCaption("");
    while (grdTHGrid->ColumnCount() > 0) grdTHGrid->RemoveColumn(0);
}

// ---------------------------------------------------------------------------------- hover

// A marker's number names its position and row by the page the markers were built for,
// which may be older than the last change of height.
std::string THGrid::ChaveMarcador(int index) const {
    const int linhas = std::max(1, linhasMarcadores_);
    const int k = index / linhas, r = index - k * linhas;
    const bool atual = grdTHGrid->Bookmark() && grdTHGrid->RowBookmark(r) == grdTHGrid->Bookmark();
    return "PIC;" + std::string(atual ? "*" : " ") + ";" + std::to_string(index) + ";" + std::to_string(k) + ";" +
           std::to_string(r);
}

void THGrid::ObjetosChave(const std::string& chave, bool move, vb::Control*& primeiro, vb::Control*& segundo) {
    primeiro = segundo = nullptr;
    const std::vector<std::string> f = vb::Split(chave, ";");
    if (f.size() < 5 || f[0] != "PIC") return;
    const int indice = std::stoi(f[2]), k = std::stoi(f[3]);
    if (!pctNaoSelecionado2->Exists(k)) return;
    vb::PictureBox& hover = (*pctNaoSelecionado2)(k);
    if (move && pctNaoSelecionado->Exists(indice)) hover.SetTop((*pctNaoSelecionado)(indice).Top());
    primeiro = &hover;
    if (f[1] == "*" && imgSelecionado2->Exists(k)) segundo = &(*imgSelecionado2)(k);
}

void THGrid::AlteraDestaque(const std::string& chave) {
    if (chave == chave_) return;
    vb::Control *a = nullptr, *b = nullptr;
    if (chave_ != "FORM") {
        ObjetosChave(chave_, false, a, b);
        if (a) a->SetVisible(false);
        if (b) b->SetVisible(false);
    }
    if (chave != "FORM") {
        ObjetosChave(chave, true, a, b);
        if (a) a->SetVisible(true);
        if (b) b->SetVisible(true);
    }
    chave_ = chave;
}

void THGrid::ApagaSelecao() { AlteraDestaque("FORM"); }

void THGrid::UserControl_MouseMove(int, int, float, float) { AlteraDestaque("FORM"); }

void THGrid::MarcadorMouseMove(int index) { AlteraDestaque(ChaveMarcador(index)); }

// ------------------------------------------------------------------------- focus and clicks

void THGrid::RoteiaFoco(const std::string& nome) {
    try {
        if (!lblTextGridVazio->Visible()) {
            if (nome != "grdTHGrid" && grdTHGrid->isVisible()) grdTHGrid->setFocus(Qt::OtherFocusReason);
        } else if (nome != "pctFundo" && pctFundo->Widget()->isVisible()) {
            pctFundo->Widget()->setFocus(Qt::OtherFocusReason);
        }
    } catch (const vb::Error&) {
    }
}

void THGrid::MarcadorClick(int index) {
    const int linhas = std::max(1, linhasMarcadores_);
    const int k = index / linhas, r = index - k * linhas;
    const MarcadorLinha linha = grdTHGrid->RowBookmark(r);
    if (!linha) return;
    grdTHGrid->SetBookmark(*linha);
    RoteiaFoco("");
    vb::DoEvents();
    RaiseEvent(ImageClick, static_cast<std::uint8_t>(k), grdTHGrid->Bookmark(), botaoMarcador_);
}

void THGrid::MarcadorDblClick(int index) {
    try {
        const vb::PictureBox& m = (*pctNaoSelecionado)(index);
        if (m.MousePointer() != 99) {
            vb::DoEvents();
            RaiseEvent(DblClick);
        } else if (mIf_DblClick_Call_Click) {
            MarcadorClick(index);
        }
    } catch (const vb::Error&) {
    }
}

void THGrid::EventImageClick(std::uint8_t sColuna, const std::optional<MarcadorLinha>& sBookmark, int sButton) {
    RaiseEvent(ImageClick, sColuna, sBookmark ? *sBookmark : grdTHGrid->Bookmark(), sButton);
}

// ------------------------------------------------------------------ scrolling and row change

void THGrid::Scroll(int sCols, int sRows, bool sAtualizaGrid) {
    if (grdTHGrid->ScrollBars() == 0) return;
    const int passo = sRows < 0 ? -1 : 1;
    (void)sCols;
    for (int i = 0; i < std::abs(sRows); ++i) grdTHGrid->Scroll(0, passo);
    if (sAtualizaGrid) AtualizaGrid();
}

void THGrid::GradeScroll() {
    grdTHGrid->lower();
    ticks_ = 0;
    tmrTHGrid->SetEnabled(true);
}

void THGrid::Tick() {
    if (++ticks_ < 2) return;
    tmrTHGrid->SetEnabled(false);
    AtualizaGrid();
    RaiseEvent(GridAtualizado);
}

void THGrid::GradeRowColChange(const MarcadorLinha& lastRow, int lastCol) {
    const dao::Recordset rs = RecordsetLigado();
    // The original grid could be left showing a single row of a longer list; it then reads
    // its rows again and scrolls, and the change is not told. A page of one row is no such
    // case.
    if (grdTHGrid->VisibleRows() == 1 && linhasPagina_ > 1 && !rs.IsNothing() && rs.IsOpen() &&
        rs.RecordCount() > 1) {
        grdTHGrid->ReBind();
        grdTHGrid->Scroll(0, static_cast<int>(rs.RecordCount() - rs.AbsolutePosition()));
        return;
    }
    const int row = grdTHGrid->Row();
    if (row != -1) {
        if (grdTHGrid->RowBookmark(row) != lastRow) AtualizaGrid();
    } else {
        AtualizaGrid();
    }
    RaiseEvent(RowColChange, lastRow, lastCol);
}

void THGrid::AnalisarScollProximoRefresh() { reverifica_ = true; }

dao::Recordset THGrid::RecordsetLigado() const {
    if (dc_) return dc_->GetRecordset();
    const dao::DataControl* fonte = grdTHGrid->DataSource();
    return fonte ? fonte->GetRecordset() : dao::Recordset();
}

// ------------------------------------------------------------------------------- properties

int THGrid::PctTHGridTop() const { return pctTHGrid->Visible() ? pctTHGrid->Top() : -1; }

int THGrid::Row() const { return grdTHGrid->Row(); }

void THGrid::SetRow(int row) {
    grdTHGrid->SetRow(row);
    PropertyChanged("Row");
}

void THGrid::SetBorderStyle(int style) {
    const QPoint antes = ClientOrigin();
    borderStyle_ = style;
    // The constituents keep their places inside the frame.
    const QPoint desloca = ClientOrigin() - antes;
    if (!desloca.isNull())
        for (QObject* filho : Widget()->children())
            if (auto* w = qobject_cast<QWidget*>(filho)) w->move(w->pos() + desloca);
    Widget()->update();
    PosicionaControles();
    PropertyChanged("BorderStyle");
    pctFundo->ZOrder(0);
}

MarcadorLinha THGrid::RowBookmark(int rowNum) const { return grdTHGrid->RowBookmark(rowNum); }

GradeDados::Coluna& THGrid::Columns(int index) { return grdTHGrid->Columns(index); }

int THGrid::ColumnCount() const { return grdTHGrid->ColumnCount(); }

const dao::DataControl* THGrid::DataSource() const { return grdTHGrid->DataSource(); }

void THGrid::SetDataSource(const dao::DataControl* dc) { grdTHGrid->SetDataSource(dc); }

void THGrid::AplicaCorFundo(long color) {
    backColor_ = color;
    grdTHGrid->SetBackColor(color);
    pctFundo->SetBackColor(color);
    vb::Control::SetBackColor(color);
}

void THGrid::SetBackColor(long color) {
    AplicaCorFundo(color);
    PropertyChanged("BackColor");
}

vb::PictureBox* THGrid::Marcador(int posicao, int linha) const {
    const int idx = posicao * linhasMarcadores_ + linha;
    return pctNaoSelecionado->Exists(idx) ? &(*pctNaoSelecionado)(idx) : nullptr;
}

vb::Label* THGrid::Legenda(int i) const { return lblLegImg->Exists(i) ? &(*lblLegImg)(i) : nullptr; }

// ---------------------------------------------------------------------------- accessor block

int THGrid::UBound_linTHGrid() const { return ultimaColuna_ - 1; }
int THGrid::UBound_lblTHGrid() const { return ultimaColuna_ - 1 - ultimaFigura_; }
int THGrid::UBound_imgSelecionado() const { return ultimaFigura_; }
int THGrid::UBound_imgSelecionado2() const { return ultimaFigura_; }

void THGrid::Properties_linTHGrid(int sIndex, int& sX1, int& sX2) const {
    const vb::Line& l = (*linTHGrid)(sIndex);
    sX1 = l.X1();
    sX2 = l.X2();
}

void THGrid::Properties_lblTHGrid(int sIndex, int& sLeft, int& sWidth, int& sAlignment) const {
    const vb::Label& l = (*lblTHGrid)(sIndex);
    sLeft = l.Left();
    sWidth = l.Width();
    sAlignment = l.Alignment();
}

void THGrid::Properties_imgSelecionado(int sIndex, int& sLeft, vb::Picture& sPicture, std::string& sToolTipText,
                                       int& sMousePointer) const {
    const vb::Image& i = (*imgSelecionado)(sIndex);
    sLeft = i.Left();
    sPicture = i.GetPicture();
    sToolTipText = i.ToolTipText();
    sMousePointer = i.MousePointer();
}

void THGrid::Properties_imgSelecionado2(int sIndex, int& sLeft, vb::Picture& sPicture) const {
    const vb::Image& i = (*imgSelecionado2)(sIndex);
    sLeft = i.Left();
    sPicture = i.GetPicture();
}

std::string THGrid::Caption_lblTHGrid(int sIndex) const { return (*lblTHGrid)(sIndex).Caption(); }
std::string THGrid::Tag_lblTHGrid(int sIndex) const { return (*lblTHGrid)(sIndex).Tag(); }
bool THGrid::Visible_imgSelecionado(int sIndex) const { return (*imgSelecionado)(sIndex).Visible(); }
