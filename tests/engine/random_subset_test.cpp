// The Random module playing a random subset of the display's modules (mode 0).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <vector>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "engine/random_module.h"
#include "modules/kit/overlay_boxes.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"

namespace fluxo::test {
namespace {

struct Clock {
  static inline uint32_t now = 700000;
  static uint32_t Read() { return now; }
};

// Per-module counts of the operations a switch calls.
struct Calls {
  int allocate = 0, initialise = 0, free = 0, frame = 0;
};
std::array<Calls, kModuleCount> g_calls;

int IndexOf(ModuleSlot* slot) { return static_cast<int>(slot - &Slot(0)); }
int32_t CountFrame(ModuleSlot* s) { return ++g_calls[IndexOf(s)].frame, 0; }
int32_t CountAllocate(ModuleSlot* s) { return ++g_calls[IndexOf(s)].allocate, 0; }
int32_t CountInitialise(ModuleSlot* s) { return ++g_calls[IndexOf(s)].initialise, 0; }
int32_t CountFree(ModuleSlot* s) { return ++g_calls[IndexOf(s)].free, 0; }

enum RandomControl { kMode = 0, kMaximumAtOnce = 1, kDuration = 2, kRandomControls = 3, kClearScreen = 4 };

class RandomSubsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearModuleTable();
    DefineAllControls();
    ResetMainSettings();
    ResetRandomModule();
    g_calls = {};
    surface = std::make_unique<gdi::FrameSurface>(64, 48);
    for (ModuleSlot& slot : Modules().slots) {
      slot.width = 64;
      slot.height = 48;
      slot.dc = surface.get();
    }
    const ModuleOperations& random = kRandomOperations;
    InstallModuleOperations(kModuleRandom, random.frame, random.allocate, random.initialise, random.free);
    SetControl(kMode, 0);
    SetControl(kClearScreen, 0);
    SeedRandom(20261208);
    Clock::now = 700000;
    SetTickSourceForTesting(&Clock::Read);
  }
  void TearDown() override { SetTickSourceForTesting(nullptr); }

  static void Runnable(std::initializer_list<int> modules) {
    for (int m : modules) InstallModuleOperations(m, CountFrame, CountAllocate, CountInitialise, CountFree);
  }
  // The display the run starts with: these modules and Random.
  static void Display(std::initializer_list<int> modules) {
    for (int i = 0; i < kModuleCount; ++i) SetActive(i, false);
    for (int m : modules) SetActive(m, true);
    SetActive(kModuleRandom, true);
  }
  static void SetControl(int index, int32_t value) { Slot(kModuleRandom).controls.value[index] = value; }
  static ModuleSlot& RandomSlot() { return Slot(kModuleRandom); }

  // Starts the display as the render thread does, Random last.
  static void Start() {
    for (int i = 0; i < kModuleRandom; ++i) {
      ModuleSlot& slot = Slot(i);
      if (!IsActive(i) || !HasOperations(slot)) continue;
      slot.allocate(&slot);
      slot.initialise(&slot);
    }
    RandomSlot().allocate(&RandomSlot());
    RandomSlot().initialise(&RandomSlot());
  }
  // Lets the duration run out and gives Random its frame.
  static void NextSwitch() {
    Clock::now += static_cast<uint32_t>(RandomSlot().controls.value[kDuration]) * 1000 + 1;
    RandomSlot().frame(&RandomSlot());
  }
  static std::set<int> ActiveModules() {
    std::set<int> active;
    for (int i = 0; i < kModuleRandom; ++i)
      if (IsActive(i)) active.insert(i);
    return active;
  }
  // Every module started is running or was freed again.
  static void ExpectBalancedCalls() {
    for (int i = 0; i < kModuleCount; ++i) {
      if (i == kModuleRandom) continue;
      SCOPED_TRACE(i);
      EXPECT_EQ(g_calls[i].allocate, g_calls[i].initialise);
      EXPECT_EQ(g_calls[i].allocate - g_calls[i].free, IsActive(i) ? 1 : 0);
    }
  }

  std::unique_ptr<gdi::FrameSurface> surface;
};

TEST_F(RandomSubsetTest, PicksTheCountFromTheDisplaysOwnModules) {
  Runnable({kModuleBezier, kModuleStar, kModuleFlow});
  Display({kModuleBezier, kModuleStar});
  SetControl(kMaximumAtOnce, 1);
  Start();
  std::set<int> seen;
  for (int n = 0; n < 200; ++n) {
    const std::set<int> active = ActiveModules();
    ASSERT_EQ(active.size(), 1u);
    EXPECT_TRUE(active.count(kModuleBezier) || active.count(kModuleStar)) << *active.begin();
    EXPECT_TRUE(IsActive(kModuleRandom));
    seen.insert(active.begin(), active.end());
    NextSwitch();
  }
  EXPECT_EQ(seen, (std::set<int>{kModuleBezier, kModuleStar}));
  EXPECT_EQ(g_calls[kModuleFlow].allocate, 0) << "Flow is not in the display";
  ExpectBalancedCalls();
}

