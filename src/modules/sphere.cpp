#include "modules/sphere.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <new>
#include <optional>
#include <vector>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/overlay_boxes.h"
#include "modules/kit/rotation.h"
#include "modules/kit/shaded_blob.h"
#include "modules/kit/tile_layout.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

enum SphereControl {
  kSize = 0,
  kSymmetry = 1,
  kType = 2,
  kImageDuration = 3,
  kXTiling = 4,
  kYTiling = 5,
  kTileType = 6,
};

enum SphereTypeFlag {
  kClipToWedge = 1,
  kMirrorInWedge = 2,
  kRandomSize = 4,
  kClipToTile = 32,
};

constexpr int kSpriteCount = 10;
constexpr int kColoursPerSprite = 20;
constexpr int kSmallestStamp = 10;

struct SphereModule {
  // Pre-rendered sprites whose pixels are the animated palette slots, so
  // everything stamped keeps moving with the palette.
  std::vector<gdi::FrameSurface> sprites;
  int diameter = 0;
  int symmetry = 1;
  float angleStep = 0;
  int colourMultiplier = 0;
  int type = 0;
  bool clipToWedge = false;
  bool mirror = false;
  bool randomSize = false;
  bool clipToTile = false;
  int columns = 1;
  int rows = 1;
  int tileType = 0;
  int width = 0;
  int height = 0;
  gdi::Point centre;
  float halfDiagonal = 0;
  uint32_t deadline = 0;
};

SphereModule g_sphere;

void SetSymmetry(int n) {
  g_sphere.symmetry = std::max(n, 1);
  g_sphere.angleStep = kit::SymmetryAngleStep(g_sphere.symmetry);
  if (g_sphere.symmetry < 3) g_sphere.clipToWedge = false;
}

// Ten sprites of (D + 2) pixels square, sprite k starting at colour 20 k.
void BuildSprites(const gdi::FrameSurface& screen) {
  const int d = g_sphere.diameter;
  try {
    g_sphere.sprites.clear();
    g_sphere.sprites.reserve(kSpriteCount);
    for (int k = 0; k < kSpriteCount; ++k) {
      gdi::FrameSurface& sprite = g_sphere.sprites.emplace_back(d + 2, d + 2, screen.SharedPalette());
      kit::DrawShadedBlob(sprite, d >> 1, d >> 1, kColoursPerSprite * k, d + 2, g_sphere.type & 31);
    }
  } catch (const std::bad_alloc&) {
    std::vector<gdi::FrameSurface>().swap(g_sphere.sprites);
    std::cerr << "Could not allocate buffers\n";
  }
}

// One stamp at p: the middle size x size square of the sprite for colour t,
// clipped to its own disc, to the wedge and to the tile as the type asks.
void StampClipped(gdi::FrameSurface& surface, gdi::Point p, int t, int size, const gdi::Region* wedge,
                  const gdi::Rect& tile) {
  const int half = size >> 1;
  gdi::Region clip = gdi::Region::FromEllipse({p.x - half, p.y - half, p.x + half, p.y + half});
  if (wedge) clip = gdi::Region::Combine(clip, *wedge, gdi::CombineMode::And);
  // Only the part of the square the clip can reach is copied.
  gdi::Rect reach = gdi::IntersectRect(clip.Bounds(), surface.ClientRect());
  if (g_sphere.clipToTile) reach = gdi::IntersectRect(reach, tile);
  if (reach.Empty()) return;
  surface.SelectClipRegion(&clip);
  if (g_sphere.clipToTile) surface.IntersectClipRect(tile);
  ExcludeOverlayBoxes(surface);
  const gdi::FrameSurface& sprite = g_sphere.sprites[static_cast<size_t>((t / kColoursPerSprite) % kSpriteCount)];
  const int source = (g_sphere.diameter >> 1) - half;
  const gdi::Point corner{p.x - half, p.y - half};
  surface.BitBlt(reach.left, reach.top, reach.Width(), reach.Height(), sprite, source + reach.left - corner.x,
                 source + reach.top - corner.y);
  surface.SelectClipRegion(nullptr);
}

gdi::Point Polar(gdi::Point origin, float angle, float distance) {
  const double a = static_cast<double>(angle);
  return {origin.x + static_cast<int32_t>(std::sin(a) * distance),
          origin.y + static_cast<int32_t>(std::cos(a) * distance)};
}

// The colour measure: how far out the stamps lie, as a share of 236, times m.
int StampColour(float distance, float tileRadius) {
  if (!(tileRadius > 0)) return 0;
  const float share = std::clamp(distance / tileRadius * 236.0f, 0.0f, 1.0e6f);
  return static_cast<int>(share) * g_sphere.colourMultiplier;
}

