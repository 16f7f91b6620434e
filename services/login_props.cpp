#include "services/login_props.h"

#include <algorithm>

#include "automation/arg.h"
#include "automation/steps.h"
#include "automation/text.h"
#include "host/platform.h"
#include "host/prog_ids.h"
#include "services/host_objects.h"

namespace qx::services {

using automation::Variant;

Variant GetShareProperty(const std::string& name) {
  // Both arguments are the program's variables, passed by reference.
  Variant processId(static_cast<int32_t>(host::platform().processId()));
  Variant propertyName(name);
  automation::ObjectRef manager = createHostObject(host::prog_id::kShareProps);
  return manager->call("GetProperty", automation::byRef(processId),
                       automation::byRef(propertyName));
}

std::string GetPropsString() {
  return GetShareProperty("PropsString").toString();
}

std::string GetUserName() {
  return GetShareProperty("UserName").toString();
}

namespace {

// The value of the first entry whose key equals `key`, ignoring letter case. Entries run from
// the start or from just after a ";" to the next ";"; blanks before a key are not part of it,
// since hosts write "; " between entries as often as ";".
std::string findEntry(std::string_view props, std::string_view key) {
  size_t start = 0;
  while (start < props.size()) {
    size_t end = props.find(';', start);
    if (end == std::string_view::npos) end = props.size();
    std::string_view entry = props.substr(start, end - start);
    entry.remove_prefix(std::min(entry.find_first_not_of(" \t"), entry.size()));
    if (entry.size() > key.size() && entry[key.size()] == '=' &&
        automation::equalsIgnoreCase(entry.substr(0, key.size()), key)) {
      return std::string(entry.substr(key.size() + 1));
    }
    start = end + 1;
  }
  return {};
}

}  // namespace

std::string GetPropValue(std::string_view key) {
  // Continue-on-failure: a step that fails is skipped; an unreadable property string is empty.
  automation::Steps steps;
  std::string props;
  steps.run([&] { props = GetPropsString(); });
  std::string value;
  steps.run([&] {
    if (props.empty() || props.back() != ';') props += ';';
    value = findEntry(props, key);
  });
  return value;
}

int32_t GetEdition(int32_t defaultEdition) {
  std::string code = automation::asciiUpper(GetPropValue("QxVersion"));
  if (code == "ZRA") return kEditionA;
  if (code == "ZRB") return kEditionB;
  if (code == "ZRC") return kEditionC;
  return defaultEdition;
}

}  // namespace qx::services
