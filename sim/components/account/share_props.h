// "ShareVault.ShareProps": the shared-property manager. It answers the properties of the login
// that the host's process runs under.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/components/account/login.h"

namespace qx::sim {

class ShareProps final : public automation::Dispatch<ShareProps> {
 public:
  static constexpr std::string_view kTypeName = "ShareVault.ShareProps";
  static std::span<const automation::Member<ShareProps>> members();
  ShareProps(std::shared_ptr<const Login> login, uint32_t processId)
      : login_(std::move(login)), processId_(processId) {}

 private:
  // GetProperty(processId, name): "PropsString" or "UserName" (letter case ignored) of the
  // process's login; another process or property is a failure.
  automation::Variant mGetProperty(automation::Args a);

  std::shared_ptr<const Login> login_;
  uint32_t processId_;
};

}  // namespace qx::sim
