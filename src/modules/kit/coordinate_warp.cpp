#include "modules/kit/coordinate_warp.h"

#include <cmath>

#include "controls/controls.h"
#include "modules/kit/pixel_buffers.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

constexpr float kSineScale = 3.051944e-5f;
constexpr int kRandomType = 5;
// Scale factors by turbulence type.
constexpr float kTurbulenceFactor[] = {1100000.125f, 30000.0f, 50000.0f, 1100000.0f, 30000.0f};

// trunc(v) mod m for a non-negative result; a value no integer can hold (or a
// zero modulus) gives 0.
int TruncatedRemainder(double v, int m) {
  if (m <= 0 || !std::isfinite(v)) return 0;
  return static_cast<int>(std::fmod(std::fabs(std::trunc(v)), static_cast<double>(m)));
}

// The shared sine table at trunc(q) mod 2048, scaled to about -0.5..0.5.
float SineAt(float q) {
  if (!(std::fabs(q) < 9.0e18f)) return SineTable[0] * kSineScale;
  const int index = static_cast<int>(static_cast<int64_t>(q) & (kSineTableSize - 1));
  return static_cast<float>(SineTable[index]) * kSineScale;
}

// |trunc(v * f)| for a coordinate scaled by a sine factor within +-1.
int Scaled(int v, float f) { return std::abs(static_cast<int>(static_cast<float>(v) * f)); }

}  // namespace

Turbulence SetUpTurbulence(int turbulenceControl, int typeControl) {
  Turbulence t;
  float strength = static_cast<float>(turbulenceControl) * 0.01f;
  t.on = strength > 0.009f;
  if (strength > 0.99f) {
    t.on = Rand() % 3 == 0;
    strength = RandUnit();
  }
  t.type = typeControl > 4 ? Rand() % kRandomType : typeControl;
  t.type = std::clamp(t.type, 0, 4);
  t.scale = (1.0f - strength) * kTurbulenceFactor[t.type];
  return t;
}

PolarMapping DrawPolarMapping(int maxX, int maxY) {
  PolarMapping p;
  p.a = RandUnit() * 1.9999f - 0.99f;
  p.b = RandUnit() * 1.9999f - 0.99f;
  p.cx = RandMod(maxX);
  p.cy = RandMod(maxY);
  return p;
}

void CoordinateWarp::ApplyPolar(int& x, int& y) const {
  const float dx = static_cast<float>(x - polar.cx);
  const float dy = static_cast<float>(y - polar.cy);
  const float r = std::sqrt(dx * dx + dy * dy);
  const float d = std::max(r, 0.0001f);
  const float u = dx / d * polar.a + polar.b * (dy / d);
  x = TruncatedRemainder(std::fabs(u) * 0.3184713f * static_cast<float>(maxX), maxX);
  y = TruncatedRemainder(r, maxY);
}

void CoordinateWarp::ApplyTurbulence(int& x, int& y) const {
  const float scale = turbulence.scale;
  auto distanceSquared = [&] {
    const int64_t dy = y - maxY / 2;
    const int64_t dx = x - maxX / 2;
    return static_cast<float>(dy * dy + dx * dx);
  };
  auto profileSum = [&](int px, int py) { return static_cast<float>(rows[py] + columns[px]); };
  switch (turbulence.type) {
    case 0:
    case 1: {
      const float q = turbulence.type == 0 ? distanceSquared() / scale * 2048.0f : profileSum(x, y) / scale * 2048.0f;
      const float f = SineAt(q);
      y = Scaled(y, f);
      x = Scaled(x, f);
      break;
    }
    case 2: {
      const float f = SineAt(static_cast<float>(columns[x]) / scale * 2048.0f) +
                      SineAt(static_cast<float>(rows[y]) / scale * 2048.0f);
      y = Scaled(y, f);
      x = Scaled(x, f);
      break;
    }
    case 3: {
      const float q = distanceSquared() / scale;
      y = TruncatedRemainder(static_cast<float>(y) * q, maxY);
      x = TruncatedRemainder(static_cast<float>(x) * q, maxX);
      break;
    }
    default: {
      float f = SineAt(profileSum(x, y) / scale * 2048.0f);
      const int y1 = Scaled(y, f);
      const int x1 = Scaled(x, f);
      f = SineAt(profileSum(x1, y1) / scale * 2048.0f);
      y = Scaled(y1, f);
      x = Scaled(x1, f);
      break;
    }
  }
}

}  // namespace fluxo::kit
