#include "sim/platform/registry_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "automation/conversions.h"
#include "sim/components/reg_helper.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Variant;

class RegistryFileTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    dir_ = qx::testing::uniqueTempPath("registry");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    file_ = dir_ / "registry.txt";
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    LiveObjectsTest::TearDown();
  }
  std::filesystem::path dir_, file_;
};

constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\ZRA\\EIRepSchedule";

TEST_F(RegistryFileTest, ValuesKeepTheirTypesAcrossAReload) {
  const Variant values[] = {Variant(int16_t{3}),
                            Variant(70000),
                            Variant(2.5),
                            Variant(true),
                            Variant("text with \"quotes\"\nand a line"),
                            Variant(automation::makeDate(2026, 12, 8, 10, 30, 0))};
  {
    RegistryFile reg(file_);
    for (size_t i = 0; i < std::size(values); ++i) {
      reg.write(kKey, "v" + std::to_string(i), values[i]);
    }
  }
  RegistryFile again(file_);
  EXPECT_TRUE(again.loadProblem().empty());
  for (size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(automation::describe(values[i]));
    EXPECT_EQ(again.read(kKey, "v" + std::to_string(i)), values[i]);
  }
  EXPECT_FALSE(std::filesystem::exists(file_.string() + ".tmp"));
}

TEST_F(RegistryFileTest, PathsAndNamesIgnoreCaseAndRootsMayBeAbbreviated) {
  RegistryFile reg(file_);
  reg.write("HKCU\\Software\\A", "Name", Variant(1));
  EXPECT_EQ(reg.read("hkey_current_user\\SOFTWARE\\a", "NAME"), Variant(1));
  EXPECT_TRUE(reg.keyExists("HKEY_CURRENT_USER\\Software\\A\\"));
  EXPECT_FALSE(reg.read("HKEY_CURRENT_USER\\Software\\A", "other"));
  EXPECT_THROW(reg.write("HKEY_NOWHERE\\A", "x", Variant(1)), automation::Error);
  EXPECT_THROW(reg.write("HKEY_CURRENT_USER", "x", Variant(1)), automation::Error);
}

TEST_F(RegistryFileTest, DeleteKeyRemovesTheSubtreeOnly) {
  RegistryFile reg(file_);
  reg.write("HKCR\\CLSID\\{A}", "", Variant("a"));
  reg.write("HKCR\\CLSID\\{A}\\InprocServer32", "", Variant("lib"));
  reg.write("HKCR\\CLSID\\{AB}", "", Variant("ab"));
  EXPECT_TRUE(reg.deleteKey("HKCR\\CLSID\\{A}"));
  EXPECT_FALSE(reg.keyExists("HKCR\\CLSID\\{A}\\InprocServer32"));
  EXPECT_TRUE(reg.keyExists("HKCR\\CLSID\\{AB}"));
  EXPECT_FALSE(reg.deleteKey("HKCR\\CLSID\\{A}"));
  EXPECT_EQ(RegistryFile(file_).keysUnder("HKCR").size(), 1u);
}

TEST_F(RegistryFileTest, ValuesTheRegistryCannotKeepAreRefusedAndNothingChanges) {
  RegistryFile reg(file_);
  reg.write(kKey, "kept", Variant(1));
  EXPECT_THROW(reg.write(kKey, "bad", Variant::null()), automation::Error);
  EXPECT_THROW(reg.write(kKey, "bad", Variant()), automation::Error);
  EXPECT_FALSE(reg.read(kKey, "bad"));
  EXPECT_EQ(RegistryFile(file_).values(kKey).size(), 1u);
}

TEST_F(RegistryFileTest, MissingEmptyAndCorruptFilesGiveAnEmptyRegistry) {
  EXPECT_TRUE(RegistryFile(dir_ / "none.txt").keysUnder("HKCU").empty());
  { std::ofstream(file_) << ""; }
  EXPECT_TRUE(RegistryFile(file_).loadProblem().empty());
  { std::ofstream(file_) << "[HKEY_CURRENT_USER\\A]\n\"x\"=long:12\ngarbage line\n"; }
  RegistryFile corrupt(file_);
  EXPECT_NE(corrupt.loadProblem().find("line 3"), std::string::npos);
  EXPECT_FALSE(corrupt.read("HKCU\\A", "x"));
  EXPECT_TRUE(std::filesystem::exists(file_.string() + ".corrupt"));
  corrupt.write("HKCU\\B", "y", Variant(2));  // the next save writes a good file
  RegistryFile good(file_);
  EXPECT_TRUE(good.loadProblem().empty());
  EXPECT_EQ(good.read("HKCU\\B", "y"), Variant(2));
}

TEST_F(RegistryFileTest, AnUnreadableFileThatCannotBeSetAsideIsNeverOverwritten) {
  const std::string unreadable = "[HKEY_CURRENT_USER\\A]\ngarbage line\n";
  { std::ofstream(file_) << unreadable; }
  std::filesystem::create_directories(file_.string() + ".corrupt/busy");  // no room to copy
  RegistryFile corrupt(file_);
  EXPECT_FALSE(corrupt.loadProblem().empty());
  try {
    corrupt.write("HKCU\\B", "y", Variant(2));
    ADD_FAILURE() << "the write replaced a file it could not set aside";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 75);
  }
  std::ifstream in(file_, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), unreadable);
  std::filesystem::remove_all(file_.string() + ".corrupt");
  corrupt.write("HKCU\\B", "y", Variant(2));  // set aside now, then written
  EXPECT_EQ(RegistryFile(file_).read("HKCU\\B", "y"), Variant(2));
  std::ifstream aside(file_.string() + ".corrupt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), unreadable);
}

TEST_F(RegistryFileTest, RegHelperReadsWithDefaultsAndWritesTypedValues) {
  RegistryFile reg(file_);
  auto helper = automation::makeObject<RegHelper>(reg);
  EXPECT_EQ(helper->call("ReadValue", kKey, "FSchedule", int16_t{0}), Variant(int16_t{0}));
  helper->call("WriteValue", kKey, "ShowAbility", true);
  EXPECT_EQ(helper->call("ReadValue", kKey, "ShowAbility", false), Variant(true));
  EXPECT_EQ(helper->call("DeleteKey", kKey), Variant(true));
  EXPECT_EQ(helper->call("ReadValue", kKey, "ShowAbility", false), Variant(false));
  try {
    helper->call("ReadValue", kKey);
    FAIL() << "expected 450";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 450);
  }
}

}  // namespace
}  // namespace qx::sim
