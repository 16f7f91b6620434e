// The adapter tests, one group per source file of win32/com and win32/server.
#pragma once

namespace qx::win32::tests {

void bstrTests();
void comVariantTests();
void comErrorTests();
void objectBridgeTests();
void dispatchObjectTests();
void registryObjectTests();
void windowsPlatformTests();

}  // namespace qx::win32::tests
