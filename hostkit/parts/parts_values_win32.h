// OLE Automation values at the boundary of the parts attribute exports:
// the caller's VARIANT as the tagged value of the logic and back, and a
// value on its way in with OLE Automation's own conversions.
#pragma once

#include <windows.h>
// windows.h first
#include <oleauto.h>

#include "hostkit/parts/attribute_value.h"

namespace kx::hostkit {

// Stores `value` into the caller's VARIANT by the storing rules: what it
// held is released once the new value is made. false, with the VARIANT as
// it was, when the new value cannot be made.
[[nodiscard]] bool DeliverValue(VARIANT* slot, const TaggedValue& value) noexcept;

// A copy of the caller's value, converted on request with VariantChangeType
// (no conversion when the copy cannot be made).
class VariantForms final : public ValueForms {
 public:
  explicit VariantForms(const VARIANT& value) noexcept;
  ~VariantForms() override;
  VariantForms(const VariantForms&) = delete;
  VariantForms& operator=(const VariantForms&) = delete;

  std::optional<std::int32_t> AsInt32() override;
  std::optional<double> AsDouble() override;
  std::optional<std::u16string> AsText() override;

 private:
  bool copied_ = false;
  VARIANT copy_;
};

}  // namespace kx::hostkit
