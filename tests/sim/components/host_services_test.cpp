// The component's host services against the substitute host's real components.
#include "sim/components/host_services.h"

#include <gtest/gtest.h>

#include <thread>

#include "services/host_objects.h"
#include "services/local_string.h"
#include "services/login_props.h"
#include "services/sys_objects.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Variant;

class HostServicesTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    HostOptions o;
    o.home = home_.dir();
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    host_ = std::make_unique<SimHost>(o);
  }
  void TearDown() override {
    host_.reset();
    LiveObjectsTest::TearDown();
  }
  // The component's module state lives per thread: each scenario gets its own, released at
  // its end as the thread's last plug-in object would release it.
  static void onFreshThread(const std::function<void()>& body) {
    std::thread([&] {
      body();
      services::releaseModuleState();
    }).join();
  }

  qx::testing::TempHome home_;
  std::unique_ptr<SimHost> host_;
};

TEST_F(HostServicesTest, TextsAreTranslatedIntoTheLoginsLanguage) {
  onFreshThread([] { EXPECT_EQ(services::LoadLocalString(" 生产率"), " 生产率"); });
  host_->login().setEntry("Language", "EN");
  onFreshThread([] {
    EXPECT_EQ(services::LoadLocalString(" 生产率"), " Productivity");
    EXPECT_EQ(services::LoadLocalString("~$~生产率^|^: 12"), "Productivity: 12");
  });
}

TEST_F(HostServicesTest, LoginPropertiesAndEdition) {
  EXPECT_EQ(services::GetUserName(), "demo");
  EXPECT_EQ(services::GetPropValue("Language"), "CHS");
  EXPECT_EQ(services::GetEdition(-1), 0);
  host_->login().setEntry("QxVersion", "zrc");
  EXPECT_EQ(services::GetEdition(-1), 2);
}

TEST_F(HostServicesTest, QueriesGoToTheSampleDatabase) {
  automation::ObjectRef rs =
      services::execute("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1001");
  EXPECT_EQ(rs->get("Fields", 0).value(), Variant(2));
  EXPECT_FALSE(services::execute("UPDATE t_resource SET FForbid = 1 WHERE FInterID = 1008"));
  EXPECT_TRUE(std::filesystem::exists(home_.dir() / "sample.db"));
}

TEST_F(HostServicesTest, AMissingConfiguredDatabaseIsAFailureNamingIt) {
  host_.reset();
  HostOptions o;
  o.home = home_.dir();
  o.database = home_.dir() / "elsewhere.db";
  host_ = std::make_unique<SimHost>(o);
  try {
    (void)services::execute("SELECT 1");
    FAIL() << "no failure";
  } catch (const automation::Error& e) {
    EXPECT_NE(e.description().find("elsewhere.db"), std::string::npos) << e.description();
  }
}

TEST_F(HostServicesTest, TheLedgerObjectChecksRightsAndGivesTheCurrency) {
  automation::ObjectRef gl = services::NewGLData();
  EXPECT_EQ(gl->call("AccessCheck", services::kWizardRightObject, services::kWizardRightSub,
                     services::kWizardRightMask),
            Variant(true));
  EXPECT_EQ(gl->call("getCurrency", services::kLocalCurrency).toObject()->get("ScaleX").toInt16(),
            2);
}

TEST_F(HostServicesTest, InjectedFaultsReachTheSubstitutes) {
  host_->faults().add("QxConnection.AppConnection", "Execute");
  EXPECT_THROW((void)services::execute("SELECT 1"), automation::Error);
  host_->faults().add("ShareVault.ShareProps", "(create)");
  EXPECT_EQ(services::GetPropValue("Language"), "");
}

}  // namespace
}  // namespace qx::sim
