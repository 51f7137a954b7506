// The shell utilities and the parts search over the real system: class
// keys, WinExec, folders and files, the locale's text mapping.
#pragma once

#include <optional>
#include <string>

#include "hostkit/shell/data_folder.h"
#include "hostkit/shell/search_walk.h"
#include "hostkit/shell/search_words.h"
#include "hostkit/shell/shell_command.h"

namespace kx::hostkit {

// Default values under HKEY_CLASSES_ROOT: read access, REG_SZ only, at most
// kCommandBufferBytes bytes with the terminator.
class Win32ClassKeys final : public ClassKeys {
 public:
  std::optional<std::string> DefaultValue(const std::string& key) override;
};

// WinExec with SW_SHOW.
class WinExecStarter final : public CommandStarter {
 public:
  std::int32_t Start(const std::string& command_line) override;
};

class Win32DataFolderFiles final : public DataFolderFiles {
 public:
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  void ListFolder(const std::string& folder,
                  const std::function<void(const std::string&, bool)>& entry) override;
  bool RemoveFile(const std::string& path) override;
};

// The whole content of a file; none when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// LCMapString in the user's default locale: upper case, katakana, full width.
class Win32SearchTextMapper final : public SearchTextMapper {
 public:
  std::string Map(const std::string& text) override;
};

// FindFirstFile / FindNextFile over folder + "*.*".
class Win32SearchFiles final : public SearchFiles {
 public:
  void ListFolder(const std::string& folder,
                  const std::function<bool(const SearchEntry&)>& entry) override;
};

// Writes `bytes` to `path`, created or emptied first; false when the file
// cannot be opened or written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace kx::hostkit
