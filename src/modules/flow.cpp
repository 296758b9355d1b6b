#include "modules/flow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/camera3d.h"
#include "modules/kit/colour_walk.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/polygon_outline.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/trail_history.h"
#include "modules/kit/vector_tiling.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum FlowControl {
  kSides = 0,
  kThickness = 1,
  kXRate = 2,
  kYRate = 3,
  kRotateRate = 4,
  kDuration = 5,
  kXSpan = 6,
  kYSpan = 7,
  kDepth = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kFlux = 14,
  kTrailLength = 15,
  kXRotation = 16,
  kYRotation = 17,
  kZRotation = 18,
  kSpacing = 19,
};

// The current ring set and the 30 drawn before it.
constexpr int kHistoryRecords = 31;
constexpr int kMaxSides = 20;
constexpr float kFullTurn = 6.2831855f;
constexpr float kRotationPerUnit = 0.001f;
constexpr float kSpaceRotationThreshold = 0.0001f;
constexpr int kProjectionLimit = 8192;
constexpr std::array<int, 3> kRotationControls{kXRotation, kYRotation, kZRotation};

// Everything one frame's rings were drawn with, so they can be drawn again in black.
struct RingSet {
  int32_t columns;
  int32_t rows;
  int32_t thickness;
  int32_t tileType;
  int32_t sides;
  int32_t depth;
  float xPhase;
  float yPhase;
  float xRate;
  float yRate;
  float rotationPhase;
  float rotationRate;
  float flux;
  float xSpan;
  float ySpan;
  std::array<float, 3> angle;  // accumulated rotation about x, y and z
  int32_t spacing;
};

struct FlowModule {
  std::vector<RingSet> history;
  std::unique_ptr<kit::Camera3D> camera;
  std::array<float, 3> rotationRate{};
  bool inSpace = false;  // rings placed one behind another and projected
  int trail = 1;
  int width = 0;
  int height = 0;
  float radiusScale = 0;  // L: the largest ring's radius in the flat mode
  uint32_t deadline = 0;
};

FlowModule g_flow;

// The ring's vertices in space, tumbled by the set's angles and projected; false
// when the camera cannot show one of them sensibly.
bool ProjectRing(std::span<gdi::Point> ring, const RingSet& r, int i) {
  const double z = r.spacing * i - (r.spacing * r.depth) / 2;
  for (gdi::Point& p : ring) {
    kit::Vector3 v{static_cast<double>(p.x - g_flow.width / 2), static_cast<double>(p.y - g_flow.height / 2), z};
    kit::RotateVector(v, r.angle[0], r.angle[1], r.angle[2]);
    gdi::Point screen;
    if (!g_flow.camera->Project(v, screen)) return false;
    if (screen == gdi::Point{0, 0}) return false;
    if (std::abs(screen.x) > kProjectionLimit || std::abs(screen.y) > kProjectionLimit) return false;
    p = screen;
  }
  return true;
}

void DrawRing(gdi::FrameSurface& surface, const RingSet& r, int i) {
  const gdi::Point centre{
      static_cast<int32_t>(std::sin(r.xRate * static_cast<float>(i) + r.xPhase) * r.xSpan) + g_flow.width / 2,
      static_cast<int32_t>(std::sin(r.yRate * static_cast<float>(i) + r.yPhase) * r.ySpan) + g_flow.height / 2};
  const float start =
      std::sin(static_cast<float>(i) / r.flux) + r.rotationRate * static_cast<float>(i) + r.rotationPhase;
  const float radius = g_flow.inSpace ? g_flow.radiusScale * 0.33333334f
                                      : static_cast<float>(i) * g_flow.radiusScale / static_cast<float>(r.depth);
  const int sides = std::clamp(r.sides, 3, kMaxSides);
  const float step = kFullTurn / static_cast<float>(sides);
  std::array<gdi::Point, kMaxSides> vertices;
  const std::span<gdi::Point> ring(vertices.data(), static_cast<size_t>(sides));
  for (int k = 0; k < sides; ++k) {
    const float turn = start + static_cast<float>(k) * step;
    ring[k] = {centre.x + static_cast<int32_t>(std::sin(turn) * radius),
               centre.y + static_cast<int32_t>(std::cos(turn) * radius)};
  }
  if (g_flow.inSpace && !ProjectRing(ring, r, i)) return;
  if (r.columns <= 1 && r.rows <= 1) {
    kit::DrawPolygonOutline(surface, ring);
    return;
  }
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_flow.width, g_flow.height, r.columns, r.rows, r.tileType);
  std::array<gdi::Point, kMaxSides> tiled;
  kit::DrawInMirroredTiles(surface, layout, ring, tiled, [&surface](std::span<const gdi::Point> polygon) {
    kit::DrawPolygonOutline(surface, polygon);
  });
}

