#pragma once
#include <cstdint>
#include <string>

namespace fluxo::tonewell {

// "Current Version" under the current user's "Software\Tonewell": (3 << 16) + 3.
uint32_t CompanionVersionValue();

// The command line the saver starts the companion with: this program's own
// path, quoted when it holds blanks.
std::string OwnCommandLine();

// Writes the version under the current user and `commandLine` as the default
// value of "Software\Tonewell" under the local machine. True when both were written.
bool RegisterCompanion(const std::string& commandLine);

}  // namespace fluxo::tonewell
