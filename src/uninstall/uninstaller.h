#pragma once
#include <functional>

namespace fluxo::uninstall {

enum class Question {
  RemoveSaver,     // "Are you sure you want to remove ...?"
  RemoveLauncher,  // "Do you wish to uninstall the taskbar screen saver launcher?"
};

// How the uninstaller talks to its user: message boxes, or a script's answers.
struct Prompts {
  std::function<bool(Question)> ask;  // true for Yes
  std::function<void()> done;         // the final notice
};

// The whole removal in its fixed order. 0 when the saver was removed, 1 when
// the user answered No and nothing changed.
int RunUninstall(const Prompts& prompts);

}  // namespace fluxo::uninstall
