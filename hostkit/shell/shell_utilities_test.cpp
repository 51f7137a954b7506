#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "hostkit/shell/data_folder.h"
#include "hostkit/shell/shell_command.h"
#include "hostkit/shell/style_file.h"

namespace kx::hostkit {
namespace {

class FakeClassKeys final : public ClassKeys {
 public:
  std::map<std::string, std::string> values;
  std::vector<std::string> asked;
  std::optional<std::string> DefaultValue(const std::string& key) override {
    asked.push_back(key);
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

class RecordingStarter final : public CommandStarter {
 public:
  std::vector<std::string> started;
  std::int32_t result = 33;
  std::int32_t Start(const std::string& command_line) override {
    started.push_back(command_line);
    return result;
  }
};

struct Placement {
  const char* command;
  const char* document;
  const char* expected;
};

TEST(ShellOpenCommand, PlacesTheDocumentAsTheCommandAsks) {
  const Placement cases[] = {
      {"\"C:\\Viewer\\view.exe\" \"%1\"", "C:\\m\\a.q3d",
       "\"C:\\Viewer\\view.exe\" \"C:\\m\\a.q3d\""},
      // Options behind the quoted placeholder are dropped.
      {"view.exe \"%1\" /dde /x", "a b.q3d", "view.exe \"a b.q3d\""},
      {"view.exe %1 /p", "a.q3d", "view.exe a.q3d"},
      // No placeholder: glued to the last character.
      {"view.exe", "a.q3d", "view.exea.q3d"},
      {"view.exe /open ", "a.q3d", "view.exe /open a.q3d"},
      // "-nohome" goes with everything behind it, the placeholder too.
      {"browser.exe -nohome \"%1\"", "a.htm", "browser.exe a.htm"},
      {"browser.exe \"%1\" -nohome", "a.htm", "browser.exe \"a.htm\""},
      // Only the first placeholder counts.
      {"x.exe %1 %1", "d", "x.exe d"},
      // A lone quote before %1 without the closing one is a bare placeholder.
      {"x.exe \"%1", "d", "x.exe \"d"},
      {"", "d.txt", "d.txt"},
      // Shift-JIS document names with a 0x5C trail byte pass unchanged.
      {"x.exe \"%1\"", "C:\\表\\ソ.q3d", "x.exe \"C:\\表\\ソ.q3d\""},
  };
  for (const Placement& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(PlaceDocument(c.command, c.document).value_or("<refused>"), c.expected);
  }
}

TEST(ShellOpenCommand, RefusesACommandThatWouldOverrunItsBuffer) {
  const std::string command = "view.exe \"%1\"";  // 9 bytes kept, 2 quotes added
  const std::size_t room = kCommandBufferBytes - 1 - 9 - 2;
  const std::string fits(room, 'a');
  const auto placed = PlaceDocument(command, fits);
  ASSERT_TRUE(placed);
  EXPECT_EQ(placed->size(), kCommandBufferBytes - 1);
  EXPECT_FALSE(PlaceDocument(command, fits + "a"));
  // A long command with a short document is refused the same way.
  EXPECT_FALSE(PlaceDocument(std::string(kCommandBufferBytes, 'c'), ""));
  EXPECT_TRUE(PlaceDocument(std::string(kCommandBufferBytes - 1, 'c'), ""));
  // What "-nohome" or the placeholder cut away does not count.
  EXPECT_TRUE(PlaceDocument("x -nohome " + std::string(600, 'o'), "d"));

  FakeClassKeys keys;
  keys.values = {{".q3d", "Kx.Model"}, {"Kx.Model\\shell\\open\\command", command}};
  RecordingStarter starter;
  EXPECT_EQ(OpenWithClassCommand(keys, starter, fits + "a", ".q3d"), 0);
  EXPECT_TRUE(starter.started.empty());
  EXPECT_EQ(OpenWithClassCommand(keys, starter, fits, ".q3d"), 33);
  ASSERT_EQ(starter.started.size(), 1u);
}

TEST(ShellOpenCommand, FollowsTheClassKeys) {
  FakeClassKeys keys;
  keys.values = {
      {".q3d", "Kx.Model"},
      {"Kx.Model\\CurVer", "Kx.Model.2"},
      {"Kx.Model\\shell\\open\\command", "old.exe %1"},
      {"Kx.Model.2\\shell\\open\\command", "new.exe %1"},
      {".txt", "txtfile"},
      {"txtfile\\shell\\read\\command", "reader.exe \"%1\""},
      {".doc", "docfile"},
      {"docfile\\shell\\open\\command", "opener.exe \"%1\""},
      {"docfile\\shell\\read\\command", "reader.exe \"%1\""},
      {".none", "nothing"},
  };
  RecordingStarter starter;
  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a.q3d", ".q3d"), 33);
  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a.txt", ".txt"), 33);
  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a.doc", ".doc"), 33);
  EXPECT_EQ(starter.started, (std::vector<std::string>{"new.exe a.q3d", "reader.exe \"a.txt\"",
                                                       "opener.exe \"a.doc\""}));

  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a", ".none"), 0);
  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a", ".missing"), 0);
  EXPECT_EQ(starter.started.size(), 3u);
  // A failed start is the starter's result, passed on.
  starter.result = 2;
  EXPECT_EQ(OpenWithClassCommand(keys, starter, "a.q3d", ".q3d"), 2);
}

class MemoryFolder final : public DataFolderFiles {
 public:
  std::set<std::string> folders;
  std::map<std::string, bool> files;  // path -> deletable
  std::vector<std::string> deleted;
  bool create_fails = false;

  bool Exists(const std::string& path) override {
    return folders.count(path) != 0 || files.count(path) != 0;
  }
  bool IsFolder(const std::string& path) override { return folders.count(path) != 0; }
  bool CreateFolder(const std::string& path) override {
    if (create_fails) return false;
    return folders.insert(path).second;
  }
  void ListFolder(const std::string& folder,
                  const std::function<void(const std::string&, bool)>& entry) override {
    entry(".", true);
    entry("..", true);
    const std::string prefix = folder + "\\";
    for (const auto& f : folders) {
      if (f.rfind(prefix, 0) == 0 && f.find('\\', prefix.size()) == std::string::npos) {
        entry(f.substr(prefix.size()), true);
      }
    }
    for (const auto& f : files) {
      if (f.first.rfind(prefix, 0) == 0) entry(f.first.substr(prefix.size()), false);
    }
  }
  bool RemoveFile(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end() || !it->second) return false;
    files.erase(it);
    deleted.push_back(path);
    return true;
  }
};

TEST(InitDataFolder, CreatesEmptiesOrReports) {
  MemoryFolder fs;
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "work", kCodePage932), kDataFolderUnavailable);

