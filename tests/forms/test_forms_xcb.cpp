// Forms on a real X display (a private Xvfb), where showing, exposing, masks and modality
// go through the window system, unlike the offscreen platform of the other tests. The
// checks read the screen itself, as the user sees it.
//
// Note for whoever debugs these windows by hand: `xwd -root` draws the second window of a
// Qt program as a black hole in its outline while that window is fine on the screen;
// QScreen::grabWindow(0) shows the real pixels.
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "tests/support/ServidorXTeste.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>


namespace {

// Runs the events until the condition holds or a generous limit passes (a slow machine
// only waits longer; nothing here measures time).
bool RunUntil(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

QRgb ScreenPixel(int x, int y) {
    return QGuiApplication::primaryScreen()->grabWindow(0, x, y, 1, 1).toImage().pixel(0, 0) & 0xFFFFFF;
}

constexpr QRgb kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

// The main window: blue over the top left of the screen.
class OwnerForm : public vb::Form {
public:
    OwnerForm() : Form("frmDono") {}
    void Form_Load() override {
        SetBackColor(vb::vbBlue);
        Move(0, 0, 600, 450);
    }
};

// Built like the auxiliary window: borderless, key preview, a region, and the screen it
// shows (a green box on its red background) switched on and drawn while it activates.
class ModalShapedForm : public vb::Form {
public:
    ModalShapedForm() : Form("frmModal") {}
    vb::PictureBox* screen = nullptr;
    bool activated = false;
    std::function<void()> whileShown;

    void Build() override {
        SetBorderStyle(0);
        SetKeyPreview(true);
        SetBackColor(vb::vbRed);
        screen = New<vb::PictureBox>(*this, "pctTela");
        screen->SetBorderStyle(0);
        screen->SetBackColor(vb::vbGreen);
        screen->SetVisible(false);
    }
    void Form_Load() override {
        screen->Move(20, 60, 200, 100);
        Move(100, 120, 320, 200);
        // A corner cut off at the top left, as the real outline is not a rectangle.
        SetRegion(QRegion(0, 0, 320, 200) - QRegion(0, 0, 40, 40));
    }
    void Form_Activate() override {
        if (activated) return;
        activated = true;
        screen->SetVisible(true);
        screen->Refresh();
        vb::DoEvents();
        if (whileShown) QTimer::singleShot(0, Window(), whileShown);
    }
};

class FormsOnX : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<testsupport::ServidorXTeste>();
        if (!server_->Inicia()) return;
        setenv("DISPLAY", server_->Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "test_forms_xcb";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        // The windows unloaded last are released by a queued call; let it run first.
        vb::DoEvents();
        delete app_;
        app_ = nullptr;
        server_.reset();
    }
    void SetUp() override {
        if (!app_) GTEST_SKIP() << "no Xvfb to show real windows on";
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    }

    static std::unique_ptr<testsupport::ServidorXTeste> server_;
    static QApplication* app_;
};

std::unique_ptr<testsupport::ServidorXTeste> FormsOnX::server_;
QApplication* FormsOnX::app_ = nullptr;

// The modal, shaped window over a shown one draws its own colour, its screen and, where its
// region is cut away, the window beneath; once it unloads the window beneath draws there
// again and is no longer blocked.
TEST_F(FormsOnX, ModalShapedFormPaintsOverItsOwnerAndGivesItBack) {
    OwnerForm owner;
    owner.Show();
    ASSERT_TRUE(RunUntil([] { return ScreenPixel(300, 300) == kBlue; })) << "the main window never drew";

    ModalShapedForm modal;
    QRgb frame = 0, inner = 0, cutAway = 0;
    bool sawModal = false;
    modal.whileShown = [&] {
        // Inside the modal loop: wait for the window as the screen shows it, then close.
        sawModal = QApplication::activeModalWidget() == modal.Window();
        RunUntil([&] {
            frame = ScreenPixel(100 + 300, 120 + 180);
            inner = ScreenPixel(100 + 100, 120 + 100);
            cutAway = ScreenPixel(100 + 10, 120 + 10);
            return frame == kRed && inner == kGreen;
        });
        modal.Unload();
    };
    // Should the window never activate, the loop must still end for the test to report it.
    modal.Load();
    QTimer::singleShot(20000, modal.Window(), [&] { modal.Unload(); });
    modal.Show(vb::vbModal);

    EXPECT_TRUE(modal.activated);
    EXPECT_TRUE(sawModal);
    EXPECT_EQ(frame, kRed) << "the modal window's own background is not on the screen";
    EXPECT_EQ(inner, kGreen) << "the screen shown while activating is not on the screen";
    EXPECT_EQ(cutAway, kBlue) << "the region does not let the window beneath show";
    EXPECT_FALSE(modal.IsLoaded());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(RunUntil([] { return ScreenPixel(100 + 100, 120 + 100) == kBlue; }))
        << "the main window did not draw again where the modal one was";
    owner.Unload();
}

// Hidden from code (the way the auxiliary window leaves), the modal loop ends and a second
// modal showing of a fresh load paints again.
TEST_F(FormsOnX, ModalFormShownAgainAfterHidingPaintsAgain) {
    OwnerForm owner;
    owner.Show();
    ASSERT_TRUE(RunUntil([] { return ScreenPixel(300, 300) == kBlue; }));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ModalShapedForm modal;
        bool seen = false;
        modal.whileShown = [&] {
            seen = RunUntil([] { return ScreenPixel(100 + 100, 120 + 100) == kGreen; });
            modal.Hide();
            vb::DoEvents();
            modal.Unload();
        };
        modal.Load();
        QTimer::singleShot(20000, modal.Window(), [&] { modal.Unload(); });
        modal.Show(vb::vbModal);
        EXPECT_TRUE(seen);
        EXPECT_FALSE(modal.IsLoaded());
        EXPECT_TRUE(RunUntil([] { return ScreenPixel(100 + 100, 120 + 100) == kBlue; }));
    }
    owner.Unload();
}

}  // namespace
