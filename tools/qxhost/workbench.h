// The workbench: plays the ERP client against the component through the substitute host.
// It reads commands one per line (from a script file, standard input or the built-in demo),
// keeps named objects, and prints what a user of the host would see.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "sim/sim_host.h"

namespace qx::sim {
class ScheduleBill;
}

namespace qx::qxhost {

using automation::ObjectRef;
using automation::Variant;

// A command line split into words; "quoted text" stays one word (\" \\ \n \t escapes).
struct Line {
  std::vector<std::string> words;
  std::vector<bool> quoted;
  size_t size() const noexcept { return words.size(); }
};
Line tokenize(std::string_view text);

// Thrown for a command the workbench cannot carry out as written (bad syntax, unknown name).
struct UsageError {
  std::string message;
};
// Throws a usage error unless the line has `min` to `max` words, the command's name included.
void expectWords(const Line& l, size_t min, size_t max);
// The word as a whole number within 32 bits, or nothing.
std::optional<int32_t> wholeNumber(std::string_view word);
// Thrown by expect lines whose text the previous command's output does not bear out.
struct ExpectationFailed {
  std::string message;
};

class Workbench {
 public:
  using Handler = std::function<void(Workbench&, const Line&)>;
  struct Command {
    std::string name, usage, help;
    Handler run;
    // Lines that show the command at work, one per line, each beginning with the name.
    std::string example = {};
  };
  // Gives the next line of input; false at the end of the input.
  using LineReader = std::function<bool(std::string&)>;

  Workbench(sim::SimHost& host, std::ostream& out);
  ~Workbench();
  // The command set as a session has it, for a listing without a host.
  static std::vector<Command> commandSet();

  void addCommand(Command c);
  // Runs every line; returns the number of lines that failed as written or whose expectation
  // failed. In an interactive session a mistyped line is answered on the spot and not counted;
  // a failed expectation still is.
  int run(std::istream& in, bool interactive = false);
  int run(const LineReader& next, bool interactive);
  // Runs one line; false when it failed as written (the reason is printed).
  bool execute(std::string_view line);
  // Each failed line of the runs so far: "line N: reason".
  const std::vector<std::string>& failures() const noexcept { return failures_; }
  // What the session tells on standard error beside the failures (work left unsaved).
  const std::vector<std::string>& notices() const noexcept { return notices_; }
  void notice(std::string text) { notices_.push_back(std::move(text)); }

  sim::SimHost& host() noexcept { return *host_; }
  // Where commands print; a command's output is kept for the expect lines after it.
  std::ostream& out() noexcept { return buffer_; }
  // Where the traffic between host and plug-in goes (events, by-reference arguments, the
  // commands themselves): printed when verbose, the default; a guided tour shows only what the
  // user would see.
  std::ostream& trace() noexcept { return verbose_ ? buffer_ : quiet_; }
  bool verbose() const noexcept { return verbose_; }
  // Ends the run after the current line (quit, exit).
  void stop() noexcept { stopped_ = true; }
  void setVerbose(bool on) noexcept { verbose_ = on; }
  // Writes what the current command printed so far (a dialog is about to ask at the terminal).
  void flushOutput();
  // Where a command's output goes on a terminal (it pages long output); unset: straight out.
  void setPager(std::function<void(const std::string&)> pager) { pager_ = std::move(pager); }
  // The command before the current line and what it printed.
  const std::string& previousCommand() const noexcept { return previousCommand_; }
  const std::string& previousOutput() const noexcept { return previousOutput_; }

  // Named objects of the session ($name in commands).
  void setObject(const std::string& name, ObjectRef o);
  ObjectRef object(const std::string& name) const;
  void release(const std::string& name);
  bool hasObject(const std::string& name) const;

  // A literal: "text", 12, 1.5, true/false, empty, null, nothing, #yyyy-mm-dd#, $name, vector,
  // dictionary.
  Variant parseValue(const Line& line, size_t index) const;
  // How the user sees a value: texts quoted, vectors and dictionaries with their contents.
  static std::string formatValue(const Variant& v);
  // Prints an automation failure as the host shows it.
  void printError(const automation::Error& e);

  const std::vector<Command>& commands() const noexcept { return commands_; }
  const Command* findCommand(std::string_view name) const;
  // The command whose name is nearest to a mistyped one (a prefix of it, or a letter or two
  // away), or null.
  const Command* nearestCommand(std::string_view typed) const;

  // The schedule bill open in the session, if any.
  std::unique_ptr<sim::ScheduleBill> schedule;
  // The dates the capacity ledger is shown with: from a date (empty: the first), so many days
  // (0: all).
  std::string ledgerFrom;
  int ledgerDays = 0;
  // The guided tour's steps so far.
  int steps = 0;
  // The width of the user's terminal in columns; 0: the output goes to a script or a file.
  int terminalWidth = 0;

 private:
  explicit Workbench(std::ostream& out);
  // Runs one line; the reason of a failure goes to the output and to `lastFailure_`.
  bool dispatch(std::string_view text);
  bool fail(std::string message);
  // At the end of the input: false when the user chose to go on with the session.
  bool endOfInput(bool interactive);

  sim::SimHost* host_;
  std::ostream& out_;
  std::ostringstream buffer_;
  std::ostream quiet_{nullptr};
  bool verbose_ = true;
  bool stopped_ = false;
  int depth_ = 0;        // commands that run commands (later, queued events) print into one output
  int dispatching_ = 0;  // commands inside commands (a tour's steps) report their own
  std::string hostFailure_;  // the automation error the line's command ended with, if any
  std::string previousCommand_, previousOutput_, lastFailure_;
  std::string flushed_;  // what the current command printed before a dialog asked
  std::function<void(const std::string&)> pager_;
  std::vector<std::string> failures_;
  std::vector<std::string> notices_;
  std::vector<Command> commands_;
  std::map<std::string, ObjectRef> objects_;
};

// Command sets, one per area of the host.
void addCoreCommands(Workbench& w);
void addHostCommands(Workbench& w);
void addResourceCommands(Workbench& w);
void addWidgetCommands(Workbench& w);
void addScheduleCommands(Workbench& w);
void addAbilityCommands(Workbench& w);
void addPlanCommands(Workbench& w);
void addExpectCommands(Workbench& w);
void addTourCommands(Workbench& w);
void addExportCommands(Workbench& w);
void addSnapshotCommands(Workbench& w);
void addOrderCommands(Workbench& w);
void addAllCommands(Workbench& w);

// Before the open schedule bill goes (closed, another opened, the session ending): with unsaved
// changes asks "保存修改吗?" and prints what happened. False when the bill stays open (Cancel,
// or a save that did not happen) and `cancellable`; when the session ends, changes not saved are
// told in the notices.
bool releaseSchedule(Workbench& w, bool sessionEnds, bool cancellable);

// What a dialog showed and how it was answered; a report as the viewer shows it.
void printDialog(Workbench& w, const sim::ShownDialog& d);
void printReport(Workbench& w, const sim::ReportTable& r);

// The guided tour on the sample database (qxhost demo).
std::string demoScript();

}  // namespace qx::qxhost
