// Workbench commands of the capacity loader: the capacity result of a work order as the
// schedule plug-in receives it, and large plants for trials and benchmarks.
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/recordset.h"
#include "automation/text.h"
#include "host/prog_ids.h"
#include "sim/controls/text_table.h"
#include "sim/db/plant_generator.h"
#include "tools/qxhost/commands/ability_result.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

int32_t wholeNumber(const Line& l, size_t i, const char* what) {
  if (i >= l.size()) throw UsageError{std::string("missing ") + what};
  auto n = qxhost::wholeNumber(l.words[i]);
  if (!n) throw UsageError{std::string(what) + " is not a whole number: " + l.words[i]};
  return *n;
}

std::string fixed(double v, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

void printResult(Workbench& w, automation::Recordset& rs) {
  static const char* const kFields[] = {"FLineNumber", "FLineName", "FWorkCenter", "FProductivity",
                                        "FDate",       "FAbility",  "FLoad",       "FDiff",
                                        "FDiffRate",   "FQty",      "FAuxQty"};
  std::vector<size_t> columns;
  for (const char* f : kFields) columns.push_back(rs.column(Variant(f)));
  size_t decimalsColumn = rs.column(Variant("FQtyDecimal"));
  std::vector<std::vector<std::string>> rows{{kFields, kFields + std::size(kFields)}};
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    int decimals = rs.value(decimalsColumn).toInt32();
    std::vector<std::string> row;
    for (size_t i = 0; i < columns.size(); ++i) {
      const Variant& v = rs.value(columns[i]);
      if (i < 3) {
        row.push_back(v.toString());
      } else if (i == 4) {
        row.push_back(automation::formatDate(v.toDate()));
      } else {
        row.push_back(fixed(v.toDouble(), i >= 9 ? decimals : 2));
      }
    }
    rows.push_back(std::move(row));
  }
  std::vector<size_t> widths(columns.size(), 0);
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      widths[i] = std::max(widths[i], sim::displayWidth(row[i]));
    }
  }
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      w.out() << (i < 3 ? sim::padRight(row[i], widths[i]) : sim::padLeft(row[i], widths[i]))
              << "|";
    }
    w.out() << "\n";
  }
}

// ability <work order id> [FSchedule=0|1] [CalcRemainAbility=0|1] [FNoPlanICMO=0|1]
void cmdAbility(Workbench& w, const Line& l) {
  auto rs = loadAbility(w, l, 1);
  if (!rs) {
    w.out() << say(w, "no capacity result: work order ", "没有产能结果: 任务单 ") << l.words[1]
            << say(w, " is unknown", " 不存在")
            << " (sql \"SELECT FInterID, FBillNo FROM icmo WHERE FType = 2\" "
            << say(w, "lists the repetitive work orders)\n", "列出重复生产任务单)\n");
    return;
  }
  w.out() << say(w, "capacity result of work order ", "任务单的产能结果 ") << l.words[1] << ": "
          << rs->recordCount() << say(w, " rows\n", " 行\n");
  if (rs->recordCount() > 0) printResult(w, *rs);
}

// plant generate <file> <lines> <days>
void cmdPlant(Workbench& w, const Line& l) {
  if (l.size() != 5 || automation::asciiLower(l.words[1]) != "generate") {
    throw UsageError{"plant generate <file> <lines> <days>"};
  }
  int lines = wholeNumber(l, 3, "lines");
  int days = wholeNumber(l, 4, "days");
  std::error_code ec;
  if (std::filesystem::equivalent(l.words[2], w.host().options().databaseFile(), ec)) {
    throw UsageError{l.words[2] + " is the session's database; give the plant a file of its own"};
  }
  int32_t order = sim::generatePlant(l.words[2], lines, days);
  w.out() << "plant " << l.words[2] << ": " << lines << " lines x " << days
          << " days from 2027-01-01, work order " << order << "\n";
}

}  // namespace

automation::Ref<automation::Recordset> loadAbility(Workbench& w, const Line& l, size_t first) {
  int32_t id = wholeNumber(l, first, "work order id");
  auto options = automation::HostDictionary::create();
  for (const char* key : {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"}) {
    options->set(key, Variant(0));
  }
  for (size_t i = first + 1; i < l.size(); ++i) {
    size_t eq = l.words[i].find('=');
    std::string key = l.words[i].substr(0, eq);
    std::string value = eq == std::string::npos ? "" : l.words[i].substr(eq + 1);
    if (!options->find(key) || (value != "0" && value != "1")) {
      throw UsageError{"expected FSchedule=0|1, CalcRemainAbility=0|1 or FNoPlanICMO=0|1, not " +
                       l.words[i]};
    }
    options->set(key, Variant(value == "1" ? 1 : 0));
  }
  options->set("RepICMO", Variant(static_cast<double>(id)));
  // As the schedule plug-in does it: a fresh loader by identifier, the options by reference.
  // The workbench asks aside: the answer the bill holds stays the one a snapshot draws.
  sim::AbilityAnswer billsAnswer = w.host().abilityAnswers().latest();
  ObjectRef loader = w.host().platform().createObject(host::prog_id::kAbilityLoad);
  Variant arg{ObjectRef(options)};
  Variant result;
  try {
    result = loader->call("GetAbilityByRepICMO", automation::byRef(arg));
  } catch (...) {
    w.host().abilityAnswers().record(std::move(billsAnswer));
    throw;
  }
  w.host().abilityAnswers().record(std::move(billsAnswer));
  return automation::refCast<automation::Recordset>(result.objectOrNull());
}

void addAbilityCommands(Workbench& w) {
  w.addCommand({"ability",
                "<work order id> [FSchedule=0|1] [CalcRemainAbility=0|1] [FNoPlanICMO=0|1]",
                "the capacity result of a work order from the capacity loader", cmdAbility,
                "ability 5001\nability 5001 FSchedule=1 CalcRemainAbility=1"});
  w.addCommand({"plant", "generate <file> <lines> <days>",
                "writes a large plant database (one work order over all its days)", cmdPlant,
                "plant generate plant.db 50 90"});
}

}  // namespace qx::qxhost
