#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace fluxo {

class SaverWindow;
class ScreenModeSwitcher;

// "DisplayMode": the platform's 156-byte display-mode record. Only these
// fields are used; every other byte is zero in records built here.
constexpr uint32_t kDisplayModeSize = 156;
constexpr uint32_t kModeBitsPerPixelOffset = 104;
constexpr uint32_t kModeWidthOffset = 108;
constexpr uint32_t kModeHeightOffset = 112;
constexpr uint32_t kModeRefreshOffset = 120;
using DisplayModeRecord = std::array<uint8_t, kDisplayModeSize>;

struct VideoMode {
  uint32_t bitsPerPixel = 0;
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t refreshHz = 0;  // 0 or 1: the default refresh; never used for switching
};

DisplayModeRecord EncodeDisplayMode(const VideoMode& mode);
VideoMode DecodeDisplayMode(const DisplayModeRecord& record);

// Loads the mode-switching library and connects to the display: 1 when mode
// switching is available, 0 otherwise.
int OpenDirectDraw();
// At window creation: switches to the stored "DisplayMode" when the window is
// the saver's own and covers the screen. 1 means the run counts as switched
// (even when the screen refused the mode), 0 that nothing was attempted.
int SwitchVideoMode(SaverWindow& window);
// At window destruction of a switched run: back to the mode from before.
void RestoreVideoMode();
// At the end of teardown: lets go of the display and the library.
void ReleaseVideoObjects();
// Calls `callback` with one record per mode the screen offers (for the Video page).
void EnumerateVideoModes(const std::function<void(const DisplayModeRecord&)>& callback);

// Replaces the XRandR switcher with another one (tests); null brings XRandR
// back. Forgets any open switcher without restoring.
void UseScreenModeSwitcher(std::function<std::unique_ptr<ScreenModeSwitcher>()> make);

}  // namespace fluxo
