#include "palette/pal_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/test_environment.h"

namespace fluxo {
namespace {

using Bytes = std::vector<uint8_t>;
using Entries = std::array<PaletteEntry, kPaletteEntries>;

std::string PathOf(const char* name) { return test::TestHome() + "/" + name; }

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Entries Sample() {
  Entries entries;
  for (int i = 0; i < kPaletteEntries; ++i)
    entries[i] = {static_cast<uint8_t>(i * 3), static_cast<uint8_t>(i ^ 0x5A), static_cast<uint8_t>(255 - i),
                  static_cast<uint8_t>(i % 3)};
  return entries;
}

bool Same(const Entries& a, const Entries& b) {
  for (int i = 0; i < kPaletteEntries; ++i)
    if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue || a[i].flags != b[i].flags)
      return false;
  return true;
}

TEST(PalFileTest, TheLayoutIsMagicSizeAndFourBytesPerEntry) {
  const Entries entries = Sample();
  const std::string path = PathOf("layout.PAL");
  ASSERT_EQ(WritePalFile(path, entries.data()), PalFileResult::Ok);
  const Bytes bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 952u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{0x00, 0x42, 0x00, 0x42, 0xB0, 0x03, 0x00, 0x00}));
  EXPECT_EQ(bytes[8 + 4 * 100 + 0], entries[100].red);
  EXPECT_EQ(bytes[8 + 4 * 100 + 1], entries[100].green);
  EXPECT_EQ(bytes[8 + 4 * 100 + 2], entries[100].blue);
  EXPECT_EQ(bytes[8 + 4 * 100 + 3], entries[100].flags);
}

TEST(PalFileTest, WriteReadWriteGivesTheSameBytes) {
  const Entries original = Sample();
  const std::string first = PathOf("first.PAL"), second = PathOf("second.PAL");
  ASSERT_EQ(WritePalFile(first, original.data()), PalFileResult::Ok);
  Entries read{};
  ASSERT_EQ(ReadPalFile(read.data(), first), PalFileResult::Ok);
  EXPECT_TRUE(Same(read, original));
  ASSERT_EQ(WritePalFile(second, read.data()), PalFileResult::Ok);
  EXPECT_EQ(ReadAll(first), ReadAll(second));
}

TEST(PalFileTest, BrokenFilesAreRefusedAndChangeNothing) {
  const Bytes good = SerializePalFile(Sample().data());
  struct Case {
    const char* what;
    Bytes bytes;
    PalFileResult expected;
  };
  Bytes foreign = good;
  foreign[1] = 0x43;
  Bytes sizeField = good;
  sizeField[4] = 0xB1;  // 945: more than the entries hold
  Bytes smallSize = good;
  smallSize[4] = 0x10;
  Bytes oversized = good;
  oversized.push_back(0);
  const std::vector<Case> cases = {
      {"empty", {}, PalFileResult::TooShort},
      {"three bytes", {0x00, 0x42, 0x00}, PalFileResult::TooShort},
      {"magic only", Bytes(good.begin(), good.begin() + 4), PalFileResult::TooShort},
      {"cut in the entries", Bytes(good.begin(), good.end() - 1), PalFileResult::TooShort},
      {"foreign magic", foreign, PalFileResult::ForeignMagic},
      {"size field too big", sizeField, PalFileResult::WrongSize},
      {"size field too small", smallSize, PalFileResult::WrongSize},
      {"trailing bytes", oversized, PalFileResult::TooLong},
  };
  const Entries before = Sample();
  for (const Case& c : cases) {
    const std::string path = PathOf("broken.PAL");
    WriteAll(path, c.bytes);
    Entries entries = before;
    EXPECT_EQ(ReadPalFile(entries.data(), path), c.expected) << c.what;
    EXPECT_TRUE(Same(entries, before)) << c.what;
    EXPECT_STRNE(PalFileResultText(c.expected), "") << c.what;
  }
  Entries entries = before;
  EXPECT_EQ(ReadPalFile(entries.data(), PathOf("missing.PAL")), PalFileResult::CannotOpen);
  EXPECT_EQ(ReadPalFile(entries.data(), test::TestHome()), PalFileResult::CannotOpen) << "a folder";
  EXPECT_TRUE(Same(entries, before));
}

TEST(PalFileTest, AFileThatCannotBeWrittenIsReported) {
  const Entries entries = Sample();
  EXPECT_EQ(WritePalFile(PathOf("no-such-folder/x.PAL"), entries.data()), PalFileResult::WriteFailed);
  // A full device: the data only fails when it is flushed.
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    std::fclose(full);
    EXPECT_EQ(WritePalFile("/dev/full", entries.data()), PalFileResult::WriteFailed);
  }
}

}  // namespace
}  // namespace fluxo
