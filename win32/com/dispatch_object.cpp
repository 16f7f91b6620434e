#include "win32/com/dispatch_object.h"

#include <algorithm>

#include "automation/arg.h"
#include "automation/text.h"
#include "win32/com/bstr.h"
#include "win32/com/com_error.h"
#include "win32/com/com_variant.h"
#include "win32/com/event_sink.h"
#include "win32/com/host_interfaces.h"

namespace qx::win32 {

using automation::Args;
using automation::CallKind;
using automation::DispId;
using automation::Error;
using automation::Variant;

namespace {

WORD flagsOf(CallKind kind) noexcept {
  switch (kind) {
    case CallKind::Method:
    case CallKind::Get:
      return DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    case CallKind::Put:
      return DISPATCH_PROPERTYPUT;
    case CallKind::PutRef:
      return DISPATCH_PROPERTYPUTREF;
  }
  return DISPATCH_METHOD;
}

// Points `ref` at the value in `slot`, typed like the value (a String goes as VT_BYREF|VT_BSTR,
// as a typed variable of the caller would); Empty and Null go as a reference to a VARIANT.
void makeByRef(VARIANT* slot, VARIANT* ref) noexcept {
  VARTYPE vt = V_VT(slot);
  if (vt == VT_EMPTY || vt == VT_NULL) {
    V_VT(ref) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(ref) = slot;
    return;
  }
  V_VT(ref) = VT_BYREF | vt;
  V_BYREF(ref) = &V_I8(slot);  // the address of the value union, whatever its type
}

}  // namespace

DispatchObject::~DispatchObject() {
  // A subscription nobody ended: end it, so the source keeps no sink of ours.
  for (Connection& c : connections_) c.point->Unadvise(c.cookie);
}

ComPtr<ITypeInfo> DispatchObject::typeInfo() const noexcept {
  ComPtr<ITypeInfo> info;
  UINT count = 0;
  if (SUCCEEDED(d_->GetTypeInfoCount(&count)) && count > 0) {
    if (FAILED(d_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) info.reset();
  }
  return info;
}

DispId DispatchObject::idOf(std::string_view name) const {
  std::string key = automation::asciiLower(name);
  if (auto it = ids_.find(key); it != ids_.end()) return it->second;
  Bstr wide(name);
  LPOLESTR names[] = {wide.get()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = d_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw Error::memberNotFound(name, typeName());
  ids_.emplace(std::move(key), id);
  return id;
}

std::string DispatchObject::nameOf(DispId id) const {
  for (const auto& [name, known] : ids_) {
    if (known == id) return name;
  }
  if (ComPtr<ITypeInfo> info = typeInfo()) {
    Bstr name;
    UINT n = 0;
    if (SUCCEEDED(info->GetNames(id, name.put(), 1, &n)) && n == 1) return name.utf8();
  }
  return {};
}

std::string DispatchObject::typeName() const {
  if (ComPtr<ITypeInfo> info = typeInfo()) {
    Bstr name;
    if (SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) {
      return name.utf8();
    }
  }
  return "Object";
}

bool DispatchObject::supports(std::string_view interfaceName) const {
  if (const HostInterface* h = findHostInterface(interfaceName)) {
    ComPtr<IUnknown> itf;
    return SUCCEEDED(d_->QueryInterface(*h->interfaceId, itf.putVoid())) && itf;
  }
  std::string name = typeName();
  return automation::equalsIgnoreCase(name, interfaceName) ||
         automation::equalsIgnoreCase(name, "_" + std::string(interfaceName));
}

uint32_t DispatchObject::advise(std::string_view interfaceName, const automation::ObjectRef& sink) {
  const HostInterface* h = findHostInterface(interfaceName);
  if (!h) return Object::advise(interfaceName, sink);
  if (!sink) throw Error::objectRequired("event sink");
  ComPtr<IConnectionPointContainer> container =
      d_.as<IConnectionPointContainer>(IID_IConnectionPointContainer);
  if (!container) {
    throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
  }
  ComPtr<IConnectionPoint> point;
  HRESULT hr = container->FindConnectionPoint(*h->eventsId, point.put());
  if (FAILED(hr) || !point) {
    throw errorFromStatus(FAILED(hr) ? hr : E_NOINTERFACE,
                          "FindConnectionPoint " + std::string(interfaceName), typeName());
  }
  ComPtr<IDispatch> sinkDispatch = EventSink::create(sink, *h->eventsId, h->name);
  DWORD cookie = 0;
  hr = point->Advise(sinkDispatch.get(), &cookie);
  if (FAILED(hr)) throw errorFromStatus(hr, "Advise " + std::string(interfaceName), typeName());
  connections_.push_back({cookie, std::move(point)});
  return cookie;
}

void DispatchObject::unadvise(uint32_t cookie) {
  auto it = std::find_if(connections_.begin(), connections_.end(),
                         [&](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) throw Error::invalidProcedureCall("unknown event cookie");
  ComPtr<IConnectionPoint> point = std::move(it->point);
  connections_.erase(it);
  HRESULT hr = point->Unadvise(cookie);
  if (FAILED(hr)) throw errorFromStatus(hr, "Unadvise", typeName());
}

Variant DispatchObject::dispatch(DispId id, CallKind kind, Args args) {
  const size_t n = args.size();
  bool put = kind == CallKind::Put || kind == CallKind::PutRef;
  if (put && n == 0) throw Error::wrongArgumentCount(nameOf(id), typeName());

  // slots[i] holds argument i; argv holds them in reverse order, by-reference ones as pointers.
  std::vector<VariantOwner> slots(n);
  std::vector<VARIANT> argv(n);
  std::vector<VARTYPE> typeBefore(n);
  std::vector<IUnknown*> objectBefore(n, nullptr);
  for (size_t i = 0; i < n; ++i) {
    VARIANT* slot = slots[i].get();
    toVariant(args[i].get(), slot);
    VARIANT& a = argv[n - 1 - i];
    VariantInit(&a);
    if (args[i].isByRef()) {
      makeByRef(slot, &a);
      typeBefore[i] = V_VT(slot);
      if (V_VT(slot) == VT_DISPATCH) objectBefore[i] = V_DISPATCH(slot);
    } else {
      a = *slot;  // a view: the slot keeps ownership
    }
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{argv.data(), put ? &putId : nullptr, static_cast<UINT>(n), put ? 1u : 0u};
  VariantOwner result;
  EXCEPINFO info{};
  UINT argErr = 0;
  HRESULT hr = d_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flagsOf(kind), &params,
                          put ? nullptr : result.get(), &info, &argErr);

  // By-reference arguments the callee wrote reach the caller, on failure too.
  for (size_t i = 0; i < n; ++i) {
    if (!args[i].isByRef()) continue;
    VARIANT* slot = slots[i].get();
    if (V_VT(slot) == typeBefore[i] && V_VT(slot) == VT_DISPATCH &&
        V_DISPATCH(slot) == objectBefore[i]) {
      continue;  // the same object: keep the caller's reference as it is
    }
    Variant now = fromVariant(*slot);
    if (!(now == args[i].get())) args[i].set(std::move(now));
  }

  if (hr != DISP_E_EXCEPTION) {
    // Only an exception report carries texts; drop any a callee left anyway.
    Bstr::adopt(info.bstrDescription).reset();
    Bstr::adopt(info.bstrSource).reset();
    Bstr::adopt(info.bstrHelpFile).reset();
  }
  if (FAILED(hr)) {
    std::string member = nameOf(id);
    if (member.empty()) member = "#" + std::to_string(id);
    if (hr == DISP_E_EXCEPTION) {
      Error e = errorFromExcepInfo(info, member);
      if (e.source().empty()) throw Error(e.number(), e.description(), typeName());
      throw e;
    }
    if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) && argErr < n) {
      member += ", argument " + std::to_string(n - argErr);
    }
    throw errorFromStatus(hr, member, typeName());
  }
  return fromVariant(*result.get());
}

}  // namespace qx::win32
