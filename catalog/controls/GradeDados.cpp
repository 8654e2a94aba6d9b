#include "catalog/controls/GradeDados.h"

#include "catalog/startup/Modulo.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Control.h"
#include "platform/forms/Events.h"
#include "platform/forms/Keys.h"
#include "platform/vb/Err.h"
#include "platform/vb/Strings.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The wheel is not the grid's: it goes up to the window, whose hook scrolls the list.
class BarraRolagem : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void wheelEvent(QWheelEvent* e) override { e->ignore(); }
};

const QColor CorDivisoria(0xC0, 0xC0, 0xC0);

}  // namespace

GradeDados::GradeDados(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(vb::MakeFont("MS Sans Serif", 8.25));
    barra_ = new BarraRolagem(Qt::Vertical, this);
    barra_->setFocusPolicy(Qt::NoFocus);
    barra_->setSingleStep(1);
    barra_->hide();
    connect(barra_, &QScrollBar::valueChanged, this, [this](int valor) {
        if (ajustandoBarra_) return;
        vb::RunEvent([&] { MudaTopo(valor, true); });
    });
}

GradeDados::~GradeDados() {
    if (dc_ && ouvinte_ >= 0) dc_->RemoveListener(ouvinte_);
}

void GradeDados::SetDataSource(const dao::DataControl* dc) {
    if (dc_ && ouvinte_ >= 0) dc_->RemoveListener(ouvinte_);
    dc_.reset();
    ouvinte_ = -1;
    if (dc) {
        dc_ = *dc;
        ouvinte_ = dc_->AddListener([this](dao::DataControl::Event e) { AoEventoDados(e); });
    }
    LeNomesCampos();
    topo_ = 0;
    ultimo_ = Bookmark();
    AoMover();
    AjustaBarra();
    update();
}

dao::Recordset GradeDados::Rs() const {
    if (!dc_) return {};
    dao::Recordset rs = dc_->GetRecordset();
    if (rs.IsNothing() || !rs.IsOpen()) return {};
    return rs;
}

long GradeDados::Total() const {
    const dao::Recordset rs = Rs();
    return rs.IsNothing() ? 0 : rs.RecordCount();
}

void GradeDados::LeNomesCampos() {
    const dao::Recordset rs = Rs();
    nomesCampos_ = rs.IsNothing() ? std::vector<std::string>{} : rs.FieldNames();
    for (std::string& n : nomesCampos_) n = vb::UCase(n);
    campos_.clear();
}

int GradeDados::IndiceCampo(const std::string& nome) const {
    if (nome.empty()) return -1;
    for (const auto& [campo, indice] : campos_)
        if (campo == nome) return indice;
    const std::string n = vb::UCase(nome);
    int indice = -1;
    for (std::size_t i = 0; i < nomesCampos_.size() && indice < 0; ++i)
        if (nomesCampos_[i] == n) indice = static_cast<int>(i);
    campos_.emplace_back(nome, indice);
    return indice;
}

GradeDados::Coluna& GradeDados::Columns(int index) {
    if (index < 0 || index >= ColumnCount()) vb::Raise(vb::err::SubscriptOutOfRange);
    return colunas_[static_cast<std::size_t>(index)];
}

void GradeDados::AddColumn(int index) {
    index = std::clamp(index, 0, ColumnCount());
    colunas_.insert(colunas_.begin() + index, Coluna{});
    update();
}

void GradeDados::RemoveColumn(int index) {
    if (index < 0 || index >= ColumnCount()) vb::Raise(vb::err::SubscriptOutOfRange);
    colunas_.erase(colunas_.begin() + index);
    update();
}

std::string GradeDados::Texto(long linha, int coluna) const {
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || linha < 0 || linha >= rs.RecordCount()) return {};
    const int campo = IndiceCampo(colunas_[static_cast<std::size_t>(coluna)].DataField);
    if (campo < 0) return {};
    const vb::Variant v = rs.ValueAt(linha, campo);
    return ObtemValorCampo(v, "").ToString();
}

std::string GradeDados::ColumnText(int index) const {
    if (index < 0 || index >= ColumnCount()) vb::Raise(vb::err::SubscriptOutOfRange);
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.Eof() || rs.Bof()) return {};
    return Texto(rs.AbsolutePosition(), index);
}

std::string GradeDados::CellText(int index, const MarcadorLinha& bookmark) const {
    if (index < 0 || index >= ColumnCount()) vb::Raise(vb::err::SubscriptOutOfRange);
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || !bookmark) return {};
    // A bookmark of this row set names its row; a stale one names none.
    const long linha = bookmark->row;
    if (linha < 0 || linha >= rs.RecordCount() || !(rs.BookmarkAt(linha) == *bookmark)) return {};
    return Texto(linha, index);
}

