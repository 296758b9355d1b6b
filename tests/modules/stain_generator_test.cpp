#include <gtest/gtest.h>

#include "module_harness.h"
#include "modules/stain.h"

namespace fluxo {
namespace {

using test::ModuleHarness;

enum { kNodes = 0, kType = 2 };

constexpr int kW = 40, kH = 30, kM = kW - 1, kN = kH - 1;

class StainGeneratorTest : public ::testing::TestWithParam<uint32_t> {
 protected:
  void SetUp() override {
    harness_.SetControl(kNodes, 4);
    harness_.SetControl(kType, 1);
    SeedRandom(GetParam());
    kStainOperations.allocate(&harness_.slot());
    kStainOperations.initialise(&harness_.slot());
  }
  void TearDown() override { kStainOperations.free(&harness_.slot()); }

  ModuleHarness harness_{kModuleStain, kW, kH};
};

TEST_P(StainGeneratorTest, TheMixingGeneratorsPickByParityOrByTheColourMean) {
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const int mean = stain::ValueAt(1, x, y);
      EXPECT_EQ(stain::ValueAt(6, x, y), stain::ValueAt((x + y) % 2 == 0 ? 1 : 2, x, y)) << x << "," << y;
      const int choice = mean / 20 % 3;
      EXPECT_EQ(stain::ValueAt(7, x, y), stain::ValueAt(choice == 0 ? 0 : choice == 1 ? 1 : 4, x, y));
      const int g8[] = {stain::ValueAt(0, x, y), stain::ValueAt(0, kM - x, y), stain::ValueAt(0, x, kN - y)};
      EXPECT_EQ(stain::ValueAt(8, x, y), g8[choice]) << x << "," << y;
      const int g9[] = {stain::ValueAt(1, kM - x, y), stain::ValueAt(1, x, kN - y), stain::ValueAt(1, kM - x, kN - y)};
      EXPECT_EQ(stain::ValueAt(9, x, y), g9[choice]) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, StainGeneratorTest, ::testing::Values(2u, 19u, 333u));

}  // namespace
}  // namespace fluxo
