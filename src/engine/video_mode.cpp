#include "engine/video_mode.h"

#include <cstring>

#include "engine/saver_window.h"
#include "platform/registry/registry.h"
#include "platform/system/fatal_fault_hook.h"
#include "platform/system/screen_modes.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

// Process-wide; only the window thread touches it (creation, destruction and
// the Video page), except the fault hook, which only reads the switcher.
struct VideoModeState {
  std::function<std::unique_ptr<ScreenModeSwitcher>()> make = MakeXRandRSwitcher;
  std::unique_ptr<ScreenModeSwitcher> switcher;
  bool opened = false;
  bool switched = false;                      // the screen is in the saver's mode
  std::unique_ptr<FatalFaultHook> faultHook;  // present while it is
};

VideoModeState& State() {
  static VideoModeState state;
  return state;
}

void PutNumber(DisplayModeRecord& record, uint32_t offset, uint32_t value) {
  const auto bytes = EncodeNumber(value);
  std::memcpy(record.data() + offset, bytes.data(), bytes.size());
}

// A crash must not leave the desktop in the saver's mode.
void RestoreAfterFault() {
  if (ScreenModeSwitcher* switcher = State().switcher.get()) switcher->RestoreMode();
}

}  // namespace

DisplayModeRecord EncodeDisplayMode(const VideoMode& mode) {
  DisplayModeRecord record{};
  PutNumber(record, kModeBitsPerPixelOffset, mode.bitsPerPixel);
  PutNumber(record, kModeWidthOffset, mode.width);
  PutNumber(record, kModeHeightOffset, mode.height);
  PutNumber(record, kModeRefreshOffset, mode.refreshHz);
  return record;
}

VideoMode DecodeDisplayMode(const DisplayModeRecord& record) {
  return {DecodeNumber(record.data() + kModeBitsPerPixelOffset), DecodeNumber(record.data() + kModeWidthOffset),
          DecodeNumber(record.data() + kModeHeightOffset), DecodeNumber(record.data() + kModeRefreshOffset)};
}

int OpenDirectDraw() {
  VideoModeState& state = State();
  if (!state.switcher) state.switcher = state.make();
  if (!state.opened) state.opened = state.switcher->Open();
  return state.opened ? 1 : 0;
}

int SwitchVideoMode(SaverWindow& window) {
  // A preview pane or a foreign host's window never changes the desktop's mode.
  if (!window.OwnsScreen()) return 0;
  if (window.ClientWidth() != window.ScreenWidth() || window.ClientHeight() != window.ScreenHeight()) return 0;
  DisplayModeRecord record{};
  if (!ReadSetting("DisplayMode", SettingsKeyName(), reg::kRegBinary, record.data(), kDisplayModeSize)) return 0;
  const VideoMode mode = DecodeDisplayMode(record);
  // A record without a size names no mode the screen could take.
  if (mode.width == 0 || mode.height == 0 || mode.width > 0xFFFF || mode.height > 0xFFFF) return 0;

  const int width = static_cast<int>(mode.width);
  const int height = static_cast<int>(mode.height);
  // The window follows the screen only when the screen really changed, so a
  // refused mode leaves a saver that still covers the whole screen.
  if (OpenDirectDraw() && State().switcher->SetMode(width, height)) {
    window.PlaceAtOrigin(width, height);
    State().switched = true;
    if (!State().faultHook) State().faultHook = std::make_unique<FatalFaultHook>(RestoreAfterFault);
  }
  return 1;
}

void RestoreVideoMode() {
  // The mode from before the switch comes back even when "DisplayMode" was
  // deleted meanwhile: the desktop must not stay in the saver's mode.
  VideoModeState& state = State();
  if (!state.switched) return;
  state.faultHook.reset();
  state.switcher->RestoreMode();
  state.switched = false;
}

void ReleaseVideoObjects() {
  RestoreVideoMode();  // in case teardown could not reach the restore
  VideoModeState& state = State();
  state.switcher.reset();
  state.opened = false;
}

void EnumerateVideoModes(const std::function<void(const DisplayModeRecord&)>& callback) {
  if (!OpenDirectDraw()) return;
  for (const ScreenMode& mode : State().switcher->Modes()) {
    callback(EncodeDisplayMode({static_cast<uint32_t>(mode.bitsPerPixel), static_cast<uint32_t>(mode.width),
                                static_cast<uint32_t>(mode.height), static_cast<uint32_t>(mode.refreshHz)}));
  }
}

void UseScreenModeSwitcher(std::function<std::unique_ptr<ScreenModeSwitcher>()> make) {
  VideoModeState& state = State();
  state.faultHook.reset();
  state.switcher.reset();
  state.opened = false;
  state.switched = false;
  state.make = make ? std::move(make) : MakeXRandRSwitcher;
}

}  // namespace fluxo
