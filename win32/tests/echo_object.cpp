#include "win32/tests/echo_object.h"

namespace qx::win32::tests {

using automation::Args;
using automation::Error;
using automation::Variant;

std::span<const automation::Member<EchoObject>> EchoObject::members() {
  static const automation::Member<EchoObject> m[] = {
      {"Value", 0, nullptr, &EchoObject::mValue, &EchoObject::mPutValue},
      {"Swap", 1, &EchoObject::mSwap},
      {"Fail", 2, &EchoObject::mFail},
      {"Count", 3, &EchoObject::mCount},
  };
  return m;
}

Variant EchoObject::mSwap(Args a) {
  automation::requireArgs(a, 2, "Swap");
  Variant first = a[0].get();
  a[0].set(a[1].get());
  a[1].set(first);
  return Variant();
}

Variant EchoObject::mFail(Args a) {
  if (a.size() > 1) a[1].set(Variant("written"));
  throw Error(automation::argAt(a, 0, "Fail").toInt32(), "failed on purpose", "Echo");
}

Variant EchoObject::mValue(Args a) {
  automation::requireArgs(a, 0, "Value");
  return value_;
}

void EchoObject::mPutValue(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "Value");
  value_ = v;
}

Variant EchoObject::mCount(Args a) {
  return Variant(static_cast<int32_t>(a.size()));
}

}  // namespace qx::win32::tests
