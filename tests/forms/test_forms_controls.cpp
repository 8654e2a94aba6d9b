#include "platform/forms/App.h"
#include "platform/forms/Colors.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "platform/forms/Keys.h"
#include "platform/forms/Screen.h"
#include "platform/forms/UserControl.h"
#include "platform/forms/WindowPlatform.h"
#include "platform/vb/Err.h"
#include "tests/support/AplicacaoTeste.h"
#include "tests/support/ErroVb.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new testsupport::AmbienteAplicacao("test_forms_controls"));

// A form whose events the test sets.
class TestForm : public vb::Form {
public:
    explicit TestForm(std::string name = "frmTeste") : Form(std::move(name)) {}

    std::function<void(TestForm&)> build, load;
    std::function<void(int&, int)> keyDown;
    std::function<void(int&)> keyPress;
    std::function<void(int&, int)> queryUnload;
    int loads = 0, unloads = 0, clicks = 0, activations = 0, resizes = 0, mouseMoves = 0;
    std::vector<std::pair<int, int>> keysDown;   // code and shift the form saw

protected:
    void Build() override {
        if (build) build(*this);
    }
    void Form_Load() override {
        ++loads;
        if (load) load(*this);
    }
    void Form_KeyDown(int& code, int shift) override {
        keysDown.emplace_back(code, shift);
        if (keyDown) keyDown(code, shift);
    }
    void Form_KeyPress(int& ascii) override {
        if (keyPress) keyPress(ascii);
    }
    void Form_Click() override { ++clicks; }
    void Form_Activate() override { ++activations; }
    void Form_Resize() override { ++resizes; }
    void Form_MouseMove(int, int, float, float) override { ++mouseMoves; }
    void Form_QueryUnload(int& cancel, int mode) override {
        if (queryUnload) queryUnload(cancel, mode);
    }
    void Form_Unload(int&) override { ++unloads; }
};

// Records what reaches the error box.
class ErrorRecorder {
public:
    ErrorRecorder() {
        previous_ = vb::SetErrorHandler([this](long n, const std::string& d) { errors.emplace_back(n, d); });
    }
    ~ErrorRecorder() { vb::SetErrorHandler(previous_); }
    std::vector<std::pair<long, std::string>> errors;

private:
    vb::ErrorHandler previous_;
};

void Settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

void ShowAndFocus(vb::Form& form, vb::Control& control) {
    form.Show();
    form.Window()->activateWindow();
    Settle();
    control.SetFocus();
    Settle();
}

void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

