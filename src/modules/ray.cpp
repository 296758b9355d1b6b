#include "modules/ray.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/pixel_buffers.h"
#include "modules/kit/ring_sequence.h"
#include "modules/kit/ring_strips.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum RayControl {
  kFrequency = 0,
  kAmplitude = 1,
  kDensity = 2,
  kFolding = 3,
  kShiftRate = 4,
  kRayType = 5,
  kDuration = 6,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kDiffuse = 14,
};

constexpr int kTableSlack = 10;
constexpr int kIndices = 236;

struct RayModule {
  int width = 0;
  int height = 0;
  int perimeter = 0;  // P
  std::vector<uint8_t> table;
  kit::RingStrips strips;
  double frequency = 1.0;
  int32_t frequencyControl = 1;
  int32_t amplitude = 1;
  int32_t density = 1;
  int32_t foldCount = 0;
  int32_t shiftRate = 0;
  int rayType = 0;
  uint32_t duration = 0;
  int32_t columns = 1;
  int32_t rows = 1;
  int tileType = 0;
  int32_t diffuse = 0;
  kit::InwardRings rings;
  uint32_t startTime = 0;
  // The modulation's sine term, by table position (ray types 0, 2, 3) or by
  // entry value (type 1); it only changes with the frequency and amplitude.
  std::vector<int32_t> offsets;
  double offsetsFrequency = 0.0;
  int32_t offsetsAmplitude = 0;
  int offsetsType = -1;

  bool Allocated() const { return !table.empty(); }
  uint8_t Entry(int64_t i) const { return table[static_cast<size_t>(((i % perimeter) + perimeter) % perimeter)]; }
};

RayModule g_ray;

void RebuildOffsets() {
  RayModule& r = g_ray;
  const double f = r.frequency;
  const double a = r.amplitude;
  const int count = r.rayType == 1 ? 256 : r.perimeter;
  r.offsets.resize(static_cast<size_t>(count));
  const int step = static_cast<int>(f);
  for (int i = 0; i < count; ++i) {
    switch (r.rayType) {
      case 0:
      case 1:  // i is the entry's value for type 1
        r.offsets[i] = static_cast<int32_t>(std::sin(i / f) * a);
        break;
      case 2:
        r.offsets[i] = (SineTable[static_cast<int64_t>(i) * step % kSineTableSize] * r.amplitude) >> 12;
        break;
      default: {
        const int index = static_cast<int>(static_cast<int64_t>(i / f * 2048.0) % kSineTableSize);
        r.offsets[i] = static_cast<int32_t>(SineTable[index] * 6.103888e-5 * a);
        break;
      }
    }
  }
  r.offsetsFrequency = r.frequency;
  r.offsetsAmplitude = r.amplitude;
  r.offsetsType = r.rayType;
}

// Adds the sine term to every entry. Negative sums (type 2) are folded into
// 0..235 like the others, so the table only ever holds palette indices.
void Modulate() {
  RayModule& r = g_ray;
  if (r.offsetsFrequency != r.frequency || r.offsetsAmplitude != r.amplitude || r.offsetsType != r.rayType)
    RebuildOffsets();
  const int bias = r.amplitude + 1;
  uint8_t* entry = r.table.data();
  const int32_t* offset = r.offsets.data();
  if (r.rayType == 1) {
    for (int i = 0; i < r.perimeter; ++i) {
      const int v = (offset[entry[i]] + bias + entry[i]) % kIndices;
      entry[i] = static_cast<uint8_t>(v < 0 ? v + kIndices : v);
    }
    return;
  }
  for (int i = 0; i < r.perimeter; ++i) {
    const int v = (offset[i] + bias + entry[i]) % kIndices;
    entry[i] = static_cast<uint8_t>(v < 0 ? v + kIndices : v);
  }
}

// A positive rate moves the first entries to the end, a negative one the last to the front.
void Rotate(int rate) {
  RayModule& r = g_ray;
  const int shift = ((rate % r.perimeter) + r.perimeter) % r.perimeter;
  std::rotate(r.table.begin(), r.table.begin() + shift, r.table.begin() + r.perimeter);
}

void FillRamp() {
  RayModule& r = g_ray;
  float v = 0.0f;
  float step = static_cast<float>(r.density) * 0.05f;
  for (int i = 0; i < r.perimeter; ++i) {
    v += step;
    if (static_cast<int>(v) >= 237) {
      v = 235.0f;
      step = -step;
    } else if (v < 0.0f) {
      v = 0.0f;
      step = -step;
    }
    r.table[i] = static_cast<uint8_t>(static_cast<int>(v));
  }
}

