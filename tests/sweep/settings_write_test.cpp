// The registry file is never half-written: a writer killed at any moment leaves the old or the
// new settings, whole, and a write that fails (the file size limit standing in for a full
// disk) is reported, leaves the old settings readable and no temporary file behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "automation/arg.h"
#include "sim/components/reg_helper.h"
#include "sim/platform/registry_file.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Variant;

constexpr const char* kKey = "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\ZRA\\EIRepSchedule";

// Large settings (several write calls' worth of data), told apart by their fill letter.
std::string settings(char fill) {
  std::string s(3 << 20, fill);
  for (size_t i = 4096; i < s.size(); i += 4096) s[i] = '\n';
  return s;
}

std::string bytesOf(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> filesIn(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class SettingsWriteTest : public ::testing::Test {
 protected:
  qx::testing::TempHome home_;
  std::filesystem::path file_ = home_.dir() / "registry.txt";
};

TEST_F(SettingsWriteTest, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewSettingsWhole) {
  const std::string a = settings('a'), b = settings('b');
  RegistryFile(file_).write(kKey, "Big", Variant(a));
  int seenA = 0, seenB = 0;
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(ready[0]);
      RegistryFile reg(file_);
      for (int i = 0;; ++i) {
        if (i == 1) (void)!::write(ready[1], "x", 1);
        reg.write(kKey, "Big", Variant(i % 2 ? b : a));
      }
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);  // the child has written once and goes on
    ::close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(1 + (round * 7919) % 40000));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    RegistryFile after(file_);
    EXPECT_TRUE(after.loadProblem().empty()) << after.loadProblem();
    std::optional<Variant> v = after.read(kKey, "Big");
    ASSERT_TRUE(v);
    std::string got = v->toString();
    EXPECT_TRUE(got == a || got == b) << "size " << got.size();
    (got == a ? seenA : seenB) += 1;
  }
  // Temporary files of killed writers may stay behind; the reader never takes them.
  EXPECT_EQ(seenA + seenB, 12);
}

TEST_F(SettingsWriteTest, AFailedWriteIsReportedAndLeavesTheOldSettingsAndNoTemporaryFile) {
  RegistryFile(file_).write(kKey, "FSchedule", Variant(int16_t{1}));
  const std::string before = bytesOf(file_);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // What the child found, as its exit status: 0 when every expectation held.
    ::signal(SIGXFSZ, SIG_IGN);
    RegistryFile reg(file_);
    rlimit limit{before.size() + 64, before.size() + 64};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(10);
    int code = 0;
    try {
      reg.write(kKey, "FSchedule", Variant(settings('x')));
      code = 1;  // reported as success
    } catch (const automation::Error& e) {
      if (e.number() != 75) code = 2;
    }
    if (reg.read(kKey, "FSchedule") != Variant(int16_t{1})) code = 3;
    // Through the host's registry object, as the plug-in writes its settings.
    auto helper = automation::makeObject<RegHelper>(reg);
    try {
      helper->call("WriteValue", kKey, "ShowAbility", Variant(settings('y')));
      code = 4;
    } catch (const automation::Error& e) {
      if (e.number() != 75) code = 5;
    }
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(bytesOf(file_), before);
  RegistryFile after(file_);
  EXPECT_TRUE(after.loadProblem().empty()) << after.loadProblem();
  EXPECT_EQ(after.read(kKey, "FSchedule"), Variant(int16_t{1}));
  EXPECT_EQ(filesIn(home_.dir()), std::vector<std::string>{"registry.txt"});
}

}  // namespace
}  // namespace qx::sim
