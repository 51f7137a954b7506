// Stand-in for the outside 3D engine library. Built once per library code
// (KX3D_LIBRARY_CODE), as the installer's variants of the engine are.
#include "fitview/engine_api/kx3d_api.h"

#ifndef KX3D_LIBRARY_CODE
#error "KX3D_LIBRARY_CODE names the graphics library of this variant"
#endif

extern "C" int32_t WINAPI Kxi_GetGraphicLibrary(void) { return KX3D_LIBRARY_CODE; }
