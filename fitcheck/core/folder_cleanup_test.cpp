#include "fitcheck/core/folder_cleanup.h"

#include <gtest/gtest.h>

#include <map>

namespace kx {
namespace {

using Strings = std::vector<std::string>;

class FakeTree final : public FolderTree {
 public:
  std::map<std::string, std::vector<FolderEntry>> folders;
  Strings deleted;
  std::string failing;

  std::vector<FolderEntry> List(const std::string& folder) override { return folders[folder]; }
  bool RemoveFile(const std::string& path) override { return Done("file " + path, path); }
  bool RemoveFolder(const std::string& path) override { return Done("folder " + path, path); }
  bool ClearReadOnly(const std::string& path) override { return Done("writable " + path, path); }

 private:
  bool Done(const std::string& what, const std::string& path) {
    if (path == failing) return false;
    deleted.push_back(what);
    return true;
  }
};

TEST(EmptyFolderTest, DeletesRecursivelySkippingDotNames) {
  FakeTree tree;
  tree.folders["T\\"] = {{"KxEnvCheck.ini"}, {".keep"}, {"sub", true}, {"KxEnvResult.ini"}};
  tree.folders["T\\sub\\"] = {{"a.tmp"}, {"..odd", true}};
  EXPECT_TRUE(EmptyFolder(tree, "T\\"));
  EXPECT_EQ(tree.deleted, (Strings{"file T\\KxEnvCheck.ini", "file T\\sub\\a.tmp", "folder T\\sub",
                                   "file T\\KxEnvResult.ini"}));
}

TEST(EmptyFolderTest, ReadOnlyFilesGoAndSystemFilesStop) {
  FakeTree tree;
  tree.folders["T\\"] = {{"a"}, {"KxEnvCheck.ini", false, true}, {"b"}};
  EXPECT_TRUE(EmptyFolder(tree, "T\\"));
  EXPECT_EQ(tree.deleted, (Strings{"file T\\a", "writable T\\KxEnvCheck.ini",
                                   "file T\\KxEnvCheck.ini", "file T\\b"}));

  FakeTree system;
  system.folders["T\\"] = {{"sub", true}, {"b"}};
  system.folders["T\\sub\\"] = {{"sys", false, true, true}};
  EXPECT_FALSE(EmptyFolder(system, "T\\"));
  EXPECT_TRUE(system.deleted.empty());
}

TEST(EmptyFolderTest, ALinkIsRemovedWithoutEnteringIt) {
  FakeTree tree;
  // A junction to a folder of the user's and a link to one of their files.
  tree.folders["T\\"] = {{"docs", true, false, false, true},
                         {"note.txt", false, false, false, true}};
  tree.folders["T\\docs\\"] = {{"precious.doc"}};
  EXPECT_TRUE(EmptyFolder(tree, "T\\"));
  EXPECT_EQ(tree.deleted, (Strings{"folder T\\docs", "file T\\note.txt"}));
}

TEST(EmptyFolderTest, StopsAtTheFirstFailedDeletion) {
  FakeTree tree;
  tree.folders["T\\"] = {{"a"}, {"b"}, {"c"}};
  tree.failing = "T\\b";
  EXPECT_FALSE(EmptyFolder(tree, "T\\"));
  EXPECT_EQ(tree.deleted, Strings{"file T\\a"});
}

}  // namespace
}  // namespace kx
