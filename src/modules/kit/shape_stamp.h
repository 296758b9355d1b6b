#pragma once
#include <array>
#include <cstdint>

#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// A nested figure: a polygon at level 0 whose vertices carry the level-1
// figure, whose vertices carry level 2. Only the `depth` level is drawn.
struct ShapeStamp {
  enum FillStyle : uint8_t { kFilledBlackOutline = 0, kFilled = 1, kOutline = 2 };

  std::array<float, 3> size{};   // polygon radius per level
  std::array<float, 3> angle{};  // rotation per level, radians
  std::array<float, 3> spin{};   // added to the angle after each stamp of a line
  std::array<uint8_t, 3> sides{};  // 1 is a point, 2 a line
  uint32_t spacing = 0;  // a stamped line stamps every spacing + 1 pixels
  uint32_t counter = 0;
  gdi::FrameSurface* dc = nullptr;
  uint8_t fillStyle = kFilledBlackOutline;
  uint8_t depth = 0;  // 0..2
};

// Object types 0..8 derive levels 1 and 2 from level 0 with a random shrink and
// spin factor; 9..17 keep the three levels given. (type mod 9) picks the fill
// style (mod 3) and the depth (/ 3).
void InitStamp(ShapeStamp& stamp, gdi::FrameSurface* dc, const std::array<int, 3>& sides, int objectType,
               uint32_t spacing, const std::array<int, 3>& size, const std::array<float, 3>& spin);

// Selects the pen and brush the stamp draws with; pair with ReleaseStampColour.
void SelectStampColour(const ShapeStamp& stamp, gdi::ColorRef colour);
void ReleaseStampColour(const ShapeStamp& stamp);

// Draws the nested figure centred at (x, y).
void StampShape(int x, int y, const ShapeStamp& stamp);

// Stamps the figure along the line from (x2, y2) toward (x1, y1), turning it by
// the spin between stamps; the stamp is left as it was.
void StampLine(int x1, int y1, int x2, int y2, ShapeStamp& stamp);

}  // namespace fluxo::kit