int GradeDados::LinhasPagina() const { return std::max(0, height() / AlturaLinha); }

int GradeDados::TopoMaximo() const { return static_cast<int>(std::max<long>(0, Total() - LinhasPagina())); }

int GradeDados::VisibleRows() const {
    return static_cast<int>(std::clamp<long>(Total() - topo_, 0, LinhasPagina()));
}

int GradeDados::Row() const {
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.Eof() || rs.Bof()) return -1;
    const long r = rs.AbsolutePosition() - topo_;
    return r >= 0 && r < VisibleRows() ? static_cast<int>(r) : -1;
}

void GradeDados::SetRow(int r) {
    if (r < 0 || r >= VisibleRows()) vb::Raise(vb::err::InvalidProcedureCall, "Invalid row number");
    MoveAtual(topo_ + r);
}

MarcadorLinha GradeDados::RowBookmark(int r) const {
    if (r < 0 || r >= VisibleRows()) return std::nullopt;
    return Rs().BookmarkAt(topo_ + r);
}

MarcadorLinha GradeDados::Bookmark() const {
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.Eof() || rs.Bof()) return std::nullopt;
    return rs.GetBookmark();
}

void GradeDados::SetBookmark(const dao::Bookmark& b) {
    dao::Recordset rs = Rs();
    if (rs.IsNothing()) vb::Raise(dao::jet::ObjectNotSet, "Object variable or With block variable not set");
    rs.SetBookmark(b);
}

void GradeDados::MoveAtual(long posicao) {
    dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.RecordCount() == 0) return;
    posicao = std::clamp<long>(posicao, 0, rs.RecordCount() - 1);
    if (!rs.Eof() && !rs.Bof() && rs.AbsolutePosition() == posicao) return;
    rs.SetAbsolutePosition(posicao);   // the data control tells us (AoEventoDados)
}

void GradeDados::SetScrollBars(int value) {
    scrollBars_ = value;
    AjustaBarra();
    update();
}

int GradeDados::AreaTexto() const { return barra_->isVisible() ? width() - barra_->width() : width(); }

void GradeDados::AjustaBarra() {
    ajustandoBarra_ = true;
    const bool mostra = (scrollBars_ == 2 || scrollBars_ == 3);
    const int largura = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    barra_->setGeometry(width() - largura, 0, largura, height());
    barra_->setRange(0, TopoMaximo());
    barra_->setPageStep(std::max(1, LinhasPagina()));
    barra_->setValue(topo_);
    barra_->setVisible(mostra);
    ajustandoBarra_ = false;
}

void GradeDados::MudaTopo(int topo, bool avisa) {
    topo = std::clamp(topo, 0, TopoMaximo());
    if (topo == topo_) return;
    const int antes = topo_;
    topo_ = topo;
    AjustaBarra();
    update();
    if (avisa && ScrollEvent) {
        int cancela = 0;
        ScrollEvent(cancela);
        if (cancela) {
            topo_ = antes;
            AjustaBarra();
            update();
        }
    }
}

void GradeDados::Scroll(int /*cols*/, int rows) {
    if (rows != 0) MudaTopo(topo_ + rows, true);
}

void GradeDados::SetBackColor(long color) {
    backColor_ = color;
    update();
}

void GradeDados::ReBind() {
    LeNomesCampos();
    topo_ = std::clamp(topo_, 0, TopoMaximo());
    AjustaBarra();
    update();
}

// The page follows the current record: a record above the page comes in at the top, one
// below it at the bottom.
void GradeDados::AoMover() {
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.Eof() || rs.Bof()) return;
    const long atual = rs.AbsolutePosition();
    const int linhas = std::max(1, LinhasPagina());
    if (atual < topo_) topo_ = static_cast<int>(atual);
    else if (atual >= topo_ + linhas) topo_ = static_cast<int>(atual - linhas + 1);
    topo_ = std::clamp(topo_, 0, TopoMaximo());
}

void GradeDados::AoEventoDados(dao::DataControl::Event e) {
    const MarcadorLinha antes = ultimo_;
    if (e == dao::DataControl::Event::Requery) {
        LeNomesCampos();
        topo_ = 0;
    }
    AoMover();
    AjustaBarra();
    update();
    ultimo_ = Bookmark();
    // A new row set always counts as a change of row; a move only when the record changed.
    if (e == dao::DataControl::Event::Requery || ultimo_ != antes)
        if (RowColChange) RowColChange(antes, 0);
}

