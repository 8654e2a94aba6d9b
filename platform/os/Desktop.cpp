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

#include <cerrno>
#include <cstring>
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

// Why a helper did not start, in plain words.
std::string NotStarted(const QString& program, const std::string& cause) {
    return program.toStdString() + " could not be started: " + cause;
}

// Starts the helper found on the PATH; false when there is none or it cannot start, with the
// reason in whyNot.
bool StartWatched(const QString& program, const QStringList& arguments, HelperFailure onFailure,
                  std::string* whyNot = nullptr) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        if (whyNot) *whyNot = NotStarted(program, std::strerror(ENOENT));
        return false;
    }
    // Without an application there is no event loop to watch it from.
    if (!QCoreApplication::instance()) {
        if (QProcess::startDetached(path, arguments)) return true;
        if (whyNot) *whyNot = NotStarted(program, "the system refused to start it");
        return false;
    }
    WatchTheQuit();

    // The object is never parented and never destroyed while the helper runs: destroying it
    // would kill the helper, which may be the browser the user is reading.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(path, arguments);
    if (!process->waitForStarted(-1)) {
        if (whyNot) *whyNot = NotStarted(program, process->errorString().toStdString());
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

bool OpenDocument(const std::string& path, HelperFailure onFailure, std::string* whyNot) {
    return StartWatched("xdg-open", {QString::fromStdString(PathForOtherPrograms(path))}, std::move(onFailure),
                        whyNot);
}

void SendMailWithAttachments(const std::vector<std::string>& paths, HelperFailure onFailure) {
    if (QStandardPaths::findExecutable("xdg-email").isEmpty())
        vb::Raise(vb::err::FileNotFoundDll, NotStarted("xdg-email", std::strerror(ENOENT)));
    QStringList arguments;
    for (const std::string& path : paths) arguments << "--attach" << QString::fromStdString(PathForOtherPrograms(path));
    std::string whyNot;
    if (!StartWatched("xdg-email", arguments, std::move(onFailure), &whyNot))
        vb::Raise(vb::err::FileNotFoundDll, whyNot);
}

std::string HelperFailureText(const std::string& helper, int exitCode) {
    const bool mail = helper == "xdg-email";
    std::string meaning;
    switch (exitCode) {
    case 1: meaning = "it did not accept its command line"; break;
    case 2: meaning = mail ? "a file to attach does not exist" : "the file does not exist"; break;
    case 3: meaning = mail ? "no mail program is configured" : "no program is configured to open this kind of file"; break;
    case 4: meaning = mail ? "the mail program could not be opened" : "the program for this file failed to open it"; break;
    case 5: meaning = mail ? "no permission to read a file to attach" : "no permission to read the file"; break;
    default: break;
    }
    std::string text = helper + " ended with code " + std::to_string(exitCode);
    return meaning.empty() ? text : text + ": " + meaning;
}

int WatchedHelpers() { return static_cast<int>(Watched().size()); }

}  // namespace os
