/*
 * Hostkit.dll: services for the host application.
 *
 * Every export uses the standard Windows calling convention (WINAPI: stdcall
 * in the 32-bit build) and is exported by its plain name. EnvChk_GetGLSpec
 * and EnvChk_GetGLType also have the fixed ordinals 27 and 28, by which the
 * environment check links them. No export throws; each reports a failure
 * through its result (only the dialogs, and the calls whose comments say
 * so, tell the user).
 *
 * Threads. Call every export from the host's user-interface thread, the
 * thread that owns the windows it passes, one call at a time: the engine
 * link, the current extended information, the frames and the mail binding
 * are process-wide state without locks. Never call from DllMain (Hostkit
 * loads libraries and starts COM). The dialog exports (RenderDialogDoModal,
 * DownloadProgressDoModal, SendQ3DMail's compose dialog, SearchWordDoModal,
 * SearchProgressDoModal) run message loops of their own, which go on
 * dispatching to the host's windows; from those window procedures call only
 * the frame exports (QNDFrame*) until the dialog returns. The download and
 * the search each run a worker thread of their own, finished before the
 * dialog returns.
 *
 * Text. Every text in or out is ANSI: bytes in the system code page (code
 * page 932, Shift-JIS, on the design application's Windows), zero-terminated
 * when passed in. The one exception are the VARIANTs of the "Var" exports
 * (GetPartsAttributeVar, SetPartsAttributeVar, GetExtendPartsInfoVar): their
 * text is UTF-16, VT_BSTR.
 *
 * Text slots (BSTR*). Text handed back goes into a BSTR slot that the caller
 * owns. It must hold null or a valid BSTR: the export frees what it held
 * (SysFreeString) and puts in a byte string of the ANSI bytes
 * (SysAllocStringByteLen; SysStringByteLen gives its length, which counts
 * a terminating NUL only for GetPartsAttribute and GetExtendPartsInfo; a
 * zero byte always follows the length, so the text reads as a C string).
 * A failed call leaves the slot as it was. Free the last one with
 * SysFreeString. A text passed in through a slot (SetPartsAttribute,
 * RenderDialogDoModal's login) is a byte string too: make it with
 * SysAllocStringByteLen, not SysAllocString (a UTF-16 string is read up to
 * its first zero byte).
 *
 * VARIANTs. One handed out must be initialised (VariantInit, or a value of
 * the caller's): a new value replaces and releases what it held. One handed
 * in is read and never changed. Clear both with VariantClear.
 *
 * The engine. Hostkit finds the 3D engine by the name "kx3d.dll": an engine
 * the host has already loaded under that name is the one used, with the
 * model the host opened in it; otherwise the system's search for that name
 * (the host program's folder first) decides. Only EnvChk_GetGLType takes an
 * engine file of the caller's choosing.
 *
 * Version. HOSTKIT_VERSION_MAJOR, _MINOR and _PATCH (hostkit_version.h) are
 * the release this header belongs to; Hostkit.dll's version resource holds
 * the same version (GetFileVersionInfo, VS_FIXEDFILEINFO dwFileVersionMS:
 * major, minor; dwFileVersionLS: patch, 0). A host may compare the two at
 * its start; the SDK's README shows how.
 */
#ifndef HOSTKIT_HOSTKIT_H_
#define HOSTKIT_HOSTKIT_H_

#include <stddef.h>
#include <stdint.h>
#include <windows.h>
/* windows.h first: the OLE Automation types (BSTR, VARIANT) of the exports
 * that hand text and values back, also for callers that define
 * WIN32_LEAN_AND_MEAN. */
#include <oleauto.h>

#include "hostkit_version.h"

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

/* Layout checks for every C and C++ caller. Before C11 a failed check is an
 * array of negative size; the repeated declaration of the one array is
 * valid C. */
