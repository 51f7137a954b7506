#include "hostkit/frame/visual_styles_win32.h"

#include "platform/win32/module_loader.h"

namespace kx::hostkit {
namespace {

// The library's entry points, resolved while it is loaded.
class UxTheme {
 public:
  using IsThemeActiveFn = BOOL WINAPI();
  using SetWindowThemeFn = HRESULT WINAPI(HWND, LPCWSTR, LPCWSTR);

  IsThemeActiveFn* is_theme_active() const noexcept {
    return module_.Entry<IsThemeActiveFn>("IsThemeActive");
  }
  SetWindowThemeFn* set_window_theme() const noexcept {
    return module_.Entry<SetWindowThemeFn>("SetWindowTheme");
  }

 private:
  win::LoadedModule module_{"UxTheme.dll"};
};

}  // namespace

bool VisualStylesActive() noexcept {
  const UxTheme theme;
  UxTheme::IsThemeActiveFn* const active = theme.is_theme_active();
  return active != nullptr && active() == 1;
}

void SwitchVisualStylesOff(HWND window) noexcept {
  const UxTheme theme;
  // An id list of one blank matches no theme class: the window is drawn classic.
  if (UxTheme::SetWindowThemeFn* const set = theme.set_window_theme()) set(window, nullptr, L" ");
}

void GiveVisualStylesBack(HWND window) noexcept {
  const UxTheme theme;
  if (UxTheme::SetWindowThemeFn* const set = theme.set_window_theme()) {
    set(window, nullptr, nullptr);
  }
}

}  // namespace kx::hostkit
