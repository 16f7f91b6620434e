#include "automation/recordset_data.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "automation/conversions.h"
#include "automation/recordset_filter.h"
#include "automation/text.h"

namespace qx::automation {

namespace {

constexpr const char* kSource = "Recordset";

Error noCurrentRecord() {
  return Error(3021,
               "Either BOF or EOF is True, or the current record has been deleted. Requested "
               "operation requires a current record.",
               kSource);
}
Error closed(const char* what) {
  return Error(3704, std::string("Operation is not allowed when the object is closed: ") + what,
               kSource);
}
Error notInCollection(const std::string& what) {
  return Error(3265,
               "Item cannot be found in the collection corresponding to the requested name or "
               "ordinal: " +
                   what,
               kSource);
}
Error wrongValue(const std::string& what) {
  return Error(3421,
               "Application uses a value of the wrong type for the current operation: " + what,
               kSource);
}

bool isTextType(int32_t t) {
  using namespace field_type;
  return t == kBSTR || t == kChar || t == kWChar || t == kVarChar || t == kLongVarChar ||
         t == kVarWChar || t == kLongVarWChar;
}

}  // namespace

void RecordsetData::appendField(FieldDef def) {
  if (open_)
    throw Error(3219, "Operation is not allowed in this context: the recordset is open", kSource);
  if (def.name.empty()) throw Error::invalidProcedureCall("a field needs a name", kSource);
  if (!fieldNames_.add(def.name, static_cast<DispId>(fields_.size())))
    throw Error(3367, "Object is already in collection: " + def.name, kSource);
  fields_.push_back(std::move(def));
}

void RecordsetData::open() {
  if (open_) throw Error(3705, "Operation is not allowed when the object is open.", kSource);
  if (fields_.empty()) throw Error(3001, "A recordset needs at least one field to open", kSource);
  std::vector<RecordsetColumn> columns;
  columns.reserve(fields_.size());
  for (const FieldDef& f : fields_) {
    columns.emplace_back(typed_ ? RecordsetColumn::kindFor(f.type)
                                : RecordsetColumn::Kind::Variant);
  }
  open_ = true;
  columns_ = std::move(columns);
  rowCount_ = 0;
  filtered_ = false;
  view_.clear();
  filterText_.clear();
  pos_ = 0;
}

void RecordsetData::close() {
  requireOpen("Close");
  open_ = false;
  columns_.clear();
  rowCount_ = 0;
  indexes_.clear();
  view_.clear();
  filtered_ = false;
  filterText_.clear();
  pos_ = 0;
}

void RecordsetData::failClosed(const char* what) {
  throw closed(what);
}

size_t RecordsetData::currentRow(const char* what) const {
  requireOpen(what);
  if (pos_ < 0 || static_cast<size_t>(pos_) >= viewSize()) throw noCurrentRecord();
  return rowAt(static_cast<size_t>(pos_));
}

// Makes room for one more row in every column, so that adding it cannot fail half-way.
void RecordsetData::reserveRow() {
  for (RecordsetColumn& column : columns_) column.reserveOneMore();
}

void RecordsetData::addNew() {
  requireOpen("AddNew");
  reserveRow();
  for (RecordsetColumn& column : columns_) column.pushNull();
  ++rowCount_;
  indexes_.clear();
  uint32_t row = static_cast<uint32_t>(rowCount_ - 1);
  if (filtered_) view_.push_back(row);
  pos_ = static_cast<long>(viewSize() - 1);
}

void RecordsetData::update() {
  currentRow("Update");
}

void RecordsetData::appendRow(std::vector<Variant> values) {
  requireOpen("AddNew");
  if (values.size() != fields_.size()) {
    throw Error::invalidProcedureCall("a row needs " + std::to_string(fields_.size()) + " values",
                                      kSource);
  }
  for (size_t c = 0; c < values.size(); ++c) values[c] = convertForField(c, values[c]);
  reserveRow();
  size_t c = 0;
  try {
    for (; c < values.size(); ++c) columns_[c].push(values[c]);
  } catch (...) {
    while (c-- > 0) columns_[c].popBack();
    throw;
  }
  ++rowCount_;
  indexes_.clear();
  if (filtered_) view_.push_back(static_cast<uint32_t>(rowCount_ - 1));
}

void RecordsetData::reserveRows(size_t n) {
  requireOpen("AddNew");
  for (RecordsetColumn& column : columns_) column.reserve(rowCount_ + n);
}

size_t RecordsetData::appendRows(size_t n) {
  requireOpen("AddNew");
  if (n > UINT32_MAX - rowCount_) {
    throw Error(7, "Out of memory: a recordset holds at most 4294967295 rows", kSource);
  }
  reserveRows(n);  // then the rows are added without failing half-way
  for (RecordsetColumn& column : columns_) column.pushNulls(n);
  size_t first = rowCount_;
  rowCount_ += n;
  indexes_.clear();
  if (filtered_) {
    for (size_t r = first; r < rowCount_; ++r) view_.push_back(static_cast<uint32_t>(r));
  }
  return first;
}

RecordsetColumn& RecordsetData::cellColumn(size_t row, size_t c) {
  requireOpen("Value");
  if (row >= rowCount_) throw noCurrentRecord();
  if (c >= columns_.size()) throw notInCollection("position " + std::to_string(c));
  dropIndex(c);
  return columns_[c];
}

void RecordsetData::setCell(size_t row, size_t c, double v) {
  RecordsetColumn& column = cellColumn(row, c);
  if (column.kind() == RecordsetColumn::Kind::Double) return column.setNumber(row, v);
  column.set(row, convertForField(c, Variant(v)));
}

void RecordsetData::setCell(size_t row, size_t c, int32_t v) {
  RecordsetColumn& column = cellColumn(row, c);
  if (column.kind() == RecordsetColumn::Kind::Long) return column.setInt(row, v);
  column.set(row, convertForField(c, Variant(v)));
}

void RecordsetData::setCell(size_t row, size_t c, Date v) {
  RecordsetColumn& column = cellColumn(row, c);
  if (column.kind() == RecordsetColumn::Kind::Date) return column.setNumber(row, v.serial);
  column.set(row, convertForField(c, Variant(v)));
}

void RecordsetData::setCell(size_t row, size_t c, std::string_view v) {
  RecordsetColumn& column = cellColumn(row, c);
  const int32_t size = fields_[c].size;
  if (column.kind() == RecordsetColumn::Kind::Text &&
      (size <= 0 || utf8Length(v) <= static_cast<size_t>(size))) {
    return column.setText(row, v);
  }
  column.set(row, convertForField(c, Variant(v)));
}

void RecordsetData::setCell(size_t row, size_t c, const Variant& v) {
  RecordsetColumn& column = cellColumn(row, c);
  column.set(row, convertForField(c, v));
}

void RecordsetData::moveFirst() {
  requireOpen("MoveFirst");
  pos_ = 0;
}

void RecordsetData::moveNext() {
  requireOpen("MoveNext");
  if (static_cast<size_t>(pos_ + 1) > viewSize()) throw noCurrentRecord();
  ++pos_;
}

void RecordsetData::move(int32_t n) {
  requireOpen("Move");
  long size = static_cast<long>(viewSize());
  if ((n > 0 && pos_ >= size) || (n < 0 && pos_ < 0)) throw noCurrentRecord();
  long p = pos_ + n;
  pos_ = p < 0 ? -1 : (p > size ? size : p);
}

void RecordsetData::movePrevious() {
  requireOpen("MovePrevious");
  if (pos_ < 0) throw noCurrentRecord();
  --pos_;
}

void RecordsetData::moveLast() {
  requireOpen("MoveLast");
  pos_ = static_cast<long>(viewSize()) - 1;
  if (viewSize() == 0) pos_ = 0;
}

int32_t RecordsetData::absolutePosition() const {
  requireOpen("AbsolutePosition");
  if (eof()) return -3;
  if (bof()) return -2;
  return static_cast<int32_t>(pos_ + 1);
}

bool RecordsetData::eof() const noexcept {
  return !open_ || viewSize() == 0 || pos_ >= static_cast<long>(viewSize());
}
bool RecordsetData::bof() const noexcept {
  return !open_ || viewSize() == 0 || pos_ < 0;
}

int32_t RecordsetData::recordCount() const noexcept {
  return open_ ? static_cast<int32_t>(viewSize()) : -1;
}

std::optional<size_t> RecordsetData::findColumn(std::string_view name) const {
  // Readers mostly ask for the fields in table order (a row's columns one after another): the
  // field after the last one found is tried before the name table.
  size_t next = lastFound_ + 1;
  if (next < fields_.size() && equalsIgnoreCase(fields_[next].name, name)) {
    lastFound_ = next;
    return next;
  }
  if (auto c = fieldNames_.find(name)) {
    lastFound_ = static_cast<size_t>(*c);
    return lastFound_;
  }
  return std::nullopt;
}

size_t RecordsetData::column(const Variant& v) const {
  if (const std::string* name = v.stringIf()) {
    if (auto c = findColumn(*name)) return *c;
    throw notInCollection("\"" + *name + "\"");
  }
  Variant key = v.value();
  if (key.isNumber()) {
    int32_t i = key.toInt32();
    if (i < 0 || static_cast<size_t>(i) >= fields_.size()) {
      throw notInCollection("position " + std::to_string(i));
    }
    return static_cast<size_t>(i);
  }
  std::string name = key.toString();
  if (auto c = findColumn(name)) return *c;
  throw notInCollection("\"" + name + "\"");
}

Variant RecordsetData::value(size_t c) const {
  size_t row = currentRow("Value");
  return columns_.at(c).get(row);
}

Variant RecordsetData::convertForField(size_t c, const Variant& in) const {
  const FieldDef& f = fields_.at(c);
  Variant v = in.isObject() && f.type != field_type::kVariant ? in.value() : in;
  if (f.type == field_type::kVariant) return v;
  if (v.isEmpty() || v.isNull()) {
    bool nullable = f.attributes == field_attr::kUnspecified ||
                    (f.attributes & (field_attr::kIsNullable | field_attr::kMayBeNull)) != 0;
    if (!nullable) throw wrongValue("field " + f.name + " does not take Null");
    return Variant::null();
  }
  try {
    using namespace field_type;
    switch (f.type) {
      case kSmallInt:
        return Variant(v.toInt16());
      case kInteger:
        return Variant(v.toInt32());
      case kBoolean:
        return Variant(v.toBool());
      case kDate:
      case kDBDate:
      case kDBTimeStamp:
        return Variant(v.toDate());
      default:
        if (isTextType(f.type)) {
          std::string text = v.toString();
          // A text longer than the field's defined size (in characters) is refused, as the
          // data-access library does.
          if (f.size > 0 && utf8Length(text) > static_cast<size_t>(f.size)) {
            throw Error::invalidProcedureCall("longer than " + std::to_string(f.size) +
                                              " characters");
          }
          return Variant(std::move(text));
        }
        return Variant(v.toDouble());
    }
  } catch (const Error& e) {
    throw wrongValue("field " + f.name + ": " + e.description());
  }
}

void RecordsetData::setValue(size_t c, const Variant& v) {
  setValueAt(currentRow("Value"), c, v);
}

void RecordsetData::copyColumnToRow(size_t c, RecordsetData& target, size_t firstTarget) {
  requireOpen("Value");
  const RecordsetColumn& from = columns_.at(c);
  const size_t targetRow = target.currentRow("Value");
  if (eof()) return;
  currentRow("Value");  // before the first row: no current record
  const size_t end = viewSize();
  for (size_t k = firstTarget; static_cast<size_t>(pos_) < end; ++pos_, ++k) {
    const size_t row = rowAt(static_cast<size_t>(pos_));
    if (k >= target.fields_.size()) throw notInCollection("position " + std::to_string(k));
    RecordsetColumn& to = target.columns_[k];
    // A number from a double field into a field stored as doubles is stored as it is (what
    // convertForField makes of a Double for every such field type).
    if (from.kind() == RecordsetColumn::Kind::Double &&
        to.kind() == RecordsetColumn::Kind::Double && !from.isNull(row)) {
      to.setNumber(targetRow, from.number(row));
      target.dropIndex(k);
    } else {
      target.setValueAt(targetRow, k, from.get(row));
    }
  }
}

void RecordsetData::setValueAt(size_t row, size_t c, const Variant& v) {
  if (c >= columns_.size()) throw notInCollection("position " + std::to_string(c));
  RecordsetColumn& column = columns_[c];
  // A number for a double field needs no conversion (the common case of large tables).
  if (fields_[c].type == field_type::kDouble && v.type() == VarType::Double) {
    column.set(row, v);
  } else {
    column.set(row, convertForField(c, v));
  }
  dropIndex(c);
}

void RecordsetData::dropIndex(size_t c) noexcept {
  if (!indexes_.empty()) indexes_.erase(c);
}

const RecordsetData::Index& RecordsetData::indexFor(size_t c) {
  auto it = indexes_.find(c);
  if (it != indexes_.end()) return *it->second;
  auto idx = std::make_unique<Index>();
  const RecordsetColumn& column = columns_.at(c);
  const uint32_t rows = static_cast<uint32_t>(rowCount_);
  if (column.kind() == RecordsetColumn::Kind::Variant) {
    for (uint32_t r = 0; r < rows; ++r) {
      const Variant& v = column.variant(r);
      if (auto n = numericKey(v)) {
        idx->numeric[*n].push_back(r);
      } else if (auto t = textKey(v)) {
        idx->text[*t].push_back(r);
      }
    }
  } else if (column.kind() == RecordsetColumn::Kind::Text) {
    // Each distinct text is lowered and looked up once.
    std::vector<std::vector<uint32_t>*> byText(column.texts().size(), nullptr);
    for (uint32_t r = 0; r < rows; ++r) {
      if (column.isNull(r)) continue;
      std::vector<uint32_t>*& rowsOf = byText[column.textId(r)];
      if (!rowsOf) rowsOf = &idx->text[asciiLower(column.texts().at(column.textId(r)))];
      rowsOf->push_back(r);
    }
  } else {
    // Rows of one key mostly follow one another (a line's dates): the last key is kept.
    std::vector<uint32_t>* last = nullptr;
    double lastKey = 0;
    for (uint32_t r = 0; r < rows; ++r) {
      if (column.isNull(r)) continue;
      double key = column.number(r);
      if (std::isnan(key)) continue;  // NaN equals nothing
      if (!last || key != lastKey) {
        last = &idx->numeric[key];
        lastKey = key;
      }
      last->push_back(r);
    }
  }
  return *indexes_.emplace(c, std::move(idx)).first->second;
}

namespace {

// A condition tested on a column's storage, as `matches` tests it on the row's value.
class ColumnTest {
 public:
  ColumnTest(const RecordsetColumn& column, const FilterCondition& condition)
      : column_(&column), condition_(&condition) {}

