// Continue-on-failure: a failing step is skipped and recorded, the next one runs.
#pragma once

#include <exception>
#include <optional>

#include "automation/error.h"

namespace qx::automation {

class Steps {
 public:
  // Runs one step; an automation failure is recorded as the pending error and swallowed.
  template <class F>
  void run(F&& step) {
    try {
      step();
    } catch (const Error& e) {
      pending_ = e;
    } catch (...) {
      record(std::current_exception());
    }
  }

  // Evaluates a condition; a condition that fails counts as passed.
  template <class F>
  bool test(F&& condition) {
    try {
      return static_cast<bool>(condition());
    } catch (const Error& e) {
      pending_ = e;
      return true;
    } catch (...) {
      record(std::current_exception());
      return true;
    }
  }

  // Records a failure found without raising it, as a failing step would.
  void fail(Error failure) noexcept { pending_ = std::move(failure); }

  bool failed() const noexcept { return pending_.has_value(); }
  const std::optional<Error>& pending() const noexcept { return pending_; }
  void clear() noexcept { pending_.reset(); }

 private:
  // Only automation failures (and running out of memory) are skipped. Any other exception is a
  // programming error: with QX_STRICT_STEPS (the development and test builds) it is rethrown so
  // that it fails loudly; the shipped server records it as an internal error and goes on.
  void record(std::exception_ptr failure);
  std::optional<Error> pending_;
};

// The failure as an automation error (other exceptions become an internal error).
Error toError(std::exception_ptr failure) noexcept;

}  // namespace qx::automation
