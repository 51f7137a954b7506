/* The sample's log: every line goes to a text file (Shift-JIS, CR LF) and to
 * the log pane of the main window. Lines are "family.item = value" so that a
 * reader, or a test, can pick the values out. */
#ifndef HOST_SAMPLE_HOST_LOG_H_
#define HOST_SAMPLE_HOST_LOG_H_

#include <windows.h>

/* Opens (creates or empties) the log file; null path: no file. */
BOOL HostLogOpen(const char* path);
void HostLogClose(void);
/* The edit control that shows the log, or null. */
void HostLogSetPane(HWND pane);
/* One line, printf style, without the line break. */
void HostLog(const char* format, ...);
/* How many lines reported a failure (HostLogFailure) so far. */
int HostLogFailures(void);
/* A line that reports a failure: "family.item = FAILED (why)". */
void HostLogFailure(const char* item, const char* why);
/* A result the sample relies on: a failure line when it is not the one
 * expected. TRUE when it is. */
BOOL HostExpect(const char* item, long result, long expected);

#endif
