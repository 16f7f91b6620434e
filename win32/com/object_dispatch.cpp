#include "win32/com/object_dispatch.h"

#include <vector>

#include "automation/arg.h"
#include "host/event_interfaces.h"
#include "win32/com/bstr.h"
#include "win32/com/com_error.h"
#include "win32/com/com_variant.h"
#include "win32/com/host_interfaces.h"
#include "win32/com/host_operations.h"
#include "win32/com/object_connections.h"

namespace qx::win32 {

using automation::Arg;
using automation::Args;
using automation::CallKind;
using automation::Error;
using automation::Variant;

namespace {

// The arguments of one Invoke in call order; by-reference ones keep their VARIANT target.
struct InvokeArgs {
  std::vector<Variant> values;
  std::vector<Variant> before;
  std::vector<Arg> args;
  std::vector<VARIANT*> targets;
  std::vector<UINT> positions;  // index in rgvarg, for the argument-error index
};

// rgvarg holds named arguments first, then positional ones in reverse order; the value of a
// property put (the named DISPID_PROPERTYPUT) comes last in call order.
void readArgs(const DISPPARAMS& p, bool put, InvokeArgs& out, UINT* argErr) {
  UINT positional = p.cArgs - p.cNamedArgs;
  UINT total = positional + (put ? 1 : 0);
  out.values.reserve(total);  // by-reference Args point into values: no reallocation
  out.before.reserve(total);
  out.args.reserve(total);
  out.targets.reserve(total);
  out.positions.reserve(total);
  auto add = [&](UINT index) {
    VARIANT& src = p.rgvarg[index];
    try {
      out.values.push_back(fromVariant(src));
    } catch (const Error& e) {
      if (argErr) *argErr = index;
      throw Error(e.number(), e.description() + " (argument " + std::to_string(total - index) + ")",
                  e.source());
    }
    bool byRef = (V_VT(&src) & VT_BYREF) != 0;
    out.before.push_back(out.values.back());
    out.args.push_back(byRef ? Arg::byRef(out.values.back()) : Arg(out.values.back()));
    out.targets.push_back(byRef ? &src : nullptr);
    out.positions.push_back(index);
  };
  for (UINT i = 0; i < positional; ++i) add(p.cArgs - 1 - i);
  if (put) add(0);
}

// Writes back what the callee changed in by-reference arguments.
void writeBack(InvokeArgs& a, UINT* argErr) {
  for (size_t i = 0; i < a.args.size(); ++i) {
    if (!a.targets[i] || a.values[i] == a.before[i]) continue;
    try {
      storeByRef(*a.targets[i], a.values[i]);
    } catch (...) {
      if (argErr) *argErr = a.positions[i];
      throw;
    }
  }
}

HRESULT invokeChecked(automation::Object& object, DISPID id, WORD flags, const DISPPARAMS& p,
                      VARIANT* result, UINT* argErr, std::string_view eventInterface) {
  bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  CallKind kind;
  if (put) {
    if (p.cArgs == 0) return DISP_E_PARAMNOTOPTIONAL;
    if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTOPTIONAL;
    }
  } else if (p.cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  } else if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) {
    return E_INVALIDARG;
  }
  InvokeArgs a;
  readArgs(p, put, a, argErr);
  if (put) {
    bool objectValue = a.values.back().isObject();
    kind = (flags & DISPATCH_PROPERTYPUTREF) && (objectValue || !(flags & DISPATCH_PROPERTYPUT))
               ? CallKind::PutRef
               : CallKind::Put;
  } else {
    kind = (flags & DISPATCH_METHOD) ? CallKind::Method : CallKind::Get;
  }
  if (!eventInterface.empty()) {
    if (const host::EventDecl* decl = host::findEvent(eventInterface, id)) {
      host::checkEventArgs(*decl, Args(a.args));
    }
  }
  Variant r;
  try {
    r = object.invoke(id, kind, Args(a.args));
  } catch (...) {
    // Arguments the callee wrote before it failed keep the written values.
    writeBack(a, argErr);
    throw;
  }
  writeBack(a, argErr);
  if (result) {
    VariantInit(result);
    toVariant(r, result);
  }
  return S_OK;
}

}  // namespace

HRESULT getIdsOfNames(automation::Object& object, REFIID riid, LPOLESTR* names, UINT count,
                      DISPID* ids) noexcept {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  if (count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  try {
    if (!names[0]) return DISP_E_UNKNOWNNAME;
    ids[0] = object.idOf(toUtf8(names[0]));
  } catch (...) {
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  // Named arguments are not supported.
  return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT invokeObject(automation::Object& object, DISPID id, REFIID riid, WORD flags,
                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* info, UINT* argErr,
                     std::string_view eventInterface) noexcept {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  if ((params->cArgs && !params->rgvarg) || params->cNamedArgs > params->cArgs ||
      (params->cNamedArgs && !params->rgdispidNamedArgs)) {
    return E_INVALIDARG;
  }
  automation::ObjectRef keep(&object);  // a call that drops the last reference must finish
  try {
    return invokeChecked(object, id, flags, *params, result, argErr, eventInterface);
  } catch (...) {
    std::exception_ptr failure = std::current_exception();
    std::string source;
    try {
      source = object.typeName();  // the caller learns which object failed
    } catch (...) {
    }
    return reportDispatchError(automation::toError(failure), info, source);
  }
}

ComPtr<IDispatch> ObjectDispatch::create(automation::ObjectRef object) {
  if (!object) return {};
  return ComPtr<IDispatch>::adopt(new ObjectDispatch(std::move(object)));
}

HRESULT ObjectDispatch::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || answers(iid)) {
    *out = static_cast<IDispatch*>(this);
  } else if (IsEqualIID(iid, IID_IQxObject)) {
    *out = static_cast<IQxObject*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer) && raisesEvents(*object_)) {
    try {
      *out = makeObjectConnections(this, object_).detach();
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  } else if (isHostInterfaceOfTarget(iid)) {
    *out = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

bool ObjectDispatch::isHostInterfaceOfTarget(REFIID iid) const noexcept {
  for (const HostInterface& h : hostInterfaces()) {
    if (!IsEqualIID(iid, *h.interfaceId)) continue;
    try {
      return object_->supports(h.name);
    } catch (...) {
      return false;
    }
  }
  return false;
}

HRESULT ObjectDispatch::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT ObjectDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT ObjectDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                      DISPID* ids) noexcept {
  return getIdsOfNames(*object_, riid, names, count, ids);
}

HRESULT ObjectDispatch::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* info, UINT* argErr) noexcept {
  if (params && (params->rgvarg || params->cArgs == 0)) {
    HRESULT declared = checkHostOperation(*object_, id, *params, argErr);
    if (FAILED(declared)) return declared;
  }
  return invokeObject(*object_, id, riid, flags, params, result, info, argErr, eventInterface());
}

}  // namespace qx::win32
