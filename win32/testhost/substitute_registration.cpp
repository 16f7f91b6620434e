#include <ole2.h>
#include <windows.h>

#include "win32/testhost/object_factory.h"
#include "win32/testhost/substitutes.h"

namespace qx::testhost {

namespace {

using Make = automation::ObjectRef (*)();

template <class T>
automation::ObjectRef make() {
  return automation::ObjectRef(automation::makeObject<T>());
}

struct Substitute {
  const wchar_t* progId;
  const wchar_t* classId;
  Make make;
};

const Substitute kSubstitutes[] = {
    {L"QxConnection.AppConnection", L"{6B747A64-1388-4E15-8810-4BC7A202BF27}",
     &make<ConnectionSubstitute>},
    {L"QxResLoader.Loader", L"{07172363-26F5-4AE7-A962-50A04F520A55}", &make<ResLoaderSubstitute>},
    {L"ShareVault.ShareProps", L"{8C8D88F5-DAA1-4CC8-A55B-A2B9C6CEB6E3}",
     &make<SharePropsSubstitute>},
};

}  // namespace

SubstituteRegistration::SubstituteRegistration() {
  for (const Substitute& s : kSubstitutes) ok_ = classes_.add(s.progId, s.classId, s.make) && ok_;
}

}  // namespace qx::testhost
