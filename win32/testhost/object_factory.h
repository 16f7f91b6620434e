// The class objects the test host registers for the host components it plays: each
// CreateInstance makes one automation object and hands it out through our IDispatch adapter.
#pragma once

#include <ole2.h>

#include <functional>
#include <string>

#include "automation/object.h"
#include "win32/com/com_ptr.h"

namespace qx::testhost {

using MakeObject = std::function<automation::ObjectRef()>;

win32::ComPtr<IClassFactory> makeObjectFactory(MakeObject make);

// HKEY_CLASSES_ROOT\<progId>\CLSID = classId, so CLSIDFromProgID finds the class.
bool writeProgId(const std::wstring& progId, const std::wstring& classId);

}  // namespace qx::testhost
