#pragma once
#include <atomic>
#include <cstdint>

namespace fluxo {

// The global options of the Main, Sound and Auxiliary pages. "SlowCPU"
// (turbo mode) and "AutoGain" live in the sound feed block.
struct MainSettings {
  uint32_t priority = 64;  // 128 high, 32 normal, 64 idle
  uint32_t showInfo = 0;
  uint32_t showName = 0;
  uint32_t preview = 1;
  uint32_t autoRun = 0;
  uint32_t blankTimeout = 241;  // minutes; 0 blanks at once, 241 never
  uint32_t homingRate = 1000;
  uint32_t graceSeconds = 6;
  uint32_t clearFirst = 1;
  std::atomic<uint32_t> speed{0};  // changed by the saver's keypad keys while the render thread reads
};

MainSettings& Main();
void ResetMainSettings();  // built-in defaults (tests, fresh start)
// The sound options of the feed ("SlowCPU", "AutoGain" and the two sync flags)
// and the options every start resets before reading the settings.
void SetOptionDefaults();

// The Winlogon key that holds "ScreenSaverGracePeriod" (the NT family's).
extern const char kWinlogonKey[];

void LoadMainSettings();
int SaveMainSettings();

}  // namespace fluxo
