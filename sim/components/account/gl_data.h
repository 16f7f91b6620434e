// "QRWGLView.GLData": the general-ledger data object. AccessCheck answers from the host's
// rights table for the logged-in user; getCurrency(1) gives the local currency.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/components/account/access_rights.h"
#include "sim/components/account/login.h"

namespace qx::sim {

class GLData final : public automation::Dispatch<GLData> {
 public:
  static constexpr std::string_view kTypeName = "QRWGLView.GLData";
  static std::span<const automation::Member<GLData>> members();
  GLData(std::shared_ptr<const Login> login, std::shared_ptr<const AccessRights> rights)
      : login_(std::move(login)), rights_(std::move(rights)) {}

 private:
  // AccessCheck(objectType, objectId, mask) → Boolean.
  automation::Variant mAccessCheck(automation::Args a);
  // getCurrency(id): the currency object (ScaleX = decimals); only the local currency, 1.
  automation::Variant mGetCurrency(automation::Args a);

  std::shared_ptr<const Login> login_;
  std::shared_ptr<const AccessRights> rights_;
};

// A currency of the ledger: Name and ScaleX, its number of decimals.
class Currency final : public automation::Dispatch<Currency> {
 public:
  static constexpr std::string_view kTypeName = "QRWGLView.Currency";
  static std::span<const automation::Member<Currency>> members();
  Currency(int32_t id, int16_t decimals) : id_(id), decimals_(decimals) {}

 private:
  automation::Variant mScaleX(automation::Args a);
  automation::Variant mID(automation::Args a);
  int32_t id_;
  int16_t decimals_;
};

}  // namespace qx::sim
