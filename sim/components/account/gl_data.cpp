#include "sim/components/account/gl_data.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<GLData>> GLData::members() {
  static const automation::Member<GLData> m[] = {
      {"AccessCheck", 1, &GLData::mAccessCheck},
      {"getCurrency", 2, &GLData::mGetCurrency},
  };
  return m;
}

Variant GLData::mAccessCheck(Args a) {
  automation::requireArgs(a, 3, "AccessCheck");
  int32_t type = a[0].get().toInt32();
  int32_t id = a[1].get().toInt32();
  auto mask = static_cast<uint32_t>(a[2].get().toInt32());
  return Variant(rights_->check(login_->user, type, id, mask));
}

Variant GLData::mGetCurrency(Args a) {
  automation::requireArgs(a, 1, "getCurrency");
  int32_t id = a[0].get().toInt32();
  if (id != 1) {
    throw automation::Error::invalidProcedureCall("no currency " + std::to_string(id), typeName());
  }
  return Variant(automation::makeObject<Currency>(id, login_->currencyDecimals));
}

std::span<const automation::Member<Currency>> Currency::members() {
  static const automation::Member<Currency> m[] = {
      {"ScaleX", 1, nullptr, &Currency::mScaleX},
      {"ID", 2, nullptr, &Currency::mID},
  };
  return m;
}

Variant Currency::mScaleX(Args) {
  return Variant(decimals_);
}
Variant Currency::mID(Args) {
  return Variant(id_);
}

}  // namespace qx::sim
