#include <windows.h>

#include "win32/testhost/substitutes.h"

namespace qx::testhost {

using automation::Args;
using automation::Error;
using automation::Variant;

std::span<const automation::Member<SharePropsSubstitute>> SharePropsSubstitute::members() {
  static const automation::Member<SharePropsSubstitute> m[] = {
      {"GetProperty", 1, &SharePropsSubstitute::mGetProperty},
  };
  return m;
}

SharePropsSubstitute::SharePropsSubstitute() noexcept {
  ++live();
}
SharePropsSubstitute::~SharePropsSubstitute() {
  --live();
}

int& SharePropsSubstitute::live() noexcept {
  static int n = 0;
  return n;
}

Variant SharePropsSubstitute::mGetProperty(Args a) {
  automation::requireArgs(a, 2, "GetProperty");
  // The properties belong to a login, which is one process: the caller's own.
  int32_t process = a[0].get().toInt32();
  if (static_cast<DWORD>(process) != GetCurrentProcessId()) {
    throw Error(5, "no login for process " + std::to_string(process), std::string(kTypeName));
  }
  std::string name = a[1].get().toString();
  if (name == "PropsString") return Variant(kPropsString);
  if (name == "UserName") return Variant(kUserName);
  throw Error(5, "unexpected property \"" + name + "\"", std::string(kTypeName));
}

}  // namespace qx::testhost
