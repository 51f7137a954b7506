#include "hostkit/parts/extend_info.h"

#include <limits>
#include <new>

namespace kx::hostkit {
namespace {

template <class SizeCall, class DataCall>
std::optional<ByteBlock> ReadBlock(SizeCall ask_size, DataCall fetch) {
  std::int32_t size = 0;
  if (ask_size(&size) < 0 || size <= 0) return std::nullopt;
  ByteBlock block;
  try {
    block.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (fetch(block.data(), size) < 0) return std::nullopt;
  return block;
}

}  // namespace

std::optional<ByteBlock> ReadPartsExtendBlock(ExtendEngine& engine, std::int32_t parts,
                                              std::int32_t type) {
  if (!engine.Has(ExtendEntry::kGetPartsExtendBlock) ||
      !engine.Has(ExtendEntry::kGetPartsExtendBlockData)) {
    return std::nullopt;
  }
  return ReadBlock(
      [&](std::int32_t* size) { return engine.GetPartsExtendBlock(parts, type, size); },
      [&](std::uint8_t* buffer, std::int32_t size) {
        return engine.GetPartsExtendBlockData(parts, type, buffer, size);
      });
}

std::optional<ByteBlock> ReadHeadExtendBlock(ExtendEngine& engine, std::int32_t index,
                                             std::int32_t type) {
  if (!engine.Has(ExtendEntry::kGetExtendBlock) || !engine.Has(ExtendEntry::kGetExtendBlockData)) {
    return std::nullopt;
  }
  return ReadBlock([&](std::int32_t* size) { return engine.GetExtendBlock(index, type, size); },
                   [&](std::uint8_t* buffer, std::int32_t size) {
                     return engine.GetExtendBlockData(index, type, buffer, size);
                   });
}

std::optional<ByteBlock> BuildAttributeStringsBlock(const std::vector<std::string>& strings) {
  constexpr std::uint64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::uint64_t total = 8;
  for (const std::string& text : strings) {
    total += static_cast<std::uint64_t>(text.size()) + 5;
    if (total > kLimit) return std::nullopt;
  }
  ByteBlock block;
  block.reserve(static_cast<std::size_t>(total));
  BlockWriter out(block);
  out.Int32(1);
  out.Int32(static_cast<std::int32_t>(total));
  for (const std::string& text : strings) {
    out.Int32(static_cast<std::int32_t>(text.size() + 1));
    out.Bytes(text.data(), text.size());
    out.Zeros(1);
  }
  return block;
}

std::int32_t PendingPartsStrings::WriteTo(ExtendEngineLoader& loader, std::int32_t parts) {
  if (strings_.empty()) return 0;
  std::int32_t result = 0;
  const std::optional<ByteBlock> block = BuildAttributeStringsBlock(strings_);
  strings_.clear();
  if (!block) return 0;
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (engine && engine->Has(ExtendEntry::kSetPartsExtendBlockData)) {
    (void)engine->SetPartsExtendBlockData(parts, kAttributeStringsBlock, block->data(),
                                          static_cast<std::int32_t>(block->size()));
    result = 1;
  }
  return result;
}

std::int32_t CopyHeadBlockToParts(ExtendEngineLoader& loader, std::int32_t parts,
                                  std::int32_t type) {
  std::unique_ptr<ExtendEngine> engine = loader.Load();
  if (!engine || !engine->Has(ExtendEntry::kSetPartsExtendBlockData)) return 0;
  const std::optional<ByteBlock> head = ReadHeadExtendBlock(*engine, parts, type);
  if (!head) return 0;
  (void)engine->SetPartsExtendBlockData(parts, type, head->data(),
                                        static_cast<std::int32_t>(head->size()));
  return 1;
}

}  // namespace kx::hostkit
