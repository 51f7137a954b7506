#include "fitview/likeness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "standins/kx3d/frame_image.h"

namespace kx {
namespace {

RgbPicture LoadSample(const std::string& name) {
  std::ifstream in(std::string(KX_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  kx3d::FrameImage frame;
  if (!kx3d::DecodeBmp(bytes.str(), &frame)) return {};
  RgbPicture picture(frame.width, frame.height);
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const std::uint8_t* bgr = frame.Pixel(x, y);
      std::uint8_t* rgb = picture.At(x, y);
      rgb[0] = bgr[2], rgb[1] = bgr[1], rgb[2] = bgr[0];
    }
  }
  return picture;
}

const RgbPicture& Sample(char entry) {
  static std::map<char, RgbPicture> loaded;
  auto it = loaded.find(entry);
  if (it == loaded.end()) {
    it = loaded.emplace(entry, LoadSample(std::string("test") + entry + ".bmp")).first;
  }
  return it->second;
}

using Change = std::function<RgbPicture(RgbPicture)>;

RgbPicture Shifted(RgbPicture p) {
  RgbPicture out(p.width, p.height);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* from = p.At(std::max(x - 1, 0), std::max(y - 1, 0));
      std::copy(from, from + 3, out.At(x, y));
    }
  }
  return out;
}

Change Brighter(int levels) {
  return [levels](RgbPicture p) {
    for (std::uint8_t& v : p.rgb) v = static_cast<std::uint8_t>(std::clamp(v + levels, 0, 255));
    return p;
  };
}

RgbPicture SlightlyBlurred(RgbPicture p) {
  RgbPicture out = p;
  for (int y = 1; y + 1 < p.height; ++y) {
    for (int x = 1; x + 1 < p.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx)
            sum += p.At(x + dx, y + dy)[c] * (dx ? 1 : 2) * (dy ? 1 : 2);
        }
        out.At(x, y)[c] = static_cast<std::uint8_t>((sum + 8) / 16);
      }
    }
  }
  return out;
}

RgbPicture Filled(RgbPicture p, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  for (std::size_t i = 0; i < p.rgb.size(); i += 3)
    p.rgb[i] = r, p.rgb[i + 1] = g, p.rgb[i + 2] = b;
  return p;
}

RgbPicture UpsideDown(RgbPicture p) {
  RgbPicture out(p.width, p.height);
  for (int y = 0; y < p.height; ++y)
    std::copy(p.At(0, y), p.At(0, y) + p.width * 3, out.At(0, p.height - 1 - y));
  return out;
}

RgbPicture RedBlueSwapped(RgbPicture p) {
  for (std::size_t i = 0; i < p.rgb.size(); i += 3) std::swap(p.rgb[i], p.rgb[i + 2]);
  return p;
}

RgbPicture Unchanged(RgbPicture p) { return p; }

struct Case {
  const char* name;
  char view;  // the sample picture the view is made from
  Change change;
  char sample;
  LikenessVerdict verdict;
  const char* reason;
};

TEST(Likeness, TellsDriverDifferencesFromWrongPictures) {
  const LikenessVerdict alike = LikenessVerdict::kAlike, unlike = LikenessVerdict::kUnlike;
  const Case cases[] = {
      {"identical", 'A', Unchanged, 'A', alike, "alike"},
      {"shifted by a pixel", 'A', Shifted, 'A', alike, "alike"},
      {"anti-aliased against not", 'A', Unchanged, 'E', alike, "alike"},
      {"not anti-aliased against anti-aliased", 'H', Unchanged, 'D', alike, "alike"},
      {"OpenGL against Direct3D", 'I', Unchanged, 'H', alike, "alike"},
      {"brighter by 8", 'B', Brighter(8), 'B', alike, "alike"},
      {"darker by 8", 'C', Brighter(-8), 'C', alike, "alike"},
      {"slightly blurred", 'E', SlightlyBlurred, 'E', alike, "alike"},
      {"black", 'A', [](RgbPicture p) { return Filled(p, 0, 0, 0); }, 'A', unlike, "black"},
      {"one colour", 'A', [](RgbPicture p) { return Filled(p, 171, 204, 235); }, 'A', unlike,
       "one colour"},
      {"shadows missing", 'D', Unchanged, 'B', unlike, "differs"},
      {"flat shading", 'F', Unchanged, 'E', unlike, "differs"},
      {"upside down", 'A', UpsideDown, 'A', unlike, "differs"},
      {"red and blue swapped", 'A', RedBlueSwapped, 'A', unlike, "differs"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Sample(c.view).Complete() && Sample(c.sample).Complete()) << "data/ samples";
    const Likeness l = MeasureLikeness(c.change(Sample(c.view)), Sample(c.sample));
    EXPECT_EQ(l.verdict, c.verdict) << c.name << ": score " << l.score;
    EXPECT_EQ(l.reason, c.reason) << c.name;
  }
}

TEST(Likeness, WhatCannotBeComparedIsUnlike) {
  const RgbPicture& a = Sample('A');
  EXPECT_EQ(MeasureLikeness(RgbPicture{}, a).reason, "not drawn");
  EXPECT_EQ(MeasureLikeness(a, RgbPicture{}).reason, "no sample");
  const Likeness smaller = MeasureLikeness(RgbPicture(319, 320), a);
  EXPECT_EQ(smaller.verdict, LikenessVerdict::kUnlike);
  EXPECT_EQ(smaller.reason, "sizes differ");
}

TEST(Likeness, LabelCornerIsLeftOut) {
  RgbPicture view = Sample('G');
  for (int y = 0; y < kLikenessLabelHeight; ++y) {
    for (int x = 0; x < kLikenessLabelWidth; ++x) std::fill(view.At(x, y), view.At(x, y) + 3, 60);
  }
  EXPECT_EQ(MeasureLikeness(view, Sample('G')).score, 0.0);
  // One pixel more and it counts.
  std::fill(view.At(kLikenessLabelWidth + 4, 0), view.At(kLikenessLabelWidth + 4, 0) + 3, 0);
  EXPECT_GT(MeasureLikeness(view, Sample('G')).score, 0.0);
}

// The stand-in engine's views of the ten configurations are the sample
// pictures to the bit outside the label corner (captured from the viewer
// under Wine with tests/fitview/fitview_view_capture; the engine's own test
// keeps the samples what it draws), so the samples stand for the views. A view is alike every
// sample with the same shadows and highlights and unlike every other.
TEST(Likeness, TenByTenMatrixOfTheTestPlan) {
  const std::string entries = "ABCDEFGHIJ";
  // Shadows, highlights.
  const std::map<char, std::pair<bool, bool>> features = {
      {'A', {true, true}},   {'B', {true, false}}, {'C', {false, true}}, {'D', {false, false}},
      {'E', {true, true}},   {'F', {true, false}}, {'G', {false, true}}, {'H', {false, false}},
      {'I', {false, false}}, {'J', {false, false}}};
  for (char view : entries) {
    for (char sample : entries) {
      const Likeness l = MeasureLikeness(Sample(view), Sample(sample));
      const LikenessVerdict expected = features.at(view) == features.at(sample)
                                           ? LikenessVerdict::kAlike
                                           : LikenessVerdict::kUnlike;
      EXPECT_EQ(l.verdict, expected)
          << "view " << view << " against sample " << sample << ": score " << l.score;
    }
  }
}

}  // namespace
}  // namespace kx
