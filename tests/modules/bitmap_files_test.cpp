#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/kit/file_mask.h"
#include "platform/system/random.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

std::string MakeFolder(const std::string& name, const std::vector<std::string>& files) {
  const std::string folder = test::TestHome() + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (const std::string& file : files) std::ofstream(folder + "/" + file) << "x";
  return folder;
}

std::string NameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

TEST(BitmapFilesTest, MasksMatchIgnoringCaseAndOnlyRegularFiles) {
  const std::string folder = MakeFolder("mask-case", {"b.bmp", "A.BMP", "c.Bmp", "notes.txt", "bmp"});
  std::filesystem::create_directories(folder + "/d.bmp");
  EXPECT_EQ(kit::CountFiles(folder + "/*.BMP"), 3);
  EXPECT_EQ(kit::CountFiles(folder + "/*.*"), 5);
  EXPECT_EQ(kit::CountFiles(folder + "/?.bmp"), 3);
  EXPECT_EQ(kit::CountFiles(folder + "/NOTES.TXT"), 1);
  EXPECT_EQ(kit::CountFiles(folder + "/*.png"), 0);
  EXPECT_EQ(kit::CountFiles(test::TestHome() + "/no-such-folder/*.bmp"), 0);
  EXPECT_TRUE(kit::MaskMatches("*.*", "README"));
  EXPECT_TRUE(kit::MaskMatches("a*b*c", "AxxBxxC"));
  EXPECT_FALSE(kit::MaskMatches("a*b*c", "axxbxxd"));
}

TEST(BitmapFilesTest, InOrderThePicksRunSecondThirdFirstAndOnAcrossRestarts) {
  const std::string folder = MakeFolder("mask-order", {"b.bmp", "A.BMP", "c.Bmp"});
  uint32_t last = 0;
  std::vector<std::string> shown;
  std::string path;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(kit::PickFile(folder + "/*.bmp", path, false, last));
    EXPECT_EQ(std::filesystem::path(path).parent_path(), std::filesystem::path(folder));
    shown.push_back(NameOf(path));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"b.bmp", "c.Bmp", "A.BMP", "b.bmp"}));
  EXPECT_EQ(last, 1u);

  // A position beyond a shrunken list wraps into it.
  uint32_t beyond = 7;
  ASSERT_TRUE(kit::PickFile(folder + "/*.bmp", path, false, beyond));
  EXPECT_EQ(beyond, 8u % 3u);
}

TEST(BitmapFilesTest, RandomPicksStayInTheListAndNothingMatchingLeavesThePositionAlone) {
  const std::string folder = MakeFolder("mask-random", {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"});
  SeedRandom(11);
  std::vector<int> seen(5, 0);
  std::string path;
  uint32_t last = 0;
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(kit::PickFile(folder + "/*.BMP", path, true, last));
    ASSERT_LT(last, 5u);
    EXPECT_EQ(NameOf(path), std::to_string(last + 1) + ".bmp");
    ++seen[last];
  }
  for (int count : seen) EXPECT_GT(count, 0);

  uint32_t kept = 3;
  path = "unchanged";
  EXPECT_FALSE(kit::PickFile(folder + "/*.png", path, false, kept));
  EXPECT_EQ(kept, 3u);
  EXPECT_EQ(path, "unchanged");
}

}  // namespace
}  // namespace fluxo
