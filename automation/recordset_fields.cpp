#include "automation/recordset_fields.h"

#include "automation/recordset_data.h"

namespace qx::automation {

std::span<const Member<RecordsetFields>> RecordsetFields::members() {
  static const Member<RecordsetFields> m[] = {
      {"Item", 0, nullptr, &RecordsetFields::mItem},
      {"Count", 1, nullptr, &RecordsetFields::mCount},
      {"Append", 2, &RecordsetFields::mAppend},
  };
  return m;
}

Variant RecordsetFields::mItem(Args a) {
  requireArgs(a, 1, "Item");
  return Variant(makeObject<RecordsetField>(rs_, rs_->column(a[0].get())));
}

Variant RecordsetFields::mCount(Args) {
  return Variant(static_cast<int32_t>(rs_->fieldCount()));
}

Variant RecordsetFields::mAppend(Args a) {
  if (a.size() < 2 || a.size() > 5) throw Error::wrongArgumentCount("Append", typeName());
  FieldDef def;
  def.name = a[0].get().toString();
  def.type = a[1].get().toInt32();
  def.size = argOr(a, 2, Variant(0)).toInt32();
  def.attributes = argOr(a, 3, Variant(field_attr::kUnspecified)).toInt32();
  rs_->appendField(std::move(def));
  return Variant();
}

std::span<const Member<RecordsetField>> RecordsetField::members() {
  static const Member<RecordsetField> m[] = {
      {"Value", 0, nullptr, &RecordsetField::mValue, &RecordsetField::mPutValue},
      {"Name", 1, nullptr, &RecordsetField::mName},
      {"Type", 2, nullptr, &RecordsetField::mType},
      {"DefinedSize", 3, nullptr, &RecordsetField::mDefinedSize},
      {"Attributes", 4, nullptr, &RecordsetField::mAttributes},
  };
  return m;
}

Variant RecordsetField::mValue(Args) {
  return rs_->value(column_);
}
void RecordsetField::mPutValue(Args, const Variant& v) {
  rs_->setValue(column_, v);
}
Variant RecordsetField::mName(Args) {
  return Variant(rs_->fieldDef(column_).name);
}
Variant RecordsetField::mType(Args) {
  return Variant(rs_->fieldDef(column_).type);
}
Variant RecordsetField::mDefinedSize(Args) {
  return Variant(rs_->fieldDef(column_).size);
}
Variant RecordsetField::mAttributes(Args) {
  return Variant(rs_->fieldDef(column_).attributes);
}

}  // namespace qx::automation
