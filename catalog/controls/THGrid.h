// THGrid: the program's read-only list. A data-bound grid (GradeDados) shows the text of a
// data control's recordset; over it the control lays its own selection bar (the current
// row's texts and pictures, white on red), the per-row picture markers that the computed
// column ImagensGrid switches on and off, release-date legends and the empty-list text, and
// it raises events when rows and pictures are clicked. Positions inside are pixels; the
// column specification gives its widths in twips, as the screens write them.
//
// The host, in this order: mUserControlPixelWidth/Height and Move, ObtemDataControl (which
// also binds the grid), ObtemPictures when there are picture columns, ConfiguraColunas, and
// AtualizaGrid after every requery (AnalisarScollProximoRefresh before a new record source).
// Descarrega before configuring it again for other columns.
#pragma once

#include "catalog/controls/GradeDados.h"
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/forms/Picture.h"
#include "platform/forms/UserControl.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The pictures of the picture columns: [variant][picture position]. Variant 0 a row's
// picture, 1 its hover variant, 2 the picture on the selection bar, 3 its hover variant.
using TabelaPictures = std::array<std::vector<vb::Picture>, 4>;

// The selection bar's colours.
constexpr long CorBarraSelecao = 0x1D25DA;   // &H1D25DA: red #DA251D
constexpr long CorTextoBarra = 0xFFFFFF;

// Takes one of the parts' arrays back to its template alone, hidden (THGrid's and THCombo's
// Descarrega, and the markers before they are laid out again).
template <class T>
void DescarregaArray(vb::ControlArray<T>& array) {
    array.UnloadAll();
    array(0).SetVisible(false);
}

class THGrid : public vb::UserControl, public IRolagemRoda {
public:
    THGrid(vb::Container& parent, std::string name, int index = -1);
    ~THGrid() override;
    std::string TypeName() const override { return "THGrid"; }

    // Public fields.
    std::string mTextGridVazio;              // shown instead of rows when the list is empty
    int mUserControlPixelWidth = 0;          // 0: the control's own width
    int mUserControlPixelHeight = 0;         // 0: the control's own height
    bool mIf_DblClick_Call_Click = false;    // a double click on a clickable picture clicks again

    QWidget* hwnd() const { return Widget(); }
    // The layout runs at once, also while the control is hidden (Qt would wait for the show).
    void Move(int left, int top, int width = -1, int height = -1) override;
    // Scrolls by whole rows when the grid shows a scroll bar, then repaints when asked.
    void Scroll(int sCols, int sRows, bool sAtualizaGrid = false) override;
    // Top of the selection bar in pixels, -1 while it is hidden.
    int PctTHGridTop() const;
    // Keeps the data control and binds the grid to it.
    void ObtemDataControl(dao::DataControl& sDataControl);
    void Descarrega();
    void ApagaSelecao();
    void AnalisarScollProximoRefresh();
    void ObtemPictures(const TabelaPictures& sPictures);
    void AtualizaGrid();
    // The column specification, one item per column (the host split it at ";"). A bad item
    // raises its error before anything changes.
    void ConfiguraColunas(const std::vector<std::string>& sColunas);

    int Row() const;
    void SetRow(int row);
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    MarcadorLinha RowBookmark(int rowNum) const;
    GradeDados::Coluna& Columns(int index);
    int ColumnCount() const;
    const dao::DataControl* DataSource() const;
    void SetDataSource(const dao::DataControl* dc);
    long BackColor() const { return backColor_; }
    void SetBackColor(long color);

    // What THCombo mirrors of the selection bar.
    int UBound_linTHGrid() const;
    int UBound_lblTHGrid() const;
    int UBound_imgSelecionado() const;
    int UBound_imgSelecionado2() const;
    void Properties_linTHGrid(int sIndex, int& sX1, int& sX2) const;
    void Properties_lblTHGrid(int sIndex, int& sLeft, int& sWidth, int& sAlignment) const;
    void Properties_imgSelecionado(int sIndex, int& sLeft, vb::Picture& sPicture, std::string& sToolTipText,
                                   int& sMousePointer) const;
    void Properties_imgSelecionado2(int sIndex, int& sLeft, vb::Picture& sPicture) const;
    std::string Caption_lblTHGrid(int sIndex) const;
    std::string Tag_lblTHGrid(int sIndex) const;
    bool Visible_imgSelecionado(int sIndex) const;
    void EventImageClick(std::uint8_t sColuna, const std::optional<MarcadorLinha>& sBookmark = std::nullopt,
                         int sButton = 0);

