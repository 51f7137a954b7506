// A part's stored view (camera) record, extend block 307. What the vectors
// and numbers mean is the host's; they pass through unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "hostkit/parts/extend_info_bytes.h"
#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit {

struct ViewRecord {
  std::array<float, 3> first{};   // offset 4
  std::array<float, 3> second{};  // offset 16
  std::array<float, 3> values{};  // offsets 28, 32, 36
  std::string name;               // L bytes from offset 42, multibyte, no terminator
};

// Offset of the view name; the uint16 length L sits just before it.
constexpr std::size_t kViewNameOffset = 42;

// nullopt when the block is shorter than 42 + L bytes.
[[nodiscard]] std::optional<ViewRecord> ParseViewRecord(const BlockReader& block);

// The block as the host stores it (word 0 written as 0). nullopt when the
// name is longer than its uint16 length can say.
[[nodiscard]] std::optional<ByteBlock> BuildViewRecord(const ViewRecord& record);

// GetPartsView: the part's view record; nullopt when the library, an entry
// point or the block is missing or the block is short.
[[nodiscard]] std::optional<ViewRecord> ReadPartsView(ExtendEngineLoader& loader,
                                                      std::int32_t parts);

}  // namespace kx::hostkit
