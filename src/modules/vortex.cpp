#include "modules/vortex.h"

#include <array>
#include <cmath>
#include <vector>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/tile_layout.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum VortexControl {
  kPointsOnEdge = 0,
  kSpasticity = 1,
  kAmplitude = 2,
  kImageDuration = 3,
  kType = 4,
  kCollapseRate = 5,
  kRadiusFlux = 6,
  kFluxAmplitude = 7,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
};

constexpr int kColours = 236;
constexpr int32_t kWaiting = 42;  // the render loop's "not due yet"
constexpr float kAmplitudeScale = 0.0033333334f;
constexpr float kFluxFrequencyScale = 0.031836994f;

struct RingPoint {
  gdi::Point position;
  gdi::Point previous;
  int32_t colour = 0;  // palette offset of the quadrilateral that starts here
  float angle = 0;
};

struct VortexModule {
  std::vector<RingPoint> points;
  float radius = 0;
  float collapseRate = 0;
  float spinDivisor = 1;
  float spinAmplitude = 0;
  float fluxFrequency = 0;
  float fluxAmplitude = 0;
  int width = 0;
  int height = 0;
  gdi::Point centre;
  int32_t columns = 1;
  int32_t rows = 1;
  int32_t tileType = 0;
  int32_t colourOffset = 0;
  uint32_t imageDuration = 0;  // milliseconds
  bool alive = false;
  uint32_t deadline = 0;
};

VortexModule g_vortex;

float RandomFraction() { return static_cast<float>(Rand()) / 32767.0f; }

float SpinDivisor(int spasticity) { return (RandomFraction() + 3.0f) * static_cast<float>(301 - spasticity); }

// Odd points take their colour offset from the type; even points their index.
int32_t PointColour(int i, int count, int type) {
  if (i % 2 == 0) return i;
  switch (type) {
    case 1:
      return count - i;
    case 2:
      return i + 20;
    case 3:
      return i * i;
    case 4:
      return i / 2;
    case 5:
      return 2 * i;
    default:
      return i;
  }
}

void SetUpPoints(int type) {
  const int count = static_cast<int>(g_vortex.points.size());
  const float step = 6.283184f / static_cast<float>(count);
  float angle = 0;
  for (int i = count - 1; i >= 0; --i) {
    RingPoint& p = g_vortex.points[i];
    p.position = g_vortex.centre;
    p.angle = angle;
    p.colour = PointColour(i, count, type);
    angle += step;
  }
}

// Moves every point to the ring's current radius (with its flux), then shrinks
// the ring and turns it. The vortex lives while any radius is not negative.
void UpdatePoints() {
  g_vortex.alive = false;
  for (int i = static_cast<int>(g_vortex.points.size()) - 1; i >= 0; --i) {
    RingPoint& p = g_vortex.points[i];
    p.previous = p.position;
    float r = std::sin(static_cast<float>(i) * g_vortex.fluxFrequency) * g_vortex.fluxAmplitude + g_vortex.radius;
    if (r < 0)
      r = 0;
    else
      g_vortex.alive = true;
    p.position = {static_cast<int32_t>(std::sin(p.angle) * r) + g_vortex.centre.x,
                  static_cast<int32_t>(std::cos(p.angle) * r) + g_vortex.centre.y};
  }
  g_vortex.radius -= g_vortex.collapseRate;
  const float turn = std::sin(g_vortex.radius / g_vortex.spinDivisor) * g_vortex.spinAmplitude;
  for (RingPoint& p : g_vortex.points) p.angle += turn;
}

