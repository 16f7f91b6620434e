// What regsvr32 leaves in the registry: every key of both classes, the type library and its
// interfaces after registration; none of them after unregistration.
#include <optional>

#include "QxIndDepComponent.h"
#include "win32/testhost/check.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

struct ClassKeys {
  const wchar_t* name;
  const wchar_t* progId;
  const wchar_t* classId;
  const wchar_t* interfaceName;
  const wchar_t* interfaceId;
  const CLSID* clsid;
};

const ClassKeys kClasses[] = {
    {L"EIResource", L"QxIndDepComponent.EIResource", L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F011}",
     L"_EIResource", L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F010}", &CLSID_EIResource},
    {L"EIRepScheduler", L"QxIndDepComponent.EIRepScheduler",
     L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F021}", L"_EIRepScheduler",
     L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F020}", &CLSID_EIRepScheduler},
};
constexpr const wchar_t* kLibraryKey = L"TypeLib\\{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F001}";
// The type library names the server under the platform of the build only.
#if defined(_WIN64)
constexpr const wchar_t* kPlatform = L"win64";
constexpr const wchar_t* kOtherPlatform = L"win32";
#else
constexpr const wchar_t* kPlatform = L"win32";
constexpr const wchar_t* kOtherPlatform = L"win64";
#endif

std::string narrow(const std::wstring& s) {
  return win32::toUtf8(s);
}

bool keyExists(const std::wstring& path) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return false;
  RegCloseKey(h);
  return true;
}

std::optional<std::wstring> readText(const std::wstring& path, const wchar_t* name = nullptr) {
  wchar_t buf[1024];
  DWORD bytes = sizeof buf;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buf, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(buf);
}

void checkText(const std::wstring& path, const wchar_t* name, const std::wstring& expected) {
  std::optional<std::wstring> got = readText(path, name);
  std::string what = "HKCR\\" + narrow(path) + (name ? " " + narrow(name) : std::string());
  if (!check(got.has_value(), what + " present")) return;
  checkEqual(narrow(*got), narrow(expected), what);
}

std::wstring versioned(const wchar_t* progId) {
  return std::wstring(progId) + L".1";
}

void checkServerFile(const std::wstring& path) {
  check(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES,
        "the registered server file exists: " + narrow(path));
  std::wstring file = path.substr(path.find_last_of(L"\\/") + 1);
  check(CompareStringOrdinal(file.c_str(), -1, L"QxIndDepComponent.dll", -1, TRUE) == CSTR_EQUAL,
        "the registered server is QxIndDepComponent.dll");
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<BYTE> data(size);
  if (!check(size && GetFileVersionInfoW(path.c_str(), 0, size, data.data()),
             "the server has a version resource")) {
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) && fixed) {
    checkEqual(static_cast<long long>(fixed->dwFileVersionMS), 0x00010000, "file version 1.0");
  }
  wchar_t* text = nullptr;
  if (check(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\FileVersion",
                           reinterpret_cast<void**>(&text), &len) &&
                text,
            "the version text")) {
    checkEqual(narrow(text), "1.00", "FileVersion");
  }
}

