#include "hostkit/parts/attribute_block.h"

#include <climits>
#include <cstring>
#include <new>

namespace kx::hostkit {

namespace {

std::int32_t ReadInt32(const std::uint8_t* p) {
  std::uint32_t v = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                    static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}

void AppendInt32(std::string& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                         static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
  out.append(bytes, 4);
}

// The engine's extend block `type` of `parts`, zero-filled before the fetch;
// nullopt when the part has none, its size is not believable or the fetch
// fails. A block smaller than `least` counts as none.
std::optional<std::vector<std::uint8_t>> FetchBlock(PartsEngine& engine, std::int32_t parts,
                                                    std::int32_t type, std::int32_t least) {
  std::int32_t size = 0;
  if (engine.GetPartsExtendBlock(parts, type, &size) < 0) return std::nullopt;
  if (size <= 0 || size < least || size > kLargestBelievedBlock) return std::nullopt;
  std::vector<std::uint8_t> buffer;
  try {
    buffer.assign(static_cast<std::size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (engine.GetPartsExtendBlockData(parts, type, buffer.data()) < 0) return std::nullopt;
  return buffer;
}

std::u16string WideText(TextCodec& codec, const std::optional<std::string>& bytes) {
  if (!bytes || bytes->empty()) return {};
  return codec.ToWide(*bytes);
}

}  // namespace

AttributeStrings ParseAttributeStrings(const std::uint8_t* data, std::size_t size) {
  AttributeStrings parsed;
  if (data == nullptr || size < 8) return parsed;
  parsed.header = ReadInt32(data);
  // The stored total counts the two header words; entries are read while
  // the running offset (from byte 8) stays below it and inside the data.
  const std::int64_t entries_size = static_cast<std::int64_t>(ReadInt32(data + 4)) - 8;
  std::int64_t offset = 0;
  while (offset < entries_size && parsed.strings.size() < kMaxAttributeStrings) {
    const std::uint64_t at = 8 + static_cast<std::uint64_t>(offset);
    if (at + 4 > size) break;
    const std::int32_t n = ReadInt32(data + at);
    if (n < 0 || at + 4 + static_cast<std::uint64_t>(n) > size) break;
    const char* text = reinterpret_cast<const char*>(data + at + 4);
    parsed.strings.emplace_back(text, ::strnlen(text, static_cast<std::size_t>(n)));
    offset += static_cast<std::int64_t>(n) + 4;
  }
  return parsed;
}

std::optional<std::string> SerialiseAttributeStrings(const std::vector<std::string>& strings) {
  std::uint64_t total = 8;
  for (const std::string& s : strings) total += s.size() + 5;
  if (total > INT32_MAX) return std::nullopt;
  std::string out;
  out.reserve(static_cast<std::size_t>(total));
  AppendInt32(out, 1);
  AppendInt32(out, static_cast<std::int32_t>(total));
  for (const std::string& s : strings) {
    AppendInt32(out, static_cast<std::int32_t>(s.size() + 1));
    out.append(s);
    out.push_back('\0');
  }
  return out;
}

bool EqualForMerge(const PartsAttributeBlock& a, const PartsAttributeBlock& b) {
  return a.strings == b.strings && a.attribute_text == b.attribute_text &&
         a.maker_text == b.maker_text;
}

BlockPtr BuildAttributeBlock(const PartsServices& services, std::int32_t parts, bool only_flagged) {
  PartsEngine* engine = services.engine;
  if (engine == nullptr || engine->CheckPartsIndex(parts) < 0) return nullptr;
  TextCodec& codec = *services.codec;

  std::optional<std::string> attribute;
  std::optional<std::string> maker;
  std::int32_t flag = 0;
  const std::int32_t model = engine->GetPartsModelIndex(parts);
  if (model >= 0) {
    const std::int32_t index = engine->GetModelAttributeIndex(model);
    if (index >= 0) {
      std::optional<std::string> text;
      if (engine->GetAttribute(index, &text, &flag) >= 0) attribute = std::move(text);
      text.reset();
      if (engine->GetMakerAttribute(index, &text) >= 0) maker = std::move(text);
    }
  }
  if (only_flagged && flag == 0) return nullptr;

  auto block = std::make_unique<PartsAttributeBlock>();
  block->attribute_text = WideText(codec, attribute);
  block->maker_text = WideText(codec, maker);
  if (services.trace != nullptr) {
    services.trace->Line(block->maker_text);
    services.trace->Line(block->attribute_text);
  }

  if (auto data = FetchBlock(*engine, parts, kAttributeStringsBlock, 1)) {
    AttributeStrings parsed = ParseAttributeStrings(data->data(), data->size());
    block->strings_header = parsed.header;
    block->strings = std::move(parsed.strings);
  }
  if (auto data = FetchBlock(*engine, parts, kPartsRecordBlock, kPartsRecordSize)) {
    block->record_size = static_cast<std::int32_t>(data->size());
    block->record = std::make_unique<std::uint8_t[]>(data->size());
    std::memcpy(block->record.get(), data->data(), data->size());
  }
  block->parts_index = parts;
  return block;
}

std::int32_t UpdateAttributeBlock(PartsEngine* engine, const PartsAttributeBlock* block,
                                  std::int32_t type) {
  if (block == nullptr || block->parts_index < 0 || engine == nullptr) return 0;
  if ((type == 0 || type == kAttributeStringsBlock) && !block->strings.empty()) {
    if (auto data = SerialiseAttributeStrings(block->strings)) {
      engine->SetPartsExtendBlockData(block->parts_index, kAttributeStringsBlock, data->data(),
                                      static_cast<std::int32_t>(data->size()));
    }
  }
  if ((type == 0 || type == kPartsRecordBlock) && block->record && block->record_size != 0) {
    engine->SetPartsExtendBlockData(block->parts_index, kPartsRecordBlock, block->record.get(),
                                    block->record_size);
  }
  return 1;
}

std::int32_t CountBlocks(const PartsAttributeBlock* block) {
  std::int32_t count = 0;
  for (; block != nullptr; block = block->next) ++count;
  return count;
}

std::int32_t ReleaseBlockList(PartsAttributeBlock* head) {
  if (head == nullptr || head->previous != nullptr) return 0;
  while (head != nullptr) {
    PartsAttributeBlock* next = head->next;
    delete head;
    head = next;
  }
  return 1;
}

}  // namespace kx::hostkit
