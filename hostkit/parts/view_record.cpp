#include "hostkit/parts/view_record.h"

#include <limits>

#include "hostkit/parts/extend_info.h"

namespace kx::hostkit {

std::optional<ViewRecord> ParseViewRecord(const BlockReader& block) {
  const std::optional<std::uint16_t> length = block.Uint16(kViewNameOffset - 2);
  if (!length || !block.Holds(kViewNameOffset, *length)) return std::nullopt;
  ViewRecord record;
  std::size_t offset = 4;
  for (auto* vector : {&record.first, &record.second, &record.values}) {
    for (float& value : *vector) {
      value = *block.Float32(offset);  // inside the 42 bytes checked above
      offset += 4;
    }
  }
  const auto* name = reinterpret_cast<const char*>(block.data() + kViewNameOffset);
  record.name.assign(name, *length);
  return record;
}

std::optional<ByteBlock> BuildViewRecord(const ViewRecord& record) {
  if (record.name.size() > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
  ByteBlock block;
  BlockWriter out(block);
  out.Int32(0);
  for (const auto* vector : {&record.first, &record.second, &record.values}) {
    for (float value : *vector) out.Float32(value);
  }
  out.Uint16(static_cast<std::uint16_t>(record.name.size()));
  out.Bytes(record.name.data(), record.name.size());
  return block;
}

std::optional<ViewRecord> ReadPartsView(ExtendEngineLoader& loader, std::int32_t parts) {
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (!engine) return std::nullopt;
  const std::optional<ByteBlock> block = ReadPartsExtendBlock(*engine, parts, kPartsViewBlock);
  if (!block) return std::nullopt;
  return ParseViewRecord(BlockReader(*block));
}

}  // namespace kx::hostkit
