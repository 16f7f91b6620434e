#include <ole2.h>
#include <windows.h>

#include "win32/com/com_module.h"
#include "win32/com/com_ptr.h"
#include "win32/com/object_dispatch.h"
#include "win32/testhost/substitutes.h"

namespace qx::testhost {

namespace {

using win32::ComPtr;

using Make = automation::ObjectRef (*)();

template <class T>
automation::ObjectRef make() {
  return automation::ObjectRef(automation::makeObject<T>());
}

struct Substitute {
  const wchar_t* progId;
  const wchar_t* classId;
  Make make;
};

const Substitute kSubstitutes[] = {
    {L"QxConnection.AppConnection", L"{6B747A64-1388-4E15-8810-4BC7A202BF27}",
     &make<ConnectionSubstitute>},
    {L"QxResLoader.Loader", L"{07172363-26F5-4AE7-A962-50A04F520A55}", &make<ResLoaderSubstitute>},
    {L"ShareVault.ShareProps", L"{8C8D88F5-DAA1-4CC8-A55B-A2B9C6CEB6E3}",
     &make<SharePropsSubstitute>},
};

// Makes one substitute per CreateInstance, handed out through our IDispatch adapter.
class SubstituteFactory final : public IClassFactory {
 public:
  explicit SubstituteFactory(Make make) noexcept : make_(make) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.addRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG left = refs_.release();
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      ComPtr<IDispatch> d = win32::ObjectDispatch::create(make_());
      return d->QueryInterface(iid, out);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

 private:
  ~SubstituteFactory() = default;
  win32::RefCount refs_;
  Make make_;
};

bool writeProgId(const Substitute& s) {
  std::wstring key = std::wstring(s.progId) + L"\\CLSID";
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  DWORD bytes = static_cast<DWORD>((wcslen(s.classId) + 1) * sizeof(wchar_t));
  LSTATUS r =
      RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(s.classId), bytes);
  RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

}  // namespace

SubstituteRegistration::SubstituteRegistration() {
  for (const Substitute& s : kSubstitutes) {
    CLSID clsid{};
    ok_ = ok_ && SUCCEEDED(CLSIDFromString(s.classId, &clsid)) && writeProgId(s);
    ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::adopt(new SubstituteFactory(s.make));
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &cookie))) {
      cookies_.push_back(cookie);
    } else {
      ok_ = false;
    }
  }
}

SubstituteRegistration::~SubstituteRegistration() {
  for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
  for (const Substitute& s : kSubstitutes) RegDeleteTreeW(HKEY_CLASSES_ROOT, s.progId);
}

}  // namespace qx::testhost