  bool operator()(uint32_t r) {
    const RecordsetColumn& col = *column_;
    switch (col.kind()) {
      case RecordsetColumn::Kind::Variant:
        return matches(col.variant(r), *condition_);
      case RecordsetColumn::Kind::Text: {
        if (col.isNull(r)) return false;
        // The answer depends on the text alone: once per distinct text.
        uint32_t id = col.textId(r);
        if (byText_.empty()) byText_.assign(col.texts().size(), kUnknown);
        if (byText_[id] == kUnknown) byText_[id] = matchesText(col.texts().at(id), *condition_);
        return byText_[id] != 0;
      }
      default:
        return !col.isNull(r) && matchesNumber(col.number(r), *condition_);
    }
  }

 private:
  static constexpr int8_t kUnknown = -1;
  const RecordsetColumn* column_;
  const FilterCondition* condition_;
  std::vector<int8_t> byText_;
};

}  // namespace

void RecordsetData::setFilter(std::string_view text) {
  requireOpen("Filter");
  std::vector<FilterCondition> conds = parseFilter(text);
  std::vector<ColumnTest> tests;  // one per condition
  tests.reserve(conds.size());
  for (const FilterCondition& cond : conds) {
    auto c = findColumn(cond.field);
    if (!c) {
      throw Error(3001, "Filter \"" + std::string(text) + "\": no field " + cond.field, kSource);
    }
    tests.emplace_back(columns_[*c], cond);
  }
  std::vector<uint32_t> view;
  if (!conds.empty()) {
    auto eq = std::find_if(conds.begin(), conds.end(),
                           [](const FilterCondition& f) { return f.op == CompareOp::Eq; });
    auto keep = [&](uint32_t r) {
      for (ColumnTest& test : tests) {
        if (!test(r)) return false;
      }
      return true;
    };
    if (indexing_ && eq != conds.end()) {
      const Index& idx = indexFor(*findColumn(eq->field));
      static const std::vector<uint32_t> none;
      const std::vector<uint32_t>* byNumber = &none;
      if (eq->literal.number) {
        auto n = idx.numeric.find(*eq->literal.number);
        if (n != idx.numeric.end()) byNumber = &n->second;
      }
      const std::vector<uint32_t>* byText = &none;
      auto t = idx.text.find(literalTextKey(eq->literal));
      if (t != idx.text.end()) byText = &t->second;
      std::vector<uint32_t> candidates;
      candidates.reserve(byNumber->size() + byText->size());
      std::merge(byNumber->begin(), byNumber->end(), byText->begin(), byText->end(),
                 std::back_inserter(candidates));
      if (conds.size() == 1) {
        view = std::move(candidates);
      } else {
        std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(view), keep);
      }
    } else {
      for (uint32_t r = 0; r < rowCount_; ++r) {
        if (keep(r)) view.push_back(r);
      }
    }
  }
  // Parsed and evaluated: only now change the recordset.
  filtered_ = !conds.empty();
  view_ = std::move(view);
  filterText_ = filtered_ ? std::string(text) : std::string();
  pos_ = 0;
}

}  // namespace qx::automation
