// The pointer, the keyboard and the screen of a shown window, as a user meets them. Events
// enter through the top-level window, as the window system delivers them, so the widget that
// lies under the point on the screen receives them (or nothing does); a test that calls a
// handler, or reads a visibility flag, never shows that a user can reach or see a thing.
// Points are in the coordinates of the top-level window unless a name says otherwise.
#pragma once

#include "platform/forms/Control.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

#include <QApplication>
#include <QBackingStore>
#include <QColor>
#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// Lets posted events (repaints, queued clicks, zero timers) run.
inline void Processa() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

inline QWindow* JanelaDe(QWidget* w) {
    QWidget* topo = w->window();
    if (!topo->windowHandle()) topo->winId();
    return topo->windowHandle();
}

// The rectangle of a widget that is not cut away by its mask or by the containers above it,
// in window coordinates; empty when nothing of it lies inside them.
inline QRect RetanguloVisivel(const QWidget* w) {
    const QWidget* topo = w->window();
    QRect r(w->mapTo(topo, QPoint(0, 0)), w->size());
    if (!w->mask().isEmpty()) r &= w->mask().boundingRect().translated(r.topLeft());
    for (const QWidget* p = w->parentWidget(); p && p != topo; p = p->parentWidget())
        r &= QRect(p->mapTo(topo, QPoint(0, 0)), p->size());
    return r & topo->rect();
}
inline QRect RetanguloVisivel(const vb::Control& c) { return RetanguloVisivel(c.Widget()); }

// The centre of what is visible of a control, where a user aims.
inline QPoint CentroVisivel(const QWidget* w) { return RetanguloVisivel(w).center(); }
inline QPoint CentroVisivel(const vb::Control& c) { return CentroVisivel(c.Widget()); }

// Whether a user can reach a control: it is there, shown and not wholly covered; area is then
// what is visible of it.
inline ::testing::AssertionResult AlcancaVisivel(const vb::Control* c, QRect& area) {
    if (!c) return ::testing::AssertionFailure() << "the control is missing";
    if (!c->Visible()) return ::testing::AssertionFailure() << c->Name() << " is hidden";
    area = RetanguloVisivel(*c);
    if (area.isEmpty()) return ::testing::AssertionFailure() << c->Name() << " is wholly covered";
    return ::testing::AssertionSuccess();
}

// A point given from a control's top left, in its window's coordinates.
inline QPoint PontoDe(const vb::Control& c, QPoint local) {
    return c.Widget()->mapTo(c.Widget()->window(), local);
}

// The widget and the control that a press at this point reaches (nullptr for the window
// itself): mouse-transparent widgets are passed through, as the window system does.
inline QWidget* WidgetNoPonto(QWidget* janela, QPoint p) { return janela->window()->childAt(p); }
inline vb::Control* ControleNoPonto(QWidget* janela, QPoint p) {
    QWidget* w = WidgetNoPonto(janela, p);
    return w ? vb::ControlOf(w) : nullptr;
}

inline void MovePara(QWidget* janela, QPoint p) {
    QTest::mouseMove(JanelaDe(janela), p);
    Processa();
}

// Press and release where the pointer is taken first, as a hand does.
inline void Pressiona(QWidget* janela, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                      Qt::KeyboardModifiers m = Qt::NoModifier) {
    MovePara(janela, p);
    QTest::mousePress(JanelaDe(janela), b, m, p);
    Processa();
}
inline void Solta(QWidget* janela, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mouseRelease(JanelaDe(janela), b, m, p);
    Processa();
}
inline void Clica(QWidget* janela, QPoint p, Qt::MouseButton b = Qt::LeftButton,
                  Qt::KeyboardModifiers m = Qt::NoModifier) {
    Pressiona(janela, p, b, m);
    Solta(janela, p, b, m);
}
inline void ClicaDuplo(QWidget* janela, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    MovePara(janela, p);
    QTest::mouseDClick(JanelaDe(janela), b, Qt::NoModifier, p);
    Processa();
}
inline void Clica(const vb::Control& c, Qt::MouseButton b = Qt::LeftButton) {
    Clica(c.Widget(), CentroVisivel(c), b);
}

