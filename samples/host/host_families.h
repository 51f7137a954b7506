/* The Hostkit families the sample walks through, one function each. Each
 * logs what it called and what came back, and returns FALSE when a call the
 * host relies on failed. */
#ifndef HOST_SAMPLE_HOST_FAMILIES_H_
#define HOST_SAMPLE_HOST_FAMILIES_H_

#include <windows.h>

/* The SDK's version against the version resource of the Hostkit.dll that
 * was loaded: another major version, or an older minor one, is a failure. */
BOOL RunVersion(void);

/* Graphics capability: the engine's library type, the capability record,
 * the board, the video memory, device acceptability and multisampling. */
BOOL RunCapabilities(void);

/* The parts attributes of the model: collect, walk, read, change, write
 * back, read again, release. */
BOOL RunParts(void);

/* Extended information written and read back, the back image stored and
 * written out, display bits set on shapes. */
BOOL RunExtend(void);

/* A download from url into a folder under %TEMP% with the progress dialog;
 * skipped without a url. automatic: start without asking. */
BOOL RunDownload(HWND owner, const char* url, BOOL automatic);

/* The model at modelPath sent through the system's mail client. */
BOOL RunMail(HWND owner, const char* modelPath);

/* The rendering settings dialog; its stored settings read back. */
BOOL RunRender(HWND owner);

/* The search word dialog, then the search of the data folder with its
 * progress dialog; the hits are logged. */
BOOL RunSearch(HWND owner);

/* A style looked up in a style list of the sample's own. */
BOOL RunStyle(void);

/* The custom frame on the main window (kept until CloseFrame). */
BOOL RunFrame(HWND mainWindow);
void CloseFrame(void);

#endif
