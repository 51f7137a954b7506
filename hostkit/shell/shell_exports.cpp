// The exports of the shell utilities and the parts search: thin wrappers
// that bring the Win32 implementations to the logic. Nothing escapes as an
// exception.
#include <string>

#include "common/registry_win32.h"
#include "common/text.h"
#include "common/text_win32.h"
#include "hostkit/include/hostkit.h"
#include "hostkit/shell/data_folder.h"
#include "hostkit/shell/search_engine_win32.h"
#include "hostkit/shell/search_history.h"
#include "hostkit/shell/search_progress_dlg.h"
#include "hostkit/shell/search_word_dlg.h"
#include "hostkit/shell/shell_command.h"
#include "hostkit/shell/shell_platform_win32.h"
#include "hostkit/shell/style_file.h"
#include "hostkit/shell/text_slot_win32.h"

using namespace kx::hostkit;

namespace {

static_assert(HOSTKIT_DATA_FOLDER_READY == kDataFolderReady &&
              HOSTKIT_DATA_FOLDER_UNAVAILABLE == kDataFolderUnavailable &&
              HOSTKIT_DATA_FOLDER_NOT_EMPTIED == kDataFolderNotEmptied);

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

extern "C" {

int32_t WINAPI ShellOpenCommand(const char* document, const char* classKey) noexcept {
  if (document == nullptr || classKey == nullptr) return 0;
  try {
    Win32ClassKeys keys;
    WinExecStarter starter;
    return OpenWithClassCommand(keys, starter, document, classKey);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI InitDataFolder(const char* baseFolder, const char* name) noexcept {
  if (baseFolder == nullptr || name == nullptr) return kDataFolderUnavailable;
  try {
    Win32DataFolderFiles files;
    return kx::hostkit::InitDataFolder(files, baseFolder, name, kx::kAnsiCodePage);
  } catch (...) {
    return kDataFolderUnavailable;
  }
}

int32_t WINAPI GetStyleFileName(const char* folder, const char* style, BSTR* fileName) noexcept {
  if (folder == nullptr || style == nullptr || fileName == nullptr) return -1;
  try {
    const std::optional<std::string> text = ReadWholeFile(std::string(folder) + kStyleListName);
    if (!text) return -1;
    const std::optional<std::string> file = FindStyleFile(*text, style);
    if (!file) return -1;
    return ::hostkit::SetTextSlot(fileName, folder + *file) ? 0 : -1;
  } catch (...) {
    return -1;
  }
}

int32_t WINAPI SearchWordDoModal(HWND parent, int32_t x, int32_t y, const char* caption,
                                 BSTR* words) noexcept {
  if (words == nullptr) return 0;
  try {
    kx::Win32Registry registry;
    CSearchWordDlg dialog(parent, x, y, Text(caption), registry);
    if (dialog.DoModal() != IDOK) return 0;
    const std::string chosen = TrimLeadingWhiteSpace(dialog.text());
    if (chosen.empty()) return 0;
    return ::hostkit::SetTextSlot(words, chosen) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI SearchProgressDoModal(HWND parent, int32_t x, int32_t y, const char* caption,
                                     const char* rootFolder, const char* keywords,
                                     const char* extensions, int32_t* fileCount,
                                     const char* resultPath, int32_t* hitCount) noexcept {
  try {
    SearchEngineLibrary engine;
    if (!engine.usable()) return 0;
    Win32SearchTextMapper mapper;
    SearchRequest search;
    search.keywords = SearchKeywords(mapper, Text(keywords));
    if (search.keywords.empty()) return 0;
    // An empty root would be the root of the current drive.
    if (Text(rootFolder).empty()) return 0;
    search.root = kx::WithTrailingBackslash(rootFolder);
    search.extensions = SplitSearchTokens(Text(extensions));

    SearchDialogRequest dialog;
    dialog.parent = parent;
    dialog.x = x;
    dialog.y = y;
    dialog.caption = Text(caption);
    dialog.keywords_text = Text(keywords);
    dialog.result_path = Text(resultPath);
    dialog.expected_files = fileCount ? *fileCount : 0;

    Win32SearchFiles files;
    CSearchProgressDlg progress(std::move(dialog), std::move(search), files, engine, mapper);
    const INT_PTR ended = progress.DoModal();
    if (ended != IDOK && ended != IDCANCEL) return 0;  // never shown
    if (fileCount) *fileCount = progress.files_examined();
    if (hitCount) *hitCount = progress.hit_count();
    return ended == IDOK ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
