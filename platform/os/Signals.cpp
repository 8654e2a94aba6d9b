#include "platform/os/Signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace os {

namespace {

int pipeEnds[2] = {-1, -1};

void OnSignal(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    // A full pipe drops the byte: an end is already pending then.
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

void WatchEndSignals(std::function<void(int signal)> handler) {
    if (pipeEnds[0] >= 0 || !QCoreApplication::instance()) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) return;
    for (int fd : pipeEnds) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);

    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
        unsigned char byte = 0;
        while (::read(pipeEnds[0], &byte, 1) == 1)
            if (handler) handler(byte);
    });

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

}  // namespace os
