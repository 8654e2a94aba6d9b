// The system's requests to end the program: SIGTERM (log-out, shut-down), SIGHUP (its
// terminal closed) and SIGINT (Ctrl+C in its terminal). Where the original platform unloaded
// the main window when the session ended, these reach the program as an ordinary event.
#pragma once

#include <functional>

namespace os {

// From now on each of the three signals runs `handler` with the signal's number on the
// user-interface thread, among the other window events, instead of killing the process.
// The signal itself only writes one byte into a pipe (the one thing safe inside a signal
// handler); the event loop reads it. Needs a running Qt application; call once.
void WatchEndSignals(std::function<void(int signal)> handler);

}  // namespace os
