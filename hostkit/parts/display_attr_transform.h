// The placement transforms of parts and shapes: 4x4 matrices of doubles
// applied to row vectors (a point p becomes p x M, the translation in the
// fourth row), so a child's transform within its parent is M x P.
#pragma once

#include <array>

namespace kx::hostkit {

using Vector3 = std::array<double, 3>;
using Matrix4 = std::array<std::array<double, 4>, 4>;

// A placement as the engine gives it: float32 position, rotation about X,
// Y and Z in radians, and scale.
struct Placement {
  std::array<float, 3> position{0.0f, 0.0f, 0.0f};
  std::array<float, 3> rotation{0.0f, 0.0f, 0.0f};
  std::array<float, 3> scale{1.0f, 1.0f, 1.0f};
};

[[nodiscard]] Matrix4 Identity();
[[nodiscard]] Matrix4 Multiply(const Matrix4& a, const Matrix4& b);  // a x b
[[nodiscard]] Matrix4 ScaleMatrix(double sx, double sy, double sz);
[[nodiscard]] Matrix4 RotationX(double angle);
[[nodiscard]] Matrix4 RotationY(double angle);
[[nodiscard]] Matrix4 RotationZ(double angle);
[[nodiscard]] Matrix4 TranslationMatrix(double px, double py, double pz);

// Scale x RotX x RotY x RotZ x Translate.
[[nodiscard]] Matrix4 PlacementMatrix(const Placement& placement);

// A direction through the upper 3x3 part only (no translation).
[[nodiscard]] Vector3 TransformDirection(const Vector3& v, const Matrix4& m);
// A point, with the translation.
[[nodiscard]] Vector3 TransformPoint(const Vector3& p, const Matrix4& m);

[[nodiscard]] double Dot(const Vector3& a, const Vector3& b);

}  // namespace kx::hostkit
