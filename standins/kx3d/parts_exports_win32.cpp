// The stand-in engine's parts model entry points, looked up by name by the
// host application's services: thin wrappers over the parts of the one
// engine of the process. Texts go out as byte strings in system strings.
#include <windows.h>
// windows.h first
#include <oleauto.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "fitview/engine_api/kx3d_api.h"
#include "standins/kx3d/engine_instance_win32.h"

namespace {

using kx::kx3d::PartsModel;
using kx::kx3d::Placement;

PartsModel& Parts() { return kx::kx3d::ProcessEngine().parts(); }

// Nothing is thrown across an entry point.
template <class F>
int32_t Shielded(F&& call) noexcept {
  try {
    return call();
  } catch (...) {
    return -1;
  }
}

void CopyOffset(const Placement& p, float* position, float* rotation, float* scale) {
  if (position) std::memcpy(position, p.position, sizeof p.position);
  if (rotation) std::memcpy(rotation, p.rotation, sizeof p.rotation);
  if (scale) std::memcpy(scale, p.scale, sizeof p.scale);
}

// A system string holding `bytes` and a NUL; false when it cannot be made.
bool HandOut(const std::string& bytes, BSTR* out) {
  if (out == nullptr) return true;
  if (bytes.size() >= UINT_MAX) return false;
  std::string with_nul = bytes + '\0';
  BSTR made = SysAllocStringByteLen(with_nul.data(), static_cast<UINT>(with_nul.size()));
  if (made == nullptr) return false;
  *out = made;
  return true;
}

int32_t BlockSize(const std::string* block, int32_t* size) {
  if (block == nullptr || block->size() > INT32_MAX) {
    if (size) *size = 0;
    return -1;
  }
  if (size) *size = static_cast<int32_t>(block->size());
  return 0;
}

int32_t CopyBlock(const std::string* block, void* buffer) {
  if (block == nullptr || buffer == nullptr) return -1;
  std::memcpy(buffer, block->data(), block->size());
  return 0;
}

}  // namespace

extern "C" {

int32_t WINAPI Kxi_CheckPartsIndex(int32_t parts) {
  return Shielded([&] { return Parts().CheckParts(parts); });
}

int32_t WINAPI Kxi_GetChildPartsNum(int32_t parts) {
  return Shielded([&] { return Parts().ChildCount(parts); });
}

int32_t WINAPI Kxi_GetChildPartsIndex(int32_t parts, int32_t position) {
  return Shielded([&] { return Parts().Child(parts, position); });
}

int32_t WINAPI Kxi_GetPartsOffset(int32_t parts, float* position, float* rotation, float* scale) {
  return Shielded([&] {
    const Placement* offset = Parts().PartOffset(parts);
    if (offset == nullptr) return -1;
    CopyOffset(*offset, position, rotation, scale);
    return 0;
  });
}

int32_t WINAPI Kxi_GetPartsModelIndex(int32_t parts) {
  return Shielded([&] { return Parts().ModelOf(parts); });
}

int32_t WINAPI Kxi_GetModelAttributeIndex(int32_t model) {
  return Shielded([&] { return Parts().AttributeOf(model); });
}

int32_t WINAPI Kxi_GetAttribute(int32_t attribute, BSTR* text, int32_t* flag) {
  return Shielded([&] {
    const kx::kx3d::AttributeRecord* record = Parts().Attribute(attribute);
    if (record == nullptr || !HandOut(record->text, text)) return -1;
    if (flag) *flag = record->flag;
    return 0;
  });
}

int32_t WINAPI Kxi_GetMakerAttribute(int32_t attribute, BSTR* text) {
  return Shielded([&] {
    const kx::kx3d::AttributeRecord* record = Parts().Attribute(attribute);
    if (record == nullptr || !HandOut(record->maker, text)) return -1;
    return 0;
  });
}

int32_t WINAPI Kxi_GetShapeNum(int32_t model) {
  return Shielded([&] { return Parts().ShapeCount(model); });
}

int32_t WINAPI Kxi_SetShapeOption(int32_t model, int32_t shape, int32_t option) {
  return Shielded([&] {
    kx::kx3d::Shape* s = Parts().FindShape(model, shape);
    if (s == nullptr) return -1;
    s->option = option;
    return 0;
  });
}

int32_t WINAPI Kxi_GetShapeOption(int32_t model, int32_t shape, int32_t* option) {
  return Shielded([&] {
    kx::kx3d::Shape* s = Parts().FindShape(model, shape);
    if (s == nullptr) return -1;
    if (option) *option = s->option;
    return 0;
  });
}

int32_t WINAPI Kxi_GetShapeOffset(int32_t model, int32_t shape, float* position, float* rotation,
                                  float* scale) {
  return Shielded([&] {
    kx::kx3d::Shape* s = Parts().FindShape(model, shape);
    if (s == nullptr) return -1;
    CopyOffset(s->offset, position, rotation, scale);
    return 0;
  });
}

int32_t WINAPI Kxi_GetExtendBlockEx(int32_t index, int32_t type, int32_t* size) {
  return Shielded([&] { return BlockSize(Parts().HeadBlock(index, type), size); });
}

int32_t WINAPI Kxi_GetExtendBlockDataEx(int32_t index, int32_t type, void* buffer) {
  return Shielded([&] { return CopyBlock(Parts().HeadBlock(index, type), buffer); });
}

int32_t WINAPI Kxi_GetPartsExtendBlockEx(int32_t parts, int32_t type, int32_t* size) {
  return Shielded([&] { return BlockSize(Parts().PartsBlock(parts, type), size); });
}

int32_t WINAPI Kxi_GetPartsExtendBlockDataEx(int32_t parts, int32_t type, void* buffer) {
  return Shielded([&] { return CopyBlock(Parts().PartsBlock(parts, type), buffer); });
}

int32_t WINAPI Kxi_SetPartsExtendBlockDataEx(int32_t parts, int32_t type, const void* data,
                                             int32_t size) {
  return Shielded([&] {
    if (size < 0 || (data == nullptr && size > 0)) return -1;
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(size));
    return Parts().SetPartsBlock(parts, type, std::move(bytes)) ? 0 : -1;
  });
}

