#include "modules/kit/camera3d.h"

#include <gtest/gtest.h>

#include <numbers>

namespace fluxo::kit {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

void ExpectVector(const Vector3& v, double x, double y, double z) {
  EXPECT_NEAR(v.x, x, 1e-9);
  EXPECT_NEAR(v.y, y, 1e-9);
  EXPECT_NEAR(v.z, z, 1e-9);
}

TEST(Camera3DTest, WithoutAWindowTheViewportIs320By200) {
  const auto camera = CreateCamera3D();
  EXPECT_EQ(camera->viewportWidth, 320);
  EXPECT_EQ(camera->viewportHeight, 200);
  EXPECT_EQ(camera->centreX, 160);
  EXPECT_EQ(camera->centreY, 100);
  EXPECT_EQ(camera->focal, 200.0);
  ExpectVector(camera->eye, 0, 0, -125);
  EXPECT_EQ(camera->boxClip, 0u);
  // The viewport was set before eye and focal distance: the box is still flat.
  EXPECT_EQ(camera->boxMin.z, 0.0);
  EXPECT_EQ(camera->boxMax.z, 0.0);
}

TEST(Camera3DTest, AWindowGivesItsClientSize) {
  gdi::FrameSurface window(640, 480);
  const auto camera = CreateCamera3D(&window);
  EXPECT_EQ(camera->centreX, 320);
  EXPECT_EQ(camera->centreY, 240);
}

TEST(Camera3DTest, SetViewportBuildsTheBoxFromEyeAndFocalDistance) {
  const auto camera = CreateCamera3D();
  camera->SetViewport({0, 0, 100, 60});
  ExpectVector(camera->boxMin, -100, -60, -125);
  ExpectVector(camera->boxMax, 100, 60, 200);
  EXPECT_EQ(camera->centreX, 50);
  EXPECT_EQ(camera->centreY, 30);
}

TEST(Camera3DTest, RotateVectorTurnsAboutZThenXThenY) {
  Vector3 v{1, 0, 0};
  RotateVector(v, 0, 0, kQuarter);
  ExpectVector(v, 0, -1, 0);
  v = {0, 1, 0};
  RotateVector(v, kQuarter, 0, 0);
  ExpectVector(v, 0, 0, -1);
  v = {1, 0, 0};
  RotateVector(v, 0, kQuarter, 0);
  ExpectVector(v, 0, 0, 1);
  v = {1, 0, 0};
  RotateVector(v, kQuarter, kQuarter, kQuarter);
  ExpectVector(v, -1, 0, 0);
}

TEST(Camera3DTest, ProjectsThroughTheFocalDistance) {
  const auto camera = CreateCamera3D();
  int x = -1, y = -1;
  ASSERT_TRUE(camera->Project(10, 20, -25, x, y));  // 100 units in front
  EXPECT_EQ(x, 180);
  EXPECT_EQ(y, 60);
  gdi::Point p;
  ASSERT_TRUE(camera->Project(Vector3{-10, -20, -25}, p));
  EXPECT_EQ(p, (gdi::Point{140, 140}));
  EXPECT_EQ(camera->behind, 0u);
}

TEST(Camera3DTest, ExactlyTenUnitsInFrontIsNotDrawable) {
  const auto camera = CreateCamera3D();
  int x = -1, y = -1;
  EXPECT_FALSE(camera->Project(5, 5, -115, x, y));
  EXPECT_EQ(camera->behind, 1u);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_TRUE(camera->Project(5, 5, -114.5, x, y));
  EXPECT_EQ(camera->behind, 0u);
  gdi::Point p{7, 7};
  EXPECT_FALSE(camera->Project(Vector3{0, 0, -200}, p));
  EXPECT_EQ(p, (gdi::Point{0, 0}));
}

TEST(Camera3DTest, ProjectionRotatesAboutTheEye) {
  const auto camera = CreateCamera3D();
  camera->b = std::numbers::pi;  // looking backwards: the point ends up behind the eye
  int x = 0, y = 0;
  EXPECT_FALSE(camera->Project(0, 0, -25, x, y));
  EXPECT_TRUE(camera->Project(0, 0, -225, x, y));
  EXPECT_EQ(x, 160);
  EXPECT_EQ(y, 100);
}

TEST(Camera3DTest, BoxClipRejectsPointsOutsideTheHalfOpenBox) {
  const auto camera = CreateCamera3D();
  camera->SetViewport({0, 0, 320, 200});
  camera->boxClip = 1;
  int x = 0, y = 0;
  EXPECT_FALSE(camera->Project(0, 0, 200, x, y));  // at the maximum: outside
  EXPECT_EQ(camera->outside, 1u);
  EXPECT_FALSE(camera->Project(320, 0, 0, x, y));
  EXPECT_FALSE(camera->Project(0, -201, 0, x, y));
  EXPECT_TRUE(camera->Project(-320, -200, 199, x, y));  // minimum inclusive
  EXPECT_EQ(camera->outside, 0u);
  // The box replaces the near plane: one unit in front is drawable.
  EXPECT_TRUE(camera->Project(0, 0, -124, x, y));
  EXPECT_EQ(x, 160);
}

TEST(Camera3DTest, BoxReachingTheEyePlaneDoesNotDivideByZero) {
  const auto camera = CreateCamera3D();
  camera->SetViewport({0, 0, 320, 200});
  camera->boxClip = 1;
  int x = 5, y = 5;
  EXPECT_FALSE(camera->Project(10, 10, -125, x, y));
  EXPECT_EQ(camera->behind, 1u);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

}  // namespace
}  // namespace fluxo::kit
