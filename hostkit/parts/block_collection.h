// Collecting the attribute blocks of a whole subtree of parts into one list.
#pragma once

#include <cstdint>

#include "hostkit/parts/attribute_block.h"

namespace kx::hostkit {

// Collection flags.
inline constexpr std::uint32_t kCollectOnlyFlagged = 0x1;  // parts whose attribute flag is set
inline constexpr std::uint32_t kCollectMerge = 0x2;        // equal blocks become one counted block

struct CollectedBlocks {
  PartsAttributeBlock* head = nullptr;  // owned by the caller: release through the head
  std::int32_t count = 0;
};

// Walks the part tree from `parts`, depth first, a part before its
// children and children in the engine's order, and lists the blocks of the
// parts visited. A part the engine does not know is skipped with its
// children. With kCollectMerge a block equal to one already listed adds
// to that one's count instead; the first equal block in list order takes
// it, as a scan from the head would find it.
CollectedBlocks CollectAttributeBlocks(const PartsServices& services, std::int32_t parts,
                                       std::uint32_t flags);

}  // namespace kx::hostkit
