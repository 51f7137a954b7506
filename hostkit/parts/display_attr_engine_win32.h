// The display attribute calls' view of the engine, over the process's
// engine link.
#pragma once

#include "hostkit/parts/display_attr_engine.h"
#include "hostkit/parts/engine_link.h"

namespace kx::hostkit {

class Win32DisplayAttrEngine final : public DisplayAttrEngine {
 public:
  // `link` is loaded and outlives this object.
  explicit Win32DisplayAttrEngine(const IKX3DInterface& link) : link_(link) {}

  std::int32_t GetView(std::int32_t view, std::array<float, 3>& vector) override;
  std::int32_t GetChildPartsNum(std::int32_t parts) override;
  std::int32_t GetChildPartsIndex(std::int32_t parts, std::int32_t position) override;
  std::int32_t GetPartsOffset(std::int32_t parts, Placement& placement) override;
  std::int32_t GetPartsModelIndex(std::int32_t parts) override;
  std::int32_t GetShapeNum(std::int32_t model) override;
  std::int32_t GetShapeOffset(std::int32_t model, std::int32_t shape,
                              Placement& placement) override;
  std::int32_t GetShapeExtendBlockData(std::int32_t model, std::int32_t shape, std::int32_t type,
                                       std::uint8_t* buffer, std::int32_t size) override;
  std::int32_t GetShapeOption(std::int32_t model, std::int32_t shape,
                              std::int32_t* option) override;
  std::int32_t SetShapeOption(std::int32_t model, std::int32_t shape, std::int32_t option) override;
  std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                   std::int32_t* size) override;
  std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type, std::uint8_t* buffer,
                                       std::int32_t size) override;

 private:
  const IKX3DInterface& link_;
};

}  // namespace kx::hostkit
