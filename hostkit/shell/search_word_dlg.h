// CSearchWordDlg (template 102): asks for the search words, offering the
// history of earlier ones, and keeps the entered text in the history.
#pragma once

#include <windows.h>

#include <string>

#include "common/registry.h"
#include "hostkit/shell/search_history.h"

namespace kx::hostkit {

class CSearchWordDlg {
 public:
  // The dialog goes with its horizontal middle at x and its bottom at y.
  CSearchWordDlg(HWND parent, int x, int y, std::string caption, Registry& registry)
      : parent_(parent), x_(x), y_(y), caption_(std::move(caption)), registry_(registry) {}

  // IDOK or IDCANCEL; -1 when the dialog cannot be shown.
  INT_PTR DoModal();

  // The text of the search box as OK took it.
  const std::string& text() const { return text_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  BOOL OnInitDialog();
  void OnOK();

  HWND window_ = nullptr;
  HWND parent_;
  int x_, y_;
  std::string caption_;
  Registry& registry_;
  SearchHistory history_;
  std::string text_;
};

}  // namespace kx::hostkit
