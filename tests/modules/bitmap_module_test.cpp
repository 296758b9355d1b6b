#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bitmap_bytes.h"
#include "module_harness.h"
#include "modules/bitmap.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

using test::ManualClock;
using test::ModuleHarness;

enum { kDisplayType = 0, kForceGradient = 1, kDuration = 2, kSmoothing = 3, kRandomOrder = 4, kFileOrScreen = 5 };

std::string MakeFolder(const std::string& name) {
  const std::string folder = test::TestHome() + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteFlat(const std::string& path, uint8_t value) {
  test::WriteFile(path, test::BitmapBytes(test::EightBitPicture(6, 4, [value](int, int) { return value; })));
}

void SetPath(ModuleHarness& h, const std::string& mask) {
  std::snprintf(h.slot().path, sizeof h.slot().path, "%s", mask.c_str());
}

void Start(ModuleHarness& h) {
  kBitmapOperations.allocate(&h.slot());
  kBitmapOperations.initialise(&h.slot());
}

// Frames with the clock moving on by `stepMs` each, until `done` holds; the
// loader gets real time between frames. False when it never does.
bool RunFramesUntil(ModuleHarness& h, uint32_t stepMs, const std::function<bool()>& done) {
  for (int i = 0; i < 5000; ++i) {
    ManualClock::now += stepMs;
    EXPECT_EQ(kBitmapOperations.frame(&h.slot()), 0);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// The one palette entry the whole surface shows, or -1 when it is not flat
// (or not one of the animated entries).
int FlatEntry(ModuleHarness& h) {
  const std::vector<uint8_t> pixels = h.Pixels();
  for (uint8_t p : pixels)
    if (p != pixels[0]) return -1;
  return pixels[0] >= gdi::kFirstAnimatedPixel ? pixels[0] - gdi::kFirstAnimatedPixel : -1;
}

// The flat pictures shown one after another, as palette entries.
std::vector<int> PicturesShown(ModuleHarness& h, int count) {
  std::vector<int> shown;
  int current = -2;
  RunFramesUntil(h, 100, [&] {
    const int entry = FlatEntry(h);
    if (h.CountNonBlack() > 0 && entry < 0) ADD_FAILURE() << "a picture drawn only in part, or garbage";
    if (entry >= 0 && entry != current) {
      current = entry;
      shown.push_back(entry);
    }
    return static_cast<int>(shown.size()) == count;
  });
  return shown;
}

TEST(BitmapModuleTest, ShowsTheFilesOneAfterAnotherInOrderStretchedOverTheSurface) {
  const std::string folder = MakeFolder("slides-order");
  WriteFlat(folder + "/a.bmp", 20);
  WriteFlat(folder + "/B.BMP", 40);
  WriteFlat(folder + "/c.bmp", 60);
  ModuleHarness h(kModuleBitmap, 32, 24);
  SetPath(h, folder + "/*.bmp");
  h.SetControl(kDuration, 1);
  h.SetControl(kSmoothing, 0);
  Start(h);
  const std::vector<int> shown = PicturesShown(h, 5);
  kBitmapOperations.free(&h.slot());
  ASSERT_EQ(shown.size(), 5u);
  const std::vector<int> cycle = {20, 40, 60};
  for (size_t i = 1; i < shown.size(); ++i) {
    const auto at = std::find(cycle.begin(), cycle.end(), shown[i - 1]);
    ASSERT_NE(at, cycle.end());
    EXPECT_EQ(shown[i], cycle[(at - cycle.begin() + 1) % 3]) << "after " << shown[i - 1];
  }
}

TEST(BitmapModuleTest, ARestartedDisplayGoesOnWhereTheLastOneStopped) {
  const std::string folder = MakeFolder("slides-restart");
  WriteFlat(folder + "/a.bmp", 20);
  WriteFlat(folder + "/b.bmp", 40);
  WriteFlat(folder + "/c.bmp", 60);
  ModuleHarness h(kModuleBitmap, 16, 12);
  SetPath(h, folder + "/*.bmp");
  h.SetControl(kDuration, 1);
  h.SetControl(kSmoothing, 0);
  Start(h);
  const std::vector<int> before = PicturesShown(h, 2);
  kBitmapOperations.free(&h.slot());
  ASSERT_EQ(before.size(), 2u);
  // The loader waiting behind the second picture may already have taken the
  // next file; either way the list goes on from the last file taken.
  const std::vector<int> cycle = {20, 40, 60};
  const uint32_t last = LastPictureIndex();
  ASSERT_LT(last, 3u);
  const auto shownAt = static_cast<uint32_t>(std::find(cycle.begin(), cycle.end(), before.back()) - cycle.begin());
  EXPECT_TRUE(last == shownAt || last == (shownAt + 1) % 3) << last << " after " << before.back();
  h.Clear();
  Start(h);
  const std::vector<int> after = PicturesShown(h, 1);
  kBitmapOperations.free(&h.slot());
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], cycle[(last + 1) % 3]);
}

TEST(BitmapModuleTest, DamagedAndUnreadablePicturesAreSkippedQuietly) {
  const std::string folder = MakeFolder("slides-damaged");
  WriteFlat(folder + "/a.bmp", 20);
  std::vector<uint8_t> cut = test::BitmapBytes(test::EightBitPicture(6, 4, [](int, int) { return 99; }));
  cut.resize(cut.size() - 3);
  test::WriteFile(folder + "/b.bmp", cut);
  test::BitmapLayout huge = test::EightBitPicture(6, 4, [](int, int) { return 98; });
  huge.width = huge.height = 100000;
  test::WriteFile(folder + "/c.bmp", test::BitmapBytes(huge));
  test::WriteFile(folder + "/d.png", {1, 2, 3});  // no importer in the engine alone
  WriteFlat(folder + "/e.bmp", 60);
  ModuleHarness h(kModuleBitmap, 16, 12);
  SetPath(h, folder + "/*.*");
  h.SetControl(kDuration, 1);
  h.SetControl(kSmoothing, 0);
  Start(h);
  const std::vector<int> shown = PicturesShown(h, 4);
  kBitmapOperations.free(&h.slot());
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(std::set<int>(shown.begin(), shown.end()), (std::set<int>{20, 60}));
}

TEST(BitmapModuleTest, AFreedModuleNeverDraws) {
  const std::string folder = MakeFolder("slides-freed");
  WriteFlat(folder + "/a.bmp", 20);
  WriteFlat(folder + "/b.bmp", 40);
  ModuleHarness h(kModuleBitmap, 16, 12);
  SetPath(h, folder + "/*.bmp");
  Start(h);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  kBitmapOperations.free(&h.slot());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(h.CountNonBlack(), 0);
}

TEST(BitmapModuleTest, TheScreenModeShowsHalfTheSurfaceInGreyLevels) {
  ModuleHarness h(kModuleBitmap, 8, 6);
  uint8_t* p = h.surface().MutablePixels();
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x) p[y * 8 + x] = gdi::kWhitePixel;
  h.SetControl(kFileOrScreen, 1);
  h.SetControl(kDuration, 0);
  h.SetControl(kSmoothing, 0);
  h.SetControl(kDisplayType, 0);
  Start(h);
  const bool drawn = RunFramesUntil(h, 10, [&] { return h.surface().PixelAt(4, 2) != gdi::kBlackPixel; });
  kBitmapOperations.free(&h.slot());
  ASSERT_TRUE(drawn);
  // The 4 x 3 grab, centred at (2, 2): white became grey 255, which is drawn
  // as the last palette entry; black became entry 0.
  for (int y = 2; y < 5; ++y) {
    EXPECT_EQ(h.surface().PixelAt(2, y), gdi::PixelOfEntry(235));
    EXPECT_EQ(h.surface().PixelAt(3, y), gdi::PixelOfEntry(235));
    EXPECT_EQ(h.surface().PixelAt(4, y), gdi::PixelOfEntry(0));
    EXPECT_EQ(h.surface().PixelAt(5, y), gdi::PixelOfEntry(0));
  }
  EXPECT_EQ(h.surface().PixelAt(1, 1), gdi::kWhitePixel);
  EXPECT_EQ(h.surface().PixelAt(6, 1), gdi::kBlackPixel);
}

