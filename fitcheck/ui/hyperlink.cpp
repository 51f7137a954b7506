#include "fitcheck/ui/hyperlink.h"

#include <shellapi.h>

namespace kx {
namespace {

constexpr UINT kSetMessageString = 0x0362;  // the framework's status-prompt message
constexpr WPARAM kIdlePrompt = 0xE001;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Shared by every link of the process.
struct LinkShared {
  ATOM property = 0;  // names the link object on a control and the previous
                      // procedure on a subclassed parent
  HFONT underlined = nullptr;
  HCURSOR hand = nullptr;
  int live = 0;
};

LinkShared& Shared() {
  static LinkShared shared = [] {
    LinkShared s;
    s.property = GlobalAddAtomA("_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}");
    return s;
  }();
  return shared;
}

LPCSTR PropertyName() { return MAKEINTATOM(Shared().property); }

}  // namespace

void CHyperLink::Attach(HWND control, const std::string& target) {
  target_ = target;
  if (control_ == control) return;
  control_ = control;
  LinkShared& shared = Shared();

  HWND parent = GetParent(control);
  if (!GetPropA(parent, PropertyName())) {
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc)));
    SetPropA(parent, PropertyName(), reinterpret_cast<HANDLE>(previous));
  }

  SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
  previous_font_ = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (shared.live == 0) {
    LOGFONTA font = {};
    GetObjectA(previous_font_ ? static_cast<HGDIOBJ>(previous_font_) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof font, &font);
    font.lfUnderline = TRUE;
    shared.underlined = CreateFontIndirectA(&font);
    shared.hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
    if (!shared.hand) shared.hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  }
  ++shared.live;
  SetPropA(control, PropertyName(), reinterpret_cast<HANDLE>(this));
  previous_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
}

LRESULT CALLBACK CHyperLink::ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, PropertyName()));
  if (!previous) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_CTLCOLORSTATIC && GetPropA(reinterpret_cast<HWND>(lparam), PropertyName())) {
    const LRESULT brush = CallWindowProcA(previous, window, message, wparam, lparam);
    SetTextColor(reinterpret_cast<HDC>(wparam), kWhite);
    return brush;
  }
  if (message == WM_DESTROY) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropA(window, PropertyName());
  }
  return CallWindowProcA(previous, window, message, wparam, lparam);
}

LRESULT CALLBACK CHyperLink::LinkProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* link = reinterpret_cast<CHyperLink*>(GetPropA(window, PropertyName()));
  if (!link) return DefWindowProcA(window, message, wparam, lparam);
  return link->HandleMessage(message, wparam, lparam);
}

LRESULT CHyperLink::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND window = control_;
  const WNDPROC previous = previous_proc_;
  switch (message) {
    case WM_DESTROY: {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(previous_font_), FALSE);
      LinkShared& shared = Shared();
      if (--shared.live == 0 && shared.underlined) {
        DeleteObject(shared.underlined);
        shared.underlined = nullptr;
      }
      RemovePropA(window, PropertyName());
      control_ = nullptr;
      return CallWindowProcA(previous, window, message, wparam, lparam);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (message == WM_SETFOCUS) {
        OnHoverOn();
      } else {
        OnHoverOff();
      }
      DrawFocus();
      return 0;
    case WM_SETCURSOR:
      SetCursor(Shared().hand);
      return TRUE;
    case WM_LBUTTONUP:
      Open();
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE) {
        Open();
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (!hovering_) {
        hovering_ = true;
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Shared().underlined), FALSE);
        Repaint();
        OnHoverOn();
        SetCapture(window);
      } else {
        RECT client;
        GetClientRect(window, &client);
        const POINT point = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (!PtInRect(&client, point)) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      hovering_ = false;
      OnHoverOff();
      SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(previous_font_), FALSE);
      Repaint();
      return 0;
    default:
      break;
  }
  return CallWindowProcA(previous, window, message, wparam, lparam);
}

void CHyperLink::DrawFocus() {
  // XOR drawing: the second call removes the rectangle again.
  HWND parent = GetParent(control_);
  RECT rect;
  GetWindowRect(control_, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  InflateRect(&rect, 1, 1);
  HDC dc = GetDC(parent);
  DrawFocusRect(dc, &rect);
  ReleaseDC(parent, dc);
}

void CHyperLink::Open() {
  ShellExecuteA(nullptr, "open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  visited_ = true;
}

void CHyperLink::Repaint() {
  // The link is drawn over the page picture: repaint what lies beneath too.
  HWND parent = GetParent(control_);
  RECT rect;
  GetWindowRect(control_, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CDirXLink::OnHoverOn() {
  SendMessageA(GetAncestor(control(), GA_ROOT), kSetMessageString, 0,
               reinterpret_cast<LPARAM>(Target().c_str()));
}

void CDirXLink::OnHoverOff() {
  SendMessageA(GetAncestor(control(), GA_ROOT), kSetMessageString, kIdlePrompt, 0);
}

}  // namespace kx
