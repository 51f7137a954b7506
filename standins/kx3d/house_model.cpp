#include "standins/kx3d/house_model.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "standins/kx3d/view_math.h"

namespace kx::kx3d {
namespace {

Material Look(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t specular = 0,
              std::uint8_t shininess = 1, bool casts_shadow = true) {
  Material m;
  m.diffuse[0] = r;
  m.diffuse[1] = g;
  m.diffuse[2] = b;
  m.specular = specular;
  m.shininess = shininess;
  m.casts_shadow = casts_shadow;
  return m;
}

class PartBuilder {
 public:
  PartBuilder(const char* name, const Material& material) {
    part_.name = name;
    part_.material = material;
  }

  std::uint16_t Vertex(Vec3 p, Vec3 n) {
    kx3d::Vertex v{{p.x, p.y, p.z}, {n.x, n.y, n.z}};
    part_.vertices.push_back(v);
    return static_cast<std::uint16_t>(part_.vertices.size() - 1);
  }
  void Triangle(std::uint16_t a, std::uint16_t b, std::uint16_t c) {
    part_.indices.insert(part_.indices.end(), {a, b, c});
  }
  // A flat quad a-b-c-d, counter-clockwise seen from the side its normal
  // points to.
  void Quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
    const Vec3 n = Normalized(Cross(b - a, d - a));
    const std::uint16_t i = Vertex(a, n), j = Vertex(b, n), k = Vertex(c, n), l = Vertex(d, n);
    Triangle(i, j, k);
    Triangle(i, k, l);
  }
  void FlatTriangle(Vec3 a, Vec3 b, Vec3 c) {
    const Vec3 n = Normalized(Cross(b - a, c - a));
    Triangle(Vertex(a, n), Vertex(b, n), Vertex(c, n));
  }
  // An axis-aligned box.
  void Box(Vec3 lo, Vec3 hi) {
    if (hi.x <= lo.x || hi.y <= lo.y || hi.z <= lo.z) return;
    const Vec3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                       {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                       {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    Quad(p[0], p[3], p[2], p[1]);  // bottom
    Quad(p[4], p[5], p[6], p[7]);  // top
    Quad(p[0], p[1], p[5], p[4]);  // front (-y)
    Quad(p[1], p[2], p[6], p[5]);  // right (+x)
    Quad(p[2], p[3], p[7], p[6]);  // back (+y)
    Quad(p[3], p[0], p[4], p[7]);  // left (-x)
  }
  // A slab: the quad a-b-c-d (counter-clockwise from above) and the same
  // moved down by `thickness`, closed at its four edges.
  void Slab(Vec3 a, Vec3 b, Vec3 c, Vec3 d, float thickness) {
    const Vec3 down = Normalized(Cross(b - a, d - a)) * -thickness;
    const Vec3 a2 = a + down, b2 = b + down, c2 = c + down, d2 = d + down;
    Quad(a, b, c, d);
    Quad(d2, c2, b2, a2);
    Quad(a2, b2, b, a);
    Quad(b2, c2, c, b);
    Quad(c2, d2, d, c);
    Quad(d2, a2, a, d);
  }
  // A triangular prism: the triangle a-b-c pushed along `depth`.
  void Prism(Vec3 a, Vec3 b, Vec3 c, Vec3 depth) {
    const Vec3 a2 = a + depth, b2 = b + depth, c2 = c + depth;
    FlatTriangle(a, c, b);
    FlatTriangle(a2, b2, c2);
    Quad(a, b, b2, a2);
    Quad(b, c, c2, b2);
    Quad(c, a, a2, c2);
  }
  // A sphere with smooth normals.
  void Sphere(Vec3 center, float radius, int slices, int stacks) {
    const float pi = 3.14159265f;
    std::vector<std::uint16_t> ring_start;
    const std::uint16_t bottom = Vertex(center + Vec3{0, 0, -radius}, {0, 0, -1});
    for (int s = 1; s < stacks; ++s) {
      const float phi = -pi / 2 + pi * static_cast<float>(s) / static_cast<float>(stacks);
      ring_start.push_back(static_cast<std::uint16_t>(part_.vertices.size()));
      for (int i = 0; i < slices; ++i) {
        const float theta = 2 * pi * static_cast<float>(i) / static_cast<float>(slices);
        const Vec3 n{std::cos(phi) * std::cos(theta), std::cos(phi) * std::sin(theta),
                     std::sin(phi)};
        Vertex(center + n * radius, n);
      }
    }
    const std::uint16_t top = Vertex(center + Vec3{0, 0, radius}, {0, 0, 1});
    const auto at = [&](std::size_t ring, int i) {
      return static_cast<std::uint16_t>(ring_start[ring] + (i % slices));
    };
    for (int i = 0; i < slices; ++i) {
      Triangle(bottom, at(0, i + 1), at(0, i));
      Triangle(top, at(ring_start.size() - 1, i), at(ring_start.size() - 1, i + 1));
      for (std::size_t r = 0; r + 1 < ring_start.size(); ++r) {
        Triangle(at(r, i), at(r, i + 1), at(r + 1, i + 1));
        Triangle(at(r, i), at(r + 1, i + 1), at(r + 1, i));
      }
    }
  }

  Part Take() { return std::move(part_); }

 private:
  Part part_;
};

// An opening in a wall, in the wall's own terms: along the wall and up.
struct Opening {
  float from, to, bottom, top;
};

// A straight wall between `from` and `to` along x (axis 0) or y (axis 1),
// `thickness` deep on the other axis starting at `face`, from `floor` to
// `ceiling`, with rectangular openings: cut into solid boxes column by column.
void Wall(PartBuilder& walls, int axis, float from, float to, float face, float thickness,
          float floor, float ceiling, const std::vector<Opening>& openings) {
  std::vector<float> cuts{from, to};
  for (const Opening& o : openings) cuts.insert(cuts.end(), {o.from, o.to});
  std::sort(cuts.begin(), cuts.end());
  const auto box = [&](float a0, float a1, float z0, float z1) {
    if (axis == 0) {
      walls.Box({a0, face, z0}, {a1, face + thickness, z1});
    } else {
      walls.Box({face, a0, z0}, {face + thickness, a1, z1});
    }
  };
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const float a0 = cuts[i], a1 = cuts[i + 1];
    if (a1 <= a0) continue;
    const Opening* hole = nullptr;
    for (const Opening& o : openings) {
      if (o.from <= a0 && a1 <= o.to) hole = &o;
    }
    if (hole == nullptr) {
      box(a0, a1, floor, ceiling);
    } else {
      box(a0, a1, floor, hole->bottom);
      box(a0, a1, hole->top, ceiling);
    }
  }
}

// The house: 8 m by 6 m, walls 0.25 m thick from the slab at 0.3 m up to
// 3.1 m, a 40 degree gable roof with its ridge along x.
constexpr float kHalfX = 4.0f, kHalfY = 3.0f, kWall = 0.25f;
constexpr float kFloor = 0.3f, kEaves = 3.1f;

}  // namespace

Model BuildTestHouse() {
  Model model;
  const float pitch = std::tan(40.0f * 3.14159265f / 180.0f);
  const float ridge = kEaves + kHalfY * pitch;

  PartBuilder ground("ground", Look(104, 158, 72, 0, 1, false));
  {
    const int cells = 4;
    const float x0 = -7.5f, x1 = 7.5f, y0 = -6.5f, y1 = 6.5f;
    for (int i = 0; i < cells; ++i) {
      for (int j = 0; j < cells; ++j) {
        const float ax = x0 + (x1 - x0) * static_cast<float>(i) / cells;
        const float bx = x0 + (x1 - x0) * static_cast<float>(i + 1) / cells;
        const float ay = y0 + (y1 - y0) * static_cast<float>(j) / cells;
        const float by = y0 + (y1 - y0) * static_cast<float>(j + 1) / cells;
        ground.Quad({ax, ay, 0}, {bx, ay, 0}, {bx, by, 0}, {ax, by, 0});
      }
    }
  }
  model.parts.push_back(ground.Take());

  PartBuilder path("path", Look(196, 190, 178, 0, 1, false));
  path.Box({-0.8f, -6.5f, 0.0f}, {0.8f, -kHalfY - 0.15f, 0.03f});
  model.parts.push_back(path.Take());

  PartBuilder base("base", Look(150, 150, 146));
  base.Box({-kHalfX - 0.15f, -kHalfY - 0.15f, 0}, {kHalfX + 0.15f, kHalfY + 0.15f, kFloor});
  model.parts.push_back(base.Take());

  // Openings: the door and two windows at the front, two windows at the
  // back, one window in each gable wall.
  const std::vector<Opening> front{
      {-3.0f, -1.6f, 1.2f, 2.4f}, {-0.5f, 0.5f, kFloor, 2.4f}, {1.6f, 3.0f, 1.2f, 2.4f}};
  const std::vector<Opening> back{{-2.8f, -1.2f, 1.2f, 2.4f}, {1.2f, 2.8f, 1.2f, 2.4f}};
  const std::vector<Opening> side{{-0.7f, 0.7f, 1.2f, 2.4f}};
  PartBuilder walls("walls", Look(236, 226, 200, 24, 8));
  const float inner_y = kHalfY - kWall;
  Wall(walls, 0, -kHalfX, kHalfX, -kHalfY, kWall, kFloor, kEaves, front);
  Wall(walls, 0, -kHalfX, kHalfX, inner_y, kWall, kFloor, kEaves, back);
  Wall(walls, 1, -inner_y, inner_y, -kHalfX, kWall, kFloor, kEaves, side);
  Wall(walls, 1, -inner_y, inner_y, kHalfX - kWall, kWall, kFloor, kEaves, side);
  // Gables: triangles from the eaves to the ridge at both ends.
  for (float x : {-kHalfX, kHalfX - kWall}) {
    walls.Prism({x, -kHalfY, kEaves}, {x, kHalfY, kEaves}, {x, 0, ridge}, {kWall, 0, 0});
  }
  model.parts.push_back(walls.Take());

  PartBuilder roof("roof", Look(168, 58, 44, 200, 90));
  {
    const float overhang = 0.5f, ends = kHalfX + 0.4f, thickness = 0.16f;
    const float eave_y = kHalfY + overhang, eave_z = kEaves - overhang * pitch + 0.02f;
    const float top = ridge + 0.02f;
    roof.Slab({-ends, -eave_y, eave_z}, {ends, -eave_y, eave_z}, {ends, 0, top}, {-ends, 0, top},
              thickness);
    roof.Slab({ends, eave_y, eave_z}, {-ends, eave_y, eave_z}, {-ends, 0, top}, {ends, 0, top},
              thickness);
  }
  model.parts.push_back(roof.Take());

  PartBuilder chimney("chimney", Look(150, 84, 62, 20, 6));
  chimney.Box({2.0f, 0.8f, 3.6f}, {2.6f, 1.4f, ridge + 0.6f});
  model.parts.push_back(chimney.Take());

  // Glass in the middle of the wall, a white sill under each window.
  PartBuilder glass("glass", Look(88, 132, 176, 255, 60));
  PartBuilder sills("sills", Look(246, 246, 242, 40, 10));
  const float glass_depth = 0.04f, mid = kWall / 2;
  for (const Opening& o : front) {
    if (o.bottom <= kFloor) continue;
    glass.Box({o.from, -kHalfY + mid - glass_depth / 2, o.bottom},
              {o.to, -kHalfY + mid + glass_depth / 2, o.top});
    sills.Box({o.from - 0.1f, -kHalfY - 0.08f, o.bottom - 0.08f},
              {o.to + 0.1f, -kHalfY + 0.02f, o.bottom});
  }
  for (const Opening& o : back) {
    glass.Box({o.from, kHalfY - mid - glass_depth / 2, o.bottom},
              {o.to, kHalfY - mid + glass_depth / 2, o.top});
    sills.Box({o.from - 0.1f, kHalfY - 0.02f, o.bottom - 0.08f},
              {o.to + 0.1f, kHalfY + 0.08f, o.bottom});
  }
  for (float x : {-kHalfX, kHalfX}) {
    const float inward = x < 0 ? 1.0f : -1.0f;
    const float centre = x + inward * mid;
    const Opening& o = side.front();
    glass.Box({centre - glass_depth / 2, o.from, o.bottom},
              {centre + glass_depth / 2, o.to, o.top});
    const float outside = x - inward * 0.08f, inside = x + inward * 0.02f;
    sills.Box({std::min(outside, inside), o.from - 0.1f, o.bottom - 0.08f},
              {std::max(outside, inside), o.to + 0.1f, o.bottom});
  }
  model.parts.push_back(glass.Take());
  model.parts.push_back(sills.Take());

  PartBuilder door("door", Look(118, 74, 40, 70, 16));
  door.Box({-0.5f, -kHalfY + 0.1f, kFloor}, {0.5f, -kHalfY + 0.16f, 2.4f});
  model.parts.push_back(door.Take());

  // A tree at the front left: its shadow falls on the lawn and the front wall.
  PartBuilder trunk("trunk", Look(104, 72, 44));
  trunk.Box({-5.95f, -4.75f, 0}, {-5.65f, -4.45f, 2.2f});
  model.parts.push_back(trunk.Take());
  PartBuilder crown("crown", Look(62, 128, 52, 90, 14));
  crown.Sphere({-5.8f, -4.6f, 3.1f}, 1.2f, 10, 7);
  model.parts.push_back(crown.Take());

  return model;
}

}  // namespace kx::kx3d
