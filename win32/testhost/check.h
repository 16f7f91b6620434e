// The test host's checks: one line per check, a closing count.
#pragma once

#include <string>
#include <string_view>

namespace qx::testhost {

void section(std::string_view name);
bool check(bool ok, const std::string& what);
bool checkEqual(const std::string& got, const std::string& expected, const std::string& what);
bool checkEqual(long long got, long long expected, const std::string& what);
bool checkStatus(long got, long expected, const std::string& what);
int passedChecks() noexcept;
int failedChecks() noexcept;

}  // namespace qx::testhost
