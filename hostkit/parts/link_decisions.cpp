#include "hostkit/parts/link_decisions.h"

#include "hostkit/parts/extend_info_bytes.h"

namespace kx::hostkit {
namespace {

void CollectLinkIds(DisplayAttrEngine& engine, std::int32_t parts,
                    std::map<std::int32_t, std::int32_t>& found) {
  found.emplace(ReadLinkId(engine, parts), parts);
  const std::int32_t children = engine.GetChildPartsNum(parts);
  for (std::int32_t i = 0; i < children; ++i) {
    const std::int32_t child = engine.GetChildPartsIndex(parts, i);
    if (child >= 0) CollectLinkIds(engine, child, found);
  }
}

}  // namespace

std::int32_t ReadLinkId(DisplayAttrEngine& engine, std::int32_t parts) {
  std::int32_t size = 0;
  if (engine.GetPartsExtendBlock(parts, kLinkIdBlock, &size) < 0 || size != 4) return kNoLinkId;
  std::uint8_t data[4] = {};
  if (engine.GetPartsExtendBlockData(parts, kLinkIdBlock, data, 4) < 0) return kNoLinkId;
  return *BlockReader(data, sizeof data).Int32(0);
}

std::map<std::int32_t, std::int32_t> FindLinkedParts(DisplayAttrEngine& engine, std::int32_t root) {
  std::map<std::int32_t, std::int32_t> found;
  CollectLinkIds(engine, root, found);
  return found;
}

}  // namespace kx::hostkit
