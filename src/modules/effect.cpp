#include "modules/effect.h"

#include <algorithm>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/random_below.h"
#include "modules/kit/shaded_blob.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

enum EffectControl {
  kType = 0,
  kXStrength = 1,
  kYStrength = 2,
  kDisplayInterval = 3,
};

// The smallest step the strength controls allow; a smaller one could leave
// the nested shapes shrinking forever.
constexpr int kMinimumStrength = 2;

struct EffectModule {
  int width = 0;
  int height = 0;
  int maximumX = 0;
  int maximumY = 0;
  int halfWidth = 0;
  int halfHeight = 0;
  int type = 0;
  int xStrength = kMinimumStrength;
  int yStrength = kMinimumStrength;
  uint32_t deadline = 0;
};

EffectModule g_effect;

void InvertNestedRectangles(gdi::FrameSurface& surface, int x, int y, int w, int h, int dx, int dy) {
  while (w > 0 && h >= 1) {
    surface.InvertRect({x, y, x + w, y + h});
    y += dy;
    w -= 2 * dx;
    x += dx;
    h -= 2 * dy;
  }
}

void InvertNestedEllipses(gdi::FrameSurface& surface, int x, int y, int w, int h, int dx, int dy) {
  const gdi::MixMode previousMix = surface.SetMixMode(gdi::MixMode::InvertDestination);
  const gdi::Pen previousPen = surface.SelectPen(gdi::Pen::Solid((dx + dy) / 3, gdi::kWhite));
  const gdi::Brush previousBrush = surface.SelectBrush(gdi::Brush::Hollow());
  for (int x1 = x, y1 = y, x2 = x + w, y2 = y + h; x1 < x2 && y1 < y2; x1 += dx, x2 -= dx, y1 += dy, y2 -= dy)
    surface.Ellipse(x1, y1, x2, y2);
  surface.SelectBrush(previousBrush);
  surface.SelectPen(previousPen);
  surface.SetMixMode(previousMix);
}

// Runs a nested-shape inversion in the four quarters: top-left, bottom-right,
// top-right, bottom-left.
template <typename Invert>
void InvertQuarters(gdi::FrameSurface& surface, int dx, int dy, Invert invert) {
  const int w = g_effect.halfWidth, h = g_effect.halfHeight;
  invert(surface, 0, 0, w, h, dx, dy);
  invert(surface, w, h, w, h, dx, dy);
  invert(surface, w, 0, w, h, dx, dy);
  invert(surface, 0, h, w, h, dx, dy);
}

// Mirrors the top-left quarter of the w x h area into the other three,
// after folding that quarter the same way depth - 1 times. With a random
// seed the innermost quarter is first filled from a random stretch of the screen.
void KaleidoscopeFold(gdi::FrameSurface& surface, int w, int h, int depth, bool randomSeed) {
  const int hw = w / 2, hh = h / 2;
  if (depth > 1) KaleidoscopeFold(surface, hw, hh, depth - 1, randomSeed);
  if (randomSeed && depth == 1) {
    const int a = kit::RandomBelow(w / 4 + 1);
    const int r1 = Rand();
    const int b = kit::RandomBelow(h / 4 + 1);
    const int r2 = Rand();
    const int sourceHeight = r2 % 2 == 1 ? hh - b : hh + b;
    const int sourceY = kit::RandomBelow(g_effect.height - sourceHeight);
    const int sourceWidth = r1 % 2 == 1 ? hw - a : hw + a;
    const int sourceX = kit::RandomBelow(g_effect.width - sourceWidth);
    surface.StretchBlt(0, 0, hw + 1, hh + 1, sourceX, sourceY, sourceWidth, sourceHeight);
  }
  surface.StretchBlt(w, 0, -(hw + 1), hh + 1, 0, 0, hw, hh);
  surface.StretchBlt(0, h, w + 1, -(hh + 1), 0, 0, w, hh);
}

// Full-height bands of width dx, then full-width bands of height dy, every
// other one inverted; the toggle runs on from the columns into the rows.
void InvertStripes(gdi::FrameSurface& surface, int dx, int dy) {
  bool on = false;
  for (int x = 0; x < g_effect.width - dx; x += dx) {
    on = !on;
    if (on) surface.InvertRect({x, 0, x + dx, g_effect.height});
  }
  for (int y = 0; y < g_effect.height - dy; y += dy) {
    on = !on;
    if (on) surface.InvertRect({0, y, g_effect.width, y + dy});
  }
}

