// The four user settings of the schedule bill, kept in the registry per edition.
#include "automation/host_dictionary.h"
#include "host/platform.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/login_props.h"

namespace qx::scheduler {

namespace {
const char* const kOptionNames[] = {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"};
}  // namespace

std::string settingsKeyPath(int32_t edition) {
  switch (edition) {
    case services::kEditionB:
      // The edition key lies under the edition-2 key.
      return std::string("HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\EIRepSchedule") +
             "\\ZRB\\EIRepSchedule";
    case services::kEditionC:
      return "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\EIRepSchedule";
    default:
      return std::string("HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN") + "\\ZRA\\EIRepSchedule";
  }
}

ObjectRef EIRepScheduler::LoadSettings() {
  // No failure handling: failures go to the caller.
  auto result = automation::HostDictionary::create();
  ObjectRef reg = host::platform().createRegHelper();
  std::string path = settingsKeyPath(services::GetEdition(0));
  for (const char* name : kOptionNames) {
    result->put("Value", name, reg->call("ReadValue", path, name, int16_t{0}));
  }
  ObjectRef button = tool("showability");
  button->put("Checked", reg->call("ReadValue", path, "ShowAbility", false));
  m_bShowAbility = button->get("Checked").toBool();
  return ObjectRef(result);
}

void EIRepScheduler::SaveSettings(const ObjectRef& options) {
  // No failure handling: failures go to the caller.
  ObjectRef reg = host::platform().createRegHelper();
  std::string path = settingsKeyPath(services::GetEdition(0));
  if (!options) throw automation::Error::objectNotSet(std::string(kTypeName));
  for (const char* name : kOptionNames) {
    reg->call("WriteValue", path, name, options->get("Value", name));
  }
  reg->call("WriteValue", path, "ShowAbility", m_bShowAbility);
}

}  // namespace qx::scheduler
