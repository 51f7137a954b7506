#include "fitcheck/core/result_store.h"

#include "common/text.h"

namespace kx {
namespace {

constexpr const char* kKeyClass = "Application Data";

struct LibraryVariant {
  const char* engine;     // replaces kx3d.dll
  const char* companion;  // replaces kx3dcol.dll
};

LibraryVariant VariantFor(std::int32_t code) {
  switch (code) {
    case 1: return {"%s\\kx3dlib\\kx3d.ogl", "%s\\kx3dlib\\kx3dcol.ogl"};
    case 2: return {"%s\\kx3dlib\\kx3d.drx", "%s\\kx3dlib\\kx3dcol.drx"};
    default: return {"%s\\kx3dlib\\kx3d.ds3", "%s\\kx3dlib\\kx3dcol.drx"};
  }
}

}  // namespace

ResultStore::ResultStore(Registry& registry, ModuleFiles& files, GraphicsCapabilities& graphics,
                         LogWriter& log, std::string environment_key, std::string directories_key)
    : registry_(registry),
      files_(files),
      graphics_(graphics),
      log_(log),
      environment_key_(std::move(environment_key)),
      directories_key_(std::move(directories_key)) {}

bool ResultStore::WriteEnvCheckResult(std::int32_t code) {
  auto key = registry_.CreateKey(RegistryRoot::kCurrentUser, environment_key_, kKeyClass,
                                 RegistryAccess::kAll);
  return key && key->SetDword("EnvCheckResult", static_cast<std::uint32_t>(code));
}

std::vector<GraphicSettingValue> GraphicSettingValues(const KxGLOption& option, const CKxEnv& env) {
  return {
      {"GraphicLibrary", false, GraphicLibraryCode(option), {}},
      {"AntiAliasAcceptable", false, env.AntiAliasAcceptable(), {}},
      {"ShadowMapAcceptable", false, env.ShadowMapAcceptable(), {}},
      {"PhongShadingAcceptable", false, env.PhongShadingAcceptable(), {}},
      {"ShadowMapResolutionLv", false, option.Shadow ? 3 : 0, {}},
      {"ShadingMethod", false, option.Phong ? 1 : 0, {}},
      {"PerspectiveViewAntialiasLv", false, option.AntiAlias ? 1 : 0, {}},
      {"ReusePixelFormat", false, option.NoOpenGLAcc ? 0 : 1, {}},
      {"ChipType", true, 0, env.ChipType()},
      {"VideoMemory", true, 0, Format("%g", env.VideoMemory())},
  };
}

bool ResultStore::StoreGraphicSettings(const KxGLOption& option, const CKxEnv& env) {
  auto key = registry_.CreateKey(RegistryRoot::kCurrentUser, environment_key_, kKeyClass,
                                 RegistryAccess::kAll);
  if (!key) return false;
  // Every value is attempted, in order, even after one fails.
  bool ok = true;
  for (const GraphicSettingValue& v : GraphicSettingValues(option, env)) {
    ok &= v.is_string ? key->SetString(v.name, v.text)
                      : key->SetDword(v.name, static_cast<std::uint32_t>(v.dword));
  }
  return ok;
}

bool ResultStore::SwitchGraphicLibraryModule(const KxGLOption& option) {
  if (!registry_.OpenKey(RegistryRoot::kLocalMachine, directories_key_, RegistryAccess::kRead)) {
    return true;
  }
  std::string program_dir, install_dir;
  {
    auto key = registry_.CreateKey(RegistryRoot::kLocalMachine, directories_key_, kKeyClass,
                                   RegistryAccess::kRead);
    if (!key) return true;
    program_dir = key->QueryString("ProgramDir").value_or("");
    install_dir = key->QueryString("InstallDir").value_or("");
  }
  if (program_dir.empty() || install_dir.empty()) return true;

  const std::int32_t current =
      graphics_.GetGLType(Format("%s\\%s", program_dir.c_str(), "kx3d.dll"));
  const std::int32_t desired = GraphicLibraryCode(option);
  if (current == desired) return true;

  const LibraryVariant variant = VariantFor(desired);
  const auto replace = [&](const char* source_pattern, const char* target_name) {
    const std::string source = Format(source_pattern, install_dir.c_str());
    const std::string target = Format("%s\\%s", program_dir.c_str(), target_name);
    return files_.ResetAttributes(target) && files_.Copy(source, target);
  };
  // Both pairs are attempted, whatever became of the first.
  const bool engine_ok = replace(variant.engine, "kx3d.dll");
  const bool companion_ok = replace(variant.companion, "kx3dcol.dll");
  const bool ok = engine_ok && companion_ok;
  log_.Log(Format(ok ? "グラフィックライブラリモジュール LibType %d から %d へ切り替え成功"
                     : "グラフィックライブラリモジュール LibType %d から %d へ切り替え失敗",
                  current, desired));
  return ok;
}

}  // namespace kx