int32_t WINAPI Kxi_DeletePartsExtendBlockEx(int32_t parts, int32_t type) {
  return Shielded([&] { return Parts().DeletePartsBlock(parts, type) ? 0 : -1; });
}

int32_t WINAPI Kxi_GetShapeExtendBlockData(int32_t model, int32_t shape, int32_t type, void* buffer,
                                           int32_t size) {
  return Shielded([&] {
    kx::kx3d::Shape* s = Parts().FindShape(model, shape);
    if (s == nullptr) return -1;
    auto it = s->blocks.find(type);
    if (it == s->blocks.end() || it->second.size() > INT32_MAX) return -1;
    const auto length = static_cast<int32_t>(it->second.size());
    if (buffer == nullptr) return length;
    const int32_t copied = size < length ? (size < 0 ? 0 : size) : length;
    std::memcpy(buffer, it->second.data(), static_cast<std::size_t>(copied));
    return copied;
  });
}

int32_t WINAPI Kxi_GetShapeExtendBlockNum(int32_t model, int32_t shape) {
  return Shielded([&] {
    kx::kx3d::Shape* s = Parts().FindShape(model, shape);
    return s == nullptr ? -1 : static_cast<int32_t>(s->blocks.size());
  });
}

int32_t WINAPI Kxi_GetView(int32_t kind, int32_t view, void* work, float* direction,
                           float* field_of_view, float* near_distance, float* far_distance,
                           BSTR* name) {
  return Shielded([&] {
    const kx::kx3d::StoredView* v = Parts().View(kind, view);
    if (v == nullptr) return -1;
    if (work) {
      // The engine's view record: direction, the three values, the name.
      unsigned char record[KX3D_VIEW_WORK_BYTES] = {};
      std::memcpy(record, v->direction, sizeof v->direction);
      const float values[3] = {v->field_of_view, v->near_distance, v->far_distance};
      std::memcpy(record + 12, values, sizeof values);
      std::memcpy(record + 24, v->name.data(), std::min<std::size_t>(v->name.size(), 231));
      std::memcpy(work, record, sizeof record);
    }
    if (direction) std::memcpy(direction, v->direction, sizeof v->direction);
    if (field_of_view) *field_of_view = v->field_of_view;
    if (near_distance) *near_distance = v->near_distance;
    if (far_distance) *far_distance = v->far_distance;
    if (!HandOut(v->name, name)) return -1;
    return 0;
  });
}

int32_t WINAPI Kxi_LoadScriptFromMemory(int32_t target, const void* script, int32_t size,
                                        int32_t flags) {
  return Shielded([&] {
    if (target < 0 || size < 0 || (script == nullptr && size > 0)) return -1;
    Parts().loaded_scripts.push_back(
        {target, std::string(static_cast<const char*>(script), static_cast<std::size_t>(size)),
         flags});
    return 0;
  });
}

int32_t WINAPI KxStandin_GetLoadedScript(int32_t index, int32_t* target, void* buffer,
                                         int32_t capacity) {
  return Shielded([&] {
    const auto& scripts = Parts().loaded_scripts;
    if (index < 0 || static_cast<std::size_t>(index) >= scripts.size()) return -1;
    const kx::kx3d::LoadedScript& loaded = scripts[static_cast<std::size_t>(index)];
    if (loaded.bytes.size() > INT32_MAX) return -1;
    const auto size = static_cast<int32_t>(loaded.bytes.size());
    if (buffer != nullptr) {
      if (capacity < size) return -2;
      std::memcpy(buffer, loaded.bytes.data(), loaded.bytes.size());
    }
    if (target) *target = loaded.target;
    return size;
  });
}

}  // extern "C"
