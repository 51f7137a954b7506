// An in-memory part tree with models, shapes and wall records, standing in
// for the engine link in the display attribute tests.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "hostkit/parts/display_attr_blocks.h"
#include "hostkit/parts/display_attr_engine.h"
#include "hostkit/parts/link_decisions.h"

namespace kx::hostkit::test {

class FakeDisplayEngine final : public DisplayAttrEngine {
 public:
  struct Shape {
    Placement placement;
    std::int32_t option = 0;
    bool option_unreadable = false;
    std::map<std::int32_t, ByteBlock> blocks;  // by type
  };
  struct Part {
    std::int32_t model = -1;
    Placement placement;  // within the parent part
    std::vector<std::int32_t> children;
    std::optional<ByteBlock> link_block;
  };

  std::map<std::int32_t, Part> parts;
  std::map<std::int32_t, std::vector<Shape>> models;
  std::array<float, 3> view{0.0f, 0.0f, 1.0f};
  std::int32_t last_view = 0;

  // A shape with both wall records; returns its number in the model.
  std::int32_t AddWall(std::int32_t model, std::int32_t kind_a, std::int32_t kind_b, Vector3 normal,
                       std::vector<std::int32_t> links = {}, std::int32_t exclusion = 0) {
    Shape shape;
    shape.blocks[kWallKindBlock] = BuildWallKind({kind_a, exclusion});
    shape.blocks[kWallFaceBlock] = BuildWallFace({normal, kind_b, std::move(links)});
    models[model].push_back(shape);
    return static_cast<std::int32_t>(models[model].size()) - 1;
  }
  void SetLinkId(std::int32_t part, std::int32_t id) {
    ByteBlock block;
    BlockWriter(block).Int32(id);
    parts[part].link_block = block;
  }
  std::int32_t Option(std::int32_t model, std::int32_t shape) const {
    return models.at(model).at(static_cast<std::size_t>(shape)).option;
  }

  std::int32_t GetView(std::int32_t index, std::array<float, 3>& vector) override {
    last_view = index;
    vector = view;
    return 0;
  }
  std::int32_t GetChildPartsNum(std::int32_t part) override {
    auto it = parts.find(part);
    return it == parts.end() ? -1 : static_cast<std::int32_t>(it->second.children.size());
  }
  std::int32_t GetChildPartsIndex(std::int32_t part, std::int32_t position) override {
    return parts.at(part).children.at(static_cast<std::size_t>(position));
  }
  std::int32_t GetPartsOffset(std::int32_t part, Placement& placement) override {
    placement = parts.at(part).placement;
    return 0;
  }
  std::int32_t GetPartsModelIndex(std::int32_t part) override {
    auto it = parts.find(part);
    return it == parts.end() ? -1 : it->second.model;
  }
  std::int32_t GetShapeNum(std::int32_t model) override {
    auto it = models.find(model);
    return it == models.end() ? 0 : static_cast<std::int32_t>(it->second.size());
  }
  std::int32_t GetShapeOffset(std::int32_t model, std::int32_t shape,
                              Placement& placement) override {
    placement = At(model, shape).placement;
    return 0;
  }
  std::int32_t GetShapeExtendBlockData(std::int32_t model, std::int32_t shape, std::int32_t type,
                                       std::uint8_t* buffer, std::int32_t size) override {
    const auto& blocks = At(model, shape).blocks;
    auto it = blocks.find(type);
    if (it == blocks.end()) return -1;
    if (buffer == nullptr) return static_cast<std::int32_t>(it->second.size());
    std::memcpy(buffer, it->second.data(), std::min<std::size_t>(it->second.size(), size));
    return 0;
  }
  std::int32_t GetShapeOption(std::int32_t model, std::int32_t shape,
                              std::int32_t* option) override {
    if (At(model, shape).option_unreadable) return -1;
    *option = At(model, shape).option;
    return 0;
  }
  std::int32_t SetShapeOption(std::int32_t model, std::int32_t shape,
                              std::int32_t option) override {
    At(model, shape).option = option;
    return 0;
  }
  std::int32_t GetPartsExtendBlock(std::int32_t part, std::int32_t type,
                                   std::int32_t* size) override {
    const Part& p = parts.at(part);
    if (type != kLinkIdBlock || !p.link_block) return -1;
    *size = static_cast<std::int32_t>(p.link_block->size());
    return 0;
  }
  std::int32_t GetPartsExtendBlockData(std::int32_t part, std::int32_t type, std::uint8_t* buffer,
                                       std::int32_t size) override {
    const Part& p = parts.at(part);
    if (type != kLinkIdBlock || !p.link_block) return -1;
    std::memcpy(buffer, p.link_block->data(), std::min<std::size_t>(p.link_block->size(), size));
    return 0;
  }

 private:
  Shape& At(std::int32_t model, std::int32_t shape) {
    return models.at(model).at(static_cast<std::size_t>(shape));
  }
};

}  // namespace kx::hostkit::test
