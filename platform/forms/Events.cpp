#include "platform/forms/Events.h"

#include "platform/forms/Form.h"
#include "platform/vb/Err.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <iostream>
#include <new>

namespace vb {

namespace {

ErrorHandler& Handler() {
    static ErrorHandler handler;
    return handler;
}

bool endRequested = false;
int endExitCode = 0;

}  // namespace

ErrorHandler SetErrorHandler(ErrorHandler handler) { return std::exchange(Handler(), std::move(handler)); }

void ShowError(long number, const std::string& description) {
    if (Handler()) {
        try {
            Handler()(number, description);
            return;
        } catch (const std::exception& e) {
            std::cerr << "The error box failed: " << e.what() << '\n';
        } catch (...) {
            std::cerr << "The error box failed\n";
        }
    }
    std::cerr << "Error " << number << ": " << description << '\n';
}

void RunEvent(const std::function<void()>& f) noexcept {
    if (!f) return;
    try {
        f();
    } catch (const Error& e) {
        ShowError(e.Number(), e.Description());
    } catch (const std::bad_alloc&) {
        ShowError(err::OutOfMemory, DefaultDescription(err::OutOfMemory));
    } catch (const std::exception& e) {
        ShowError(51, std::string("Internal error: ") + e.what());
    } catch (...) {
        ShowError(51, "Internal error");
    }
}

int DoEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    return static_cast<int>(Forms().size());
}

void End(int exitCode) {
    endRequested = true;
    endExitCode = exitCode;
    // The original's End: the windows go at once, without their unload events.
    for (Form* form : Forms())
        if (QWidget* window = form->Window()) window->hide();
    if (QCoreApplication::instance()) QCoreApplication::exit(exitCode);
}

bool EndRequested() { return endRequested; }
int EndExitCode() { return endExitCode; }

void SendKeys(const std::string& keys, bool wait) {
    struct Stroke {
        int key;
        QString text;
    };
    std::vector<Stroke> strokes;
    const QString all = QString::fromStdString(keys);
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i) == '{') {
            const int close = all.indexOf('}', i + 1);
            if (close < 0) Raise(err::InvalidProcedureCall, "Invalid procedure call or argument");
            const QString name = all.mid(i + 1, close - i - 1).toUpper();
            static const std::map<QString, Stroke> named = {
                {"DOWN", {Qt::Key_Down, {}}},       {"UP", {Qt::Key_Up, {}}},
                {"LEFT", {Qt::Key_Left, {}}},       {"RIGHT", {Qt::Key_Right, {}}},
                {"PGDN", {Qt::Key_PageDown, {}}},   {"PGUP", {Qt::Key_PageUp, {}}},
                {"HOME", {Qt::Key_Home, {}}},       {"END", {Qt::Key_End, {}}},
                {"ENTER", {Qt::Key_Return, "\r"}}, {"ESC", {Qt::Key_Escape, "\x1b"}},
                {"TAB", {Qt::Key_Tab, "\t"}}};
            auto it = named.find(name);
            if (it == named.end()) Raise(err::InvalidProcedureCall, "Invalid procedure call or argument");
            strokes.push_back(it->second);
            i = close;
        } else {
            const QChar c = all.at(i);
            strokes.push_back({c.isLetter() ? int(c.toUpper().unicode()) : int(c.unicode()), QString(c)});
        }
    }
    QWidget* target = QApplication::focusWidget();
    if (!target && QApplication::activeWindow()) target = QApplication::activeWindow()->focusWidget();
    if (!target) return;
    for (const Stroke& s : strokes) {
        if (wait) {
            QKeyEvent press(QEvent::KeyPress, s.key, Qt::NoModifier, s.text);
            QCoreApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, s.key, Qt::NoModifier, s.text);
            QCoreApplication::sendEvent(target, &release);
        } else {
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, s.key, Qt::NoModifier, s.text));
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, s.key, Qt::NoModifier, s.text));
        }
    }
}

}  // namespace vb
