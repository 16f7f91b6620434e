#include "tools/qxhost/workbench.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/steps.h"
#include "automation/text.h"
#include "sim/bills/schedule_bill.h"
#include "tools/qxhost/session/interrupt.h"

namespace qx::qxhost {

using automation::Error;

Line tokenize(std::string_view s) {
  Line line;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
    if (i >= s.size() || s[i] == '#') break;
    std::string w;
    bool quoted = false;
    if (s[i] == '"') {
      quoted = true;
      for (++i;; ++i) {
        if (i >= s.size()) throw UsageError{"unclosed quote"};
        char c = s[i];
        if (c == '"') {
          ++i;
          break;
        }
        if (c == '\\' && i + 1 < s.size()) {
          char n = s[++i];
          w += n == 'n' ? '\n' : n == 't' ? '\t' : n == 'r' ? '\r' : n;
        } else {
          w += c;
        }
      }
    } else {
      // #...# dates keep their marks so a date is not read as a comment.
      if (s[i] == '#') break;
      while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r') w += s[i++];
    }
    line.words.push_back(std::move(w));
    line.quoted.push_back(quoted);
  }
  return line;
}

namespace {

// The line's words; none when the line cannot be read (running it then says why).
Line wordsOf(std::string_view text) {
  try {
    return tokenize(text);
  } catch (const UsageError&) {
    return {};
  }
}

// The command a line names, in lower case; empty for a blank or comment line.
std::string commandName(const Line& line) {
  return line.words.empty() ? std::string() : automation::asciiLower(line.words[0]);
}

}  // namespace

Workbench::Workbench(sim::SimHost& host, std::ostream& out) : host_(&host), out_(out) {
  addAllCommands(*this);
}

// Registering the commands touches no host: a listing needs none.
Workbench::Workbench(std::ostream& out) : host_(nullptr), out_(out) {
  addAllCommands(*this);
}

std::vector<Workbench::Command> Workbench::commandSet() {
  std::ostringstream unused;
  return Workbench(unused).commands_;
}

Workbench::~Workbench() {
  // An open bill closes first: its plug-in saves its settings while the host still stands.
  schedule.reset();
  objects_.clear();
}

void Workbench::addCommand(Command c) {
  for (Command& existing : commands_) {
    if (existing.name == c.name) {
      existing = std::move(c);
      return;
    }
  }
  commands_.push_back(std::move(c));
}

void Workbench::flushOutput() {
  std::string printed = buffer_.str();
  buffer_.str("");
  out_ << printed << std::flush;
  flushed_ += printed;
}

bool Workbench::fail(std::string message) {
  out() << message << "\n";
  lastFailure_ = std::move(message);
  return false;
}

bool Workbench::execute(std::string_view text) {
  if (depth_ > 0) return dispatch(text);
  buffer_.str("");
  ++depth_;
  bool ok = dispatch(text);
  --depth_;
  std::string rest = buffer_.str();
  buffer_.str("");
  if (pager_) {
    pager_(rest);
  } else {
    out_ << rest;
  }
  std::string printed = std::move(flushed_) + rest;
  flushed_.clear();
  Line line = wordsOf(text);
  std::string name = commandName(line);
  // Expectations check, and a tour's narration stands between, the command before them.
  bool expectation = name == "expect" || name == "expect-not" || name == "step";
  if (!line.words.empty() && !expectation) {
    previousCommand_ = std::string(text);
    previousOutput_ = std::move(printed);
  }
  return ok;
}

namespace {

// The part of a usage that fits the line: "open <id>" of "open <id> | layout | ..." when the
// line's second word is "open"; the whole usage when no alternative starts with that word.
std::string usageFor(const Workbench::Command& c, const Line& line) {
  const std::string& usage = c.usage;
  if (line.size() < 2) return usage;
  std::string word = automation::asciiLower(line.words[1]);
  for (size_t at = 0; at <= usage.size();) {
    size_t end = usage.find(" | ", at);
    if (end == std::string::npos) end = usage.size();
    std::string alternative = usage.substr(at, end - at);
    std::string first = automation::asciiLower(alternative.substr(0, alternative.find(' ')));
    for (size_t k = 0; k < first.size();) {
      size_t bar = first.find('|', k);
      if (bar == std::string::npos) bar = first.size();
      if (first.compare(k, bar - k, word) == 0) return alternative;
      k = bar + 1;
    }
    at = end + 3;
  }
  return usage;
}

size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

}  // namespace

void expectWords(const Line& l, size_t min, size_t max) {
  if (l.size() < min) throw UsageError{"missing arguments"};
  if (l.size() > max) {
    throw UsageError{"too many arguments: \"" + l.words[max] + "\" is one too many"};
  }
}

