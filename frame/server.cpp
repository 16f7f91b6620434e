#include "frame/server.h"

#include <new>

#include "automation/steps.h"
#include "frame/module.h"
#include "host/platform.h"
#include "host/prog_ids.h"
#include "resource/ei_resource.h"
#include "scheduler/ei_rep_scheduler.h"

namespace qx::frame {

using automation::Args;
using automation::Error;
using automation::Member;
using automation::Variant;

namespace {

ObjectRef createResource() {
  return ObjectRef(resource::EIResource::create());
}
ObjectRef createScheduler() {
  return ObjectRef(scheduler::EIRepScheduler::create());
}

constexpr ComponentClass kClasses[] = {
    {"EIResource", host::prog_id::kEIResource, "{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F011}",
     "{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F010}", &createResource},
    {"EIRepScheduler", host::prog_id::kEIRepScheduler, "{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F021}",
     "{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F020}", &createScheduler},
};

constexpr std::string_view kRoot = "HKEY_CLASSES_ROOT\\";

std::string classKey(const ComponentClass& c) {
  return std::string(kRoot) + "CLSID\\" + std::string(c.classId);
}
std::string progIdKey(std::string_view progId) {
  return std::string(kRoot) + std::string(progId);
}

void write(const ObjectRef& reg, const std::string& path, std::string_view name,
           std::string_view value) {
  reg->call("WriteValue", path, name, value);
}

}  // namespace

std::span<const ComponentClass> componentClasses() {
  return kClasses;
}

const ComponentClass* findClass(std::string_view classId) noexcept {
  for (const ComponentClass& c : kClasses) {
    if (automation::equalsIgnoreCase(c.classId, classId)) return &c;
  }
  return nullptr;
}

std::span<const Member<ClassFactory>> ClassFactory::members() {
  static const Member<ClassFactory> m[] = {
      {"CreateInstance", 1, &ClassFactory::mCreateInstance},
      {"LockServer", 2, &ClassFactory::mLockServer},
  };
  return m;
}

Variant ClassFactory::mCreateInstance(Args a) {
  // An outer object asks for aggregation, which these classes do not support.
  if (!a.empty() && !a[0].get().isNothing()) {
    throw Error(status::kNoAggregation, "Class does not support aggregation", typeName());
  }
  return Variant(createInstance());
}

Variant ClassFactory::mLockServer(Args a) {
  automation::requireArgs(a, 1, "LockServer");
  lockServer(a[0].get().toBool());
  return Variant();
}

int32_t registerServer(std::string_view libraryPath) noexcept {
  try {
    ObjectRef reg = host::platform().createRegHelper();
    std::string lib = std::string(kRoot) + "TypeLib\\" + std::string(kLibraryId) + "\\" +
                      std::string(kLibraryVersion);
    write(reg, lib, "", kLibraryName);
    write(reg, lib + "\\0\\" + std::string(kLibraryPlatform), "", libraryPath);
    for (const ComponentClass& c : kClasses) {
      std::string versioned = std::string(c.progId) + ".1";
      std::string key = classKey(c);
      write(reg, key, "", c.progId);
      write(reg, key + "\\InprocServer32", "", libraryPath);
      write(reg, key + "\\InprocServer32", "ThreadingModel", "Apartment");
      write(reg, key + "\\ProgID", "", versioned);
      write(reg, key + "\\VersionIndependentProgID", "", c.progId);
      write(reg, key + "\\TypeLib", "", kLibraryId);
      write(reg, progIdKey(c.progId), "", c.progId);
      write(reg, progIdKey(c.progId) + "\\CLSID", "", c.classId);
      write(reg, progIdKey(c.progId) + "\\CurVer", "", versioned);
      write(reg, progIdKey(versioned), "", c.progId);
      write(reg, progIdKey(versioned) + "\\CLSID", "", c.classId);
    }
    return status::kOk;
  } catch (...) {
    return status::kRegistrationFailed;
  }
}

int32_t unregisterServer() noexcept {
  try {
    ObjectRef reg = host::platform().createRegHelper();
    // Every key is attempted; the first failure decides the status.
    automation::Steps steps;
    for (const ComponentClass& c : kClasses) {
      std::string versioned = std::string(c.progId) + ".1";
      steps.run([&] { reg->call("DeleteKey", classKey(c)); });
      steps.run([&] { reg->call("DeleteKey", progIdKey(c.progId)); });
      steps.run([&] { reg->call("DeleteKey", progIdKey(versioned)); });
    }
    steps.run([&] {
      reg->call("DeleteKey", std::string(kRoot) + "TypeLib\\" + std::string(kLibraryId));
    });
    return steps.failed() ? status::kRegistrationFailed : status::kOk;
  } catch (...) {
    return status::kRegistrationFailed;
  }
}

int32_t getClassObject(std::string_view classId, ObjectRef* factory) noexcept {
  if (!factory) return status::kPointer;
  *factory = ObjectRef();
  const ComponentClass* c = findClass(classId);
  if (!c) return status::kClassNotAvailable;
  try {
    *factory = ObjectRef(automation::makeObject<ClassFactory>(*c));
    return status::kOk;
  } catch (const std::bad_alloc&) {
    return status::kOutOfMemory;
  } catch (...) {
    return status::kUnexpected;
  }
}

int32_t canUnloadNow() noexcept {
  return liveComponentObjects() == 0 && serverLocks() == 0 ? status::kOk : status::kFalse;
}

}  // namespace qx::frame
