#include "hostkit/shell/data_folder.h"

#include <vector>

namespace kx::hostkit {

std::int32_t InitDataFolder(DataFolderFiles& files, const std::string& base,
                            const std::string& name) {
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
