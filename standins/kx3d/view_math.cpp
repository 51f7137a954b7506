#include "standins/kx3d/view_math.h"

#include <algorithm>
#include <cmath>

namespace kx::kx3d {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
Vec3 Normalized(Vec3 a) {
  const float length = Length(a);
  return length > 0 ? a * (1.0f / length) : Vec3{0, 0, 1};
}

Mat4 Mat4::Identity() {
  Mat4 r;
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
  return r;
}

std::array<float, 16> Mat4::ColumnMajor() const {
  std::array<float, 16> out{};
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) out[c * 4 + r] = m[r][c];
  }
  return out;
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      r.m[i][j] = sum;
    }
  }
  return r;
}

namespace {
std::array<float, 4> Apply(const Mat4& m, Vec3 p) {
  std::array<float, 4> out{};
  for (int r = 0; r < 4; ++r)
    out[r] = m.m[r][0] * p.x + m.m[r][1] * p.y + m.m[r][2] * p.z + m.m[r][3];
  return out;
}
}  // namespace

Vec3 TransformPoint(const Mat4& m, Vec3 p) {
  const auto v = Apply(m, p);
  const float w = v[3] != 0 ? v[3] : 1.0f;
  return {v[0] / w, v[1] / w, v[2] / w};
}

float ClipW(const Mat4& m, Vec3 p) { return Apply(m, p)[3]; }

Mat4 LookAt(Vec3 eye, Vec3 target, Vec3 up) {
  const Vec3 f = Normalized(target - eye);
  const Vec3 s = Normalized(Cross(f, up));
  const Vec3 u = Cross(s, f);
  Mat4 r = Mat4::Identity();
  r.m[0] = {s.x, s.y, s.z, -Dot(s, eye)};
  r.m[1] = {u.x, u.y, u.z, -Dot(u, eye)};
  r.m[2] = {-f.x, -f.y, -f.z, Dot(f, eye)};
  return r;
}

Mat4 Perspective(float vertical_fov_radians, float aspect, float near_plane, float far_plane,
                 DepthRange range) {
  const float f = 1.0f / std::tan(vertical_fov_radians / 2);
  Mat4 r;
  r.m[0][0] = f / aspect;
  r.m[1][1] = f;
  r.m[3][2] = -1;
  if (range == DepthRange::kMinusOneToOne) {
    r.m[2][2] = (far_plane + near_plane) / (near_plane - far_plane);
    r.m[2][3] = 2 * far_plane * near_plane / (near_plane - far_plane);
  } else {
    r.m[2][2] = far_plane / (near_plane - far_plane);
    r.m[2][3] = far_plane * near_plane / (near_plane - far_plane);
  }
  return r;
}

Mat4 Orthographic(float half_width, float half_height, float near_plane, float far_plane,
                  DepthRange range) {
  Mat4 r = Mat4::Identity();
  r.m[0][0] = 1 / half_width;
  r.m[1][1] = 1 / half_height;
  if (range == DepthRange::kMinusOneToOne) {
    r.m[2][2] = -2 / (far_plane - near_plane);
    r.m[2][3] = -(far_plane + near_plane) / (far_plane - near_plane);
  } else {
    r.m[2][2] = -1 / (far_plane - near_plane);
    r.m[2][3] = -near_plane / (far_plane - near_plane);
  }
  return r;
}

