// The parts search dialogs through Hostkit.dll as the host application calls
// them, driven from a second thread as a user would: the word dialog with
// its history in the registry, the search over a generated folder tree of
// the stand-in engine's model files, the result file, the 1000-hit stop and
// a cancel while the search runs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "hostkit/shell/search_resource.h"
#include "hostkit/shell/shell_test_support_win32.h"
#include "platform/win32/unique_resource.h"
#include "standins/kx3d/file_attribute.h"
#include "standins/kx3d/q3d_model.h"
#include "tests/driver/dialog_driver.h"
#include "tests/win/registry_value.h"
#include "tests/win/temp_folder.h"

namespace kx::hostkit {
namespace {

using kx::test::DialogDriver;
using kx::test::TempFolder;
using kx::test::WaitUntil;
using test::ByteString;
using test::ShellExports;

constexpr char kHistoryKey[] = "Software\\HALVANE\\3D Domirel Designer VEK 4\\Search";
constexpr DWORD kWaitMs = 20000;

// A model file of the stand-in engine, with its attribute texts when given.
std::string ModelFile(const char* name = nullptr, const char* description = nullptr) {
  kx3d::Model model;
  kx3d::Part part;
  part.name = "box";
  part.vertices = {{{0, 0, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}};
  part.indices = {0, 1, 2};
  model.parts.push_back(part);
  std::string bytes = *kx3d::EncodeModel(model);
  if (name) bytes += *kx3d::EncodeAttributeSection({name, description ? description : ""});
  return bytes;
}

std::string HistoryValue(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "HISTORY%02d", i);
  const auto value = kx::test::ReadRegistryValue(HKEY_CURRENT_USER, kHistoryKey, name);
  return value.status == kx::test::RegistryValue::kRead ? std::string(value.bytes.c_str())
                                                        : "<none>";
}

// With KX_SEARCH_SHOTS naming a folder, the dialog as it looks now is saved
// there, for looking at it.
void Shot(const DialogDriver& dialog, const std::string& name, DWORD settle_ms = 300) {
  char folder[MAX_PATH] = {};
  if (GetEnvironmentVariableA("KX_SEARCH_SHOTS", folder, MAX_PATH) == 0) return;
  Sleep(settle_ms);  // let it finish painting
  (void)kx::test::SaveScreenshot(std::string(folder) + "\\" + name + ".bmp", dialog.window());
}

class SearchDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(exports_.complete());
    RegDeleteTreeA(HKEY_CURRENT_USER, kHistoryKey);
    // The host keeps the engine beside itself; here it is found in bin\.
    SetDllDirectoryA(test::BinFolder().c_str());
  }
  void TearDown() override {
    SetDllDirectoryA(nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kHistoryKey);
  }

  // Runs the word dialog on this thread while `user` drives it.
  std::int32_t RunWordDialog(ByteString& slot, const std::function<void(DialogDriver&)>& user) {
    std::thread driver([&] {
      DialogDriver dialog;
      if (!dialog.WaitFor("部品を探す", IDC_SEARCH_WORDS, kWaitMs)) {
        ADD_FAILURE() << "no search word dialog";
        return;
      }
      user(dialog);
    });
    const std::int32_t result = exports_.search_word(nullptr, 600, 500, "部品を探す", slot.slot());
    driver.join();
    return result;
  }

  ShellExports exports_;
  TempFolder folder_{"kx search"};
};

TEST_F(SearchDialogs, WordDialogKeepsItsHistoryAcrossCalls) {
  ByteString slot("untouched");
  RECT placed = {};
  EXPECT_EQ(RunWordDialog(slot,
                          [&](DialogDriver& dialog) {
                            GetWindowRect(dialog.window(), &placed);
                            std::vector<std::string> items;
                            EXPECT_TRUE(dialog.ReadComboItems(IDC_SEARCH_WORDS, items));
                            EXPECT_TRUE(items.empty());
                            EXPECT_TRUE(dialog.TypeText(IDC_SEARCH_WORDS, "  ソファ bed "));
                            EXPECT_TRUE(dialog.Click(IDOK));
                          }),
            1);
  // Leading blanks go; the history holds the text trimmed on both sides.
  EXPECT_EQ(slot.bytes(), "ソファ bed ");
  EXPECT_EQ(HistoryValue(0), "ソファ bed");
  // Its bottom edge is centred on the point given.
  EXPECT_EQ(placed.left, 600 - (placed.right - placed.left) / 2);
  EXPECT_EQ(placed.bottom, 500);

  for (const char* word : {"chair", "table"}) {
    EXPECT_EQ(RunWordDialog(slot,
                            [&](DialogDriver& dialog) {
                              EXPECT_TRUE(dialog.TypeText(IDC_SEARCH_WORDS, word));
                              EXPECT_TRUE(dialog.Click(IDOK));
                            }),
              1);
  }
  // The oldest entry, chosen from the list, moves to the top.
  EXPECT_EQ(
      RunWordDialog(slot,
                    [&](DialogDriver& dialog) {
                      std::vector<std::string> items;
                      EXPECT_TRUE(dialog.ReadComboItems(IDC_SEARCH_WORDS, items));
                      EXPECT_EQ(items, (std::vector<std::string>{"table", "chair", "ソファ bed"}));
                      EXPECT_TRUE(dialog.SelectComboItem(IDC_SEARCH_WORDS, 2));
                      Shot(dialog, "search_word");
                      EXPECT_TRUE(dialog.Click(IDOK));
                    }),
      1);
  EXPECT_EQ(slot.bytes(), "ソファ bed");
  EXPECT_EQ(HistoryValue(0), "ソファ bed");
  EXPECT_EQ(HistoryValue(1), "table");
  EXPECT_EQ(HistoryValue(2), "chair");
  EXPECT_EQ(HistoryValue(3), "<none>");
}

