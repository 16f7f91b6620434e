#include "automation/recordset_column.h"

#include <functional>
#include <limits>

#include "automation/error.h"
#include "automation/recordset.h"

namespace qx::automation {

namespace {

size_t hashText(std::string_view text) noexcept {
  return std::hash<std::string_view>{}(text);
}

}  // namespace

// --- TextPool ------------------------------------------------------------------------------

void TextPool::clear() noexcept {
  bytes_.clear();
  ends_.clear();
  slots_.clear();
  last_ = 0;
}

void TextPool::grow() {
  std::vector<uint32_t> slots(std::max<size_t>(16, 2 * slots_.size()), 0);
  const size_t mask = slots.size() - 1;
  for (uint32_t id = 0; id < ends_.size(); ++id) {
    size_t s = hashText(at(id)) & mask;
    while (slots[s] != 0) s = (s + 1) & mask;
    slots[s] = id + 1;
  }
  slots_ = std::move(slots);
}

uint32_t TextPool::intern(std::string_view text) {
  if (last_ < ends_.size() && at(last_) == text) return last_;
  if (2 * (ends_.size() + 1) > slots_.size()) grow();
  const size_t mask = slots_.size() - 1;
  size_t s = hashText(text) & mask;
  for (; slots_[s] != 0; s = (s + 1) & mask) {
    if (at(slots_[s] - 1) == text) return last_ = slots_[s] - 1;
  }
  // Offsets are 32-bit in every build: a field's distinct texts stay below 4 GB together.
  if (text.size() > std::numeric_limits<uint32_t>::max() - bytes_.size()) {
    throw Error(7, "Out of memory: the texts of a field exceed 4 GB", "Recordset");
  }
  ends_.reserve(ends_.size() + 1);
  bytes_.append(text);
  ends_.push_back(static_cast<uint32_t>(bytes_.size()));
  uint32_t id = static_cast<uint32_t>(ends_.size() - 1);
  slots_[s] = id + 1;
  return last_ = id;
}

// --- RecordsetColumn -----------------------------------------------------------------------

RecordsetColumn::Kind RecordsetColumn::kindFor(int32_t type) noexcept {
  using namespace field_type;
  switch (type) {
    case kVariant:
      return Kind::Variant;
    case kSmallInt:
      return Kind::Integer;
    case kInteger:
      return Kind::Long;
    case kBoolean:
      return Kind::Boolean;
    case kDate:
    case kDBDate:
    case kDBTimeStamp:
      return Kind::Date;
    case kBSTR:
    case kChar:
    case kWChar:
    case kVarChar:
    case kLongVarChar:
    case kVarWChar:
    case kLongVarWChar:
      return Kind::Text;
    default:
      return Kind::Double;
  }
}

void RecordsetColumn::reserve(size_t n) {
  switch (kind_) {
    case Kind::Double:
    case Kind::Date:
      doubles_.reserve(n);
      break;
    case Kind::Variant:
      variants_.reserve(n);
      break;
    default:
      ints_.reserve(n);
  }
  if (kind_ != Kind::Variant) nulls_.reserve(n);
}

void RecordsetColumn::grow() {
  if (size_ == capacity()) reserve(std::max<size_t>(8, 2 * size_));
  if (kind_ != Kind::Variant) nulls_.reserve(size_ + 1);
}

void RecordsetColumn::push(const Variant& v) {
  if (kind_ == Kind::Variant) {
    variants_.push_back(v);
    ++size_;
    return;
  }
  if (v.isNull()) return pushNulls(1);
  switch (kind_) {
    case Kind::Double:
    case Kind::Date:
      doubles_.push_back(v.toDouble());
      break;
    case Kind::Long:
      ints_.push_back(v.toInt32());
      break;
    case Kind::Integer:
      ints_.push_back(v.toInt16());
      break;
    case Kind::Boolean:
      ints_.push_back(v.toBool() ? -1 : 0);
      break;
    case Kind::Text: {
      uint32_t id = texts_->intern(*v.stringIf());
      ints_.push_back(static_cast<int32_t>(id));
      break;
    }
    case Kind::Variant:
      break;
  }
  nulls_.resize(size_ + 1);
  ++size_;
}

void RecordsetColumn::pushNulls(size_t n) {
  switch (kind_) {
    case Kind::Variant:
      variants_.resize(size_ + n, Variant::null());
      size_ += n;
      return;
    case Kind::Double:
    case Kind::Date:
      doubles_.resize(size_ + n, 0.0);
      break;
    default:
      ints_.resize(size_ + n, 0);
  }
  nulls_.resize(size_ + n);
  for (size_t r = size_; r < size_ + n; ++r) nulls_.set(r, true);
  size_ += n;
}

void RecordsetColumn::popBack() noexcept {
  if (size_ == 0) return;
  --size_;
  switch (kind_) {
    case Kind::Variant:
      variants_.pop_back();
      return;
    case Kind::Double:
    case Kind::Date:
      doubles_.pop_back();
      break;
    default:
      ints_.pop_back();
  }
  nulls_.set(size_, false);
}

void RecordsetColumn::setText(size_t row, std::string_view text) {
  uint32_t id = texts_->intern(text);
  if (!nulls_.test(row) && textId(row) != id) ++replacedTexts_;
  ints_[row] = static_cast<int32_t>(id);
  nulls_.set(row, false);
  // Texts written over others stay in the pool until it is rebuilt from the rows' texts; that
  // happens once they could be as many as half the rows or half the pool.
  if (replacedTexts_ > std::max(size_, texts_->size()) / 2 + 64) compactTexts();
}

void RecordsetColumn::set(size_t row, const Variant& v) {
  if (kind_ == Kind::Variant) {
    variants_[row] = v;
    return;
  }
  if (v.isNull()) {
    if (kind_ == Kind::Text && !nulls_.test(row)) ++replacedTexts_;
    nulls_.set(row, true);
    return;
  }
  switch (kind_) {
    case Kind::Double:
    case Kind::Date:
      setNumber(row, v.toDouble());
      break;
    case Kind::Long:
      setInt(row, v.toInt32());
      break;
    case Kind::Integer:
      setInt(row, v.toInt16());
      break;
    case Kind::Boolean:
      setInt(row, v.toBool() ? -1 : 0);
      break;
    case Kind::Text:
      setText(row, *v.stringIf());
      break;
    case Kind::Variant:
      break;
  }
}

Variant RecordsetColumn::get(size_t row) const {
  if (kind_ == Kind::Variant) return variants_[row];
  if (nulls_.test(row)) return Variant::null();
  switch (kind_) {
    case Kind::Double:
      return Variant(doubles_[row]);
    case Kind::Date:
      return Variant(Date{doubles_[row]});
    case Kind::Long:
      return Variant(ints_[row]);
    case Kind::Integer:
      return Variant(static_cast<int16_t>(ints_[row]));
    case Kind::Boolean:
      return Variant(ints_[row] != 0);
    case Kind::Text:
      return Variant(texts_->at(textId(row)));
    case Kind::Variant:
      break;
  }
  return variants_[row];
}

void RecordsetColumn::compactTexts() {
  TextPool kept;
  std::vector<uint32_t> renumbered(texts_->size(), std::numeric_limits<uint32_t>::max());
  std::vector<int32_t> ids = ints_;
  for (size_t r = 0; r < size_; ++r) {
    if (nulls_.test(r)) continue;
    uint32_t& to = renumbered[textId(r)];
    if (to == std::numeric_limits<uint32_t>::max()) to = kept.intern(texts_->at(textId(r)));
    ids[r] = static_cast<int32_t>(to);
  }
  *texts_ = std::move(kept);
  ints_ = std::move(ids);
  replacedTexts_ = 0;
}

}  // namespace qx::automation
