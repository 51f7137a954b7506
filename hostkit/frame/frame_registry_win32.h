// The process's decorator registry over real windows: subclassing through
// one shared window procedure, and the bottom of every window's chain.
#pragma once

#include <windows.h>

#include "hostkit/frame/decorator.h"
#include "hostkit/frame/decorator_registry.h"

namespace kx::hostkit {

// Calls the procedure a window had before it was subclassed.
class QNDDefWindowProc : public QNDMessageProcessable {
 public:
  explicit QNDDefWindowProc(WNDPROC previous) noexcept : previous_(previous) {}
  int ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam, MessageLong lparam,
                     MessageResult* result) override;
  WNDPROC previous() const noexcept { return previous_; }

 private:
  WNDPROC previous_;
};

// The one registry of the process, made on first use.
DecoratorRegistry& FrameRegistry();

}  // namespace kx::hostkit