std::optional<int32_t> wholeNumber(std::string_view word) {
  std::optional<double> n;
  try {
    n = automation::parseNumber(word);
  } catch (const Error&) {
    return std::nullopt;  // beyond the range of a number
  }
  if (!n || *n < -2147483648.0 || *n > 2147483647.0 || *n != std::floor(*n)) return std::nullopt;
  return static_cast<int32_t>(*n);
}

const Workbench::Command* Workbench::findCommand(std::string_view name) const {
  std::string lower = automation::asciiLower(name);
  for (const Command& c : commands_) {
    if (c.name == lower) return &c;
  }
  return nullptr;
}

const Workbench::Command* Workbench::nearestCommand(std::string_view typed) const {
  std::string lower = automation::asciiLower(typed);
  if (lower.empty()) return nullptr;
  // The beginning of one name only.
  const Command* best = nullptr;
  for (const Command& c : commands_) {
    if (lower.size() < 2 || c.name.compare(0, lower.size(), lower) != 0) continue;
    if (best) {
      best = nullptr;
      break;
    }
    best = &c;
  }
  if (best) return best;
  size_t bestDistance = 3;  // three letters wrong make another word
  for (const Command& c : commands_) {
    size_t d = editDistance(lower, c.name);
    if (d < bestDistance && d <= c.name.size() / 2) {
      best = &c;
      bestDistance = d;
    }
  }
  return best;
}

bool Workbench::dispatch(std::string_view text) {
  Line line;
  try {
    line = tokenize(text);
  } catch (const UsageError& u) {
    size_t start = text.find_first_not_of(" \t");
    std::string first(text.substr(start, text.find_first_of(" \t", start) - start));
    return fail("usage error: " + first + ": " + u.message);
  }
  if (line.words.empty()) return true;
  const Command* found = findCommand(line.words[0]);
  if (!found) {
    const Command* near = nearestCommand(line.words[0]);
    return fail("usage error: unknown command \"" + line.words[0] + "\" (" +
                (near ? "did you mean " + near->name + "? " : std::string()) +
                "help lists the commands)");
  }
  const Command& c = *found;
  ++dispatching_;
  struct Leave {
    int& n;
    ~Leave() { --n; }
  } leave{dispatching_};
  try {
    c.run(*this, line);
    return true;
  } catch (const UsageError& u) {
    return fail("usage error: " + c.name + ": " + u.message + "; usage: " + c.name + " " +
                usageFor(c, line));
  } catch (const ExpectationFailed& e) {
    return fail("expectation failed: " + c.name + ": " + e.message);
  } catch (const Error& e) {
    if (interruptRequested()) {
      clearInterrupt();
      out() << c.name << ": stopped (Ctrl-C); what it had begun is undone\n";
      return true;
    }
    // The host call failed: that is the outcome, the script goes on (and checks it next).
    out() << c.name << ": ";
    printError(e);
    if (dispatching_ == 1) hostFailure_ = c.name + ": error " + std::to_string(e.number());
    return true;
  } catch (const std::exception& e) {
    return fail("usage error: " + c.name + ": " + e.what() + "; usage: " + c.name + " " +
                usageFor(c, line));
  }
}

int Workbench::run(std::istream& in, bool interactive) {
  return run(
      [&](std::string& text) {
        if (interactive) out_ << "qxhost> " << std::flush;
        return static_cast<bool>(std::getline(in, text));
      },
      interactive);
}

int Workbench::run(const LineReader& next, bool interactive) {
  int failed = 0;
  std::string text;
  // A script's host call that failed must be checked by an expect line right after it: an
  // error nobody looked at is a finding, not an outcome.
  std::string unchecked;
  auto reportUnchecked = [&] {
    if (unchecked.empty()) return;
    ++failed;
    failures_.push_back(unchecked);
    unchecked.clear();
  };
  for (int number = 1;; ++number) {
    if (!next(text)) {
      if (endOfInput(interactive)) break;
      continue;  // Ctrl-D answered Cancel: the session goes on
    }
    const Line l = wordsOf(text);
    if (!interactive) {
      std::string name = commandName(l);
      if (name == "expect" || name == "expect-not") {
        unchecked.clear();
      } else {
        reportUnchecked();
      }
    }
    hostFailure_.clear();
    clearInterrupt();
    if (!interactive && verbose_) {
      if (!l.words.empty()) {
        out_ << "> " << text << "\n";
      } else if (size_t c = text.find_first_not_of(" \t");
                 c != std::string::npos && text[c] == '#') {
        out_ << text << "\n";  // a script's comments narrate the scenario
      }
    }
    // The user of a session sees a mistyped line answered and types it again; a failed
    // expectation is a finding there too.
    if (!execute(text) && (!interactive || lastFailure_.rfind("expectation failed", 0) == 0)) {
      ++failed;
      failures_.push_back("line " + std::to_string(number) + ": " + lastFailure_);
    }
    if (!interactive && !hostFailure_.empty()) {
      unchecked = "line " + std::to_string(number) + ": " + hostFailure_ +
                  ", and no expect line after it checks the outcome";
    }
    if (stopped_) break;
  }
  reportUnchecked();
  stopped_ = false;
  return failed;
}

