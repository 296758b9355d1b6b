#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fluxo {

// How the program was asked to run the saver.
enum class SaverMode {
  Window,      // no switch: a normal resizable window
  FullScreen,  // "/s" and "-root"
  PlayFile,    // "/S <file>": full screen, playing a display file
  Embedded,    // "/p <id>", "-window-id <id>", $XSCREENSAVER_WINDOW: inside a foreign window
  Configure,   // "/c", "/c:<id>": the configuration dialog
};

struct SaverSwitches {
  SaverMode mode = SaverMode::Window;
  uint64_t windowId = 0;  // Embedded: the foreign parent; Configure: the owner (0 = none)
  std::string file;       // PlayFile
};

// Parses the words after the program name. `xscreensaverWindowEnv` is the
// value of $XSCREENSAVER_WINDOW (null when unset); it names the window to draw
// into when no switch is given, and also with "-root", which is how
// xscreensaver starts its hacks. Refused switches leave `problem` saying why
// (it stays empty otherwise).
SaverSwitches ParseSaverSwitches(const std::vector<std::string>& args, const char* xscreensaverWindowEnv,
                                 std::string& problem);

// A window id in decimal or 0x-prefixed hexadecimal; 0 when the text is not one.
uint64_t ParseWindowId(const std::string& text);

}  // namespace fluxo
