#pragma once
#include <string>
#include <vector>

namespace fluxo::uninstall {

// Asks every running process of one of the programs (by their full paths) to
// end, then waits, looking every 100 ms, until they are gone or `timeoutMs`
// has passed. The launcher's windows have no titles one could reach here;
// its process stands for them.
void CloseRunningPrograms(const std::vector<std::string>& programPaths, int timeoutMs);

}  // namespace fluxo::uninstall
