#include "modules/line.h"

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

enum LineControl {
  kDeltaX1 = 0,
  kDeltaY1 = 1,
  kDeltaX2 = 2,
  kDeltaY2 = 3,
  kX1 = 4,
  kY1 = 5,
  kX2 = 6,
  kY2 = 7,
  kTrailLength = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kSymmetry = 14,
  kDuration = 16,
};

// The line runs from A to B; C and D are B and A one frame earlier, so the
// quadrilateral A, B, C, D is the band the line swept.
enum Corner { kA, kB, kC, kD, kCorners };

constexpr int kHistoryFrames = 300;
constexpr int kBounceMargin = 40;

// What one frame drew with. The velocities are kept as well, so the eraser
// follows the head even when a driven delta changed them.
struct LineRecord {
  int32_t symmetry;
  int32_t columns;
  int32_t rows;
  int32_t tileType;
  float angleStep;
  std::array<gdi::Point, kCorners> velocity;
};

struct LineModule {
  LineRecord record{};
  kit::TrailHistory<LineRecord> history{kHistoryFrames};
  kit::BouncingPoints head;
  kit::BouncingPoints tail;
  int width = 0;
  int height = 0;
  kit::ColourWalk colour;
  gdi::Point centre;
  kit::BounceBox box;
  uint32_t deadline = 0;
};

LineModule g_line;

void DrawQuadrilateral(gdi::FrameSurface& surface, const kit::BouncingPoints& points, const LineRecord& r) {
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_line.width, g_line.height, r.columns, r.rows, r.tileType);
  std::array<gdi::Point, kCorners> rotated;
  std::array<gdi::Point, kCorners> tiled;
  kit::DrawSymmetricCopies(points.Positions(), r.symmetry, r.angleStep, g_line.centre, rotated,
                           [&](std::span<const gdi::Point> copy) {
                             kit::DrawInTiles(layout, copy, tiled, [&surface](std::span<const gdi::Point> quad) {
                               surface.Polygon(quad.data(), static_cast<int>(quad.size()));
                             });
                           });
}

// Moves a point set on by one recorded frame: takes the frame's velocities,
// then bounces each corner in the box one pixel-step of its velocity.
void MoveCorners(kit::BouncingPoints& points, const LineRecord& r) {
  for (int i = 0; i < kCorners; ++i) points.velocity[i] = r.velocity[i];
  kit::MoveBouncingPoints(points, 1, g_line.box);
}

// Fills the band of one recorded frame: no outline, only the brush.
void FillBand(gdi::FrameSurface& surface, const kit::BouncingPoints& points, const LineRecord& r,
              gdi::ColorRef colour) {
  surface.SelectPen(gdi::Pen::Null());
  surface.SelectBrush(gdi::Brush::Solid(colour));
  DrawQuadrilateral(surface, points, r);
  surface.SelectBrush(gdi::Brush::StockBlack());
  surface.SelectPen(gdi::Pen::StockBlack());
}

void EraseTailFrame(gdi::FrameSurface& surface) {
  const LineRecord& recorded = g_line.history.Tail();
  MoveCorners(g_line.tail, recorded);
  FillBand(surface, g_line.tail, recorded, gdi::kBlack);
  g_line.history.AdvanceTail();
}

void EraseRemainingTrail(gdi::FrameSurface& surface) {
  kit::EraseRemainingTrail(g_line.history, [&surface] { EraseTailFrame(surface); });
}

int32_t Allocate(ModuleSlot*) {
  g_line.history.Allocate();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto value = [slot](int index) { return kit::ControlInRange(*slot, index); };
  const gdi::Point end1Velocity{value(kDeltaX1), value(kDeltaY1)};
  const gdi::Point end2Velocity{value(kDeltaX2), value(kDeltaY2)};
  const gdi::Point a{value(kX1) * slot->width / 100, value(kY1) * slot->height / 100};
  const gdi::Point b{value(kX2) * slot->width / 100, value(kY2) * slot->height / 100};
  kit::BouncingPoints& head = g_line.head;
  head.count = kCorners;
  head.position[kA] = a;
  head.position[kB] = b;
  head.position[kC] = {b.x - end2Velocity.x, b.y - end2Velocity.y};
  head.position[kD] = {a.x - end1Velocity.x, a.y - end1Velocity.y};
  LineRecord& r = g_line.record;
  r.velocity = {end1Velocity, end2Velocity, end2Velocity, end1Velocity};
  for (int i = 0; i < kCorners; ++i) head.velocity[i] = r.velocity[i];
  g_line.tail = head;
  r.columns = value(kXTiling);
  r.rows = value(kYTiling);
  r.tileType = value(kTileType);
  r.symmetry = value(kSymmetry);
  r.angleStep = kit::SymmetryAngleStep(r.symmetry);
  g_line.history.Restart(3 * value(kTrailLength));
  g_line.deadline = GetTickCount() + static_cast<uint32_t>(value(kDuration)) * 1000u;
  g_line.width = slot->width;
  g_line.height = slot->height;
  g_line.centre = {slot->width / 2, slot->height / 2};
  g_line.box = {-kBounceMargin, -kBounceMargin, slot->width + kBounceMargin, slot->height + kBounceMargin};
  g_line.colour = {};
  return 0;
}

// A driven delta sets the speed of one axis of an end point for both corners
// that belong to that end. Each corner keeps its own direction: right after a
// bounce the trailing corner still runs the old way for a frame, and handing
// it the leading corner's direction would fold the band into a line for good.
void EvaluateDrivenDelta(ModuleSlot& slot, int control, Corner corner, Corner trailing, int32_t gdi::Point::*axis) {
  int32_t speed = 0;
  if (!kit::EvaluateLiveControlInRange(slot, control, speed)) return;
  for (const Corner c : {corner, trailing}) {
    int32_t& v = g_line.head.velocity[c].*axis;
    v = v < 0 ? -speed : speed;
  }
}

void EvaluateDrivenControls(ModuleSlot& slot) {
  EvaluateDrivenDelta(slot, kDeltaX1, kA, kD, &gdi::Point::x);
  EvaluateDrivenDelta(slot, kDeltaY1, kA, kD, &gdi::Point::y);
  EvaluateDrivenDelta(slot, kDeltaX2, kB, kC, &gdi::Point::x);
  EvaluateDrivenDelta(slot, kDeltaY2, kB, kC, &gdi::Point::y);
  LineRecord& r = g_line.record;
  kit::EvaluateLiveControlInRange(slot, kXTiling, r.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, r.rows);
  if (kit::EvaluateLiveControlInRange(slot, kSymmetry, r.symmetry)) r.angleStep = kit::SymmetryAngleStep(r.symmetry);
}

int32_t Frame(ModuleSlot* slot) {
  if (!g_line.history.Allocated()) return 0;
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  const int colour = g_line.colour.Step();
  EvaluateDrivenControls(*slot);

  LineRecord& recorded = g_line.history.Head();
  recorded = g_line.record;
  for (int i = 0; i < kCorners; ++i) recorded.velocity[i] = g_line.head.velocity[i];
  MoveCorners(g_line.head, recorded);
  FillBand(surface, g_line.head, recorded, gdi::PaletteIndex(colour));

  if (g_line.history.TailDue()) EraseTailFrame(surface);
  g_line.history.AdvanceHead();

  if (TickIsPast(GetTickCount(), g_line.deadline)) {
    EraseRemainingTrail(surface);
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot* slot) {
  if (g_line.history.Allocated()) EraseRemainingTrail(kit::ModuleSurface(*slot));
  g_line.history.Release();
  return 0;
}

}  // namespace

const ModuleOperations kLineOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
