#include "sim/platform/dialog_answers.h"

namespace qx::sim {

namespace {
// Separates an answer's words inside the queue's one text per answer.
constexpr char kWordSeparator = '\x1f';
}  // namespace

void ScriptedDialogAnswers::queue(std::string kind, DialogAnswer answer) {
  std::string text;
  for (size_t i = 0; i < answer.size(); ++i) {
    if (i > 0) text += kWordSeparator;
    text += answer[i];
  }
  queue_->queue(kind, std::move(text));
}

std::optional<DialogAnswer> ScriptedDialogAnswers::next(std::string_view kind) {
  std::optional<std::string> text = queue_->take(kind);
  if (!text) return std::nullopt;
  DialogAnswer words;
  size_t start = 0;
  for (;;) {
    size_t at = text->find(kWordSeparator, start);
    words.push_back(text->substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + 1;
  }
  if (words.size() == 1 && words[0].empty()) words.clear();
  return words;
}

void ScriptedDialogAnswers::shown(ShownDialog dialog) {
  queue_->record(std::move(dialog));
}

}  // namespace qx::sim
