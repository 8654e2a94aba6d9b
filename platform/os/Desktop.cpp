#include "platform/os/Desktop.h"

#include "platform/vb/Err.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace os {

namespace {

bool StartDetached(const QString& program, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return false;
    return QProcess::startDetached(program, arguments);
}

}  // namespace

bool OpenUrl(const std::string& address) {
    // Addresses are written as people write them ("www.zornak.com.br"): a scheme is added.
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
    if (!url.isValid()) return false;
    // Without a desktop session (no GUI application, or a platform without services)
    // xdg-open is what QDesktopServices would have run anyway.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        QDesktopServices::openUrl(url))
        return true;
    return StartDetached("xdg-open", {url.toString()});
}

bool OpenDocument(const std::string& path) {
    return StartDetached("xdg-open", {QString::fromStdString(path)});
}

void SendMailWithAttachments(const std::vector<std::string>& paths) {
    if (QStandardPaths::findExecutable("xdg-email").isEmpty())
        vb::Raise(vb::err::FileNotFoundDll, "Error in loading DLL: xdg-email");
    QStringList arguments;
    for (const std::string& path : paths) arguments << "--attach" << QString::fromStdString(path);
    if (!QProcess::startDetached("xdg-email", arguments))
        vb::Raise(vb::err::FileNotFoundDll, "Error in loading DLL: xdg-email could not start");
}

}  // namespace os
