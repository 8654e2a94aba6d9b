#include "platform/os/Process.h"

#include "platform/os/Folders.h"
#include "platform/vb/Err.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include <sys/stat.h>
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

// The command line split as QProcess::splitCommand does (blanks part the arguments, double
// quotes group, three quotes in a row stand for one), but on bytes: a path whose name is not
// UTF-8 comes out whole.
std::vector<std::string> SplitCommand(const std::string& line) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    int quotes = 0;
    for (char c : line) {
        if (c == '"') {
            if (++quotes == 3) {
                quotes = 0;
                part += c;
            }
            continue;
        }
        if (quotes == 1) quoted = !quoted;
        quotes = 0;
        if (!quoted && std::isspace(static_cast<unsigned char>(c))) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// As the system's own start did, a bare program name is looked for beside the program
// first and then along the PATH; all in bytes.
std::string Resolve(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const std::string beside = ProgramFolder() + '/' + program;
    if (IsExecutableFile(beside)) return beside;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t from = 0;
    while (from <= folders.size()) {
        const std::size_t to = std::min(folders.find(':', from), folders.size());
        const std::string folder = to > from ? folders.substr(from, to - from) : ".";
        const std::string candidate = folder + '/' + program;
        if (IsExecutableFile(candidate)) return candidate;
        from = to + 1;
    }
    return {};
}

}  // namespace

long Shell(const std::string& commandLine, int /*windowStyle: a window manager decides*/) {
    std::vector<std::string> parts = SplitCommand(commandLine);
    if (parts.empty() || parts.front().empty()) vb::Raise(vb::err::InvalidProcedureCall);
    const std::string program = parts.front();
    const std::string resolved = Resolve(program);
    if (resolved.empty()) vb::Raise(vb::err::FileNotFound, "File not found: " + program);

    // QProcess hands its arguments over as UTF-8 text, which loses every byte of a name that
    // is not UTF-8. The bytes themselves are prepared here and executed in the child, after
    // the fork; only when that exec fails does QProcess's own one run (and fail alike).
    auto bytes = std::make_shared<std::vector<std::string>>(parts);
    bytes->front() = resolved;
    auto argv = std::make_shared<std::vector<char*>>();
    for (std::string& b : *bytes) argv->push_back(b.data());
    argv->push_back(nullptr);
    QStringList arguments;
    for (std::size_t i = 1; i < parts.size(); ++i) arguments << QString::fromStdString(parts[i]);

    auto* process = new QProcess;
    // The child shares our terminal: nothing of it is lost when this process ends first.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->setChildProcessModifier([bytes, argv] { ::execv(argv->front(), argv->data()); });
    process->start(QString::fromStdString(resolved), arguments);
    if (!process->waitForStarted(-1)) {
        const std::string reason = process->errorString().toStdString();
        delete process;
        vb::Raise(vb::err::FileNotFound, "File not found: " + program + " (" + reason + ")");
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
