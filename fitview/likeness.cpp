#include "fitview/likeness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace kx {
namespace {

// The label corner, grown by the reach of the blur and of the neighbourhood
// (one pixel each), so that no label pixel enters the comparison.
constexpr int kSkipWidth = kLikenessLabelWidth + 2;
constexpr int kSkipHeight = kLikenessLabelHeight + 2;

// A view whose every channel stays within this range is of one colour; at
// most kBlackLevel in every channel it is black.
constexpr int kOneColourRange = 6;
constexpr int kBlackLevel = 24;
// A channel mean this far from the sample's is a wrong colour, not a driver's
// shade of the right one.
constexpr double kMeanFarOff = 40.0;
// What the fit of gain and offset may take out: a driver's gamma or
// brightness, not a different picture.
constexpr double kGainMin = 0.9, kGainMax = 1.1;
constexpr double kOffsetMax = 16.0;
// Channel differences up to this many levels are rounding, not difference.
constexpr int kIgnoredLevels = 3;

bool Skipped(int x, int y) { return x < kSkipWidth && y < kSkipHeight; }

struct ChannelStats {
  double mean_view[3] = {}, mean_sample[3] = {};
  int min_view[3] = {255, 255, 255}, max_view[3] = {0, 0, 0};
  double gain[3] = {1, 1, 1}, offset[3] = {};
};

ChannelStats Measure(const RgbPicture& view, const RgbPicture& sample) {
  ChannelStats s;
  double sv[3] = {}, ss[3] = {}, sss[3] = {}, ssv[3] = {};
  double n = 0;
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) {
      if (Skipped(x, y)) continue;
      const std::uint8_t* v = view.At(x, y);
      const std::uint8_t* p = sample.At(x, y);
      for (int c = 0; c < 3; ++c) {
        s.min_view[c] = std::min<int>(s.min_view[c], v[c]);
        s.max_view[c] = std::max<int>(s.max_view[c], v[c]);
        sv[c] += v[c];
        ss[c] += p[c];
        sss[c] += double(p[c]) * p[c];
        ssv[c] += double(p[c]) * v[c];
      }
      n += 1;
    }
  }
  if (n == 0) return s;
  for (int c = 0; c < 3; ++c) {
    s.mean_view[c] = sv[c] / n;
    s.mean_sample[c] = ss[c] / n;
    // Least squares of view = gain * sample + offset, held to small changes.
    const double var = sss[c] / n - s.mean_sample[c] * s.mean_sample[c];
    const double cov = ssv[c] / n - s.mean_sample[c] * s.mean_view[c];
    double gain = var > 1e-9 ? cov / var : 1.0;
    gain = std::clamp(gain, kGainMin, kGainMax);
    const double offset =
        std::clamp(s.mean_view[c] - gain * s.mean_sample[c], -kOffsetMax, kOffsetMax);
    s.gain[c] = gain;
    s.offset[c] = offset;
  }
  return s;
}

// A light blur (1 2 1 in both directions), with the `map` of each channel
// applied first; the edge pixels repeat outward.
RgbPicture Blurred(const RgbPicture& in, const std::array<std::array<std::uint8_t, 256>, 3>& map) {
  const int w = in.width, h = in.height;
  std::vector<std::uint16_t> rows(static_cast<std::size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* l = in.At(std::max(x - 1, 0), y);
      const std::uint8_t* m = in.At(x, y);
      const std::uint8_t* r = in.At(std::min(x + 1, w - 1), y);
      std::uint16_t* out = &rows[(static_cast<std::size_t>(y) * w + x) * 3];
      for (int c = 0; c < 3; ++c) out[c] = map[c][l[c]] + 2 * map[c][m[c]] + map[c][r[c]];
    }
  }
  RgbPicture result(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint16_t* u = &rows[static_cast<std::size_t>(std::max(y - 1, 0)) * w * 3];
    const std::uint16_t* m = &rows[static_cast<std::size_t>(y) * w * 3];
    const std::uint16_t* d = &rows[static_cast<std::size_t>(std::min(y + 1, h - 1)) * w * 3];
    std::uint8_t* out = result.At(0, y);
    for (int i = 0; i < w * 3; ++i)
      out[i] = static_cast<std::uint8_t>((u[i] + 2 * m[i] + d[i] + 8) / 16);
  }
  return result;
}

