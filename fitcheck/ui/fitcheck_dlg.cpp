#include "fitcheck/ui/fitcheck_dlg.h"

#include <commctrl.h>
#include <algorithm>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include "common/exchange_contract.h"
#include "common/log_writer_win32.h"
#include "fitcheck/ui/directx_installer.h"
#include "fitcheck/ui/fitcheck_services.h"
#include "fitcheck/ui/message_dlg.h"
#include "fitcheck/ui/resource.h"

namespace kx {
namespace {

// The worker's reports, each naming its test in wParam, so that a late report
// of an earlier test's viewer is never taken for the current test's.
constexpr UINT kViewerStarted = WM_APP + 1;      // lParam: the process
constexpr UINT kViewerEnded = WM_APP + 2;        // the process has ended; lParam: its exit code
constexpr UINT kViewerStartFailed = WM_APP + 3;  // the process could not be started
constexpr UINT kAutoStepMessage = WM_APP + 4;    // the unattended run's next step
constexpr UINT_PTR kVerdictBoundTimer = 1;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kFirstPicture = IDB_PAGE_START;  // 146..149

bool IsOverlayText(int id) {
  switch (id) {
    case IDC_MAIN_TEXT:
    case IDC_SECOND_TEXT:
    case IDC_INSTRUCTION:
    case IDC_SWITCH_SETTINGS:
    case IDC_DIRECTX_LINK:
    case IDC_SWITCH_LABEL:
    case IDC_VERDICT_TEXT:
      return true;
    default:
      return false;
  }
}

// Asks a viewer to close and waits for its process to end, terminating it
// when it has not ended after as long as the close watch gives it. The
// request names no window: the waiting thread takes no sent messages.
void CloseAndEnd(HWND window, HANDLE process) {
  constexpr DWORD kCloseWatchMs = 4000;  // four ticks of one second
  if (window) PostMessageA(window, exchange::kViewerClose, 0, 0);
  if (!process) return;
  if (WaitForSingleObject(process, kCloseWatchMs) == WAIT_OBJECT_0) return;
  TerminateProcess(process, 0);
  // Until the process is gone its lock is not free for the next viewer.
  WaitForSingleObject(process, kCloseWatchMs);
}

struct WorkerStart {
  HWND dialog;
  std::string command_line;
  unsigned test;
};

}  // namespace

CFitcheckDlg::CFitcheckDlg(bool automatic) : automatic_(automatic) {}

CFitcheckDlg::~CFitcheckDlg() = default;

INT_PTR CFitcheckDlg::DoModal() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FITCHECK), nullptr, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CFitcheckDlg::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CFitcheckDlg*>(lparam);
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    self->window_ = window;
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CFitcheckDlg*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR handled = self->HandleMessage(message, wparam, lparam);
  // Whatever may have moved the wizard on is followed by the unattended
  // run's next step.
  if (message != kAutoStepMessage) self->ScheduleAutoStep();
  return handled;
}

