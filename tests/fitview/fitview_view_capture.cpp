// Saves what the viewer's 3D view shows for each of the ten configurations
// of the test plan, as the likeness thresholds are set from:
//
//   scripts/wine-run build/win64/testbin/fitview_view_capture.exe <folder>
//
// writes <folder>\viewA.bmp ... viewJ.bmp (320 x 320, the view control's
// client area taken from the screen once the view matches what the engine
// draws at rest).
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/exchange_contract.h"
#include "tests/driver/dialog_driver.h"
#include "tests/fitview/checker_double.h"
#include "tests/fitview/screen_image.h"
#include "tests/fitview/viewer_install.h"

int main(int argc, char** argv) {
  using namespace kx::test;
  if (argc < 2) {
    std::fprintf(stderr, "usage: fitview_view_capture <folder>\n");
    return 2;
  }
  const std::string out = std::string(argv[1]) + "\\";
  struct Entry {
    char name;
    RequestFlags flags;
  };
  const Entry entries[] = {
      {'A', {true, true, true, true, true}},      {'B', {true, true, true, false, true}},
      {'C', {true, true, false, true, true}},     {'D', {true, true, false, false, true}},
      {'E', {true, false, true, true, true}},     {'F', {true, false, true, false, true}},
      {'G', {true, false, false, true, true}},    {'H', {true, false, false, false, true}},
      {'I', {false, false, false, false, false}}, {'J', {false, false, false, false, true}},
  };
  ViewerInstall install;
  if (!install.copied_all) return 1;
  for (const Entry& e : entries) {
    CheckerDouble checker;
    WriteRequest(install.request(), install.data(std::string("test") + e.name + ".bmp"),
                 install.data("test.q3d"), install.result(), e.flags, checker.window(),
                 install.log());
    if (!checker.Start(install.viewer(), install.request()) ||
        !checker.WaitForNotify(kx::exchange::kNotifyViewShown, 120000)) {
      std::fprintf(stderr, "%c: no ready notification\n", e.name);
      return 1;
    }
    const HWND viewer = FindWindowA(nullptr, "ドミレルデザイナー動作チェック");
    // Two pictures in a row the same: the view has come to rest.
    Image previous, view;
    const bool rested = WaitUntil(
        [&] {
          const Image shot = CaptureClient(viewer);
          if (shot.width != 642) return false;
          view = Crop(shot, 322, 0, 320, 320);
          const bool same =
              !previous.Empty() && Compare(view, previous).mean == 0.0 && Contrast(view) > 20.0;
          previous = view;
          return same;
        },
        120000, 500);
    std::printf("%c: %s\n", e.name, rested ? "captured" : "not at rest");
    SaveBitmapFile(view, out + "view" + e.name + ".bmp");
    PostMessageA(viewer, kx::exchange::kViewerClose, reinterpret_cast<WPARAM>(checker.window()), 0);
    if (!checker.WaitForEnd(60000)) return 1;
  }
  return 0;
}
