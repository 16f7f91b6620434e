#include "win32/testhost/object_factory.h"

#include <windows.h>

#include "win32/com/class_object.h"
#include "win32/com/object_dispatch.h"

namespace qx::testhost {

namespace {

class ObjectFactory final : public win32::ClassObject {
 public:
  explicit ObjectFactory(MakeObject make) noexcept : make_(std::move(make)) {}

 private:
  ~ObjectFactory() override = default;
  win32::ComPtr<IDispatch> create() override { return win32::ObjectDispatch::create(make_()); }

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

ClassRegistrations::~ClassRegistrations() {
  for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
  for (const std::wstring& progId : progIds_) RegDeleteTreeW(HKEY_CLASSES_ROOT, progId.c_str());
}

bool ClassRegistrations::add(const std::wstring& progId, const std::wstring& classId,
                             MakeObject make) {
  CLSID clsid{};
  if (FAILED(CLSIDFromString(classId.c_str(), &clsid))) return false;
  if (!writeProgId(progId, classId)) return false;
  progIds_.push_back(progId);
  win32::ComPtr<IClassFactory> factory = makeObjectFactory(std::move(make));
  DWORD cookie = 0;
  if (FAILED(CoRegisterClassObject(clsid, factory.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                   &cookie))) {
    return false;
  }
  cookies_.push_back(cookie);
  return true;
}

}  // namespace qx::testhost