void ClickAt(QWidget* target, QPoint where = QPoint(2, 2)) {
    const QPointF local(where), global(target->mapToGlobal(where));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

vb::Picture SolidPicture(int w, int h, const QColor& color) {
    QPixmap pixmap(w, h);
    pixmap.fill(color);
    return vb::Picture(pixmap);
}

// ------------------------------------------------------------------------- key preview

struct KeyCase {
    const char* name;
    bool preview;
    int key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    int formSwallowsCode;     // the form's KeyDown sets this code to 0
    int formSwallowsAscii;    // the form's KeyPress sets this character to 0
    bool formSees, controlSeesDown, controlSeesPress;
    const char* textAfter;    // what the text box holds afterwards
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

class KeyPreviewTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPreviewTest, TheFormSeesKeysFirstAndZeroSwallowsThem) {
    const KeyCase c = GetParam();
    TestForm form;
    vb::TextBox* txt = nullptr;
    std::vector<int> controlDown, controlPress;
    form.build = [&](TestForm& f) {
        f.SetKeyPreview(c.preview);
        txt = f.New<vb::TextBox>(f, "txtBusca");
        txt->Move(10, 10, 100, 20);
        txt->KeyDown = [&](int& code, int) { controlDown.push_back(code); };
        txt->KeyPress = [&](int& ascii) { controlPress.push_back(ascii); };
    };
    form.keyDown = [&](int& code, int) { if (code == c.formSwallowsCode) code = 0; };
    form.keyPress = [&](int& ascii) { if (ascii == c.formSwallowsAscii) ascii = 0; };
    form.Load();
    ShowAndFocus(form, *txt);
    Key(QApplication::focusWidget(), c.key, c.modifiers, QString::fromLatin1(c.text));
    EXPECT_EQ(!form.keysDown.empty(), c.formSees);
    EXPECT_EQ(!controlDown.empty(), c.controlSeesDown);
    EXPECT_EQ(!controlPress.empty(), c.controlSeesPress);
    EXPECT_EQ(txt->Text(), c.textAfter);
    form.Unload();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPreviewTest,
    ::testing::Values(
        KeyCase{"F2_swallowed_by_form", true, Qt::Key_F2, Qt::NoModifier, "", 113, -1, true, false, false, ""},
        KeyCase{"letter_passes_to_control", true, Qt::Key_A, Qt::NoModifier, "a", -1, -1, true, true, true, "a"},
        KeyCase{"letter_swallowed_is_not_typed", true, Qt::Key_B, Qt::NoModifier, "b", 66, -1, true, false, false, ""},
        KeyCase{"character_swallowed_in_keypress", true, Qt::Key_C, Qt::NoModifier, "c", -1, 99, true, true, false, ""},
        KeyCase{"no_preview_form_sees_nothing", false, Qt::Key_F2, Qt::NoModifier, "", 113, -1, false, true, false, ""}));

TEST(KeyPreviewTest, ShiftStatesAndCodesOfKeyCombinations) {
    struct Combination {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        int code, shift, ascii;
    };
    const Combination table[] = {
        {Qt::Key_Backtab, Qt::ShiftModifier | Qt::ControlModifier, "", vb::vbKeyTab, 3, 0},
        {Qt::Key_Tab, Qt::ControlModifier, "\t", vb::vbKeyTab, 2, 9},
        {Qt::Key_F4, Qt::AltModifier, "", vb::vbKeyF4, 4, 0},
        {Qt::Key_P, Qt::ControlModifier, "\x10", vb::vbKeyP, 2, 16},
        {Qt::Key_Return, Qt::NoModifier, "\r", vb::vbKeyReturn, 0, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", vb::vbKeyReturn, 0, 13},
        {Qt::Key_Escape, Qt::NoModifier, "\x1b", vb::vbKeyEscape, 0, 27},
        {Qt::Key_PageDown, Qt::NoModifier, "", vb::vbKeyPageDown, 0, 0},
        {Qt::Key_5, Qt::KeypadModifier, "5", 101, 0, 53},
        {Qt::Key_F10, Qt::NoModifier, "", vb::vbKeyF10, 0, 0},
    };
    for (const Combination& c : table) {
        const QKeyEvent e(QEvent::KeyPress, c.key, c.modifiers, QString::fromLatin1(c.text));
        EXPECT_EQ(vb::KeyCodeOf(e), c.code) << "key " << c.key;
        EXPECT_EQ(vb::ShiftOf(e), c.shift) << "key " << c.key;
        EXPECT_EQ(vb::KeyAsciiOf(e), c.ascii) << "key " << c.key;
    }
}

TEST(KeyPreviewTest, AHandlerMayTypeAnotherCharacter) {
    TestForm form;
    vb::TextBox* txt = nullptr;
    form.build = [&](TestForm& f) {
        txt = f.New<vb::TextBox>(f, "txtNumeroEmpresa");
        txt->KeyPress = [](int& ascii) {
            if (ascii >= 'a' && ascii <= 'z') ascii -= 32;   // upper case as it is typed
        };
    };
    form.Load();
    ShowAndFocus(form, *txt);
    Key(QApplication::focusWidget(), Qt::Key_A, Qt::NoModifier, "a");
    Key(QApplication::focusWidget(), Qt::Key_1, Qt::NoModifier, "1");
    EXPECT_EQ(txt->Text(), "A1");
    form.Unload();
}

TEST(KeyPreviewTest, AFormWithoutAFocusedControlGetsItsKeysWithoutPreview) {
    TestForm form("frmCreditos");
    form.build = [](TestForm& f) { f.New<vb::Image>(f, "imgCreditos")->Move(0, 0, 50, 50); };
    form.keyDown = [&form](int&, int) { form.Unload(); };   // the credits close on any key
    form.Show();
    Settle();
    Key(form.Window(), Qt::Key_Space, Qt::NoModifier, " ");
    ASSERT_EQ(form.keysDown.size(), 1u);
    EXPECT_EQ(form.keysDown[0].first, vb::vbKeySpace);
    EXPECT_FALSE(form.IsLoaded());
    Settle();
}

TEST(KeyPreviewTest, SendKeysGoesThroughThePreviewToTheFocusedControl) {
    TestForm form;
    vb::TextBox* txt = nullptr;
    std::vector<int> controlDown;
    form.build = [&](TestForm& f) {
        f.SetKeyPreview(true);
        txt = f.New<vb::TextBox>(f, "txtBusca");
        txt->KeyDown = [&](int& code, int) { controlDown.push_back(code); };
    };
    form.Load();
    ShowAndFocus(form, *txt);
    vb::SendKeys("{DOWN}", true);
    ASSERT_EQ(form.keysDown.size(), 1u);
    EXPECT_EQ(form.keysDown[0].first, vb::vbKeyDown);
    EXPECT_EQ(controlDown, std::vector<int>{vb::vbKeyDown});
    EXPECT_THROW(vb::SendKeys("{NOSUCHKEY}", true), vb::Error);
    form.Unload();
}

// ------------------------------------------------------------------------------ Change

TEST(TextBoxTest, ChangeFiresForTheProgramsOwnTextAndForTyping) {
    TestForm form;
    vb::TextBox* txt = nullptr;
    std::vector<std::string> changes;
    form.build = [&](TestForm& f) {
        txt = f.New<vb::TextBox>(f, "txtDescricao");
        txt->Change = [&] { changes.push_back(txt->Text()); };
    };
    form.Load();
    ShowAndFocus(form, *txt);
    txt->SetText("abc");
    txt->SetText("abc");   // the same text is no change
    txt->SetText("");
    Key(txt->Widget(), Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_EQ(changes, (std::vector<std::string>{"abc", "", "x"}));
    form.Unload();
}

TEST(TextBoxTest, AnErrorInChangeReachesTheAssigningCodeButNotQtWhenTyping) {
    ErrorRecorder recorder;
    TestForm form;
    vb::TextBox* txt = nullptr;
    form.build = [&](TestForm& f) {
        txt = f.New<vb::TextBox>(f, "txtDescricao");
        txt->Change = [] { vb::Raise(13); };
    };
    form.Load();
    ShowAndFocus(form, *txt);
    try {
        txt->SetText("1");
        ADD_FAILURE() << "the error stayed inside the text box";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), 13);
    }
    EXPECT_TRUE(recorder.errors.empty());
    Key(txt->Widget(), Qt::Key_2, Qt::NoModifier, "2");
    ASSERT_EQ(recorder.errors.size(), 1u);
    EXPECT_EQ(recorder.errors[0].first, 13);
    EXPECT_EQ(txt->Text(), "12");
    form.Unload();
}

TEST(LabelTest, AutoSizeFollowsTheCaptionAndWrapsDownwards) {
    TestForm form;
    vb::Label* lbl = nullptr;
    form.build = [&](TestForm& f) {
        lbl = f.New<vb::Label>(f, "lblUltimaAtualizacao");
        lbl->Move(4, 68, 20, 14);
    };
    form.Load();
    lbl->SetAutoSize(true);
    lbl->SetCaption("Catálogo");
    const int short_ = lbl->Width();
    lbl->SetCaption("Catálogo atualizado em 09-DEZ-2026");
    EXPECT_GT(lbl->Width(), short_);
    EXPECT_EQ(lbl->Left(), 4);
    const int oneLine = lbl->Height();
    lbl->SetWordWrap(true);
    lbl->SetWidth(60);
    lbl->SetCaption("Catálogo atualizado em 09-DEZ-2026");
    EXPECT_EQ(lbl->Width(), 60);
    EXPECT_GT(lbl->Height(), oneLine);
    form.Unload();
}

TEST(TextBoxTest, MultiLineTextKeepsCrLfAndItsMouseEvents) {
    TestForm form;
    vb::TextBox* txt = nullptr;
    int changes = 0, moves = 0;
    form.build = [&](TestForm& f) {
        txt = f.New<vb::TextBox>(f, "txtObservacao", true);
        txt->Move(0, 0, 200, 80);
        txt->Change = [&] { ++changes; };
        txt->MouseMove = [&](int, int, float, float) { ++moves; };
    };
    form.Show();
    txt->SetText("Linha 1\r\nLinha 2");
    auto* edit = static_cast<QPlainTextEdit*>(txt->Widget());
    EXPECT_EQ(edit->blockCount(), 2);
    EXPECT_EQ(txt->Text(), "Linha 1\r\nLinha 2");
    EXPECT_EQ(changes, 1);
    QWidget* viewport = edit->viewport();
    QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), QPointF(viewport->mapToGlobal(QPoint(5, 5))), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &e);
    EXPECT_EQ(moves, 1);
    form.Unload();
}

TEST(TextBoxTest, PasswordCharacterHidesTheText) {
    TestForm form;
    vb::TextBox* txt = nullptr;
    form.build = [&](TestForm& f) { txt = f.New<vb::TextBox>(f, "txtSenha"); };
    form.Load();
    txt->SetPasswordChar("*");
    txt->SetText("segredo");
    auto* edit = static_cast<QLineEdit*>(txt->Widget());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->displayText(), QString(7, QChar('*')));
    EXPECT_EQ(txt->Text(), "segredo");
    txt->SetPasswordChar("");
    EXPECT_EQ(edit->displayText(), "segredo");
    form.Unload();
}

// ---------------------------------------------------------------------- control arrays