// Blobs at random places, each shaded from the colour found under its centre.
void DropBlobs(gdi::FrameSurface& surface, int dx, int dy, int style) {
  const int count = dx % 20;
  const int size = dy % 30;
  for (int i = 0; i < count; ++i) {
    const int x = kit::RandomBelow(g_effect.maximumX);
    const int y = kit::RandomBelow(g_effect.maximumY);
    kit::DrawShadedBlob(surface, x, y, surface.GetNearestEntryAt(x, y), size, style);
  }
}

void ApplyEffect(gdi::FrameSurface& surface) {
  const int x = g_effect.xStrength + Rand() % 8;
  const int y = g_effect.yStrength + Rand() % 8;
  const int maxX = g_effect.maximumX, maxY = g_effect.maximumY;
  const int type = g_effect.type;
  switch (type) {
    case 0:
      InvertNestedRectangles(surface, 0, 0, maxX, maxY, x, y);
      break;
    case 1:
      InvertNestedEllipses(surface, 0, 0, maxX, maxY, x, y);
      break;
    case 2:
      InvertNestedRectangles(surface, 0, 0, maxX, maxY, x, y);
      InvertNestedRectangles(surface, 0, 0, maxX, maxY, y, x);
      break;
    case 3:
      InvertNestedEllipses(surface, 0, 0, maxX, maxY, x, y);
      InvertNestedEllipses(surface, 0, 0, maxX, maxY, y, x);
      break;
    case 4:
      InvertQuarters(surface, x / 2, y / 2, InvertNestedRectangles);
      break;
    case 5:
      InvertQuarters(surface, x / 2, y / 2, InvertNestedEllipses);
      break;
    case 18:
      InvertStripes(surface, x, y);
      break;
    case 19:
      KaleidoscopeFold(surface, g_effect.width, g_effect.height, 1 + Rand() % 6, false);
      break;
    case 20:
      KaleidoscopeFold(surface, g_effect.width, g_effect.height, 1 + Rand() % 6, true);
      break;
    case 21:
      DropBlobs(surface, x, y, kit::kBlobDiscs + 1);
      break;
    case 22:
      DropBlobs(surface, x, y, kit::kBlobSquares + 1);
      break;
    case 23:
      DropBlobs(surface, x, y, kit::kBlobVerticalBars + 1);
      break;
    case 24:
      DropBlobs(surface, x, y, kit::kBlobHorizontalBars + 1);
      break;
    case 25:
      DropBlobs(surface, x, y, Rand() % 30);
      break;
    default:
      if (type >= 6 && type <= 11) KaleidoscopeFold(surface, g_effect.width, g_effect.height, type - 5, false);
      if (type >= 12 && type <= 17) KaleidoscopeFold(surface, g_effect.width, g_effect.height, type - 11, true);
      break;
  }
}

int32_t Allocate(ModuleSlot* slot) {
  g_effect = EffectModule{};
  g_effect.width = std::max(slot->width, 0);
  g_effect.height = std::max(slot->height, 0);
  g_effect.maximumX = g_effect.width - 1;
  g_effect.maximumY = g_effect.height - 1;
  g_effect.halfWidth = g_effect.width / 2;
  g_effect.halfHeight = g_effect.height / 2;
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const int32_t* value = slot->controls.value;
  g_effect.type = value[kType];
  g_effect.xStrength = std::max(value[kXStrength], kMinimumStrength);
  g_effect.yStrength = std::max(value[kYStrength], kMinimumStrength);
  const uint32_t interval = static_cast<uint32_t>(std::max(value[kDisplayInterval], 0)) * 1000u;
  g_effect.deadline = GetTickCount() + interval;
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  // Not due while the deadline still lies after now.
  if (TickIsPast(g_effect.deadline, GetTickCount())) return 0;
  if (g_effect.width > 0 && g_effect.height > 0) ApplyEffect(kit::ModuleSurface(*slot));
  Initialise(slot);
  return 0;
}

}  // namespace

const ModuleOperations kEffectOperations{Frame, Allocate, Initialise, NoOpModuleOperation};

}  // namespace fluxo
