#include <gtest/gtest.h>

#include "platform/gdi/colour_match.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {
namespace {

TEST(PaletteTable, StartsWithTheFixedColoursAndAGreyRamp) {
  const PaletteTable palette;
  EXPECT_EQ(palette.Entry(0), 0xFF000000u);
  EXPECT_EQ(palette.Entry(7), 0xFFC0C0C0u);
  EXPECT_EQ(palette.Entry(8), 0xFFC0DCC0u);
  EXPECT_EQ(palette.Entry(9), 0xFFA6CAF0u);
  EXPECT_EQ(palette.Entry(246), 0xFFFFFBF0u);
  EXPECT_EQ(palette.Entry(248), 0xFF808080u);
  EXPECT_EQ(palette.Entry(249), 0xFFFF0000u);
  EXPECT_EQ(palette.Entry(252), 0xFF0000FFu);
  EXPECT_EQ(palette.Entry(255), 0xFFFFFFFFu);
  // The ramp runs from black at entry 0 to white at entry 235, grey throughout.
  EXPECT_EQ(palette.Entry(PixelOfEntry(0)), 0xFF000000u);
  EXPECT_EQ(palette.Entry(PixelOfEntry(235)), 0xFFFFFFFFu);
  for (int entry = 1; entry < kAnimatedEntries; ++entry) {
    const uint32_t c = palette.Entry(PixelOfEntry(entry));
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_GE(c & 0xFF, palette.Entry(PixelOfEntry(entry - 1)) & 0xFF);
  }
}

TEST(PaletteTable, AnimateEntriesWritesLogicalEntriesOnly) {
  PaletteTable palette;
  const uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
  palette.AnimateEntries(234, 2, rgb);
  EXPECT_EQ(palette.Entry(244), 0xFF010203u);
  EXPECT_EQ(palette.Entry(245), 0xFF040506u);
  // A run past the last entry stops there; the fixed colours never change.
  palette.AnimateEntries(235, 2, rgb);
  EXPECT_EQ(palette.Entry(245), 0xFF010203u);
  EXPECT_EQ(palette.Entry(246), 0xFFFFFBF0u);
  palette.AnimateEntries(-1, 2, rgb);
  EXPECT_EQ(palette.Entry(10), 0xFF040506u);
  EXPECT_EQ(palette.Entry(9), 0xFFA6CAF0u);
}

TEST(ColourResolution, PaletteIndexSelectsItsAnimatedSlot) {
  EXPECT_EQ(ResolveColour(PaletteIndex(0)), 10);
  EXPECT_EQ(ResolveColour(PaletteIndex(100)), 110);
  EXPECT_EQ(ResolveColour(PaletteIndex(235)), 245);
  EXPECT_EQ(ResolveColour(PaletteIndex(300)), 245);  // past the palette: its last entry
}

TEST(ColourResolution, RgbSelectsTheNearestFixedColour) {
  EXPECT_EQ(ResolveColour(kBlack), kBlackPixel);
  EXPECT_EQ(ResolveColour(kWhite), kWhitePixel);
  EXPECT_EQ(ResolveColour(Rgb(255, 0, 0)), 249);
  EXPECT_EQ(ResolveColour(Rgb(0, 0, 250)), 252);
  EXPECT_EQ(ResolveColour(Rgb(0x80, 0, 0)), 1);
  EXPECT_EQ(ResolveColour(Rgb(0xC0, 0xC0, 0xC0)), 7);
  EXPECT_EQ(ResolveColour(Rgb(0x7F, 0x7F, 0x80)), 248);
  EXPECT_EQ(ResolveColour(Rgb(10, 10, 10)), kBlackPixel);
}

TEST(ColourResolution, InvertingAPixelKeepsAnimatedEntriesAnimated) {
  for (int pixel = 0; pixel < 256; ++pixel) {
    const int inverted = pixel ^ 0xFF;
    const bool animated = pixel >= 10 && pixel <= 245;
    EXPECT_EQ(animated, inverted >= 10 && inverted <= 245) << pixel;
  }
}

TEST(NearestEntry, AnimatedPixelsReadTheirIndexAndFixedOnesTheNearestColour) {
  auto palette = std::make_shared<PaletteTable>();
  std::vector<uint8_t> rgb(3 * kAnimatedEntries, 0);
  rgb[3 * 42] = 250;  // entry 42 is nearly pure red
  palette->AnimateEntries(0, kAnimatedEntries, rgb.data());
  FrameSurface s(4, 1, palette);
  s.SetPixel(0, 0, PaletteIndex(17));
  s.SetPixel(1, 0, Rgb(255, 0, 0));
  s.SetPixel(2, 0, kBlack);
  EXPECT_EQ(s.GetNearestEntryAt(0, 0), 17);
  EXPECT_EQ(s.GetNearestEntryAt(1, 0), 42);
  EXPECT_EQ(s.GetNearestEntryAt(2, 0), 0);  // every other entry is black: the first wins
  EXPECT_EQ(s.GetNearestEntryAt(9, 0), 0);  // outside the surface
  EXPECT_EQ(s.GetNearestEntryAt(-1, 0), 0);
}

TEST(NearestEntry, PixelsOutsideTheClipRegionReadAsEntryZero) {
  FrameSurface s(4, 1);
  s.SetPixel(3, 0, PaletteIndex(99));
  s.ExcludeClipRect({3, 0, 4, 1});
  EXPECT_EQ(s.GetNearestEntryAt(3, 0), 0);
  s.SelectClipRegion(nullptr);
  EXPECT_EQ(s.GetNearestEntryAt(3, 0), 99);
}

}  // namespace
}  // namespace fluxo::gdi
