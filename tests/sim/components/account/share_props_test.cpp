#include "sim/components/account/share_props.h"

#include <gtest/gtest.h>

#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Error;
using automation::Variant;

class SharePropsTest : public qx::testing::LiveObjectsTest {
 protected:
  Variant get(Variant process, Variant name) {
    auto m = automation::makeObject<ShareProps>(login_, 77);
    return m->call("GetProperty", automation::byRef(process), automation::byRef(name));
  }
  std::shared_ptr<Login> login_ = std::make_shared<Login>();
};

TEST_F(SharePropsTest, AnswersTheLoginOfItsProcess) {
  EXPECT_EQ(get(Variant(77), Variant("UserName")), Variant("demo"));
  EXPECT_EQ(get(Variant(77), Variant("propsstring")), Variant(login_->props));
  EXPECT_NE(login_->props.find("Language=CHS"), std::string::npos);
  EXPECT_NE(login_->props.find("QxVersion=ZRA"), std::string::npos);
  login_->user = "王五";
  login_->setEntry("Language", "EN");
  EXPECT_EQ(get(Variant(77), Variant("UserName")), Variant("王五"));
  EXPECT_EQ(Login{*login_}.entry("language"), "EN");
}

TEST_F(SharePropsTest, AnotherProcessOrAnUnknownPropertyIsAFailure) {
  EXPECT_THROW(get(Variant(78), Variant("UserName")), Error);
  EXPECT_THROW(get(Variant(77), Variant("Password")), Error);
  EXPECT_THROW(get(Variant("x"), Variant("UserName")), Error);
  auto m = automation::makeObject<ShareProps>(login_, 77);
  EXPECT_THROW(m->call("GetProperty", 77), Error);
}

TEST(LoginEntries, SetEntryReplacesWholeKeysOrAppends) {
  struct Row {
    std::string props, key, value, result;
  };
  const Row rows[] = {
      {"Language=CHS;QxVersion=ZRA", "language", "EN", "Language=EN;QxVersion=ZRA"},
      {"UserLanguage=CHT", "Language", "EN", "UserLanguage=CHT;Language=EN"},
      {"", "QxVersion", "ZRB", "QxVersion=ZRB"},
      {"A=1;", "B", "2", "A=1;B=2"},
      {"A=1;QxVersion=ZRA;", "QxVersion", "", "A=1;QxVersion=;"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.props);
    Login l;
    l.props = r.props;
    l.setEntry(r.key, r.value);
    EXPECT_EQ(l.props, r.result);
    EXPECT_EQ(l.entry(r.key), r.value);
  }
}

}  // namespace
}  // namespace qx::sim
