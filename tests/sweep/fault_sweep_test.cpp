// Every host call of every scenario of both bills fails once. A scenario runs first with no
// failure, counting its host calls; then once per call k with exactly call k failing. Each run
// checks the handler's failure form (the error reaches the host, the check's result holds the
// reason, or the handler goes on) and that nothing is lost (grid, txtNoQty, database, settings).
// QX_SWEEP=full runs every call; otherwise every call up to 40 and every third after it. The
// protocol sweep at the end plays every event of the contract in every state a host can produce.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>

#include <unistd.h>

#include "sim/bills/protocol_player.h"
#include "support/live_objects.h"
#include "support/temp_home.h"
#include "sweep_world.h"

namespace qx::sweep {
namespace {

using sim::ScheduleBill;

// How a handler's failure reaches the host.
enum class Form {
  Propagates,  // as the error of the event (or absorbed by a step that never fails)
  IntoResult,  // never as an error: the check refuses with the reason, or completes
  GoesOn,      // never as an error: the failing step is skipped
};
// What may become of something the scenario could change.
enum class Keep {
  Unchanged,  // exactly as before
  OldOrNew,   // each cell or value as before or as the run without failure left it
};

struct Act {
  std::optional<Error> failure;  // what reached the host as the event's error
  bool cancel = false;
  std::string msg;  // sMsg, or the last message box shown
};

struct Scenario {
  const char* name;
  Form form;
  Keep grid, db, settings;
  // A failure may change the answer (bCancel): a refusal, or a key no longer handled.
  bool answerMayChange;
  std::function<void(World&)> setup;  // not counted
  std::function<Act(World&)> act;     // counted
  // A further invariant on the state after a faulted run (empty: none).
  std::function<void(const Snapshot& before, const Snapshot& after, const Snapshot& clean)> extra =
      nullptr;
};

int32_t col(const char* key) {
  return sim::scheduleColumnIndex(key);
}

Act fromSchedule(World& w, ScheduleBill::Outcome o, size_t messagesBefore) {
  Act a{std::move(o.failure), o.cancel, {}};
  const auto& shown = w.host().platform().shownMessages();
  if (shown.size() > messagesBefore) a.msg = shown.back().prompt;
  return a;
}

// A schedule action with the message boxes it showed.
std::function<Act(World&)> onSchedule(std::function<ScheduleBill::Outcome(World&)> f) {
  return [f](World& w) {
    size_t before = w.host().platform().shownMessages().size();
    return fromSchedule(w, f(w), before);
  };
}

// A toolkit event: what escapes the toolkit's call is the failure.
std::function<Act(World&)> onToolkit(std::function<void(World&)> f) {
  return [f](World& w) {
    Act a;
    try {
      f(w);
    } catch (const Error& e) {
      a.failure = e;
    }
    return a;
  };
}

Act fromResource(const sim::MasterDataBill::Outcome& o) {
  Act a{o.failure, false, {}};
  for (const auto& [name, v] : o.byRef) {
    if (name == "bCancel") a.cancel = v.toBool();
    if (name == "sMsg") a.msg = v.toString();
  }
  return a;
}

void openShown(World& w, int32_t workOrder = 5001) {
  w.host().registry().write(scheduler::settingsKeyPath(0), "ShowAbility", Variant(true));
  w.openSchedule(workOrder);
}

// F7 writes the line's name and id together or not at all.
void linePairTogether(const Snapshot& before, const Snapshot& after, const Snapshot& clean) {
  for (size_t r = 0; r < after.grid.size() && r < before.grid.size(); ++r) {
    auto side = [&](const char* key) {
      size_t c = static_cast<size_t>(col(key)) - 1;
      return after.grid[r][c] == before.grid[r][c]  ? 0
             : after.grid[r][c] == clean.grid[r][c] ? 1
                                                    : 2;
    };
    EXPECT_EQ(side("ColLine"), side("ColLineId")) << "row " << r + 1 << ": line name and id differ";
  }
}

// The number in a cell's description ("Double 450", "String \"450\""); 0 for none.
double numberOf(const std::string& described) {
  size_t at = described.find_first_of("-0123456789");
  return at == std::string::npos ? 0 : std::atof(described.c_str() + at);
}

// The wizard's rows hold what was subtracted from the undecomposed quantity.
void quantityKept(const Snapshot& before, const Snapshot& after, const Snapshot&) {
  double added = 0;
  size_t q = static_cast<size_t>(col("ColQty")) - 1;
  for (size_t r = before.grid.size(); r < after.grid.size(); ++r) {
    added += numberOf(after.grid[r][q]);
  }
  EXPECT_NEAR(std::atof(before.noQty.c_str()), std::atof(after.noQty.c_str()) + added, 1e-6)
      << "undecomposed " << before.noQty << " -> " << after.noQty << ", rows added " << added;
}

std::vector<Scenario> scenarios() {
  using K = Keep;
  return {
      // The resource bill.
      {"resource Init", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { w.openResource(false); },
       [](World& w) {
         Act a;
         try {
           w.attachResource();
         } catch (const Error& e) {
           a.failure = e;
         }
         return a;
       }},
      {"resource column", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { w.openResource(); },
       [](World& w) { return fromResource(w.resource->columns()); }},
      {"resource routing", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { w.openResource(); },
       [](World& w) { return fromResource(w.resource->component("QxMResource.ResourceList")); }},
      {"resource productivity check allowed", Form::IntoResult, K::Unchanged, K::OldOrNew,
       K::Unchanged, true, [](World& w) { w.openResource(); },
       [](World& w) {
         return fromResource(w.resource->save({{"FInterID", Variant(1009)},
                                               {"FNumber", Variant("L-09")},
                                               {"FName", Variant("水壶装配三线")},
                                               {"FTypeName", Variant(11063)},
                                               {"FEIProductivity", Variant(55.0)}}));
       }},
      {"resource productivity check refused", Form::IntoResult, K::Unchanged, K::Unchanged,
       K::Unchanged, false, [](World& w) { w.openResource(); },
       [](World& w) {
         return fromResource(w.resource->save({{"FNumber", Variant("MD-02")},
                                               {"FName", Variant("内胆拉伸模具二")},
                                               {"FTypeName", Variant(11064)},
                                               {"FEIProductivity", Variant(12.5)}}));
       }},
      {"resource delete check allowed", Form::Propagates, K::Unchanged, K::OldOrNew, K::Unchanged,
       false,
       [](World& w) {
         w.openResource();
         (void)w.resource->save({{"FInterID", Variant(1009)},
                                 {"FNumber", Variant("L-09")},
                                 {"FTypeName", Variant(11063)}});
       },
       [](World& w) { return fromResource(w.resource->remove(1009)); }},
      {"resource delete check refused", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged,
       false, [](World& w) { w.openResource(); },
       [](World& w) { return fromResource(w.resource->remove(1001)); }},
      {"resource release", Form::GoesOn, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { w.openResource(); },
       [](World& w) {
         w.resourcePlugin.reset();
         return Act{};
       }},

      // The schedule bill.
      {"schedule Init and show", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) {
         w.host().registry().write(scheduler::settingsKeyPath(0), "ShowAbility", Variant(true));
         w.openSchedule(5001, false);
       },
       [](World& w) {
         return Act{w.schedule->attachPlugin(host::prog_id::kEIRepScheduler), false, {}};
       }},
      {"schedule layout on resize", Form::GoesOn, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { openShown(w); },
       onToolkit([](World& w) { w.form().form->resize(16000, 9000); })},
      {"schedule splitter drag", Form::GoesOn, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) { openShown(w); }, onToolkit([](World& w) {
         double top = w.form().picSplit->top;
         w.form().picSplit->mouseDown(100, 30);
         w.form().form->mouseMove(100, top - 600);
         w.form().form->mouseMove(100, top - 1200);
         w.form().form->mouseUp(100, top - 1200);
       })},
      {"schedule line switch shows the ledger", Form::GoesOn, K::OldOrNew, K::Unchanged,
       K::Unchanged, true,
       [](World& w) {
         openShown(w);
         (void)w.schedule->select(2, 1);
       },
       onSchedule([](World& w) { return w.schedule->select(4, 1); })},
      {"schedule F7 line browse", Form::GoesOn, K::OldOrNew, K::Unchanged, K::Unchanged, true,
       [](World& w) {
         openShown(w);
         (void)w.schedule->select(3, col("ColLine"));
         w.host().platform().dialogs().queue("line", "L-01");
       },
       onSchedule([](World& w) { return w.schedule->keyDown(118); }), linePairTogether},
      // A row whose line cannot be read takes no part in the check (the save check still
      // examines it), so the move may then be allowed.
      {"schedule refused row leave", Form::GoesOn, K::OldOrNew, K::Unchanged, K::Unchanged, true,
       [](World& w) {
         openShown(w);
         (void)w.schedule->typeInto(4, col("ColLine"), "L-03");
         (void)w.schedule->typeInto(4, col("ColLineId"), "1003");
       },
       onSchedule([](World& w) { return w.schedule->select(2, col("ColQty")); })},
      {"schedule save check passing", Form::IntoResult, K::OldOrNew, K::OldOrNew, K::Unchanged,
       true,
       [](World& w) {
         openShown(w);
         (void)w.schedule->typeInto(2, col("ColQty"), "450");
       },
       onSchedule([](World& w) { return w.schedule->save(); })},
      {"schedule save check refusing", Form::IntoResult, K::Unchanged, K::Unchanged, K::Unchanged,
       false,
       [](World& w) {
         openShown(w);
         (void)w.schedule->typeInto(4, col("ColLine"), "L-03");
         (void)w.schedule->typeInto(4, col("ColLineId"), "1003");
       },
       onSchedule([](World& w) { return w.schedule->save(); })},
      // The data shown again: the ledger's result is dropped and loaded anew.
      {"schedule reload", Form::GoesOn, K::OldOrNew, K::Unchanged, K::Unchanged, false,
       [](World& w) {
         openShown(w);
         (void)w.schedule->select(3, 1);
       },
       onSchedule([](World& w) { return w.schedule->reload(); })},
      {"schedule capacity area hidden", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged,
       false, [](World& w) { openShown(w); },
       onSchedule([](World& w) { return w.schedule->clickTool("showability"); })},
      {"schedule capacity options", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged,
       false,
       [](World& w) {
         openShown(w);
         w.host().dialogs().queue("options", {"ok", "FSchedule=1"});
       },
       onSchedule([](World& w) { return w.schedule->clickTool("abilityOption"); })},
      {"schedule plan wizard", Form::Propagates, K::OldOrNew, K::Unchanged, K::Unchanged, false,
       [](World& w) {
         openShown(w, 5005);
         w.host().dialogs().queue("decompose", {"accept"});
       },
       onSchedule([](World& w) { return w.schedule->clickTool("wizard"); }), quantityKept},
      {"schedule report", Form::Propagates, K::Unchanged, K::Unchanged, K::Unchanged, false,
       [](World& w) {
         openShown(w);
         (void)w.schedule->select(2, 1);
       },
       onSchedule([](World& w) { return w.schedule->clickTool("viewload"); })},
      {"schedule release with settings written", Form::GoesOn, K::Unchanged, K::Unchanged,
       K::OldOrNew, false,
       [](World& w) {
         openShown(w);
         w.host().dialogs().queue("options", {"ok", "FSchedule=1", "CalcRemainAbility=1"});
         (void)w.schedule->clickTool("abilityOption");
         (void)w.schedule->clickTool("showability");
       },
       [](World& w) {
         w.schedule->close();
         return Act{};
       }},
  };
}

