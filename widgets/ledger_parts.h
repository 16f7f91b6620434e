// Reading the binding's sources: the header list's records and the current record's fields.
#pragma once

#include <string_view>
#include <utility>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "automation/variant.h"

namespace qx::widgets {

// The header list; fails with 91 when none is set.
inline automation::Object& requireHeader(const automation::ObjectRef& header) {
  if (!header) throw automation::Error::objectNotSet("LedgerData");
  return *header;
}

// Calls `f` with each column definition record in display order, without copying the list.
template <class F>
void forEachRecord(const automation::ObjectRef& header, F&& f) {
  requireHeader(header);
  automation::forEachItem(header, std::forward<F>(f));
}

// A column definition record, read with Value (an absent key is Empty) or with GetValue and a
// default. The host dictionaries this library makes are read directly, by the same rules; any
// other record through its members.
class HeaderRecord {
 public:
  explicit HeaderRecord(const automation::Variant& record) : record_(record) {
    const automation::ObjectRef* o = record.objectIf();
    own_ = o ? dynamic_cast<automation::HostDictionary*>(o->get()) : nullptr;
  }
  automation::Variant value(std::string_view key) const {
    if (own_) return own_->valueOr(key, automation::Variant());
    return record_.toObject()->get("Value", key);
  }
  // Calls `f` with the value of `key` (Empty when absent), not copied out of a dictionary of
  // this library: the row texts read two keys per cell.
  template <class F>
  decltype(auto) with(std::string_view key, F&& f) const {
    if (own_) {
      static const automation::Variant kAbsent;
      const automation::Variant* v = own_->find(key);
      return f(v ? *v : kAbsent);
    }
    return f(value(key));
  }
  automation::Variant getValue(std::string_view key, const automation::Variant* fallback) const {
    if (own_) return own_->valueOr(key, fallback ? *fallback : automation::Variant());
    if (fallback) return record_.toObject()->call("GetValue", key, *fallback);
    return record_.toObject()->call("GetValue", key);
  }

 private:
  const automation::Variant& record_;
  automation::HostDictionary* own_;
};

// The recordset; fails with 91 when none is set.
inline automation::Object& requireRecordset(const automation::ObjectRef& rs) {
  if (!rs) throw automation::Error::objectNotSet("LedgerData");
  return *rs;
}

// The current record of the bound recordset: Fields(name or position).Value, read directly
// from the in-memory recordset of this library.
class RecordReader {
 public:
  explicit RecordReader(const automation::ObjectRef& rs)
      : rs_(rs), own_(dynamic_cast<automation::Recordset*>(rs.get())) {}
  // Fails with 91 when no recordset is set.
  automation::Object& recordset() const { return requireRecordset(rs_); }
  // A field that the binding's own in-memory recordset does not have: reading it would fail,
  // and the caller may take that as a failed read without raising it.
  bool lacks(std::string_view name) const { return own_ && !own_->findColumn(name); }
  automation::Variant field(const automation::Variant& nameOrIndex) const {
    if (own_) return own_->value(own_->column(nameOrIndex));
    return recordset().get("Fields", nameOrIndex).toObject()->get("Value");
  }

 private:
  const automation::ObjectRef& rs_;
  automation::Recordset* own_;
};

}  // namespace qx::widgets
