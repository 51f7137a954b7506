// Entry points of the 3D engine library kx3d ("KX3D.dll"). The viewer links
// them by ordinal (kx3d_ordinals.def); Hostkit loads the library at run time
// and looks them up by name. Every entry point uses the standard Windows
// calling convention and returns a 32-bit signed value.
//
// This header is shared by the callers and by the stand-in engine.
#pragma once

#include <windows.h>
// windows.h first
#include <oleauto.h>

#include <cstdint>

// Library codes: which graphics library the engine draws with.
#define KX3D_LIBRARY_OPENGL 1
#define KX3D_LIBRARY_DIRECTX 2
#define KX3D_LIBRARY_DIRECTX_SHADER 3

// Bytes of the work buffer of Kxi_GetView.
#define KX3D_VIEW_WORK_BYTES 256

// Result of a drawing set-up that failed.
#define KX3D_SETUP_FAILED (-1200)

// Drawing option word of Kxi_InitDrawEx.
#define KX3D_OPTION_OPENGL_NO_ACCEL 0x2u
#define KX3D_OPTION_FORCE_RGB 0x4u
#define KX3D_OPTION_DIRECTX 0x20u
#define KX3D_OPTION_ANTIALIAS_LEVEL_MASK 0x0F00u
#define KX3D_OPTION_ANTIALIAS 0x30000u
#define KX3D_OPTION_SHADOW_LEVEL_MASK 0xF000u
#define KX3D_OPTION_PHONG 0x200000u

