#include "hostkit/parts/link_decisions.h"

#include "hostkit/parts/extend_info_bytes.h"
#include "hostkit/parts/part_tree_walk.h"

namespace kx::hostkit {

std::int32_t ReadLinkId(DisplayAttrEngine& engine, std::int32_t parts) {
  std::int32_t size = 0;
  if (engine.GetPartsExtendBlock(parts, kLinkIdBlock, &size) < 0 || size != 4) return kNoLinkId;
  std::uint8_t data[4] = {};
  if (engine.GetPartsExtendBlockData(parts, kLinkIdBlock, data, 4) < 0) return kNoLinkId;
  return *BlockReader(data, sizeof data).Int32(0);
}

std::map<std::int32_t, std::int32_t> FindLinkedParts(DisplayAttrEngine& engine, std::int32_t root) {
  std::map<std::int32_t, std::int32_t> found;
  WalkPartTree<NoWalkValue>(
      engine, root, [&](std::int32_t parts, const NoWalkValue*) -> std::optional<NoWalkValue> {
        found.emplace(ReadLinkId(engine, parts), parts);
        return NoWalkValue{};
      });
  return found;
}

}  // namespace kx::hostkit