// Ring i of the old set in black, then, when asked, ring i of the current set
// in colour: ring i always takes the same palette index.
void DrawRingSets(gdi::FrameSurface& surface, const RingSet& current, const RingSet& old, bool drawCurrent) {
  surface.SelectBrush(gdi::Brush::Hollow());
  const int rings = std::max(old.depth, current.depth);
  kit::ColourWalk colour;
  for (int i = 0; i < rings; ++i) {
    const int index = colour.Step();
    if (i < old.depth) {
      surface.SelectPen(gdi::Pen::Solid(old.thickness, gdi::kBlack));
      DrawRing(surface, old, i);
    }
    if (drawCurrent && i < current.depth) {
      surface.SelectPen(gdi::Pen::Solid(current.thickness, gdi::PaletteIndex(index)));
      DrawRing(surface, current, i);
    }
  }
  surface.SelectPen(gdi::Pen::StockBlack());
  surface.SelectBrush(gdi::Brush::StockBlack());
}

bool Allocated() { return !g_flow.history.empty() && g_flow.camera != nullptr; }

int32_t Allocate(ModuleSlot*) {
  g_flow.history.assign(kHistoryRecords, RingSet{});
  g_flow.camera = kit::CreateCamera3D();
  return 0;
}

// Takes the controls into the ring set: all of them, or during play only
// those that are driven.
void ReadControls(ModuleSlot& slot, RingSet& r, bool drivenOnly) {
  const auto take = [&slot, drivenOnly](int index, int32_t& v) {
    if (drivenOnly) return kit::EvaluateLiveControlInRange(slot, index, v);
    v = kit::ControlInRange(slot, index);
    return true;
  };
  const auto scaled = [](int32_t v, float scale) { return static_cast<float>(v) * scale; };
  int32_t v = 0;
  if (take(kSides, v)) r.sides = v;
  if (take(kThickness, v)) r.thickness = v;
  if (take(kXRate, v)) r.xRate = scaled(v, 0.005f);
  if (take(kYRate, v)) r.yRate = scaled(v, 0.005f);
  if (take(kRotateRate, v)) r.rotationRate = scaled(v, 0.0033333334f);
  if (take(kXSpan, v)) r.xSpan = scaled(v, 0.01f) * static_cast<float>(g_flow.width);
  if (take(kYSpan, v)) r.ySpan = scaled(v, 0.01f) * static_cast<float>(g_flow.height);
  if (take(kDepth, v)) r.depth = v;
  if (take(kXTiling, v)) r.columns = v;
  if (take(kYTiling, v)) r.rows = v;
  if (take(kFlux, v)) r.flux = static_cast<float>(v) + 3.0f;
  if (take(kSpacing, v)) r.spacing = v * 20;
  for (int i = 0; i < 3; ++i)
    if (take(kRotationControls[i], v)) g_flow.rotationRate[i] = scaled(v, kRotationPerUnit);
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  g_flow.width = slot->width;
  g_flow.height = slot->height;
  std::fill(g_flow.history.begin(), g_flow.history.end(), RingSet{});
  RingSet current{};
  ReadControls(*slot, current, false);
  current.tileType = kit::ControlInRange(*slot, kTileType);
  if (!g_flow.history.empty()) g_flow.history[0] = current;
  g_flow.deadline = GetTickCount() + static_cast<uint32_t>(kit::ControlInRange(*slot, kDuration)) * 1000u;
  g_flow.trail = kit::ControlInRange(*slot, kTrailLength);
  g_flow.inSpace = std::any_of(g_flow.rotationRate.begin(), g_flow.rotationRate.end(),
                               [](float rate) { return std::fabs(rate) >= kSpaceRotationThreshold; });
  if (g_flow.camera) {
    g_flow.camera->SetViewport(kit::ModuleSurface(*slot).ClientRect());
    g_flow.camera->eye.z = -500.0;
    g_flow.camera->focal = 400.0;
  }
  g_flow.radiusScale = static_cast<float>(
      std::max(static_cast<int32_t>(current.xSpan) + slot->width, static_cast<int32_t>(current.ySpan) + slot->height));
  return 0;
}

// Every ring set still on screen in black, oldest first.
void EraseAllRingSets(gdi::FrameSurface& surface) {
  for (int j = g_flow.trail; j >= 1 && kit::RenderThreadRunning(); --j)
    DrawRingSets(surface, g_flow.history[0], g_flow.history[j], false);
}

int32_t Frame(ModuleSlot* slot) {
  if (!Allocated()) return 0;
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  std::vector<RingSet>& h = g_flow.history;
  ReadControls(*slot, h[0], true);
  DrawRingSets(surface, h[0], h[g_flow.trail], true);

  std::copy_backward(h.begin(), h.end() - 1, h.end());
  RingSet& r = h[0];
  r.xPhase += r.xRate;
  r.yPhase += r.yRate;
  r.rotationPhase += r.rotationRate;
  for (int i = 0; i < 3; ++i) r.angle[i] += g_flow.rotationRate[i];

  if (TickIsPast(GetTickCount(), g_flow.deadline)) {
    // Only the oldest set goes; the newer ones stay under the next tube.
    DrawRingSets(surface, h[0], h[g_flow.trail], false);
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot* slot) {
  if (Allocated()) EraseAllRingSets(kit::ModuleSurface(*slot));
  std::vector<RingSet>().swap(g_flow.history);
  g_flow.camera.reset();
  return 0;
}

}  // namespace

const ModuleOperations kFlowOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
