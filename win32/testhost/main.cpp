// The test host: plays the ERP client for QxIndDepComponent.dll under Windows or Wine.
//   qxtesthost run           events, Init, bad input, release and unload
//   qxtesthost unload        one host thread uses a plug-in and ends; the DLL is unloaded and
//                            the process exits
//   qxtesthost schedule HOME DATA TRANSCRIPT
//                            the schedule bill's scenario through COM with the substitute
//                            host's components on the sample database (HOME), its scripts and
//                            translations in DATA; what the user saw goes to TRANSCRIPT
//   qxtesthost registered    the keys regsvr32 wrote
//   qxtesthost unregistered  none of them left after regsvr32 /u
// Each mode ends with "<mode>: N passed, M failed" and, only when all passed, its success line.
#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#include "automation/steps.h"
#include "win32/com/bstr.h"
#include "win32/testhost/check.h"
#include "win32/testhost/substitutes.h"
#include "win32/testhost/tests.h"

namespace {

using namespace qx::testhost;

void runEverything() {
  SubstituteRegistration substitutes;
  if (!check(substitutes.ok(), "the substitute host components are registered")) return;
  runCreationTests();
  runInitTests();
  runResourceBillTests();
  runBadInitTests();
  runBadEventTests();
  runFactoryTests();
  runReleaseTests();
}

}  // namespace

// Runs `f` on a thread of its own: a single-threaded apartment, as the host's user-interface
// thread, that ends before the caller goes on.
template <class F>
void onApartmentThread(F f) {
  std::thread t([&] {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
      check(false, "CoInitializeEx");
      return;
    }
    try {
      f();
    } catch (...) {
      check(false, "unexpected failure: " +
                       qx::automation::toError(std::current_exception()).description());
    }
    CoUninitialize();
  });
  t.join();
}

int wmain(int argc, wchar_t** argv) {
  std::wstring mode = argc > 1 ? argv[1] : L"run";
  const char* success = nullptr;
  if (mode == L"run") {
    onApartmentThread(runEverything);
    onApartmentThread([] {
      SubstituteRegistration substitutes;
      runUnloadChecks();
    });
    runLastChecks();
    success = "TEST HOST PASSED";
  } else if (mode == L"unload") {
    onApartmentThread([] {
      SubstituteRegistration substitutes;
      runUnloadChecks();
    });
    runLastChecks();
    success = "UNLOAD PASSED";
  } else if (mode == L"schedule" && argc == 5) {
    std::wstring home = argv[2], data = argv[3], transcript = argv[4];
    onApartmentThread([&] { runScheduleBill(home, data, transcript); });
    success = "SCHEDULE BILL PASSED";
  } else if (mode == L"registered") {
    onApartmentThread(runRegisteredChecks);
    success = "REGISTRATION PRESENT";
  } else if (mode == L"unregistered") {
    onApartmentThread(runUnregisteredChecks);
    success = "REGISTRATION REMOVED";
  } else {
    std::printf("usage: qxtesthost run|unload|registered|unregistered|schedule HOME DATA FILE\n");
    return 2;
  }
  std::string name = qx::win32::toUtf8(mode);
  std::printf("%s: %d passed, %d failed\n", name.c_str(), passedChecks(), failedChecks());
  bool ok = failedChecks() == 0 && passedChecks() > 0;
  if (ok) std::printf("%s\n", success);
  std::fflush(stdout);
  return ok ? 0 : 1;
}
