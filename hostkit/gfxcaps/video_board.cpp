#include "hostkit/gfxcaps/video_board.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "common/text.h"

namespace kx::hostkit {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// `count` hex digits of `text` from `pos`, or nullopt.
std::optional<std::uint32_t> HexField(const std::u16string& text, std::size_t pos, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = HexDigit(text[pos + i]);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

constexpr char16_t kIdentifier[] = u"szDeviceIdentifier";
constexpr char16_t kMemory[] = u"szDisplayMemoryLocalized";
constexpr char16_t kChip[] = u"szChipType";

// Whether a "szDeviceIdentifier" value names `adapter`.
bool Names(const DiagValue& id, const Guid& adapter) {
  if (id.kind != DiagValue::Kind::kText) return false;
  const std::optional<Guid> guid = ParseGuid(id.text);
  return guid && *guid == adapter;
}

// The display device whose "szDeviceIdentifier" names `adapter`; children
// that cannot be named, opened or read are passed over.
std::unique_ptr<DiagDevice> FindDisplayDevice(DiagDisplayDevices& devices, const Guid& adapter) {
  const std::uint32_t count = devices.ChildCount();
  for (std::uint32_t index = 0; index < count; ++index) {
    const std::optional<std::u16string> name = devices.ChildName(index);
    if (!name) continue;
    std::unique_ptr<DiagDevice> device = devices.OpenChild(*name);
    if (device && Names(device->Property(kIdentifier), adapter)) return device;
  }
  return nullptr;
}

BoardReading ReadingOf(const DiagValue& memory, const DiagValue& chip, ThreadCodePage& code_page) {
  BoardReading reading;
  reading.video_memory = MemoryFromDiagValue(memory);
  if (chip.kind == DiagValue::Kind::kText) {
    // Cut on a character boundary: half a double-byte character at the end
    // would swallow the terminator for whoever reads the text later.
    reading.chip_type = CutText(code_page.FromWide(chip.text), kBoardChipTypeBytes - 1);
  }
  return reading;
}

// The power of ten of the leading significant digit of a decimal number such
// as "0.00012e-3" (here -7); only its sign matters to the caller.
long DecimalMagnitude(const std::string& number) {
  const std::size_t e = number.find('e');
  const std::string mantissa = number.substr(0, e);
  long exponent = 0;
  if (e != std::string::npos) {
    std::size_t at = e + 1;
    const bool negative = number[at] == '-';
    if (number[at] == '-' || number[at] == '+') ++at;
    at = std::min(number.find_first_not_of('0', at), number.size());
    // An exponent beyond any double's range needs no more digits.
    exponent = std::strtol(number.substr(at, 8).c_str(), nullptr, 10);
    if (negative) exponent = -exponent;
  }
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string::npos) return -1;  // zero
  const long position =
      first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
  return position + exponent;
}

}  // namespace

double LeadingReal(const std::u16string& text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  // Gather the longest prefix that reads as a decimal number, in ASCII.
  std::string number;
  std::size_t digits = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
    number += static_cast<char>(text[pos]);
  }
  if (pos < text.size() && text[pos] == u'.') {
    number += '.';
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos, ++digits) {
      number += static_cast<char>(text[pos]);
    }
  }
  if (digits == 0) return 0.0;
  if (pos < text.size() && (text[pos] == u'e' || text[pos] == u'E')) {
    // The exponent counts only with at least one digit; "12e" reads as 12.
    std::size_t end = pos + 1;
    std::string exponent = "e";
    if (end < text.size() && (text[end] == u'+' || text[end] == u'-')) {
      exponent += static_cast<char>(text[end]);
      ++end;
    }
    const std::size_t first_digit = end;
    for (; end < text.size() && IsDigit(text[end]); ++end) exponent += static_cast<char>(text[end]);
    if (end > first_digit) number += exponent;
  }
  // from_chars reads the same syntax independent of the process's locale,
  // which the host application may have changed.
  double value = 0.0;
  const std::from_chars_result result =
      std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Like wcstod: too large reads as infinity, too small as zero.
    value = DecimalMagnitude(number) < 0 ? 0.0 : HUGE_VAL;
  }
  return negative ? -value : value;
}

