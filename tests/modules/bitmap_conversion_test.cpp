#include <gtest/gtest.h>

#include <vector>

#include "modules/kit/index_picture.h"

namespace fluxo {
namespace {

// A one-row true-colour source of the given pixels (little-endian words of
// 16 or 32 bits, or 3-byte blue-green-red triples for 24 bits).
kit::SourceDib TrueColourRow(int bits, const std::vector<uint32_t>& pixels) {
  kit::SourceDib dib;
  dib.width = static_cast<int32_t>(pixels.size());
  dib.height = 1;
  dib.bitsPerPixel = static_cast<uint16_t>(bits);
  dib.bits.assign(dib.Stride(), 0);
  for (size_t i = 0; i < pixels.size(); ++i)
    for (int b = 0; b < bits / 8; ++b) dib.bits[i * (bits / 8) + b] = static_cast<uint8_t>(pixels[i] >> (8 * b));
  return dib;
}

std::vector<uint8_t> Greys(const kit::SourceDib& dib) {
  std::optional<kit::IndexPicture> picture = kit::ConvertToIndexPicture(dib, false);
  if (!picture) return {};
  return {picture->pixels.begin(), picture->pixels.begin() + dib.width};
}

TEST(BitmapConversionTest, TwentyFourBitPixelsBecomeTheTruncatedMeanOfTheirBytes) {
  EXPECT_EQ(Greys(TrueColourRow(24, {0x5B3C1E, 0xFFFFFF, 0x000000})), (std::vector<uint8_t>{60, 255, 0}));
}

TEST(BitmapConversionTest, SixteenBitPixelsUseFiveFiveFiveWithoutMasksAndTheirOwnMasksWithThem) {
  kit::SourceDib plain = TrueColourRow(16, {0x7FFF, 0x7C00, 0xFFFF, 0x07E0});
  // 0x07E0 read as 5-5-5: red 1 (8 after scaling), green 31 (255), blue 0.
  EXPECT_EQ(Greys(plain), (std::vector<uint8_t>{255, 85, 255, 87}));

  kit::SourceDib masked = plain;
  masked.hasMasks = true;
  masked.masks[0] = 0xF800;
  masked.masks[1] = 0x07E0;
  masked.masks[2] = 0x001F;
  // 0x7C00 as 5-6-5: red 15 of 31, green 32 of 63, blue 0.
  EXPECT_EQ(Greys(masked), (std::vector<uint8_t>{(123 + 255 + 255) / 3, (123 + 129) / 3, 255, 85}));
}

TEST(BitmapConversionTest, ThirtyTwoBitMasksWiderThanEightBitsAreCutToTheirTopBits) {
  kit::SourceDib plain = TrueColourRow(32, {0x00FF0000, 0x20000000, 0x3FFFFFFF});
  EXPECT_EQ(Greys(plain), (std::vector<uint8_t>{85, 0, 255}));

  kit::SourceDib tenBit = plain;
  tenBit.hasMasks = true;
  tenBit.masks[0] = 0x3FF00000;
  tenBit.masks[1] = 0x000FFC00;
  tenBit.masks[2] = 0x000003FF;
  // 0x00FF0000: red 0x00F and green 0x3C0 of 10 bits, cut to 3 and 240.
  // 0x20000000: red 0x200, cut to 128.
  EXPECT_EQ(Greys(tenBit), (std::vector<uint8_t>{(3 + 240) / 3, 128 / 3, 255}));
}

TEST(BitmapConversionTest, MaskedComponentsScaleToTheFullRange) {
  EXPECT_EQ(kit::MaskedComponent(0x1, 0x1), 255);
  EXPECT_EQ(kit::MaskedComponent(0x0, 0x1), 0);
  EXPECT_EQ(kit::MaskedComponent(0xFFFFFFFF, 0), 0);
  EXPECT_EQ(kit::MaskedComponent(0x8000, 0xF800), 131);  // 16 of 31
}

TEST(BitmapConversionTest, PalettePicturesKeepTheirIndicesOrTakeTheGreyOfTheirColours) {
  kit::SourceDib dib;
  dib.width = 3;
  dib.height = 1;
  dib.bitsPerPixel = 8;
  dib.colours = {{0, 0, 0}, {30, 60, 90}};  // blue, green, red
  dib.bits = {1, 0, 200, 0};                // 200 lies beyond the table
  std::optional<kit::IndexPicture> kept = kit::ConvertToIndexPicture(dib, false);
  ASSERT_TRUE(kept);
  EXPECT_EQ(std::vector<uint8_t>(kept->pixels.begin(), kept->pixels.begin() + 3), (std::vector<uint8_t>{1, 0, 200}));
  std::optional<kit::IndexPicture> grey = kit::ConvertToIndexPicture(dib, true);
  ASSERT_TRUE(grey);
  EXPECT_EQ(std::vector<uint8_t>(grey->pixels.begin(), grey->pixels.begin() + 3), (std::vector<uint8_t>{60, 0, 0}));
}

TEST(BitmapConversionTest, ASourceWithMissingRowsIsRefused) {
  kit::SourceDib dib = TrueColourRow(24, {1, 2, 3});
  dib.height = 2;
  EXPECT_FALSE(kit::ConvertToIndexPicture(dib, false));
}

kit::IndexPicture Picture(int width, int height, uint8_t fill) {
  kit::IndexPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(p.Stride() * static_cast<size_t>(height), fill);
  return p;
}

uint8_t& At(kit::IndexPicture& p, int x, int y) { return p.pixels[static_cast<size_t>(y) * p.Stride() + x]; }

TEST(BitmapSmoothingTest, SmoothsInPlaceColumnByColumnWithSmoothedNeighboursTakingPart) {
  kit::IndexPicture p = Picture(5, 5, 0);
  At(p, 1, 1) = 90;
  kit::SmoothPicture(p);
  // (1,1) = 90/9; (1,2) then sees the new 10; column 2 sees 10 and 1.
  EXPECT_EQ(At(p, 1, 1), 10);
  EXPECT_EQ(At(p, 1, 2), 1);
  EXPECT_EQ(At(p, 2, 1), 1);
  EXPECT_EQ(At(p, 2, 2), 1);
}

TEST(BitmapSmoothingTest, LeavesTheFirstColumnAndRowAndTheLastTwoAlone) {
  kit::IndexPicture p = Picture(7, 6, 0);
  for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = static_cast<uint8_t>(i * 37);
  kit::IndexPicture original = p;
  kit::SmoothPicture(p);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 7; ++x) {
      const bool inside = x >= 1 && x <= 7 - 3 && y >= 1 && y <= 6 - 3;
      if (!inside) {
        EXPECT_EQ(At(p, x, y), At(original, x, y)) << x << "," << y;
      }
    }
  EXPECT_NE(p.pixels, original.pixels);
}

TEST(BitmapSmoothingTest, FlatPicturesStayFlatAndSmallOnesAreLeftAlone) {
  kit::IndexPicture flat = Picture(9, 8, 77);
  kit::SmoothPicture(flat);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(At(flat, x, y), 77);

  for (auto [w, h] : {std::pair{3, 10}, std::pair{10, 3}}) {
    kit::IndexPicture small = Picture(w, h, 0);
    for (size_t i = 0; i < small.pixels.size(); ++i) small.pixels[i] = static_cast<uint8_t>(i * 91);
    const std::vector<uint8_t> before = small.pixels;
    kit::SmoothPicture(small);
    EXPECT_EQ(small.pixels, before) << w << "x" << h;
  }
}

}  // namespace
}  // namespace fluxo
