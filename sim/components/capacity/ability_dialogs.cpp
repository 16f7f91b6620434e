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
  if (p.pieces.empty()) out << "  no line has free capacity\n";
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

std::optional<DialogAnswer> AbilityLoad::answer(std::string_view kind) {
  return answers_ ? answers_->next(kind) : std::nullopt;
}

void AbilityLoad::shown(std::string_view kind, std::string text, const DialogAnswer& words) {
  if (!answers_) return;
  std::string answer;
  for (const std::string& w : words) answer += (answer.empty() ? "" : " ") + w;
  answers_->shown({std::string(kind), "", std::move(text), std::move(answer)});
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
  std::ostringstream text;
  text << "capacity options\n";
  for (size_t i = 0; i < std::size(kOptionKeys); ++i) {
    Variant v = edited->valueOr(kOptionKeys[i], Variant());
    bool on = !v.isEmpty() && !v.isNull() && v.value().toDouble() != 0;
    text << "  [" << (on ? "x" : " ") << "] " << kOptionKeys[i] << ": " << kOptionCaptions[i]
         << "\n";
  }

  DialogAnswer words = answer("options").value_or(DialogAnswer{});
  bool ok = words.empty() || words[0] != "cancel";
  if (ok) {
    for (size_t i = words.empty() || words[0] != "ok" ? 0 : 1; i < words.size(); ++i) {
      auto [key, value] = keyValue(words[i]);
      if (std::find_if(std::begin(kOptionKeys), std::end(kOptionKeys),
                       [&key = key](const char* k) { return key == k; }) == std::end(kOptionKeys)) {
        throw badAnswer(words[i], "the options are FSchedule, CalcRemainAbility, FNoPlanICMO");
      }
      if (value != "0" && value != "1") throw badAnswer(words[i], "0 or 1 expected");
      edited->set(key, Variant(static_cast<int16_t>(value == "1" ? 1 : 0)));
    }
  }
  shown("options", text.str(), words);
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
  std::optional<PlanProposal> proposal = proposePlan(db, static_cast<int32_t>(id), o);
  if (!proposal) return Variant::nothing();

  std::string text = proposalText(*proposal);
  DialogAnswer words = answer("decompose").value_or(DialogAnswer{});
  bool cancelled = !words.empty() && words[0] == "cancel";
  if (!cancelled) {
    for (const std::string& w : words) {
      if (w != "accept") edit(*proposal, w);
    }
  }
  shown("decompose", text, words);
  if (cancelled || proposal->pieces.empty()) return Variant::nothing();
  auto rows = automation::HostVector::create();
  for (const PlanPiece& piece : proposal->pieces) rows->add(rowOf(piece));
  return Variant(rows);
}

}  // namespace qx::sim
