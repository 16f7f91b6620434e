// Failures across the COM boundary: automation errors <-> HRESULT, EXCEPINFO and IErrorInfo.
// Run-time error numbers travel as FACILITY_CONTROL status codes (error 13 is 0x800A000D), so
// automation clients show the number the component raised.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "automation/error.h"
#include "automation/steps.h"

namespace qx::win32 {

using automation::Error;

// The status code that carries an error.
HRESULT statusOf(const Error& e) noexcept;
// The run-time error number a caller sees for a status code (known dispatch failures map to
// their run-time numbers: unknown member 438, type mismatch 13, argument count 450, ...).
int32_t errorNumberOf(HRESULT hr) noexcept;

// A failed call's status as an error; `what` names the call for the description.
Error errorFromStatus(HRESULT hr, std::string_view what, std::string source = {});
// The error described by an EXCEPINFO (filled in first when it is deferred); frees its strings.
Error errorFromExcepInfo(EXCEPINFO& info, std::string_view what);
// Fills an EXCEPINFO (when given) and returns DISP_E_EXCEPTION, or the bare status without one.
// `defaultSource` stands in when the error names no source.
HRESULT reportDispatchError(const Error& e, EXCEPINFO* info,
                            std::string_view defaultSource = {}) noexcept;
// Sets the thread's IErrorInfo for a failure of a vtable call and returns its status.
HRESULT reportCallError(const Error& e, REFIID iid) noexcept;

// The edge of every COM entry point: runs `f`, turning any failure into a status code.
template <class F>
HRESULT guardDispatch(EXCEPINFO* info, F&& f) noexcept {
  try {
    return f();
  } catch (...) {
    return reportDispatchError(automation::toError(std::current_exception()), info);
  }
}

template <class F>
HRESULT guardCall(REFIID iid, F&& f) noexcept {
  try {
    return f();
  } catch (...) {
    return reportCallError(automation::toError(std::current_exception()), iid);
  }
}

}  // namespace qx::win32
