// The owner of one COM interface reference.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <cstddef>
#include <utility>

namespace qx::win32 {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}  // NOLINT: a null reference reads naturally as nullptr
  // Takes its own reference.
  explicit ComPtr(T* p) noexcept : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& o) noexcept : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { reset(); }

  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  // Takes over a reference that the caller already owns (a COM out-parameter).
  [[nodiscard]] static ComPtr adopt(T* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }

  void reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
  // For by-reference arguments: the callee may release what is held and store another.
  T** ref() noexcept { return &p_; }
  // Hands the reference to the caller, who must release it.
  [[nodiscard]] T* detach() noexcept { return std::exchange(p_, nullptr); }

  // Another interface of the same object; null when it has none.
  template <class U>
  ComPtr<U> as(REFIID iid) const noexcept {
    ComPtr<U> r;
    if (p_) p_->QueryInterface(iid, r.putVoid());
    return r;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace qx::win32
