// Mixed operations on a recordset whose fields keep their own types, replayed on a plain list of
// variant rows: after every operation both show the same rows, values, errors and position.
// The value a write stores is taken from a recordset whose fields keep variants (the storage
// every field had before), so the conversion rules are the reference's too.
#include <algorithm>
#include <cmath>
#include <vector>

#include "automation/error.h"
#include "automation/recordset.h"
#include "automation/recordset_filter.h"
#include "fuzz_support.h"

using qx::automation::Date;
using qx::automation::Error;
using qx::automation::FieldDef;
using qx::automation::Recordset;
using qx::automation::Variant;
namespace ft = qx::automation::field_type;

namespace {

const FieldDef kFields[] = {{"FLong", ft::kInteger}, {"FDouble", ft::kDouble},
                            {"FDate", ft::kDate},    {"FText", ft::kVarWChar, 6},
                            {"FBool", ft::kBoolean}, {"FSmall", ft::kSmallInt, 0, 0},
                            {"FAny", ft::kVariant}};  // FSmall does not take Null
constexpr size_t kCount = std::size(kFields);

// Empty, Null, a Boolean, Integer, Long, Double (also any bit pattern), date or text.
Variant valueFrom(qx::fuzz::Input& in) {
  unsigned kind = in.pick(10);
  if (kind == 6) return Variant(in.bits());
  if (kind >= 8) return Variant(in.text(';'));
  int8_t b = static_cast<int8_t>(in.byte());
  const Variant simple[] = {
      Variant(),         Variant::null(),  Variant(b < 0), Variant(int16_t{b}),
      Variant(b * 1000), Variant(b / 4.0), Variant(),      Variant(Date{46000.0 + b / 2.0})};
  return simple[kind];
}

std::string conditionFrom(qx::fuzz::Input& in) {
  static const char* ops[] = {"=", "<>", "<", ">", "<=", ">="};
  static const char* literals[] = {"0",    "1",  "-1",           "2.5",  "'a'",    "'A'",
                                   "'12'", "''", "#2025-12-09#", "1000", "'True'", "-1000"};
  std::string c = std::string(kFields[in.pick(kCount)].name) + " " + ops[in.pick(6)] + " " +
                  literals[in.pick(std::size(literals))];
  if (in.pick(3) == 1) c += " AND " + conditionFrom(in);  // never at the end of the input
  return c;
}

// Same type and value; a NaN number or date is the same as NaN.
bool same(const Variant& a, const Variant& b) {
  auto nan = [](const Variant& v) {
    using qx::automation::VarType;
    return (v.type() == VarType::Double || v.type() == VarType::Date) && std::isnan(v.toDouble());
  };
  if (nan(a) || nan(b)) return a.type() == b.type() && nan(a) && nan(b);
  return a == b;
}

template <class F>
int32_t errorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

// The list of variant rows with the recordset's filter and position rules.
struct Reference {
  std::vector<std::vector<Variant>> rows;
  std::vector<size_t> view;
  bool filtered = false;
  long pos = 0;
  long size() const { return static_cast<long>(filtered ? view.size() : rows.size()); }
  size_t rowAt(long p) const {
    return filtered ? view[static_cast<size_t>(p)] : static_cast<size_t>(p);
  }
  bool current() const { return pos >= 0 && pos < size(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  auto rs = Recordset::create();
  auto converter = Recordset::create();  // one row: what a write stores, by the variant rules
  converter->setTypedColumns(false);
  for (const FieldDef& f : kFields) {
    rs->appendField(f);
    converter->appendField(f);
  }
  rs->open();
  converter->open();
  converter->appendRows(1);
  converter->moveFirst();
  // The stored value of a write to field c, or the write's error.
  auto convert = [&](size_t c, const Variant& v, Variant& stored) {
    int32_t e = errorOf([&] { converter->setValue(c, v); });
    if (e == 0) stored = converter->value(c);
    return e;
  };

  Reference ref;
  std::string log;
  for (int step = 0; step < 64 && !in.empty(); ++step) {
    int32_t got = 0, expected = 0;
    switch (in.pick(6)) {
      case 0:
        log += "AddNew;";
        rs->addNew();
        ref.rows.emplace_back(kCount, Variant::null());
        if (ref.filtered) ref.view.push_back(ref.rows.size() - 1);
        ref.pos = ref.size() - 1;
        break;
      case 1:
      case 2: {  // Value of the current row, or a cell of any row by its C++ type
        size_t c = in.pick(kCount), r = in.pick(static_cast<unsigned>(ref.rows.size() + 1));
        bool current = in.pick(2) == 0;
        Variant v = valueFrom(in);
        log += "write " + std::to_string(c) + (current ? "" : " at " + std::to_string(r)) + " = " +
               describe(v) + ";";
        got = errorOf([&] {
          if (current) return rs->setValue(c, v);
          if (v.type() == qx::automation::VarType::Double) return rs->setCell(r, c, v.toDouble());
          if (v.type() == qx::automation::VarType::Long) return rs->setCell(r, c, v.toInt32());
          if (v.type() == qx::automation::VarType::Date) return rs->setCell(r, c, v.toDate());
          if (const std::string* s = v.stringIf()) return rs->setCell(r, c, std::string_view(*s));
          rs->setCell(r, c, v);
        });
        if (current) r = ref.current() ? ref.rowAt(ref.pos) : ref.rows.size();
        Variant stored;
        expected = r >= ref.rows.size() ? 3021 : convert(c, v, stored);
        if (expected == 0) ref.rows[r][c] = stored;
        break;
      }
      case 3: {
        std::string f = in.pick(4) == 0 ? std::string() : conditionFrom(in);
        log += "Filter " + f + ";";
        rs->setFilter(f);
        auto conditions = qx::automation::parseFilter(f);
        ref.filtered = !conditions.empty();
        ref.view.clear();
        for (size_t r = 0; r < ref.rows.size(); ++r) {
          bool all = true;
          for (const auto& cond : conditions) {
            all = all && qx::automation::matches(ref.rows[r][*rs->findColumn(cond.field)], cond);
          }
          if (all) ref.view.push_back(r);
        }
        ref.pos = 0;
        break;
      }
      case 4: {  // MoveFirst, or Move by -4..4
        int32_t n = static_cast<int8_t>(in.byte()) % 5;
        log += "Move " + std::to_string(n) + ";";
        if (n == 0) {
          rs->moveFirst();
          ref.pos = 0;
          break;
        }
        got = errorOf([&] { rs->move(n); });
        if ((n > 0 && ref.pos >= ref.size()) || (n < 0 && ref.pos < 0)) {
          expected = 3021;
        } else {
          ref.pos = std::clamp(ref.pos + n, -1L, ref.size());
        }
        break;
      }
      default:
        log += "Indexing;";
        rs->setIndexing(in.byte() & 1);
        break;
    }
    QX_FUZZ_CHECK(got == expected, log + " failed with " + std::to_string(got) + ", not " +
                                       std::to_string(expected));
    QX_FUZZ_CHECK(rs->recordCount() == ref.size() &&
                      rs->eof() == (ref.size() == 0 || ref.pos >= ref.size()) &&
                      rs->bof() == (ref.size() == 0 || ref.pos < 0),
                  log + " moved elsewhere");
    for (size_t c = 0; ref.current() && c < kCount; ++c) {
      Variant v = rs->value(c);
      QX_FUZZ_CHECK(same(v, ref.rows[ref.rowAt(ref.pos)][c]),
                    log + " field " + std::to_string(c) + " reads " + describe(v));
    }
  }
  // Every row, unfiltered.
  rs->setFilter("");
  size_t r = 0;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext(), ++r) {
    for (size_t c = 0; c < kCount; ++c) {
      QX_FUZZ_CHECK(same(rs->value(c), ref.rows[r][c]),
                    log + " row " + std::to_string(r) + " differs");
    }
  }
  QX_FUZZ_CHECK(r == ref.rows.size(), log + " has another number of rows");
  return 0;
}
