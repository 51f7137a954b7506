// The process's decorators and the windows they decorate. The host holds a
// decorator by its handle, 0x10000 | slot; each decorated window has a stack
// of handles whose topmost decorator sees the window's messages first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "hostkit/frame/decorator.h"
#include "hostkit/frame/kxc_items.h"

namespace kx::hostkit {

// Handles lie in 0x10000..0x1FFFF; the low 16 bits are the slot.
constexpr std::uint32_t kDecoratorHandleBase = 0x10000;
// The table holds at most this many live decorators.
constexpr std::size_t kMaxDecorators = 0xFFFF;

// Puts the shared window procedure in place of a window's own and back.
class WindowSubclasser {
 public:
  virtual ~WindowSubclasser() = default;
  // The processor that calls the window's previous procedure (the bottom of
  // its chain), or null when the window's procedure can't be replaced.
  virtual std::unique_ptr<QNDMessageProcessable> Subclass(WindowId window) = 0;
  // Gives the window back the procedure that `bottom` (from Subclass) calls.
  virtual void Unsubclass(WindowId window, QNDMessageProcessable& bottom) = 0;
};

class DecoratorRegistry {
 public:
  explicit DecoratorRegistry(WindowSubclasser& subclasser) : subclasser_(subclasser) {}
  // Every window still subclassed gets its own procedure back.
  ~DecoratorRegistry();
  DecoratorRegistry(const DecoratorRegistry&) = delete;
  DecoratorRegistry& operator=(const DecoratorRegistry&) = delete;

  // Takes the decorator into the table and, with `attach`, puts it on top of
  // its window's stack (subclassing the window first if it has no stack).
  // The handle, or 0 for a null decorator, a full table, or a window that
  // can't be subclassed; a refused decorator is deleted, never left behind.
  [[nodiscard]] std::uint32_t RegisterDecorator(std::unique_ptr<QNDWindowDecorator> decorator,
                                                bool attach);

  // Takes the decorator off its window (the one above it is linked to the
  // one below) and out of the table, and hands it back for deletion; null for
  // an unknown handle. The window's last decorator unsubclasses the window.
  [[nodiscard]] std::unique_ptr<QNDWindowDecorator> UnregisterDecorator(std::uint32_t handle);

  [[nodiscard]] QNDWindowDecorator* FindDecorator(std::uint32_t handle) const noexcept;

  // The shared procedure's work: hands the message to the window's topmost
  // decorator. false, with nothing called, for a window without decorators.
  [[nodiscard]] bool Dispatch(WindowId window, std::uint32_t message, MessageWord wparam,
                              MessageLong lparam, MessageResult* result);

  // The window is being destroyed: it gets its own procedure back and its
  // entry goes, so that a later window with the same handle starts afresh.
  // Its decorators stay registered, unattached, until the host deletes them.
  void ForgetWindow(WindowId window);

  // The window's stack of handles, bottom first (empty when not decorated).
  std::vector<std::uint32_t> Stack(WindowId window) const;
  std::size_t count() const noexcept { return decorators_.count(); }

 private:
  struct WindowEntry {
    WindowId window;
    std::unique_ptr<QNDMessageProcessable> bottom;  // calls the window's previous procedure
    std::vector<std::uint32_t> stack;               // last = topmost
  };

  WindowEntry* FindEntry(WindowId window) noexcept;
  const WindowEntry* FindEntry(WindowId window) const noexcept;
  void DropEntry(WindowId window);

  WindowSubclasser& subclasser_;
  Kxc_Items<QNDWindowDecorator> decorators_;
  std::vector<WindowEntry> windows_;
};

}  // namespace kx::hostkit