INT_PTR CFitcheckDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kAutoStepMessage:
      RunAutoStep();
      return TRUE;
    case WM_TIMER:
      if (wparam != kVerdictBoundTimer || !auto_run_) return FALSE;
      StopBoundTimer();
      wizard_->OnVerdictBound();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnCtlColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)));
    case WM_PAINT:
      if (IsIconic(window_)) {
        OnPaint();
        return TRUE;
      }
      return FALSE;
    case exchange::kViewerNotify:
      wizard_->OnViewerNotify(static_cast<int>(wparam), static_cast<std::int32_t>(lparam));
      return TRUE;
    case exchange::kViewerClosing:
      wizard_->OnViewerClosing();
      return TRUE;
    case kViewerStarted:
      OnViewerStarted(static_cast<unsigned>(wparam), reinterpret_cast<HANDLE>(lparam));
      return TRUE;
    case kViewerEnded:
      wizard_->OnWorkerReport(static_cast<unsigned>(wparam), exchange::kNotifyViewerEnded,
                              static_cast<std::int32_t>(lparam));
      return TRUE;
    case kViewerStartFailed:
      wizard_->OnWorkerReport(static_cast<unsigned>(wparam), exchange::kNotifyViewerError,
                              exchange::kNotifyStartFailedDetail);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CFitcheckDlg::OnInitDialog() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  icon_big_.reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FITCHECK), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  icon_small_.reset(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_FITCHECK), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_.get()));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));

  main_text_left_ = ControlRect(IDC_MAIN_TEXT).left;
  title_left_ = ControlRect(IDC_PAGE_TITLE).left;
  instruction_bottom_ = ControlRect(IDC_INSTRUCTION).bottom;
  picture_top_ = ControlRect(IDC_PICTURE).top;
  for (int id : {IDC_MAIN_TEXT, IDC_SECOND_TEXT, IDC_INSTRUCTION, IDC_VERDICT_TEXT, IDC_SWITCH_LABEL,
                 IDC_DIRECTX_LINK}) {
    text_templates_[id] = ControlRect(id);
  }
  FitToText(IDC_SWITCH_LABEL);
  FitInstallButton();
  HDC screen = GetDC(nullptr);
  large_fonts_ = GetDeviceCaps(screen, LOGPIXELSX) != 96;
  ReleaseDC(nullptr, screen);

  for (int id : {IDB_PAGE_OK, IDB_PAGE_PROBLEM, IDB_PAGE_WARNING, IDB_PAGE_START}) {
    pictures_[id - kFirstPicture].reset(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  SendDlgItemMessageA(window_, IDC_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));

  services_ = std::make_unique<FitcheckServices>();
  wizard_ = std::make_unique<Wizard>(
      WizardServices{*this, *this, services_->env, services_->exchange, services_->results,
                     services_->folders, ProcessLog()},
      services_->settings);

  HWND link = GetDlgItem(window_, IDC_DIRECTX_LINK);
  const std::string target = LoadText(IDS_DIRECTX_URL);
  SetWindowTextA(link, target.c_str());
  FitToText(IDC_DIRECTX_LINK);
  link_.Attach(link, target);

  if (automatic_) {
    auto_run_ = std::make_unique<AutoRun>(*this, services_->profiles);
    wizard_->SetAutomation(auto_run_.get());
  }
  wizard_->OnInitDialog();
  ScheduleAutoStep();
  return TRUE;
}

void CFitcheckDlg::ScheduleAutoStep() {
  if (!auto_run_ || auto_step_posted_) return;
  auto_step_posted_ = true;
  PostMessageA(window_, kAutoStepMessage, 0, 0);
}

void CFitcheckDlg::RunAutoStep() {
  auto_step_posted_ = false;
  if (!auto_run_) return;
  switch (auto_run_->Step(*wizard_)) {
    case AutoStep::kNext:
      wizard_->OnNext();
      ScheduleAutoStep();
      break;
    case AutoStep::kFinish:
      wizard_->OnCancelButton();  // as "終了" on the final page
      break;
    case AutoStep::kNone:
      break;
  }
}

int CFitcheckDlg::AutoExitCode() const {
  return auto_run_ && wizard_ ? auto_run_->ExitCode(wizard_->Page()) : kAutoExitCouldNotRun;
}

std::string CFitcheckDlg::AutoReport(const AutoReportContext& context) const {
  if (!auto_run_ || !wizard_) return {};
  return auto_run_->Report(context, services_->env, wizard_->Page(), AutoExitCode());
}

std::uint32_t CFitcheckDlg::NowMs() { return GetTickCount(); }

void CFitcheckDlg::StartBoundTimer(unsigned ms) { SetTimer(window_, kVerdictBoundTimer, ms, nullptr); }

void CFitcheckDlg::StopBoundTimer() { KillTimer(window_, kVerdictBoundTimer); }

void CFitcheckDlg::OnCommand(int id, int code) {
  switch (id) {
    case IDC_NEXT:
      if (code == BN_CLICKED) wizard_->OnNext();
      break;
    case IDC_CANCEL_BUTTON:
      if (code == BN_CLICKED) wizard_->OnCancelButton();
      break;
    case IDC_INSTALL_DIRECTX:
      if (code == BN_CLICKED) InstallDirectX();
      break;
    case IDC_SWITCH_LABEL:
      if (code == STN_CLICKED) wizard_->OnSwitchLabelClicked();
      break;
    case IDCANCEL:  // Escape and the close box end the wizard at once
      ::EndDialog(window_, IDCANCEL);
      break;
    default:
      break;
  }
}

