#include "standins/kx3d/file_attribute.h"

#include <gtest/gtest.h>

#include "standins/kx3d/house_model.h"
#include "standins/kx3d/q3d_model.h"

namespace kx::kx3d {
namespace {

// Reads from `file` as a file of those bytes would.
struct BytesReader {
  const std::string& file;
  std::vector<std::uint64_t> offsets;
  std::optional<std::string> operator()(std::uint64_t offset, std::size_t size) {
    offsets.push_back(offset);
    if (offset > file.size()) return std::string();
    return file.substr(static_cast<std::size_t>(offset), size);
  }
};

std::int32_t Read(const std::string& file, FileAttributes* attributes) {
  BytesReader reader{file, {}};
  return ReadFileAttributes(std::ref(reader), attributes);
}

std::string SmallModel() {
  Model model;
  Part part;
  part.name = "box";
  part.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}};
  part.indices = {0, 1, 2};
  model.parts.push_back(part);
  return *EncodeModel(model);
}

TEST(FileAttribute, ReadsTheSectionBehindTheBody) {
  const std::string model = SmallModel();
  const std::string section = *EncodeAttributeSection({"ソファ 二人掛け", "布張り sofa"});
  const std::string file = model + section;

  FileAttributes read;
  BytesReader reader{file, {}};
  ASSERT_EQ(ReadFileAttributes(std::ref(reader), &read), kAttributesRead);
  EXPECT_EQ(read.name, "ソファ 二人掛け");
  EXPECT_EQ(read.description, "布張り sofa");
  // Only the header and the part behind the body are read.
  EXPECT_EQ(reader.offsets, (std::vector<std::uint64_t>{0, model.size()}));

  // The model itself still reads as it did.
  Model decoded;
  EXPECT_EQ(DecodeModel(file, &decoded), ModelError::kNone);

  // Sections of other kinds before it are stepped over.
  const std::string other = std::string("XTRA") + std::string("\x03\0\0\0", 4) + "abc";
  FileAttributes again;
  EXPECT_EQ(Read(model + other + section, &again), kAttributesRead);
  EXPECT_EQ(again.name, read.name);

  FileAttributes empty;
  ASSERT_EQ(Read(model + *EncodeAttributeSection({"", ""}), &empty), kAttributesRead);
  EXPECT_EQ(empty.name, "");
}

TEST(FileAttribute, RefusesWhatIsNoModelOrHoldsNoAttributes) {
  const std::string model = SmallModel();
  const std::string section = *EncodeAttributeSection({"name", "description"});
  FileAttributes kept{"kept", "kept"};
  struct Case {
    const char* what;
    std::string file;
    std::int32_t result;
  };
  std::string bad_signature = model + section;
  bad_signature[0] = 'X';
  std::string long_text = section;
  long_text[8] = static_cast<char>(0xFF);  // a name length past the section
  const Case cases[] = {
      {"no section", model, kNoAttributes},
      {"cut section", model + section.substr(0, section.size() - 1), kNoAttributes},
      {"text past its section", model + long_text, kNoAttributes},
      {"short file", "KQ3D", static_cast<std::int32_t>(ModelError::kTooShort)},
      {"no model", bad_signature, static_cast<std::int32_t>(ModelError::kNotAModel)},
      {"empty", "", static_cast<std::int32_t>(ModelError::kTooShort)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Read(c.file, &kept), c.result);
    EXPECT_EQ(kept.name, "kept");
  }
  auto unreadable = [](std::uint64_t, std::size_t) { return std::optional<std::string>(); };
  EXPECT_EQ(ReadFileAttributes(unreadable, &kept), kAttributesUnreadable);

  EXPECT_FALSE(EncodeAttributeSection({std::string(kMaxAttributeText + 1, 'x'), ""}));
  EXPECT_TRUE(EncodeAttributeSection({std::string(kMaxAttributeText, 'x'), ""}));
}

}  // namespace
}  // namespace kx::kx3d