TEST_F(SearchDialogs, WordDialogAsksForWordsAndEndsWithoutThem) {
  ByteString slot("untouched");
  const BSTR before = slot.get();
  // OK with nothing typed: the message, and the dialog stays for Cancel.
  EXPECT_EQ(RunWordDialog(slot,
                          [&](DialogDriver& dialog) {
                            EXPECT_TRUE(dialog.Click(IDOK));
                            HWND box = nullptr;
                            ASSERT_TRUE(dialog.WaitForMessageBox("部品を探す", kWaitMs, box));
                            std::string text;
                            EXPECT_TRUE(DialogDriver::ReadMessageText(box, text));
                            EXPECT_EQ(text, "検索語句を記入してください。");
                            EXPECT_TRUE(DialogDriver::AnswerMessageBox(box, IDOK));
                            EXPECT_TRUE(dialog.Present());
                            EXPECT_TRUE(dialog.Click(IDCANCEL));
                          }),
            0);
  // Blanks only end the dialog but choose nothing and leave no history.
  EXPECT_EQ(RunWordDialog(slot,
                          [&](DialogDriver& dialog) {
                            EXPECT_TRUE(dialog.TypeText(IDC_SEARCH_WORDS, "   "));
                            EXPECT_TRUE(dialog.Click(IDOK));
                          }),
            0);
  EXPECT_EQ(slot.get(), before);
  EXPECT_EQ(slot.bytes(), "untouched");
  EXPECT_EQ(HistoryValue(0), "<none>");
}

class SearchTree : public SearchDialogs {
 protected:
  // Runs the search over the tree with the dialog left to end by itself.
  std::int32_t Search(const char* keywords, const char* extensions, std::int32_t* files,
                      std::int32_t* hits) {
    return exports_.search_progress(nullptr, 400, 400, "パーツを検索", folder_.path().c_str(),
                                    keywords, extensions, files, result_.c_str(), hits);
  }
  std::string result_ = folder_ / "result.txt";
};

