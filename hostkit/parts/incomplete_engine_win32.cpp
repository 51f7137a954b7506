// An engine library for the tests that lacks one entry point the engine link
// needs (Kxi_GetView) and has every other one, answering as an engine with
// one part would. The link must not take it.
#include <windows.h>

#include <cstdint>

#define KX_EXPORT extern "C" __declspec(dllexport) int32_t WINAPI

KX_EXPORT Kxi_CheckPartsIndex(int32_t parts) { return parts == 0 ? 0 : -1; }
KX_EXPORT Kxi_GetChildPartsNum(int32_t) { return 0; }
KX_EXPORT Kxi_GetChildPartsIndex(int32_t, int32_t) { return -1; }
KX_EXPORT Kxi_GetPartsOffset(int32_t, float*, float*, float*) { return -1; }
KX_EXPORT Kxi_GetPartsModelIndex(int32_t) { return -1; }
KX_EXPORT Kxi_GetModelAttributeIndex(int32_t) { return -1; }
KX_EXPORT Kxi_GetAttribute(int32_t, void*, int32_t*) { return -1; }
KX_EXPORT Kxi_GetMakerAttribute(int32_t, void*) { return -1; }
KX_EXPORT Kxi_GetShapeNum(int32_t) { return 0; }
KX_EXPORT Kxi_SetShapeOption(int32_t, int32_t, int32_t) { return -1; }
KX_EXPORT Kxi_GetShapeOption(int32_t, int32_t, int32_t*) { return -1; }
KX_EXPORT Kxi_GetShapeOffset(int32_t, int32_t, float*, float*, float*) { return -1; }
KX_EXPORT Kxi_GetExtendBlockEx(int32_t, int32_t, int32_t*) { return -1; }
KX_EXPORT Kxi_GetExtendBlockDataEx(int32_t, int32_t, void*) { return -1; }
KX_EXPORT Kxi_GetPartsExtendBlockEx(int32_t, int32_t, int32_t*) { return -1; }
KX_EXPORT Kxi_GetPartsExtendBlockDataEx(int32_t, int32_t, void*) { return -1; }
KX_EXPORT Kxi_SetPartsExtendBlockDataEx(int32_t, int32_t, const void*, int32_t) { return -1; }
KX_EXPORT Kxi_GetShapeExtendBlockData(int32_t, int32_t, int32_t, void*, int32_t) { return -1; }
KX_EXPORT Kxi_GetShapeExtendBlockNum(int32_t, int32_t) { return 0; }
