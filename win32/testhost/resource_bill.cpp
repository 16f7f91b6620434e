#include "win32/testhost/resource_bill.h"

#include "win32/testhost/check.h"

namespace qx::testhost {

bool ResourceBill::open() {
  plugin = createByProgId(kResourceProgId);
  if (!check(static_cast<bool>(plugin), "EIResource created")) return false;
  CallOutcome r =
      initByName(plugin.get(), argDispatch(static_cast<_MasterDataEvents*>(source.get())));
  return check(SUCCEEDED(r.hr) && source->sinkCount() == 1, "EIResource subscribed to the bill");
}

}  // namespace qx::testhost
