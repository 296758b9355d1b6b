#include "modules/star.h"

#include <array>
#include <cmath>
#include <memory>
#include <span>

#include "controls/controls.h"
#include "modules/kit/camera3d.h"
#include "modules/kit/controls_in_range.h"
#include "modules/kit/module_surface.h"
#include "modules/kit/rotation.h"
#include "modules/kit/shape_stamp.h"
#include "modules/kit/tile_layout.h"
#include "modules/kit/tiled_stamp_line.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

enum StarControl {
  kStars = 0,
  kStarSize = 1,
  kSpeed = 2,
  kXRevolve = 3,
  kYRevolve = 4,
  kZRevolve = 5,
  kStarRotation = 6,
  kStarSides = 7,
  kStarType = 8,
  kXTiling = 10,
  kYTiling = 11,
  kTileType = 12,
  kSymmetry = 13,
  kDiameter2 = 14,
  kRotation2 = 15,
  kSides2 = 16,
  kDiameter3 = 17,
  kRotation3 = 18,
  kSides3 = 19,
};

constexpr int kMaxStars = 99;
constexpr int kTunnelStars = 20;
constexpr int kColours = 236;
constexpr double kRevolveScale = 0.0004;
constexpr float kSpinScale = 0.007f;

// The stamp level each driven size and spin control writes to.
constexpr std::array<int, 3> kSizeControls = {kStarSize, kDiameter2, kDiameter3};
constexpr std::array<int, 3> kSpinControls = {kStarRotation, kRotation2, kRotation3};

struct Star {
  kit::Vector3 position;
  gdi::Point screen;  // where the last frame saw it
};

struct StarModule {
  std::array<Star, kMaxStars> stars{};
  int count = 0;
  bool tunnel = false;
  int32_t speed = 0;
  std::array<int32_t, 3> revolve{};  // control values; the angle is value * 0.0004
  int colour = 0;
  int32_t columns = 1;
  int32_t rows = 1;
  int32_t tileType = 0;
  int32_t symmetry = 1;
  float angleStep = 0;
  int width = 0;
  int height = 0;
  gdi::Point centre;
  kit::ShapeStamp stamp;
  std::unique_ptr<kit::Camera3D> camera;
};

StarModule g_star;

double RandomFraction() { return static_cast<double>(Rand()) / 32767.0; }

void PlaceStar(Star& star) {
  kit::Vector3& p = star.position;
  if (g_star.tunnel) {
    const double theta = RandomFraction() * 6.28;
    p.x = std::sin(theta) * 90;
    p.y = std::cos(theta) * 90;
    p.z = RandomFraction() * 150 + 200;
  } else {
    const double w = g_star.width;
    const double h = g_star.height;
    p.x = RandomFraction() * 4 * w - 4 * (g_star.width / 2);
    p.y = RandomFraction() * 4 * h - 4 * (g_star.height / 2);
    p.z = RandomFraction() * 4 * w;
  }
}

void ProjectStar(Star& star) {
  g_star.camera->Project(star.position.x, star.position.y, star.position.z, star.screen.x, star.screen.y);
}

bool OnSurface(gdi::Point p) { return p.x >= 1 && p.x < g_star.width && p.y >= 1 && p.y < g_star.height; }

// A streak from the new position back to the old one, once per symmetric copy.
void DrawStreak(gdi::Point now, gdi::Point before) {
  const kit::TileLayout layout =
      kit::TileLayout::ForSurface(g_star.width, g_star.height, g_star.columns, g_star.rows, g_star.tileType);
  const std::array<gdi::Point, 2> ends = {now, before};
  std::array<gdi::Point, 2> scratch;
  kit::DrawSymmetricCopies(ends, g_star.symmetry, g_star.angleStep, g_star.centre, scratch,
                           [&layout](std::span<const gdi::Point> copy) {
                             kit::StampLineInTiles(layout, g_star.stamp, copy[0], copy[1]);
                           });
}

