// The capacity loader's two dialogs: the capacity options and the plan decomposition.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "sim/components/capacity/ability_load.h"
#include "sim/components/capacity/plan_proposal.h"
#include "sim/platform/host_date.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::HostDictionary;
using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr const char* kSource = "QxEIAbility.AbilityLoad";
constexpr const char* kOptionKeys[] = {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"};
constexpr const char* kOptionCaptions[] = {"only released schedule rows load the lines",
                                           "remaining capacity from today",
                                           "work orders without schedule rows load too"};

Error badAnswer(const std::string& word, const std::string& why) {
  return Error::invalidProcedureCall("the dialog cannot take \"" + word + "\": " + why, kSource);
}

std::pair<std::string, std::string> keyValue(const std::string& word) {
  size_t eq = word.find('=');
  if (eq == std::string::npos) throw badAnswer(word, "KEY=VALUE expected");
  return {word.substr(0, eq), word.substr(eq + 1)};
}

std::string dateText(int32_t serial) {
  return automation::formatDate(automation::Date{static_cast<double>(serial)});
}

std::string proposalText(const PlanProposal& p) {
  std::ostringstream out;
  out << "plan decomposition of " << p.workOrderNo << ": undecomposed "
      << automation::formatDouble(p.undecomposed) << "\n";
  int n = 1;
  for (const PlanPiece& piece : p.pieces) {
    out << "  " << n++ << ". " << dateText(piece.fromDay) << " .. " << dateText(piece.toDay) << "  "
        << piece.lineName << " (" << piece.lineId << ")  " << automation::formatDouble(piece.auxQty)
        << "  limits +" << automation::formatDouble(piece.highLimit) << "% "
        << automation::formatDouble(piece.highLimitQty) << " / -"
        << automation::formatDouble(piece.lowLimit) << "% "
        << automation::formatDouble(piece.lowLimitQty) << "\n";
  }
  if (p.undecomposed <= 0) {
    out << "  nothing left to decompose\n";
  } else if (p.pieces.empty()) {
    out << "  no line has free capacity\n";
  }
  if (p.leftOver > 0) {
    out << "  left over: " << automation::formatDouble(p.leftOver)
        << " (no free capacity of the item's lines in the plan period)\n";
  }
  return out.str();
}

// Applies one edit word to the proposal's pieces.
void edit(PlanProposal& p, const std::string& word) {
  auto [key, value] = keyValue(word);
  auto pieceAt = [&](const std::string& number) -> PlanPiece& {
    std::optional<double> n = automation::parseNumber(number);
    if (!n || *n < 1 || *n > static_cast<double>(p.pieces.size()) || *n != std::floor(*n)) {
      throw badAnswer(word, "there is no piece " + number);
    }
    return p.pieces[static_cast<size_t>(*n) - 1];
  };
  if (key == "drop") {
    PlanPiece& piece = pieceAt(value);
    p.pieces.erase(p.pieces.begin() + (&piece - p.pieces.data()));
    return;
  }
  size_t dot = key.find('.');
  if (dot == std::string::npos) throw badAnswer(word, "N.KEY=VALUE or drop=N expected");
  PlanPiece& piece = pieceAt(key.substr(0, dot));
  std::string field = key.substr(dot + 1);
  if (field == "FAuxQty") {
    std::optional<double> q = automation::parseNumber(value);
    if (!q || *q <= 0) throw badAnswer(word, "a quantity above 0 expected");
    piece.auxQty = *q;
    applyLimits(piece, piece.highLimit, piece.lowLimit);
  } else if (field == "FFromDate" || field == "FToDate") {
    std::optional<int64_t> day = daySerial(value);
    if (!day) throw badAnswer(word, "a date yyyy-mm-dd expected");
    (field == "FFromDate" ? piece.fromDay : piece.toDay) = static_cast<int32_t>(*day);
    if (piece.toDay < piece.fromDay) throw badAnswer(word, "the piece would end before it begins");
  } else if (field == "FLineiD") {
    std::optional<double> id = automation::parseNumber(value);
    auto line = std::find_if(p.lines.begin(), p.lines.end(),
                             [&](const AbilityLine& l) { return id && l.id == *id; });
    if (line == p.lines.end()) throw badAnswer(word, "that line may not make the item");
    piece.lineId = line->id;
    piece.lineName = line->name;
  } else {
    throw badAnswer(word, "FAuxQty, FFromDate, FToDate or FLineiD can be changed");
  }
}

bool optionOn(const HostDictionary& options, const char* key) {
  Variant v = options.valueOr(key, Variant());
  return !v.isEmpty() && !v.isNull() && v.value().toDouble() != 0;
}

std::string optionsText(const HostDictionary& options) {
  std::ostringstream text;
  text << "capacity options\n";
  for (size_t i = 0; i < std::size(kOptionKeys); ++i) {
    bool on = optionOn(options, kOptionKeys[i]);
    text << "  [" << (on ? "x" : " ") << "] " << kOptionKeys[i] << ": " << kOptionCaptions[i]
         << "\n";
  }
  return text.str();
}

// "ok" [KEY=0|1 ...]: the changes an answer makes to the options.
void applyOptionWords(const DialogAnswer& words, HostDictionary& options) {
  for (size_t i = words.empty() || words[0] != "ok" ? 0 : 1; i < words.size(); ++i) {
    auto [key, value] = keyValue(words[i]);
    if (std::find_if(std::begin(kOptionKeys), std::end(kOptionKeys),
                     [&key = key](const char* k) { return key == k; }) == std::end(kOptionKeys)) {
      throw badAnswer(words[i], "the options are FSchedule, CalcRemainAbility, FNoPlanICMO");
    }
    if (value != "0" && value != "1") throw badAnswer(words[i], "0 or 1 expected");
    options.set(key, Variant(static_cast<int16_t>(value == "1" ? 1 : 0)));
  }
}

Variant rowOf(const PlanPiece& piece) {
  auto row = HostDictionary::create();
  row->set("FFromDate", Variant(automation::Date{static_cast<double>(piece.fromDay)}));
  row->set("FToDate", Variant(automation::Date{static_cast<double>(piece.toDay)}));
  row->set("FAuxQty", Variant(piece.auxQty));
  row->set("FInHighLimit", Variant(piece.highLimit));
  row->set("FInHighLimitQty", Variant(piece.highLimitQty));
  row->set("FInLowLimit", Variant(piece.lowLimit));
  row->set("FInLowLimitQty", Variant(piece.lowLimitQty));
  row->set("FLineName", Variant(piece.lineName));
  row->set("FLineiD", Variant(piece.lineId));
  return Variant(row);
}

}  // namespace

