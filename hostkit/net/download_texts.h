// Texts and notices of the download: what the worker posts to the progress
// dialog, and what the dialog shows by itself.
#pragma once

namespace kx::hostkit {

// Notices from the worker to the dialog (window messages, always posted).
enum class DownloadNotice : unsigned {
  kUpdate = 1124,     // lParam 0: status text changed; 1: byte counters changed
  kDone = 1125,       // ended with success
  kCancelled = 1126,  // stopped because the user cancelled
  kFailed = 1127,     // ended without success (also follows kCancelled)
};

inline constexpr long kUpdateStatusText = 0;
inline constexpr long kUpdateByteCounts = 1;

// Posted by the worker.
inline constexpr char kTextSourceUnusable[] = "ダウンロード元を参照できません";
inline constexpr char kTextConnecting[] = "インターネットに接続中...";
inline constexpr char kTextPasswordRefused[] = "パスワードが違います。アクセスが拒否されました";
inline constexpr char kTextNoRedirectTarget[] = "リダイレクト先が存在しません";
inline constexpr char kTextRedirecting[] = "リダイレクト中...";
inline constexpr char kTextRedirectMalformed[] = "リダイレクト先が正しくありません";
inline constexpr char kTextRedirectUnusable[] = "リダイレクト先を参照できません";
inline constexpr char kTextHttpError[] = "HTTPエラー %d";
inline constexpr char kTextDownloading[] = "ダウンロード中...";
inline constexpr char kTextDownloadComplete[] = "ダウンロード完了";
// Ours: a name from the address that would put the file elsewhere than in
// the target folder, a file that cannot be made, written or put in place of
// the one that was there, a body that ended before the length the server
// announced, and failures of the line while connecting and while reading.
inline constexpr char kTextBadFileName[] = "保存するファイル名が正しくありません";
inline constexpr char kTextCannotCreateFile[] = "ファイルを作成できません";
inline constexpr char kTextCannotWriteFile[] = "ファイルに書き込めません";
inline constexpr char kTextBodyCut[] = "ダウンロードが途中で切断されました";
inline constexpr char kTextCannotConnect[] = "インターネットに接続できません";
inline constexpr char kTextReadFailed[] = "ダウンロード中にエラーが発生しました";

// Shown by the dialog.
inline constexpr char kTextAskDownload[] = "ダウンロードしますか？";
inline constexpr char kTextByteCounts[] = "ダウンロード中... %d Bytes / %d Bytes";
inline constexpr char kTextFinished[] = "ダウンロードを完了しました";
inline constexpr char kTextStopped[] = "ダウンロードを中止しました";

// Name under which a file is stored when the address holds no "/".
inline constexpr char kFallbackFileName[] = "~temp.q3d";

}  // namespace kx::hostkit
