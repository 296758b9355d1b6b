#include "host/mouse_input.h"

#include <gtest/gtest.h>

namespace fluxo {
namespace {

TEST(MouseInput, PositionsPackXLowAndYHigh) {
  EXPECT_EQ(PackMousePosition(0x1234, 0x0567), intptr_t{0x05671234});
  for (auto [x, y] : {std::pair{0, 0}, {1919, 1079}, {-1, -32768}, {32767, -5}}) {
    const intptr_t packed = PackMousePosition(x, y);
    EXPECT_EQ(MouseX(packed), x);
    EXPECT_EQ(MouseY(packed), y);
  }
  EXPECT_EQ(PackMousePosition(-1, 0), intptr_t{0xFFFF});  // y does not pick up x's sign
}

TEST(MouseInput, ThresholdCountsFromTheFirstPositionSeen) {
  MouseMoveThreshold threshold;
  EXPECT_FALSE(threshold.MovedTooFar(500, 300));  // first sight, wherever it is
  EXPECT_FALSE(threshold.MovedTooFar(504, 300));
  EXPECT_FALSE(threshold.MovedTooFar(500, 296));
  EXPECT_FALSE(threshold.MovedTooFar(502, 303));  // about 3.6 pixels away
  // Small steps do not add up: the distance is from the first position.
  EXPECT_FALSE(threshold.MovedTooFar(497, 302));
  EXPECT_TRUE(threshold.MovedTooFar(505, 300));
  EXPECT_TRUE(threshold.MovedTooFar(503, 304));  // 5 pixels diagonally
  EXPECT_FALSE(threshold.MovedTooFar(500, 300));  // back home
}

}  // namespace
}  // namespace fluxo
