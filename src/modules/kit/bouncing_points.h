#pragma once
#include <array>
#include <span>

#include "platform/gdi/gdi_types.h"

namespace fluxo::kit {

// Points that move by a velocity per frame and turn back at the edges of a box.
struct BouncingPoints {
  static constexpr int kMaxPoints = 44;  // 2 * 20 + 4: the most any module moves

  std::array<gdi::Point, kMaxPoints> position{};
  std::array<gdi::Point, kMaxPoints> velocity{};
  int count = 0;

  std::span<const gdi::Point> Positions() const { return {position.data(), static_cast<size_t>(count)}; }
};

// The box the points stay in; right and bottom are exclusive.
using BounceBox = gdi::Rect;

// -1 when the next draw is odd, otherwise +1.
int RandomDirection();

// Places `count` points at random inside a width x height surface, 5 pixels
// from its edges, each moving one pixel per axis in a random direction. Four
// draws per point: x, y, x direction, y direction.
void PlaceBouncingPoints(BouncingPoints& points, int count, int width, int height);

// Moves every point by velocity * speed on each axis; a point that would leave
// the box reverses on that axis and stays where it is for this frame.
void MoveBouncingPoints(BouncingPoints& points, int speed, const BounceBox& box);

}  // namespace fluxo::kit
