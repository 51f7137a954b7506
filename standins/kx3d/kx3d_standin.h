// Entry points that only the stand-in engine has, for the sample-picture
// generator and the tests: the picture the engine draws, and what its
// drawing set-up turned out to be. Looked up by name.
#pragma once

#include <windows.h>

#include <cstdint>

extern "C" {

struct KxStandinDrawing {
  int32_t library;  // 1 OpenGL, 2 Direct3D 9
  int32_t width, height;
  // OpenGL: the pixel format and its descriptor's flags and sizes.
  int32_t pixel_format;
  uint32_t pixel_format_flags;
  int32_t color_bits, alpha_bits, depth_bits;
  // Direct3D 9: samples per pixel (0 = not multisampled), shadow-map edge
  // (0 = no shadows), per-pixel lighting (0/1).
  int32_t samples;
  int32_t shadow_map_size;
  int32_t per_pixel_lighting;
};

// 0 and *drawing filled while drawing is set up; -1 otherwise.
int32_t WINAPI KxStandin_DescribeDrawing(KxStandinDrawing* drawing);
typedef int32_t(WINAPI* KxStandin_DescribeDrawing_fn)(KxStandinDrawing*);

// Draws the view as Kxi_Redraw does and copies the picture: rows from the
// top, 3 bytes per pixel (blue, green, red), no padding. 0 on success, with
// *width and *height; -1 when drawing is not set up or fails, -2 when
// `capacity` bytes cannot hold the picture (KxStandin_DescribeDrawing gives
// its size). Nothing is written on failure.
int32_t WINAPI KxStandin_ReadFrame(uint8_t* bgr, int32_t capacity, int32_t* width, int32_t* height);
typedef int32_t(WINAPI* KxStandin_ReadFrame_fn)(uint8_t*, int32_t, int32_t*, int32_t*);

// The script loaded `index`-th (from 0) by Kxi_LoadScriptFromMemory since
// the model was read: its size, with its target in *target and, when
// `buffer` is not null, its bytes in `buffer`. -1 when there is no such
// script, -2 when `capacity` bytes cannot hold it (nothing written).
int32_t WINAPI KxStandin_GetLoadedScript(int32_t index, int32_t* target, void* buffer,
                                         int32_t capacity);
typedef int32_t(WINAPI* KxStandin_GetLoadedScript_fn)(int32_t, int32_t*, void*, int32_t);

}  // extern "C"
