#include "sim/bills/event_source.h"

#include <gtest/gtest.h>

#include "automation/host_vector.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Arg;
using automation::Error;
using automation::Variant;

class EventSourceTest : public qx::testing::LiveObjectsTest {};

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST_F(EventSourceTest, ArgumentsAreCheckedBeforeAnySinkRuns) {
  auto source = EventSource::create("MasterDataEvents");
  int calls = 0;
  auto sink = automation::makeObject<automation::FunctionSink>(
      [&](automation::DispId, automation::Args) { ++calls; });
  uint32_t cookie = source->advise("MasterDataEvents", automation::ObjectRef(sink));
  Variant msg(""), cancel(false), id(12), extra(1);
  struct Row {
    const char* what;
    std::vector<Arg> args;
    int error;
  };
  Row rows[] = {
      {"too few", {Arg(id), Arg::byRef(msg)}, 449},
      {"too many", {Arg(id), Arg::byRef(msg), Arg::byRef(cancel), Arg(extra)}, 450},
      {"wrong type", {Arg(Variant("x")), Arg::byRef(msg), Arg::byRef(cancel)}, 13},
      {"by value where by reference", {Arg(id), Arg(msg), Arg::byRef(cancel)}, 13},
      {"good", {Arg(id), Arg::byRef(msg), Arg::byRef(cancel)}, 0},
  };
  for (Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(errorOf([&] { source->raise("OnCheckCanDel", automation::Args(r.args)); }), r.error);
  }
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(errorOf([&] { source->raise("NoSuchEvent", {}); }), 438);
  source->unadvise(cookie);
  EXPECT_EQ(source->sinkCount(), 0u);
}

TEST_F(EventSourceTest, InterfaceChecksAndConnectionPoints) {
  auto master = EventSource::create("MasterDataEvents");
  EXPECT_TRUE(master->supports("masterdataevents"));
  EXPECT_FALSE(master->supports("BillEvents"));
  auto sink = automation::makeObject<automation::FunctionSink>(nullptr);
  EXPECT_NE(errorOf([&] { master->advise("BillEvents", automation::ObjectRef(sink)); }), 0);
  EXPECT_NE(errorOf([&] { master->unadvise(99); }), 0);
  EXPECT_THROW(EventSource::create("OtherEvents"), Error);
}

TEST_F(EventSourceTest, BillOperationsGoToTheEngineByPosition) {
  auto bill = EventSource::create("BillEvents");
  // No engine installed yet: a bare source answers with nothing, as a source without a bill.
  EXPECT_EQ(bill->call("GetForm"), Variant());
  std::vector<int> seen;
  bill->setOperations([&](int position, automation::Args) {
    seen.push_back(position);
    return Variant(position * 10);
  });
  EXPECT_EQ(bill->callId(host::bill_op::idOf(6), automation::CallKind::Method), Variant(60));
  EXPECT_EQ(bill->call("getcolumns"), Variant(20));
  EXPECT_EQ(seen, (std::vector<int>{6, 2}));
  EXPECT_EQ(bill->operationLog(), (std::vector<int>{1, 6, 2}));
  EXPECT_EQ(errorOf([&] { bill->callId(host::bill_op::idOf(11), automation::CallKind::Method); }),
            438);
  auto master = EventSource::create("MasterDataEvents");
  EXPECT_EQ(errorOf([&] { master->callId(host::bill_op::idOf(1), automation::CallKind::Method); }),
            438);
}

}  // namespace
}  // namespace qx::sim