HBRUSH CFitcheckDlg::OnCtlColorStatic(HDC dc, HWND control) {
  if (!IsOverlayText(GetDlgCtrlID(control))) return nullptr;
  SetTextColor(dc, kWhite);
  SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CFitcheckDlg::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_big_.get());
  EndPaint(window_, &paint);
}

void CFitcheckDlg::OnDestroy() {
  StopCloseWatch();
  if (wizard_) wizard_->OnDestroy();
  SendDlgItemMessageA(window_, IDC_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0);
  for (auto& picture : pictures_) picture.reset();
}

RECT CFitcheckDlg::ControlRect(int control_id) {
  RECT rect = {};
  GetWindowRect(GetDlgItem(window_, control_id), &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void CFitcheckDlg::RepaintBeneath(HWND control) {
  // A transparent text leaves its old letters unless the picture beneath it
  // is painted again first.
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
  RedrawWindow(window_, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// --- WizardView ------------------------------------------------------------

std::string CFitcheckDlg::LoadText(int string_id) {
  char text[1024] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(string_id), text, sizeof text);
  return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void CFitcheckDlg::SetText(int control_id, const std::string& text) {
  HWND control = GetDlgItem(window_, control_id);
  SetWindowTextA(control, text.c_str());
  if (IsOverlayText(control_id)) RepaintBeneath(control);
  FitToText(control_id);
}

void CFitcheckDlg::FitInstallButton() {
  // The installer button shares its row with Next, which the page that shows
  // it hides: it may widen up to Next so that its caption is not cut.
  HWND button = GetDlgItem(window_, IDC_INSTALL_DIRECTX);
  const RECT rect = ControlRect(IDC_INSTALL_DIRECTX);
  char caption[128] = {};
  GetWindowTextA(button, caption, sizeof caption);
  RECT measured = {0, 0, 0, 0};
  HDC dc = GetDC(button);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
  DrawTextA(dc, caption, -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old_font);
  ReleaseDC(button, dc);
  const int margin = 2 * GetSystemMetrics(SM_CXEDGE) + 8;
  const int limit = ControlRect(IDC_NEXT).left - 4 - rect.left;
  const int width = std::min<int>(std::max<int>(rect.right - rect.left, measured.right + margin), limit);
  SetWindowPos(button, nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFitcheckDlg::FitToText(int control_id) {
  // A text is never cut, whatever the font: its control takes the height the
  // text needs. The instruction line keeps its bottom, just above the
  // buttons; the other texts keep their top and grow downward.
  const auto place = text_templates_.find(control_id);
  if (place == text_templates_.end()) return;
  HWND control = GetDlgItem(window_, control_id);
  const RECT now = ControlRect(control_id);
  const int width = now.right - now.left;

  char text[2048] = {};
  GetWindowTextA(control, text, sizeof text);
  RECT measured = {0, 0, width, 0};
  HDC dc = GetDC(control);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, old_font);
  ReleaseDC(control, dc);

  const RECT& original = place->second;
  int top = original.top;
  int height = std::max<int>(measured.bottom, original.bottom - original.top);
  if (control_id == IDC_INSTRUCTION) {
    height = std::max<int>(measured.bottom, instruction_min_height_);
    top = original.bottom - height;
  }
  if (now.top == top && now.bottom - now.top == height) return;
  RepaintBeneath(control);
  SetWindowPos(control, nullptr, now.left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RepaintBeneath(control);
}

void CFitcheckDlg::ShowControl(int control_id, bool shown) {
  ShowWindow(GetDlgItem(window_, control_id), shown ? SW_SHOW : SW_HIDE);
}

void CFitcheckDlg::EnableControl(int control_id, bool enabled) {
  EnableWindow(GetDlgItem(window_, control_id), enabled ? TRUE : FALSE);
}

bool CFitcheckDlg::IsChecked(int control_id) {
  return IsDlgButtonChecked(window_, control_id) == BST_CHECKED;
}

void CFitcheckDlg::SetChecked(int control_id, bool checked) {
  CheckDlgButton(window_, control_id, checked ? BST_CHECKED : BST_UNCHECKED);
  RepaintBeneath(GetDlgItem(window_, control_id));
}

void CFitcheckDlg::SetPicture(int bitmap_id) {
  const int index = bitmap_id - kFirstPicture;
  if (index < 0 || index >= static_cast<int>(pictures_.size())) return;
  HWND picture = GetDlgItem(window_, IDC_PICTURE);
  SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictures_[index].get()));
  if (large_fonts_) {
    // At another density the dialog grows but the picture does not: let it
    // cover the dialog's width down to the bottom of the instruction line.
    RECT client;
    GetClientRect(window_, &client);
    const int top = picture_top_ + 5;
    SetWindowPos(picture, nullptr, 0, top, client.right, instruction_bottom_ - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void CFitcheckDlg::SetProgress(int position) {
  SendDlgItemMessageA(window_, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CFitcheckDlg::PlaceMainText(bool at_title_edge) {
  HWND text = GetDlgItem(window_, IDC_MAIN_TEXT);
  const RECT rect = ControlRect(IDC_MAIN_TEXT);
  const int left = at_title_edge ? title_left_ : main_text_left_;
  if (rect.left == left) return;
  RepaintBeneath(text);
  SetWindowPos(text, nullptr, left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RepaintBeneath(text);
}

void CFitcheckDlg::GrowInstructionUpward(int pixels) {
  const RECT& original = text_templates_[IDC_INSTRUCTION];
  instruction_min_height_ = original.bottom - original.top + pixels;
  FitToText(IDC_INSTRUCTION);
}

MessageAnswer CFitcheckDlg::ShowMessage(const std::string& text, MessageStyle style, bool placed) {
  UINT type = MB_OK | MB_ICONINFORMATION;
  if (style == MessageStyle::kExclamation) type = MB_OK | MB_ICONEXCLAMATION;
  if (style == MessageStyle::kQuestion) type = MB_YESNO | MB_ICONQUESTION;
  switch (kx::ShowMessage(window_, text, LoadText(IDS_WIZARD_CAPTION), type, placed)) {
    case IDYES: return MessageAnswer::kYes;
    case IDNO: return MessageAnswer::kNo;
    default: return MessageAnswer::kOk;
  }
}

ScreenRect CFitcheckDlg::WorkArea() {
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

ScreenRect CFitcheckDlg::WindowRect() {
  RECT rect = {};
  GetWindowRect(window_, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void CFitcheckDlg::MoveWindowTo(int x, int y) {
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFitcheckDlg::EndDialog(int result) { ::EndDialog(window_, result); }

std::int32_t CFitcheckDlg::WindowValue() {
  return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window_));
}

// --- ViewerPlatform --------------------------------------------------------

bool CFitcheckDlg::StartViewerWorker(const std::string& command_line, unsigned test) {
  // A viewer whose engine library or one of its entry points is missing is
  // to end with a loader status, which the wizard then reports, not to stop
  // on the system's box: the viewer inherits this error mode.
  SetErrorMode(SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);
  viewer_process_.reset();  // the new test's viewer is known once its worker reports it
  auto start = std::make_unique<WorkerStart>(WorkerStart{window_, command_line, test});
  win::UniqueHandle worker(CreateThread(nullptr, 0, ViewerWorker, start.get(), 0, nullptr));
  if (!worker) return false;
  start.release();  // the worker owns it now
  worker_ = std::move(worker);
  return true;
}

DWORD WINAPI CFitcheckDlg::ViewerWorker(void* argument) {
  // Reports only by synchronous messages to the dialog's window, so that
  // every decision is taken on the dialog's thread, in order.
  std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(argument));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info = {};
  std::string command_line = start->command_line;
  const WPARAM test = start->test;
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    SendMessageA(start->dialog, kViewerStartFailed, test, 0);
    return 0;
  }
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);
  SendMessageA(start->dialog, kViewerStarted, test, reinterpret_cast<LPARAM>(process.get()));
  WaitForInputIdle(process.get(), INFINITE);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.get(), &exit_code);
  SendMessageA(start->dialog, kViewerEnded, test,
               static_cast<LPARAM>(static_cast<std::int32_t>(exit_code)));
  return 0;
}

void CFitcheckDlg::OnViewerStarted(unsigned test, HANDLE process) {
  if (!wizard_->OnViewerStarted(test)) return;
  // A handle of the dialog's own, for the close watch to terminate with.
  viewer_process_.reset();
  DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), viewer_process_.put(),
                  PROCESS_TERMINATE | SYNCHRONIZE, FALSE, 0);
}

bool CFitcheckDlg::FindViewerWindow(const std::string& title) {
  viewer_window_ = FindWindowA(nullptr, title.c_str());
  return viewer_window_ != nullptr;
}

void CFitcheckDlg::PostCloseToViewer() {
  PostMessageA(viewer_window_, exchange::kViewerClose, reinterpret_cast<WPARAM>(window_), 0);
}

void CALLBACK CFitcheckDlg::CloseWatchTick(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* self = reinterpret_cast<CFitcheckDlg*>(user);
  if (!self->close_watch_.OnTick(id)) return;
  timeKillEvent(id);
  if (HANDLE process = self->watched_process_.get()) TerminateProcess(process, 0);
}

void CFitcheckDlg::StartCloseWatch() {
  // One watch at a time; stopping it waits for a tick in progress, so the
  // timer thread never sees the watched process change under it.
  StopCloseWatch();
  // The watch terminates the viewer it was started for, never a later one.
  watched_process_.reset();
  if (viewer_process_) {
    DuplicateHandle(GetCurrentProcess(), viewer_process_.get(), GetCurrentProcess(),
                    watched_process_.put(), PROCESS_TERMINATE, FALSE, 0);
  }
  // timeSetEvent may tick before its id is known here; ticks of an unknown id
  // are ignored, so the first one can at worst be lost.
  const UINT id = timeSetEvent(1000, 30, CloseWatchTick, reinterpret_cast<DWORD_PTR>(this),
                               TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
  close_watch_.Started(id);
}

void CFitcheckDlg::StopCloseWatch() {
  if (close_watch_.Id() != 0) timeKillEvent(close_watch_.Id());
}

bool CFitcheckDlg::EndLeftViewer(const std::string& title) {
  const HWND window = FindWindowA(nullptr, title.c_str());
  if (!window) return false;
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  CloseAndEnd(window, process.get());
  return true;
}

void CFitcheckDlg::EndCurrentViewer(const std::string& title) {
  const HWND window = FindWindowA(nullptr, title.c_str());
  win::UniqueHandle process;
  if (viewer_process_) {
    DuplicateHandle(GetCurrentProcess(), viewer_process_.get(), GetCurrentProcess(), process.put(),
                    PROCESS_TERMINATE | SYNCHRONIZE, FALSE, 0);
  } else if (window) {
    // Its start was not reported yet: known only by its window.
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process.reset(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  }
  CloseAndEnd(window, process.get());
}

void CFitcheckDlg::NotifySelf(int kind, int detail) {
  SendMessageA(window_, exchange::kViewerNotify, static_cast<WPARAM>(kind), detail);
}

// --- DirectX installer -----------------------------------------------------

namespace {

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lparam, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    SetWindowTextA(browser, "ドライブ選択");
  } else if (message == BFFM_SELCHANGED) {
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lparam), path)) {
      SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
  }
  return 0;
}

// Item identifier lists from the shell, freed with the task allocator.
struct ItemListTraits {
  using value_type = LPITEMIDLIST;
  static LPITEMIDLIST invalid() noexcept { return nullptr; }
  static void close(LPITEMIDLIST list) noexcept { CoTaskMemFree(list); }
};
using UniqueItemList = win::UniqueResource<ItemListTraits>;

}  // namespace

void CFitcheckDlg::InstallDirectX() {
  win::ComApartment com;
  UniqueItemList drives;
  SHGetSpecialFolderLocation(window_, CSIDL_DRIVES, drives.put());
  BROWSEINFOA browse = {};
  browse.hwndOwner = window_;
  browse.pidlRoot = drives.get();
  browse.lpszTitle = "CDドライブを選択してください";
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  browse.lpfn = BrowseCallback;
  UniqueItemList chosen(SHBrowseForFolderA(&browse));
  if (!chosen) return;
  char folder[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(chosen.get(), folder)) return;

  const std::string installer = FindDirectXInstaller(folder, services_->files);
  const bool placed = wizard_->MessageBoxPlaced();
  if (installer.empty()) {
    ShowMessage(LoadText(IDS_DXSETUP_MISSING), MessageStyle::kExclamation, placed);
    return;
  }
  const char* verb = DirectXInstallerVerb(services_->env.GetVersionRecord().major);
  const auto started = reinterpret_cast<INT_PTR>(
      ShellExecuteA(window_, verb, installer.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (started <= 32) ShowMessage(LoadText(IDS_DXSETUP_FAILED), MessageStyle::kExclamation, placed);
}

}  // namespace kx
