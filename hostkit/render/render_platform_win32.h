// The rendering dialogs' interfaces over Windows: the current user's
// registry, folders, the folder browser and the render-points service
// library "HV_Lib.dll".
#pragma once

#include <windows.h>

#include <cstdint>

#include "hostkit/render/points_service.h"
#include "hostkit/render/render_multi_view.h"
#include "hostkit/render/render_settings.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit {

class Win32SettingsRegistry final : public SettingsRegistry {
 public:
  std::optional<std::uint32_t> ReadDword(const std::string& key_path,
                                         const std::string& name) override;
  std::optional<std::string> ReadString(const std::string& key_path,
                                        const std::string& name) override;
  void WriteDword(const std::string& key_path, const std::string& name,
                  std::uint32_t value) override;
  void WriteString(const std::string& key_path, const std::string& name,
                   const std::string& value) override;
};

class Win32FolderSystem final : public FolderSystem {
 public:
  bool Exists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
};

class Win32FolderBrowser final : public FolderBrowser {
 public:
  explicit Win32FolderBrowser(HWND owner) : owner_(owner) {}
  std::optional<std::string> Browse(const std::string& title) override;

 private:
  HWND owner_;
};

// "HV_Lib.dll", loaded by name on first need and unloaded with the object.
class HvLibrary final : public PointsService {
 public:
  // Whether the dialog logs in ("HV_MRLoginEx") besides asking for points.
  explicit HvLibrary(bool with_login) : with_login_(with_login) {}
  bool Load() override;
  bool Login(std::string& login) override;
  std::optional<std::string> Points(std::int32_t pixels) override;

 private:
  using LoginFunction = std::int32_t WINAPI(char*, char*);
  using PointsFunction = std::int32_t WINAPI(std::int32_t, char*, char*, char*);

  bool with_login_;
  bool tried_ = false;
  bool ready_ = false;
  win::LoadedModule module_;
  LoginFunction* login_ = nullptr;
  PointsFunction* points_ = nullptr;
};

}  // namespace kx::hostkit
