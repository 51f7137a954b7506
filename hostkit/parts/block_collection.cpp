#include "hostkit/parts/block_collection.h"

#include <unordered_set>
#include <vector>

#include "hostkit/parts/merge_index.h"

namespace kx::hostkit {

namespace {

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
