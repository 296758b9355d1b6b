#include <array>
#include <atomic>
#include <string>

#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "settings/saved_displays.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

std::atomic<bool> g_captureColours{false};

}  // namespace

void SetCaptureColours(bool on) { g_captureColours.store(on); }

bool CaptureColours() { return g_captureColours.load(); }

std::string NextCaptureName() {
  for (int n = 1;; ++n) {
    std::string name = "Capture #" + std::to_string(n);
    if (!DisplayExists(name)) return name;
  }
}

void CaptureDisplay() {
  // The palette thread stays out while its colours and parameters are read.
  PaletteState* palette = CurrentPalette();
  if (palette) HoldPaletteTicks(*palette);

  const bool random = IsActive(kModuleRandom);
  SetActive(kModuleRandom, false);
  // The capture keeps what is on screen: every control as a fixed value.
  std::array<std::array<int32_t, kControlCount>, kModuleCount> sources;
  for (int m = 0; m < kModuleCount; ++m)
    for (int i = 0; i < kControlCount; ++i) {
      sources[m][i] = Slot(m).controls.source[i];
      Slot(m).controls.source[i] = kSourceSet;
    }

  SaveCurrentDisplay(NextCaptureName().c_str());

  if (SoundFeedBlock* feed = SoundFeed()) feed->SetU32(feed::kCaptureRequest, 0);
  g_captureColours.store(false);
  SetActive(kModuleRandom, random);
  for (int m = 0; m < kModuleCount; ++m)
    for (int i = 0; i < kControlCount; ++i) Slot(m).controls.source[i] = sources[m][i];
  if (palette) ReleasePaletteTicks();
}

}  // namespace fluxo
