// The process's engine link over the real library, and the parts services
// (engine, code page, debugger trace) that the exports hand to the logic.
#pragma once

#include "hostkit/parts/engine_link.h"
#include "hostkit/parts/parts_engine.h"

namespace kx::hostkit {

// The one engine link of the process: created on the first request, loaded
// by the first request that finds the library complete, unloaded when the
// process ends. Null while the library cannot be loaded.
IKX3DInterface* EngineLink() noexcept;

// The typed entry point `entry` of a loaded link: for example
//   LinkEntry<decltype(Kxi_GetShapeNum)>(link, EngineEntry::kGetShapeNum)
template <class F>
F* LinkEntry(const IKX3DInterface& link, EngineEntry entry) noexcept {
  return reinterpret_cast<F*>(link.Address(entry));
}

// The parts model queries through a loaded link.
class Win32PartsEngine final : public PartsEngine {
 public:
  explicit Win32PartsEngine(const IKX3DInterface& link) : link_(link) {}
  std::int32_t CheckPartsIndex(std::int32_t parts) override;
  std::int32_t GetChildPartsNum(std::int32_t parts) override;
  std::int32_t GetChildPartsIndex(std::int32_t parts, std::int32_t position) override;
  std::int32_t GetPartsModelIndex(std::int32_t parts) override;
  std::int32_t GetModelAttributeIndex(std::int32_t model) override;
  std::int32_t GetAttribute(std::int32_t attribute, std::optional<std::string>* text,
                            std::int32_t* flag) override;
  std::int32_t GetMakerAttribute(std::int32_t attribute, std::optional<std::string>* text) override;
  std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                   std::int32_t* size) override;
  std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                       void* buffer) override;
  std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type, const void* data,
                                       std::int32_t size) override;

 private:
  const IKX3DInterface& link_;
};

// Text in the system's ANSI code page.
class Win32SystemCodec final : public TextCodec {
 public:
  std::u16string ToWide(std::string_view multibyte) override;
  std::string ToMultibyte(std::u16string_view wide) override;
};

// The debugger's output.
class Win32DebugTrace final : public DebugTrace {
 public:
  void Line(std::u16string_view text) override;
};

}  // namespace kx::hostkit
