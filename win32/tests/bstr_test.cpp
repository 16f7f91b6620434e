// UTF-8 <-> UTF-16 at the boundary, and the BSTR owner.
#include "win32/com/bstr.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using testhost::check;
using testhost::checkEqual;

void bstrTests() {
  testhost::section("bstr");
  struct Row {
    const char* what;
    std::string utf8;
    std::wstring utf16;
  };
  const Row rows[] = {
      {"empty", "", L""},
      {"ASCII", "EIResourceList", L"EIResourceList"},
      {"Chinese", "生产率", L"\u751F\u4EA7\u7387"},
      {"outside the basic plane", "\xF0\x9F\x98\x80", L"\xD83D\xDE00"},
      {"embedded NUL", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
  };
  for (const Row& r : rows) {
    check(toUtf16(r.utf8) == r.utf16, std::string("to UTF-16: ") + r.what);
    check(toUtf8(r.utf16) == r.utf8, std::string("to UTF-8: ") + r.what);
    Bstr b(r.utf8);
    checkEqual(static_cast<long long>(SysStringLen(b.get())),
               static_cast<long long>(r.utf16.size()), std::string("BSTR length: ") + r.what);
    checkEqual(b.utf8(), r.utf8, std::string("BSTR round trip: ") + r.what);
  }
  checkEqual(toUtf8(toUtf16("a\xFF"
                            "b")),
             "a\xEF\xBF\xBD"
             "b",
             "invalid UTF-8 becomes U+FFFD");
  checkEqual(bstrToUtf8(nullptr), "", "a null BSTR is the empty text");

  Bstr owner("x");
  BSTR* slot = owner.ref();
  SysFreeString(*slot);
  *slot = SysAllocString(L"replaced");
  checkEqual(owner.utf8(), "replaced", "a callee may replace the string through ref()");
  Bstr moved = std::move(owner);
  check(owner.get() == nullptr && moved.utf8() == "replaced", "moving hands the string over");
}

}  // namespace qx::win32::tests
