// A resource bill as the host opens it: an EIResource subscribed to a fresh MasterDataEvents
// source, and the five events raised with by-reference arguments.
#pragma once

#include "win32/testhost/event_source.h"
#include "win32/testhost/plugin.h"

namespace qx::testhost {

namespace master_event {
inline constexpr DISPID kOnGetTitleInfo = 1, kOnGetMTSComponent = 2, kOnGetECaption = 3,
                        kOnCheckData = 4, kOnCheckCanDel = 5;
}

struct ResourceBill {
  ComPtr<MasterDataSource> source = makeMasterDataSource();
  ComPtr<IDispatch> plugin;

  // Creates and subscribes the plug-in; false (with a failed check) when that fails.
  bool open();
  CallOutcome raise(DISPID id, const std::vector<VARIANT>& args) { return source->raise(id, args); }
};

}  // namespace qx::testhost
