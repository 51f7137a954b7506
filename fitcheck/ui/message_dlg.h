// Message boxes of the wizard. When the wizard sits at the very top of a
// small screen, a box centred on the wizard would cover it oddly, so it is
// owned by an invisible window placed at the wizard's top left instead.
#pragma once

#include <windows.h>

#include <string>

namespace kx {

// An empty pop-up (dialog 150) that makes itself fully transparent and moves
// to (x, y); message boxes owned by it appear there.
class CMessageDlg {
 public:
  CMessageDlg(int x, int y) : x_(x), y_(y) {}
  // Creates the invisible owner; null on failure.
  HWND Create(HWND parent);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  int x_;
  int y_;
};

// A message box with `caption`; `placed` chooses the invisible owner.
int ShowMessage(HWND wizard, const std::string& text, const std::string& caption, UINT type,
                bool placed);

}  // namespace kx
