// The two attribute texts a model file may carry for the parts library
// (the part's name as the catalogue shows it, and its description), kept in
// an optional section behind the model body. Readers of the model that know
// nothing of sections are not disturbed: they read the body by its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kx::kx3d {

struct FileAttributes {
  std::string name;         // ANSI
  std::string description;  // ANSI
};

// Tag of the attribute section.
inline constexpr char kAttributeSectionTag[4] = {'K', 'A', 'T', 'R'};
// Longest text of either kind.
inline constexpr std::size_t kMaxAttributeText = 1024;
// How much of the file behind the body a reader looks at.
inline constexpr std::size_t kMaxSectionBytes = 64 * 1024;

// Results of reading the attributes besides the model format's own errors
// (ModelError values).
inline constexpr std::int32_t kAttributesRead = 0;
inline constexpr std::int32_t kAttributesUnreadable = -1;  // missing or unreadable file
inline constexpr std::int32_t kNoAttributes = -9;          // a model without the section

// The attribute section (tag, 32-bit size, the two texts each as a 32-bit
// length and its bytes), to be appended to a model file. Texts longer than
// kMaxAttributeText are not encodable: nullopt.
std::optional<std::string> EncodeAttributeSection(const FileAttributes& attributes);

// The attributes of a model file, read through `read_at` (up to `size`
// bytes from `offset`; fewer at the end of the file, none when it cannot be
// read). Only the header and what follows the body are read. kAttributesRead
// with *attributes filled, or a negative result with *attributes untouched.
std::int32_t ReadFileAttributes(
    const std::function<std::optional<std::string>(std::uint64_t offset, std::size_t size)>&
        read_at,
    FileAttributes* attributes);

}  // namespace kx::kx3d
