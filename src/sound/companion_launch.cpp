#include "platform/system/process.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr uint32_t kCommandSize = 261;  // up to 260 characters and the terminator

}  // namespace

bool LaunchCompanion(int windowBottom, int screenHeight, bool fromSaver) {
  char command[kCommandSize] = {};
  if (!ReadMachineText(reg::Hive::LocalMachine, "Software\\Tonewell", "", command, kCommandSize)) return false;
  std::string commandLine = command;
  if (commandLine.empty()) return false;
  if (fromSaver) {
    // Only a full-screen saver starts the companion; a preview pane does not.
    if (windowBottom != screenHeight) return false;
    commandLine += " /PPLAY";
  }
  return StartDetached(SplitCommandLine(commandLine));
}

}  // namespace fluxo