// The wheel turned over a point: the cursor stands there (whoever asks the system where it is
// finds it there), and the event goes to the widget under it, through every event filter on
// its way and on up to the parents while none takes it, as one from the window system does (a
// wheel event that code sends stays with its receiver). Negative steps turn the wheel towards
// the user.
inline void Roda(QWidget* janela, QPoint p, int passos) {
    MovePara(janela, p);
    QCursor::setPos(janela->window()->mapToGlobal(p));
    QWidget* alvo = WidgetNoPonto(janela, p);
    if (!alvo) alvo = janela->window();
    const QPoint local = alvo->mapFrom(janela->window(), p);
    QWheelEvent roda(QPointF(local), QPointF(alvo->mapToGlobal(local)), QPoint(), QPoint(0, 120 * passos),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // sendEvent would mark it as sent by code; the application's notify delivers it as it is.
    QSpontaneKeyEvent::setSpontaneous(&roda);
    QCoreApplication::instance()->notify(alvo, &roda);
    Processa();
}

// Keys go to whatever has the focus in the window, through the window.
inline void Tecla(QWidget* janela, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(JanelaDe(janela), k, m);
    Processa();
}
inline void Digita(QWidget* janela, const std::string& texto) {
    for (char ch : texto) QTest::keyClick(JanelaDe(janela), ch);
    Processa();
}

// A shown window of a size holding one picture box at a place, for the routines that ask where
// the system cursor stands.
class JanelaComCaixa {
public:
    JanelaComCaixa(const std::string& nomeCaixa, QSize janela, QRect caixa) : dono_("frmDono") {
        dono_.Load();
        caixa_ = dono_.New<vb::PictureBox>(dono_, nomeCaixa);
        dono_.Move(0, 0, janela.width(), janela.height());
        caixa_->Move(caixa.x(), caixa.y(), caixa.width(), caixa.height());
        dono_.Show();
    }
    ~JanelaComCaixa() { dono_.Unload(); }
    JanelaComCaixa(const JanelaComCaixa&) = delete;
    JanelaComCaixa& operator=(const JanelaComCaixa&) = delete;
    vb::PictureBox* Caixa() const { return caixa_; }

private:
    vb::Form dono_;
    vb::PictureBox* caixa_ = nullptr;
};

// What the window shows, painted as it stands now.
inline QImage Captura(QWidget* janela) {
    Processa();
    return janela->window()->grab().toImage();
}
inline QColor CorNoPonto(QWidget* janela, QPoint p) { return Captura(janela).pixelColor(p); }

// What the screen shows of a window at this moment: the pixels last painted into its backing
// store, nothing painted anew (Captura paints the window afresh, pending changes included).
// While the window's thread waits without letting events run (a network wait), another
// thread may read the window this way; empty when the platform keeps no image of it.
inline QImage ImagemNaTela(QWidget* janela) {
    QBackingStore* store = janela->window()->backingStore();
    const QImage* imagem = store ? dynamic_cast<const QImage*>(store->paintDevice()) : nullptr;
    return imagem ? imagem->copy() : QImage();
}

// The pointer moves onto a point: true when the picture of the area (an element with its hover
// picture) changed with it.
inline bool MoveParaMudaDesenho(QWidget* janela, QPoint p, const QRect& desenho) {
    const QImage antes = Captura(janela).copy(desenho);
    MovePara(janela, p);
    return Captura(janela).copy(desenho) != antes;
}

// The tooltip that shows after the pointer rests over a point ("" when none shows).
inline std::string DicaNoPonto(QWidget* janela, QPoint p) {
    QToolTip::hideText();
    MovePara(janela, p + QPoint(1, 0));
    MovePara(janela, p);
    QTest::qWait(900);
    Processa();
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
}

}  // namespace testsupport
