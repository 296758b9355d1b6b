#include "modules/bitmap.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/kit/file_mask.h"
#include "modules/kit/index_picture.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/picture_loading.h"
#include "modules/kit/ticket_lock.h"
#include "platform/system/folders.h"
#include "platform/system/priority.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"
#include "platform/system/worker_thread.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

enum BitmapControl {
  kDisplayType = 0,
  kForceGradient = 1,
  kDuration = 2,
  kSmoothing = 3,
  kRandomOrder = 4,
  kFileOrScreen = 5,
};

enum DisplayType { kCentred = 0, kStretched = 1, kMirroredTiles = 2, kTiles = 3 };

constexpr auto kLoaderStopLimit = std::chrono::milliseconds(2000);

struct LoaderSettings {
  int displayType = kStretched;
  bool forceGrey = false;
  uint32_t intervalMs = 0;
  int smoothing = 0;
  bool randomOrder = false;
  bool screen = false;
  std::string path;
};

// The flags one loader shares with the render thread. Each loader has its
// own, so a loader left behind by a stop that timed out only ever sees
// itself stopped, whatever runs after it.
class LoaderRun {
 public:
  void Stop() {
    {
      std::lock_guard guard(mutex_);
      running_ = false;
      drawRequest_ = true;
    }
    changed_.notify_all();
  }
  void RequestDraw() {
    {
      std::lock_guard guard(mutex_);
      drawRequest_ = true;
    }
    changed_.notify_all();
  }
  bool Running() {
    std::lock_guard guard(mutex_);
    return running_;
  }
  // Both return whether the run goes on.
  bool SleepWhileRunning(uint32_t ms) {
    std::unique_lock guard(mutex_);
    changed_.wait_for(guard, std::chrono::milliseconds(ms), [&] { return !running_; });
    return running_;
  }
  bool WaitForDrawRequest() {
    std::unique_lock guard(mutex_);
    changed_.wait(guard, [&] { return drawRequest_; });
    return running_;
  }
  void MarkEnded() { ended_.store(true); }
  bool Ended() const { return ended_.load(); }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool running_ = true;
  bool drawRequest_ = false;
  std::atomic<bool> ended_{false};
};

// Everything a loader works with, copied when it starts.
struct LoaderJob {
  std::shared_ptr<LoaderRun> run;
  std::shared_ptr<kit::TicketLock> lock;
  gdi::FrameSurface* surface = nullptr;
  int grabWidth = 0;
  int grabHeight = 0;
  uint32_t seed = 0;  // the tick count when the loader was started
  LoaderSettings settings;
};

// The render thread's side. The render thread holds the drawing lock from
// allocate to free except inside this module's frame, so a loader draws only
// while the other modules do not.
struct BitmapModule {
  std::shared_ptr<kit::TicketLock> lock;
  bool lockHeld = false;
  int grabWidth = 0;
  int grabHeight = 0;
  LoaderSettings settings;
  uint32_t nextChange = 0;
  bool changeDue = true;
  std::shared_ptr<LoaderRun> run;
  WorkerThread loader;
};

BitmapModule g_bitmap;
std::atomic<uint32_t> g_lastPictureIndex{0};

class LockHold {
 public:
  explicit LockHold(kit::TicketLock& lock) : lock_(lock) { lock_.Acquire(); }
  ~LockHold() { lock_.Release(); }
  LockHold(const LockHold&) = delete;
  LockHold& operator=(const LockHold&) = delete;

 private:
  kit::TicketLock& lock_;
};

std::optional<kit::IndexPicture> LoadPicture(const LoaderSettings& settings) {
  uint32_t index = g_lastPictureIndex.load();
  std::string path;
  if (!kit::PickFile(settings.path, path, settings.randomOrder, index)) return std::nullopt;
  g_lastPictureIndex.store(index);
  std::optional<kit::SourceDib> source = kit::LoadPictureFile(path);
  if (!source) return std::nullopt;
  return kit::ConvertToIndexPicture(*source, settings.forceGrey);
}

