// The wall records the engine keeps with a model's shapes: the wall kind
// record (shape extend block 300) and the wall face record (301), whose
// link list names the parts a wall's decision carries over to.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "hostkit/parts/display_attr_transform.h"
#include "hostkit/parts/extend_info_bytes.h"

namespace kx::hostkit {

constexpr std::int32_t kWallKindBlock = 300;
constexpr std::int32_t kWallFaceBlock = 301;
constexpr std::size_t kWallKindSize = 24;  // bytes read of a wall kind record
constexpr std::size_t kWallFaceSize = 56;  // the fixed part of a wall face record

// The exclusion code that keeps a shape out of the decision.
constexpr std::int32_t kExcludedShape = 12;

struct WallKindRecord {
  std::int32_t kind = 0;       // A, offset 8
  std::int32_t exclusion = 0;  // offset 12
};

struct WallFaceRecord {
  Vector3 normal{};       // float64 at 16, 24, 32, in the shape's own coordinates
  std::int32_t kind = 0;  // B, offset 44
  std::vector<std::int32_t> link_ids;
};

// nullopt when shorter than 24 bytes.
[[nodiscard]] std::optional<WallKindRecord> ParseWallKind(const BlockReader& block);

// nullopt when shorter than 56 bytes. The link list (offset d at 0, count
// c at 48, entries of two int32 whose second is the link id) is taken only
// when it ends exactly at the block's end; otherwise there are no link ids.
[[nodiscard]] std::optional<WallFaceRecord> ParseWallFace(const BlockReader& block);

// Blocks as the engine stores them, unused fields zero; the face record's
// list follows the fixed part (d = 56), each entry's first int32 zero.
[[nodiscard]] ByteBlock BuildWallKind(const WallKindRecord& record);
[[nodiscard]] ByteBlock BuildWallFace(const WallFaceRecord& record);

}  // namespace kx::hostkit
