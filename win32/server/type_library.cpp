#include "win32/server/type_library.h"

#include "win32/server/server_module.h"

namespace qx::win32 {

HRESULT typeInfoOf(const IID& iid, ITypeInfo** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    std::wstring path = serverPath();
    ComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put());
    if (FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(iid, out);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace qx::win32
