#include "sim/platform/fault_injector.h"

#include "automation/text.h"

namespace qx::sim {

using automation::equalsIgnoreCase;

FaultInjector::FaultInjector() {
  automation::Object::setCallHook(
      [this](automation::Object& target, automation::DispId id, automation::CallKind) {
        if (faults_.empty() && !counting_) return;
        check(target.typeName(), target.nameOf(id));
      });
}

FaultInjector::~FaultInjector() {
  automation::Object::setCallHook(nullptr);
}

automation::Error FaultInjector::injected(const std::string& identifier,
                                          const std::string& member) {
  return automation::Error(-2147467259, "Injected failure of " + identifier + "." + member,
                           identifier);
}

void FaultInjector::add(std::string identifier, std::string member, int nth,
                        std::optional<automation::Error> error) {
  automation::Error e = error ? *error : injected(identifier, member);
  faults_.push_back(Fault{std::move(identifier), std::move(member), nth, std::move(e)});
}

void FaultInjector::startCounting(int failAt, std::optional<automation::Error> error) {
  counting_ = true;
  fired_ = false;
  failAt_ = failAt;
  failError_ = std::move(error);
  calls_.clear();
}

void FaultInjector::count(std::string_view identifier, std::string_view member) {
  for (const std::string& x : excluded_) {
    if (equalsIgnoreCase(x, identifier)) return;
  }
  calls_.push_back(Call{std::string(identifier), std::string(member)});
  if (static_cast<int>(calls_.size()) != failAt_) return;
  fired_ = true;
  throw failError_ ? *failError_ : injected(calls_.back().identifier, calls_.back().member);
}

void FaultInjector::check(std::string_view identifier, std::string_view member) {
  if (counting_) count(identifier, member);
  for (Fault& f : faults_) {
    if (!equalsIgnoreCase(f.identifier, identifier)) continue;
    if (f.member != "*" && !equalsIgnoreCase(f.member, member)) continue;
    ++f.calls;
    if (f.nth == 0 || f.calls == f.nth) throw f.error;
  }
}

}  // namespace qx::sim
