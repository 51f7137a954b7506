// The environment probe of the wizard: names the operating system and judges
// it, the installed memory and the screen size. Each value is measured once,
// on first use. It also carries the graphics test plan and the capabilities
// measured for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/log_writer.h"
#include "fitcheck/core/graphics_capabilities.h"
#include "fitcheck/core/kx_gl_option.h"
#include "fitcheck/core/system_info.h"

namespace kx {

// True for the product generation that no longer supports Windows 2000.
bool IsNewGeneration(const std::string& edition_code, const std::string& version_code);

// What the probe measures and asks through.
struct KxEnvServices {
  SystemInfo& system;
  GraphicsCapabilities& graphics;
  LogWriter& log;
};

class CKxEnv {
 public:
  CKxEnv(const KxEnvServices& services, const std::string& edition_code,
         const std::string& version_code, std::string module_folder);
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

  // The graphics test plan: the ten configurations, richest first.
  // CheckGLEnv enables those this computer can plausibly run; NextOption
  // walks forward through the enabled ones.
  bool CheckGLEnv();
  [[nodiscard]] bool NextOption(KxGLOption& out);
  int CountEnabled() const;
  const std::vector<KxGLOption>& TestPlan() const { return test_plan_; }
  std::int32_t CurrentIndex() const { return current_index_; }

  std::int32_t AntiAliasAcceptable() const { return anti_alias_acceptable_; }
  std::int32_t ShadowMapAcceptable() const { return shadow_map_acceptable_; }
  std::int32_t PhongShadingAcceptable() const { return phong_shading_acceptable_; }
  double VideoMemory() const { return video_memory_; }
  const std::string& ChipType() const { return chip_type_; }

  bool NewGeneration() const { return new_generation_; }
  std::int32_t ServicePackMajor() const { return service_pack_major_; }
  std::int32_t MemoryMB() const { return memory_mb_; }
  std::int32_t ScreenWidth() const { return screen_width_; }
  std::int32_t ScreenHeight() const { return screen_height_; }

 private:
  SystemInfo& system_;
  GraphicsCapabilities& graphics_;
  LogWriter& log_;
  std::string module_folder_;
  std::vector<KxGLOption> test_plan_;
  std::int32_t current_index_ = -1;
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
  std::int32_t anti_alias_acceptable_ = 0;
  std::int32_t shadow_map_acceptable_ = 0;
  std::int32_t phong_shading_acceptable_ = 0;
  double video_memory_ = -1.0;
  std::string chip_type_;
  bool new_generation_;

  const VersionRecord& Basic();
};

}  // namespace kx
