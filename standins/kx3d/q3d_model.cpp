#include "standins/kx3d/q3d_model.h"

#include <array>
#include <cmath>
#include <cstring>

namespace kx::kx3d {
namespace {

constexpr std::size_t kPartRecordSize = kPartNameSize + 8 + 8;  // name, material, counts
constexpr std::size_t kVertexSize = 6 * 4;
constexpr std::size_t kTriangleSize = 3 * 2;
constexpr std::uint8_t kCastsShadow = 0x01;

class Writer {
 public:
  void U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void F32(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    U32(bits);
  }
  void Bytes(const char* data, std::size_t size) { bytes_.append(data, size); }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

class Reader {
 public:
  Reader(const std::string& bytes, std::size_t offset) : bytes_(bytes), at_(offset) {}
  bool Has(std::size_t size) const { return size <= bytes_.size() - at_; }
  std::uint8_t U8() { return static_cast<std::uint8_t>(bytes_[at_++]); }
  std::uint16_t U16() {
    const std::uint16_t low = U8();
    return static_cast<std::uint16_t>(low | (U8() << 8));
  }
  std::uint32_t U32() {
    const std::uint32_t low = U16();
    return low | (static_cast<std::uint32_t>(U16()) << 16);
  }
  float F32() {
    const std::uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  std::string Text(std::size_t size) {
    const std::string field = bytes_.substr(at_, size);
    at_ += size;
    return field.substr(0, field.find('\0'));
  }

 private:
  const std::string& bytes_;
  std::size_t at_;
};

bool FiniteVertex(const Vertex& v) {
  for (int i = 0; i < 3; ++i) {
    if (!std::isfinite(v.position[i]) || !std::isfinite(v.normal[i])) return false;
  }
  return true;
}

}  // namespace

std::size_t Model::TriangleCount() const {
  std::size_t count = 0;
  for (const Part& part : parts) count += part.indices.size() / 3;
  return count;
}

std::size_t Model::VertexCount() const {
  std::size_t count = 0;
  for (const Part& part : parts) count += part.vertices.size();
  return count;
}

std::uint32_t Crc32(const void* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  const auto* p = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::optional<std::string> EncodeModel(const Model& model) {
  if (model.parts.size() > kMaxParts || model.TriangleCount() > kMaxTriangles) return std::nullopt;
  Writer body;
  for (const Part& part : model.parts) {
    if (part.name.size() >= kPartNameSize || part.vertices.size() > kMaxPartVertices ||
        part.indices.size() % 3 != 0) {
      return std::nullopt;
    }
    for (std::uint16_t index : part.indices) {
      if (index >= part.vertices.size()) return std::nullopt;
    }
    std::string name = part.name;
    name.resize(kPartNameSize, '\0');
    body.Bytes(name.data(), name.size());
    const Material& m = part.material;
    body.U8(m.diffuse[0]);
    body.U8(m.diffuse[1]);
    body.U8(m.diffuse[2]);
    body.U8(m.specular);
    body.U8(m.shininess);
    body.U8(m.casts_shadow ? kCastsShadow : 0);
    body.U16(0);
    body.U32(static_cast<std::uint32_t>(part.vertices.size()));
    body.U32(static_cast<std::uint32_t>(part.indices.size() / 3));
    for (const Vertex& v : part.vertices) {
      for (float f : v.position) body.F32(f);
      for (float f : v.normal) body.F32(f);
    }
    for (std::uint16_t index : part.indices) body.U16(index);
  }
  Writer file;
  file.Bytes(kModelSignature, 4);
  file.U32(kModelVersion);
  file.U32(static_cast<std::uint32_t>(model.parts.size()));
  file.U32(static_cast<std::uint32_t>(model.TriangleCount()));
  file.U32(static_cast<std::uint32_t>(model.VertexCount()));
  file.U32(static_cast<std::uint32_t>(body.bytes().size()));
  file.U32(Crc32(body.bytes().data(), body.bytes().size()));
  file.U32(0);
  file.bytes() += body.bytes();
  return std::move(file.bytes());
}

ModelError DecodeModelHeader(const std::string& bytes, ModelHeader* header) {
  if (bytes.size() < kHeaderSize) return ModelError::kTooShort;
  if (std::memcmp(bytes.data(), kModelSignature, 4) != 0) return ModelError::kNotAModel;
  Reader in(bytes, 4);
  ModelHeader h;
  h.version = in.U32();
  h.part_count = in.U32();
  h.triangle_count = in.U32();
  h.vertex_count = in.U32();
  h.body_size = in.U32();
  h.body_crc = in.U32();
  if (h.version != kModelVersion) return ModelError::kVersion;
  if (h.part_count > kMaxParts || h.triangle_count > kMaxTriangles ||
      h.vertex_count > static_cast<std::uint64_t>(kMaxParts) * kMaxPartVertices) {
    return ModelError::kLimits;
  }
  const std::uint64_t least_body = static_cast<std::uint64_t>(h.part_count) * kPartRecordSize +
                                   static_cast<std::uint64_t>(h.vertex_count) * kVertexSize +
                                   static_cast<std::uint64_t>(h.triangle_count) * kTriangleSize;
  if (h.body_size != least_body) return ModelError::kMalformed;
  *header = h;
  return ModelError::kNone;
}

ModelError DecodeModel(const std::string& bytes, Model* model) {
  ModelHeader header;
  if (ModelError e = DecodeModelHeader(bytes, &header); e != ModelError::kNone) return e;
  if (bytes.size() - kHeaderSize < header.body_size) return ModelError::kTruncated;
  if (Crc32(bytes.data() + kHeaderSize, header.body_size) != header.body_crc) {
    return ModelError::kChecksum;
  }
  Reader in(bytes, kHeaderSize);
  Model decoded;
  std::uint64_t vertices_seen = 0;
  std::uint64_t triangles_seen = 0;
  for (std::uint32_t p = 0; p < header.part_count; ++p) {
    if (!in.Has(kPartRecordSize)) return ModelError::kMalformed;
    Part part;
    part.name = in.Text(kPartNameSize);
    Material& m = part.material;
    for (std::uint8_t& c : m.diffuse) c = in.U8();
    m.specular = in.U8();
    m.shininess = in.U8();
    m.casts_shadow = (in.U8() & kCastsShadow) != 0;
    in.U16();
    const std::uint32_t vertex_count = in.U32();
    const std::uint32_t triangle_count = in.U32();
    vertices_seen += vertex_count;
    triangles_seen += triangle_count;
    if (vertex_count > kMaxPartVertices || m.shininess == 0 ||
        vertices_seen > header.vertex_count || triangles_seen > header.triangle_count ||
        !in.Has(static_cast<std::size_t>(vertex_count) * kVertexSize +
                static_cast<std::size_t>(triangle_count) * kTriangleSize)) {
      return ModelError::kMalformed;
    }
    part.vertices.resize(vertex_count);
    for (Vertex& v : part.vertices) {
      for (float& f : v.position) f = in.F32();
      for (float& f : v.normal) f = in.F32();
      if (!FiniteVertex(v)) return ModelError::kMalformed;
    }
    part.indices.resize(static_cast<std::size_t>(triangle_count) * 3);
    for (std::uint16_t& index : part.indices) {
      index = in.U16();
      if (index >= vertex_count) return ModelError::kMalformed;
    }
    decoded.parts.push_back(std::move(part));
  }
  if (vertices_seen != header.vertex_count || triangles_seen != header.triangle_count) {
    return ModelError::kMalformed;
  }
  *model = std::move(decoded);
  return ModelError::kNone;
}

std::string DescribeModelError(ModelError error) {
  switch (error) {
    case ModelError::kNone:
      return "model read";
    case ModelError::kTooShort:
      return "file shorter than a model header";
    case ModelError::kNotAModel:
      return "not a KQ3D model file";
    case ModelError::kVersion:
      return "KQ3D version not supported";
    case ModelError::kLimits:
      return "model larger than the format allows";
    case ModelError::kTruncated:
      return "model file cut short";
    case ModelError::kChecksum:
      return "model body damaged (checksum)";
    case ModelError::kMalformed:
      return "model body inconsistent";
  }
  return "model not readable";
}

}  // namespace kx::kx3d
