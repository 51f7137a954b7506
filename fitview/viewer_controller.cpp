#include "fitview/viewer_controller.h"

#include "common/exchange_contract.h"
#include "common/text.h"

namespace kx {

ViewerController::ViewerController(ViewerWindow& window, KxIf& engine, ProfileStore& profiles,
                                   FileSystem& files, LogWriter& log, std::string title)
    : window_(window),
      engine_(engine),
      profiles_(profiles),
      files_(files),
      log_(log),
      title_(std::move(title)) {}

void ViewerController::Start() {
  window_.ShowStartupNotice();
  notice_shown_ = true;
  window_.SetIconsAndTitle(title_);

  files_present_ = false;
  const RequestReading reading = ReadViewerRequest(profiles_, files_, request_path_, request_);
  files_present_ = reading == RequestReading::kComplete;
  if (!files_present_) {
    OpenLog();
    ErrorEnd(exchange::kResultRequestMissing);
    return;
  }
  OpenLog();
  log_.Log("設定ファイルのロード終了");

  if (!layout_done_) {
    const ViewerGeometry geometry = window_.Measure(static_cast<WindowId>(request_.checker_window));
    window_.ApplyLayout(PlaceViewerWindow(geometry));
    layout_done_ = true;
  }

  engine_.Configure({request_.direct_x, request_.anti_alias, request_.shadow, request_.phong,
                     request_.no_opengl_acc});
  engine_ready_ = engine_.Initialize(window_.ViewControl());
  if (!engine_ready_) {
    ErrorEnd(exchange::kResultEngineFailed);
    return;
  }
  log_.Log("VLSDK初期化終了");

  if (!LoadFiles()) {
    ErrorEnd(exchange::kResultModelFailed);
    return;
  }
  log_.Log("ファイル読込み終了");
  log_.Log("初期処理終了");
}

void ViewerController::OpenLog() {
  if (request_.log_file.empty() || log_.IsOpen()) return;
  if (log_.Open(request_.log_file, LogWriter::kAppend)) log_.Log(kLogSeparator);
}

bool ViewerController::LoadFiles() {
  if (!files_present_) return false;
  model_loaded_ = false;
  // A picture that cannot be shown leaves the sample empty; the user then
  // has nothing to compare with and answers no.
  (void)window_.ShowSamplePicture(request_.bmp_file);
  log_.Log("サンプルビットマップのロード終了");
  model_loaded_ = engine_.OpenQ3dFile(request_.q3d_file);
  log_.Log("q3dファイルのロード終了");
  return model_loaded_;
}

void ViewerController::ErrorEnd(std::int32_t code) {
  result_code_ = code;
  WriteResult();
  RemoveNotice();
  window_.EndDialog(kEndError);
  log_.Log(Format("起動中のエラー終了。 結果コード: %d", static_cast<int>(code)));
}

void ViewerController::WriteResult() {
  // Without a result file named there is no one to tell.
  if (WriteViewerResult(profiles_, request_.result_file, result_code_)) {
    log_.Log(Format("結果ファイルに処理結果を保存終了 Code=%d", static_cast<int>(result_code_)));
  }
}

void ViewerController::RemoveNotice() {
  if (!notice_shown_) return;
  notice_shown_ = false;
  window_.RemoveStartupNotice();
}

void ViewerController::OnShown() {
  if (!engine_ready_ || !model_loaded_ || shown_) return;
  // Ready waits for the first paint, in which the engine draws its first
  // frame: a message posted now would be handled before any paint.
  shown_ = true;
  window_.StartDrawBound(kDrawBoundMs);
}

void ViewerController::OnReady() {
  // The labels and whatever else is still to paint, so that the checker is
  // told once the whole window is on the screen.
  window_.FinishPainting();
  result_code_ = exchange::kResultShown;
  WriteResult();
  if (!measured_) RecordLikeness(MeasureLikeness(window_.ReadView(), window_.ReadSample()));
  // Both after every write: the checker may read the result file at once.
  const WindowId checker = static_cast<WindowId>(request_.checker_window);
  // A null target would post to this thread's own queue.
  if (checker == 0) return;
  window_.PostNotify(checker, exchange::kNotifyViewShown, result_code_);
  window_.PostNotify(checker, exchange::kNotifyLikeness, static_cast<int>(likeness_verdict_));
}

void ViewerController::OnDrawBound() {
  window_.StopDrawBound();
  if (!shown_ || measured_) return;
  RecordLikeness(Likeness{1.0, LikenessVerdict::kUnlike, "not drawn"});
  if (!ready_reported_) {
    ready_reported_ = true;
    window_.PostReady();
  }
}

void ViewerController::RecordLikeness(const Likeness& likeness) {
  measured_ = true;
  likeness_verdict_ = likeness.verdict;
  window_.StopDrawBound();
  const int verdict = static_cast<int>(likeness.verdict);
  if (!request_.result_file.empty()) {
    (void)profiles_.WriteString(request_.result_file, exchange::kSection, exchange::kLikeness,
                                Format("%g", likeness.score));
    (void)profiles_.WriteString(request_.result_file, exchange::kSection,
                                exchange::kLikenessVerdict, Format("%d", verdict));
  }
  log_.Log(Format("３Ｄ表示の自動判定 Likeness=%g LikenessVerdict=%d (%s)", likeness.score, verdict,
                  likeness.reason.c_str()));
}

void ViewerController::OnPaint(bool minimized) {
  if (minimized) {
    window_.PaintIcon();
    return;
  }
  window_.PaintDialog();
  // The sample is on the screen before the engine's first frame, which can
  // take seconds.
  window_.PaintSample();
  engine_.Redraw();
  RemoveNotice();
  // The pictures paint over the labels that lie on them.
  window_.InvalidateLabels();
  // The engine has drawn (or, when drawing is not ready, never will): the
  // view is what the user gets to judge.
  if (shown_ && !ready_reported_) {
    ready_reported_ = true;
    window_.PostReady();
  }
}

void ViewerController::OnSize() { engine_.FitViewToWindow(); }

void ViewerController::OnCloseRequest(WindowId reply_to) {
  if (reply_to != 0) window_.SendClosing(reply_to);
  window_.EndDialog(kEndClosed);
}

void ViewerController::OnDestroy() {
  engine_.Terminate();
  WriteResult();
  window_.FreeSamplePicture();
}

}  // namespace kx