std::optional<DialogAnswer> AbilityLoad::answer(const DialogQuestion& question) {
  return answers_ ? answers_->next(question) : std::nullopt;
}

void AbilityLoad::shown(std::string_view kind, std::string text, const DialogAnswer& words) {
  if (!answers_) return;
  std::string answer;
  for (const std::string& w : words) answer += (answer.empty() ? "" : " ") + w;
  std::string title = kind == dialog_kind::kOptions ? "产能选项" : "计划分解";
  if (texts_) title = (*texts_)(title);
  answers_->shown({std::string(kind), std::move(title), std::move(text), std::move(answer)});
}

Variant AbilityLoad::mShowAbilityOption(Args a) {
  automation::requireArgs(a, 1, "ShowAbilityOption");
  ObjectRef options = a[0].get().objectOrNull();
  if (!options)
    throw Error::objectRequired("ShowAbilityOption needs the capacity options", kSource);

  // The dialog works on a copy; only OK hands it back.
  auto edited = HostDictionary::create();
  if (auto* d = dynamic_cast<HostDictionary*>(options.get())) {
    for (const auto& [k, v] : d->entries()) edited->set(k, v);
  } else {
    for (const char* k : kOptionKeys)
      edited->set(k, options->call("GetValue", Variant(k), Variant()));
  }
  DialogQuestion question;
  question.kind = "options";
  question.content = optionsText(*edited);
  question.columns = {"option", "on", "meaning"};
  for (size_t i = 0; i < std::size(kOptionKeys); ++i) {
    question.choices.push_back(
        {kOptionKeys[i], optionOn(*edited, kOptionKeys[i]) ? "1" : "0", kOptionCaptions[i]});
  }
  question.preview = [&edited](const std::vector<std::string>& words) {
    auto changed = HostDictionary::create();
    for (const auto& [k, v] : edited->entries()) changed->set(k, v);
    applyOptionWords(words, *changed);
    return optionsText(*changed);
  };
  DialogAnswer words = answer(question).value_or(DialogAnswer{});
  bool ok = words.empty() || words[0] != "cancel";
  if (ok) applyOptionWords(words, *edited);
  std::string text = question.content;
  shown("options", std::move(text), words);
  if (!ok) {
    auto result = HostDictionary::create();
    result->set("OK", Variant(false));
    return Variant(result);
  }
  edited->set("OK", Variant(true));
  a[0].set(Variant(edited));
  return Variant(edited);
}

