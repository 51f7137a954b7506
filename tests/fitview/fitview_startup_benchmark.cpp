// Times the viewer from its start to the ready notification, as the checker
// sees it, over several runs, and prints every time and the median.
//
//   scripts/wine-run build/win64/testbin/fitview_startup_benchmark.exe [runs] [entry]
//
// entry: I or J (OpenGL), D (Direct3D) or A (Direct3D with shader effects).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/exchange_contract.h"
#include "tests/fitview/checker_double.h"
#include "tests/fitview/viewer_install.h"

int main(int argc, char** argv) {
  using namespace kx::test;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const char entry = argc > 2 ? argv[2][0] : 'D';
  RequestFlags flags;
  switch (entry) {
    case 'A': flags = {true, true, true, true, true}; break;
    case 'D': flags = {true, true, false, false, true}; break;
    case 'I': flags = {false, false, false, false, false}; break;
    case 'J': flags = {false, false, false, false, true}; break;
    default: std::fprintf(stderr, "entry must be A, D, I or J\n"); return 2;
  }

  ViewerInstall install;
  if (!install.copied_all) {
    std::fprintf(stderr, "the build's bin folder lacks the viewer or its data\n");
    return 1;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    CheckerDouble checker;
    WriteRequest(install.request(), install.data(std::string("test") + entry + ".bmp"),
                 install.data("test.q3d"), install.result(), flags, checker.window(),
                 install.log());
    if (!checker.Start(install.viewer(), install.request()) ||
        !checker.WaitForNotify(kx::exchange::kNotifyViewShown, 60000)) {
      std::fprintf(stderr, "run %d: no ready notification\n", run + 1);
      return 1;
    }
    times.push_back(checker.MillisecondsToShown());
    std::printf("run %d: %.1f ms\n", run + 1, times.back());
    PostMessageA(FindWindowA(nullptr, "ドミレルデザイナー動作チェック"),
                 kx::exchange::kViewerClose, reinterpret_cast<WPARAM>(checker.window()), 0);
    if (!checker.WaitForEnd(30000)) {
      std::fprintf(stderr, "run %d: the viewer did not end\n", run + 1);
      return 1;
    }
  }
  std::sort(times.begin(), times.end());
  const double median = times.size() % 2 ? times[times.size() / 2]
                                         : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
  std::printf("entry %c, %d runs: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n", entry, runs,
              median, times.front(), times.back());
  return 0;
}
