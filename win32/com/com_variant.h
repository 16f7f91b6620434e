// VARIANT <-> automation Variant: UTF-16 strings become UTF-8, VARIANT_BOOL -1/0 becomes
// true/false, IDispatch becomes an automation object and back.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <utility>

#include "automation/variant.h"

namespace qx::win32 {

// The owner of one VARIANT (cleared on destruction).
class VariantOwner {
 public:
  VariantOwner() noexcept { VariantInit(&v_); }
  VariantOwner(const VariantOwner&) = delete;
  VariantOwner& operator=(const VariantOwner&) = delete;
  VariantOwner(VariantOwner&& o) noexcept : v_(o.v_) { VariantInit(&o.v_); }
  VariantOwner& operator=(VariantOwner&& o) noexcept {
    if (this != &o) {
      VariantClear(&v_);
      v_ = o.v_;
      VariantInit(&o.v_);
    }
    return *this;
  }
  ~VariantOwner() { VariantClear(&v_); }

  VARIANT* get() noexcept { return &v_; }
  const VARIANT* get() const noexcept { return &v_; }
  VARTYPE type() const noexcept { return V_VT(&v_); }
  void clear() noexcept { VariantClear(&v_); }
  // Hands the value to the caller, who must clear it.
  [[nodiscard]] VARIANT detach() noexcept {
    VARIANT r = v_;
    VariantInit(&v_);
    return r;
  }

 private:
  VARIANT v_;
};

// The value of a VARIANT, read through a by-reference VARIANT. A missing optional argument
// is Empty; arrays, records and other types fail with a type mismatch (13) or 458.
automation::Variant fromVariant(const VARIANT& v);
// Writes the value into `out`, which must hold nothing (VT_EMPTY).
void toVariant(const automation::Variant& v, VARIANT* out);
// Stores a value through a by-reference VARIANT, converted to the type it refers to by the
// automation rules; fails with a type mismatch when it does not convert.
void storeByRef(const VARIANT& target, const automation::Variant& v);

}  // namespace qx::win32
