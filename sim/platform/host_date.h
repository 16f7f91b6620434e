// The host's current date: fixed by HostOptions::today (QX_HOST_DATE) so scenarios and tests see
// the same day every time, else the machine's local date.
#pragma once

#include <string>
#include <string_view>

namespace qx::sim {

// True for a real calendar date written "yyyy-mm-dd".
bool isHostDate(std::string_view text) noexcept;
// `fixed` when it is set, else today's local date, "yyyy-mm-dd".
std::string hostDate(std::string_view fixed);

}  // namespace qx::sim
