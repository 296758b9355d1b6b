#include "modules/stain.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/coordinate_warp.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/pixel_buffers.h"
#include "modules/kit/ring_sequence.h"
#include "modules/kit/ring_strips.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum StainControl {
  kNodes = 0,
  kFolding = 1,
  kType = 2,
  kImageDuration = 3,
  kTurbulence = 6,
  kTurbulenceType = 7,
  kParametric = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kDiffuse = 14,
};

constexpr int kMaxNodes = 4;
constexpr int kGenerators = 10;
constexpr int kRingsPerFrame = 4;

struct Node {
  int x = 0;
  int y = 0;
  int colour = 0;
};

// Squared distances to every node along one axis. 64 bits, so that the sums
// of distance times colour cannot overflow on any surface.
using AxisDistances = std::array<int64_t, kMaxNodes>;

struct StainModule {
  int maxX = 0;  // M
  int maxY = 0;  // N
  std::vector<AxisDistances> columnTable;
  std::vector<AxisDistances> rowTable;
  kit::RingStrips strips;
  std::array<Node, kMaxNodes> nodes;
  int nodeCount = 2;
  double maxDistance = 1.0;
  float f1 = 0.0f;
  float f2 = 0.0f;
  kit::CoordinateWarp warp;
  int generator = 0;
  int foldCount = 0;
  int diffuse = 0;
  int columns = 1;
  int rows = 1;
  int tileType = 0;
  uint32_t imageDuration = 0;
  int ring = 0;  // rings grown so far, k
  uint32_t startTime = 0;

  bool Allocated() const { return !columnTable.empty(); }
  int64_t Distance(int n, int x, int y) const {
    return columnTable[std::clamp(x, 0, maxX)][n] + rowTable[std::clamp(y, 0, maxY)][n];
  }
  int Scaled(int n, int x, int y) const {
    return static_cast<int>(std::sqrt(static_cast<double>(Distance(n, x, y))) / maxDistance * 236.0);
  }
};

StainModule g_stain;

int Raw(int generator, int x, int y);

int Value(int generator, int x, int y) { return Raw(generator, x, y) % 236 & 0xFF; }

// Distances weighted by the node colours.
int ColourMean(int x, int y) {
  int64_t weighted = 0;
  int64_t total = 0;
  for (int n = 0; n < g_stain.nodeCount; ++n) {
    const int64_t d = g_stain.Distance(n, x, y);
    weighted += d * g_stain.nodes[n].colour;
    total += d;
  }
  const int64_t divisor = total / 4;
  return divisor == 0 ? 0 : static_cast<int>(weighted / divisor);
}

int Raw(int generator, int x, int y) {
  const StainModule& s = g_stain;
  switch (generator) {
    case 0:
    case 2:
    case 4: {
      s.warp.Apply(x, y);
      int v = 0;
      for (int n = 0; n < s.nodeCount; ++n) {
        const int e = s.Scaled(n, x, y);
        v = generator == 0 ? v ^ e : generator == 2 ? v + e : v | e;
      }
      return v;
    }
    case 1:
      s.warp.Apply(x, y);
      return ColourMean(x, y);
    case 3: {
      const int f2 = static_cast<int>(static_cast<float>(y) * s.f2) % 236;
      s.warp.Apply(x, y);
      return (static_cast<int>(static_cast<float>(x) * s.f1) % 236) ^ f2;
    }
    case 5: {
      s.warp.Apply(x, y);
      int64_t sx = 0;
      int64_t sy = 0;
      for (int n = 0; n < s.nodeCount; ++n) {
        const int64_t d = s.Distance(n, x, y);
        if (d == 0) return 0;
        const int64_t dx = s.nodes[n].x - x;
        const int64_t dy = s.nodes[n].y - y;
        const int64_t c = s.nodes[n].colour;
        sx += 16 * dx * dx * dy * c / d;
        sy += 16 * dy * dy * dx * c / d;
      }
      const double hx = static_cast<double>(sx >> 4);
      const double hy = static_cast<double>(sy >> 4);
      return static_cast<int>(static_cast<int64_t>(std::sqrt(hx * hx + hy * hy)) >> 7);
    }
    case 6:
      return (x + y) % 2 == 0 ? Raw(1, x, y) : Raw(2, x, y);
    case 7: {
      static constexpr int kChoice[] = {0, 1, 4};
      return Raw(kChoice[Value(1, x, y) / 20 % 3], x, y);
    }
    case 8:
      switch (Value(1, x, y) / 20 % 3) {
        case 0:
          return Raw(0, x, y);
        case 1:
          return Raw(0, s.maxX - x, y);
        default:
          return Raw(0, x, s.maxY - y);
      }
    default:
      switch (Value(1, x, y) / 20 % 3) {
        case 0:
          return Raw(1, s.maxX - x, y);
        case 1:
          return Raw(1, x, s.maxY - y);
        default:
          return Raw(1, s.maxX - x, s.maxY - y);
      }
  }
}

void FreeBlocks() {
  std::vector<AxisDistances>().swap(g_stain.columnTable);
  std::vector<AxisDistances>().swap(g_stain.rowTable);
  g_stain.strips.Release();
}