#if defined(__cplusplus)
#define HOSTKIT_STATIC_ASSERT(cond, text) static_assert(cond, text)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define HOSTKIT_STATIC_ASSERT(cond, text) _Static_assert(cond, text)
#else
#define HOSTKIT_STATIC_ASSERT(cond, text) extern char hostkit_layout_check[(cond) ? 1 : -1]
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

/* The blocks are read from the engine "kx3d.dll" that the host has loaded
 * (see The engine, above), once per process. */

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
 * terminating NUL, which SysStringByteLen counts (just the NUL when there
 * is no value); 0 when block or text is null. */
int32_t WINAPI GetPartsAttribute(PartsAttributeBlock* block, uint32_t id,
                                 BSTR* text) HOSTKIT_NOTHROW;

/* 1 with the value of attribute id stored into *value (VT_I4, VT_R8 or
 * VT_BSTR; a VT_ERROR, VT_BOOL or VT_DATE value keeps its type), or left as
 * it was when there is no value; 0 when block or value is null. *value must
 * be initialised: what it held is released when a value is stored. */
int32_t WINAPI GetPartsAttributeVar(PartsAttributeBlock* block, uint32_t id,
                                    VARIANT* value) HOSTKIT_NOTHROW;

/* SetPartsAttributeVar with the ANSI text that *text holds, as VT_BSTR
 * (a null string as VT_EMPTY); 0 when block or text is null. *text is a
 * byte string (SysAllocStringByteLen), read up to its first zero byte: a
 * UTF-16 string made with SysAllocString would be cut after one character. */
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

/* The current extended parts information: one attribute block held by the
 * library. ReadExtendPartsInfo releases the current block and makes the
 * part's block current: 1, or 0 when the part has none (none is current
 * then). GetExtendPartsInfo and GetExtendPartsInfoVar read attribute `id`
 * of it as GetPartsAttribute and GetPartsAttributeVar do: 0 (outputs
 * untouched) when there is no current block, else 1. ClearExtendPartsInfo
 * releases it: always 1. */
int32_t WINAPI ReadExtendPartsInfo(int32_t partsIndex) HOSTKIT_NOTHROW;
int32_t WINAPI GetExtendPartsInfo(uint32_t id, BSTR* text) HOSTKIT_NOTHROW;
int32_t WINAPI GetExtendPartsInfoVar(uint32_t id, VARIANT* value) HOSTKIT_NOTHROW;
int32_t WINAPI ClearExtendPartsInfo(void) HOSTKIT_NOTHROW;

/* Pending attribute strings: SetExtendPartsInfoData appends `text` (null:
 * an empty string), always 1. SetExtendPartsInfo writes them to the part as
 * its attribute strings block (321) and empties the list: 1 when written, 0
 * for an empty list or without the engine. */
int32_t WINAPI SetExtendPartsInfoData(const char* text) HOSTKIT_NOTHROW;
int32_t WINAPI SetExtendPartsInfo(int32_t partsIndex) HOSTKIT_NOTHROW;

/* The engine's head copy of block `type` (321 for the first) stored
 * unchanged on the part: 1, or 0 when there is no head copy. */
int32_t WINAPI copyExPartsInfoHeadToParts(int32_t partsIndex) HOSTKIT_NOTHROW;
int32_t WINAPI copyExPartsInfoHeadToPartsEx(int32_t partsIndex, int32_t type) HOSTKIT_NOTHROW;

/* The part's stored view: two vectors of three floats, three floats and
 * the view's name (its bytes, no terminator). 1, or 0 with every output
 * untouched when the part has no view record. */
int32_t WINAPI GetPartsView(int32_t partsIndex, float* first, float* second, float* value1,
                            float* value2, float* value3, BSTR* name) HOSTKIT_NOTHROW;

