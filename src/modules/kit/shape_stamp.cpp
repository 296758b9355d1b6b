#include "modules/kit/shape_stamp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "modules/kit/line_walk.h"
#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

// The level the nested figure is drawing, raised on entry to StampShape and
// lowered on every exit. Only the drawing thread stamps; thread_local keeps
// any other thread that stamps apart from it.
thread_local int t_stampLevel = -1;

struct LevelScope {
  LevelScope() { ++t_stampLevel; }
  ~LevelScope() { --t_stampLevel; }
  LevelScope(const LevelScope&) = delete;
  LevelScope& operator=(const LevelScope&) = delete;
};

float RandomFraction() { return static_cast<float>(Rand()) / 32767.0f; }

constexpr int kLevels = 3;
constexpr float kFullTurn = 6.2831855f;

// Whether the figure from `level` down, centred at (x, y), lies wholly beside
// the surface: its vertices reach at most the sum of the level sizes out, and
// the pen half its width beyond them.
bool BesideSurface(int x, int y, int level, const ShapeStamp& stamp) {
  const gdi::FrameSurface& dc = *stamp.dc;
  double reach = dc.CurrentPen().width / 2 + 2;
  for (int l = level; l <= stamp.depth; ++l) reach += std::fabs(static_cast<double>(stamp.size[l]));
  return x + reach < 0 || y + reach < 0 || x - reach >= dc.Width() || y - reach >= dc.Height();
}

}  // namespace

void InitStamp(ShapeStamp& stamp, gdi::FrameSurface* dc, const std::array<int, 3>& sides, int objectType,
               uint32_t spacing, const std::array<int, 3>& size, const std::array<float, 3>& spin) {
  const float shrink = 1.0f / (1.5f + 4.0f * RandomFraction());
  const float spinFactor = RandomFraction() + 0.5f;
  for (int i = 0; i < kLevels; ++i) {
    stamp.sides[i] = static_cast<uint8_t>(sides[i]);
    stamp.size[i] = static_cast<float>(size[i]);
    stamp.angle[i] = RandomFraction();
    stamp.spin[i] = spin[i];
  }
  // Types outside 0..17 would pick a depth beyond the three levels.
  const int type = std::clamp(objectType, 0, 17);
  stamp.fillStyle = static_cast<uint8_t>((type % 9) % 3);
  stamp.depth = static_cast<uint8_t>((type % 9) / 3);
  if (type <= 8) {
    for (int i = 1; i < kLevels; ++i) {
      stamp.sides[i] = stamp.sides[i - 1];
      stamp.size[i] = stamp.size[i - 1] * shrink + 1.0f;
      stamp.spin[i] = spin[i - 1] * spinFactor;
    }
  }
  if (stamp.sides[stamp.depth] == 2) stamp.fillStyle = ShapeStamp::kOutline;
  if (stamp.size[stamp.depth] < 4.0f) stamp.sides[stamp.depth] = 1;
  stamp.spacing = spacing;
  stamp.dc = dc;
}

void SelectStampColour(const ShapeStamp& stamp, gdi::ColorRef colour) {
  gdi::FrameSurface& dc = *stamp.dc;
  if (stamp.sides[stamp.depth] < 2) {
    // A point is a dot as wide as the level's size.
    dc.SelectPen(gdi::Pen::Solid(static_cast<int>(stamp.size[stamp.depth]), colour));
    return;
  }
  switch (stamp.fillStyle) {
    case ShapeStamp::kFilledBlackOutline:
      dc.SelectPen(gdi::Pen::Solid(0, gdi::kBlack));
      dc.SelectBrush(gdi::Brush::Solid(colour));
      break;
    case ShapeStamp::kFilled:
      dc.SelectPen(gdi::Pen::Solid(0, colour));
      dc.SelectBrush(gdi::Brush::Solid(colour));
      break;
    default:
      dc.SelectPen(gdi::Pen::Solid(0, colour));
      dc.SelectBrush(gdi::Brush::Hollow());
      break;
  }
}

void ReleaseStampColour(const ShapeStamp& stamp) {
  stamp.dc->SelectPen(gdi::Pen::StockBlack());
  stamp.dc->SelectBrush(gdi::Brush::StockBlack());
}

void StampShape(int x, int y, const ShapeStamp& stamp) {
  const LevelScope scope;
  const int level = t_stampLevel;
  gdi::FrameSurface& dc = *stamp.dc;
  const int sides = stamp.sides[level];
  // Stamped lines of fast objects run far beside the surface; figures there
  // would only be clipped away.
  if (BesideSurface(x, y, level, stamp)) return;
  if (level == stamp.depth && sides < 2) {
    dc.MoveTo(x, y);
    dc.LineTo(x + 1, y + 1);
    return;
  }
  std::array<gdi::Point, 256> vertices;
  const float step = kFullTurn / static_cast<float>(sides);
  float theta = 0.0f;
  for (int j = 0; j < sides; ++j) {
    const double turn = static_cast<double>(theta + stamp.angle[level]);
    vertices[j] = {x + static_cast<int32_t>(std::sin(turn) * stamp.size[level]),
                   y + static_cast<int32_t>(std::cos(turn) * stamp.size[level])};
    theta += step;
  }
  if (level == stamp.depth) {
    if (sides == 2) {
      dc.MoveTo(vertices[0].x, vertices[0].y);
      dc.LineTo(vertices[1].x, vertices[1].y);
    } else {
      dc.Polygon(vertices.data(), sides);
    }
    return;
  }
  for (int j = 0; j < sides; ++j) StampShape(vertices[j].x, vertices[j].y, stamp);
}

void StampLine(int x1, int y1, int x2, int y2, ShapeStamp& stamp) {
  const int startX = x1 == x2 ? x1 + 1 : x1;
  if (stamp.sides[0] < 2 && stamp.depth == 0) {
    stamp.dc->MoveTo(startX, y1);
    stamp.dc->LineTo(x2, y2);
    return;
  }
  const ShapeStamp saved = stamp;
  stamp.counter = 0;
  const int length = std::max({std::abs(startX - x2), std::abs(y1 - y2), 1});
  for (float& spin : stamp.spin)
    spin = stamp.spacing == 0 ? 0.0f
                              : spin / (static_cast<float>(length) / static_cast<float>(stamp.spacing));
  WalkLine(x2, y2, startX, y1, [&stamp](int x, int y) {
    if (stamp.counter == 0) {
      StampShape(x, y, stamp);
      for (int i = 0; i < kLevels; ++i) stamp.angle[i] += stamp.spin[i];
    }
    stamp.counter = stamp.counter >= stamp.spacing ? 0 : stamp.counter + 1;
  });
  stamp = saved;
}

}  // namespace fluxo::kit
