// Exports of what the schedule form shows: the capacity ledger's rows as the ledger control
// holds them, the last report the viewer showed and the capacity loader's result, as CSV
// files.
#include <iterator>
#include <ostream>

#include "automation/conversions.h"
#include "automation/text.h"
#include "sim/bills/schedule_bill.h"
#include "sim/components/reports/report_shelf.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/text_table.h"
#include "tools/qxhost/commands/ability_result.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/whole_file.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

// The ledger's rows as the control shows them: merge marks and heading marks taken off the
// first header line, the second header line blank under a one-level heading, hidden columns
// left out.
sim::ReportTable ledgerTable(Workbench& w) {
  if (!w.schedule) throw UsageError{"no schedule bill is open (schedule open <work order id>)"};
  const sim::LedgerGrid& ledger = *w.schedule->form().ldgAbility;
  const std::vector<std::string>& texts = ledger.texts();
  if (texts.empty()) {
    throw UsageError{"the capacity ledger shows nothing yet (select a row with a line first)"};
  }
  std::vector<std::vector<std::string>> rows;
  for (const std::string& text : texts) rows.push_back(sim::splitCells(text));
  std::vector<bool> oneLevel;
  for (std::string& cell : rows[0]) {
    if (!cell.empty() && cell.back() == '+') cell.pop_back();
    oneLevel.push_back(cell.find('$') != std::string::npos);
    std::erase(cell, '$');
  }
  if (ledger.fixedRows() >= 2 && rows.size() > 1) {
    for (size_t c = 0; c < rows[1].size() && c < oneLevel.size(); ++c) {
      if (oneLevel[c]) rows[1][c].clear();
    }
  }
  for (auto& row : rows) {
    std::vector<std::string> shown;
    for (size_t c = 0; c < row.size(); ++c) {
      bool hidden = static_cast<int32_t>(c) < ledger.cols() &&
                    ledger.column(static_cast<int32_t>(c) + 1).hidden();
      if (!hidden) shown.push_back(std::move(row[c]));
    }
    row = std::move(shown);
  }
  // The dates `schedule window` chose, as the ledger is shown.
  if (!w.ledgerFrom.empty() || w.ledgerDays > 0) {
    std::vector<bool> keep(rows[0].size(), true);
    int kept = 0;
    for (size_t c = 0; c < rows[0].size(); ++c) {
      const std::string& caption = rows[0][c];
      if (caption.size() != 10 || !automation::parseDate(caption)) continue;
      keep[c] = caption >= w.ledgerFrom && (w.ledgerDays == 0 || kept < w.ledgerDays);
      kept += keep[c] ? 1 : 0;
    }
    for (auto& row : rows) {
      std::vector<std::string> shown;
      for (size_t c = 0; c < row.size(); ++c) {
        if (c >= keep.size() || keep[c]) shown.push_back(std::move(row[c]));
      }
      row = std::move(shown);
    }
  }
  sim::ReportTable t;
  t.columns = std::move(rows[0]);
  t.rows.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
  return t;
}

// The capacity loader's recordset as it comes: the field names, then one row per line and
// date; dates as yyyy-mm-dd, numbers unrounded.
sim::ReportTable abilityTable(Workbench& w, const Line& l) {
  auto rs = loadAbility(w, l, 4);
  if (!rs) {
    throw UsageError{"work order " + l.words[4] +
                     " is unknown (sql \"SELECT FInterID, FBillNo FROM icmo WHERE FType = 2\" "
                     "lists the repetitive work orders)"};
  }
  sim::ReportTable t;
  for (size_t c = 0; c < rs->fieldCount(); ++c) t.columns.push_back(rs->fieldDef(c).name);
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    std::vector<std::string> row;
    for (size_t c = 0; c < rs->fieldCount(); ++c) {
      const Variant& v = rs->value(c);
      row.push_back(v.type() == automation::VarType::Date ? automation::formatDate(v.toDate())
                    : v.isNull()                          ? std::string()
                                                          : v.toString());
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

void cmdExport(Workbench& w, const Line& l) {
  constexpr const char* kUsage =
      "export --csv FILE ledger|report|ability <work order id> [options], as in export --csv "
      "ledger.csv ledger";
  if (l.size() < 4 || !automation::equalsIgnoreCase(l.words[1], "--csv")) {
    throw UsageError{kUsage};
  }
  std::string what = automation::asciiLower(l.words[3]);
  sim::ReportTable table;
  if (what == "ability") {
    if (l.size() < 5) throw UsageError{"missing the work order id after ability"};
    table = abilityTable(w, l);
  } else if (what != "ledger" && what != "report") {
    throw UsageError{"export what: ledger, report or ability, not " + l.words[3]};
  } else if (l.size() > 4) {
    throw UsageError{"too many arguments: \"" + l.words[4] + "\" is one too many"};
  } else if (what == "ledger") {
    table = ledgerTable(w);
  } else {
    const auto& shown = w.host().reports().shown();
    if (shown.empty()) throw UsageError{"no report has been shown yet (schedule click viewload)"};
    table = shown.back();
  }
  writeWhole(l.words[2], sim::reportCsv(table));
  w.out() << say(w, "wrote ", "已写入 ") << l.words[2] << ": " << table.rows.size() + 1
          << say(w, " lines\n", " 行\n");
}

}  // namespace

void addExportCommands(Workbench& w) {
  w.addCommand({"export",
                "--csv FILE ledger|report|ability <work order id> [FSchedule=0|1] "
                "[CalcRemainAbility=0|1] [FNoPlanICMO=0|1]",
                "writes the capacity ledger's rows, the last report shown or a work order's "
                "capacity result to a CSV file (whole or not at all)",
                cmdExport,
                "export --csv ledger.csv ledger\nexport --csv capacity.csv ability 5001 "
                "FSchedule=1"});
}

}  // namespace qx::qxhost