TEST(ControlArrayTest, LoadCopiesTheTemplateHiddenAndUnloadRemoves) {
    TestForm form;
    vb::ControlArray<vb::Label>* lblGrupoM = nullptr;
    form.build = [&](TestForm& f) {
        lblGrupoM = f.NewArray<vb::Label>(f, "lblGrupoM");
        vb::Label& modelo = (*lblGrupoM)(0);
        modelo.Move(103, 50, 143, 17);
        modelo.SetCaption("Modelo");
        modelo.SetTag("1|2");
        modelo.SetFont("Arial", 9, true);
        modelo.SetForeColor(vb::vbBlue);
        modelo.SetMousePointer(99);
    };
    form.Load();
    vb::Label& novo = lblGrupoM->Load(3);
    EXPECT_EQ(novo.Index(), 3);
    EXPECT_FALSE(novo.Visible());
    EXPECT_TRUE((*lblGrupoM)(0).Visible());
    EXPECT_EQ(novo.Left(), 103);
    EXPECT_EQ(novo.Top(), 50);
    EXPECT_EQ(novo.Width(), 143);
    EXPECT_EQ(novo.Caption(), "Modelo");
    EXPECT_EQ(novo.Tag(), "1|2");
    EXPECT_EQ(novo.FontName(), "Arial");
    EXPECT_TRUE(novo.FontBold());
    EXPECT_EQ(novo.ForeColor(), vb::vbBlue);
    EXPECT_EQ(novo.MousePointer(), 99);
    EXPECT_EQ(lblGrupoM->Count(), 2);
    EXPECT_EQ(lblGrupoM->UBound(), 3);

    const auto number = [](const std::function<void()>& f) { return testsupport::NumeroErro(f); };
    EXPECT_EQ(number([&] { lblGrupoM->Load(3); }), 360);
    EXPECT_EQ(number([&] { lblGrupoM->Unload(0); }), 362);
    EXPECT_EQ(number([&] { lblGrupoM->Unload(5); }), 340);
    EXPECT_EQ(number([&] { (*lblGrupoM)(2); }), 340);

    QPointer<QWidget> widget = novo.Widget();
    lblGrupoM->Unload(3);
    EXPECT_FALSE(lblGrupoM->Exists(3));
    Settle();
    EXPECT_TRUE(widget.isNull());
    EXPECT_NO_THROW(lblGrupoM->Load(3));
    form.Unload();
}

TEST(ControlArrayTest, HandlersKnowTheirIndexAndAnElementMayUnloadItself) {
    ErrorRecorder recorder;
    TestForm form;
    vb::ControlArray<vb::Image>* imgLancM = nullptr;
    std::vector<int> clicked;
    form.build = [&](TestForm& f) {
        imgLancM = f.NewArray<vb::Image>(f, "imgLancM");
        (*imgLancM)(0).SetPicture(SolidPicture(16, 16, Qt::green));
        imgLancM->SetHandlers([&](vb::Image& img) {
            const int index = img.Index();
            img.Click = [&, index] {
                clicked.push_back(index);
                if (index > 0) imgLancM->Unload(index);
            };
        });
    };
    form.Show();
    vb::Image& segundo = imgLancM->Load(2);
    segundo.Move(30, 0);
    segundo.SetVisible(true);
    EXPECT_EQ(segundo.Width(), 16);   // the image took its picture's size from the template
    ClickAt(segundo.Widget());
    ClickAt((*imgLancM)(0).Widget());
    Settle();
    EXPECT_EQ(clicked, (std::vector<int>{2, 0}));
    EXPECT_FALSE(imgLancM->Exists(2));
    EXPECT_TRUE(recorder.errors.empty());
    form.Unload();
}

TEST(ControlArrayTest, UnloadingTheFormReleasesEveryControl) {
    TestForm form;
    vb::ControlArray<vb::Label>* lbl = nullptr;
    form.build = [&](TestForm& f) { lbl = f.NewArray<vb::Label>(f, "lblItem"); };
    form.Show();
    QPointer<QWidget> modelo = (*lbl)(0).Widget();
    QPointer<QWidget> carregado = lbl->Load(1).Widget();
    QPointer<QWidget> janela = form.Window();
    form.Unload();
    Settle();
    EXPECT_TRUE(modelo.isNull());
    EXPECT_TRUE(carregado.isNull());
    EXPECT_TRUE(janela.isNull());
    // Loading again builds the form anew.
    form.Load();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(lbl->Count(), 1);
    form.Unload();
}

// --------------------------------------------------------------------------------- ZOrder

TEST(ZOrderTest, WindowlessControlsStayBelowTheWindowedOnesOfTheirContainer) {
    TestForm form;
    vb::PictureBox* pctTela = nullptr;
    vb::PictureBox* pctPainel = nullptr;
    vb::TextBox* txt = nullptr;
    vb::Label* lbl = nullptr;
    vb::Image* img = nullptr;
    form.build = [&](TestForm& f) {
        pctTela = f.New<vb::PictureBox>(f, "pctTela");
        pctTela->SetBorderStyle(0);
        pctTela->Move(0, 0, 200, 100);
        pctPainel = f.New<vb::PictureBox>(*pctTela, "pctPainel");
        pctPainel->Move(0, 0, 50, 50);
        txt = f.New<vb::TextBox>(*pctTela, "txt");
        txt->Move(40, 0, 50, 50);
        // Made after the windowed ones, yet below them.
        lbl = f.New<vb::Label>(*pctTela, "lbl");
        lbl->Move(0, 0, 120, 50);
        img = f.New<vb::Image>(*pctTela, "img");
        img->SetStretch(true);
        img->Move(100, 0, 60, 50);
    };
    form.Show();
    QWidget* surface = pctTela->Widget();
    auto top = [&](int x, int y) { return vb::ControlOf(surface->childAt(x, y)); };
    EXPECT_EQ(top(10, 10), pctPainel);
    EXPECT_EQ(top(45, 10), txt);
    lbl->ZOrder(0);
    EXPECT_EQ(top(10, 10), pctPainel);
    EXPECT_EQ(top(95, 10), lbl);
    pctPainel->ZOrder(0);
    EXPECT_EQ(top(45, 10), pctPainel);
    // To the back of the windowed layer, still above the label.
    pctPainel->ZOrder(1);
    EXPECT_EQ(top(45, 10), txt);
    EXPECT_EQ(top(10, 10), pctPainel);
    img->ZOrder(0);
    EXPECT_EQ(top(110, 10), img);
    lbl->ZOrder(0);
    EXPECT_EQ(top(110, 10), lbl);
    img->ZOrder(0);
    lbl->ZOrder(1);
    EXPECT_EQ(top(110, 10), img);
    EXPECT_EQ(top(45, 10), txt);
    form.Unload();
}

// ---------------------------------------------------------------------------- drawing

