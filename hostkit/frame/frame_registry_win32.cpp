#include "hostkit/frame/frame_registry_win32.h"

#include <memory>

namespace kx::hostkit {
namespace {

LRESULT CALLBACK SharedFrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  const WindowId id = reinterpret_cast<WindowId>(window);
  MessageResult result = 0;
  try {
    DecoratorRegistry& registry = FrameRegistry();
    if (!registry.Dispatch(id, message, wparam, lparam, &result)) return 0;
    // The handle may soon name another window: the entry goes with this one.
    if (message == WM_NCDESTROY) registry.ForgetWindow(id);
  } catch (...) {
    // Nothing may leave a window procedure; the message has been answered
    // as far as the chain got.
  }
  return result;
}

class Win32Subclasser : public WindowSubclasser {
 public:
  std::unique_ptr<QNDMessageProcessable> Subclass(WindowId window) override {
    const LONG_PTR previous = SetWindowLongPtrA(reinterpret_cast<HWND>(window), GWLP_WNDPROC,
                                                reinterpret_cast<LONG_PTR>(&SharedFrameProc));
    if (previous == 0) return nullptr;
    return std::make_unique<QNDDefWindowProc>(reinterpret_cast<WNDPROC>(previous));
  }
  void Unsubclass(WindowId window, QNDMessageProcessable& bottom) override {
    const WNDPROC previous = static_cast<QNDDefWindowProc&>(bottom).previous();
    SetWindowLongPtrA(reinterpret_cast<HWND>(window), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(previous));
  }
};

}  // namespace

int QNDDefWindowProc::ProcessMessage(WindowId window, std::uint32_t message, MessageWord wparam,
                                     MessageLong lparam, MessageResult* result) {
  // Read before the call: the window's procedure may delete this object
  // (its last frame deleted from inside it).
  const WNDPROC previous = previous_;
  if (previous != nullptr) {
    *result = CallWindowProcA(previous, reinterpret_cast<HWND>(window), message,
                              static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  return 0;
}

DecoratorRegistry& FrameRegistry() {
  // The subclasser outlives the registry, which uses it when it goes.
  static Win32Subclasser subclasser;
  static DecoratorRegistry registry(subclasser);
  return registry;
}

}  // namespace kx::hostkit