void Bounds::Add(Vec3 p) {
  if (empty) {
    min = max = p;
    empty = false;
    return;
  }
  min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
  max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

Vec3 Bounds::Center() const { return empty ? Vec3{} : (min + max) * 0.5f; }

float Bounds::Radius() const { return empty ? 0.0f : Length(max - min) * 0.5f; }

Bounds ModelBounds(const Model& model) {
  Bounds b;
  for (const Part& part : model.parts) {
    for (const Vertex& v : part.vertices) b.Add({v.position[0], v.position[1], v.position[2]});
  }
  return b;
}

namespace {
// From the front right and above: the front (-y) and right (+x) faces show.
const Vec3 kViewDirection = Normalized({0.62f, -1.0f, 0.55f});

Bounds OrUnitCube(const Bounds& bounds) {
  if (!bounds.empty && bounds.Radius() > 0) return bounds;
  Bounds unit;
  unit.Add({-0.5f, -0.5f, -0.5f});
  unit.Add({0.5f, 0.5f, 0.5f});
  return unit;
}
}  // namespace

Camera FitCamera(const Bounds& bounds, int width, int height, DepthRange range) {
  const Bounds b = OrUnitCube(bounds);
  const float aspect =
      static_cast<float>(std::max(width, 1)) / static_cast<float>(std::max(height, 1));
  const float radius = b.Radius();
  Camera c;
  c.target = b.Center();
  // Twice as far as the enclosing sphere needs to fill the narrower field of
  // view is sure to leave a margin; the box itself usually fits from nearer.
  const float half_vertical = kCameraFovRadians / 2;
  const float half_horizontal = std::atan(std::tan(half_vertical) * aspect);
  const float sure = 2 * radius / std::sin(std::min(half_vertical, half_horizontal));
  const Mat4 lens = Perspective(kCameraFovRadians, aspect, 1.0f, 2.0f, range);
  const auto extent = [&](float distance) {
    // The largest of |x| and |y| of the box's corners on the screen.
    const Vec3 eye = c.target + kViewDirection * distance;
    const Mat4 clip = lens * LookAt(eye, c.target, {0, 0, 1});
    float widest = 0;
    for (int i = 0; i < 8; ++i) {
      const Vec3 corner{(i & 1) ? b.max.x : b.min.x, (i & 2) ? b.max.y : b.min.y,
                        (i & 4) ? b.max.z : b.min.z};
      const Vec3 p = TransformPoint(clip, corner);
      widest = std::max({widest, std::fabs(p.x), std::fabs(p.y)});
    }
    return widest;
  };
  // The distance at which the box fills kFill of the view, by bisection
  // between a surely too near and the surely far enough distance.
  constexpr float kFill = 0.94f;
  float near_enough = radius * 1.01f, far_enough = sure;
  for (int i = 0; i < 40; ++i) {
    const float middle = (near_enough + far_enough) / 2;
    if (extent(middle) > kFill) {
      near_enough = middle;
    } else {
      far_enough = middle;
    }
  }
  const float distance = far_enough;
  c.eye = c.target + kViewDirection * distance;
  c.view = LookAt(c.eye, c.target, {0, 0, 1});
  c.projection =
      Perspective(kCameraFovRadians, aspect, std::max(distance - radius * 1.05f, distance * 0.01f),
                  distance + radius * 1.05f, range);
  return c;
}

SunView FitSunView(const Bounds& bounds, int shadow_map_size) {
  const Bounds b = OrUnitCube(bounds);
  const float radius = b.Radius();
  const Vec3 sun = Normalized(kSunDirection);
  const Vec3 center = b.Center();
  // North is "up" in the sun's picture unless the sun stands at the zenith.
  const Vec3 up = std::fabs(sun.z) > 0.99f ? Vec3{0, 1, 0} : Vec3{0, 0, 1};
  const Mat4 view = LookAt(center + sun * (radius * 2), center, up);
  SunView v;
  v.clip =
      Orthographic(radius, radius, radius * 0.9f, radius * 3.1f, DepthRange::kZeroToOne) * view;
  // Clip x, y in -1..1 onto texels: u right, v down, sampled at texel
  // centres (Direct3D 9 places them half a texel off).
  const float half_texel = shadow_map_size > 0 ? 0.5f / static_cast<float>(shadow_map_size) : 0;
  Mat4 to_texture = Mat4::Identity();
  to_texture.m[0][0] = 0.5f;
  to_texture.m[0][3] = 0.5f + half_texel;
  to_texture.m[1][1] = -0.5f;
  to_texture.m[1][3] = 0.5f + half_texel;
  v.texture = to_texture * v.clip;
  return v;
}

}  // namespace kx::kx3d