// Squared colour distance, each channel's difference less the ignored levels.
inline int Distance2(const std::uint8_t* a, const std::uint8_t* b) {
  int sum = 0;
  for (int c = 0; c < 3; ++c) {
    const int d = std::max(std::abs(int(a[c]) - int(b[c])) - kIgnoredLevels, 0);
    sum += d * d;
  }
  return sum;
}

// Sum over the pixels of `a` of the fourth power of the smallest distance to
// the 3 x 3 neighbourhood of the same place in `b`.
double FourthPowerSum(const RgbPicture& a, const RgbPicture& b) {
  double sum = 0;
  for (int y = 0; y < a.height; ++y) {
    const int y0 = std::max(y - 1, 0), y1 = std::min(y + 1, a.height - 1);
    for (int x = 0; x < a.width; ++x) {
      if (Skipped(x, y)) continue;
      const int x0 = std::max(x - 1, 0), x1 = std::min(x + 1, a.width - 1);
      const std::uint8_t* p = a.At(x, y);
      int best = Distance2(p, b.At(x, y));
      for (int ny = y0; ny <= y1 && best > 0; ++ny) {
        for (int nx = x0; nx <= x1; ++nx) best = std::min(best, Distance2(p, b.At(nx, ny)));
      }
      sum += double(best) * best;
    }
  }
  return sum;
}

Likeness Unlike(std::string reason) {
  return Likeness{1.0, LikenessVerdict::kUnlike, std::move(reason)};
}

}  // namespace

LikenessVerdict LikenessVerdictOf(double score) {
  if (score <= kLikenessAlikeAtMost) return LikenessVerdict::kAlike;
  if (score >= kLikenessUnlikeFrom) return LikenessVerdict::kUnlike;
  return LikenessVerdict::kUnsure;
}

Likeness MeasureLikeness(const RgbPicture& view, const RgbPicture& sample) {
  if (!view.Complete()) return Unlike("not drawn");
  if (!sample.Complete()) return Unlike("no sample");
  if (view.width != sample.width || view.height != sample.height) return Unlike("sizes differ");

  const ChannelStats stats = Measure(view, sample);
  bool one_colour = true, black = true;
  for (int c = 0; c < 3; ++c) {
    one_colour = one_colour && stats.max_view[c] - stats.min_view[c] <= kOneColourRange;
    black = black && stats.max_view[c] <= kBlackLevel;
  }
  if (black) return Unlike("black");
  if (one_colour) return Unlike("one colour");
  static const char* const kChannel[] = {"red", "green", "blue"};
  for (int c = 0; c < 3; ++c) {
    if (std::abs(stats.mean_view[c] - stats.mean_sample[c]) > kMeanFarOff) {
      return Unlike(std::string(kChannel[c]) + " mean far off");
    }
  }

  std::array<std::array<std::uint8_t, 256>, 3> identity{}, fitted{};
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 256; ++i) {
      identity[c][i] = static_cast<std::uint8_t>(i);
      const double v = std::round(stats.gain[c] * i + stats.offset[c]);
      fitted[c][i] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
  }
  const RgbPicture a = Blurred(view, identity);
  const RgbPicture b = Blurred(sample, fitted);

  double counted = 0;
  for (int y = 0; y < view.height; ++y) {
    for (int x = 0; x < view.width; ++x) counted += Skipped(x, y) ? 0 : 1;
  }
  if (counted == 0) return Unlike("nothing to compare");
  // The largest squared distance, so that one pixel counts at most 1.
  constexpr double kFull = 3.0 * 252 * 252;
  const double score =
      (FourthPowerSum(a, b) + FourthPowerSum(b, a)) / (2.0 * counted * kFull * kFull);
  const LikenessVerdict verdict = LikenessVerdictOf(score);
  return Likeness{score, verdict,
                  verdict == LikenessVerdict::kAlike    ? "alike"
                  : verdict == LikenessVerdict::kUnsure ? "between the thresholds"
                                                        : "differs"};
}

}  // namespace kx
