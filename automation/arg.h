// Call arguments: by value (the callee gets its own copy) or by reference (writes reach the
// caller).
#pragma once

#include <cstddef>

#include "automation/error.h"
#include "automation/variant.h"

namespace qx::automation {

class Arg {
 public:
  Arg() = default;
  Arg(Variant v) noexcept : own_(std::move(v)) {}  // NOLINT: by value reads naturally
  static Arg byRef(Variant& target) noexcept {
    Arg a;
    a.ref_ = &target;
    return a;
  }

  bool isByRef() const noexcept { return ref_ != nullptr; }
  const Variant& get() const noexcept { return ref_ ? *ref_ : own_; }
  // The writable slot: the caller's variable for a by-reference argument, else the local copy.
  Variant& ref() noexcept { return ref_ ? *ref_ : own_; }
  void set(Variant v) { ref() = std::move(v); }

 private:
  Variant own_;
  Variant* ref_ = nullptr;
};

inline Arg byRef(Variant& target) noexcept {
  return Arg::byRef(target);
}

// Argument access for implementations: missing arguments fail with 449.
const Variant& argAt(Args args, size_t index, std::string_view member = {});
// Missing or Empty arguments give the fallback.
Variant argOr(Args args, size_t index, Variant fallback);
// Requires exactly n arguments (450 otherwise).
void requireArgs(Args args, size_t n, std::string_view member = {});

namespace detail {
inline Arg makeArg(Arg a) noexcept {
  return a;
}
inline Arg makeArg(const Variant& v) {
  return Arg(v);
}
inline Arg makeArg(Variant&& v) noexcept {
  return Arg(std::move(v));
}
template <class T>
requires(!std::is_same_v<std::remove_cvref_t<T>, Arg> &&
         !std::is_same_v<std::remove_cvref_t<T>, Variant>) Arg makeArg(T&& v) {
  return Arg(Variant(std::forward<T>(v)));
}
}  // namespace detail

template <class... A>
Variant Object::callId(DispId id, CallKind kind, A&&... args) {
  if constexpr (sizeof...(A) == 0) {
    return invoke(id, kind, Args());
  } else {
    Arg list[] = {detail::makeArg(std::forward<A>(args))...};
    return invoke(id, kind, Args(list));
  }
}

template <class... A>
Variant Object::call(std::string_view name, A&&... args) {
  return callId(idOf(name), CallKind::Method, std::forward<A>(args)...);
}

template <class... A>
Variant Object::get(std::string_view name, A&&... args) {
  return callId(idOf(name), CallKind::Get, std::forward<A>(args)...);
}

template <class... A>
void Object::put(std::string_view name, A&&... args) {
  static_assert(sizeof...(A) >= 1, "put needs a value");
  callId(idOf(name), CallKind::Put, std::forward<A>(args)...);
}

template <class... A>
void Object::putRef(std::string_view name, A&&... args) {
  static_assert(sizeof...(A) >= 1, "putRef needs a value");
  callId(idOf(name), CallKind::PutRef, std::forward<A>(args)...);
}

}  // namespace qx::automation
