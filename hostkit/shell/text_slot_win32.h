// Text handed back to the host application. Every export that returns text
// does it through a string slot the caller owns: what the slot held is freed
// and replaced by a system string that carries the ANSI bytes as they are
// (a byte string, not UTF-16 text).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace hostkit {

// Fills *slot with `bytes`. false, with the slot as it was, when slot is
// null or the string cannot be made.
[[nodiscard]] bool SetTextSlot(BSTR* slot, std::string_view bytes) noexcept;

// The bytes of a byte string as SetTextSlot makes it; empty for null.
std::string TextSlotBytes(BSTR text);

}  // namespace hostkit
