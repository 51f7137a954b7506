// The environment probe of the wizard: names the operating system and judges
// it, the installed memory and the screen size. Each value is measured once,
// on first use. It also carries the graphics test plan and the capabilities
// measured for it.
#pragma once

#include <cstdint>
#include <string>

#include "fitcheck/core/system_info.h"

namespace kx {

// True for the product generation that no longer supports Windows 2000.
bool IsNewGeneration(const std::string& edition_code, const std::string& version_code);

class CKxEnv {
 public:
  CKxEnv(SystemInfo& system, const std::string& edition_code, const std::string& version_code,
         std::string module_folder);
  virtual ~CKxEnv() = default;
  CKxEnv(const CKxEnv&) = delete;
  CKxEnv& operator=(const CKxEnv&) = delete;

  const std::string& GetOsName();
  bool IsOsAcceptable();
  const std::string& GetMemoryText();
  bool IsMemoryAcceptable();
  const std::string& GetScreenText();
  bool IsScreenAcceptable();
  VersionRecord GetVersionRecord();
  const std::string& GetModuleFolder() const { return module_folder_; }
  bool IsDirectXPresent();

  bool NewGeneration() const { return new_generation_; }
  std::int32_t ServicePackMajor() const { return service_pack_major_; }
  std::int32_t MemoryMB() const { return memory_mb_; }
  std::int32_t ScreenWidth() const { return screen_width_; }
  std::int32_t ScreenHeight() const { return screen_height_; }

 private:
  SystemInfo& system_;
  std::string module_folder_;
  std::string os_name_;
  std::string memory_text_;
  std::string screen_text_;
  VersionRecord basic_;
  VersionRecord extended_;
  bool basic_known_ = false;
  std::int32_t service_pack_major_ = -1;
  std::int32_t memory_mb_ = 0;
  std::int32_t screen_width_ = 0;
  std::int32_t screen_height_ = 0;
  bool new_generation_;

  const VersionRecord& Basic();
};

}  // namespace kx
