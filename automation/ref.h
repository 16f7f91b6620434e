// Intrusive reference owner for automation objects.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

namespace qx::automation {

// Holds one reference; copying adds one, destruction releases one.
template <class T>
class Ref {
 public:
  Ref() noexcept = default;
  Ref(std::nullptr_t) noexcept {}  // NOLINT: a null reference reads naturally as nullptr
  explicit Ref(T* p) noexcept : p_(p) {
    if (p_) p_->addRef();
  }
  Ref(const Ref& o) noexcept : Ref(o.p_) {}
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  requires std::is_convertible_v<U*, T*> Ref(const Ref<U>& o)
  noexcept : Ref(static_cast<T*>(o.get())) {}  // NOLINT: upcast
  template <class U>
  requires std::is_convertible_v<U*, T*> Ref(Ref<U>&& o)
  noexcept : p_(o.detach()) {}  // NOLINT: upcast
  ~Ref() { reset(); }

  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->release();
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Hands the reference to the caller, who must release it.
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

  friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

 private:
  T* p_ = nullptr;
};

// Creates an automation object; the only place objects are allocated.
template <class T, class... A>
[[nodiscard]] Ref<T> makeObject(A&&... args) {
  return Ref<T>(new T(std::forward<A>(args)...));
}

// Downcast with a type check; null when the object is not a T.
template <class T, class U>
Ref<T> refCast(const Ref<U>& r) noexcept {
  return Ref<T>(dynamic_cast<T*>(r.get()));
}

}  // namespace qx::automation
