#include "hostkit/parts/parts_values_win32.h"

#include <climits>
#include <new>

namespace kx::hostkit {

namespace {

ValueKind KindOf(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
      return ValueKind::kEmpty;
    case VT_ERROR:
      return ValueKind::kError;
    case VT_BOOL:
      return ValueKind::kBool;
    case VT_DATE:
      return ValueKind::kDate;
    default:
      return ValueKind::kOther;  // the rules tell no other type apart
  }
}

// A VARIANT that clears itself.
struct OwnedVariant {
  VARIANT v;
  OwnedVariant() noexcept { VariantInit(&v); }
  ~OwnedVariant() { VariantClear(&v); }
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
};

}  // namespace

bool DeliverValue(VARIANT* slot, const TaggedValue& value) noexcept {
  TaggedValue stored{KindOf(slot->vt), 0, 0.0, {}};
  StoreValue(stored, value);

  VARIANT made;
  VariantInit(&made);
  switch (stored.kind) {
    case ValueKind::kInt32:
      made.vt = VT_I4;
      made.lVal = stored.number;
      break;
    case ValueKind::kError:
      made.vt = VT_ERROR;
      made.scode = stored.number;
      break;
    case ValueKind::kBool:
      made.vt = VT_BOOL;
      made.boolVal = stored.number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case ValueKind::kDouble:
      made.vt = VT_R8;
      made.dblVal = stored.real;
      break;
    case ValueKind::kDate:
      made.vt = VT_DATE;
      made.date = stored.real;
      break;
    case ValueKind::kText: {
      if (stored.text.size() > UINT_MAX / 2) return false;
      BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(stored.text.data()),
                                    static_cast<UINT>(stored.text.size()));
      if (text == nullptr) return false;
      made.vt = VT_BSTR;
      made.bstrVal = text;
      break;
    }
    default:
      return false;
  }
  VariantClear(slot);
  *slot = made;
  return true;
}

VariantForms::VariantForms(const VARIANT& value) noexcept {
  VariantInit(&copy_);
  copied_ = SUCCEEDED(VariantCopy(&copy_, const_cast<VARIANT*>(&value)));
}

VariantForms::~VariantForms() { VariantClear(&copy_); }

std::optional<std::int32_t> VariantForms::AsInt32() {
  OwnedVariant to;
  if (!copied_ || FAILED(VariantChangeType(&to.v, &copy_, 0, VT_I4))) return std::nullopt;
  return static_cast<std::int32_t>(to.v.lVal);
}

std::optional<double> VariantForms::AsDouble() {
  OwnedVariant to;
  if (!copied_ || FAILED(VariantChangeType(&to.v, &copy_, 0, VT_R8))) return std::nullopt;
  return to.v.dblVal;
}

std::optional<std::u16string> VariantForms::AsText() {
  OwnedVariant to;
  if (!copied_ || FAILED(VariantChangeType(&to.v, &copy_, 0, VT_BSTR))) return std::nullopt;
  if (to.v.bstrVal == nullptr) return std::u16string();
  try {
    return std::u16string(reinterpret_cast<const char16_t*>(to.v.bstrVal),
                          SysStringLen(to.v.bstrVal));
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // as a text that cannot be made
  }
}

}  // namespace kx::hostkit
