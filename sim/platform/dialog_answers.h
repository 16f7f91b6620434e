// The user's answers to the host's dialogs that take several words ("options", "decompose").
// Dialogs ask an answer source; the scripted one below takes them from the host's one queue of
// answers and records what each dialog showed in the host's one record of dialogs, beside the
// message boxes and the line browser.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/platform/dialog_script.h"

namespace qx::sim {

// One answer: words such as "ok FSchedule=1", "cancel", "1.FAuxQty=500 drop=2".
using DialogAnswer = std::vector<std::string>;

class DialogAnswerSource {
 public:
  virtual ~DialogAnswerSource() = default;
  // The next answer queued for a dialog of `kind`; nothing: the dialog takes its default.
  virtual std::optional<DialogAnswer> next(std::string_view kind) = 0;
  // Called as a dialog closes, with what it showed and the answer it took (its words joined by
  // blanks; empty: the dialog's default).
  virtual void shown(ShownDialog dialog) = 0;
};

// Answers from the host's one queue of scripted dialog answers (an answer's words are kept
// there as one text); the dialogs that took them are recorded in the same script.
class ScriptedDialogAnswers final : public DialogAnswerSource {
 public:
  explicit ScriptedDialogAnswers(std::shared_ptr<DialogScript> queue) : queue_(std::move(queue)) {}

  void queue(std::string kind, DialogAnswer answer);
  std::optional<DialogAnswer> next(std::string_view kind) override;
  void shown(ShownDialog dialog) override;

  size_t pending(std::string_view kind) const { return queue_->pending(kind); }

 private:
  std::shared_ptr<DialogScript> queue_;
};

}  // namespace qx::sim
