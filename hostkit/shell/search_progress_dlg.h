// CSearchProgressDlg (template 101): runs the parts search on a worker
// thread, shows how far it is, and writes the hits into the result file
// when the search ends or is cancelled.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "hostkit/shell/search_walk.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

inline constexpr UINT WM_SEARCH_PROGRESS = WM_USER + 1;
inline constexpr UINT WM_SEARCH_DONE = WM_USER + 2;

struct SearchDialogRequest {
  HWND parent = nullptr;
  int x = 0, y = 0;  // middle of the dialog's bottom edge
  std::string caption;
  std::string keywords_text;  // as the caller gave it, for the result file
  std::string result_path;
  std::int32_t expected_files = 0;
};

class CSearchProgressDlg final : private SearchListener {
 public:
  CSearchProgressDlg(SearchDialogRequest dialog, SearchRequest search, SearchFiles& files,
                     ModelAttributes& attributes, SearchTextMapper& mapper)
      : dialog_(std::move(dialog)), run_(std::move(search), files, attributes, mapper, *this) {}
  ~CSearchProgressDlg();

  // IDOK when the search ran to its end, IDCANCEL when the user cancelled
  // it, -1 when the dialog could not be shown.
  INT_PTR DoModal();

  std::int32_t files_examined() const { return run_.files_examined(); }
  std::int32_t hit_count() const { return run_.hit_count(); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static DWORD WINAPI SearchFolder(LPVOID self);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  BOOL OnInitDialog();
  void OnSearchProgress();
  void OnSearchDone();
  void OnCancel();
  // Waits for the worker to end; its hits may be read after it.
  void JoinWorker();
  void WriteResultFile() const;

  // SearchListener, on the worker thread.
  void Progress() override;
  void Done() override;

  HWND window_ = nullptr;
  SearchDialogRequest dialog_;
  SearchRun run_;
  win::UniqueHandle worker_;
  // The end of the search has been handled (done or cancelled); whatever
  // the worker posted before it is passed over.
  bool ended_ = false;
};

}  // namespace kx::hostkit
