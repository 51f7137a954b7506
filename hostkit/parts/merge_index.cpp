#include "hostkit/parts/merge_index.h"

#include <functional>
#include <string_view>

namespace kx::hostkit {

std::uint32_t MergeTag(const PartsAttributeBlock& block) {
  std::size_t h = std::hash<std::u16string_view>()(block.attribute_text);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
  mix(std::hash<std::u16string_view>()(block.maker_text));
  mix(block.strings.size());
  for (const std::string& s : block.strings) mix(std::hash<std::string_view>()(s));
  return static_cast<std::uint32_t>(h ^ (static_cast<std::uint64_t>(h) >> 32));
}

PartsAttributeBlock* MergeIndex::FindOrAdd(PartsAttributeBlock* block) {
  if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
  const std::uint32_t tag = tag_(*block);
  Slot& slot = slots_[Probe(tag)];
  const auto index = static_cast<std::int32_t>(chain_.size());
  if (slot.first < 0) {
    slot = {tag, index};
    ++used_;
  } else {
    std::int32_t last = slot.first;
    for (std::int32_t i = slot.first; i >= 0; i = chain_[static_cast<std::size_t>(i)].next) {
      PartsAttributeBlock* listed = chain_[static_cast<std::size_t>(i)].block;
      if (EqualForMerge(*listed, *block)) return listed;
      last = i;
    }
    chain_[static_cast<std::size_t>(last)].next = index;
  }
  chain_.push_back({block, -1});
  return nullptr;
}

// The slot of `tag`, or the empty slot where it goes.
std::size_t MergeIndex::Probe(std::uint32_t tag) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = (tag * 0x9E3779B9u) & mask;
  while (slots_[i].first >= 0 && slots_[i].tag != tag) i = (i + 1) & mask;
  return i;
}

void MergeIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  for (const Slot& slot : old) {
    if (slot.first >= 0) slots_[Probe(slot.tag)] = slot;
  }
}

}  // namespace kx::hostkit
