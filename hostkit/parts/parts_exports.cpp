// The parts attribute exports: thin wrappers that bring the engine link,
// the code page and OLE Automation to the logic. Nothing escapes as an
// exception; running out of memory gives the export's failure result.
#include <windows.h>
// windows.h first
#include <oleauto.h>

#include <cstring>
#include <new>
#include <string>

#include "hostkit/include/hostkit.h"
#include "hostkit/parts/attribute_block.h"
#include "hostkit/parts/attribute_value.h"
#include "hostkit/parts/block_collection.h"
#include "hostkit/parts/engine_link_win32.h"
#include "hostkit/parts/parts_values_win32.h"
#include "hostkit/shell/text_slot_win32.h"

using namespace kx::hostkit;

namespace {

// What one call reaches: the engine only while the link is loaded.
struct Services {
  IKX3DInterface* link = EngineLink();
  std::optional<Win32PartsEngine> engine;
  Win32SystemCodec codec;
  Win32DebugTrace trace;

  Services() {
    if (link != nullptr) engine.emplace(*link);
  }
  PartsServices get() { return {engine ? &*engine : nullptr, &codec, &trace}; }
};

// A VARIANT of this call's own.
struct OwnedVariant {
  VARIANT v;
  OwnedVariant() noexcept { VariantInit(&v); }
  ~OwnedVariant() { VariantClear(&v); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
};

std::int32_t SetValue(PartsAttributeBlock* block, uint32_t id, const VARIANT& value) {
  Win32SystemCodec codec;
  VariantForms forms(value);
  return WriteValue(*block, id, forms, codec);
}

}  // namespace

extern "C" {

PartsAttributeBlock* WINAPI GetPartsAttributeBlock(int32_t partsIndex, int32_t, int32_t) noexcept {
  try {
    Services services;
    return BuildAttributeBlock(services.get(), partsIndex, false).release();
  } catch (...) {
    return nullptr;
  }
}

PartsAttributeBlock* WINAPI CollectPartsAttributeBlocks(int32_t partsIndex, uint32_t flags,
                                                        int32_t* count, int32_t) noexcept {
  CollectedBlocks collected;
  try {
    Services services;
    collected = CollectAttributeBlocks(services.get(), partsIndex, flags);
  } catch (...) {
    collected = {};  // what was collected so far went with the failure
  }
  if (count != nullptr) *count = collected.count;
  return collected.head;
}

PartsAttributeBlock* WINAPI GetNextPartsAttributeBlock(PartsAttributeBlock* block) noexcept {
  return block != nullptr ? block->next : nullptr;
}

int32_t WINAPI GetPartsAttributeBlockNum(PartsAttributeBlock* block) noexcept {
  return CountBlocks(block);
}

int32_t WINAPI ReleasePartsAttributBlock(PartsAttributeBlock* block) noexcept {
  return ReleaseBlockList(block);
}

int32_t WINAPI UpdatePartsAttributeBlock(PartsAttributeBlock* block, int32_t type,
                                         int32_t) noexcept {
  if (block == nullptr || block->parts_index < 0) return 0;
  try {
    Services services;
    return UpdateAttributeBlock(services.get().engine, block, type);
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetPartsAttribute(PartsAttributeBlock* block, uint32_t id, BSTR* text) noexcept {
  if (block == nullptr || text == nullptr) return 0;
  try {
    Win32SystemCodec codec;
    std::string bytes = ReadValueText(*block, id, codec);
    bytes.push_back('\0');  // the host reads the text with its terminator
    return hostkit::SetTextSlot(text, bytes) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI GetPartsAttributeVar(PartsAttributeBlock* block, uint32_t id,
                                    VARIANT* value) noexcept {
  if (block == nullptr || value == nullptr) return 0;
  try {
    Win32SystemCodec codec;
    const std::optional<TaggedValue> read = ReadValue(*block, id, codec);
    if (!read) return 1;  // no value: the VARIANT stays as it was
    return DeliverValue(value, *read) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int32_t WINAPI SetPartsAttributeVar(PartsAttributeBlock* block, uint32_t id,
                                    const VARIANT* value) noexcept {
  if (block == nullptr || value == nullptr) return 0;
  try {
    return SetValue(block, id, *value);
  } catch (...) {
    return 1;  // a conversion that ran out of memory changes nothing
  }
}

int32_t WINAPI SetPartsAttribute(PartsAttributeBlock* block, uint32_t id,
                                 const BSTR* text) noexcept {
  if (block == nullptr || text == nullptr) return 0;
  try {
    OwnedVariant value;  // a null string is an empty value
    if (*text != nullptr) {
      std::string bytes = hostkit::TextSlotBytes(*text);
      bytes.resize(std::strlen(bytes.c_str()));
      Win32SystemCodec codec;
      const std::u16string wide = codec.ToWide(bytes);
      BSTR made = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                    static_cast<UINT>(wide.size()));
      if (made == nullptr) return 1;  // as a text that cannot be made
      value.v.vt = VT_BSTR;
      value.v.bstrVal = made;
    }
    return SetValue(block, id, value.v);
  } catch (...) {
    return 1;
  }
}

}  // extern "C"
