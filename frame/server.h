// The platform-neutral part of the in-process server: the class table, the class factory,
// registration in the host's registry and the unload test. The exported entry points wrap
// these functions.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace qx::frame {

using automation::ObjectRef;

// Status codes of the server entry points (their COM values).
namespace status {
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kFalse = 1;
inline constexpr int32_t kClassNotAvailable = static_cast<int32_t>(0x80040111u);
inline constexpr int32_t kNoAggregation = static_cast<int32_t>(0x80040110u);
inline constexpr int32_t kRegistrationFailed = static_cast<int32_t>(0x80040201u);
inline constexpr int32_t kPointer = static_cast<int32_t>(0x80004003u);
inline constexpr int32_t kInvalidArg = static_cast<int32_t>(0x80070057u);
inline constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000Eu);
inline constexpr int32_t kUnexpected = static_cast<int32_t>(0x8000FFFFu);
}  // namespace status

struct ComponentClass {
  std::string_view name;     // "EIResource"
  std::string_view progId;   // "QxIndDepComponent.EIResource"
  std::string_view classId;  // "{...}"
  std::string_view interfaceId;
  ObjectRef (*create)();
};

inline constexpr std::string_view kLibraryName = "QxIndDepComponent";
inline constexpr std::string_view kLibraryId = "{6B1D3C52-7A0E-4F3B-9C1E-2D4A8E51F001}";
inline constexpr std::string_view kLibraryVersion = "1.0";
// The platform key under which the type library names its server file: the one of the Windows
// target built for; the other builds stand in for the hosts' 32-bit clients.
#if defined(_WIN64)
inline constexpr std::string_view kLibraryPlatform = "win64";
#else
inline constexpr std::string_view kLibraryPlatform = "win32";
#endif

std::span<const ComponentClass> componentClasses();
const ComponentClass* findClass(std::string_view classId) noexcept;

// The factory object handed out for a class: CreateInstance and LockServer.
class ClassFactory final : public automation::Dispatch<ClassFactory> {
 public:
  static constexpr std::string_view kTypeName = "ClassFactory";
  static std::span<const automation::Member<ClassFactory>> members();
  explicit ClassFactory(const ComponentClass& cls) : class_(cls) {}

  ObjectRef createInstance() const { return class_.create(); }
  const ComponentClass& componentClass() const noexcept { return class_; }

 private:
  automation::Variant mCreateInstance(automation::Args a);
  automation::Variant mLockServer(automation::Args a);
  const ComponentClass& class_;
};

// Entry-point bodies. Registration writes through the host's RegHelper (Platform); failures
// become status codes here, nothing is thrown.
int32_t registerServer(std::string_view libraryPath) noexcept;
int32_t unregisterServer() noexcept;
int32_t getClassObject(std::string_view classId, ObjectRef* factory) noexcept;
int32_t canUnloadNow() noexcept;

}  // namespace qx::frame
