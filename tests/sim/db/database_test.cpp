#include "sim/db/database.h"

#include <gtest/gtest.h>

#include "automation/recordset.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Error;
using automation::Variant;

class DatabaseTest : public qx::testing::LiveObjectsTest {
 protected:
  std::filesystem::path dataDir() const {
    return std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
  }
  // The description of the failure of `f`, empty when it succeeds.
  template <class F>
  static std::string failure(F&& f) {
    try {
      f();
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), kDatabaseError);
      return e.description();
    }
    return {};
  }
  qx::testing::TempHome home_;
};

TEST_F(DatabaseTest, TheSampleIsBuiltOnFirstUseWithTheSeedFacts) {
  std::filesystem::path file = home_.dir() / "sub" / "sample.db";
  Database db(file, dataDir(), true);
  EXPECT_FALSE(std::filesystem::exists(file));
  SqliteDb open = db.open();
  EXPECT_TRUE(std::filesystem::exists(file));
  auto count = [&](const std::string& sql) {
    auto rs = open.execute(sql);
    return rs->value(0).toInt32();
  };
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FTypeID = 11063 AND FInterID BETWEEN "
                  "1001 AND 1008"),
            8);
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1008"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1103"), 1);
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID IN (1101, 1102, 1104)"), 0);
  // No temporary file is left beside it.
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(file.parent_path())) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}

TEST_F(DatabaseTest, AnExistingSampleIsNotRebuilt) {
  std::filesystem::path file = home_.dir() / "sample.db";
  Database db(file, dataDir(), true);
  db.open().run("DELETE FROM t_eiItemLine");
  auto rs = db.open().execute("SELECT COUNT(*) FROM t_eiItemLine");
  EXPECT_EQ(rs->value(0), Variant(0));
}

TEST_F(DatabaseTest, AFailingScriptLeavesNoDatabaseAndNamesTheScript) {
  std::filesystem::path file = home_.dir() / "bad.db";
  std::filesystem::path good = home_.write("good.sql", "CREATE TABLE a (x);");
  std::filesystem::path bad = home_.write("bad.sql", "INSERT INTO nowhere VALUES (1);");
  std::string why = failure([&] { Database::build(file, {good, bad}); });
  EXPECT_NE(why.find("bad.sql"), std::string::npos) << why;
  EXPECT_NE(why.find("no such table"), std::string::npos) << why;
  EXPECT_FALSE(std::filesystem::exists(file));
  why = failure([&] { Database::build(file, {home_.dir() / "missing.sql"}); });
  EXPECT_NE(why.find("missing.sql"), std::string::npos) << why;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(DatabaseTest, AMissingSampleScriptFolderIsAClearFailure) {
  Database db(home_.dir() / "sample.db", home_.dir() / "nowhere", true);
  std::string why = failure([&] { db.open(); });
  EXPECT_NE(why.find("schema.sql"), std::string::npos) << why;
}

TEST_F(DatabaseTest, BadDatabaseFilesFailNamingTheFile) {
  struct Row {
    const char* name;
    std::filesystem::path file;
    const char* reason;
  };
  std::filesystem::path folder = home_.dir() / "folder.db";
  std::filesystem::create_directories(folder);
  const Row rows[] = {
      {"missing", home_.dir() / "missing.db", "does not exist"},
      {"a folder", folder, "folder"},
      {"not a database", home_.write("text.db", "just some text, long enough to be a header.."),
       "not a database"},
      {"empty name", home_.dir() / "", "folder"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Database db(r.file, dataDir(), false);
    std::string why = failure([&] { db.open(); });
    EXPECT_NE(why.find(r.file.string()), std::string::npos) << why;
    EXPECT_NE(why.find(r.reason), std::string::npos) << why;
  }
}

}  // namespace
}  // namespace qx::sim
