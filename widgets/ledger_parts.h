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

// A key of a column definition record read with Value, or with GetValue and a default. The
// host dictionaries this library makes are read directly (the same rules: an absent key is
// Empty, or the default); any other record through its members.
inline automation::Variant recordValue(const automation::Variant& record, std::string_view key) {
  const automation::ObjectRef* o = record.objectIf();
  if (auto* d = o ? dynamic_cast<automation::HostDictionary*>(o->get()) : nullptr) {
    return d->valueOr(key, automation::Variant());
  }
  return record.toObject()->get("Value", key);
}
inline automation::Variant recordGetValue(const automation::Variant& record, std::string_view key,
                                          const automation::Variant* fallback) {
  const automation::ObjectRef* o = record.objectIf();
  if (auto* d = o ? dynamic_cast<automation::HostDictionary*>(o->get()) : nullptr) {
    return d->valueOr(key, fallback ? *fallback : automation::Variant());
  }
  if (fallback) return record.toObject()->call("GetValue", key, *fallback);
  return record.toObject()->call("GetValue", key);
}

// The recordset; fails with 91 when none is set.
inline automation::Object& requireRecordset(const automation::ObjectRef& rs) {
  if (!rs) throw automation::Error::objectNotSet("LedgerData");
  return *rs;
}

// A field that the binding's own in-memory recordset does not have: reading it would fail, and
// the caller may take that as a failed read without raising it.
inline bool lacksField(const automation::ObjectRef& rs, std::string_view name) {
  auto* own = dynamic_cast<automation::Recordset*>(rs.get());
  return own && !own->findColumn(name);
}

// A field of the recordset's current record, by name or position: Fields(name).Value, read
// directly from the in-memory recordset of this library.
inline automation::Variant fieldValue(const automation::ObjectRef& rs,
                                      const automation::Variant& nameOrIndex) {
  automation::Object& o = requireRecordset(rs);
  if (auto* own = dynamic_cast<automation::Recordset*>(&o)) {
    return own->value(own->column(nameOrIndex));
  }
  return o.get("Fields", nameOrIndex).toObject()->get("Value");
}

}  // namespace qx::widgets