TEST(PictureBoxTest, DrawingIsKeptAndPointReadsIt) {
    TestForm form;
    vb::PictureBox* pct = nullptr;
    form.build = [&](TestForm& f) {
        pct = f.New<vb::PictureBox>(f, "pctTmp");
        pct->SetBorderStyle(0);
        pct->SetAutoRedraw(true);
        pct->Move(0, 0, 20, 10);
        pct->SetBackColor(vb::vbRed);
    };
    form.Show();
    EXPECT_EQ(pct->Point(0, 0), vb::vbRed);
    pct->PaintPicture(SolidPicture(4, 4, Qt::blue), 5, 2);
    EXPECT_EQ(pct->Point(5, 2), vb::vbBlue);
    EXPECT_EQ(pct->Point(8, 5), vb::vbBlue);
    EXPECT_EQ(pct->Point(9, 2), vb::vbRed);
    EXPECT_EQ(pct->Point(4, 2), vb::vbRed);
    // Scaled into a rectangle, and a part of the source only.
    QPixmap halves(2, 1);
    {
        QPainter p(&halves);
        p.fillRect(0, 0, 1, 1, Qt::green);
        p.fillRect(1, 0, 1, 1, Qt::yellow);
    }
    pct->PaintPicture(vb::Picture(halves), 12, 0, 6, 2, 1, 0, 1, 1);
    EXPECT_EQ(pct->Point(12, 0), vb::vbYellow);
    EXPECT_EQ(pct->Point(17, 1), vb::vbYellow);
    EXPECT_EQ(pct->Point(18, 1), vb::vbRed);
    EXPECT_EQ(pct->Point(20, 0), -1);
    EXPECT_EQ(pct->Point(-1, 0), -1);
    EXPECT_EQ(pct->Point(0, 10), -1);

    pct->FillRectangle(0, 0, 2, 1, vb::vbGreen);
    EXPECT_EQ(pct->Point(2, 1), vb::vbGreen);   // both corners are filled
    EXPECT_EQ(pct->Point(3, 1), vb::vbRed);
    pct->DrawLine(0, 9, 5, 9, vb::vbWhite);
    EXPECT_EQ(pct->Point(4, 9), vb::vbWhite);
    EXPECT_EQ(pct->Point(5, 9), vb::vbRed);     // the last point is left out
    pct->PSet(19, 9, vb::vbBlack);
    pct->PSet(25, 9, vb::vbBlack);              // outside: nothing
    EXPECT_EQ(pct->Point(19, 9), vb::vbBlack);

    // What is shown is what was drawn.
    const QImage shown = pct->Widget()->grab().toImage();
    EXPECT_EQ(vb::FromQColor(shown.pixelColor(6, 3)), vb::vbBlue);
    EXPECT_EQ(vb::FromQColor(pct->GetImage().Pixmap().toImage().pixelColor(6, 3)), vb::vbBlue);

    // A new back colour clears the drawing.
    pct->SetBackColor(vb::vbWhite);
    EXPECT_EQ(pct->Point(6, 3), vb::vbWhite);
    form.Unload();
}

// An image shows its picture; a box drawn on after it grew, before it was ever shown,
// keeps the drawing outside its first size.
TEST(PictureBoxTest, ImagesShowTheirPictureAndAGrownHiddenBoxDrawsEverywhere) {
    TestForm form;
    vb::Image* img = nullptr;
    vb::PictureBox* pct = nullptr;
    form.build = [&](TestForm& f) {
        img = f.New<vb::Image>(f, "imgTmp");
        img->SetPicture(SolidPicture(6, 4, Qt::blue));
        pct = f.New<vb::PictureBox>(f, "pctTmp");
        pct->SetBorderStyle(0);
        pct->SetVisible(false);
        pct->Move(10, 0, 20, 10);
        pct->Move(10, 0, 700, 10);
        pct->PaintPicture(SolidPicture(4, 4, Qt::green), 650, 2);
    };
    form.Show();
    EXPECT_EQ(vb::FromQColor(img->Widget()->grab().toImage().pixelColor(3, 2)), vb::vbBlue);
    EXPECT_EQ(pct->Point(651, 3), vb::vbGreen);
    form.Unload();
}

TEST(PictureBoxTest, PictureAutoSizeBorderAndContainedControls) {
    TestForm form;
    vb::PictureBox* pct = nullptr;
    vb::Label* lbl = nullptr;
    form.build = [&](TestForm& f) {
        pct = f.New<vb::PictureBox>(f, "pctOrelha");
        lbl = f.New<vb::Label>(*pct, "lblDentro");
        lbl->Move(0, 0, 5, 5);
    };
    form.Show();
    // The default border is the original's fixed single one: two pixels each side.
    EXPECT_EQ(lbl->Widget()->pos(), QPoint(2, 2));
    EXPECT_EQ(lbl->Left(), 0);
    pct->SetAutoSize(true);
    pct->SetPicture(SolidPicture(30, 12, QColor(1, 2, 3)));
    EXPECT_EQ(pct->Width(), 34);
    EXPECT_EQ(pct->ScaleWidth(), 30);
    EXPECT_EQ(pct->ScaleHeight(), 12);
    EXPECT_EQ(pct->Point(29, 11), vb::RGB(1, 2, 3));
    pct->SetBorderStyle(0);
    EXPECT_EQ(lbl->Widget()->pos(), QPoint(0, 0));
    EXPECT_EQ(pct->ScaleWidth(), 34);
    form.Unload();
}

TEST(PictureBoxTest, PrintAdvancesThePositionInTheBoxsOwnFont) {
    TestForm form;
    vb::PictureBox* pct = nullptr;
    form.build = [&](TestForm& f) {
        pct = f.New<vb::PictureBox>(f, "pctTexto");
        pct->SetBorderStyle(0);
        pct->Move(0, 0, 200, 60);
        pct->SetBackColor(vb::vbWhite);
        pct->SetForeColor(vb::vbBlack);
    };
    form.Show();
    pct->SetFont("Arial", 8);
    const long small = pct->TextWidth("Catálogo");
    pct->SetFontSize(16);
    const long large = pct->TextWidth("Catálogo");
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small + small / 2);
    pct->SetCurrentX(10);
    pct->SetCurrentY(5);
    pct->Print("Ab", false);
    EXPECT_DOUBLE_EQ(pct->CurrentX(), 10 + pct->TextWidth("Ab"));
    EXPECT_DOUBLE_EQ(pct->CurrentY(), 5);
    pct->Print("Cd");
    EXPECT_DOUBLE_EQ(pct->CurrentX(), 0);
    EXPECT_DOUBLE_EQ(pct->CurrentY(), 5 + pct->TextHeight("Cd"));
    bool inked = false;
    for (int x = 10; x < 10 + pct->TextWidth("Ab") && !inked; ++x)
        for (int y = 5; y < 5 + pct->TextHeight("Ab"); ++y)
            if (pct->Point(x, y) != vb::vbWhite) inked = true;
    EXPECT_TRUE(inked);
    pct->Cls();
    EXPECT_DOUBLE_EQ(pct->CurrentY(), 0);
    EXPECT_EQ(pct->Point(12, 10), vb::vbWhite);
    form.Unload();
}

// ------------------------------------------------------------------------------ colours

