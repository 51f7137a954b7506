// The host application may compile hostkit.h as C++: this translation unit
// keeps it valid C++ without extensions, in both Windows builds.
#include "hostkit/include/hostkit.h"

extern "C" {
using GetGLSpecProc = int32_t(WINAPI*)(const char*, int32_t, EnvChkGLSpec*, char*);
}
const GetGLSpecProc hostkit_get_gl_spec_check = EnvChk_GetGLSpec;
