#pragma once
#include <algorithm>
#include <cstdlib>

namespace fluxo::kit {

// Visits the pixels of the line from (x0, y0) toward (x1, y1), leaving out the
// end point, as the platform's line walking does.
template <typename Visit>
void WalkLine(int x0, int y0, int x1, int y1, Visit&& visit) {
  const int dx = std::abs(x1 - x0);
  const int dy = std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1;
  const int stepY = y0 < y1 ? 1 : -1;
  const int steps = std::max(dx, dy);
  int error = dx - dy;
  int x = x0;
  int y = y0;
  for (int i = 0; i < steps; ++i) {
    visit(x, y);
    const int twice = 2 * error;
    if (twice > -dy) {
      error -= dy;
      x += stepX;
    }
    if (twice < dx) {
      error += dx;
      y += stepY;
    }
  }
}

}  // namespace fluxo::kit
