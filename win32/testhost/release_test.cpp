// The end of a session: a plug-in that handled events is released, no reference is left
// behind, and the server answers that it may be unloaded, and is.
#include "win32/testhost/check.h"
#include "win32/testhost/resource_bill.h"
#include "win32/testhost/substitutes.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

void runReleaseTests() {
  section("release and unload");
  {
    ResourceBill bill;
    if (bill.open()) {
      Bstr caption("x");
      VARIANT_BOOL cancel = VARIANT_FALSE;
      bill.raise(master_event::kOnGetECaption, {refBstr(caption), refBool(cancel)});
      Bstr msg;
      bill.raise(master_event::kOnCheckCanDel, {argLong(7), refBstr(msg), refBool(cancel)});
      ComPtr<IDispatch> sched = createByProgId(kSchedulerProgId);
      check(static_cast<bool>(sched), "a schedule plug-in alive at the same time");
      checkStatus(serverCanUnloadNow(), S_FALSE, "the server is busy while plug-ins live");
      bill.plugin.reset();
      checkEqual(static_cast<long long>(bill.source->sinkCount()), 0, "release unadvises the sink");
      checkEqual(static_cast<long long>(bill.source->refs()), 1,
                 "release leaves no reference on the event source");
    }
  }
  checkEqual(liveEventSources(), 0, "every event source is gone");
  checkEqual(ConnectionSubstitute::log().live, 0, "every connection is released");
  checkEqual(SharePropsSubstitute::live(), 0, "every property manager is released");
  checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow answers S_OK once all is released");
}

void runUnloadChecks() {
  section("after the host's thread ended");
  // The resource loader is kept per thread and released when that thread ends.
  checkEqual(ResLoaderSubstitute::log().live, 0, "the ended thread's resource loader was released");
  checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow still answers S_OK");
  // Another host thread works with a module state of its own.
  ResourceBill bill;
  if (!bill.open()) return;
  Bstr msg("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  CallOutcome r =
      bill.raise(master_event::kOnCheckCanDel, {argLong(9), refBstr(msg), refBool(cancel)});
  checkStatus(r.hr, S_OK, "a second host thread raises an event");
  checkEqual(msg.utf8(),
             translatedText("有生产线和物料对应关系引用该资源，不能删除.") + "\r\n" +
                 translatedText("但你可以禁用该资源。"),
             "the second thread's texts are translated");
  checkEqual(ResLoaderSubstitute::log().live, 1, "the second thread has a loader of its own");
}

void runLastChecks() {
  section("after the last host thread ended");
  checkEqual(ResLoaderSubstitute::log().live, 0, "every thread's resource loader was released");
  checkEqual(liveEventSources(), 0, "every event source is gone");
  checkStatus(serverCanUnloadNow(), S_OK, "DllCanUnloadNow answers S_OK at the end");
}

}  // namespace qx::testhost
