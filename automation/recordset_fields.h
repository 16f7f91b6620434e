// The Fields collection and Field objects of the in-memory recordset. Both hold the recordset's
// state, so a field read after the recordset's last outside reference is dropped still works.
#pragma once

#include <memory>

#include "automation/recordset.h"

namespace qx::automation {

class RecordsetFields final : public Dispatch<RecordsetFields> {
 public:
  static constexpr std::string_view kTypeName = "Fields";
  static std::span<const Member<RecordsetFields>> members();
  explicit RecordsetFields(std::shared_ptr<RecordsetData> rs) : rs_(std::move(rs)) {}

 private:
  Variant mItem(Args a);
  Variant mCount(Args a);
  Variant mAppend(Args a);
  std::shared_ptr<RecordsetData> rs_;
};

class RecordsetField final : public Dispatch<RecordsetField> {
 public:
  static constexpr std::string_view kTypeName = "Field";
  static std::span<const Member<RecordsetField>> members();
  RecordsetField(std::shared_ptr<RecordsetData> rs, size_t column)
      : rs_(std::move(rs)), column_(column) {}

 private:
  Variant mValue(Args a);
  void mPutValue(Args a, const Variant& v);
  Variant mName(Args a);
  Variant mType(Args a);
  Variant mDefinedSize(Args a);
  Variant mAttributes(Args a);
  std::shared_ptr<RecordsetData> rs_;
  size_t column_;
};

}  // namespace qx::automation
