#include "engine/display_candidates.h"

#include <cstring>

#include "engine/module_registry.h"
#include "platform/system/random.h"
#include "settings/saved_displays.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr int kChoiceAttempts = 50;

bool LoadedDisplayReactsToSound() {
  SoundFeedBlock* feed = SoundFeed();
  // Without the companion nothing can be told apart: every display counts.
  if (!feed || feed->U32(feed::kCompanionActive) == 0) return true;
  return feed->U32(feed::kPaletteUsesSound) != 0 || feed->U32(feed::kModulesUseSound) != 0;
}

bool LoadedDisplayCanRun() {
  for (int i = 0; i < kModuleRandom; ++i)
    if (IsActive(i) && HasOperations(Slot(i))) return true;
  return false;
}

}  // namespace

bool PlayableInRandomRun(const std::string& display) {
  return !DisplayHasModule(display.c_str(), "Random") && !DisplayHasModule(display.c_str(), "Sequencer");
}

std::vector<DisplayCandidate> SavedDisplayCandidates() {
  std::vector<DisplayCandidate> candidates;
  std::vector<std::string> names = ListDisplays();
  if (names.size() > kMaxDisplayCandidates) names.resize(kMaxDisplayCandidates);
  for (std::string& name : names)
    if (PlayableInRandomRun(name)) candidates.push_back({.name = std::move(name)});
  return candidates;
}

std::vector<DisplayCandidate> SequenceCandidates(const SequenceList& sequence) {
  std::vector<DisplayCandidate> candidates;
  for (const SequenceItem& item : sequence.items) {
    if (candidates.size() == kMaxDisplayCandidates) break;
    std::string name(item.name, strnlen(item.name, sizeof item.name));
    if (PlayableInRandomRun(name))
      candidates.push_back({.name = std::move(name), .playSeconds = item.seconds, .clearFirst = item.clearFirst});
  }
  return candidates;
}

DisplayLoader StoreDisplayLoader() {
  return {[](const std::string& name) {
            LoadDisplay(name.c_str());
            return LoadedDisplayCanRun();
          },
          LoadedDisplayReactsToSound};
}

DisplayCandidate* ChooseDisplay(std::vector<DisplayCandidate>& candidates, ChoiceMode mode, bool ordered,
                                uint32_t& orderCounter, const DisplayLoader& loader) {
  if (candidates.empty()) return nullptr;
  const auto count = static_cast<uint32_t>(candidates.size());
  DisplayCandidate* loaded = nullptr;
  for (int attempt = 0; attempt < kChoiceAttempts; ++attempt) {
    const uint32_t index = ordered ? orderCounter++ % count : static_cast<uint32_t>(Rand()) % count;
    DisplayCandidate& entry = candidates[index];
    const bool canRun = loader.load(entry.name);
    loaded = &entry;
    if (!entry.probed) {
      entry.probed = true;
      entry.reactsToSound = loader.loadedReactsToSound();
    }
    if (canRun && (mode != ChoiceMode::SoundReactive || entry.reactsToSound)) break;
  }
  return loaded;
}

}  // namespace fluxo
