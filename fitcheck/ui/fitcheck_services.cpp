#include "fitcheck/ui/fitcheck_services.h"

#include <windows.h>

#include "common/log_writer_win32.h"
#include "common/product_settings_win32.h"

namespace kx {
namespace {

WizardSettings ReadSettings() {
  ProductSettings& s = ProcessSettings();
  return WizardSettings{s.Product(), s.ViewerTitle(), s.ModuleFolder(), s.LogFolder()};
}

std::string TemporaryFolder() {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  return length > 0 && length <= MAX_PATH ? std::string(folder, length) : std::string();
}

}  // namespace

FitcheckServices::FitcheckServices()
    : settings(ReadSettings()),
      env(KxEnvServices{system, graphics, ProcessLog()}, ProcessSettings().EditionCode(),
          ProcessSettings().VersionCode(), settings.module_folder),
      exchange(profiles, files, ProcessLog(), TemporaryFolder(), settings.module_folder,
               settings.log_folder),
      results(registry, module_files, graphics, ProcessLog(),
              ProcessSettings().RegistryProductKey("Environment"),
              ProcessSettings().RegistryProductKey("Directories")) {}

}  // namespace kx
