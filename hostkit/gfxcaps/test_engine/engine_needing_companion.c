/* A test engine whose library needs a companion library beside it, as the
   product's engine does: it answers the graphics library code that the
   companion holds. */
#include <windows.h>

__declspec(dllimport) int EngineCompanionLibraryCode(void);

int WINAPI Kxi_GetGraphicLibrary(void) { return EngineCompanionLibraryCode(); }