TEST(ColorTest, LongsAreBlueGreenRed) {
    EXPECT_EQ(vb::RGB(1, 2, 3), 0x030201);
    EXPECT_EQ(vb::ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(vb::ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(vb::ToQColor(0xC0C0C0), QColor(192, 192, 192));
    EXPECT_EQ(vb::FromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(vb::ToQColor(vb::vbButtonFace), QColor(240, 240, 240));
    EXPECT_EQ(vb::ToQColor(vb::vbWindowBackground), QColor(255, 255, 255));

    TestForm form;
    vb::Label* lbl = nullptr;
    form.build = [&](TestForm& f) {
        lbl = f.New<vb::Label>(f, "lblCor");
        lbl->Move(0, 0, 20, 20);
        lbl->SetBackColor(0xF0F0F0 - 0x0F);   // &HF0F0E1: a bluish, not a reddish grey
    };
    form.Show();
    const QColor shown = lbl->Widget()->grab().toImage().pixelColor(5, 5);
    EXPECT_EQ(shown, QColor(0xE1, 0xF0, 0xF0));
    lbl->SetBackStyle(0);   // transparent: the form shows through
    form.SetBackColor(vb::vbGreen);
    EXPECT_EQ(form.Window()->grab().toImage().pixelColor(5, 5), QColor(0, 255, 0));
    form.Unload();
}

TEST(MousePointerTest, DefaultHourglassAndTheCustomPicture) {
    TestForm form;
    vb::Image* img = nullptr;
    form.build = [&](TestForm& f) { img = f.New<vb::Image>(f, "imgCarrinho"); };
    form.Load();
    QWidget* w = img->Widget();
    img->SetMousePointer(11);
    EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
    img->SetMousePointer(99);   // no picture yet: the default
    EXPECT_FALSE(w->testAttribute(Qt::WA_SetCursor));
    img->SetMouseIcon(SolidPicture(16, 16, Qt::black), 3, 1);
    EXPECT_EQ(w->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w->cursor().hotSpot(), QPoint(3, 1));
    EXPECT_EQ(w->cursor().pixmap().size(), QSize(16, 16));
    img->SetMousePointer(0);
    EXPECT_FALSE(w->testAttribute(Qt::WA_SetCursor));
    form.Unload();
}

TEST(FontTest, OriginalFontsAreDebiansAndSizedInPointsAt96Dpi) {
    const QFont arial = vb::MakeFont("Arial", 9.75, true);
    EXPECT_EQ(QFontInfo(arial).family(), "Liberation Sans");
    EXPECT_EQ(arial.pixelSize(), 13);
    EXPECT_TRUE(arial.bold());
    const QFont sans = vb::MakeFont("MS Sans Serif", 8.25);
    EXPECT_EQ(QFontInfo(sans).family(), "Liberation Sans");
    EXPECT_EQ(sans.pixelSize(), 11);
}

// Every font name the programs use, set on a control or left as a control's own, gets the
// face the design was measured with; the printer takes the same names.
TEST(FontTest, EachOriginalNameGivesAControlItsMetricCloseFace) {
    TestForm form;
    vb::Label* lbl = nullptr;
    vb::TextBox* txt = nullptr;
    form.build = [&](TestForm& f) {
        lbl = f.New<vb::Label>(f, "lblFonte");
        txt = f.New<vb::TextBox>(f, "txtPadrao");
    };
    form.Load();
    EXPECT_EQ(txt->FontName(), "MS Sans Serif");
    EXPECT_EQ(QFontInfo(txt->Widget()->font()).family(), "Liberation Sans") << "a control's own font";
    const std::pair<const char*, double> nomes[] = {{"Arial", 8}, {"Arial", 6.75}, {"MS Sans Serif", 8.25}};
    for (const auto& [nome, pontos] : nomes) {
        SCOPED_TRACE(nome);
        lbl->SetFont(nome, pontos, true);
        EXPECT_EQ(QFontInfo(lbl->Widget()->font()).family(), "Liberation Sans");
        EXPECT_TRUE(vb::FontAvailable(nome));
    }
    EXPECT_FALSE(vb::FontAvailable("No Such Face Anywhere"));
    form.Unload();
}

// ------------------------------------------------------------------- forms and unloading

TEST(FormTest, ModalShowReturnsAfterTheFormUnloads) {
    TestForm modal("frmZornak2");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(modal.Visible());
        EXPECT_EQ(vb::FindLoadedForm("frmZornak2"), &modal);
        modal.Unload();
    });
    modal.Show(vb::vbModal);
    EXPECT_FALSE(modal.IsLoaded());
    EXPECT_EQ(modal.unloads, 1);
    EXPECT_EQ(vb::FindLoadedForm("frmZornak2"), nullptr);
}

TEST(FormTest, ModalShowAlsoReturnsWhenHiddenAndRefusesAShownForm) {
    TestForm modal;
    QTimer::singleShot(0, [&] { modal.Hide(); });
    modal.Show(vb::vbModal);
    EXPECT_TRUE(modal.IsLoaded());
    modal.Show();
    try {
        modal.Show(vb::vbModal);
        ADD_FAILURE() << "a shown form was shown modally";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), 400);
    }
    modal.Unload();
}

TEST(FormTest, TheWindowManagersCloseRequestRunsTheSameUnload) {
    TestForm form;
    int modeSeen = -1;
    bool cancel = true;
    form.queryUnload = [&](int& c, int mode) {
        modeSeen = mode;
        if (cancel) c = 1;
    };
    form.Show();
    form.Window()->close();
    EXPECT_EQ(modeSeen, vb::vbFormControlMenu);
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.Visible());
    EXPECT_EQ(form.unloads, 0);
    cancel = false;
    form.Window()->close();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(form.unloads, 1);
    form.Unload();   // a form that is not loaded: nothing
    EXPECT_EQ(form.unloads, 1);
}

TEST(FormTest, RegistryListsLoadedFormsByExactName) {
    TestForm a("frmZornak"), b("frmMenu");
    a.Load();
    b.Load();
    const auto forms = vb::Forms();
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0]->Name(), "frmZornak");
    EXPECT_EQ(forms[1]->Name(), "frmMenu");
    EXPECT_EQ(vb::FindLoadedForm("frmMenu"), &b);
    EXPECT_EQ(vb::FindLoadedForm("FRMMENU"), nullptr);
    b.Unload();
    EXPECT_EQ(vb::FindLoadedForm("frmMenu"), nullptr);
    EXPECT_EQ(vb::DoEvents(), 1);
    a.Unload();
}

TEST(FormTest, AnErrorInLoadReachesTheCodeThatLoaded) {
    ErrorRecorder recorder;
    TestForm form;
    form.load = [](TestForm&) { vb::Raise(3024, "Could not find file"); };
    try {
        form.Show();
        ADD_FAILURE() << "the load error was swallowed";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.Number(), 3024);
    }
    EXPECT_TRUE(recorder.errors.empty());
    form.Unload();
}

