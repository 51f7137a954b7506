/* The Hostkit families the sample walks through, one function each. Each
 * logs what it called and what came back, and returns FALSE when a call the
 * host relies on failed. */
#ifndef HOST_SAMPLE_HOST_FAMILIES_H_
#define HOST_SAMPLE_HOST_FAMILIES_H_

#include <windows.h>

/* Graphics capability: the engine's library type, the capability record,
 * the board, the video memory, device acceptability and multisampling. */
BOOL RunCapabilities(void);

/* The custom frame on the main window (kept until CloseFrame). */
BOOL RunFrame(HWND mainWindow);
void CloseFrame(void);

#endif
