#include "hostkit/frame/decorator_registry.h"

#include <algorithm>
#include <utility>

namespace kx::hostkit {
namespace {

// The slot a handle names, or -1 for a value outside the handle range.
int SlotOf(std::uint32_t handle) noexcept {
  if ((handle & ~0xFFFFu) != kDecoratorHandleBase) return -1;
  return static_cast<int>(handle & 0xFFFFu);
}

}  // namespace

DecoratorRegistry::~DecoratorRegistry() {
  while (!windows_.empty()) DropEntry(windows_.back().window);
}

std::uint32_t DecoratorRegistry::RegisterDecorator(std::unique_ptr<QNDWindowDecorator> decorator,
                                                   bool attach) {
  if (!decorator || decorators_.count() >= kMaxDecorators) return 0;
  QNDWindowDecorator* const added = decorator.get();
  const int slot = decorators_.Add(std::move(decorator));
  const std::uint32_t handle = kDecoratorHandleBase | static_cast<std::uint32_t>(slot);
  if (!attach) return handle;

  const WindowId window = added->GetWindow();
  WindowEntry* entry = FindEntry(window);
  if (entry == nullptr) {
    std::unique_ptr<QNDMessageProcessable> bottom =
        window != 0 ? subclasser_.Subclass(window) : nullptr;
    if (!bottom) {
      // Nobody could ever reach a decorator left in the table unattached:
      // the host gets no handle for it.
      decorators_.Remove(slot);
      return 0;
    }
    windows_.push_back(WindowEntry{window, std::move(bottom), {}});
    entry = &windows_.back();
  }
  if (entry->stack.empty()) {
    added->set_next(entry->bottom.get());
  } else {
    added->set_next(FindDecorator(entry->stack.back()));
  }
  entry->stack.push_back(handle);
  return handle;
}

std::unique_ptr<QNDWindowDecorator> DecoratorRegistry::UnregisterDecorator(std::uint32_t handle) {
  QNDWindowDecorator* const decorator = FindDecorator(handle);
  if (decorator == nullptr) return nullptr;

  const WindowId window = decorator->GetWindow();
  if (WindowEntry* entry = FindEntry(window)) {
    auto& stack = entry->stack;
    const auto at = std::find(stack.begin(), stack.end(), handle);
    if (at != stack.end()) {
      if (at + 1 != stack.end()) FindDecorator(*(at + 1))->set_next(decorator->next());
      decorator->set_next(nullptr);
      stack.erase(at);
      if (stack.empty()) DropEntry(window);
    }
  }
  return decorators_.Remove(SlotOf(handle));
}

QNDWindowDecorator* DecoratorRegistry::FindDecorator(std::uint32_t handle) const noexcept {
  const int slot = SlotOf(handle);
  return slot < 0 ? nullptr : decorators_.Find(slot);
}

bool DecoratorRegistry::Dispatch(WindowId window, std::uint32_t message, MessageWord wparam,
                                 MessageLong lparam, MessageResult* result) {
  const WindowEntry* entry = FindEntry(window);
  if (entry == nullptr || entry->stack.empty()) return false;
  // The entry may move while the chain runs (a decorator added to another
  // window); only the decorator itself is held.
  QNDWindowDecorator* const top = FindDecorator(entry->stack.back());
  if (top == nullptr) return false;
  top->ProcessMessage(window, message, wparam, lparam, result);
  return true;
}

void DecoratorRegistry::ForgetWindow(WindowId window) {
  WindowEntry* entry = FindEntry(window);
  if (entry == nullptr) return;
  for (const std::uint32_t handle : entry->stack) {
    if (QNDWindowDecorator* decorator = FindDecorator(handle)) decorator->set_next(nullptr);
  }
  DropEntry(window);
}

std::vector<std::uint32_t> DecoratorRegistry::Stack(WindowId window) const {
  const WindowEntry* entry = FindEntry(window);
  return entry ? entry->stack : std::vector<std::uint32_t>{};
}

DecoratorRegistry::WindowEntry* DecoratorRegistry::FindEntry(WindowId window) noexcept {
  for (WindowEntry& entry : windows_) {
    if (entry.window == window) return &entry;
  }
  return nullptr;
}

const DecoratorRegistry::WindowEntry* DecoratorRegistry::FindEntry(WindowId window) const noexcept {
  for (const WindowEntry& entry : windows_) {
    if (entry.window == window) return &entry;
  }
  return nullptr;
}

void DecoratorRegistry::DropEntry(WindowId window) {
  const auto at = std::find_if(windows_.begin(), windows_.end(),
                               [window](const WindowEntry& e) { return e.window == window; });
  if (at == windows_.end()) return;
  // The bottom processor may be the one running now (the last decorator
  // deleted from inside the window's own procedure); it reads nothing of
  // itself once the previous procedure has been called, so it may go here.
  WindowEntry entry = std::move(*at);
  windows_.erase(at);
  subclasser_.Unsubclass(window, *entry.bottom);
}

}  // namespace kx::hostkit
