#pragma once
#include <cstdint>
#include <memory>

#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

struct Vector3 {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Rotates a vector in three plane rotations: about z by c, then about x by a,
// then about y by b.
void RotateVector(Vector3& v, double a, double b, double c);

// A perspective projector looking down +z from the eye onto a viewport.
struct Camera3D {
  static constexpr double kNearPlane = 10.0;  // points closer to the eye are not drawn

  uint32_t boxClip = 0;  // non-zero: reject points outside the box instead of near ones
  uint32_t outside = 0;  // the last projected point lay outside the box
  uint32_t behind = 0;   // the last projected point lay too close to or behind the eye
  double viewportWidth = 0;
  double viewportHeight = 0;
  double centreX = 0;
  double centreY = 0;
  double focal = 0;
  Vector3 boxMin;
  Vector3 boxMax;  // exclusive
  Vector3 eye;
  double a = 0;
  double b = 0;
  double c = 0;

  // The viewport is (0, 0, right, bottom); the box follows it and the current
  // eye depth and focal distance.
  void SetViewport(const gdi::Rect& rect);

  // Rotates the point about the eye by the camera angles and projects it.
  // Returns whether the point is drawable; the outputs are 0 when it is not.
  bool Project(double x, double y, double z, int& screenX, int& screenY);
  bool Project(const Vector3& point, gdi::Point& screen);
};

// A camera on the window's client area, or on 320 x 200 without a window:
// focal distance 200, eye at (0, 0, -125), no rotation, near-plane clipping.
std::unique_ptr<Camera3D> CreateCamera3D(const gdi::FrameSurface* window = nullptr);

}  // namespace fluxo::kit
