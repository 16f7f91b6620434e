#include "sim/sim_host.h"

#include <cstdlib>

#include "automation/error.h"
#include "sim/platform/host_date.h"

namespace qx::sim {

namespace {
std::filesystem::path envPath(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? std::filesystem::path(v) : std::filesystem::path();
}
}  // namespace

HostOptions HostOptions::fromEnvironment() {
  HostOptions o;
  o.home = envPath("QX_HOME");
  if (o.home.empty()) {
    std::filesystem::path h = envPath("HOME");
    o.home = (h.empty() ? std::filesystem::temp_directory_path() : h) / ".qxhost";
  }
  o.database = envPath("QX_DATABASE");
  o.dataDir = envPath("QX_DATA_DIR");
  if (o.dataDir.empty()) o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
  const char* today = std::getenv("QX_HOST_DATE");
  o.today = today ? today : "";
  return o;
}

std::filesystem::path SimHost::defaultComponentLibrary() {
  std::filesystem::path p = envPath("QX_COMPONENT_LIBRARY");
  return p.empty() ? std::filesystem::path(QX_DEFAULT_COMPONENT_LIBRARY) : p;
}

SimHost::SimHost(HostOptions options)
    : options_(std::move(options)),
      registry_(options_.home.empty() ? std::filesystem::path() : options_.registryFile()),
      components_(registry_, faults_),
      platform_(components_, registry_),
      installed_(platform_),
      login_(std::make_shared<Login>(options_.login)),
      rights_(std::make_shared<AccessRights>()),
      database_(std::make_shared<Database>(options_.databaseFile(), options_.dataDir,
                                           options_.database.empty())) {
  if (!options_.today.empty() && !isHostDate(options_.today)) {
    throw automation::Error::invalidProcedureCall(
        "the host's date \"" + options_.today + "\" is not a date written yyyy-mm-dd",
        "QX_HOST_DATE");
  }
  registerSubstitutes(*this);
}

SimHost::~SimHost() = default;

}  // namespace qx::sim
