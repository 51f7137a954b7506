// The method detail dialogs (templates 105 and 146): modal over the
// settings dialog, values given back only on OK.
#pragma once

#include <windows.h>

#include <memory>

#include "hostkit/render/dialog_view_win32.h"
#include "hostkit/render/render_detail.h"

namespace kx::hostkit {

class CRenderDetailDialog {
 public:
  // True on OK, with the flag taken over.
  bool DoModal(HWND parent, bool& use_bg_lookup);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam);

  Win32DialogView view_;
  std::unique_ptr<RenderDetail> logic_;
  bool initial_ = false;
};

class CRenderDetailDialog1 {
 public:
  // True on OK, with the values taken over.
  bool DoModal(HWND parent, RayTracingValues& values);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam);

  Win32DialogView view_;
  std::unique_ptr<RenderDetail1> logic_;
  RayTracingValues initial_;
};

}  // namespace kx::hostkit