// The whole surface shrunk to the grab size, each pixel the grey level of
// the colour it shows now.
kit::IndexPicture GrabSurface(gdi::FrameSurface& surface, int width, int height) {
  kit::IndexPicture picture;
  picture.width = width;
  picture.height = height;
  picture.topDown = true;
  picture.pixels.assign(picture.Stride() * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>(int64_t{y} * surface.Height() / height);
    uint8_t* out = picture.pixels.data() + static_cast<size_t>(y) * picture.Stride();
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(int64_t{x} * surface.Width() / width);
      const uint32_t argb = surface.Palette().Entry(surface.PixelAt(sx, sy));
      out[x] = kit::NearestGrey((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    }
  }
  return picture;
}

void DrawPicture(gdi::FrameSurface& surface, const kit::IndexPicture& picture, int displayType) {
  const int w = picture.width;
  const int h = picture.height;
  const int W = surface.Width();
  const int H = surface.Height();
  const gdi::DibInfo info = picture.Info();
  const uint8_t* bits = picture.pixels.data();
  auto tile = [&](int x, int y, int width, int height) {
    surface.StretchDib(x, y, width, height, 0, 0, w, h, bits, info);
  };
  switch (displayType) {
    case kCentred:
      tile(W / 2 - w / 2, H / 2 - h / 2, w, h);
      return;
    case kStretched:
      tile(0, 0, W, H);
      return;
    case kMirroredTiles: {
      tile(0, 0, w, h);
      // Copies alternate mirrored and straight, each widened by a pixel so the seams close.
      bool mirrored = true;
      for (int64_t x = w; x < W; x += w, mirrored = !mirrored) {
        if (mirrored)
          tile(static_cast<int>(x + w), 0, -(w + 1), h);
        else
          tile(static_cast<int>(x - 1), 0, w + 1, h);
      }
      mirrored = true;
      for (int64_t y = h; y < H; y += h, mirrored = !mirrored) {
        if (mirrored)
          surface.StretchBlt(0, static_cast<int>(y + h), W, -(h + 1), 0, 0, W, h);
        else
          surface.StretchBlt(0, static_cast<int>(y - 1), W, h + 1, 0, 0, W, h);
      }
      return;
    }
    default:
      tile(0, 0, w, h);
      for (int64_t x = w - 1; x < W; x += w) tile(static_cast<int>(x), 0, w, h);
      for (int64_t y = h - 1; y < H; y += h) surface.BitBlt(0, static_cast<int>(y), W, h, 0, 0);
      return;
  }
}

void LoadAndShow(const LoaderJob& job) {
  LoaderRun& run = *job.run;
  const LoaderSettings& settings = job.settings;
  SeedRandom(job.seed);
  std::optional<kit::IndexPicture> picture;
  if (settings.screen) {
    if (!run.SleepWhileRunning(settings.intervalMs / 2 + 1000)) return;
    LockHold hold(*job.lock);
    if (!run.Running() || job.grabWidth <= 0 || job.grabHeight <= 0) return;
    picture = GrabSurface(*job.surface, job.grabWidth, job.grabHeight);
  } else {
    picture = LoadPicture(settings);
    if (!picture) return;
  }
  for (int pass = 0; pass < settings.smoothing && run.Running(); ++pass) kit::SmoothPicture(*picture);
  if (!run.WaitForDrawRequest()) return;
  LockHold hold(*job.lock);
  if (run.Running()) DrawPicture(*job.surface, *picture, settings.displayType);
}

void LoaderBody(const LoaderJob& job) {
  SetCurrentThreadPriority(ThreadPriority::BelowNormal);
  try {
    LoadAndShow(job);
  } catch (...) {
    RecordException("LoadAndConvertDIB");
  }
  ForgetCurrentThreadPriority();
  job.run->MarkEnded();
}

void ReadSettings(ModuleSlot& slot) {
  RandomizeControls(slot);
  EvaluateSourcedControls(slot);
  const int32_t* value = slot.controls.value;
  LoaderSettings& s = g_bitmap.settings;
  s.displayType = value[kDisplayType];
  s.forceGrey = value[kForceGradient] != 0;
  s.intervalMs = static_cast<uint32_t>(value[kDuration]) * 1000u;
  s.smoothing = value[kSmoothing];
  s.randomOrder = value[kRandomOrder] != 0;
  s.screen = value[kFileOrScreen] != 0;
  s.path.assign(slot.path, strnlen(slot.path, sizeof slot.path));
  if (s.path.empty()) s.path = WindowsFolder() + "/*.BMP";
}

void StartLoader(ModuleSlot& slot) {
  ReadSettings(slot);
  if (g_bitmap.run) g_bitmap.run->Stop();  // a loader still waiting to draw gives way
  g_bitmap.loader.Stop(kLoaderStopLimit);
  g_bitmap.run = std::make_shared<LoaderRun>();
  LoaderJob job{g_bitmap.run,        g_bitmap.lock,           &kit::ModuleSurface(slot), g_bitmap.grabWidth,
                g_bitmap.grabHeight, TickSeed(kModuleBitmap), g_bitmap.settings};
  g_bitmap.loader.Start([job = std::move(job)] { LoaderBody(job); });
}

void ReleaseLock() {
  if (!g_bitmap.lockHeld) return;
  g_bitmap.lockHeld = false;
  g_bitmap.lock->Release();
}

void TakeLock() {
  if (g_bitmap.lockHeld || !g_bitmap.lock) return;
  g_bitmap.lock->Acquire();
  g_bitmap.lockHeld = true;
}

int32_t Allocate(ModuleSlot* slot) {
  g_bitmap.lock = std::make_shared<kit::TicketLock>();
  g_bitmap.lockHeld = false;
  TakeLock();
  g_bitmap.grabWidth = (slot->width + 1) / 2;
  g_bitmap.grabHeight = (slot->height + 1) / 2;
  g_bitmap.changeDue = true;
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  if (!g_bitmap.lock) return 0;
  StartLoader(*slot);
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (!g_bitmap.lock) return 0;
  ReleaseLock();
  if (g_bitmap.changeDue || TickIsPast(GetTickCount(), g_bitmap.nextChange)) {
    if (g_bitmap.run) g_bitmap.run->RequestDraw();
    std::this_thread::yield();
    if (!g_bitmap.run || g_bitmap.run->Ended()) {
      StartLoader(*slot);
      g_bitmap.nextChange = GetTickCount() + g_bitmap.settings.intervalMs;
      g_bitmap.changeDue = false;
    }
  }
  TakeLock();
  return 0;
}

int32_t Free(ModuleSlot*) {
  if (g_bitmap.run) g_bitmap.run->Stop();
  ReleaseLock();
  g_bitmap.loader.Stop(kLoaderStopLimit);
  g_bitmap.run.reset();
  g_bitmap.lock.reset();
  return 0;
}

}  // namespace

const ModuleOperations kBitmapOperations{Frame, Allocate, Initialise, Free};

uint32_t LastPictureIndex() { return g_lastPictureIndex.load(); }

}  // namespace fluxo
