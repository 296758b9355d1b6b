#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "module_harness.h"
#include "modules/pattern.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kTurbulence = 1, kType = 2, kTurbulenceType = 4, kParametric = 8, kXTiling = 10, kYTiling = 11 };

constexpr int kW = 19, kH = 14, kM = kW - 1, kN = kH - 1;

// The generator's values over a small surface, with no coordinate warp.
struct Picture {
  std::vector<uint8_t> values;
  int At(int x, int y) const { return values[y * kW + x]; }
  int Mirrored(int x, int y) const { return At(kM - x, kN - y); }
};

Picture Generated(int generator, uint32_t seed) {
  ModuleHarness harness(kModulePattern, kW, kH);
  harness.SetControl(kType, generator);
  SeedRandom(seed);
  kPatternOperations.allocate(&harness.slot());
  kPatternOperations.initialise(&harness.slot());
  Picture picture;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) picture.values.push_back(pattern::ValueAt(x, y));
  kPatternOperations.free(&harness.slot());
  return picture;
}

void ForEachPixel(const std::function<void(int, int)>& check) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) check(x, y);
}

// Generators that read the magnitude profiles share every random draw with
// generator 0 for the same seed, so their table rows can be checked against it.
class PatternGeneratorTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(PatternGeneratorTest, ParityAndMirrorGeneratorsPickFromTheProfileSum) {
  const Picture sum = Generated(0, GetParam());
  const Picture g10 = Generated(10, GetParam());
  const Picture g17 = Generated(17, GetParam());
  const Picture g9 = Generated(9, GetParam());
  ForEachPixel([&](int x, int y) {
    const bool odd = (x + y) % 2 == 1;
    EXPECT_EQ(g10.At(x, y), odd ? sum.At(x, y) : sum.Mirrored(x, y)) << x << "," << y;
    if (odd) {
      EXPECT_EQ(g17.At(x, y), sum.At(x, y)) << x << "," << y;
    }
    if ((x + y) % 4 == 0) {
      EXPECT_EQ(g9.At(x, y), sum.At(x, y)) << x << "," << y;
    }
    if ((x + y) % 4 == 1) {
      EXPECT_EQ(g9.At(x, y), sum.Mirrored(x, y)) << x << "," << y;
    }
  });
}

TEST_P(PatternGeneratorTest, CombinationsOfAPixelAndItsMirrorArePointSymmetric) {
  for (int generator : {11, 13}) {
    const Picture picture = Generated(generator, GetParam());
    ForEachPixel([&](int x, int y) { EXPECT_EQ(picture.At(x, y), picture.Mirrored(x, y)) << generator; });
  }
}

TEST_P(PatternGeneratorTest, TheTwoWavelengthGeneratorAgreesWithTheFirstWavelengthOnOddPixels) {
  const Picture g16 = Generated(16, GetParam());
  const Picture g20 = Generated(20, GetParam());
  int differentEven = 0;
  ForEachPixel([&](int x, int y) {
    if ((x + y) % 2 == 1)
      EXPECT_EQ(g16.At(x, y), g20.At(x, y)) << x << "," << y;
    else
      differentEven += g16.At(x, y) != g20.At(x, y);
  });
  EXPECT_GT(differentEven, 0);  // even pixels use the second wavelengths
}

TEST_P(PatternGeneratorTest, EveryGeneratorGivesPaletteIndices) {
  for (int generator = 0; generator <= 20; ++generator)
    for (uint8_t v : Generated(generator, GetParam()).values) ASSERT_LT(v, 236) << generator;
}

INSTANTIATE_TEST_SUITE_P(Seeds, PatternGeneratorTest, ::testing::Values(3u, 71u, 4242u));

// Warped coordinates and mirrored reads stay inside the profiles for every
// generator, mapping and tiling, on ordinary and absurd surfaces (ASan checks).
TEST(PatternWarpTest, AllGeneratorsAndMappingsStayInsideTheirBuffers) {
  struct Size {
    int width, height, tiling;
  };
  for (const Size size : {Size{1, 1, 1}, Size{1, 37, 1}, Size{37, 1, 1}, Size{23, 9, 1}, Size{9, 23, 1},
                          Size{10, 10, 20}}) {
    for (int generator = 0; generator <= 20; ++generator) {
      // Every mapping (5: none) meets every generator across the sizes.
      for (int turbulenceType : {generator % 6, (generator + 3) % 6}) {
        ModuleHarness harness(kModulePattern, size.width, size.height);
        harness.SetControl(kType, generator);
        harness.SetControl(kTurbulence, turbulenceType == 5 ? 0 : 99);
        harness.SetControl(kTurbulenceType, turbulenceType);
        harness.SetControl(kParametric, generator % 2);
        harness.SetControl(kXTiling, size.tiling);
        harness.SetControl(kYTiling, size.tiling);
        SeedRandom(static_cast<uint32_t>(generator * 7 + turbulenceType));
        kPatternOperations.allocate(&harness.slot());
        kPatternOperations.initialise(&harness.slot());
        for (int frame = 0; frame < 8; ++frame) kPatternOperations.frame(&harness.slot());
        kPatternOperations.free(&harness.slot());
      }
    }
  }
}

}  // namespace
}  // namespace fluxo
