// What the wizard's logic asks of its dialog window and of the platform
// around a viewer run. The Win32 dialog implements both.
#pragma once

#include <cstdint>
#include <string>

namespace kx {

enum class MessageStyle {
  kInformation,  // OK, information icon
  kExclamation,  // OK, exclamation icon
  kQuestion,     // Yes/No, question icon
};
enum class MessageAnswer { kOk, kYes, kNo };

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

class WizardView {
 public:
  virtual ~WizardView() = default;
  virtual std::string LoadText(int string_id) = 0;  // a string-table text
  virtual void SetText(int control_id, const std::string& text) = 0;
  virtual void ShowControl(int control_id, bool shown) = 0;
  virtual void EnableControl(int control_id, bool enabled) = 0;
  virtual bool IsChecked(int control_id) = 0;
  virtual void SetChecked(int control_id, bool checked) = 0;
  virtual void SetPicture(int bitmap_id) = 0;
  virtual void SetProgress(int position) = 0;
  // Text 1005 starts at the left edge of the page title (pages 0 and 7) or
  // at its place beside the picture.
  virtual void PlaceMainText(bool at_title_edge) = 0;
  // Text 1007 grows upward by `pixels`, its bottom kept.
  virtual void GrowInstructionUpward(int pixels) = 0;
  // A message box titled with the wizard's caption; when `placed`, it is
  // owned by an invisible window at the wizard's top left.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageStyle style, bool placed) = 0;
  virtual ScreenRect WorkArea() = 0;
  virtual ScreenRect WindowRect() = 0;
  virtual void MoveWindowTo(int x, int y) = 0;
  virtual void EndDialog(int result) = 0;
  // The dialog window's handle value, as a 32-bit signed number.
  virtual std::int32_t WindowValue() = 0;
};

// The platform side of one viewer run.
class ViewerPlatform {
 public:
  virtual ~ViewerPlatform() = default;
  // Starts the worker thread that starts the viewer with `command_line`,
  // waits for it and reports, naming `test`, its start (OnViewerStarted),
  // its end (notification 3) or a failed start (notification 4, detail 2)
  // through Wizard::OnWorkerReport.
  [[nodiscard]] virtual bool StartViewerWorker(const std::string& command_line, unsigned test) = 0;
  // Looks for the viewer's top-level window by its title and remembers it.
  virtual bool FindViewerWindow(const std::string& title) = 0;
  // Posts the close request to the window found last, naming the dialog.
  virtual void PostCloseToViewer() = 0;
  // The close watch: a periodic one-second timer that terminates the viewer
  // process on its fourth tick.
  virtual void StartCloseWatch() = 0;
  virtual void StopCloseWatch() = 0;
  // Ends a viewer that no test of this wizard started, left running by an
  // earlier run: its window is found by `title`, asked to close (naming no
  // window, so that nothing is sent back) and its process terminated when it
  // has not ended after the close watch's four seconds. Returns once it has
  // ended; false when there was no such window.
  virtual bool EndLeftViewer(const std::string& title) = 0;
  // Ends the viewer of the current test in the same way when its process is
  // still running (its window, if it has one yet, found by `title`).
  virtual void EndCurrentViewer(const std::string& title) = 0;
  // Sends a viewer notification to the dialog itself, synchronously.
  virtual void NotifySelf(int kind, int detail) = 0;
};

}  // namespace kx