// Each cell (or value) is as before or as the clean run left it.
template <class Map>
void oldOrNew(const char* what, const Map& before, const Map& after, const Map& clean) {
  for (const auto& [k, v] : after) {
    auto b = before.find(k), c = clean.find(k);
    bool old = b != before.end() && b->second == v, fresh = c != clean.end() && c->second == v;
    EXPECT_TRUE(old || fresh) << what << " " << k << " = " << v;
  }
  for (const auto& [k, v] : before) {
    if (!after.count(k)) {
      EXPECT_FALSE(clean.count(k)) << what << " " << k << " was lost";
    }
  }
}

std::map<std::string, std::string> cellsOf(const Snapshot& s) {
  std::map<std::string, std::string> cells;
  for (size_t r = 0; r < s.grid.size(); ++r) {
    for (size_t c = 0; c < s.grid[r].size(); ++c) {
      cells[std::to_string(r + 1) + "," + std::to_string(c + 1)] = s.grid[r][c];
    }
  }
  cells["txtNoQty"] = s.noQty;
  return cells;
}

void expectKept(const char* what, Keep keep, const std::map<std::string, std::string>& before,
                const std::map<std::string, std::string>& after,
                const std::map<std::string, std::string>& clean) {
  if (keep == Keep::Unchanged) {
    EXPECT_EQ(after, before) << what << " changed";
  } else {
    oldOrNew(what, before, after, clean);
  }
}