    // Events (besides Click, DblClick and MouseMove of the control itself).
    std::function<void(const MarcadorLinha& LastRow, int LastCol)> RowColChange;
    std::function<void(std::uint8_t sColuna, const MarcadorLinha& sBookmark, int sButton)> ImageClick;
    std::function<void()> GridAtualizado;

    // For tests and the combo: the inner grid, the hover key, the rows per page.
    GradeDados& Grade() const { return *grdTHGrid; }
    const std::string& ChaveDestaque() const { return chave_; }
    int LinhasPorPagina() const { return linhasPagina_; }
    // The marker of a picture position in a visible row (nullptr when not loaded).
    vb::PictureBox* Marcador(int posicao, int linha) const;
    vb::PictureBox* BarraSelecao() const { return pctTHGrid; }
    vb::Label* TextoVazio() const { return lblTextGridVazio; }
    vb::Label* Legenda(int i) const;

protected:
    void UserControl_Initialize() override;
    void UserControl_ReadProperties(const vb::PropertyBag& bag) override;
    void UserControl_InitProperties() override;
    void UserControl_WriteProperties(vb::PropertyBag& bag) override;
    void UserControl_Resize() override;
    void UserControl_MouseMove(int Button, int Shift, float X, float Y) override;
    // With BorderStyle 1 the constituents sit inside a one-pixel frame.
    QPoint ClientOrigin() const override { return borderStyle_ == 1 ? QPoint(1, 1) : QPoint(0, 0); }

private:
    // How the markers of one picture position look, kept to rebuild them when the rows per
    // page change.
    struct PosicaoFigura {
        int coluna = 0;           // grid column
        char tipo = 'I';
        int esquerda = 0;         // left of the bar picture
        vb::Picture figura;       // a row's picture
        int ponteiro = 0;
        std::string dica;
        int legenda = -1;         // lblLegImg element, -1 none
        int larguraLegenda = 0;   // G: legend width + 2, 0 without one
        int indiceI = -1;         // among the "I" positions, -1 for "F"
    };

    void PosicionaControles();
    void MontaMarcadores();
    void AlteraDestaque(const std::string& chave);
    void ObjetosChave(const std::string& chave, bool move, vb::Control*& primeiro, vb::Control*& segundo);
    void RoteiaFoco(const std::string& nome);
    void MarcadorClick(int index);
    void MarcadorDblClick(int index);
    void MarcadorMouseMove(int index);
    void GradeRowColChange(const MarcadorLinha& lastRow, int lastCol);
    void GradeScroll();
    void Tick();
    void AplicaCorFundo(long color);
    std::string ChaveMarcador(int index) const;
    // The recordset of the data control given, or else of the one the grid is bound to.
    dao::Recordset RecordsetLigado() const;

    GradeDados* grdTHGrid = nullptr;
    vb::Timer* tmrTHGrid = nullptr;
    vb::PictureBox* pctTHGrid = nullptr;
    vb::ControlArray<vb::Label>* lblTHGrid = nullptr;
    vb::ControlArray<vb::Image>* imgSelecionado = nullptr;
    vb::ControlArray<vb::Image>* imgSelecionado2 = nullptr;
    vb::ControlArray<vb::Label>* lblLegImg = nullptr;
    vb::ControlArray<vb::Line>* linTHGrid = nullptr;
    vb::ControlArray<vb::PictureBox>* pctNaoSelecionado = nullptr;
    vb::ControlArray<vb::PictureBox>* pctNaoSelecionado2 = nullptr;
    vb::PictureBox* pctFundo = nullptr;
    vb::Line* linRodape0 = nullptr;   // along the bottom of the control
    vb::Line* linRodape1 = nullptr;   // inside pctFundo, along its bottom
    vb::Label* lblTextGridVazio = nullptr;

    std::string chave_ = "FORM";
    std::string tiposColunas_;
    int ultimaColuna_ = -1;                  // L
    std::vector<PosicaoFigura> figuras_;     // one per picture position (P + 1 of them)
    int ultimaFigura_ = -1;                  // P
    int ultimoTexto_ = -1;
    int guarda_ = 0;                         // current-row guard: -1 configured, 0 not
    int linhasPagina_ = 1;
    int linhasMarcadores_ = 0;               // rows per page the markers were built for
    bool reverifica_ = false;
    int larguraRolagem_ = 17;
    TabelaPictures pictures_;
    bool temPictures_ = false;
    int ticks_ = 0;
    int botaoMarcador_ = 0;
    std::optional<dao::DataControl> dc_;
    bool ocupado_ = false;
    bool iniciado_ = false;
    int borderStyle_ = 0;
    long backColor_ = 0xF0F0F0;
};
