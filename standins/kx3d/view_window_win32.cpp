#include "standins/kx3d/view_window_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/unique_resource.h"

namespace kx::kx3d {
namespace {

std::size_t DibStride(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

COLORREF SkyColour() {
  const auto channel = [](float c) { return static_cast<BYTE>(c * 255.0f + 0.5f); };
  return RGB(channel(kSkyColour[0]), channel(kSkyColour[1]), channel(kSkyColour[2]));
}

}  // namespace

std::unique_ptr<Win32ViewWindow> Win32ViewWindow::Attach(HWND window) noexcept {
  if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
    return nullptr;
  }
  std::unique_ptr<Win32ViewWindow> view(new (std::nothrow) Win32ViewWindow(window));
  if (!view) return nullptr;
  const auto self = reinterpret_cast<DWORD_PTR>(view.get());
  if (!SetWindowSubclass(window, &Win32ViewWindow::Procedure, self, self)) return nullptr;
  view->attached_ = true;
  return view;
}

Win32ViewWindow::~Win32ViewWindow() {
  if (!attached_) return;
  RemoveWindowSubclass(window_, &Win32ViewWindow::Procedure, reinterpret_cast<UINT_PTR>(this));
  // The window shows what it would show without the engine again.
  InvalidateRect(window_, nullptr, TRUE);
}

bool Win32ViewWindow::ClientSize(int* width, int* height) noexcept {
  RECT client;
  if (!attached_ || !GetClientRect(window_, &client)) return false;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return true;
}

void Win32ViewWindow::Show(const FrameImage& frame) noexcept {
  if (!attached_) return;
  const std::size_t stride = DibStride(frame.width);
  try {
    rows_.assign(stride * static_cast<std::size_t>(frame.height), 0);
  } catch (...) {
    return;
  }
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(&rows_[stride * static_cast<std::size_t>(y)], frame.Pixel(0, y),
                static_cast<std::size_t>(frame.width) * 3);
  }
  width_ = frame.width;
  height_ = frame.height;
  HDC dc = GetDC(window_);
  if (dc == nullptr) return;
  Paint(dc);
  ReleaseDC(window_, dc);
  // Painted now: a pending paint would only paint the same again.
  ValidateRect(window_, nullptr);
}

// The picture at the top left; whatever of the window it does not cover
// (before the view is fitted to a grown window) in the sky colour.
void Win32ViewWindow::Paint(HDC dc) noexcept {
  RECT client;
  GetClientRect(window_, &client);
  if (width_ > 0 && height_ > 0) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                      static_cast<UINT>(height_), rows_.data(), &info, DIB_RGB_COLORS);
  }
  kx::win::UniqueBrush sky(CreateSolidBrush(SkyColour()));
  const RECT right{std::min<LONG>(width_, client.right), 0, client.right, client.bottom};
  const RECT below{0, std::min<LONG>(height_, client.bottom), std::min<LONG>(width_, client.right),
                   client.bottom};
  if (right.left < right.right) FillRect(dc, &right, sky.get());
  if (below.top < below.bottom && below.left < below.right) FillRect(dc, &below, sky.get());
}

LRESULT CALLBACK Win32ViewWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                            UINT_PTR id, DWORD_PTR self_data) noexcept {
  auto* self = reinterpret_cast<Win32ViewWindow*>(self_data);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the picture covers the window
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) {
        self->Paint(dc);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      // Asked to paint into a picture (PrintWindow): the last picture too.
      self->Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, &Win32ViewWindow::Procedure, id);
      self->attached_ = false;
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace kx::kx3d
