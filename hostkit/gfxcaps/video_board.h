// The primary display adapter's chip description and video memory, as the
// DirectX diagnostic service states them (the adapter being the one that
// Direct3D 9 calls adapter 0), and the DirectDraw driver's memory figure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "hostkit/gfxcaps/direct3d_probe.h"
#include "hostkit/gfxcaps/directdraw_probe.h"
#include "hostkit/gfxcaps/dxdiag_devices.h"

namespace kx::hostkit {

// Room for the chip description in the board record, terminator included.
constexpr std::size_t kBoardChipTypeBytes = 1024;

struct BoardSources {
  Direct3DProbe& direct3d;
  DiagService& diag;
  ThreadCodePage& code_page;
};

// What the service told about the primary adapter; a field it did not state
// (or stated in a kind that means nothing here) is absent, and the caller's
// value stands.
struct BoardReading {
  std::optional<std::string> chip_type;  // ANSI, at most kBoardChipTypeBytes - 1 bytes
  std::optional<double> video_memory;    // megabytes
};

// nullopt when Direct3D 9 or the service is unavailable, or the service
// lists no device with adapter 0's device identifier.
[[nodiscard]] std::optional<BoardReading> ReadVideoBoard(const BoardSources& sources);

// What the service states of one display device, read while it was open.
struct DiagDeviceFacts {
  DiagValue identifier;  // "szDeviceIdentifier"
  DiagValue memory;      // "szDisplayMemoryLocalized"
  DiagValue chip;        // "szChipType"
};

// Every display device the service lists, in its order, with the service let
// go (and its COM apartment left) before it returns, so that it can be read
// on a thread of its own. Children that cannot be named or opened are passed
// over; nullopt when the service is unavailable.
[[nodiscard]] std::optional<std::vector<DiagDeviceFacts>> ReadDisplayDevices(DiagService& diag);

// The board reading of the first of `devices` whose identifier names
// `adapter` (as ReadVideoBoard finds it), the chip text converted with the
// calling thread's code page; nullopt when none does.
[[nodiscard]] std::optional<BoardReading> BoardOf(const std::vector<DiagDeviceFacts>& devices,
                                                  const Guid& adapter, ThreadCodePage& code_page);

// The video memory alone: nullopt when ReadVideoBoard finds no device, -1.0
// when the device states no usable memory figure.
[[nodiscard]] std::optional<double> ReadVideoMemory(const BoardSources& sources);

// DirectDraw's total video memory in megabytes of 1,024,000 bytes, the unit
// the host application has always shown; nullopt when DirectDraw fails.
[[nodiscard]] std::optional<double> ReadDirectDrawMemory(DirectDrawProbe& directdraw);

// --- Conversions, exposed for their tests ----------------------------------

// The memory figure of a "szDisplayMemoryLocalized" value: a number as it
// is, a text by its leading number; nullopt for any other kind.
[[nodiscard]] std::optional<double> MemoryFromDiagValue(const DiagValue& value);

// The real number at the start of `text`, read as the C library's wcstod
// reads a decimal number: blanks skipped, an optional sign, digits with an
// optional point and fraction, an optional exponent; reading stops at the
// first character that cannot continue the number. 0.0 without a number.
[[nodiscard]] double LeadingReal(const std::u16string& text);

// A GUID in its registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
// nullopt for anything else.
[[nodiscard]] std::optional<Guid> ParseGuid(const std::u16string& text);

}  // namespace kx::hostkit
