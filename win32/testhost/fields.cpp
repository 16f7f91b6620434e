#include "win32/testhost/fields.h"

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "win32/com/object_dispatch.h"

// GCC 12 reports the string moved into a Variant here as maybe uninitialized (a known false
// positive of std::variant at -O2); it is initialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

namespace qx::testhost {

win32::ComPtr<IDispatch> makeFieldVector(const std::vector<Field>& fields) {
  auto vec = automation::HostVector::create();
  for (const Field& f : fields) {
    auto entry = automation::HostDictionary::create();
    entry->set("FName", automation::Variant(f.first));
    entry->set("TrueValue", f.second);
    vec->add(automation::Variant(entry));
  }
  return win32::ObjectDispatch::create(automation::ObjectRef(vec));
}

win32::ComPtr<IDispatch> makeVector(const std::vector<automation::Variant>& items) {
  auto vec = automation::HostVector::create();
  for (const automation::Variant& v : items) vec->add(v);
  return win32::ObjectDispatch::create(automation::ObjectRef(vec));
}

}  // namespace qx::testhost
