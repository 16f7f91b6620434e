// The late-binding object model: reference-counted objects called by name or dispatch id.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "automation/ref.h"

namespace qx::automation {

class Variant;
class Arg;
class Object;

using ObjectRef = Ref<Object>;
using DispId = int32_t;
// The default member (what a call on the object itself reaches).
inline constexpr DispId kDispIdValue = 0;
using Args = std::span<Arg>;

enum class CallKind : uint8_t { Method = 1, Get = 2, Put = 4, PutRef = 8 };

const char* callKindName(CallKind kind) noexcept;

// Called before every dispatched call while installed (fault injection of the substitute host).
using CallHook = std::function<void(Object& target, DispId id, CallKind kind)>;

class Object {
 public:
  Object() noexcept;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;
  virtual ~Object();

  uint32_t addRef() noexcept { return ++refs_; }
  uint32_t release() noexcept;
  uint32_t refCount() const noexcept { return refs_; }

  // Member name to dispatch id, ignoring letter case; fails with 438 when unknown.
  virtual DispId idOf(std::string_view name) const = 0;
  // Member name for messages; empty when unknown.
  virtual std::string nameOf(DispId id) const;
  // The type name shown as the source of failures.
  virtual std::string typeName() const;
  // Whether the object implements a host interface (the type check of Init).
  virtual bool supports(std::string_view interfaceName) const;

  // Event sources: a sink receives events as method calls by dispatch id.
  virtual uint32_t advise(std::string_view interfaceName, const ObjectRef& sink);
  virtual void unadvise(uint32_t cookie);

  // The one entry point of every call.
  Variant invoke(DispId id, CallKind kind, Args args);

  template <class... A>
  Variant call(std::string_view name, A&&... args);
  template <class... A>
  Variant get(std::string_view name, A&&... args);
  // The last argument is the value; those before it are indexes.
  template <class... A>
  void put(std::string_view name, A&&... args);
  template <class... A>
  void putRef(std::string_view name, A&&... args);
  template <class... A>
  Variant callId(DispId id, CallKind kind, A&&... args);

  static int64_t liveObjects() noexcept;
  static void setCallHook(CallHook hook);

 protected:
  virtual Variant dispatch(DispId id, CallKind kind, Args args) = 0;

 private:
  std::atomic<uint32_t> refs_{0};
};

}  // namespace qx::automation
