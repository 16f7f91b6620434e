// Field names of the capacity result and of the line capacity table.
#pragma once

#include <string>
#include <string_view>

namespace qx::scheduler::ability {

// The capacity result's fields.
inline constexpr std::string_view kLineID = "FLineID", kDate = "FDate", kAbility = "FAbility",
                                  kLoad = "FLoad", kDiff = "FDiff", kDiffRate = "FDiffRate",
                                  kQty = "FQty", kAuxQty = "FAuxQty";
// Fields of both (the line's identity) and of the line capacity table.
inline constexpr std::string_view kLineNumber = "FLineNumber", kLineName = "FLineName",
                                  kWorkCenter = "FWorkCenter", kProductivity = "FProductivity",
                                  kQtyDecimal = "FQtyDecimal", kTextAbility = "FTextAbility",
                                  kInterID = "FInterID", kSumSort = "FSumSort";
// The condition that keeps one line's rows; the line id follows it.
inline constexpr std::string_view kLineFilter = "FLineID = ";

}  // namespace qx::scheduler::ability

namespace qx::scheduler {
// The name of the j-th date field: "F1", "F9", "F10".
std::string dateFieldName(int32_t j);
}  // namespace qx::scheduler
