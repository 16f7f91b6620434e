// Creation of both classes by programmatic identifier, in any letter case, and what the
// created objects say about themselves.
#include "QxIndDepComponent.h"
#include "win32/testhost/check.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

struct ProgIdCase {
  const wchar_t* progId;
  const CLSID* expected;
  const char* what;
};

const ProgIdCase kProgIds[] = {
    {L"QxIndDepComponent.EIResource", &CLSID_EIResource, "EIResource"},
    {L"qxinddepcomponent.eiresource", &CLSID_EIResource, "EIResource in lower case"},
    {L"QXINDDEPCOMPONENT.EIRESOURCE", &CLSID_EIResource, "EIResource in upper case"},
    {L"QxIndDepComponent.EIResource.1", &CLSID_EIResource, "EIResource, versioned"},
    {L"QxIndDepComponent.EIRepScheduler", &CLSID_EIRepScheduler, "EIRepScheduler"},
    {L"qxINDdepCOMPONENT.eirepSCHEDULER", &CLSID_EIRepScheduler, "EIRepScheduler in mixed case"},
    {L"QxIndDepComponent.EIRepScheduler.1", &CLSID_EIRepScheduler, "EIRepScheduler, versioned"},
};

WORD typeFlags(ITypeInfo* info) {
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr)) || !attr) return 0;
  WORD flags = attr->wTypeFlags;
  info->ReleaseTypeAttr(attr);
  return flags;
}

void checkTypeInfo(IDispatch* d, const char* interfaceName) {
  UINT count = 0;
  check(SUCCEEDED(d->GetTypeInfoCount(&count)) && count == 1,
        std::string(interfaceName) + " has one type description");
  ComPtr<ITypeInfo> info;
  if (!check(SUCCEEDED(d->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info,
             std::string(interfaceName) + " type description loads")) {
    return;
  }
  Bstr name;
  info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
  checkEqual(name.utf8(), interfaceName, "type description name");
  // A dual interface is described twice: as a dispatch interface and, behind it, as the vtable
  // interface that carries the automation-compatible flag.
  WORD flags = typeFlags(info.get());
  WORD want = TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  check((flags & want) == want, std::string(interfaceName) +
                                    " is dual, hidden, non-extensible (flags " +
                                    std::to_string(flags) + ")");
  HREFTYPE vtableRef = 0;
  ComPtr<ITypeInfo> vtable;
  if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &vtableRef)) &&
      SUCCEEDED(info->GetRefTypeInfo(vtableRef, vtable.put()))) {
    check((typeFlags(vtable.get()) & TYPEFLAG_FOLEAUTOMATION) != 0,
          std::string(interfaceName) + " is automation-compatible");
  } else {
    check(false, std::string(interfaceName) + " has a vtable interface");
  }
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Init")};
  MEMBERID id = MEMBERID_NIL;
  check(SUCCEEDED(info->GetIDsOfNames(names, 1, &id)) && id == kInitId,
        std::string(interfaceName) + ".Init has dispatch id 0x60030000 in the type library");
}

}  // namespace

void runCreationTests() {
  section("creation by programmatic identifier");
  for (const ProgIdCase& c : kProgIds) {
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(c.progId, &clsid);
    check(SUCCEEDED(hr) && IsEqualCLSID(clsid, *c.expected),
          std::string("CLSIDFromProgID: ") + c.what);
    HRESULT created = E_FAIL;
    ComPtr<IDispatch> d = createByProgId(c.progId, &created);
    checkStatus(created, S_OK, std::string("CoCreateInstance: ") + c.what);
  }

  ComPtr<IDispatch> res = createByProgId(L"qxinddepcomponent.eiresource");
  ComPtr<IDispatch> sched = createByProgId(L"QXINDDEPCOMPONENT.EIREPSCHEDULER");
  if (!check(res && sched, "both classes created")) return;
  check(static_cast<bool>(res.as<IUnknown>(IID__EIResource)), "EIResource answers _EIResource");
  check(!res.as<IUnknown>(IID__EIRepScheduler), "EIResource does not answer _EIRepScheduler");
  check(static_cast<bool>(sched.as<IUnknown>(IID__EIRepScheduler)),
        "EIRepScheduler answers _EIRepScheduler");
  check(static_cast<bool>(res.as<ISupportErrorInfo>(IID_ISupportErrorInfo)),
        "EIResource reports errors of its interface");
  checkTypeInfo(res.get(), "_EIResource");
  checkTypeInfo(sched.get(), "_EIRepScheduler");
  check(dispIdOf(res.get(), L"init") == kInitId, "Init found by name in lower case");
  check(dispIdOf(sched.get(), L"INIT") == kInitId, "Init found by name in upper case");
}

}  // namespace qx::testhost
