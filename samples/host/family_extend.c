/* Extended parts information (the catalogue texts written to a part and
 * read back), the plan's back image (stored in the model and written out
 * again), and the display bits of shapes, read back through the engine. */
#include "hostkit.h"
/* hostkit.h brings windows.h, which oleauto.h needs first. */
#include <oleauto.h>
#include <stdio.h>
#include <string.h>

#include "host_engine.h"
#include "host_families.h"
#include "host_log.h"

typedef int32_t(WINAPI* GetShapeOptionProc)(int32_t, int32_t, int32_t*);

/* A 2 x 2 picture, 24 bits, as a plan's back image. */
static BOOL WriteSampleBitmap(const char* path) {
  static const unsigned char kBitmap[] = {
      'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                /* file header */
      40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,  /* info header */
      16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, /* row 0: red, white */
      0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0, 0  /* row 1: blue, green */
  };
  FILE* file = fopen(path, "wb");
  size_t written;
  if (file == NULL) return FALSE;
  written = fwrite(kBitmap, 1, sizeof kBitmap, file);
  return fclose(file) == 0 && written == sizeof kBitmap;
}

/* The option words of the first shapes of the first models, as the engine
 * holds them: "extend.<step>.m<model>s<shape> = 0x...". */
static void LogShapeOptions(GetShapeOptionProc getOption, const char* step) {
  int32_t model, shape, option;
  if (getOption == NULL) return;
  for (model = 0; model < 2; ++model) {
    for (shape = 0; shape < 4; ++shape) {
      if (getOption(model, shape, &option) >= 0) {
        HostLog("extend.%s.m%ds%d = 0x%08X", step, (int)model, (int)shape, (unsigned)option);
      }
    }
  }
}

static long FileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
  return (long)data.nFileSizeLow;
}

/* "extend.<item> = <result>", and a failure line unless it is `expected`. */
static BOOL Logged(const char* item, int32_t result, int32_t expected) {
  char line[64];
  snprintf(line, sizeof line, "extend.%s", item);
  HostLog("%s = %d", line, (int)result);
  return HostExpect(line, result, expected);
}

BOOL RunExtend(void) {
  char folder[MAX_PATH], image[MAX_PATH + 32], copy[MAX_PATH + 32];
  BSTR name = NULL;
  VARIANT value;
  DWORD length;
  GetShapeOptionProc getOption;
  BOOL ok = TRUE;

  /* Catalogue texts for part 1: appended, then written as its strings. */
  ok &= HostExpect("extend.SetExtendPartsInfoData", SetExtendPartsInfoData("サンプル部品"), 1);
  ok &= HostExpect("extend.SetExtendPartsInfoData", SetExtendPartsInfoData("サンプル工房"), 1);
  ok &= Logged("SetExtendPartsInfo", SetExtendPartsInfo(1), 1);
  ok &= Logged("ReadExtendPartsInfo", ReadExtendPartsInfo(1), 1);
  /* The "Var" exports carry UTF-16 text. */
  VariantInit(&value);
  if (GetExtendPartsInfoVar(HOSTKIT_ATTRIBUTE_ID(HOSTKIT_SOURCE_TEXT, 2), &value) &&
      V_VT(&value) == VT_BSTR) {
    char text[256];
    WideCharToMultiByte(CP_ACP, 0, V_BSTR(&value), -1, text, sizeof text, NULL, NULL);
    HostLog("extend.string2 = %s", text);
  } else {
    HostLogFailure("extend.GetExtendPartsInfoVar", "no text");
    ok = FALSE;
  }
  VariantClear(&value);
  ok &= HostExpect("extend.ClearExtendPartsInfo", ClearExtendPartsInfo(), 1);

  /* The back image: a picture stored in the model, written out again. */
  length = GetTempPathA(sizeof folder - 64, folder);
  if (length == 0 || length >= sizeof folder - 64) return FALSE;
  snprintf(image, sizeof image, "%splan.bmp", folder);
  snprintf(copy, sizeof copy, "%splan-copy.bmp", folder);
  if (!WriteSampleBitmap(image)) {
    HostLogFailure("extend.bitmap", image);
    return FALSE;
  }
  ok &= Logged("SetExtendBackImage", SetExtendBackImage(image), 1);
  ok &= Logged("GetExtendBackImage", GetExtendBackImage(copy, &name), 1);
  HostLog("extend.backimage.name = %.*s", (int)SysStringByteLen(name), (const char*)name);
  HostLog("extend.backimage.bytes = %ld of %ld", FileSize(copy), FileSize(image));
  ok &= HostExpect("extend.backimage.bytes", FileSize(copy), FileSize(image));
  SysFreeString(name);
  ok &= Logged("ClearExtendBackImage", ClearExtendBackImage(0), 1);
  DeleteFileA(image);
  DeleteFileA(copy);

  /* Display bit 0x08 (the option word's top byte holds the display bits) on
   * the walls that face the viewer of the current view, and on the parts
   * they link to; then bit 0x01 on every shape of part 1 and below. */
  getOption = (GetShapeOptionProc)(void (*)(void))GetProcAddress(HostEngineModule(),
                                                                  "Kxi_GetShapeOption");
  SetDispAttrToWalls(0, -1, 0x08000000u, HOSTKIT_DISP_FACING_WALLS | HOSTKIT_DISP_CARRY_TO_LINKS);
  LogShapeOptions(getOption, "walls");
  ok &= HostExpect("extend.SetDispAttrToShapes", SetDispAttrToShapes(1, 0x01000000u, 1, 1), 0);
  LogShapeOptions(getOption, "shapes");
  return ok;
}