int32_t Allocate(ModuleSlot*) {
  std::vector<gdi::FrameSurface>().swap(g_sphere.sprites);
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const ControlBlock& c = slot->controls;
  const bool fixedSize = c.source[kSize] == kSourceSet || c.source[kSize] == kSourceRandom;
  g_sphere.diameter = std::max(fixedSize ? c.value[kSize] : c.rangeHi[kSize], 1);
  g_sphere.type = c.value[kType];
  g_sphere.columns = std::max(c.value[kXTiling], 1);
  g_sphere.rows = std::max(c.value[kYTiling], 1);
  g_sphere.tileType = c.value[kTileType];
  g_sphere.deadline = GetTickCount() + static_cast<uint32_t>(std::max(c.value[kImageDuration], 0)) * 1000u;

  g_sphere.colourMultiplier = Rand() % 8;
  g_sphere.width = slot->width;
  g_sphere.height = slot->height;
  g_sphere.centre = {slot->width >> 1, slot->height >> 1};
  g_sphere.halfDiagonal = std::sqrt(static_cast<float>(g_sphere.centre.y) * static_cast<float>(g_sphere.centre.y) +
                                    static_cast<float>(g_sphere.centre.x) * static_cast<float>(g_sphere.centre.x));
  g_sphere.clipToWedge = (g_sphere.type & kClipToWedge) != 0;
  g_sphere.mirror = (g_sphere.type & kMirrorInWedge) != 0;
  g_sphere.randomSize = (g_sphere.type & kRandomSize) != 0;
  g_sphere.clipToTile = (g_sphere.type & kClipToTile) != 0;
  SetSymmetry(c.value[kSymmetry]);
  BuildSprites(kit::ModuleSurface(*slot));
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (g_sphere.sprites.empty()) return 0;
  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);

  float phi = static_cast<float>(Rand()) / kRandMax * g_sphere.angleStep;
  const float tileRadius =
      g_sphere.halfDiagonal / static_cast<float>(std::max((g_sphere.columns + g_sphere.rows) >> 1, 1));
  const float distance = IsLiveSource(kSourceVolume) ? SoundLevel(kSourceVolume) * tileRadius + 1.0f
                                                     : static_cast<float>(Rand()) / kRandMax * tileRadius;
  const int t = StampColour(distance, tileRadius);

  int32_t sizeDrift = 0;  // only the control's drift moves; the sprites keep their size
  EvaluateLiveControl(*slot, kSize, sizeDrift);
  if (int32_t n = g_sphere.symmetry; EvaluateLiveControl(*slot, kSymmetry, n)) SetSymmetry(n);
  if (EvaluateLiveControl(*slot, kXTiling, g_sphere.columns)) g_sphere.columns = std::max(g_sphere.columns, 1);
  if (EvaluateLiveControl(*slot, kYTiling, g_sphere.rows)) g_sphere.rows = std::max(g_sphere.rows, 1);

  const int d = g_sphere.diameter;
  int size = g_sphere.randomSize ? Rand() % d : 2 * d / (g_sphere.rows + g_sphere.columns);
  size = std::min(std::max(size, kSmallestStamp), d);

  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_sphere.width, g_sphere.height, g_sphere.columns, g_sphere.rows, g_sphere.tileType);
  const gdi::Point offset{g_sphere.centre.x / layout.columns, g_sphere.centre.y / layout.rows};
  const float step = g_sphere.angleStep;
  for (int k = 0; k < g_sphere.symmetry; ++k) {
    // Consecutive wedges alternate between two mirror-image offsets.
    phi = step - phi;
    const float theta = step * static_cast<float>(k);
    const float nextTheta = step * static_cast<float>(k + 1);
    layout.ForEachSelectedTile([&](gdi::Point tileOrigin) {
      const gdi::Point origin{tileOrigin.x + offset.x, tileOrigin.y + offset.y};
      const gdi::Rect tile{tileOrigin.x, tileOrigin.y, tileOrigin.x + layout.tileWidth,
                           tileOrigin.y + layout.tileHeight};
      std::optional<gdi::Region> wedge;
      if (g_sphere.clipToWedge) {
        const std::array<gdi::Point, 3> triangle{origin, Polar(origin, theta, tileRadius),
                                                 Polar(origin, nextTheta, tileRadius)};
        wedge = gdi::Region::FromPolygon(triangle.data(), 3, gdi::FillMode::Winding);
      }
      const gdi::Region* wedgeClip = wedge ? &*wedge : nullptr;
      StampClipped(surface, Polar(origin, theta + phi, distance), t, size, wedgeClip, tile);
      if (g_sphere.mirror)
        StampClipped(surface, Polar(origin, theta + (step - phi), distance), t, size, wedgeClip, tile);
    });
  }

  if (TickIsPast(GetTickCount(), g_sphere.deadline)) Initialise(slot);
  ExcludeOverlayBoxes(surface);
  return 0;
}

int32_t Free(ModuleSlot*) {
  std::vector<gdi::FrameSurface>().swap(g_sphere.sprites);
  return 0;
}

}  // namespace

const ModuleOperations kSphereOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
