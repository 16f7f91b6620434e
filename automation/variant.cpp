#include "automation/variant.h"

#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/text.h"

namespace qx::automation {

const char* varTypeName(VarType type) noexcept {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Boolean:
      return "Boolean";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Double:
      return "Double";
    case VarType::Date:
      return "Date";
    case VarType::String:
      return "String";
    case VarType::Object:
      return "Object";
  }
  return "?";
}

Variant Variant::null() noexcept {
  Variant v;
  v.v_ = NullTag{};
  return v;
}

VarType Variant::type() const noexcept {
  return static_cast<VarType>(v_.index());
}

bool Variant::isNothing() const noexcept {
  if (isEmpty()) return true;
  const ObjectRef* o = objectIf();
  return o && !*o;
}

bool Variant::isNumber() const noexcept {
  VarType t = type();
  return t == VarType::Integer || t == VarType::Long || t == VarType::Double;
}

Variant Variant::value() const {
  if (!isObject()) return *this;
  Variant v = *this;
  for (int depth = 0; depth < 8 && v.isObject(); ++depth) {
    const ObjectRef& o = *v.objectIf();
    if (!o) throw Error::objectNotSet();
    v = o->invoke(0, CallKind::Get, Args());
  }
  if (v.isObject()) throw Error::typeMismatch("object has no default value");
  return v;
}

bool Variant::toBool() const {
  switch (type()) {
    case VarType::Empty:
      return false;
    case VarType::Null:
      throw Error::invalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(v_);
    case VarType::Integer:
      return std::get<int16_t>(v_) != 0;
    case VarType::Long:
      return std::get<int32_t>(v_) != 0;
    case VarType::Double:
      return std::get<double>(v_) != 0;
    case VarType::Date:
      return std::get<Date>(v_).serial != 0;
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (equalsIgnoreCase(s, "true")) return true;
      if (equalsIgnoreCase(s, "false")) return false;
      if (auto n = parseNumber(s)) return *n != 0;
      throw Error::typeMismatch("\"" + s + "\" is not a Boolean");
    }
    case VarType::Object:
      return value().toBool();
  }
  return false;
}

double Variant::toDouble() const {
  switch (type()) {
    case VarType::Empty:
      return 0;
    case VarType::Null:
      throw Error::invalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(v_) ? -1 : 0;
    case VarType::Integer:
      return std::get<int16_t>(v_);
    case VarType::Long:
      return std::get<int32_t>(v_);
    case VarType::Double:
      return std::get<double>(v_);
    case VarType::Date:
      return std::get<Date>(v_).serial;
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (auto n = parseNumber(s)) return *n;
      throw Error::typeMismatch("\"" + s + "\" is not a number");
    }
    case VarType::Object:
      return value().toDouble();
  }
  return 0;
}

int32_t Variant::toInt32() const {
  switch (type()) {
    case VarType::Integer:
      return std::get<int16_t>(v_);
    case VarType::Long:
      return std::get<int32_t>(v_);
    default:
      return roundToInt32(toDouble());
  }
}

int16_t Variant::toInt16() const {
  if (type() == VarType::Integer) return std::get<int16_t>(v_);
  return roundToInt16(toDouble());
}

Date Variant::toDate() const {
  switch (type()) {
    case VarType::Date:
      return std::get<Date>(v_);
    case VarType::String: {
      const std::string& s = std::get<std::string>(v_);
      if (auto d = parseDate(s)) return *d;
      throw Error::typeMismatch("\"" + s + "\" is not a date");
    }
    case VarType::Object:
      return value().toDate();
    default:
      return Date{toDouble()};
  }
}

std::string Variant::toString() const {
  switch (type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      throw Error::invalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(v_) ? "True" : "False";
    case VarType::Integer:
      return std::to_string(std::get<int16_t>(v_));
    case VarType::Long:
      return std::to_string(std::get<int32_t>(v_));
    case VarType::Double:
      return formatDouble(std::get<double>(v_));
    case VarType::Date:
      return formatDate(std::get<Date>(v_));
    case VarType::String:
      return std::get<std::string>(v_);
    case VarType::Object:
      return value().toString();
  }
  return {};
}

ObjectRef Variant::toObject() const {
  const ObjectRef* o = objectIf();
  if (!o) throw Error::objectRequired(varTypeName(type()));
  if (!*o) throw Error::objectNotSet();
  return *o;
}

ObjectRef Variant::objectOrNull() const noexcept {
  const ObjectRef* o = objectIf();
  return o ? *o : ObjectRef();
}

bool operator==(const Variant& a, const Variant& b) noexcept {
  return a.v_ == b.v_;
}

std::string describe(const Variant& v) {
  std::string r = varTypeName(v.type());
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
      return r;
    case VarType::Object: {
      ObjectRef o = v.objectOrNull();
      return r + (o ? " " + o->typeName() : " Nothing");
    }
    default:
      return r + " " + v.toString();
  }
}

}  // namespace qx::automation
