#include "automation/object.h"

#include <memory>

#include "automation/arg.h"

namespace qx::automation {

namespace {
std::atomic<int64_t> g_live{0};
std::shared_ptr<const CallHook> g_hook;  // swapped whole
std::atomic<bool> g_hookSet{false};      // read on every call: the hook is rarely installed
}  // namespace

const char* callKindName(CallKind kind) noexcept {
  switch (kind) {
    case CallKind::Method:
      return "method";
    case CallKind::Get:
      return "get";
    case CallKind::Put:
      return "put";
    case CallKind::PutRef:
      return "put reference";
  }
  return "?";
}

Object::Object() noexcept {
  ++g_live;
}
Object::~Object() {
  --g_live;
}

uint32_t Object::release() noexcept {
  uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

std::string Object::nameOf(DispId) const {
  return {};
}
std::string Object::typeName() const {
  return "Object";
}
bool Object::supports(std::string_view) const {
  return false;
}

uint32_t Object::advise(std::string_view interfaceName, const ObjectRef&) {
  throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
}

void Object::unadvise(uint32_t) {
  throw Error::notImplemented("unadvise", typeName());
}

Variant Object::invoke(DispId id, CallKind kind, Args args) {
  if (g_hookSet.load(std::memory_order_acquire)) {
    if (auto hook = std::atomic_load(&g_hook)) (*hook)(*this, id, kind);
  }
  ObjectRef keep(this);  // a callee that drops the last outside reference must not vanish mid-call
  return dispatch(id, kind, args);
}

int64_t Object::liveObjects() noexcept {
  return g_live.load();
}

void Object::setCallHook(CallHook hook) {
  std::shared_ptr<const CallHook> p;
  if (hook) p = std::make_shared<const CallHook>(std::move(hook));
  bool set = static_cast<bool>(p);
  if (!set) g_hookSet.store(false, std::memory_order_release);
  std::atomic_store(&g_hook, std::move(p));
  if (set) g_hookSet.store(true, std::memory_order_release);
}

const Variant& argAt(Args args, size_t index, std::string_view member) {
  if (index >= args.size()) {
    throw Error::argumentNotOptional(std::string(member) + " argument " +
                                     std::to_string(index + 1));
  }
  return args[index].get();
}

Variant argOr(Args args, size_t index, Variant fallback) {
  if (index >= args.size() || args[index].get().isEmpty()) return fallback;
  return args[index].get();
}

void requireArgs(Args args, size_t n, std::string_view member) {
  if (args.size() != n) throw Error::wrongArgumentCount(member);
}

}  // namespace qx::automation
