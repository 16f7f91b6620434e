#include "sim/fault_injector.h"

#include "automation/text.h"

namespace qx::sim {

using automation::equalsIgnoreCase;

FaultInjector::FaultInjector() {
  automation::Object::setCallHook(
      [this](automation::Object& target, automation::DispId id, automation::CallKind) {
        if (faults_.empty()) return;
        check(target.typeName(), target.nameOf(id));
      });
}

FaultInjector::~FaultInjector() {
  automation::Object::setCallHook(nullptr);
}

void FaultInjector::add(std::string identifier, std::string member, int nth,
                        std::optional<automation::Error> error) {
  automation::Error e =
      error ? *error
            : automation::Error(-2147467259, "Injected failure of " + identifier + "." + member,
                                identifier);
  faults_.push_back(Fault{std::move(identifier), std::move(member), nth, std::move(e)});
}

void FaultInjector::check(std::string_view identifier, std::string_view member) {
  for (Fault& f : faults_) {
    if (!equalsIgnoreCase(f.identifier, identifier)) continue;
    if (f.member != "*" && !equalsIgnoreCase(f.member, member)) continue;
    ++f.calls;
    if (f.nth == 0 || f.calls == f.nth) throw f.error;
  }
}

}  // namespace qx::sim
