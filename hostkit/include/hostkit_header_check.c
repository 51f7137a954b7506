/* The host application may compile hostkit.h as C: this translation unit
 * keeps it valid C, with its layout checks, in both Windows builds. */
#include "hostkit/include/hostkit.h"

typedef int32_t(WINAPI* GetGLSpecProc)(const char*, int32_t, EnvChkGLSpec*, char*);
const GetGLSpecProc hostkit_get_gl_spec_check = EnvChk_GetGLSpec;
