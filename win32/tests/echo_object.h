// A small automation object for the adapter tests: by-reference arguments, failures, a
// property.
#pragma once

#include "automation/dispatch.h"

namespace qx::win32::tests {

class EchoObject final : public automation::Dispatch<EchoObject> {
 public:
  static constexpr std::string_view kTypeName = "Echo";
  static std::span<const automation::Member<EchoObject>> members();

 private:
  // Swap(a, b): exchanges two by-reference arguments.
  automation::Variant mSwap(automation::Args a);
  // Fail(n): fails with error n after writing "written" into its second argument, if any.
  automation::Variant mFail(automation::Args a);
  automation::Variant mValue(automation::Args a);
  void mPutValue(automation::Args a, const automation::Variant& v);
  automation::Variant mCount(automation::Args a);

  automation::Variant value_;
};

}  // namespace qx::win32::tests
