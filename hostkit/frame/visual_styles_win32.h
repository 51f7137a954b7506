// The system's visual styles ("UxTheme.dll", loaded for each use). A frame
// that draws its own caption must keep the themed caption from being drawn
// under it, so it switches styles off for its window and gives them back
// when it goes. Without the library every step is skipped.
#pragma once

#include <windows.h>

namespace kx::hostkit {

// Whether visual styles are in use right now.
[[nodiscard]] bool VisualStylesActive() noexcept;
// Draws the window in the classic style from now on.
void SwitchVisualStylesOff(HWND window) noexcept;
// Lets the window follow the system's style again.
void GiveVisualStylesBack(HWND window) noexcept;

}  // namespace kx::hostkit
