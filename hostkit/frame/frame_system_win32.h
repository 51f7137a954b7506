// What a frame asks of the system where systems differ: a window context
// that one system gives during WM_NCPAINT and another refuses, visual
// styles that may be on or off, a symbol font that may be missing. A frame
// asks the real system unless it is given another (tests do, to take the
// roads the system at hand would not take).
#pragma once

#include <windows.h>

namespace kx::hostkit {

class FrameSystem {
 public:
  virtual ~FrameSystem() = default;
  // The window's context limited by `clip` (GetDCEx); null when refused.
  // The system owns `clip` only when a context comes back.
  virtual HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
  // Whether visual styles are in use right now.
  virtual bool VisualStylesActive();
  // The window is drawn classic from now on / follows the system's style again.
  virtual void SwitchVisualStylesOff(HWND window);
  virtual void GiveVisualStylesBack(HWND window);
  // Whether the system has the symbol font it draws caption glyphs with.
  virtual bool SymbolFontPresent();
};

// The real system.
FrameSystem& RealFrameSystem();

}  // namespace kx::hostkit