// Shows one 3 x 2 picture (bottom-up rows; entry 10 * row-from-top + column + 1)
// with the given display type.
ModuleHarness& ShowSmallPicture(ModuleHarness& h, int displayType, const std::string& folderName) {
  const std::string folder = MakeFolder(folderName);
  test::WriteFile(folder + "/only.bmp", test::BitmapBytes(test::EightBitPicture(3, 2, [](int x, int y) {
                    return static_cast<uint8_t>(10 * (1 - y) + x + 1);
                  })));
  SetPath(h, folder + "/only.bmp");
  h.SetControl(kDisplayType, displayType);
  h.SetControl(kSmoothing, 0);
  Start(h);
  EXPECT_TRUE(RunFramesUntil(h, 10, [&] { return h.CountNonBlack() > 0; }));
  kBitmapOperations.free(&h.slot());
  return h;
}

uint8_t Entry(int value) { return gdi::PixelOfEntry(value); }

TEST(BitmapModuleTest, CentredPicturesKeepTheirSizeAndTheRestOfTheSurface) {
  ModuleHarness h(kModuleBitmap, 9, 6);
  ShowSmallPicture(h, 0, "slides-centred");
  // At (9/2 - 3/2, 6/2 - 2/2) = (3, 2).
  EXPECT_EQ(h.CountNonBlack(), 6);
  EXPECT_EQ(h.surface().PixelAt(3, 2), Entry(1));
  EXPECT_EQ(h.surface().PixelAt(5, 2), Entry(3));
  EXPECT_EQ(h.surface().PixelAt(3, 3), Entry(11));
}

