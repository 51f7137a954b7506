// The engine as the display attribute calls see it: the part tree, the
// shapes of a part's model with their placements, wall records and option
// words, a part's link id block, and the view vector. It is reached through
// the long-lived engine link. Results are the engine's int32 results;
// negative is a failure.
#pragma once

#include <array>
#include <cstdint>

#include "hostkit/parts/display_attr_transform.h"

namespace kx::hostkit {

class DisplayAttrEngine {
 public:
  virtual ~DisplayAttrEngine() = default;

  // Kxi_GetView (1, view, work, vector, ...) or, for a negative view,
  // (0, 0, ...): fills `vector` with the view vector. The work buffer,
  // the other outputs and freeing the returned string are the
  // implementation's.
  virtual std::int32_t GetView(std::int32_t view, std::array<float, 3>& vector) = 0;

  // Kxi_GetChildPartsNum (parts).
  virtual std::int32_t GetChildPartsNum(std::int32_t parts) = 0;
  // Kxi_GetChildPartsIndex (parts, position).
  virtual std::int32_t GetChildPartsIndex(std::int32_t parts, std::int32_t position) = 0;
  // Kxi_GetPartsOffset (parts, position, rotation, scale): the part within
  // its parent part.
  virtual std::int32_t GetPartsOffset(std::int32_t parts, Placement& placement) = 0;
  // Kxi_GetPartsModelIndex (parts): >= 0 when the part has shapes.
  virtual std::int32_t GetPartsModelIndex(std::int32_t parts) = 0;

  // Kxi_GetShapeNum (model).
  virtual std::int32_t GetShapeNum(std::int32_t model) = 0;
  // Kxi_GetShapeOffset (model, shape, position, rotation, scale): the shape
  // within its model.
  virtual std::int32_t GetShapeOffset(std::int32_t model, std::int32_t shape,
                                      Placement& placement) = 0;
  // Kxi_GetShapeExtendBlockData (model, shape, type, buffer, size): with a
  // null buffer the block's size (negative when absent); with a buffer of
  // `size` bytes, fills it.
  virtual std::int32_t GetShapeExtendBlockData(std::int32_t model, std::int32_t shape,
                                               std::int32_t type, std::uint8_t* buffer,
                                               std::int32_t size) = 0;
  // Kxi_GetShapeOption (model, shape, &option): the shape's option word.
  virtual std::int32_t GetShapeOption(std::int32_t model, std::int32_t shape,
                                      std::int32_t* option) = 0;
  // Kxi_SetShapeOption (model, shape, option).
  virtual std::int32_t SetShapeOption(std::int32_t model, std::int32_t shape,
                                      std::int32_t option) = 0;

  // Kxi_GetPartsExtendBlockEx (parts, type, &size).
  virtual std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                           std::int32_t* size) = 0;
  // Kxi_GetPartsExtendBlockDataEx (parts, type, buffer of `size` bytes).
  virtual std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                               std::uint8_t* buffer, std::int32_t size) = 0;
};

}  // namespace kx::hostkit
