#include "fitcheck/core/system_info_win32.h"

#include <windows.h>

#include "platform/win32/module_loader.h"

namespace kx {
namespace {

// Entry points of the kernel library that older systems lack.
class KernelEntries {
 public:
  using NativeSystemInfoFn = void WINAPI(LPSYSTEM_INFO);
  using ProductInfoFn = BOOL WINAPI(DWORD, DWORD, DWORD, DWORD, PDWORD);

  KernelEntries() : kernel_("kernel32.dll") {}
  NativeSystemInfoFn* NativeSystemInfo() const {
    return kernel_.Entry<NativeSystemInfoFn>("GetNativeSystemInfo");
  }
  ProductInfoFn* ProductInfo() const { return kernel_.Entry<ProductInfoFn>("GetProductInfo"); }

 private:
  win::LoadedModule kernel_;
};

void CopyCommon(const OSVERSIONINFOA& info, VersionRecord& out) {
  out.major = info.dwMajorVersion;
  out.minor = info.dwMinorVersion;
  out.build = info.dwBuildNumber;
  out.platform_id = info.dwPlatformId;
  out.service_pack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof info.szCSDVersion));
}

}  // namespace

bool Win32SystemInfo::BasicVersion(VersionRecord& out) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return false;
  out = VersionRecord{};
  CopyCommon(info, out);
  return true;
}

bool Win32SystemInfo::ExtendedVersion(VersionRecord& out) {
  OSVERSIONINFOEXA info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  out = VersionRecord{};
  CopyCommon(*reinterpret_cast<OSVERSIONINFOA*>(&info), out);
  out.service_pack_major = info.wServicePackMajor;
  out.service_pack_minor = info.wServicePackMinor;
  out.suite_mask = info.wSuiteMask;
  out.product_type = info.wProductType;
  return true;
}

int Win32SystemInfo::ProcessorArchitecture() {
  SYSTEM_INFO info = {};
  if (auto* native = KernelEntries().NativeSystemInfo()) {
    native(&info);
  } else {
    GetSystemInfo(&info);
  }
  return info.wProcessorArchitecture;
}

std::optional<std::uint32_t> Win32SystemInfo::ProductType(std::uint32_t major,
                                                          std::uint32_t minor,
                                                          std::uint32_t sp_major,
                                                          std::uint32_t sp_minor) {
  auto* product_info = KernelEntries().ProductInfo();
  if (!product_info) return std::nullopt;
  DWORD type = 0;
  if (!product_info(major, minor, sp_major, sp_minor, &type)) return std::nullopt;
  return type;
}

bool Win32SystemInfo::IsServerR2() { return GetSystemMetrics(SM_SERVERR2) != 0; }

std::uint64_t Win32SystemInfo::TotalPhysicalMemory(bool use_64bit_query) {
  if (use_64bit_query) {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return 0;
    return status.ullTotalPhys;
  }
  MEMORYSTATUS status = {};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status.dwTotalPhys;
}

void Win32SystemInfo::DesktopRect(int& left, int& top, int& right, int& bottom) {
  RECT rect = {};
  GetWindowRect(GetDesktopWindow(), &rect);
  left = rect.left;
  top = rect.top;
  right = rect.right;
  bottom = rect.bottom;
}

bool Win32SystemInfo::CanLoadLibrary(const std::string& name) {
  return win::LoadedModule(name.c_str()).loaded();
}

}  // namespace kx
