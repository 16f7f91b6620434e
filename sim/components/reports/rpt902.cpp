#include "sim/components/reports/rpt902.h"

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "sim/components/reports/report902.h"
#include "sim/platform/host_date.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::Variant;

namespace {

// A filter value as text: field objects give their value, Null and Empty the empty text.
std::string text(automation::Object& filter, const char* key) {
  Variant v = filter.call("GetValue", Variant(key), Variant()).value();
  return v.isNull() || v.isEmpty() ? std::string() : v.toString();
}

bool option(automation::Object& filter, const char* key) {
  Variant v = filter.call("GetValue", Variant(key), Variant()).value();
  if (v.isNull() || v.isEmpty()) return false;
  try {
    return v.toDouble() != 0;
  } catch (const Error&) {
    throw Error::invalidProcedureCall(
        std::string("the option ") + key + " is not a number: " + automation::describe(v),
        "QxEIRpt.Rpt902");
  }
}

}  // namespace

std::span<const automation::Member<Rpt902>> Rpt902::members() {
  static const automation::Member<Rpt902> m[] = {
      {"ExtFirter", 1, nullptr, &Rpt902::mExtFirter, &Rpt902::mPutExtFirter},
      {"RptID", 2, nullptr, &Rpt902::mRptID, &Rpt902::mPutRptID},
      {"Filter", 3, nullptr, &Rpt902::mFilter, &Rpt902::mPutFilter},
      {"GetReportData", 4, &Rpt902::mGetReportData},
      {"Result", 5, nullptr, &Rpt902::mResult},
  };
  return m;
}

Variant Rpt902::mExtFirter(Args) {
  return extFilter_;
}
void Rpt902::mPutExtFirter(Args, const Variant& v) {
  extFilter_ = v;
}
Variant Rpt902::mRptID(Args) {
  return reportId_;
}
void Rpt902::mPutRptID(Args, const Variant& v) {
  reportId_ = v;
}
Variant Rpt902::mFilter(Args) {
  return filter_;
}
void Rpt902::mPutFilter(Args, const Variant& v) {
  filter_ = v;
}

Variant Rpt902::mGetReportData(Args) {
  ok_ = false;
  table_.reset();
  try {
    if (reportId_.isEmpty() || reportId_.value().toDouble() != 902) {
      throw Error::invalidProcedureCall(
          "this component computes report 902, not " + automation::describe(reportId_),
          std::string(kTypeName));
    }
    automation::ObjectRef filter = filter_.objectOrNull();
    if (!filter) {
      throw Error::invalidProcedureCall("the report has no filter", std::string(kTypeName));
    }
    Report902Filter f;
    f.from = text(*filter, "DtpBDate");
    f.to = text(*filter, "DtpEDate");
    f.itemFrom = text(*filter, "BItem");
    f.itemTo = text(*filter, "EItem");
    f.lineFrom = text(*filter, "BLine");
    f.lineTo = text(*filter, "ELine");
    f.centreFrom = text(*filter, "BWC");
    f.centreTo = text(*filter, "EWC");
    f.deptFrom = text(*filter, "BDept");
    f.deptTo = text(*filter, "EDept");
    f.options.releasedOnly = option(*filter, "FSchedule");
    f.options.unplannedOrders = option(*filter, "FNoPlanICMO");
    f.options.remainingOnly = option(*filter, "FRemain");
    f.options.today = hostDate(today_);
    SqliteDb db = database_->open();
    table_ = computeReport902(db, f);
    ok_ = true;
    error_.clear();
  } catch (const Error& e) {
    error_ = e.description();
  }
  return Variant(ok_);
}

Variant Rpt902::mResult(Args a) {
  auto result = automation::HostDictionary::create();
  result->set("OK", Variant(ok_));
  result->set("Error", Variant(error_));
  if (a.empty()) return Variant(result);
  return result->valueOr(a[0].get().toString(), Variant());
}

}  // namespace qx::sim
