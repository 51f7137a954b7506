#include "common/product_settings.h"

#include "common/text.h"

namespace kx {
namespace {

constexpr std::size_t kValueBuffer = 260;

// A non-empty value of `key` replaces `field`; a missing or empty one leaves it.
void Override(ProfileStore& profiles, const std::string& file, const char* key,
              std::string& field) {
  std::string value = profiles.ReadString(file, kSettingsSection, key, "", kValueBuffer);
  if (!value.empty()) field = std::move(value);
}

}  // namespace

std::string ModuleFolderOf(const std::string& executable_path) {
  const std::string path = TrimBlanks(executable_path);
  const std::size_t last = LastBackslash(path);
  if (last == std::string::npos) return std::string();
  return WithTrailingBackslash(path.substr(0, last));
}

std::string ApplicationNameOf(const std::string& executable_path) {
  const std::size_t last = LastBackslash(executable_path);
  std::string name = last == std::string::npos ? executable_path : executable_path.substr(last + 1);
  // A dot is never the second byte of a double-byte character.
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

ProductSettings::ProductSettings(ProfileStore& profiles, FileSystem& files, ProcessPaths& paths)
    : profiles_(profiles), files_(files), paths_(paths) {}

void ProductSettings::Load() {
  const std::string file = ModuleFolder() + kSettingsFileName;
  if (!files_.Exists(file)) return;
  Override(profiles_, file, "Product", product_);
  Override(profiles_, file, "Company", company_);
  Override(profiles_, file, "LogPath", log_path_);
  Override(profiles_, file, "RegPath", reg_path_);
  Override(profiles_, file, "ViewerTitle", viewer_title_);
}

const std::string& ProductSettings::ModuleFolder() {
  if (!module_folder_known_) {
    module_folder_ = ModuleFolderOf(paths_.ExecutablePath());
    module_folder_known_ = true;
  }
  return module_folder_;
}

const std::string& ProductSettings::LogFolder() {
  if (log_folder_.empty()) {
    if (log_path_.empty())
      log_path_ = Format("%s%s%s", "3DKX", edition_code_.c_str(), version_code_.c_str());
    const std::string base = paths_.LocalAppDataFolder();
    files_.CreateFolder(Format("%s\\%s\\", base.c_str(), company_.c_str()));
    log_folder_ = Format("%s\\%s\\%s\\", base.c_str(), company_.c_str(), log_path_.c_str());
    files_.CreateFolder(log_folder_);
  }
  return log_folder_;
}

std::string ProductSettings::RegistryProductKey(const std::string& subkey) {
  if (reg_path_.empty()) {
    reg_path_ = Format("Software\\HALVANE\\3D Domirel Designer %s %s\\", edition_code_.c_str(),
                       version_code_.c_str());
  }
  return reg_path_ + subkey;
}

std::string ReadViewerTitle(ProfileStore& profiles, FileSystem& files,
                            const std::string& module_folder) {
  std::string title = kDefaultViewerTitle;
  const std::string file = module_folder + kSettingsFileName;
  if (files.Exists(file)) Override(profiles, file, "ViewerTitle", title);
  return title;
}

}  // namespace kx
