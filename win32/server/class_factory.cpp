#include "win32/server/class_factory.h"

#include "frame/module.h"
#include "win32/com/class_object.h"
#include "win32/com/com_module.h"
#include "win32/server/plugin_object.h"

namespace qx::win32 {

namespace {

class ClassFactory final : public ClassObject {
 public:
  explicit ClassFactory(automation::Ref<frame::ClassFactory> factory) noexcept
      : factory_(std::move(factory)) {}

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    frame::lockServer(lock != FALSE);
    return S_OK;
  }

 private:
  ~ClassFactory() override = default;
  ComPtr<IDispatch> create() override {
    return makePluginObject(factory_->componentClass(), factory_->createInstance());
  }

  ComObjectCount count_;
  automation::Ref<frame::ClassFactory> factory_;
};

}  // namespace

ComPtr<IClassFactory> makeClassFactory(automation::Ref<frame::ClassFactory> factory) {
  return ComPtr<IClassFactory>::adopt(new ClassFactory(std::move(factory)));
}

}  // namespace qx::win32
