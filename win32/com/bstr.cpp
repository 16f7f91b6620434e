#include "win32/com/bstr.h"

#include <windows.h>

#include <climits>

#include "automation/error.h"

namespace qx::win32 {

std::wstring toUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  if (utf8.size() > INT_MAX) throw automation::Error::outOfMemory("UTF-16 conversion");
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string toUtf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  if (utf16.size() > INT_MAX / 3) throw automation::Error::outOfMemory("UTF-8 conversion");
  int len = static_cast<int>(utf16.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

std::string bstrToUtf8(BSTR s) {
  if (!s) return {};
  return toUtf8(std::wstring_view(s, SysStringLen(s)));
}

Bstr::Bstr(std::wstring_view utf16) {
  if (utf16.size() > INT_MAX / 2) throw automation::Error::outOfMemory("BSTR");
  s_ = SysAllocStringLen(utf16.data(), static_cast<UINT>(utf16.size()));
  if (!s_) throw automation::Error::outOfMemory("BSTR");
}

Bstr::Bstr(std::string_view utf8) {
  std::wstring wide = toUtf16(utf8);
  *this = Bstr(std::wstring_view(wide));
}

}  // namespace qx::win32