TEST(FormTest, ActivateComesWithEachChangeOfTheActiveForm) {
    TestForm principal("frmZornak"), auxiliar("frmZornak2");
    principal.Show();
    Settle();
    EXPECT_EQ(principal.activations, 1);
    principal.Window()->activateWindow();   // already the active form: no second Activate
    Settle();
    EXPECT_EQ(principal.activations, 1);
    auxiliar.Show();
    Settle();
    EXPECT_EQ(auxiliar.activations, 1);
    auxiliar.Unload();
    principal.Window()->activateWindow();
    Settle();
    EXPECT_EQ(principal.activations, 2);
    principal.Unload();
}

TEST(FormTest, WindowStateAndResize) {
    TestForm form;
    form.Show();
    Settle();
    EXPECT_EQ(form.WindowState(), vb::vbNormal);
    const int before = form.resizes;
    form.SetWindowState(vb::vbMinimized);
    Settle();
    EXPECT_EQ(form.WindowState(), vb::vbMinimized);
    EXPECT_GT(form.resizes, before);   // minimising counts as a resize, as it did
    form.SetWindowState(vb::vbMaximized);
    Settle();
    EXPECT_EQ(form.WindowState(), vb::vbMaximized);
    form.SetWindowState(vb::vbNormal);
    form.Move(0, 0, 300, 200);
    Settle();
    EXPECT_EQ(form.WindowState(), vb::vbNormal);
    EXPECT_EQ(form.ScaleWidth(), 300);
    EXPECT_EQ(form.ScaleHeight(), 200);
    form.Unload();
}

TEST(FormTest, TheBareFormGetsMouseMovesAndClicksThatItsControlsDoNotPassOn) {
    TestForm form;
    vb::Label* lbl = nullptr;
    int labelMoves = 0;
    form.build = [&](TestForm& f) {
        lbl = f.New<vb::Label>(f, "lblSair");
        lbl->Move(0, 0, 40, 14);
        lbl->MouseMove = [&](int, int, float, float) { ++labelMoves; };
    };
    form.Show();
    form.Move(0, 0, 200, 100);
    auto move = [](QWidget* w, QPoint p) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    };
    move(form.Window(), QPoint(100, 50));
    EXPECT_EQ(form.mouseMoves, 1);
    move(lbl->Widget(), QPoint(5, 5));
    EXPECT_EQ(labelMoves, 1);
    EXPECT_EQ(form.mouseMoves, 1);
    ClickAt(lbl->Widget());
    EXPECT_EQ(form.clicks, 0);
    ClickAt(form.Window(), QPoint(100, 50));
    EXPECT_EQ(form.clicks, 1);
    form.Unload();
}

TEST(FormTest, WindowRegionMakesAFramelessShapedWindow) {
    TestForm form;
    QRegion region(QRect(1, 1, 10, 1));
    region += QRect(2, 2, 5, 3);
    form.Load();
    form.SetRegion(region);
    form.Move(0, 0, 20, 20);
    form.Show();
    EXPECT_TRUE(form.Window()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.Window()->mask(), region);
    form.Unload();
}

TEST(FormTest, ActiveControlAndItsKind) {
    class Caixa : public vb::UserControl {
    public:
        Caixa(vb::Container& parent, std::string name, int index) : UserControl(parent, std::move(name), index) {
            txtInterno = New<vb::TextBox>(*this, "txtInterno");
        }
        std::string TypeName() const override { return "THCombo"; }
        vb::TextBox* txtInterno;
    };
    TestForm form;
    vb::TextBox* txt = nullptr;
    Caixa* cbo = nullptr;
    form.build = [&](TestForm& f) {
        txt = f.New<vb::TextBox>(f, "txtBusca");
        cbo = f.New<Caixa>(f, "cboTHCombo1");
        cbo->Move(0, 40, 100, 20);
        cbo->txtInterno->Move(0, 0, 100, 20);
    };
    form.Load();
    ShowAndFocus(form, *txt);
    ASSERT_NE(form.ActiveControl(), nullptr);
    EXPECT_EQ(form.ActiveControl(), txt);
    EXPECT_EQ(form.ActiveControl()->Kind(), vb::ControlKind::TextBox);
    cbo->txtInterno->SetFocus();
    Settle();
    // The host sees the user control, not what is inside it.
    EXPECT_EQ(form.ActiveControl(), cbo);
    EXPECT_EQ(form.ActiveControl()->TypeName(), "THCombo");
    form.Unload();
}

// ---------------------------------------------------------------------- error routing

TEST(ErrorRoutingTest, ErrorsEscapingHandlersGoToTheErrorBoxNotQt) {
    ErrorRecorder recorder;
    TestForm form;
    vb::Label* lblSair = nullptr;
    vb::Label* lblInicio = nullptr;
    vb::TextBox* txt = nullptr;
    vb::Timer* tmr = nullptr;
    form.build = [&](TestForm& f) {
        f.SetKeyPreview(true);
        lblSair = f.New<vb::Label>(f, "lblSair");
        lblSair->Move(0, 0, 40, 14);
        lblSair->Click = [] { vb::Raise(91, "Object variable not set"); };
        lblInicio = f.New<vb::Label>(f, "lblInicio");
        lblInicio->Move(50, 0, 40, 14);
        lblInicio->Click = [] { throw std::runtime_error("vector::at"); };
        txt = f.New<vb::TextBox>(f, "txt");
        txt->Move(0, 20, 60, 20);
        tmr = f.NewTimer("tmrAnimacao", 1, false);
        tmr->TimerEvent = [&] {
            tmr->SetEnabled(false);
            vb::Raise(5);
        };
    };
    form.keyDown = [](int& code, int) {
        if (code == vb::vbKeyF5) vb::Raise(-101, "Timeout");
    };
    form.Load();
    ShowAndFocus(form, *txt);
    ClickAt(lblSair->Widget());
    ClickAt(lblInicio->Widget());
    std::vector<int> reached;
    txt->KeyDown = [&](int& code, int) { reached.push_back(code); };
    Key(QApplication::focusWidget(), Qt::Key_F5);
    tmr->SetEnabled(true);
    for (int i = 0; i < 400 && recorder.errors.size() < 4; ++i) {
        QEventLoop pause;
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
    ASSERT_EQ(recorder.errors.size(), 4u);
    EXPECT_EQ(recorder.errors[0], std::make_pair(91L, std::string("Object variable not set")));
    EXPECT_EQ(recorder.errors[1].first, 51);
    EXPECT_NE(recorder.errors[1].second.find("vector::at"), std::string::npos);
    EXPECT_EQ(recorder.errors[2].first, -101);
    EXPECT_EQ(recorder.errors[3].first, 5);
    // A failing preview swallows nothing: the control still got the key.
    EXPECT_EQ(reached, std::vector<int>{vb::vbKeyF5});
    form.Unload();
}

TEST(ErrorRoutingTest, AFailingErrorBoxFallsBackInsteadOfThrowing) {
    const vb::ErrorHandler previous = vb::SetErrorHandler([](long, const std::string&) { throw std::runtime_error("no box"); });
    EXPECT_NO_THROW(vb::RunEvent([] { vb::Raise(6); }));
    vb::SetErrorHandler(previous);
}

// ------------------------------------------------------------------------------- mouse

TEST(MouseTest, ADoubleClickRaisesTheOriginalsSequence) {
    TestForm form;
    vb::Label* lbl = nullptr;
    std::vector<std::string> seen;
    form.build = [&](TestForm& f) {
        lbl = f.New<vb::Label>(f, "lblGrupoM");
        lbl->Move(20, 10, 60, 17);
        lbl->MouseDown = [&](int b, int s, float x, float y) {
            seen.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        };
        lbl->MouseUp = [&](int b, int, float, float) { seen.push_back("up " + std::to_string(b)); };
        lbl->Click = [&] { seen.push_back("click"); };
        lbl->DblClick = [&] { seen.push_back("dblclick"); };
    };
    form.Show();
    QWidget* w = lbl->Widget();
    const QPointF p(5, 6), g(w->mapToGlobal(QPoint(5, 6)));
    auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
        QMouseEvent e(type, p, g, button, buttons, mods);
        QCoreApplication::sendEvent(w, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    // A right click raises no Click.
    send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1 1 5,6", "up 1", "click", "dblclick", "up 1",
                                              "down 2 0 5,6", "up 2"}));
    form.Unload();
}

