#include "modules/kit/camera3d.h"

#include <algorithm>
#include <cmath>

namespace fluxo::kit {
namespace {

// Screen coordinates far outside any surface are kept in a range that later
// integer arithmetic cannot overflow.
int32_t ScreenCoordinate(double v) {
  constexpr double kLimit = 1 << 30;
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp(v, -kLimit, kLimit));
}

bool InsideBox(const Vector3& p, const Vector3& lo, const Vector3& hi) {
  return p.x >= lo.x && p.x < hi.x && p.y >= lo.y && p.y < hi.y && p.z >= lo.z && p.z < hi.z;
}

}  // namespace

void RotateVector(Vector3& v, double a, double b, double c) {
  const double sc = std::sin(c), cc = std::cos(c);
  const double x1 = sc * v.y + cc * v.x;
  const double y1 = -sc * v.x + cc * v.y;
  const double sa = std::sin(a), ca = std::cos(a);
  const double y2 = sa * v.z + ca * y1;
  const double z1 = -sa * y1 + ca * v.z;
  const double sb = std::sin(b), cb = std::cos(b);
  const double z2 = sb * x1 + cb * z1;
  const double x2 = -sb * z1 + cb * x1;
  v = {x2, y2, z2};
}

void Camera3D::SetViewport(const gdi::Rect& rect) {
  viewportWidth = rect.right;
  viewportHeight = rect.bottom;
  centreX = viewportWidth / 2;
  centreY = viewportHeight / 2;
  boxMin = {-viewportWidth, -viewportHeight, eye.z};
  boxMax = {viewportWidth, viewportHeight, focal};
}

bool Camera3D::Project(double x, double y, double z, int& screenX, int& screenY) {
  Vector3 p{x - eye.x, y - eye.y, z - eye.z};
  RotateVector(p, a, b, c);
  p = {p.x + eye.x, p.y + eye.y, p.z + eye.z};
  outside = 0;
  behind = 0;
  screenX = 0;
  screenY = 0;
  if (boxClip != 0) {
    if (!InsideBox(p, boxMin, boxMax)) {
      outside = 1;
      return false;
    }
  } else if (eye.z >= p.z - kNearPlane) {
    behind = 1;
    return false;
  }
  const double depth = p.z - eye.z;
  // A box that reaches the eye plane would otherwise divide by zero.
  if (depth <= 0) {
    behind = 1;
    return false;
  }
  screenX = ScreenCoordinate((p.x - eye.x) / depth * focal + eye.x + centreX);
  screenY = ScreenCoordinate(centreY - ((p.y - eye.y) / depth * focal + eye.y));
  return true;
}

bool Camera3D::Project(const Vector3& point, gdi::Point& screen) {
  int sx = 0, sy = 0;
  const bool drawable = Project(point.x, point.y, point.z, sx, sy);
  screen = {sx, sy};
  return drawable;
}

std::unique_ptr<Camera3D> CreateCamera3D(const gdi::FrameSurface* window) {
  auto camera = std::make_unique<Camera3D>();
  // The viewport is set while eye and focal distance are still zero, so the
  // initial box is flat until the owner sets the viewport again.
  camera->SetViewport(window ? window->ClientRect() : gdi::Rect{0, 0, 320, 200});
  camera->focal = 200.0;
  camera->eye = {0, 0, -125};
  return camera;
}

}  // namespace fluxo::kit
