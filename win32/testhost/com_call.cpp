#include "win32/testhost/com_call.h"

#include <algorithm>

#include "win32/com/com_error.h"

namespace qx::testhost {

int32_t CallOutcome::number() const noexcept {
  if (SUCCEEDED(hr)) return 0;
  return win32::errorNumberOf(hr == DISP_E_EXCEPTION ? scode : hr);
}

DISPID dispIdOf(IDispatch* d, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  if (FAILED(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return DISPID_UNKNOWN;
  return id;
}

CallOutcome invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args) {
  std::reverse(args.begin(), args.end());
  DISPID putId = DISPID_PROPERTYPUT;
  bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS params{args.data(), put ? &putId : nullptr, static_cast<UINT>(args.size()),
                    put ? 1u : 0u};
  CallOutcome out;
  EXCEPINFO info{};
  out.hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, out.result.get(), &info,
                     &out.argErr);
  Bstr description = Bstr::adopt(info.bstrDescription);
  Bstr source = Bstr::adopt(info.bstrSource);
  Bstr help = Bstr::adopt(info.bstrHelpFile);
  if (out.hr == DISP_E_EXCEPTION) {
    out.scode = info.scode ? info.scode
                           : (info.wCode ? MAKE_HRESULT(1, FACILITY_CONTROL, info.wCode) : E_FAIL);
    out.description = description.utf8();
    out.source = source.utf8();
  }
  return out;
}

CallOutcome callMethod(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args) {
  DISPID id = dispIdOf(d, name);
  if (id == DISPID_UNKNOWN) {
    CallOutcome out;
    out.hr = DISP_E_UNKNOWNNAME;
    return out;
  }
  return invoke(d, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args));
}

CallOutcome getProperty(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args) {
  return callMethod(d, name, std::move(args));
}

VARIANT argDispatch(IDispatch* d) {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = d;
  return v;
}

VARIANT argLong(int32_t n) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}

VARIANT argBstr(const Bstr& s) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = s.get();
  return v;
}

VARIANT argDouble(double d) {
  VARIANT v;
  V_VT(&v) = VT_R8;
  V_R8(&v) = d;
  return v;
}

VARIANT refBstr(Bstr& s) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&v) = s.ref();
  return v;
}

VARIANT refBool(VARIANT_BOOL& b) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_BOOL;
  V_BOOLREF(&v) = &b;
  return v;
}

VARIANT refDispatch(ComPtr<IDispatch>& d) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_DISPATCH;
  V_DISPATCHREF(&v) = d.ref();
  return v;
}

VARIANT refVariant(VARIANT& target) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&v) = &target;
  return v;
}

std::string textOf(const VARIANT& v) {
  if (V_VT(&v) == VT_BSTR) return win32::bstrToUtf8(V_BSTR(&v));
  VariantOwner copy;
  if (FAILED(VariantChangeType(copy.get(), const_cast<VARIANT*>(&v), 0, VT_BSTR))) {
    return "<VARIANT type " + std::to_string(V_VT(&v)) + ">";
  }
  return win32::bstrToUtf8(V_BSTR(copy.get()));
}

ComPtr<IDispatch> dispatchOf(const VARIANT& v) {
  if (V_VT(&v) != VT_DISPATCH) return {};
  return ComPtr<IDispatch>(V_DISPATCH(&v));
}

}  // namespace qx::testhost
