// A stand-in wizard for testing the driver: pages 0, 4, 7 (one per
// configuration), 8 and 9 with the wizard's texts, a "viewer" window and the
// 3D question after Next on page 7, the "next setting" notice after No, and
// the Cancel question.
//
//   fake_wizard [--configs <n>] [--placed]
//
// --placed shows every message box owned by an invisible layered helper, as
// the wizard does when it sits at the top of a small screen. Exit code: 2 when
// ended by Escape or the close box, 3 by the Cancel button, 4 by the Cancel
// button on the success page with the check box checked.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/product_settings.h"
#include "platform/win32/unique_resource.h"

namespace {

constexpr const char* kTitle = "動作チェックウィザード";
constexpr UINT_PTR kQuestionTimer = 1;

class FakeWizard {
 public:
  FakeWizard(int configurations, bool placed) : configurations_(configurations), placed_(placed) {}

  INT_PTR Run(HINSTANCE instance) {
    instance_ = instance;
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(102), nullptr, &FakeWizard::Proc,
                           reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lparam);
    auto* self = reinterpret_cast<FakeWizard*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return self ? self->Handle(dialog, message, wparam, lparam) : FALSE;
  }

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_INITDIALOG:
        dialog_ = dialog;
        for (int id : {146, 147, 148, 149}) {
          pictures_[id - 146].reset(static_cast<HBITMAP>(
              LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        }
        SendMessageA(dialog, WM_SETICON, ICON_BIG,
                     reinterpret_cast<LPARAM>(LoadIconA(instance_, MAKEINTRESOURCEA(128))));
        ShowPage(0);
        return TRUE;
      case WM_CTLCOLORSTATIC:
        if (IsOverPicture(GetDlgCtrlID(reinterpret_cast<HWND>(lparam)))) {
          SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
          SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
          return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return FALSE;
      case WM_TIMER:
        if (wparam == kQuestionTimer) {
          KillTimer(dialog, kQuestionTimer);
          AskAboutTheView();
        }
        return TRUE;
      case WM_COMMAND:
        OnCommand(LOWORD(wparam));
        return TRUE;
      case WM_DESTROY:
        viewer_.reset();
        return FALSE;
    }
    return FALSE;
  }

  static bool IsOverPicture(int id) {
    for (int over : {1005, 1006, 1007, 1009, 1011, 1034, 1035}) {
      if (id == over) return true;
    }
    return false;
  }

  void OnCommand(int id) {
    if (id == IDCANCEL) {
      EndDialog(dialog_, 2);
    } else if (id == 1002) {
      if (page_ == 0) {
        ShowPage(4);
      } else if (page_ == 4) {
        ShowPage(7);
      } else if (page_ == 7) {
        StartTest();
      }
    } else if (id == 1003) {
      const bool final = page_ == 8 || page_ == 9;
      if (!final && Show("動作チェックを中止しますか？", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
      const bool checked = IsDlgButtonChecked(dialog_, 1009) == BST_CHECKED;
      EndDialog(dialog_, page_ == 9 && checked ? 4 : 3);
    } else if (id == 1034) {
      const bool checked = IsDlgButtonChecked(dialog_, 1009) == BST_CHECKED;
      CheckDlgButton(dialog_, 1009, checked ? BST_UNCHECKED : BST_CHECKED);
    }
  }

  void StartTest() {
    EnableWindow(GetDlgItem(dialog_, 1002), FALSE);
    RECT frame;
    GetWindowRect(dialog_, &frame);
    viewer_.reset(CreateWindowExA(
        0, "STATIC", kx::kDefaultViewerTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE | SS_GRAYRECT,
        frame.left, frame.bottom + 10, 480, 200, dialog_, nullptr, instance_, nullptr));
    SetTimer(dialog_, kQuestionTimer, 500, nullptr);
  }

  void AskAboutTheView() {
    const int answer = Show(
        "左側がサンプルで、右側が3Dパースです。\r3Dパースは、サンプルのように表示されましたか？",
        MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) Show("別の設定でテストします。", MB_OK | MB_ICONINFORMATION);
    viewer_.reset();
    EnableWindow(GetDlgItem(dialog_, 1002), TRUE);
    if (answer == IDYES) {
      ShowPage(9);
    } else if (configuration_ < configurations_) {
      ++configuration_;
      ShowPage(7);
    } else {
      ShowPage(8);
    }
  }

  int Show(const char* text, UINT type) {
    if (!placed_) return MessageBoxA(dialog_, text, kTitle, type);
    kx::win::UniqueWindow owner(
        CreateDialogParamA(instance_, MAKEINTRESOURCEA(150), dialog_, &FakeWizard::HelperProc, 0));
    RECT frame;
    GetWindowRect(dialog_, &frame);
    SetWindowPos(owner.get(), nullptr, frame.left, frame.top + 50, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return MessageBoxA(owner.get(), text, kTitle, type);
  }

  static INT_PTR CALLBACK HelperProc(HWND helper, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    SetWindowLongPtrA(helper, GWL_EXSTYLE, GetWindowLongPtrA(helper, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(helper, 0, 0, LWA_ALPHA);
    return TRUE;
  }

  struct PageTexts {
    int page;
    const char* title;
    const char* main;  // page 7: after the configuration's number
    const char* secondary;
    const char* verdict;
    const char* instruction;
    int picture;
  };
  static constexpr PageTexts kPages[] = {
      {0, "3D ドミレルデザイナー\r動作チェックウィザード",
       "お使いのコンピュータで、3D ドミレルデザイナーの動作環境をチェックします。", "", "",
       "[次へ]をクリックしてください。", 146},
      {4, "動作環境の確認",
       "OS: Windows 7 Professional Service Pack 1\r搭載メモリ: 4096MB\r画面解像度: 1280x1024", "",
       "OS、メモリ、画面解像度はOKです。",
       "[次へ]をクリックして、グラフィックスのチェックに進んでください。", 148},
      {7, "3Dグラフィックスのテスト", "つめの設定で、3Dの表示をテストします。",
       "[次へ]ボタンをクリックすると、\r別ウインドウにサンプルと3Dパースを\r表示します。", "",
       "DirectX アンチエイリアス シャドウ", 146},
      {8, "動作チェック終了", "3Dパースの表示ができませんでした。", "", "",
       "ドライバを最新のものにしてお試しください。", 147},
      {9, "動作チェック終了", "正常終了しました。", "", "DirectX シャドウ",
       "これで動作チェックは終了です。", 148},
  };

  void ShowPage(int page) {
    const PageTexts* texts = &kPages[0];
    for (const PageTexts& each : kPages) {
      if (each.page == page) texts = &each;
    }
    page_ = texts->page;
    const bool final = page_ == 8 || page_ == 9;
    const std::string main =
        page_ == 7 ? std::to_string(configuration_) + texts->main : std::string(texts->main);
    SetDlgItemTextA(dialog_, 1001, texts->title);
    SetDlgItemTextA(dialog_, 1005, main.c_str());
    SetDlgItemTextA(dialog_, 1006, texts->secondary);
    SetDlgItemTextA(dialog_, 1035, texts->verdict);
    SetDlgItemTextA(dialog_, 1007, texts->instruction);
    SendDlgItemMessageA(dialog_, 1004, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(pictures_[texts->picture - 146].get()));
    ShowWindow(GetDlgItem(dialog_, 1002), final ? SW_HIDE : SW_SHOW);
    for (int id : {1008, 1011}) ShowWindow(GetDlgItem(dialog_, id), SW_HIDE);
    for (int id : {1009, 1034}) ShowWindow(GetDlgItem(dialog_, id), page_ == 9 ? SW_SHOW : SW_HIDE);
    if (page_ == 9) CheckDlgButton(dialog_, 1009, BST_CHECKED);
    if (final) SetDlgItemTextA(dialog_, 1003, "終了");
    InvalidateRect(dialog_, nullptr, TRUE);
  }

  const int configurations_;
  const bool placed_;
  HINSTANCE instance_ = nullptr;
  HWND dialog_ = nullptr;
  int page_ = 0;
  int configuration_ = 1;
  kx::win::UniqueBitmap pictures_[4];
  kx::win::UniqueWindow viewer_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int configurations = 1;
  bool placed = false;
  for (int i = 1; i < __argc; ++i) {
    if (std::strcmp(__argv[i], "--configs") == 0 && i + 1 < __argc) {
      configurations = std::max(1, std::atoi(__argv[++i]));
    } else if (std::strcmp(__argv[i], "--placed") == 0) {
      placed = true;
    }
  }
  FakeWizard wizard(configurations, placed);
  return static_cast<int>(wizard.Run(instance));
}
