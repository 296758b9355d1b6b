#include "modules/plasma.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "controls/controls.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/palette_dib_header.h"
#include "modules/kit/pixel_buffers.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/tile_replication.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace plasma {
namespace {

constexpr int kBlurFrom = 11;
constexpr int kBlurOnly = 10;

// Exchanges pixels with their partner where a toggle is on; the toggle flips
// at the start of every row and again before every pixel.
template <typename Partner>
void ToggledSwap(const CloudView& cloud, int rows, int columns, Partner partner) {
  bool toggle = false;
  for (int y = 0; y < rows; ++y) {
    toggle = !toggle;
    for (int x = 0; x < columns; ++x) {
      toggle = !toggle;
      if (!toggle) continue;
      const auto [px, py] = partner(x, y);
      std::swap(cloud.At(x, y), cloud.At(px, py));
    }
  }
}

// Bright pixels take the value of their partner in the untouched copy.
template <typename Partner>
void ReplaceBright(const CloudView& cloud, const std::vector<uint8_t>& copy, Partner partner) {
  for (int y = 0; y < cloud.maxY; ++y) {
    for (int x = 0; x < cloud.maxX; ++x) {
      if (cloud.At(x, y) <= 127) continue;
      const auto [px, py] = partner(x, y);
      cloud.At(x, y) = copy[static_cast<size_t>(py) * cloud.stride + px];
    }
  }
}

// In place, column by column (x outer, y inner), so blurred pixels feed
// their neighbours: a pixel sees the blurred column to its left and the
// blurred pixel above it. Columns are gathered into contiguous arrays so that
// everything but that one pixel-to-pixel dependency runs as vector loops.
void Blur(const CloudView& cloud) {
  const int m = cloud.maxX;
  const int n = cloud.maxY;
  if (m < 4 || n < 4) return;
  const size_t length = static_cast<size_t>(n) + 1;
  std::vector<int32_t> left(length), centre(length), right(length), sums(length);
  auto gather = [&](int x, std::vector<int32_t>& column) {
    for (int y = 0; y <= n; ++y) column[y] = cloud.At(x, y);
  };
  gather(0, left);
  gather(1, centre);
  for (int x = 1; x <= m - 3; ++x) {
    gather(x + 1, right);
    for (int y = 1; y <= n - 3; ++y)
      sums[y] = left[y - 1] + left[y] + left[y + 1] + centre[y] + centre[y + 1] + right[y - 1] + right[y] +
                right[y + 1];
    for (int y = 1; y <= n - 3; ++y) centre[y] = (sums[y] + centre[y - 1]) / 9;
    for (int y = 1; y <= n - 3; ++y) cloud.At(x, y) = static_cast<uint8_t>(centre[y]);
    std::swap(left, centre);
    std::swap(centre, right);
  }
}

}  // namespace

int Progress(const CloudView& cloud) {
  const int n = cloud.maxY;
  if (cloud.At(0, n) == 0) return 0;
  // A tile taller than wide ends the diagonal at its last column.
  const int limit = std::min(cloud.maxX, n);
  for (int k = 1; k < limit; ++k)
    if (cloud.At(k, n - k) == 0) return k;
  return limit;
}

void ApplyEffect(const CloudView& cloud, int number) {
  const int m = cloud.maxX;
  const int n = cloud.maxY;
  int e = number == 0 ? Rand() % 20 : number;
  if (e >= kBlurFrom) {
    Blur(cloud);
    e -= 10;
  }
  std::vector<uint8_t> copy;
  if (e >= 4 && e != kBlurOnly) copy.assign(cloud.pixels, cloud.pixels + static_cast<size_t>(n + 1) * cloud.stride);
  auto pointMirror = [m, n](int x, int y) { return std::pair{m - x, n - y}; };
  auto leftRightMirror = [m](int x, int y) { return std::pair{m - x, y}; };
  auto topBottomMirror = [n](int x, int y) { return std::pair{x, n - y}; };
  auto pointSwap = [&] { ToggledSwap(cloud, n, m / 2 + 1, pointMirror); };
  switch (e) {
    case 1:
      pointSwap();
      break;
    case 2:
      ToggledSwap(cloud, n, m / 2 + 1, leftRightMirror);
      break;
    case 3:
      if (n >= 2) ToggledSwap(cloud, n / 2, m - 1, topBottomMirror);
      break;
    case 4:
    case 7:
      ReplaceBright(cloud, copy, pointMirror);
      if (e == 7) pointSwap();
      break;
    case 5:
    case 8:
      ReplaceBright(cloud, copy, leftRightMirror);
      if (e == 8) pointSwap();
      break;
    case 6:
    case 9:
      ReplaceBright(cloud, copy, topBottomMirror);
      if (e == 9) pointSwap();
      break;
    case kBlurOnly:
      Blur(cloud);
      break;
    default:
      break;
  }
}

}  // namespace plasma

