// The window frame exports: thin wrappers that find the frame behind a
// decorator handle and call it. Nothing escapes as an exception.
#include <memory>

#include "hostkit/frame/frame_registry_win32.h"
#include "hostkit/frame/window_frame_win32.h"
#include "hostkit/include/hostkit.h"

using namespace kx::hostkit;

namespace {

static_assert(HOSTKIT_FRAME_PARTS == kPartCount && HOSTKIT_FRAME_STATES == kStateCount);
static_assert(HOSTKIT_FRAME_SQUARE_BUTTONS == kModeSquareButtons &&
              HOSTKIT_FRAME_FIXED_DC == kModeFixedDc &&
              HOSTKIT_FRAME_KEEP_LOOKS == kModeKeepLooks &&
              HOSTKIT_FRAME_HIDE_MENU_STRIP == kModeHideMenuStrip);
static_assert(HOSTKIT_LOOK_IMAGE == kLookImage && HOSTKIT_LOOK_COLOR == kLookColour &&
              HOSTKIT_LOOK_RIGHT == kAlignRight && HOSTKIT_LOOK_BOTTOM == kAlignBottom &&
              HOSTKIT_LOOK_CENTER == kAlignCenter && HOSTKIT_LOOK_VCENTER == kAlignVCenter);

// QNDFrameProc hands the frame's answer on whole.
static_assert(sizeof(MessageResult) == sizeof(LRESULT));

QNDWindowFrame* FindFrame(int32_t handle) noexcept {
  return dynamic_cast<QNDWindowFrame*>(
      FrameRegistry().FindDecorator(static_cast<std::uint32_t>(handle)));
}

}  // namespace

extern "C" {

int32_t WINAPI QNDFrameCreateEx(HWND window, uint32_t mode, HDC fixedDc) noexcept {
  try {
    auto frame = std::make_unique<QNDWindowFrame>(window, mode, fixedDc);
    return static_cast<int32_t>(FrameRegistry().RegisterDecorator(std::move(frame), true));
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI QNDFrameCreate(HWND window) noexcept { return QNDFrameCreateEx(window, 0, nullptr); }

int32_t WINAPI QNDFrameDelete(int32_t handle) noexcept {
  try {
    std::unique_ptr<QNDWindowDecorator> decorator =
        FrameRegistry().UnregisterDecorator(static_cast<std::uint32_t>(handle));
    return decorator ? 0 : -1;
  } catch (...) {
    return -1;
  }
}

int32_t WINAPI QNDFrameDraw(int32_t handle, int32_t value1, int32_t value2) noexcept {
  try {
    QNDWindowDecorator* decorator =
        FrameRegistry().FindDecorator(static_cast<std::uint32_t>(handle));
    if (decorator == nullptr) return -1;
    decorator->Redraw(value1, value2);
    return 0;
  } catch (...) {
    return -1;
  }
}

int32_t WINAPI QNDFrameSetColor(int32_t handle, int32_t part, int32_t state,
                                uint32_t color) noexcept {
  QNDWindowFrame* frame = FindFrame(handle);
  return frame ? frame->SetLookColor(part, state, color) : -1;
}

int32_t WINAPI QNDFrameSetImage(int32_t handle, int32_t part, int32_t state, int32_t image,
                                uint32_t flags) noexcept {
  QNDWindowFrame* frame = FindFrame(handle);
  return frame ? frame->SetLookImage(part, state, image, flags) : -1;
}

int32_t WINAPI QNDFrameLoadImage(int32_t handle, const char* path) noexcept {
  try {
    QNDWindowFrame* frame = FindFrame(handle);
    if (frame == nullptr || path == nullptr || path[0] == '\0') return -1;
    return frame->LoadImageResource(path, QNDWindowFrame::Resource::kBitmap, 0, 0);
  } catch (...) {
    return -1;
  }
}

int32_t WINAPI QNDFrameProc(int32_t handle, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT* result, int32_t reserved) noexcept {
  (void)reserved;
  try {
    QNDWindowDecorator* decorator =
        FrameRegistry().FindDecorator(static_cast<std::uint32_t>(handle));
    if (decorator == nullptr) return -1;
    MessageResult answer = 0;
    const int status =
        decorator->ProcessMessage(decorator->GetWindow(), message, wParam, lParam, &answer);
    if (result != nullptr) *result = static_cast<LRESULT>(answer);
    return status;
  } catch (...) {
    return -1;
  }
}

}  // extern "C"
