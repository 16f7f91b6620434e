// The event contract as a sequence of host steps (see sim/bills/protocol_player.h): events with
// arguments of any type, Init again or with Nothing, releases, failing host calls, events raised
// from inside dialogs. Whatever the sequence: no crash, a failure that reaches the host is an
// automation error with its number, a step not carried out as a save or delete leaves the
// database as it was, and every object is released at the end.
#include <unistd.h>

#include <filesystem>

#include "fuzz_support.h"
#include "sim/bills/protocol_player.h"
#include "tests/sweep/sweep_world.h"

namespace {

using qx::automation::Object;
using qx::automation::ObjectRef;

// The sample database and settings every input starts from, made once, removed at exit.
struct TemplateDir {
  std::filesystem::path dir;
  TemplateDir() {
    std::filesystem::path base = "/dev/shm";  // runs copy files: in memory when offered
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
    dir = base / ("qx_fuzz_protocol_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    qx::sim::HostOptions o = qx::sim::HostOptions::fromEnvironment();
    o.home = dir / "template";
    o.database.clear();
    {
      qx::sim::SimHost host(o);
      host.database().open();
      host.registry().write(qx::scheduler::settingsKeyPath(0), "ShowAbility",
                            qx::automation::Variant(true));
    }
    qx::services::releaseModuleState();
  }
  ~TemplateDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

const std::filesystem::path& templateDir() {
  static const TemplateDir t;
  return t.dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& dir = templateDir();
  const int64_t live = Object::liveObjects();
  std::vector<qx::sim::ProtocolStep> steps = qx::sim::decodeSteps({data, size}, 48);
  {
    qx::sweep::World w(dir / "run", dir / "template" / "sample.db",
                       dir / "template" / "registry.txt");
    qx::sim::ProtocolPlayer p(w.host(),
                              [] { return ObjectRef(qx::widgets::LedgerData::create()); });
    p.open(5001);
    for (const qx::sim::ProtocolStep& s : steps) {
      qx::sim::ProtocolResult r = p.play(s);
      QX_FUZZ_CHECK(!r.failure || r.failure->number() != 0,
                    qx::sim::describeStep(s) + ": " + r.failure->description());
      for (const qx::automation::Error& e : r.nested) {
        QX_FUZZ_CHECK(e.number() != 0, qx::sim::describeStep(s) + ": " + e.description());
      }
      QX_FUZZ_CHECK(r.wrote || !r.databaseChanged,
                    qx::sim::describeStep(s) + " changed the database");
    }
    p.close();
  }
  qx::services::releaseModuleState();
  QX_FUZZ_CHECK(Object::liveObjects() == live,
                std::to_string(Object::liveObjects() - live) + " objects not released");
  return 0;
}
