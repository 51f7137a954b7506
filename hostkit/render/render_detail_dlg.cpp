#include "hostkit/render/render_detail_dlg.h"

#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
bool CRenderDetailDialog::DoModal(HWND parent, bool& use_bg_lookup) {
  initial_ = use_bg_lookup;
  const INT_PTR result =
      DialogBoxParamA(RenderResourceModule(), MAKEINTRESOURCEA(IDD_RENDER_DETAIL), parent,
                      DialogProc, reinterpret_cast<LPARAM>(this));
  if (result != IDOK || !logic_) return false;
  use_bg_lookup = logic_->use_bg_lookup();
  return true;
}

INT_PTR CALLBACK CRenderDetailDialog::DialogProc(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  auto* self = DialogObject<CRenderDetailDialog>(window, message, lparam);
  if (self == nullptr) return FALSE;
  if (message == WM_INITDIALOG) {
    self->view_.Attach(window);
    self->logic_ = std::make_unique<RenderDetail>(self->view_, self->initial_);
    self->logic_->OnInitDialog();
    return TRUE;
  }
  return self->HandleMessage(message, wparam);
}

INT_PTR CRenderDetailDialog::HandleMessage(UINT message, WPARAM wparam) {
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  if (HIWORD(wparam) != BN_CLICKED) return FALSE;
  switch (id) {
    case IDC_DETAIL_BG_OFF:
    case IDC_DETAIL_BG_ON:
      logic_->OnRadio(id);
      return TRUE;
    case IDOK:
      logic_->OnOk();
      return TRUE;
    case IDCANCEL:
      EndDialog(view_.window(), IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

bool CRenderDetailDialog1::DoModal(HWND parent, RayTracingValues& values) {
  initial_ = values;
  const INT_PTR result =
      DialogBoxParamA(RenderResourceModule(), MAKEINTRESOURCEA(IDD_RENDER_DETAIL1), parent,
                      DialogProc, reinterpret_cast<LPARAM>(this));
  if (result != IDOK || !logic_) return false;
  values = logic_->values();
  return true;
}

INT_PTR CALLBACK CRenderDetailDialog1::DialogProc(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
  auto* self = DialogObject<CRenderDetailDialog1>(window, message, lparam);
  if (self == nullptr) return FALSE;
  if (message == WM_INITDIALOG) {
    self->view_.Attach(window);
    self->logic_ = std::make_unique<RenderDetail1>(self->view_, self->initial_);
    self->logic_->OnInitDialog();
    return TRUE;
  }
  return self->HandleMessage(message, wparam);
}

INT_PTR CRenderDetailDialog1::HandleMessage(UINT message, WPARAM wparam) {
  if (message != WM_COMMAND) return FALSE;
  const int id = LOWORD(wparam);
  const int code = HIWORD(wparam);
  switch (id) {
    case IDC_DETAIL_ZBUFFER:
    case IDC_DETAIL_RAYTRACE:
      if (code == BN_CLICKED) logic_->OnRenderTypeClick();
      return TRUE;
    case IDC_DETAIL_ANTIALIAS:
      if (code == CBN_SELCHANGE) logic_->OnAntiAliasChange();
      return TRUE;
    case IDOK:
      if (code == BN_CLICKED) logic_->OnOk();
      return TRUE;
    case IDCANCEL:
      EndDialog(view_.window(), IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace kx::hostkit
