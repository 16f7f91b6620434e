#include "sim/components/account/system_profile.h"

#include "sim/db/sqlite_query.h"
#include "sim/platform/host_date.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<SystemProfile>> SystemProfile::members() {
  static const automation::Member<SystemProfile> m[] = {
      {"GetProfile", 1, &SystemProfile::mGetProfile}};
  return m;
}

Variant SystemProfile::mGetProfile(Args a) {
  automation::requireArgs(a, 3, "GetProfile");
  std::string section = a[1].get().toString(), key = a[2].get().toString();
  SqliteDb db = database_->open();
  SqliteQuery q(db,
                "SELECT FValue FROM t_SystemProfile WHERE FCategory = ?1 AND FKey = ?2 "
                "COLLATE NOCASE");
  q.bind(1, std::string_view(section)).bind(2, std::string_view(key));
  if (!q.step() || q.isNull(0)) return Variant::null();
  return Variant(q.text(0));
}

std::span<const automation::Member<RepSchedulerMain>> RepSchedulerMain::members() {
  static const automation::Member<RepSchedulerMain> m[] = {
      {"GetServerDate", 1, &RepSchedulerMain::mGetServerDate}};
  return m;
}

Variant RepSchedulerMain::mGetServerDate(Args a) {
  automation::requireArgs(a, 1, "GetServerDate");
  return Variant(hostDate(today_));
}

}  // namespace qx::sim
