// Little-endian fields of the engine's extend blocks, read and written with
// every offset checked against the data: a block comes from the engine or a
// file and its sizes and offsets are never trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace kx::hostkit {

using ByteBlock = std::vector<std::uint8_t>;

// A read-only view of one block's bytes.
class BlockReader {
 public:
  BlockReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  explicit BlockReader(const ByteBlock& block) : BlockReader(block.data(), block.size()) {}

  std::size_t size() const { return size_; }
  const std::uint8_t* data() const { return data_; }

  // True when `length` bytes from `offset` lie inside the block; both are
  // taken as 64-bit values so that no sum can wrap.
  bool Holds(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  std::optional<std::int32_t> Int32(std::size_t offset) const {
    if (!Holds(offset, 4)) return std::nullopt;
    return static_cast<std::int32_t>(Unsigned(offset, 4));
  }
  std::optional<std::uint16_t> Uint16(std::size_t offset) const {
    if (!Holds(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(Unsigned(offset, 2));
  }
  std::optional<float> Float32(std::size_t offset) const {
    if (!Holds(offset, 4)) return std::nullopt;
    const std::uint32_t bits = static_cast<std::uint32_t>(Unsigned(offset, 4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::optional<double> Float64(std::size_t offset) const {
    if (!Holds(offset, 8)) return std::nullopt;
    const std::uint64_t bits = Unsigned(offset, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  std::uint64_t Unsigned(std::size_t offset, int bytes) const {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | data_[offset + i];
    return value;
  }

  const std::uint8_t* data_;
  std::size_t size_;
};

// Appends little-endian fields to a block being built.
class BlockWriter {
 public:
  explicit BlockWriter(ByteBlock& block) : block_(block) {}

  void Int32(std::int32_t value) { Unsigned(static_cast<std::uint32_t>(value), 4); }
  void Uint16(std::uint16_t value) { Unsigned(value, 2); }
  void Float32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Unsigned(bits, 4);
  }
  void Float64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Unsigned(bits, 8);
  }
  void Bytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    block_.insert(block_.end(), bytes, bytes + size);
  }
  void Zeros(std::size_t count) { block_.insert(block_.end(), count, 0); }

 private:
  void Unsigned(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) block_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }

  ByteBlock& block_;
};

}  // namespace kx::hostkit
