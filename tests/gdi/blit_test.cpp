#include <gtest/gtest.h>

#include "gdi/surface_pictures.h"

namespace fluxo::gdi {
namespace {

// A surface whose pixel at (x, y) holds 10 * y + x + 1.
FrameSurface Numbered(int w, int h) {
  FrameSurface s(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.MutablePixels()[y * w + x] = static_cast<uint8_t>(10 * y + x + 1);
  }
  return s;
}

std::vector<uint8_t> Row(const FrameSurface& s, int y) {
  return {s.Pixels() + y * s.Width(), s.Pixels() + (y + 1) * s.Width()};
}

TEST(BitBlt, OverlappingCopiesActAsIfThroughATemporary) {
  FrameSurface right = Numbered(6, 1);
  right.BitBlt(1, 0, 5, 1, 0, 0);
  EXPECT_EQ(Row(right, 0), (std::vector<uint8_t>{1, 1, 2, 3, 4, 5}));
  FrameSurface left = Numbered(6, 1);
  left.BitBlt(0, 0, 5, 1, 1, 0);
  EXPECT_EQ(Row(left, 0), (std::vector<uint8_t>{2, 3, 4, 5, 6, 6}));
  FrameSurface down = Numbered(2, 3);
  down.BitBlt(0, 1, 2, 2, 0, 0);
  EXPECT_EQ(Row(down, 1), (std::vector<uint8_t>{1, 2}));
  EXPECT_EQ(Row(down, 2), (std::vector<uint8_t>{11, 12}));
}

TEST(BitBlt, SourceOutsideTheSurfaceLeavesTheDestinationAlone) {
  FrameSurface s = Numbered(4, 1);
  s.BitBlt(0, 0, 4, 1, 2, 0);
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{3, 4, 3, 4}));
}

TEST(BitBlt, CopiesFromAnotherSurface) {
  const FrameSurface source = Numbered(3, 2);
  FrameSurface s(4, 2);
  s.BitBlt(1, 0, 3, 2, source, 0, 0);
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{0, 1, 2, 3}));
  EXPECT_EQ(Row(s, 1), (std::vector<uint8_t>{0, 11, 12, 13}));
}

TEST(StretchBlt, NegativeWidthMirrorsFromTheOrigin) {
  FrameSurface s = Numbered(8, 2);
  // The mirrored copy runs from x = 7 leftwards over 4 pixels.
  s.StretchBlt(7, 0, -4, 2, 0, 0, 4, 2);
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{1, 2, 3, 4, 4, 3, 2, 1}));
  EXPECT_EQ(Row(s, 1), (std::vector<uint8_t>{11, 12, 13, 14, 14, 13, 12, 11}));
}

TEST(StretchBlt, NegativeHeightMirrorsTopToBottom) {
  FrameSurface s = Numbered(2, 4);
  s.StretchBlt(0, 3, 2, -2, 0, 0, 2, 2);
  EXPECT_EQ(Row(s, 2), (std::vector<uint8_t>{11, 12}));
  EXPECT_EQ(Row(s, 3), (std::vector<uint8_t>{1, 2}));
}

TEST(StretchBlt, MirroringInPlaceFlipsTheWholeSurface) {
  FrameSurface s = Numbered(5, 3);
  s.StretchBlt(4, 2, -5, -3, 0, 0, 5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(s.PixelAt(x, y), 10 * (2 - y) + (4 - x) + 1);
  }
}

TEST(StretchBlt, EnlargingRepeatsAndShrinkingDropsPixels) {
  FrameSurface grow = Numbered(9, 1);
  grow.StretchBlt(3, 0, 6, 1, 0, 0, 3, 1);
  EXPECT_EQ(Row(grow, 0), (std::vector<uint8_t>{1, 2, 3, 1, 1, 2, 2, 3, 3}));
  FrameSurface shrink = Numbered(8, 1);
  shrink.StretchBlt(0, 0, 4, 1, 0, 0, 8, 1);
  EXPECT_EQ(Row(shrink, 0), (std::vector<uint8_t>{1, 3, 5, 7, 5, 6, 7, 8}));
}

