#include "modules/squiggle.h"

#include <array>
#include <cmath>
#include <memory>
#include <span>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/camera3d.h"
#include "modules/kit/colour_walk.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/rotation.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/trail_history.h"
#include "modules/kit/vector_tiling.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum SquiggleControl {
  kPoints = 0,
  kLatheX = 1,
  kLatheY = 2,
  kLatheZ = 3,
  kRadius = 4,
  kRotateX = 5,
  kRotateY = 6,
  kRotateZ = 7,
  kTrailLength = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kSymmetry = 14,
  kWidth = 15,
  kDuration = 16,
};

constexpr int kHistoryFrames = 300;
constexpr float kTumblePerUnit = 1.0f / 3000.0f;
constexpr std::array<int, 3> kTumbleControls{kRotateX, kRotateY, kRotateZ};

// What one frame drew with: the tumble angles about x, y and z included.
struct SquiggleRecord {
  int32_t symmetry;
  int32_t columns;
  int32_t rows;
  int32_t tileType;
  std::array<float, 3> angle;
  float angleStep;
};

struct SquiggleModule {
  SquiggleRecord record{};
  kit::TrailHistory<SquiggleRecord> history{kHistoryFrames};
  std::unique_ptr<kit::Camera3D> camera;
  std::vector<kit::Vector3> curve;
  // Working space for one drawing: the projected curve, a rotated copy, all
  // copies one after another, a copy in a tile.
  std::vector<gdi::Point> projected;
  std::vector<gdi::Point> rotated;
  std::vector<gdi::Point> copies;
  std::vector<gdi::Point> tiled;
  std::array<float, 3> tumbleRate{};
  int penWidth = 1;
  int width = 0;
  int height = 0;
  kit::ColourWalk colour;
  gdi::Point centre;
  uint32_t deadline = 0;
};

SquiggleModule g_squiggle;

float RandomPhase() { return static_cast<float>(Rand()) / 32767.0f * 6.28f; }

// The lathe curve: each coordinate a sine that travels its "Lathe" control in
// radians along the curve, from a random start phase.
void BuildCurve(int points, const std::array<int, 3>& lathe, float radius) {
  std::array<float, 3> phase{};
  for (float& p : phase) p = RandomPhase();
  std::array<float, 3> step{};
  for (int i = 0; i < 3; ++i) step[i] = static_cast<float>(lathe[i]) / static_cast<float>(points);
  g_squiggle.curve.resize(static_cast<size_t>(points));
  for (kit::Vector3& p : g_squiggle.curve) {
    p = {std::trunc(std::sin(phase[0]) * radius), std::trunc(std::sin(phase[1]) * radius),
         std::trunc(std::sin(phase[2]) * radius)};
    for (int i = 0; i < 3; ++i) phase[i] += step[i];
  }
  g_squiggle.projected.resize(g_squiggle.curve.size());
  g_squiggle.rotated.resize(g_squiggle.curve.size());
  g_squiggle.tiled.resize(g_squiggle.curve.size());
}

// Tumbles the curve by the record's angles and projects it; a point the
// camera cannot draw lands on the surface centre. The camera adds its own
// viewport centre as well, so the curve sits off the surface centre by it.
void ProjectCurve(const SquiggleRecord& r) {
  kit::Camera3D& camera = *g_squiggle.camera;
  for (size_t i = 0; i < g_squiggle.curve.size(); ++i) {
    kit::Vector3 p = g_squiggle.curve[i];
    kit::RotateVector(p, r.angle[0], r.angle[1], r.angle[2]);
    int x = 0, y = 0;
    camera.Project(p.x, p.y, p.z, x, y);
    g_squiggle.projected[i] = {x + g_squiggle.centre.x, y + g_squiggle.centre.y};
  }
}

// Every rotated copy goes into each tile in one visit. One pen draws them all
// and tiles never overlap, so this paints what tiling copy by copy paints,
// with one clip region per tile instead of one per copy and tile.
void DrawCurve(gdi::FrameSurface& surface, const SquiggleRecord& r, gdi::ColorRef colour) {
  ProjectCurve(r);
  const size_t n = g_squiggle.projected.size();
  std::vector<gdi::Point>& copies = g_squiggle.copies;
  copies.clear();
  kit::DrawSymmetricCopies(
      g_squiggle.projected, r.symmetry, r.angleStep, g_squiggle.centre, g_squiggle.rotated,
      [&](std::span<const gdi::Point> copy) { copies.insert(copies.end(), copy.begin(), copy.end()); });
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_squiggle.width, g_squiggle.height, r.columns, r.rows, r.tileType);
  surface.SelectPen(gdi::Pen::Solid(g_squiggle.penWidth, colour));
  kit::ForEachClippedTile(surface, layout, [&](int column, int row) {
    for (size_t start = 0; start + n <= copies.size() && n > 0; start += n) {
      kit::PlaceFigureInMirroredTile(layout, std::span<const gdi::Point>(copies).subspan(start, n), column, row,
                                     g_squiggle.tiled);
      surface.Polyline(g_squiggle.tiled.data(), static_cast<int>(n));
    }
  });
  surface.SelectPen(gdi::Pen::StockBlack());
}