void GradeDados::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    topo_ = std::clamp(topo_, 0, TopoMaximo());
    AjustaBarra();
}

void GradeDados::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor fundo = vb::ToQColor(backColor_);
    p.fillRect(rect(), fundo);
    const int area = AreaTexto();
    p.setClipRect(0, 0, area, height());
    const int visiveis = VisibleRows();
    for (int r = 0; r < visiveis; ++r) {
        const int y = r * AlturaLinha;
        int x = 0;
        for (int c = 0; c < ColumnCount(); ++c) {
            const Coluna& col = colunas_[static_cast<std::size_t>(c)];
            if (!col.Visible) continue;
            const QRect celula(x + 2, y, std::max(0, col.Width - 5), AlturaLinha - 1);
            QString texto = QString::fromStdString(Texto(topo_ + r, c));
            if (!texto.isEmpty()) {
                // One line, cut at the cell's edge as the original grid cut it (the picture
                // columns' flags and dates lie beyond the edge on purpose).
                texto.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
                const int alinhamento = col.Alignment == 1 ? Qt::AlignRight : col.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
                p.save();
                p.setClipRect(celula.intersected(QRect(0, 0, area, height())));
                p.setPen(QColor(0x20, 0x20, 0x20));
                p.drawText(celula.adjusted(0, 1, 0, 1), alinhamento | Qt::AlignTop | Qt::TextSingleLine, texto);
                p.restore();
            }
            x += col.Width;
            if (col.DividerStyle != 0 && c + 1 < ColumnCount()) {
                p.setPen(CorDivisoria);
                p.drawLine(x - 1, y, x - 1, y + AlturaLinha - 1);
            }
        }
        p.setPen(QColor(0xE4, 0xE4, 0xE4));
        p.drawLine(0, y + AlturaLinha - 1, area, y + AlturaLinha - 1);
    }
}

void GradeDados::mousePressEvent(QMouseEvent* e) {
    cliqueAqui_ = false;
    const QPointF pos = e->position();
    const int botao = vb::ButtonOf(*e), shift = vb::ShiftOf(*e);
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    vb::RunEvent([&] {
        if (MouseDown) MouseDown(botao, shift, float(pos.x()), float(pos.y()));
        const int r = static_cast<int>(pos.y()) / AlturaLinha;
        if (pos.x() < AreaTexto() && r >= 0 && r < VisibleRows()) {
            cliqueAqui_ = true;
            MoveAtual(topo_ + r);
        }
    });
}

void GradeDados::mouseReleaseEvent(QMouseEvent* e) {
    const bool clique = cliqueAqui_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    cliqueAqui_ = false;
    if (clique) vb::RunEvent([&] { if (Click) Click(); });
}

void GradeDados::mouseDoubleClickEvent(QMouseEvent* e) {
    cliqueAqui_ = false;
    const int r = static_cast<int>(e->position().y()) / AlturaLinha;
    if (e->button() == Qt::LeftButton && e->position().x() < AreaTexto() && r < VisibleRows())
        vb::RunEvent([&] { if (DblClick) DblClick(); });
}

void GradeDados::mouseMoveEvent(QMouseEvent* e) {
    const QPointF pos = e->position();
    const int botoes = vb::ButtonsOf(*e), shift = vb::ShiftOf(*e);
    vb::RunEvent([&] { if (MouseMove) MouseMove(botoes, shift, float(pos.x()), float(pos.y())); });
}

void GradeDados::keyPressEvent(QKeyEvent* e) {
    const dao::Recordset rs = Rs();
    if (rs.IsNothing() || rs.RecordCount() == 0) {
        e->ignore();
        return;
    }
    const long atual = (rs.Eof() || rs.Bof()) ? -1 : rs.AbsolutePosition();
    const int pagina = std::max(1, LinhasPagina());
    long destino = atual;
    switch (e->key()) {
    case Qt::Key_Down: destino = atual + 1; break;
    case Qt::Key_Up: destino = atual <= 0 ? 0 : atual - 1; break;
    case Qt::Key_PageDown: destino = atual + pagina; break;
    case Qt::Key_PageUp: destino = atual - pagina; break;
    case Qt::Key_Home: destino = 0; break;
    case Qt::Key_End: destino = rs.RecordCount() - 1; break;
    default: e->ignore(); return;
    }
    vb::RunEvent([&] { MoveAtual(destino); });
    e->accept();
}

void GradeDados::wheelEvent(QWheelEvent* e) { e->ignore(); }

void GradeDados::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
    vb::RunEvent([&] { if (GotFocus) GotFocus(); });
}
