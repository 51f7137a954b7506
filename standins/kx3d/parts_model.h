// The stand-in engine's parts model: the tree of placed parts that the host
// application's services walk, each part's model with its shapes, the
// attribute records the models name, the typed extend blocks kept with
// parts, shapes and the model's head, and the stored views. A model file
// describes it in an optional section after the geometry (README.md); a
// file without one gets a tree of one part per geometry part.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "standins/kx3d/q3d_model.h"

namespace kx::kx3d {

struct Placement {
  float position[3] = {0, 0, 0};
  float rotation[3] = {0, 0, 0};  // radians about x, y, z
  float scale[3] = {1, 1, 1};
};

using ExtendBlocks = std::map<std::int32_t, std::string>;  // by block type

struct TreePart {
  std::int32_t parent = -1;  // -1 only for the root, part 0
  std::int32_t model = -1;   // -1: no model
  Placement offset;          // relative to the parent
  ExtendBlocks blocks;
  std::vector<std::int32_t> children;  // made from the parents, in index order
};

struct Shape {
  std::int32_t option = 0;
  Placement offset;  // within its model
  ExtendBlocks blocks;
};

struct ShapeModel {
  std::int32_t attribute = -1;  // -1: no attribute record
  std::vector<Shape> shapes;
};

struct AttributeRecord {
  std::int32_t flag = 0;
  std::string text;   // multibyte
  std::string maker;  // multibyte
};

struct StoredView {
  float direction[3] = {0, 0, -1};
  float field_of_view = 35.0f, near_distance = 0.1f, far_distance = 1000.0f;
  std::string name;  // multibyte
};

// A script handed to Kxi_LoadScriptFromMemory, kept as it came so that a
// test can read back what was loaded.
struct LoadedScript {
  std::int32_t target = -1;
  std::string bytes;
  std::int32_t flags = 0;
};

inline constexpr char kPartsSignature[4] = {'K', 'Q', 'P', 'T'};
inline constexpr std::uint32_t kPartsVersion = 1;

class PartsModel {
 public:
  // Just the root part, with no model: what the engine has before a model
  // is read.
  PartsModel();

  // One part under the root per geometry part, each with a model of one
  // shape and an attribute record whose text is the part's name (flag 1).
  static PartsModel FromGeometry(const Model& geometry);

  // The parts section that follows the geometry body at `offset` in a model
  // file; without one, FromGeometry. kNone, or kMalformed with `*parts`
  // untouched.
  static ModelError Decode(const std::string& file, std::size_t offset, const Model& geometry,
                           PartsModel* parts);
  // The section's bytes, to append to a model file.
  std::string Encode() const;

  // What the entry points answer; negative results are failures.
  std::int32_t CheckParts(std::int32_t parts) const;
  std::int32_t ChildCount(std::int32_t parts) const;
  std::int32_t Child(std::int32_t parts, std::int32_t position) const;
  const Placement* PartOffset(std::int32_t parts) const;
  std::int32_t ModelOf(std::int32_t parts) const;
  std::int32_t AttributeOf(std::int32_t model) const;
  const AttributeRecord* Attribute(std::int32_t attribute) const;
  std::int32_t ShapeCount(std::int32_t model) const;
  Shape* FindShape(std::int32_t model, std::int32_t shape);
  const std::string* PartsBlock(std::int32_t parts, std::int32_t type) const;
  // False when the part does not exist.
  bool SetPartsBlock(std::int32_t parts, std::int32_t type, std::string data);
  bool DeletePartsBlock(std::int32_t parts, std::int32_t type);
  const std::string* HeadBlock(std::int32_t index, std::int32_t type) const;
  // kind 1: the stored view `index`; kind 0: the current one (`current_view`
  // when the model has one, else the first stored view).
  const StoredView* View(std::int32_t kind, std::int32_t index) const;

  // The model as the section describes it. Building one by hand: add parts
  // with AddPart (parents first), the rest directly.
  std::int32_t AddPart(std::int32_t parent, std::int32_t model, const Placement& offset = {});
  const std::vector<TreePart>& parts() const { return parts_; }
  std::vector<ShapeModel> models;
  std::vector<AttributeRecord> attributes;
  std::map<std::pair<std::int32_t, std::int32_t>, std::string> head_blocks;  // (index, type)
  std::vector<StoredView> views;
  // The view the engine shows, apart from the stored ones.
  std::optional<StoredView> current_view;
  // Scripts loaded since the model was read, oldest first (not part of the
  // file).
  std::vector<LoadedScript> loaded_scripts;

 private:
  std::vector<TreePart> parts_;
  friend class PartsSectionReader;
};

}  // namespace kx::kx3d
