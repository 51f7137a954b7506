/* A download with its progress dialog, and a model sent by mail: the parts
 * data updates and the "send this plan" command of the host. */
#include "hostkit.h"
/* hostkit.h brings windows.h, which oleauto.h needs first. */
#include <oleauto.h>
#include <stdio.h>
#include <string.h>

#include "host_engine.h"
#include "host_families.h"
#include "host_log.h"

BOOL RunDownload(HWND owner, const char* url, BOOL automatic) {
  char folder[MAX_PATH];
  RECT outer;
  BSTR fileName = NULL;
  int32_t autoStart = automatic ? 1 : 0;
  int32_t result;
  DWORD length;

  if (url == NULL || url[0] == '\0') {
    HostLog("download = skipped (no /url given)");
    return TRUE;
  }
  /* The host downloads into a folder of its own; here one under %TEMP%. */
  length = GetTempPathA(sizeof folder - 32, folder);
  if (length == 0 || length >= sizeof folder - 32) {
    HostLogFailure("download.folder", "no temporary folder");
    return FALSE;
  }
  strcat(folder, "HostSampleDownload");
  CreateDirectoryA(folder, NULL);

  GetWindowRect(owner, &outer);
  result = DownloadProgressDoModal(owner, (outer.left + outer.right) / 2,
                                   (outer.top + outer.bottom) / 2, "部品データのダウンロード", url,
                                   folder, &fileName, &autoStart);
  HostLog("download.DownloadProgressDoModal = %d", (int)result);
  if (result == 1) {
    /* The name comes back as ANSI bytes in a system string. */
    HostLog("download.file = %s\\%.*s", folder, (int)SysStringByteLen(fileName),
            (const char*)fileName);
    HostLog("download.automatic = %d", (int)autoStart);
  }
  SysFreeString(fileName);
  return result == 1;
}

BOOL RunMail(HWND owner, const char* modelPath) {
  int32_t result = SendQ3DMail(owner, "plans@example.invalid", "設計担当", "間取りプランの送付",
                               "プランを添付します。\r\nご確認ください。", modelPath);
  HostLog("mail.SendQ3DMail = %d", (int)result);
  switch (result) {
    case HOSTKIT_MAIL_ACCEPTED:
    case HOSTKIT_MAIL_CANCELLED:
      return TRUE;
    case HOSTKIT_MAIL_NO_LIBRARY:
      HostLogFailure("mail.SendQ3DMail", "no usable mail client");
      return FALSE;
    default:
      HostLogFailure("mail.SendQ3DMail", "the mail client failed");
      return FALSE;
  }
}
