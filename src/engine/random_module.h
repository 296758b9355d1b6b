#pragma once
#include "modules/builtin_modules.h"

namespace fluxo {

// The Random module (record 18): draws nothing; at each switch it stops the
// running modules and starts others, a random subset of the display's own
// modules (mode 0) or a whole display chosen from the saved displays (1),
// from those that follow sound (2) or from the sequence (3).
extern const ModuleOperations kRandomOperations;

// Forgets the snapshot, the play order and the candidates, as at process start.
void ResetRandomModule();

}  // namespace fluxo
