#include "hostkit/parts/display_attr_blocks.h"

namespace kx::hostkit {

std::optional<WallKindRecord> ParseWallKind(const BlockReader& block) {
  if (block.size() < kWallKindSize) return std::nullopt;
  return WallKindRecord{*block.Int32(8), *block.Int32(12)};
}

std::optional<WallFaceRecord> ParseWallFace(const BlockReader& block) {
  if (block.size() < kWallFaceSize) return std::nullopt;
  WallFaceRecord record;
  record.normal = {*block.Float64(16), *block.Float64(24), *block.Float64(32)};
  record.kind = *block.Int32(44);
  const std::int32_t offset = *block.Int32(0);
  const std::int32_t count = *block.Int32(48);
  if (offset >= 0 && count >= 0 &&
      static_cast<std::uint64_t>(offset) + 8 * static_cast<std::uint64_t>(count) == block.size()) {
    record.link_ids.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      const std::size_t entry = static_cast<std::size_t>(offset) + 8 * static_cast<std::size_t>(i);
      record.link_ids.push_back(*block.Int32(entry + 4));
    }
  }
  return record;
}

ByteBlock BuildWallKind(const WallKindRecord& record) {
  ByteBlock block;
  BlockWriter out(block);
  out.Zeros(8);
  out.Int32(record.kind);
  out.Int32(record.exclusion);
  out.Zeros(kWallKindSize - 16);
  return block;
}

ByteBlock BuildWallFace(const WallFaceRecord& record) {
  ByteBlock block;
  BlockWriter out(block);
  out.Int32(static_cast<std::int32_t>(kWallFaceSize));
  out.Zeros(12);
  for (double value : record.normal) out.Float64(value);
  out.Zeros(4);
  out.Int32(record.kind);
  out.Int32(static_cast<std::int32_t>(record.link_ids.size()));
  out.Zeros(4);
  for (std::int32_t id : record.link_ids) {
    out.Int32(0);
    out.Int32(id);
  }
  return block;
}

}  // namespace kx::hostkit
