#include "services/host_objects.h"

#include <gtest/gtest.h>

#include <functional>

#include "automation/recordset.h"
#include "fakes.h"
#include "host/platform.h"
#include "support/live_objects.h"

namespace qx::services {
namespace {

using automation::Args;
using automation::Error;
using automation::makeObject;
using automation::Member;
using automation::ObjectRef;
using automation::Recordset;
using automation::Variant;
using testing::FakeConnection;
using testing::FakePlatform;
using testing::StrictFake;

class HostObjectsTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    platform_.add("QxConnection.AppConnection",
                  [this] { return ObjectRef(makeObject<FakeConnection>(script_)); });
  }
  void TearDown() override {
    script_.answer = Variant();
    LiveObjectsTest::TearDown();
  }
  FakePlatform platform_;
  host::ScopedPlatform installed_{platform_};
  FakeConnection::Script script_;
};

TEST_F(HostObjectsTest, ExecuteUsesANewConnectionForEachQueryAndReleasesIt) {
  auto rs = Recordset::create();
  rs->appendField({"n", automation::field_type::kInteger});
  rs->open();
  rs->appendRow({Variant(3)});
  rs->moveFirst();
  script_.answer = Variant(rs);
  rs.reset();

  ObjectRef first = execute("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1");
  EXPECT_EQ(script_.alive, 0) << "the connection is released right after Execute";
  ASSERT_TRUE(first);
  EXPECT_EQ(first->get("Fields", 0).value(), Variant(3));
  ObjectRef second = execute("SELECT 2");
  EXPECT_EQ(platform_.created,
            (std::vector<std::string>{"QxConnection.AppConnection", "QxConnection.AppConnection"}));
  EXPECT_EQ(script_.sql, (std::vector<std::string>{
                             "SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1", "SELECT 2"}));
}

TEST_F(HostObjectsTest, ExecuteWithoutARecordsetGivesNull) {
  script_.answer = Variant::nothing();
  EXPECT_FALSE(execute("UPDATE t SET a = 1"));
  script_.answer = Variant();
  EXPECT_FALSE(execute("UPDATE t SET a = 1"));
  EXPECT_EQ(script_.alive, 0);
}

TEST_F(HostObjectsTest, AnAnswerThatIsNotAnObjectIsATypeMismatch) {
  script_.answer = Variant(1);
  try {
    (void)execute("SELECT 1");
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_EQ(script_.alive, 0);
}

TEST_F(HostObjectsTest, FailuresOfCreationAndExecuteReachTheCaller) {
  script_.fail = true;
  try {
    (void)execute("SELEC 1");
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Incorrect syntax near 'SELEC'");
  }
  EXPECT_EQ(script_.alive, 0);
  FakePlatform none;
  none.refuse("QxConnection.AppConnection");
  host::ScopedPlatform installed(none);
  try {
    (void)execute("SELECT 1");
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 429);
  }
}

TEST_F(HostObjectsTest, CreateHostObjectPassesTheIdentifierAsWritten) {
  ObjectRef c = createHostObject("QxConnection.Appconnection");
  EXPECT_EQ(c->typeName(), "QxConnection.AppConnection");
  EXPECT_EQ(platform_.created, std::vector<std::string>{"QxConnection.Appconnection"});
}

TEST(NoPlatformTest, WithoutAnInstalledPlatformEveryMemberFails) {
  host::Platform* previous = host::setPlatform(nullptr);
  host::Platform& p = host::platform();
  const struct {
    const char* member;
    std::function<void()> call;
    int32_t number;
  } rows[] = {
      {"createObject", [&] { (void)p.createObject("QxConnection.AppConnection"); }, 429},
      {"createRegHelper", [&] { (void)p.createRegHelper(); }, 429},
      {"mousePointer", [&] { (void)p.mousePointer(); }, 445},
      {"setMousePointer", [&] { p.setMousePointer(11); }, 445},
      {"twipsPerPixelX", [&] { (void)p.twipsPerPixelX(); }, 445},
      {"twipsPerPixelY", [&] { (void)p.twipsPerPixelY(); }, 445},
      {"messageBox", [&] { (void)p.messageBox("", 64, ""); }, 445},
      {"setCapture", [&] { p.setCapture(1); }, 445},
      {"releaseCapture", [&] { p.releaseCapture(); }, 445},
      {"sendMessage", [&] { (void)p.sendMessage(1, 5, 0, 0); }, 445},
      {"doEvents", [&] { p.doEvents(); }, 445},
      {"processId", [&] { (void)p.processId(); }, 445},
      {"headerLineService", [&] { (void)p.headerLineService(); }, 429},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.member);
    EXPECT_EQ(qx::testing::errorNumber(r.call), r.number);
  }
  host::setPlatform(previous);
}

}  // namespace
}  // namespace qx::services
