// THCombo: the program's drop-down selector. Its closed box shows the chosen record of a
// data control, with an arrow at the right end; its drop-down list is an inner THGrid
// (THGrid1) bound to the same data control, right under the box. Choosing a row in the open
// list makes it the chosen record, closes the list and raises SelecaoAlterada; closing the
// list any other way (arrow, Esc, focus leaving) puts the data control back on the record
// chosen before. Positions are pixels; column widths come in twips.
//
// The host, in this order: mUserControlPixelWidth and Move, ObtemDataControl, ObtemPictures
// when the list shows pictures, ConfiguraColunas, and AtualizaCombo after every requery (and
// after moving the data control to the record to show).
#pragma once

#include "catalog/controls/THGrid.h"
#include "catalog/startup/Modulo.h"
#include "platform/dao/Dao.h"
#include "platform/forms/UserControl.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class THCombo : public vb::UserControl, public IComboRolagem, public IRolagemRoda {
public:
    THCombo(vb::Container& parent, std::string name, int index = -1);
    std::string TypeName() const override { return "THCombo"; }

    bool mNaoFecharExitFocus = false;   // focus leaving does not close the list
    int mUserControlPixelWidth = 0;     // 0: the width the container gives

    // The wheel scrolls only an open list.
    void Scroll(int sCols, int sRows, bool sAtualizaGrid = false) override;
    QWidget* hwnd() const { return Widget(); }
    // The resize handler runs at once, also while the control is hidden.
    void Move(int left, int top, int width = -1, int height = -1) override;
    void Descarrega();
    void VisiblePctTexto(bool sVisible, const std::string& sTexto = "", int sAlignment = 0);
    void ObtemDataControl(dao::DataControl& sDataControl);
    void ApagaSelecao();
    void AnalisarScollProximoRefresh() override;
    void AtualizaCombo();
    // The list's column specification, optionally the closed box's (one item per cell) and
    // the list's width in twips (-1: the combo's own width).
    void ConfiguraColunas(const std::vector<std::string>& sColunasTHGrid,
                          const std::optional<std::vector<std::string>>& sColunasTHCombo = std::nullopt,
                          long sWidthTHGrid = -1);
    void ObtemPictures(const TabelaPictures& sPictures);
    const dao::DataControl* DataSource() const;
    void SetDataSource(const dao::DataControl* dc);
    long BackColor() const;
    void SetBackColor(long color);

    // Events (besides MouseMove of the control itself).
    std::function<void()> SelecaoAlterada;
    std::function<void(std::uint8_t sColuna, const MarcadorLinha& sBookmark, int sButton)> ImageClick;

    // For tests: the list, whether it is open, the box's parts, the hover key.
    THGrid& Lista() const { return *THGrid1; }
    bool ListaAberta() const;
    const std::string& ChaveDestaque() const { return chave_; }
    vb::Image& Seta() const { return *img1; }
    vb::Label& TextoCelula(int i) const { return (*lblTHGrid)(i); }
    bool ExisteTextoCelula(int i) const { return lblTHGrid->Exists(i); }
    vb::Image& FiguraCelula(int i) const { return (*imgSelecionado)(i); }
    bool ExisteFiguraCelula(int i) const { return imgSelecionado->Exists(i); }
    vb::Label& Texto() const { return *lblTexto; }
    bool ModoTexto() const { return pctTexto->Visible(); }
    const MarcadorLinha& MarcadorSalvo() const { return salvo_; }
    // The toggle of the arrow, as a click on it runs it.
    void AlternaLista();

protected:
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const vb::PropertyBag& bag) override;
    void UserControl_WriteProperties(vb::PropertyBag& bag) override;
    void UserControl_Resize() override;
    void UserControl_ExitFocus() override;
    void UserControl_MouseMove(int Button, int Shift, float X, float Y) override;
    void UserControl_KeyDown(int& KeyCode, int Shift);

private:
    void InicializaGeometria();
    void CopiaElementosTHGrid();
    void MontaTextoFechado(const std::vector<std::string>& itens);
    void AtualizaElementosFechado();
    void AplicaBackColor(long color);
    void AlteraDestaque(const std::string& chave);
    void DestaqueObjeto(const std::string& chave, bool mostra);
    void FechaRestaurando();
    void RowColChangeLista();
    void Tick();
    void ClickFigura(int i);
    void AjustaMascara();
    // The closed box's width: it ends with its arrow, however wide the list makes the control.
    int LarguraCaixa() const;
    void MouseMoveParte(const std::string& chave, int Button, int Shift, float X, float Y);

    vb::PictureBox* pctTexto = nullptr;
    vb::Label* lblTexto = nullptr;
    vb::PictureBox* pctTHGrid = nullptr;
    vb::ControlArray<vb::Line>* linTHGrid = nullptr;
    vb::ControlArray<vb::Image>* imgSelecionado2 = nullptr;
    vb::ControlArray<vb::Image>* imgSelecionado = nullptr;
    vb::ControlArray<vb::Label>* lblTHGrid = nullptr;
    vb::Timer* tmr = nullptr;
    THGrid* THGrid1 = nullptr;
    vb::Picture imgTipo1[2], imgTipo2[2];
    vb::Image* img2 = nullptr;
    vb::Image* img1 = nullptr;
    QWidget* moldura_ = nullptr;   // the closed box's frame, over its parts

    std::optional<dao::DataControl> dc_;
    MarcadorLinha salvo_;
    std::string chave_ = "FORM";
    int ultimoBotao_ = 0;
    bool redimensionando_ = false;
    bool layoutPermitido_ = true;
    bool colunasConfiguradas_ = false;
    bool cliquePendente_ = false;
    bool iniciado_ = false;
};
