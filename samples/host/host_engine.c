#include "host_engine.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "host_log.h"

typedef int32_t(WINAPI* InitializeProc)(void);
typedef int32_t(WINAPI* TerminateProc)(void);
typedef int32_t(WINAPI* ReadHeaderProc)(const char*, int32_t*, int32_t*, int32_t*, int32_t*);
typedef int32_t(WINAPI* ReadModelProc)(int32_t, const char*, char*, int32_t, int32_t*);

/* An entry point of the engine as its type; the detour through a function
 * pointer without arguments is C's way to convert between them. */
#define ENGINE_ENTRY(type, name) ((type)(void (*)(void))GetProcAddress(g_engine, name))

static HMODULE g_engine = NULL;
static char g_folder[MAX_PATH];

const char* HostProgramFolder(void) {
  if (g_folder[0] == '\0') {
    DWORD length = GetModuleFileNameA(NULL, g_folder, MAX_PATH);
    char* cut;
    if (length == 0 || length >= MAX_PATH) {
      g_folder[0] = '\0';
      return g_folder;
    }
    /* The last backslash character: a trail byte 0x5C of a double-byte
     * character is not one. */
    cut = NULL;
    for (char* p = g_folder; *p != '\0'; p = CharNextA(p)) {
      if (*p == '\\') cut = p;
    }
    if (cut != NULL) cut[1] = '\0';
  }
  return g_folder;
}

BOOL HostEngineOpen(const char* modelPath) {
  char enginePath[MAX_PATH + 16];
  char message[512];
  int32_t version = 0, parts = 0, triangles = 0, handle = -1, count = 0, read;
  InitializeProc initialize;
  ReadHeaderProc readHeader;
  ReadModelProc readModel;

  snprintf(enginePath, sizeof enginePath, "%skx3d.dll", HostProgramFolder());
  g_engine = LoadLibraryA(enginePath);
  if (g_engine == NULL) {
    HostLogFailure("engine.load", enginePath);
    return FALSE;
  }
  initialize = ENGINE_ENTRY(InitializeProc, "Kxi_Initialize");
  readHeader = ENGINE_ENTRY(ReadHeaderProc, "Kxi_ReadModelHeader");
  readModel = ENGINE_ENTRY(ReadModelProc, "Kxi_ReadModelFile");
  if (initialize == NULL || readHeader == NULL || readModel == NULL || initialize() != 0) {
    HostLogFailure("engine.start", "entry points missing or start refused");
    HostEngineClose();
    return FALSE;
  }
  readHeader(modelPath, &version, &parts, &triangles, &handle);
  if (handle < 0) {
    HostLogFailure("engine.model", modelPath);
    HostEngineClose();
    return FALSE;
  }
  memset(message, 0, sizeof message);
  read = readModel(-1, modelPath, message, handle, &count);
  HostLog("engine.model = %s", modelPath);
  HostLog("engine.model.parts = %d", (int)parts);
  HostLog("engine.model.read = %d", (int)read);
  return read == 0;
}

void HostEngineClose(void) {
  if (g_engine != NULL) {
    TerminateProc terminate = ENGINE_ENTRY(TerminateProc, "Kxi_Terminate");
    if (terminate != NULL) terminate();
    FreeLibrary(g_engine);
    g_engine = NULL;
  }
}

HMODULE HostEngineModule(void) { return g_engine; }
