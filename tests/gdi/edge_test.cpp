#include <gtest/gtest.h>

#include "gdi/surface_pictures.h"

namespace fluxo::gdi {
namespace {

using Rows = std::vector<std::string>;

// K black, F face grey C0C0C0, S shadow 808080, W white, '.' untouched (9).
Rows Colours(const FrameSurface& s) {
  Rows rows = test::Picture(s);
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const uint8_t v = s.PixelAt(x, y);
      rows[y][x] = v == 0 ? 'K' : v == 7 ? 'F' : v == 248 ? 'S' : v == 255 ? 'W' : v == 9 ? '.' : '?';
    }
  }
  return rows;
}

FrameSurface Untouched(int w, int h) {
  FrameSurface s(w, h);
  s.FillRect(s.ClientRect(), Brush::Solid(Rgb(0xA6, 0xCA, 0xF0)));  // slot 9
  return s;
}

TEST(DrawEdge, SunkenWithFilledMiddle) {
  FrameSurface s = Untouched(6, 5);
  s.DrawEdge({0, 0, 6, 5}, kEdgeSunken, kBorderRect | kBorderMiddle);
  EXPECT_EQ(Colours(s), (Rows{"SSSSSW", "SKKKFW", "SKFFFW", "SFFFFW", "WWWWWW"}));
}

TEST(DrawEdge, RaisedWithoutMiddleLeavesTheInsideAlone) {
  FrameSurface s = Untouched(5, 4);
  s.DrawEdge({0, 0, 5, 4}, kEdgeRaised, kBorderRect);
  EXPECT_EQ(Colours(s), (Rows{"FFFFK", "FWWSK", "FSSSK", "KKKKK"}));
}

TEST(DrawEdge, EtchedIsAGrooveOfShadowAndHighlight) {
  FrameSurface s = Untouched(5, 5);
  s.DrawEdge({0, 0, 5, 5}, kEdgeEtched, kBorderRect);
  EXPECT_EQ(Colours(s), (Rows{"SSSSW", "SWWSW", "SW.SW", "SSSSW", "WWWWW"}));
}

TEST(DrawEdge, OnlyTheChosenSidesAreDrawnAndTheyRunToTheCorner) {
  FrameSurface s = Untouched(4, 3);
  s.DrawEdge({0, 0, 4, 3}, kEdgeRaisedOuter, kBorderLeft | kBorderTop | kBorderMiddle);
  EXPECT_EQ(Colours(s), (Rows{"FFFF", "FFFF", "FFFF"}));
  FrameSurface t = Untouched(4, 3);
  t.DrawEdge({0, 0, 4, 3}, kEdgeSunkenOuter, kBorderRight | kBorderBottom);
  EXPECT_EQ(Colours(t), (Rows{"...W", "...W", "WWWW"}));
}

}  // namespace
}  // namespace fluxo::gdi
