// The event contract against a host that is not kind. Both plug-ins are put in each state a real
// host can produce (never initialised, initialised once or twice, given Nothing or the other
// bill's source, released, Init failed at each of its host calls as the fault injector counts
// them), then every event and operation of the contract is played on them. After every step: a
// failure that reached the host is an automation error with its number, and a step the engine
// did not carry out as a save or delete left the database as it was. After each state, every
// object is released.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include <unistd.h>

#include "sim/bills/protocol_player.h"
#include "support/live_objects.h"
#include "support/temp_home.h"
#include "sweep_world.h"

namespace qx::sweep {
namespace {

using sim::ProtocolOp;
using sim::ProtocolStep;
using Op = ProtocolOp;

ProtocolStep step(Op op, std::initializer_list<uint8_t> p = {}) {
  return sim::protocolStep(op, p);
}

class ProtocolSweep : public qx::testing::LiveObjectsTest {
 protected:
  static void SetUpTestSuite() {
    dir_ = new qx::testing::TempHome();
    sim::HostOptions o = sim::HostOptions::fromEnvironment();
    o.home = dir_->dir() / "template";
    o.database.clear();
    {
      sim::SimHost host(o);
      host.database().open();
      host.registry().write(scheduler::settingsKeyPath(0), "ShowAbility", Variant(true));
    }
    services::releaseModuleState();
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  struct Played {
    size_t steps = 0, failures = 0, hostCalls = 0;
    bool droppedAfterFailedInit = false;
  };
  // Plays the state's steps, counting their host calls, then `rest`; checks every step.
  Played play(const std::vector<ProtocolStep>& state, const std::vector<ProtocolStep>& rest) {
    Played out;
    const int64_t live = automation::Object::liveObjects();
    {
      World w(dir_->dir() / ("run_" + std::to_string(::getpid())),
              dir_->dir() / "template" / "sample.db", dir_->dir() / "template" / "registry.txt");
      sim::ProtocolPlayer p(w.host(), [] { return ObjectRef(widgets::LedgerData::create()); });
      p.open(5001);
      auto one = [&](const ProtocolStep& s) {
        SCOPED_TRACE(describeStep(s));
        sim::ProtocolResult r = p.play(s);
        ++out.steps;
        if (r.failure) {
          ++out.failures;
          EXPECT_NE(r.failure->number(), 0) << r.failure->description();
          EXPECT_FALSE(r.failure->description().empty());
        }
        for (const Error& e : r.nested) EXPECT_NE(e.number(), 0) << e.description();
        EXPECT_TRUE(r.wrote || !r.databaseChanged) << "a refused or failed step changed the data";
        if (s.op == Op::Attach && r.failure && !p.schedule()->plugin()) {
          out.droppedAfterFailedInit = true;
        }
      };
      w.host().faults().startCounting(0);
      for (const ProtocolStep& s : state) one(s);
      w.host().faults().stopCounting();
      out.hostCalls = w.host().faults().calls().size();
      for (const ProtocolStep& s : rest) one(s);
      p.close();
    }
    services::releaseModuleState();
    EXPECT_EQ(automation::Object::liveObjects(), live) << "objects not released";
    return out;
  }

  static qx::testing::TempHome* dir_;
};

qx::testing::TempHome* ProtocolSweep::dir_ = nullptr;

TEST_F(ProtocolSweep, EveryEventInEveryStateAHostCanProduce) {
  const std::vector<ProtocolStep> contract = sim::contractSteps();
  std::vector<std::pair<std::string, std::vector<ProtocolStep>>> states = {
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
  // Init failing at each of its host calls (and the data display after it), kept by the bill.
  const size_t calls = play({step(Op::Attach)}, {}).hostCalls;
  ASSERT_GT(calls, 10u);
  ASSERT_LT(calls, 256u);
  const bool full = std::getenv("QX_SWEEP") && std::string(std::getenv("QX_SWEEP")) == "full";
  for (size_t k = 1; k <= calls; ++k) {
    if (!full && k > 40 && k % 3 != 0) continue;  // the short form, as the fault sweep's
    auto fail = step(Op::Fault, {static_cast<uint8_t>(k)});
    states.push_back({"Init failed at host call " + std::to_string(k), {fail, step(Op::Attach)}});
    if (k % 4 == 1) {
      states.push_back({"Init failed at host call " + std::to_string(k) + ", then again",
                        {fail, step(Op::Attach), step(Op::InitAgain)}});
    }
  }

  size_t steps = 0, failures = 0;
  for (const auto& [name, setup] : states) {
    SCOPED_TRACE(name);
    Played r = play(setup, contract);
    EXPECT_FALSE(r.droppedAfterFailedInit) << "the bill dropped a plug-in whose Init failed";
    steps += r.steps;
    failures += r.failures;
  }
  std::cout << "[ protocol ] " << states.size() << " states, " << steps << " steps, " << failures
            << " failures returned to the host; Init and the data display make " << calls
            << " host calls\n";
}

}  // namespace
}  // namespace qx::sweep
