// The class objects the test host registers for the host components it plays: each
// CreateInstance makes one automation object and hands it out through our IDispatch adapter.
#pragma once

#include <ole2.h>

#include <functional>
#include <string>
#include <vector>

#include "automation/object.h"
#include "win32/com/com_ptr.h"

namespace qx::testhost {

using MakeObject = std::function<automation::ObjectRef()>;

win32::ComPtr<IClassFactory> makeObjectFactory(MakeObject make);

// HKEY_CLASSES_ROOT\<progId>\CLSID = classId, so CLSIDFromProgID finds the class.
bool writeProgId(const std::wstring& progId, const std::wstring& classId);

// Class objects registered with COM, each under its ProgID, while this object lives.
class ClassRegistrations {
 public:
  ClassRegistrations() = default;
  ClassRegistrations(const ClassRegistrations&) = delete;
  ClassRegistrations& operator=(const ClassRegistrations&) = delete;
  ~ClassRegistrations();

  // Registers the class `classId` (a "{...}" text) under `progId`, its objects made by `make`;
  // false when the ProgID or the class object could not be registered.
  bool add(const std::wstring& progId, const std::wstring& classId, MakeObject make);
  size_t count() const noexcept { return cookies_.size(); }

 private:
  std::vector<DWORD> cookies_;
  std::vector<std::wstring> progIds_;
};

}  // namespace qx::testhost
