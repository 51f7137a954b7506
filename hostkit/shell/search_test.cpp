#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "hostkit/shell/search_history.h"
#include "hostkit/shell/search_walk.h"
#include "hostkit/shell/search_words.h"
#include "tests/fakes/memory_registry.h"

namespace kx::hostkit {
namespace {

using test::MemoryRegistry;

// Upper case for ASCII letters, and the one mapping of the system that the
// tests lean on: a half-width "ｶ" (0xB6) becomes the full-width "カ".
class FakeMapper final : public SearchTextMapper {
 public:
  int calls = 0;
  std::string Map(const std::string& text) override {
    ++calls;
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c == 0xB6) {
        out += "カ";
      } else if (c < 0x80) {
        out += static_cast<char>(std::toupper(c));
      } else {
        out += text[i];
        if (i + 1 < text.size() && ((c >= 0x81 && c <= 0x9F) || c >= 0xE0)) out += text[++i];
      }
    }
    return out;
  }
};

// ---- history ----

std::string HistoryValue(MemoryRegistry& registry, int i) {
  char name[16];
  std::snprintf(name, sizeof name, "HISTORY%02d", i);
  const auto* v = registry.FindValue(RegistryRoot::kCurrentUser, kSearchHistoryKey, name);
  return v ? std::string(v->bytes.c_str()) : "<none>";
}

TEST(SearchHistory, AddMovesToTheTopAndKeepsTwentyFive) {
  SearchHistory history;
  for (const char* word : {"c", "b", "a"}) EXPECT_TRUE(history.Add(word));
  EXPECT_EQ(history.entries(), (std::vector<std::string>{"a", "b", "c"}));
  // The third entry, entered again (with blanks around it), moves up.
  EXPECT_TRUE(history.Add("  c\t"));
  EXPECT_EQ(history.entries(), (std::vector<std::string>{"c", "a", "b"}));
  // Case counts; blanks only change nothing.
  EXPECT_TRUE(history.Add("C"));
  EXPECT_FALSE(history.Add(" \t "));
  EXPECT_EQ(history.entries(), (std::vector<std::string>{"C", "c", "a", "b"}));

  for (int i = 0; i < 30; ++i) history.Add("w" + std::to_string(i));
  ASSERT_EQ(history.entries().size(), kSearchHistoryEntries);
  EXPECT_EQ(history.entries().front(), "w29");
  EXPECT_EQ(history.entries().back(), "w5");
  // Entering the oldest again keeps 25, without a duplicate.
  history.Add("w5");
  EXPECT_EQ(history.entries().size(), kSearchHistoryEntries);
  EXPECT_EQ(history.entries()[0], "w5");
  EXPECT_EQ(history.entries()[24], "w6");
}

TEST(SearchHistory, SavesAndLoadsThroughTheRegistry) {
  MemoryRegistry registry;
  SearchHistory empty;
  empty.Load(registry);  // no key: empty, no failure
  EXPECT_TRUE(empty.entries().empty());

  // Values already there beyond the new count stay as they are.
  {
    auto key =
        registry.CreateKey(RegistryRoot::kCurrentUser, kSearchHistoryKey, "", RegistryAccess::kAll);
    ASSERT_TRUE(key->SetString("HISTORY03", "old"));
  }
  SearchHistory history;
  history.Add("テーブル");
  history.Add("chair");
  ASSERT_TRUE(history.Save(registry));
  EXPECT_EQ(HistoryValue(registry, 0), "chair");
  EXPECT_EQ(HistoryValue(registry, 1), "テーブル");
  EXPECT_EQ(HistoryValue(registry, 2), "<none>");
  EXPECT_EQ(HistoryValue(registry, 3), "old");

  SearchHistory loaded;
  loaded.Load(registry);
  EXPECT_EQ(loaded.entries(), (std::vector<std::string>{"chair", "テーブル", "old"}));

  // A value too long for the reader's buffer is passed over.
  {
    auto key =
        registry.OpenKey(RegistryRoot::kCurrentUser, kSearchHistoryKey, RegistryAccess::kAll);
    ASSERT_TRUE(key->SetString("HISTORY01", std::string(kSearchHistoryValueBytes, 'x')));
    ASSERT_TRUE(key->SetString("HISTORY02", std::string(kSearchHistoryValueBytes - 1, 'y')));
  }
  loaded.Load(registry);
  EXPECT_EQ(loaded.entries().size(), 3u);
  EXPECT_EQ(loaded.entries()[1], std::string(kSearchHistoryValueBytes - 1, 'y'));

  registry.keys.clear();
  registry.uncreatable.insert(MemoryRegistry::Name(RegistryRoot::kCurrentUser, kSearchHistoryKey));
  EXPECT_FALSE(history.Save(registry));
}

