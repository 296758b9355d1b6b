#include "controls/controls.h"
#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "platform/system/saver_state.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

bool FeedFlagSet(const SoundFeedBlock* feed, size_t offset) { return feed && feed->U32(offset) != 0; }

}  // namespace

// Without the companion a sound source falls back to Oscillate, so a display
// that follows the music still moves. The configuration dialog keeps every
// sound setting so that nothing is lost when the user saves.
void ApplySoundAvailability() {
  SoundFeedBlock* feed = SoundFeed();
  const bool configuration = Saver().configurationRun;
  const bool companion = FeedFlagSet(feed, feed::kCompanionActive);
  const bool modulesMayFollow = configuration || (companion && FeedFlagSet(feed, feed::kModuleSync));
  const bool paletteMayFollow = configuration || (companion && FeedFlagSet(feed, feed::kPaletteSync));
  bool modulesUseSound = false;
  bool paletteUsesSound = false;

  for (int m = 0; m < kModuleCount; ++m) {
    if (!IsActive(m)) continue;
    ControlBlock& c = Slot(m).controls;
    for (int i = 0; i < kControlCount; ++i) {
      if (!c.defined[i] || c.source[i] < kSourceVolume) continue;
      if (modulesMayFollow)
        modulesUseSound = true;
      else
        c.source[i] = kSourceOscillate;
    }
  }

  if (PaletteState* palette = CurrentPalette()) {
    for (int32_t& source : palette->source) {
      if (source < kSourceVolume) continue;
      if (paletteMayFollow)
        paletteUsesSound = modulesUseSound = true;
      else
        source = kSourceOscillate;
    }
  }

  if (feed) {
    feed->SetU32(feed::kPaletteUsesSound, paletteUsesSound ? 1 : 0);
    feed->SetU32(feed::kModulesUseSound, modulesUseSound ? 1 : 0);
  }
}

}  // namespace fluxo
