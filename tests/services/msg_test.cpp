#include "services/msg.h"

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
using testing::FakeLoader;
using testing::FakePlatform;
using testing::FakeShareProps;
using testing::onFreshThread;

class MsgTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    answers_.values["PropsString"] = Variant("Language=EN");
    platform_.add("ShareVault.ShareProps",
                  [this] { return ObjectRef(makeObject<FakeShareProps>(answers_)); });
  }
  FakePlatform platform_;
  host::ScopedPlatform installed_{platform_};
  FakeShareProps::Answers answers_;
};

TEST_F(MsgTest, ShowsThePromptUnchangedUnderTheTranslatedTitle) {
  platform_.add("QxResLoader.Loader", [] {
    auto loader = makeObject<FakeLoader>();
    loader->table["澜泽提示"] = "Notice";
    return ObjectRef(loader);
  });
  platform_.answers.push_back(6);
  onFreshThread([] {
    EXPECT_EQ(ShowMessage("生产率 ^|^ x", kInformationOk), 6);
    EXPECT_EQ(ShowMessage("", 64), 1);
  });
  ASSERT_EQ(platform_.boxes.size(), 2u);
  EXPECT_EQ(platform_.boxes[0].prompt, "生产率 ^|^ x");
  EXPECT_EQ(platform_.boxes[0].style, 64);
  EXPECT_EQ(platform_.boxes[0].title, "Notice");
  EXPECT_EQ(platform_.boxes[1].prompt, "");
  EXPECT_EQ(platform_.boxes[1].title, "Notice");
}

TEST_F(MsgTest, WithoutATranslationTheTitleIsTheSourceText) {
  platform_.refuse("QxResLoader.Loader");
  onFreshThread([] { ShowMessage("x", 64); });
  ASSERT_EQ(platform_.boxes.size(), 1u);
  EXPECT_EQ(platform_.boxes[0].title, "澜泽提示");
}

TEST_F(MsgTest, AFailingMessageBoxReachesTheCaller) {
  platform_.refuse("QxResLoader.Loader");
  host::ScopedPlatform none(host::platform());
  host::setPlatform(nullptr);  // no host: the box cannot be shown
  EXPECT_THROW(ShowMessage("x", 64), automation::Error);
}

}  // namespace
}  // namespace qx::services
