// The adapters' own tests, run under Windows or Wine. Ends with "adapters: N passed, M failed"
// and, only when all passed, "ADAPTER TESTS PASSED".
#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <exception>

#include "automation/object.h"
#include "automation/steps.h"
#include "win32/com/com_module.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

using qx::testhost::check;
using qx::testhost::checkEqual;

int wmain() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  try {
    qx::win32::tests::bstrTests();
    qx::win32::tests::comVariantTests();
    qx::win32::tests::comErrorTests();
    qx::win32::tests::objectBridgeTests();
    qx::win32::tests::dispatchObjectTests();
    qx::win32::tests::registryObjectTests();
    qx::win32::tests::windowsPlatformTests();
  } catch (...) {
    check(false,
          "unexpected failure: " + qx::automation::toError(std::current_exception()).description());
  }
  qx::testhost::section("at the end");
  checkEqual(qx::automation::Object::liveObjects(), 0, "every automation object was released");
  checkEqual(qx::win32::liveComObjects(), 0, "every COM object was released");
  CoUninitialize();
  std::printf("adapters: %d passed, %d failed\n", qx::testhost::passedChecks(),
              qx::testhost::failedChecks());
  bool ok = qx::testhost::failedChecks() == 0 && qx::testhost::passedChecks() > 0;
  if (ok) std::printf("ADAPTER TESTS PASSED\n");
  return ok ? 0 : 1;
}
