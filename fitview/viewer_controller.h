// The viewer window's decisions: start-up from the request, the error end
// with its result code, the report to the checker when the view is shown,
// closing on the checker's request, and the result written at every end.
// The dialog forwards its window messages here and does what it is told
// through ViewerWindow.
#pragma once

#include <cstdint>
#include <string>

#include "common/file_system.h"
#include "common/log_writer.h"
#include "common/profile_store.h"
#include "common/viewer_exchange.h"
#include "fitview/kx_if.h"
#include "fitview/likeness.h"
#include "fitview/viewer_layout.h"

namespace kx {

// What the controller asks of the viewer's dialog window.
class ViewerWindow {
 public:
  virtual ~ViewerWindow() = default;
  // The start-up notice: shown centred and topmost; removing it destroys it
  // and repaints the main window.
  virtual void ShowStartupNotice() = 0;
  virtual void RemoveStartupNotice() = 0;
  // Window icons and caption.
  virtual void SetIconsAndTitle(const std::string& title) = 0;
  virtual WindowId ViewControl() = 0;
  virtual ViewerGeometry Measure(WindowId checker) = 0;
  // Controls as in kViewerControls, then the window to `place`, on top.
  virtual void ApplyLayout(const WindowPlace& place) = 0;
  // Loads the picture file as a device-independent bitmap into the sample
  // control; false when it cannot be loaded.
  virtual bool ShowSamplePicture(const std::string& path) = 0;
  virtual void FreeSamplePicture() = 0;
  virtual void EndDialog(int result) = 0;
  virtual void PostReady() = 0;
  virtual void PostNotify(WindowId to, int kind, std::int32_t detail) = 0;
  // Sent: returns once `to` has handled it.
  virtual void SendClosing(WindowId to) = 0;
  virtual void PaintIcon() = 0;
  virtual void PaintDialog() = 0;
  virtual void InvalidateLabels() = 0;
  // Paints the sample picture now, not after the parent's paint.
  virtual void PaintSample() = 0;
  // Carries out every paint still pending, the children's too.
  virtual void FinishPainting() = 0;
  // What the 3D view shows, read from the view's own window (so that a
  // window over it does not spoil it); empty when it cannot be read.
  virtual RgbPicture ReadView() = 0;
  // The sample picture as loaded; empty when none was.
  virtual RgbPicture ReadSample() = 0;
  // A one-shot bound: OnDrawBound after `ms` milliseconds.
  virtual void StartDrawBound(unsigned ms) = 0;
  virtual void StopDrawBound() = 0;
};

class ViewerController {
 public:
  // Dialog results.
  static constexpr int kEndClosed = 1;
  static constexpr int kEndError = 2;
  // From the window shown to the engine's first frame. Past it the view is
  // measured as not drawn and reported ready anyway, so that a checker
  // waiting for the view is not left waiting. A software renderer starved
  // on a busy PC has been seen to take 75 s to its first frame.
  static constexpr unsigned kDrawBoundMs = 90000;

  ViewerController(ViewerWindow& window, KxIf& engine, ProfileStore& profiles, FileSystem& files,
                   LogWriter& log, std::string title);

  // The first command-line argument.
  void SetRequestPath(std::string path) { request_path_ = std::move(path); }

  // When the dialog window is created, before it is shown.
  void Start();
  // The window was shown.
  void OnShown();
  // The viewer's own ready message, posted after the engine's first frame.
  void OnReady();
  // The bound of kDrawBoundMs has passed.
  void OnDrawBound();
  void OnPaint(bool minimized);
  void OnSize();
  // The checker's close request; `reply_to` is the window to tell, or 0.
  void OnCloseRequest(WindowId reply_to);
  void OnDestroy();

  std::int32_t ResultCode() const { return result_code_; }
  const ViewerRequest& Request() const { return request_; }

 private:
  void OpenLog();
  bool LoadFiles();
  void ErrorEnd(std::int32_t code);
  void WriteResult();
  void RemoveNotice();
  void RecordLikeness(const Likeness& likeness);

  ViewerWindow& window_;
  KxIf& engine_;
  ProfileStore& profiles_;
  FileSystem& files_;
  LogWriter& log_;
  const std::string title_;

  std::string request_path_;
  ViewerRequest request_;
  std::int32_t result_code_ = 0;
  bool engine_ready_ = false;
  bool files_present_ = false;
  bool model_loaded_ = false;
  bool layout_done_ = false;
  bool notice_shown_ = false;
  bool shown_ = false;           // shown with the engine ready and the model loaded
  bool ready_reported_ = false;  // the ready message was posted
  bool measured_ = false;        // the likeness was measured and written
  LikenessVerdict likeness_verdict_ = LikenessVerdict::kUnlike;
};

}  // namespace kx