// ------------------------------------------------------------------------------ timers

void WaitUntil(const std::function<bool()>& done, int rounds = 400) {
    for (int i = 0; i < rounds && !done(); ++i) {
        QEventLoop pause;
        QTimer::singleShot(5, &pause, &QEventLoop::quit);
        pause.exec();
    }
}

TEST(TimerTest, TicksUntilDisabledAndStopsWhenItsFormUnloads) {
    TestForm form;
    vb::Timer* tmrAnimacao = nullptr;
    vb::Timer* tmrRelogio = nullptr;
    vb::Timer* tmrParado = nullptr;
    int frames = 0, clock = 0, stopped = 0;
    form.build = [&](TestForm& f) {
        tmrAnimacao = f.NewTimer("tmrAnimacao", 1);
        tmrAnimacao->TimerEvent = [&] {
            // The splash window's pattern: the interval changes inside the tick.
            if (tmrAnimacao->Interval() != 2) tmrAnimacao->SetInterval(2);
            if (++frames == 3) tmrAnimacao->SetEnabled(false);
        };
        tmrRelogio = f.NewTimer("tmrRelogio", 1);
        tmrRelogio->TimerEvent = [&] { ++clock; };
        tmrParado = f.NewTimer("tmrParado", 0);   // interval 0: never ticks, though enabled
        tmrParado->TimerEvent = [&] { ++stopped; };
    };
    form.Load();
    WaitUntil([&] { return clock >= 10; });
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(stopped, 0);
    EXPECT_TRUE(tmrParado->Enabled());
    form.Unload();
    const int atUnload = clock;
    WaitUntil([] { return false; }, 20);   // a while, for ticks that should not come
    EXPECT_EQ(clock, atUnload);
}

// ------------------------------------------------------------------------------- menus

TEST(MenuTest, LoadedItemsFollowTheirArrayAndThePopupRunsTheChoice) {
    TestForm form("frmMenu");
    vb::Menu* mnuConjuntos = nullptr;
    vb::ControlArray<vb::Menu>* mnuConjunto = nullptr;
    vb::Menu* mnuOutro = nullptr;
    std::vector<int> chosen;
    form.build = [&](TestForm& f) {
        mnuConjuntos = f.NewMenu("mnuConjuntos");
        mnuConjunto = f.NewMenuArray("mnuConjunto", mnuConjuntos);
        mnuOutro = f.NewMenu("mnuOutro", mnuConjuntos);
        mnuConjunto->SetHandlers([&](vb::Menu& m) {
            const int index = m.Index();
            m.Click = [&, index] { chosen.push_back(index); };
        });
    };
    form.Load();
    (*mnuConjunto)(0).SetCaption("A");
    mnuConjunto->Load(1).SetCaption("B");
    mnuConjunto->Load(2).SetCaption("C");
    const auto& items = mnuConjuntos->Items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], &(*mnuConjunto)(0));
    EXPECT_EQ(items[1], &(*mnuConjunto)(1));
    EXPECT_EQ(items[2], &(*mnuConjunto)(2));
    EXPECT_EQ(items[3], mnuOutro);
    EXPECT_FALSE((*mnuConjunto)(1).Visible());   // loaded items start hidden
    const vb::PopupMenuHandler previous = vb::SetPopupMenuHandler([](vb::Menu& menu) -> vb::Menu* {
        for (vb::Menu* item : menu.Items())
            if (item->Caption() == "B") return item;
        return nullptr;
    });
    form.PopupMenu(*mnuConjuntos);
    vb::SetPopupMenuHandler(previous);
    EXPECT_EQ(chosen, std::vector<int>{1});
    mnuConjunto->Unload(2);
    Settle();
    EXPECT_EQ(mnuConjuntos->Items().size(), 3u);
    form.Unload();
    Settle();
}

TEST(MenuTest, TheQtPopupShowsVisibleItemsAndSubmenus) {
    TestForm form("frmMenu");
    vb::Menu* mnuItensFigura = nullptr;
    std::vector<std::string> clicked;
    form.build = [&](TestForm& f) {
        mnuItensFigura = f.NewMenu("mnuItensFigura");
        for (int n = 1; n <= 2; ++n) {
            vb::Menu* produto = f.NewMenu("mnuProduto" + std::to_string(n), mnuItensFigura);
            produto->SetCaption("Produto " + std::to_string(n));
            for (const char* acao : {"mnuCarrinho", "mnuObservacao"}) {
                vb::Menu* item = f.NewMenu(acao + std::to_string(n), produto);
                item->SetCaption(acao + std::to_string(n));
                item->Click = [&clicked, item] { clicked.push_back(item->Name()); };
            }
        }
    };
    form.Show();
    mnuItensFigura->Items()[0]->SetVisible(false);   // a position that does not apply
    std::vector<QString> shown;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        for (QAction* a : popup->actions()) shown.push_back(a->text());
        QMenu* sub = popup->actions().at(0)->menu();
        ASSERT_NE(sub, nullptr);
        // As a person would: into the sub-menu, down one item, Enter.
        popup->setActiveAction(popup->actions().at(0));
        Key(popup, Qt::Key_Right);
        QTimer::singleShot(0, [sub] {
            Key(sub, Qt::Key_Down);
            Key(sub, Qt::Key_Return);
        });
    });
    // Should the menu not react, it closes instead of hanging the test.
    QTimer::singleShot(3000, [] {
        while (QWidget* p = QApplication::activePopupWidget()) p->close();
    });
    form.PopupMenu(*mnuItensFigura);
    EXPECT_EQ(shown, std::vector<QString>{"Produto 2"});
    EXPECT_EQ(clicked, std::vector<std::string>{"mnuObservacao2"});
    form.Unload();
}

