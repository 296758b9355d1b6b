#include "modules/pattern.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/coordinate_warp.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/pixel_buffers.h"
#include "modules/kit/ring_sequence.h"
#include "modules/kit/ring_strips.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum PatternControl {
  kWaves = 0,
  kTurbulence = 1,
  kType = 2,
  kImageDuration = 3,
  kTurbulenceType = 4,
  kPatternDensity = 5,
  kWaveType = 6,
  kFolding = 7,
  kParametric = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kDiffuse = 14,
  kBanding = 15,
};

constexpr int kGenerators = 21;
constexpr int kWavelengths = 31;
constexpr int kWaveEntries = 2048;

struct PatternModule {
  int width = 0;
  int height = 0;
  int maxX = 0;  // M
  int maxY = 0;  // N
  std::vector<int32_t> columnProfile;
  std::vector<int32_t> rowProfile;
  std::vector<int32_t> wave;
  kit::RingStrips strips;
  kit::Profile c;  // C, read clamped
  kit::Profile r;  // R
  int waves = 1;
  int generator = 0;
  int shift = 6;
  int band = 1;
  int xorDivisor = 1;
  float f1 = 0.0f;
  float f2 = 0.0f;
  int foldCount = 0;
  int diffuse = 0;
  int columns = 1;
  int rows = 1;
  int tileType = 0;
  uint32_t imageDuration = 0;
  std::array<float, kWavelengths> lambdaX{};
  std::array<float, kWavelengths> lambdaY{};
  kit::CoordinateWarp warp;
  kit::InwardRings rings;
  uint32_t startTime = 0;

  bool Allocated() const { return !wave.empty(); }
  int32_t T(float position) const {
    return wave[static_cast<size_t>(static_cast<int64_t>(position) & (kWaveEntries - 1))];
  }
};

PatternModule g_pattern;

int Mod(int v, int m) { return m == 0 ? 0 : v % m; }

// Which of the profile values a band selector picks: 0 the value itself, then
// the point, vertical and horizontal mirror images.
int Variant(int q, int value, int x, int y) {
  const PatternModule& p = g_pattern;
  switch (q & 3) {
    case 1:
      return p.c[p.maxX - x] + p.r[p.maxY - y];
    case 2:
      return p.c[x] + p.r[p.maxY - y];
    case 3:
      return p.c[p.maxX - x] + p.r[y];
    default:
      return value;
  }
}

// The average of the wave-table sums along both axes.
int WaveSum(int x, int y) {
  const PatternModule& p = g_pattern;
  int sum = 0;
  for (int k = 0; k < p.waves; ++k)
    sum += std::abs(p.T(static_cast<float>(x) / p.lambdaX[k]) + p.T(static_cast<float>(y) / p.lambdaY[k]));
  return sum / p.waves;
}

int XorTerm(int x, float factor) { return static_cast<int>(static_cast<float>(x) * factor) % 236; }

