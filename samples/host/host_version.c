/* Which Hostkit the sample was built with (hostkit_version.h) and which one
 * it runs with (Hostkit.dll's version resource). */
#include <stdlib.h>

#include "host_families.h"
#include "host_log.h"
#include "hostkit.h"

BOOL RunVersion(void) {
  char path[MAX_PATH];
  DWORD ignored = 0, size;
  void* info;
  VS_FIXEDFILEINFO* fixed = NULL;
  UINT length = 0;
  unsigned major, minor, patch;
  BOOL ok = FALSE;

  HostLog("sample.sdk.version = %d.%d.%d", HOSTKIT_VERSION_MAJOR, HOSTKIT_VERSION_MINOR,
          HOSTKIT_VERSION_PATCH);
  /* The Hostkit.dll this process loaded, wherever the system found it. */
  if (GetModuleFileNameA(GetModuleHandleA("Hostkit.dll"), path, MAX_PATH) == 0) {
    HostLogFailure("sample.hostkit.version", "Hostkit.dll is not loaded");
    return FALSE;
  }
  size = GetFileVersionInfoSizeA(path, &ignored);
  info = size != 0 ? malloc(size) : NULL;
  if (info == NULL || !GetFileVersionInfoA(path, 0, size, info) ||
      !VerQueryValueA(info, "\\", (void**)&fixed, &length) || length < sizeof *fixed) {
    HostLogFailure("sample.hostkit.version", "no version resource");
    free(info);
    return FALSE;
  }
  major = HIWORD(fixed->dwFileVersionMS);
  minor = LOWORD(fixed->dwFileVersionMS);
  patch = HIWORD(fixed->dwFileVersionLS);
  free(info);
  HostLog("sample.hostkit.version = %u.%u.%u", major, minor, patch);
  /* Another major version may have changed what an export means; an older
   * minor one may lack what this header declares. */
  if (major != HOSTKIT_VERSION_MAJOR) {
    HostLogFailure("sample.hostkit.version", "another major version than the SDK's");
  } else if (minor < HOSTKIT_VERSION_MINOR) {
    HostLogFailure("sample.hostkit.version", "older than the SDK");
  } else {
    ok = TRUE;
  }
  return ok;
}
