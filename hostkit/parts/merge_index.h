// The index behind merging equal blocks in a collection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "hostkit/parts/attribute_block.h"

namespace kx::hostkit {

// A 32-bit hash of what EqualForMerge compares: equal blocks have equal tags.
std::uint32_t MergeTag(const PartsAttributeBlock& block);

// Blocks listed so far, found by their tag: an open-addressed table of
// tags, each naming the first listed block with that tag, and a chain
// through the blocks of one tag in list order. Equal blocks share a tag, so
// the first equal block of a chain is the first equal block from the head.
class MergeIndex {
 public:
  using TagFunction = std::uint32_t (*)(const PartsAttributeBlock&);
  explicit MergeIndex(TagFunction tag = MergeTag) : tag_(tag) {}

  // The first listed block equal to `block`; when there is none, null, and
  // `block` (about to be listed) is taken into the index.
  PartsAttributeBlock* FindOrAdd(PartsAttributeBlock* block);

 private:
  struct Slot {
    std::uint32_t tag = 0;
    std::int32_t first = -1;  // -1: empty
  };
  struct Link {
    PartsAttributeBlock* block;
    std::int32_t next;
  };

  std::size_t Probe(std::uint32_t tag) const;
  void Grow();

  TagFunction tag_;
  std::vector<Slot> slots_;  // a power of two in size, at most three quarters used
  std::size_t used_ = 0;
  std::vector<Link> chain_;
};

}  // namespace kx::hostkit
