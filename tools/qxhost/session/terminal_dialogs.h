// The host's dialogs asked at a terminal: when a dialog has no queued answer and a user sits at
// the terminal, the dialog is shown there and the user's answer read (scripts keep the queue).
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "sim/platform/dialog_script.h"

namespace qx::qxhost {

class TerminalDialogs {
 public:
  // Reads one answer after a prompt; false at the end of the input or on Ctrl-C.
  using Reader = std::function<bool(const std::string& prompt, std::string& answer)>;
  // The line browser's extra column when the capacity result is loaded: its caption and the
  // text for each line id offered.
  struct LineFigures {
    std::string caption;
    std::map<std::string, std::string> byLineId;
  };
  using LineFiguresSource = std::function<std::optional<LineFigures>()>;

  TerminalDialogs(std::ostream& out, Reader read, std::function<bool()> chinese,
                  LineFiguresSource figures = nullptr)
      : out_(out),
        read_(std::move(read)),
        chinese_(std::move(chinese)),
        figures_(std::move(figures)) {}

  // The answer in the form a queued one has; nothing: the dialog takes its default.
  std::optional<std::string> ask(const sim::DialogQuestion& q);

 private:
  std::optional<std::string> message(const sim::DialogQuestion& q);
  std::optional<std::string> line(const sim::DialogQuestion& q);
  std::optional<std::string> options(const sim::DialogQuestion& q);
  std::optional<std::string> decompose(const sim::DialogQuestion& q);
  // The text in the login's language.
  const char* say(const char* english, const char* chinese) const {
    return chinese_ && chinese_() ? chinese : english;
  }

  std::ostream& out_;
  Reader read_;
  std::function<bool()> chinese_;
  LineFiguresSource figures_;
};

// The words of a decomposition edit as the dialog takes them: "edit 2 qty 500" -> "2.FAuxQty=500",
// "drop 2" -> "drop=2" (the dialog's own forms pass as they are); empty when it is no edit.
std::string decompositionEdit(const std::string& typed);

}  // namespace qx::qxhost
