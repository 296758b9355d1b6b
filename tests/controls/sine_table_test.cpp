#include <gtest/gtest.h>

#include <cmath>

#include "controls/controls.h"

namespace fluxo {
namespace {

TEST(SineTable, QuarterHalfAndFullTurn) {
  EXPECT_EQ(SineTable[511], 16382);
  EXPECT_EQ(SineTable[1023], 0);
  EXPECT_EQ(SineTable[2047], 0);
  EXPECT_EQ(SineTable[1535], -16382);
}

TEST(SineTable, EveryEntryFollowsTheFormula) {
  for (int i = 0; i < kSineTableSize; ++i) {
    long expected = std::lround(16382.0 * std::sin(2.0 * M_PI * (i + 1) / 2048.0));
    ASSERT_EQ(SineTable[i], expected) << "entry " << i;
  }
}

}  // namespace
}  // namespace fluxo