TEST(SearchHistory, ChosenTextLosesLeadingWhiteSpaceOnly) {
  EXPECT_EQ(TrimLeadingWhiteSpace(" \t\r\nsofa  "), "sofa  ");
  EXPECT_EQ(TrimLeadingWhiteSpace("   "), "");
  EXPECT_EQ(TrimWhiteSpace("\v sofa bed \f"), "sofa bed");
}

// ---- words ----

TEST(SearchWords, NormalisesSplitsAndMatches) {
  FakeMapper mapper;
  // Full-width blanks are blanks; at the ends they go.
  EXPECT_EQ(NormaliseSearchText(mapper,
                                "\x81\x40sofa\x81\x40"
                                "bed\x81\x40"),
            "SOFA BED");
  // 88 81 and 40 40 are characters: the 81 40 across them is no blank.
  EXPECT_EQ(NormaliseSearchText(mapper, "\x88\x81\x40\x40"), "\x88\x81@@");

  EXPECT_EQ(SplitSearchTokens("  a\t\tb  c "), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(SplitSearchTokens(" \t ").empty());
  EXPECT_EQ(SearchKeywords(mapper, "sofa\x81\x40 bed"), (std::vector<std::string>{"SOFA", "BED"}));
  EXPECT_TRUE(SearchKeywords(mapper, "\x81\x40 \t").empty());

  const std::vector<std::string> both = SearchKeywords(mapper, "sofa bed");
  EXPECT_TRUE(MatchesKeywords(mapper, "Sofa-Bed.q3d", both));
  EXPECT_TRUE(MatchesKeywords(mapper, "bed_sofa.q3d", both));  // in any order
  EXPECT_FALSE(MatchesKeywords(mapper, "sofa.q3d", both));
  EXPECT_FALSE(MatchesKeywords(mapper, "", both));
  EXPECT_FALSE(MatchesKeywords(mapper, "sofa.q3d", {}));
  // Half-width katakana keywords find full-width names.
  EXPECT_TRUE(MatchesKeywords(mapper, "カ棚.q3d", SearchKeywords(mapper, "\xB6")));
  // A keyword is found only on character boundaries.
  EXPECT_FALSE(MatchesKeywords(mapper, "\x88\x81\x40", {"\x81\x40"}));
}

TEST(SearchWords, EndingsCompareWithoutCase) {
  EXPECT_TRUE(EndsWithNoCase("Chair.Q3D", ".q3d"));
  EXPECT_TRUE(EndsWithNoCase("chair.q3d", ".Q3D"));
  EXPECT_FALSE(EndsWithNoCase("chair.q3", ".q3d"));
  EXPECT_FALSE(EndsWithNoCase("q3d", ".q3d"));
  EXPECT_TRUE(EndsWithNoCase("x", ""));
  EXPECT_FALSE(EndsWithNoCase("\x83\x5C", "\x83\x7C"));  // no case for double-byte text
}

// ---- walk ----

class MemoryTree final : public SearchFiles, public ModelAttributes {
 public:
  std::map<std::string, std::vector<SearchEntry>> folders;  // by path ending in "\"
  std::map<std::string, std::pair<std::string, std::string>> attributes;
  std::vector<std::string> listed, attributes_read;
  std::function<void()> on_entry;

  void ListFolder(const std::string& folder,
                  const std::function<bool(const SearchEntry&)>& entry) override {
    listed.push_back(folder);
    auto it = folders.find(folder);
    if (it == folders.end()) return;
    std::vector<SearchEntry> all = {{".", true, false}, {"..", true, false}};
    all.insert(all.end(), it->second.begin(), it->second.end());
    for (const SearchEntry& e : all) {
      if (on_entry) on_entry();
      if (!entry(e)) return;
    }
  }
  bool Read(const std::string& path, std::string* first, std::string* second) override {
    attributes_read.push_back(path);
    auto it = attributes.find(path);
    if (it == attributes.end()) return false;
    *first = it->second.first;
    *second = it->second.second;
    return true;
  }
};

class CountingListener final : public SearchListener {
 public:
  SearchRun* run = nullptr;
  bool acknowledge = true;
  int progress = 0, done = 0;
  void Progress() override {
    ++progress;
    if (acknowledge && run) run->ProgressShown();
  }
  void Done() override { ++done; }
};

SearchEntry File(const std::string& name, bool hidden = false) { return {name, false, hidden}; }
SearchEntry Folder(const std::string& name, bool hidden = false) { return {name, true, hidden}; }

TEST(SearchWalk, FindsByNameAndByModelAttributes) {
  MemoryTree tree;
  tree.folders["C:\\lib\\"] = {File("Sofa.q3d"),
                               File("sofa.bmp"),
                               Folder("living"),
                               Folder("secret", true),
                               File("sofa_hidden.q3d", true),
                               File("readme.txt")};
  tree.folders["C:\\lib\\living\\"] = {File("m001.Q3D"), File("m002.q3d"), File("m003.q3d"),
                                       File("m004.kx")};
  tree.folders["C:\\lib\\secret\\"] = {File("sofa.q3d")};
  tree.attributes["C:\\lib\\living\\m001.Q3D"] = {"ソファ", "Sofa for two"};
  tree.attributes["C:\\lib\\living\\m002.q3d"] = {"sofa", ""};
  tree.attributes["C:\\lib\\living\\m004.kx"] = {"sofa", "sofa"};  // no model by name

  FakeMapper mapper;
  CountingListener listener;
  SearchRun run({"C:\\lib\\", SearchKeywords(mapper, "SOFA"), {".q3d", ".kx"}}, tree, tree, mapper,
                listener);
  listener.run = &run;
  run.Run();

  EXPECT_EQ(run.hits(), (std::vector<std::string>{"C:\\lib\\Sofa.q3d", "C:\\lib\\living\\m001.Q3D",
                                                  "C:\\lib\\living\\m002.q3d"}));
  EXPECT_EQ(run.hit_count(), 3);
  EXPECT_EQ(run.files_examined(), 5);  // the bitmap, the text and the hidden ones are not
  EXPECT_EQ(listener.done, 1);
  // Hidden folders are not entered; attributes are asked only of models
  // whose name did not match.
  EXPECT_EQ(tree.listed, (std::vector<std::string>{"C:\\lib\\", "C:\\lib\\living\\"}));
  EXPECT_EQ(tree.attributes_read,
            (std::vector<std::string>{"C:\\lib\\living\\m001.Q3D", "C:\\lib\\living\\m002.q3d",
                                      "C:\\lib\\living\\m003.q3d"}));
}

TEST(SearchWalk, ReportsProgressOnlyAfterTheFirstFileAndNeverFloods) {
  MemoryTree tree;
  tree.folders["R\\"] = {File("a.txt"), File("b.q3d"), File("c.q3d"), File("d.q3d")};
  FakeMapper mapper;
  CountingListener listener;
  SearchRun run({"R\\", {"X"}, {".q3d"}}, tree, tree, mapper, listener);
  listener.run = &run;
  run.Run();
  // ".", "..", a.txt and b.q3d pass before the first file is counted; then
  // one report before each of c.q3d and d.q3d.
  EXPECT_EQ(listener.progress, 2);

  // A dialog that has not shown the last report yet gets no further one.
  CountingListener slow;
  slow.acknowledge = false;
  SearchRun unshown({"R\\", {"X"}, {".q3d"}}, tree, tree, mapper, slow);
  unshown.Run();
  EXPECT_EQ(slow.progress, 1);
  EXPECT_EQ(slow.done, 1);
}

TEST(SearchWalk, StopsAtTheHitLimitInEveryFolder) {
  MemoryTree tree;
  for (int f = 0; f < 3; ++f) {
    const std::string folder = "R\\f" + std::to_string(f) + "\\";
    tree.folders["R\\"].push_back(Folder("f" + std::to_string(f)));
    for (int i = 0; i < 600; ++i)
      tree.folders[folder].push_back(File("hit" + std::to_string(i) + ".q3d"));
  }
  FakeMapper mapper;
  CountingListener listener;
  SearchRun run({"R\\", SearchKeywords(mapper, "hit"), {".q3d"}}, tree, tree, mapper, listener);
  listener.run = &run;
  run.Run();
  EXPECT_EQ(run.hit_count(), kSearchHitLimit);
  EXPECT_EQ(run.hits().size(), static_cast<std::size_t>(kSearchHitLimit));
  EXPECT_EQ(run.hits().back(), "R\\f1\\hit399.q3d");
  EXPECT_EQ(tree.listed.size(), 3u);  // the third folder is never opened
  EXPECT_EQ(listener.done, 1);        // reaching the limit is an ordinary end
}

TEST(SearchWalk, CancelStopsAtTheNextEntryWithoutTheEndReport) {
  MemoryTree tree;
  for (int i = 0; i < 50; ++i)
    tree.folders["R\\"].push_back(File("p" + std::to_string(i) + ".q3d"));
  tree.folders["R\\"].push_back(Folder("sub"));
  tree.folders["R\\sub\\"] = {File("p.q3d")};
  FakeMapper mapper;
  CountingListener listener;
  SearchRun run({"R\\", {"P"}, {".q3d"}}, tree, tree, mapper, listener);
  listener.run = &run;
  int entries = 0;
  tree.on_entry = [&] {
    if (++entries == 12) run.Cancel();
  };
  run.Run();
  EXPECT_TRUE(run.cancelled());
  EXPECT_EQ(run.files_examined(), 9);  // entries 3..11 were files
  EXPECT_EQ(run.hits().size(), 9u);
  EXPECT_EQ(listener.done, 0);
  EXPECT_EQ(tree.listed.size(), 1u);

  // A cancel before any wanted file was met stops the walk all the same,
  // without a progress report: a tree without wanted files must not hold
  // the dialog until its end.
  MemoryTree unwanted;
  unwanted.folders["R\\"] = {Folder("a"), File("x.txt"), Folder("b"), File("late.q3d")};
  unwanted.folders["R\\a\\"] = {File("y.txt")};
  unwanted.folders["R\\b\\"] = {};
  CountingListener quiet;
  SearchRun early({"R\\", {"LATE"}, {".q3d"}}, unwanted, unwanted, mapper, quiet);
  int seen = 0;
  unwanted.on_entry = [&] {
    if (++seen == 4) early.Cancel();  // at the first entry of "a"
  };
  early.Run();
  EXPECT_EQ(unwanted.listed, (std::vector<std::string>{"R\\", "R\\a\\"}));
  EXPECT_EQ(early.files_examined(), 0);
  EXPECT_EQ(quiet.progress, 0);
  EXPECT_EQ(quiet.done, 0);
}

TEST(SearchWalk, ProgressPositionAndResultFileAndPlacement) {
  EXPECT_EQ(SearchProgressPosition(0, 200), 0);
  EXPECT_EQ(SearchProgressPosition(1, 3), 33);  // truncated
  EXPECT_EQ(SearchProgressPosition(199, 200), 99);
  EXPECT_EQ(SearchProgressPosition(5, 0), 100);  // no expected count: counted as 1
  EXPECT_EQ(SearchProgressPosition(0, 0), 0);
  EXPECT_EQ(SearchProgressPosition(300, 200), 100);
  EXPECT_EQ(SearchProgressPosition(5, -4), 100);

  EXPECT_EQ(SearchResultText("ソファ  bed", {"C:\\a.q3d", "C:\\表\\b.q3d"}, "\r\n"),
            "#ソファ  bed\r\nC:\\a.q3d\r\nC:\\表\\b.q3d\r\n");
  EXPECT_EQ(SearchResultText("", {}, "\n"), "#\n");

  const DialogOrigin middle = PlaceAboveAnchor(500, 400, 200, 100);
  EXPECT_EQ(middle.left, 400);
  EXPECT_EQ(middle.top, 300);
  const DialogOrigin corner = PlaceAboveAnchor(50, 30, 200, 100);
  EXPECT_EQ(corner.left, 0);
  EXPECT_EQ(corner.top, 0);
}

}  // namespace
}  // namespace kx::hostkit
