#include "hostkit/render/render_setting_dlg.h"

#include "hostkit/render/render_detail_dlg.h"
#include "hostkit/render/render_resource.h"

namespace kx::hostkit {

int CRenderSettingDialog::DoModal(HWND parent) {
  carried_.reset();
  if (logic_ && ended_ == IDC_RENDER_MULTI) carried_ = logic_->choices();
  logic_.reset();
  const INT_PTR result =
      DialogBoxParamA(RenderResourceModule(), MAKEINTRESOURCEA(IDD_RENDER_SETTING), parent,
                      DialogProc, reinterpret_cast<LPARAM>(this));
  ended_ = static_cast<int>(result);
  return ended_;
}

INT_PTR CALLBACK CRenderSettingDialog::DialogProc(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
  auto* self = DialogObject<CRenderSettingDialog>(window, message, lparam);
  if (self == nullptr) return FALSE;
  if (message == WM_INITDIALOG) {
    self->view_.Attach(window);
    self->logic_ = std::make_unique<RenderSetting>(
        RenderSettingServices{self->view_, self->registry_, self->profiles_, *self,
                              self->args_.service_mode ? &self->service_ : nullptr},
        self->args_);
    if (self->carried_) self->logic_->CarryOver(*self->carried_);
    self->logic_->OnInitDialog();
    return TRUE;
  }
  return self->HandleMessage(message, wparam);
}

INT_PTR CRenderSettingDialog::HandleMessage(UINT message, WPARAM wparam) {
  if (message != WM_COMMAND || !logic_) return FALSE;
  OnCommand(LOWORD(wparam), HIWORD(wparam));
  return TRUE;
}

void CRenderSettingDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_RENDER_VIEW:
    case IDC_RENDER_METHOD:
    case IDC_RENDER_SIZING:
    case IDC_RENDER_SIZE_PRESET:
    case IDC_RENDER_PAPER:
    case IDC_RENDER_RESOLUTION:
      if (code == CBN_SELCHANGE) logic_->OnSelectionChange(id);
      break;
    case IDC_RENDER_WIDTH:
    case IDC_RENDER_HEIGHT:
    case IDC_RENDER_DPI:
    case IDC_RENDER_MARGIN_LEFT:
    case IDC_RENDER_MARGIN_RIGHT:
    case IDC_RENDER_MARGIN_TOP:
    case IDC_RENDER_MARGIN_BOTTOM:
      if (code == EN_CHANGE) logic_->OnEditChange(id);
      if (code == EN_KILLFOCUS) {
        HWND focus = GetFocus();
        logic_->OnEditKillFocus(
            id, focus && GetParent(focus) == view_.window() ? GetDlgCtrlID(focus) : 0);
      }
      break;
    case IDC_RENDER_START:
    case IDC_RENDER_TEST:
    case IDC_RENDER_MULTI:
    case IDCANCEL:
      if (code == BN_CLICKED) logic_->OnButton(id);
      break;
    default:
      break;
  }
}

bool CRenderSettingDialog::EditBackground(bool& use_bg_lookup) {
  CRenderDetailDialog dialog;
  return dialog.DoModal(view_.window(), use_bg_lookup);
}

bool CRenderSettingDialog::EditRayTracing(RayTracingValues& values) {
  CRenderDetailDialog1 dialog;
  return dialog.DoModal(view_.window(), values);
}

}  // namespace kx::hostkit
