// Started programs, through QProcess and never a shell.
#pragma once

#include <string>

namespace os {

constexpr long STILL_ACTIVE = 259;

// Starts the command line (program and arguments split as a shell would, without one)
// and returns its process id. A program that cannot be started raises error 53.
long Shell(const std::string& commandLine, int windowStyle = 1);

// The exit code of a process started by Shell: STILL_ACTIVE while it runs. An unknown id
// gives false (the original's OpenProcess failing).
bool GetExitCodeProcess(long processId, long& exitCode);

// Ends a process started by Shell and forgets it.
void TerminateProcess(long processId);

// Waits until the process has ended, letting window events run meanwhile.
void WaitForProcess(long processId);

long CurrentProcessId();

}  // namespace os
