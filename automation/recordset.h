// The in-memory recordset: the result type of queries and the tables the component builds.
// Members follow the data-access recordset the host speaks: Fields, Open, AddNew, Update,
// MoveFirst/MoveNext/MovePrevious/MoveLast/Move, EOF, BOF, RecordCount, State, Filter, Close.
// An equality condition of a filter is answered from a per-field index built on first use.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/dispatch.h"

namespace qx::automation {

// Field type codes of the data-access library.
namespace field_type {
inline constexpr int32_t kSmallInt = 2, kInteger = 3, kSingle = 4, kDouble = 5, kCurrency = 6,
                         kDate = 7, kBSTR = 8, kBoolean = 11, kVariant = 12, kDecimal = 14,
                         kBigInt = 20, kNumeric = 131, kDBDate = 133, kDBTimeStamp = 135,
                         kChar = 129, kWChar = 130, kVarChar = 200, kLongVarChar = 201,
                         kVarWChar = 202, kLongVarWChar = 203;
}
// Field attributes: Null may be stored when one of these is set, or when none was given (-1).
namespace field_attr {
inline constexpr int32_t kUnspecified = -1, kIsNullable = 0x20, kMayBeNull = 0x40;
}

struct FieldDef {
  std::string name;
  int32_t type = field_type::kVariant;
  int32_t size = 0;
  int32_t attributes = field_attr::kUnspecified;
};

class RecordsetData;
class RecordsetField;

class Recordset final : public Dispatch<Recordset> {
 public:
  static constexpr std::string_view kTypeName = "Recordset";
  static std::span<const Member<Recordset>> members();
  static Ref<Recordset> create() { return makeObject<Recordset>(); }

  Recordset();
  ~Recordset() override;

  // C++ side, the same rules as the members.
  void appendField(FieldDef def);
  // Makes room for `n` fields (a table about to get many).
  void reserveFields(size_t n);
  void open();
  void close();
  bool isOpen() const noexcept;
  void addNew();
  void update();
  void moveFirst();
  void moveNext();
  void move(int32_t n);
  bool eof() const noexcept;
  bool bof() const noexcept;
  int32_t recordCount() const noexcept;
  void setFilter(std::string_view text);
  const std::string& filter() const noexcept;
  // Off: filters scan every row (for comparison and tests).
  void setIndexing(bool on) noexcept;
  // Off: the fields opened from then on keep every value as a variant, as a Variant field does,
  // instead of in storage of their type (for comparison and tests).
  void setTypedColumns(bool on) noexcept;

  size_t fieldCount() const noexcept;
  const FieldDef& fieldDef(size_t i) const;
  // Column of a field name (ignoring case), or of a numeric position; fails with 3265.
  size_t column(const Variant& nameOrIndex) const;
  std::optional<size_t> findColumn(std::string_view name) const;
  Variant value(size_t column) const;
  void setValue(size_t column, const Variant& v);
  // Appends a whole row of values in field order (bulk loading; converts like setValue).
  void appendRow(std::vector<Variant> values);

  // Bulk loading by cells, without a variant per value: room for `n` more rows; `n` rows of
  // Null appended at the end (the number of the first is returned; the position stays); a cell
  // of any row written by row number, converted like setValue (a value of the field's own type
  // is stored as it is).
  void reserveRows(size_t n);
  size_t appendRows(size_t n);
  void setCell(size_t row, size_t column, double v);
  void setCell(size_t row, size_t column, int32_t v);
  void setCell(size_t row, size_t column, Date v);
  void setCell(size_t row, size_t column, std::string_view v);
  void setCell(size_t row, size_t column, const Variant& v);
  // From the current row to the end of the view, the values of `column` written into the current
  // row of `target`, one field per row from `firstTarget` on, as setValue would write them; this
  // recordset then stands at the end. The walk with MoveNext and Value, without a variant per
  // value.
  void copyColumnToRow(size_t column, Recordset& target, size_t firstTarget);

 private:
  Variant fieldObject(size_t column);

  Variant mFields(Args a);
  Variant mItem(Args a);
  void mPutItem(Args a, const Variant& v);
  Variant mOpen(Args a);
  Variant mClose(Args a);
  Variant mAddNew(Args a);
  Variant mUpdate(Args a);
  Variant mMoveFirst(Args a);
  Variant mMoveNext(Args a);
  Variant mMovePrevious(Args a);
  Variant mMoveLast(Args a);
  Variant mMove(Args a);
  Variant mEOF(Args a);
  Variant mBOF(Args a);
  Variant mRecordCount(Args a);
  Variant mState(Args a);
  Variant mFilter(Args a);
  void mPutFilter(Args a, const Variant& v);
  Variant mAbsolutePosition(Args a);

  std::shared_ptr<RecordsetData> d_;
  // One Field object per column, made on first use: a caller reading a field row after row
  // gets the same object each time.
  std::vector<Ref<RecordsetField>> fieldObjects_;
};

}  // namespace qx::automation
