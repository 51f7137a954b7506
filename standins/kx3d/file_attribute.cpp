#include "standins/kx3d/file_attribute.h"

#include <cstring>

#include "standins/kx3d/q3d_model.h"

namespace kx::kx3d {
namespace {

void PutU32(std::string* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(const std::string& in, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(in[at + i]);
  return v;
}

// One length-prefixed text at *at; false when it does not fit the section.
bool TakeText(const std::string& section, std::size_t* at, std::string* text) {
  if (section.size() - *at < 4) return false;
  const std::uint32_t length = GetU32(section, *at);
  *at += 4;
  if (length > kMaxAttributeText || section.size() - *at < length) return false;
  *text = section.substr(*at, length);
  *at += length;
  return true;
}

}  // namespace

std::optional<std::string> EncodeAttributeSection(const FileAttributes& attributes) {
  if (attributes.name.size() > kMaxAttributeText ||
      attributes.description.size() > kMaxAttributeText) {
    return std::nullopt;
  }
  std::string data;
  PutU32(&data, static_cast<std::uint32_t>(attributes.name.size()));
  data += attributes.name;
  PutU32(&data, static_cast<std::uint32_t>(attributes.description.size()));
  data += attributes.description;
  std::string section(kAttributeSectionTag, 4);
  PutU32(&section, static_cast<std::uint32_t>(data.size()));
  return section + data;
}

std::int32_t ReadFileAttributes(
    const std::function<std::optional<std::string>(std::uint64_t, std::size_t)>& read_at,
    FileAttributes* attributes) {
  const std::optional<std::string> head = read_at(0, kHeaderSize);
  if (!head) return kAttributesUnreadable;
  ModelHeader header;
  if (ModelError e = DecodeModelHeader(*head, &header); e != ModelError::kNone) {
    return static_cast<std::int32_t>(e);
  }
  const std::optional<std::string> tail =
      read_at(kHeaderSize + static_cast<std::uint64_t>(header.body_size), kMaxSectionBytes);
  if (!tail) return kAttributesUnreadable;
  // Sections follow one another; those of other kinds are stepped over.
  for (std::size_t at = 0; tail->size() - at >= 8;) {
    const std::uint32_t size = GetU32(*tail, at + 4);
    if (tail->size() - at - 8 < size) break;
    if (std::memcmp(tail->data() + at, kAttributeSectionTag, 4) == 0) {
      const std::string section = tail->substr(at + 8, size);
      FileAttributes read;
      std::size_t inner = 0;
      if (!TakeText(section, &inner, &read.name) || !TakeText(section, &inner, &read.description)) {
        return kNoAttributes;
      }
      *attributes = std::move(read);
      return kAttributesRead;
    }
    at += 8 + static_cast<std::size_t>(size);
  }
  return kNoAttributes;
}

}  // namespace kx::kx3d