void EraseTailFrame(gdi::FrameSurface& surface) {
  DrawCurve(surface, g_squiggle.history.Tail(), gdi::kBlack);
  g_squiggle.history.AdvanceTail();
}

void EraseRemainingTrail(gdi::FrameSurface& surface) {
  kit::EraseRemainingTrail(g_squiggle.history, [&surface] { EraseTailFrame(surface); });
}

bool Allocated() { return g_squiggle.history.Allocated() && g_squiggle.camera != nullptr; }

int32_t Allocate(ModuleSlot*) {
  g_squiggle.history.Allocate();
  g_squiggle.camera = kit::CreateCamera3D();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto value = [slot](int index) { return kit::ControlInRange(*slot, index); };
  g_squiggle.deadline = GetTickCount() + static_cast<uint32_t>(value(kDuration)) * 1000u;
  SquiggleRecord& r = g_squiggle.record;
  r.symmetry = value(kSymmetry);
  r.columns = value(kXTiling);
  r.rows = value(kYTiling);
  r.tileType = value(kTileType);
  r.angleStep = kit::SymmetryAngleStep(r.symmetry);
  r.angle = {};
  for (int i = 0; i < 3; ++i) g_squiggle.tumbleRate[i] = static_cast<float>(value(kTumbleControls[i])) * kTumblePerUnit;
  g_squiggle.penWidth = value(kWidth);
  g_squiggle.width = slot->width;
  g_squiggle.height = slot->height;
  g_squiggle.centre = {slot->width / 2, slot->height / 2};
  const float radius = static_cast<float>(slot->width / 2) * static_cast<float>(value(kRadius)) * 0.006666667f;
  BuildCurve(value(kPoints), {value(kLatheX), value(kLatheY), value(kLatheZ)}, radius);
  if (g_squiggle.camera) {
    g_squiggle.camera->eye.z = -(slot->width / 2);
    g_squiggle.camera->focal = 400.0;
  }
  g_squiggle.history.Restart(3 * value(kTrailLength));
  g_squiggle.colour = {};
  return 0;
}

void EvaluateDrivenControls(ModuleSlot& slot) {
  SquiggleRecord& r = g_squiggle.record;
  int32_t v = 0;
  for (int i = 0; i < 3; ++i)
    if (kit::EvaluateLiveControlInRange(slot, kTumbleControls[i], v))
      g_squiggle.tumbleRate[i] = static_cast<float>(v) * kTumblePerUnit;
  kit::EvaluateLiveControlInRange(slot, kXTiling, r.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, r.rows);
  if (kit::EvaluateLiveControlInRange(slot, kSymmetry, r.symmetry)) r.angleStep = kit::SymmetryAngleStep(r.symmetry);
}

int32_t Frame(ModuleSlot* slot) {
  if (!Allocated()) return 0;
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  const int colour = g_squiggle.colour.Step();
  EvaluateDrivenControls(*slot);
  SquiggleRecord& r = g_squiggle.record;
  for (int i = 0; i < 3; ++i) r.angle[i] += g_squiggle.tumbleRate[i];

  g_squiggle.history.Head() = r;
  DrawCurve(surface, r, gdi::PaletteIndex(colour));
  if (g_squiggle.history.TailDue()) EraseTailFrame(surface);
  g_squiggle.history.AdvanceHead();

  if (TickIsPast(GetTickCount(), g_squiggle.deadline)) {
    EraseRemainingTrail(surface);
    Initialise(slot);
  }
  return 0;
}

int32_t Free(ModuleSlot* slot) {
  if (Allocated()) EraseRemainingTrail(kit::ModuleSurface(*slot));
  g_squiggle.history.Release();
  g_squiggle.camera.reset();
  return 0;
}

}  // namespace

const ModuleOperations kSquiggleOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
