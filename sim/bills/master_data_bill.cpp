#include "sim/bills/master_data_bill.h"

#include <cmath>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/steps.h"
#include "host/event_interfaces.h"

namespace qx::sim {

using automation::Arg;
using automation::Error;

namespace {

// Columns of t_resource that a field entry may set; FTypeName carries the type id.
struct Column {
  const char* field;
  const char* column;
  bool text;
};
constexpr Column kColumns[] = {
    {"FNumber", "FNumber", true},
    {"FName", "FName", true},
    {"FTypeName", "FTypeID", false},
    {"FWorkCenterID", "FWorkCenterID", false},
    {"FEIProductivity", "FEIProductivity", false},
    {"FForbid", "FForbid", false},
    {"FNote", "FNote", true},
};

std::string sqlText(const std::string& text) {
  std::string r = "'";
  for (char c : text) r += c == '\'' ? std::string("''") : std::string(1, c);
  return r + "'";
}

// A value as an SQL literal of the column's kind; wrong values are the engine's failure.
std::string literal(const Variant& v, bool text) {
  if (v.isNull() || v.isEmpty()) return "NULL";
  if (text) return sqlText(v.toString());
  double d = v.toDouble();
  if (!std::isfinite(d)) throw Error::overflow("MasterDataBill");
  return automation::formatDoubleRoundTrip(d);  // the value stored, every digit of it
}

}  // namespace

std::span<const automation::Member<MasterDataBill>> MasterDataBill::members() {
  return {};
}

MasterDataBill::MasterDataBill(std::shared_ptr<Database> database,
                               std::shared_ptr<const HostTexts> texts)
    : database_(std::move(database)),
      texts_(std::move(texts)),
      events_(EventSource::create(std::string(host::kMasterDataEvents))) {}

const Variant& MasterDataBill::Outcome::operator[](std::string_view name) const {
  for (const auto& [n, v] : byRef) {
    if (n == name) return v;
  }
  throw Error::invalidProcedureCall("no argument " + std::string(name), "MasterDataBill");
}

MasterDataBill::Outcome MasterDataBill::raise(std::string_view event,
                                              std::vector<std::pair<std::string, Variant>> args,
                                              size_t firstByRef) {
  std::vector<Arg> list;
  for (size_t i = 0; i < args.size(); ++i) {
    list.push_back(i >= firstByRef ? Arg::byRef(args[i].second) : Arg(args[i].second));
  }
  Outcome o;
  try {
    events_->raise(event, automation::Args(list));
  } catch (...) {
    o.failure = automation::toError(std::current_exception());
  }
  for (size_t i = firstByRef; i < args.size(); ++i) o.byRef.push_back(std::move(args[i]));
  return o;
}

MasterDataBill::Outcome MasterDataBill::columns() {
  return raise("OnGetTitleInfo", {{"vecData", Variant()}, {"bCancel", Variant(false)}}, 0);
}

MasterDataBill::Outcome MasterDataBill::component(const std::string& progId) {
  return raise("OnGetMTSComponent", {{"sProgID", Variant(progId)}, {"bCancel", Variant(false)}}, 0);
}

MasterDataBill::Outcome MasterDataBill::caption() {
  return raise("OnGetECaption", {{"sCaption", Variant("")}, {"bCancel", Variant(false)}}, 0);
}

MasterDataBill::Outcome MasterDataBill::save(const std::vector<Field>& fields) {
  for (const auto& [name, value] : fields) {
    if (name != "FEIProductivity" || value.isEmpty() || value.isNull()) continue;
    bool number = value.type() != automation::VarType::Boolean && automation::isNumeric(value);
    double d = number ? value.toDouble() : 0;
    if (number && (d == 0 || (std::isfinite(d) && d > 0))) continue;
    // The engine's own check: a line with a negative productivity would show as empty.
    Outcome o;
    std::string text = "生产率必须是大于 0 的数";
    o.byRef.emplace_back("sMsg", Variant(texts_ ? (*texts_)(text) : text));
    o.byRef.emplace_back("bCancel", Variant(true));
    o.action = said("单据自身检查未通过, 未保存");
    return o;
  }
  auto entries = automation::HostVector::create();
  for (const auto& [name, value] : fields) {
    automation::ObjectRef entry(automation::HostDictionary::create());
    entry->put("Value", "FName", name);
    entry->put("Value", "TrueValue", value);
    entries->call("Add", entry);
  }
  std::vector<std::pair<std::string, Variant>> args;
  args.emplace_back("vecData", Variant(entries));
  args.emplace_back("sMsg", Variant(std::string()));
  args.emplace_back("bCancel", Variant(false));
  Outcome o = raise("OnCheckData", std::move(args), 1);
  if (o.failure) {
    o.action = said("未保存");
  } else if (o["bCancel"].toBool()) {
    o.action = said("插件拒绝, 未保存");
  } else {
    try {
      o.action = store(fields);
      o.stored = true;
    } catch (const Error& e) {
      o.failure = e;
      o.action = said("未保存");
    }
  }
  return o;
}

std::string MasterDataBill::store(const std::vector<Field>& fields) {
  SqliteDb db = database_->open();
  std::optional<int32_t> id;
  std::vector<std::pair<const Column*, const Variant*>> values;
  for (const auto& [name, value] : fields) {
    if (name == "FInterID") id = value.toInt32();
    for (const Column& c : kColumns) {
      if (name == c.field) values.emplace_back(&c, &value);
    }
  }
  bool exists = false;
  if (id) {
    exists = db.execute("SELECT COUNT(*) FROM t_resource WHERE FInterID = " + std::to_string(*id))
                 ->value(0)
                 .toInt32() > 0;
  }
  if (exists) {
    std::string sql = "UPDATE t_resource SET FDeleted = FDeleted";
    for (const auto& [c, v] : values)
      sql += std::string(", ") + c->column + " = " + literal(*v, c->text);
    (void)db.execute(sql + " WHERE FInterID = " + std::to_string(*id));
    return said("已保存资源 {1}", {std::to_string(*id)});
  }
  if (!id) {
    id = db.execute("SELECT COALESCE(MAX(FInterID), 0) + 1 FROM t_resource")->value(0).toInt32();
  }
  std::string columns = "FInterID", literals = std::to_string(*id);
  bool hasNumber = false, hasName = false, hasType = false;
  for (const auto& [c, v] : values) {
    columns += std::string(", ") + c->column;
    literals += ", " + literal(*v, c->text);
    hasNumber |= std::string_view(c->field) == "FNumber";
    hasName |= std::string_view(c->field) == "FName";
    hasType |= std::string_view(c->field) == "FTypeName";
  }
  // A new resource needs a number, a name and a type; the engine fills what the user left out.
  std::string number = "R-" + std::to_string(*id);
  if (!hasNumber) columns += ", FNumber", literals += ", " + sqlText(number);
  if (!hasName) columns += ", FName", literals += ", " + sqlText(number);
  if (!hasType) columns += ", FTypeID", literals += ", 0";
  (void)db.execute("INSERT INTO t_resource (" + columns + ") VALUES (" + literals + ")");
  return said("已新增资源 {1}", {std::to_string(*id)});
}

std::string MasterDataBill::said(const std::string& source,
                                 const std::vector<std::string>& args) const {
  return texts_ ? texts_->format(source, args) : HostTexts::fill(source, args);
}

MasterDataBill::Outcome MasterDataBill::remove(int32_t interId) {
  Outcome o = raise(
      "OnCheckCanDel",
      {{"lInterID", Variant(interId)}, {"sMsg", Variant("")}, {"bCancel", Variant(false)}}, 1);
  if (o.failure) {
    o.action = said("未删除");
    return o;
  }
  if (o["bCancel"].toBool()) {
    o.action = said("插件拒绝, 未删除");
    return o;
  }
  try {
    SqliteDb db = database_->open();
    std::string id = std::to_string(interId);
    bool found =
        db.execute("SELECT COUNT(*) FROM t_resource WHERE FInterID = " + id)->value(0).toInt32() >
        0;
    (void)db.execute("DELETE FROM t_eiLineCalendar WHERE FLineID = " + id +
                     "; DELETE FROM t_resource WHERE FInterID = " + id);
    o.action = said(found ? "已删除资源 {1}" : "没有资源 {1} 可删除", {id});
    o.stored = true;
  } catch (const Error& e) {
    o.failure = e;
    o.action = said("未删除");
  }
  return o;
}

}  // namespace qx::sim
