#include "fitcheck/core/checker_exchange.h"

#include "common/exchange_contract.h"
#include "common/text.h"

namespace kx {

CheckerExchange::CheckerExchange(ProfileStore& profiles, FileSystem& files, LogWriter& log,
                                 std::string temp_folder, std::string module_folder,
                                 std::string log_folder)
    : profiles_(profiles),
      files_(files),
      log_(log),
      temp_folder_(std::move(temp_folder)),
      module_folder_(std::move(module_folder)),
      log_folder_(std::move(log_folder)) {}

const std::string& CheckerExchange::ExchangeFolder() {
  if (folder_.empty()) {
    folder_ = temp_folder_ + exchange::kFolderName + "\\";
    files_.CreateFolder(folder_);  // it may exist from an earlier run
  }
  return folder_;
}

bool CheckerExchange::WriteRequest(const KxGLOption& option, const std::string& request_path,
                                   const std::string& result_path, std::int32_t window) {
  using namespace exchange;
  // A key left with the previous test's value would have the viewer test
  // another configuration than this one: the first key not written is kept.
  const char* failed_key = nullptr;
  const auto write = [&](const char* key, const std::string& value) {
    if (!profiles_.WriteString(request_path, kSection, key, value) && !failed_key) failed_key = key;
  };
  const auto flag = [](bool on) { return std::string(on ? "1" : "0"); };

  const std::string picture = Format("%sdata\\%s", module_folder_.c_str(), option.BmpFile.c_str());
  std::string folder = module_folder_;
  if (EndsWithBackslash(folder)) folder.pop_back();
  const std::string model = folder + "\\data\\test.q3d";

  write(kBmpFile, picture);
  const bool picture_present = files_.Exists(picture);
  write(kQ3dFile, model);
  if (!files_.Exists(model) || !picture_present) {
    last_result_code_ = kResultFilesMissing;
    return false;
  }
  write(kResultFile, result_path);
  write(kDirectX, flag(option.DirectX));
  write(kAntiAlias, flag(option.AntiAlias));
  write(kShadow, flag(option.Shadow));
  write(kPhong, flag(option.Phong));
  write(kNoOpenGLAcc, flag(option.NoOpenGLAcc));
  write(kHwnd, Format("%d", window));
  write(kLogFile, Format("%s%s", log_folder_.c_str(), kViewerLogPattern));
  if (failed_key) {
    log_.Log(Format("設定ファイルへの書き込み失敗 Key=%s", failed_key));
    return false;
  }
  return true;
}

bool CheckerExchange::ReadResult(const std::string& result_path) {
  bool passed = false;
  if (files_.Exists(result_path)) {
    last_result_code_ =
        profiles_.ReadInt(result_path, exchange::kSection, exchange::kResultCode, exchange::kResultAbsent);
    passed = last_result_code_ == exchange::kResultShown;
  }
  log_.Log(Format("３Ｄ表示モジュールからの結果コード:%d", last_result_code_));
  return passed;
}

}  // namespace kx
