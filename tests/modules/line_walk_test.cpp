#include "modules/kit/line_walk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/gdi/gdi_types.h"

namespace fluxo::kit {
namespace {

std::vector<gdi::Point> Walk(int x0, int y0, int x1, int y1) {
  std::vector<gdi::Point> visited;
  WalkLine(x0, y0, x1, y1, [&](int x, int y) { visited.push_back({x, y}); });
  return visited;
}

TEST(LineWalkTest, VisitsFromTheStartAndLeavesOutTheEnd) {
  EXPECT_EQ(Walk(3, 5, 6, 5), (std::vector<gdi::Point>{{3, 5}, {4, 5}, {5, 5}}));
  EXPECT_EQ(Walk(2, 2, 2, -1), (std::vector<gdi::Point>{{2, 2}, {2, 1}, {2, 0}}));
  EXPECT_EQ(Walk(0, 0, 2, 2), (std::vector<gdi::Point>{{0, 0}, {1, 1}}));
  EXPECT_TRUE(Walk(4, 4, 4, 4).empty());
}

TEST(LineWalkTest, StepsAreConnectedInEveryDirection) {
  const int ends[][2] = {{17, 5}, {5, 17}, {-17, 5}, {-5, 17}, {17, -5}, {5, -17}, {-17, -5}, {-5, -17}};
  for (const auto& end : ends) {
    const std::vector<gdi::Point> visited = Walk(0, 0, end[0], end[1]);
    ASSERT_EQ(visited.size(), static_cast<size_t>(std::max(std::abs(end[0]), std::abs(end[1]))));
    gdi::Point previous = visited.front();
    for (size_t i = 1; i < visited.size(); ++i) {
      EXPECT_LE(std::abs(visited[i].x - previous.x), 1);
      EXPECT_LE(std::abs(visited[i].y - previous.y), 1);
      previous = visited[i];
    }
    // The last visited pixel is next to the end point.
    EXPECT_LE(std::abs(end[0] - previous.x), 1);
    EXPECT_LE(std::abs(end[1] - previous.y), 1);
  }
}

}  // namespace
}  // namespace fluxo::kit
