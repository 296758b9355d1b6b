#include "modules/kit/bouncing_points.h"

#include <algorithm>
#include <cstdlib>

#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

// One axis of a move: the new coordinate, or a reversal at the box edge.
void MoveAxis(int32_t& coordinate, int32_t& velocity, int speed, int lo, int hi) {
  const int32_t next = coordinate + velocity * speed;
  if (next < lo || next >= hi)
    velocity = -velocity;
  else
    coordinate = next;
}

}  // namespace

int RandomDirection() { return Rand() % 2 == 1 ? -1 : 1; }

void PlaceBouncingPoints(BouncingPoints& points, int count, int width, int height) {
  points.count = std::clamp(count, 0, BouncingPoints::kMaxPoints);
  for (int i = 0; i < points.count; ++i) {
    points.position[i].x = 5 + Rand() % (std::abs(width - 10) + 1);
    points.position[i].y = 5 + Rand() % (std::abs(height - 10) + 1);
    points.velocity[i].x = RandomDirection();
    points.velocity[i].y = RandomDirection();
  }
}

void MoveBouncingPoints(BouncingPoints& points, int speed, const BounceBox& box) {
  for (int i = 0; i < points.count; ++i) {
    MoveAxis(points.position[i].x, points.velocity[i].x, speed, box.left, box.right);
    MoveAxis(points.position[i].y, points.velocity[i].y, speed, box.top, box.bottom);
  }
}

}  // namespace fluxo::kit
