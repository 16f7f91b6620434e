// "QRVBase.SystemProfile": the account's system profile, GetProfile(propsString, section, key)
// from the profile table t_SystemProfile: the stored value, Null when there is none.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/db/database.h"

namespace qx::sim {

class SystemProfile final : public automation::Dispatch<SystemProfile> {
 public:
  static constexpr std::string_view kTypeName = "QRVBase.SystemProfile";
  static std::span<const automation::Member<SystemProfile>> members();
  explicit SystemProfile(std::shared_ptr<Database> database) : database_(std::move(database)) {}

 private:
  automation::Variant mGetProfile(automation::Args a);
  std::shared_ptr<Database> database_;
};

// "qxMRepScheduler.clsMain": the schedule server; GetServerDate(propsString) is the host's date
// as text, yyyy-mm-dd.
class RepSchedulerMain final : public automation::Dispatch<RepSchedulerMain> {
 public:
  static constexpr std::string_view kTypeName = "qxMRepScheduler.clsMain";
  static std::span<const automation::Member<RepSchedulerMain>> members();
  explicit RepSchedulerMain(std::string today) : today_(std::move(today)) {}

 private:
  automation::Variant mGetServerDate(automation::Args a);
  std::string today_;
};

}  // namespace qx::sim