/* The back image, stored on part 0. SetExtendBackImage stores the image
 * file at `path` under its file name: 1, or 0 when the file cannot be read
 * or there is no engine. GetExtendBackImage writes it to `path` and puts
 * its stored name in *name: 0 when there is none, else 1. The file at
 * `path` is replaced only once every byte is written; a write that fails
 * leaves it as it was and tells the user why (an OK message box). A target
 * that cannot be created (a missing folder) gets nothing and no message.
 * ClearExtendBackImage removes the part's back image block: 1 when the
 * engine could be asked, else 0. */
int32_t WINAPI SetExtendBackImage(const char* path) HOSTKIT_NOTHROW;
int32_t WINAPI GetExtendBackImage(const char* path, BSTR* name) HOSTKIT_NOTHROW;
int32_t WINAPI ClearExtendBackImage(int32_t partsIndex) HOSTKIT_NOTHROW;

/* The part's hatch script loaded into the engine for `target` (not when
 * negative): 1 when the part has a script, else 0. */
int32_t WINAPI LoadExtendShasenScript(int32_t partsIndex, int32_t target) HOSTKIT_NOTHROW;

/* Decision flags of SetDispAttrToWalls. */
#define HOSTKIT_DISP_FACING_WALLS 0x1u
#define HOSTKIT_DISP_NON_WALLS 0x2u
#define HOSTKIT_DISP_ALL_WALLS 0x4u
#define HOSTKIT_DISP_CARRY_TO_LINKS 0x10000u
#define HOSTKIT_DISP_CLEAR_ALL 0x80000000u

/* Display bits (the top byte of `bits`) set or cleared on the shapes of
 * the parts below `rootPartsIndex` by the decision flags, seen from stored
 * view `viewIndex` (negative: the current view). Flags 0 change nothing. */
void WINAPI SetDispAttrToWalls(int32_t rootPartsIndex, int32_t viewIndex, uint32_t bits,
                               uint32_t flags) HOSTKIT_NOTHROW;
/* Display bits set (`on` low byte non-zero) or cleared on every shape of
 * the part and, when the low byte of `recurse` is non-zero, of all its
 * descendants. Always 0. */
int32_t WINAPI SetDispAttrToShapes(int32_t partsIndex, uint32_t bits, uint32_t on,
                                   uint32_t recurse) HOSTKIT_NOTHROW;

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

/* Shows the download dialog (caption, centred on the screen point centreX,
 * centreY, owned by parent) for the HTTP address url. It asks first unless
 * *automatic is 1, in which case it starts at once; the file is stored in
 * folder (given without a trailing backslash) under the name that ends url.
 * 1 when the file was stored: *fileName (freed and replaced) then holds its
 * name as a byte string and *automatic the user's choice for next time.
 * 0 when the user cancelled or closed the dialog after a failure; both are
 * then untouched. automatic may be null (read as 0, not written). */
int32_t WINAPI DownloadProgressDoModal(HWND parent, int32_t centreX, int32_t centreY,
                                       const char* caption, const char* url, const char* folder,
                                       BSTR* fileName, int32_t* automatic) HOSTKIT_NOTHROW;

/* Result codes of SendQ3DMail. */
#define HOSTKIT_MAIL_ACCEPTED 0      /* sent or queued by the mail client */
#define HOSTKIT_MAIL_CANCELLED 1     /* the user cancelled in the mail client */
#define HOSTKIT_MAIL_NO_LIBRARY (-3) /* no MAPI32.DLL with the Simple MAPI entry points */
#define HOSTKIT_MAIL_FAILED (-5)     /* any other failure the client reported */
#define HOSTKIT_MAIL_NOT_BUILT (-6)  /* the message could not be built (memory) */

/* Hands one message to the system's Simple MAPI mail client, which shows its
 * compose dialog over parent: recipient address (an "SMTP:" prefix is added)
 * and display name, subject, body and the file attachment to attach. An
 * empty address or attachment leaves that part out; none may be null.
 * HOSTKIT_MAIL_* result. */
int32_t WINAPI SendQ3DMail(HWND parent, const char* address, const char* name,
                           const char* subject, const char* body,
                           const char* attachment) HOSTKIT_NOTHROW;

