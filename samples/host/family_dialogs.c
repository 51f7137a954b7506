/* The host's dialogs that ask the user: the rendering settings (with its
 * stored settings read back as the renderer reads them), the parts search
 * (word dialog, then the search with its progress dialog), and the plain
 * utilities around them: a working folder and a style lookup. */
#include "hostkit.h"
/* hostkit.h brings windows.h, which oleauto.h needs first. */
#include <oleauto.h>
#include <stdio.h>
#include <string.h>

#include "host_engine.h"
#include "host_families.h"
#include "host_log.h"

/* The sample's own registry key, as the design application has its own. */
static const char kSampleKey[] = "Software\\HostkitSample";

/* A folder under %TEMP% for the sample's files, made empty. */
static BOOL WorkFolder(char* folder, size_t size) {
  DWORD length = GetTempPathA((DWORD)size - 16, folder);
  int32_t ready;
  if (length == 0 || length >= size - 16) return FALSE;
  if (folder[length - 1] == '\\') folder[length - 1] = '\0';
  ready = InitDataFolder(folder, "HostSampleWork");
  HostLog("shell.InitDataFolder = %d", (int)ready);
  strcat(folder, "\\HostSampleWork\\");
  return ready == HOSTKIT_DATA_FOLDER_READY;
}

static void LogSetting(const char* name) {
  char key[128];
  DWORD value = 0, size = sizeof value;
  snprintf(key, sizeof key, "%s\\Settings", kSampleKey);
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, NULL, &value, &size) ==
      ERROR_SUCCESS) {
    HostLog("render.Settings.%s = %lu", name, (unsigned long)value);
  }
}

BOOL RunRender(HWND owner) {
  char folder[MAX_PATH], viewList[MAX_PATH + 32];
  int32_t roof = HOSTKIT_ROOF_SHOWN, result;
  BSTR login = NULL;
  if (!WorkFolder(folder, sizeof folder - 32)) {
    HostLogFailure("render.folder", "no working folder");
    return FALSE;
  }
  snprintf(viewList, sizeof viewList, "%sviews.ini", folder);
  /* Local rendering (mode 0) of a perspective of 800 x 600. */
  result = RenderDialogDoModal(owner, 0, 0, 0, 800, 600, &roof, "sample", kSampleKey, viewList,
                               &login);
  HostLog("render.RenderDialogDoModal = %d", (int)result);
  if (result == 1) {
    HostLog("render.roof = %d", (int)roof);
    LogSetting("Width");
    LogSetting("Height");
    LogSetting("Method");
  }
  SysFreeString(login);
  return TRUE;
}

BOOL RunSearch(HWND owner) {
  char result[MAX_PATH + 32], line[MAX_PATH + 32];
  RECT outer;
  BSTR words = NULL;
  int32_t files = 20, hits = 0, found;
  FILE* list;
  if (!WorkFolder(result, sizeof result - 32)) {
    HostLogFailure("search.folder", "no working folder");
    return FALSE;
  }
  strcat(result, "hits.txt");
  GetWindowRect(owner, &outer);
  found = SearchWordDoModal(owner, (outer.left + outer.right) / 2, outer.bottom - 40,
                            "部品検索", &words);
  HostLog("search.SearchWordDoModal = %d", (int)found);
  if (found != 1) return TRUE;
  HostLog("search.words = %.*s", (int)SysStringByteLen(words), (const char*)words);

  /* The parts library is the program's data folder here. */
  found = SearchProgressDoModal(owner, (outer.left + outer.right) / 2, outer.bottom - 40,
                                "部品検索", HostProgramFolder(), (const char*)words,
                                ".q3d .bmp", &files, result, &hits);
  SysFreeString(words);
  HostLog("search.SearchProgressDoModal = %d", (int)found);
  HostLog("search.files = %d", (int)files);
  HostLog("search.hits = %d", (int)hits);
  list = fopen(result, "r");
  if (list != NULL) {
    while (fgets(line, sizeof line, list) != NULL) {
      line[strcspn(line, "\r\n")] = '\0';
      HostLog("search.result = %s", line);
    }
    fclose(list);
  }
  return found == 1;
}

BOOL RunStyle(void) {
  char folder[MAX_PATH], path[MAX_PATH + 32];
  BSTR file = NULL;
  FILE* styles;
  int32_t found;
  if (!WorkFolder(folder, sizeof folder - 32)) {
    HostLogFailure("style.folder", "no working folder");
    return FALSE;
  }
  /* A style list as the host's installer lays it down. */
  snprintf(path, sizeof path, "%sstylewith.mwm", folder);
  styles = fopen(path, "w");
  if (styles == NULL) {
    HostLogFailure("style.list", path);
    return FALSE;
  }
  fputs("# style, file\n和モダン, wa_modern.sty\n北欧, nordic.sty\n", styles);
  fclose(styles);
  found = GetStyleFileName(folder, "北欧", &file);
  HostLog("style.GetStyleFileName = %d", (int)found);
  if (found == 0) HostLog("style.file = %.*s", (int)SysStringByteLen(file), (const char*)file);
  SysFreeString(file);
  return found == 0;
}
