// Typed column storage against the variant storage it replaces: the same operations on a
// recordset whose fields keep their own types and on one whose fields keep variants
// (setTypedColumns(false), the storage every field had before) give the same values, errors,
// views and positions.
#include "automation/recordset_column.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "automation/recordset.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

using testing::errorNumber;
namespace ft = field_type;

// describe, or the error describing fails with (a date beyond the calendar).
std::string shown(const Variant& v) {
  std::string r;
  int32_t e = errorNumber([&] { r = describe(v); });
  if (e != 0) r = varTypeName(v.type()) + std::string(" ") + std::to_string(v.toDouble());
  if (v.type() == VarType::Double && std::isnan(v.toDouble())) r += "(NaN)";
  return r;
}

// What one operation left: its error number, then the field's value on every row of the view
// (or the error reading it), the view's rows and the position.
std::string outcome(Recordset& rs, int32_t error) {
  std::string r = "error " + std::to_string(error) + ";";
  r += " count " + std::to_string(rs.recordCount()) + ";";
  r += " position " + std::to_string(rs.get("AbsolutePosition").toInt32()) + ";";
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    r += " " + std::to_string(rs.value(0).toInt32()) + "=" + shown(rs.value(1));
  }
  return r;
}

class TypedColumns : public testing::LiveObjectsTest {
 protected:
  // FRow numbers the rows; F is the field under test (nullable when `nullable`).
  static Ref<Recordset> table(int32_t type, bool typed, bool nullable = true) {
    auto rs = Recordset::create();
    rs->setTypedColumns(typed);
    rs->appendField({"FRow", ft::kInteger});
    rs->appendField({"F", type, 4, nullable ? field_attr::kUnspecified : 0});
    rs->open();
    return rs;
  }
};

// Each field type × each written value, through every way a value gets in (AddNew with the
// Value write, appendRow, setCell), then filters on the field.
TEST_F(TypedColumns, EveryTypeAndWrittenValueBehavesAsVariantStorage) {
  const int32_t types[] = {ft::kSmallInt, ft::kInteger, ft::kSingle,     ft::kDouble,
                           ft::kCurrency, ft::kDate,    ft::kDBDate,     ft::kBSTR,
                           ft::kVarWChar, ft::kBoolean, ft::kVariant,    ft::kNumeric,
                           ft::kBigInt,   ft::kDecimal, ft::kLongVarChar};
  auto source = Recordset::create();  // a field object written as a value: its value
  source->appendField({"FSource", ft::kDouble});
  source->open();
  source->appendRow({Variant(7.5)});
  const Variant written[] = {Variant(),
                             Variant::null(),
                             Variant(true),
                             Variant(false),
                             Variant(int16_t{-3}),
                             Variant(12),
                             Variant(2.5),
                             Variant(-0.0),
                             Variant(std::nan("")),
                             Variant(1e300),
                             Variant(3e9),
                             Variant(Date{46086.5}),
                             Variant("12"),
                             Variant("abc"),
                             Variant("ABC"),
                             Variant("2026-3-5"),
                             Variant("长度超过四个字"),
                             Variant(""),
                             Variant("True"),
                             Variant(source->get("Fields", "FSource"))};
  const char* filters[] = {"F = 12",    "F = 'abc'",
                           "F <> 'x'",  "F > 0",
                           "F <= '12'", "F = #2026-03-05 12:00#",
                           "F = -1",    "F >= 2.5 AND FRow > 0"};
  for (int32_t type : types) {
    for (const Variant& v : written) {
      for (bool nullable : {true, false}) {
        SCOPED_TRACE("type " + std::to_string(type) + (nullable ? "" : " not nullable") +
                     ", written " + describe(v));
        std::string results[2];
        for (bool typed : {true, false}) {
          auto rs = table(type, typed, nullable);
          std::string& r = results[typed ? 0 : 1];
          // AddNew, Value write, Update
          rs->addNew();
          rs->setValue(0, Variant(0));
          int32_t e = errorNumber([&] { rs->setValue(1, v); });
          rs->update();
          r += outcome(*rs, e) + "\n";
          // a whole row at once
          e = errorNumber([&] { rs->appendRow({Variant(1), v}); });
          r += outcome(*rs, e) + "\n";
          // a cell written by row number, typed where the value has a C++ type
          size_t row = rs->appendRows(1);
          rs->setCell(row, 0, static_cast<int32_t>(row));
          e = errorNumber([&] {
            if (v.type() == VarType::Double) return rs->setCell(row, 1, v.toDouble());
            if (v.type() == VarType::Long) return rs->setCell(row, 1, v.toInt32());
            if (v.type() == VarType::Date) return rs->setCell(row, 1, v.toDate());
            if (const std::string* s = v.stringIf()) {
              return rs->setCell(row, 1, std::string_view(*s));
            }
            rs->setCell(row, 1, v);
          });
          r += outcome(*rs, e) + "\n";
          // filters, indexed and scanned
          for (bool indexing : {true, false}) {
            rs->setIndexing(indexing);
            for (const char* f : filters) {
              rs->setFilter(f);
              r += std::string(f) + ": " + outcome(*rs, 0) + "\n";
            }
            rs->setFilter("");
          }
        }
        EXPECT_EQ(results[0], results[1]);
      }
    }
  }
}

// Texts written over and over into the same cells: the pool is rebuilt from the rows' texts and
// every row keeps its own.
TEST_F(TypedColumns, TextsWrittenOverAndOverStayRight) {
  auto typed = table(ft::kVarWChar, true), variants = table(ft::kVarWChar, false);
  for (Recordset* rs : {typed.get(), variants.get()}) {
    for (int32_t r = 0; r < 50; ++r) rs->appendRow({Variant(r), Variant("t" + std::to_string(r))});
    rs->moveFirst();
    for (int32_t i = 0; i < 3000; ++i) {
      rs->moveFirst();
      rs->move(i % 50);
      rs->setValue(1, i % 7 == 0 ? Variant::null() : Variant("w" + std::to_string(i % 400)));
    }
  }
  for (const char* f : {"", "F = 'w13'", "F > 'w3'", "F <> 'W399'"}) {
    SCOPED_TRACE(f);
    typed->setFilter(f);
    variants->setFilter(f);
    EXPECT_EQ(outcome(*typed, 0), outcome(*variants, 0));
  }
}

}  // namespace
}  // namespace qx::automation
