// The viewer's side of the exchange files: reading the request that the
// checker wrote for one 3D test, and writing the viewer's result code back.
#pragma once

#include <cstdint>
#include <string>

#include "common/file_system.h"
#include "common/profile_store.h"

namespace kx {

// One configuration to show, as the request file names it. The initial values
// are the viewer's own; a request key that is missing keeps them.
struct ViewerRequest {
  std::string bmp_file;
  std::string q3d_file;
  std::string result_file;
  std::string log_file;
  bool direct_x = false;
  bool anti_alias = false;
  bool shadow = false;
  bool phong = false;
  bool no_opengl_acc = true;
  // The checker's window as its 32-bit signed value; 0 when none was named.
  std::int32_t checker_window = 0;
};

enum class RequestReading {
  kComplete,         // read, and the picture and the model both exist
  kRequestMissing,   // no request file: nothing was read
  kDataFileMissing,  // read, but the picture or the model does not exist
};

// Reads the request file over `request`: text keys replace a field only when
// their value is not empty, flag keys default to the field's current value.
// With kRequestMissing `request` is left untouched; with kDataFileMissing it
// holds what was read (the log file among it), so that the viewer can still
// log and report the failure.
[[nodiscard]] RequestReading ReadViewerRequest(ProfileStore& profiles, FileSystem& files,
                                               const std::string& request_path,
                                               ViewerRequest& request) noexcept;

// Writes "ResultCode" to the result file. False when no result file is named
// (nothing is written then) or when the write failed.
[[nodiscard]] bool WriteViewerResult(ProfileStore& profiles, const std::string& result_path,
                                     std::int32_t code) noexcept;

}  // namespace kx
