// The close watch's tick counting: after the close request the viewer gets
// three ticks of a one-second timer to end; on the fourth it is terminated.
// Ticks arrive on the timer's own thread.
#pragma once

#include <atomic>

namespace kx {

class CloseWatchTicks {
 public:
  // A new watch with timer `id` starts counting from zero.
  void Started(unsigned id) {
    ticks_ = 0;
    id_ = id;
  }
  // True exactly on the fourth tick of the current timer: stop it and
  // terminate the viewer. Ticks of any other timer are ignored.
  bool OnTick(unsigned id) {
    if (id == 0 || id != id_.load()) return false;
    return ++ticks_ == 4;
  }
  unsigned Id() const { return id_.load(); }

 private:
  std::atomic<unsigned> id_{0};
  std::atomic<int> ticks_{0};
};

}  // namespace kx
