#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bitmap_bytes.h"
#include "modules/kit/bitmap_file.h"
#include "modules/kit/index_picture.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

using test::BitmapBytes;
using test::BitmapLayout;

// The picture's value at (x, y), y counted in memory rows.
uint8_t At(const kit::IndexPicture& p, int x, int y) { return p.pixels[static_cast<size_t>(y) * p.Stride() + x]; }

kit::IndexPicture Read(const BitmapLayout& layout, bool grey = false) {
  std::optional<kit::SourceDib> dib = kit::ParseBitmapFile(BitmapBytes(layout));
  if (!dib) throw std::runtime_error("the reader refused a good bitmap");
  std::optional<kit::IndexPicture> picture = kit::ConvertToIndexPicture(*dib, grey);
  if (!picture) throw std::runtime_error("the conversion refused a good bitmap");
  return *picture;
}

TEST(BitmapReaderTest, OneAndFourBitPixelsComeOutInOrderFromTheHighBitsDown) {
  BitmapLayout mono;
  mono.width = 10;
  mono.height = 2;
  mono.bits = 1;
  mono.colours = {0x000000, 0xFFFFFF};
  mono.pixels = {0b10110000, 0b01000000, 0, 0, 0b00000001, 0b10000000, 0, 0};
  const kit::IndexPicture one = Read(mono);
  const std::vector<uint8_t> row0 = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  const std::vector<uint8_t> row1 = {0, 0, 0, 0, 0, 0, 0, 1, 1, 0};
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(At(one, x, 0), row0[x]) << x;
    EXPECT_EQ(At(one, x, 1), row1[x]) << x;
  }

  BitmapLayout four;
  four.width = 3;
  four.height = 1;
  four.bits = 4;
  four.colours = test::GreyTable(16);
  four.pixels = {0x5A, 0xF0, 0, 0};
  const kit::IndexPicture nibbles = Read(four);
  EXPECT_EQ(At(nibbles, 0, 0), 5);
  EXPECT_EQ(At(nibbles, 1, 0), 10);
  EXPECT_EQ(At(nibbles, 2, 0), 15);
}

TEST(BitmapReaderTest, ATopDownPictureKeepsItsRowsAndSaysSo) {
  BitmapLayout layout = test::EightBitPicture(2, 3, [](int x, int y) { return static_cast<uint8_t>(10 * y + x); });
  layout.height = -3;
  const kit::IndexPicture picture = Read(layout);
  EXPECT_TRUE(picture.topDown);
  EXPECT_EQ(picture.Info().height, -3);
  EXPECT_EQ(At(picture, 1, 2), 21);
}

TEST(BitmapReaderTest, ACoreHeaderHasThreeByteColoursAndSixteenBitSizes) {
  BitmapLayout layout = test::EightBitPicture(2, 1, [](int x, int) { return static_cast<uint8_t>(x); });
  layout.coreHeader = true;
  layout.colours = {0x000000, 0x306090};  // (0x30 + 0x60 + 0x90 + 1) / 3 = 0x60
  const kit::IndexPicture grey = Read(layout, true);
  EXPECT_EQ(At(grey, 0, 0), 0);
  EXPECT_EQ(At(grey, 1, 0), 0x60);
}

TEST(BitmapReaderTest, RunLengthEightBitStreamsFollowRunsAbsoluteRunsLineEndsAndDeltas) {
  BitmapLayout layout;
  layout.width = 6;
  layout.height = 3;
  layout.bits = 8;
  layout.compression = 1;
  layout.colours = test::GreyTable(256);
  layout.pixels = {3, 7,              // 7 7 7
                 0, 3, 1, 2, 3, 0,  // absolute 1 2 3, padded to an even length
                 0, 0,              // next line
                 0, 2, 2, 1,        // skip two right and one up
                 2, 9,              // 9 9 at (2..3, 2)
                 0, 1};             // end of bitmap
  const kit::IndexPicture p = Read(layout);
  const std::vector<std::vector<uint8_t>> expected = {{7, 7, 7, 1, 2, 3}, {0, 0, 0, 0, 0, 0}, {0, 0, 9, 9, 0, 0}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(At(p, x, y), expected[y][x]) << x << "," << y;
}

TEST(BitmapReaderTest, RunLengthFourBitStreamsAlternateTheNibbles) {
  BitmapLayout layout;
  layout.width = 8;
  layout.height = 1;
  layout.bits = 4;
  layout.compression = 2;
  layout.colours = test::GreyTable(16);
  layout.pixels = {5, 0x12,              // 1 2 1 2 1
                 0, 3,    0x34, 0x50,  // absolute 3 4 5
                 0, 1};
  const kit::IndexPicture p = Read(layout);
  const std::vector<uint8_t> expected = {1, 2, 1, 2, 1, 3, 4, 5};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(p, x, 0), expected[x]) << x;
}

TEST(BitmapReaderTest, AFileOnDiskReadsLikeItsBytesAndTrailingBytesDoNotMatter) {
  BitmapLayout layout = test::EightBitPicture(5, 4, [](int x, int y) { return static_cast<uint8_t>(x * y); });
  std::vector<uint8_t> bytes = BitmapBytes(layout);
  bytes.resize(bytes.size() + 100000, 0xEE);
  const std::string path = test::TestHome() + "/reader-trailing.bmp";
  test::WriteFile(path, bytes);
  std::optional<kit::SourceDib> fromFile = kit::ReadBitmapFile(path);
  ASSERT_TRUE(fromFile);
  EXPECT_EQ(fromFile->bits, layout.pixels);
  EXPECT_FALSE(kit::ReadBitmapFile(test::TestHome() + "/no-such-picture.bmp"));
}

