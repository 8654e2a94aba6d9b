#include "platform/forms/QtMessageBox.h"

#include "platform/vb/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace vb {

namespace {

using Buttons = std::vector<std::pair<QMessageBox::StandardButton, int>>;

// The buttons of each set, in the order the original showed them, with the answer of each.
Buttons ButtonsOf(int set) {
    switch (set) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry},
                {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel:
        return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo},
                {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon IconOf(int buttons) {
    switch (buttons & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The text as far as it fits on the screen: a box taller than the screen hides its own
// button, and laying out megabytes of text freezes the program. Long lines are cut, and the
// lines that would not fit (counted as the box wraps them, generously) are left out.
QString TextThatFits(const QString& text, const QFont& font, const QSize& screen) {
    constexpr int kMaxLineLength = 400;
    const QFontMetrics metrics(font);
    // The box wraps its text at about half the screen's width; a narrower guess only
    // overestimates the lines.
    const int wrapWidth = std::max(100, std::min(screen.width() / 2, 500) * 3 / 4);
    // Room for the title bar, the margins and the buttons.
    const int maxLines = std::max(3, (screen.height() - 200) / std::max(1, metrics.lineSpacing()));
    QStringList kept;
    int used = 0;
    bool cut = false;
    for (QString line : text.split('\n')) {
        if (line.size() > kMaxLineLength) line = line.left(kMaxLineLength) + QStringLiteral("...");
        const int lines = std::max(1, (metrics.horizontalAdvance(line) + wrapWidth - 1) / wrapWidth);
        if (used + lines > maxLines - 1) {
            cut = true;
            break;
        }
        used += lines;
        kept << line;
    }
    if (cut) kept << QStringLiteral("...");
    return kept.join('\n');
}

int ShowQtMessageBox(const std::string& prompt, int buttons, const std::string& title) {
    // Split before anything else looks at it: a megabyte-long line is cut right away.
    QString text = QString::fromStdString(prompt.size() > 65536 ? prompt.substr(0, 65536) : prompt);
    text.replace("\r\n", "\n").replace('\r', '\n');
    QMessageBox box(QApplication::activeWindow());
    if (const QScreen* screen = box.screen()) text = TextThatFits(text, box.font(), screen->availableGeometry().size());
    box.setTextFormat(Qt::PlainText);   // texts hold "<" and "&" of their own
    box.setIcon(IconOf(buttons));
    box.setWindowTitle(title.empty() ? QCoreApplication::applicationName()
                                     : QString::fromStdString(title));
    box.setText(text);

    const Buttons set = ButtonsOf(buttons & 0x7);
    std::vector<QPushButton*> shown;
    for (const auto& [standard, answer] : set) shown.push_back(box.addButton(standard));
    const std::size_t defaultIndex = (buttons & 0x300) >> 8;   // vbDefaultButton2, 3
    box.setDefaultButton(shown[defaultIndex < shown.size() ? defaultIndex : 0]);
    if (set.size() == 1) box.setEscapeButton(shown[0]);

    box.exec();
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (box.clickedButton() == shown[i]) return set[i].second;
    // Closed without a button: the answer Escape gives.
    for (const auto& [standard, answer] : set)
        if (answer == vbCancel) return vbCancel;
    return set.back().second;
}

}  // namespace

void InstallQtMessageBox() { SetMsgBoxHandler(ShowQtMessageBox); }

}  // namespace vb
