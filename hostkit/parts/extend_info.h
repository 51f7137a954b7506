// Extended parts information over the engine library loaded per call:
// reading a part's (or the head copy's) extend block, the pending attribute
// strings written to a part in one go, and copying the head copy of a block
// onto a part.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/parts/attribute_block.h"
#include "hostkit/parts/extend_info_bytes.h"
#include "hostkit/parts/extend_info_engine.h"

namespace kx::hostkit {

// Extend block types of these calls (and kAttributeStringsBlock, 321).
constexpr std::int32_t kPartsViewBlock = 307;    // 0x133
constexpr std::int32_t kHatchScriptBlock = 308;  // 0x134
constexpr std::int32_t kBackImageBlock = 340;    // 0x154

// The part's block of `type`: asks its size, then fetches that many bytes.
// nullopt when either entry point is missing, the part has no such block
// (size 0), the engine reports a failure or a negative size, or the buffer
// cannot be had.
[[nodiscard]] std::optional<ByteBlock> ReadPartsExtendBlock(ExtendEngine& engine,
                                                            std::int32_t parts, std::int32_t type);

// The same for the engine's head copy with `index` and `type`.
[[nodiscard]] std::optional<ByteBlock> ReadHeadExtendBlock(ExtendEngine& engine, std::int32_t index,
                                                           std::int32_t type);

// The attribute strings block: header word 1, the total size, and per
// string an int32 length + 1 and its bytes with a NUL. nullopt when the
// total would not fit its int32 field.
[[nodiscard]] std::optional<ByteBlock> BuildAttributeStringsBlock(
    const std::vector<std::string>& strings);

// The attribute strings that SetExtendPartsInfoData gathers for the next
// SetExtendPartsInfo.
class PendingPartsStrings {
 public:
  // A null text appends an empty string.
  void Append(const char* text) { strings_.emplace_back(text != nullptr ? text : ""); }

  const std::vector<std::string>& strings() const { return strings_; }

  // SetExtendPartsInfo: 0 and no engine call for an empty list. Otherwise
  // the list goes to the part as its attribute strings block and is
  // emptied, whether or not the write reached the engine; 1 when the set
  // entry point was called, 0 when the library or it is missing.
  [[nodiscard]] std::int32_t WriteTo(ExtendEngineLoader& loader, std::int32_t parts);

 private:
  std::vector<std::string> strings_;
};

// copyExPartsInfoHeadToPartsEx: the head copy of (parts, type) stored
// unchanged on the part. 1 when stored; 0 when the library or the set entry
// point is missing or there is no head copy.
[[nodiscard]] std::int32_t CopyHeadBlockToParts(ExtendEngineLoader& loader, std::int32_t parts,
                                                std::int32_t type);

}  // namespace kx::hostkit
