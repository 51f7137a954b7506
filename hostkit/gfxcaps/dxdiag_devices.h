// The DirectX diagnostic service's list of display devices, as the board
// information reads it, and the small value type its properties come in.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace kx::hostkit {

// A property value of the diagnostic service. Only the kinds the board
// information understands are told apart; everything else, and a property
// that could not be read, is kOther.
struct DiagValue {
  enum class Kind { kSigned, kUnsigned, kText, kOther };
  Kind kind = Kind::kOther;
  std::int32_t signed_value = 0;
  std::uint32_t unsigned_value = 0;
  std::u16string text;  // UTF-16, as the platform's wide text

  static DiagValue Signed(std::int32_t v) {
    DiagValue value;
    value.kind = Kind::kSigned;
    value.signed_value = v;
    return value;
  }
  static DiagValue Unsigned(std::uint32_t v) {
    DiagValue value;
    value.kind = Kind::kUnsigned;
    value.unsigned_value = v;
    return value;
  }
  static DiagValue Text(std::u16string v) {
    DiagValue value;
    value.kind = Kind::kText;
    value.text = std::move(v);
    return value;
  }
};

// One child container of the display-device list.
class DiagDevice {
 public:
  virtual ~DiagDevice() = default;
  virtual DiagValue Property(const char16_t* name) = 0;
};

// The "DxDiag_DisplayDevices" container, with the service (and the COM
// apartment it needs) held open for as long as this object lives.
class DiagDisplayDevices {
 public:
  virtual ~DiagDisplayDevices() = default;
  virtual std::uint32_t ChildCount() = 0;
  // Name of the child at `index`; nullopt when it cannot be named.
  virtual std::optional<std::u16string> ChildName(std::uint32_t index) = 0;
  // The child called `name`; null when it cannot be opened.
  virtual std::unique_ptr<DiagDevice> OpenChild(const std::u16string& name) = 0;
};

class DiagService {
 public:
  virtual ~DiagService() = default;
  // Creates and initialises the service and opens its display-device list;
  // null when any step fails.
  virtual std::unique_ptr<DiagDisplayDevices> OpenDisplayDevices() = 0;
};

// Conversion of wide text to the ANSI code page of the calling thread.
class ThreadCodePage {
 public:
  virtual ~ThreadCodePage() = default;
  virtual std::string FromWide(const std::u16string& text) = 0;
};

}  // namespace kx::hostkit
