#pragma once
#include <cstddef>
#include <span>

#include "platform/gdi/gdi_types.h"

namespace fluxo::kit {

// Rotates an integer point about the origin by `angle` radians (y grows downwards):
// x' = trunc(cos a * x + sin a * y), y' = trunc(-sin a * x + cos a * y).
gdi::Point RotatePoint(gdi::Point p, float angle);

// The same rotation about `centre`.
gdi::Point RotateAbout(gdi::Point p, gdi::Point centre, float angle);

// The angle between two of `copies` rotated copies, in single precision as the
// modules store it; 0 when there are no copies.
float SymmetryAngleStep(int copies);

// Draws a figure with rotational symmetry about `centre`: with one copy the
// figure as it is, otherwise copy k rotated by k * angleStep. `scratch` holds at
// least as many points as the figure; `draw` receives each copy.
template <typename Draw>
void DrawSymmetricCopies(std::span<const gdi::Point> points, int copies, float angleStep, gdi::Point centre,
                         std::span<gdi::Point> scratch, Draw&& draw) {
  if (copies == 1) {
    draw(points);
    return;
  }
  const std::span<gdi::Point> copy = scratch.first(points.size());
  for (int k = 0; k < copies; ++k) {
    const float angle = angleStep * static_cast<float>(k);
    for (std::size_t i = 0; i < points.size(); ++i) copy[i] = RotateAbout(points[i], centre, angle);
    draw(std::span<const gdi::Point>(copy));
  }
}

}  // namespace fluxo::kit