extern "C" {

// --- Linked by ordinal by the viewer ---------------------------------------

// @3: starts the engine; 0 on success.
int32_t WINAPI Kxi_Initialize(void);
// @4: ends the engine use.
int32_t WINAPI Kxi_Terminate(void);
// @2907: environment item of the first kind (ids 4, 5, 12 are used).
int32_t WINAPI Kxi_SetEnvironment(int32_t id, int32_t value);
// @1257: environment item of the second kind (ids 0x10000..0x10002 are used).
int32_t WINAPI Kxi_SetEnvironmentEx(int32_t id, int32_t value);
// @1218: 1 forces an RGB pixel format (OpenGL).
int32_t WINAPI Kxi_ForceRGBPixelFormat(int32_t force);
// @1241: sets up drawing into `window`; KX3D_SETUP_FAILED on failure. The
// viewer passes mode 3 and a null `reserved`.
int32_t WINAPI Kxi_InitDrawEx(HWND window, int32_t mode, int32_t option, void* reserved,
                              int32_t library_code);
// @4011: confirms the drawing set-up; KX3D_SETUP_FAILED on failure.
int32_t WINAPI Kxi_ConfirmDraw(void);
// @1203: ends drawing (undoes Kxi_InitDrawEx).
int32_t WINAPI Kxi_EndDraw(void);
// @1817: drawing step after a set-up (the viewer passes 0).
int32_t WINAPI Kxi_SetDrawStep(int32_t step);
// @1713: drawing step after a set-up.
int32_t WINAPI Kxi_UpdateDraw(void);
// @1818: fits the view to a window of `width` x `height` pixels; the viewer
// passes 100 for the six margins and scales.
int32_t WINAPI Kxi_FitView(int32_t left, int32_t top, int32_t right, int32_t bottom,
                           int32_t scale_x, int32_t scale_y, int32_t width, int32_t height);
// @1202: redraws the view (the viewer passes 3).
int32_t WINAPI Kxi_Redraw(int32_t mode);
// @2303: registers a folder where the engine looks for files.
int32_t WINAPI Kxi_RegisterFolder(int32_t kind, int32_t flags, const char* folder);
// @4100: reads the header of a model file: its format version, number of
// parts and of triangles, and the handle for reading its body; *handle < 0
// when the file is missing or no model.
int32_t WINAPI Kxi_ReadModelHeader(const char* path, int32_t* version, int32_t* parts,
                                   int32_t* triangles, int32_t* handle);
// @1525: flag around a drawing set-up (0 before, 1 after).
int32_t WINAPI Kxi_SetDrawFlag(int32_t id, int32_t flag);
// @1915: step before a drawing set-up.
int32_t WINAPI Kxi_PrepareDraw(void);
// @2301: reads the body of a model file opened by Kxi_ReadModelHeader
// (0 on success); `message` receives up to 512 bytes of text, `count` the
// number of triangles read.
int32_t WINAPI Kxi_ReadModelFile(int32_t mode, const char* path, char* message, int32_t handle,
                                 int32_t* count);
// @2306: step after reading a model.
int32_t WINAPI Kxi_FinishRead(int32_t a, int32_t b);

// --- Looked up by name by Hostkit ------------------------------------------

// The graphics library the engine draws with: a KX3D_LIBRARY_* code.
int32_t WINAPI Kxi_GetGraphicLibrary(void);
typedef int32_t(WINAPI* Kxi_GetGraphicLibrary_fn)(void);

// The two attribute texts of the model file at *path (a byte string): the
// part's name and its description, as byte strings into the slots *name
// and *description, which are freed and replaced. 0 on success; negative,
// with the slots untouched, when the file is missing, is no model or holds
// no attributes.
int32_t WINAPI Kxi_GetFileAttribute(BSTR* path, BSTR* name, BSTR* description);
// The parts model. A part has an index (the root of the model is 0), child
// parts in order, a placement relative to its parent and an optional model
// whose shapes it shows; a model names an attribute record. Texts handed
// out in a BSTR hold multibyte bytes (SysAllocStringByteLen) and are freed
// by the caller. A negative result is a failure.

// >= 0 when `parts` names an existing part.
int32_t WINAPI Kxi_CheckPartsIndex(int32_t parts);
// Number of direct child parts.
int32_t WINAPI Kxi_GetChildPartsNum(int32_t parts);
// Parts index of the child at `position` (0 ... number - 1).
int32_t WINAPI Kxi_GetChildPartsIndex(int32_t parts, int32_t position);
// The part's placement relative to its parent: position, rotation (radians
// about x, y, z), scale.
int32_t WINAPI Kxi_GetPartsOffset(int32_t parts, float* position, float* rotation, float* scale);
// The part's model index (>= 0) or -1 when it has none.
int32_t WINAPI Kxi_GetPartsModelIndex(int32_t parts);
// The model's attribute index.
int32_t WINAPI Kxi_GetModelAttributeIndex(int32_t model);
// The attribute text and the attribute flag of an attribute record.
int32_t WINAPI Kxi_GetAttribute(int32_t attribute, BSTR* text, int32_t* flag);
// The maker attribute text of an attribute record.
int32_t WINAPI Kxi_GetMakerAttribute(int32_t attribute, BSTR* text);
// Number of shapes of a model.
int32_t WINAPI Kxi_GetShapeNum(int32_t model);
// The option word of a shape.
int32_t WINAPI Kxi_SetShapeOption(int32_t model, int32_t shape, int32_t option);
int32_t WINAPI Kxi_GetShapeOption(int32_t model, int32_t shape, int32_t* option);
// The shape's placement within its model.
int32_t WINAPI Kxi_GetShapeOffset(int32_t model, int32_t shape, float* position, float* rotation,
                                  float* scale);
// Extend blocks of the model's head (not of a part): the size of block
// (index, type), then its bytes into a buffer of that size. The size is 0
// when there is no such block.
int32_t WINAPI Kxi_GetExtendBlockEx(int32_t index, int32_t type, int32_t* size);
int32_t WINAPI Kxi_GetExtendBlockDataEx(int32_t index, int32_t type, void* buffer);
// A part's extend block of `type`: its size (0 and a negative result when
// the part has none), its bytes into a buffer of that size, replacing or
// creating it, removing it.
int32_t WINAPI Kxi_GetPartsExtendBlockEx(int32_t parts, int32_t type, int32_t* size);
int32_t WINAPI Kxi_GetPartsExtendBlockDataEx(int32_t parts, int32_t type, void* buffer);
int32_t WINAPI Kxi_SetPartsExtendBlockDataEx(int32_t parts, int32_t type, const void* data,
                                             int32_t size);
int32_t WINAPI Kxi_DeletePartsExtendBlockEx(int32_t parts, int32_t type);
// A shape's extend block of `type`: with a null buffer its size (negative
// when absent), else up to `size` of its bytes; the result is the number
// of bytes copied.
int32_t WINAPI Kxi_GetShapeExtendBlockData(int32_t model, int32_t shape, int32_t type, void* buffer,
                                           int32_t size);
// Number of extend blocks of a shape.
int32_t WINAPI Kxi_GetShapeExtendBlockNum(int32_t model, int32_t shape);
// A stored view (kind 1, view index) or the current one (kind 0): the work
// buffer (KX3D_VIEW_WORK_BYTES) receives the engine's view record, then the
// view direction, three values (field of view in degrees, near and far
// distance) and the view's name.
// Loads `size` bytes of script for the target `target`; `flags` is 0.
int32_t WINAPI Kxi_LoadScriptFromMemory(int32_t target, const void* script, int32_t size,
                                        int32_t flags);
int32_t WINAPI Kxi_GetView(int32_t kind, int32_t view, void* work, float* direction,
                           float* field_of_view, float* near_distance, float* far_distance,
                           BSTR* name);

}  // extern "C"
