#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "modules/plasma.h"
#include "platform/system/random.h"

namespace fluxo::plasma {
namespace {

// A cloud buffer of distinct-ish values, rows padded to 4 bytes.
struct Cloud {
  Cloud(int width, int height) : stride((width + 3) & ~3), bytes(static_cast<size_t>(stride) * height, 0) {
    view = {bytes.data(), stride, width - 1, height - 1};
  }
  void FillDistinct() {
    for (int y = 0; y <= view.maxY; ++y)
      for (int x = 0; x <= view.maxX; ++x) view.At(x, y) = static_cast<uint8_t>(1 + (x * 37 + y * 101) % 235);
  }
  int stride;
  std::vector<uint8_t> bytes;
  CloudView view;
};

TEST(PlasmaProgressTest, MeasuresTheCompleteSquareAlongTheDiagonalFromTheTopLeft) {
  Cloud cloud(20, 12);  // N = 11
  EXPECT_EQ(Progress(cloud.view), 0);
  cloud.view.At(0, 11) = 7;
  EXPECT_EQ(Progress(cloud.view), 1);
  for (int k = 1; k < 6; ++k) cloud.view.At(k, 11 - k) = 9;
  EXPECT_EQ(Progress(cloud.view), 6);
  // A computed value of 0 still counts as missing.
  for (int k = 6; k < 11; ++k) cloud.view.At(k, 11 - k) = 9;
  cloud.view.At(3, 8) = 0;
  EXPECT_EQ(Progress(cloud.view), 3);
  cloud.view.At(3, 8) = 1;
  EXPECT_EQ(Progress(cloud.view), 11);  // the diagonal reached N
}

TEST(PlasmaProgressTest, ATallTileStopsAtItsLastColumnInsteadOfReadingPastTheRow) {
  Cloud cloud(5, 30);
  for (int k = 0; k < 5; ++k) cloud.view.At(k, 29 - k) = 3;
  EXPECT_EQ(Progress(cloud.view), 4);
}

std::vector<uint8_t> Applied(const Cloud& original, int effect) {
  Cloud copy = original;
  copy.view.pixels = copy.bytes.data();
  ApplyEffect(copy.view, effect);
  return copy.bytes;
}

// The toggle swaps odd columns in the first row; rows keep that phase when an
// odd number of columns is visited and alternate otherwise.
TEST(PlasmaEffectTest, LeftRightSwapExchangesAlternatePixelsWithTheirMirror) {
  for (int width : {9, 11}) {  // M = 8 visits 5 columns, M = 10 visits 6
    Cloud cloud(width, 6);
    cloud.FillDistinct();
    const int m = width - 1;
    const int columns = m / 2 + 1;
    std::vector<uint8_t> expected = cloud.bytes;
    for (int y = 0; y < 5; ++y) {
      const int firstSwapped = (columns % 2 == 1 || y % 2 == 0) ? 1 : 0;
      for (int x = firstSwapped; x < columns; x += 2)
        std::swap(expected[y * cloud.stride + x], expected[y * cloud.stride + m - x]);
    }
    EXPECT_EQ(Applied(cloud, 2), expected) << "width " << width;
  }
}

TEST(PlasmaEffectTest, ReplacementsReadTheUntouchedCopyAndSpareDarkPixels) {
  Cloud cloud(8, 7);
  cloud.FillDistinct();
  const std::vector<uint8_t> result = Applied(cloud, 4);
  const int m = 7, n = 6;
  for (int y = 0; y <= n; ++y) {
    for (int x = 0; x <= m; ++x) {
      const uint8_t before = cloud.view.At(x, y);
      const uint8_t after = result[y * cloud.stride + x];
      if (x < m && y < n && before > 127)
        EXPECT_EQ(after, cloud.view.At(m - x, n - y)) << x << "," << y;
      else
        EXPECT_EQ(after, before) << x << "," << y;
    }
  }
}

TEST(PlasmaEffectTest, CombinedNumbersAreTheirPartsInOrder) {
  Cloud cloud(12, 9);
  cloud.FillDistinct();
  auto then = [&](int first, int second) {
    Cloud step = cloud;
    step.view.pixels = step.bytes.data();
    ApplyEffect(step.view, first);
    ApplyEffect(step.view, second);
    return step.bytes;
  };
  EXPECT_EQ(Applied(cloud, 7), then(4, 1));
  EXPECT_EQ(Applied(cloud, 8), then(5, 1));
  EXPECT_EQ(Applied(cloud, 9), then(6, 1));
  for (int e = 11; e <= 19; ++e) EXPECT_EQ(Applied(cloud, e), then(10, e - 10)) << e;
  EXPECT_EQ(Applied(cloud, 25), Applied(cloud, 10));  // blurred, and 15 is no effect
  EXPECT_NE(Applied(cloud, 3), cloud.bytes);
  EXPECT_NE(Applied(cloud, 1), Applied(cloud, 2));
}

TEST(PlasmaEffectTest, BlurAveragesInPlaceAndNeedsAWideEnoughTile) {
  Cloud cloud(10, 10);
  for (auto& b : cloud.bytes) b = 90;
  EXPECT_EQ(Applied(cloud, 10), cloud.bytes);  // a flat cloud stays flat
  cloud.view.At(1, 1) = 180;
  const std::vector<uint8_t> blurred = Applied(cloud, 10);
  EXPECT_EQ(blurred[1 * cloud.stride + 1], (180 + 8 * 90) / 9);
  // Column 1 is done before column 2, so (2, 1) sees the blurred (1, 1) and (1, 2).
  EXPECT_EQ(blurred[2 * cloud.stride + 1], (100 + 8 * 90) / 9);
  EXPECT_EQ(blurred[1 * cloud.stride + 2], (100 + 91 + 7 * 90) / 9);
  Cloud narrow(4, 10);  // M = 3 < 4
  narrow.FillDistinct();
  EXPECT_EQ(Applied(narrow, 10), narrow.bytes);
}

// The blur written as defined: x outer, y inner, each pixel replaced in place.
void ReferenceBlur(CloudView cloud) {
  for (int x = 1; x <= cloud.maxX - 3; ++x)
    for (int y = 1; y <= cloud.maxY - 3; ++y) {
      int sum = 0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) sum += cloud.At(x + dx, y + dy);
      cloud.At(x, y) = static_cast<uint8_t>(sum / 9);
    }
}

TEST(PlasmaEffectTest, BlurMatchesTheInPlaceDefinitionOnRandomClouds) {
  SeedRandom(99);
  for (auto [width, height] : {std::pair{5, 5}, std::pair{37, 23}, std::pair{64, 9}, std::pair{6, 70}}) {
    Cloud cloud(width, height);
    for (auto& b : cloud.bytes) b = static_cast<uint8_t>(1 + Rand() % 235);
    Cloud expected = cloud;
    expected.view.pixels = expected.bytes.data();
    ReferenceBlur(expected.view);
    EXPECT_EQ(Applied(cloud, 10), expected.bytes) << width << "x" << height;
  }
}

TEST(PlasmaEffectTest, NumberZeroDrawsTheEffectFromTheGenerator) {
  Cloud cloud(12, 9);
  cloud.FillDistinct();
  for (uint32_t seed : {1u, 2u, 3u, 4u, 5u}) {
    SeedRandom(seed);
    const int drawn = Rand() % 20;
    SeedRandom(seed);
    EXPECT_EQ(Applied(cloud, 0), drawn == 0 ? cloud.bytes : Applied(cloud, drawn)) << "seed " << seed;
  }
}

}  // namespace
}  // namespace fluxo::plasma
