// The likeness measure of one 320 x 320 pair, the viewer's view against its
// sample (not run by ctest):
//   build/native/testbin/likeness_benchmark
#include <benchmark/benchmark.h>

#include <cstdint>

#include "fitview/likeness.h"

namespace {

// A picture with edges, shades and flat areas, like a rendered house on a
// lawn under a sky; `shift` moves it and `light` brightens it.
kx::RgbPicture Scene(int shift, int light) {
  kx::RgbPicture p(320, 320);
  for (int y = 0; y < 320; ++y) {
    for (int x = 0; x < 320; ++x) {
      std::uint8_t* px = p.At(x, y);
      const int sx = x + shift;
      if (y < 140) {
        px[0] = 171, px[1] = 204, px[2] = 235;
      } else if (sx > 80 && sx < 240 && y < 260) {
        px[0] = static_cast<std::uint8_t>(200 - (y - 140) / 4 + light);
        px[1] = static_cast<std::uint8_t>(190 - (sx % 40 < 20 ? 30 : 0));
        px[2] = 170;
      } else {
        px[0] = 70, px[1] = static_cast<std::uint8_t>(120 + (sx * y) % 17), px[2] = 60;
      }
    }
  }
  return p;
}

void BM_MeasureLikeness(benchmark::State& state) {
  const kx::RgbPicture view = Scene(1, 4);
  const kx::RgbPicture sample = Scene(0, 0);
  for (auto _ : state) benchmark::DoNotOptimize(kx::MeasureLikeness(view, sample));
}
BENCHMARK(BM_MeasureLikeness)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
