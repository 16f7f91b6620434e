// The workbench as a host that is not kind: `protocol` plays the event contract on a schedule
// bill and a resource bill of their own (every event with arguments of any type, Init again or
// with Nothing, releases, failing host calls, events from inside dialogs) and prints what each
// step returned. Given hex bytes it plays them as the protocol fuzz target decodes them, so an
// input the fuzzer kept is replayed step by step.
#include <ostream>

#include "host/prog_ids.h"
#include "sim/bills/protocol_player.h"
#include "tools/qxhost/workbench.h"
#include "widgets/ledger_data.h"

namespace qx::qxhost {

namespace {

std::vector<uint8_t> hexBytes(const std::string& text) {
  auto digit = [&](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw UsageError{"not hex digits: " + text};
  };
  if (text.size() % 2 != 0) throw UsageError{"an odd number of hex digits: " + text};
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < text.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
  }
  return bytes;
}

void cmdProtocol(Workbench& w, const Line& l) {
  expectWords(l, 2, 3);
  auto workOrder = wholeNumber(l.words[1]);
  if (!workOrder) throw UsageError{"not a work order: " + l.words[1]};
  std::vector<sim::ProtocolStep> steps =
      l.size() > 2 ? sim::decodeSteps(hexBytes(l.words[2]), 4096) : sim::contractSteps();
  for (auto id : {host::prog_id::kEIRepScheduler, host::prog_id::kEIResource}) {
    if (w.host().components().classIdOf(id).empty()) {
      w.host().components().registerServer(sim::SimHost::defaultComponentLibrary());
    }
  }
  sim::ProtocolPlayer player(w.host(),
                             [] { return automation::ObjectRef(widgets::LedgerData::create()); });
  player.open(*workOrder);
  size_t errors = 0, writes = 0;
  for (const sim::ProtocolStep& s : steps) {
    sim::ProtocolResult r = player.play(s);
    w.out() << "  " << sim::describeStep(s) << ":" << (r.cancel ? " bCancel = True" : "")
            << (r.databaseChanged ? " (database changed)" : "");
    if (r.failure) {
      ++errors;
      w.out() << " ";
      w.printError(*r.failure);
    } else {
      w.out() << "\n";
    }
    for (const automation::Error& e : r.nested) {
      w.out() << "    raised inside a dialog: ";
      w.printError(e);
    }
    if (r.databaseChanged) ++writes;
  }
  player.close();
  w.out() << steps.size() << " steps, " << errors << " returned an error, " << writes
          << " changed the database\n";
}

}  // namespace

void addProtocolCommands(Workbench& w) {
  w.addCommand({"protocol", "<work order> [hex steps]",
                "plays the event contract as an unkind host: every event with odd arguments, "
                "Init again or with Nothing, releases, events raised inside dialogs",
                cmdProtocol, "protocol 5001\nprotocol 5001 0a00020108021b07"});
}

}  // namespace qx::qxhost
