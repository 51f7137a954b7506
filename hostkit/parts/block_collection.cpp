#include "hostkit/parts/block_collection.h"

#include <functional>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kx::hostkit {

namespace {

// Blocks listed so far, found by a hash of what equality compares: an
// open-addressed table of hash tags, each naming the first listed block with
// that tag, and a chain through the blocks of one tag in list order. Equal
// blocks share a tag, so the first equal block of a chain is the first
// equal block from the head.
class MergeIndex {
 public:
  // The first listed block equal to `block`; when there is none, null, and
  // `block` (about to be listed) is taken into the index.
  PartsAttributeBlock* FindOrAdd(PartsAttributeBlock* block) {
    if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
    const std::uint32_t tag = Tag(*block);
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

 private:
  struct Slot {
    std::uint32_t tag = 0;
    std::int32_t first = -1;  // -1: empty
  };
  struct Link {
    PartsAttributeBlock* block;
    std::int32_t next;
  };

  static std::uint32_t Tag(const PartsAttributeBlock& block) {
    std::size_t h = std::hash<std::u16string_view>()(block.attribute_text);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2); };
    mix(std::hash<std::u16string_view>()(block.maker_text));
    mix(block.strings.size());
    for (const std::string& s : block.strings) mix(std::hash<std::string_view>()(s));
    return static_cast<std::uint32_t>(h ^ (static_cast<std::uint64_t>(h) >> 32));
  }

  // The slot of `tag`, or the empty slot where it goes.
  std::size_t Probe(std::uint32_t tag) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = (tag * 0x9E3779B9u) & mask;
    while (slots_[i].first >= 0 && slots_[i].tag != tag) i = (i + 1) & mask;
    return i;
  }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    for (const Slot& slot : old) {
      if (slot.first >= 0) slots_[Probe(slot.tag)] = slot;
    }
  }

  std::vector<Slot> slots_;  // a power of two in size, at most three quarters used
  std::size_t used_ = 0;
  std::vector<Link> chain_;
};

// The list being built; frees what it holds unless handed over.
class BlockList {
 public:
  explicit BlockList(bool merge) : merge_(merge) {}
  ~BlockList() { ReleaseBlockList(head_); }

  void Add(BlockPtr block) {
    if (merge_) {
      if (PartsAttributeBlock* equal = index_.FindOrAdd(block.get())) {
        ++equal->count;
        return;  // the new block goes
      }
    }
    PartsAttributeBlock* added = block.release();
    if (tail_ == nullptr) {
      head_ = added;
    } else {
      tail_->next = added;
      added->previous = tail_;
    }
    tail_ = added;
    ++count_;
  }

  CollectedBlocks Release() {
    CollectedBlocks result{head_, count_};
    head_ = tail_ = nullptr;
    count_ = 0;
    return result;
  }

 private:
  bool merge_;
  PartsAttributeBlock* head_ = nullptr;
  PartsAttributeBlock* tail_ = nullptr;
  std::int32_t count_ = 0;
  MergeIndex index_;
};

// One part on the walk's path and the next of its children to visit.
struct Visit {
  std::int32_t parts;
  std::int32_t children;
  std::int32_t next_child;
};

}  // namespace

CollectedBlocks CollectAttributeBlocks(const PartsServices& services, std::int32_t parts,
                                       std::uint32_t flags) {
  PartsEngine* engine = services.engine;
  BlockList list((flags & kCollectMerge) != 0);
  const bool only_flagged = (flags & kCollectOnlyFlagged) != 0;

  // The walk keeps its own stack, so a deep tree cannot exhaust the
  // thread's; a part that is already on the path (an engine tree that
  // loops back) is not entered again, so the walk always ends.
  std::vector<Visit> path;
  std::unordered_set<std::int32_t> on_path;
  auto enter = [&](std::int32_t part) {
    if (engine == nullptr || engine->CheckPartsIndex(part) < 0) return;
    if (on_path.count(part) != 0) return;
    if (BlockPtr block = BuildAttributeBlock(services, part, only_flagged)) {
      list.Add(std::move(block));
    }
    path.push_back({part, engine->GetChildPartsNum(part), 0});
    on_path.insert(part);
  };

  enter(parts);
  while (!path.empty()) {
    Visit& top = path.back();
    if (top.next_child >= top.children) {
      on_path.erase(top.parts);
      path.pop_back();
      continue;
    }
    const std::int32_t position = top.next_child++;
    enter(engine->GetChildPartsIndex(top.parts, position));
  }
  return list.Release();
}

}  // namespace kx::hostkit
