#include "platform/os/Process.h"

#include "platform/os/Folders.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <map>
#include <unistd.h>

namespace os {

namespace {

// Started programs by process id. The table is never destroyed: a program started last
// (the restart launcher) must outlive this process, and destroying its QProcess would end it.
std::map<long, QProcess*>& Started() {
    static auto* started = new std::map<long, QProcess*>;
    return *started;
}

QProcess* Find(long processId) {
    auto it = Started().find(processId);
    return it == Started().end() ? nullptr : it->second;
}

// As the system's own start did, a bare program name is looked for beside the program
// first and then along the PATH.
QString Resolve(const QString& program) {
    if (program.contains('/')) return program;
    const QString beside = QString::fromStdString(ProgramFolder()) + '/' + program;
    const QFileInfo info(beside);
    if (info.isFile() && info.isExecutable()) return beside;
    return QStandardPaths::findExecutable(program);
}

}  // namespace

long Shell(const std::string& commandLine, int /*windowStyle: a window manager decides*/) {
    QStringList parts = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (parts.isEmpty() || parts.first().isEmpty()) vb::Raise(vb::err::InvalidProcedureCall);
    const QString program = parts.takeFirst();
    const QString resolved = Resolve(program);
    if (resolved.isEmpty())
        vb::Raise(vb::err::FileNotFound, "File not found: " + program.toStdString());

    auto* process = new QProcess;
    // The child shares our terminal: nothing of it is lost when this process ends first.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start(resolved, parts);
    if (!process->waitForStarted(-1)) {
        const std::string reason = process->errorString().toStdString();
        delete process;
        vb::Raise(vb::err::FileNotFound,
                  "File not found: " + program.toStdString() + " (" + reason + ")");
    }
    const long id = static_cast<long>(process->processId());
    if (QProcess* old = Find(id)) delete old;   // a reused id of a process long gone
    Started()[id] = process;
    return id;
}

bool GetExitCodeProcess(long processId, long& exitCode) {
    QProcess* process = Find(processId);
    if (!process) return false;
    // Polls the child without blocking, also when no event loop is running.
    if (process->state() != QProcess::NotRunning) process->waitForFinished(0);
    if (process->state() != QProcess::NotRunning) {
        exitCode = STILL_ACTIVE;
    } else {
        exitCode = process->exitStatus() == QProcess::CrashExit ? 1 : process->exitCode();
    }
    return true;
}

void TerminateProcess(long processId) {
    QProcess* process = Find(processId);
    if (!process) return;
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(-1);
    }
    Started().erase(processId);
    delete process;
}

void WaitForProcess(long processId) {
    QProcess* process = Find(processId);
    if (!process || process->state() == QProcess::NotRunning) return;
    if (!QCoreApplication::instance()) {
        process->waitForFinished(-1);
        return;
    }
    // Window events go on while the program runs; the loop ends on the process's end.
    QEventLoop loop;
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::errorOccurred, &loop, [&loop, process] {
        if (process->state() == QProcess::NotRunning) loop.quit();
    });
    if (process->state() != QProcess::NotRunning) loop.exec();
    // The loop also ends when the application is told to quit (a window closed meanwhile);
    // the program still runs then and is waited for, never left half done.
    if (process->state() != QProcess::NotRunning) process->waitForFinished(-1);
}

long CurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace os
