// An engine part tree in memory, for the tests, the benchmark and the
// fuzzer of the parts attribute services, a code page that maps each byte
// to the character of the same number, and a small Shift-JIS.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/text.h"
#include "hostkit/parts/parts_engine.h"

namespace kx::hostkit::test {

class Latin1Codec final : public TextCodec {
 public:
  std::u16string ToWide(std::string_view multibyte) override {
    std::u16string wide;
    for (unsigned char c : multibyte) wide.push_back(c);
    return wide;
  }
  std::string ToMultibyte(std::u16string_view wide) override {
    std::string bytes;
    for (char16_t c : wide) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return bytes;
  }
};

// Code page 932 as far as the tests need it: single bytes below 0x80 as
// they are, the double-byte characters of a small table, and the code
// page's default character (U+30FB) for any other byte or pair and for a
// lead byte without its second byte, as the system converts them.
class ShiftJisCodec final : public TextCodec {
 public:
  std::u16string ToWide(std::string_view multibyte) override {
    std::u16string wide;
    for (std::size_t i = 0; i < multibyte.size(); ++i) {
      const auto c = static_cast<unsigned char>(multibyte[i]);
      if (!kx::IsLeadByte(c)) {
        wide.push_back(c < 0x80 ? c : kDefault);
        continue;
      }
      if (i + 1 == multibyte.size()) {
        wide.push_back(kDefault);
        break;
      }
      const auto trail = static_cast<unsigned char>(multibyte[++i]);
      char16_t found = kDefault;
      for (const Pair& p : kPairs) {
        if (p.lead == c && p.trail == trail) found = p.wide;
      }
      wide.push_back(found);
    }
    return wide;
  }
  std::string ToMultibyte(std::u16string_view wide) override {
    std::string bytes;
    for (char16_t w : wide) {
      if (w < 0x80) {
        bytes.push_back(static_cast<char>(w));
        continue;
      }
      const Pair* found = nullptr;
      for (const Pair& p : kPairs) {
        if (p.wide == w) found = &p;
      }
      if (found == nullptr) {
        bytes.push_back('?');
      } else {
        bytes.push_back(static_cast<char>(found->lead));
        bytes.push_back(static_cast<char>(found->trail));
      }
    }
    return bytes;
  }

 private:
  struct Pair {
    unsigned char lead, trail;
    char16_t wide;
  };
  static constexpr char16_t kDefault = u'\u30FB';
  // 表 and ソ end in 0x5C, a backslash as a single byte.
  static constexpr Pair kPairs[] = {
      {0x95, 0x5C, u'\u8868'}, {0x83, 0x5C, u'\u30BD'}, {0x93, 0xEC, u'\u5357'},
      {0x82, 0xCC, u'\u306E'}, {0x92, 0xEB, u'\u5EAD'}, {0x81, 0x40, u'\u3000'},
      {0x8A, 0x7E, u'\u6A2B'}, {0x96, 0xD8, u'\u6728'}, {0x8D, 0xDE, u'\u6750'}};
};

struct FakePart {
  std::vector<std::int32_t> children;
  bool has_model = true;                 // model and attribute index: both the part's own index
  std::optional<std::string> attribute;  // nullopt: the engine hands out no string
  std::optional<std::string> maker;
  std::int32_t flag = 1;
  std::map<std::int32_t, std::string> blocks;          // extend blocks by type
  std::map<std::int32_t, std::int32_t> reported_size;  // a size that differs from the data
};

class FakePartsEngine final : public PartsEngine {
 public:
  // Part `index` (existing parts need not be dense); `parent` >= 0 lists it
  // as that part's last child.
  FakePart& Add(std::int32_t index, std::int32_t parent = -1) {
    if (parent >= 0) parts_[parent].children.push_back(index);
    return parts_[index];
  }
  FakePart& Part(std::int32_t index) { return parts_.at(index); }

  struct Write {
    std::int32_t parts, type;
    std::string data;
  };
  std::vector<Write> writes;

  std::int32_t CheckPartsIndex(std::int32_t parts) override { return Find(parts) ? 0 : -1; }
  std::int32_t GetChildPartsNum(std::int32_t parts) override {
    FakePart* p = Find(parts);
    return p ? static_cast<std::int32_t>(p->children.size()) : -1;
  }
  std::int32_t GetChildPartsIndex(std::int32_t parts, std::int32_t position) override {
    FakePart* p = Find(parts);
    if (!p || position < 0 || static_cast<std::size_t>(position) >= p->children.size()) return -1;
    return p->children[static_cast<std::size_t>(position)];
  }
  std::int32_t GetPartsModelIndex(std::int32_t parts) override {
    FakePart* p = Find(parts);
    return p && p->has_model ? parts : -1;
  }
  std::int32_t GetModelAttributeIndex(std::int32_t model) override {
    return Find(model) ? model : -1;
  }
  std::int32_t GetAttribute(std::int32_t attribute, std::optional<std::string>* text,
                            std::int32_t* flag) override {
    FakePart* p = Find(attribute);
    if (!p) return -1;
    *text = p->attribute;
    *flag = p->flag;
    return 0;
  }
  std::int32_t GetMakerAttribute(std::int32_t attribute,
                                 std::optional<std::string>* text) override {
    FakePart* p = Find(attribute);
    if (!p) return -1;
    *text = p->maker;
    return 0;
  }
  std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                   std::int32_t* size) override {
    FakePart* p = Find(parts);
    if (!p || p->blocks.count(type) == 0) return -1;
    auto reported = p->reported_size.find(type);
    *size = reported != p->reported_size.end() ? reported->second
                                               : static_cast<std::int32_t>(p->blocks[type].size());
    return 0;
  }
  std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                       void* buffer) override {
    FakePart* p = Find(parts);
    if (!p || p->blocks.count(type) == 0) return -1;
    // Never more than the caller was told to make room for.
    const std::string& data = p->blocks[type];
    std::int32_t room = 0;
    GetPartsExtendBlock(parts, type, &room);
    std::memcpy(buffer, data.data(), std::min(data.size(), static_cast<std::size_t>(room)));
    return 0;
  }
  std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type, const void* data,
                                       std::int32_t size) override {
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(size));
    writes.push_back({parts, type, bytes});
    if (FakePart* p = Find(parts)) {
      p->blocks[type] = std::move(bytes);
      p->reported_size.erase(type);
    }
    return 0;
  }

 private:
  FakePart* Find(std::int32_t parts) {
    auto it = parts_.find(parts);
    return it == parts_.end() ? nullptr : &it->second;
  }
  std::unordered_map<std::int32_t, FakePart> parts_;
};

}  // namespace kx::hostkit::test
