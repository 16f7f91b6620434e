// The end of a session: a plug-in that handled events is released, no reference is left
// behind, the resource loader goes with the thread's last plug-in object, and the server
// answers that it may be unloaded, and is.
#include "win32/testhost/check.h"
#include "win32/testhost/resource_bill.h"
#include "win32/testhost/substitutes.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

// A text the resource bill translates: the deletion check's two-line message.
void raiseTranslatedMessage(ResourceBill& bill) {
  Bstr msg("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  CallOutcome r =
      bill.raise(master_event::kOnCheckCanDel, {argLong(9), refBstr(msg), refBool(cancel)});
  checkStatus(r.hr, S_OK, "OnCheckCanDel");
  checkEqual(msg.utf8(),
             translatedText("有生产线和物料对应关系引用该资源，不能删除.") + "\r\n" +
                 translatedText("但你可以禁用该资源。"),
             "the message is translated");
}

}  // namespace

void runReleaseTests() {
  section("release and unload");
  {
    ResourceBill bill;
    if (bill.open()) {
      Bstr caption("x");
      VARIANT_BOOL cancel = VARIANT_FALSE;
      bill.raise(master_event::kOnGetECaption, {refBstr(caption), refBool(cancel)});
      raiseTranslatedMessage(bill);
      ComPtr<IDispatch> sched = createByProgId(kSchedulerProgId);
      check(static_cast<bool>(sched), "a schedule plug-in alive at the same time");
      checkEqual(ResLoaderSubstitute::log().live, 1, "the thread's plug-ins share one loader");
      checkStatus(serverCanUnloadNow(), S_FALSE, "the server is busy while plug-ins live");
      bill.plugin.reset();
      checkEqual(ResLoaderSubstitute::log().live, 1, "the loader stays while a plug-in lives");
      checkEqual(static_cast<long long>(bill.source->sinkCount()), 0, "release unadvises the sink");
      checkEqual(static_cast<long long>(bill.source->refs()), 1,
                 "release leaves no reference on the event source");
    }
  }
  checkEqual(ResLoaderSubstitute::log().live, 0,
             "the loader goes with the thread's last plug-in object");
  checkEqual(liveEventSources(), 0, "every event source is gone");
  checkEqual(ConnectionSubstitute::log().live, 0, "every connection is released");
  checkEqual(SharePropsSubstitute::live(), 0, "every property manager is released");
  checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow answers S_OK once all is released");

  int created = ResLoaderSubstitute::log().created;
  {
    ResourceBill bill;
    if (bill.open()) raiseTranslatedMessage(bill);
  }
  checkEqual(ResLoaderSubstitute::log().created, created + 1,
             "the thread's next plug-in object gets a loader anew");
  checkEqual(ResLoaderSubstitute::log().live, 0, "and it goes with that object");

  CoFreeUnusedLibraries();
  check(!serverLoaded(), "CoFreeUnusedLibraries unloads the DLL");
}

void runUnloadChecks() {
  section("a host thread that creates, uses and releases a plug-in, then ends");
  ResourceBill bill;
  if (!bill.open()) return;
  raiseTranslatedMessage(bill);
  checkEqual(ResLoaderSubstitute::log().live, 1, "this thread has a loader of its own");
  bill.plugin.reset();
  checkEqual(ResLoaderSubstitute::log().live, 0,
             "released with the thread's plug-in, in its apartment");
  checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow answers S_OK");
}

void runLastChecks() {
  section("after the last host thread ended");
  checkEqual(ResLoaderSubstitute::log().live, 0, "every thread's resource loader was released");
  checkEqual(ResLoaderSubstitute::log().releasedOutsideApartment, 0,
             "no loader was released after its thread's apartment had ended");
  checkEqual(liveEventSources(), 0, "every event source is gone");
  check(!serverLoaded(), "the DLL is unloaded");
}

}  // namespace qx::testhost
