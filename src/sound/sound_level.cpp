#include <atomic>
#include <cmath>

#include "controls/controls.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr float kStartPeak = 1e-11f;
constexpr float kStartFloor = 1e11f;
constexpr uint32_t kHomingOff = 1000;

// Automatic-gain state, shared by the render thread (module controls, homing)
// and the palette thread (palette parameters). Each value is read and written
// whole; a lost update between the two threads only shifts the gain a little.
struct GainTracker {
  std::atomic<float> peak{kStartPeak};
  std::atomic<float> floor{kStartFloor};

  void Reset() {
    peak.store(kStartPeak, std::memory_order_relaxed);
    floor.store(kStartFloor, std::memory_order_relaxed);
  }

  float Level(float x) {
    float top = peak.load(std::memory_order_relaxed);
    float bottom = floor.load(std::memory_order_relaxed);
    if (x > top) peak.store(top = x, std::memory_order_relaxed);
    if (x < bottom) floor.store(bottom = x, std::memory_order_relaxed);
    float level = x / (top - bottom);
    return level > 1.0f ? 1.0f : level;
  }

  // Moves the peak 2 % of the way toward the floor. A pair that has not seen
  // a level yet (peak still below floor) is left alone: homing it would drag
  // the peak up toward the huge start floor and mute the sound for minutes.
  void Home() {
    float top = peak.load(std::memory_order_relaxed);
    float bottom = floor.load(std::memory_order_relaxed);
    if (top < bottom) return;
    peak.store((49.0f * top + bottom) * 0.02f, std::memory_order_relaxed);
  }
};

GainTracker g_volume;
GainTracker g_band;
std::atomic<uint32_t> g_nextHomingTime{0};
std::atomic<bool> g_homingScheduled{false};

// A zero scale or a broken block gives infinities and NaN; a sound source
// reads them as full level (a positive level) or silence.
float Finite(float level) {
  if (std::isnan(level)) return 0.0f;
  if (std::isinf(level)) return level > 0.0f ? 1.0f : 0.0f;
  return level;
}

bool IsBand(int source) { return source >= kSourceFirstBand && source <= kSourceLastBand; }

float BandSum(const SoundFeedBlock& feed, int source) {
  size_t offset = static_cast<size_t>(source - kSourceFirstBand) * 4;
  return feed.F32(feed::kLeftBands + offset) + feed.F32(feed::kRightBands + offset);
}

// The channel level of Volume, Left or Right over `scale`.
float ChannelLevel(const SoundFeedBlock& feed, int source, float scale) {
  float left = feed.F32(feed::kLeftLevel);
  float right = feed.F32(feed::kRightLevel);
  if (source == kSourceLeft) return left / scale;
  if (source == kSourceRight) return right / scale;
  return (left + right) / (2.0f * scale);
}

float FixedLevel(const SoundFeedBlock& feed, int source) {
  if (IsBand(source)) return Finite(BandSum(feed, source) / (2.0f * feed.F32(feed::kBandScale)));
  return Finite(ChannelLevel(feed, source, feed.F32(feed::kLevelScale)));
}

float AutomaticLevel(const SoundFeedBlock& feed, int source) {
  bool band = IsBand(source);
  float x = band ? BandSum(feed, source) * 0.5f
                 : ChannelLevel(feed, source, static_cast<float>(feed.U32(feed::kAutoLevelScale)));
  if (!std::isfinite(x)) return Finite(x);  // never let a bad reading into the trackers
  return Finite((band ? g_band : g_volume).Level(x));
}

}  // namespace

float SoundLevel(int source) {
  SoundFeedBlock* feed = SoundFeed();
  if (!feed || source < kSourceVolume || source > kSourceLastBand) return 0.0f;
  return feed->U32(feed::kAutoGain) != 0 ? AutomaticLevel(*feed, source) : FixedLevel(*feed, source);
}

void HomeGain() {
  uint32_t rate = Main().homingRate;
  if (rate == kHomingOff) return;
  uint32_t now = GetTickCount();
  if (g_homingScheduled.load(std::memory_order_relaxed) &&
      !TickIsPast(now, g_nextHomingTime.load(std::memory_order_relaxed)))
    return;
  g_volume.Home();
  g_band.Home();
  g_nextHomingTime.store(now + 4 * rate + 50, std::memory_order_relaxed);
  g_homingScheduled.store(true, std::memory_order_relaxed);
}

void ResetGainTrackers() {
  g_volume.Reset();
  g_band.Reset();
  g_nextHomingTime.store(0, std::memory_order_relaxed);
  g_homingScheduled.store(false, std::memory_order_relaxed);
}

}  // namespace fluxo
