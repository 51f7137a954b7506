// The stand-in engine's model format ("KQ3D"): a list of coloured parts,
// each an indexed triangle mesh with normals. Little-endian throughout; the
// layout is described in README.md beside this file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx::kx3d {

struct Vertex {
  float position[3];
  float normal[3];
};

// How a part looks and takes part in shadows.
struct Material {
  std::uint8_t diffuse[3] = {200, 200, 200};  // red, green, blue
  std::uint8_t specular = 0;                  // strength of highlights, 0..255
  std::uint8_t shininess = 1;                 // highlight exponent, 1..255
  bool casts_shadow = true;
};

struct Part {
  std::string name;  // ANSI, at most kPartNameSize - 1 bytes
  Material material;
  std::vector<Vertex> vertices;
  std::vector<std::uint16_t> indices;  // three per triangle
};

struct Model {
  std::vector<Part> parts;
  std::size_t TriangleCount() const;
  std::size_t VertexCount() const;
};

struct ModelHeader {
  std::uint32_t version = 0;
  std::uint32_t part_count = 0;
  std::uint32_t triangle_count = 0;
  std::uint32_t vertex_count = 0;
  std::uint32_t body_size = 0;
  std::uint32_t body_crc = 0;
};

// Why a file is not a readable model. The values are the engine's negative
// results of reading it.
enum class ModelError : std::int32_t {
  kNone = 0,
  kTooShort = -2,   // shorter than the header
  kNotAModel = -3,  // wrong signature
  kVersion = -4,    // a version this engine does not read
  kLimits = -5,     // counts beyond the format's limits
  kTruncated = -6,  // the body is shorter than the header says
  kChecksum = -7,   // the body does not match its checksum
  kMalformed = -8,  // counts, indices or numbers inconsistent
};

inline constexpr char kModelSignature[4] = {'K', 'Q', '3', 'D'};
inline constexpr std::uint32_t kModelVersion = 1;
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kPartNameSize = 32;
inline constexpr std::uint32_t kMaxParts = 4096;
inline constexpr std::uint32_t kMaxTriangles = 1000000;
inline constexpr std::uint32_t kMaxPartVertices = 65535;

// The bytes of `model` as a file. Parts with more vertices than the format
// holds, or names that are too long, are not encodable: nullopt.
std::optional<std::string> EncodeModel(const Model& model);

// The header of a model file; needs only its first kHeaderSize bytes.
ModelError DecodeModelHeader(const std::string& bytes, ModelHeader* header);

// The whole model, checked against its header; `*model` is untouched on
// failure.
ModelError DecodeModel(const std::string& bytes, Model* model);

// Text for a log or message: "KQ3D model: 12 parts, 420 triangles" or the
// reason a file was refused.
std::string DescribeModelError(ModelError error);

// CRC-32 (IEEE 802.3, as zip and PNG use it).
std::uint32_t Crc32(const void* data, std::size_t size);

}  // namespace kx::kx3d