/* ---- Window frame ------------------------------------------------------ */

/* A frame draws 20 parts, each in 4 states. Parts: 0 the look every part
 * falls back to, 1 caption, 2 title text, 3 title shadow, 4 window icon,
 * 6/7/8/9 left/top/right/bottom border, 10 close, 11 minimise, 12 maximise,
 * 13 restore, 14..17 corners (top-left, top-right, bottom-left,
 * bottom-right), 19 the strip at the right end of the menu bar. States:
 * 0 active, 1 inactive or disabled, 2 pressed, 3 under the mouse. A state
 * without a look of its own is painted with the part's state 0, and a part
 * without any with part 0's state 0. */
#define HOSTKIT_FRAME_PARTS 20
#define HOSTKIT_FRAME_STATES 4

/* Mode flags of QNDFrameCreateEx. */
#define HOSTKIT_FRAME_SQUARE_BUTTONS 0x2u     /* buttons sized by the caption height */
#define HOSTKIT_FRAME_FIXED_DC 0x4u           /* paint into the given device context */
#define HOSTKIT_FRAME_KEEP_LOOKS 0x8u         /* start without the system's colours and glyphs */
#define HOSTKIT_FRAME_HIDE_MENU_STRIP 0x4000000u /* do not paint part 19 */

/* Look flags of QNDFrameSetImage. */
#define HOSTKIT_LOOK_IMAGE 0x1000000u /* set by QNDFrameSetImage itself */
#define HOSTKIT_LOOK_COLOR 0x2000000u /* given to QNDFrameSetImage: drop the look's colour */
#define HOSTKIT_LOOK_RIGHT 0x10u      /* title text alignment; none: left and top */
#define HOSTKIT_LOOK_BOTTOM 0x20u
#define HOSTKIT_LOOK_CENTER 0x40u
#define HOSTKIT_LOOK_VCENTER 0x80u
/* A title or shadow colour that draws no text. */
#define HOSTKIT_LOOK_NO_TEXT 0xFFFFFFFFu

/* Gives window a custom-drawn caption and border in the system's colours.
 * The frame's handle (0x10000..0x1FFFF), or 0 when the window cannot be
 * decorated (null, or its procedure cannot be replaced). */
int32_t WINAPI QNDFrameCreate(HWND window) HOSTKIT_NOTHROW;

/* QNDFrameCreate with mode flags (HOSTKIT_FRAME_*); fixedDc is used only
 * with HOSTKIT_FRAME_FIXED_DC. */
int32_t WINAPI QNDFrameCreateEx(HWND window, uint32_t mode, HDC fixedDc) HOSTKIT_NOTHROW;

/* Takes the frame off its window (the window gets its own drawing back
 * with its last frame) and deletes it. 0, or -1 for an unknown handle. */
int32_t WINAPI QNDFrameDelete(int32_t frame) HOSTKIT_NOTHROW;

/* Paints the whole frame now. value1 and value2 are not used. 0, or -1. */
int32_t WINAPI QNDFrameDraw(int32_t frame, int32_t value1, int32_t value2) HOSTKIT_NOTHROW;

/* Sets the colour (0x00BBGGRR) of one part in one state; shown at the next
 * paint. 0, or -1 for an unknown handle, a part of 20 or more or a state
 * outside 0..3. */
int32_t WINAPI QNDFrameSetColor(int32_t frame, int32_t part, int32_t state,
                                uint32_t color) HOSTKIT_NOTHROW;

/* Lets one part in one state draw the image numbered image (from
 * QNDFrameLoadImage) stretched over it, with the look flags added. A
 * negative image changes nothing. 0, or -1 as QNDFrameSetColor. */
int32_t WINAPI QNDFrameSetImage(int32_t frame, int32_t part, int32_t state, int32_t image,
                                uint32_t flags) HOSTKIT_NOTHROW;

