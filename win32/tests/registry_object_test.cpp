// The registry object over the real registry.
#include "win32/server/registry_object.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using automation::Error;
using automation::Variant;
using testhost::check;
using testhost::checkEqual;

namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\QxIndDepComponentTests\\Settings";
constexpr const char* kParent = "HKEY_CURRENT_USER\\Software\\QxIndDepComponentTests";

int32_t failureNumber(automation::Object& reg, const char* member, Variant path) {
  try {
    reg.call(member, std::move(path));
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

void registryObjectTests() {
  testhost::section("registry_object");
  auto reg = RegistryObject::create();
  reg->deleteKey(kParent);
  check(reg->call("ReadValue", kKey, "FSchedule", int16_t{0}) == Variant(int16_t{0}),
        "a missing value reads as the default");

  struct Row {
    const char* name;
    Variant value;
    Variant back;
  };
  const Row rows[] = {
      {"FSchedule", Variant(int16_t{2}), Variant(int32_t{2})},
      {"Long", Variant(int32_t{-5}), Variant(int32_t{-5})},
      {"ShowAbility", Variant(true), Variant(int32_t{-1})},
      {"Off", Variant(false), Variant(int32_t{0})},
      {"Text", Variant("生产率"), Variant("生产率")},
      {"Double", Variant(0.5), Variant("0.5")},
      {"Empty", Variant(), Variant("")},
  };
  for (const Row& r : rows) {
    reg->call("WriteValue", kKey, r.name, r.value);
    Variant got = reg->call("ReadValue", kKey, r.name, "default");
    check(got == r.back,
          std::string("written and read back: ") + r.name + " = " + automation::describe(got));
  }
  check(reg->call("ReadValue", "HKCU\\Software\\QxIndDepComponentTests\\Settings\\", "Long") ==
            Variant(int32_t{-5}),
        "the short root name and a trailing backslash");
  check(Variant(reg->call("ReadValue", kKey, "ShowAbility", false)).toBool(),
        "a stored flag reads as true");

  reg->call("DeleteKey", kParent);
  check(reg->call("ReadValue", kKey, "Long", int32_t{42}) == Variant(int32_t{42}),
        "DeleteKey removes the key and everything below");
  checkEqual(failureNumber(*reg, "DeleteKey", Variant(kParent)), 0,
             "deleting a missing key is fine");
  checkEqual(failureNumber(*reg, "DeleteKey", Variant("HKEY_CURRENT_USER")), 5,
             "a root key is never deleted");
  checkEqual(failureNumber(*reg, "DeleteKey", Variant("HKEY_CURRENT_USER\\")), 5,
             "nor with a trailing backslash");
  checkEqual(failureNumber(*reg, "DeleteKey", Variant("HKEY_NOWHERE\\x")), 5,
             "an unknown root is refused");
  checkEqual(failureNumber(*reg, "DeleteKey", Variant("HKEY_CURRENT_USER\\a\\\\b")), 5,
             "an empty key name is refused");
  bool mismatch = false;
  try {
    reg->call("WriteValue", kKey, "Object", Variant(reg));
  } catch (const Error& e) {
    mismatch = e.isTypeMismatch();
  }
  check(mismatch, "an object cannot be stored");
  reg->deleteKey(kParent);
}

}  // namespace qx::win32::tests