bool Workbench::endOfInput(bool interactive) {
  if (!schedule || !schedule->changed()) return true;
  buffer_.str("");
  ++depth_;
  bool ends = releaseSchedule(*this, true, interactive);
  --depth_;
  out_ << buffer_.str();
  buffer_.str("");
  return ends;
}

void Workbench::setObject(const std::string& name, ObjectRef o) {
  objects_[name] = std::move(o);
}

ObjectRef Workbench::object(const std::string& name) const {
  std::string n = !name.empty() && name[0] == '$' ? name.substr(1) : name;
  auto it = objects_.find(n);
  if (it == objects_.end()) throw UsageError{"no object named $" + n};
  return it->second;
}

bool Workbench::hasObject(const std::string& name) const {
  return objects_.count(name) > 0;
}

void Workbench::release(const std::string& name) {
  std::string n = !name.empty() && name[0] == '$' ? name.substr(1) : name;
  auto it = objects_.find(n);
  if (it == objects_.end()) throw UsageError{"no object named $" + n};
  ObjectRef o = std::move(it->second);
  objects_.erase(it);
}

Variant Workbench::parseValue(const Line& line, size_t index) const {
  if (index >= line.size()) throw UsageError{"missing value"};
  const std::string& w = line.words[index];
  if (line.quoted[index]) return Variant(w);
  std::string lower = automation::asciiLower(w);
  if (lower == "true") return Variant(true);
  if (lower == "false") return Variant(false);
  if (lower == "empty") return Variant();
  if (lower == "null") return Variant::null();
  if (lower == "nothing") return Variant::nothing();
  if (lower == "vector") return Variant(automation::HostVector::create());
  if (lower == "dictionary") return Variant(automation::HostDictionary::create());
  if (!w.empty() && w[0] == '$') return Variant(object(w));
  if (w.size() > 2 && w.front() == '#' && w.back() == '#') {
    if (auto d = automation::parseDate(w.substr(1, w.size() - 2))) return Variant(*d);
    throw UsageError{"not a date: " + w};
  }
  if (auto n = automation::parseNumber(w); n && w.find(',') == std::string::npos) {
    bool integral = w.find_first_of(".eEdD") == std::string::npos;
    if (integral && *n >= -2147483648.0 && *n <= 2147483647.0) {
      return Variant(static_cast<int32_t>(*n));
    }
    return Variant(*n);
  }
  throw UsageError{"not a value: " + w + " (quote texts)"};
}

std::string Workbench::formatValue(const Variant& v) {
  using automation::VarType;
  switch (v.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::String:
      return "\"" + *v.stringIf() + "\"";
    case VarType::Integer:
      return v.toString() + " (Integer)";
    case VarType::Object: {
      ObjectRef o = v.objectOrNull();
      if (!o) return "Nothing";
      if (auto* vec = dynamic_cast<automation::HostVector*>(o.get())) {
        std::string r = "HostVector[";
        for (size_t i = 0; i < vec->items().size(); ++i) {
          r += (i ? ", " : "") + formatValue(vec->items()[i]);
        }
        return r + "]";
      }
      if (auto* d = dynamic_cast<automation::HostDictionary*>(o.get())) {
        std::string r = "{";
        bool first = true;
        for (const auto& [k, val] : d->entries()) {
          r += (first ? "" : ", ") + k + ": " + formatValue(val);
          first = false;
        }
        return r + "}";
      }
      return "<" + o->typeName() + ">";
    }
    case VarType::Date:
      return "#" + v.toString() + "#";
    default:
      return v.toString();
  }
}

void Workbench::printError(const Error& e) {
  out() << "error " << e.number() << ": " << e.description();
  if (!e.source().empty()) out() << " [" << e.source() << "]";
  out() << "\n";
}

void addProtocolCommands(Workbench& w);  // commands/protocol_commands.cpp

void addAllCommands(Workbench& w) {
  addCoreCommands(w);
  addHostCommands(w);
  addResourceCommands(w);
  addWidgetCommands(w);
  addScheduleCommands(w);
  addAbilityCommands(w);
  addPlanCommands(w);
  addExpectCommands(w);
  addTourCommands(w);
  addExportCommands(w);
  addSnapshotCommands(w);
  addOrderCommands(w);
  addProtocolCommands(w);
}

}  // namespace qx::qxhost
