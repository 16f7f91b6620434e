// "QxEIRpt.Rpt902": the remaining-capacity report component. ExtFirter, RptID and Filter are
// set, GetReportData computes report 902 for the filter (computeReport902), and Result(key)
// answers "OK" (True or False) and "Error" (what was wrong, or empty text). A bad filter or
// report number is reported through Result, not raised.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "automation/dispatch.h"
#include "sim/components/reports/report_shelf.h"
#include "sim/db/database.h"

namespace qx::sim {

class Rpt902 final : public automation::Dispatch<Rpt902> {
 public:
  static constexpr std::string_view kTypeName = "QxEIRpt.Rpt902";
  static std::span<const automation::Member<Rpt902>> members();
  Rpt902(std::shared_ptr<Database> database, std::string today)
      : database_(std::move(database)), today_(std::move(today)) {}

  // The computed report; empty before a successful GetReportData.
  const std::optional<ReportTable>& table() const noexcept { return table_; }

 private:
  automation::Variant mExtFirter(automation::Args a);
  void mPutExtFirter(automation::Args a, const automation::Variant& v);
  automation::Variant mRptID(automation::Args a);
  void mPutRptID(automation::Args a, const automation::Variant& v);
  automation::Variant mFilter(automation::Args a);
  void mPutFilter(automation::Args a, const automation::Variant& v);
  automation::Variant mGetReportData(automation::Args a);
  automation::Variant mResult(automation::Args a);

  std::shared_ptr<Database> database_;
  std::string today_;
  automation::Variant extFilter_, reportId_, filter_;
  bool ok_ = false;
  std::string error_ = "the report has not been computed";
  std::optional<ReportTable> table_;
};

}  // namespace qx::sim
