/*
 * Hostkit.dll: services for the host application.
 *
 * Every export uses the standard Windows calling convention and ANSI text,
 * and is exported by its plain name. EnvChk_GetGLSpec and EnvChk_GetGLType
 * also have the fixed ordinals 27 and 28, by which the environment check
 * links them. No export throws or shows a message about a failure; each
 * reports it through its result.
 */
#ifndef HOSTKIT_HOSTKIT_H_
#define HOSTKIT_HOSTKIT_H_

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
#define HOSTKIT_NOTHROW noexcept
extern "C" {
#else
#define HOSTKIT_NOTHROW
#endif

/* ---- Graphics capability ------------------------------------------------ */

/* Graphics library codes of the 3D engine. */
#define HOSTKIT_LIBRARY_OPENGL 1
#define HOSTKIT_LIBRARY_DIRECTX 2
#define HOSTKIT_LIBRARY_DIRECTX_SHADER 3

/* Feature bits of the engine's drawing option word that ConformDeviceAcceptableEx tests. */
#define HOSTKIT_MASK_ANTIALIAS 0x0F00u
#define HOSTKIT_MASK_SHADOWMAP 0xF000u
#define HOSTKIT_MASK_PHONG 0x200000u

/* Size of the chip description buffer of EnvChk_GetGLSpec, terminator included. */
#define HOSTKIT_GLSPEC_CHIPTYPE_BYTES 260
/* Size of VideoBoardInfo.ChipType, terminator included. */
#define HOSTKIT_BOARD_CHIPTYPE_BYTES 1024

/* What the 3D test may try on this machine. Flags are 0 or 1. */
typedef struct EnvChkGLSpec {
  int32_t AntiAliasAcceptable;    /* multisample anti-aliasing */
  int32_t ShadowMapAcceptable;    /* pixel shader 2.0 and a floating-point texture format */
  int32_t PhongShadingAcceptable; /* pixel shader 3.0 */
  int32_t DirectXCapable;         /* always equal to DirectX */
  int32_t DirectX9cCapable;       /* always equal to DirectX9c */
  int32_t PhongCheck;             /* the test tries the Phong-shading configurations */
  double VideoMemory;             /* megabytes; -1.0 when unknown */
  int32_t DirectX;                /* video memory of at least 32 MB */
  int32_t DirectX9c;              /* the shader library may be used */
} EnvChkGLSpec;

/* The primary display adapter as the DirectX diagnostic service states it. */
typedef struct VideoBoardInfo {
  char ChipType[HOSTKIT_BOARD_CHIPTYPE_BYTES]; /* zero-terminated ANSI */
  double VideoMemory;                          /* megabytes */
} VideoBoardInfo;

/* Layout checks, for C11 and C++ callers alike (older C compilers skip them). */
#if defined(__cplusplus)
#define HOSTKIT_STATIC_ASSERT(cond, text) static_assert(cond, text)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define HOSTKIT_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#else
#define HOSTKIT_STATIC_ASSERT(cond, text)
#endif

/* The same layout for 32-bit and 64-bit callers: natural alignment, no gaps. */
HOSTKIT_STATIC_ASSERT(sizeof(EnvChkGLSpec) == 40, "EnvChkGLSpec is 40 bytes");
HOSTKIT_STATIC_ASSERT(offsetof(EnvChkGLSpec, PhongCheck) == 20, "PhongCheck at 20");
HOSTKIT_STATIC_ASSERT(offsetof(EnvChkGLSpec, VideoMemory) == 24, "VideoMemory at 24");
HOSTKIT_STATIC_ASSERT(offsetof(EnvChkGLSpec, DirectX) == 32, "DirectX at 32");
HOSTKIT_STATIC_ASSERT(offsetof(EnvChkGLSpec, DirectX9c) == 36, "DirectX9c at 36");
HOSTKIT_STATIC_ASSERT(sizeof(VideoBoardInfo) == 1032, "VideoBoardInfo is 1032 bytes");
HOSTKIT_STATIC_ASSERT(offsetof(VideoBoardInfo, VideoMemory) == 1024, "VideoMemory at 1024");

/* @28. The graphics library code (1, 2, 3) that the engine library at
 * enginePath reports, or 0 when it cannot be loaded or does not report one. */
int32_t WINAPI EnvChk_GetGLType(const char* enginePath) HOSTKIT_NOTHROW;

/* @27. Fills *spec and chipType (HOSTKIT_GLSPEC_CHIPTYPE_BYTES bytes) with the
 * features the 3D test may try, after the per-chip lists of folder +
 * "glspec.ini" (folder ends in a backslash; null or empty: no lists). mode 1
 * considers anti-aliasing, any other value rules it out. 0 on success; -1,
 * with nothing written, when spec or chipType is null or memory runs out. */
int32_t WINAPI EnvChk_GetGLSpec(const char* folder, int32_t mode, EnvChkGLSpec* spec,
                                char* chipType) HOSTKIT_NOTHROW;

/* 1 with the primary adapter's chip description and video memory written
 * into *info (a field the service does not state is left as it was), or 0. */
int32_t WINAPI GetVideoBoradInfo(VideoBoardInfo* info) HOSTKIT_NOTHROW;

/* The result of GetVideoBoradInfo; on 1, the video memory (-1.0 when the
 * service states none) is stored through memory unless it is null. */
int32_t WINAPI GetVideoMemory(double* memory) HOSTKIT_NOTHROW;

/* 1 with DirectDraw's total video memory in units of 1,024,000 bytes stored
 * through memory, or 0 with nothing stored. */
int32_t WINAPI GetVideoMemFromDirectDraw(double* memory) HOSTKIT_NOTHROW;

/* 1 when the adapter can run libraryCode; only code 3 (pixel shader 3.0) is examined. */
int32_t WINAPI ConformDeviceAcceptable(int32_t libraryCode) HOSTKIT_NOTHROW;

/* 1 when every feature named in mask (HOSTKIT_MASK_*) is available for libraryCode. */
int32_t WINAPI ConformDeviceAcceptableEx(int32_t libraryCode, uint32_t mask) HOSTKIT_NOTHROW;

/* Anti-aliasing level 0..3 of the adapter (3 for 2-4 samples, 2 for 5-8,
 * 1 for 9-16). The arguments are not used. */
int32_t WINAPI GetAvailableMultiSampleLevel(int32_t reserved1, int32_t reserved2) HOSTKIT_NOTHROW;

/* ---- Parts attributes: blocks and values ------------------------------- */

/* ---- Extended parts information, back image, hatch script, display attributes --- */

/* ---- Rendering settings dialogs ---------------------------------------- */

/* Roof display of RenderDialogDoModal's roofMode. */
#define HOSTKIT_ROOF_SHOWN 0
#define HOSTKIT_ROOF_SEMI_TRANSPARENT 1
#define HOSTKIT_ROOF_HIDDEN 2

/* The rendering settings dialog, modal over parent, and from it the
 * multi-view dialog. mode 1 is the render-points service mode (the dialog
 * logs in first: *login, a byte string of the service's login text, is
 * replaced by the text to keep); any other mode renders locally. The
 * perspective size (both positive) drives the size presets. The settings
 * are stored under HKEY_CURRENT_USER\keyPath\Settings (the multi-view
 * folder under keyPath\Directories) and the chosen views in the INI file
 * viewListPath (null or empty: none). 1 when the user started rendering,
 * with *roofMode (HOSTKIT_ROOF_*) and in service mode *login written back;
 * 0 when cancelled, or at once with nothing shown or written back when the
 * service login fails. passThrough1, passThrough2 and name are not used. */
int32_t WINAPI RenderDialogDoModal(HWND parent, int32_t passThrough1, int32_t passThrough2,
                                   int32_t mode, int32_t perspectiveWidth,
                                   int32_t perspectiveHeight, int32_t* roofMode, const char* name,
                                   const char* keyPath, const char* viewListPath,
                                   BSTR* login) HOSTKIT_NOTHROW;

/* ---- HTTP download and mail -------------------------------------------- */

/* ---- Window frame ------------------------------------------------------ */

/* ---- Library object, shell utilities, parts search --------------------- */

#ifdef __cplusplus
}
#endif

#endif /* HOSTKIT_HOSTKIT_H_ */
