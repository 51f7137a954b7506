// What differs between the editions of the host application: product name,
// maker folder, log sub-folder, registry key and viewer title. Built-in
// defaults, overridden by "KxEnvSettings.ini" beside the executable.
#pragma once

#include <string>

#include "common/file_system.h"
#include "common/profile_store.h"

namespace kx {

// Where the running program is, as the platform tells it.
class ProcessPaths {
 public:
  virtual ~ProcessPaths() = default;
  // Full path of the running executable with "." and ".." resolved; empty
  // when it cannot be obtained.
  virtual std::string ExecutablePath() = 0;
  // The user's local application-data folder (created when missing); empty
  // when it cannot be obtained.
  virtual std::string LocalAppDataFolder() = 0;
};

inline constexpr const char* kSettingsFileName = "KxEnvSettings.ini";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kDefaultViewerTitle = "ドミレルデザイナー動作チェック";

// The folder of `executable_path`, ending in a backslash; empty when the
// path has no folder part.
std::string ModuleFolderOf(const std::string& executable_path);

// The base name of `executable_path` without its extension ("Fitview" for
// …\Fitview.exe): the application's name, which names its instance lock.
std::string ApplicationNameOf(const std::string& executable_path);

class ProductSettings {
 public:
  ProductSettings(ProfileStore& profiles, FileSystem& files, ProcessPaths& paths);

  // Reads the settings file, when there is one, over the defaults.
  void Load();

  const std::string& ModuleFolder();
  const std::string& LogFolder();
  std::string RegistryProductKey(const std::string& subkey);

  const std::string& EditionCode() const { return edition_code_; }
  const std::string& VersionCode() const { return version_code_; }
  const std::string& Product() const { return product_; }
  const std::string& Company() const { return company_; }
  const std::string& ViewerTitle() const { return viewer_title_; }

 private:
  ProfileStore& profiles_;
  FileSystem& files_;
  ProcessPaths& paths_;

  std::string edition_code_ = "ZT";
  std::string version_code_ = "3";
  std::string log_folder_;
  std::string module_folder_;
  std::string reg_path_;
  std::string company_ = "Halvane";
  std::string log_path_;
  std::string product_ = "3D ドミレルデザイナー";
  std::string viewer_title_ = kDefaultViewerTitle;
  bool module_folder_known_ = false;
};

// The viewer's reduced reader: only "ViewerTitle" of the settings file in
// `module_folder`, over the built-in default.
std::string ReadViewerTitle(ProfileStore& profiles, FileSystem& files,
                            const std::string& module_folder);

}  // namespace kx