std::optional<Guid> ParseGuid(const std::u16string& text) {
  if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
      text[14] != u'-' || text[19] != u'-' || text[24] != u'-') {
    return std::nullopt;
  }
  Guid guid;
  const auto d1 = HexField(text, 1, 8);
  const auto d2 = HexField(text, 10, 4);
  const auto d3 = HexField(text, 15, 4);
  if (!d1 || !d2 || !d3) return std::nullopt;
  guid.data1 = *d1;
  guid.data2 = static_cast<std::uint16_t>(*d2);
  guid.data3 = static_cast<std::uint16_t>(*d3);
  constexpr std::size_t kByteAt[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    const auto byte = HexField(text, kByteAt[i], 2);
    if (!byte) return std::nullopt;
    guid.data4[i] = static_cast<std::uint8_t>(*byte);
  }
  return guid;
}

std::optional<double> MemoryFromDiagValue(const DiagValue& value) {
  switch (value.kind) {
    case DiagValue::Kind::kSigned:
      return static_cast<double>(value.signed_value);
    case DiagValue::Kind::kUnsigned:
      return static_cast<double>(value.unsigned_value);
    case DiagValue::Kind::kText:
      return LeadingReal(value.text);
    case DiagValue::Kind::kOther:
      break;
  }
  return std::nullopt;
}

std::optional<BoardReading> ReadVideoBoard(const BoardSources& sources) {
  Guid adapter_id;  // all zeros when the identifier cannot be read
  {
    // Direct3D only names the adapter; it is let go before the service
    // starts, as each of them initialises COM on its own.
    const std::unique_ptr<Direct3DAdapter> adapter = sources.direct3d.Open();
    if (!adapter) return std::nullopt;
    adapter_id = adapter->DeviceIdentifier().value_or(Guid{});
  }
  const std::unique_ptr<DiagDisplayDevices> devices = sources.diag.OpenDisplayDevices();
  if (!devices) return std::nullopt;
  const std::unique_ptr<DiagDevice> device = FindDisplayDevice(*devices, adapter_id);
  if (!device) return std::nullopt;
  return ReadingOf(device->Property(kMemory), device->Property(kChip), sources.code_page);
}

std::optional<std::vector<DiagDeviceFacts>> ReadDisplayDevices(DiagService& diag) {
  const std::unique_ptr<DiagDisplayDevices> devices = diag.OpenDisplayDevices();
  if (!devices) return std::nullopt;
  std::vector<DiagDeviceFacts> facts;
  const std::uint32_t count = devices->ChildCount();
  for (std::uint32_t index = 0; index < count; ++index) {
    const std::optional<std::u16string> name = devices->ChildName(index);
    if (!name) continue;
    const std::unique_ptr<DiagDevice> device = devices->OpenChild(*name);
    if (!device) continue;
    facts.push_back(
        {device->Property(kIdentifier), device->Property(kMemory), device->Property(kChip)});
  }
  return facts;
}

std::optional<BoardReading> BoardOf(const std::vector<DiagDeviceFacts>& devices,
                                    const Guid& adapter, ThreadCodePage& code_page) {
  for (const DiagDeviceFacts& device : devices) {
    if (Names(device.identifier, adapter)) return ReadingOf(device.memory, device.chip, code_page);
  }
  return std::nullopt;
}

std::optional<double> ReadVideoMemory(const BoardSources& sources) {
  const std::optional<BoardReading> reading = ReadVideoBoard(sources);
  if (!reading) return std::nullopt;
  return reading->video_memory.value_or(-1.0);
}

std::optional<double> ReadDirectDrawMemory(DirectDrawProbe& directdraw) {
  const std::optional<std::uint32_t> bytes = directdraw.TotalVideoMemory();
  if (!bytes) return std::nullopt;
  return static_cast<double>(*bytes) / 1024000.0;
}

}  // namespace kx::hostkit
