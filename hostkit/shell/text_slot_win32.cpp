#include "hostkit/shell/text_slot_win32.h"

#include <climits>

namespace hostkit {

bool SetTextSlot(BSTR* slot, std::string_view bytes) noexcept {
  if (slot == nullptr || static_cast<unsigned long long>(bytes.size()) > UINT_MAX) {
    return false;
  }
  // The new string is made before the old one goes, so a failure leaves the
  // caller's slot holding what it held.
  BSTR made = SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
  if (made == nullptr) {
    return false;
  }
  SysFreeString(*slot);
  *slot = made;
  return true;
}

std::string TextSlotBytes(BSTR text) {
  if (text == nullptr) {
    return {};
  }
  return std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text));
}

}  // namespace hostkit
