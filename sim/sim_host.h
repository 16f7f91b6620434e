// The substitute host: one object that owns the registry, the component runtime, the platform
// and the substitute components, and installs its platform for the component while it lives.
#pragma once

#include <filesystem>
#include <memory>

#include "sim/component_registry.h"
#include "sim/fault_injector.h"
#include "sim/registry_file.h"
#include "sim/sim_platform.h"

namespace qx::sim {

struct HostOptions {
  // Where the registry file and the sample database live.
  std::filesystem::path home;
  // The database the connection component opens; empty: <home>/sample.db, created from the
  // schema and seed scripts on first use.
  std::filesystem::path database;
  // The schema and seed scripts and the translation files.
  std::filesystem::path dataDir;

  // QX_HOME (default $HOME/.qxhost), QX_DATABASE, QX_DATA_DIR (default the sources' sim/data).
  static HostOptions fromEnvironment();
  std::filesystem::path registryFile() const { return home / "registry.txt"; }
  std::filesystem::path databaseFile() const {
    return database.empty() ? home / "sample.db" : database;
  }
};

class SimHost {
 public:
  explicit SimHost(HostOptions options);
  ~SimHost();
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  const HostOptions& options() const noexcept { return options_; }
  RegistryFile& registry() noexcept { return registry_; }
  FaultInjector& faults() noexcept { return faults_; }
  ComponentRegistry& components() noexcept { return components_; }
  SimPlatform& platform() noexcept { return platform_; }

  // The component library built with this host (QX_COMPONENT_LIBRARY overrides it).
  static std::filesystem::path defaultComponentLibrary();

 private:
  HostOptions options_;
  RegistryFile registry_;
  FaultInjector faults_;
  ComponentRegistry components_;
  SimPlatform platform_;
  host::ScopedPlatform installed_;
};

// Registers the substitute host's own components by identifier (one function per area).
void registerSubstitutes(SimHost& host);

}  // namespace qx::sim
