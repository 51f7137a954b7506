#include "hostkit/parts/display_attr_transform.h"

#include <cmath>

namespace kx::hostkit {

Matrix4 Identity() {
  Matrix4 m{};
  for (int i = 0; i < 4; ++i) m[i][i] = 1.0;
  return m;
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 m{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[r][k] * b[k][c];
      m[r][c] = sum;
    }
  }
  return m;
}

Matrix4 ScaleMatrix(double sx, double sy, double sz) {
  Matrix4 m = Identity();
  m[0][0] = sx;
  m[1][1] = sy;
  m[2][2] = sz;
  return m;
}

Matrix4 RotationX(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Matrix4 m = Identity();
  m[1][1] = c;
  m[1][2] = s;
  m[2][1] = -s;
  m[2][2] = c;
  return m;
}

Matrix4 RotationY(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Matrix4 m = Identity();
  m[0][0] = c;
  m[0][2] = -s;
  m[2][0] = s;
  m[2][2] = c;
  return m;
}

Matrix4 RotationZ(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  Matrix4 m = Identity();
  m[0][0] = c;
  m[0][1] = s;
  m[1][0] = -s;
  m[1][1] = c;
  return m;
}

Matrix4 TranslationMatrix(double px, double py, double pz) {
  Matrix4 m = Identity();
  m[3][0] = px;
  m[3][1] = py;
  m[3][2] = pz;
  return m;
}

Matrix4 PlacementMatrix(const Placement& placement) {
  const auto& [px, py, pz] = placement.position;
  const auto& [rx, ry, rz] = placement.rotation;
  const auto& [sx, sy, sz] = placement.scale;
  Matrix4 m = ScaleMatrix(sx, sy, sz);
  m = Multiply(m, RotationX(rx));
  m = Multiply(m, RotationY(ry));
  m = Multiply(m, RotationZ(rz));
  return Multiply(m, TranslationMatrix(px, py, pz));
}

Vector3 TransformDirection(const Vector3& v, const Matrix4& m) {
  Vector3 out{};
  for (int c = 0; c < 3; ++c) out[c] = v[0] * m[0][c] + v[1] * m[1][c] + v[2] * m[2][c];
  return out;
}

Vector3 TransformPoint(const Vector3& p, const Matrix4& m) {
  Vector3 out = TransformDirection(p, m);
  for (int c = 0; c < 3; ++c) out[c] += m[3][c];
  return out;
}

double Dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

}  // namespace kx::hostkit
