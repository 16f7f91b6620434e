// A host that is not kind: it plays the bill engines' side of the event contract step by step,
// in any order a real client may. The user's actions on both bills, events raised with
// arguments of any type (Empty, Null, Nothing, texts, huge numbers, objects of another kind),
// the plug-ins created, initialised (again, with nothing, with the other bill's source) and
// released, a host call that fails, and an event raised while a plug-in waits in a message box
// or dialog. Each step reports what reached the host. Steps are read from bytes, so a fuzzer and
// a sweep drive the same player.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "automation/error.h"
#include "sim/bills/master_data_bill.h"
#include "sim/bills/schedule_bill.h"
#include "sim/sim_host.h"

namespace qx::sim {

enum class ProtocolOp : uint8_t {
  // The schedule bill: the user's actions.
  Select,
  Key,
  Type,
  Save,
  Reload,
  Click,
  Resize,
  Drag,
  Answer,
  // The schedule bill's events raised as they are, with any arguments.
  RaiseBill,
  // The schedule plug-in's life.
  Attach,
  CreateOnly,
  InitHeld,
  InitAgain,
  InitNothing,
  InitWrong,
  Release,
  // The resource bill.
  ResAttach,
  ResInitNothing,
  ResInitWrong,
  ResRelease,
  ResColumns,
  ResComponent,
  ResCaption,
  ResSave,
  ResRemove,
  RaiseResource,
  // The host: the k-th host call from now fails (0: none, the calls are only counted); a step
  // raised from inside the next message box or dialog.
  Fault,
  Reenter,
  Count
};

struct ProtocolStep {
  ProtocolOp op = ProtocolOp::Select;
  uint8_t p[6] = {};  // the step's parameters, read by op
  // For Reenter: the step raised from inside the next message box or dialog.
  std::shared_ptr<ProtocolStep> inner;
};

// A step from its op, parameters and (for Reenter) the step raised inside the dialog.
ProtocolStep protocolStep(ProtocolOp op, std::initializer_list<uint8_t> params = {},
                          std::optional<ProtocolStep> inner = std::nullopt);
// The steps encoded in `bytes`, at most `maxSteps`; each takes one byte for its op and one per
// parameter (missing bytes read as 0).
std::vector<ProtocolStep> decodeSteps(std::span<const uint8_t> bytes, size_t maxSteps);
// Every event and operation of the contract, in an order that reaches the plug-ins' dialogs and
// refusals (on work order 5001's data): the user's actions, each event with arguments of its own
// kinds and with each odd value, both bills' buttons and checks, and the plug-ins' life changed
// from inside their dialogs and by the host.
std::vector<ProtocolStep> contractSteps();
// "select 3 10", "raise OnGridKeyDown (Null, Empty, \"abc\")", ...
std::string describeStep(const ProtocolStep& step);

struct ProtocolResult {
  std::optional<automation::Error> failure;  // what reached the host as the step's error
  bool cancel = false;                       // the event's bCancel after the plug-in
  bool wrote = false;  // the engine carried out a save or delete: the database may change
  bool databaseChanged = false;
  // Failures of steps raised from inside a dialog, each returned to that nested raise.
  std::vector<automation::Error> nested;
};

class ProtocolPlayer {
 public:
  // `newLedgerBinding` makes the schedule form's own ledger binding (the host's object).
  ProtocolPlayer(SimHost& host, std::function<automation::ObjectRef()> newLedgerBinding);
  ~ProtocolPlayer();
  ProtocolPlayer(const ProtocolPlayer&) = delete;
  ProtocolPlayer& operator=(const ProtocolPlayer&) = delete;

  // Opens the schedule bill of a work order (without a plug-in) and the resource bill.
  void open(int32_t workOrder);
  ProtocolResult play(const ProtocolStep& step);
  // Releases both bills and every plug-in.
  void close();

  ScheduleBill* schedule() noexcept { return schedule_.get(); }

 private:
  ProtocolResult playOne(const ProtocolStep& step);
  // A digest of the database file: equal digests, same data.
  size_t databaseDigest() const;
  ProtocolResult scheduleOutcome(ScheduleBill::Outcome o) const;
  ProtocolResult raiseBill(const ProtocolStep& step);
  ProtocolResult raiseResource(const ProtocolStep& step);
  ProtocolResult initPlugin(const automation::ObjectRef& plugin, const automation::Variant& source);

  SimHost& host_;
  std::function<automation::ObjectRef()> newLedgerBinding_;
  std::unique_ptr<ScheduleBill> schedule_;
  automation::Ref<MasterDataBill> resource_;
  automation::ObjectRef resourcePlugin_;
  automation::ObjectRef held_;  // a schedule plug-in created and not given to the bill
  std::shared_ptr<ProtocolStep> reentry_;
  std::vector<automation::Error> nested_;
  int depth_ = 0;
};

}  // namespace qx::sim
