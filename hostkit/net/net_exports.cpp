// The download dialog and mail exports: thin wrappers that bring the Win32
// layer to the logic. Nothing escapes as an exception.
#include <windows.h>
// windows.h first
#include <commctrl.h>

#include "hostkit/include/hostkit.h"
#include "hostkit/net/download_dialog.h"
#include "hostkit/net/mapi_library_win32.h"
#include "hostkit/shell/text_slot_win32.h"

using namespace kx::hostkit;

namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

extern "C" {

int32_t WINAPI DownloadProgressDoModal(HWND parent, int32_t centreX, int32_t centreY,
                                       const char* caption, const char* url, const char* folder,
                                       BSTR* fileName, int32_t* automatic) noexcept {
  try {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    CDownloadDialog::Request request;
    request.parent = parent;
    request.centre_x = centreX;
    request.centre_y = centreY;
    request.caption = Text(caption);
    request.url = Text(url);
    request.folder = Text(folder);
    request.automatic = automatic != nullptr ? *automatic : 0;
    CDownloadDialog dialog(std::move(request));
    const INT_PTR ended = dialog.DoModal();
    // Only a finished download counts: a dialog that could not be shown
    // has stored nothing either.
    if (ended != 1 || dialog.cancel_requested()) return 0;
    (void)::hostkit::SetTextSlot(fileName, dialog.file_name());
    if (automatic != nullptr) *automatic = dialog.automatic();
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI SendQ3DMail(HWND parent, const char* address, const char* name, const char* subject,
                           const char* body, const char* attachment) noexcept {
  try {
    return SendModelMail(ProcessMapiLibrary(), reinterpret_cast<std::uintptr_t>(parent),
                         Text(address), Text(name), Text(subject), Text(body), Text(attachment));
  } catch (...) {
    return MailExportResult(kSendNoRecords);
  }
}

}  // extern "C"
