#include "win32/com/com_variant.h"

#include <cstdint>
#include <string>
#include <utility>

#include "automation/error.h"
#include "win32/com/bstr.h"
#include "win32/com/com_ptr.h"
#include "win32/com/object_bridge.h"

namespace qx::win32 {

using automation::Date;
using automation::Error;
using automation::ObjectRef;
using automation::Variant;
using automation::VarType;

namespace {

template <class T>
Variant wholeNumber(T n) {
  if (std::in_range<int32_t>(n)) return Variant(static_cast<int32_t>(n));
  return Variant(static_cast<double>(n));
}

Variant viaDouble(const VARIANT& v) {
  VariantOwner d;
  HRESULT hr = VariantChangeTypeEx(d.get(), const_cast<VARIANT*>(&v), LOCALE_INVARIANT, 0, VT_R8);
  if (FAILED(hr)) throw Error::typeMismatch("VARIANT type " + std::to_string(V_VT(&v)));
  return Variant(V_R8(d.get()));
}

Error unsupported(VARTYPE vt) {
  return Error(
      458, "Variable uses an Automation type not supported: VARIANT type " + std::to_string(vt));
}

Variant fromObject(IUnknown* unknown) {
  if (!unknown) return Variant::nothing();
  ComPtr<IDispatch> d;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, d.putVoid())) || !d) {
    throw Error::typeMismatch("the object does not support automation (no IDispatch)");
  }
  return Variant(objectFromDispatch(d.get()));
}

}  // namespace

Variant fromVariant(const VARIANT& v) {
  VARTYPE vt = V_VT(&v);
  if (vt & VT_ARRAY) throw Error::typeMismatch("arrays are not supported");
  if (vt & VT_BYREF) {
    if (!V_BYREF(&v)) throw Error::typeMismatch("null by-reference argument");
    if (vt == (VT_BYREF | VT_VARIANT)) {
      const VARIANT& inner = *V_VARIANTREF(&v);
      if (V_VT(&inner) == (VT_BYREF | VT_VARIANT)) throw unsupported(V_VT(&inner));
      return fromVariant(inner);
    }
    VariantOwner copy;
    if (FAILED(VariantCopyInd(copy.get(), const_cast<VARIANT*>(&v)))) throw unsupported(vt);
    return fromVariant(*copy.get());
  }
  switch (vt) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::null();
    case VT_BOOL:
      return Variant(V_BOOL(&v) != VARIANT_FALSE);
    case VT_I2:
      return Variant(static_cast<int16_t>(V_I2(&v)));
    case VT_I4:
      return Variant(static_cast<int32_t>(V_I4(&v)));
    case VT_R8:
      return Variant(V_R8(&v));
    case VT_DATE:
      return Variant(Date{V_DATE(&v)});
    case VT_BSTR:
      return Variant(bstrToUtf8(V_BSTR(&v)));
    case VT_UI1:
      return Variant(static_cast<int16_t>(V_UI1(&v)));
    case VT_I1:
      return Variant(static_cast<int16_t>(V_I1(&v)));
    case VT_UI2:
      return Variant(static_cast<int32_t>(V_UI2(&v)));
    case VT_INT:
      return Variant(static_cast<int32_t>(V_INT(&v)));
    case VT_UI4:
      return wholeNumber(V_UI4(&v));
    case VT_UINT:
      return wholeNumber(V_UINT(&v));
    case VT_I8:
      return wholeNumber(V_I8(&v));
    case VT_UI8:
      return wholeNumber(V_UI8(&v));
    case VT_R4:
      return Variant(static_cast<double>(V_R4(&v)));
    case VT_CY:
    case VT_DECIMAL:
      return viaDouble(v);
    case VT_ERROR:
      // A missing optional argument arrives as this error value.
      if (V_ERROR(&v) == DISP_E_PARAMNOTFOUND) return Variant();
      throw Error::typeMismatch("error values are not supported");
    case VT_DISPATCH:
      return fromObject(V_DISPATCH(&v));
    case VT_UNKNOWN:
      return fromObject(V_UNKNOWN(&v));
    default:
      throw unsupported(vt);
  }
}

