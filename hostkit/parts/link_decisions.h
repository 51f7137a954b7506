// Carrying wall decisions over to linked parts: each wall names parts by
// link id (a part's extend block 302), and the first decision made for an
// id is the one its part gets.
#pragma once

#include <cstdint>
#include <map>

#include "hostkit/parts/attribute_block.h"
#include "hostkit/parts/display_attr_engine.h"

namespace kx::hostkit {

// The link id of a part without a (4-byte) link id block.
constexpr std::int32_t kNoLinkId = -1;

// Decisions by link id, in ascending id order.
class LinkDecisions {
 public:
  // An id that already has a decision keeps it.
  void Add(std::int32_t id, bool on) { decisions_.emplace(id, on); }
  bool empty() const { return decisions_.empty(); }
  const std::map<std::int32_t, bool>& decisions() const { return decisions_; }

 private:
  std::map<std::int32_t, bool> decisions_;
};

// The part's link id: its block 302 when that is exactly 4 bytes,
// kNoLinkId otherwise.
[[nodiscard]] std::int32_t ReadLinkId(DisplayAttrEngine& engine, std::int32_t parts);

// For every link id found under `root` (the root included), the first part
// that holds it, depth first with a part before its children and children
// in order; children with a negative index are skipped. One walk answers
// the search for every id at once.
[[nodiscard]] std::map<std::int32_t, std::int32_t> FindLinkedParts(DisplayAttrEngine& engine,
                                                                   std::int32_t root);

}  // namespace kx::hostkit
