#include "tests/driver/wizard_pages.h"

namespace kx::test {
namespace {

constexpr const char* kEnvironmentTitle = "動作環境の確認";
constexpr const char* kTestTitle = "3Dグラフィックスのテスト";
constexpr const char* kEndTitle = "動作チェック終了";
constexpr const char* kStartTitleEnd = "\r動作チェックウィザード";

constexpr const char* kSuccessText = "正常終了しました。";
constexpr const char* k3DFailedText = "3Dパースの表示ができませんでした。";
constexpr const char* kNoDirectXText =
    "起動に必要な「DirectX」が、正しくインストールされていません。\r"
    "DirectXのインストールを行ってください。";
constexpr const char* kSummaryStart = "OS: ";
constexpr const char* kMemoryVerdict =
    "メモリが足りません。\r"
    "必要メモリ：Windows 7/Vistaは1GB以上、Windows XPは512MB以上\r"
    "これより少ない場合、操作に支障をきたす場合があります。"
    "メモリ増設をお勧めします。";
constexpr const char* kScreenVerdict =
    "画面解像度は1024x576以上でお使いください。\r"
    "これより小さい場合、操作画面が全部表示されないため、"
    "操作に多少の支障をきたす場合があります。";

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}
bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int PageOf(const PageView& view) {
  if (view.title == kTestTitle) return 7;
  if (view.title == kEnvironmentTitle) {
    if (view.verdict == kMemoryVerdict) return 2;
    if (view.verdict == kScreenVerdict) return 3;
    return 4;
  }
  if (view.title == kEndTitle) {
    if (view.main == kSuccessText) return view.check_visible ? 9 : kUnknownPage;
    if (view.main == k3DFailedText) return 8;
    if (view.main == kNoDirectXText) return 5;
    if (StartsWith(view.main, kSummaryStart)) return 1;
    return kUnknownPage;
  }
  if (EndsWith(view.title, kStartTitleEnd)) return 0;
  return kUnknownPage;
}

bool IsFinalPage(int page) { return page == 1 || page == 5 || page == 8 || page == 9; }

}  // namespace kx::test
