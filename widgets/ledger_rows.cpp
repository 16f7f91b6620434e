// The text of a data row: the record under the row, formatted column by column, with the
// repeated values of a document's continuation rows blanked and the row coloured.
#include "automation/conversions.h"
#include "automation/steps.h"
#include "host/toolkit.h"
#include "widgets/ledger_data.h"
#include "widgets/ledger_format.h"
#include "widgets/ledger_parts.h"

namespace qx::widgets {

using automation::CallKind;
using automation::Steps;
using automation::Variant;

namespace {

// The first data row is grid row 3.
constexpr int32_t kFirstDataRow = 3;
// Decimals when a record does not give its own.
constexpr int kFallbackQtyDecimals = 4, kFallbackPriceDecimals = 4;
// Amount decimals of a record above this take the currency's.
constexpr int kMaxRecordAmountDecimals = 2;
constexpr int16_t kNotImposed = -1;

// lRow less `by`; a row number at the end of the range is an overflow, not a wrap.
int32_t rowLess(int32_t lRow, int32_t by) {
  return automation::roundToInt32(static_cast<double>(lRow) - by);
}

}  // namespace

ObjectRef LedgerData::rowObject(int32_t rowIndex) const {
  return control().callId(host::ledger_grid::kRow, CallKind::Get, rowIndex).toObject();
}

std::string LedgerData::GetRowText(int32_t lRow, Variant& lBackColor) {
  // Continue-on-failure: a failing step is skipped and the next one runs; a failing test
  // counts as passed. Steps 4 and 6 read and clear the pending failure, the amount step only
  // reads it.
  Steps steps;
  Decimals d;
  ObjectRef rs = m_rs;
  const RecordReader record(rs);
  auto field = [&](std::string_view name) { return record.field(Variant(name)); };
  // A step or test that reads one field; when the record lacks the field, the step fails (and
  // the test counts as passed) as reading it would, without raising.
  auto missing = [&](std::string_view name) {
    if (!record.lacks(name)) return false;
    steps.fail(automation::Error(
        3265, "Item cannot be found in the collection: \"" + std::string(name) + "\"",
        "Recordset"));
    return true;
  };
  auto readStep = [&](std::string_view name, auto&& read) {
    if (!missing(name)) steps.run(read);
  };
  auto readTest = [&](std::string_view name, auto&& condition) {
    return missing(name) || steps.test(condition);
  };

  steps.run([&] { record.recordset().call("MoveFirst"); });
  steps.run([&] { record.recordset().call("Move", rowLess(lRow, kFirstDataRow)); });

  readStep("FQtyDecimal", [&] { d.quantity = field("FQtyDecimal").toInt16(); });
  if (steps.failed()) {
    d.quantity = kFallbackQtyDecimals;
    steps.clear();
  }
  // Summary rows take the owner's decimals when it imposes some. (Checked apart from the
  // summary test, so that a failing test does not impose "not imposed".)
  if (steps.test([&] { return field("FSumSort").toDouble() != 0; }) &&
      m_QtyDecimal != kNotImposed) {
    d.quantity = m_QtyDecimal;
  }

  readStep("FPriceDecimal", [&] { d.price = field("FPriceDecimal").toInt16(); });
  if (steps.failed()) {
    d.price = kFallbackPriceDecimals;
    steps.clear();
  }
  if (steps.test([&] { return field("FSumSort").toDouble() != 0; }) &&
      m_PriceDecimal != kNotImposed) {
    d.price = m_PriceDecimal;
  }

  readStep("FAmountDecimal", [&] { m_AmountDecimal = field("FAmountDecimal").toInt16(); });
  if (steps.failed() || m_AmountDecimal > kMaxRecordAmountDecimals) {
    m_AmountDecimal = m_CurrencyDecimal;
  }
  d.amount = m_AmountDecimal;

  // Document grouping: compared with the row built just before this one.
  bool fullRow = false, newItem = false;
  auto itemTest = [&] {
    if (readTest("FItemID", [&] { return field("FItemID").value().toDouble() != m_LastItemID; })) {
      readStep("FItemID", [&] { m_LastItemID = field("FItemID").toInt32(); });
      newItem = true;
    } else {
      newItem = false;
    }
  };
  // The first data row always starts a document, whichever rows the control asked for before.
  bool newDocument = lRow == kFirstDataRow || steps.test([&] {
    Variant id = field("FInterID").value();
    return automation::leadingNumber(textOf(id)) == 0 || id.toDouble() != m_LastInterID;
  });
  if (newDocument) {
    fullRow = true;
    steps.run([&] {
      m_LastInterID =
          automation::roundToInt32(automation::leadingNumber(textOf(field("FInterID"))));
    });
    m_LastItemID = 0;
    steps.run([&] {
      rowObject(rowLess(lRow, 1))->callId(host::ledger_grid::row::kContinued, CallKind::Put, false);
    });
    itemTest();
  } else {
    fullRow = false;
    itemTest();
    if (steps.test([&] { return field("FSumSort").toDouble() == 0; })) {
      steps.run([&] {
        rowObject(rowLess(lRow, 1))
            ->callId(host::ledger_grid::row::kContinued, CallKind::Put, true);
      });
    }
  }

  std::string line;
  int32_t columnNo = 1;
  steps.run([&] {
    forEachRecord(m_Header, [&](const Variant& definition) {
      const HeaderRecord column(definition);
      std::string cell;
      steps.run([&] {
        double code = column.with("FColType", typeCode);
        cell = cellText(
            code, column.with("FColName", [&](const Variant& name) { return record.field(name); }),
            d);
      });
      if (fullRow) {
        line += cell;
        line += '|';
      } else if (columnNo == 1) {
        line += '|';
      } else {
        // A merge setting that cannot be read takes the first rule: shown.
        MergeRule rule = MergeRule::Shown;
        steps.run([&] { rule = mergeRuleFor(column.getValue("FMergerType", nullptr)); });
        switch (rule) {
          case MergeRule::Shown:
            line += cell;
            line += '|';
            break;
          case MergeRule::Empty:
            line += '|';
            break;
          case MergeRule::NewItemOnly:
            if (newItem) line += cell;
            line += '|';
            break;
          case MergeRule::LeftOut:
            break;
        }
      }
      ++columnNo;
    });
  });

  // A summary marker that cannot be read takes the first rule: white.
  std::optional<int32_t> colour = host::rgb(255, 255, 255);
  steps.run([&] { colour = rowColourFor(field("FSumSort")); });
  if (colour) lBackColor = Variant(*colour);

  // After the grid's last row the next pass starts a new document at its first row.
  if (steps.test([&] {
        return lRow ==
               gridObject()->callId(host::ledger_grid::grid::kRows, CallKind::Get).toInt32();
      })) {
    m_LastInterID = 0;
  }
  steps.clear();
  return line;
}

}  // namespace qx::widgets
