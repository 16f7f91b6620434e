// The state of an in-memory recordset: its fields, its values by column, the filtered view and
// the position. The recordset object and its Field objects share it, so a Field handed out
// stays readable after the recordset itself is released, and the recordset can keep its Field
// objects without the two holding each other.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/recordset.h"
#include "automation/recordset_column.h"

namespace qx::automation {

class RecordsetData {
 public:
  void appendField(FieldDef def);
  void reserveFields(size_t n) {
    fields_.reserve(n);
    fieldNames_.reserve(n);
  }
  void open();
  void close();
  bool isOpen() const noexcept { return open_; }
  void addNew();
  void update();
  void appendRow(std::vector<Variant> values);
  void reserveRows(size_t n);
  size_t appendRows(size_t n);
  void setCell(size_t row, size_t column, double v);
  void setCell(size_t row, size_t column, int32_t v);
  void setCell(size_t row, size_t column, Date v);
  void setCell(size_t row, size_t column, std::string_view v);
  void setCell(size_t row, size_t column, const Variant& v);
  void copyColumnToRow(size_t column, RecordsetData& target, size_t firstTarget);

  void moveFirst();
  void moveNext();
  void movePrevious();
  void moveLast();
  void move(int32_t n);
  bool eof() const noexcept;
  bool bof() const noexcept;
  int32_t recordCount() const noexcept;
  // 1-based position in the view; -3 at the end, -2 before the start.
  int32_t absolutePosition() const;

  void setFilter(std::string_view text);
  bool filtered() const noexcept { return filtered_; }
  const std::string& filter() const noexcept { return filterText_; }
  void setIndexing(bool on) noexcept { indexing_ = on; }
  void setTypedColumns(bool on) noexcept { typed_ = on; }

  size_t fieldCount() const noexcept { return fields_.size(); }
  const FieldDef& fieldDef(size_t i) const { return fields_.at(i); }
  size_t column(const Variant& nameOrIndex) const;
  std::optional<size_t> findColumn(std::string_view name) const;
  Variant value(size_t column) const;
  void setValue(size_t column, const Variant& v);

  void requireOpen(const char* what) const {
    if (!open_) failClosed(what);
  }

 private:
  struct Index {
    std::unordered_map<double, std::vector<uint32_t>> numeric;
    std::unordered_map<std::string, std::vector<uint32_t>> text;
  };

  [[noreturn]] static void failClosed(const char* what);
  size_t currentRow(const char* what) const;
  Variant convertForField(size_t column, const Variant& v) const;
  RecordsetColumn& cellColumn(size_t row, size_t column);
  void setValueAt(size_t row, size_t column, const Variant& v);
  const Index& indexFor(size_t column);
  void dropIndex(size_t column) noexcept;
  size_t viewSize() const noexcept { return filtered_ ? view_.size() : rowCount_; }
  uint32_t rowAt(size_t p) const noexcept {
    return filtered_ ? view_[p] : static_cast<uint32_t>(p);
  }
  void reserveRow();

  std::vector<FieldDef> fields_;
  NameTable fieldNames_{false};                         // name in any letter case → column
  mutable size_t lastFound_ = static_cast<size_t>(-1);  // the column a name last found
  // The values by column. A filter or an index reads one field of many rows, so each field's
  // values lie together, in storage of the field's type.
  std::vector<RecordsetColumn> columns_;
  size_t rowCount_ = 0;
  bool open_ = false;
  bool filtered_ = false;
  std::vector<uint32_t> view_;  // rows of the filtered view, in row order
  std::string filterText_;
  long pos_ = 0;  // position in the view; -1 = BOF, viewSize() = EOF
  bool indexing_ = true;
  bool typed_ = true;  // off: every column keeps variants
  std::unordered_map<size_t, std::unique_ptr<Index>> indexes_;
};

}  // namespace qx::automation
