#include "automation/recordset.h"

#include <algorithm>
#include <iterator>

#include "automation/conversions.h"
#include "automation/recordset_fields.h"
#include "automation/recordset_filter.h"

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

std::span<const Member<Recordset>> Recordset::members() {
  using R = Recordset;
  static const Member<Recordset> m[] = {
      {"Fields", 1, nullptr, &R::mFields},
      {"Item", 0, nullptr, &R::mItem, &R::mPutItem},
      {"Open", 2, &R::mOpen},
      {"Close", 3, &R::mClose},
      {"AddNew", 4, &R::mAddNew},
      {"Update", 5, &R::mUpdate},
      {"MoveFirst", 6, &R::mMoveFirst},
      {"MoveNext", 7, &R::mMoveNext},
      {"MovePrevious", 8, &R::mMovePrevious},
      {"MoveLast", 9, &R::mMoveLast},
      {"Move", 10, &R::mMove},
      {"EOF", 11, nullptr, &R::mEOF},
      {"BOF", 12, nullptr, &R::mBOF},
      {"RecordCount", 13, nullptr, &R::mRecordCount},
      {"State", 14, nullptr, &R::mState},
      {"Filter", 15, nullptr, &R::mFilter, &R::mPutFilter},
      {"AbsolutePosition", 16, nullptr, &R::mAbsolutePosition},
  };
  return m;
}

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::appendField(FieldDef def) {
  if (open_)
    throw Error(3219, "Operation is not allowed in this context: the recordset is open", kSource);
  if (def.name.empty()) throw Error::invalidProcedureCall("a field needs a name", kSource);
  std::string key = asciiLower(def.name);
  if (fieldByName_.count(key))
    throw Error(3367, "Object is already in collection: " + def.name, kSource);
  fieldByName_.emplace(std::move(key), fields_.size());
  fields_.push_back(std::move(def));
}

void Recordset::open() {
  if (open_) throw Error(3705, "Operation is not allowed when the object is open.", kSource);
  if (fields_.empty()) throw Error(3001, "A recordset needs at least one field to open", kSource);
  open_ = true;
  filtered_ = false;
  view_.clear();
  filterText_.clear();
  pos_ = 0;
}

void Recordset::close() {
  requireOpen("Close");
  open_ = false;
  rows_.clear();
  indexes_.clear();
  view_.clear();
  filtered_ = false;
  filterText_.clear();
  pos_ = 0;
}

void Recordset::requireOpen(const char* what) const {
  if (!open_) throw closed(what);
}

size_t Recordset::viewSize() const noexcept {
  return filtered_ ? view_.size() : rows_.size();
}
uint32_t Recordset::rowAt(size_t p) const noexcept {
  return filtered_ ? view_[p] : static_cast<uint32_t>(p);
}

size_t Recordset::currentRow(const char* what) const {
  requireOpen(what);
  if (pos_ < 0 || static_cast<size_t>(pos_) >= viewSize()) throw noCurrentRecord();
  return rowAt(static_cast<size_t>(pos_));
}

void Recordset::addNew() {
  requireOpen("AddNew");
  rows_.emplace_back(fields_.size(), Variant::null());
  indexes_.clear();
  uint32_t row = static_cast<uint32_t>(rows_.size() - 1);
  if (filtered_) view_.push_back(row);
  pos_ = static_cast<long>(viewSize() - 1);
}

void Recordset::update() {
  currentRow("Update");
}

void Recordset::appendRow(std::vector<Variant> values) {
  requireOpen("AddNew");
  if (values.size() != fields_.size()) {
    throw Error::invalidProcedureCall("a row needs " + std::to_string(fields_.size()) + " values",
                                      kSource);
  }
  for (size_t c = 0; c < values.size(); ++c) values[c] = convertForField(c, values[c]);
  rows_.push_back(std::move(values));
  indexes_.clear();
  if (filtered_) view_.push_back(static_cast<uint32_t>(rows_.size() - 1));
}

void Recordset::moveFirst() {
  requireOpen("MoveFirst");
  pos_ = 0;
}

void Recordset::moveNext() {
  requireOpen("MoveNext");
  if (static_cast<size_t>(pos_ + 1) > viewSize()) throw noCurrentRecord();
  ++pos_;
}

void Recordset::move(int32_t n) {
  requireOpen("Move");
  long size = static_cast<long>(viewSize());
  if ((n > 0 && pos_ >= size) || (n < 0 && pos_ < 0)) throw noCurrentRecord();
  long p = pos_ + n;
  pos_ = p < 0 ? -1 : (p > size ? size : p);
}

bool Recordset::eof() const noexcept {
  return !open_ || viewSize() == 0 || pos_ >= static_cast<long>(viewSize());
}
bool Recordset::bof() const noexcept {
  return !open_ || viewSize() == 0 || pos_ < 0;
}

int32_t Recordset::recordCount() const noexcept {
  return open_ ? static_cast<int32_t>(viewSize()) : -1;
}

std::optional<size_t> Recordset::findColumn(std::string_view name) const {
  auto it = fieldByName_.find(asciiLower(name));
  if (it == fieldByName_.end()) return std::nullopt;
  return it->second;
}

