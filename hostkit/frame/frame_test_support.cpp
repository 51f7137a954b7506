#include "hostkit/frame/frame_test_support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32/unique_resource.h"
#include "tests/win/process.h"

namespace kx::hostkit::test {
namespace {

// The tests run on a virtual desktop of their own, on which the system
// draws captions and borders itself as it does on a real screen. It must be
// chosen before the thread has any window, hence here, before main.
const bool kOwnDesktop = [] {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    static const char kSize[] = "1280x1024";
    RegSetValueExA(key, "kxframe", 0, REG_SZ, reinterpret_cast<const BYTE*>(kSize), sizeof kSize);
    RegCloseKey(key);
  }
  HDESK desktop = CreateDesktopA("kxframe", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  return desktop != nullptr && SetThreadDesktop(desktop);
}();

const char kWindowClass[] = "KxFrameTestWindow";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kInvertingMessage) return ~lparam;
  return DefWindowProcA(window, message, wparam, lparam);
}

std::string BinFolder() { return kx::test::TestProgramFolder() + "..\\bin\\"; }

struct ScreenDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { ReleaseDC(nullptr, dc); }
};
struct MemoryDcTraits {
  using value_type = HDC;
  static HDC invalid() noexcept { return nullptr; }
  static void close(HDC dc) noexcept { DeleteDC(dc); }
};

void WriteBmp(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& top_down) {
  const int row_bytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(row_bytes * height);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return;
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info, sizeof info, 1, out);
  std::vector<unsigned char> row(static_cast<size_t>(row_bytes));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = top_down[static_cast<size_t>(y * width + x)];
      row[static_cast<size_t>(x * 3)] = p & 0xFF;
      row[static_cast<size_t>(x * 3 + 1)] = (p >> 8) & 0xFF;
      row[static_cast<size_t>(x * 3 + 2)] = (p >> 16) & 0xFF;
    }
    std::fwrite(row.data(), row.size(), 1, out);
  }
  std::fclose(out);
}

}  // namespace

bool FrameExports::complete() const noexcept {
  return create && create_ex && remove && draw && set_color && set_image && load_image && proc;
}

FrameExports& Exports() {
  static FrameExports exports = [] {
    FrameExports e;
    e.dll = win::LoadedModule((BinFolder() + "Hostkit.dll").c_str());
    e.create = e.dll.Entry<decltype(QNDFrameCreate)>("QNDFrameCreate");
    e.create_ex = e.dll.Entry<decltype(QNDFrameCreateEx)>("QNDFrameCreateEx");
    e.remove = e.dll.Entry<decltype(QNDFrameDelete)>("QNDFrameDelete");
    e.draw = e.dll.Entry<decltype(QNDFrameDraw)>("QNDFrameDraw");
    e.set_color = e.dll.Entry<decltype(QNDFrameSetColor)>("QNDFrameSetColor");
    e.set_image = e.dll.Entry<decltype(QNDFrameSetImage)>("QNDFrameSetImage");
    e.load_image = e.dll.Entry<decltype(QNDFrameLoadImage)>("QNDFrameLoadImage");
    e.proc = e.dll.Entry<decltype(QNDFrameProc)>("QNDFrameProc");
    return e;
  }();
  return exports;
}

UINT RedrawMessage() { return RegisterWindowMessageA("DomirelDesignerCustomFrameClass_Redraw"); }

TestWindow::TestWindow(const char* title, bool menu, int x, int y, int width, int height) {
  (void)kOwnDesktop;
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = TestWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kWindowClass;
  RegisterClassExA(&window_class);  // fails harmlessly once registered
  if (menu) {
    menu_ = CreateMenu();
    AppendMenuA(menu_, MF_STRING, 100, "ファイル");
    AppendMenuA(menu_, MF_STRING, 101, "編集");
  }
  window_ = CreateWindowExA(0, kWindowClass, title, WS_OVERLAPPEDWINDOW, x, y, width, height,
                            nullptr, menu_, GetModuleHandleA(nullptr), nullptr);
  own_procedure_ = TestWindowProc;
  ShowWindow(window_, SW_SHOWNORMAL);
  SetForegroundWindow(window_);
  SetActiveWindow(window_);
  UpdateWindow(window_);
  Pump();
}

