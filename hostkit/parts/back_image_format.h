// The back image block, extend block 340 on parts index 0: an image file
// stored whole inside the model, with the name it had.
//
//   0       int32  1
//   4       int32  total size = file size + n + 16
//   8       int32  n = name length + 1
//   12      n      file name and a NUL
//   12 + n  int32  file size
//   16 + n  ...    the file's bytes
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "hostkit/parts/extend_info_bytes.h"

namespace kx::hostkit {

struct BackImageView {
  std::string name;                     // without the NUL
  const std::uint8_t* image = nullptr;  // points into the parsed block
  std::size_t image_size = 0;
};

// nullopt when n or the file size is negative, or the name or the image
// would reach past the block. The name ends at its first NUL. The header
// and total size words are not relied on.
[[nodiscard]] std::optional<BackImageView> ParseBackImage(const BlockReader& block);

// The largest image a block can hold with a name of `name_length` bytes:
// its total size must fit the int32 field. nullopt when even an empty
// image would not fit.
[[nodiscard]] std::optional<std::uint64_t> BackImageCapacity(std::size_t name_length);

// A block with room for an image of `image_size` bytes, zero-filled, that
// starts at BackImageOffset(name.size()); nullopt when the image is larger
// than BackImageCapacity allows.
[[nodiscard]] std::optional<ByteBlock> BuildBackImageFrame(const std::string& name,
                                                           std::uint64_t image_size);
constexpr std::size_t BackImageOffset(std::size_t name_length) { return 16 + name_length + 1; }

// The same with the image copied in.
[[nodiscard]] std::optional<ByteBlock> BuildBackImage(const std::string& name,
                                                      const std::uint8_t* image,
                                                      std::size_t image_size);

// The name part of a path: what follows its last backslash, slash or drive
// colon, stepping over double-byte characters (whose second byte may be
// 0x5C) as units.
[[nodiscard]] std::string FileNamePart(const std::string& path);

// The folder part: everything up to and including that separator; empty
// for a bare name.
[[nodiscard]] std::string FolderPart(const std::string& path);

}  // namespace kx::hostkit
