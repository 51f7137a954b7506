#include "standins/kx3d/view_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace kx::kx3d {
namespace {

std::vector<Vec3> Corners(const Bounds& b) {
  std::vector<Vec3> out;
  for (int i = 0; i < 8; ++i) {
    out.push_back(
        {(i & 1) ? b.max.x : b.min.x, (i & 2) ? b.max.y : b.min.y, (i & 4) ? b.max.z : b.min.z});
  }
  return out;
}

Bounds Box(Vec3 lo, Vec3 hi) {
  Bounds b;
  b.Add(lo);
  b.Add(hi);
  return b;
}

TEST(ViewMath, LookAtPutsTheEyeAtTheOriginLookingDownMinusZ) {
  const Mat4 view = LookAt({3, -4, 2}, {0, 0, 1}, {0, 0, 1});
  const Vec3 eye = TransformPoint(view, {3, -4, 2});
  EXPECT_NEAR(Length(eye), 0, 1e-5);
  const Vec3 target = TransformPoint(view, {0, 0, 1});
  EXPECT_NEAR(target.x, 0, 1e-5);
  EXPECT_NEAR(target.y, 0, 1e-5);
  EXPECT_LT(target.z, 0);
  // World up stays up on the screen.
  EXPECT_GT(TransformPoint(view, {0, 0, 2}).y, target.y);
}

TEST(ViewMath, PerspectiveDepthRangesOfTheTwoLibraries) {
  const Mat4 gl = Perspective(1.0f, 1.0f, 2.0f, 50.0f, DepthRange::kMinusOneToOne);
  const Mat4 d3d = Perspective(1.0f, 1.0f, 2.0f, 50.0f, DepthRange::kZeroToOne);
  EXPECT_NEAR(TransformPoint(gl, {0, 0, -2}).z, -1, 1e-5);
  EXPECT_NEAR(TransformPoint(gl, {0, 0, -50}).z, 1, 1e-5);
  EXPECT_NEAR(TransformPoint(d3d, {0, 0, -2}).z, 0, 1e-5);
  EXPECT_NEAR(TransformPoint(d3d, {0, 0, -50}).z, 1, 1e-5);
  EXPECT_GT(ClipW(d3d, {0, 0, -10}), 0);
}

TEST(ViewMath, ColumnMajorIsWhatGlLoadMatrixTakes) {
  Mat4 m = Mat4::Identity();
  m.m[0][3] = 7;  // translation along x
  const auto values = m.ColumnMajor();
  EXPECT_EQ(values[12], 7);
  EXPECT_EQ(values[3], 0);
}

// The fitted camera shows the whole box for windows of every shape, and the
// box fills the narrower side of the view.
TEST(ViewMath, FitCameraShowsTheWholeModel) {
  const Bounds house = Box({-9, -8, 0}, {9, 8, 6});
  for (auto [w, h] : std::vector<std::pair<int, int>>{{320, 320}, {640, 320}, {200, 400}, {1, 1}}) {
    for (DepthRange range : {DepthRange::kMinusOneToOne, DepthRange::kZeroToOne}) {
      const Camera c = FitCamera(house, w, h, range);
      const Mat4 clip = c.projection * c.view;
      float widest = 0;
      for (const Vec3& corner : Corners(house)) {
        ASSERT_GT(ClipW(clip, corner), 0);
        const Vec3 p = TransformPoint(clip, corner);
        EXPECT_LE(std::fabs(p.x), 1.0f) << w << "x" << h;
        EXPECT_LE(std::fabs(p.y), 1.0f) << w << "x" << h;
        EXPECT_LE(p.z, 1.0f);
        EXPECT_GE(p.z, range == DepthRange::kZeroToOne ? 0.0f : -1.0f);
        widest = std::max({widest, std::fabs(p.x), std::fabs(p.y)});
      }
      EXPECT_NEAR(widest, 0.94f, 0.01f) << "the model should fill the view, " << w << "x" << h;
    }
  }
}

TEST(ViewMath, FitCameraSeesTheFrontAndTheRightFromAbove) {
  const Camera c = FitCamera(Box({-1, -1, 0}, {1, 1, 1}), 320, 320, DepthRange::kZeroToOne);
  EXPECT_GT(c.eye.x, c.target.x);
  EXPECT_LT(c.eye.y, c.target.y);
  EXPECT_GT(c.eye.z, c.target.z);
}

TEST(ViewMath, EmptyBoundsGiveAUsableCamera) {
  const Camera c = FitCamera(Bounds{}, 320, 240, DepthRange::kZeroToOne);
  const Vec3 origin = TransformPoint(c.projection * c.view, {0, 0, 0});
  EXPECT_TRUE(std::isfinite(origin.x) && std::isfinite(origin.y) && std::isfinite(origin.z));
  EXPECT_NEAR(origin.x, 0, 1e-4);
  EXPECT_NEAR(origin.y, 0, 1e-4);
}

TEST(ViewMath, SunViewCoversTheModelOnTheShadowMap) {
  const Bounds house = Box({-9, -8, 0}, {9, 8, 6});
  const SunView sun = FitSunView(house, 2048);
  for (const Vec3& corner : Corners(house)) {
    const Vec3 t = TransformPoint(sun.texture, corner);
    EXPECT_GE(t.x, 0.0f);
    EXPECT_LE(t.x, 1.0f);
    EXPECT_GE(t.y, 0.0f);
    EXPECT_LE(t.y, 1.0f);
    EXPECT_GE(t.z, 0.0f);
    EXPECT_LE(t.z, 1.0f);
  }
  // Nearer the sun means smaller depth: what is nearer casts the shadow.
  const Vec3 toward_sun = Normalized(kSunDirection);
  const Vec3 low = house.Center();
  const Vec3 high = low + toward_sun * 2;
  EXPECT_LT(TransformPoint(sun.texture, high).z, TransformPoint(sun.texture, low).z);
  // Both lie on the same texel: the sun looks straight along its direction.
  EXPECT_NEAR(TransformPoint(sun.texture, high).x, TransformPoint(sun.texture, low).x, 1e-5);
  EXPECT_NEAR(TransformPoint(sun.texture, high).y, TransformPoint(sun.texture, low).y, 1e-5);
}

TEST(ViewMath, SunStandsAboveTheFrontLeft) {
  EXPECT_LT(kSunDirection.x, 0);
  EXPECT_LT(kSunDirection.y, 0);
  EXPECT_GT(kSunDirection.z, 0);
  EXPECT_NEAR(Length(kSunDirection), 1.0f, 1e-3);
}

}  // namespace
}  // namespace kx::kx3d
