// The two pictures that the viewer measures against each other, read from
// the Windows side: the 3D view from its own window, the sample from the
// bitmap that was loaded.
#pragma once

#include <windows.h>

#include "fitview/likeness.h"

namespace kx {

// What `window` paints of its client area when asked to paint into a
// picture of its own (PrintWindow): covering windows do not show in it.
// Empty when the window cannot be read.
RgbPicture PrintClientArea(HWND window) noexcept;

// The pixels of `bitmap`; empty for none or when they cannot be read.
RgbPicture BitmapPixels(HBITMAP bitmap) noexcept;

}  // namespace kx
