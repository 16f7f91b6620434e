// "qxVRpt.View": the report viewer. Show(report, id) shows the report's table on the host's
// report shelf (the workbench prints it, and writes it to a file when asked).
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/components/reports/report_shelf.h"

namespace qx::sim {

class ReportView final : public automation::Dispatch<ReportView> {
 public:
  static constexpr std::string_view kTypeName = "qxVRpt.View";
  static std::span<const automation::Member<ReportView>> members();
  explicit ReportView(std::shared_ptr<ReportShelf> shelf) : shelf_(std::move(shelf)) {}

 private:
  automation::Variant mShow(automation::Args a);
  std::shared_ptr<ReportShelf> shelf_;
};

}  // namespace qx::sim
