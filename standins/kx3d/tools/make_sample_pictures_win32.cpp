// Draws the viewer's ten sample pictures with the engine library itself:
// for each configuration of the test plan, the viewer's calls into a 320 x
// 320 view window, then the picture the engine drew, as testA.bmp ...
//
//   make_sample_pictures <engine dll> <model file> <output folder> [letters [hold]]
//
// With `hold` (milliseconds) each window stays on the screen that long after
// its picture is drawn, for a look at it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/win32/unique_resource.h"
#include "standins/kx3d/frame_image.h"
#include "standins/kx3d/tools/engine_driver_win32.h"
#include "standins/kx3d/tools/sample_configurations.h"
#include "standins/kx3d/tools/sample_window_win32.h"

namespace {

using namespace kx::kx3d;

bool DrawSample(EngineLibrary& engine, const SampleConfiguration& config, const std::string& model,
                int hold, FrameImage* picture) {
  SampleWindow window(100, 100);
  if (!window) return false;
  ViewerSession session(engine, window.view(), config.Option(), config.LibraryCode());
  bool ok = session.Initialize() && session.OpenModel(model);
  if (ok) {
    window.PumpMessages();
    FrameImage frame(kSampleSize, kSampleSize);
    int32_t width = 0, height = 0;
    ok = engine.ReadFrame(frame.bgr.data(), static_cast<int32_t>(frame.bgr.size()), &width,
                          &height) == 0 &&
         width == kSampleSize && height == kSampleSize;
    if (ok) *picture = std::move(frame);
    if (hold > 0) {
      std::printf("%c on the screen\n", config.letter);
      std::fflush(stdout);
    }
    for (int waited = 0; waited < hold; waited += 50) {
      Sleep(50);
      window.PumpMessages();
    }
  }
  session.Terminate();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: make_sample_pictures <engine dll> <model> <folder> [letters]\n");
    return 2;
  }
  EngineLibrary engine(argv[1]);
  if (!engine.complete()) {
    std::fprintf(stderr, "make_sample_pictures: %s is not the stand-in engine\n", argv[1]);
    return 1;
  }
  const std::string letters = argc > 4 ? argv[4] : "ABCDEFGHIJ";
  const int hold = argc > 5 ? std::atoi(argv[5]) : 0;
  int failures = 0;
  for (const SampleConfiguration& config : kSampleConfigurations) {
    if (letters.find(config.letter) == std::string::npos) continue;
    FrameImage picture;
    const std::string path = std::string(argv[3]) + "\\" + config.BmpFile();
    if (!DrawSample(engine, config, argv[2], hold, &picture)) {
      std::fprintf(stderr, "make_sample_pictures: %c could not be drawn\n", config.letter);
      ++failures;
      continue;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bmp = EncodeBmp(picture);
    out.write(bmp.data(), static_cast<std::streamsize>(bmp.size()));
    if (!out) {
      std::fprintf(stderr, "make_sample_pictures: cannot write %s\n", path.c_str());
      ++failures;
      continue;
    }
    std::printf("%s: option 0x%X, library %d\n", path.c_str(),
                static_cast<unsigned>(config.Option()), static_cast<int>(config.LibraryCode()));
    std::fflush(stdout);
  }
  return failures == 0 ? 0 : 1;
}