TEST(BitmapModuleTest, TilesCoverTheSurfaceOverlappingTheFirstTileByOnePixel) {
  ModuleHarness h(kModuleBitmap, 10, 5);
  ShowSmallPicture(h, 3, "slides-tiles");
  EXPECT_EQ(h.CountNonBlack(), 50);
  EXPECT_EQ(h.surface().PixelAt(0, 0), Entry(1));
  EXPECT_EQ(h.surface().PixelAt(2, 0), Entry(1));  // the first copy starts on the tile's last column
  EXPECT_EQ(h.surface().PixelAt(0, 1), Entry(1));  // the first band starts on the tile's last row
  EXPECT_EQ(h.surface().PixelAt(2, 1), Entry(1));
  EXPECT_EQ(h.surface().PixelAt(2, 2), Entry(11));
}

TEST(BitmapModuleTest, MirroredTilesTurnEveryOtherCopyAround) {
  ModuleHarness h(kModuleBitmap, 12, 2);
  ShowSmallPicture(h, 2, "slides-mirrored");
  EXPECT_EQ(h.CountNonBlack(), 24);
  std::vector<uint8_t> top;
  for (int x = 0; x < 12; ++x) top.push_back(h.surface().PixelAt(x, 0));
  // The master, then copies widened by a pixel, mirrored and straight in turn.
  const std::vector<int> entries = {1, 2, 3, 3, 2, 1, 1, 2, 3, 3, 2, 1};
  for (int x = 0; x < 12; ++x) EXPECT_EQ(top[x], Entry(entries[x])) << x;
}

TEST(BitmapModuleTest, APictureWiderThanTheSurfaceIsDrawnOnceClipped) {
  ModuleHarness h(kModuleBitmap, 2, 1);
  ShowSmallPicture(h, 3, "slides-wide");
  EXPECT_EQ(h.surface().PixelAt(0, 0), Entry(1));
  EXPECT_EQ(h.surface().PixelAt(1, 0), Entry(2));
}

}  // namespace
}  // namespace fluxo