int Generate(int x, int y) {
  const PatternModule& p = g_pattern;
  const int s = p.shift;
  const bool oddParity = (x + y) % 2 == 1;
  const int ux = x;
  const int uy = y;
  auto A = [&] { return std::abs(p.c[x] + p.r[y]); };
  auto Ap = [&] { return std::abs(p.c[p.maxX - x] + p.r[p.maxY - y]); };
  auto band = [&](int v) { return (v / p.band) & 3; };
  switch (p.generator) {
    case 0:
      p.warp.Apply(x, y);
      return (p.c[x] + p.r[y]) >> s;
    case 1: {
      p.warp.Apply(x, y);
      const int v = p.c[x] + p.r[y];
      return Variant(band(v), v, x, y) >> s;
    }
    case 2:
    case 5: {
      const int f2 = XorTerm(uy, p.f2);
      p.warp.Apply(x, y);
      const int v = p.generator == 2 ? p.c[x] + p.r[y] : A();
      return ((v >> s) & 31) + (XorTerm(x, p.f1) ^ f2) / p.xorDivisor;
    }
    case 3:
      p.warp.Apply(x, y);
      return A() >> s;
    case 4: {
      p.warp.Apply(x, y);
      const int a = A();
      return std::abs(Variant(band(a), a, x, y)) >> s;
    }
    case 6:
      p.warp.Apply(x, y);
      return WaveSum(x, y) >> s;
    case 7: {
      p.warp.Apply(x, y);
      const int v = WaveSum(x, y);
      return std::abs(Variant(band(v), v, x, y)) >> s;
    }
    case 8: {
      p.warp.Apply(x, y);
      const int v = WaveSum(x, y);
      switch (Mod(v / p.band, 3)) {
        case 1:
          return Ap() >> s;
        case 2:
          return std::abs(p.r[Mod(2 * y, p.maxY)] + p.c[Mod(2 * x, p.maxX)]) >> s;
        default:
          return v >> s;
      }
    }
    case 9: {
      p.warp.Apply(x, y);
      const int v = p.c[x] + p.r[y];
      return Variant((x + y) & 3, v, x, y) >> s;
    }
    case 10:
      p.warp.Apply(x, y);
      return (oddParity ? A() : Ap()) >> s;
    case 11:
      p.warp.Apply(x, y);
      return (A() & Ap()) >> s;
    case 12:
      p.warp.Apply(x, y);
      return (A() >> s) + ((Ap() >> s) & 15);
    case 13:
      p.warp.Apply(x, y);
      return (A() + Ap()) >> (s + 1);
    case 14: {
      p.warp.Apply(x, y);
      const int u = (p.c[x] + p.r[y]) >> (s + 6);
      return std::abs(p.c[Mod(100 * u + x, p.maxX)] + p.r[Mod(100 * u + y, p.maxY)]) >> s;
    }
    case 15: {
      const int a = oddParity ? A() : Ap();
      p.warp.Apply(x, y);
      const int q = band(a);
      return (q == 0 ? a : std::abs(Variant(q, a, x, y))) >> s;
    }
    case 16: {
      p.warp.Apply(x, y);
      const int k = oddParity ? 0 : 1;
      return std::abs(p.T(static_cast<float>(x) / p.lambdaX[k]) + p.T(static_cast<float>(y) / p.lambdaY[k])) >> (s + 1);
    }
    case 17:
      if (!oddParity) return XorTerm(ux, p.f1) ^ XorTerm(uy, p.f2);
      p.warp.Apply(x, y);
      return (p.c[x] + p.r[y]) >> s;
    case 18:
      p.warp.Apply(x, y);
      return oddParity ? A() >> 7 : Ap() >> 5;
    case 19:
      p.warp.Apply(x, y);
      if (oddParity)
        return (A() >> s) + ((Ap() >> s) & 7) + ((std::abs(p.c[y] + p.r[p.maxY - y]) >> s) & 7);
      return (Ap() >> s) + ((std::abs(p.c[p.maxX - x] + p.r[y]) >> s) & 7) + ((A() >> s) & 7);
    default: {
      if (p.warp.polarOn) p.warp.ApplyPolar(x, y);
      if (p.warp.turbulence.on && (x + y) % 2 == 1) p.warp.ApplyTurbulence(x, y);
      return std::abs(p.T(static_cast<float>(x) / p.lambdaX[0]) + p.T(static_cast<float>(y) / p.lambdaY[0])) >> (s + 1);
    }
  }
}

// Fills the wave table by wave type and returns the base wavelength.
float FillWaveTable(int waveType) {
  if (waveType == 0 || waveType > 6) waveType = 1 + Rand() % 6;
  int32_t* wave = g_pattern.wave.data();
  float base = 0.02f;
  switch (waveType) {
    case 1:
    case 4:
      FillStandardTriangle(wave);
      break;
    case 2:
    case 5:
      FillSineWave(wave);
      break;
    default:
      FillJaggedWave(wave);
      base = 0.2f;
      break;
  }
  if (waveType >= 4) {
    RoughenWave(wave);
    base += 0.2f;
  }
  return base;
}

// One profile: the average of `waves` wave-table reads along the axis.
void FillProfile(std::vector<int32_t>& profile, int last, int offset, const std::array<float, kWavelengths>& lambda,
                 bool absolute) {
  const PatternModule& p = g_pattern;
  for (int i = 0; i <= last; ++i) {
    int sum = 0;
    for (int k = 0; k < p.waves; ++k) {
      const int32_t t = p.T(static_cast<float>(i + offset) / lambda[k]);
      sum += absolute ? std::abs(t) : t;
    }
    profile[i] = sum / p.waves;
  }
}