void EvaluateDrivenControls(ModuleSlot& slot) {
  kit::EvaluateLiveControlInRange(slot, kSpeed, g_star.speed);
  kit::EvaluateLiveControlInRange(slot, kXRevolve, g_star.revolve[0]);
  kit::EvaluateLiveControlInRange(slot, kYRevolve, g_star.revolve[1]);
  kit::EvaluateLiveControlInRange(slot, kZRevolve, g_star.revolve[2]);
  kit::EvaluateLiveControlInRange(slot, kXTiling, g_star.columns);
  kit::EvaluateLiveControlInRange(slot, kYTiling, g_star.rows);
  if (kit::EvaluateLiveControlInRange(slot, kSymmetry, g_star.symmetry))
    g_star.angleStep = kit::SymmetryAngleStep(g_star.symmetry);
  for (int level = 0; level < 3; ++level) {
    int32_t value = 0;
    if (kit::EvaluateLiveControlInRange(slot, kSizeControls[level], value))
      g_star.stamp.size[level] = static_cast<float>(value);
    if (kit::EvaluateLiveControlInRange(slot, kSpinControls[level], value))
      g_star.stamp.spin[level] = static_cast<float>(value) * kSpinScale;
  }
}

int32_t Allocate(ModuleSlot*) {
  g_star.camera = kit::CreateCamera3D();
  return 0;
}

int32_t Initialise(ModuleSlot* slot) {
  RandomizeControls(*slot);
  EvaluateSourcedControls(*slot);
  const auto control = [slot](int index) { return kit::ControlInRange(*slot, index); };
  const int stars = control(kStars);
  g_star.tunnel = stars == 0;
  g_star.count = g_star.tunnel ? kTunnelStars : stars;
  g_star.speed = control(kSpeed);
  g_star.revolve = {control(kXRevolve), control(kYRevolve), control(kZRevolve)};
  g_star.columns = control(kXTiling);
  g_star.rows = control(kYTiling);
  g_star.tileType = control(kTileType);
  g_star.symmetry = control(kSymmetry);
  g_star.angleStep = kit::SymmetryAngleStep(g_star.symmetry);

  std::array<int, 3> sides{};
  std::array<int, 3> sizes{};
  std::array<float, 3> spins{};
  constexpr std::array<int, 3> kSidesControls = {kStarSides, kSides2, kSides3};
  for (int level = 0; level < 3; ++level) {
    sides[level] = control(kSidesControls[level]);
    sizes[level] = control(kSizeControls[level]);
    spins[level] = static_cast<float>(control(kSpinControls[level])) * kSpinScale;
  }
  gdi::FrameSurface* surface = &kit::ModuleSurface(*slot);
  kit::InitStamp(g_star.stamp, surface, sides, control(kStarType), static_cast<uint32_t>(g_star.speed / 3 + 3), sizes,
                 spins);

  g_star.width = slot->width;
  g_star.height = slot->height;
  g_star.centre = {slot->width / 2, slot->height / 2};
  g_star.colour = 0;
  if (!g_star.camera) return 0;
  g_star.camera->SetViewport({0, 0, slot->width, slot->height});
  for (int i = g_star.count - 1; i >= 0; --i) {
    PlaceStar(g_star.stars[i]);
    ProjectStar(g_star.stars[i]);
  }
  return 0;
}

int32_t Frame(ModuleSlot* slot) {
  if (!g_star.camera) return 0;
  g_star.colour = (g_star.colour + 1) % kColours;
  kit::SelectStampColour(g_star.stamp, gdi::PaletteIndex(g_star.colour));
  EvaluateDrivenControls(*slot);

  const double a = g_star.revolve[0] * kRevolveScale;
  const double b = g_star.revolve[1] * kRevolveScale;
  const double c = g_star.revolve[2] * kRevolveScale;
  for (int i = 0; i < g_star.count; ++i) {
    Star& star = g_star.stars[i];
    const gdi::Point before = star.screen;
    star.position.z -= g_star.speed;
    kit::RotateVector(star.position, a, b, c);
    if (!g_star.camera->Project(star.position, star.screen)) {
      // Too close to the eye: born again far away, drawn from the next frame on.
      PlaceStar(star);
      ProjectStar(star);
      continue;
    }
    if (OnSurface(before)) DrawStreak(star.screen, before);
  }

  for (int level = 0; level < 3; ++level) g_star.stamp.angle[level] += g_star.stamp.spin[level];
  kit::ReleaseStampColour(g_star.stamp);
  return 0;
}

int32_t Free(ModuleSlot*) {
  g_star.camera.reset();
  return 0;
}

}  // namespace

const ModuleOperations kStarOperations{Frame, Allocate, Initialise, Free};

}  // namespace fluxo