Variant AbilityLoad::mShow(Args a) {
  automation::requireArgs(a, 1, "Show");
  ObjectRef input = a[0].get().objectOrNull();
  if (!input) throw Error::objectRequired("Show needs a dictionary with \"RepICMO\"", kSource);
  Variant rep = input->call("GetValue", Variant("RepICMO"), Variant());
  double id = automation::leadingNumber(rep.isNull() || rep.isEmpty() ? std::string()
                                                                      : rep.value().toString());
  if (id <= 0 || id > 2147483647.0 || id != std::floor(id)) return Variant::nothing();

  AbilityOptions o;
  auto flag = [&](const char* key) {
    Variant v = input->call("GetValue", Variant(key), Variant());
    return !v.isEmpty() && !v.isNull() && v.value().toDouble() != 0;
  };
  o.releasedOnly = flag("FSchedule");
  o.unplannedOrders = flag("FNoPlanICMO");
  o.today = hostDate(today_);
  SqliteDb db = database_->open();
  // The bill open on the order knows its rows not saved yet.
  std::optional<double> open =
      bills_ ? bills_->undecomposed(static_cast<int32_t>(id)) : std::nullopt;
  std::optional<PlanProposal> proposal = proposePlan(db, static_cast<int32_t>(id), o, open);
  if (!proposal) return Variant::nothing();

  std::string text = proposalText(*proposal);
  DialogQuestion question{"decompose", "", text, {}, {}, nullptr};
  question.preview = [&proposal](const std::vector<std::string>& edits) {
    PlanProposal edited = *proposal;
    for (const std::string& w : edits) {
      if (w != "accept") edit(edited, w);
    }
    return proposalText(edited);
  };
  DialogAnswer words = answer(question).value_or(DialogAnswer{});
  bool cancelled = !words.empty() && words[0] == "cancel";
  if (!cancelled) {
    for (const std::string& w : words) {
      if (w != "accept") edit(*proposal, w);
    }
    // The dialog plans what is left to plan, no more.
    double total = 0;
    for (const PlanPiece& piece : proposal->pieces) total += piece.auxQty;
    if (total > proposal->undecomposed + 1e-9 * std::max(1.0, proposal->undecomposed)) {
      std::string all;
      for (const std::string& w : words) all += (all.empty() ? "" : " ") + w;
      throw badAnswer(
          all, "the pieces would total " + automation::formatDouble(total) + ", more than the " +
                   automation::formatDouble(proposal->undecomposed) + " left to decompose");
    }
  }
  shown("decompose", text, words);
  if (cancelled || proposal->pieces.empty()) return Variant::nothing();
  auto rows = automation::HostVector::create();
  for (const PlanPiece& piece : proposal->pieces) rows->add(rowOf(piece));
  return Variant(rows);
}

}  // namespace qx::sim