  fs.folders.insert("C:\\base");
  fs.create_fails = true;
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "work", kCodePage932), kDataFolderUnavailable);
  fs.create_fails = false;
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "work", kCodePage932), kDataFolderReady);
  EXPECT_TRUE(fs.folders.count("C:\\base\\work"));

  fs.folders.insert("C:\\base\\work\\sub");
  fs.files = {{"C:\\base\\work\\a.q3d", true},
              {"C:\\base\\work\\locked.txt", false},
              {"C:\\base\\work\\z.bmp", true}};
  // The file that stays does not keep the others.
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "work", kCodePage932), kDataFolderNotEmptied);
  EXPECT_EQ(fs.deleted,
            (std::vector<std::string>{"C:\\base\\work\\a.q3d", "C:\\base\\work\\z.bmp"}));
  EXPECT_TRUE(fs.folders.count("C:\\base\\work\\sub"));

  fs.files.clear();
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "work", kCodePage932), kDataFolderReady);

  // A file where the folder should be is no success.
  fs.files["C:\\base\\plain"] = true;
  EXPECT_EQ(InitDataFolder(fs, "C:\\base", "plain", kCodePage932), kDataFolderUnavailable);
  EXPECT_TRUE(fs.files.count("C:\\base\\plain"));
}

// Each name as the file system reads it in code page 932 and in 1252,
// where every 0x5C is a separator.
TEST(InitDataFolder, RefusesNamesThatLeaveTheBaseBeforeTouchingAnything) {
  constexpr std::int32_t kReady = kDataFolderReady;
  constexpr std::int32_t kRefused = kDataFolderUnavailable;
  const struct {
    const char* name;
    std::int32_t result_932, result_1252;
  } cases[] = {
      {"", kRefused, kRefused},
      {".", kRefused, kRefused},
      {"..", kRefused, kRefused},
      {"...", kRefused, kRefused},
      {" ", kRefused, kRefused},
      {". .", kRefused, kRefused},
      {"sub\\x", kRefused, kRefused},
      {"sub/x", kRefused, kRefused},
      {"c:", kRefused, kRefused},
      {"D:work", kRefused, kRefused},
      {"\x83/x", kRefused, kRefused},  // a lead byte without its second byte
      {"work", kReady, kReady},
      {"作業", kReady, kReady},
      {"表", kReady, kRefused},  // 95 5C: a second byte in 932, a separator in 1252
      {"a\x95\\..", kReady, kRefused},  // in 1252 the base itself, "a•\\.."
      {"..work", kReady, kReady},
      {"a b.c", kReady, kReady},
  };
  for (const auto& c : cases) {
    for (const auto& [code_page, result] :
         {std::pair{kCodePage932, c.result_932}, std::pair{kSingleByteCodePage, c.result_1252}}) {
      MemoryFolder fs;
      fs.folders = {"C:\\base", "C:\\base\\sub", "C:\\base\\sub\\x"};
      fs.files = {{"C:\\base\\a.q3d", true}, {"C:\\base\\sub\\x\\b.q3d", true}};
      EXPECT_EQ(InitDataFolder(fs, "C:\\base", c.name, code_page), result) << c.name;
      EXPECT_TRUE(fs.deleted.empty()) << c.name;
      EXPECT_EQ(fs.folders.size(), result == kReady ? 4u : 3u) << c.name;
    }
  }
}

