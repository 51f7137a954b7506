#include "hostkit/parts/engine_link_win32.h"

#include <windows.h>
// windows.h first
#include <oleauto.h>

#include <climits>
#include <cstring>

#include "fitview/engine_api/kx3d_api.h"
#include "platform/win32/module_loader.h"

namespace kx::hostkit {

namespace {

class Win32EngineModule final : public EngineModule {
 public:
  explicit Win32EngineModule(const std::string& file) : module_(file.c_str()) {}
  bool loaded() const { return module_.loaded(); }
  void* Find(const char* name) override {
    return reinterpret_cast<void*>(module_.Entry<void()>(name));
  }

 private:
  win::LoadedModule module_;
};

class Win32EngineModules final : public EngineModules {
 public:
  std::unique_ptr<EngineModule> Load(const std::string& file) override {
    auto module = std::make_unique<Win32EngineModule>(file);
    if (!module->loaded()) return nullptr;
    return module;
  }
};

struct SystemStringTraits {
  using value_type = BSTR;
  static BSTR invalid() noexcept { return nullptr; }
  static void close(BSTR s) noexcept { SysFreeString(s); }
};
using UniqueSystemString = win::UniqueResource<SystemStringTraits>;

// Every byte of a string the engine handed out, by its byte length.
std::optional<std::string> EngineBytes(BSTR text) {
  if (text == nullptr) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text));
}

// The bytes of a string the engine handed out, up to the first NUL.
std::optional<std::string> EngineText(BSTR text) {
  std::optional<std::string> bytes = EngineBytes(text);
  if (bytes) bytes->resize(::strnlen(bytes->c_str(), bytes->size()));
  return bytes;
}

}  // namespace

IKX3DInterface* EngineLink() noexcept {
  // Destroyed in reverse order at process exit: the link (which unloads
  // the library) before the loader it uses.
  static Win32EngineModules modules;
  static IKX3DInterface link(modules);
  return link.EnsureLoaded() ? &link : nullptr;
}

std::int32_t Win32PartsEngine::CheckPartsIndex(std::int32_t parts) {
  return LinkEntry<decltype(Kxi_CheckPartsIndex)>(link_, EngineEntry::kCheckPartsIndex)(parts);
}

std::int32_t Win32PartsEngine::GetChildPartsNum(std::int32_t parts) {
  return LinkEntry<decltype(Kxi_GetChildPartsNum)>(link_, EngineEntry::kGetChildPartsNum)(parts);
}

std::int32_t Win32PartsEngine::GetChildPartsIndex(std::int32_t parts, std::int32_t position) {
  return LinkEntry<decltype(Kxi_GetChildPartsIndex)>(link_, EngineEntry::kGetChildPartsIndex)(
      parts, position);
}

std::int32_t Win32PartsEngine::GetPartsModelIndex(std::int32_t parts) {
  return LinkEntry<decltype(Kxi_GetPartsModelIndex)>(link_,
                                                     EngineEntry::kGetPartsModelIndex)(parts);
}

std::int32_t Win32PartsEngine::GetModelAttributeIndex(std::int32_t model) {
  return LinkEntry<decltype(Kxi_GetModelAttributeIndex)>(
      link_, EngineEntry::kGetModelAttributeIndex)(model);
}

std::int32_t Win32PartsEngine::GetAttribute(std::int32_t attribute,
                                            std::optional<std::string>* text, std::int32_t* flag) {
  UniqueSystemString handed;
  const std::int32_t result = LinkEntry<decltype(Kxi_GetAttribute)>(
      link_, EngineEntry::kGetAttribute)(attribute, handed.put(), flag);
  // The attribute text is fixed-width fields padded with NULs: a NUL ends
  // a field, not the text.
  *text = EngineBytes(handed.get());
  return result;
}

std::int32_t Win32PartsEngine::GetMakerAttribute(std::int32_t attribute,
                                                 std::optional<std::string>* text) {
  UniqueSystemString handed;
  const std::int32_t result = LinkEntry<decltype(Kxi_GetMakerAttribute)>(
      link_, EngineEntry::kGetMakerAttribute)(attribute, handed.put());
  *text = EngineText(handed.get());
  return result;
}

std::int32_t Win32PartsEngine::GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                                   std::int32_t* size) {
  return LinkEntry<decltype(Kxi_GetPartsExtendBlockEx)>(link_, EngineEntry::kGetPartsExtendBlockEx)(
      parts, type, size);
}

std::int32_t Win32PartsEngine::GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                                       void* buffer) {
  return LinkEntry<decltype(Kxi_GetPartsExtendBlockDataEx)>(
      link_, EngineEntry::kGetPartsExtendBlockDataEx)(parts, type, buffer);
}

std::int32_t Win32PartsEngine::SetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                                       const void* data, std::int32_t size) {
  return LinkEntry<decltype(Kxi_SetPartsExtendBlockDataEx)>(
      link_, EngineEntry::kSetPartsExtendBlockDataEx)(parts, type, data, size);
}

std::u16string Win32SystemCodec::ToWide(std::string_view multibyte) {
  if (multibyte.empty() || multibyte.size() > INT_MAX) return {};
  const int size = static_cast<int>(multibyte.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, multibyte.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, multibyte.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                      length);
  return wide;
}

std::string Win32SystemCodec::ToMultibyte(std::u16string_view wide) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const auto* text = reinterpret_cast<const wchar_t*>(wide.data());
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

void Win32DebugTrace::Line(std::u16string_view text) {
  std::wstring line(text.begin(), text.end());
  line += L"\n";
  OutputDebugStringW(line.c_str());
}

}  // namespace kx::hostkit
