// The user's answers to the host's dialogs, by dialog kind ("options", "decompose"), and a
// record of what each dialog showed. Dialogs ask an answer source; the scripted one below is
// fed by tests and workbench scripts, and any other queue of scripted answers can stand behind
// the same interface.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/dialog_script.h"

namespace qx::sim {

// One answer: words such as "ok FSchedule=1", "cancel", "1.FAuxQty=500 drop=2".
using DialogAnswer = std::vector<std::string>;

struct AnsweredDialog {
  std::string kind, text;  // the dialog's kind, what it showed
  DialogAnswer answer;     // how it was answered (empty: by its default)
};

class DialogAnswerSource {
 public:
  virtual ~DialogAnswerSource() = default;
  // The next answer queued for a dialog of `kind`; nothing: the dialog takes its default.
  virtual std::optional<DialogAnswer> next(std::string_view kind) = 0;
  // Called as a dialog closes, with what it showed and the answer it took.
  virtual void shown(const AnsweredDialog& dialog) = 0;
};

// Answers from the host's one queue of scripted dialog answers (an answer's words are kept
// there as one text), and a record of the dialogs that took them.
class ScriptedDialogAnswers final : public DialogAnswerSource {
 public:
  explicit ScriptedDialogAnswers(std::shared_ptr<DialogScript> queue) : queue_(std::move(queue)) {}

  void queue(std::string kind, DialogAnswer answer);
  std::optional<DialogAnswer> next(std::string_view kind) override;
  void shown(const AnsweredDialog& dialog) override;

  const std::vector<AnsweredDialog>& dialogs() const noexcept { return dialogs_; }
  size_t pending(std::string_view kind) const { return queue_->pending(kind); }
  // Forgets the dialogs shown and every answer still queued.
  void clear();
  void onShown(std::function<void(const AnsweredDialog&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  std::shared_ptr<DialogScript> queue_;
  std::vector<AnsweredDialog> dialogs_;
  std::function<void(const AnsweredDialog&)> observer_;
};

}  // namespace qx::sim
