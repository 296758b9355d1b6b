#include "engine/render_thread.h"

#include <chrono>
#include <thread>
#include <utility>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "engine/overlay.h"
#include "engine/saver_state.h"
#include "engine/saver_window.h"
#include "palette/palette_engine.h"
#include "platform/system/priority.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"
#include "platform/system/worker_thread.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr auto kThreadStopLimit = std::chrono::milliseconds(2000);
constexpr uint32_t kBlankNever = 241;
constexpr int kStrengthControl = 9;

WorkerThread g_renderThread;
WorkerThread g_paletteThread;
RunOverrides g_overrides;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Running() { return Saver().saverRunning.load(std::memory_order_relaxed) != 0; }

void ClearSlots(gdi::FrameSurface& surface) {
  ClearModuleTable();
  for (ModuleSlot& slot : Modules().slots) {
    slot.width = surface.Width();
    slot.height = surface.Height();
    slot.dc = &surface;
  }
}

void SetUpSurface(SaverWindow& window) {
  bool full = window.ClientWidth() == window.ScreenWidth() && window.ClientHeight() == window.ScreenHeight();
  Saver().fullScreen.store(full ? 1 : 0);
  if (full)
    if (SoundFeedBlock* feed = SoundFeed()) feed->AddI32(feed::kFullScreenCount, 1);
}

void ApplyOverrides() {
  if (g_overrides.soloModule < 0) return;
  for (int i = 0; i < kModuleCount; ++i) SetActive(i, i == g_overrides.soloModule);
}

void InitialiseRegistryForRun() {
  InitialiseModuleRegistry();
  ApplyOverrides();
}

void StartCompanionIfWanted(SaverWindow& window) {
  Saver().launchedCompanion = 0;
  SoundFeedBlock* feed = SoundFeed();
  if (!Main().autoRun || !feed || feed->U32(feed::kCompanionActive) != 0) return;
  LaunchCompanion(window.ClientHeight(), window.ScreenHeight(), true);
  InitialiseRegistryForRun();
  Saver().launchedCompanion = 1;
}

// Without an engine the run goes on without palette animation.
void StartPaletteThread(PaletteState* palette) {
  if (!palette) return;
  Saver().paletteReady.store(0);
  g_paletteThread.Start([palette] {
    SetCurrentThreadPriority(ThreadPriority::Normal);
    PaletteThread(*palette);
    ForgetCurrentThreadPriority();
  });
  while (!Saver().paletteReady.load() && Running()) std::this_thread::yield();
}

// A sequence display plays through the Random module.
void TurnSequenceIntoRandomRun() {
  if (!IsActive(kModuleSequencer)) return;
  ControlBlock& random = Slot(kModuleRandom).controls;
  random.value[0] = 3;
  random.maxValue[0] = 3;
  random.value[2] = 4;
  SetActive(kModuleRandom, true);
  SetActive(kModuleSequencer, false);
}

template <typename Operation>
void ForEachRunnableModule(Operation operation) {
  for (int i = 0; i < kModuleCount; ++i) {
    ModuleSlot& slot = Slot(i);
    if (IsActive(i) && HasOperations(slot)) operation(slot);
  }
}

void StartModules() {
  ForEachRunnableModule([](ModuleSlot& slot) {
    ClampControls(slot);
    slot.allocate(&slot);
    slot.initialise(&slot);
  });
}

void ServeRequests() {
  SoundFeedBlock* feed = SoundFeed();
  if (!feed) return;
  if (feed->U32(feed::kCaptureRequest)) CaptureDisplay();
  if (feed->U32(feed::kRestartRequest)) {
    ForEachRunnableModule([](ModuleSlot& slot) {
      slot.free(&slot);
      slot.allocate(&slot);
      slot.initialise(&slot);
    });
    feed->SetU32(feed::kRestartRequest, 0);
  }
}

void Blank(gdi::FrameSurface& surface) {
  surface.SelectClipRegion(nullptr);
  surface.FillRect(surface.ClientRect(), gdi::Brush::StockBlack());
  surface.Flush();
}

