// One field's values of the in-memory recordset, kept in storage of the field's own type:
// doubles and dates as doubles, Long, Integer and Boolean as 32-bit integers, texts as numbers
// into one buffer of the field's distinct texts, Null as a bit apart. A field of type Variant
// keeps whole variants (the recordset converts every other field's values to its type first).
//
// The sizes do not depend on the pointer size: a row of a typed field takes the same bytes in a
// 32-bit and a 64-bit process (8 for a double or date, 4 for an integer or a text, 1 bit for
// Null); only Variant fields take the size of a variant.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace qx::automation {

// The distinct texts of a field, one after another in one buffer, each found by its number.
class TextPool {
 public:
  // The number of `text`, added when new.
  uint32_t intern(std::string_view text);
  std::string_view at(uint32_t id) const noexcept {
    uint32_t begin = id == 0 ? 0 : ends_[id - 1];
    return std::string_view(bytes_).substr(begin, ends_[id] - begin);
  }
  size_t size() const noexcept { return ends_.size(); }
  void clear() noexcept;

 private:
  void grow();
  std::string bytes_;
  std::vector<uint32_t> ends_;   // end of text i in bytes_
  std::vector<uint32_t> slots_;  // hash table of text numbers + 1 (0 = empty slot)
  uint32_t last_ = 0;            // the text interned last (rows of a table often repeat it)
};

// One bit per row. The first 32 rows' bits are kept inline: the small tables a component builds
// (a few rows of many fields) need no allocation for them.
class NullBits {
 public:
  bool test(size_t row) const noexcept {
    if (row < 32) return (first_ >> row) & 1u;
    row -= 32;
    return (rest_[row / 32] >> (row % 32)) & 1u;
  }
  void set(size_t row, bool on) noexcept {
    uint32_t* w = &first_;
    if (row >= 32) {
      row -= 32;
      w = &rest_[row / 32];
    }
    uint32_t bit = 1u << (row % 32);
    *w = on ? (*w | bit) : (*w & ~bit);
  }
  // Room for `rows` rows (new bits clear).
  void resize(size_t rows) {
    size_t words = rows <= 32 ? 0 : (rows - 32 + 31) / 32;
    if (words != rest_.size()) rest_.resize(words, 0);
  }
  bool fits(size_t rows) const noexcept {
    return rows <= 32 || (rows - 32 + 31) / 32 <= rest_.capacity();
  }
  void reserve(size_t rows) {
    size_t words = rows <= 32 ? 0 : (rows - 32 + 31) / 32;
    if (words > rest_.capacity()) rest_.reserve(std::max(words, 2 * rest_.capacity()));
  }
  void clear() noexcept {
    first_ = 0;
    rest_.clear();
  }

 private:
  uint32_t first_ = 0;
  std::vector<uint32_t> rest_;
};

class RecordsetColumn {
 public:
  enum class Kind : uint8_t { Double, Date, Long, Integer, Boolean, Text, Variant };
  // The storage of a field type (see convertForField for what each type stores).
  static Kind kindFor(int32_t fieldType) noexcept;

  explicit RecordsetColumn(Kind kind)
      : kind_(kind), texts_(kind == Kind::Text ? std::make_unique<TextPool>() : nullptr) {}

  Kind kind() const noexcept { return kind_; }
  size_t size() const noexcept { return size_; }
  // Room for `n` rows; and for one more row, so that pushing it cannot fail.
  void reserve(size_t n);
  void reserveOneMore() {
    if (size_ < capacity() && (kind_ == Kind::Variant || nulls_.fits(size_ + 1))) return;
    grow();
  }

  // `v` is a value already converted for the field: Null or a value of the field's type.
  void push(const Variant& v);
  void pushNulls(size_t n);
  // One Null row, after reserveOneMore (cannot fail then).
  void pushNull() noexcept {
    if (kind_ == Kind::Variant) {
      variants_.push_back(Variant::null());
    } else {
      if (kind_ == Kind::Double || kind_ == Kind::Date) {
        doubles_.push_back(0.0);
      } else {
        ints_.push_back(0);
      }
      nulls_.resize(size_ + 1);
      nulls_.set(size_, true);
    }
    ++size_;
  }
  void popBack() noexcept;
  void set(size_t row, const Variant& v);
  Variant get(size_t row) const;

  // Typed access (the kind decides which applies).
  bool isNull(size_t row) const noexcept {
    return kind_ == Kind::Variant ? variants_[row].isNull() : nulls_.test(row);
  }
  // Double, Date, Long, Integer, Boolean: the value as a number (Boolean True is -1).
  double number(size_t row) const noexcept {
    if (kind_ == Kind::Double || kind_ == Kind::Date) return doubles_[row];
    return static_cast<double>(ints_[row]);
  }
  uint32_t textId(size_t row) const noexcept { return static_cast<uint32_t>(ints_[row]); }
  const TextPool& texts() const noexcept { return *texts_; }  // Text columns only
  const Variant& variant(size_t row) const noexcept { return variants_[row]; }
  bool numeric() const noexcept { return kind_ != Kind::Text && kind_ != Kind::Variant; }

  // Direct writes of a value that needs no conversion for this kind (the caller checked).
  void setNumber(size_t row, double v) noexcept {
    doubles_[row] = v;
    nulls_.set(row, false);
  }
  void setInt(size_t row, int32_t v) noexcept {
    ints_[row] = v;
    nulls_.set(row, false);
  }
  void setText(size_t row, std::string_view text);

 private:
  void compactTexts();
  size_t capacity() const noexcept {
    if (kind_ == Kind::Variant) return variants_.capacity();
    return kind_ == Kind::Double || kind_ == Kind::Date ? doubles_.capacity() : ints_.capacity();
  }
  void grow();

  Kind kind_;
  size_t size_ = 0;
  std::vector<double> doubles_;    // Double, Date
  std::vector<int32_t> ints_;      // Long, Integer, Boolean (True -1), Text (the text's number)
  std::vector<Variant> variants_;  // Variant
  NullBits nulls_;
  std::unique_ptr<TextPool> texts_;  // Text columns only
  size_t replacedTexts_ = 0;         // texts overwritten since the pool was last compacted
};

}  // namespace qx::automation
