// The substitute host: one object that owns the registry, the component runtime, the platform
// and the substitute components, and installs its platform for the component while it lives.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "sim/components/account/access_rights.h"
#include "sim/components/account/login.h"
#include "sim/components/component_registry.h"
#include "sim/components/reports/report_shelf.h"
#include "sim/db/database.h"
#include "sim/platform/dialog_answers.h"
#include "sim/platform/fault_injector.h"
#include "sim/platform/registry_file.h"
#include "sim/platform/sim_platform.h"

namespace qx::sim {

struct HostOptions {
  // Where the registry file and the sample database live.
  std::filesystem::path home;
  // The database the connection component opens; empty: <home>/sample.db, created from the
  // schema and seed scripts on first use.
  std::filesystem::path database;
  // The schema and seed scripts and the translation files.
  std::filesystem::path dataDir;
  // The login the host starts with (the shared-property manager hands it out).
  Login login;
  // The host's current date, "yyyy-mm-dd"; empty: the machine's date on each use.
  std::string today;

  // QX_HOME (default $HOME/.qxhost), QX_DATABASE, QX_DATA_DIR (default the sources' sim/data),
  // QX_HOST_DATE.
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
  // The login, the rights table and the database behind the substitute components.
  Login& login() noexcept { return *login_; }
  AccessRights& rights() noexcept { return *rights_; }
  Database& database() noexcept { return *database_; }
  std::shared_ptr<Login> loginShared() const noexcept { return login_; }
  std::shared_ptr<AccessRights> rightsShared() const noexcept { return rights_; }
  std::shared_ptr<Database> databaseShared() const noexcept { return database_; }
  // The answers to the host's dialogs, and the reports its viewer has shown.
  ScriptedDialogAnswers& dialogs() noexcept { return *dialogs_; }
  std::shared_ptr<ScriptedDialogAnswers> dialogsShared() const noexcept { return dialogs_; }
  ReportShelf& reports() noexcept { return *reports_; }
  std::shared_ptr<ReportShelf> reportsShared() const noexcept { return reports_; }

  // The component library built with this host (QX_COMPONENT_LIBRARY overrides it).
  static std::filesystem::path defaultComponentLibrary();

 private:
  HostOptions options_;
  RegistryFile registry_;
  FaultInjector faults_;
  ComponentRegistry components_;
  SimPlatform platform_;
  host::ScopedPlatform installed_;
  // Shared with the components created from them, which may outlive a scenario's step.
  std::shared_ptr<Login> login_;
  std::shared_ptr<AccessRights> rights_;
  std::shared_ptr<Database> database_;
  // The capacity loader's dialogs take their answers from the platform's one queue.
  std::shared_ptr<ScriptedDialogAnswers> dialogs_ =
      std::make_shared<ScriptedDialogAnswers>(platform_.dialogsShared());
  std::shared_ptr<ReportShelf> reports_ = std::make_shared<ReportShelf>();
};

// Registers the substitute host's own components by identifier (one function per area).
void registerSubstitutes(SimHost& host);

}  // namespace qx::sim
