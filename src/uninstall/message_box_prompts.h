#pragma once
#include "uninstall/uninstaller.h"

namespace fluxo::uninstall {

// The two questions and the final notice as message boxes (needs a
// QApplication).
Prompts MessageBoxPrompts();

}  // namespace fluxo::uninstall