struct Malformed {
  const char* what;
  std::function<std::vector<uint8_t>()> bytes;
};

BitmapLayout Good() {
  return test::EightBitPicture(4, 2, [](int x, int y) { return static_cast<uint8_t>(x + y); });
}

BitmapLayout Rle(std::vector<uint8_t> stream, int width = 4, int height = 2) {
  BitmapLayout layout;
  layout.width = width;
  layout.height = height;
  layout.compression = 1;
  layout.colours = test::GreyTable(256);
  layout.pixels = std::move(stream);
  return layout;
}

std::vector<uint8_t> With(BitmapLayout layout, const std::function<void(BitmapLayout&)>& change) {
  change(layout);
  return BitmapBytes(layout);
}

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

TEST(BitmapReaderTest, EveryMalformedPictureIsRefused) {
  const std::vector<Malformed> cases = {
      {"not a bitmap file",
       [] {
         auto b = BitmapBytes(Good());
         b[0] = 'X';
         return b;
       }},
      {"shorter than its headers",
       [] {
         auto b = BitmapBytes(Good());
         b.resize(30);
         return b;
       }},
      {"unknown header size", [] { return Patched(BitmapBytes(Good()), 14, 20); }},
      {"zero width", [] { return With(Good(), [](BitmapLayout& s) { s.width = 0; }); }},
      {"negative width", [] { return With(Good(), [](BitmapLayout& s) { s.width = -4; }); }},
      {"zero height", [] { return With(Good(), [](BitmapLayout& s) { s.height = 0; }); }},
      {"100000 x 100000", [] { return With(Good(), [](BitmapLayout& s) { s.width = s.height = 100000; }); }},
      {"100000 x 100000 run-length picture that ends at once",
       [] {
         return BitmapBytes(Rle({0, 1}, 100000, 100000));
       }},
      {"a side beyond the limit",
       [] {
         return With(Good(), [](BitmapLayout& s) {
           s.width = 40000;
           s.height = 1;
         });
       }},
      {"pixels one byte short",
       [] {
         auto b = BitmapBytes(Good());
         b.pop_back();
         return b;
       }},
      {"colour table cut off",
       [] {
         auto b = BitmapBytes(Good());
         b.resize(14 + 40 + 100);
         return b;
       }},
      {"pixel offset beyond the file", [] { return Patched(BitmapBytes(Good()), 10, 0x7FFFFFF0); }},
      {"pixel offset inside the headers", [] { return Patched(BitmapBytes(Good()), 10, 20); }},
      {"two bits a pixel", [] { return With(Good(), [](BitmapLayout& s) { s.bits = 2; }); }},
      {"compressed as JPEG", [] { return With(Good(), [](BitmapLayout& s) { s.compression = 4; }); }},
      {"run-length 8 at four bits",
       [] {
         return With(Rle({0, 1}), [](BitmapLayout& s) { s.bits = 4; });
       }},
      {"colour masks on a 24-bit picture",
       [] {
         return With(Good(), [](BitmapLayout& s) {
           s.bits = 24;
           s.compression = 3;
           s.masks = {1, 2, 4};
         });
       }},
      {"colour masks missing",
       [] {
         BitmapLayout s = Good();
         s.bits = 16;
         s.compression = 3;
         s.colours.clear();
         s.pixels.clear();
         auto b = BitmapBytes(s);
         return Patched(b, 10, 0);
       }},
      {"run past the end of a row",
       [] {
         return BitmapBytes(Rle({5, 1, 0, 1}));
       }},
      {"absolute run past the end of a row",
       [] {
         return BitmapBytes(Rle({2, 1, 0, 3, 1, 2, 3, 0, 0, 1}));
       }},
      {"delta past the last row",
       [] {
         return BitmapBytes(Rle({0, 2, 0, 2, 1, 1, 0, 1}));
       }},
      {"delta past the end of a row",
       [] {
         return BitmapBytes(Rle({0, 2, 5, 0, 1, 1, 0, 1}));
       }},
      {"line ends past the last row",
       [] {
         return BitmapBytes(Rle({0, 0, 0, 0, 1, 1, 0, 1}));
       }},
      {"no end-of-bitmap mark",
       [] {
         return BitmapBytes(Rle({4, 1, 0, 0, 4, 2}));
       }},
      {"absolute run cut off",
       [] {
         return BitmapBytes(Rle({0, 4, 1, 2}));
       }},
      {"delta cut off",
       [] {
         return BitmapBytes(Rle({0, 2, 1}));
       }},
      {"top-down run-length picture",
       [] {
         return With(Rle({0, 1}), [](BitmapLayout& s) { s.height = -2; });
       }},
  };
  for (const Malformed& c : cases) EXPECT_FALSE(kit::ParseBitmapFile(c.bytes())) << c.what;
}

TEST(BitmapReaderTest, AnAbsurdHeaderIsRefusedFromItsHeadAlone) {
  // The file reader asks the headers how much to read; for a refused header
  // it reads nothing more.
  BitmapLayout layout = Good();
  layout.width = layout.height = 100000;
  std::vector<uint8_t> head = BitmapBytes(layout);
  head.resize(kit::kBitmapHeaderBytes);
  EXPECT_EQ(kit::BitmapFileBytesNeeded(head), 0u);
  EXPECT_EQ(kit::BitmapFileBytesNeeded(BitmapBytes(Good())), BitmapBytes(Good()).size());
}

}  // namespace
}  // namespace fluxo
