// The wizard's pages as one table: what each page sets, and what it leaves
// as the page before it had it.
#include <gtest/gtest.h>

#include <optional>

#include "tests/fakes/wizard_harness.h"

namespace kx {
namespace {

using Strings = std::vector<std::string>;
using test::WizardHarness;

constexpr const char* kStartTitle = "3D ドミレルデザイナー\r動作チェックウィザード";
constexpr const char* kStartText = "お使いのコンピュータで、3D ドミレルデザイナーの動作環境をチェックします。";

enum class Next { kShown, kHidden, kKept };

struct PageRow {
  int page;
  int from;  // the page shown before it
  const char* title;
  const char* main_text;    // 1005; null: kept
  const char* second_text;  // 1006; null: kept
  const char* verdict;      // 1035; null: kept
  const char* instruction;  // 1007; null: kept
  int picture;              // 0: kept
  Next next;
  int progress;                        // -1: kept
  std::optional<bool> confirm_cancel;  // none: kept
  Strings logged;
  bool finish_caption;  // Cancel reads "終了"
};

// The wizard's page table; pages 1 to 4 leave 1005 to the environment check
// that shows them, page 7 to the announcement, and page 9 its verdict to the
// success that shows it.
const PageRow kPages[] = {
    {0, 0, kStartTitle, kStartText, "", "", TEXT_CLICK_NEXT, IDB_PAGE_START, Next::kShown, -1, true, {}, false},
    {1, 0, TEXT_TITLE_END, nullptr, nullptr, TEXT_OS_NOT_SUPPORTED, "", IDB_PAGE_PROBLEM, Next::kHidden, 100,
     false, {TEXT_OS_NOT_SUPPORTED}, true},
    {2, 0, TEXT_TITLE_ENVIRONMENT, nullptr, nullptr, TEXT_MEMORY_LOW, TEXT_NEXT_TO_SCREEN, IDB_PAGE_WARNING,
     Next::kKept, 14, false, {TEXT_MEMORY_LOW}, false},
    {3, 0, TEXT_TITLE_ENVIRONMENT, nullptr, nullptr, TEXT_SCREEN_SMALL, TEXT_NEXT_TO_GRAPHICS, IDB_PAGE_WARNING,
     Next::kKept, 23, false, {TEXT_SCREEN_SMALL}, false},
    {4, 0, TEXT_TITLE_ENVIRONMENT, nullptr, nullptr, TEXT_ENVIRONMENT_OK, TEXT_NEXT_TO_GRAPHICS, IDB_PAGE_OK,
     Next::kShown, 23, true, {TEXT_ENVIRONMENT_OK}, false},
    {4, 2, TEXT_TITLE_ENVIRONMENT, nullptr, nullptr, TEXT_ENVIRONMENT_OK_MEMORY, TEXT_NEXT_TO_GRAPHICS,
     IDB_PAGE_WARNING, Next::kShown, 23, true, {TEXT_ENVIRONMENT_OK_MEMORY}, false},
    {5, 0, TEXT_TITLE_END, TEXT_NO_DIRECTX, "", TEXT_DIRECTX_SITE, TEXT_DIRECTX_DISC, IDB_PAGE_PROBLEM,
     Next::kHidden, 100, false, {}, true},
    {6, 0, TEXT_TITLE_END, nullptr, nullptr, nullptr, nullptr, 0, Next::kKept, -1, std::nullopt, {}, false},
    {7, 0, TEXT_TITLE_TEST, nullptr, TEXT_TEST_HINT, "", nullptr, IDB_PAGE_START, Next::kKept, -1, std::nullopt,
     {}, false},
    {8, 0, TEXT_TITLE_END, TEXT_3D_FAILED, "", TEXT_DRIVER_PROBLEM, TEXT_DRIVER_SOURCE, IDB_PAGE_PROBLEM,
     Next::kHidden, 100, false, {TEXT_3D_FAILED}, true},
    {9, 0, TEXT_TITLE_END, TEXT_DONE, "", nullptr, TEXT_CHECK_OVER, IDB_PAGE_OK, Next::kHidden, 100, true,
     {TEXT_DONE}, true},
};

TEST(WizardPagesTest, EveryPageAsTheTableSays) {
  constexpr int kProgressBefore = 57;
  for (const PageRow& row : kPages) {
    // Next as the page before left it, shown or hidden: a page that does not
    // touch it must leave it either way.
    for (const bool next_before : {true, false}) {
      SCOPED_TRACE("page " + std::to_string(row.page) + " from " + std::to_string(row.from) +
                   (next_before ? ", Next shown before" : ", Next hidden before"));
      WizardHarness h;
      h.Start();
      if (row.from != 0) h.wizard->ShowPage(row.from);
      h.view.ShowControl(IDC_NEXT, next_before);
      h.view.SetProgress(kProgressBefore);
      h.view.picture = 0;
      h.view.texts.erase(IDC_CANCEL_BUTTON);
      const std::size_t logged_before = h.Logged().size();

      h.wizard->ShowPage(row.page);
      auto& v = h.view;
      EXPECT_EQ(h.wizard->Page(), row.page);
      EXPECT_EQ(v.texts[IDC_PAGE_TITLE], row.title);
      EXPECT_EQ(v.texts[IDC_MAIN_TEXT], row.main_text ? row.main_text : kStartText);
      // A kept text is as the start page left it.
      EXPECT_EQ(v.texts[IDC_SECOND_TEXT], row.second_text ? row.second_text : "");
      EXPECT_EQ(v.texts[IDC_VERDICT_TEXT], row.verdict ? row.verdict : "");
      EXPECT_EQ(v.texts[IDC_INSTRUCTION], row.instruction ? row.instruction : TEXT_CLICK_NEXT);
      EXPECT_EQ(v.picture, row.picture);
      const bool next_shown = row.next == Next::kKept ? next_before : row.next == Next::kShown;
      EXPECT_EQ(v.Visible(IDC_NEXT), next_shown);
      EXPECT_EQ(v.progress, row.progress < 0 ? kProgressBefore : row.progress);
      EXPECT_EQ(h.wizard->ConfirmCancel(), row.confirm_cancel.value_or(true));
      const Strings log = h.Logged();
      EXPECT_EQ(Strings(log.begin() + static_cast<std::ptrdiff_t>(logged_before), log.end()), row.logged);
      EXPECT_EQ(v.texts.count(IDC_CANCEL_BUTTON) ? v.texts[IDC_CANCEL_BUTTON] : "", row.finish_caption ? "終了" : "");
      EXPECT_EQ(v.main_text_at_title_edge, row.page == 0 || row.page == 7);

      // Controls that only some pages show.
      EXPECT_EQ(v.Visible(IDC_INSTALL_DIRECTX), row.page == 5);
      EXPECT_EQ(v.Visible(IDC_DIRECTX_LINK), row.page == 5);
      EXPECT_EQ(v.Visible(IDC_SWITCH_SETTINGS), row.page == 9);
      EXPECT_EQ(v.Visible(IDC_SWITCH_LABEL), row.page == 9);
      EXPECT_EQ(v.IsChecked(IDC_SWITCH_SETTINGS), row.page == 9);
      EXPECT_EQ(v.instruction_growth, row.page == 8 ? 20 : 0);
    }
  }
}

TEST(WizardPagesTest, TheSuccessDescriptionStartsWithTheStringTablesHeading) {
  WizardHarness h;
  h.view.replaced_strings[IDS_RESULT_HEADING] = "見出し";
  h.ToFirstTest();
  h.wizard->OnNext();
  h.ViewerStarts();
  h.ResultCode("0");
  h.ViewShown();
  h.ViewerEnds();
  ASSERT_EQ(h.wizard->Page(), 9);
  const std::string description =
      "見出し\rDirectX\r　・アンチエイリアスを有効\r　・影を落とす\r　・フォンシェーディングを有効";
  EXPECT_EQ(h.view.texts[IDC_VERDICT_TEXT], description);
  // The page's own line, then the description.
  const Strings log = h.Logged();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(Strings(log.end() - 3, log.end() - 1), (Strings{TEXT_DONE, description}));
}

TEST(WizardPlacementTest, WorkAreaAwayFromTheOrigin) {
  // Task bars at the left and the top: the work area starts at 100, 40.
  const WizardPlacement p = PlaceWizard({100, 40, 1380, 1064}, {0, 0, 360, 380});
  EXPECT_EQ(p.x, 100 + (1280 - 360) / 2);
  EXPECT_EQ(p.y, 40 + (1024 - 380 - 360) / 3);
  EXPECT_FALSE(p.placed);
  // Too low for the viewer below: pushed to 5 from the screen's top, not
  // from the work area's.
  const WizardPlacement low = PlaceWizard({100, 40, 1380, 640}, {0, 0, 360, 380});
  EXPECT_EQ(low.x, 560);
  EXPECT_EQ(low.y, 5);
  EXPECT_TRUE(low.placed);
  // Room enough within a work area that starts low on the screen.
  const WizardPlacement offset = PlaceWizard({0, 300, 1280, 1400}, {0, 0, 360, 380});
  EXPECT_EQ(offset.y, 300 + (1100 - 380 - 360) / 3);
}

}  // namespace
}  // namespace kx
