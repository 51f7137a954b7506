// Kxc_Items: a table of owned objects addressed by slot number. The number
// is what the host holds (a decorator handle, a frame's resource index), so
// a freed slot is reused by the next addition and the numbers of the others
// never move.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace kx::hostkit {

template <class T>
class Kxc_Items {
 public:
  // The slot now holding `item`: the lowest empty one, else a new one at the
  // end. -1 for a null item (nothing is stored).
  int Add(std::unique_ptr<T> item) {
    if (!item) return -1;
    // Without a hole the search would find nothing.
    for (std::size_t i = 0; count_ < slots_.size() && i < slots_.size(); ++i) {
      if (!slots_[i]) {
        slots_[i] = std::move(item);
        ++count_;
        return static_cast<int>(i);
      }
    }
    slots_.push_back(std::move(item));
    ++count_;
    return static_cast<int>(slots_.size() - 1);
  }

  // Takes the object out of its slot and hands it to the caller; null for
  // an empty or unknown slot. The table is emptied with its last object.
  std::unique_ptr<T> Remove(int index) {
    if (!Find(index)) return nullptr;
    std::unique_ptr<T> item = std::move(slots_[static_cast<std::size_t>(index)]);
    if (--count_ == 0) slots_.clear();
    return item;
  }

  // The object in the slot, or null for an empty slot or one beyond the table.
  T* Find(int index) const noexcept {
    if (index < 0 || static_cast<std::size_t>(index) >= slots_.size()) return nullptr;
    return slots_[static_cast<std::size_t>(index)].get();
  }

  // Deletes every object.
  void Clear() noexcept {
    slots_.clear();
    count_ = 0;
  }

  std::size_t count() const noexcept { return count_; }        // live objects
  std::size_t size() const noexcept { return slots_.size(); }  // slots, empty ones included

 private:
  std::vector<std::unique_ptr<T>> slots_;
  std::size_t count_ = 0;
};

}  // namespace kx::hostkit