/* Loads a bitmap file for the frame's looks. Its number, or -1 for an
 * unknown handle, a null or empty path or a file that cannot be loaded. */
int32_t WINAPI QNDFrameLoadImage(int32_t frame, const char* path) HOSTKIT_NOTHROW;

/* Hands a message of the frame's window to the frame, which answers it or
 * passes it on to the window's own procedure; the answer, a window
 * procedure's whole LRESULT, is stored through result unless it is null.
 * reserved is not used. 0, or -1 for an unknown handle. */
int32_t WINAPI QNDFrameProc(int32_t frame, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT* result, int32_t reserved) HOSTKIT_NOTHROW;

/* ---- Library object, shell utilities, parts search --------------------- */

/* Result codes of InitDataFolder. */
#define HOSTKIT_DATA_FOLDER_READY 0
#define HOSTKIT_DATA_FOLDER_UNAVAILABLE (-1) /* base missing, sub-folder not made, or a file */
#define HOSTKIT_DATA_FOLDER_NOT_EMPTIED (-2) /* a file in the sub-folder stayed */

/* Results of ShellOpenCommand: no command, or WinExec's result, which is
 * HOSTKIT_SHELL_STARTED or more when the program was started (below it,
 * WinExec's error: 0 out of resources, 2 file not found, 3 path not found,
 * 11 not a program). */
#define HOSTKIT_SHELL_NO_COMMAND 0
#define HOSTKIT_SHELL_STARTED 32

/* Opens document with the open (else read) command that HKEY_CLASSES_ROOT
 * registers for classKey (typically the document's extension, following
 * the class's CurVer). HOSTKIT_SHELL_NO_COMMAND when no command is found,
 * or when the command with the document would exceed 520 bytes with its
 * terminator; otherwise WinExec's result (see above). */
int32_t WINAPI ShellOpenCommand(const char* document, const char* classKey) HOSTKIT_NOTHROW;

/* Makes baseFolder + "\" + name exist and deletes the files in it
 * (sub-folders stay). HOSTKIT_DATA_FOLDER_* result. */
int32_t WINAPI InitDataFolder(const char* baseFolder, const char* name) HOSTKIT_NOTHROW;

/* Looks style up in folder + "stylewith.mwm" (folder ends in a path
 * separator). 0 with *fileName set to folder + the style's file name; -1,
 * with the slot untouched, when the list is missing or names no file for it. */
int32_t WINAPI GetStyleFileName(const char* folder, const char* style,
                                BSTR* fileName) HOSTKIT_NOTHROW;

/* The parts search word dialog, its bottom edge centred on (x, y), offering
 * the last 25 search texts. 1 with *words set to the entered text (leading
 * white space removed) when the user chose OK with a text; otherwise 0 with
 * the slot untouched. */
int32_t WINAPI SearchWordDoModal(HWND parent, int32_t x, int32_t y, const char* caption,
                                 BSTR* words) HOSTKIT_NOTHROW;

/* Searches rootFolder's tree for files ending in one of extensions (blank-
 * separated) whose name, or for model files whose attribute texts, hold
 * every word of keywords (blank-separated), showing a progress dialog with
 * its bottom edge centred on (x, y). Stops after 1000 hits. The hits go into
 * resultPath: "#" + keywords, then one path per line. *fileCount is the
 * expected number of files on entry; once the dialog was shown it receives
 * the files examined and *hitCount the hits. 1 when the search ran to its
 * end, 0 when it was cancelled, the engine library is missing, or keywords
 * or rootFolder hold nothing. */
int32_t WINAPI SearchProgressDoModal(HWND parent, int32_t x, int32_t y, const char* caption,
                                     const char* rootFolder, const char* keywords,
                                     const char* extensions, int32_t* fileCount,
                                     const char* resultPath, int32_t* hitCount) HOSTKIT_NOTHROW;

#ifdef __cplusplus
}
#endif

#endif /* HOSTKIT_HOSTKIT_H_ */
