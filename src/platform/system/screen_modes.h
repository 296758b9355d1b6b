#pragma once
#include <memory>
#include <vector>

namespace fluxo {

// One video mode the screen offers. `refreshHz` is 0 when the mode does not
// report a rate.
struct ScreenMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int refreshHz = 0;
};

// Changing the screen's video mode; the platform's counterpart of the
// DirectDraw object the saver once used. Only the window thread uses it.
class ScreenModeSwitcher {
 public:
  virtual ~ScreenModeSwitcher() = default;
  // Loads what mode switching needs and connects to the display; false when
  // mode switching is not available here.
  virtual bool Open() = 0;
  virtual std::vector<ScreenMode> Modes() = 0;
  // Switches to the mode of this size. The colour depth of an X screen is
  // fixed while it runs, so only the size changes. The mode in use before the
  // first successful switch is kept for RestoreMode.
  virtual bool SetMode(int width, int height) = 0;
  // Back to the mode kept by SetMode; true when there was nothing to restore.
  virtual bool RestoreMode() = 0;
};

// Mode switching through the X Resize and Rotate extension, loaded at run
// time (libX11.so.6, libXrandr.so.2), so the program runs without it.
std::unique_ptr<ScreenModeSwitcher> MakeXRandRSwitcher();

}  // namespace fluxo
