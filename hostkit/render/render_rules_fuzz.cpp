// The size arithmetic, number boxes, paths and the folder walk with any
// input: sides always within 8 … the maximum, no overflow (UBSan), number
// texts that read back as themselves, folder levels that are prefixes of
// the path ending on a character boundary.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "hostkit/render/image_size.h"
#include "hostkit/render/multi_view_rules.h"
#include "hostkit/render/points_service.h"
#include "hostkit/render/render_fakes.h"

using namespace kx::hostkit;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckSides(PixelSize size, int max_side) {
  Check(size.width >= kMinSide && size.width <= max_side);
  Check(size.height >= kMinSide && size.height <= max_side);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int max_side = in.ConsumeBool() ? kServiceMaxSide : kLocalMaxSide;

  PaperLayout layout;
  layout.paper_index = in.ConsumeIntegral<int>();
  layout.portrait = in.ConsumeBool();
  layout.left = in.ConsumeIntegral<int>();
  layout.right = in.ConsumeIntegral<int>();
  layout.top = in.ConsumeIntegral<int>();
  layout.bottom = in.ConsumeIntegral<int>();
  layout.dpi = in.ConsumeIntegral<int>();
  CheckSides(LimitImageSize(RawPaperPixels(layout), max_side), max_side);

  const PixelSize perspective{in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
  const PixelSize typed{in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>()};
  const int preset = in.ConsumeIntegralInRange(-1, kPresetCount);
  CheckSides(ClampSides(PresetSize(preset, perspective, typed, max_side), max_side), max_side);
  CheckSides(LimitImageSize(typed, max_side), max_side);
  (void)SameRatioSide(typed.width, perspective.width, perspective.height, typed.height);
  (void)ScrollTo(in.ConsumeIntegral<int>(),
                 static_cast<ScrollCode>(in.ConsumeIntegralInRange(0, 5)),
                 in.ConsumeIntegral<int>(), in.ConsumeIntegralInRange(0, 100000));
  Check(PixelCount(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>(),
                   in.ConsumeIntegral<int>()) >= 0);

  const std::string text = in.ConsumeRandomLengthString(40);
  if (const auto number = ParseInteger(text)) {
    Check(ParseInteger(std::to_string(*number)) == number);
  }
  const auto buffer = LoginBuffer(text);
  Check(buffer.back() == '\0');

  const std::string path = in.ConsumeRemainingBytesAsString();
  test::FakeFolders folders;
  (void)CreateFolderPath(folders, path);
  const std::string full = WithoutTrailingBackslash(path);
  for (const std::string& level : folders.created) {
    Check(full.compare(0, level.size(), level) == 0);
    Check(level.size() == full.size() || full[level.size()] == '\\');
  }
  return 0;
}
