#include "fitview/viewer_layout.h"

namespace kx {

WindowPlace PlaceViewerWindow(const ViewerGeometry& g) {
  WindowPlace place;
  place.width = g.outer.Width() - g.client_width + kViewerClientWidth;
  place.height = g.outer.Height() - g.client_height + kViewerClientHeight;
  const ScreenRect& w = g.work_area;
  // Integer division rounds toward zero, as the placement has always done.
  place.x = w.left + (w.Width() - place.width) / 2;
  if (!g.checker) {
    place.y = w.top + (w.Height() - place.height) / 2;
    return place;
  }
  const int half = (w.bottom - g.checker->bottom - place.height - w.top) / 2;
  place.y = half >= 0 ? g.checker->bottom + half : w.bottom - place.height;
  return place;
}

WindowPlace CentreOnScreen(int screen_width, int screen_height, int width, int height) {
  return WindowPlace{(screen_width - width) / 2, (screen_height - height) / 2, width, height};
}

}  // namespace kx
