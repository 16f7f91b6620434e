// Errors across the boundary: numbers <-> status codes, EXCEPINFO.
#include "win32/com/com_error.h"
#include "win32/com/bstr.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using testhost::check;
using testhost::checkEqual;
using testhost::checkStatus;

void comErrorTests() {
  testhost::section("com_error");
  struct Row {
    int32_t number;
    HRESULT status;
  };
  const Row toStatus[] = {{13, static_cast<HRESULT>(0x800A000D)},
                          {91, static_cast<HRESULT>(0x800A005B)},
                          {450, static_cast<HRESULT>(0x800A01C2)},
                          {static_cast<int32_t>(0x80040110), CLASS_E_NOAGGREGATION},
                          {0, E_FAIL},
                          {70000, E_FAIL}};
  for (const Row& r : toStatus) {
    checkStatus(statusOf(Error(r.number, "x")), r.status,
                "the status of error " + std::to_string(r.number));
  }
  const Row toNumber[] = {{13, static_cast<HRESULT>(0x800A000D)},
                          {438, DISP_E_MEMBERNOTFOUND},
                          {438, DISP_E_UNKNOWNNAME},
                          {13, DISP_E_TYPEMISMATCH},
                          {450, DISP_E_BADPARAMCOUNT},
                          {449, DISP_E_PARAMNOTOPTIONAL},
                          {429, REGDB_E_CLASSNOTREG},
                          {7, E_OUTOFMEMORY},
                          {static_cast<int32_t>(0x80004005), E_FAIL}};
  for (const Row& r : toNumber) {
    checkEqual(errorNumberOf(r.status), r.number,
               "the number of status " + std::to_string(static_cast<long>(r.status)));
  }

  EXCEPINFO info{};
  checkStatus(reportDispatchError(Error(13, "Type mismatch: x", "EIResource"), &info),
              DISP_E_EXCEPTION, "an error with an EXCEPINFO is an exception");
  checkStatus(info.scode, static_cast<HRESULT>(0x800A000D), "its scode");
  Error back = errorFromExcepInfo(info, "Init");
  checkEqual(back.number(), 13, "the number survives the round trip");
  checkEqual(back.description(), "Type mismatch: x", "the description survives");
  checkEqual(back.source(), "EIResource", "the source survives");
  check(info.bstrDescription == nullptr && info.bstrSource == nullptr,
        "the EXCEPINFO's strings were taken over");

  EXCEPINFO empty{};
  checkStatus(reportDispatchError(Error(5, "bad", ""), &empty, "Loader"), DISP_E_EXCEPTION,
              "an error without a source");
  checkEqual(bstrToUtf8(empty.bstrSource), "Loader", "takes the default source");
  errorFromExcepInfo(empty, "x");  // frees the strings
  checkStatus(reportDispatchError(Error(13, "x"), nullptr), static_cast<HRESULT>(0x800A000D),
              "without an EXCEPINFO the status alone");

  EXCEPINFO vbStyle{};
  vbStyle.wCode = 424;
  Error fromCode = errorFromExcepInfo(vbStyle, "Item");
  checkEqual(fromCode.number(), 424, "an EXCEPINFO with wCode gives that number");
  check(!fromCode.description().empty(), "and a description");
}

}  // namespace qx::win32::tests
