// The multi-view rendering dialog (template 106): the Win32 side of
// RenderMultiView, with the six rows laid on the painted grid.
#pragma once

#include <windows.h>

#include <memory>

#include "common/profile_store_win32.h"
#include "hostkit/render/dialog_view_win32.h"
#include "hostkit/render/render_multi_view.h"
#include "hostkit/render/render_platform_win32.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

class CRenderMultiViewDialog {
 public:
  explicit CRenderMultiViewDialog(RenderMultiViewArgs args)
      : args_(std::move(args)), service_(/*with_login=*/false) {}

  // Shows the dialog modally for pictures of `image_size`; the id it ended
  // with, or -1 when it could not be shown.
  int DoModal(HWND parent, PixelSize image_size);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnInitDialog(HWND window);
  void PlaceRows();
  void OnCommand(int id, int code);
  void OnScroll(WPARAM wparam);
  void DrawGrid(const DRAWITEMSTRUCT& item);

  RenderMultiViewArgs args_;
  PixelSize image_size_;
  HvLibrary service_;
  Win32SettingsRegistry registry_;
  Win32ProfileStore profiles_;
  Win32FolderSystem folders_;
  Win32DialogView view_;
  std::unique_ptr<Win32FolderBrowser> browser_;
  std::unique_ptr<RenderMultiView> logic_;
  win::UniqueBrush list_brush_;
};

}  // namespace kx::hostkit
