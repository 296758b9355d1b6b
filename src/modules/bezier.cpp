#include "modules/bezier.h"

#include <algorithm>
#include <array>
#include <span>

#include "controls/controls.h"
#include "modules/kit/bouncing_points.h"
#include "modules/kit/colour_walk.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/rotation.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/trail_history.h"
#include "modules/kit/vector_tiling.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum BezierControl {
  kBeziers = 0,
  kSymmetry = 1,
  kTrailLength = 2,
  kWidth = 3,
  kSpeed = 4,
  kDuration = 5,
  kXTiling = 6,
  kYTiling = 7,
  kTileType = 8,
};

constexpr int kHistoryFrames = 300;
constexpr int kMaxCurves = (kit::BouncingPoints::kMaxPoints - 4) / 2;

// What one frame drew with; the eraser replays it.
struct FrameParameters {
  int32_t symmetry;
  int32_t columns;
  int32_t rows;
  int32_t width;
  int32_t speed;
  int32_t tileType;
  float angleStep;
};

struct BezierModule {
  FrameParameters parameters{};
  kit::TrailHistory<FrameParameters> history{kHistoryFrames};
  kit::BouncingPoints head;
  kit::BouncingPoints tail;
  int curves = 0;
  int width = 0;
  int height = 0;
  kit::ColourWalk colour;
  gdi::Point centre;
  kit::BounceBox box;
  uint32_t deadline = 0;
};

BezierModule g_bezier;

// One curve of four control points, shrunk into every selected tile.
void DrawCurveInTiles(gdi::FrameSurface& surface, std::span<const gdi::Point> curve, const FrameParameters& p) {
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_bezier.width, g_bezier.height, p.columns, p.rows, p.tileType);
  std::array<gdi::Point, 4> scratch;
  kit::DrawInTiles(layout, curve, scratch, [&surface](std::span<const gdi::Point> tiled) {
    surface.PolyBezier(tiled.data(), static_cast<int>(tiled.size()));
  });
}

// Curves start every second point, so consecutive curves share two points.
void DrawPointSet(gdi::FrameSurface& surface, const kit::BouncingPoints& points, const FrameParameters& p) {
  std::array<gdi::Point, kit::BouncingPoints::kMaxPoints> scratch;
  kit::DrawSymmetricCopies(
      points.Positions(), p.symmetry, p.angleStep, g_bezier.centre, scratch, [&](std::span<const gdi::Point> copy) {
        kit::ForEachChainedCurve(copy, g_bezier.curves,
                                 [&](std::span<const gdi::Point> curve) { DrawCurveInTiles(surface, curve, p); });
      });
}

// Moves the tail on by one recorded frame and draws that frame in black.
void EraseTailFrame(gdi::FrameSurface& surface) {
  const FrameParameters& recorded = g_bezier.history.Tail();
  kit::MoveBouncingPoints(g_bezier.tail, recorded.speed, g_bezier.box);
  surface.SelectPen(gdi::Pen::Solid(recorded.width, gdi::kBlack));
  DrawPointSet(surface, g_bezier.tail, recorded);
  surface.SelectPen(gdi::Pen::StockBlack());
  g_bezier.history.AdvanceTail();
}

void EraseRemainingTrail(gdi::FrameSurface& surface) {
  kit::EraseRemainingTrail(g_bezier.history, [&surface] { EraseTailFrame(surface); });
}

int32_t Allocate(ModuleSlot*) {
  g_bezier.history.Allocate();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto value = [slot](int index) { return kit::ControlInRange(*slot, index); };
  FrameParameters& p = g_bezier.parameters;
  p.symmetry = value(kSymmetry);
  p.columns = value(kXTiling);
  p.rows = value(kYTiling);
  p.width = value(kWidth);
  p.speed = value(kSpeed);
  p.tileType = value(kTileType);
  p.angleStep = kit::SymmetryAngleStep(p.symmetry);
  g_bezier.deadline = GetTickCount() + static_cast<uint32_t>(value(kDuration)) * 1000u;
  g_bezier.curves = std::clamp(value(kBeziers), 0, kMaxCurves);
  g_bezier.width = slot->width;
  g_bezier.height = slot->height;
  g_bezier.centre = {slot->width / 2, slot->height / 2};
  const int margin = 40 + value(kWidth);
  g_bezier.box = {-margin, -margin, slot->width + margin, slot->height + margin};
  kit::PlaceBouncingPoints(g_bezier.head, 2 * g_bezier.curves + 4, slot->width, slot->height);
  // The eraser starts where the head started, so it retraces the head exactly.
  g_bezier.tail = g_bezier.head;
  g_bezier.history.Restart(3 * value(kTrailLength));
  g_bezier.colour = {};
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (!g_bezier.history.Allocated()) return 0;
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);

  const int colour = g_bezier.colour.Step();

  FrameParameters& p = g_bezier.parameters;
  if (kit::EvaluateLiveControlInRange(*slot, kSymmetry, p.symmetry)) p.angleStep = kit::SymmetryAngleStep(p.symmetry);
  kit::EvaluateLiveControlInRange(*slot, kWidth, p.width);
  kit::EvaluateLiveControlInRange(*slot, kSpeed, p.speed);
  kit::EvaluateLiveControlInRange(*slot, kXTiling, p.columns);
  kit::EvaluateLiveControlInRange(*slot, kYTiling, p.rows);

  FrameParameters& recorded = g_bezier.history.Head();
  recorded = p;
  kit::MoveBouncingPoints(g_bezier.head, recorded.speed, g_bezier.box);
  surface.SelectPen(gdi::Pen::Solid(recorded.width, gdi::PaletteIndex(colour)));
  DrawPointSet(surface, g_bezier.head, recorded);
  surface.SelectPen(gdi::Pen::StockBlack());

  if (g_bezier.history.TailDue()) EraseTailFrame(surface);
  g_bezier.history.AdvanceHead();

  if (TickIsPast(GetTickCount(), g_bezier.deadline)) {
    EraseRemainingTrail(surface);
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot* slot) {
  if (g_bezier.history.Allocated()) EraseRemainingTrail(kit::ModuleSurface(*slot));
  g_bezier.history.Release();
  return 0;
}

}  // namespace

const ModuleOperations kBezierOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
