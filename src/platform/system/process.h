#pragma once
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace fluxo {

// Splits a command line into words at blanks. Double or single quotes group
// blanks into a word and are removed; there are no escapes, so backslashes in
// paths stay as they are.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Starts argv[0] (looked up in PATH when it has no slash) with the given
// arguments. Returns the child's id, or -1 when it could not be started.
pid_t SpawnProcess(const std::vector<std::string>& argv);

// Starts a program that runs on its own: nobody waits for it here, and it is
// reaped in the background when it ends. True when it was started.
bool StartDetached(const std::vector<std::string>& argv);

// Waits up to `timeoutMs` for a child started by SpawnProcess to end. True
// with its exit status (or 128 + signal) when it ended in time.
bool WaitForProcess(pid_t pid, int timeoutMs, int* exitCode);

}  // namespace fluxo