int32_t Allocate(ModuleSlot* slot) {
  PatternModule& p = g_pattern;
  p.width = std::max(slot->width, 1);
  p.height = std::max(slot->height, 1);
  p.maxX = p.width - 1;
  p.maxY = p.height - 1;
  const bool ok = kit::AllocateZeroed(p.columnProfile, int64_t{p.maxX} + 2) &&
                  kit::AllocateZeroed(p.rowProfile, int64_t{p.maxY} + 2) && p.strips.Allocate(p.width, p.height) &&
                  kit::AllocateZeroed(p.wave, kWaveEntries);
  if (!ok) {
    std::vector<int32_t>().swap(p.columnProfile);
    std::vector<int32_t>().swap(p.rowProfile);
    std::vector<int32_t>().swap(p.wave);
    p.strips.Release();
    kit::ReportBufferFailure();
  }
  p.startTime = GetTickCount();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  PatternModule& p = g_pattern;
  if (!p.Allocated()) return 0;
  const int32_t* value = slot->controls.value;
  p.waves = std::max(value[kWaves], 1);
  p.generator = value[kType];
  p.imageDuration = static_cast<uint32_t>(value[kImageDuration]) * 1000u;
  p.foldCount = 2 * value[kFolding];
  p.columns = value[kXTiling];
  p.rows = value[kYTiling];
  p.tileType = value[kTileType];
  p.diffuse = value[kDiffuse];
  p.band = 20 * value[kBanding];
  if (p.generator >= kGenerators) {
    p.waves = 1 + Rand() % p.waves;
    p.generator = Rand() % kGenerators;
  }
  p.waves = std::min(p.waves, kWavelengths);
  p.rings.Restart(p.width, p.height);
  const int offsetX = Rand() % 236;
  const int offsetY = Rand() % 236;
  p.f1 = kit::RandUnit() + 0.05f;
  p.f2 = kit::RandUnit() + 0.05f;
  p.warp.maxX = p.maxX;
  p.warp.maxY = p.maxY;
  p.warp.polarOn = value[kParametric] != 0;
  p.warp.polar = kit::DrawPolarMapping(p.maxX, p.maxY);
  p.warp.turbulence = kit::SetUpTurbulence(value[kTurbulence], value[kTurbulenceType]);
  if (p.band == 0) p.band = 1 + Rand() % 20000;
  p.xorDivisor = 1 + Rand() % 12;
  p.band += 2048;
  p.shift = 6 + Rand() % 2;
  const float base = FillWaveTable(value[kWaveType]);
  for (int k = 0; k < kWavelengths; ++k) {
    RandomizeControls(*slot);
    const float density = static_cast<float>(slot->controls.value[kPatternDensity]);
    p.lambdaX[k] = kit::RandUnit() * 0.1f + density * 0.01f + base;
    RandomizeControls(*slot);
    p.lambdaY[k] = kit::RandUnit() * 0.8f + density * 0.01f * 0.8f + base;
  }
  // Generators 3 to 8 read the signed waves, all others their magnitude.
  const bool absolute = p.generator < 3 || p.generator > 8;
  FillProfile(p.rowProfile, p.maxY, offsetY, p.lambdaY, absolute);
  FillProfile(p.columnProfile, p.maxX, offsetX, p.lambdaX, absolute);
  p.c = {p.columnProfile.data(), static_cast<int>(p.columnProfile.size())};
  p.r = {p.rowProfile.data(), static_cast<int>(p.rowProfile.size())};
  p.warp.columns = p.c;
  p.warp.rows = p.r;
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  PatternModule& p = g_pattern;
  if (!p.Allocated()) return 0;
  const uint32_t now = GetTickCount();
  if (static_cast<int32_t>(now - p.startTime) < 0) return 42;
  EvaluateLiveControl(*slot, kXTiling, p.columns);
  EvaluateLiveControl(*slot, kYTiling, p.rows);
  EvaluateLiveControl(*slot, kFolding, p.foldCount);
  EvaluateLiveControl(*slot, kDiffuse, p.diffuse);

  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  const kit::TileLayout layout = kit::TileLayout::ForSurface(p.width, p.height, p.columns, p.rows, p.tileType);
  const bool drawing = p.rings.DrawFrame(surface, layout, [&](const kit::RingRect& ring) {
    p.strips.DrawRing(surface, ring, p.foldCount, p.diffuse,
                      [](int x, int y) { return static_cast<uint8_t>(Generate(x, y) % 236); });
  });
  if (drawing) return 0;
  p.startTime = now + p.imageDuration;
  Initialise(slot);
  return 0;
}

int32_t Free(ModuleSlot*) {
  PatternModule& p = g_pattern;
  std::vector<int32_t>().swap(p.columnProfile);
  std::vector<int32_t>().swap(p.rowProfile);
  std::vector<int32_t>().swap(p.wave);
  p.strips.Release();
  return 0;
}

}  // namespace

namespace pattern {
uint8_t ValueAt(int x, int y) { return g_pattern.Allocated() ? static_cast<uint8_t>(Generate(x, y) % 236) : 0; }
}  // namespace pattern

const ModuleOperations kPatternOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
