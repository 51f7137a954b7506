// Display attributes of walls and shapes: the top byte of a shape's option
// word, set or cleared by rules on the shape's wall records and on whether
// a wall faces the viewer. What the bits and wall kinds mean is the
// engine's; only the comparisons are decided here.
#pragma once

#include <cstdint>
#include <functional>

#include "hostkit/parts/display_attr_blocks.h"
#include "hostkit/parts/display_attr_engine.h"

namespace kx::hostkit {

// The only bits of an option word these calls change.
constexpr std::uint32_t kDisplayBitsMask = 0xFF000000u;

// Decision flags of SetDispAttrToWalls.
constexpr std::uint32_t kFacingWallsFlag = 0x1;       // walls facing the viewer get the bits
constexpr std::uint32_t kNonWallsFlag = 0x2;          // shapes that are not walls get them
constexpr std::uint32_t kAllWallsFlag = 0x4;          // every wall gets them
constexpr std::uint32_t kCarryToLinksFlag = 0x10000;  // linked parts follow their walls
constexpr std::uint32_t kClearAllFlag = 0x80000000u;  // no decision: every examined shape cleared

// The on and recurse switches of SetDispAttrToShapes: only their low byte
// counts, as the host has always passed them.
constexpr bool SwitchOn(std::uint32_t value) { return (value & 0xFFu) != 0; }

// `option` with the display bits of `bits` set (on) or cleared.
[[nodiscard]] std::int32_t ApplyDisplayBits(std::int32_t option, std::uint32_t bits, bool on);

// The decision for one shape that has both wall records. `view_dot_normal`
// gives V . n, the view vector against the face normal in world
// coordinates; it is asked only when the facing rule has to decide.
[[nodiscard]] bool DecideShape(const WallKindRecord& kind, const WallFaceRecord& face,
                               std::uint32_t flags, const std::function<double()>& view_dot_normal);

// SetDispAttrToShapes: every shape of the part's model, and with `recurse`
// of all its descendants, depth first.
void SetDisplayBitsOnShapes(DisplayAttrEngine& engine, std::int32_t parts, std::uint32_t bits,
                            bool on, bool recurse);

// SetDispAttrToWalls: nothing with flags 0. The view is the current one
// when `view` is negative.
void SetDisplayBitsOnWalls(DisplayAttrEngine& engine, std::int32_t root, std::int32_t view,
                           std::uint32_t bits, std::uint32_t flags);

}  // namespace kx::hostkit
