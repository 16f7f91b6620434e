#include "sim/components/res_loader.h"

#include <gtest/gtest.h>

#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::byRef;
using automation::Variant;

class ResLoaderTest : public qx::testing::LiveObjectsTest {
 protected:
  automation::Ref<ResLoader> loader(const std::filesystem::path& dir) {
    return automation::makeObject<ResLoader>(dir);
  }
  std::string load(automation::Ref<ResLoader>& l, const std::string& key) {
    Variant k(key);
    return l->call("LoadString", byRef(k)).toString();
  }
  std::filesystem::path strings() const {
    return std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data" / "strings";
  }
  qx::testing::TempHome home_;
};

TEST_F(ResLoaderTest, TranslatesFromTheFileOfItsBaseNameAndLanguage) {
  auto l = loader(strings());
  l->put("ResFileBaseName", "QxEIGroup");
  l->put("LanguageID", "EN");
  EXPECT_EQ(l->get("ResFileBaseName"), Variant("QxEIGroup"));
  EXPECT_EQ(l->get("LanguageID"), Variant("EN"));
  EXPECT_EQ(load(l, "生产率"), "Productivity");
  // Trailing spaces of a translation are part of it.
  EXPECT_EQ(load(l, "数据检查出错,原因："), "Data check failed, reason: ");
  l->put("LanguageID", "CHS");
  EXPECT_EQ(load(l, "生产率"), "生产率");
  l->put("LanguageID", "en");  // file names ignore letter case
  EXPECT_EQ(load(l, "生产率"), "Productivity");
}

TEST_F(ResLoaderTest, KeysWithoutATranslationComeBackUnchanged) {
  auto l = loader(strings());
  EXPECT_EQ(load(l, "生产率"), "生产率");  // no base name or language yet
  l->put("ResFileBaseName", "QxEIGroup");
  l->put("LanguageID", "DE");  // no such file
  EXPECT_EQ(load(l, "生产率"), "生产率");
  l->put("LanguageID", "EN");
  EXPECT_EQ(load(l, "not a source text"), "not a source text");
  EXPECT_EQ(load(l, ""), "");
}

TEST_F(ResLoaderTest, TheTableIsReadOncePerBaseNameAndLanguage) {
  auto l = loader(strings());
  l->put("ResFileBaseName", "QxEIGroup");
  l->put("LanguageID", "EN");
  for (int i = 0; i < 5; ++i) load(l, "生产率");
  l->put("LanguageID", "EN");  // the same again: kept
  load(l, "名称");
  EXPECT_EQ(l->loads(), 1);
  l->put("LanguageID", "CHS");
  load(l, "名称");
  EXPECT_EQ(l->loads(), 2);
}

TEST_F(ResLoaderTest, FileFormatCommentsEscapesAndLineEnds) {
  home_.write("G.XX.txt",
              "# comment\tnot an entry\n"
              "\n"
              "a\tA\r\n"
              "tab\\tkey\tline\\none\\\\\n"
              "no tab here\n"
              "empty\t\n"
              "keep\\q\tx\\q\n"
              "dup\t1\n"
              "dup\t2\n");
  auto l = loader(home_.dir());
  l->put("ResFileBaseName", "g");
  l->put("LanguageID", "xx");
  struct Row {
    std::string key, text;
  };
  const Row rows[] = {
      {"a", "A"},
      {"tab\tkey", "line\none\\"},
      {"no tab here", "no tab here"},
      {"empty", ""},
      {"keep\\q", "x\\q"},
      {"dup", "2"},
      {"# comment", "# comment"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.key);
    EXPECT_EQ(load(l, r.key), r.text);
  }
}

}  // namespace
}  // namespace qx::sim
