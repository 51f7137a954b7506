#include "hostkit/parts/block_collection.h"

#include <optional>

#include "hostkit/parts/merge_index.h"
#include "hostkit/parts/part_tree_walk.h"

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

}  // namespace

CollectedBlocks CollectAttributeBlocks(const PartsServices& services, std::int32_t parts,
                                       std::uint32_t flags) {
  PartsEngine* engine = services.engine;
  if (engine == nullptr) return {};
  BlockList list((flags & kCollectMerge) != 0);
  const bool only_flagged = (flags & kCollectOnlyFlagged) != 0;

  WalkPartTree<NoWalkValue>(
      *engine, parts, [&](std::int32_t part, const NoWalkValue*) -> std::optional<NoWalkValue> {
        if (engine->CheckPartsIndex(part) < 0) return std::nullopt;
        if (BlockPtr block = BuildAttributeBlock(services, part, only_flagged)) {
          list.Add(std::move(block));
        }
        return NoWalkValue{};
      });
  return list.Release();
}

}  // namespace kx::hostkit
