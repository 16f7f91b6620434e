// Every command of the workbench: its examples run, and bad input (nothing, one word too many, a
// bad value) gets one error line naming the command, the session goes on, and neither the
// session's state, the database nor the registry file changes.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/temp_home.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {
namespace {

// The state a user has after a few steps: the component registered, objects of each kind, the
// resource bill and a schedule bill open with a row selected.
constexpr const char* kPrelude =
    "register\nlogin language EN\nsource engine MasterDataEvents\n"
    "create res QxIndDepComponent.EIResource\nform frm 9000 6000\n"
    "picture $frm pic 0 2400 9000 60\nledgergrid $frm grid 0 3000 9000 3000\n"
    "widget split cSplitter\nresource open\nschedule showability on\nschedule open 5001\n"
    "schedule select 2 ColQty\necho ready\n";

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CommandSetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sample_ = new std::filesystem::path(qx::testing::uniqueTempPath("sample") / "sample.db");
    std::filesystem::path data = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    sim::Database::build(*sample_, {data / "schema.sql", data / "seed.sql"});
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(sample_->parent_path());
    delete sample_;
  }

  // Runs the prelude in a fresh home on a copy of the sample database (the working folder is
  // the home, so files named by examples land there), then `body` with the workbench and its
  // output.
  void session(const std::function<void(Workbench&, std::ostringstream&)>& body) {
    std::filesystem::path home = qx::testing::uniqueTempPath("commands");
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    std::filesystem::copy_file(*sample_, home / "sample.db");
    std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(home);
    sim::HostOptions o;
    o.home = home;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    std::thread([&] {  // the component's translation state is per thread, as in a session
      sim::SimHost host(o);
      std::ostringstream out;
      Workbench w(host, out);
      std::istringstream prelude(kPrelude);
      ASSERT_EQ(w.run(prelude), 0) << out.str();
      out.str("");
      body(w, out);
    })
        .join();
    std::filesystem::current_path(cwd);
    std::filesystem::remove_all(home);
  }

  // The lines that report a failure: usage errors, failed expectations, failed host calls.
  static std::vector<std::string> errorLines(const std::string& output) {
    std::vector<std::string> found;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
      size_t colon = line.find(": error ");
      bool hostError = colon != std::string::npos && line.find(' ') > colon;
      if (line.rfind("usage error:", 0) == 0 || line.rfind("expectation failed:", 0) == 0 ||
          line.rfind("error ", 0) == 0 || hostError) {
        found.push_back(line);
      }
    }
    return found;
  }

  static std::filesystem::path* sample_;
};

std::filesystem::path* CommandSetTest::sample_ = nullptr;

TEST_F(CommandSetTest, EveryExampleBeginsWithItsCommandAndRunsWithoutAUsageError) {
  for (const Workbench::Command& c : Workbench::commandSet()) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.example.empty());
    std::vector<std::string> lines;
    std::istringstream in(c.example);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (const std::string& line : lines) {
      EXPECT_EQ(line.substr(0, c.name.size() + 1), c.name + (line == c.name ? "" : " "));
    }
    session([&](Workbench& w, std::ostringstream& out) {
      SCOPED_TRACE(c.name);
      for (const std::string& line : lines) {
        w.execute(line);
        EXPECT_EQ(out.str().find("usage error"), std::string::npos) << line << "\n" << out.str();
      }
    });
  }
}

// What each command is given: whether it runs without arguments, a line with a word too many
// (none for commands that take any number of words) and lines with a bad value.
struct BadInput {
  const char* name;
  bool bareRuns;
  const char* extra;
  std::vector<std::string> bad;
};

