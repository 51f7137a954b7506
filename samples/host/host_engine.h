/* The host's own use of the 3D engine library: it loads the engine and opens
 * a model in it, as the design application does before it calls the parts
 * services of Hostkit (which find the engine already in the process). */
#ifndef HOST_SAMPLE_HOST_ENGINE_H_
#define HOST_SAMPLE_HOST_ENGINE_H_

#include <windows.h>

/* Loads "kx3d.dll" from the program's folder, starts it and reads the model
 * at modelPath. FALSE (and a log line) when any step fails. */
BOOL HostEngineOpen(const char* modelPath);
void HostEngineClose(void);
/* The engine module, or null when it is not open. */
HMODULE HostEngineModule(void);
/* The program's folder, with its trailing backslash. */
const char* HostProgramFolder(void);

#endif