class FaultSweep : public qx::testing::LiveObjectsTest {
 protected:
  static void SetUpTestSuite() {
    dir_ = new qx::testing::TempHome();
    makeTemplate(dir_->dir() / "template", "FSchedule", Variant(int16_t{0}));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  struct Run {
    Snapshot before, after;
    Act act;
    std::vector<sim::FaultInjector::Call> calls;
    bool fired = false;
    bool hostOwn = false;  // the host's own step failed, before or after the event
  };
  Run run(const Scenario& s, int failAt) {
    Run r;
    World w(runDir(), dir_->dir() / "template" / "sample.db",
            dir_->dir() / "template" / "registry.txt");
    s.setup(w);
    r.before = w.snapshot();
    w.host().faults().startCounting(failAt);
    try {
      r.act = s.act(w);
    } catch (const Error& e) {
      r.act.failure = e;  // the host's own step failed (its call was counted too)
      r.hostOwn = true;
    }
    w.host().faults().stopCounting();
    r.calls = w.host().faults().calls();
    r.fired = w.host().faults().fired();
    r.after = w.snapshot();
    return r;
  }

  // Runs copy and write files many times: in memory when the machine offers a folder there.
  static std::filesystem::path runDir() {
    std::filesystem::path shm = "/dev/shm";
    std::error_code ec;
    if (std::filesystem::is_directory(shm, ec)) {
      return shm / ("qx_sweep_run_" + std::to_string(::getpid()));
    }
    return dir_->dir() / "run";
  }

  // The protocol sweep: plays `state` (its host calls counted, and returned), then `rest`; after
  // every step a failure that reached the host is an automation error with its number and a
  // step the engine did not carry out as a save or delete left the database as it was.
  size_t playProtocol(const std::vector<sim::ProtocolStep>& state,
                      const std::vector<sim::ProtocolStep>& rest) {
    const int64_t live = automation::Object::liveObjects();
    size_t calls = 0;
    {
      World w(runDir(), dir_->dir() / "template" / "sample.db",
              dir_->dir() / "template" / "registry.txt");
      w.host().registry().write(scheduler::settingsKeyPath(0), "ShowAbility", Variant(true));
      sim::ProtocolPlayer p(w.host(), [] { return ObjectRef(widgets::LedgerData::create()); });
      p.open(5001);
      w.host().faults().startCounting(0);
      for (size_t i = 0; i < state.size() + rest.size(); ++i) {
        if (i == state.size()) {
          w.host().faults().stopCounting();
          calls = w.host().faults().calls().size();
        }
        const sim::ProtocolStep& s = i < state.size() ? state[i] : rest[i - state.size()];
        SCOPED_TRACE(describeStep(s));
        sim::ProtocolResult r = p.play(s);
        ++steps_;
        failures_ += r.failure ? 1 : 0;
        EXPECT_NE(r.failure.value_or(Error(1, "none")).number(), 0) << r.failure->description();
        for (const Error& e : r.nested) EXPECT_NE(e.number(), 0) << e.description();
        EXPECT_TRUE(r.wrote || !r.databaseChanged) << "a refused or failed step changed the data";
        // A plug-in whose Init failed stays with the bill.
        EXPECT_TRUE(s.op != sim::ProtocolOp::Attach || !r.failure || p.schedule()->plugin());
      }
      if (rest.empty()) calls = w.host().faults().calls().size();
      p.close();
    }
    services::releaseModuleState();
    EXPECT_EQ(automation::Object::liveObjects(), live) << "objects not released";
    return calls;
  }

  static qx::testing::TempHome* dir_;
  size_t steps_ = 0, failures_ = 0;
};

qx::testing::TempHome* FaultSweep::dir_ = nullptr;

TEST_F(FaultSweep, EveryHostCallOfEveryScenarioFailsOnce) {
  const bool full = std::getenv("QX_SWEEP") && std::string(std::getenv("QX_SWEEP")) == "full";
  auto start = std::chrono::steady_clock::now();
  int cases = 0, absorbed = 0, hostOwn = 0;
  for (const Scenario& s : scenarios()) {
    SCOPED_TRACE(s.name);
    Run clean = run(s, 0);
    ASSERT_FALSE(clean.act.failure) << clean.act.failure->description();
    const int n = static_cast<int>(clean.calls.size());
    int ran = 0;
    std::map<std::string, int> absorbedBy;  // by object: failures no error reported
    for (int k = 1; k <= n; ++k) {
      if (!full && k > 40 && k % 3 != 0) continue;
      const sim::FaultInjector::Call& call = clean.calls[static_cast<size_t>(k) - 1];
      std::string trace = "call " + std::to_string(k) + " of " + std::to_string(n) + ": " +
                          call.identifier + "." + call.member;
      SCOPED_TRACE(trace);
      Run r = run(s, k);
      ++ran;
      // The same calls up to the failing one: the run is deterministic.
      ASSERT_TRUE(r.fired);
      ASSERT_GE(r.calls.size(), static_cast<size_t>(k));
      ASSERT_EQ(r.calls[static_cast<size_t>(k) - 1].identifier, call.identifier);
      ASSERT_EQ(r.calls[static_cast<size_t>(k) - 1].member, call.member);
      std::string injected = "Injected failure of " + call.identifier + "." + call.member;

      if (r.hostOwn) {
        // Nothing of the plug-in's handling to check: the host's own call failed.
        ++hostOwn;
        EXPECT_EQ(r.act.failure->description(), injected);
      } else {
        switch (s.form) {
          case Form::Propagates:
            if (r.act.failure) {
              EXPECT_EQ(r.act.failure->description(), injected);
            } else {
              ++absorbed;
              ++absorbedBy[call.identifier];
              EXPECT_EQ(r.act.cancel, clean.act.cancel);
            }
            break;
          case Form::IntoResult:
            EXPECT_FALSE(r.act.failure) << r.act.failure->description();
            if (r.act.msg != clean.act.msg || r.act.cancel != clean.act.cancel) {
              // Refused with the reason: the check's own, or the one a service left.
              EXPECT_TRUE(r.act.cancel);
              EXPECT_NE(r.act.msg.find(injected), std::string::npos) << r.act.msg;
            } else {
              ++absorbed;
            }
            break;
          case Form::GoesOn:
            EXPECT_FALSE(r.act.failure) << r.act.failure->description();
            break;
        }
      }
      if (!s.answerMayChange && s.form != Form::Propagates && !r.hostOwn) {
        EXPECT_EQ(r.act.cancel, clean.act.cancel);
      }
      // A refused or failed action writes nothing to the database.
      if (r.act.failure || r.act.cancel) {
        EXPECT_EQ(r.after.tables, r.before.tables);
      }
      expectKept("grid", s.grid, cellsOf(r.before), cellsOf(r.after), cellsOf(clean.after));
      expectKept("table", s.db, r.before.tables, r.after.tables, clean.after.tables);
      expectKept("setting", s.settings, r.before.settings, r.after.settings, clean.after.settings);
      if (s.extra) s.extra(r.before, r.after, clean.after);
    }
    cases += ran;
    std::cout << "[ sweep    ] " << s.name << ": " << n << " host calls, " << ran << " runs";
    for (const auto& [object, times] : absorbedBy) std::cout << "; " << object << " " << times;
    std::cout << "\n";
  }
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "[ sweep    ] " << cases << " (scenario x call) cases"
            << (full ? "" : " (short form; QX_SWEEP=full for all)") << ", " << absorbed
            << " absorbed by a step that never fails, " << hostOwn
            << " failed in the host's own steps, " << seconds << " s\n";
  EXPECT_GE(cases, full ? 500 : 100);
}

// The event contract against a host that is not kind: both plug-ins in each state a real host
// can produce (never initialised, initialised once or twice, given Nothing or the other bill's
// source, released, Init failed at each of its host calls and kept by the bill), then every
// event and operation of the contract (sim::contractSteps); every object released after each.
TEST_F(FaultSweep, ProtocolEveryEventInEveryStateAHostCanProduce) {
  using Op = sim::ProtocolOp;
  using Steps = std::vector<sim::ProtocolStep>;
  auto step = [](Op op, std::initializer_list<uint8_t> p = {}) { return sim::protocolStep(op, p); };
  std::vector<std::pair<std::string, Steps>> states = {
      {"never initialised", {step(Op::CreateOnly)}},
      {"initialised", {step(Op::Attach), step(Op::ResAttach)}},
      {"initialised twice", {step(Op::Attach), step(Op::InitAgain), step(Op::ResAttach)}},
      {"given Nothing",
       {step(Op::Attach), step(Op::InitNothing), step(Op::ResAttach), step(Op::ResInitNothing)}},
      {"given the other bill's source",
       {step(Op::Attach), step(Op::InitWrong), step(Op::ResAttach), step(Op::ResInitWrong)}},
      {"released",
       {step(Op::Attach), step(Op::Release), step(Op::ResAttach), step(Op::ResRelease)}},
  };
  // Init failing at each of its host calls (and of the data display after it); the short form
  // takes every call up to 40 and every ninth after it.
  const size_t calls = playProtocol({step(Op::Attach)}, {});
  ASSERT_GT(calls, 10u);  // Init's own calls come first; a step's fault counts to 255
  const bool full = std::getenv("QX_SWEEP") && std::string(std::getenv("QX_SWEEP")) == "full";
  for (size_t k = 1; k <= std::min<size_t>(calls, 255); ++k) {
    if (!full && k > 40 && k % 9 != 0) continue;
    Steps failed = {step(Op::Fault, {static_cast<uint8_t>(k)}), step(Op::Attach)};
    states.push_back({"Init failed at host call " + std::to_string(k), failed});
    failed.push_back(step(Op::InitAgain));
    if (k % 4 == 1)
      states.push_back({"Init failed at call " + std::to_string(k) + ", again", failed});
  }
  const Steps contract = sim::contractSteps();
  for (const auto& [name, setup] : states) {
    SCOPED_TRACE(name);
    playProtocol(setup, contract);
  }
  std::cout << "[ protocol ] " << states.size() << " states, " << steps_ << " steps, " << failures_
            << " failures returned to the host; Init and the data display make " << calls
            << " host calls\n";
}

}  // namespace
}  // namespace qx::sweep
