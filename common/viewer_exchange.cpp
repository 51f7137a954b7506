#include "common/viewer_exchange.h"

#include "common/exchange_contract.h"
#include "common/text.h"

namespace kx {
namespace {

void ReadText(ProfileStore& profiles, const std::string& file, const char* key,
              std::string& field) {
  std::string value =
      profiles.ReadString(file, exchange::kSection, key, std::string(), exchange::kValueBuffer);
  if (!value.empty()) field = std::move(value);
}

void ReadFlag(ProfileStore& profiles, const std::string& file, const char* key, bool& field) {
  field = profiles.ReadInt(file, exchange::kSection, key, field ? 1 : 0) != 0;
}

}  // namespace

RequestReading ReadViewerRequest(ProfileStore& profiles, FileSystem& files,
                                 const std::string& request_path,
                                 ViewerRequest& request) noexcept {
  if (request_path.empty() || !files.Exists(request_path)) return RequestReading::kRequestMissing;

  ReadText(profiles, request_path, exchange::kBmpFile, request.bmp_file);
  ReadText(profiles, request_path, exchange::kQ3dFile, request.q3d_file);
  ReadText(profiles, request_path, exchange::kResultFile, request.result_file);
  ReadFlag(profiles, request_path, exchange::kDirectX, request.direct_x);
  ReadFlag(profiles, request_path, exchange::kAntiAlias, request.anti_alias);
  ReadFlag(profiles, request_path, exchange::kShadow, request.shadow);
  ReadFlag(profiles, request_path, exchange::kPhong, request.phong);
  ReadFlag(profiles, request_path, exchange::kNoOpenGLAcc, request.no_opengl_acc);
  request.checker_window = profiles.ReadInt(request_path, exchange::kSection, exchange::kHwnd, 0);
  ReadText(profiles, request_path, exchange::kLogFile, request.log_file);

  // An empty name never names an existing file.
  const bool present = !request.bmp_file.empty() && files.Exists(request.bmp_file) &&
                       !request.q3d_file.empty() && files.Exists(request.q3d_file);
  return present ? RequestReading::kComplete : RequestReading::kDataFileMissing;
}

bool WriteViewerResult(ProfileStore& profiles, const std::string& result_path,
                       std::int32_t code) noexcept {
  if (result_path.empty()) return false;
  return profiles.WriteString(result_path, exchange::kSection, exchange::kResultCode,
                              Format("%d", static_cast<int>(code)));
}

}  // namespace kx
