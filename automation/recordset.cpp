#include "automation/recordset.h"

#include "automation/recordset_data.h"
#include "automation/recordset_fields.h"

namespace qx::automation {

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

Recordset::Recordset() : d_(std::make_shared<RecordsetData>()) {}
Recordset::~Recordset() = default;

void Recordset::appendField(FieldDef def) {
  d_->appendField(std::move(def));
}
void Recordset::open() {
  d_->open();
}
void Recordset::close() {
  d_->close();
}
bool Recordset::isOpen() const noexcept {
  return d_->isOpen();
}
void Recordset::addNew() {
  d_->addNew();
}
void Recordset::update() {
  d_->update();
}
void Recordset::moveFirst() {
  d_->moveFirst();
}
void Recordset::moveNext() {
  d_->moveNext();
}
void Recordset::move(int32_t n) {
  d_->move(n);
}
bool Recordset::eof() const noexcept {
  return d_->eof();
}
bool Recordset::bof() const noexcept {
  return d_->bof();
}
int32_t Recordset::recordCount() const noexcept {
  return d_->recordCount();
}
void Recordset::setFilter(std::string_view text) {
  d_->setFilter(text);
}
const std::string& Recordset::filter() const noexcept {
  return d_->filter();
}
void Recordset::setIndexing(bool on) noexcept {
  d_->setIndexing(on);
}
size_t Recordset::fieldCount() const noexcept {
  return d_->fieldCount();
}
const FieldDef& Recordset::fieldDef(size_t i) const {
  return d_->fieldDef(i);
}
size_t Recordset::column(const Variant& nameOrIndex) const {
  return d_->column(nameOrIndex);
}
std::optional<size_t> Recordset::findColumn(std::string_view name) const {
  return d_->findColumn(name);
}
Variant Recordset::value(size_t column) const {
  return d_->value(column);
}
void Recordset::reserveFields(size_t n) {
  d_->reserveFields(n);
}
void Recordset::setValue(size_t column, const Variant& v) {
  d_->setValue(column, v);
}
void Recordset::appendRow(std::vector<Variant> values) {
  d_->appendRow(std::move(values));
}
void Recordset::setTypedColumns(bool on) noexcept {
  d_->setTypedColumns(on);
}
void Recordset::reserveRows(size_t n) {
  d_->reserveRows(n);
}
size_t Recordset::appendRows(size_t n) {
  return d_->appendRows(n);
}
void Recordset::setCell(size_t row, size_t column, double v) {
  d_->setCell(row, column, v);
}
void Recordset::setCell(size_t row, size_t column, int32_t v) {
  d_->setCell(row, column, v);
}
void Recordset::setCell(size_t row, size_t column, Date v) {
  d_->setCell(row, column, v);
}
void Recordset::setCell(size_t row, size_t column, std::string_view v) {
  d_->setCell(row, column, v);
}
void Recordset::setCell(size_t row, size_t column, const Variant& v) {
  d_->setCell(row, column, v);
}
void Recordset::copyColumnToRow(size_t column, Recordset& target, size_t firstTarget) {
  d_->copyColumnToRow(column, *target.d_, firstTarget);
}

// The Field object of a column: made on first use, then the same object every time.
Variant Recordset::fieldObject(size_t c) {
  if (fieldObjects_.size() <= c) fieldObjects_.resize(c + 1);
  if (!fieldObjects_[c]) fieldObjects_[c] = makeObject<RecordsetField>(d_, c);
  return Variant(fieldObjects_[c]);
}

Variant Recordset::mFields(Args a) {
  if (a.size() > 1) throw Error::wrongArgumentCount("Fields", typeName());
  if (a.size() == 1) return fieldObject(d_->column(a[0].get()));
  return Variant(makeObject<RecordsetFields>(d_));
}

Variant Recordset::mItem(Args a) {
  requireArgs(a, 1, "Item");
  return fieldObject(d_->column(a[0].get()));
}

void Recordset::mPutItem(Args a, const Variant& v) {
  requireArgs(a, 1, "Item");
  d_->setValue(d_->column(a[0].get()), v);
}

Variant Recordset::mOpen(Args) {
  d_->open();
  return Variant();
}
Variant Recordset::mClose(Args) {
  d_->close();
  return Variant();
}

Variant Recordset::mAddNew(Args a) {
  if (!a.empty()) throw Error::notImplemented("AddNew with field lists", typeName());
  d_->addNew();
  return Variant();
}

Variant Recordset::mUpdate(Args a) {
  if (!a.empty()) throw Error::notImplemented("Update with field lists", typeName());
  d_->update();
  return Variant();
}

Variant Recordset::mMoveFirst(Args) {
  d_->moveFirst();
  return Variant();
}
Variant Recordset::mMoveNext(Args) {
  d_->moveNext();
  return Variant();
}
Variant Recordset::mMovePrevious(Args) {
  d_->movePrevious();
  return Variant();
}
Variant Recordset::mMoveLast(Args) {
  d_->moveLast();
  return Variant();
}
Variant Recordset::mMove(Args a) {
  if (a.empty()) throw Error::argumentNotOptional("Move NumRecords", typeName());
  d_->move(a[0].get().toInt32());
  return Variant();
}

Variant Recordset::mEOF(Args) {
  d_->requireOpen("EOF");
  return Variant(d_->eof());
}
Variant Recordset::mBOF(Args) {
  d_->requireOpen("BOF");
  return Variant(d_->bof());
}
Variant Recordset::mRecordCount(Args) {
  d_->requireOpen("RecordCount");
  return Variant(d_->recordCount());
}
Variant Recordset::mState(Args) {
  return Variant(d_->isOpen() ? 1 : 0);
}

Variant Recordset::mFilter(Args) {
  if (!d_->filtered()) return Variant(0);
  return Variant(d_->filter());
}

void Recordset::mPutFilter(Args, const Variant& v) {
  Variant f = v.value();
  if (f.isNumber()) {
    if (f.toInt32() != 0) throw Error::notImplemented("filter groups", typeName());
    d_->setFilter("");
    return;
  }
  d_->setFilter(f.toString());
}

Variant Recordset::mAbsolutePosition(Args) {
  return Variant(d_->absolutePosition());
}

}  // namespace qx::automation
