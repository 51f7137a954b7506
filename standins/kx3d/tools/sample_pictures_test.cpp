// The committed sample pictures show the differences a user is asked to
// look for: a picture drawn without a feature must not pass for one drawn
// with it. (kx3d_wintest checks that they are what the engine draws.)
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "standins/kx3d/frame_image.h"
#include "standins/kx3d/tools/sample_configurations.h"

namespace kx::kx3d {
namespace {

std::map<char, FrameImage> LoadSamples() {
  std::map<char, FrameImage> samples;
  for (const SampleConfiguration& c : kSampleConfigurations) {
    std::ifstream in(KX_SOURCE_DIR "/data/" + c.BmpFile(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FrameImage image;
    if (DecodeBmp(bytes, &image) && EncodeBmp(image) == bytes) samples[c.letter] = image;
  }
  return samples;
}

double Brightness(const FrameImage& image) {
  double sum = 0;
  for (std::uint8_t v : image.bgr) sum += v;
  return sum / static_cast<double>(image.bgr.size());
}

// The share of pixels that are brighter in `a` than in `b` by more than
// `levels` (summed over the three channels).
double BrighterShare(const FrameImage& a, const FrameImage& b, int levels) {
  long count = 0;
  for (std::size_t i = 0; i < a.bgr.size() && i < b.bgr.size(); i += 3) {
    const int sum_a = a.bgr[i] + a.bgr[i + 1] + a.bgr[i + 2];
    const int sum_b = b.bgr[i] + b.bgr[i + 1] + b.bgr[i + 2];
    if (sum_a - sum_b > levels) ++count;
  }
  return static_cast<double>(count) / (a.width * a.height);
}

// The share of pixels that differ visibly (by more than 15 levels in a
// channel): small rounding differences between two ways of drawing the same
// light do not count.
double Share(const FrameImage& a, const FrameImage& b) {
  const ImageDifference d = CompareImages(a, b, 15);
  return d.same_size ? static_cast<double>(d.differing_pixels) / (a.width * a.height) : 1.0;
}

class SamplePictures : public ::testing::Test {
 protected:
  std::map<char, FrameImage> s_ = LoadSamples();
};

TEST_F(SamplePictures, TenPicturesOf320By320In24Bits) {
  ASSERT_EQ(s_.size(), 10u) << "each file a 24-bit BMP as the generator writes it";
  for (const auto& [letter, image] : s_) {
    EXPECT_EQ(image.width, 320) << letter;
    EXPECT_EQ(image.height, 320) << letter;
  }
}

// Pairs that differ in one feature only. Measured when the pictures were
// made: anti-aliasing changes about 1.2% of the pixels visibly, shadows
// about 3.8%, Phong shading about 7%.
TEST_F(SamplePictures, EachFeatureChangesThePicture) {
  ASSERT_EQ(s_.size(), 10u);
  for (const char* pair : {"AE", "BF", "CG", "DH"}) {  // anti-aliasing
    EXPECT_GT(Share(s_[pair[0]], s_[pair[1]]), 0.008) << pair;
  }
  for (const char* pair : {"AC", "BD", "EG", "FH"}) {  // shadows
    EXPECT_GT(Share(s_[pair[0]], s_[pair[1]]), 0.025) << pair;
  }
  for (const char* pair : {"AC", "EG"}) {  // the same lighting, with and without shadows
    EXPECT_LT(Brightness(s_[pair[0]]), Brightness(s_[pair[1]]) - 1) << pair;
  }
  for (const char* pair : {"AB", "CD", "EF", "GH"}) {  // Phong shading
    EXPECT_GT(Share(s_[pair[0]], s_[pair[1]]), 0.04) << pair;
    // Highlights: the Phong picture is much brighter where they fall, and
    // hardly anywhere darker.
    EXPECT_GT(BrighterShare(s_[pair[0]], s_[pair[1]], 60), 0.03) << pair;
    EXPECT_LT(BrighterShare(s_[pair[1]], s_[pair[0]], 60), 0.005) << pair;
  }
  // OpenGL draws like Direct3D without effects: the two libraries place
  // some edge pixels differently, nothing more.
  EXPECT_LT(Share(s_['H'], s_['I']), 0.02);
  EXPECT_EQ(Share(s_['I'], s_['J']), 0.0);
}

}  // namespace
}  // namespace kx::kx3d
