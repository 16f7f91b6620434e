// An object variable of a plug-in: holds a reference or nothing. A member call through a
// variable that holds nothing is the runtime's error 91, never a null dereference: a host may
// keep a plug-in whose Init failed part-way and go on raising events to it.
#pragma once

#include <utility>

#include "automation/error.h"
#include "automation/object.h"
#include "automation/variant.h"

namespace qx::automation {

// The object `ref` holds, or the runtime's error 91 when it holds nothing: the one checked
// access of an object variable (object fields and event fields alike).
inline Object& objectSet(const ObjectRef& ref) {
  if (!ref) throw Error::objectNotSet();
  return *ref;
}

class ObjectField {
 public:
  ObjectField() noexcept = default;
  ObjectField(ObjectRef o) noexcept : ref_(std::move(o)) {}  // NOLINT: Set field = object

  ObjectField& operator=(ObjectRef o) noexcept {
    ref_ = std::move(o);
    return *this;
  }
  // Set field = value: an object or Nothing is stored; any other value fails with 424.
  void set(const Variant& v) { ref_ = v.isObject() ? v.objectOrNull() : v.toObject(); }

  // Member calls go through the check.
  Object* operator->() const { return &objectSet(ref_); }
  Object& operator*() const { return objectSet(ref_); }

  // The reference itself, to pass on or compare (nothing is a null reference).
  const ObjectRef& get() const noexcept { return ref_; }
  operator const ObjectRef&() const noexcept { return ref_; }  // NOLINT: passed as an object
  explicit operator bool() const noexcept { return static_cast<bool>(ref_); }
  void reset() noexcept { ref_.reset(); }

 private:
  ObjectRef ref_;
};

}  // namespace qx::automation
