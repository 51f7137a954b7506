// What the parts attribute services need of the 3D engine and of the
// system's text conversion, as small interfaces: the Win32 layer implements
// them over the engine link and the system code page, the tests with fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx::hostkit {

// The engine's parts model queries. Every result is the engine's own
// int32; a negative one is a failure.
class PartsEngine {
 public:
  virtual ~PartsEngine() = default;
  virtual std::int32_t CheckPartsIndex(std::int32_t parts) = 0;
  virtual std::int32_t GetChildPartsNum(std::int32_t parts) = 0;
  virtual std::int32_t GetChildPartsIndex(std::int32_t parts, std::int32_t position) = 0;
  virtual std::int32_t GetPartsModelIndex(std::int32_t parts) = 0;
  virtual std::int32_t GetModelAttributeIndex(std::int32_t model) = 0;
  // `*text` receives every byte of the string the engine handed out, NULs
  // inside it included (nullopt when it handed out none); the engine's
  // string is freed by the implementation.
  virtual std::int32_t GetAttribute(std::int32_t attribute, std::optional<std::string>* text,
                                    std::int32_t* flag) = 0;
  // The same for the maker attribute text, which is one text: cut at its
  // first NUL.
  virtual std::int32_t GetMakerAttribute(std::int32_t attribute,
                                         std::optional<std::string>* text) = 0;
  // The size of the part's extend block of `type`.
  virtual std::int32_t GetPartsExtendBlock(std::int32_t parts, std::int32_t type,
                                           std::int32_t* size) = 0;
  // Fills `buffer`, which holds at least the size the engine reported.
  virtual std::int32_t GetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                               void* buffer) = 0;
  virtual std::int32_t SetPartsExtendBlockData(std::int32_t parts, std::int32_t type,
                                               const void* data, std::int32_t size) = 0;
};

// Multibyte text of the system code page to wide (UTF-16) text and back.
class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::u16string ToWide(std::string_view multibyte) = 0;
  virtual std::string ToMultibyte(std::u16string_view wide) = 0;
};

// The debugger's output: a diagnostic trace, one line per call.
class DebugTrace {
 public:
  virtual ~DebugTrace() = default;
  virtual void Line(std::u16string_view text) = 0;
};

// What building blocks reaches: the engine (null while the engine link is
// not loaded), the code page and, when wanted, the trace.
struct PartsServices {
  PartsEngine* engine = nullptr;
  TextCodec* codec = nullptr;
  DebugTrace* trace = nullptr;
};

}  // namespace kx::hostkit
