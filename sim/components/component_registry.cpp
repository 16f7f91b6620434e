#include "sim/components/component_registry.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "automation/arg.h"
#include "automation/text.h"

namespace qx::sim {

using automation::Error;

namespace {
#ifdef _WIN32
// The few loader calls used here, over the Windows loader.
constexpr int RTLD_NOW = 0, RTLD_LOCAL = 0;
void* dlopen(const char* file, int) {
  return reinterpret_cast<void*>(LoadLibraryA(file));
}
void* dlsym(void* h, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(h), name));
}
int dlclose(void* h) {
  return FreeLibrary(static_cast<HMODULE>(h)) ? 0 : -1;
}
std::string dlerror() {
  return "error " + std::to_string(GetLastError());
}
#endif

std::string hex(int32_t status) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(status));
  return buf;
}
}  // namespace

void ComponentRegistry::registerComponent(std::string_view progId, Factory factory) {
  components_[automation::asciiLower(progId)] = std::move(factory);
}

void ComponentRegistry::unregisterComponent(std::string_view progId) {
  components_.erase(automation::asciiLower(progId));
}

bool ComponentRegistry::hasComponent(std::string_view progId) const {
  return components_.count(automation::asciiLower(progId)) > 0;
}

std::vector<std::string> ComponentRegistry::componentIds() const {
  std::vector<std::string> ids;
  for (const auto& [id, factory] : components_) ids.push_back(id);
  return ids;
}

std::string ComponentRegistry::classIdOf(std::string_view progId) const {
  std::string id(progId);
  for (int hop = 0; hop < 4; ++hop) {
    std::string key = "HKEY_CLASSES_ROOT\\" + id;
    if (auto clsid = registry_.read(key + "\\CLSID", "")) return clsid->toString();
    auto cur = registry_.read(key + "\\CurVer", "");
    if (!cur) break;
    id = cur->toString();
  }
  return {};
}

ObjectRef ComponentRegistry::create(std::string_view progId) {
  auto cannot = [&](const std::string& why) {
    Error e = Error::cannotCreate(progId);
    return Error(e.number(), e.description() + (why.empty() ? "" : " (" + why + ")"), e.source());
  };
  faults_.check(progId, FaultInjector::kCreate);
  auto own = components_.find(automation::asciiLower(progId));
  if (own != components_.end()) return own->second();

  std::string clsid = classIdOf(progId);
  if (clsid.empty()) throw cannot("");
  auto path = registry_.read("HKEY_CLASSES_ROOT\\CLSID\\" + clsid + "\\InprocServer32", "");
  if (!path) throw cannot("class " + clsid + " has no in-process server");
  ObjectRef factory;
  try {
    factory = classFactory(path->toString(), clsid);
  } catch (const Error& e) {
    throw cannot(e.description());
  }
  automation::Variant obj = factory->call("CreateInstance");
  return obj.toObject();
}

const ComponentRegistry::Library& ComponentRegistry::load(const std::filesystem::path& library) {
  std::error_code ec;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(library, ec);
  std::string key = (ec ? library : canonical).string();
  auto it = libraries_.find(key);
  if (it != libraries_.end()) return it->second;
  void* h = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) throw Error(48, std::string("Error in loading DLL: ") + dlerror(), key);
  Library lib;
  lib.handle = h;
  lib.registerServer = reinterpret_cast<int32_t (*)()>(dlsym(h, "DllRegisterServer"));
  lib.unregisterServer = reinterpret_cast<int32_t (*)()>(dlsym(h, "DllUnregisterServer"));
  lib.getClassObject = reinterpret_cast<int32_t (*)(const char*, automation::Object**)>(
      dlsym(h, "DllGetClassObject"));
  lib.canUnloadNow = reinterpret_cast<int32_t (*)()>(dlsym(h, "DllCanUnloadNow"));
  if (!lib.registerServer || !lib.unregisterServer || !lib.getClassObject || !lib.canUnloadNow) {
    dlclose(h);
    throw Error(453, "The library does not export the four server entry points", key);
  }
  // Kept loaded for the life of the host, as component runtimes keep in-process servers.
  return libraries_.emplace(key, lib).first->second;
}

int32_t ComponentRegistry::registerServer(const std::filesystem::path& library) {
  return load(library).registerServer();
}

int32_t ComponentRegistry::unregisterServer(const std::filesystem::path& library) {
  return load(library).unregisterServer();
}

int32_t ComponentRegistry::canUnloadNow(const std::filesystem::path& library) {
  return load(library).canUnloadNow();
}

ObjectRef ComponentRegistry::classFactory(const std::filesystem::path& library,
                                          std::string_view classId) {
  const Library& lib = load(library);
  automation::Object* raw = nullptr;
  int32_t hr = lib.getClassObject(std::string(classId).c_str(), &raw);
  ObjectRef factory;
  if (raw) {
    factory = ObjectRef(raw);
    raw->release();  // the entry point handed over one reference; the Ref now holds it
  }
  if (hr != 0 || !factory) {
    throw Error(hr, "DllGetClassObject failed with " + hex(hr) + " for " + std::string(classId),
                library.string());
  }
  return factory;
}

}  // namespace qx::sim
