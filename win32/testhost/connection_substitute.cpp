#include <cstdlib>
#include <regex>

#include "automation/recordset.h"
#include "win32/testhost/substitutes.h"

namespace qx::testhost {

using automation::Args;
using automation::Error;
using automation::Variant;

namespace {

struct ItemLine {
  int32_t itemId;
  int32_t lineId;
};

// The relations of items and production lines: line 7 has two, line 9 one.
constexpr ItemLine kItemLines[] = {{101, 7}, {102, 7}, {103, 9}};

}  // namespace

std::span<const automation::Member<ConnectionSubstitute>> ConnectionSubstitute::members() {
  static const automation::Member<ConnectionSubstitute> m[] = {
      {"Execute", 1, &ConnectionSubstitute::mExecute},
  };
  return m;
}

ConnectionSubstitute::ConnectionSubstitute() noexcept {
  ++log().created;
  ++log().live;
}

ConnectionSubstitute::~ConnectionSubstitute() {
  --log().live;
}

ConnectionSubstitute::Log& ConnectionSubstitute::log() noexcept {
  static Log l;
  return l;
}

Variant ConnectionSubstitute::mExecute(Args a) {
  automation::requireArgs(a, 1, "Execute");
  std::string sql = a[0].get().toString();
  log().statements.push_back(sql);
  if (!log().failWith.empty()) throw Error(-2147467259, log().failWith, "AppConnection");
  if (log().answerNothing) return Variant::nothing();

  // The one statement this database answers; anything else is a failure of the test.
  static const std::regex count(
      R"(SELECT COUNT\(\*\) FROM t_eiItemLine WHERE FLineID = (-?[0-9]+))");
  std::smatch m;
  if (!std::regex_match(sql, m, count)) {
    throw Error(-2147217900, "unexpected statement: " + sql, "AppConnection");
  }
  int32_t line = static_cast<int32_t>(std::strtol(m[1].str().c_str(), nullptr, 10));
  int32_t n = 0;
  for (const ItemLine& r : kItemLines) n += r.lineId == line ? 1 : 0;

  auto rs = automation::Recordset::create();
  rs->appendField({"Expr1000", automation::field_type::kInteger});
  rs->open();
  rs->addNew();
  rs->setValue(0, Variant(n));
  rs->update();
  rs->moveFirst();
  return Variant(rs);
}

}  // namespace qx::testhost
