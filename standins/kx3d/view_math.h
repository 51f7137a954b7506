// Geometry of the stand-in engine's view: vectors, 4x4 matrices, the camera
// that fits a model into the window, and the sun with its shadow projection.
// World space is right-handed with z up, in metres.
#pragma once

#include <array>

#include "standins/kx3d/q3d_model.h"

namespace kx::kx3d {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
float Dot(Vec3 a, Vec3 b);
Vec3 Cross(Vec3 a, Vec3 b);
float Length(Vec3 a);
Vec3 Normalized(Vec3 a);

// Row-major, for column vectors: p' = M p. Element m[row][column].
struct Mat4 {
  std::array<std::array<float, 4>, 4> m{};
  static Mat4 Identity();
  // The 16 values column after column: what glLoadMatrixf takes, and the
  // same memory as a Direct3D matrix for row vectors.
  std::array<float, 16> ColumnMajor() const;
};
Mat4 operator*(const Mat4& a, const Mat4& b);
// The point p transformed, divided by w.
Vec3 TransformPoint(const Mat4& m, Vec3 p);
// The clip-space w of the point p.
float ClipW(const Mat4& m, Vec3 p);

// Clip-space depth ranges of the two libraries.
enum class DepthRange { kMinusOneToOne /* OpenGL */, kZeroToOne /* Direct3D */ };

Mat4 LookAt(Vec3 eye, Vec3 target, Vec3 up);
Mat4 Perspective(float vertical_fov_radians, float aspect, float near_plane, float far_plane,
                 DepthRange range);
Mat4 Orthographic(float half_width, float half_height, float near_plane, float far_plane,
                  DepthRange range);

struct Bounds {
  Vec3 min, max;
  bool empty = true;
  void Add(Vec3 p);
  Vec3 Center() const;
  float Radius() const;  // of the enclosing sphere around Center()
};
Bounds ModelBounds(const Model& model);

// The fixed viewpoint of the engine's perspective view: from the front right,
// above, looking at the middle of the model.
struct Camera {
  Vec3 eye;
  Vec3 target;
  Mat4 view;
  Mat4 projection;
};
inline constexpr float kCameraFovRadians = 0.61086524f;  // 35 degrees vertically
// A camera at which the whole of `bounds` fits a viewport of width x height
// pixels (the narrower side decides), for the given depth range. An empty
// box is treated as a unit cube at the origin.
Camera FitCamera(const Bounds& bounds, int width, int height, DepthRange range);

// The sun: a directional light. kSunDirection points towards the sun.
inline constexpr Vec3 kSunDirection{-0.52f, -0.50f, 0.692f};
struct Lighting {
  float ambient = 0.38f;  // share of the material colour without sunlight
  float sun = 0.70f;      // share added at full sunlight
};
// Behind the model: red, green, blue in 0..1.
inline constexpr float kSkyColour[3] = {0.67f, 0.80f, 0.92f};

// Projection of the scene as the sun sees it, for the shadow map: world to
// clip space of an orthographic view along the sun covering `bounds`, and
// the same mapped onto the texture (u, v in 0..1, v downwards; depth 0..1).
struct SunView {
  Mat4 clip;
  Mat4 texture;
};
SunView FitSunView(const Bounds& bounds, int shadow_map_size);

}  // namespace kx::kx3d
