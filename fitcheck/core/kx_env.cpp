#include "fitcheck/core/kx_env.h"

#include "common/text.h"
#include "fitcheck/core/os_naming.h"

namespace kx {

namespace {
constexpr const char* kDirectXLibrary = "D3DX9_34.DLL";
}

bool IsNewGeneration(const std::string& edition_code, const std::string& version_code) {
  if (edition_code == "VEK") return true;
  return edition_code == "ZT" && LeadingNumber(version_code) > 2;
}

CKxEnv::CKxEnv(SystemInfo& system, const std::string& edition_code,
               const std::string& version_code, std::string module_folder)
    : system_(system),
      module_folder_(std::move(module_folder)),
      new_generation_(IsNewGeneration(edition_code, version_code)) {}

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

}  // namespace kx
