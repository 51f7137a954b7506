#include "hostkit/parts/back_image_format.h"

#include <algorithm>
#include <limits>

#include "common/text.h"

namespace kx::hostkit {
namespace {

constexpr std::size_t kNameOffset = 12;

// Length of the folder part of `path`.
std::size_t FolderLength(const std::string& path) {
  std::size_t length = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':') {
      length = i + 1;
    }
  }
  return length;
}

}  // namespace

std::optional<BackImageView> ParseBackImage(const BlockReader& block) {
  const std::optional<std::int32_t> n = block.Int32(8);
  if (!n || *n < 0 || !block.Holds(kNameOffset, static_cast<std::uint64_t>(*n))) {
    return std::nullopt;
  }
  const std::size_t size_offset = kNameOffset + static_cast<std::size_t>(*n);
  const std::optional<std::int32_t> image_size = block.Int32(size_offset);
  if (!image_size || *image_size < 0 ||
      !block.Holds(size_offset + 4, static_cast<std::uint64_t>(*image_size))) {
    return std::nullopt;
  }
  BackImageView view;
  const auto* name = reinterpret_cast<const char*>(block.data() + kNameOffset);
  view.name.assign(name, std::find(name, name + *n, '\0'));
  view.image = block.data() + size_offset + 4;
  view.image_size = static_cast<std::size_t>(*image_size);
  return view;
}

std::optional<std::uint64_t> BackImageCapacity(std::size_t name_length) {
  constexpr std::uint64_t kLimit = std::numeric_limits<std::int32_t>::max();
  const std::uint64_t fixed = static_cast<std::uint64_t>(name_length) + 1 + 16;
  if (fixed > kLimit) return std::nullopt;
  return kLimit - fixed;
}

std::optional<ByteBlock> BuildBackImageFrame(const std::string& name, std::uint64_t image_size) {
  const std::optional<std::uint64_t> capacity = BackImageCapacity(name.size());
  if (!capacity || image_size > *capacity) return std::nullopt;
  const std::uint64_t n = static_cast<std::uint64_t>(name.size()) + 1;
  const std::uint64_t total = image_size + n + 16;
  ByteBlock block;
  block.reserve(static_cast<std::size_t>(total));
  BlockWriter out(block);
  out.Int32(1);
  out.Int32(static_cast<std::int32_t>(total));
  out.Int32(static_cast<std::int32_t>(n));
  out.Bytes(name.data(), name.size());
  out.Zeros(1);
  out.Int32(static_cast<std::int32_t>(image_size));
  out.Zeros(static_cast<std::size_t>(image_size));
  return block;
}

std::optional<ByteBlock> BuildBackImage(const std::string& name, const std::uint8_t* image,
                                        std::size_t image_size) {
  std::optional<ByteBlock> block = BuildBackImageFrame(name, image_size);
  if (block && image_size != 0) {
    std::copy(image, image + image_size, block->begin() + BackImageOffset(name.size()));
  }
  return block;
}

std::string FileNamePart(const std::string& path) { return path.substr(FolderLength(path)); }

std::string FolderPart(const std::string& path) { return path.substr(0, FolderLength(path)); }

}  // namespace kx::hostkit
