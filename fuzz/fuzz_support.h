// What the fuzz targets share: typed pieces read from the input, and a check that stops the run
// with a message when a property does not hold (libFuzzer keeps the input as a crash).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace qx::fuzz {

[[noreturn]] inline void fail(const char* file, int line, const char* what,
                              const std::string& detail) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n  %s\n", file, line, what,
               detail.c_str());
  std::abort();
}

// A text for a message: control characters and bytes above 0x7E as \xNN.
inline std::string shown(std::string_view s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      r += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      r += buf;
    }
  }
  return r + "\"";
}

// Reads the input front to back; past the end every read gives zeros or empty texts.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}

  bool empty() const noexcept { return n_ == 0; }
  uint8_t byte() noexcept {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  // A number in [0, count).
  unsigned pick(unsigned count) noexcept { return count == 0 ? 0 : byte() % count; }
  // Eight bytes as a double (any bit pattern: NaN, infinities, denormals).
  double bits() noexcept {
    uint8_t b[8] = {};
    for (uint8_t& x : b) x = byte();
    double d;
    std::memcpy(&d, b, sizeof d);
    return d;
  }
  // The bytes up to the next `end` byte (consumed, not returned) or the end of the input.
  std::string text(char end = '\0') {
    if (n_ == 0) return {};
    const void* stop = std::memchr(p_, end, n_);
    size_t len = stop ? static_cast<size_t>(static_cast<const uint8_t*>(stop) - p_) : n_;
    std::string r(reinterpret_cast<const char*>(p_), len);
    size_t used = stop ? len + 1 : len;
    p_ += used;
    n_ -= used;
    return r;
  }
  std::string rest() {
    std::string r(reinterpret_cast<const char*>(p_), n_);
    p_ += n_;
    n_ = 0;
    return r;
  }

 private:
  const uint8_t* p_;
  size_t n_;
};

}  // namespace qx::fuzz

#define QX_FUZZ_CHECK(condition, detail)                                        \
  do {                                                                          \
    if (!(condition)) ::qx::fuzz::fail(__FILE__, __LINE__, #condition, detail); \
  } while (0)