// ------------------------------------------------------------------------ user controls

class GradeTeste : public vb::UserControl {
public:
    GradeTeste(vb::Container& parent, std::string name, int index) : UserControl(parent, std::move(name), index) {
        lblLinha = New<vb::Label>(*this, "lblTHGrid");
        lblLinha->Move(0, 0, 50, 17);
        lblLinha->Click = [this] { RaiseEvent(ImageClick, 2); };
    }
    std::string TypeName() const override { return "THGrid"; }
    long Cor() const { return cor_; }
    void DefineCor(long cor) {
        cor_ = cor;
        PropertyChanged("BackColor");
    }
    std::function<void(int sColuna)> ImageClick;
    vb::Label* lblLinha;
    int resizes = 0;
    bool initProperties = false;

protected:
    void UserControl_InitProperties() override { initProperties = true; }
    void UserControl_ReadProperties(const vb::PropertyBag& bag) override {
        cor_ = bag.ReadProperty("BackColor", 0xF0F0F0).toInt();
    }
    void UserControl_WriteProperties(vb::PropertyBag& bag) override {
        bag.WriteProperty("BackColor", static_cast<int>(cor_), 0xF0F0F0);
    }
    void UserControl_Resize() override { ++resizes; }

private:
    long cor_ = 0xF0F0F0;
};

TEST(UserControlTest, StoredPropertiesHostWrapperAndRaisedEvents) {
    TestForm form;
    GradeTeste* grd1 = nullptr;
    GradeTeste* grd2 = nullptr;
    std::vector<int> columns;
    form.build = [&](TestForm& f) {
        vb::PropertyBag stored;
        stored.WriteProperty("BackColor", 0xFFFFFF, 0xF0F0F0);
        f.SetStoredProperties("grdTHGrid1", stored);
        grd1 = f.New<GradeTeste>(f, "grdTHGrid1");
        grd2 = f.New<GradeTeste>(f, "grdTHGrid2");
        grd1->ImageClick = [&](int c) { columns.push_back(c); };
    };
    form.Show();
    EXPECT_EQ(grd1->Cor(), 0xFFFFFF);
    EXPECT_FALSE(grd1->initProperties);
    EXPECT_TRUE(grd2->initProperties);
    EXPECT_FALSE(grd2->SaveProperties().Contains("BackColor"));   // the default is not stored
    grd2->DefineCor(0x123456);
    EXPECT_TRUE(grd2->WasPropertyChanged("BackColor"));
    EXPECT_EQ(grd2->SaveProperties().ReadProperty("BackColor").toInt(), 0x123456);

    const int before = grd1->resizes;
    grd1->Move(10, 20, 300, 170);
    grd1->SetTag("1");
    EXPECT_EQ(grd1->Left(), 10);
    EXPECT_EQ(grd1->Height(), 170);
    EXPECT_EQ(grd1->Tag(), "1");
    EXPECT_GT(grd1->resizes, before);
    ClickAt(grd1->lblLinha->Widget());
    EXPECT_EQ(columns, std::vector<int>{2});
    grd1->SetVisible(false);
    EXPECT_FALSE(grd1->lblLinha->Widget()->isVisible());
    form.Unload();
}

// ------------------------------------------------------------------------ screen and app

TEST(ScreenTest, SizeInTwipsAndAppFacts) {
    vb::Screen().SetSizeForTesting(1024, 768);
    EXPECT_EQ(vb::Screen().Width(), 15360);
    EXPECT_EQ(vb::Screen().Height(), 11520);
    vb::Screen().SetSizeForTesting(0, 0);
    EXPECT_GT(vb::Screen().Width(), 0);
    EXPECT_EQ(vb::App().ProcessId(), QCoreApplication::applicationPid());
    EXPECT_FALSE(vb::App().Path().empty());
    EXPECT_NE(vb::App().Path().back(), '/');
}

TEST(WindowPlatformTest, XcbWhereAnXDisplayIsThereUnlessThePlatformWasNamed) {
    EXPECT_EQ(vb::ChooseWindowPlatform(nullptr, ":0", nullptr), "xcb");
    EXPECT_EQ(vb::ChooseWindowPlatform(nullptr, ":0", "wayland-0"), "xcb");   // XWayland
    EXPECT_EQ(vb::ChooseWindowPlatform("", ":1", nullptr), "xcb");
    EXPECT_EQ(vb::ChooseWindowPlatform("offscreen", ":0", nullptr), "");
    EXPECT_EQ(vb::ChooseWindowPlatform(nullptr, nullptr, "wayland-0"), "");
    EXPECT_EQ(vb::ChooseWindowPlatform(nullptr, "", nullptr), "");
}

// ------------------------------------------------------------------------- screenshot

TEST(ScreenshotTest, ASampleFormDrawsItsControls) {
    TestForm form("frmAmostra");
    vb::Shape* shp = nullptr;
    form.build = [&](TestForm& f) {
        f.SetCaption("Amostra");
        f.SetBackColor(vb::vbWhite);
        vb::PictureBox* pct = f.New<vb::PictureBox>(f, "pctBase");
        pct->Move(7, 7, 226, 126);
        pct->SetBackColor(vb::RGB(230, 236, 245));
        shp = f.New<vb::Shape>(*pct, "shpBaseM");
        shp->Move(10, 10, 90, 60);
        shp->SetFillStyle(vb::vbFSSolid);
        shp->SetFillColor(vb::RGB(255, 200, 0));
        shp->SetBorderColor(vb::RGB(0, 0, 128));
        vb::Line* lin = f.New<vb::Line>(*pct, "linHM");
        lin->SetEnds(10, 90, 200, 90);
        vb::Label* lbl = f.New<vb::Label>(*pct, "lblFabricanteM");
        lbl->SetBackStyle(0);
        lbl->SetFont("Arial", 9, true);
        lbl->SetCaption("Catálogo ZORNAK");
        lbl->Move(110, 12, 110, 16);
        vb::TextBox* txt = f.New<vb::TextBox>(*pct, "txtDescricaoProduto");
        txt->Move(110, 40, 100, 21);
        txt->SetText("Filtro de óleo");
        pct->SetCurrentX(12);
        pct->SetCurrentY(98);
        pct->Print("Print em pctBase");
    };
    form.Show();
    form.Move(0, 0, 240, 140);
    Settle();
    const QImage shot = form.Window()->grab().toImage();
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("forms_sample.png");
    EXPECT_TRUE(shot.save(path));
    EXPECT_EQ(shot.size(), QSize(240, 140));
    // The shape's fill in the middle of the shape: 7 + 2 (border) + 10 + 45, 7 + 2 + 10 + 30.
    EXPECT_EQ(shot.pixelColor(64, 49), QColor(255, 200, 0));
    // The line across the panel.
    EXPECT_NE(shot.pixelColor(100, 7 + 2 + 90), QColor(230, 236, 245));
    form.Unload();
}

}  // namespace
