// Static controls made into hyperlinks: white text, underlined while the
// mouse is over them, a hand cursor, a focus rectangle, opened by a click or
// the space key with the shell's "open" verb.
#pragma once

#include <windows.h>

#include <string>

namespace kx {

class CHyperLink {
 public:
  CHyperLink() = default;
  virtual ~CHyperLink() = default;
  CHyperLink(const CHyperLink&) = delete;
  CHyperLink& operator=(const CHyperLink&) = delete;

  // Makes `control` a link to `target` (replacing any earlier target).
  void Attach(HWND control, const std::string& target);
  bool Visited() const { return visited_; }
  const std::string& Target() const { return target_; }

 protected:
  virtual void OnHoverOn() {}
  virtual void OnHoverOff() {}
  HWND control() const { return control_; }

 private:
  static LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void DrawFocus();
  void Open();
  void Repaint();

  std::string target_;
  bool visited_ = false;
  HFONT previous_font_ = nullptr;
  WNDPROC previous_proc_ = nullptr;
  bool hovering_ = false;
  HWND control_ = nullptr;
};

// The DirectX download link: tells the main window's status line what it
// points to while the mouse is over it.
class CDirXLink final : public CHyperLink {
 protected:
  void OnHoverOn() override;
  void OnHoverOff() override;
};

}  // namespace kx
