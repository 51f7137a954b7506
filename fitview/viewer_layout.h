// Where the viewer's window and its controls go: the sample picture and the
// 3D view side by side, 642 x 320 pixels of client area, and the window
// centred in the space below the checker's window.
#pragma once

#include <array>
#include <optional>

namespace kx {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ScreenRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Control ids of the viewer window.
inline constexpr int kControlSamplePicture = 1003;
inline constexpr int kControlView = 1004;
inline constexpr int kControlSampleLabel = 1007;
inline constexpr int kControlViewLabel = 1008;
inline constexpr int kControlDivider = 1009;

inline constexpr int kViewerClientWidth = 642;
inline constexpr int kViewerClientHeight = 320;

// One control's place in the client area. A label keeps its own size (that of
// its bitmap) and goes to the top of the z-order, above the picture it names.
struct ControlPlace {
  int id = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool label = false;
};

inline constexpr std::array<ControlPlace, 5> kViewerControls = {{
    {kControlSamplePicture, 0, 0, 320, 320, false},
    {kControlSampleLabel, 0, 0, 0, 0, true},
    {kControlDivider, 320, 0, 2, 320, false},
    {kControlView, 322, 0, 320, 320, false},
    {kControlViewLabel, 322, 0, 0, 0, true},
}};

// What the window knows of itself and its surroundings before the layout.
struct ViewerGeometry {
  ScreenRect work_area;  // of the checker's monitor (or the window's own), without task bars
  ScreenRect outer;      // the viewer window's current outer rectangle
  int client_width = 0;
  int client_height = 0;
  // The checker's window; none when the request named none or it is gone.
  std::optional<ScreenRect> checker;
};

struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowPlace& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The viewer window's outer rectangle after the layout: sized for a client
// area of 642 x 320, centred horizontally in the work area and vertically in
// the space below the checker's window (at the bottom of the work area when
// that space is too small, centred in the work area without a checker or
// when the checker is not on the work area, as when it is minimised), and
// kept inside the work area.
WindowPlace PlaceViewerWindow(const ViewerGeometry& geometry);

// A window of `width` x `height` centred on a screen of the given size.
WindowPlace CentreOnScreen(int screen_width, int screen_height, int width, int height);

}  // namespace kx