void toVariant(const Variant& v, VARIANT* out) {
  switch (v.type()) {
    case VarType::Empty:
      V_VT(out) = VT_EMPTY;
      return;
    case VarType::Null:
      V_VT(out) = VT_NULL;
      return;
    case VarType::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VarType::Integer:
      V_VT(out) = VT_I2;
      V_I2(out) = v.toInt16();
      return;
    case VarType::Long:
      V_VT(out) = VT_I4;
      V_I4(out) = v.toInt32();
      return;
    case VarType::Double:
      V_VT(out) = VT_R8;
      V_R8(out) = v.toDouble();
      return;
    case VarType::Date:
      V_VT(out) = VT_DATE;
      V_DATE(out) = v.toDate().serial;
      return;
    case VarType::String: {
      Bstr s(*v.stringIf());
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = s.detach();
      return;
    }
    case VarType::Object: {
      ComPtr<IDispatch> d = dispatchFromObject(v.objectOrNull());
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = d.detach();
      return;
    }
  }
}

void storeByRef(const VARIANT& target, const Variant& v) {
  VARTYPE vt = V_VT(&target);
  if (!(vt & VT_BYREF) || !V_BYREF(&target)) throw Error::internal("not a by-reference VARIANT");
  VARTYPE base = vt & ~VT_BYREF;
  if (base & VT_ARRAY) throw Error::typeMismatch("arrays are not supported");
  switch (base) {
    case VT_VARIANT: {
      VARIANT* dst = V_VARIANTREF(&target);
      if (V_VT(dst) & VT_BYREF) return storeByRef(*dst, v);
      VariantOwner value;
      toVariant(v, value.get());
      VariantClear(dst);
      *dst = value.detach();
      return;
    }
    case VT_BSTR: {
      Bstr s(v.toString());
      SysFreeString(*V_BSTRREF(&target));
      *V_BSTRREF(&target) = s.detach();
      return;
    }
    case VT_BOOL:
      *V_BOOLREF(&target) = v.toBool() ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case VT_I2:
      *V_I2REF(&target) = v.toInt16();
      return;
    case VT_I4:
      *V_I4REF(&target) = v.toInt32();
      return;
    case VT_R8:
      *V_R8REF(&target) = v.toDouble();
      return;
    case VT_DATE:
      *V_DATEREF(&target) = v.toDate().serial;
      return;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      if (!v.isNothing() && !v.isObject()) throw Error::objectRequired("by-reference object");
      ComPtr<IDispatch> d = dispatchFromObject(v.objectOrNull());
      IUnknown** slot = V_UNKNOWNREF(&target);  // the same slot for both types
      if (*slot) (*slot)->Release();
      *slot = d.detach();
      return;
    }
    default: {
      // Other numeric types: convert through the system's rules.
      VariantOwner value;
      VariantOwner converted;
      toVariant(v, value.get());
      if (FAILED(VariantChangeTypeEx(converted.get(), value.get(), LOCALE_INVARIANT, 0, base))) {
        throw Error::typeMismatch("cannot store " + automation::describe(v) + " as VARIANT type " +
                                  std::to_string(base));
      }
      VARIANT src = converted.detach();
      switch (base) {
        case VT_UI1:
          *V_UI1REF(&target) = V_UI1(&src);
          return;
        case VT_I1:
          *V_I1REF(&target) = V_I1(&src);
          return;
        case VT_UI2:
          *V_UI2REF(&target) = V_UI2(&src);
          return;
        case VT_UI4:
          *V_UI4REF(&target) = V_UI4(&src);
          return;
        case VT_INT:
          *V_INTREF(&target) = V_INT(&src);
          return;
        case VT_UINT:
          *V_UINTREF(&target) = V_UINT(&src);
          return;
        case VT_I8:
          *V_I8REF(&target) = V_I8(&src);
          return;
        case VT_UI8:
          *V_UI8REF(&target) = V_UI8(&src);
          return;
        case VT_R4:
          *V_R4REF(&target) = V_R4(&src);
          return;
        case VT_CY:
          *V_CYREF(&target) = V_CY(&src);
          return;
        case VT_DECIMAL:
          *V_DECIMALREF(&target) = V_DECIMAL(&src);
          return;
        default:
          VariantClear(&src);
          throw unsupported(vt);
      }
    }
  }
}

}  // namespace qx::win32
