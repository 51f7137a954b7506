/* The custom window frame on the sample's own main window: the host's
 * caption colours, a repaint, and the frame answering a hit test. The frame
 * stays on the window until it closes. */
#include "host_families.h"
#include "host_log.h"
#include "hostkit.h"

static int32_t g_frame = 0;

BOOL RunFrame(HWND mainWindow) {
  RECT outer;
  LRESULT hit = 0;
  int32_t result;
  /* The sample's window has no menu bar: no strip at its right end. */
  g_frame = QNDFrameCreateEx(mainWindow, HOSTKIT_FRAME_HIDE_MENU_STRIP, NULL);
  HostLog("frame.QNDFrameCreateEx = 0x%X", (unsigned)g_frame);
  if (g_frame == 0) {
    HostLogFailure("frame.QNDFrameCreateEx", "the window cannot be decorated");
    return FALSE;
  }
  /* Parts 1 caption, 2 title; state 0 active, 1 inactive. */
  HostExpect("frame.QNDFrameSetColor", QNDFrameSetColor(g_frame, 1, 0, RGB(0x2F, 0x5D, 0x8C)), 0);
  HostExpect("frame.QNDFrameSetColor", QNDFrameSetColor(g_frame, 1, 1, RGB(0x8A, 0x99, 0xA8)), 0);
  HostExpect("frame.QNDFrameSetColor", QNDFrameSetColor(g_frame, 2, 0, RGB(0xFF, 0xFF, 0xFF)), 0);
  HostExpect("frame.QNDFrameSetColor", QNDFrameSetColor(g_frame, 2, 1, RGB(0xF0, 0xF0, 0xF0)), 0);
  result = QNDFrameDraw(g_frame, 0, 0);
  HostLog("frame.QNDFrameDraw = %d", (int)result);
  HostExpect("frame.QNDFrameDraw", result, 0);

  /* A point in the middle of the caption, as the mouse would bring it. */
  GetWindowRect(mainWindow, &outer);
  /* The answer is a window procedure's LRESULT. */
  result = QNDFrameProc(g_frame, WM_NCHITTEST, 0,
                        MAKELPARAM((outer.left + outer.right) / 2, outer.top + 6), &hit, 0);
  HostExpect("frame.QNDFrameProc", result, 0);
  HostLog("frame.hittest.caption = %d", (int)hit);
  return result == 0;
}

void CloseFrame(void) {
  if (g_frame != 0) {
    const int32_t result = QNDFrameDelete(g_frame);
    HostLog("frame.QNDFrameDelete = %d", (int)result);
    HostExpect("frame.QNDFrameDelete", result, 0);
    g_frame = 0;
  }
}