void checkTypeLibrary() {
  ComPtr<ITypeLib> lib;
  if (!check(SUCCEEDED(LoadRegTypeLib(LIBID_QxIndDepComponent, 1, 0, 0, lib.put())) && lib,
             "the registered type library QxIndDepComponent 1.0 loads")) {
    return;
  }
  Bstr name;
  lib->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
  checkEqual(name.utf8(), "QxIndDepComponent", "the library's name");
  for (const ClassKeys& c : kClasses) {
    ComPtr<ITypeInfo> cls;
    if (!check(SUCCEEDED(lib->GetTypeInfoOfGuid(*c.clsid, cls.put())),
               "the library describes " + narrow(c.name))) {
      continue;
    }
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(cls->GetTypeAttr(&attr)) && attr) {
      check(attr->typekind == TKIND_COCLASS && (attr->wTypeFlags & TYPEFLAG_FCANCREATE),
            narrow(c.name) + " is a creatable class");
      cls->ReleaseTypeAttr(attr);
    }
    HREFTYPE ref = 0;
    INT flags = 0;
    ComPtr<ITypeInfo> itf;
    if (SUCCEEDED(cls->GetRefTypeOfImplType(0, &ref)) &&
        SUCCEEDED(cls->GetImplTypeFlags(0, &flags)) &&
        SUCCEEDED(cls->GetRefTypeInfo(ref, itf.put()))) {
      Bstr itfName;
      itf->GetDocumentation(MEMBERID_NIL, itfName.put(), nullptr, nullptr, nullptr);
      checkEqual(itfName.utf8(), narrow(c.interfaceName), narrow(c.name) + "'s default interface");
      check((flags & IMPLTYPEFLAG_FDEFAULT) != 0, "it is marked default");
    } else {
      check(false, narrow(c.name) + " has a default interface");
    }
  }
}

}  // namespace

void runRegisteredChecks() {
  section("registration");
  std::wstring serverFile;
  for (const ClassKeys& c : kClasses) {
    std::wstring clsidKey = std::wstring(L"CLSID\\") + c.classId;
    checkText(c.progId, nullptr, c.progId);
    checkText(std::wstring(c.progId) + L"\\CLSID", nullptr, c.classId);
    checkText(std::wstring(c.progId) + L"\\CurVer", nullptr, versioned(c.progId));
    checkText(versioned(c.progId) + L"\\CLSID", nullptr, c.classId);
    checkText(clsidKey, nullptr, c.progId);
    checkText(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    checkText(clsidKey + L"\\ProgID", nullptr, versioned(c.progId));
    checkText(clsidKey + L"\\VersionIndependentProgID", nullptr, c.progId);
    checkText(clsidKey + L"\\TypeLib", nullptr, L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F001}");
    checkText(std::wstring(L"Interface\\") + c.interfaceId, nullptr, c.interfaceName);
    checkText(std::wstring(L"Interface\\") + c.interfaceId + L"\\TypeLib", nullptr,
              L"{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F001}");
    if (auto path = readText(clsidKey + L"\\InprocServer32")) serverFile = *path;
  }
  checkText(std::wstring(kLibraryKey) + L"\\1.0", nullptr, L"QxIndDepComponent");
  if (check(!serverFile.empty(), "InprocServer32 names the server")) checkServerFile(serverFile);
  std::wstring libraryFiles = std::wstring(kLibraryKey) + L"\\1.0\\0\\";
  checkText(libraryFiles + kPlatform, nullptr, serverFile);
  check(!keyExists(libraryFiles + kOtherPlatform),
        "no type library entry for " + narrow(kOtherPlatform));
  checkTypeLibrary();
}

void runUnregisteredChecks() {
  section("unregistration");
  for (const ClassKeys& c : kClasses) {
    check(!keyExists(c.progId), "HKCR\\" + narrow(c.progId) + " removed");
    check(!keyExists(versioned(c.progId)), "HKCR\\" + narrow(versioned(c.progId)) + " removed");
    check(!keyExists(std::wstring(L"CLSID\\") + c.classId),
          "the class id of " + narrow(c.name) + " removed");
    check(!keyExists(std::wstring(L"Interface\\") + c.interfaceId),
          "the interface " + narrow(c.interfaceName) + " removed");
  }
  check(!keyExists(kLibraryKey), "the type library's key removed");
  ComPtr<ITypeLib> lib;
  check(FAILED(LoadRegTypeLib(LIBID_QxIndDepComponent, 1, 0, 0, lib.put())),
        "the type library is no longer registered");
  CLSID clsid{};
  check(FAILED(CLSIDFromProgID(kResourceProgId, &clsid)), "the identifier no longer resolves");
}

}  // namespace qx::testhost
