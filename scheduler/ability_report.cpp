// The remaining-capacity report: report 902 of the host, filtered on the department that is the
// work order's workshop, the bill's item and plan period, computed with the capacity options,
// and handed to the host's report viewer.
#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/steps.h"
#include "host/prog_ids.h"
#include "scheduler/bill_seq.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/host_objects.h"
#include "services/login_props.h"
#include "services/msg.h"
#include "services/wait_cursor.h"

namespace qx::scheduler {

namespace {

constexpr int16_t kReport = 902;
// The connection, spelled as this report has always asked for it (identifiers ignore case).
constexpr std::string_view kReportConnection = "QxConnection.Appconnection";

// A plan date as the report wants it: yyyy-mm-dd; a text that is no date goes as it is.
Variant reportDate(const Variant& text) {
  try {
    return Variant(automation::formatDatePattern(text.toDate(), "yyyy-mm-dd"));
  } catch (const automation::Error&) {
    return text;
  }
}

// The report succeeded: its "OK" is true (-1) or Null.
bool succeeded(const Variant& ok) {
  if (ok.isNull()) return true;
  if (ok.type() == automation::VarType::Boolean) return ok.toBool();
  return ok.isNumber() && ok.toDouble() == -1;
}

}  // namespace

bool EIRepScheduler::IsLongNumber() {
  // Never fails: a profile that cannot be read means long numbers.
  bool result = true;
  automation::Steps steps;
  steps.run([&] {
    ObjectRef profile = services::createHostObject(host::prog_id::kSystemProfile);
    Variant answer = profile->call("GetProfile", Variant(services::GetPropsString()), Variant("IC"),
                                   Variant("UseShortNumber"));
    if (answer.isNull()) answer = Variant(int32_t{1});
    result = answer.value().toDouble() == 0;
  });
  return result;
}

void EIRepScheduler::ShowAbilityReport() {
  // No failure handling but the busy pointer's: a failure goes back through the command. The
  // work order goes into the query as its number, so no text of the form becomes SQL.
  // The work order is read before the profile is asked, in that order.
  int32_t workOrder = numberIn("txtInterId");
  std::string sql = departmentQuery(workOrder, IsLongNumber());
  ObjectRef connection = services::createHostObject(kReportConnection);
  Variant found = connection->call("Execute", Variant(sql));
  connection.reset();
  ObjectRef rs = found.objectOrNull();
  if (!rs) return;

  auto filter = automation::HostDictionary::create();
  Variant deptNumber = rs->get("Fields", "FDeptNumber");
  Variant itemNumber = control("txtItemNumber")->get("Text");
  filter->set("DtpBDate", reportDate(control("txtPlanBDate")->get("Text")));
  filter->set("DtpEDate", reportDate(control("txtPlanEDate")->get("Text")));
  filter->set("BLine", Variant(""));
  filter->set("ELine", Variant(""));
  filter->set("BItem", itemNumber);
  filter->set("EItem", itemNumber);
  filter->set("BWC", Variant(""));
  filter->set("EWC", Variant(""));
  filter->set("BDept", deptNumber);
  filter->set("EDept", deptNumber);
  filter->set("FSchedule", m_dctAbilityOption->get("Value", "FSchedule"));
  filter->set("FNoPlanICMO", m_dctAbilityOption->get("Value", "FNoPlanICMO"));
  filter->set("FRemain", m_dctAbilityOption->get("Value", "CalcRemainAbility"));

  ObjectRef report = services::createHostObject(host::prog_id::kRpt902);
  report->put("ExtFirter", kReport);
  report->put("RptID", kReport);
  report->putRef("Filter", Variant(ObjectRef(filter)));
  {
    services::WaitCursor busy;  // back to the default pointer however GetReportData ends
    report->call("GetReportData");
  }
  if (!succeeded(report->get("Result", "OK"))) {
    Variant error = report->get("Result", "Error");
    std::string text = error.isNull() || error.isEmpty() ? std::string() : error.toString();
    if (!text.empty()) services::ShowMessage(text, services::kInformationOk);
    return;
  }
  ObjectRef viewer = services::createHostObject(host::prog_id::kReportView);
  Variant reportArg{report};
  viewer->call("Show", automation::byRef(reportArg), Variant(kReport));
}

}  // namespace qx::scheduler
