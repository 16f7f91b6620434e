// The test host's groups of checks.
#pragma once

#include <string>

namespace qx::testhost {

void runCreationTests();
void runInitTests();
void runResourceBillTests();
void runBadInitTests();
void runBadEventTests();
void runFactoryTests();
// Last: every object released, the server may be unloaded and is.
void runReleaseTests();
// A host thread of its own that uses a plug-in and ends; then, on the main thread, what it
// left behind: nothing, not even the loaded DLL.
void runUnloadChecks();
void runLastChecks();

// The schedule bill's scenario with the substitute host's components served through COM; the
// transcript goes to a file (the home folder holds the sample database).
void runScheduleBill(const std::wstring& home, const std::wstring& dataDir,
                     const std::wstring& transcript);

// The "registered" and "unregistered" modes: the keys regsvr32 writes and removes.
void runRegisteredChecks();
void runUnregisteredChecks();

}  // namespace qx::testhost
