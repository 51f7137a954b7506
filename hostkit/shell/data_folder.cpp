#include "hostkit/shell/data_folder.h"

#include <vector>

#include "common/text.h"

namespace kx::hostkit {

bool IsDataFolderName(const std::string& name, const DoubleByteRule& code_page) {
  // Windows drops trailing dots and blanks: "", "." and ". ." name the base
  // itself, and ".." its parent, whose files would all go.
  if (name.find_first_not_of(". ") == std::string::npos) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    // The second byte of a double-byte character may be 0x5C and is no
    // separator ("表", "ソ").
    if (code_page.lead(c) && i + 1 < name.size() &&
        code_page.trail(c, static_cast<unsigned char>(name[i + 1]))) {
      ++i;
      continue;
    }
    // A separator or a drive would put the folder elsewhere.
    if (c == '\\' || c == '/' || c == ':') return false;
  }
  return true;
}

std::int32_t InitDataFolder(DataFolderFiles& files, const std::string& base,
                            const std::string& name, const DoubleByteRule& code_page) {
  if (!IsDataFolderName(name, code_page)) return kDataFolderUnavailable;
  if (!files.Exists(base)) return kDataFolderUnavailable;
  const std::string target = base + "\\" + name;
  if (!files.Exists(target)) {
    return files.CreateFolder(target) ? kDataFolderReady : kDataFolderUnavailable;
  }
  // A file of that name is no working folder: reporting success would send
  // the caller's files into a folder that is not there.
  if (!files.IsFolder(target)) return kDataFolderUnavailable;
  // Names first, deletions after: the listing is not disturbed by the
  // files going while it runs.
  std::vector<std::string> doomed;
  files.ListFolder(target, [&](const std::string& entry, bool directory) {
    if (!directory) doomed.push_back(entry);
  });
  std::int32_t result = kDataFolderReady;
  for (const std::string& entry : doomed) {
    if (!files.RemoveFile(target + "\\" + entry)) result = kDataFolderNotEmptied;
  }
  return result;
}

}  // namespace kx::hostkit
