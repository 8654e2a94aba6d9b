// The proxy log-in dialog: the user name and password for the proxy that asked for them.
#include "platform/net/WinInet.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace net {

namespace {
struct LoginTexts {
    QString user = QStringLiteral("User:");
    QString password = QStringLiteral("Password:");
};
LoginTexts& Texts() {
    static LoginTexts texts;
    return texts;
}
}  // namespace

void SetProxyLoginTexts(const std::string& userLabel, const std::string& passwordLabel) {
    Texts().user = QString::fromStdString(userLabel);
    Texts().password = QString::fromStdString(passwordLabel);
}

bool DefaultProxyLoginDialog(const std::string& proxy, std::string& userName, std::string& password) {
    // Without a window system there is nobody to ask: the log-in is cancelled.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Proxy"));
    auto* layout = new QFormLayout(&dialog);
    if (!proxy.empty()) layout->addRow(new QLabel(QString::fromStdString(proxy), &dialog));
    auto* user = new QLineEdit(QString::fromStdString(userName), &dialog);
    auto* secret = new QLineEdit(QString::fromStdString(password), &dialog);
    secret->setEchoMode(QLineEdit::Password);
    layout->addRow(Texts().user, user);
    layout->addRow(Texts().password, secret);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    userName = user->text().toStdString();
    password = secret->text().toStdString();
    return true;
}

}  // namespace net
