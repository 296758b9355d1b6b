#include "modules/whip.h"

#include <array>
#include <cmath>
#include <span>

#include "controls/controls.h"
#include "modules/kit/bouncing_points.h"
#include "modules/kit/colour_walk.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/rotation.h"
#include "modules/kit/shape_stamp.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/trail_history.h"
#include "modules/kit/vector_tiling.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum WhipControl {
  kWhips = 0,
  kSymmetry = 1,
  kTrailLength = 2,
  kWidth = 3,
  kSpeed = 4,
  kDuration = 5,
  kObjectRotation = 6,
  kObjectSides = 7,
  kObjectType = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kAngularity = 14,
  kDensity = 15,
  kFrequency = 16,
  kOffset = 17,
  kDiameter2 = 20,
  kRotation2 = 21,
  kSides2 = 22,
  kDiameter3 = 23,
  kRotation3 = 24,
  kSides3 = 25,
};

constexpr int kHistoryFrames = 100;
constexpr int kBounceMargin = 70;
constexpr float kSpinPerUnit = 0.007f;
constexpr float kStartPhase = -10000.0f;
constexpr int kMaxCurves = (kit::BouncingPoints::kMaxPoints - 4) / 2;
constexpr float kFullTurn = 6.2831855f;

// The stamp levels' size and spin controls, level by level.
constexpr std::array<int, 3> kSizeControls{kWidth, kDiameter2, kDiameter3};
constexpr std::array<int, 3> kSpinControls{kObjectRotation, kRotation2, kRotation3};
constexpr std::array<int, 3> kSidesControls{kObjectSides, kSides2, kSides3};

// What one frame drew with; the eraser replays it, pulse phase and stamp
// angles included.
struct WhipRecord {
  kit::ShapeStamp stamp;
  int32_t symmetry;
  int32_t columns;
  int32_t rows;
  int32_t speed;
  int32_t tileType;
  float angleStep;
  float frequency;
  float offset;
  float phase;
};

struct WhipModule {
  WhipRecord record{};
  kit::TrailHistory<WhipRecord> history{kHistoryFrames};
  kit::BouncingPoints head;
  kit::BouncingPoints tail;
  // The stamp angles run on across restarts.
  std::array<float, 3> stampAngle{};
  int curves = 0;
  int samples = 1;
  int width = 0;
  int height = 0;
  kit::ColourWalk colour;
  gdi::Point centre;
  kit::BounceBox box;
  uint32_t deadline = 0;
};

WhipModule g_whip;

// The colour of each stamped segment: a walk from the frame's colour, or black
// for the eraser.
struct SegmentColour {
  kit::ColourWalk walk;
  bool erasing = false;

  gdi::ColorRef Next() { return erasing ? gdi::kBlack : gdi::PaletteIndex(walk.Step()); }
};

// The point at sample t of D on the cubic curve, by repeated linear
// interpolation in single precision.
gdi::Point CurvePoint(std::span<const gdi::Point> control, int t, int samples) {
  std::array<float, 8> p{};
  for (int j = 0; j < 4; ++j) {
    p[2 * j] = static_cast<float>(control[j].x);
    p[2 * j + 1] = static_cast<float>(control[j].y);
  }
  const float d = static_cast<float>(samples);
  const float before = static_cast<float>(samples - t);
  const float after = static_cast<float>(t);
  for (int round = 1; round <= 3; ++round) {
    for (int j = 0; j < 4 - round; ++j) {
      p[2 * j] = (before * p[2 * j] + after * p[2 * j + 2]) / d;
      p[2 * j + 1] = (before * p[2 * j + 1] + after * p[2 * j + 3]) / d;
    }
  }
  return {static_cast<int32_t>(p[0]), static_cast<int32_t>(p[1])};
}

// A chain of stamped segments along the curve, the stamp size pulsing along it.
// `w` is the working copy of the record; it carries its pulse phase, stamp
// angles and sizes on to the next tile.
void DrawWhipCurve(std::span<const gdi::Point> control, WhipRecord& w, const std::array<float, 3>& spin,
                   SegmentColour colour) {
  const std::array<float, 3> base = w.stamp.size;
  gdi::Point previous = control[0];
  for (int t = 0; t <= g_whip.samples; ++t) {
    const gdi::Point point = CurvePoint(control, t, g_whip.samples);
    for (int i = 0; i < 3; ++i)
      w.stamp.size[i] = std::sin(static_cast<float>(i) * w.frequency + w.phase) * (base[i] * 0.33f) + base[i] * 0.66f;
    kit::SelectStampColour(w.stamp, colour.Next());
    kit::StampLine(point.x, point.y, previous.x, previous.y, w.stamp);
    kit::ReleaseStampColour(w.stamp);
    previous = point;
    for (int i = 0; i < 3; ++i) w.stamp.angle[i] += spin[i];
    w.phase += w.offset;
  }
}

// One whip curve in every selected tile; the record's pulse phase then moves on.
void DrawWhipCurveInTiles(std::span<const gdi::Point> control, WhipRecord& r, const SegmentColour& colour) {
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_whip.width, g_whip.height, r.columns, r.rows, r.tileType);
  WhipRecord w = r;
  std::array<gdi::Point, 4> scratch;
  kit::DrawInTiles(layout, control, scratch,
                   [&](std::span<const gdi::Point> tiled) { DrawWhipCurve(tiled, w, r.stamp.spin, colour); });
  r.phase += r.offset;
}