// The whole table once around the ring: the bottom row left to right, the
// right column upwards, the top row leftwards and the left column downwards,
// each strip stretched from its side of the surface to the ring's.
void DrawRing(gdi::FrameSurface& surface, const kit::RingRect& ring) {
  RayModule& r = g_ray;
  const int w = r.width;
  const int h = r.height;
  if (r.foldCount > 0) {
    const int ringWidth = ring.right - ring.left + 1;
    r.strips.DrawFoldedRing(
        surface, ring, r.foldCount, r.diffuse, [&](int k) { return r.Entry(k); },
        [&](int k) { return r.Entry(int64_t{ringWidth} + k); });
    return;
  }
  const int ringWidth = ring.right - ring.left + 1;
  const int ringHeight = ring.bottom - ring.top + 1;
  r.strips.FillRow(w, r.diffuse, [&](int i) { return r.Entry(i); });
  r.strips.BlitRow(surface, ring.left, ring.bottom, ringWidth, w);
  r.strips.FillRow(w, r.diffuse, [&](int i) { return r.Entry(int64_t{2} * w + h - i); });
  r.strips.BlitRow(surface, ring.left, ring.top, ringWidth, w);
  r.strips.FillColumn(h, r.diffuse, [&](int i) { return r.Entry(int64_t{r.perimeter} - i); });
  r.strips.BlitColumn(surface, ring.left, ring.top, ringHeight, h);
  r.strips.FillColumn(h, r.diffuse, [&](int i) { return r.Entry(int64_t{w} + i); });
  r.strips.BlitColumn(surface, ring.right, ring.top, ringHeight, h);
}

int32_t Allocate(ModuleSlot* slot) {
  RayModule& r = g_ray;
  r.width = std::max(slot->width, 1);
  r.height = std::max(slot->height, 1);
  const int64_t perimeter = 2 * (int64_t{r.width} + r.height);
  if (!r.strips.Allocate(r.width, r.height) || !kit::AllocateZeroed(r.table, perimeter + kTableSlack)) {
    r.strips.Release();
    std::vector<uint8_t>().swap(r.table);
    kit::ReportBufferFailure();
  } else {
    r.perimeter = static_cast<int>(perimeter);
  }
  r.offsetsType = -1;
  r.startTime = GetTickCount();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  RayModule& r = g_ray;
  if (!r.Allocated()) return 0;
  const int32_t* value = slot->controls.value;
  r.frequency = value[kFrequency] + Rand() % 6;
  r.amplitude = value[kAmplitude] + Rand() % 6;
  r.density = value[kDensity] + Rand() % 6;
  r.foldCount = 2 * value[kFolding];
  r.shiftRate = value[kShiftRate];
  r.rayType = std::clamp(value[kRayType], 0, 3);
  r.duration = static_cast<uint32_t>(value[kDuration]) * 1000u;
  r.columns = value[kXTiling];
  r.rows = value[kYTiling];
  r.tileType = value[kTileType];
  r.diffuse = value[kDiffuse];
  r.rings.Restart(r.width, r.height);
  FillRamp();
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  RayModule& r = g_ray;
  if (!r.Allocated()) return 0;
  const uint32_t now = GetTickCount();
  if (static_cast<int32_t>(now - r.startTime) < 0) return 42;
  if (EvaluateLiveControl(*slot, kFrequency, r.frequencyControl)) r.frequency = r.frequencyControl;
  // A driven frequency is still a divisor.
  r.frequency = std::max(r.frequency, 1.0);
  EvaluateLiveControl(*slot, kAmplitude, r.amplitude);
  EvaluateLiveControl(*slot, kDensity, r.density);
  EvaluateLiveControl(*slot, kFolding, r.foldCount);
  EvaluateLiveControl(*slot, kShiftRate, r.shiftRate);
  EvaluateLiveControl(*slot, kXTiling, r.columns);
  EvaluateLiveControl(*slot, kYTiling, r.rows);
  EvaluateLiveControl(*slot, kDiffuse, r.diffuse);

  Rotate(r.shiftRate);
  Modulate();
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  const kit::TileLayout layout = kit::TileLayout::ForSurface(r.width, r.height, r.columns, r.rows, r.tileType);
  if (r.rings.DrawFrame(surface, layout, [&](const kit::RingRect& ring) { DrawRing(surface, ring); })) return 0;
  r.startTime = now + r.duration;
  Initialise(slot);
  return 0;
}

int32_t Free(ModuleSlot*) {
  RayModule& r = g_ray;
  r.strips.Release();
  std::vector<uint8_t>().swap(r.table);
  std::vector<int32_t>().swap(r.offsets);
  return 0;
}

}  // namespace

namespace ray {
std::span<const uint8_t> PerimeterTable() {
  return {g_ray.table.data(), g_ray.Allocated() ? static_cast<size_t>(g_ray.perimeter) : 0};
}
}  // namespace ray

const ModuleOperations kRayOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
