// The four server entry points of the shared library, as the substitute host calls them: the
// class id as text, the factory handed out as an owned automation object reference.
#include <dlfcn.h>

#include "frame/server.h"

namespace {
std::string ownPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ownPath), &info) && info.dli_fname) return info.dli_fname;
  return {};
}
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t DllRegisterServer() {
  std::string path = ownPath();
  if (path.empty()) return qx::frame::status::kRegistrationFailed;
  return qx::frame::registerServer(path);
}

__attribute__((visibility("default"))) int32_t DllUnregisterServer() {
  return qx::frame::unregisterServer();
}

// On success *factory holds one reference that the caller releases.
__attribute__((visibility("default"))) int32_t DllGetClassObject(const char* classId,
                                                                 qx::automation::Object** factory) {
  if (!factory) return qx::frame::status::kPointer;
  *factory = nullptr;
  if (!classId) return qx::frame::status::kInvalidArg;
  qx::automation::ObjectRef f;
  int32_t hr = qx::frame::getClassObject(classId, &f);
  *factory = f.detach();
  return hr;
}

__attribute__((visibility("default"))) int32_t DllCanUnloadNow() {
  return qx::frame::canUnloadNow();
}
}
