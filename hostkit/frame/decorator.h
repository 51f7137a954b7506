// The message chain of a decorated window. The window's procedure is
// replaced by one shared procedure that hands every message to the topmost
// decorator of the window; each decorator either answers a message itself
// or passes it to `next` (the decorator below it, and at the bottom the
// window's own previous procedure).
#pragma once

#include <cstdint>

namespace kx::hostkit {

// A window handle, a message's two values and its result, at the width the
// platform gives them.
using WindowId = std::uintptr_t;
using MessageWord = std::uintptr_t;
using MessageLong = std::intptr_t;
using MessageResult = std::intptr_t;

class QNDMessageProcessable {
 public:
  virtual ~QNDMessageProcessable() = default;
  // Handles `message` for `window`, storing the message's result in
  // *result. The return value is 0 (the result travels in *result).
  virtual int ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam,
                             MessageLong lparam, MessageResult* result) = 0;
};

class QNDWindowDecorator : public QNDMessageProcessable {
 public:
  virtual WindowId GetWindow() const = 0;
  // Brings the decoration up to date on the screen. The two values are the
  // host's; a decorator may ignore them.
  virtual void Redraw(std::int32_t value1, std::int32_t value2) = 0;

  QNDMessageProcessable* next() const noexcept { return next_; }
  void set_next(QNDMessageProcessable* next) noexcept { next_ = next; }

 protected:
  // Gives the message to the rest of the chain. A decorator that has been
  // taken off its window has nothing below it: the result is then 0.
  int PassOn(WindowId window, std::uint32_t message, MessageWord wparam, MessageLong lparam,
             MessageResult* result) {
    if (next_ == nullptr) {
      *result = 0;
      return 0;
    }
    return next_->ProcessMessage(window, message, wparam, lparam, result);
  }

 private:
  QNDMessageProcessable* next_ = nullptr;
};

}  // namespace kx::hostkit