TEST_F(RandomSubsetTest, AModuleDrawnAgainCountsAgain) {
  Runnable({kModuleBezier, kModuleStar});
  Display({kModuleBezier, kModuleStar});
  SetControl(kMaximumAtOnce, 3);
  Start();
  int singles = 0, pairs = 0;
  for (int n = 0; n < 300; ++n) {
    const size_t count = ActiveModules().size();
    ASSERT_GE(count, 1u);
    ASSERT_LE(count, 2u);
    (count == 1 ? singles : pairs)++;
    NextSwitch();
  }
  // Three counted draws among two modules give one module with chance 2 * (1/2)^3.
  EXPECT_GT(singles, 0);
  EXPECT_GT(pairs, singles);
  ExpectBalancedCalls();
}

TEST_F(RandomSubsetTest, ModulesWithoutOperationsAreNeverStarted) {
  Runnable({kModuleBezier});
  // Cyclic has no operations here; the Sequencer and an empty PlugIn record never do.
  Display({kModuleBezier, kModuleCyclic, kModulePlugIn});
  SetControl(kMaximumAtOnce, 2);
  Start();
  for (int n = 0; n < 100; ++n) {
    ASSERT_EQ(ActiveModules(), std::set<int>{kModuleBezier});
    NextSwitch();
  }
  ExpectBalancedCalls();
}

TEST_F(RandomSubsetTest, DisplayWithOnlyRandomFallsBackToOneRunnableModuleAtDraw202) {
  Runnable({kModuleBezier, kModuleStar, kModuleLine});
  Display({});
  SetControl(kMaximumAtOnce, 1);
  Start();
  std::set<int> seen;
  for (int n = 0; n < 100; ++n) {
    const std::set<int> active = ActiveModules();
    ASSERT_EQ(active.size(), 1u);
    const int module = *active.begin();
    ASSERT_TRUE(module == kModuleBezier || module == kModuleStar || module == kModuleLine) << module;
    seen.insert(module);
    NextSwitch();
  }
  EXPECT_EQ(seen.size(), 3u) << "the fallback chooses among every runnable module";
  ExpectBalancedCalls();
}

TEST_F(RandomSubsetTest, FallbackWithNothingRunnableStartsNothing) {
  Display({kModuleCyclic});
  SetControl(kMaximumAtOnce, 1);
  Start();
  EXPECT_TRUE(ActiveModules().empty());
  EXPECT_TRUE(IsActive(kModuleRandom));
}

TEST_F(RandomSubsetTest, TheSnapshotIsTakenOnceAndItsSettingsComeBack) {
  Runnable({kModuleBezier, kModuleStar});
  Display({kModuleBezier});
  SetControl(kMaximumAtOnce, 1);
  Main().showName = 7;
  Main().priority = 32;
  Start();
  for (int n = 0; n < 50; ++n) {
    // As a loaded display would: other settings and another module flag.
    Main().showName = 0;
    Main().priority = 128;
    SetActive(kModuleStar, true);
    NextSwitch();
    ASSERT_EQ(ActiveModules(), std::set<int>{kModuleBezier});
    EXPECT_EQ(Main().showName, 7u);
    EXPECT_EQ(Main().priority, 32u);
  }
}

TEST_F(RandomSubsetTest, SwitchesOnlyWhenTheDurationHasRunOut) {
  Runnable({kModuleBezier});
  Display({kModuleBezier});
  SetControl(kMaximumAtOnce, 1);
  SetControl(kDuration, 5);
  Start();
  ASSERT_EQ(g_calls[kModuleBezier].initialise, 2) << "started by the run, then by the first switch";
  Clock::now += 5000;
  RandomSlot().frame(&RandomSlot());
  EXPECT_EQ(g_calls[kModuleBezier].initialise, 2);
  Clock::now += 1;
  RandomSlot().frame(&RandomSlot());
  EXPECT_EQ(g_calls[kModuleBezier].initialise, 3);
  EXPECT_EQ(g_calls[kModuleBezier].free, 2);
}

TEST_F(RandomSubsetTest, RandomControlsAndClearScreenApplyToEachSwitch) {
  Runnable({kModuleBezier});
  Display({kModuleBezier});
  SetControl(kMaximumAtOnce, 1);
  SetControl(kRandomControls, 1);
  SetControl(kClearScreen, 1);
  surface->FillRect(surface->ClientRect(), gdi::Brush::StockWhite());
  surface->IntersectClipRect({0, 0, 8, 8});  // left behind by a module
  ResetOverlayBoxes();
  OverlayBoxes()[kSloganBox] = {{40, 30, 64, 48}, Clock::now + 5000};
  Start();
  const ControlBlock& bezier = Slot(kModuleBezier).controls;
  EXPECT_TRUE(
      std::all_of(std::begin(bezier.source), std::end(bezier.source), [](int32_t s) { return s == kSourceRandom; }));
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(surface->PixelAt(x, y), x >= 40 && y >= 30 ? gdi::kWhitePixel : gdi::kBlackPixel)
          << "everything but the visible box is cleared, at " << x << "," << y;
  ResetOverlayBoxes();
}

TEST_F(RandomSubsetTest, RandomStartedByTabSwitchesOnItsFirstFrame) {
  Runnable({kModuleBezier});
  Display({kModuleBezier});
  SetControl(kMaximumAtOnce, 1);
  CountAllocate(&Slot(kModuleBezier));  // the run started Bezier alone
  CountInitialise(&Slot(kModuleBezier));
  RandomSlot().frame(&RandomSlot());  // never allocated nor initialised
  EXPECT_EQ(g_calls[kModuleBezier].initialise, 2);
  EXPECT_TRUE(IsActive(kModuleRandom));
  ExpectBalancedCalls();
}

}  // namespace
}  // namespace fluxo::test
