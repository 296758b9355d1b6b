#pragma once
#include <cstdint>

namespace fluxo::config {

// The configuration run of "fluxo /c": the process-wide state the saver uses
// is made ready (module records, palette engine, sound feed, main settings
// and the active display), the sheet runs modally (owned by `ownerWindow`
// when that names a window), and everything is released again. Returns the
// process's exit status; 1 without the sound feed. Runs once per process;
// a second call returns 1 at once.
int RunConfiguration(int argc, char** argv, uint64_t ownerWindow);

// Whether the settings key existed when the run started (a first run has none).
bool SettingsExistedAtStart();

}  // namespace fluxo::config
