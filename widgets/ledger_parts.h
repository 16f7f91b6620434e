// Reading the binding's sources: the header list's records and the current record's fields.
#pragma once

#include <string_view>
#include <vector>

#include "automation/host_vector.h"
#include "automation/variant.h"

namespace qx::widgets {

// The header list; fails with 91 when none is set.
inline automation::Object& requireHeader(const automation::ObjectRef& header) {
  if (!header) throw automation::Error::objectNotSet("LedgerData");
  return *header;
}

// The column definition records in display order.
inline std::vector<automation::Variant> headerRecords(const automation::ObjectRef& header) {
  std::vector<automation::Variant> records;
  requireHeader(header);
  automation::forEachItem(header, [&](const automation::Variant& r) { records.push_back(r); });
  return records;
}

// A key of a column definition record read with Value.
inline automation::Variant recordValue(const automation::Variant& record, std::string_view key) {
  return record.toObject()->get("Value", key);
}

// The recordset; fails with 91 when none is set.
inline automation::Object& requireRecordset(const automation::ObjectRef& rs) {
  if (!rs) throw automation::Error::objectNotSet("LedgerData");
  return *rs;
}

// A field of the recordset's current record, by name or position.
inline automation::Variant fieldValue(const automation::ObjectRef& rs,
                                      const automation::Variant& nameOrIndex) {
  return requireRecordset(rs).get("Fields", nameOrIndex).toObject()->get("Value");
}

}  // namespace qx::widgets
