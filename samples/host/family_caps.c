/* Graphics capability queries, as the host asks them at its start to choose
 * how the 3D view is set up. */
#include <stdio.h>

#include "host_engine.h"
#include "host_families.h"
#include "host_log.h"
#include "hostkit.h"

BOOL RunCapabilities(void) {
  char path[MAX_PATH + 16];
  char chip[HOSTKIT_GLSPEC_CHIPTYPE_BYTES];
  EnvChkGLSpec spec;
  VideoBoardInfo board;
  double memory = 0.0;
  BOOL ok = TRUE;
  int32_t type;

  /* Which graphics library the installed engine draws with. */
  snprintf(path, sizeof path, "%skx3d.dll", HostProgramFolder());
  type = EnvChk_GetGLType(path);
  HostLog("caps.GetGLType = %d", (int)type);
  if (type == 0) {
    HostLogFailure("caps.GetGLType", "the engine library reports no type");
    ok = FALSE;
  }

  /* What the adapter can do, after the per-chip lists beside the programs. */
  if (EnvChk_GetGLSpec(HostProgramFolder(), 1, &spec, chip) == 0) {
    HostLog("caps.GetGLSpec.chip = %s", chip);
    HostLog("caps.GetGLSpec.AntiAliasAcceptable = %d", (int)spec.AntiAliasAcceptable);
    HostLog("caps.GetGLSpec.ShadowMapAcceptable = %d", (int)spec.ShadowMapAcceptable);
    HostLog("caps.GetGLSpec.PhongShadingAcceptable = %d", (int)spec.PhongShadingAcceptable);
    HostLog("caps.GetGLSpec.VideoMemory = %.1f", spec.VideoMemory);
    HostLog("caps.GetGLSpec.DirectX = %d", (int)spec.DirectX);
    HostLog("caps.GetGLSpec.DirectX9c = %d", (int)spec.DirectX9c);
  } else {
    HostLogFailure("caps.GetGLSpec", "no capability record");
    ok = FALSE;
  }

  ZeroMemory(&board, sizeof board);
  if (GetVideoBoradInfo(&board)) {
    HostLog("caps.GetVideoBoradInfo.ChipType = %s", board.ChipType);
    HostLog("caps.GetVideoBoradInfo.VideoMemory = %.1f", board.VideoMemory);
  } else {
    HostLog("caps.GetVideoBoradInfo = 0");
  }
  if (GetVideoMemory(&memory)) HostLog("caps.GetVideoMemory = %.1f", memory);
  if (GetVideoMemFromDirectDraw(&memory)) HostLog("caps.GetVideoMemFromDirectDraw = %.1f", memory);

  HostLog("caps.ConformDeviceAcceptable(3) = %d", (int)ConformDeviceAcceptable(3));
  HostLog("caps.ConformDeviceAcceptableEx(3, shadow|phong) = %d",
          (int)ConformDeviceAcceptableEx(3, HOSTKIT_MASK_SHADOWMAP | HOSTKIT_MASK_PHONG));
  HostLog("caps.GetAvailableMultiSampleLevel = %d", (int)GetAvailableMultiSampleLevel(0, 0));
  return ok;
}
