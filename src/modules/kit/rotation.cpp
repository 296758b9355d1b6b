#include "modules/kit/rotation.h"

#include <cmath>

namespace fluxo::kit {

gdi::Point RotatePoint(gdi::Point p, float angle) {
  const double c = std::cos(static_cast<double>(angle));
  const double s = std::sin(static_cast<double>(angle));
  return {static_cast<int32_t>(c * p.x + s * p.y), static_cast<int32_t>(-s * p.x + c * p.y)};
}

gdi::Point RotateAbout(gdi::Point p, gdi::Point centre, float angle) {
  const gdi::Point r = RotatePoint({p.x - centre.x, p.y - centre.y}, angle);
  return {r.x + centre.x, r.y + centre.y};
}

float SymmetryAngleStep(int copies) { return copies > 0 ? 6.2832f / static_cast<float>(copies) : 0.0f; }

}  // namespace fluxo::kit
