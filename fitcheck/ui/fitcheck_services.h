// Everything the wizard works with, over the real platform: the probe, the
// exchange files, the result store and the process-wide log and settings.
#pragma once

#include "common/file_system_win32.h"
#include "common/profile_store_win32.h"
#include "common/registry_win32.h"
#include "fitcheck/core/folder_tree_win32.h"
#include "fitcheck/core/hostkit_capabilities_win32.h"
#include "fitcheck/core/module_files_win32.h"
#include "fitcheck/core/system_info_win32.h"
#include "fitcheck/ui/wizard.h"

namespace kx {

class FitcheckServices {
 public:
  FitcheckServices();

  Win32SystemInfo system;
  HostkitCapabilities graphics;
  Win32ProfileStore profiles;
  Win32FileSystem files;
  Win32Registry registry;
  Win32ModuleFiles module_files;
  Win32FolderTree folders;
  WizardSettings settings;
  CKxEnv env;
  CheckerExchange exchange;
  ResultStore results;
};

}  // namespace kx
