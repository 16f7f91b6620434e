#include "automation/record_cursor.h"

#include "automation/error.h"

namespace qx::automation {

RecordCursor::RecordCursor(ObjectRef rs) : object_(std::move(rs)) {
  if (!object_) throw Error::objectNotSet("Recordset");
  own_ = dynamic_cast<Recordset*>(object_.get());
}

void RecordCursor::setFilter(const std::string& text) {
  if (own_) return own_->setFilter(text);
  object_->put("Filter", text);
}

void RecordCursor::moveFirst() {
  if (own_) return own_->moveFirst();
  object_->call("MoveFirst");
}

void RecordCursor::moveNext() {
  if (own_) return own_->moveNext();
  object_->call("MoveNext");
}

bool RecordCursor::eof() {
  if (own_) return own_->eof();
  return object_->get("EOF").toBool();
}

int32_t RecordCursor::recordCount() {
  if (own_) return own_->recordCount();
  return object_->get("RecordCount").toInt32();
}

Variant RecordCursor::value(std::string_view field) {
  if (own_) {
    auto column = own_->findColumn(field);
    if (!column) return own_->value(own_->column(Variant(field)));  // fails with 3265
    return own_->value(*column);
  }
  return object_->get("Fields", field).toObject()->get("Value");
}

RecordCursor::Field RecordCursor::field(std::string_view name) const {
  Field f;
  f.name_ = name;
  if (own_) f.column_ = own_->findColumn(name);
  return f;
}

void RecordCursor::copyToRow(const Field& field, Recordset& table, size_t firstColumn) {
  if (own_ && field.column_) return own_->copyColumnToRow(*field.column_, table, firstColumn);
  for (size_t k = firstColumn; !eof(); moveNext(), ++k) table.setValue(k, value(field));
}

Variant RecordCursor::value(const Field& field) {
  if (own_ && field.column_) return own_->value(*field.column_);
  return value(field.name_);
}

}  // namespace qx::automation