void FrameLoop(gdi::FrameSurface& surface) {
  SaverState& saver = Saver();
  const uint32_t blankTimeout = Main().blankTimeout;
  const uint32_t blankDeadline = GetTickCount() + blankTimeout * 60000u;
  while (Running()) {
    saver.renderGate.Pass();
    if (blankTimeout != kBlankNever && (blankTimeout == 0 || TickIsPast(GetTickCount(), blankDeadline))) {
      Blank(surface);
      saver.saverRunning.store(0);
      break;
    }
    uint32_t frame = saver.frameCounter.fetch_add(1) + 1;
    DrawOverlayBoxes(surface);
    RunModulePass(frame);
    HomeGain();
    surface.Flush();
    if (SpeedPauses(frame, Main().speed.load(std::memory_order_relaxed))) SleepMs(10);
    ServeRequests();
  }
}

void EndRun(PaletteState*& palette) {
  ForEachRunnableModule([](ModuleSlot& slot) { slot.free(&slot); });
  Saver().paletteGate.Open();  // a suspended palette thread must see the end
  g_paletteThread.Stop(kThreadStopLimit);
  Saver().saverRunning.store(0);
  DestroyPaletteEngine(std::exchange(palette, nullptr));
}

void AskCompanionToQuit() {
  if (!Saver().launchedCompanion) return;
  if (SoundFeedBlock* feed = SoundFeed()) feed->SetU32(feed::kCompanionQuit, 1);
}

}  // namespace

RunOverrides& Overrides() { return g_overrides; }

void RunModulePass(uint32_t frameCounter) {
  ForEachRunnableModule([frameCounter](ModuleSlot& slot) {
    const int64_t strength = slot.controls.value[kStrengthControl];
    if (strength == 0) {
      slot.frame(&slot);
    } else if (strength > 0) {
      for (int64_t n = 0; n < strength; ++n) {
        if (slot.frame(&slot) == kNotDueYet) {
          SleepMs(10);
          break;
        }
      }
    } else if (frameCounter % static_cast<uint64_t>(-strength) == 0) {
      if (slot.frame(&slot) == kNotDueYet) SleepMs(10);
    }
  });
}

void SaveScreen(SaverWindow* window) {
  SaverState& saver = Saver();
  PaletteState* palette = nullptr;
  try {
    if (saver.modeSwitched.load()) SleepMs(1000);  // let the new video mode settle
    SeedRandom(TickSeed());
    gdi::FrameSurface& surface = window->Surface();
    ClearSlots(surface);
    saver.saverRunning.store(1);
    palette = CreatePaletteEngine(&surface);
    SetUpSurface(*window);
    InitialiseRegistryForRun();
    StartCompanionIfWanted(*window);
    SoundFeedBlock* feed = SoundFeed();
    SetProcessPriorityClass(feed && feed->U32(feed::kCompanionActive) ? kPriorityNormal : Main().priority);
    if (Main().clearFirst) surface.FillRect(surface.ClientRect(), gdi::Brush::StockBlack());
    StartPaletteThread(palette);
    TurnSequenceIntoRandomRun();
    StartModules();
    saver.startTime.store(GetTickCount());
    FrameLoop(surface);
    EndRun(palette);
  } catch (...) {
    saver.saverRunning.store(0);
    RecordException("SaveScreen");
    // The modules stay as the fault left them, but the palette thread, which
    // ends by itself now, is waited for: it must not outlive the window it paints.
    saver.paletteGate.Open();
    g_paletteThread.Stop(kThreadStopLimit);
    DestroyPaletteEngine(palette);
  }
  AskCompanionToQuit();
}

bool RenderThreadExists() { return g_renderThread.Exists(); }

void StartRenderThread(SaverWindow* window) {
  g_renderThread.Start([window] {
    SetCurrentThreadPriority(ThreadPriority::BelowNormal);
    SaveScreen(window);
    ForgetCurrentThreadPriority();
  });
}

void StopRenderThread() { g_renderThread.Stop(kThreadStopLimit); }

}  // namespace fluxo