TestWindow::~TestWindow() {
  if (window_) DestroyWindow(window_);  // the menu goes with it
  Pump(20);
}

RECT TestWindow::Frame() const {
  RECT rect = {};
  GetWindowRect(window_, &rect);
  return rect;
}

WNDPROC TestWindow::CurrentProcedure() const {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC));
}

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  } while (static_cast<LONG>(GetTickCount() - end) < 0);
}

std::vector<WPARAM> TakePostedCommands(HWND window) {
  std::vector<WPARAM> commands;
  MSG message;
  while (PeekMessageA(&message, window, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
    commands.push_back(message.wParam & 0xFFF0);
  }
  return commands;
}

LRESULT HitTestAt(HWND window, int x, int y) {
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
}

std::optional<POINT> FindCaptionPart(HWND window, LRESULT code) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  const int y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  int first = -1, last = -1;
  for (int x = frame.left; x < frame.right; ++x) {
    if (HitTestAt(window, x, y) == code) {
      if (first < 0) first = x;
      last = x;
    }
  }
  if (first < 0) return std::nullopt;
  return POINT{(first + last) / 2, y};
}

void RepaintLeftHalfOfCaptionOnBlack(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC dc = GetWindowDC(window);
  const RECT all = {0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(window, dc);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  RECT left_half = {0, 0, width / 2, GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION)};
  OffsetRect(&left_half, r.left - origin.x, r.top - origin.y);  // client coordinates
  RedrawWindow(window, &left_half, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

ScreenImage ScreenImage::Capture(const RECT& wanted) {
  ScreenImage image;
  // A maximised window reaches past the screen's edges: only what is on
  // the screen is read, placed where it lies in the window.
  const RECT screen_area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT area = {};
  if (!IntersectRect(&area, &wanted, &screen_area)) return image;
  image.left_ = area.left - wanted.left;
  image.top_ = area.top - wanted.top;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return image;
  win::UniqueResource<ScreenDcTraits> screen(GetDC(nullptr));
  win::UniqueResource<MemoryDcTraits> memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win::UniqueBitmap section(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!screen || !memory || !section) return image;
  const HGDIOBJ previous = SelectObject(memory.get(), section.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const std::uint32_t*>(bits);
  image.pixels_.assign(source, source + width * height);
  image.width_ = width;
  image.height_ = height;
  SelectObject(memory.get(), previous);
  return image;
}

COLORREF ScreenImage::At(int x, int y) const {
  x -= left_;
  y -= top_;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  const std::uint32_t p = pixels_[static_cast<size_t>(y * width_ + x)] & 0xFFFFFF;
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int ScreenImage::Count(const RECT& rect, COLORREF colour) const {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) count += At(x, y) == colour ? 1 : 0;
  }
  return count;
}

void ScreenImage::SaveIfAsked(const std::string& name) const {
  const char* folder = std::getenv("KX_FRAME_SHOTS");
  if (folder == nullptr || folder[0] == '\0' || width_ == 0) return;
  WriteBmp(std::string(folder) + "\\" + name + ".bmp", width_, height_, pixels_);
}

ScreenImage CaptureWhen(const RECT& area, const std::function<bool(const ScreenImage&)>& ready,
                        int bound_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    ScreenImage image = ScreenImage::Capture(area);
    if (ready(image) || GetTickCount() - start >= static_cast<DWORD>(bound_ms)) return image;
    Pump(50);
  }
}

std::string WriteTwoColourBitmap(int width, int height, COLORREF left, COLORREF right) {
  char folder[MAX_PATH] = {}, path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "kxf", 0, path);
  std::vector<std::uint32_t> pixels(static_cast<size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = x < width / 2 ? left : right;
      pixels[static_cast<size_t>(y * width + x)] =
          (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  WriteBmp(path, width, height, pixels);
  return path;
}

}  // namespace kx::hostkit::test