// Fills the band each pair of neighbours swept since the last update.
void DrawSweptBands(gdi::FrameSurface& surface) {
  const kit::TileLayout layout = kit::TileLayout::ForSurface(g_vortex.width, g_vortex.height, g_vortex.columns,
                                                             g_vortex.rows, g_vortex.tileType);
  const int count = static_cast<int>(g_vortex.points.size());
  surface.SelectPen(gdi::Pen::Null());
  layout.ForEachSelectedTile([&](gdi::Point origin) {
    const auto place = [&](gdi::Point p) {
      const gdi::Point scaled = layout.Scale(p);
      return gdi::Point{scaled.x + origin.x, scaled.y + origin.y};
    };
    for (int j = 1; j <= count; ++j) {
      const RingPoint& a = g_vortex.points[j - 1];
      const RingPoint& b = g_vortex.points[j % count];
      const std::array<gdi::Point, 4> band = {place(a.position), place(b.position), place(b.previous),
                                              place(a.previous)};
      surface.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex((a.colour + g_vortex.colourOffset) % kColours)));
      surface.Polygon(band.data(), static_cast<int>(band.size()));
      surface.SelectBrush(gdi::Brush::Hollow());
    }
  });
  surface.SelectPen(gdi::Pen::StockBlack());
  surface.SelectBrush(gdi::Brush::StockBlack());
  ++g_vortex.colourOffset;
}

void EvaluateDrivenControls(ModuleSlot& slot) {
  int32_t value = 0;
  if (kit::EvaluateLiveControlInRange(slot, kSpasticity, value)) g_vortex.spinDivisor = SpinDivisor(value);
  if (kit::EvaluateLiveControlInRange(slot, kAmplitude, value))
    g_vortex.spinAmplitude = static_cast<float>(value) * kAmplitudeScale;
  if (kit::EvaluateLiveControlInRange(slot, kCollapseRate, value)) g_vortex.collapseRate = static_cast<float>(value);
  if (kit::EvaluateLiveControlInRange(slot, kRadiusFlux, value))
    g_vortex.fluxFrequency = static_cast<float>(value) * kFluxFrequencyScale;
  if (kit::EvaluateLiveControlInRange(slot, kFluxAmplitude, value))
    g_vortex.fluxAmplitude = static_cast<float>(value) + RandomFraction();
  kit::EvaluateLiveControlInRange(slot, kXTiling, g_vortex.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, g_vortex.rows);
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto control = [slot](int index) { return kit::ControlInRange(*slot, index); };
  const int count = control(kPointsOnEdge);
  g_vortex.spinDivisor = SpinDivisor(control(kSpasticity));
  g_vortex.spinAmplitude = static_cast<float>(control(kAmplitude)) * kAmplitudeScale;
  g_vortex.imageDuration = static_cast<uint32_t>(control(kImageDuration)) * 1000u;
  const int type = control(kType);
  g_vortex.collapseRate = RandomFraction() + static_cast<float>(control(kCollapseRate));
  g_vortex.fluxFrequency = static_cast<float>(control(kRadiusFlux)) * kFluxFrequencyScale;
  g_vortex.fluxAmplitude = RandomFraction() + static_cast<float>(control(kFluxAmplitude));
  g_vortex.columns = control(kXTiling);
  g_vortex.rows = control(kYTiling);
  g_vortex.tileType = control(kTileType);
  g_vortex.width = slot->width;
  g_vortex.height = slot->height;
  g_vortex.centre = {slot->width / 2, slot->height / 2};
  const float cx = static_cast<float>(g_vortex.centre.x);
  const float cy = static_cast<float>(g_vortex.centre.y);
  g_vortex.radius = std::sqrt(cx * cx + cy * cy);
  g_vortex.points.assign(static_cast<size_t>(count), RingPoint{});
  SetUpPoints(type);
  UpdatePoints();
  g_vortex.colourOffset = 1;
  g_vortex.alive = true;
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (g_vortex.points.empty()) return 0;
  EvaluateDrivenControls(*slot);
  if (g_vortex.alive) {
    UpdatePoints();
    DrawSweptBands(kit::ModuleSurface(*slot));
    g_vortex.deadline = GetTickCount() + g_vortex.imageDuration;
  }
  if (!TickIsPast(GetTickCount(), g_vortex.deadline)) return kWaiting;
  Initialise(slot);
  return 0;
}

int32_t Free(ModuleSlot*) {
  std::vector<RingPoint>().swap(g_vortex.points);
  return 0;
}

}  // namespace

const ModuleOperations kVortexOperations{Frame, NoOpModuleOperation, Initialise, Free};

}  // namespace fluxo
