// Events raised with wrong arguments, events the plug-in does not read, and a host that raises
// events after the plug-in was released: errors or nothing, never a crash.
#include <utility>

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

// The schedule plug-in reads only some of the bill's events. The others (the engine's own, and
// any id the interface lacks) return S_OK whatever arguments come with them: any number, any
// type, by value or by reference, nothing converted, checked or written.
void unhandledBillEvents() {
  ComPtr<BillSource> bill = makeBillSource();
  ComPtr<IDispatch> sched = createByProgId(kSchedulerProgId);
  if (!sched) return;
  // Init subscribes, then fails for want of a schedule form; the subscription stays.
  initByName(sched.get(), argDispatch(static_cast<_BillEvents*>(bill.get())));
  if (!check(bill->sinkCount() == 1, "EIRepScheduler subscribed to the bill")) return;

  Bstr text("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  LONG number = 5;
  VARIANT longRef;
  V_VT(&longRef) = VT_BYREF | VT_I4;
  V_I4REF(&longRef) = &number;
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 3);
  VARIANT arrayArg;
  V_VT(&arrayArg) = VT_ARRAY | VT_I4;
  V_ARRAY(&arrayArg) = array;
  VARIANT error;
  V_VT(&error) = VT_ERROR;
  V_ERROR(&error) = DISP_E_PARAMNOTFOUND;  // an omitted optional argument

  struct Row {
    const char* what;
    std::vector<VARIANT> args;
  };
  const Row rows[] = {
      {"no arguments", {}},
      {"seven arguments", std::vector<VARIANT>(7, argLong(1))},
      {"texts where numbers are declared", {argBstr(text), argBstr(text), refBool(cancel)}},
      {"by reference where values are declared", {longRef, refBstr(text)}},
      {"an array, an omitted argument and references",
       {arrayArg, error, refBstr(text), refBool(cancel), longRef}},
  };
  const std::pair<DISPID, const char*> events[] = {
      {1, "OnBillInit"},    {2, "OnBeforeShowData"}, {6, "OnAfterSave"},
      {7, "OnCellChanged"}, {8, "OnBeforeClose"},    {99, "an id the interface lacks"},
  };
  for (const auto& [id, name] : events) {
    for (const Row& row : rows) {
      std::string what = std::string(name) + " with " + row.what;
      CallOutcome r = bill->raise(id, row.args);
      checkStatus(r.hr, S_OK, what + " returns S_OK");
    }
  }
  checkEqual(text.utf8(), "keep", "no unread event writes a text");
  checkEqual(cancel, VARIANT_FALSE, "no unread event writes bCancel");
  checkEqual(number, 5, "no unread event writes a number");
  checkEqual(static_cast<long long>(bill->sinkCount()), 1, "the plug-in stays subscribed");
  // The events it reads are still checked: the sink is there and listening.
  checkEqual(bill->raise(3, {}).number(), 449, "OnCheckData without arguments still fails");
  SafeArrayDestroy(array);
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
  unhandledBillEvents();
  eventsAfterRelease();
}

}  // namespace qx::testhost
