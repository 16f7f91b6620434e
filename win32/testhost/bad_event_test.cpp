// Events raised with wrong arguments, and a host that raises events after the plug-in was
// released: errors or nothing, never a crash.
#include "win32/testhost/check.h"
#include "win32/testhost/resource_bill.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

namespace ev = master_event;

void wrongEventArguments() {
  ResourceBill bill;
  if (!bill.open()) return;
  Bstr caption("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  LONG number = 5;
  VARIANT longRef;
  V_VT(&longRef) = VT_BYREF | VT_I4;
  V_I4REF(&longRef) = &number;
  Bstr text("abc");

  struct Row {
    const char* what;
    DISPID id;
    std::vector<VARIANT> args;
    int32_t error;
  };
  const Row rows[] = {
      {"OnGetECaption with one argument", ev::kOnGetECaption, {refBstr(caption)}, 449},
      {"OnGetECaption with three arguments",
       ev::kOnGetECaption,
       {refBstr(caption), refBool(cancel), refBool(cancel)},
       450},
      {"OnGetECaption with sCaption by value",
       ev::kOnGetECaption,
       {argBstr(caption), refBool(cancel)},
       13},
      {"OnGetECaption with a number for sCaption",
       ev::kOnGetECaption,
       {longRef, refBool(cancel)},
       13},
      {"OnGetTitleInfo with a text for vecData",
       ev::kOnGetTitleInfo,
       {refBstr(caption), refBool(cancel)},
       13},
      {"OnCheckCanDel with a text for lInterID",
       ev::kOnCheckCanDel,
       {argBstr(text), refBstr(caption), refBool(cancel)},
       13},
      {"OnCheckData without arguments", ev::kOnCheckData, {}, 449},
  };
  for (const Row& row : rows) {
    CallOutcome r = bill.raise(row.id, row.args);
    checkEqual(r.number(), row.error, std::string(row.what) + ": the event fails");
    checkEqual(caption.utf8(), "keep", std::string(row.what) + ": nothing is written");
    checkEqual(cancel, VARIANT_FALSE, std::string(row.what) + ": bCancel unchanged");
  }
  checkEqual(number, 5, "the wrongly typed argument is unchanged");

  // An event this interface does not have returns with its arguments untouched.
  CallOutcome r = bill.raise(99, {refBstr(caption), refBool(cancel)});
  checkStatus(r.hr, S_OK, "an unknown event id is accepted");
  checkEqual(caption.utf8(), "keep", "an unknown event id writes nothing");
  checkEqual(static_cast<long long>(bill.source->sinkCount()), 1, "the plug-in stays subscribed");
}

void eventsAfterRelease() {
  // This host keeps its sinks when told to unadvise, and raises events on them later.
  ResourceBill bill;
  bill.source->point().keepSinksOnUnadvise(true);
  if (!bill.open()) return;
  bill.plugin.reset();
  checkEqual(static_cast<long long>(bill.source->sinkCount()), 1,
             "the careless host kept the sink");
  Bstr caption("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  CallOutcome r = bill.raise(ev::kOnGetECaption, {refBstr(caption), refBool(cancel)});
  checkStatus(r.hr, S_OK, "an event after release returns normally");
  checkEqual(caption.utf8(), "keep", "an event after release reaches no handler");
  checkEqual(cancel, VARIANT_FALSE, "an event after release leaves bCancel");
  checkStatus(serverCanUnloadNow(), S_FALSE, "the server stays loaded while the host holds a sink");
  bill.source->point().dropSinks();
}

}  // namespace

void runBadEventTests() {
  section("bad events");
  wrongEventArguments();
  eventsAfterRelease();
}

}  // namespace qx::testhost
