#include "modules/polygon.h"

#include <algorithm>
#include <array>
#include <span>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/kit/bouncing_points.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/random_below.h"
#include "modules/kit/rotation.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/vector_tiling.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum PolygonControl {
  kVertices = 0,
  kSymmetry = 1,
  kSpeed = 2,
  kOutline = 3,
  kXTiling = 4,
  kYTiling = 5,
  kTileType = 6,
};

constexpr int kMinVertices = 2;
constexpr int kMaxVertices = 20;
constexpr int kMaxStartSpeed = 100;
constexpr int kLastColour = 235;
constexpr uint32_t kRestartInterval = 100000;  // ms until the vertices are placed anew

struct PolygonModule {
  kit::BouncingPoints vertices;
  int symmetry = 1;
  float angleStep = 0;
  int speed = 0;
  bool outline = false;
  int columns = 1;
  int rows = 1;
  int tileType = 0;
  int width = 0;
  int height = 0;
  gdi::Point centre;
  int colour = 1;
  int colourStep = 1;
  uint32_t deadline = 0;
};

PolygonModule g_polygon;

kit::TileLayout Tiles() {
  return kit::TileLayout::ForSurface(g_polygon.width, g_polygon.height, g_polygon.columns, g_polygon.rows,
                                     g_polygon.tileType);
}

// The vertices start inside the first tile, placed from the last to the first.
void PlaceVertices(int count) {
  const kit::TileLayout layout = Tiles();
  kit::BouncingPoints& v = g_polygon.vertices;
  v.count = count;
  for (int i = count - 1; i >= 0; --i) {
    v.position[i].x = kit::RandomBelow(layout.tileWidth);
    v.position[i].y = kit::RandomBelow(layout.tileHeight);
    v.velocity[i].x = kit::RandomDirection();
    v.velocity[i].y = kit::RandomDirection();
  }
}

void DrawPolygon(gdi::FrameSurface& surface) {
  const kit::TileLayout layout = Tiles();
  std::array<gdi::Point, kMaxVertices> rotated;
  std::array<gdi::Point, kMaxVertices> tiled;
  kit::DrawSymmetricCopies(g_polygon.vertices.Positions(), g_polygon.symmetry, g_polygon.angleStep, g_polygon.centre,
                           rotated, [&](std::span<const gdi::Point> copy) {
                             kit::DrawInTiles(layout, copy, tiled, [&surface](std::span<const gdi::Point> points) {
                               surface.Polygon(points.data(), static_cast<int>(points.size()));
                             });
                           });
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const int32_t* value = slot->controls.value;
  const int vertices = std::clamp(value[kVertices], kMinVertices, kMaxVertices);
  g_polygon.symmetry = value[kSymmetry];
  g_polygon.speed = std::min(value[kSpeed], kMaxStartSpeed);
  // Two vertices make a line, which only an outline shows.
  g_polygon.outline = value[kOutline] != 0 || vertices == 2;
  g_polygon.columns = value[kXTiling];
  g_polygon.rows = value[kYTiling];
  g_polygon.tileType = value[kTileType];
  g_polygon.colour = 1;
  g_polygon.colourStep = 1;
  g_polygon.angleStep = kit::SymmetryAngleStep(g_polygon.symmetry);
  g_polygon.width = slot->width;
  g_polygon.height = slot->height;
  g_polygon.centre = {slot->width / 2, slot->height / 2};
  PlaceVertices(vertices);
  g_polygon.deadline = GetTickCount() + kRestartInterval;
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  if (EvaluateLiveControl(*slot, kSymmetry, g_polygon.symmetry))
    g_polygon.angleStep = kit::SymmetryAngleStep(g_polygon.symmetry);
  EvaluateLiveControl(*slot, kSpeed, g_polygon.speed);
  EvaluateLiveControl(*slot, kXTiling, g_polygon.columns);
  EvaluateLiveControl(*slot, kYTiling, g_polygon.rows);

  g_polygon.colour += g_polygon.colourStep;
  if (g_polygon.colour == kLastColour || g_polygon.colour == 0) g_polygon.colourStep = -g_polygon.colourStep;

  // The outline takes the mirrored colour; at colour 0 that is one past the
  // palette, which the device shows as its last entry.
  const gdi::Pen previousPen = surface.SelectPen(
      g_polygon.outline ? gdi::Pen::Solid(1, gdi::PaletteIndex(gdi::kAnimatedEntries - g_polygon.colour))
                        : gdi::Pen::Null());
  const gdi::Brush previousBrush = surface.SelectBrush(gdi::Brush::Solid(gdi::PaletteIndex(g_polygon.colour)));
  DrawPolygon(surface);
  surface.SelectBrush(previousBrush);
  surface.SelectPen(previousPen);

  // Both edges of the surface are still inside: only beyond them do vertices turn.
  kit::MoveBouncingPoints(g_polygon.vertices, g_polygon.speed, {0, 0, g_polygon.width + 1, g_polygon.height + 1});

  if (TickIsPast(GetTickCount(), g_polygon.deadline)) Initialise(slot);
  return 0;
}

}  // namespace

const ModuleOperations kPolygonOperations{Frame, NoOpModuleOperation, Initialise, NoOpModuleOperation};

}  // namespace fluxo
