#include "fitcheck/core/kx_env.h"

#include "common/text.h"
#include "fitcheck/core/os_naming.h"

namespace kx {

namespace {

constexpr const char* kDirectXLibrary = "D3DX9_34.DLL";

// The ten candidates A..J, richest first; all disabled until CheckGLEnv.
std::vector<KxGLOption> BuildTestPlan() {
  struct Row {
    bool directx, anti_alias, shadow, phong, no_acc;
    const char* bmp;
  };
  constexpr Row kRows[] = {
      {true, true, true, true, true, "testA.bmp"},    {true, true, true, false, true, "testB.bmp"},
      {true, true, false, true, true, "testC.bmp"},   {true, true, false, false, true, "testD.bmp"},
      {true, false, true, true, true, "testE.bmp"},   {true, false, true, false, true, "testF.bmp"},
      {true, false, false, true, true, "testG.bmp"},  {true, false, false, false, true, "testH.bmp"},
      {false, false, false, false, false, "testI.bmp"}, {false, false, false, false, true, "testJ.bmp"},
  };
  std::vector<KxGLOption> plan;
  for (const Row& r : kRows) {
    plan.push_back(KxGLOption{r.directx, r.anti_alias, r.shadow, r.phong, r.no_acc, false, r.bmp});
  }
  return plan;
}

enum PlanEntry { kA, kB, kC, kD, kE, kF, kG, kH, kI, kJ };

}  // namespace

bool IsNewGeneration(const std::string& edition_code, const std::string& version_code) {
  if (edition_code == "VEK") return true;
  return edition_code == "ZT" && LeadingNumber(version_code) > 2;
}

CKxEnv::CKxEnv(const KxEnvServices& services, const std::string& edition_code,
               const std::string& version_code, std::string module_folder)
    : system_(services.system),
      graphics_(services.graphics),
      log_(services.log),
      module_folder_(std::move(module_folder)),
      new_generation_(IsNewGeneration(edition_code, version_code)) {
  test_plan_ = BuildTestPlan();
}

const VersionRecord& CKxEnv::Basic() {
  if (!basic_known_) {
    basic_ = VersionRecord{};
    system_.BasicVersion(basic_);
    basic_known_ = true;
  }
  return basic_;
}

const std::string& CKxEnv::GetOsName() {
  if (service_pack_major_ >= 0) return os_name_;
  service_pack_major_ = 0;
  os_name_ = "Unknown OS Version";
  const OsNameResult classic = ClassicOsName(Basic());
  if (classic.recognised) {
    os_name_ = classic.name;
  } else if (Basic().major > 4) {
    extended_ = VersionRecord{};
    if (system_.ExtendedVersion(extended_)) {
      const OsNameResult nt = NtOsName(extended_, system_);
      if (nt.recognised) {
        os_name_ = nt.name;
        service_pack_major_ = extended_.major < 5 ? 0 : extended_.service_pack_major;
      }
    }
  }
  return os_name_;
}

bool CKxEnv::IsOsAcceptable() {
  const std::string& name = GetOsName();
  if (ContainsText(name, "Windows XP")) return service_pack_major_ >= 2;
  const VersionRecord& v = Basic();
  if (v.major == 6 && (v.minor == 0 || v.minor == 1)) {
    return extended_.product_type == kProductWorkstation;
  }
  if (ContainsText(name, "Windows 2000")) return !new_generation_;
  return false;
}

const std::string& CKxEnv::GetMemoryText() {
  if (memory_text_.empty()) {
    const std::uint64_t bytes = system_.TotalPhysicalMemory(Basic().major >= 5);
    memory_mb_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes >> 20));
    memory_text_ = Format("%d MB", memory_mb_);
  }
  return memory_text_;
}

bool CKxEnv::IsMemoryAcceptable() {
  const std::string& name = GetOsName();
  GetMemoryText();
  std::int32_t threshold = 1000;
  if (ContainsText(name, "Windows XP")) {
    threshold = 510;
  } else if (ContainsText(name, "Windows 2000") && !new_generation_) {
    threshold = 250;
  }
  return memory_mb_ >= threshold;
}

const std::string& CKxEnv::GetScreenText() {
  if (screen_text_.empty()) {
    int left = 0, top = 0, right = 0, bottom = 0;
    system_.DesktopRect(left, top, right, bottom);
    screen_width_ = right - left;
    screen_height_ = bottom - top;
    screen_text_ = Format("%i x %i", screen_width_, screen_height_);
  }
  return screen_text_;
}

bool CKxEnv::IsScreenAcceptable() {
  GetScreenText();
  return screen_width_ >= 1024 && screen_height_ >= 576;
}

VersionRecord CKxEnv::GetVersionRecord() {
  GetOsName();
  VersionRecord copy = Basic();
  return copy;
}

bool CKxEnv::IsDirectXPresent() { return system_.CanLoadLibrary(kDirectXLibrary); }

bool CKxEnv::CheckGLEnv() {
  log_.Log("KxEnv::CheckGLEnv 開始");
  video_memory_ = -1.0;
  chip_type_.clear();

  GlSpec spec;
  std::string chip;
  const std::int32_t result = graphics_.GetGLSpec(module_folder_, new_generation_ ? 1 : 0, spec, chip);
  bool phong_allowed = false;
  if (result == 0) {
    video_memory_ = spec.VideoMemory;
    chip_type_ = chip;
    anti_alias_acceptable_ = spec.AntiAliasAcceptable;
    shadow_map_acceptable_ = spec.ShadowMapAcceptable;
    phong_shading_acceptable_ = spec.PhongShadingAcceptable;
    phong_allowed = spec.PhongCheck != 0 && phong_shading_acceptable_ > 0;
    log_.Log(Format("ビデオメモリ:%g チップタイプ:%s", video_memory_, chip_type_.c_str()));
    log_.Log(Format("AntiAliasAceeptable:%d ShadowMapAceeptable:%d PhongShadingAceeptable:%d",
                    anti_alias_acceptable_, shadow_map_acceptable_, phong_shading_acceptable_));
    log_.Log(Format("DirectX = %d DirectX9c = %d", spec.DirectX, spec.DirectX9c));
  } else {
    spec = GlSpec{};  // a failed lookup counts as no capability at all
  }

  auto& plan = test_plan_;
  plan[kI].Enabled = true;
  plan[kJ].Enabled = true;
  if (spec.DirectX == 1) {
    plan[kH].Enabled = true;
    if (spec.DirectX9c == 1) {
      if (anti_alias_acceptable_ > 0) {
        plan[kA].Enabled = phong_allowed;
        plan[kB].Enabled = true;
        plan[kC].Enabled = phong_allowed;
        plan[kD].Enabled = true;
      }
      plan[kE].Enabled = phong_allowed;
      plan[kF].Enabled = true;
      plan[kG].Enabled = phong_allowed;
    } else if (spec.DirectX9c == 0) {
      plan[kD].Enabled = anti_alias_acceptable_ > 0;
    }
  }
  log_.Log("KxEnv::CheckGLEnv 終了");
  return true;
}

bool CKxEnv::NextOption(KxGLOption& out) {
  for (std::int32_t i = current_index_ + 1; i < static_cast<std::int32_t>(test_plan_.size()); ++i) {
    if (test_plan_[i].Enabled) {
      current_index_ = i;
      out = test_plan_[i];
      return true;
    }
  }
  return false;
}

int CKxEnv::CountEnabled() const {
  int count = 0;
  for (const KxGLOption& option : test_plan_) count += option.Enabled ? 1 : 0;
  return count;
}

}  // namespace kx
