// Recordset filter texts: a text either parses or fails with the recordset's error 3001 (never
// another failure); set on a recordset, the rows shown are those every condition matches,
// whether the equality is answered from the index or by a scan.
#include "automation/recordset_filter.h"
#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/recordset.h"
#include "fuzz_support.h"

using qx::automation::Date;
using qx::automation::Error;
using qx::automation::Recordset;
using qx::automation::Variant;
using qx::fuzz::shown;

namespace {

// The last field numbers the rows.
const char* const kFields[] = {"FLineID", "FName", "FDate", "F_x", "FRow"};
constexpr size_t kRowField = std::size(kFields) - 1;

// A value of any type the recordset may hold, mostly from a few that compare equal in
// different types (12, "12", 12.0, True = -1).
Variant valueFrom(qx::fuzz::Input& in) {
  switch (in.pick(10)) {
    case 0:
      return Variant();
    case 1:
      return Variant::null();
    case 2:
      return Variant(static_cast<bool>(in.byte() & 1));
    case 3:
      return Variant(static_cast<int16_t>(static_cast<int8_t>(in.byte())));
    case 4:
      return Variant(static_cast<int32_t>(static_cast<int8_t>(in.byte())));
    case 5:
      return Variant(static_cast<double>(static_cast<int8_t>(in.byte())) / 4);
    case 6:
      return Variant(in.bits());
    case 7:
      return Variant(Date{46000.0 + static_cast<int8_t>(in.byte())});
    default:
      return Variant(in.text(';'));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  const std::string filter = in.text();

  std::vector<qx::automation::FilterCondition> conditions;
  try {
    conditions = qx::automation::parseFilter(filter);
  } catch (const Error& e) {
    QX_FUZZ_CHECK(e.number() == 3001, shown(filter) + " failed with " + std::to_string(e.number()));
    QX_FUZZ_CHECK(!e.description().empty(), shown(filter) + " failed without a reason");
    return 0;
  }

  auto rs = Recordset::create();
  for (const char* f : kFields) rs->appendField({f});
  rs->open();
  for (int r = 0; r < 12 && !in.empty(); ++r) {
    std::vector<Variant> row;
    for (size_t c = 0; c < kRowField; ++c) row.push_back(valueFrom(in));
    row.emplace_back(static_cast<int32_t>(r));
    rs->appendRow(std::move(row));
  }

  // The rows the conditions match, by a plain walk.
  std::vector<int> expected;
  bool known = true;
  std::vector<size_t> columns;
  for (const auto& c : conditions) {
    auto col = rs->findColumn(c.field);
    if (!col) known = false;
    columns.push_back(col.value_or(0));
  }
  for (int r = 0; known && r < rs->recordCount(); ++r) {
    rs->moveFirst();
    rs->move(r);
    bool all = true;
    for (size_t k = 0; k < conditions.size(); ++k) {
      all = all && qx::automation::matches(rs->value(columns[k]), conditions[k]);
    }
    if (all) expected.push_back(r);
  }

  for (bool indexing : {true, false}) {
    rs->setIndexing(indexing);
    try {
      rs->setFilter(filter);
    } catch (const Error& e) {
      QX_FUZZ_CHECK(!known && e.number() == 3001,
                    shown(filter) + " set failed with " + std::to_string(e.number()));
      return 0;
    }
    QX_FUZZ_CHECK(known, shown(filter) + " names a missing field but was set");
    std::vector<int> shownRows;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
      shownRows.push_back(rs->value(kRowField).toInt32());
    }
    QX_FUZZ_CHECK(
        rs->recordCount() == static_cast<int32_t>(shownRows.size()) && shownRows == expected,
        shown(filter) + (indexing ? " indexed" : " scanned") + " shows " +
            std::to_string(shownRows.size()) + " rows, not " + std::to_string(expected.size()));
    rs->setFilter("");
  }
  return 0;
}
