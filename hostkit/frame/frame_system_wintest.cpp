// The frame built into the test program itself, given a system that takes
// the roads the system at hand does not: Windows refusing the context of a
// WM_NCPAINT, visual styles in use, the symbol font present or missing.
#include <windows.h>
// windows.h first
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "hostkit/frame/frame_registry_win32.h"
#include "hostkit/frame/frame_test_support.h"
#include "hostkit/frame/window_frame_win32.h"

namespace kx::hostkit::test {
namespace {

constexpr COLORREF kCaption = RGB(200, 30, 30);
constexpr COLORREF kBorder = RGB(10, 20, 200);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class ScriptedSystem : public FrameSystem {
 public:
  bool refuse_dc = false;
  bool styles_active = false;
  bool symbol_font = false;
  int refused = 0;
  std::vector<HWND> styles_given_back;

  HDC GetDCEx(HWND window, HRGN clip, DWORD flags) override {
    if (!refuse_dc) return FrameSystem::GetDCEx(window, clip, flags);
    ++refused;
    return nullptr;
  }
  bool VisualStylesActive() override { return styles_active; }
  void SwitchVisualStylesOff(HWND) override {}
  void GiveVisualStylesBack(HWND window) override { styles_given_back.push_back(window); }
  bool SymbolFontPresent() override { return symbol_font; }
};

// A frame of this program's own, attached to its window as the exports do.
std::uint32_t Attach(HWND window, std::uint32_t mode, FrameSystem& system,
                     QNDWindowFrame** frame = nullptr) {
  auto made = std::make_unique<QNDWindowFrame>(window, mode, nullptr, system);
  if (frame) *frame = made.get();
  return FrameRegistry().RegisterDecorator(std::move(made), true);
}

bool Detach(std::uint32_t handle) { return FrameRegistry().UnregisterDecorator(handle) != nullptr; }

// A bitmap of the window's size to paint into, white to begin with.
class Canvas {
 public:
  Canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    previous_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const noexcept { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

TEST(FrameSystemTest, RefusedNonClientContextPaintsThroughTheWindowContext) {
  ScriptedSystem system;
  system.refuse_dc = true;
  TestWindow window("枠");
  QNDWindowFrame* frame = nullptr;
  const std::uint32_t handle = Attach(window.get(), kModeKeepLooks, system, &frame);
  ASSERT_NE(handle, 0u);
  for (const int state : {kStateActive, kStateInactive}) {
    frame->SetLookColor(kPartCaption, state, kCaption);
    frame->SetLookColor(kPartLeftBorder, state, kBorder);
  }
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);

  // The system asks for the left half of the caption band: that much is
  // painted, nothing beyond it.
  RepaintLeftHalfOfCaptionOnBlack(window.get());
  const ScreenImage part = CaptureWhen(
      r, [&](const ScreenImage& i) { return i.At(width / 4, fy + caption / 2) == kCaption; });
  part.SaveIfAsked("frame_refused_dc_left_half");
  EXPECT_GT(system.refused, 0);
  EXPECT_EQ(part.At(width / 4, fy + caption / 2), kCaption) << "caption in the region";
  EXPECT_EQ(part.At(width * 3 / 4, fy + caption / 2), kBlack) << "caption outside it";
  EXPECT_EQ(part.At(fx / 2, height / 2), kBlack) << "left border outside it";

  // The whole frame (the message carries 1 for a region).
  SendMessageA(window.get(), WM_NCPAINT, 1, 0);
  const ScreenImage whole = CaptureWhen(
      r, [&](const ScreenImage& i) { return i.At(width * 3 / 4, fy + caption / 2) == kCaption; });
  whole.SaveIfAsked("frame_refused_dc_whole");
  EXPECT_EQ(whole.At(width * 3 / 4, fy + caption / 2), kCaption);
  EXPECT_EQ(whole.At(fx / 2, height / 2), kBorder);
  EXPECT_TRUE(Detach(handle));
}

TEST(FrameSystemTest, VisualStylesComeBackWhenTheWindowsLastFrameGoes) {
  ScriptedSystem system;
  system.styles_active = true;
  TestWindow window("枠");
  TestWindow other("他", false, 700, 500, 300, 200);
  QNDWindowFrame* frame = nullptr;
  const std::uint32_t lower = Attach(window.get(), 0, system, &frame);
  const std::uint32_t upper = Attach(window.get(), 0, system);
  const std::uint32_t elsewhere = Attach(other.get(), 0, system);
  ASSERT_TRUE(lower && upper && elsewhere);
  EXPECT_EQ(frame->mode() & kModeThemed, kModeThemed);

  EXPECT_TRUE(Detach(lower));
  EXPECT_TRUE(system.styles_given_back.empty()) << "the upper frame still draws";
  EXPECT_TRUE(Detach(elsewhere));
  EXPECT_EQ(system.styles_given_back, std::vector<HWND>{other.get()});
  EXPECT_TRUE(Detach(upper));
  EXPECT_EQ(system.styles_given_back, (std::vector<HWND>{other.get(), window.get()}));
}

TEST(FrameSystemTest, CaptionGlyphsAreTheSystemsWhereItsSymbolFontIs) {
  TestWindow window("枠");
  const RECT r = window.Frame();
  const int width = r.right - r.left, height = r.bottom - r.top;
  const RECT at_origin = {0, 0, width, height};
  for (const bool font : {true, false}) {
    ScriptedSystem system;
    system.symbol_font = font;
    QNDWindowFrame frame(window.get(), 0, nullptr, system);  // not attached: painted by hand
    const Rect b = frame.parts().Resolve(kPartClose, Rect{0, 0, width, height});
    RECT button = {b.left, b.top, b.right, b.bottom};
    for (const int state : {kStateActive, kStatePressed}) {
      Canvas painted(width, height), system_glyph(width, height);
      frame.PaintPart(painted.dc(), kPartClose, state, at_origin);
      DrawFrameControl(system_glyph.dc(), &button, DFC_CAPTION,
                       DFCS_CAPTIONCLOSE | (state == kStatePressed ? DFCS_PUSHED : 0));
      int differing = 0, ink = 0;
      for (int y = b.top; y < b.bottom; ++y) {
        for (int x = b.left; x < b.right; ++x) {
          differing += GetPixel(painted.dc(), x, y) != GetPixel(system_glyph.dc(), x, y);
          ink += GetPixel(painted.dc(), x, y) == GetSysColor(COLOR_BTNTEXT);
        }
      }
      EXPECT_GT(ink, 4) << "font " << font << " state " << state;
      if (font) {
        EXPECT_EQ(differing, 0) << "the system's own glyph, state " << state;
      } else {
        EXPECT_GT(differing, 0) << "drawn with lines, state " << state;
      }
    }
  }
}

}  // namespace
}  // namespace kx::hostkit::test
