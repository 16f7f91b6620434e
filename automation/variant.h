// The automation value: Empty, Null, Boolean, Integer, Long, Double, Date, String, Object.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "automation/object.h"

namespace qx::automation {

enum class VarType : uint8_t { Empty, Null, Boolean, Integer, Long, Double, Date, String, Object };

const char* varTypeName(VarType type) noexcept;

// A date as the automation serial: days since 1899-12-30, the time as the fraction.
struct Date {
  double serial = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

class Variant {
 public:
  Variant() noexcept = default;
  static Variant null() noexcept;
  // Nothing: an Object variant that holds no object.
  static Variant nothing() noexcept { return Variant(ObjectRef()); }

  explicit Variant(bool v) noexcept : v_(v) {}
  explicit Variant(int16_t v) noexcept : v_(v) {}
  explicit Variant(int32_t v) noexcept : v_(v) {}
  explicit Variant(double v) noexcept : v_(v) {}
  explicit Variant(Date v) noexcept : v_(v) {}
  explicit Variant(std::string v) noexcept : v_(std::move(v)) {}
  explicit Variant(std::string_view v) : v_(std::string(v)) {}
  explicit Variant(const char* v) : v_(std::string(v)) {}
  explicit Variant(ObjectRef v) noexcept : v_(std::move(v)) {}
  template <class T>
  requires(std::is_base_of_v<Object, T> &&
           !std::is_same_v<T, Object>) explicit Variant(const Ref<T>& v) noexcept
      : v_(ObjectRef(v)) {}

  VarType type() const noexcept;
  bool isEmpty() const noexcept { return type() == VarType::Empty; }
  bool isNull() const noexcept { return type() == VarType::Null; }
  bool isObject() const noexcept { return type() == VarType::Object; }
  // An Object variant without an object, or Empty.
  bool isNothing() const noexcept;
  bool isString() const noexcept { return type() == VarType::String; }
  // Integer, Long or Double.
  bool isNumber() const noexcept;

  // Direct views; null when the variant holds another type.
  const std::string* stringIf() const noexcept { return std::get_if<std::string>(&v_); }
  const ObjectRef* objectIf() const noexcept { return std::get_if<ObjectRef>(&v_); }

  // Conversions by the automation rules (see conversions.h for the rules themselves).
  bool toBool() const;
  int16_t toInt16() const;
  int32_t toInt32() const;
  double toDouble() const;
  Date toDate() const;
  std::string toString() const;
  // The held object; fails with 424 for non-objects and for Nothing.
  ObjectRef toObject() const;
  // The held object or null (Nothing, Empty and non-objects give null).
  ObjectRef objectOrNull() const noexcept;
  // An object variant reduced to its default value; other variants unchanged.
  Variant value() const;

  // Same type and same value (objects by identity); for tests and bookkeeping.
  friend bool operator==(const Variant& a, const Variant& b) noexcept;

 private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) noexcept { return true; }
  };
  using Storage = std::variant<std::monostate, NullTag, bool, int16_t, int32_t, double, Date,
                               std::string, ObjectRef>;
  Storage v_;
};

// Text for diagnostics: the type name and the value.
std::string describe(const Variant& v);

}  // namespace qx::automation