TEST(StretchBlt, ZeroExtentsAndFarRectanglesDoNothing) {
  FrameSurface s = Numbered(4, 2);
  const std::vector<uint8_t> before(s.Pixels(), s.Pixels() + 8);
  s.StretchBlt(0, 0, 0, 2, 0, 0, 4, 2);
  s.StretchBlt(0, 0, 4, 2, 0, 0, 4, 0);
  s.StretchBlt(1000000, 0, 4, 2, 0, 0, 4, 2);
  s.StretchBlt(0, 0, 4, 2, -1000000, 0, 4, 2);
  EXPECT_EQ(std::vector<uint8_t>(s.Pixels(), s.Pixels() + 8), before);
  s.StretchBlt(-2000000000, -2000000000, 2000000000, 2000000000, 0, 0, 1, 1);  // ends left of 0
  EXPECT_EQ(std::vector<uint8_t>(s.Pixels(), s.Pixels() + 8), before);
  s.StretchBlt(-1000000, -1000000, 2000000, 2000000, 0, 0, 1, 1);
  EXPECT_EQ(test::CountPixels(s, 1), 8);
}

TEST(StretchDib, BottomUpRowsWithPaddedStride) {
  // 3 x 2, rows padded to 4 bytes; the first row in memory is the bottom one.
  const uint8_t bits[] = {1, 2, 3, 99, 4, 5, 6, 99};
  FrameSurface s(3, 2);
  s.StretchDib(0, 0, 3, 2, 0, 0, 3, 2, bits, {3, 2});
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{14, 15, 16}));
  EXPECT_EQ(Row(s, 1), (std::vector<uint8_t>{11, 12, 13}));
}

TEST(StretchDib, NegativeHeightMeansTopDownRows) {
  const uint8_t bits[] = {1, 2, 3, 99, 4, 5, 6, 99};
  FrameSurface s(3, 2);
  s.StretchDib(0, 0, 3, 2, 0, 0, 3, 2, bits, {3, -2});
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{11, 12, 13}));
  EXPECT_EQ(Row(s, 1), (std::vector<uint8_t>{14, 15, 16}));
}

TEST(StretchDib, SourceRectangleOfABottomUpBitmapIsMeasuredFromTheBottom) {
  // Four one-byte rows (stride 4): memory rows 0..3 hold 0, 1, 2, 3, so the
  // picture from the top reads 3, 2, 1, 0. Its top two lines start at y = 2.
  const uint8_t bits[16] = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
  FrameSurface s(1, 4);
  s.StretchDib(0, 0, 1, 4, 0, 2, 1, 2, bits, {1, 4});
  EXPECT_EQ(s.PixelAt(0, 0), PixelOfEntry(3));
  EXPECT_EQ(s.PixelAt(0, 1), PixelOfEntry(3));
  EXPECT_EQ(s.PixelAt(0, 2), PixelOfEntry(2));
  EXPECT_EQ(s.PixelAt(0, 3), PixelOfEntry(2));
}

TEST(StretchDib, AColumnBlitLandsBottomUp) {
  // One column of a 1 x 5 bottom-up bitmap: value k lands at bottom - k.
  const uint8_t bits[20] = {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4};
  FrameSurface s(3, 5);
  s.StretchDib(1, 0, 1, 5, 0, 0, 1, 5, bits, {1, 5});
  for (int k = 0; k < 5; ++k) EXPECT_EQ(s.PixelAt(1, 4 - k), PixelOfEntry(k));
  EXPECT_EQ(s.PixelAt(0, 0), kBlackPixel);
}

TEST(StretchDib, StretchesMirrorsAndClampsIndices) {
  const uint8_t bits[4] = {0, 235, 236, 255};
  FrameSurface s(8, 1);
  s.StretchDib(7, 0, -8, 1, 0, 0, 4, 1, bits, {4, 1});
  EXPECT_EQ(Row(s, 0), (std::vector<uint8_t>{245, 245, 245, 245, 245, 245, 10, 10}));
}

TEST(StretchDib, IgnoresInvalidHeaders) {
  const uint8_t bits[4] = {5, 5, 5, 5};
  FrameSurface s(4, 1);
  s.StretchDib(0, 0, 4, 1, 0, 0, 4, 1, bits, {0, 1});
  s.StretchDib(0, 0, 4, 1, 0, 0, 4, 1, bits, {4, 0});
  s.StretchDib(0, 0, 4, 1, 0, 0, 4, 1, nullptr, {4, 1});
  EXPECT_EQ(test::CountPixels(s, kBlackPixel), 4);
}

}  // namespace
}  // namespace fluxo::gdi
