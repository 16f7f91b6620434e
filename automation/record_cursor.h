// Walks a recordset that a host component handed over: by name through its automation members
// (any recordset object), or straight through the in-memory recordset of this library when it
// is one. Both make the same calls in the same order; the second spares the late-bound round
// trip of each Fields(name).Value on large results.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "automation/recordset.h"

namespace qx::automation {

class RecordCursor {
 public:
  // Fails with 91 when `rs` holds no object.
  explicit RecordCursor(ObjectRef rs);

  void setFilter(const std::string& text);
  void moveFirst();
  void moveNext();
  bool eof();
  int32_t recordCount();
  // Fields(name).Value of the current record.
  Variant value(std::string_view field);

  // A field named once and read row after row: the in-memory recordset finds its column once.
  class Field {
   public:
    std::string_view name() const noexcept { return name_; }

   private:
    friend class RecordCursor;
    std::string_view name_;
    std::optional<size_t> column_;
  };
  Field field(std::string_view name) const;
  Variant value(const Field& field);
  // From the current record to the end, the field's values written into the current row of
  // `table`, one field per record from `firstColumn` on (the walk with MoveNext); ends at EOF.
  void copyToRow(const Field& field, Recordset& table, size_t firstColumn);

 private:
  ObjectRef object_;
  Recordset* own_ = nullptr;
};

}  // namespace qx::automation
