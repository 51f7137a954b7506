// Opens RenderDialogDoModal through Hostkit.dll as the host does, on a
// thread of its own (the export runs its dialogs modally on the calling
// thread), so that a test drives the dialogs with the dialog driver, reads
// back what they stored and takes screenshots on request.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <string>

#include "hostkit/include/hostkit.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"
#include "tests/driver/dialog_driver.h"

namespace kx::test {

inline constexpr const char* kSettingsTitle = "レンダリング設定";
inline constexpr const char* kMultiViewTitle = "レンダリング設定　複数視点";
inline constexpr const char* kDetailTitle = "レンダリング方法詳細設定";
inline constexpr const char* kConfirmTitle = "確認";
inline constexpr DWORD kWaitMs = 15000;

// The folder of the installed programs: bin\ beside testbin\.
std::string BinFolder();

// One call of RenderDialogDoModal on a thread of its own.
class RenderCall {
 public:
  struct Arguments {
    int mode = 0;
    int perspective_width = 800, perspective_height = 600;
    int roof_mode = 0;
    std::string key_path;
    std::string view_list_path;
    std::string login;  // the byte string in the slot; service mode
    bool null_login = false;
  };

  explicit RenderCall(Arguments arguments);
  // Ends whatever dialog is still open (a failed test) and waits for the call.
  ~RenderCall();
  RenderCall(const RenderCall&) = delete;
  RenderCall& operator=(const RenderCall&) = delete;

  [[nodiscard]] bool Start();
  // Until the call has returned.
  [[nodiscard]] bool WaitForReturn(DWORD timeout_ms = kWaitMs);
  bool returned() const { return returned_; }

  // What came back.
  int result() const { return result_; }
  int roof_mode() const { return roof_mode_; }
  std::string login() const;

 private:
  static DWORD WINAPI Run(void* self);
  void EndOpenDialogs();

  Arguments arguments_;
  win::LoadedModule hostkit_;
  decltype(&RenderDialogDoModal) entry_ = nullptr;
  win::UniqueHandle thread_;
  DWORD thread_id_ = 0;
  volatile LONG done_ = 0;
  bool returned_ = false;
  int result_ = -1;
  int32_t roof_mode_ = 0;
  BSTR login_ = nullptr;
};

// Saves a picture of `window` to <KX_SHOT_DIR>\<name>.bmp when that
// variable names a folder; nothing otherwise.
void ShotIfAsked(HWND window, const std::string& name);

// The controls of `dialog` whose text (or, for a combo box, whose longest
// item) does not fit in them with the dialog's font, as "id: text" lines;
// empty when everything fits.
std::string TextsThatDoNotFit(HWND dialog);

// A value of the view list file, "?" when missing.
std::string IniValue(const std::string& file, const std::string& section, const std::string& key);

}  // namespace kx::test