void DrawPointSet(const kit::BouncingPoints& points, WhipRecord& r, const SegmentColour& colour) {
  std::array<gdi::Point, kit::BouncingPoints::kMaxPoints> scratch;
  kit::DrawSymmetricCopies(
      points.Positions(), r.symmetry, r.angleStep, g_whip.centre, scratch, [&](std::span<const gdi::Point> copy) {
        kit::ForEachChainedCurve(copy, g_whip.curves,
                                 [&](std::span<const gdi::Point> curve) { DrawWhipCurveInTiles(curve, r, colour); });
      });
}

// Replays the oldest recorded frame in black and moves the tail on.
void EraseTailFrame() {
  WhipRecord replay = g_whip.history.Tail();
  kit::MoveBouncingPoints(g_whip.tail, replay.speed, g_whip.box);
  DrawPointSet(g_whip.tail, replay, SegmentColour{{}, true});
  g_whip.history.AdvanceTail();
}

void EraseRemainingTrail() { kit::EraseRemainingTrail(g_whip.history, EraseTailFrame); }

// Accumulated angles are only ever fed to sine and cosine; keeping them within
// a turn stops single precision from freezing the spin after long play.
float WrapAngle(float angle) { return std::fmod(angle, kFullTurn); }

int32_t Allocate(ModuleSlot*) {
  g_whip.history.Allocate();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto value = [slot](int index) { return kit::ControlInRange(*slot, index); };
  WhipRecord& r = g_whip.record;
  r.symmetry = value(kSymmetry);
  r.columns = value(kXTiling);
  r.rows = value(kYTiling);
  r.speed = value(kSpeed);
  r.tileType = value(kTileType);
  r.frequency = static_cast<float>(value(kFrequency)) / 30.0f;
  r.offset = static_cast<float>(value(kOffset)) / 300.0f;
  g_whip.samples = value(kAngularity);
  g_whip.deadline = GetTickCount() + static_cast<uint32_t>(value(kDuration)) * 1000u;
  std::array<int, 3> sizes{}, sides{};
  std::array<float, 3> spins{};
  for (int i = 0; i < 3; ++i) {
    sizes[i] = value(kSizeControls[i]);
    sides[i] = value(kSidesControls[i]);
    spins[i] = static_cast<float>(value(kSpinControls[i])) * kSpinPerUnit;
  }
  kit::InitStamp(r.stamp, &kit::ModuleSurface(*slot), sides, value(kObjectType), static_cast<uint32_t>(value(kDensity)),
                 sizes, spins);
  g_whip.curves = std::min(value(kWhips), kMaxCurves);
  r.angleStep = kit::SymmetryAngleStep(r.symmetry);
  r.phase = kStartPhase;
  g_whip.width = slot->width;
  g_whip.height = slot->height;
  g_whip.centre = {slot->width / 2, slot->height / 2};
  g_whip.box = {-kBounceMargin, -kBounceMargin, slot->width + kBounceMargin, slot->height + kBounceMargin};
  kit::PlaceBouncingPoints(g_whip.head, 2 * g_whip.curves + 4, slot->width, slot->height);
  g_whip.tail = g_whip.head;
  g_whip.history.Restart(value(kTrailLength));
  g_whip.colour = {};
  return 0;
}

void EvaluateDrivenControls(ModuleSlot& slot) {
  WhipRecord& r = g_whip.record;
  if (kit::EvaluateLiveControlInRange(slot, kSymmetry, r.symmetry)) r.angleStep = kit::SymmetryAngleStep(r.symmetry);
  kit::EvaluateLiveControlInRange(slot, kSpeed, r.speed);
  kit::EvaluateLiveControlInRange(slot, kXTiling, r.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, r.rows);
  int32_t v = 0;
  if (kit::EvaluateLiveControlInRange(slot, kFrequency, v)) r.frequency = static_cast<float>(v) / 30.0f;
  if (kit::EvaluateLiveControlInRange(slot, kOffset, v)) r.offset = static_cast<float>(v) / 300.0f;
  for (int i = 0; i < 3; ++i) {
    if (kit::EvaluateLiveControlInRange(slot, kSizeControls[i], v)) r.stamp.size[i] = static_cast<float>(v);
    if (kit::EvaluateLiveControlInRange(slot, kSpinControls[i], v))
      r.stamp.spin[i] = static_cast<float>(v) * kSpinPerUnit;
  }
}

int32_t Frame(ModuleSlot* slot) {
  if (!g_whip.history.Allocated()) return 0;
  const int colour = g_whip.colour.Step();
  EvaluateDrivenControls(*slot);

  WhipRecord& r = g_whip.record;
  for (int i = 0; i < 3; ++i) {
    g_whip.stampAngle[i] = WrapAngle(g_whip.stampAngle[i] + r.stamp.spin[i]);
    r.stamp.angle[i] = g_whip.stampAngle[i];
  }
  g_whip.history.Head() = r;
  kit::MoveBouncingPoints(g_whip.head, r.speed, g_whip.box);
  DrawPointSet(g_whip.head, r, SegmentColour{{colour, g_whip.colour.step}, false});
  g_whip.history.AdvanceHead();

  if (g_whip.history.TailDue()) EraseTailFrame();

  if (TickIsPast(GetTickCount(), g_whip.deadline)) {
    EraseRemainingTrail();
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot*) {
  if (g_whip.history.Allocated()) EraseRemainingTrail();
  g_whip.history.Release();
  return 0;
}

}  // namespace

const ModuleOperations kWhipOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
