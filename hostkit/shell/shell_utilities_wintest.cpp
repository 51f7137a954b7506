// The shell utility exports through Hostkit.dll as the host application
// calls them: class keys written here under HKEY_CLASSES_ROOT with a
// program of the test's own behind them, a data folder holding a read-only
// file, a style list.
#include <gtest/gtest.h>

#include <string>

#include "hostkit/shell/shell_test_support_win32.h"
#include "platform/win32/unique_resource.h"
#include "tests/driver/dialog_driver.h"
#include "tests/win/process.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using kx::test::TempFolder;
using test::ByteString;
using test::ShellExports;

// Class keys of a document kind of this test's own, removed at the end.
class ClassKeys {
 public:
  ClassKeys() : suffix_(std::to_string(GetCurrentProcessId())) {}
  ~ClassKeys() {
    for (const std::string& key : written_) RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
  }
  std::string Name(const std::string& base) const { return base + suffix_; }
  void Set(const std::string& key, const std::string& value) {
    win::UniqueKey opened;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, opened.put(), nullptr),
              ERROR_SUCCESS)
        << key;
    ASSERT_EQ(RegSetValueExA(opened.get(), nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    written_.push_back(key.substr(0, key.find('\\')));
  }

 private:
  std::string suffix_;
  std::vector<std::string> written_;
};

class ShellUtilities : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(exports_.complete()) << test::BinFolder() << "Hostkit.dll"; }

  // Opens `document` through the export and returns the command line the
  // probe saw, or "<not started>".
  std::string OpenAndSee(const std::string& document, const std::string& key,
                         std::int32_t* result) {
    const std::string seen = folder_ / "seen.txt";
    DeleteFileA(seen.c_str());
    SetEnvironmentVariableA("KX_PROBE_OUTPUT", seen.c_str());
    *result = exports_.open(document.c_str(), key.c_str());
    std::string line = "<not started>";
    if (*result > 31) {
      EXPECT_TRUE(kx::test::WaitUntil([&] { return TempFolder::Exists(seen); }, 15000));
      // The probe writes and closes at once; give it the moment to finish.
      (void)kx::test::WaitUntil([&] { return !TempFolder::ReadFile(seen).empty(); }, 5000);
      line = TempFolder::ReadFile(seen);
    }
    return line;
  }

  ShellExports exports_;
  TempFolder folder_{"kx shell"};
  ClassKeys keys_;
  const std::string probe_ = kx::test::TestProgramFolder() + "command_line_probe.exe";
};

TEST_F(ShellUtilities, OpenCommandStartsTheRegisteredProgramWithTheDocument) {
  const std::string ext = keys_.Name(".kxt");
  const std::string old_class = keys_.Name("KxTest.Doc");
  const std::string new_class = keys_.Name("KxTest.Doc.2");
  keys_.Set(ext, old_class);
  keys_.Set(old_class + "\\CurVer", new_class);
  keys_.Set(old_class + "\\shell\\open\\command", "\"" + probe_ + "\" /old \"%1\"");
  keys_.Set(new_class + "\\shell\\open\\command", "\"" + probe_ + "\" \"%1\" /dde");
  const std::string document = folder_ / "家具 a.q3d";

  std::int32_t result = 0;
  // The newer class named by CurVer; the option behind the placeholder goes.
  EXPECT_EQ(OpenAndSee(document, ext, &result), "\"" + probe_ + "\" \"" + document + "\"");
  EXPECT_GT(result, 31);

  // "-nohome" cuts the placeholder away: the document is glued on unquoted.
  const std::string web = keys_.Name(".kxw");
  keys_.Set(web, keys_.Name("KxTest.Web"));
  keys_.Set(keys_.Name("KxTest.Web") + "\\shell\\read\\command",
            "\"" + probe_ + "\" -nohome \"%1\"");
  EXPECT_EQ(OpenAndSee("page.htm", web, &result), "\"" + probe_ + "\" page.htm");
  EXPECT_GT(result, 31);
}

TEST_F(ShellUtilities, OpenCommandRefusesWhatItCannotRun) {
  const std::string ext = keys_.Name(".kxl");
  keys_.Set(ext, keys_.Name("KxTest.Long"));
  keys_.Set(keys_.Name("KxTest.Long") + "\\shell\\open\\command", "\"" + probe_ + "\" \"%1\"");
  std::int32_t result = -1;

  // One byte more than the 520-byte command holds: refused, nothing starts.
  const std::size_t room = 520 - 1 - (probe_.size() + 3) - 2;
  EXPECT_EQ(OpenAndSee(std::string(room + 1, 'd'), ext, &result), "<not started>");
  EXPECT_EQ(result, 0);
  // Exactly full: started (the probe sees the whole document).
  const std::string full = OpenAndSee(std::string(room, 'd'), ext, &result);
  EXPECT_GT(result, 31);
  EXPECT_EQ(full.size(), 519u);

  // No class, a class without a command, a null argument.
  EXPECT_EQ(exports_.open("a.q3d", keys_.Name(".kxnone").c_str()), 0);
  keys_.Set(keys_.Name(".kxbare"), keys_.Name("KxTest.Bare"));
  keys_.Set(keys_.Name("KxTest.Bare") + "\\DefaultIcon", "x.ico");
  EXPECT_EQ(exports_.open("a.q3d", keys_.Name(".kxbare").c_str()), 0);
  EXPECT_EQ(exports_.open(nullptr, ext.c_str()), 0);
}

