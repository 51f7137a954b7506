#include "fitview/viewer_layout.h"

namespace kx {

namespace {

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The start of a span of `size` moved inside [low, high), or to `low` when it
// is larger than that.
int Inside(int start, int size, int low, int high) {
  if (start + size > high) start = high - size;
  return start < low ? low : start;
}

}  // namespace

WindowPlace PlaceViewerWindow(const ViewerGeometry& g) {
  WindowPlace place;
  place.width = g.outer.Width() - g.client_width + kViewerClientWidth;
  place.height = g.outer.Height() - g.client_height + kViewerClientHeight;
  const ScreenRect& w = g.work_area;
  // Integer division rounds toward zero, as the placement has always done.
  place.x = w.left + (w.Width() - place.width) / 2;
  // A minimised checker lies far outside every screen: there is nothing to
  // sit below, and a place below it would be off the screen.
  if (!g.checker || !Overlap(*g.checker, w)) {
    place.y = w.top + (w.Height() - place.height) / 2;
  } else {
    const int half = (w.bottom - g.checker->bottom - place.height - w.top) / 2;
    place.y = half >= 0 ? g.checker->bottom + half : w.bottom - place.height;
  }
  // The user is asked about what the window shows: all of it on the screen.
  place.x = Inside(place.x, place.width, w.left, w.right);
  place.y = Inside(place.y, place.height, w.top, w.bottom);
  return place;
}

WindowPlace CentreOnScreen(int screen_width, int screen_height, int width, int height) {
  return WindowPlace{(screen_width - width) / 2, (screen_height - height) / 2, width, height};
}

}  // namespace kx
