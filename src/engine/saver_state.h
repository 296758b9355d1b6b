#pragma once
#include <atomic>
#include <cstdint>

#include "platform/system/pause_gate.h"

namespace fluxo {

// Process-wide flags of a saver run, shared by the window, render and palette
// threads. Each is one word written whole and polled by readers.
struct SaverState {
  std::atomic<int32_t> saverRunning{0};
  std::atomic<int32_t> fullScreen{0};
  std::atomic<int32_t> modeSwitched{0};
  std::atomic<int32_t> inputSeen{0};
  std::atomic<int32_t> ignoreMouse{0};
  std::atomic<int32_t> paletteReady{0};
  std::atomic<int32_t> palettePaused{0};  // set while a display loads
  std::atomic<uint32_t> frameCounter{0};
  std::atomic<uint32_t> startTime{0};
  uint32_t createTime = 0;
  uint32_t mouseWindowStart = 0;
  int32_t mouseCount = 0;
  int32_t renderSuspended = 0;
  int32_t paletteSuspended = 0;
  int32_t launchedCompanion = 0;
  bool configurationRun = false;  // the program runs as the configuration dialog
  // F5-F7 suspend the drawing threads; each passes its gate once per pass or tick.
  PauseGate renderGate;
  PauseGate paletteGate;
};

SaverState& Saver();
void ResetSaverState();  // a clean start (tests)

}  // namespace fluxo
