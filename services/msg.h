// The product's message box.
#pragma once

#include <cstdint>
#include <string>

namespace qx::services {

// Message-box style of every caller: information icon, OK button only.
inline constexpr int32_t kInformationOk = 64;

// Shows `prompt` unchanged (callers translate it first) under the translated product title and
// returns the code of the pressed button. No failure handling: a failure is the caller's.
int32_t ShowMessage(const std::string& prompt, int32_t style);

}  // namespace qx::services
