#include "sim/platform/dialog_script.h"

#include "automation/text.h"

namespace qx::sim {

void DialogScript::queue(std::string_view kind, std::string answer) {
  answers_[automation::asciiLower(kind)].push_back(std::move(answer));
}

std::optional<std::string> DialogScript::take(std::string_view kind) {
  auto it = answers_.find(automation::asciiLower(kind));
  if (it == answers_.end() || it->second.empty()) return std::nullopt;
  std::string answer = std::move(it->second.front());
  it->second.pop_front();
  return answer;
}

size_t DialogScript::pending(std::string_view kind) const {
  auto it = answers_.find(automation::asciiLower(kind));
  return it == answers_.end() ? 0 : it->second.size();
}

size_t DialogScript::shownCount(std::string_view kind) const {
  size_t n = 0;
  for (const ShownDialog& d : shown_) n += automation::equalsIgnoreCase(d.kind, kind) ? 1 : 0;
  return n;
}

void DialogScript::record(ShownDialog shown) {
  shown_.push_back(std::move(shown));
  if (observer_) observer_(shown_.back());
}

}  // namespace qx::sim
