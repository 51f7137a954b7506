#include "hostkit/parts/display_attr.h"

#include <new>
#include <optional>

#include "hostkit/parts/link_decisions.h"
#include "hostkit/parts/part_tree_walk.h"

namespace kx::hostkit {
namespace {

// Wall kinds (A and B) that make a shape a wall.
constexpr std::int32_t kKindAny = -1;
constexpr std::int32_t kKindFacing = 20;
constexpr std::int32_t kKindOther = 21;

// A facing wall's normal must point against the view by more than this.
constexpr double kFacingThreshold = -0.1;

// The shape's block of `type` when it holds at least `minimum` bytes.
std::optional<ByteBlock> ReadShapeBlock(DisplayAttrEngine& engine, std::int32_t model,
                                        std::int32_t shape, std::int32_t type,
                                        std::size_t minimum) {
  const std::int32_t size = engine.GetShapeExtendBlockData(model, shape, type, nullptr, 0);
  if (size < 0 || static_cast<std::size_t>(size) < minimum) return std::nullopt;
  ByteBlock block;
  try {
    block.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (engine.GetShapeExtendBlockData(model, shape, type, block.data(), size) < 0) {
    return std::nullopt;
  }
  return block;
}

// Reads the option word and writes it back with the display bits set or
// cleared. A word that cannot be read is left alone: writing the bits over
// a guess would lose the engine's lower 24 bits.
void UpdateOption(DisplayAttrEngine& engine, std::int32_t model, std::int32_t shape,
                  std::uint32_t bits, bool on) {
  std::int32_t option = 0;
  if (engine.GetShapeOption(model, shape, &option) < 0) return;
  (void)engine.SetShapeOption(model, shape, ApplyDisplayBits(option, bits, on));
}

// A placement the engine cannot give counts as none (identity).
Placement ShapePlacement(DisplayAttrEngine& engine, std::int32_t model, std::int32_t shape) {
  Placement placement;
  if (engine.GetShapeOffset(model, shape, placement) < 0) return Placement{};
  return placement;
}

Placement PartsPlacement(DisplayAttrEngine& engine, std::int32_t parts) {
  Placement placement;
  if (engine.GetPartsOffset(parts, placement) < 0) return Placement{};
  return placement;
}

struct WallWalk {
  DisplayAttrEngine& engine;
  Vector3 view;
  std::uint32_t bits;
  std::uint32_t flags;
  LinkDecisions links;

  void DecideShapeAt(std::int32_t model, std::int32_t shape, const Matrix4& parent) {
    const std::optional<ByteBlock> kind_block =
        ReadShapeBlock(engine, model, shape, kWallKindBlock, kWallKindSize);
    if (!kind_block) return;
    const std::optional<ByteBlock> face_block =
        ReadShapeBlock(engine, model, shape, kWallFaceBlock, kWallFaceSize);
    if (!face_block) return;
    const std::optional<WallKindRecord> kind = ParseWallKind(BlockReader(*kind_block));
    const std::optional<WallFaceRecord> face = ParseWallFace(BlockReader(*face_block));
    if (!kind || !face) return;

    const bool on = DecideShape(*kind, *face, flags, [&] {
      const Matrix4 world = Multiply(PlacementMatrix(ShapePlacement(engine, model, shape)), parent);
      return Dot(view, TransformDirection(face->normal, world));
    });
    UpdateOption(engine, model, shape, bits, on);
    if ((flags & kCarryToLinksFlag) != 0) {
      for (std::int32_t id : face->link_ids) links.Add(id, on);
    }
  }

  // Each part's shapes with its transform: the root's is the identity (its
  // own offset is not applied), a child's its offset within its parent
  // followed by the parent's.
  void Walk(std::int32_t root) {
    WalkPartTree<Matrix4>(
        engine, root, [&](std::int32_t parts, const Matrix4* parent) -> std::optional<Matrix4> {
          const Matrix4 transform =
              parent == nullptr ? Identity()
                                : Multiply(PlacementMatrix(PartsPlacement(engine, parts)), *parent);
          const std::int32_t model = engine.GetPartsModelIndex(parts);
          if (model >= 0) {
            const std::int32_t shapes = engine.GetShapeNum(model);
            for (std::int32_t s = 0; s < shapes; ++s) DecideShapeAt(model, s, transform);
          }
          return transform;
        });
  }
};

}  // namespace

std::int32_t ApplyDisplayBits(std::int32_t option, std::uint32_t bits, bool on) {
  const std::uint32_t word = static_cast<std::uint32_t>(option);
  const std::uint32_t mask = bits & kDisplayBitsMask;
  return static_cast<std::int32_t>(on ? (word | mask) : (word & ~mask));
}

bool DecideShape(const WallKindRecord& kind, const WallFaceRecord& face, std::uint32_t flags,
                 const std::function<double()>& view_dot_normal) {
  if ((flags & kClearAllFlag) != 0 || kind.exclusion == kExcludedShape) return false;
  const std::int32_t a = kind.kind;
  const std::int32_t b = face.kind;
  const bool face_a = a == kKindAny || a == kKindFacing;
  const bool wall = (face_a || b == kKindAny || b == kKindFacing || b == kKindOther) &&
                    !(a == kKindOther && b == kKindOther);
  if (wall && (flags & kAllWallsFlag) != 0) return true;
  if (!wall && (flags & kNonWallsFlag) != 0) return true;
  if (wall && (flags & kFacingWallsFlag) != 0) {
    return view_dot_normal() * (face_a ? 1.0 : -1.0) < kFacingThreshold;
  }
  return false;
}

void SetDisplayBitsOnShapes(DisplayAttrEngine& engine, std::int32_t parts, std::uint32_t bits,
                            bool on, bool recurse) {
  WalkPartTree<NoWalkValue>(
      engine, parts, [&](std::int32_t part, const NoWalkValue*) -> std::optional<NoWalkValue> {
        const std::int32_t model = engine.GetPartsModelIndex(part);
        if (model >= 0) {
          const std::int32_t shapes = engine.GetShapeNum(model);
          for (std::int32_t s = 0; s < shapes; ++s) UpdateOption(engine, model, s, bits, on);
        }
        if (!recurse) return std::nullopt;
        return NoWalkValue{};
      });
}

void SetDisplayBitsOnWalls(DisplayAttrEngine& engine, std::int32_t root, std::int32_t view,
                           std::uint32_t bits, std::uint32_t flags) {
  if (flags == 0) return;
  std::array<float, 3> vector{0.0f, 0.0f, 0.0f};
  // Without a view no wall faces the viewer.
  if (engine.GetView(view, vector) < 0) vector = {0.0f, 0.0f, 0.0f};
  WallWalk walk{engine, {vector[0], vector[1], vector[2]}, bits, flags, {}};
  walk.Walk(root);
  if (walk.links.empty()) return;
  const std::map<std::int32_t, std::int32_t> linked = FindLinkedParts(engine, root);
  for (const auto& [id, on] : walk.links.decisions()) {
    const auto part = linked.find(id);
    if (part != linked.end()) SetDisplayBitsOnShapes(engine, part->second, bits, on, true);
  }
}

}  // namespace kx::hostkit
