#include "services/login_props.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "support/live_objects.h"

namespace qx::services {
namespace {

using automation::Args;
using automation::Error;
using automation::makeObject;
using automation::Member;
using automation::ObjectRef;
using automation::Variant;
using testing::FakePlatform;
using testing::FakeShareProps;

class LoginPropsTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    platform_.add("ShareVault.ShareProps", [this] {
      ++managers_;
      return ObjectRef(makeObject<FakeShareProps>(answers_));
    });
  }
  void setProps(std::string props) { answers_.values["PropsString"] = Variant(std::move(props)); }

  FakePlatform platform_;
  host::ScopedPlatform installed_{platform_};
  FakeShareProps::Answers answers_;
  int managers_ = 0;
};

TEST_F(LoginPropsTest, SharedPropertiesComeFromANewManagerForEachRead) {
  setProps("Language=CHS");
  answers_.values["UserName"] = Variant("张三");
  EXPECT_EQ(GetPropsString(), "Language=CHS");
  EXPECT_EQ(GetUserName(), "张三");
  EXPECT_EQ(GetUserName(), "张三");
  EXPECT_EQ(managers_, 3);
  EXPECT_EQ(answers_.asked, (std::vector<std::string>{"PropsString", "UserName", "UserName"}));
}

TEST_F(LoginPropsTest, GetSharePropertyHandsBackObjectsAndPassesFailuresOn) {
  auto object = makeObject<FakeShareProps>(answers_);
  answers_.values["Session"] = Variant(object);
  EXPECT_EQ(GetShareProperty("Session").objectOrNull(), ObjectRef(object));
  answers_.values.clear();
  object.reset();
  EXPECT_THROW(GetShareProperty("Session"), automation::Error);
  EXPECT_THROW(GetPropsString(), automation::Error);
  EXPECT_THROW(GetUserName(), automation::Error);
}

TEST_F(LoginPropsTest, GetPropValueMatchesWholeKeysOnly) {
  struct Row {
    std::string props, key, value;
  };
  const Row rows[] = {
      {"Language=CHS;QxVersion=ZRA", "Language", "CHS"},
      {"Language=CHS;QxVersion=ZRA", "QxVersion", "ZRA"},
      {"Language=CHS;QxVersion=ZRA;", "QxVersion", "ZRA"},
      {"language=EN", "Language", "EN"},
      {"Language=EN", "LANGUAGE", "EN"},
      // A key that ends in the asked letters is another key.
      {"UserLanguage=CHT;Language=EN", "Language", "EN"},
      {"UserLanguage=CHT", "Language", ""},
      // A value that contains "key=" is not an entry.
      {"Note=Language=DE;Language=EN", "Language", "EN"},
      {"Note=xLanguage=DE", "Language", ""},
      // The first of two entries wins; values are not trimmed.
      {"Language=EN;Language=CHS", "Language", "EN"},
      {"Language= EN ;", "Language", " EN "},
      {"Language=;QxVersion=ZRB", "Language", ""},
      {"Language", "Language", ""},
      // Blanks between a ";" and the next key are not part of the key.
      {" Language=EN", "Language", "EN"},
      {"A=1; Language=EN", "Language", "EN"},
      {"A=1;Language=EN", "Language", "EN"},
      {"A=1;  QxVersion=ZRB ;", "QxVersion", "ZRB "},
      {"A=1; UserLanguage=CHT", "Language", ""},
      {"A=1;;B=2", "B", "2"},
      {"A=1=2", "A", "1=2"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("\"" + r.props + "\" key " + r.key);
    setProps(r.props);
    EXPECT_EQ(GetPropValue(r.key), r.value);
  }
}

TEST_F(LoginPropsTest, EmptyOrMalformedPropertyStringsGiveTheEmptyText) {
  for (const char* props : {"", ";", ";;;", "=", "=CHS", "Language", "Language;=CHS", "\xFF\xFE"}) {
    SCOPED_TRACE(props);
    setProps(props);
    EXPECT_EQ(GetPropValue("Language"), "");
  }
  answers_.values["PropsString"] = Variant::null();
  EXPECT_EQ(GetPropValue("Language"), "");
}

TEST_F(LoginPropsTest, AnUnreadablePropertyStringGivesTheEmptyText) {
  answers_.values.clear();
  EXPECT_EQ(GetPropValue("Language"), "");
  FakePlatform nothing;
  nothing.refuse("ShareVault.ShareProps");
  host::ScopedPlatform installed(nothing);
  EXPECT_EQ(GetPropValue("Language"), "");
}

TEST_F(LoginPropsTest, EntriesBeyondAnyPositionLimitAreFound) {
  std::string filler(40000, 'x');
  setProps("Filler=" + filler + ";Language=EN;QxVersion=ZRC");
  EXPECT_EQ(GetPropValue("Language"), "EN");
  EXPECT_EQ(GetEdition(0), 2);
  EXPECT_EQ(GetPropValue("Filler").size(), filler.size());
}

TEST_F(LoginPropsTest, GetEditionForEachCodeAndLetterCase) {
  struct Row {
    std::string props;
    int32_t edition;
  };
  const Row rows[] = {
      {"QxVersion=ZRA", 0},   {"QxVersion=ZRB", 1}, {"QxVersion=ZRC", 2},    {"QxVersion=zra", 0},
      {"QxVersion=zrb", 1},   {"QxVersion=Zrc", 2}, {"QxVersion=ZRD", -7},   {"QxVersion=", -7},
      {"QxVersion=ZRB ", -7}, {"Language=EN", -7},  {"MyQxVersion=ZRB", -7}, {"", -7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.props);
    setProps(r.props);
    EXPECT_EQ(GetEdition(-7), r.edition);
  }
  setProps("Language=EN");
  EXPECT_EQ(GetEdition(0), 0);
}

TEST_F(LoginPropsTest, GetEditionAsksAgainOnEveryCall) {
  setProps("QxVersion=ZRB");
  EXPECT_EQ(GetEdition(0), 1);
  setProps("QxVersion=ZRC");
  EXPECT_EQ(GetEdition(0), 2);
  EXPECT_EQ(managers_, 2);
}

TEST_F(LoginPropsTest, GetEditionCannotFail) {
  answers_.values.clear();
  EXPECT_EQ(GetEdition(5), 5);
}

}  // namespace
}  // namespace qx::services
