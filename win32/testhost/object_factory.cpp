#include "win32/testhost/object_factory.h"

#include <windows.h>

#include <new>

#include "automation/error.h"
#include "win32/com/com_module.h"
#include "win32/com/object_dispatch.h"

namespace qx::testhost {

namespace {

class ObjectFactory final : public IClassFactory {
 public:
  explicit ObjectFactory(MakeObject make) noexcept : make_(std::move(make)) {}

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
      win32::ComPtr<IDispatch> d = win32::ObjectDispatch::create(make_());
      return d ? d->QueryInterface(iid, out) : E_UNEXPECTED;
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

 private:
  ~ObjectFactory() = default;
  win32::RefCount refs_;
  MakeObject make_;
};

}  // namespace

win32::ComPtr<IClassFactory> makeObjectFactory(MakeObject make) {
  return win32::ComPtr<IClassFactory>::adopt(new ObjectFactory(std::move(make)));
}

bool writeProgId(const std::wstring& progId, const std::wstring& classId) {
  std::wstring key = progId + L"\\CLSID";
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  DWORD bytes = static_cast<DWORD>((classId.size() + 1) * sizeof(wchar_t));
  LSTATUS r =
      RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(classId.c_str()), bytes);
  RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

}  // namespace qx::testhost