namespace {

enum PlasmaControl {
  kRoughness = 0,
  kUpdateInterval = 1,
  kEffect = 2,
  kImageDuration = 3,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
};

constexpr int kTurnsPerFrame = 512;
constexpr int kFirstShownProgress = 32;
constexpr int kProgressStep = 30;
constexpr int kRandomRoughness = 100;

// A rectangle of buffer pixels, corners inclusive.
struct Span {
  int x1, y1, x2, y2;
};

struct PlasmaModule {
  std::vector<uint8_t> pixels;
  kit::PaletteDibHeader header;
  kit::TileLayout layout;
  int stride = 0;
  float displacement = 0.0f;
  int effect = 0;
  uint32_t updateInterval = 0;
  uint32_t imageDuration = 0;
  std::vector<Span> stack;
  int lastShown = kFirstShownProgress;
  std::optional<uint32_t> nextDisplay;  // none: the first display may come at once
  bool waiting = false;
  uint32_t waitDeadline = 0;

  int MaxX() const { return layout.tileWidth - 1; }
  int MaxY() const { return layout.tileHeight - 1; }
  plasma::CloudView Cloud() { return {pixels.data(), stride, MaxX(), MaxY()}; }
  uint8_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * stride + x]; }
};

PlasmaModule g_plasma;

void FreeBuffers() {
  std::vector<uint8_t>().swap(g_plasma.pixels);
  g_plasma.stack.clear();
}

// The midpoint of an edge, unless it is already computed.
void EdgePoint(int x1, int y1, int x2, int y2, int mx, int my) {
  if (g_plasma.At(mx, my) != 0) return;
  const int spread = std::abs(x1 - x2) + std::abs(y1 - y2);
  const int mean = (g_plasma.At(x1, y1) + g_plasma.At(x2, y2)) / 2;
  const float v = (kit::RandUnit() - 0.5f) * static_cast<float>(spread) * g_plasma.displacement + static_cast<float>(mean);
  int value = static_cast<int>(v);
  if (value < 0) value = 5;
  if (value > 235) value = 231;
  g_plasma.At(mx, my) = static_cast<uint8_t>(value);
}

void Subdivide(const Span& r) {
  if (r.x2 - r.x1 < 2 && r.y2 - r.y1 < 2) return;
  const int mx = (r.x1 + r.x2) / 2;
  const int my = (r.y1 + r.y2) / 2;
  EdgePoint(r.x1, r.y1, r.x2, r.y1, mx, r.y1);
  EdgePoint(r.x2, r.y1, r.x2, r.y2, r.x2, my);
  EdgePoint(r.x1, r.y2, r.x2, r.y2, mx, r.y2);
  EdgePoint(r.x1, r.y1, r.x1, r.y2, r.x1, my);
  const int corners = g_plasma.At(r.x1, r.y1) + g_plasma.At(r.x2, r.y1) + g_plasma.At(r.x2, r.y2) + g_plasma.At(r.x1, r.y2);
  g_plasma.At(mx, my) = static_cast<uint8_t>(corners / 4);
  // Last in, first out: the quarter at (x1, my) is worked next.
  g_plasma.stack.push_back({mx, r.y1, r.x2, my});
  g_plasma.stack.push_back({r.x1, r.y1, mx, my});
  g_plasma.stack.push_back({mx, my, r.x2, r.y2});
  g_plasma.stack.push_back({r.x1, my, mx, r.y2});
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const int32_t* value = slot->controls.value;
  int roughness = value[kRoughness];
  if (roughness == kRandomRoughness) roughness = 20 + Rand() % 60;
  g_plasma.displacement = static_cast<float>(roughness) * 0.05f;
  g_plasma.updateInterval = static_cast<uint32_t>(value[kUpdateInterval]) * 1000u;
  g_plasma.effect = value[kEffect];
  g_plasma.imageDuration = static_cast<uint32_t>(value[kImageDuration]) * 1000u;
  g_plasma.layout = kit::TileLayout::ForSurface(slot->width, slot->height, value[kXTiling], value[kYTiling],
                                                value[kTileType]);

  FreeBuffers();
  g_plasma.waiting = false;
  g_plasma.lastShown = kFirstShownProgress;
  // A tile smaller than a pixel has nothing to compute.
  if (g_plasma.layout.tileWidth < 1 || g_plasma.layout.tileHeight < 1) return 0;
  g_plasma.stride = kit::DibRowStride(g_plasma.layout.tileWidth);
  if (!kit::AllocateZeroed(g_plasma.pixels, int64_t{g_plasma.layout.tileHeight} * g_plasma.stride)) {
    kit::ReportBufferFailure();
    return 0;
  }
  g_plasma.header.SetSize(g_plasma.layout.tileWidth, g_plasma.layout.tileHeight);
  const int m = g_plasma.MaxX();
  const int n = g_plasma.MaxY();
  g_plasma.stack.push_back({0, 0, m, n});
  for (auto [x, y] : {std::pair{0, 0}, std::pair{0, n}, std::pair{m, 0}, std::pair{m, n}})
    g_plasma.At(x, y) = static_cast<uint8_t>(Rand() % 236);
  return 0;
}

