#include <cmath>
#include <cstdlib>
#include <limits>

#include "controls/controls.h"
#include "platform/system/random.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

// 1/16383: maps a SineTable entry to about -1..1.
constexpr float kSineScale = 6.103888e-5f;

// The phase grows by sense/400 of a turn per evaluation. Whole turns are
// dropped once it is large: a float phase that keeps growing loses the small
// steps after a few days of play and would stop the oscillation.
constexpr float kPhaseWrapTurns = 256.0f;

bool FeedFlagsSet(size_t syncField) {
  SoundFeedBlock* feed = SoundFeed();
  return feed && feed->U32(syncField) != 0 && feed->U32(feed::kCompanionActive) != 0;
}

bool IsLive(int source, size_t syncField) {
  if (source == kSourceOscillate) return true;
  if (source < kSourceVolume) return false;
  return FeedFlagsSet(syncField);
}

bool TurboMode() {
  SoundFeedBlock* feed = SoundFeed();
  return feed && feed->U32(feed::kTurboMode) != 0;
}

float Oscillate(float& drift, float sense, float low, float span, bool reversed) {
  drift = drift + sense * 0.0025f;
  if (std::fabs(drift) >= kPhaseWrapTurns) drift -= std::floor(drift);
  int index = static_cast<int>(drift * 2048.0f) & (kSineTableSize - 1);
  float f = static_cast<float>(SineTable[index]) * kSineScale * 0.5f + 0.5f;
  if (reversed) f = 1.0f - f;
  return f * span + low;
}

float FollowSound(int source, float& drift, float sense, float low, float span, bool rising) {
  if (source > kSourceVolume && TurboMode()) source = kSourceVolume;
  float level = SoundLevel(source);
  float x = rising ? level * sense : (1.0f - level) * sense;
  drift = (x + (10.0f - sense) * drift) * 0.1f;
  return span * drift + low;
}

// One evaluation of a control with its own fields, truncated.
int32_t EvaluateControl(ControlBlock& c, int index) {
  return TruncateSourceResult(EvaluateSource(c.source[index], c.drift[index], static_cast<float>(c.sense[index]),
                                             static_cast<float>(c.rangeLo[index]),
                                             static_cast<float>(c.rangeHi[index])));
}

}  // namespace

bool IsLiveSource(int source) { return IsLive(source, feed::kModuleSync); }

bool IsLivePaletteSource(int source) { return IsLive(source, feed::kPaletteSync); }

float EvaluateSource(int source, float& drift, float sense, float lo, float hi) {
  // A level far past its scale can push the smoothed state to infinity; start
  // such a control afresh rather than let it stick at NaN.
  if (!std::isfinite(drift)) drift = 0.5f;
  float low = lo < hi ? lo : hi;
  float high = lo < hi ? hi : lo;
  float span = high - low;
  if (source == kSourceOscillate) return Oscillate(drift, sense, low, span, lo > hi);
  return FollowSound(source, drift, sense, low, span, lo < hi);
}

int32_t TruncateSourceResult(float result) {
  // A band level over its scale may drive the result far past the range; the
  // conversion saturates instead of overflowing.
  if (std::isnan(result)) return 0;
  if (result >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
  if (result <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(result);
}

void RandomizeControls(ModuleSlot& slot) {
  ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i) {
    if (c.source[i] == kSourceSet) continue;
    int64_t lo = c.rangeLo[i];
    int64_t hi = c.rangeHi[i];
    int64_t low = lo < hi ? lo : hi;
    int64_t span = std::llabs(hi - lo);
    c.value[i] = static_cast<int32_t>(low + Rand() % (span + 1));
  }
}

void EvaluateSourcedControls(ModuleSlot& slot) {
  ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i)
    if (c.source[i] >= kSourceOscillate) c.value[i] = EvaluateControl(c, i);
}

bool EvaluateLiveControl(ModuleSlot& slot, int index, int32_t& working) {
  ControlBlock& c = slot.controls;
  if (!c.soundCapable[index] || !IsLiveSource(c.source[index])) return false;
  working = EvaluateControl(c, index);
  return true;
}

void ClampControls(ModuleSlot& slot) {
  ControlBlock& c = slot.controls;
  for (int i = 0; i < kControlCount; ++i) {
    if (c.value[i] < c.minValue[i] || c.value[i] > c.maxValue[i]) c.value[i] = c.defaultValue[i];
    if (c.rangeLo[i] < c.minValue[i] || c.rangeLo[i] > c.maxValue[i]) c.rangeLo[i] = c.minValue[i];
    if (c.rangeHi[i] > c.maxValue[i] || c.rangeHi[i] < c.minValue[i]) c.rangeHi[i] = c.maxValue[i];
  }
}

}  // namespace fluxo