TEST_F(SearchTree, FindsPartsByNameAndByModelAttributes) {
  const std::string root = folder_.path();
  TempFolder::WriteFile(root + "SOFA_large.q3d", ModelFile());
  TempFolder::WriteFile(root + "m001.q3d", ModelFile("二人掛けソファ", "布張り"));
  TempFolder::WriteFile(root + "m002.q3d", ModelFile("テーブル", "ソファ用 side table"));
  TempFolder::WriteFile(root + "m003.q3d", ModelFile("椅子", "chair"));
  TempFolder::WriteFile(root + "ソファ_椅子.q3d", "no model: found by its name");
  TempFolder::WriteFile(root + "sofa.bmp", "picture");
  ASSERT_TRUE(CreateDirectoryA((root + "living").c_str(), nullptr));
  TempFolder::WriteFile(root + "living\\sofa_small.kx", "not a model");
  TempFolder::WriteFile(root + "living\\m004.Q3D", ModelFile("ソファ", ""));
  ASSERT_TRUE(CreateDirectoryA((root + "secret").c_str(), nullptr));
  TempFolder::WriteFile(root + "secret\\sofa.q3d", ModelFile());
  ASSERT_TRUE(SetFileAttributesA((root + "secret").c_str(), FILE_ATTRIBUTE_HIDDEN));

  // Half-width katakana find the full-width texts; lower case finds upper.
  std::int32_t files = 8, hits = -1;
  EXPECT_EQ(Search("ｿﾌｧ", ".q3d .kx", &files, &hits), 1);
  EXPECT_EQ(files, 7);  // the picture and the hidden folder are not looked at
  EXPECT_EQ(hits, 4);
  std::string text = TempFolder::ReadFile(result_);
  EXPECT_NE(text.find(root + "ソファ_椅子.q3d\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(root + "m001.q3d\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(root + "m002.q3d\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(root + "living\\m004.Q3D\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.rfind("#ｿﾌｧ\r\n", 0), 0u) << text;

  // Two words must both be there, in the name or in one attribute text.
  EXPECT_EQ(Search("sofa　large", ".q3d", &files, &hits), 1);
  EXPECT_EQ(hits, 1);
  EXPECT_EQ(TempFolder::ReadFile(result_), "#sofa　large\r\n" + root + "SOFA_large.q3d\r\n");
  EXPECT_EQ(Search("ソファ side", ".q3d", &files, &hits), 1);
  EXPECT_EQ(TempFolder::ReadFile(result_), "#ソファ side\r\n" + root + "m002.q3d\r\n");
}

TEST_F(SearchTree, RefusesWithoutKeywordsOrEngine) {
  TempFolder::WriteFile(folder_ / "sofa.q3d", ModelFile());
  std::int32_t files = 7, hits = 9;
  EXPECT_EQ(Search(" 　\t", ".q3d", &files, &hits), 0);
  EXPECT_EQ(files, 7);
  EXPECT_EQ(hits, 9);
  EXPECT_FALSE(TempFolder::Exists(result_));

  TempFolder empty("kx no engine");
  SetDllDirectoryA(empty.path().c_str());
  EXPECT_EQ(Search("sofa", ".q3d", &files, &hits), 0);
  EXPECT_EQ(files, 7);
  EXPECT_FALSE(TempFolder::Exists(result_));
}

TEST_F(SearchTree, StopsAtAThousandHits) {
  for (int f = 0; f < 3; ++f) {
    const std::string sub = folder_ / ("f" + std::to_string(f) + "\\");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    for (int i = 0; i < 400; ++i) {
      TempFolder::WriteFile(sub + "hit" + std::to_string(i) + ".txt", "");
    }
  }
  std::int32_t files = 1200, hits = 0;
  EXPECT_EQ(Search("HIT", ".txt", &files, &hits), 1);
  EXPECT_EQ(hits, 1000);
  EXPECT_EQ(files, 1000);
  const std::string text = TempFolder::ReadFile(result_);
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 1001u);
}

TEST_F(SearchTree, CancelWaitsForTheWorkerAndWritesTheHitsSoFar) {
  // Models whose attributes the engine must read: long enough to cancel.
  const std::string plain = ModelFile("棚", "shelf");
  const std::string wanted = ModelFile("ソファ", "sofa");
  for (int f = 0; f < 20; ++f) {
    const std::string sub = folder_ / ("f" + std::to_string(f) + "\\");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    for (int i = 0; i < 150; ++i) {
      TempFolder::WriteFile(sub + "p" + std::to_string(i) + ".q3d", i % 10 ? plain : wanted);
    }
  }
  std::atomic<bool> cancelled{false};
  std::thread user([&] {
    DialogDriver dialog;
    if (!dialog.WaitFor("パーツを検索", IDC_SEARCH_PROGRESS, kWaitMs)) return;
    // Once it reports files, the user has seen enough.
    EXPECT_TRUE(WaitUntil(
        [&] {
          std::string status;
          return dialog.ReadText(IDC_SEARCH_STATUS, status) &&
                 status.find("個のファイル") != std::string::npos;
        },
        kWaitMs, 10));
    Shot(dialog, "search_progress", 0);  // the search goes on meanwhile
    cancelled = dialog.Click(IDCANCEL);
  });
  std::int32_t files = 3000, hits = -1;
  const std::int32_t result = Search("sofa", ".q3d", &files, &hits);
  user.join();
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(result, 0);
  EXPECT_GT(files, 0);
  EXPECT_LT(files, 3000) << "the search ended before the cancel";
  // Every hit found before the worker stopped is in the file, and only
  // models whose attributes hold the word.
  const std::string text = TempFolder::ReadFile(result_);
  ASSERT_EQ(text.rfind("#sofa\r\n", 0), 0u);
  int lines = 0;
  for (std::size_t at = text.find("\r\n") + 2; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    const std::string path = text.substr(at, end - at);
    const std::size_t number = path.find_last_of('p') + 1;
    EXPECT_EQ(std::atoi(path.c_str() + number) % 10, 0) << path;
    ++lines;
    at = end + 2;
  }
  EXPECT_EQ(lines, hits);
}

// Cancel before any file of the wanted kind has been met stops the walk at
// once. The tree's one wanted file lies at its very end (folders list their
// entries in name order), where a walk that went on would count it.
TEST_F(SearchTree, CancelBeforeAnyWantedFileStopsTheWalk) {
  // 2,000 empty folders in 40 (some 6,000 entries with their "." and
  // ".."): a walk of seconds, against a Cancel pressed at once.
  for (int f = 0; f < 40; ++f) {
    const std::string sub = folder_ / ("f" + std::to_string(100 + f));
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    for (int i = 0; i < 50; ++i) {
      ASSERT_TRUE(CreateDirectoryA((sub + "\\s" + std::to_string(i)).c_str(), nullptr));
    }
  }
  ASSERT_TRUE(CreateDirectoryA((folder_ / "zzz").c_str(), nullptr));
  TempFolder::WriteFile(folder_ / "zzz\\last.q3d", ModelFile());
  DWORD pressed = 0, gone = 0;
  std::thread user([&] {
    DialogDriver dialog;
    if (!dialog.WaitFor("パーツを検索", IDC_SEARCH_PROGRESS, kWaitMs)) return;
    pressed = GetTickCount();
    EXPECT_TRUE(dialog.Click(IDCANCEL));
    EXPECT_TRUE(dialog.WaitUntilGone(120000));
    gone = GetTickCount();
  });
  std::int32_t files = 20000, hits = -1;
  EXPECT_EQ(Search("last", ".q3d", &files, &hits), 0);
  user.join();
  EXPECT_EQ(files, 0);
  EXPECT_EQ(hits, 0);
  EXPECT_EQ(TempFolder::ReadFile(result_), "#last\r\n");
  std::printf("Cancel answered in %lu ms\n", static_cast<unsigned long>(gone - pressed));
}

// The host may still hold the last result open for reading, as a C stream
// shares it: the new result replaces it all the same.
TEST_F(SearchTree, WritesTheResultWhileTheHostReadsTheLastOne) {
  TempFolder::WriteFile(folder_ / "sofa.q3d", ModelFile());
  TempFolder::WriteFile(result_, "#old\r\nC:\\old.q3d\r\n");
  win::UniqueFile held(CreateFileA(result_.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  std::int32_t files = 1, hits = 0;
  EXPECT_EQ(Search("sofa", ".q3d", &files, &hits), 1);
  EXPECT_EQ(hits, 1);
  held.reset();
  EXPECT_EQ(TempFolder::ReadFile(result_), "#sofa\r\n" + (folder_ / "sofa.q3d") + "\r\n");
}

// A result file the host or the user made hidden is replaced all the same,
// and stays hidden: Windows refuses to empty a hidden file unless the
// attribute is asked for again.
TEST_F(SearchTree, ReplacesAHiddenResultAndKeepsItHidden) {
  TempFolder::WriteFile(folder_ / "sofa.q3d", ModelFile());
  TempFolder::WriteFile(result_, "#old\r\n");
  ASSERT_TRUE(SetFileAttributesA(result_.c_str(), FILE_ATTRIBUTE_HIDDEN));
  std::int32_t files = 1, hits = 0;
  EXPECT_EQ(Search("sofa", ".q3d", &files, &hits), 1);
  EXPECT_EQ(TempFolder::ReadFile(result_), "#sofa\r\n" + (folder_ / "sofa.q3d") + "\r\n");
  EXPECT_NE(GetFileAttributesA(result_.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// The engine's reader as the search calls it: byte strings in, the slots
// replaced only when the model has attribute texts.
TEST_F(SearchDialogs, EngineReadsAttributeTextsIntoTheCallersSlots) {
  win::LoadedModule engine((test::BinFolder() + "KX3D.dll").c_str());
  auto* read = engine.Entry<std::int32_t WINAPI(BSTR*, BSTR*, BSTR*)>("Kxi_GetFileAttribute");
  ASSERT_NE(read, nullptr);
  const std::string with = folder_ / "家具.q3d";
  const std::string without = folder_ / "plain.q3d";
  TempFolder::WriteFile(with, ModelFile("二人掛けソファ", "布張り 表"));
  TempFolder::WriteFile(without, ModelFile());
  TempFolder::WriteFile(folder_ / "picture.q3d", "BM not a model");

  ByteString path(with), name(""), description("");
  ASSERT_EQ(read(path.slot(), name.slot(), description.slot()), 0);
  EXPECT_EQ(name.bytes(), "二人掛けソファ");
  EXPECT_EQ(description.bytes(), "布張り 表");
  EXPECT_EQ(path.bytes(), with);

  for (const std::string& file : {without, folder_ / "picture.q3d", folder_ / "missing.q3d"}) {
    ByteString other(file), kept_name("kept"), kept_description("kept");
    const BSTR before = kept_name.get();
    EXPECT_LT(read(other.slot(), kept_name.slot(), kept_description.slot()), 0) << file;
    EXPECT_EQ(kept_name.get(), before);
    EXPECT_EQ(kept_description.bytes(), "kept");
  }
  EXPECT_LT(read(nullptr, name.slot(), description.slot()), 0);
}

}  // namespace
}  // namespace kx::hostkit
