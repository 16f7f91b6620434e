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
  // Reads that failed (their values stay 0 / false).
  bool lineUnread = false, statusUnread = false, cancelUnread = false, suspendUnread = false;
  // Takes part in the check: a line, status 0 ("planned"), neither cancelled nor suspended.
  bool qualifies() const noexcept { return lineId > 0 && status == 0 && !cancelled && !suspended; }
  // Could take part: every value that was read allows it (an unread one decides nothing).
  bool mayQualify() const noexcept {
    return (lineUnread || lineId > 0) && (statusUnread || status == 0) &&
           (cancelUnread || !cancelled) && (suspendUnread || !suspended);
  }
};

// Row arithmetic of the grid (Rows + 1, FixRows + 1, Rows + count) in 32 bits, as the grid
// counts: beyond them it is the overflow error (6).
int32_t rowPlus(int32_t row, int64_t n);

// A number in a text as the checks take it: the leading number, rounded to 32 bits.
int32_t numberInText(const std::string& text);

}  // namespace qx::scheduler
