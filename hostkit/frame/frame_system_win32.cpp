#include "hostkit/frame/frame_system_win32.h"

#include "hostkit/frame/visual_styles_win32.h"

namespace kx::hostkit {
namespace {

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

// The system draws its caption glyphs as characters of "Marlett"; a
// system without it draws other characters in their place.
bool FindSymbolFont() noexcept {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  LOGFONTA wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;  // the face in any character set
  lstrcpynA(wanted.lfFaceName, "Marlett", LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

HDC FrameSystem::GetDCEx(HWND window, HRGN clip, DWORD flags) {
  return ::GetDCEx(window, clip, flags);
}

bool FrameSystem::VisualStylesActive() { return kx::hostkit::VisualStylesActive(); }

void FrameSystem::SwitchVisualStylesOff(HWND window) { kx::hostkit::SwitchVisualStylesOff(window); }

void FrameSystem::GiveVisualStylesBack(HWND window) { kx::hostkit::GiveVisualStylesBack(window); }

bool FrameSystem::SymbolFontPresent() {
  // Fonts are not installed while the host runs, as far as a frame cares.
  static const bool present = FindSymbolFont();
  return present;
}

FrameSystem& RealFrameSystem() {
  // Never destroyed: the registry deletes the frames left at process end,
  // perhaps after the statics made later than it are gone.
  static FrameSystem* const system = new FrameSystem();
  return *system;
}

}  // namespace kx::hostkit
