#include "hostkit/render/render_multi_view_dlg.h"

#include "hostkit/render/render_resource.h"

namespace kx::hostkit {
namespace {

// The grid's rows, in the frame's client pixels: a header band, then one
// row per view.
constexpr int kHeaderHeight = 30;
constexpr int kRowHeight = 20;
constexpr int kColumnWidth = 50;
constexpr COLORREF kGridColour = RGB(113, 111, 100);

bool IsListControl(int id) {
  return (id >= IDC_MULTI_RENDER_FIRST && id < IDC_MULTI_NAME_FIRST + kVisibleRows) ||
         id == IDC_MULTI_HEAD_RENDER || id == IDC_MULTI_HEAD_ROOF || id == IDC_MULTI_HEAD_NAME;
}

ScrollCode CodeOf(int request) {
  switch (request) {
    case SB_LINEUP:
      return ScrollCode::kLineUp;
    case SB_LINEDOWN:
      return ScrollCode::kLineDown;
    case SB_PAGEUP:
      return ScrollCode::kPageUp;
    case SB_PAGEDOWN:
      return ScrollCode::kPageDown;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return ScrollCode::kThumb;
    default:
      return ScrollCode::kOther;
  }
}

}  // namespace

int CRenderMultiViewDialog::DoModal(HWND parent, PixelSize image_size) {
  image_size_ = image_size;
  logic_.reset();
  const INT_PTR result =
      DialogBoxParamA(RenderResourceModule(), MAKEINTRESOURCEA(IDD_RENDER_MULTI_VIEW), parent,
                      DialogProc, reinterpret_cast<LPARAM>(this));
  logic_.reset();  // the entries go with the window
  return static_cast<int>(result);
}

INT_PTR CALLBACK CRenderMultiViewDialog::DialogProc(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  auto* self = DialogObject<CRenderMultiViewDialog>(window, message, lparam);
  if (self == nullptr) return FALSE;
  if (message == WM_INITDIALOG) {
    self->OnInitDialog(window);
    return TRUE;
  }
  return self->HandleMessage(message, wparam, lparam);
}

void CRenderMultiViewDialog::OnInitDialog(HWND window) {
  view_.Attach(window);
  list_brush_.reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
  PlaceRows();
  browser_ = std::make_unique<Win32FolderBrowser>(window);
  logic_ = std::make_unique<RenderMultiView>(
      RenderMultiViewServices{view_, registry_, profiles_, folders_, *browser_,
                              args_.service_mode ? &service_ : nullptr},
      args_);
  logic_->SetImageSize(image_size_);
  logic_->OnInitDialog();
}

// The rows sit on the grid, whatever the dialog font makes of the template.
void CRenderMultiViewDialog::PlaceRows() {
  const RECT frame = view_.ControlRect(IDC_MULTI_GRID);
  RECT inner = {};
  GetClientRect(GetDlgItem(view_.window(), IDC_MULTI_GRID), &inner);
  const int left = frame.left + (frame.right - frame.left - inner.right) / 2;
  const int top = frame.top + (frame.bottom - frame.top - inner.bottom) / 2;
  // The frame takes the height of the header and six rows, its top kept.
  const int border = (frame.bottom - frame.top) - inner.bottom;
  SetWindowPos(GetDlgItem(view_.window(), IDC_MULTI_GRID), nullptr, 0, 0, frame.right - frame.left,
               kHeaderHeight + kVisibleRows * kRowHeight + 1 + border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int scroll_width = GetSystemMetrics(SM_CXVSCROLL);
  auto place = [&](int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(view_.window(), id), nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const int name_width = inner.right - 2 * kColumnWidth - scroll_width - 6;
  place(IDC_MULTI_HEAD_RENDER, left + 1, top + 2, kColumnWidth - 2, kHeaderHeight - 4);
  place(IDC_MULTI_HEAD_ROOF, left + kColumnWidth + 1, top + 2, kColumnWidth - 2, kHeaderHeight - 4);
  place(IDC_MULTI_HEAD_NAME, left + 2 * kColumnWidth + 1, top + 2, name_width, kHeaderHeight - 4);
  const int check = GetSystemMetrics(SM_CXMENUCHECK) + 2;
  for (int row = 0; row < kVisibleRows; ++row) {
    const int y = top + kHeaderHeight + row * kRowHeight;
    place(IDC_MULTI_RENDER_FIRST + row, left + (kColumnWidth - check) / 2, y + 2, check,
          kRowHeight - 3);
    place(IDC_MULTI_ROOF_FIRST + row, left + kColumnWidth + (kColumnWidth - check) / 2, y + 2,
          check, kRowHeight - 3);
    place(IDC_MULTI_NAME_FIRST + row, left + 2 * kColumnWidth + 4, y + 3, name_width,
          kRowHeight - 5);
  }
  place(IDC_MULTI_SCROLL, left + inner.right - scroll_width, top + kHeaderHeight, scroll_width,
        kVisibleRows * kRowHeight);
}

INT_PTR CRenderMultiViewDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!logic_) return FALSE;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_VSCROLL:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == IDC_MULTI_SCROLL) OnScroll(wparam);
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlID != IDC_MULTI_GRID) return FALSE;
      DrawGrid(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HWND control = reinterpret_cast<HWND>(lparam);
      if (!IsListControl(GetDlgCtrlID(control))) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, GetSysColor(IsWindowEnabled(control) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      return reinterpret_cast<INT_PTR>(list_brush_.get());
    }
    default:
      return FALSE;
  }
}

void CRenderMultiViewDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id >= IDC_MULTI_RENDER_FIRST && id < IDC_MULTI_RENDER_FIRST + kVisibleRows) {
    logic_->OnRenderCheck(id - IDC_MULTI_RENDER_FIRST);
    return;
  }
  if (id >= IDC_MULTI_ROOF_FIRST && id < IDC_MULTI_ROOF_FIRST + kVisibleRows) {
    logic_->OnRoofCheck(id - IDC_MULTI_ROOF_FIRST);
    return;
  }
  switch (id) {
    case IDC_MULTI_SELECT_ALL:
      logic_->OnSelectAll(true);
      break;
    case IDC_MULTI_CLEAR_ALL:
      logic_->OnSelectAll(false);
      break;
    case IDC_MULTI_BROWSE:
      logic_->OnBrowse();
      break;
    case IDC_MULTI_BACK:
      logic_->OnBack();
      break;
    case IDC_RENDER_START:
      logic_->OnStart();
      break;
    case IDCANCEL:
      logic_->OnCancel();
      break;
    default:
      break;
  }
}

void CRenderMultiViewDialog::OnScroll(WPARAM wparam) {
  logic_->OnScroll(CodeOf(LOWORD(wparam)), static_cast<short>(HIWORD(wparam)));
}

void CRenderMultiViewDialog::DrawGrid(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, list_brush_.get());
  win::UniqueResource<win::GdiObjectTraits<HPEN>> pen(CreatePen(PS_SOLID, 1, kGridColour));
  HGDIOBJ old = SelectObject(dc, pen.get());
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const GridLines grid = GridFor(height);
  for (int y : grid.horizontal_y) {
    MoveToEx(dc, area.left, area.top + y, nullptr);
    LineTo(dc, area.left + width, area.top + y);
  }
  for (int x : grid.vertical_x) {
    MoveToEx(dc, area.left + x, area.top, nullptr);
    LineTo(dc, area.left + x, area.top + height);
  }
  SelectObject(dc, old);
}

}  // namespace kx::hostkit
