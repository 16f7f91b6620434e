// Init by name, by dispatch id and through the vtable; re-Init switches the subscription; the
// type check refuses the other bill's source.
#include "QxIndDepComponent.h"
#include "win32/testhost/check.h"
#include "win32/testhost/event_source.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

void initByNameSubscribes() {
  ComPtr<MasterDataSource> src = makeMasterDataSource();
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  if (!check(res && src, "EIResource and a MasterDataEvents source")) return;
  CallOutcome r = initByName(res.get(), argDispatch(static_cast<_MasterDataEvents*>(src.get())));
  checkStatus(r.hr, S_OK, "Init by name");
  checkEqual(static_cast<long long>(src->sinkCount()), 1, "one sink advised after Init by name");
  check(src->refs() > 1, "the plug-in holds the source");
  res.reset();
  checkEqual(static_cast<long long>(src->sinkCount()), 0, "the sink is unadvised on release");
  checkEqual(static_cast<long long>(src->refs()), 1, "release leaves no reference on the source");
}

void initByIdWithVariableSubscribes() {
  ComPtr<MasterDataSource> src = makeMasterDataSource();
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  if (!res) return;
  // A variable of the caller's, passed by reference as a scripting client does.
  VariantOwner var;
  V_VT(var.get()) = VT_DISPATCH;
  V_DISPATCH(var.get()) = static_cast<_MasterDataEvents*>(src.get());
  src->AddRef();
  CallOutcome r = invoke(res.get(), kInitId, DISPATCH_METHOD, {refVariant(*var.get())});
  checkStatus(r.hr, S_OK, "Init by dispatch id 0x60030000 with a by-reference variable");
  checkEqual(static_cast<long long>(src->sinkCount()), 1, "one sink advised after Init by id");
  check(V_VT(var.get()) == VT_DISPATCH &&
            V_DISPATCH(var.get()) == static_cast<_MasterDataEvents*>(src.get()),
        "the caller's variable is left as it was");
}

void initThroughVtableSubscribes() {
  ComPtr<MasterDataSource> src = makeMasterDataSource();
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  ComPtr<_EIResource> typed = res.as<_EIResource>(IID__EIResource);
  if (!check(static_cast<bool>(typed), "the _EIResource interface")) return;
  checkStatus(typed->Init(static_cast<_MasterDataEvents*>(src.get())), S_OK,
              "Init through the vtable");
  checkEqual(static_cast<long long>(src->sinkCount()), 1, "one sink advised after vtable Init");
  checkStatus(typed->Init(nullptr), S_OK, "vtable Init with no object");
  checkEqual(static_cast<long long>(src->sinkCount()), 0, "Init with no object unsubscribes");
}

void reInitSwitches() {
  ComPtr<MasterDataSource> first = makeMasterDataSource();
  ComPtr<MasterDataSource> second = makeMasterDataSource();
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  if (!res) return;
  initByName(res.get(), argDispatch(static_cast<_MasterDataEvents*>(first.get())));
  CallOutcome r = initByName(res.get(), argDispatch(static_cast<_MasterDataEvents*>(second.get())));
  checkStatus(r.hr, S_OK, "second Init");
  checkEqual(static_cast<long long>(first->sinkCount()), 0, "re-Init ends the first subscription");
  checkEqual(static_cast<long long>(second->sinkCount()), 1, "re-Init subscribes to the second");
  checkEqual(static_cast<long long>(first->refs()), 1, "the first source is released");
  r = initByName(res.get(), nothing());
  checkStatus(r.hr, S_OK, "Init with Nothing");
  checkEqual(static_cast<long long>(second->sinkCount()), 0, "Init with Nothing unsubscribes");
  checkEqual(static_cast<long long>(second->refs()), 1, "Init with Nothing releases the source");
}

void wrongSourceIsTypeMismatch() {
  ComPtr<MasterDataSource> master = makeMasterDataSource();
  ComPtr<BillSource> bill = makeBillSource();
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  ComPtr<IDispatch> sched = createByProgId(kSchedulerProgId);
  if (!res || !sched) return;

  CallOutcome r = initByName(res.get(), argDispatch(static_cast<_BillEvents*>(bill.get())));
  checkEqual(r.number(), 13, "EIResource.Init with a BillEvents source is a type mismatch");
  check(r.description.find("MasterDataEvents") != std::string::npos,
        "the description names the expected interface: " + r.description);
  checkEqual(r.source, "EIResource", "the error's source");
  checkEqual(static_cast<long long>(bill->sinkCount()), 0,
             "nothing is advised on the wrong source");
  checkEqual(static_cast<long long>(bill->refs()), 1, "the wrong source is not kept");

  r = initByName(sched.get(), argDispatch(static_cast<_MasterDataEvents*>(master.get())));
  checkEqual(r.number(), 13,
             "EIRepScheduler.Init with a MasterDataEvents source is a type mismatch");
  checkEqual(static_cast<long long>(master->sinkCount()), 0, "nothing is advised on it");

  ComPtr<_EIResource> typed = res.as<_EIResource>(IID__EIResource);
  HRESULT hr = typed->Init(static_cast<_BillEvents*>(bill.get()));
  checkStatus(hr, static_cast<long>(0x800A000D), "vtable Init with the wrong source fails with 13");
  ComPtr<IErrorInfo> info;
  std::string description;
  if (GetErrorInfo(0, info.put()) == S_OK && info) {
    Bstr text;
    info->GetDescription(text.put());
    description = text.utf8();
  }
  check(description.find("MasterDataEvents") != std::string::npos,
        "the error information describes it: " + description);
}

// The schedule plug-in goes on after subscribing: it asks the source for the bill's form by
// the operation's position. This host has no schedule form, so Init fails with the host's error
// and the subscription made before stays.
void schedulerInitAsksForTheForm() {
  ComPtr<BillSource> bill = makeBillSource();
  ComPtr<IDispatch> sched = createByProgId(kSchedulerProgId);
  if (!sched) return;
  CallOutcome r = initByName(sched.get(), argDispatch(static_cast<_BillEvents*>(bill.get())));
  check(FAILED(r.hr), "EIRepScheduler.Init fails without a schedule form");
  check(r.description.find("the test host has no schedule form") != std::string::npos,
        "the host's own error reaches the caller: " + r.description);
  checkEqual(static_cast<long long>(bill->sinkCount()), 1, "what was bound before stays bound");
  sched.reset();
  checkEqual(static_cast<long long>(bill->sinkCount()), 0, "release ends the subscription");
  checkEqual(static_cast<long long>(bill->refs()), 1, "and leaves no reference on the source");
}

}  // namespace

void runInitTests() {
  section("Init and the subscription");
  initByNameSubscribes();
  initByIdWithVariableSubscribes();
  initThroughVtableSubscribes();
  reInitSwitches();
  wrongSourceIsTypeMismatch();
  schedulerInitAsksForTheForm();
}

}  // namespace qx::testhost
