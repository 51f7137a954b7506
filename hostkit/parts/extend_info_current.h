// The current extended parts information: one attribute block held for the
// host between ReadExtendPartsInfo and ClearExtendPartsInfo, read by
// attribute id in between. The block is whatever the attribute block
// services build; this holder only owns it and hands it out.
#pragma once

#include <cstdint>
#include <utility>

namespace kx::hostkit {

template <class Block>
class CurrentPartsInfo {
 public:
  using Release = void (*)(Block*);

  explicit CurrentPartsInfo(Release release) : release_(release) {}
  ~CurrentPartsInfo() { Clear(); }
  CurrentPartsInfo(const CurrentPartsInfo&) = delete;
  CurrentPartsInfo& operator=(const CurrentPartsInfo&) = delete;

  // ReadExtendPartsInfo: the old block goes first, so a part without a
  // block leaves none current. `build` returns the part's new block or null.
  template <class Build>
  [[nodiscard]] std::int32_t Read(Build&& build) {
    Clear();
    block_ = std::forward<Build>(build)();
    return block_ != nullptr ? 1 : 0;
  }

  // The current block, null when there is none (GetExtendPartsInfo and
  // GetExtendPartsInfoVar then answer 0).
  Block* Get() const { return block_; }

  // ClearExtendPartsInfo.
  void Clear() {
    if (block_ != nullptr) release_(std::exchange(block_, nullptr));
  }

 private:
  Release release_;
  Block* block_ = nullptr;
};

}  // namespace kx::hostkit
