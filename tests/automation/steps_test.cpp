#include "automation/steps.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "automation/host_vector.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

class StepsTest : public testing::LiveObjectsTest {};

TEST_F(StepsTest, AFailingStepIsSkippedAndTheNextOneRuns) {
  Steps steps;
  std::vector<int> ran;
  steps.run([&] { ran.push_back(1); });
  steps.run([&] {
    throw Error::typeMismatch("first");
    ran.push_back(2);  // never reached
  });
  steps.run([&] { ran.push_back(3); });
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  ASSERT_TRUE(steps.failed());
  EXPECT_EQ(steps.pending()->number(), 13);
}

TEST_F(StepsTest, AFailingCallOnAnObjectIsRecordedWithItsNumberAndSource) {
  Steps steps;
  auto v = HostVector::create();
  steps.run([&] { v->call("Sort"); });
  steps.run([&] { v->call("Add", 1); });
  ASSERT_TRUE(steps.failed());
  EXPECT_EQ(steps.pending()->number(), 438);
  EXPECT_EQ(steps.pending()->source(), "HostVector");
  EXPECT_EQ(v->count(), 1);
}

TEST_F(StepsTest, PendingHoldsTheLatestFailureUntilCleared) {
  Steps steps;
  EXPECT_FALSE(steps.failed());
  EXPECT_FALSE(steps.pending().has_value());
  steps.run([] { throw Error::overflow(); });
  steps.run([] {});  // a step that succeeds leaves the pending failure as it is
  EXPECT_EQ(steps.pending()->number(), 6);
  steps.run([] { throw Error::subscriptOutOfRange(); });
  EXPECT_EQ(steps.pending()->number(), 9);
  steps.clear();
  EXPECT_FALSE(steps.failed());
  EXPECT_FALSE(steps.pending().has_value());
}

TEST_F(StepsTest, AFailingTestCountsAsPassed) {
  Steps steps;
  EXPECT_TRUE(steps.test([] { return true; }));
  EXPECT_FALSE(steps.test([] { return false; }));
  EXPECT_FALSE(steps.failed());
  EXPECT_TRUE(steps.test([]() -> bool { throw Error::invalidUseOfNull(); }));
  ASSERT_TRUE(steps.failed());
  EXPECT_EQ(steps.pending()->number(), 94);
}

TEST_F(StepsTest, ATestReadsAVariantConditionByTheBooleanRule) {
  Steps steps;
  EXPECT_FALSE(steps.test([] { return Variant(int32_t{0}).toBool(); }));
  EXPECT_TRUE(steps.test([] { return Variant::null().toBool(); }));  // fails: taken as passed
  EXPECT_EQ(steps.pending()->number(), 94);
}

TEST_F(StepsTest, SkipsAutomationFailuresOnlyAndRaisesProgrammingErrors) {
  const struct {
    const char* what;
    std::function<void()> step;
    bool skipped;
    int32_t number;
    const char* description;
  } rows[] = {
      {"automation error", [] { throw Error(3021, "No current record", "Recordset"); }, true, 3021,
       "No current record"},
      {"out of memory", [] { throw std::bad_alloc(); }, true, 7, "Out of memory"},
      {"standard exception", [] { throw std::runtime_error("disk on fire"); }, false, 51,
       "Internal error: disk on fire"},
      {"anything else", [] { throw 42; }, false, 51, "Internal error: unknown failure"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Steps steps;
    if (r.skipped) {
      steps.run(r.step);
      ASSERT_TRUE(steps.failed());
      EXPECT_EQ(steps.pending()->number(), r.number);
      EXPECT_EQ(steps.pending()->description(), r.description);
      EXPECT_TRUE(steps.test([&] {
        r.step();
        return false;
      }));
    } else {
      EXPECT_ANY_THROW(steps.run(r.step));
      EXPECT_ANY_THROW(steps.test([&] {
        r.step();
        return false;
      }));
      EXPECT_FALSE(steps.failed());
    }
    // At the edge of the server every failure still becomes an automation error.
    try {
      r.step();
      ADD_FAILURE() << "the step did not fail";
    } catch (...) {
      Error e = toError(std::current_exception());
      EXPECT_EQ(e.number(), r.number);
      EXPECT_EQ(e.description(), r.description);
    }
  }
}

TEST_F(StepsTest, AHelpersOwnStepsDoNotTouchTheCallersPendingFailure) {
  Steps caller;
  caller.run([] { throw Error::typeMismatch(); });
  auto helper = [] {
    Steps own;
    own.run([] { throw Error::overflow(); });
    own.clear();
    return 1;
  };
  int r = 0;
  caller.run([&] { r = helper(); });
  EXPECT_EQ(r, 1);
  ASSERT_TRUE(caller.failed());
  EXPECT_EQ(caller.pending()->number(), 13);
}

}  // namespace
}  // namespace qx::automation
