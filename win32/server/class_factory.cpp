#include "win32/server/class_factory.h"

#include "frame/module.h"
#include "win32/com/com_error.h"
#include "win32/com/com_module.h"
#include "win32/server/plugin_object.h"

namespace qx::win32 {

namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(automation::Ref<frame::ClassFactory> factory) noexcept
      : factory_(std::move(factory)) {}
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.addRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG left = refs_.release();
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      ComPtr<IDispatch> object =
          makePluginObject(factory_->componentClass(), factory_->createInstance());
      return object->QueryInterface(iid, out);
    } catch (...) {
      return statusOf(automation::toError(std::current_exception()));
    }
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    frame::lockServer(lock != FALSE);
    return S_OK;
  }

 private:
  ~ClassFactory() = default;

  RefCount refs_;
  ComObjectCount count_;
  automation::Ref<frame::ClassFactory> factory_;
};

}  // namespace

ComPtr<IClassFactory> makeClassFactory(automation::Ref<frame::ClassFactory> factory) {
  return ComPtr<IClassFactory>::adopt(new ClassFactory(std::move(factory)));
}

}  // namespace qx::win32
