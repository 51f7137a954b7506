#include "standins/kx3d/parts_model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "standins/kx3d/file_attribute.h"

namespace kx::kx3d {
namespace {

Model Geometry(std::initializer_list<const char*> names) {
  Model model;
  for (const char* name : names) {
    Part part;
    part.name = name;
    model.parts.push_back(part);
  }
  return model;
}

// A model file: the geometry, then `section`.
std::string File(const Model& geometry, const std::string& section) {
  return *EncodeModel(geometry) + section;
}

ModelError Read(const std::string& file, const Model& geometry, PartsModel* parts) {
  ModelHeader header;
  EXPECT_EQ(DecodeModelHeader(file, &header), ModelError::kNone);
  return PartsModel::Decode(file, kHeaderSize + header.body_size, geometry, parts);
}

PartsModel Sample() {
  PartsModel m;
  m.attributes.push_back({1, "Chair", "Maker A"});
  m.attributes.push_back({0, "Leg", ""});
  m.models.push_back({0, {Shape{}, Shape{}}});
  m.models.push_back({1, {}});
  m.models[0].shapes[1].option = 0x12000034;
  m.models[0].shapes[1].blocks[300] = std::string(24, 'w');
  Placement moved;
  moved.position[0] = 2.5f;
  moved.rotation[2] = 1.0f;
  const std::int32_t chair = m.AddPart(0, 0, moved);
  m.AddPart(chair, 1);
  m.AddPart(0, -1);
  EXPECT_TRUE(m.SetPartsBlock(chair, 321, std::string("\1\0\0\0\x08\0\0\0", 8)));
  m.head_blocks[{0, 340}] = "image";
  StoredView view;
  view.name = "Front";
  view.direction[1] = 1;
  m.views.push_back(view);
  return m;
}

TEST(PartsModel, SectionReadsBackAsWritten) {
  const Model geometry = Geometry({"slab"});
  PartsModel read;
  ASSERT_EQ(Read(File(geometry, Sample().Encode()), geometry, &read), ModelError::kNone);
  ASSERT_EQ(read.parts().size(), 4u);
  EXPECT_EQ(read.ChildCount(0), 2);
  EXPECT_EQ(read.Child(0, 0), 1);
  EXPECT_EQ(read.Child(0, 1), 3);
  EXPECT_EQ(read.Child(1, 0), 2);
  EXPECT_EQ(read.Child(1, 1), -1);
  EXPECT_EQ(read.ModelOf(2), 1);
  EXPECT_EQ(read.ModelOf(3), -1);
  EXPECT_EQ(read.AttributeOf(read.ModelOf(1)), 0);
  EXPECT_EQ(read.Attribute(0)->maker, "Maker A");
  EXPECT_EQ(read.Attribute(1)->flag, 0);
  EXPECT_EQ(read.PartOffset(1)->position[0], 2.5f);
  EXPECT_EQ(read.PartOffset(1)->rotation[2], 1.0f);
  EXPECT_EQ(read.PartOffset(1)->scale[1], 1.0f);
  EXPECT_EQ(*read.PartsBlock(1, 321), std::string("\1\0\0\0\x08\0\0\0", 8));
  EXPECT_EQ(read.PartsBlock(2, 321), nullptr);
  EXPECT_EQ(read.ShapeCount(0), 2);
  EXPECT_EQ(read.FindShape(0, 1)->option, 0x12000034);
  EXPECT_EQ(read.FindShape(0, 1)->blocks.at(300), std::string(24, 'w'));
  EXPECT_EQ(read.FindShape(0, 2), nullptr);
  EXPECT_EQ(*read.HeadBlock(0, 340), "image");
  EXPECT_EQ(read.View(0, 7)->name, "Front");
  EXPECT_EQ(read.View(1, 0)->direction[1], 1.0f);
  EXPECT_EQ(read.View(1, 1), nullptr);
  EXPECT_EQ(read.Encode(), Sample().Encode());

  // A current view of its own: the stored ones stay as they were.
  PartsModel with_current = Sample();
  with_current.current_view = StoredView{};
  with_current.current_view->name = "Walk";
  ASSERT_EQ(Read(File(geometry, with_current.Encode()), geometry, &read), ModelError::kNone);
  EXPECT_EQ(read.View(0, 0)->name, "Walk");
  EXPECT_EQ(read.View(1, 0)->name, "Front");
  EXPECT_EQ(read.Encode(), with_current.Encode());
}

// A model of the catalogue carries its parts and its attribute texts, in
// either order: each reader finds its own section.
TEST(PartsModel, SharesTheFileWithTheAttributeTexts) {
  const Model geometry = Geometry({"slab"});
  const std::string texts = *EncodeAttributeSection({"椅子", "木製"});
  for (const std::string& sections : {Sample().Encode() + texts, texts + Sample().Encode()}) {
    const std::string file = File(geometry, sections);
    PartsModel parts;
    ASSERT_EQ(Read(file, geometry, &parts), ModelError::kNone);
    EXPECT_EQ(parts.parts().size(), 4u);
    FileAttributes attributes;
    const auto read_at = [&](std::uint64_t at, std::size_t size) -> std::optional<std::string> {
      if (at > file.size()) return std::nullopt;
      return file.substr(static_cast<std::size_t>(at), size);
    };
    ASSERT_EQ(ReadFileAttributes(read_at, &attributes), kAttributesRead);
    EXPECT_EQ(attributes.name, "椅子");
  }
}

TEST(PartsModel, WithoutSectionEveryGeometryPartHangsFromTheRoot) {
  const Model geometry = Geometry({"walls", "roof"});
  PartsModel read;
  ASSERT_EQ(Read(File(geometry, ""), geometry, &read), ModelError::kNone);
  EXPECT_EQ(read.ChildCount(0), 2);
  EXPECT_EQ(read.ModelOf(0), -1);
  EXPECT_EQ(read.Attribute(read.AttributeOf(read.ModelOf(read.Child(0, 1))))->text, "roof");
  EXPECT_EQ(read.Attribute(0)->flag, 1);
  EXPECT_EQ(read.ShapeCount(1), 1);

  const PartsModel empty;
  EXPECT_EQ(empty.CheckParts(0), 0);
  EXPECT_EQ(empty.CheckParts(1), -1);
  EXPECT_EQ(empty.ChildCount(0), 0);
}

std::string Record(const char* tag, const std::string& body) {
  std::string size(4, '\0');
  const auto n = static_cast<std::uint32_t>(body.size());
  std::memcpy(size.data(), &n, 4);
  return std::string(tag, 4) + size + body;
}

std::string I32(std::int32_t v) {
  std::string out(4, '\0');
  std::memcpy(out.data(), &v, 4);
  return out;
}

std::string Section(const std::string& records, std::int32_t version = 1, std::int32_t size = -1) {
  return std::string("KQPT", 4) +
         I32(size < 0 ? static_cast<std::int32_t>(4 + records.size()) : size) + I32(version) +
         records;
}

std::string PartRecord(std::int32_t parent, std::int32_t model) {
  std::string body = I32(parent) + I32(model);
  for (float f : {0.f, 0.f, 0.f, 0.f, 0.f, 0.f, 1.f, 1.f, 1.f}) {
    std::string bits(4, '\0');
    std::memcpy(bits.data(), &f, 4);
    body += bits;
  }
  return Record("PART", body);
}

TEST(PartsModel, RefusesSectionsThatDoNotHoldTogether) {
  const Model geometry = Geometry({"a"});
  const std::string root = PartRecord(-1, -1);
  struct Case {
    const char* what;
    std::string section;
    ModelError error;
  } cases[] = {
      {"not a section", "junk that is not a section", ModelError::kMalformed},
      {"another version", Section(root, 2), ModelError::kVersion},
      {"size beyond the file", Section(root, 1, 500), ModelError::kMalformed},
      {"a record past the end", Section(root + "PART" + I32(100)), ModelError::kMalformed},
      {"a root with a parent", Section(PartRecord(0, -1)), ModelError::kMalformed},
      {"a parent after its child", Section(root + PartRecord(2, -1) + PartRecord(0, -1)),
       ModelError::kMalformed},
      {"a model that is not there", Section(root + PartRecord(0, 3)), ModelError::kMalformed},
      {"an attribute that is not there", Section(Record("MODL", I32(0)) + root),
       ModelError::kMalformed},
      {"a block of a part that is not there", Section(root + Record("PBLK", I32(4) + I32(321))),
       ModelError::kMalformed},
      {"a record with bytes left over", Section(root + Record("MODL", I32(-1) + "x")),
       ModelError::kMalformed},
      {"a text longer than its record", Section(root + Record("ATTR", I32(1) + I32(50) + "ab")),
       ModelError::kMalformed},
      {"a record of another tag is skipped", Section(root + Record("XTRA", "anything")),
       ModelError::kNone},
      {"a section of another kind before it is stepped over",
       Record("KATR", I32(0) + I32(0)) + Section(root), ModelError::kNone},
      {"a section of another kind that runs past the file", Record("KATR", "ab").substr(0, 9),
       ModelError::kMalformed},
  };
  for (const Case& c : cases) {
    PartsModel parts;
    parts.attributes.push_back({7, "kept", ""});
    EXPECT_EQ(Read(File(geometry, c.section), geometry, &parts), c.error) << c.what;
    if (c.error != ModelError::kNone) {
      EXPECT_EQ(parts.attributes.size(), 1u) << c.what;
    }
  }
}

TEST(PartsModel, PartsBlocksAreSetReplacedAndDeleted) {
  PartsModel m = Sample();
  EXPECT_TRUE(m.SetPartsBlock(2, 322, std::string(232, 'r')));
  EXPECT_TRUE(m.SetPartsBlock(2, 322, "short"));
  EXPECT_EQ(*m.PartsBlock(2, 322), "short");
  EXPECT_FALSE(m.SetPartsBlock(9, 322, "x"));
  EXPECT_TRUE(m.DeletePartsBlock(2, 322));
  EXPECT_FALSE(m.DeletePartsBlock(2, 322));
  EXPECT_EQ(m.PartsBlock(2, 322), nullptr);
}

}  // namespace
}  // namespace kx::kx3d
