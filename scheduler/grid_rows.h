// Reading the schedule grid and the form's header boxes the way the line checks need them.
#pragma once

#include <string>
#include <string_view>

#include "automation/object.h"
#include "automation/variant.h"

namespace qx::scheduler {

// What the line/item check reads of one schedule row.
struct ScheduleRow {
  int32_t lineId = 0;
  int32_t status = 0;
  bool cancelled = false;
  bool suspended = false;
  // Takes part in the check: a line, status 0 ("planned"), neither cancelled nor suspended.
  bool qualifies() const noexcept { return lineId > 0 && status == 0 && !cancelled && !suspended; }
};

// A number in a text as the checks take it: the leading number, rounded to 32 bits.
int32_t numberInText(const std::string& text);

}  // namespace qx::scheduler
