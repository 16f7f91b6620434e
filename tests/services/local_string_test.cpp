#include "services/local_string.h"

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
using automation::Ref;
using automation::Variant;
using testing::FakeLoader;
using testing::FakePlatform;
using testing::FakeShareProps;
using testing::onFreshThread;

// A login with a language, a loader that translates, both strict.
class LocalStringTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    answers_.values["PropsString"] = Variant("Language=EN;QxVersion=ZRA");
    platform_.add("ShareVault.ShareProps",
                  [this] { return ObjectRef(makeObject<FakeShareProps>(answers_)); });
    platform_.add("QxResLoader.Loader", [this] {
      ++loadersCreated_;
      loader_ = makeObject<FakeLoader>();
      loader_->table["生产率"] = "Productivity";
      return ObjectRef(loader_);
    });
  }
  void TearDown() override {
    loader_.reset();
    LiveObjectsTest::TearDown();
  }
  // Runs `body` with the fake platform, on a thread whose module state starts empty.
  void run(const std::function<void()>& body) {
    host::ScopedPlatform installed(platform_);
    onFreshThread(body);
  }

  FakePlatform platform_;
  FakeShareProps::Answers answers_;
  Ref<FakeLoader> loader_;
  int loadersCreated_ = 0;
};

TEST_F(LocalStringTest, TranslatesThroughTheLoaderPointedAtOurFileAndTheLoginsLanguage) {
  run([&] {
    EXPECT_EQ(LoadLocalString("生产率"), "Productivity");
    EXPECT_EQ(LoadLocalString("名称"), "[EN]名称");
  });
  EXPECT_EQ(loader_->base, "QxEIGroup");
  EXPECT_EQ(loader_->language, "EN");
  EXPECT_EQ(loadersCreated_, 1);
  // The language is read once; the loader's properties are compared before they are written.
  EXPECT_EQ(answers_.asked, std::vector<std::string>{"PropsString"});
  std::vector<std::string> expected = {
      "get ResFileBaseName", "put ResFileBaseName=QxEIGroup", "get LanguageID", "put LanguageID=EN",
      "LoadString 生产率",   "get ResFileBaseName",           "get LanguageID", "LoadString 名称"};
  EXPECT_EQ(loader_->log, expected);
}

TEST_F(LocalStringTest, KeepsLeadingAndTrailingSpacesAroundTheTranslation) {
  run([&] { EXPECT_EQ(LoadLocalString("  生产率 "), "  Productivity "); });
  EXPECT_EQ(loader_->log.back(), "LoadString 生产率");
}

TEST_F(LocalStringTest, OnlyTheSpaceCharacterIsTrimmed) {
  struct Row {
    std::string text, key, result;
  };
  const Row rows[] = {
      {"\t生产率", "\t生产率", "[EN]\t生产率"},
      {"生产率\r\n", "生产率\r\n", "[EN]生产率\r\n"},
      {" a b ", "a b", " [EN]a b "},
      {"", "", "[EN]"},
  };
  run([&] {
    for (const Row& r : rows) {
      SCOPED_TRACE("text \"" + r.text + "\"");
      EXPECT_EQ(LoadLocalString(r.text), r.result);
      EXPECT_EQ(loader_->log.back(), "LoadString " + r.key);
    }
  });
}

TEST_F(LocalStringTest, ATextOfSpacesAsksForTheEmptyKeyAndKeepsTheSpacesAfterTheAnswer) {
  run([&] {
    EXPECT_EQ(LoadLocalString("   "), "[EN]   ");
    EXPECT_EQ(loader_->log.back(), "LoadString ");
  });
}

TEST_F(LocalStringTest, ALoaderRepointedBySomeoneElseIsCorrectedBeforeTheNextLookup) {
  run([&] {
    LoadLocalString("名称");
    loader_->base = "OtherGroup";
    loader_->language = "CHT";
    loader_->log.clear();
    EXPECT_EQ(LoadLocalString("名称"), "[EN]名称");
  });
  std::vector<std::string> expected = {"get ResFileBaseName", "put ResFileBaseName=QxEIGroup",
                                       "get LanguageID", "put LanguageID=EN", "LoadString 名称"};
  EXPECT_EQ(loader_->log, expected);
  EXPECT_EQ(loadersCreated_, 1);
}