size_t Recordset::column(const Variant& v) const {
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

const Variant& Recordset::value(size_t c) const {
  size_t row = currentRow("Value");
  return rows_[row].at(c);
}

Variant Recordset::convertForField(size_t c, const Variant& in) const {
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
        if (isTextType(f.type)) return Variant(v.toString());
        return Variant(v.toDouble());
    }
  } catch (const Error& e) {
    throw wrongValue("field " + f.name + ": " + e.description());
  }
}

void Recordset::setValue(size_t c, const Variant& v) {
  size_t row = currentRow("Value");
  Variant converted = convertForField(c, v);
  rows_[row].at(c) = std::move(converted);
  dropIndex(c);
}

void Recordset::dropIndex(size_t c) noexcept {
  indexes_.erase(c);
}

const Recordset::Index& Recordset::indexFor(size_t c) {
  auto it = indexes_.find(c);
  if (it != indexes_.end()) return *it->second;
  auto idx = std::make_unique<Index>();
  for (uint32_t r = 0; r < rows_.size(); ++r) {
    const Variant& v = rows_[r][c];
    if (auto n = numericKey(v)) {
      idx->numeric[*n].push_back(r);
    } else if (auto t = textKey(v)) {
      idx->text[*t].push_back(r);
    }
  }
  return *indexes_.emplace(c, std::move(idx)).first->second;
}

void Recordset::setFilter(std::string_view text) {
  requireOpen("Filter");
  std::vector<FilterCondition> conds = parseFilter(text);
  std::vector<size_t> cols;
  for (const FilterCondition& cond : conds) {
    auto c = findColumn(cond.field);
    if (!c) {
      throw Error(3001, "Filter \"" + std::string(text) + "\": no field " + cond.field, kSource);
    }
    cols.push_back(*c);
  }
  std::vector<uint32_t> view;
  if (!conds.empty()) {
    auto eq = std::find_if(conds.begin(), conds.end(),
                           [](const FilterCondition& f) { return f.op == CompareOp::Eq; });
    auto keep = [&](uint32_t r) {
      for (size_t k = 0; k < conds.size(); ++k) {
        if (!matches(rows_[r][cols[k]], conds[k])) return false;
      }
      return true;
    };
    if (indexing_ && eq != conds.end()) {
      const Index& idx = indexFor(cols[eq - conds.begin()]);
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
      for (uint32_t r = 0; r < rows_.size(); ++r) {
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

Variant Recordset::mFields(Args a) {
  if (a.size() > 1) throw Error::wrongArgumentCount("Fields", typeName());
  Ref<Recordset> self(this);
  if (a.size() == 1) return Variant(makeObject<RecordsetField>(self, column(a[0].get())));
  return Variant(makeObject<RecordsetFields>(self));
}

Variant Recordset::mItem(Args a) {
  requireArgs(a, 1, "Item");
  return Variant(makeObject<RecordsetField>(Ref<Recordset>(this), column(a[0].get())));
}

void Recordset::mPutItem(Args a, const Variant& v) {
  requireArgs(a, 1, "Item");
  setValue(column(a[0].get()), v);
}

Variant Recordset::mOpen(Args) {
  open();
  return Variant();
}
Variant Recordset::mClose(Args) {
  close();
  return Variant();
}

Variant Recordset::mAddNew(Args a) {
  if (!a.empty()) throw Error::notImplemented("AddNew with field lists", typeName());
  addNew();
  return Variant();
}

Variant Recordset::mUpdate(Args a) {
  if (!a.empty()) throw Error::notImplemented("Update with field lists", typeName());
  update();
  return Variant();
}

Variant Recordset::mMoveFirst(Args) {
  moveFirst();
  return Variant();
}
Variant Recordset::mMoveNext(Args) {
  moveNext();
  return Variant();
}
Variant Recordset::mMovePrevious(Args) {
  requireOpen("MovePrevious");
  if (pos_ < 0) throw noCurrentRecord();
  --pos_;
  return Variant();
}
Variant Recordset::mMoveLast(Args) {
  requireOpen("MoveLast");
  pos_ = static_cast<long>(viewSize()) - 1;
  if (viewSize() == 0) pos_ = 0;
  return Variant();
}
Variant Recordset::mMove(Args a) {
  if (a.empty()) throw Error::argumentNotOptional("Move NumRecords", typeName());
  move(a[0].get().toInt32());
  return Variant();
}

Variant Recordset::mEOF(Args) {
  requireOpen("EOF");
  return Variant(eof());
}
Variant Recordset::mBOF(Args) {
  requireOpen("BOF");
  return Variant(bof());
}
Variant Recordset::mRecordCount(Args) {
  requireOpen("RecordCount");
  return Variant(recordCount());
}
Variant Recordset::mState(Args) {
  return Variant(open_ ? 1 : 0);
}

Variant Recordset::mFilter(Args) {
  if (!filtered_) return Variant(0);
  return Variant(filterText_);
}

void Recordset::mPutFilter(Args, const Variant& v) {
  Variant f = v.value();
  if (f.isNumber()) {
    if (f.toInt32() != 0) throw Error::notImplemented("filter groups", typeName());
    setFilter("");
    return;
  }
  setFilter(f.toString());
}

Variant Recordset::mAbsolutePosition(Args) {
  requireOpen("AbsolutePosition");
  if (eof()) return Variant(-3);
  if (bof()) return Variant(-2);
  return Variant(static_cast<int32_t>(pos_ + 1));
}

}  // namespace qx::automation
