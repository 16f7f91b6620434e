#include "sim/dialog_answers.h"

namespace qx::sim {

void ScriptedDialogAnswers::queue(std::string kind, DialogAnswer answer) {
  queued_[std::move(kind)].push_back(std::move(answer));
}

std::optional<DialogAnswer> ScriptedDialogAnswers::next(std::string_view kind) {
  auto it = queued_.find(kind);
  if (it == queued_.end() || it->second.empty()) return std::nullopt;
  DialogAnswer a = std::move(it->second.front());
  it->second.pop_front();
  return a;
}

void ScriptedDialogAnswers::shown(const ShownDialog& dialog) {
  dialogs_.push_back(dialog);
  if (observer_) observer_(dialog);
}

size_t ScriptedDialogAnswers::pending(std::string_view kind) const {
  auto it = queued_.find(kind);
  return it == queued_.end() ? 0 : it->second.size();
}

void ScriptedDialogAnswers::clear() {
  queued_.clear();
  dialogs_.clear();
}

}  // namespace qx::sim
