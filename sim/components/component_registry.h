// Object creation by programmatic identifier, as the host's object runtime does it: the
// substitute host's own components first, then the registry (identifier → class id → the
// in-process server library) → the library's class factory → the object.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "automation/object.h"
#include "sim/platform/fault_injector.h"
#include "sim/platform/registry_file.h"

namespace qx::sim {

using automation::ObjectRef;

class ComponentRegistry {
 public:
  using Factory = std::function<ObjectRef()>;

  ComponentRegistry(RegistryFile& registry, FaultInjector& faults)
      : registry_(registry), faults_(faults) {}
  ComponentRegistry(const ComponentRegistry&) = delete;
  ComponentRegistry& operator=(const ComponentRegistry&) = delete;

  // A component of the substitute host itself, answered before the registry.
  void registerComponent(std::string_view progId, Factory factory);
  void unregisterComponent(std::string_view progId);
  bool hasComponent(std::string_view progId) const;
  // The identifiers of the substitute host's own components (in lower case).
  std::vector<std::string> componentIds() const;

  // Fails with 429 naming the identifier, with the reason after it.
  ObjectRef create(std::string_view progId);

  // The server entry points of a library (loaded on first use, kept loaded).
  int32_t registerServer(const std::filesystem::path& library);
  int32_t unregisterServer(const std::filesystem::path& library);
  int32_t canUnloadNow(const std::filesystem::path& library);
  ObjectRef classFactory(const std::filesystem::path& library, std::string_view classId);

  // The class id registered for an identifier (following CurVer), or empty.
  std::string classIdOf(std::string_view progId) const;

 private:
  struct Library {
    void* handle = nullptr;
    int32_t (*registerServer)() = nullptr;
    int32_t (*unregisterServer)() = nullptr;
    int32_t (*getClassObject)(const char*, automation::Object**) = nullptr;
    int32_t (*canUnloadNow)() = nullptr;
  };
  const Library& load(const std::filesystem::path& library);

  RegistryFile& registry_;
  FaultInjector& faults_;
  std::map<std::string, Factory> components_;  // by lower-case identifier
  std::map<std::string, Library> libraries_;   // by canonical path
};

}  // namespace qx::sim