// The complete square (or the whole finished tile) stretched over the master tile.
void ShowTile(gdi::FrameSurface& surface, int shownWidth, int shownHeight) {
  const kit::TileLayout& layout = g_plasma.layout;
  const int w = layout.tileWidth;
  const int h = layout.tileHeight;
  // Tile type 1 shows the master mirrored in column 1; a mirrored blit covers
  // its origin and the pixels left of it, so it starts on the column's last pixel.
  const bool masterInColumnOne = layout.tileType == 1;
  surface.StretchDib(masterInColumnOne ? 2 * w - 1 : 0, 0, masterInColumnOne ? -w : w, h, 0, h - shownHeight, shownWidth,
                     shownHeight, g_plasma.pixels.data(), g_plasma.header.info);
  if (layout.columns + layout.rows > 2) kit::ReplicateTile(surface, layout);
}

int32_t Frame(ModuleSlot* slot) {
  if (g_plasma.pixels.empty()) return 0;
  const uint32_t now = GetTickCount();
  if (g_plasma.waiting) {
    if (!TickIsPast(now, g_plasma.waitDeadline)) return 0;
    g_plasma.waiting = false;
  }
  for (int turn = 0; turn < kTurnsPerFrame && !g_plasma.stack.empty(); ++turn) {
    const Span r = g_plasma.stack.back();
    g_plasma.stack.pop_back();
    Subdivide(r);
  }
  const int progress = plasma::Progress(g_plasma.Cloud());
  const bool complete = g_plasma.stack.empty();
  if (!complete && progress <= g_plasma.lastShown + kProgressStep) return 0;
  if (g_plasma.nextDisplay && !TickIsPast(now, *g_plasma.nextDisplay)) return 0;

  int shownWidth = std::min(progress, g_plasma.layout.tileWidth);
  int shownHeight = std::min(progress, g_plasma.layout.tileHeight);
  if (complete) {
    plasma::ApplyEffect(g_plasma.Cloud(), g_plasma.effect);
    shownWidth = g_plasma.layout.tileWidth;
    shownHeight = g_plasma.layout.tileHeight;
  }
  ShowTile(kit::ModuleSurface(*slot), shownWidth, shownHeight);
  g_plasma.lastShown = progress;
  if (!complete) {
    g_plasma.nextDisplay = now + g_plasma.updateInterval;
    return 0;
  }
  Initialise(slot);
  g_plasma.waiting = true;
  g_plasma.waitDeadline = now + g_plasma.imageDuration;
  return 0;
}

int32_t Allocate(ModuleSlot*) { return 0; }

int32_t Free(ModuleSlot*) {
  FreeBuffers();
  g_plasma.lastShown = kFirstShownProgress;
  g_plasma.nextDisplay.reset();
  g_plasma.waiting = false;
  return 0;
}

}  // namespace

const ModuleOperations kPlasmaOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