TEST_F(ShellUtilities, DataFolderIsCreatedOrEmptied) {
  const std::string base = folder_.path().substr(0, folder_.path().size() - 1);
  EXPECT_EQ(exports_.init_folder((base + "\\missing").c_str(), "work"), -1);

  EXPECT_EQ(exports_.init_folder(base.c_str(), "作業"), 0);
  const std::string work = folder_ / "作業\\";
  ASSERT_TRUE(TempFolder::Exists(work));

  TempFolder::WriteFile(work + "a.q3d", "a");
  TempFolder::WriteFile(work + "locked.txt", "b");
  TempFolder::WriteFile(work + "z.bmp", "c");
  ASSERT_TRUE(CreateDirectoryA((work + "sub").c_str(), nullptr));
  TempFolder::WriteFile(work + "sub\\kept.txt", "d");
  ASSERT_TRUE(SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(exports_.init_folder(base.c_str(), "作業"), -2);
  EXPECT_FALSE(TempFolder::Exists(work + "a.q3d"));
  EXPECT_FALSE(TempFolder::Exists(work + "z.bmp"));
  EXPECT_TRUE(TempFolder::Exists(work + "locked.txt"));
  EXPECT_TRUE(TempFolder::Exists(work + "sub\\kept.txt"));

  ASSERT_TRUE(SetFileAttributesA((work + "locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(exports_.init_folder(base.c_str(), "作業"), 0);
  EXPECT_FALSE(TempFolder::Exists(work + "locked.txt"));

  TempFolder::WriteFile(folder_ / "plain", "a file, not a folder");
  EXPECT_EQ(exports_.init_folder(base.c_str(), "plain"), -1);
}

// Names under which the target would be the base folder itself, its parent
// or a folder further down are refused before anything is touched.
TEST_F(ShellUtilities, DataFolderNamesThatLeaveTheBaseAreRefused) {
  const std::string base = folder_ / "base";
  ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((base + "\\sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((base + "\\sub\\x").c_str(), nullptr));
  const std::vector<std::string> files = {folder_ / "beside.txt", base + "\\in base.txt",
                                          base + "\\sub\\x\\further down.txt"};
  for (const std::string& file : files) TempFolder::WriteFile(file, "the user's");
  for (const char* name : {"", ".", "..", "...", ". .", "sub\\x", "sub/x", "c:x"}) {
    EXPECT_EQ(exports_.init_folder(base.c_str(), name), -1) << name;
    for (const std::string& file : files)
      EXPECT_TRUE(TempFolder::Exists(file)) << name << ": " << file;
  }
  // In this process's code page (932) 95 5C is one character, "表", and
  // "a表.." names the folder "a表" inside the base.
  EXPECT_EQ(exports_.init_folder(base.c_str(), "a\x95\\.."), 0);
  EXPECT_TRUE(TempFolder::Exists(base + "\\a\x95\\"));
  for (const std::string& file : files) EXPECT_TRUE(TempFolder::Exists(file)) << file;
}

TEST_F(ShellUtilities, StyleFileNameComesFromTheStyleList) {
  TempFolder::WriteFile(folder_ / "stylewith.mwm",
                        "# styles\r\n/modern old.mwm\r\nmodern, modern.mwm\r\n和風\t和風.mwm\r\n"
                        "empty\r\n");
  ByteString slot("before");
  const BSTR before = slot.get();
  EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "modern", slot.slot()), 0);
  EXPECT_EQ(slot.bytes(), folder_ / "modern.mwm");
  EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "和風", slot.slot()), 0);
  EXPECT_EQ(slot.bytes(), folder_ / "和風.mwm");
  {
    // The host has the list open for writing, as a C stream shares it.
    win::UniqueFile held(CreateFileA((folder_ / "stylewith.mwm").c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "modern", slot.slot()), 0);
    EXPECT_EQ(slot.bytes(), folder_ / "modern.mwm");
  }

  const BSTR kept = slot.get();
  EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "mod", slot.slot()), -1);
  EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "empty", slot.slot()), -1);
  EXPECT_EQ(exports_.style_file((folder_ / "none\\").c_str(), "modern", slot.slot()), -1);
  EXPECT_EQ(slot.get(), kept);
  EXPECT_NE(kept, before);
  EXPECT_EQ(exports_.style_file(folder_.path().c_str(), "modern", nullptr), -1);
}

}  // namespace
}  // namespace kx::hostkit