const BadInput kBadInput[] = {
    {"help", true, "help schedule junk", {"help shedule"}},
    {"orders", true, "orders all", {}},
    {"protocol",
     false,
     "protocol 5001 00 junk",
     {"protocol x", "protocol 5001 0", "protocol 5001 zz"}},
    {"quit", true, "quit now", {}},
    {"exit", true, "exit now", {}},
    {"echo", true, nullptr, {"echo \"unclosed"}},
    {"register", true, "register lib.so junk", {"register /no/such/library.so"}},
    {"unregister", true, "unregister lib.so junk", {"unregister /no/such/library.so"}},
    {"can-unload", true, "can-unload lib.so junk", {"can-unload /no/such/library.so"}},
    {"create", false, "create x QxIndDepComponent.EIResource junk", {"create x No.Such.Component"}},
    {"source", false, "source s BillEvents junk", {"source s NoSuchEvents"}},
    {"init", false, "init res $engine junk", {"init nobody $engine", "init res $nobody"}},
    {"raise", false, "raise engine OnGetECaption \"\" false junk", {"raise engine OnNoSuchEvent"}},
    {"call", false, nullptr, {"call nobody Init", "call res NoSuchMember"}},
    {"release", false, "release res junk", {"release nobody"}},
    {"objects", true, "objects junk", {}},
    {"fault", false, "fault X Y 1 junk", {"fault X Y -1", "fault clear now"}},
    {"login",
     true,
     "login user a language X edition b BAD",
     {"login decimals many", "login user a decimals 99", "login user", "login language zh"}},
    {"rights", false, "rights demo all junk", {"rights demo grant 1 x 15", "rights demo maybe"}},
    {"sql", false, nullptr, {"sql \"DELETE FROM no_such_table\"", "sql \"SELEC 1\""}},
    {"answer", false, nullptr, {"answer 1 2 yes", "answer browser L-01", "answer line"}},
    {"dialogs", true, "dialogs clear junk", {"dialogs all"}},
    {"messages", true, "messages clear junk", {"messages all"}},
    {"pointer", true, "pointer clear junk", {"pointer all"}},
    {"resource",
     false,
     "resource close now",
     {"resource delete L-01", "resource save", "resource save FNumber", "resource print"}},
    {"form", false, "form f 1 2 3", {"form f wide 100"}},
    {"picture", false, "picture $frm p 0 0 10 10 junk", {"picture $frm p 0 0 wide 10"}},
    {"ledgergrid", false, "ledgergrid $frm g 0 0 10 10 junk", {"ledgergrid $pic g 0 0 10 10"}},
    {"widget", false, "widget w cSplitter junk", {"widget w Button"}},
    {"mouse", false, "mouse down $pic 1 2 3", {"mouse press $pic 1 2", "mouse up $frm x 2"}},
    {"drag", false, nullptr, {"drag $pic $frm z 30 100", "drag $pic $frm y 30 100 far"}},
    {"bar", false, "bar $pic junk", {"bar $frm"}},
    {"let", false, "let split Orientation 1 junk", {"let split Orientation wide"}},
    {"ledger", false, "ledger demo junk", {"ledger print", "ledger show $pic"}},
    {"splitter", false, "splitter demo junk", {"splitter show"}},
    {"schedule",
     false,
     "schedule close now",
     {"schedule open 4711", "schedule open WO-1", "schedule select 99 ColQty",
      "schedule select 1 NoSuchColumn", "schedule type 9 ColLine L-01",
      "schedule showability maybe", "schedule lock 1 3 maybe", "schedule window 2026-13-01 7",
      "schedule drag 30 5000 far", "schedule key Escape", "schedule fly"}},
    {"ability", false, "ability 5001 FSchedule=1 junk", {"ability 5001 FSchedule=2", "ability x"}},
    {"plant",
     false,
     "plant generate p.db 2 2 junk",
     {"plant generate sample.db 2 2", "plant generate p.db 0 5", "plant grow p.db 2 2"}},
    {"dialog",
     false,
     nullptr,
     {"dialog options ok FSchedule=2", "dialog decompose 0.FAuxQty=5", "dialog decompose maybe",
      "dialog print ok"}},
    {"report-output", false, "report-output a.csv junk", {"report-output /no/such/folder/r.csv"}},
    {"later", false, nullptr, {"later \"unclosed"}},
    {"expect-refused", false, nullptr, {"expect-refused echo carried out"}},
    {"snapshot",
     false,
     "snapshot --html a.html junk",
     {"snapshot --pdf a.pdf", "snapshot --html /no/such/folder/a.html"}},
    {"expect", false, nullptr, {"expect \"not printed\"", "expect \"not\" \"printed\""}},
    {"expect-not", false, nullptr, {"expect-not \"WO-2612-001\"", "expect-not \"x\" \"WO-2612\""}},
    {"step", false, "step \"a\" \"b\" \"c\"", {"step a b"}},
    {"export",
     false,
     "export --csv x.csv ledger junk",
     {"export --csv x.csv ability 4711", "export --csv /no/such/x.csv ledger",
      "export --html x.html ledger", "export --csv x.csv grid"}},
};

