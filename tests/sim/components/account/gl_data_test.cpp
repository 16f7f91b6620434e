#include "sim/components/account/gl_data.h"

#include <gtest/gtest.h>

#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Variant;

class GLDataTest : public qx::testing::LiveObjectsTest {
 protected:
  Variant check(int32_t type, int32_t id, int32_t mask) {
    auto gl = automation::makeObject<GLData>(login_, rights_);
    return gl->call("AccessCheck", type, id, mask);
  }
  std::shared_ptr<Login> login_ = std::make_shared<Login>();
  std::shared_ptr<AccessRights> rights_ = std::make_shared<AccessRights>();
};

TEST_F(GLDataTest, AccessCheckReadsTheRightsOfTheLoggedInUser) {
  EXPECT_EQ(check(1022, 10, 131072), Variant(true));  // the default user holds every right
  login_->user = "guest";
  EXPECT_EQ(check(1022, 10, 131072), Variant(false));
  rights_->grant("GUEST", 1022, 10, 131072);
  EXPECT_EQ(check(1022, 10, 131072), Variant(true));
  EXPECT_EQ(check(1022, 10, 131072 | 1), Variant(false));
  EXPECT_EQ(check(1022, 11, 131072), Variant(false));
  rights_->revoke("guest", 1022, 10, 131072);
  EXPECT_EQ(check(1022, 10, 131072), Variant(false));
  login_->user = "demo";
  rights_->clear("demo");
  EXPECT_EQ(check(1022, 10, 131072), Variant(false));
}

TEST_F(GLDataTest, TheLocalCurrencyHasTheAccountsDecimals) {
  auto gl = automation::makeObject<GLData>(login_, rights_);
  automation::ObjectRef currency = gl->call("getCurrency", int16_t{1}).toObject();
  EXPECT_EQ(currency->get("ScaleX"), Variant(int16_t{2}));
  login_->currencyDecimals = 4;
  EXPECT_EQ(gl->call("GetCurrency", 1).toObject()->get("ScaleX").toInt16(), 4);
  EXPECT_THROW(gl->call("getCurrency", 2), automation::Error);
}

}  // namespace
}  // namespace qx::sim