TEST_F(LocalStringTest, CompositeTextsTranslateMarkedPiecesAndKeepLiteralOnes) {
  struct Row {
    std::string text, result;
  };
  const Row rows[] = {
      {"~$~生产率^|^ (h)", "Productivity (h)"},
      {"^|^~$~生产率", "Productivity"},
      {"~$~生产率^|^", "Productivity"},
      {"a^|^b^|^~$~c^|^^|^d", "ab[EN]cd"},
      {"~$~  生产率 ^|^x", "  Productivity x"},
      {"~$生产率^|^x", "~$生产率x"},
      {"^|^", ""},
  };
  run([&] {
    for (const Row& r : rows) {
      SCOPED_TRACE("text \"" + r.text + "\"");
      EXPECT_EQ(LoadLocalString(r.text), r.result);
      EXPECT_EQ(LoadCompositeString(r.text), r.result);
    }
  });
}

TEST_F(LocalStringTest, WithoutALoaderEveryTextComesBackUnchangedAndNothingIsCached) {
  FakePlatform platform;
  platform.add("ShareVault.ShareProps",
               [this] { return ObjectRef(makeObject<FakeShareProps>(answers_)); });
  platform.refuse("QxResLoader.Loader");
  host::ScopedPlatform installed(platform);
  onFreshThread([&] {
    EXPECT_EQ(LoadLocalString("  生产率 "), "  生产率 ");
    EXPECT_EQ(LoadLocalString("生产率"), "生产率");
  });
  // Every call tries again to create the loader.
  EXPECT_EQ(std::count(platform.created.begin(), platform.created.end(), "QxResLoader.Loader"), 2);
}

TEST_F(LocalStringTest, AFailingLookupOrPropertyReadGivesTheTextUnchanged) {
  run([&] {
    EXPECT_EQ(LoadLocalString("名称"), "[EN]名称");
    loader_->failLoadString = true;
    EXPECT_EQ(LoadLocalString(" 名称"), " 名称");
  });
  answers_.values.clear();  // the property string cannot be read: the language stays empty
  run([&] {
    EXPECT_EQ(LoadLocalString("名称"), "[]名称");
    EXPECT_EQ(loader_->language, "");
  });
}

TEST_F(LocalStringTest, AnEmptyLanguageIsReadAgainOnEveryCallUntilItIsSet) {
  answers_.values["PropsString"] = Variant("Language=;QxVersion=ZRA");
  run([&] {
    EXPECT_EQ(LoadLocalString("名称"), "[]名称");
    EXPECT_EQ(LoadLocalString("名称"), "[]名称");
    answers_.values["PropsString"] = Variant("Language=CHS");
    EXPECT_EQ(LoadLocalString("名称"), "[CHS]名称");
    // Once set, the language stays although the login changes.
    answers_.values["PropsString"] = Variant("Language=EN");
    EXPECT_EQ(LoadLocalString("名称"), "[CHS]名称");
  });
  EXPECT_EQ(answers_.asked.size(), 3u);
}

TEST_F(LocalStringTest, TheLoaderIsKeptPerThread) {
  run([&] {
    LoadLocalString("a");
    LoadLocalString("b");
    onFreshThread([] { LoadLocalString("c"); });
  });
  EXPECT_EQ(loadersCreated_, 2);
}

TEST_F(LocalStringTest, ReleasingTheModuleStateDropsTheLoaderAndTheLanguage) {
  run([&] {
    LoadLocalString("a");
    uint32_t held = loader_->refCount();  // the module state's and the fixture's
    releaseModuleState();
    EXPECT_EQ(loader_->refCount(), held - 1);
    answers_.values["PropsString"] = Variant("Language=CHS");
    EXPECT_EQ(LoadLocalString("a"), "[CHS]a");
  });
  EXPECT_EQ(loadersCreated_, 2);
  EXPECT_EQ(answers_.asked.size(), 2u);
}

TEST_F(LocalStringTest, WithoutATranslationACompositeTextComesBackWithoutItsMarks) {
  const char* text = "~$~生产率^|^ (h)^|^~$~ 名称";
  const char* joined = "生产率 (h) 名称";
  run([&] {
    LoadLocalString("a");  // the loader is created and kept
    loader_->failLoadString = true;
    EXPECT_EQ(LoadLocalString(text), joined);
    EXPECT_EQ(LoadCompositeString(text), joined);
  });
  platform_.refuse("QxResLoader.Loader");
  run([&] {
    EXPECT_EQ(LoadLocalString(text), joined);
    EXPECT_EQ(LoadCompositeString(text), joined);
    EXPECT_EQ(LoadLocalString("^|^"), "");
  });
}

}  // namespace
}  // namespace qx::services
