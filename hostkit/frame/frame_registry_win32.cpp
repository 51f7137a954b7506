#include "hostkit/frame/frame_registry_win32.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

namespace kx::hostkit {
namespace {

LRESULT CALLBACK SharedFrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// A window whose last frame went while a procedure installed after the
// frame's still called the frame's: the shared procedure stays in that
// window's chain and keeps passing its messages to the window's own.
struct OutlivedWindow {
  HWND window;
  WNDPROC own;
};

std::vector<OutlivedWindow>& OutlivedWindows() {
  // Never destroyed: a window may call the shared procedure at process end.
  static auto* const windows = new std::vector<OutlivedWindow>();
  return *windows;
}

std::vector<OutlivedWindow>::iterator FindOutlived(HWND window) {
  std::vector<OutlivedWindow>& windows = OutlivedWindows();
  return std::find_if(windows.begin(), windows.end(),
                      [window](const OutlivedWindow& w) { return w.window == window; });
}

// The shared procedure stays in a window's chain beneath a later one: the
// later procedure calls into this module for as long as the window lives,
// so the module must stay loaded after the host lets it go. Pinned once; a
// pinned module is unloaded only with the process.
void KeepModuleLoaded() noexcept {
  static std::atomic<bool> pinned{false};
  if (pinned.exchange(true)) return;
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&SharedFrameProc), &module);
}

bool SharedProcedureIsCurrent(HWND window) {
  return GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SharedFrameProc);
}

// A message for a window without frames: its own procedure answers.
LRESULT PassToOwnProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto at = FindOutlived(window);
  if (at == OutlivedWindows().end()) return DefWindowProcA(window, message, wparam, lparam);
  const WNDPROC own = at->own;
  if (message == WM_NCDESTROY) {
    OutlivedWindows().erase(at);
  } else if (SharedProcedureIsCurrent(window)) {
    // The later procedure has gone and put the shared one back: the window
    // gets its own procedure again.
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    OutlivedWindows().erase(at);
  }
  return CallWindowProcA(own, window, message, wparam, lparam);
}

LRESULT CALLBACK SharedFrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  const WindowId id = reinterpret_cast<WindowId>(window);
  MessageResult result = 0;
  try {
    DecoratorRegistry& registry = FrameRegistry();
    if (registry.Dispatch(id, message, wparam, lparam, &result)) {
      // The handle may soon name another window: the entry goes with this one.
      if (message == WM_NCDESTROY) {
        registry.ForgetWindow(id);
        const auto at = FindOutlived(window);
        if (at != OutlivedWindows().end()) OutlivedWindows().erase(at);
      }
      return result;
    }
    return PassToOwnProcedure(window, message, wparam, lparam);
  } catch (...) {
    // Nothing may leave a window procedure; the message has been answered
    // as far as the chain got.
    return result;
  }
}

class Win32Subclasser : public WindowSubclasser {
 public:
  std::unique_ptr<QNDMessageProcessable> Subclass(WindowId window) override {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    const auto at = FindOutlived(hwnd);
    if (at != OutlivedWindows().end()) {
      // The shared procedure is in the window's chain still; putting it in
      // again would make it call itself through the later procedure.
      auto bottom = std::make_unique<QNDDefWindowProc>(at->own);
      OutlivedWindows().erase(at);
      return bottom;
    }
    const LONG_PTR previous =
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedFrameProc));
    if (previous == 0) return nullptr;
    return std::make_unique<QNDDefWindowProc>(reinterpret_cast<WNDPROC>(previous));
  }
  void Unsubclass(WindowId window, QNDMessageProcessable& bottom) override {
    const HWND hwnd = reinterpret_cast<HWND>(window);
    const WNDPROC own = static_cast<QNDDefWindowProc&>(bottom).previous();
    if (SharedProcedureIsCurrent(hwnd)) {
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
    } else if (IsWindow(hwnd)) {
      // Putting the own procedure back would cut out whatever subclassed the
      // window after the frame (a tooltip, the host): the shared procedure
      // stays where it is and passes messages on.
      KeepModuleLoaded();
      OutlivedWindows().push_back(OutlivedWindow{hwnd, own});
    }
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
