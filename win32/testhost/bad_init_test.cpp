// Init and the dispatch entry points with bad input: errors, never a crash.
#include "QxIndDepComponent.h"
#include "win32/com/com_object.h"
#include "win32/testhost/check.h"
#include "win32/testhost/event_source.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

// An object without automation: only IUnknown.
class PlainObject final : public win32::SingleInterfaceObject<IUnknown, &IID_IUnknown> {
 private:
  ~PlainObject() override = default;
};

void initWithBadArguments(IDispatch* res) {
  ComPtr<IUnknown> plain = ComPtr<IUnknown>::adopt(new PlainObject());
  VARIANT unknown;
  V_VT(&unknown) = VT_UNKNOWN;
  V_UNKNOWN(&unknown) = plain.get();
  checkEqual(initByName(res, unknown).number(), 13,
             "Init with a non-dispatch object: type mismatch");

  Bstr text("MasterDataEvents");
  checkEqual(initByName(res, argBstr(text)).number(), 13, "Init with a text: type mismatch");
  checkEqual(initByName(res, argLong(1)).number(), 13, "Init with a number: type mismatch");
  checkEqual(initByName(res, argDouble(2.5)).number(), 13, "Init with a double: type mismatch");

  SAFEARRAYBOUND bound{2, 0};
  SAFEARRAY* array = SafeArrayCreate(VT_I4, 1, &bound);
  VariantOwner arrayArg;
  V_VT(arrayArg.get()) = VT_ARRAY | VT_I4;
  V_ARRAY(arrayArg.get()) = array;
  checkEqual(initByName(res, *arrayArg.get()).number(), 13, "Init with an array: type mismatch");

  VARIANT nullRef;
  V_VT(&nullRef) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&nullRef) = nullptr;
  checkEqual(initByName(res, nullRef).number(), 13, "Init with a null reference: type mismatch");

  VARIANT record;
  V_VT(&record) = VT_RECORD;
  V_RECORD(&record) = nullptr;
  V_RECORDINFO(&record) = nullptr;
  check(FAILED(initByName(res, record).hr), "Init with a record: an error");

  checkEqual(callMethod(res, L"Init", {}).number(), 450, "Init without an argument: 450");
  checkEqual(callMethod(res, L"Init", {nothing(), nothing()}).number(), 450,
             "Init with two arguments: 450");

  ComPtr<_EIResource> typed = ComPtr<IDispatch>(res).as<_EIResource>(IID__EIResource);
  // A caller that passes a non-dispatch pointer where the vtable wants an IDispatch.
  HRESULT hr = typed->Init(reinterpret_cast<IDispatch*>(plain.get()));
  checkStatus(hr, static_cast<long>(0x800A000D), "vtable Init with a non-dispatch object: 13");
  checkEqual(static_cast<long long>(liveEventSources()), 0, "no source is left behind");
}

// `initNothingStatus`: what Init with Nothing answers (the schedule plug-in's form set-up
// needs an event source).
void dispatchWithBadCalls(IDispatch* res, HRESULT initNothingStatus) {
  VARIANT arg = nothing();
  DISPID named = 0;
  DISPPARAMS withNamed{&arg, &named, 1, 1};
  EXCEPINFO info{};
  UINT argErr = 0;
  VariantOwner result;
  checkStatus(
      res->Invoke(kInitId, IID_NULL, 0, DISPATCH_METHOD, &withNamed, result.get(), &info, &argErr),
      DISP_E_NONAMEDARGS, "Invoke with a named argument");
  DISPPARAMS plain{&arg, nullptr, 1, 0};
  checkStatus(
      res->Invoke(kInitId, IID_IDispatch, 0, DISPATCH_METHOD, &plain, nullptr, nullptr, nullptr),
      DISP_E_UNKNOWNINTERFACE, "Invoke with an interface id");
  checkStatus(
      res->Invoke(kInitId, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
      E_INVALIDARG, "Invoke without parameters");
  DISPPARAMS broken{nullptr, nullptr, 2, 0};
  checkStatus(
      res->Invoke(kInitId, IID_NULL, 0, DISPATCH_METHOD, &broken, nullptr, nullptr, nullptr),
      E_INVALIDARG, "Invoke with arguments but no argument array");
  checkEqual(invoke(res, 12345, DISPATCH_METHOD, {}).number(), 438, "Invoke of an unknown id: 438");
  checkEqual(invoke(res, kInitId, DISPATCH_PROPERTYPUT, {nothing()}).number(), 438,
             "assigning to Init: 438");
  checkStatus(res->Invoke(kInitId, IID_NULL, 0, DISPATCH_METHOD, &plain, nullptr, nullptr, nullptr),
              initNothingStatus, "Init with Nothing without result, EXCEPINFO or error slots");
  Bstr text("x");
  VARIANT textArg = argBstr(text);
  DISPPARAMS bad{&textArg, nullptr, 1, 0};
  // Without an EXCEPINFO the status itself carries the error.
  checkStatus(res->Invoke(kInitId, IID_NULL, 0, DISPATCH_METHOD, &bad, nullptr, nullptr, nullptr),
              static_cast<long>(0x800A000D), "a failure without EXCEPINFO returns its status");

  LPOLESTR unknownName[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
  DISPID id = 0;
  checkStatus(res->GetIDsOfNames(IID_NULL, unknownName, 1, 0, &id), DISP_E_UNKNOWNNAME,
              "GetIDsOfNames of an unknown name");
  checkEqual(id, DISPID_UNKNOWN, "its id is DISPID_UNKNOWN");
  LPOLESTR withArgName[] = {const_cast<LPOLESTR>(L"Init"), const_cast<LPOLESTR>(L"oEvent")};
  DISPID ids[2] = {0, 0};
  checkStatus(res->GetIDsOfNames(IID_NULL, withArgName, 2, 0, ids), DISP_E_UNKNOWNNAME,
              "GetIDsOfNames with a named argument");
  checkEqual(ids[0], kInitId, "the member's id is still given");
  checkStatus(res->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids), E_POINTER,
              "GetIDsOfNames without names");
  ComPtr<ITypeInfo> info2;
  checkStatus(res->GetTypeInfo(1, 0, info2.put()), DISP_E_BADINDEX, "GetTypeInfo(1)");
  checkStatus(res->QueryInterface(IID_IUnknown, nullptr), E_POINTER,
              "QueryInterface without a slot");
}

}  // namespace

void runBadInitTests() {
  section("bad input to Init and the dispatch interface");
  for (const wchar_t* progId : {kResourceProgId, kSchedulerProgId}) {
    ComPtr<IDispatch> plugin = createByProgId(progId);
    if (!check(static_cast<bool>(plugin), "created for bad input")) continue;
    bool resource = progId == kResourceProgId;
    if (resource) initWithBadArguments(plugin.get());
    dispatchWithBadCalls(plugin.get(), resource ? S_OK : static_cast<HRESULT>(0x800A005B));
  }
}

}  // namespace qx::testhost
