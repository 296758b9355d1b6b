#include "engine/render_thread.h"

#include <pthread.h>

#include <chrono>
#include <memory>
#include <thread>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "engine/overlay.h"
#include "engine/saver_window.h"
#include "palette/palette_engine.h"
#include "platform/system/priority.h"
#include "platform/system/random.h"
#include "platform/system/saver_state.h"
#include "platform/system/startup_trace.h"
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

// What a run needs of its window, taken on the window thread when the run
// starts: the render thread never touches the window, which may be gone
// before the thread ends, and its shares keep the surface and the feed alive.
struct RunTarget {
  std::shared_ptr<gdi::PresentedSurface> surface;
  std::shared_ptr<void> feed;
  int clientWidth = 0;
  int clientHeight = 0;
  int screenWidth = 0;
  int screenHeight = 0;
};

WorkerThread g_renderThread;
// Render threads whose body has not returned, including one left running
// after a stop timed out: no second run may start beside it.
std::atomic<int> g_liveRuns{0};
RunOverrides g_overrides;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Running() { return Saver().saverRunning.load(std::memory_order_relaxed) != 0; }

// A pause that a stop cuts short.
void PauseWhileRunning(int ms) {
  for (int waited = 0; waited < ms && Running(); waited += 10) SleepMs(10);
}

void ClearSlots(gdi::FrameSurface& surface) {
  ClearModuleTable();
  for (ModuleSlot& slot : Modules().slots) {
    slot.width = surface.Width();
    slot.height = surface.Height();
    slot.dc = &surface;
  }
}

void SetUpSurface(const RunTarget& target) {
  bool full = target.clientWidth == target.screenWidth && target.clientHeight == target.screenHeight;
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

void StartCompanionIfWanted(const RunTarget& target) {
  Saver().launchedCompanion = 0;
  SoundFeedBlock* feed = SoundFeed();
  if (!Main().autoRun || !feed || feed->U32(feed::kCompanionActive) != 0) return;
  LaunchCompanion(target.clientHeight, target.screenHeight, true);
  InitialiseRegistryForRun();
  Saver().launchedCompanion = 1;
}

using PaletteShare = std::shared_ptr<PaletteState>;

// Without an engine the run goes on without palette animation. The palette
// thread holds the engine and the surface it paints for as long as it runs.
void StartPaletteThread(WorkerThread& thread, const PaletteShare& palette, const RunTarget& target) {
  if (!palette) return;
  Saver().paletteReady.store(0);
  thread.Start([palette, surface = target.surface] {
    pthread_setname_np(pthread_self(), "fluxo palette");  // names the thread for top and bench/saver_cpu.sh
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

// `priorityClass` is taken once the first frame is out: at idle priority on
// a busy machine the first frame would wait for everything else.
void FrameLoop(gdi::FrameSurface& surface, uint32_t priorityClass) {
  SaverState& saver = Saver();
  const uint32_t blankTimeout = Main().blankTimeout;
  const uint32_t blankDeadline = GetTickCount() + blankTimeout * 60000u;
  bool firstFrame = true;
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
    if (firstFrame) SetProcessPriorityClass(priorityClass);
    firstFrame = false;
    if (SpeedPauses(frame, Main().speed.load(std::memory_order_relaxed))) SleepMs(10);
    ServeRequests();
  }
}

void StopPaletteThread(WorkerThread& thread) {
  Saver().saverRunning.store(0);
  Saver().paletteGate.Open();  // a suspended palette thread must see the end
  thread.Stop(kThreadStopLimit);
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

// The render thread's body. A stop that comes during start-up (before the
// frame loop) skips the remaining steps.
void SaveScreen(const RunTarget& target) {
  SaverState& saver = Saver();
  WorkerThread paletteThread;
  PaletteShare palette;
  try {
    if (saver.modeSwitched.load()) PauseWhileRunning(1000);  // let the new video mode settle
    TraceStartup("render thread started");
    SeedRandom(TickSeed());
    gdi::FrameSurface& surface = *target.surface->surface;
    ClearSlots(surface);
    palette = PaletteShare(CreatePaletteEngine(&surface), DestroyPaletteEngine);
    SetUpSurface(target);
    if (Running()) InitialiseRegistryForRun();
    TraceStartup("registry initialised");
    if (Running()) StartCompanionIfWanted(target);
    SoundFeedBlock* feed = SoundFeed();
    const uint32_t priorityClass = feed && feed->U32(feed::kCompanionActive) ? kPriorityNormal : Main().priority;
    if (Main().clearFirst) surface.FillRect(surface.ClientRect(), gdi::Brush::StockBlack());
    if (Running()) {
      StartPaletteThread(paletteThread, palette, target);
      TurnSequenceIntoRandomRun();
    }
    if (Running()) {
      StartModules();
      TraceStartup("modules started");
      saver.startTime.store(GetTickCount());
      FrameLoop(surface, priorityClass);
      ForEachRunnableModule([](ModuleSlot& slot) { slot.free(&slot); });
    }
    StopPaletteThread(paletteThread);
  } catch (...) {
    saver.saverRunning.store(0);
    RecordException("SaveScreen");
    // The modules stay as the fault left them, but the palette thread, which
    // ends by itself now, is waited for.
    StopPaletteThread(paletteThread);
  }
  AskCompanionToQuit();
}

bool RenderThreadExists() { return g_renderThread.Exists() || g_liveRuns.load() > 0; }

void StartRenderThread(SaverWindow* window) {
  if (RenderThreadExists()) return;
  RunTarget target{window->SurfaceOwner(), RetainSoundFeed(), window->ClientWidth(), window->ClientHeight(),
                   window->ScreenWidth(), window->ScreenHeight()};
  // Set here rather than by the thread, so that a stop which comes before the
  // thread gets going is not undone.
  Saver().saverRunning.store(1);
  g_liveRuns.fetch_add(1);
  g_renderThread.Start([target = std::move(target)] {
    pthread_setname_np(pthread_self(), "fluxo render");
    SetCurrentThreadPriority(ThreadPriority::BelowNormal);
    SaveScreen(target);
    ForgetCurrentThreadPriority();
    g_liveRuns.fetch_sub(1);
  });
}

void StopRenderThread() { g_renderThread.Stop(kThreadStopLimit); }

}  // namespace fluxo
