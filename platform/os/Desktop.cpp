#include "platform/os/Desktop.h"

#include "platform/os/Folders.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <set>

namespace os {

namespace {

constexpr int ActionFailed = 4;

// The helpers being watched. Never destroyed, not even at exit: a helper still running then
// keeps its process object, which would kill it if deleted, and stays known here.
std::set<QProcess*>& Watched() {
    static auto* watched = new std::set<QProcess*>;
    return *watched;
}

// Set once the application starts to quit: a box then would stand over no window, or after
// the last one has gone.
bool& Quitting() {
    static bool quitting = false;
    return quitting;
}

void WatchTheQuit() {
    static const bool connected = [] {
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                         [] { Quitting() = true; });
        return true;
    }();
    (void)connected;
}

// Starts the helper found on the PATH; false when there is none or it cannot start.
bool StartWatched(const QString& program, const QStringList& arguments, HelperFailure onFailure) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) return false;
    // Without an application there is no event loop to watch it from.
    if (!QCoreApplication::instance()) return QProcess::startDetached(path, arguments);
    WatchTheQuit();

    // The object is never parented and never destroyed while the helper runs: destroying it
    // would kill the helper, which may be the browser the user is reading.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(path, arguments);
    if (!process->waitForStarted(-1)) {
        delete process;
        return false;
    }
    Watched().insert(process);
    QObject::connect(process, &QObject::destroyed, [process] { Watched().erase(process); });

    // Settled once the helper has ended or the grace period is over, whichever comes first.
    auto settled = std::make_shared<bool>(false);
    QObject::connect(process, &QProcess::finished, process,
                     [process, settled, onFailure](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (*settled) return;
                         *settled = true;
                         const int code = status == QProcess::CrashExit ? ActionFailed : exitCode;
                         if (code == 0 || Quitting() || !onFailure) return;
                         // The box runs an event loop of its own: not inside the process's signal.
                         QTimer::singleShot(0, QCoreApplication::instance(), [onFailure, code] {
                             if (!Quitting()) onFailure(code);
                         });
                     });
    QTimer::singleShot(HelperGraceMs, process, [process, settled] {
        // A helper that ended while the program was busy still counts as ended in time.
        if (process->state() != QProcess::NotRunning) process->waitForFinished(0);
        *settled = true;
    });
    return true;
}

}  // namespace

bool OpenUrl(const std::string& address, HelperFailure onFailure) {
    // Addresses are written as people write them ("www.zornak.com.br"): a scheme is added.
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
    if (!url.isValid()) return false;
    // QDesktopServices would start xdg-open too, but detached, where its failure is lost.
    if (StartWatched("xdg-open", {url.toString()}, onFailure)) return true;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
           QDesktopServices::openUrl(url);
}

bool OpenDocument(const std::string& path, HelperFailure onFailure) {
    return StartWatched("xdg-open", {QString::fromStdString(PathForOtherPrograms(path))}, std::move(onFailure));
}

void SendMailWithAttachments(const std::vector<std::string>& paths, HelperFailure onFailure) {
    if (QStandardPaths::findExecutable("xdg-email").isEmpty())
        vb::Raise(vb::err::FileNotFoundDll, "Error in loading DLL: xdg-email");
    QStringList arguments;
    for (const std::string& path : paths) arguments << "--attach" << QString::fromStdString(PathForOtherPrograms(path));
    if (!StartWatched("xdg-email", arguments, std::move(onFailure)))
        vb::Raise(vb::err::FileNotFoundDll, "Error in loading DLL: xdg-email could not start");
}

std::string HelperFailureText(int exitCode) {
    switch (exitCode) {
    case 1: return "Error in command line syntax.";
    case 2: return "One of the files passed on the command line did not exist.";
    case 3: return "A required tool could not be found.";
    case 4: return "The action failed.";
    case 5: return "No permission to read one of the files passed on the command line.";
    default: return "It ended with code " + std::to_string(exitCode) + ".";
    }
}

int WatchedHelpers() { return static_cast<int>(Watched().size()); }

}  // namespace os