int32_t Allocate(ModuleSlot* slot) {
  StainModule& s = g_stain;
  const int width = std::max(slot->width, 1);
  const int height = std::max(slot->height, 1);
  s.maxX = width - 1;
  s.maxY = height - 1;
  if (!kit::AllocateZeroed(s.columnTable, int64_t{width} + 2) || !kit::AllocateZeroed(s.rowTable, int64_t{height} + 2) ||
      !s.strips.Allocate(width, height)) {
    FreeBlocks();
    kit::ReportBufferFailure();
  }
  s.startTime = GetTickCount();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  StainModule& s = g_stain;
  if (!s.Allocated()) return 0;
  const int32_t* value = slot->controls.value;
  const int nodesControl = std::clamp(value[kNodes], 2, kMaxNodes);
  s.nodeCount = nodesControl;
  s.foldCount = 2 * value[kFolding];
  s.generator = value[kType];
  s.imageDuration = static_cast<uint32_t>(value[kImageDuration]) * 1000u;
  s.columns = value[kXTiling];
  s.rows = value[kYTiling];
  s.tileType = value[kTileType];
  s.diffuse = value[kDiffuse];
  if (s.generator >= kGenerators) {
    s.nodeCount = 2 + Rand() % (nodesControl - 1);
    s.generator = Rand() % kGenerators;
  }
  s.ring = 0;
  s.f1 = static_cast<float>(s.nodeCount * 4) * 0.02f * kit::RandUnit();
  s.f2 = static_cast<float>(s.nodeCount * 4) * 0.02f * kit::RandUnit();
  s.warp.maxX = s.maxX;
  s.warp.maxY = s.maxY;
  s.warp.polarOn = value[kParametric] != 0;
  s.warp.polar = kit::DrawPolarMapping(s.maxX, s.maxY);
  // Both profiles of the mappings are the sine table.
  s.warp.columns = s.warp.rows = {SineTable, kSineTableSize};
  s.warp.turbulence = kit::SetUpTurbulence(value[kTurbulence], value[kTurbulenceType]);
  s.maxDistance = std::max(1.0, std::trunc(std::sqrt(double(s.maxX) * s.maxX + double(s.maxY) * s.maxY)));
  for (int n = 0; n < s.nodeCount; ++n) {
    Node& node = s.nodes[n];
    node.x = 4 + kit::RandMod(s.maxX - 8);
    node.y = 4 + kit::RandMod(s.maxY - 8);
    // Even nodes near the top of the palette, odd ones near the bottom.
    node.colour = n % 2 == 0 ? 235 - Rand() % 59 : Rand() % 59;
  }
  for (int y = 0; y <= s.maxY; ++y)
    for (int n = 0; n < s.nodeCount; ++n) s.rowTable[y][n] = int64_t{y - s.nodes[n].y} * (y - s.nodes[n].y);
  for (int x = 0; x <= s.maxX; ++x)
    for (int n = 0; n < s.nodeCount; ++n) s.columnTable[x][n] = int64_t{x - s.nodes[n].x} * (x - s.nodes[n].x);
  return 0;
}

// The centre line the rings grow from: along the longer side of the tile,
// half the shorter side in from every edge.
kit::RingRect CentreLine(const kit::TileLayout& layout) {
  const int w = layout.tileWidth;
  const int h = layout.tileHeight;
  if (w > h) {
    const int r = h / 2;
    return {r, r, w - r, h / 2};
  }
  const int r = w / 2;
  return {r, r, w / 2, h - r};
}

int32_t Frame(ModuleSlot* slot) {
  StainModule& s = g_stain;
  if (!s.Allocated()) return 0;
  const uint32_t now = GetTickCount();
  if (static_cast<int32_t>(now - s.startTime) < 0) return 42;
  EvaluateLiveControl(*slot, kFolding, s.foldCount);
  EvaluateLiveControl(*slot, kXTiling, s.columns);
  EvaluateLiveControl(*slot, kYTiling, s.rows);
  EvaluateLiveControl(*slot, kDiffuse, s.diffuse);

  gdi::FrameSurface& surface = kit::ModuleSurface(*slot);
  const kit::TileLayout layout = kit::TileLayout::ForSurface(s.maxX, s.maxY, s.columns, s.rows, s.tileType);
  kit::RingRect ring = CentreLine(layout);
  kit::GrowRing(ring, s.ring);
  kit::RingRect atOrigin = ring;
  if (!kit::MoveIntoMasterTile(layout, ring)) atOrigin.left = -1;
  for (int i = 0; i < kRingsPerFrame; ++i) {
    if (atOrigin.left < 0 || atOrigin.top < 0) {
      s.startTime = now + s.imageDuration;
      Initialise(slot);
      return 0;
    }
    kit::DrawReplicatedRing(surface, layout, ring, atOrigin, [&](const kit::RingRect& r) {
      s.strips.DrawRing(surface, r, s.foldCount, s.diffuse,
                        [](int x, int y) { return static_cast<uint8_t>(Value(g_stain.generator, x, y)); });
    });
    kit::GrowRing(ring, 1);
    kit::GrowRing(atOrigin, 1);
    ++s.ring;
  }
  return 0;
}

int32_t Free(ModuleSlot*) {
  FreeBlocks();
  return 0;
}

}  // namespace

namespace stain {
uint8_t ValueAt(int generator, int x, int y) {
  return g_stain.Allocated() ? static_cast<uint8_t>(Value(generator, x, y)) : 0;
}
}  // namespace stain

const ModuleOperations kStainOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