struct StyleCase {
  const char* style;
  const char* expected;  // null: no file
};

TEST(StyleFile, MapsStyleNamesToFiles) {
  const std::string text =
      "# styles of the catalogue\n"
      "/modern, skip.mwm\n"
      "modern, modern.mwm\n"
      "japan\tjapan_a.mwm extra tokens\r\n"
      "  ,, classic //classic.mwm\n"
      "lonely\n"
      "lonely other.mwm\n"
      "和風,和風.mwm\n"
      "\n"
      "modern second.mwm\n";
  const StyleCase cases[] = {
      {"modern", "modern.mwm"},  // the first line that names it
      {"japan", "japan_a.mwm"},  // no CR left on the name
      {"classic", "classic.mwm"},
      {"和風", "和風.mwm"},
      {"mod", nullptr},  // a prefix is no match
      {"Modern", nullptr},
      {"lonely", nullptr},  // the first naming line has no file: search ends
      {"#", nullptr},
      {"", nullptr},
      {"skip.mwm", nullptr},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.style);
    const auto found = FindStyleFile(text, c.style);
    if (c.expected) {
      EXPECT_EQ(found.value_or("<none>"), c.expected);
    } else {
      EXPECT_FALSE(found);
    }
  }
}

TEST(StyleFile, LongLinesComeInPiecesThatCountAsLines) {
  // 259 bytes make the first piece; what follows reads as a line of its own.
  const std::string first_piece = "padding" + std::string(kStyleLineBytes - 7, ' ');
  EXPECT_EQ(FindStyleFile(first_piece + "tail, tail.mwm\n", "tail").value_or(""), "tail.mwm");
  // A comment piece makes only itself a comment.
  const std::string comment = "#" + std::string(kStyleLineBytes - 1, 'x');
  EXPECT_EQ(FindStyleFile(comment + "next next.mwm\n", "next").value_or(""), "next.mwm");
  // A long second token is cut at the piece boundary.
  const std::string line = "cut " + std::string(300, 'f') + "\n";
  EXPECT_EQ(FindStyleFile(line, "cut").value_or("").size(), kStyleLineBytes - 4);
  // A text-mode reader stops at Ctrl-Z.
  EXPECT_FALSE(
      FindStyleFile("a b\n\x1A"
                    "c d\n",
                    "c"));
  EXPECT_FALSE(FindStyleFile("", "a"));
}

}  // namespace
}  // namespace kx::hostkit
