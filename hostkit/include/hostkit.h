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
/* windows.h first: the OLE Automation types of the parts attribute exports */
#include <oleauto.h>

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

/* A snapshot of one part's attribute data, copied out of the 3D engine.
 * Blocks come in lists; the caller owns a list through its head until it
 * passes the head to ReleasePartsAttributBlock. */
typedef struct PartsAttributeBlock PartsAttributeBlock;

/* Flags of CollectPartsAttributeBlocks. */
#define HOSTKIT_COLLECT_FLAGGED 0x1u /* only parts whose attribute flag is set */
#define HOSTKIT_COLLECT_MERGE 0x2u   /* equal blocks become one block with a count */

/* Attribute ids: source in the high 16 bits, index in the low 16 bits. */
#define HOSTKIT_ATTRIBUTE_ID(source, index) \
  ((((uint32_t)(source)) << 16) | ((uint32_t)(index) & 0xFFFFu))
#define HOSTKIT_SOURCE_TEXT 0u       /* attribute strings 1..n, then fixed fallbacks (also 321) */
#define HOSTKIT_SOURCE_RECORD 322u   /* parts record field 1..7 */
#define HOSTKIT_SOURCE_COUNT 0xFFFFu /* parts the block stands for (read only) */

/* A new block for the part, or null when the engine library is not there or
 * the part does not exist. The two further arguments are not used. */
PartsAttributeBlock* WINAPI GetPartsAttributeBlock(int32_t partsIndex, int32_t reserved1,
                                                   int32_t reserved2) HOSTKIT_NOTHROW;

/* The blocks of the part and every part below it (a part before its
 * children), as a new list; null when there are none. *count (unless null)
 * receives the number of blocks. flags: HOSTKIT_COLLECT_*. */
PartsAttributeBlock* WINAPI CollectPartsAttributeBlocks(int32_t partsIndex, uint32_t flags,
                                                        int32_t* count,
                                                        int32_t reserved) HOSTKIT_NOTHROW;

/* The next block of the list; null for null or at the end. */
PartsAttributeBlock* WINAPI GetNextPartsAttributeBlock(PartsAttributeBlock* block) HOSTKIT_NOTHROW;

/* Number of blocks from block to the end of its list; 0 for null. */
int32_t WINAPI GetPartsAttributeBlockNum(PartsAttributeBlock* block) HOSTKIT_NOTHROW;

/* 1 after freeing the list that block heads; 0, freeing nothing, when block
 * is null or not the head of its list. */
int32_t WINAPI ReleasePartsAttributBlock(PartsAttributeBlock* block) HOSTKIT_NOTHROW;

/* Writes the block back to its part in the engine: type 321 the attribute
 * strings, 322 the parts record, 0 both. 0 when block is null or was not
 * read from a part, else 1. The last argument is not used. */
int32_t WINAPI UpdatePartsAttributeBlock(PartsAttributeBlock* block, int32_t type,
                                         int32_t reserved) HOSTKIT_NOTHROW;

/* 1 with *text replaced by the value of attribute id as ANSI bytes and a
 * terminating NUL (just the NUL when there is no value); 0 when block or
 * text is null. */
int32_t WINAPI GetPartsAttribute(PartsAttributeBlock* block, uint32_t id,
                                 BSTR* text) HOSTKIT_NOTHROW;

/* 1 with the value of attribute id stored into *value (VT_I4, VT_R8 or
 * VT_BSTR; a VT_ERROR, VT_BOOL or VT_DATE value keeps its type), or left as
 * it was when there is no value; 0 when block or value is null. */
int32_t WINAPI GetPartsAttributeVar(PartsAttributeBlock* block, uint32_t id,
                                    VARIANT* value) HOSTKIT_NOTHROW;

/* SetPartsAttributeVar with the ANSI text that *text holds, as VT_BSTR
 * (a null string as VT_EMPTY); 0 when block or text is null. */
int32_t WINAPI SetPartsAttribute(PartsAttributeBlock* block, uint32_t id,
                                 const BSTR* text) HOSTKIT_NOTHROW;

/* Changes attribute id in the block (not yet in the engine; see
 * UpdatePartsAttributeBlock); *value is not changed. Record fields give 1
 * (field numbers outside 1-7 give 0), attribute strings 0 (1 when the value
 * has no text form), the count 0, other sources 1; 0 when block or value
 * is null. */
int32_t WINAPI SetPartsAttributeVar(PartsAttributeBlock* block, uint32_t id,
                                    const VARIANT* value) HOSTKIT_NOTHROW;

/* ---- Extended parts information, back image, hatch script, display attributes --- */

/* ---- Rendering settings dialogs ---------------------------------------- */

/* ---- HTTP download and mail -------------------------------------------- */

/* ---- Window frame ------------------------------------------------------ */

/* ---- Library object, shell utilities, parts search --------------------- */

#ifdef __cplusplus
}
#endif

#endif /* HOSTKIT_HOSTKIT_H_ */
