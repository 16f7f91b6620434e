#include "win32/server/registry_object.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "automation/text.h"
#include "win32/com/bstr.h"

namespace qx::win32 {

using automation::Args;
using automation::Error;
using automation::Variant;
using automation::VarType;

namespace {

struct Root {
  std::string_view name;
  std::string_view shortName;
  HKEY key;
};

const Root kRoots[] = {
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
};

struct KeyPath {
  HKEY root;
  std::wstring sub;  // empty: the root itself
};

Error badPath(std::string_view path, std::string_view why) {
  return Error::invalidProcedureCall(
      "registry path \"" + std::string(path) + "\": " + std::string(why), "RegHelper");
}

KeyPath parsePath(std::string_view path) {
  size_t cut = path.find('\\');
  std::string_view rootName = path.substr(0, cut);
  std::string_view rest = cut == std::string_view::npos ? std::string_view() : path.substr(cut + 1);
  while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  if (rest.find("\\\\") != std::string_view::npos) throw badPath(path, "empty key name");
  for (const Root& r : kRoots) {
    if (automation::equalsIgnoreCase(rootName, r.name) ||
        automation::equalsIgnoreCase(rootName, r.shortName)) {
      return {r.key, toUtf16(rest)};
    }
  }
  throw badPath(path, "unknown root key");
}

Error failure(LSTATUS status, std::string_view what, std::string_view path) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " failed (%ld)", static_cast<long>(status));
  return Error(5,
               "Invalid procedure call or argument: " + std::string(what) + " \"" +
                   std::string(path) + "\"" + buf,
               "RegHelper");
}

class Key {
 public:
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* put() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

Variant readData(DWORD type, const std::vector<BYTE>& data, std::string_view path) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring_view s(reinterpret_cast<const wchar_t*>(data.data()),
                          data.size() / sizeof(wchar_t));
      while (!s.empty() && s.back() == L'\0') s.remove_suffix(1);
      return Variant(toUtf8(s));
    }
    case REG_DWORD: {
      int32_t n = 0;
      if (data.size() < sizeof n) throw failure(ERROR_INVALID_DATA, "ReadValue", path);
      std::memcpy(&n, data.data(), sizeof n);
      return Variant(n);
    }
    case REG_QWORD: {
      int64_t n = 0;
      if (data.size() < sizeof n) throw failure(ERROR_INVALID_DATA, "ReadValue", path);
      std::memcpy(&n, data.data(), sizeof n);
      if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
      return Variant(static_cast<double>(n));
    }
    default:
      throw Error::typeMismatch(
          "registry value of type " + std::to_string(type) + " at \"" + std::string(path) + "\"",
          "RegHelper");
  }
}

}  // namespace

std::span<const automation::Member<RegistryObject>> RegistryObject::members() {
  static const automation::Member<RegistryObject> m[] = {
      {"ReadValue", 1, &RegistryObject::mReadValue},
      {"WriteValue", 2, &RegistryObject::mWriteValue},
      {"DeleteKey", 3, &RegistryObject::mDeleteKey},
  };
  return m;
}

Variant RegistryObject::readValue(std::string_view path, std::string_view name,
                                  const Variant& fallback) {
  KeyPath kp = parsePath(path);
  Key key;
  if (RegOpenKeyExW(kp.root, kp.sub.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return fallback;
  }
  std::wstring valueName = toUtf16(name);
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, size = 0;
    LSTATUS s = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
    if (s == ERROR_FILE_NOT_FOUND) return fallback;
    if (s != ERROR_SUCCESS) throw failure(s, "ReadValue", path);
    std::vector<BYTE> data(size + sizeof(wchar_t));
    DWORD got = size;
    s = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, data.data(), &got);
    if (s == ERROR_MORE_DATA) continue;  // the value grew meanwhile
    if (s == ERROR_FILE_NOT_FOUND) return fallback;
    if (s != ERROR_SUCCESS) throw failure(s, "ReadValue", path);
    data.resize(got);
    return readData(type, data, path);
  }
  throw failure(ERROR_MORE_DATA, "ReadValue", path);
}

void RegistryObject::writeValue(std::string_view path, std::string_view name,
                                const Variant& value) {
  KeyPath kp = parsePath(path);
  DWORD type = REG_SZ;
  std::vector<BYTE> data;
  switch (value.type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long: {
      int32_t n = value.type() == VarType::Boolean ? (value.toBool() ? -1 : 0) : value.toInt32();
      type = REG_DWORD;
      data.resize(sizeof n);
      std::memcpy(data.data(), &n, sizeof n);
      break;
    }
    case VarType::Object:
      throw Error::typeMismatch("an object cannot be stored in the registry", "RegHelper");
    default: {
      std::wstring text =
          value.isNull() || value.isEmpty() ? std::wstring() : toUtf16(value.toString());
      const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
      data.assign(p, p + (text.size() + 1) * sizeof(wchar_t));
      break;
    }
  }
  Key key;
  LSTATUS s = RegCreateKeyExW(kp.root, kp.sub.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.put(), nullptr);
  if (s != ERROR_SUCCESS) throw failure(s, "WriteValue", path);
  std::wstring valueName = toUtf16(name);
  s = RegSetValueExW(key.get(), valueName.c_str(), 0, type, data.data(),
                     static_cast<DWORD>(data.size()));
  if (s != ERROR_SUCCESS) throw failure(s, "WriteValue", path);
}

void RegistryObject::deleteKey(std::string_view path) {
  KeyPath kp = parsePath(path);
  if (kp.sub.empty()) throw badPath(path, "a root key cannot be deleted");
  LSTATUS s = RegDeleteTreeW(kp.root, kp.sub.c_str());
  if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) throw failure(s, "DeleteKey", path);
}

Variant RegistryObject::mReadValue(Args a) {
  if (a.size() < 2 || a.size() > 3) throw Error::wrongArgumentCount("ReadValue", typeName());
  return readValue(a[0].get().toString(), a[1].get().toString(),
                   automation::argOr(a, 2, Variant()));
}

Variant RegistryObject::mWriteValue(Args a) {
  automation::requireArgs(a, 3, "WriteValue");
  writeValue(a[0].get().toString(), a[1].get().toString(), a[2].get());
  return Variant();
}

Variant RegistryObject::mDeleteKey(Args a) {
  automation::requireArgs(a, 1, "DeleteKey");
  deleteKey(a[0].get().toString());
  return Variant();
}

}  // namespace qx::win32
