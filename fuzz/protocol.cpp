// The event contract as a sequence of host steps (sim/bills/protocol_player.h): events with
// arguments of any type, Init again or with Nothing, releases, failing host calls, events raised
// inside dialogs. Whatever the sequence: no crash, a failure reaching the host is an automation
// error with its number, a step not carried out as a save or delete leaves the database as it
// was, and every object is released at the end.
#include <unistd.h>

#include "fuzz_support.h"
#include "sim/bills/protocol_player.h"
#include "tests/sweep/sweep_world.h"

namespace {

// The sample database every input starts from, made once (in memory when the machine offers it).
struct TemplateHome {
  std::filesystem::path dir = std::filesystem::path(std::filesystem::is_directory("/dev/shm")
                                                        ? "/dev/shm"
                                                        : std::filesystem::temp_directory_path()) /
                              ("qx_fuzz_protocol_" + std::to_string(::getpid()));
  TemplateHome() {
    qx::sweep::makeTemplate(dir / "template", "ShowAbility", qx::automation::Variant(true));
  }
  ~TemplateHome() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TemplateHome home;
  const int64_t live = qx::automation::Object::liveObjects();
  {
    qx::sweep::World w(home.dir / "run", home.dir / "template" / "sample.db",
                       home.dir / "template" / "registry.txt");
    qx::sim::ProtocolPlayer p(
        w.host(), [] { return qx::automation::ObjectRef(qx::widgets::LedgerData::create()); });
    p.open(5001);
    for (const qx::sim::ProtocolStep& s : qx::sim::decodeSteps({data, size}, 48)) {
      qx::sim::ProtocolResult r = p.play(s);
      std::string step = qx::sim::describeStep(s);
      QX_FUZZ_CHECK(!r.failure || r.failure->number() != 0, step + ": " + r.failure->description());
      for (const auto& e : r.nested) QX_FUZZ_CHECK(e.number() != 0, step + ": " + e.description());
      QX_FUZZ_CHECK(r.wrote || !r.databaseChanged, step + " changed the database");
    }
    p.close();
  }
  qx::services::releaseModuleState();
  QX_FUZZ_CHECK(qx::automation::Object::liveObjects() == live, "objects not released");
  return 0;
}
