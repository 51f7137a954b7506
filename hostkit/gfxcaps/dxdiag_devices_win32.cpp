#include "hostkit/gfxcaps/dxdiag_devices_win32.h"

#include <windows.h>
// windows.h first
#include <dxdiag.h>
#include <oleauto.h>

#include <optional>

#include "platform/win32/module_loader.h"
#include "platform/win32/unique_resource.h"

namespace kx::hostkit {

namespace {

// The diagnostic service's provider class and interface.
constexpr GUID kDxDiagProviderClass = {
    0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
constexpr GUID kDxDiagProviderInterface = {
    0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
constexpr DWORD kDxDiagHeaderVersion = 111;
constexpr wchar_t kDisplayDevices[] = L"DxDiag_DisplayDevices";
constexpr UINT kChildNameChars = 256;

// A VARIANT cleared when it goes.
class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() noexcept { return &value_; }

 private:
  VARIANT value_;
};

std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

class Win32DiagDevice final : public DiagDevice {
 public:
  explicit Win32DiagDevice(win::ComPtr<IDxDiagContainer> container)
      : container_(std::move(container)) {}

  DiagValue Property(const char16_t* name) override {
    Variant value;
    const std::wstring wide_name = ToWide(name);
    if (FAILED(container_.get()->GetProp(wide_name.c_str(), value.get()))) return DiagValue();
    const VARIANT& v = *value.get();
    switch (V_VT(&v)) {
      case VT_I4:
        return DiagValue::Signed(V_I4(&v));
      case VT_UI4:
        return DiagValue::Unsigned(V_UI4(&v));
      case VT_BSTR: {
        const BSTR text = V_BSTR(&v);
        const UINT length = text != nullptr ? SysStringLen(text) : 0;
        return DiagValue::Text(std::u16string(text, text + length));
      }
      default:
        return DiagValue();
    }
  }

 private:
  win::ComPtr<IDxDiagContainer> container_;
};

class Win32DiagDisplayDevices final : public DiagDisplayDevices {
 public:
  bool Open() {
    com_.emplace();
    if (FAILED(CoCreateInstance(kDxDiagProviderClass, nullptr, CLSCTX_INPROC_SERVER,
                                kDxDiagProviderInterface,
                                reinterpret_cast<void**>(provider_.put())))) {
      return false;
    }
    // The size is that of this build's structure: it holds a pointer, so it
    // differs between 32-bit and 64-bit programs, and the service rejects
    // any other.
    DXDIAG_INIT_PARAMS params = {};
    params.dwSize = sizeof(params);
    params.dwDxDiagHeaderVersion = kDxDiagHeaderVersion;
    params.bAllowWHQLChecks = FALSE;
    params.pReserved = nullptr;
    return SUCCEEDED(provider_.get()->Initialize(&params)) &&
           SUCCEEDED(provider_.get()->GetRootContainer(root_.put())) &&
           SUCCEEDED(root_.get()->GetChildContainer(kDisplayDevices, devices_.put()));
  }

  std::uint32_t ChildCount() override {
    DWORD count = 0;
    if (FAILED(devices_.get()->GetNumberOfChildContainers(&count))) return 0;
    return count;
  }

  std::optional<std::u16string> ChildName(std::uint32_t index) override {
    wchar_t name[kChildNameChars] = {};
    if (FAILED(devices_.get()->EnumChildContainerNames(index, name, kChildNameChars))) {
      return std::nullopt;
    }
    name[kChildNameChars - 1] = L'\0';
    const std::wstring text(name);
    return std::u16string(text.begin(), text.end());
  }

  std::unique_ptr<DiagDevice> OpenChild(const std::u16string& name) override {
    win::ComPtr<IDxDiagContainer> child;
    if (FAILED(devices_.get()->GetChildContainer(ToWide(name).c_str(), child.put()))) {
      return nullptr;
    }
    return std::make_unique<Win32DiagDevice>(std::move(child));
  }

 private:
  // Released in reverse: the list, the root, the provider, then COM.
  std::optional<win::ComApartment> com_;
  win::ComPtr<IDxDiagProvider> provider_;
  win::ComPtr<IDxDiagContainer> root_;
  win::ComPtr<IDxDiagContainer> devices_;
};

}  // namespace

std::unique_ptr<DiagDisplayDevices> Win32DiagService::OpenDisplayDevices() {
  auto devices = std::make_unique<Win32DiagDisplayDevices>();
  if (!devices->Open()) return nullptr;
  return devices;
}

std::optional<bool> OwnThreadByApartmentQuery() noexcept {
  using ApartmentTypeFunction = HRESULT WINAPI(APTTYPE*, APTTYPEQUALIFIER*);
  auto* const apartment_type =
      win::SystemEntry<ApartmentTypeFunction>("ole32.dll", "CoGetApartmentType");
  if (apartment_type == nullptr) return std::nullopt;
  APTTYPE type = APTTYPE_CURRENT;
  APTTYPEQUALIFIER qualifier = APTTYPEQUALIFIER_NONE;
  if (FAILED(apartment_type(&type, &qualifier))) return true;  // COM not initialised here
  // Only in the process's multithreaded apartment by default, the thread
  // would still get a single-threaded one of its own.
  return type != APTTYPE_MTA || qualifier == APTTYPEQUALIFIER_IMPLICIT_MTA;
}

bool OwnThreadByApartmentProbe() noexcept {
  // Only a caller that has joined the multithreaded apartment is answered
  // RPC_E_CHANGED_MODE. A thread not initialised (even one in that apartment
  // by default) or already single-threaded gets S_OK or S_FALSE, undone at
  // once.
  const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(hr)) CoUninitialize();
  return hr != RPC_E_CHANGED_MODE;
}

bool ServiceMayUseItsOwnThread() noexcept {
  // The probe starts COM on the caller's thread, the first time in a process
  // at a cost (some 60 ms under Wine) that the service's own thread would
  // otherwise bear beside Direct3D: where the query exists it is used.
  return OwnThreadByApartmentQuery().value_or(OwnThreadByApartmentProbe());
}

std::string Win32ThreadCodePage::FromWide(const std::u16string& text) {
  if (text.empty()) return std::string();
  const std::wstring wide = ToWide(text);
  const int length = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_THREAD_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, wide.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace kx::hostkit
