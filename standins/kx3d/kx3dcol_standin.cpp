// Stand-in for the engine's companion library, kx3dcol.dll. Nothing calls
// into it; it exists so that the graphics library switch has a real second
// file to exchange, and its variant can be told by its resource-free export.
#include <windows.h>

#include <cstdint>

extern "C" __declspec(dllexport) int32_t WINAPI Kxc_GetGraphicLibrary(void) {
  return KX3D_LIBRARY_CODE;
}
