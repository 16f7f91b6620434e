#include "win32/testhost/check.h"

#include <cstdio>

namespace qx::testhost {

namespace {
int g_passed = 0;
int g_failed = 0;
}  // namespace

void section(std::string_view name) {
  std::printf("# %.*s\n", static_cast<int>(name.size()), name.data());
  std::fflush(stdout);
}

bool check(bool ok, const std::string& what) {
  ++(ok ? g_passed : g_failed);
  std::printf("%s - %s\n", ok ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  return ok;
}

bool checkEqual(const std::string& got, const std::string& expected, const std::string& what) {
  if (got == expected) return check(true, what);
  return check(false, what + ": got \"" + got + "\", expected \"" + expected + "\"");
}

bool checkEqual(long long got, long long expected, const std::string& what) {
  if (got == expected) return check(true, what);
  return check(false,
               what + ": got " + std::to_string(got) + ", expected " + std::to_string(expected));
}

bool checkStatus(long got, long expected, const std::string& what) {
  if (got == expected) return check(true, what);
  char buf[80];
  std::snprintf(buf, sizeof buf, ": got 0x%08lX, expected 0x%08lX", static_cast<unsigned long>(got),
                static_cast<unsigned long>(expected));
  return check(false, what + buf);
}

int passedChecks() noexcept {
  return g_passed;
}
int failedChecks() noexcept {
  return g_failed;
}

}  // namespace qx::testhost
