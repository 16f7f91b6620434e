// An automation object over an IDispatch: calls by name, by-reference arguments, properties,
// failures and event subscription on an object without events.
#include "win32/com/dispatch_object.h"
#include "automation/arg.h"
#include "automation/host_vector.h"
#include "win32/com/object_dispatch.h"
#include "win32/testhost/check.h"
#include "win32/tests/echo_object.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using automation::Error;
using automation::Variant;
using testhost::check;
using testhost::checkEqual;

namespace {

// The echo object as another module would see it: through IDispatch only.
automation::ObjectRef remoteEcho() {
  ComPtr<IDispatch> d = ObjectDispatch::create(automation::makeObject<EchoObject>());
  return automation::ObjectRef(automation::makeObject<DispatchObject>(d));
}

template <class F>
Error failureOf(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, "no failure");
}

}  // namespace

void dispatchObjectTests() {
  testhost::section("dispatch_object");
  automation::ObjectRef echo = remoteEcho();
  checkEqual(echo->idOf("swap"), 1, "names are looked up ignoring letter case");
  checkEqual(failureOf([&] { echo->idOf("Nothing"); }).number(), 438, "an unknown name is 438");

  Variant a("left");
  Variant b("right");
  echo->call("Swap", automation::byRef(a), automation::byRef(b));
  check(a == Variant("right") && b == Variant("left"), "by-reference arguments come back");

  // A by-reference argument travels typed, as a typed variable of a caller would: a value
  // that does not fit its type is refused.
  Variant text("left");
  Variant number(int32_t{7});
  checkEqual(failureOf([&] {
               echo->call("Swap", automation::byRef(text), automation::byRef(number));
             }).number(),
             13, "a text written into a number argument is a type mismatch");
  Variant empty;
  Variant other(int32_t{7});
  echo->call("Swap", automation::byRef(empty), automation::byRef(other));
  check(empty == Variant(int32_t{7}), "an Empty argument takes any type");

  Variant c("by value");
  Variant d("other");
  echo->call("Swap", c, automation::byRef(d));
  check(c == Variant("by value") && d == Variant("by value"), "by-value arguments stay");

  echo->put("Value", Variant("stored"));
  check(echo->get("Value") == Variant("stored"), "a property put and get");
  check(Variant(echo).value() == Variant("stored"), "the default member is the value");
  checkEqual(echo->call("Count", 1, 2, 3).toInt32(), 3, "arguments arrive in order");

  Variant written("untouched");
  Error e = failureOf([&] { echo->call("Fail", int32_t{13}, automation::byRef(written)); });
  checkEqual(e.number(), 13, "a failure comes back with its number");
  checkEqual(e.description(), "failed on purpose", "and its description");
  checkEqual(e.source(), "Echo", "and its source");
  check(written == Variant("written"), "by-reference writes before a failure reach the caller");
  checkEqual(failureOf([&] { echo->call("Swap", 1); }).number(), 450,
             "a wrong argument count is 450");
  checkEqual(failureOf([&] { echo->callId(99, automation::CallKind::Method); }).number(), 438,
             "an unknown id is 438");

  check(!echo->supports("MasterDataEvents"), "an object without the host interface");
  auto sink = automation::HostVector::create();
  checkEqual(
      failureOf([&] { echo->advise("MasterDataEvents", automation::ObjectRef(sink)); }).number(),
      445, "an object without connection points cannot be subscribed to");
  checkEqual(
      failureOf([&] { echo->advise("NoSuchInterface", automation::ObjectRef(sink)); }).number(),
      445, "nor to an interface the host does not publish");
}

}  // namespace qx::win32::tests
