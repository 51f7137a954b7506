#include "standins/kx3d/q3d_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace kx::kx3d {
namespace {

Model TwoParts() {
  Model m;
  Part a;
  a.name = "walls";
  a.material.diffuse[0] = 10;
  a.material.diffuse[1] = 20;
  a.material.diffuse[2] = 30;
  a.material.specular = 200;
  a.material.shininess = 40;
  a.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0.5f}, {0, 0, 1}}};
  a.indices = {0, 1, 2};
  Part b;
  b.name = "ground";
  b.material.casts_shadow = false;
  b.vertices = {{{-1, -1, 0}, {0, 0, 1}},
                {{1, -1, 0}, {0, 0, 1}},
                {{1, 1, 0}, {0, 0, 1}},
                {{-1, 1, 0}, {0, 0, 1}}};
  b.indices = {0, 1, 2, 0, 2, 3};
  m.parts = {a, b};
  return m;
}

// Writes a little-endian 32-bit value into a file image and fixes the body
// checksum, so that a test reaches the check behind it.
void Patch32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}
void FixChecksum(std::string& bytes) {
  Patch32(bytes, 24, Crc32(bytes.data() + kHeaderSize, bytes.size() - kHeaderSize));
}

TEST(Q3dModel, RoundTripKeepsEveryField) {
  const Model original = TwoParts();
  const std::optional<std::string> bytes = EncodeModel(original);
  ASSERT_TRUE(bytes);
  Model read;
  ASSERT_EQ(DecodeModel(*bytes, &read), ModelError::kNone);
  ASSERT_EQ(read.parts.size(), 2u);
  for (std::size_t p = 0; p < 2; ++p) {
    const Part& a = original.parts[p];
    const Part& b = read.parts[p];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(0, std::memcmp(a.material.diffuse, b.material.diffuse, 3));
    EXPECT_EQ(a.material.specular, b.material.specular);
    EXPECT_EQ(a.material.shininess, b.material.shininess);
    EXPECT_EQ(a.material.casts_shadow, b.material.casts_shadow);
    EXPECT_EQ(a.indices, b.indices);
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    EXPECT_EQ(
        0, std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(Vertex)));
  }
}

TEST(Q3dModel, HeaderNeedsOnlyTheFirstBytes) {
  const std::string bytes = *EncodeModel(TwoParts());
  ModelHeader header;
  ASSERT_EQ(DecodeModelHeader(bytes.substr(0, kHeaderSize), &header), ModelError::kNone);
  EXPECT_EQ(header.version, 1u);
  EXPECT_EQ(header.part_count, 2u);
  EXPECT_EQ(header.triangle_count, 3u);
  EXPECT_EQ(header.vertex_count, 7u);
  EXPECT_EQ(header.body_size, bytes.size() - kHeaderSize);
  Model model;
  EXPECT_EQ(DecodeModel(bytes.substr(0, kHeaderSize), &model), ModelError::kTruncated);
  EXPECT_EQ(DecodeModel(bytes.substr(0, bytes.size() - 1), &model), ModelError::kTruncated);
}

TEST(Q3dModel, RefusesFilesThatAreNoModels) {
  ModelHeader header;
  EXPECT_EQ(DecodeModelHeader("", &header), ModelError::kTooShort);
  EXPECT_EQ(DecodeModelHeader("KQ3D", &header), ModelError::kTooShort);
  EXPECT_EQ(DecodeModelHeader(std::string(64, 'x'), &header), ModelError::kNotAModel);
  EXPECT_EQ(DecodeModelHeader("BM" + std::string(62, '\0'), &header), ModelError::kNotAModel);

  std::string bytes = *EncodeModel(TwoParts());
  std::string other_version = bytes;
  Patch32(other_version, 4, 2);
  EXPECT_EQ(DecodeModelHeader(other_version, &header), ModelError::kVersion);
  std::string too_many = bytes;
  Patch32(too_many, 8, kMaxParts + 1);
  EXPECT_EQ(DecodeModelHeader(too_many, &header), ModelError::kLimits);
  std::string wrong_size = bytes;
  Patch32(wrong_size, 20, static_cast<std::uint32_t>(bytes.size()));
  EXPECT_EQ(DecodeModelHeader(wrong_size, &header), ModelError::kMalformed);
}

TEST(Q3dModel, DamagedBodiesAreRefusedAndLeaveTheModelAlone) {
  const std::string bytes = *EncodeModel(TwoParts());
  Model untouched = TwoParts();
  untouched.parts.resize(1);

  std::string flipped = bytes;
  flipped[kHeaderSize + 40] ^= 0x01;
  EXPECT_EQ(DecodeModel(flipped, &untouched), ModelError::kChecksum);

  // The last index of the first part (three vertices) made 7: out of range.
  std::string bad_index = bytes;
  const std::size_t first_indices = kHeaderSize + kPartNameSize + 16 + 3 * 24;
  bad_index[first_indices + 4] = 7;
  FixChecksum(bad_index);
  EXPECT_EQ(DecodeModel(bad_index, &untouched), ModelError::kMalformed);

  std::string not_a_number = bytes;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::uint32_t bits;
  std::memcpy(&bits, &nan, 4);
  Patch32(not_a_number, kHeaderSize + kPartNameSize + 16, bits);
  FixChecksum(not_a_number);
  EXPECT_EQ(DecodeModel(not_a_number, &untouched), ModelError::kMalformed);

  // The first part claiming all seven vertices: the parts no longer add up.
  std::string shifted = bytes;
  Patch32(shifted, kHeaderSize + kPartNameSize + 8, 7);
  FixChecksum(shifted);
  EXPECT_EQ(DecodeModel(shifted, &untouched), ModelError::kMalformed);

  EXPECT_EQ(untouched.parts.size(), 1u);
  EXPECT_EQ(untouched.parts[0].name, "walls");
}

TEST(Q3dModel, EncodingRefusesWhatTheFormatCannotHold) {
  Model long_name = TwoParts();
  long_name.parts[0].name = std::string(kPartNameSize, 'n');
  EXPECT_FALSE(EncodeModel(long_name));
  Model bad_index = TwoParts();
  bad_index.parts[0].indices[2] = 3;
  EXPECT_FALSE(EncodeModel(bad_index));
  Model ragged = TwoParts();
  ragged.parts[1].indices.pop_back();
  EXPECT_FALSE(EncodeModel(ragged));
  Model huge;
  huge.parts.resize(1);
  huge.parts[0].vertices.resize(kMaxPartVertices + 1);
  EXPECT_FALSE(EncodeModel(huge));
  // The longest name that fits still reads back whole.
  Model longest = TwoParts();
  longest.parts[0].name = std::string(kPartNameSize - 1, 'n');
  Model read;
  ASSERT_EQ(DecodeModel(*EncodeModel(longest), &read), ModelError::kNone);
  EXPECT_EQ(read.parts[0].name, longest.parts[0].name);
}

TEST(Q3dModel, EmptyModelIsAValidFile) {
  Model read = TwoParts();
  ASSERT_EQ(DecodeModel(*EncodeModel(Model{}), &read), ModelError::kNone);
  EXPECT_TRUE(read.parts.empty());
}

TEST(Q3dModel, Crc32MatchesTheStandardCheckValue) {
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
}

}  // namespace
}  // namespace kx::kx3d
