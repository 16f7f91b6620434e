#include "sim/bills/schedule_save.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "sim/bills/schedule_form.h"
#include "sim/components/lines/item_line_query.h"

namespace qx::sim {

using automation::Error;
using automation::Variant;
using automation::VarType;

namespace {

// Reads the cells of one grid row, each converted for its field, with errors that name the
// row and the column.
class RowReader {
 public:
  RowReader(const GridControl& grid, int32_t row) : grid_(grid), row_(row) {}

  const Variant& cell(std::string_view key) const {
    return grid_.cell(row_, scheduleColumnIndex(key)).value;
  }
  bool blank(std::string_view key) const {
    const Variant& v = cell(key);
    if (v.isEmpty() || v.isNull()) return true;
    const std::string* s = v.stringIf();
    return s && s->find_first_not_of(" \t") == std::string::npos;
  }
  [[noreturn]] void fail(std::string_view key, std::string_view why) const {
    std::string caption = grid_.captions()[scheduleColumnIndex(key) - 1];
    throw Error(13,
                "Row " + std::to_string(row_ - 1) + " of the schedule, " + caption + " \"" +
                    grid_.cellText(row_, scheduleColumnIndex(key)) + "\": " + std::string(why),
                "ScheduleBill");
  }

  std::optional<double> number(std::string_view key) const {
    if (blank(key)) return std::nullopt;
    const Variant& v = cell(key);
    if (v.type() == VarType::Boolean || !automation::isNumeric(v)) fail(key, "not a number");
    return v.toDouble();
  }
  double numberOr0(std::string_view key) const { return number(key).value_or(0); }
  std::optional<int32_t> whole(std::string_view key) const {
    std::optional<double> n = number(key);
    if (!n) return std::nullopt;
    if (*n != std::floor(*n) || *n < -2147483648.0 || *n > 2147483647.0) {
      fail(key, "not a whole number of 32 bits");
    }
    return static_cast<int32_t>(*n);
  }
  Variant date(std::string_view key) const {
    if (blank(key)) return Variant::null();
    const Variant& v = cell(key);
    if (v.type() == VarType::Date) return Variant(automation::formatDate(v.toDate()));
    if (auto d = automation::parseDate(v.toString())) {
      return Variant(automation::formatDate(*d));
    }
    fail(key, "not a date");
  }
  std::string text(std::string_view key) const { return blank(key) ? "" : cell(key).toString(); }
  Variant textOrNull(std::string_view key) const {
    return blank(key) ? Variant::null() : Variant(cell(key).toString());
  }
  std::string flag(std::string_view key) const {
    std::string t = text(key);
    if (t.empty()) return "N";
    if (t != "Y" && t != "N") fail(key, "neither Y nor N");
    return t;
  }

 private:
  const GridControl& grid_;
  int32_t row_;
};

bool isProductionLine(SqliteDb& db, int32_t lineId) {
  auto rs = db.query("SELECT count(*) FROM t_resource WHERE FInterID = " + std::to_string(lineId) +
                     " AND FTypeID = " + std::to_string(kProductionLineType));
  return rs->value(0).toInt32() > 0;
}

constexpr const char* kFields =
    "FEntryID, FBillNo, FBeginDate, FEndDate, FAuxQty, FInHighLimit, FInHighLimitQty, "
    "FInLowLimit, FInLowLimitQty, FLineID, FStatus, FCheckDate, FBiller, FBatchNo, FCancel, "
    "FSuspend";

// The internal id of a row the database already holds; a blank id or 0 (as rows added in the
// bill carry, for example by the plan wizard) is a new row.
std::optional<int32_t> savedId(const RowReader& row) {
  std::optional<int32_t> id = row.whole("ColInterId");
  if (id && *id == 0) return std::nullopt;
  return id;
}

}  // namespace

SavedRows saveScheduleRows(SqliteDb& db, int32_t workOrderId, const GridControl& grid) {
  SavedRows saved;
  db.transaction([&] {
    // The work order's rows that the grid no longer holds go first, so that their bill numbers
    // are free for the rows that stay.
    std::string kept;
    for (int32_t r = 2; r <= grid.rows(); ++r) {
      if (std::optional<int32_t> id = savedId(RowReader(grid, r))) {
        kept += (kept.empty() ? "" : ", ") + std::to_string(*id);
      }
    }
    saved.removed = db.change(
        "DELETE FROM t_eiRepSchedule WHERE FICMOInterID = ? AND FInterID "
        "NOT IN (" +
            kept + ")",
        std::vector<Variant>{Variant(workOrderId)});

    for (int32_t r = 2; r <= grid.rows(); ++r) {
      RowReader row(grid, r);
      if (row.text("ColBillNo").empty()) row.fail("ColBillNo", "a schedule row needs its number");
      int32_t lineId = row.whole("ColLineId").value_or(0);
      if (lineId != 0 && !isProductionLine(db, lineId)) {
        row.fail("ColLineId", "no production line has this internal id");
      }
      std::vector<Variant> values = {
          Variant(row.whole("ColNo").value_or(r - 1)),
          Variant(row.text("ColBillNo")),
          row.date("ColBDate"),
          row.date("ColEDate"),
          Variant(row.numberOr0("ColQty")),
          Variant(row.numberOr0("ColInHighLimit")),
          Variant(row.numberOr0("ColInHighLimitQty")),
          Variant(row.numberOr0("ColInLowLimit")),
          Variant(row.numberOr0("ColInLowLimitQty")),
          Variant(lineId),
          Variant(row.whole("ColStatusId").value_or(0)),
          row.date("ColCheckDate"),
          row.textOrNull("ColBiller"),
          Variant(row.text("ColBatchNo")),
          Variant(row.flag("ColCancel")),
          Variant(row.flag("ColSuspend")),
      };
      values.emplace_back(workOrderId);
      if (std::optional<int32_t> id = savedId(row)) {
        values.emplace_back(*id);
        int32_t n = db.change(
            "UPDATE t_eiRepSchedule SET (" + std::string(kFields) +
                ") = (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) WHERE FICMOInterID = ? AND "
                "FInterID = ?",
            values);
        if (n != 1) row.fail("ColInterId", "no schedule row of this work order has this id");
        ++saved.updated;
      } else {
        db.change("INSERT INTO t_eiRepSchedule (" + std::string(kFields) +
                      ", FICMOInterID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  values);
        ++saved.inserted;
      }
    }
  });
  return saved;
}

}  // namespace qx::sim
