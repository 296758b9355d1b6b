#pragma once
#include <string>

// Registration with the user's XScreenSaver: an entry in the "programs:"
// resource of ~/.xscreensaver, selected as the one saver to run.
namespace fluxo::install {

struct XScreenSaverEdit {
  std::string text;  // the file after the edit
  int index = -1;    // the entry's place in the programs list
  bool changed = false;
};

// The programs-list command that runs the saver at `saverPath` full screen.
std::string XScreenSaverCommand(const std::string& saverPath);

// Adds `command` to the programs of a settings file's text unless it is
// listed already, and sets "mode: one" and "selected:" to its index. Every
// other byte of the file stays as it was. An empty text gives a minimal file.
XScreenSaverEdit SelectSaverProgram(const std::string& fileText, const std::string& command);

// Edits (or creates) the file in UserHomeFolder(), leaving a copy of the
// old file beside it when it changes. True when the file holds the entry.
bool RegisterWithXScreenSaver(const std::string& saverPath);

}  // namespace fluxo::install
