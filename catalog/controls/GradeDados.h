// The data-bound grid under a THGrid: shows the text of a data control's recordset in
// columns of 17-pixel rows, without headers, and keeps the recordset's current record on
// its current row. It never edits data. Only the rows on the page are read and painted, so
// a recordset of thousands of rows costs no more than a page.
#pragma once

#include "platform/dao/Dao.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QScrollBar;

// A row's bookmark, or none (Null): no such row, or no current record.
using MarcadorLinha = std::optional<dao::Bookmark>;

class GradeDados : public QWidget {
public:
    static constexpr int AlturaLinha = 17;   // pixels

    struct Coluna {
        std::string DataField;
        int Alignment = 0;       // 0 left, 1 right, 2 centre
        int Width = 100;         // pixels
        bool Visible = true;
        int DividerStyle = 6;    // 6: light grey line
        bool AllowSizing = false;
    };

    explicit GradeDados(QWidget* parent);
    ~GradeDados() override;

    // The data control the grid shows; nullptr unbinds. The grid follows its Requery and
    // Reposition events.
    void SetDataSource(const dao::DataControl* dc);
    const dao::DataControl* DataSource() const { return dc_ ? &*dc_ : nullptr; }

    int ColumnCount() const { return static_cast<int>(colunas_.size()); }
    Coluna& Columns(int index);                  // 9 out of range
    void AddColumn(int index);                    // inserts before index (index = count appends)
    void RemoveColumn(int index);
    // The column's text in the current row ("" without one); CellText of any row by bookmark.
    std::string ColumnText(int index) const;
    std::string CellText(int index, const MarcadorLinha& bookmark) const;

    // The current record's row among the visible rows, -1 when it is not on the page.
    int Row() const;
    // Makes visible row r the current record (error 5 when there is no such row).
    void SetRow(int r);
    MarcadorLinha RowBookmark(int r) const;       // none outside the visible rows
    MarcadorLinha Bookmark() const;               // the current record's
    void SetBookmark(const dao::Bookmark& b);    // moves the recordset (3159 when stale)
    int VisibleRows() const;                      // rows of the page that hold a record
    int FirstRow() const { return topo_; }        // recordset position of visible row 0
    int ScrollBars() const { return scrollBars_; }
    void SetScrollBars(int value);               // 0 none, 2 vertical
    // Scrolls the page by whole rows without moving the current record; raises Scroll.
    void Scroll(int cols, int rows);
    long BackColor() const { return backColor_; }
    void SetBackColor(long color);
    // Reads the page again from the recordset.
    void ReBind();

    // Events, raised as the original grid raised them (each runs as an event entry point).
    std::function<void()> Click, DblClick, GotFocus;
    std::function<void(int Button, int Shift, float X, float Y)> MouseMove, MouseDown;
    std::function<void(int& Cancel)> ScrollEvent;
    std::function<void(const MarcadorLinha& LastRow, int LastCol)> RowColChange;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void focusInEvent(QFocusEvent*) override;

private:
    dao::Recordset Rs() const;
    long Total() const;
    int LinhasPagina() const;          // whole rows that fit
    int TopoMaximo() const;
    int AreaTexto() const;             // width without the scroll bar
    void AjustaBarra();
    void MudaTopo(int topo, bool avisa);
    void AoEventoDados(dao::DataControl::Event e);
    void AoMover();
    void MoveAtual(long posicao);
    std::string Texto(long linha, int coluna) const;

    std::optional<dao::DataControl> dc_;
    int ouvinte_ = -1;
    std::vector<Coluna> colunas_;
    std::vector<std::string> nomesCampos_;   // the recordset's field names in upper case, read at each requery
    mutable std::vector<std::pair<std::string, int>> campos_;   // data field -> field index, as asked
    int IndiceCampo(const std::string& nome) const;
    void LeNomesCampos();
    int topo_ = 0;
    int scrollBars_ = 0;
    long backColor_ = 0xF0F0F0;
    MarcadorLinha ultimo_;             // the current record last told by RowColChange
    QScrollBar* barra_ = nullptr;
    bool ajustandoBarra_ = false;
    bool cliqueAqui_ = false;
};
