// The user's side of the substitute host's modal dialogs: a script (a test or a workbench
// scenario) queues the answers beforehand, each dialog takes the next answer queued for its
// kind, and every dialog shown is recorded with what it showed and the answer it got.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qx::sim {

// Dialog kinds of the substitute host.
namespace dialog_kind {
inline constexpr std::string_view kMessage = "message";      // message box: a button code
inline constexpr std::string_view kLine = "line";            // line browser: a line, or cancel
inline constexpr std::string_view kOptions = "options";      // capacity options: ok [KEY=V...]
inline constexpr std::string_view kDecompose = "decompose";  // plan decomposition: ok, edits
// The kinds answered with one word (the workbench's "answer"); the capacity loader's dialogs
// take several words each ("dialog options|decompose ...").
inline constexpr std::string_view kAll[] = {kMessage, kLine};
// The capacity loader's dialogs show several lines and take several words.
inline bool isLoaderDialog(std::string_view kind) {
  return kind == kOptions || kind == kDecompose;
}
}  // namespace dialog_kind

struct ShownDialog {
  std::string kind;     // a dialog kind
  std::string title;    // the dialog's title or caption
  std::string content;  // what it showed (prompt, filter, lines offered)
  std::string answer;   // what the user answered, as the dialog understood it
};

class DialogScript {
 public:
  // Kinds are matched ignoring letter case; answers of a kind are taken in order.
  void queue(std::string_view kind, std::string answer);
  // The next answer for the kind; none when the script has no answer left for it.
  std::optional<std::string> take(std::string_view kind);
  size_t pending(std::string_view kind) const;
  void clearAnswers() noexcept { answers_.clear(); }

  void record(ShownDialog shown);
  const std::vector<ShownDialog>& shown() const noexcept { return shown_; }
  size_t shownCount(std::string_view kind) const;
  void clearShown() noexcept { shown_.clear(); }
  // Called as each dialog is recorded (the workbench prints it).
  void onShown(std::function<void(const ShownDialog&)> observer) {
    observer_ = std::move(observer);
  }

 private:
  std::map<std::string, std::deque<std::string>> answers_;  // by lower-case kind
  std::vector<ShownDialog> shown_;
  std::function<void(const ShownDialog&)> observer_;
};

}  // namespace qx::sim