TEST_F(CommandSetTest, BadInputGetsOneErrorLineAndChangesNothing) {
  for (const Workbench::Command& c : Workbench::commandSet()) {
    SCOPED_TRACE(c.name);
    auto row = std::find_if(std::begin(kBadInput), std::end(kBadInput),
                            [&](const BadInput& b) { return b.name == c.name; });
    ASSERT_NE(row, std::end(kBadInput)) << "no bad input for the command " << c.name;
    std::vector<std::pair<std::string, bool>> cases{{c.name, !row->bareRuns}};
    if (row->extra) cases.emplace_back(row->extra, true);
    for (const std::string& bad : row->bad) cases.emplace_back(bad, true);
    for (const auto& [line, fails] : cases) {
      SCOPED_TRACE(line);
      session([&](Workbench& w, std::ostringstream& out) {
        SCOPED_TRACE(line);  // the session runs in a thread of its own, with its own traces
        // What the session shows of its state: the login, the dialogs and answers waiting, the
        // schedule bill's header and grid.
        auto state = [&] {
          out.str("");
          for (const char* probe : {"login", "dialogs", "schedule header", "schedule grid"}) {
            w.execute(probe);
          }
          std::string shown = out.str();
          out.str("");
          return shown;
        };
        std::string database = contents("sample.db"), registry = contents("registry.txt");
        std::string before = state();
        w.execute(line);
        std::string printed = out.str();
        std::vector<std::string> errors = errorLines(printed);
        if (!fails) {
          EXPECT_TRUE(errors.empty()) << printed;
          return;
        }
        ASSERT_EQ(errors.size(), 1u) << printed;
        EXPECT_NE(errors[0].find(c.name), std::string::npos) << errors[0];
        EXPECT_TRUE(contents("sample.db") == database) << "the database changed";
        EXPECT_TRUE(contents("registry.txt") == registry) << "the registry file changed";
        EXPECT_EQ(state(), before);
        w.execute("echo still here");
        EXPECT_EQ(out.str(), "still here\n");
      });
    }
  }
}

TEST_F(CommandSetTest, HelpListsThePlannersCommandsBeforeTheHarnesss) {
  struct Row {
    const char* name;
    bool planners;
  } rows[] = {{"schedule", true}, {"orders", true},   {"ability", true}, {"export", true},
              {"snapshot", true}, {"resource", true}, {"raise", false},  {"call", false},
              {"fault", false},   {"widget", false},  {"mouse", false},  {"let", false},
              {"sql", false},     {"answer", false}};
  session([&](Workbench& w, std::ostringstream& out) {
    w.execute("help");
    std::string help = out.str();
    size_t harness = help.find("harness commands");
    ASSERT_NE(harness, std::string::npos) << help;
    EXPECT_EQ(help.find("planner's commands:\n"), 0u) << help;
    for (const Row& r : rows) {
      SCOPED_TRACE(r.name);
      size_t at = help.find("\n  " + std::string(r.name) + " ");
      ASSERT_NE(at, std::string::npos) << help;
      EXPECT_EQ(at < harness, r.planners);
    }
    out.str("");
    w.execute("help columns");
    EXPECT_NE(out.str().find("ColLineId"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("生产线内码"), std::string::npos) << out.str();
    out.str("");
    w.execute("schedule select 1 ColLin");
    EXPECT_NE(out.str().find("the columns are ColNo ColBillNo"), std::string::npos) << out.str();
  });
}

}  // namespace
}  // namespace qx::qxhost
