#include "sim/components/reports/report_view.h"

#include "sim/components/reports/rpt902.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::Variant;

std::span<const automation::Member<ReportView>> ReportView::members() {
  static const automation::Member<ReportView> m[] = {{"Show", 1, &ReportView::mShow}};
  return m;
}

Variant ReportView::mShow(Args a) {
  automation::requireArgs(a, 2, "Show");
  automation::ObjectRef report = a[0].get().objectOrNull();
  auto* rpt = dynamic_cast<Rpt902*>(report.get());
  if (!rpt) throw Error::typeMismatch("the viewer shows report components", std::string(kTypeName));
  int32_t id = a[1].get().toInt32();
  if (id != 902) {
    throw Error::invalidProcedureCall("no layout for report " + std::to_string(id),
                                      std::string(kTypeName));
  }
  if (!rpt->table()) {
    throw Error::invalidProcedureCall("the report has no data", std::string(kTypeName));
  }
  shelf_->show(*rpt->table());
  return Variant();
}

}  // namespace qx::sim
