// Parts attribute blocks: snapshots of one part's attribute data copied out
// of the engine, linked into lists that the host application owns through
// their head. The engine keeps the data as typed extend blocks: 321, the
// attribute strings, and 322, the parts record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/parts/parts_engine.h"

// The handle that crosses the export boundary is the address of one of
// these (hostkit.h declares the type opaque for the host). Fields in the
// order the host's tools expect them.
struct PartsAttributeBlock {
  std::int32_t parts_index = -1;  // -1 while the block is being built
  std::int32_t count = 1;         // parts this block stands for
  std::u16string attribute_text;
  std::u16string maker_text;
  std::int32_t strings_header = 0;   // word 0 of the engine's 321 block
  std::vector<std::string> strings;  // multibyte text, at most kMaxAttributeStrings
  std::int32_t record_size = 0;
  std::unique_ptr<std::uint8_t[]> record;  // record_size bytes, or null
  PartsAttributeBlock* previous = nullptr;
  PartsAttributeBlock* next = nullptr;
};

namespace kx::hostkit {

inline constexpr std::int32_t kAttributeStringsBlock = 321;
inline constexpr std::int32_t kPartsRecordBlock = 322;
inline constexpr std::int32_t kLinkIdBlock = 302;

inline constexpr std::size_t kMaxAttributeStrings = 15;
inline constexpr std::int32_t kPartsRecordSize = 232;
// Engine blocks larger than this are not believed: a size that would need
// more memory than any real block is treated as no block.
inline constexpr std::int32_t kLargestBelievedBlock = 64 * 1024 * 1024;

// What a 321 block holds.
struct AttributeStrings {
  std::int32_t header = 0;
  std::vector<std::string> strings;
};

// The attribute strings in `data`. Entries that would run past the data are
// not read, nor is anything after them; a block too short for its two
// header words holds nothing (header 0).
AttributeStrings ParseAttributeStrings(const std::uint8_t* data, std::size_t size);

// The 321 block for `strings`: header 1, total size, each string with its
// length + 1 and a NUL. nullopt when the total does not fit an int32.
std::optional<std::string> SerialiseAttributeStrings(const std::vector<std::string>& strings);

// Equal for merging: the same attribute strings, attribute text and maker
// attribute text. Record, header and parts index do not count.
bool EqualForMerge(const PartsAttributeBlock& a, const PartsAttributeBlock& b);

using BlockPtr = std::unique_ptr<PartsAttributeBlock>;

// The block of `parts` read from the engine; null when the engine link is
// not loaded (services.engine null), the part does not exist, or `only_flagged` is
// set and the part's attribute flag is 0.
BlockPtr BuildAttributeBlock(const PartsServices& services, std::int32_t parts, bool only_flagged);

// Writes the block back as its 321 (type 0 or 321) and 322 (type 0 or 322)
// blocks. 0 for a null block or a negative parts index (or no engine to
// write to), else 1; what the engine answers is not looked at.
std::int32_t UpdateAttributeBlock(PartsEngine* engine, const PartsAttributeBlock* block,
                                  std::int32_t type);

// Number of blocks from `block` to the end of its list; 0 for null.
std::int32_t CountBlocks(const PartsAttributeBlock* block);

// Frees `head` and every block after it: 1. A null block or one that is not
// the head of its list (its previous link is set) is left alone: 0.
std::int32_t ReleaseBlockList(PartsAttributeBlock* head);

}  // namespace kx::hostkit
