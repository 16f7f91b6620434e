#include "scheduler/bill_seq.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "automation/conversions.h"
#include "automation/error.h"

namespace qx::scheduler {

std::optional<int32_t> billSeqOf(std::string_view s) {
  // The whole text counts only before the first cut: a purely numeric bill number is its own
  // sequence number.
  auto numeric = [](std::string_view t) {
    return !t.empty() && automation::isNumeric(automation::Variant(std::string(t)));
  };
  if (!numeric(s)) {
    while (!s.empty()) {
      size_t p = s.find('_');
      if (p == std::string_view::npos) break;
      s.remove_prefix(p + 1);
      if (numeric(s)) break;
    }
  }
  if (!numeric(s)) return std::nullopt;
  try {
    std::optional<double> v = automation::parseNumber(s);
    if (!v) return std::nullopt;
    return automation::roundToInt32(*v);
  } catch (const automation::Error&) {
    return std::nullopt;  // beyond 32 bits: the step is skipped
  }
}

int32_t nextBillSeq(int32_t max) noexcept {
  return max == std::numeric_limits<int32_t>::max() ? 0 : max + 1;
}

std::string quantityFormat(int32_t decimals) {
  if (decimals <= 0) return "0";
  // The number format's own limit: a count it cannot show fails as it does (5).
  (void)automation::formatNumber(0, decimals, false);
  return "0." + std::string(static_cast<size_t>(decimals), '0');
}

double remainderAfter(double quantity, double piece) noexcept {
  constexpr double kNoise = 1e-9;
  double rest = quantity - piece;
  double scale = std::max(std::fabs(quantity), std::fabs(piece));
  return std::fabs(rest) < kNoise * scale ? 0.0 : rest;
}

std::string departmentQuery(int32_t workOrderId, bool longNumber) {
  std::string sql =
      " select dtp.F##Number as  FDeptNumber  from  icmo v1 \r\n"
      " inner join t_department dtp on  v1.FWorkShop = dtp.FItemID \r\n"
      " where v1.FInterID = " +
      std::to_string(workOrderId);
  const std::string marker = ".F##Number", number = longNumber ? ".FNumber" : ".FShortNumber";
  for (size_t at = sql.find(marker); at != std::string::npos;
       at = sql.find(marker, at + number.size())) {
    sql.replace(at, marker.size(), number);
  }
  return sql;
}

}  // namespace qx::scheduler
