#include "hostkit/parts/back_image_message.h"

namespace kx::hostkit {

std::string FileErrorMessage(FileErrorCause cause, const std::string& path) {
  const char* text = "%1 へのアクセス中に不明なエラーが発生しました。";
  switch (cause) {
    case FileErrorCause::kNone:
      text = "エラーはありませんでした。";
      break;
    case FileErrorCause::kGeneric:
      break;
    case FileErrorCause::kFileNotFound:
      text = "%1 が見つかりませんでした。";
      break;
    case FileErrorCause::kBadPath:
      text = "%1 に正しくないパスが含まれています。";
      break;
    case FileErrorCause::kTooManyOpenFiles:
      text = "開いているファイルが多すぎるため、%1 を開けませんでした。";
      break;
    case FileErrorCause::kAccessDenied:
      text = "%1 へのアクセスは拒否されました。";
      break;
    case FileErrorCause::kInvalidFile:
      text = "正しくないファイル ハンドルが %1 に関連付けられていました。";
      break;
    case FileErrorCause::kRemoveCurrentDir:
      text = "現在のディレクトリ %1 は削除できませんでした。";
      break;
    case FileErrorCause::kDirectoryFull:
      text = "%1 を作成できませんでした。そのディレクトリはいっぱいです。";
      break;
    case FileErrorCause::kBadSeek:
      text = "%1 のシークに失敗しました。";
      break;
    case FileErrorCause::kHardIO:
      text = "%1 へのアクセス中にハードウェア I/O エラーが報告されました。";
      break;
    case FileErrorCause::kSharingViolation:
      text = "%1 へのアクセス中に共有違反が発生しました。";
      break;
    case FileErrorCause::kLockViolation:
      text = "%1 へのアクセス中にロック違反が発生しました。";
      break;
    case FileErrorCause::kDiskFull:
      text = "%1 へのアクセス中にディスクがいっぱいになりました。";
      break;
    case FileErrorCause::kEndOfFile:
      text = "%1 の末尾以降にアクセスしようとしました。";
      break;
  }
  // One pass, so a path that itself holds "%1" stays as it is.
  std::string message = text;
  const std::size_t at = message.find("%1");
  if (at != std::string::npos) message.replace(at, 2, path);
  return message;
}

FileErrorCause FileErrorCauseFromSystemError(std::uint32_t code) {
  switch (code) {
    case 0:  // NO_ERROR
      return FileErrorCause::kNone;
    case 2:    // ERROR_FILE_NOT_FOUND
    case 18:   // ERROR_NO_MORE_FILES
    case 110:  // ERROR_OPEN_FAILED
      return FileErrorCause::kFileNotFound;
    case 3:    // ERROR_PATH_NOT_FOUND
    case 15:   // ERROR_INVALID_DRIVE
    case 17:   // ERROR_NOT_SAME_DEVICE
    case 53:   // ERROR_BAD_NETPATH
    case 67:   // ERROR_BAD_NET_NAME
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
    case 267:  // ERROR_DIRECTORY
      return FileErrorCause::kBadPath;
    case 4:    // ERROR_TOO_MANY_OPEN_FILES
    case 36:   // ERROR_SHARING_BUFFER_EXCEEDED
    case 113:  // ERROR_NO_MORE_SEARCH_HANDLES
      return FileErrorCause::kTooManyOpenFiles;
    case 5:    // ERROR_ACCESS_DENIED
    case 12:   // ERROR_INVALID_ACCESS
    case 19:   // ERROR_WRITE_PROTECT
    case 65:   // ERROR_NETWORK_ACCESS_DENIED
    case 80:   // ERROR_FILE_EXISTS
    case 183:  // ERROR_ALREADY_EXISTS
      return FileErrorCause::kAccessDenied;
    case 6:  // ERROR_INVALID_HANDLE
      return FileErrorCause::kInvalidFile;
    case 16:   // ERROR_CURRENT_DIRECTORY
    case 145:  // ERROR_DIR_NOT_EMPTY
      return FileErrorCause::kRemoveCurrentDir;
    case 82:  // ERROR_CANNOT_MAKE
      return FileErrorCause::kDirectoryFull;
    case 25:   // ERROR_SEEK
    case 27:   // ERROR_SECTOR_NOT_FOUND
    case 131:  // ERROR_NEGATIVE_SEEK
    case 132:  // ERROR_SEEK_ON_DEVICE
      return FileErrorCause::kBadSeek;
    case 20:    // ERROR_BAD_UNIT
    case 21:    // ERROR_NOT_READY
    case 23:    // ERROR_CRC
    case 29:    // ERROR_WRITE_FAULT
    case 30:    // ERROR_READ_FAULT
    case 31:    // ERROR_GEN_FAILURE
    case 1117:  // ERROR_IO_DEVICE
      return FileErrorCause::kHardIO;
    case 32:  // ERROR_SHARING_VIOLATION
      return FileErrorCause::kSharingViolation;
    case 33:   // ERROR_LOCK_VIOLATION
    case 108:  // ERROR_DRIVE_LOCKED
    case 167:  // ERROR_LOCK_FAILED
      return FileErrorCause::kLockViolation;
    case 39:    // ERROR_HANDLE_DISK_FULL
    case 112:   // ERROR_DISK_FULL
    case 1295:  // ERROR_DISK_QUOTA_EXCEEDED
      return FileErrorCause::kDiskFull;
    case 38:  // ERROR_HANDLE_EOF
      return FileErrorCause::kEndOfFile;
    default:
      return FileErrorCause::kGeneric;
  }
}

}  // namespace kx::hostkit
