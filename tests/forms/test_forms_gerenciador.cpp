// A form under a real window manager: openbox on a private Xvfb of 1024 x 600, a screen small
// enough for the catalogue to fill it with a borderless, maximised window. Minimised from a
// button of its own, as the catalogue's minimise button does, and restored as a task bar
// restores a window, it comes back maximised over the whole screen. What the window manager
// holds of the window (its EWMH and ICCCM state) is read through an X connection of the test's.
#include "platform/forms/Colors.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Events.h"
#include "platform/forms/Form.h"
#include "tests/support/Ponteiro.h"
#include "tests/support/ServidorXTeste.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Runs the events until the condition holds or a generous limit passes (a slow machine only
// waits longer; nothing here measures time).
bool Ate(const std::function<bool()>& condicao) {
    QElapsedTimer relogio;
    relogio.start();
    while (!condicao()) {
        if (relogio.elapsed() > 15000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// The test's own view of the X server, as a window manager's client sees it.
class ConexaoX {
public:
    explicit ConexaoX(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
        if (Valida()) raiz_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~ConexaoX() { xcb_disconnect(c_); }
    bool Valida() const { return c_ && !xcb_connection_has_error(c_); }

    xcb_atom_t Atomo(const char* nome) {
        auto* r = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, std::strlen(nome), nome), nullptr);
        const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
        std::free(r);
        return a;
    }
    std::vector<std::uint32_t> Propriedade(xcb_window_t janela, const char* nome) {
        std::vector<std::uint32_t> valores;
        auto* r = xcb_get_property_reply(c_, xcb_get_property(c_, 0, janela, Atomo(nome), XCB_ATOM_ANY, 0, 64), nullptr);
        if (r && r->format == 32) {
            const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(r));
            valores.assign(v, v + xcb_get_property_value_length(r) / 4);
        }
        std::free(r);
        return valores;
    }
    // A window manager manages the windows mapped from now on: a window of the test's, mapped,
    // gets its ICCCM state (a manager that has only begun to start may still lose it).
    bool GerenciadorAtende() {
        const xcb_window_t sonda = xcb_generate_id(c_);
        const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, sonda, raiz_, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          tela->root_visual, 0, nullptr);
        xcb_map_window(c_, sonda);
        xcb_flush(c_);
        // No application runs events yet: the test waits on its own.
        bool atendeu = false;
        for (int i = 0; i < 300 && !atendeu; ++i) {
            atendeu = EstadoIcccm(sonda) == 1;
            if (!atendeu) usleep(50000);
        }
        xcb_destroy_window(c_, sonda);
        xcb_flush(c_);
        return atendeu;
    }
    // The window's _NET_WM_STATE holds both maximised states.
    bool Maximizada(xcb_window_t janela) {
        const auto estado = Propriedade(janela, "_NET_WM_STATE");
        const auto tem = [&](const char* nome) {
            const xcb_atom_t a = Atomo(nome);
            for (std::uint32_t e : estado)
                if (e == a) return true;
            return false;
        };
        return tem("_NET_WM_STATE_MAXIMIZED_VERT") && tem("_NET_WM_STATE_MAXIMIZED_HORZ");
    }
    // The ICCCM state: 1 normal, 3 iconic; 0 when the window manager has set none.
    std::uint32_t EstadoIcccm(xcb_window_t janela) {
        const auto v = Propriedade(janela, "WM_STATE");
        return v.empty() ? 0 : v[0];
    }
    // What a task bar does when its button of a minimised window is pressed.
    void PedeAtivacao(xcb_window_t janela) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = janela;
        ev.type = Atomo("_NET_ACTIVE_WINDOW");
        ev.data.data32[0] = 2;   // from a pager or task bar: the user's request
        ev.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c_, 0, raiz_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_;
    xcb_window_t raiz_ = 0;
};

// Built as the catalogue's main window on a small screen: 800 x 600, borderless, with a
// minimise button of its own at the top right.
class JanelaSemBorda : public vb::Form {
public:
    JanelaSemBorda() : Form("frmJanela") {}
    vb::PictureBox* minimizar = nullptr;
    void Build() override {
        SetBorderStyle(0);
        SetBackColor(vb::vbBlue);
        minimizar = New<vb::PictureBox>(*this, "imgMinimizar");
        minimizar->SetBorderStyle(0);
        minimizar->SetBackColor(vb::vbRed);
        minimizar->Click = [this] { SetWindowState(vb::vbMinimized); };
    }
    void Form_Load() override {
        Move(0, 0, 800, 600);
        minimizar->Move(776, 6, 20, 20);
    }
};

class SobGerenciador : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        servidor_ = std::make_unique<testsupport::ServidorXTeste>();
        if (!servidor_->Inicia("1024x600x24")) return;
        if (!servidor_->IniciaGerenciador("openbox")) return;
        conexao_ = std::make_unique<ConexaoX>(servidor_->Display());
        if (!conexao_->Valida() || !conexao_->GerenciadorAtende()) return;
        setenv("DISPLAY", servidor_->Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char nome[] = "test_forms_gerenciador";
        static char* argv[] = {nome, nullptr};
        app_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        vb::DoEvents();
        delete app_;
        app_ = nullptr;
        conexao_.reset();
        servidor_.reset();
    }
    void SetUp() override {
        if (!app_) GTEST_SKIP() << "no Xvfb and openbox to show real windows on";
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    }

    static std::unique_ptr<testsupport::ServidorXTeste> servidor_;
    static std::unique_ptr<ConexaoX> conexao_;
    static QApplication* app_;
};

std::unique_ptr<testsupport::ServidorXTeste> SobGerenciador::servidor_;
std::unique_ptr<ConexaoX> SobGerenciador::conexao_;
QApplication* SobGerenciador::app_ = nullptr;

TEST_F(SobGerenciador, AMaximisedWindowMinimisedByItsButtonIsRestoredMaximised) {
    JanelaSemBorda janela;
    janela.Show();
    QWidget* w = janela.Window();
    const xcb_window_t id = static_cast<xcb_window_t>(w->winId());
    ASSERT_TRUE(Ate([&] { return conexao_->EstadoIcccm(id) == 1; })) << "the window was not shown";
    // As the catalogue's first activation on a small screen does.
    janela.SetWindowState(vb::vbMaximized);
    ASSERT_TRUE(Ate([&] { return conexao_->Maximizada(id) && w->size() == QSize(1024, 600); }))
        << "the window manager did not maximise the window";

    testsupport::Clica(w, testsupport::CentroVisivel(*janela.minimizar));
    ASSERT_TRUE(Ate([&] { return conexao_->EstadoIcccm(id) == 3 && janela.WindowState() == vb::vbMinimized; }))
        << "the window was not minimised";
    EXPECT_TRUE(conexao_->Maximizada(id)) << "the window manager keeps it maximised for its restore";

    conexao_->PedeAtivacao(id);
    ASSERT_TRUE(Ate([&] { return conexao_->EstadoIcccm(id) == 1 && janela.WindowState() != vb::vbMinimized; }))
        << "the window was not restored";
    EXPECT_TRUE(Ate([&] { return w->size() == QSize(1024, 600); })) << w->width() << " x " << w->height();
    EXPECT_EQ(janela.WindowState(), vb::vbMaximized);
    EXPECT_TRUE(conexao_->Maximizada(id));
    janela.Unload();
}

}  // namespace
