// The test host's groups of checks.
#pragma once

namespace qx::testhost {

void runCreationTests();
void runInitTests();
void runResourceBillTests();
void runBadInitTests();
void runBadEventTests();
void runFactoryTests();
// Last: every object released, the server may be unloaded.
void runReleaseTests();
// On another thread after the one that ran the tests has ended.
void runUnloadChecks();
void runLastChecks();

// The "registered" and "unregistered" modes: the keys regsvr32 writes and removes.
void runRegisteredChecks();
void runUnregisteredChecks();

}  // namespace qx::testhost
