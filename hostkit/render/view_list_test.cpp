#include "hostkit/render/view_list.h"

#include <gtest/gtest.h>

#include "tests/fakes/memory_file_system.h"

namespace kx::hostkit {
namespace {

const std::string kFile = "C:\\host\\views.ini";

kx::test::MemoryProfileStore ThreeViews() {
  kx::test::MemoryProfileStore store;
  store.Set(kFile, "RenderView", "number", "3");
  store.Set(kFile, "RenderView", "savePath", "D:\\pictures");
  store.Set(kFile, "View0", "index", "7");
  store.Set(kFile, "View0", "viewname", "現在の視点");
  store.Set(kFile, "View0", "filename", "1現在の視点");
  store.Set(kFile, "View0", "renderOn", "1");
  store.Set(kFile, "View0", "roofOn", "1");
  store.Set(kFile, "View1", "index", "9");
  store.Set(kFile, "View1", "viewname", "_no_data_");
  store.Set(kFile, "View1", "renderOn", "1");
  store.Set(kFile, "View2", "index", "11");
  store.Set(kFile, "View2", "viewname", "玄関");
  store.Set(kFile, "View2", "renderOn", "2");
  return store;
}

TEST(ViewList, SettingsDialogViews) {
  kx::test::MemoryProfileStore store = ThreeViews();
  const auto views = ReadRenderViews(store, kFile);
  ASSERT_EQ(views.size(), 3u);
  EXPECT_EQ(views[0].index, 7);
  EXPECT_EQ(views[0].name, "現在の視点");
  EXPECT_EQ(views[1].index, 9);
  EXPECT_EQ(views[1].name, "");
  EXPECT_EQ(views[2].name, "玄関");
  EXPECT_TRUE(ReadRenderViews(store, "").empty());
  EXPECT_TRUE(ReadRenderViews(store, "C:\\missing.ini").empty());
}

TEST(ViewList, ANumberOutOfRangeReadsBoundedly) {
  kx::test::MemoryProfileStore store;
  store.Set(kFile, "RenderView", "number", "-4");
  EXPECT_TRUE(ReadRenderViews(store, kFile).empty());
  store.Set(kFile, "RenderView", "number", "2147483647");
  EXPECT_EQ(ReadRenderViews(store, kFile).size(), static_cast<std::size_t>(kMaxViews));
}

TEST(ViewList, SettingsDialogChoice) {
  kx::test::MemoryProfileStore store = ThreeViews();
  WriteRenderChoice(store, kFile, 3, 2, true, "1");
  const std::vector<std::string> order = {"View0/renderOn", "View0/roofOn",   "View1/renderOn",
                                          "View1/roofOn",   "View2/renderOn", "View2/roofOn",
                                          "RenderView/mode"};
  EXPECT_EQ(store.write_order, order);
  EXPECT_EQ(*store.Find(kFile, "View0", "renderOn"), "0");
  EXPECT_EQ(*store.Find(kFile, "View2", "renderOn"), "1");
  EXPECT_EQ(*store.Find(kFile, "View1", "roofOn"), "0");
  EXPECT_EQ(*store.Find(kFile, "RenderView", "mode"), "1");
  WriteRenderChoice(store, kFile, 3, 0, false, "0");
  EXPECT_EQ(*store.Find(kFile, "View1", "roofOn"), "1");
  store.write_order.clear();
  WriteRenderChoice(store, "", 3, 0, false, "0");
  EXPECT_TRUE(store.write_order.empty());
}

TEST(ViewList, MultiViewEntries) {
  kx::test::MemoryProfileStore store = ThreeViews();
  const MultiViewList list = ReadMultiViewList(store, kFile);
  EXPECT_EQ(list.save_path, "D:\\pictures");
  ASSERT_EQ(list.entries.size(), 3u);
  const MultiViewEntry& first = list.entries[0];
  EXPECT_EQ(first.index, 7);
  EXPECT_EQ(first.file_name, "1現在の視点");
  EXPECT_TRUE(first.render);
  EXPECT_TRUE(first.roof);
  // No view name: everything stays empty or off, whatever the section holds.
  const MultiViewEntry& second = list.entries[1];
  EXPECT_EQ(second.index, 0);
  EXPECT_FALSE(second.render);
  EXPECT_EQ(second.view_name, "");
  // Flags are on only for 1; a missing file name is empty.
  EXPECT_FALSE(list.entries[2].render);
  EXPECT_EQ(list.entries[2].file_name, "");
  EXPECT_TRUE(ReadMultiViewList(store, "").entries.empty());
}

TEST(ViewList, MultiViewChoice) {
  kx::test::MemoryProfileStore store = ThreeViews();
  std::vector<MultiViewEntry> entries(2);
  entries[0].render = true;
  entries[1].roof = true;
  WriteMultiViewChoice(store, kFile, "E:\\out", entries, "jpg");
  const std::vector<std::string> order = {
      "RenderView/savePath", "View0/renderOn",  "View0/roofOn",   "View1/renderOn",
      "View1/roofOn",        "RenderView/mode", "RenderView/type"};
  EXPECT_EQ(store.write_order, order);
  EXPECT_EQ(*store.Find(kFile, "RenderView", "savePath"), "E:\\out");
  EXPECT_EQ(*store.Find(kFile, "View0", "roofOn"), "0");
  EXPECT_EQ(*store.Find(kFile, "View1", "roofOn"), "1");
  EXPECT_EQ(*store.Find(kFile, "RenderView", "mode"), "2");
  EXPECT_EQ(*store.Find(kFile, "RenderView", "type"), "1");
}

TEST(ViewList, FileTypeValue) {
  EXPECT_EQ(FileTypeValue("bmp"), "0");
  EXPECT_EQ(FileTypeValue("BMP"), "0");
  EXPECT_EQ(FileTypeValue("Bmp"), "0");
  EXPECT_EQ(FileTypeValue("jpg"), "1");
  EXPECT_EQ(FileTypeValue("bmpx"), "1");
}

}  // namespace
}  // namespace kx::hostkit
