#include "engine/random_module.h"

#include <algorithm>
#include <array>
#include <vector>

#include "controls/controls.h"
#include "engine/display_candidates.h"
#include "engine/module_registry.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/overlay_boxes.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "settings/sequence_items.h"

namespace fluxo {
namespace {

enum RandomControl {
  kMode = 0,
  kMaximumAtOnce = 1,
  kDuration = 2,
  kRandomControls = 3,
  kClearScreen = 4,
};

enum RandomMode { kModuleSubset = 0, kSequenceMode = 3 };

// Modules 0..17 can be started by a switch; Random itself is index 18.
constexpr int kSwitchedModules = kModuleRandom;
constexpr int kFallbackDraw = 202;
// Longer times would put the next switch beyond wrap-safe reach of the tick count.
constexpr int64_t kLongestSeconds = 2147483;

// What the display active at the first switch of the process looked like.
struct Snapshot {
  std::array<int32_t, kModuleCount> active{};
  uint32_t priority = 0;
  uint32_t clearFirst = 0;
  uint32_t showInfo = 0;
  uint32_t showName = 0;
};

enum class ListKind { None, SavedDisplays, Sequence };

struct RandomState {
  uint32_t nextSwitch = 0;
  int32_t mode = 0;
  int32_t maximumAtOnce = 0;
  uint32_t duration = 0;  // ms
  int32_t randomControls = 0;
  int32_t clearScreen = 0;
  int32_t orderedPlay = 0;
  uint32_t orderCounter = 0;
  bool initialised = false;
  Snapshot snapshot;
  std::vector<DisplayCandidate> candidates;
  ListKind listKind = ListKind::None;
};

RandomState g_random;

// At least a second, so an item of 0 seconds does not reload its display every pass.
uint32_t SwitchInterval(int64_t seconds) {
  return static_cast<uint32_t>(std::clamp<int64_t>(seconds, 1, kLongestSeconds)) * 1000u;
}

ListKind ListKindOf(int32_t mode) {
  if (mode == kModuleSubset) return ListKind::None;
  return mode == kSequenceMode ? ListKind::Sequence : ListKind::SavedDisplays;
}

void BuildCandidates(ListKind kind) {
  g_random.listKind = kind;
  switch (kind) {
    case ListKind::None:
      g_random.candidates.clear();
      break;
    case ListKind::SavedDisplays:
      g_random.candidates = SavedDisplayCandidates();
      break;
    case ListKind::Sequence:
      g_random.candidates = SequenceCandidates(CurrentSequence());
      break;
  }
}

void TakeSnapshot() {
  Snapshot& s = g_random.snapshot;
  for (int i = 0; i < kModuleCount; ++i) s.active[i] = IsActive(i) ? 1 : 0;
  const MainSettings& main = Main();
  s.priority = main.priority;
  s.clearFirst = main.clearFirst;
  s.showInfo = main.showInfo;
  s.showName = main.showName;
}

void RestoreSnapshotSettings() {
  const Snapshot& s = g_random.snapshot;
  MainSettings& main = Main();
  main.showInfo = s.showInfo;
  main.showName = s.showName;
  main.priority = s.priority;
  main.clearFirst = s.clearFirst;
}

void StopRunningModules() {
  for (int i = 0; i < kSwitchedModules; ++i) {
    if (!IsActive(i)) continue;
    ModuleSlot& slot = Slot(i);
    if (HasOperations(slot)) slot.free(&slot);
    SetActive(i, false);
  }
}

// Draw 202 adds one more module. Records without operations (the PlugIn
// record without a plug-in, the Sequencer, modules not available) cannot
// run, so it chooses among the runnable ones.
void ActivateFallbackModule() {
  std::vector<int> runnable;
  for (int i = 0; i < kSwitchedModules; ++i)
    if (HasOperations(Slot(i))) runnable.push_back(i);
  if (!runnable.empty()) SetActive(runnable[static_cast<size_t>(Rand()) % runnable.size()], true);
}

// Draws count only for modules of the snapshot that can run; one drawn
// again counts again.
void PickModules() {
  int counted = 0;
  for (int draw = 1;; ++draw) {
    const int k = Rand() % kSwitchedModules;
    if (g_random.snapshot.active[k] && HasOperations(Slot(k))) {
      SetActive(k, true);
      ++counted;
    }
    if (draw == kFallbackDraw) {
      ActivateFallbackModule();
      return;
    }
    if (counted >= g_random.maximumAtOnce) return;
  }
}

void LoadChosenDisplay() {
  const ListKind kind = ListKindOf(g_random.mode);
  // The mode can change between switches (a driven control, a Tab-started
  // Random without allocate): the list must match the mode now playing.
  if (g_random.listKind != kind || g_random.candidates.empty()) BuildCandidates(kind);
  const DisplayCandidate* loaded =
      ChooseDisplay(g_random.candidates, static_cast<ChoiceMode>(g_random.mode), g_random.orderedPlay != 0,
                    g_random.orderCounter, StoreDisplayLoader());
  if (loaded && g_random.mode == kSequenceMode) {
    g_random.duration = SwitchInterval(loaded->playSeconds);
    g_random.clearScreen = static_cast<int32_t>(loaded->clearFirst);
  }
}

// The whole surface but the visible information boxes, whatever clip region
// the stopped modules left behind.
void ClearScreen(gdi::FrameSurface& surface) {
  surface.SelectClipRegion(nullptr);
  ExcludeOverlayBoxes(surface);
  surface.FillRect(surface.ClientRect(), gdi::Brush::StockBlack());
}

void StartChosenModules() {
  for (int i = 0; i < kSwitchedModules; ++i) {
    ModuleSlot& slot = Slot(i);
    if (!IsActive(i) || !HasOperations(slot)) continue;
    if (g_random.randomControls)
      std::fill(std::begin(slot.controls.source), std::end(slot.controls.source), kSourceRandom);
    ClampControls(slot);
    slot.allocate(&slot);
    slot.initialise(&slot);
  }
}

void Switch(ModuleSlot& slot) {
  RandomizeControls(slot);
  EvaluateSourcedControls(slot);
  const int32_t* value = slot.controls.value;
  RandomState& s = g_random;
  s.mode = std::clamp(value[kMode], 0, static_cast<int32_t>(kSequenceMode));
  s.maximumAtOnce = value[kMaximumAtOnce];
  s.duration = SwitchInterval(value[kDuration]);
  s.randomControls = value[kRandomControls];
  s.clearScreen = value[kClearScreen];
  if (!s.initialised) TakeSnapshot();

  StopRunningModules();
  if (s.mode == kSequenceMode) s.orderedPlay = CurrentSequence().orderedPlay;
  if (s.mode != kModuleSubset) {
    LoadChosenDisplay();
  } else if (s.maximumAtOnce >= 1) {
    PickModules();
  }
  if (s.clearScreen && slot.dc) ClearScreen(kit::ModuleSurface(slot));
  StartChosenModules();
  if (s.mode != kModuleSubset) WithCurrentPalette(ScheduleSoonChange);

  RestoreSnapshotSettings();
  SetActive(kModuleRandom, true);  // a loaded display never holds Random
  s.initialised = true;
  s.nextSwitch = GetTickCount() + s.duration;
}

int32_t Allocate(ModuleSlot* slot) {
  BuildCandidates(ListKindOf(std::clamp(slot->controls.value[kMode], 0, static_cast<int32_t>(kSequenceMode))));
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  Switch(*slot);
  return 0;
}

// Also the first switch of a Random that Tab started without an initialise.
int32_t Frame(ModuleSlot* slot) {
  if (!g_random.initialised || TickIsPast(GetTickCount(), g_random.nextSwitch)) Switch(*slot);
  return 0;
}

int32_t Free(ModuleSlot*) {
  g_random.candidates.clear();
  g_random.candidates.shrink_to_fit();
  g_random.listKind = ListKind::None;
  return 0;
}

}  // namespace

const ModuleOperations kRandomOperations{Frame, Allocate, Initialise, Free};

void ResetRandomModule() { g_random = RandomState{}; }

}  // namespace fluxo
