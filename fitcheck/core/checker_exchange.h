// The checker's side of the exchange with the viewer: the exchange folder,
// the request written before each test and the result read after it.
#pragma once

#include <cstdint>
#include <string>

#include "common/file_system.h"
#include "common/log_writer.h"
#include "common/profile_store.h"
#include "fitcheck/core/kx_gl_option.h"

namespace kx {

class CheckerExchange {
 public:
  // `temp_folder` is the user's temporary folder, `module_folder` the
  // checker's own folder and `log_folder` the log folder, each ending in a
  // backslash.
  CheckerExchange(ProfileStore& profiles, FileSystem& files, LogWriter& log,
                  std::string temp_folder, std::string module_folder, std::string log_folder);

  // The temporary folder + "~Fitcheck\", created the first time it is asked for.
  const std::string& ExchangeFolder();
  bool FolderUsed() const { return !folder_.empty(); }

  // Writes the request for `option`; false (and LastResultCode 1) when the
  // sample picture or the test model is missing, in which case the writing
  // stops after "Q3dFile". Also false, LastResultCode unchanged, when a key
  // could not be written; the first such key is logged. `window` is the
  // checker dialog's handle value.
  [[nodiscard]] bool WriteRequest(const KxGLOption& option, const std::string& request_path,
                                  const std::string& result_path, std::int32_t window);

  // True when the result file exists and holds "ResultCode" 0. Logs the code
  // (the previous test's when the file is missing).
  [[nodiscard]] bool ReadResult(const std::string& result_path);

  std::int32_t LastResultCode() const { return last_result_code_; }

 private:
  ProfileStore& profiles_;
  FileSystem& files_;
  LogWriter& log_;
  std::string temp_folder_;
  std::string module_folder_;
  std::string log_folder_;
  std::string folder_;
  std::int32_t last_result_code_ = 0;
};

}  // namespace kx
