// Wall records as the design application stores them on a model's shapes,
// for tests that write a model with walls into the stand-in engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "standins/kx3d/parts_model.h"

namespace kx::hostkit::test_support {

inline std::string Int32Bytes(std::int32_t v) {
  return std::string(reinterpret_cast<const char*>(&v), 4);
}
inline std::string Float32Bytes(float v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
inline std::string Float64Bytes(double v) {
  return std::string(reinterpret_cast<const char*>(&v), 8);
}

// Wall kind record (300): kind A at 8, exclusion code at 12.
inline std::string KindRecord(std::int32_t a, std::int32_t exclusion = 0) {
  return std::string(8, '\0') + Int32Bytes(a) + Int32Bytes(exclusion) + std::string(8, '\0');
}

// Wall face record (301): the normal, kind B and a link list at 56.
inline std::string FaceRecord(double nx, double ny, double nz, std::int32_t b,
                              const std::vector<std::int32_t>& links = {}) {
  std::string block = Int32Bytes(56) + std::string(12, '\0') + Float64Bytes(nx) +
                      Float64Bytes(ny) + Float64Bytes(nz) + std::string(4, '\0') + Int32Bytes(b) +
                      Int32Bytes(static_cast<std::int32_t>(links.size())) + std::string(4, '\0');
  for (std::int32_t id : links) block += Int32Bytes(0) + Int32Bytes(id);
  return block;
}

// A shape with its option word and, when given, its wall records.
inline kx3d::Shape MakeShape(std::uint32_t option, std::string kind, std::string face) {
  kx3d::Shape shape;
  shape.option = static_cast<std::int32_t>(option);
  if (!kind.empty()) shape.blocks[300] = std::move(kind);
  if (!face.empty()) shape.blocks[301] = std::move(face);
  return shape;
}

}  // namespace kx::hostkit::test_support
