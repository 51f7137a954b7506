// How much the 3D view looks like the sample picture, measured the way GPU
// conformance suites compare a rendering with its reference: cheap checks
// first (a view of one colour, a channel whose mean is far off), then a
// fuzzy comparison that tolerates what differs between drivers without the
// picture being wrong: anti-aliased edges, a pixel of offset, small colour
// shifts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

// Rows from the top, three bytes a pixel: red, green, blue.
struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  RgbPicture() = default;
  RgbPicture(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* At(int x, int y) { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* At(int x, int y) const {
    return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
  }
  bool Complete() const {
    return width > 0 && height > 0 && rgb.size() == static_cast<std::size_t>(width) * height * 3;
  }
};

// As written into the result file (0, 1, 2).
enum class LikenessVerdict : int { kAlike = 0, kUnsure = 1, kUnlike = 2 };

struct Likeness {
  // 0 for pictures alike to the pixel; grows with what differs, at most 1.
  // The cheap checks that reject a view outright give 1.
  double score = 1.0;
  LikenessVerdict verdict = LikenessVerdict::kUnlike;
  std::string reason;  // ASCII, for the log
};

// Both pictures carry a label (51 x 15) at their top left that is not part
// of the picture; that corner is left out.
inline constexpr int kLikenessLabelWidth = 51;
inline constexpr int kLikenessLabelHeight = 15;

// Thresholds of the score, set from measurement: the stand-in engine's
// views of the ten configurations (captured from the viewer's view under
// Wine; outside the label corner the same to the bit as the sample pictures)
// against the ten samples, and perturbed views. Scores (view down, sample
// across):
//
//        A       B       C       D       E       F       G       H       I       J
//   A    0       2.8e-4  4.8e-5  3.7e-4  2.9e-8  2.8e-4  4.7e-5  3.7e-4  3.7e-4  3.7e-4
//   B    3.3e-4  0       3.9e-4  4.5e-5  3.2e-4  3.0e-8  3.9e-4  4.5e-5  5.0e-5  5.0e-5
//   C    3.3e-5  3.5e-4  0       3.0e-4  3.2e-5  3.5e-4  2.9e-8  3.0e-4  2.9e-4  2.9e-4
//   D    4.0e-4  3.1e-5  3.5e-4  0       4.1e-4  3.0e-5  3.4e-4  3.0e-8  5.7e-8  5.7e-8
//   E    3.0e-8  2.8e-4  5.0e-5  3.7e-4  0       2.8e-4  4.8e-5  3.7e-4  3.7e-4  3.7e-4
//   F    3.3e-4  3.1e-8  3.9e-4  4.4e-5  3.3e-4  0       3.9e-4  4.6e-5  5.0e-5  5.0e-5
//   G    3.3e-5  3.5e-4  3.2e-8  3.0e-4  3.3e-5  3.5e-4  0       3.0e-4  2.9e-4  2.9e-4
//   H    4.0e-4  3.1e-5  3.5e-4  3.2e-8  4.1e-4  3.1e-5  3.5e-4  0       1.7e-8  1.7e-8
//   I    4.0e-4  3.4e-5  3.3e-4  6.3e-8  4.1e-4  3.3e-5  3.2e-4  1.5e-8  0       0
//   J    4.0e-4  3.4e-5  3.3e-4  6.3e-8  4.1e-4  3.3e-5  3.2e-4  1.5e-8  0       0
//
// A view against a sample with the same shadows and highlights (differing at
// most by anti-aliasing or by the OpenGL and Direct3D rasterisers) scores at
// most 6.3e-8; against one with other shadows or highlights at least 3.0e-5.
// Perturbations of each view against its own sample: shifted by 1 px at most
// 4.2e-10, 8 levels brighter or darker 0, slightly blurred at most 5.9e-9.
//
// Alike: at most 5e-7, 8 times the worst good score.
// Unlike: from 1e-5, 3 times below the best bad score.
// Between the two: unsure.
inline constexpr double kLikenessAlikeAtMost = 5e-7;
inline constexpr double kLikenessUnlikeFrom = 1e-5;

// The verdict for `view` against `sample`. Pictures of different sizes,
// or either of them empty, are unlike.
Likeness MeasureLikeness(const RgbPicture& view, const RgbPicture& sample);

// Verdict of a score alone.
LikenessVerdict LikenessVerdictOf(double score);

}  // namespace kx
