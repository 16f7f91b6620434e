// The owner of one BSTR, and UTF-8 <-> UTF-16 conversion at the Windows boundary.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

namespace qx::win32 {

// Invalid sequences become U+FFFD on both sides; embedded NULs are kept.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);
// A BSTR's text (null is the empty text).
std::string bstrToUtf8(BSTR s);

class Bstr {
 public:
  Bstr() noexcept = default;
  // Allocates; fails with the out-of-memory error.
  explicit Bstr(std::string_view utf8);
  explicit Bstr(std::wstring_view utf16);
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  Bstr(Bstr&& o) noexcept : s_(std::exchange(o.s_, nullptr)) {}
  Bstr& operator=(Bstr&& o) noexcept {
    if (this != &o) {
      reset();
      s_ = std::exchange(o.s_, nullptr);
    }
    return *this;
  }
  ~Bstr() { reset(); }

  [[nodiscard]] static Bstr adopt(BSTR s) noexcept {
    Bstr b;
    b.s_ = s;
    return b;
  }

  void reset() noexcept {
    if (s_) SysFreeString(std::exchange(s_, nullptr));
  }
  BSTR get() const noexcept { return s_; }
  BSTR* put() noexcept {
    reset();
    return &s_;
  }
  // For by-reference arguments: the callee may free the string and store another.
  BSTR* ref() noexcept { return &s_; }
  [[nodiscard]] BSTR detach() noexcept { return std::exchange(s_, nullptr); }
  std::string utf8() const { return bstrToUtf8(s_); }

 private:
  BSTR s_ = nullptr;
};

}  // namespace qx::win32
