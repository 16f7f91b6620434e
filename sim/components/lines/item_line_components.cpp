#include "sim/components/lines/item_line_components.h"

#include "host/prog_ids.h"
#include "sim/components/lines/item_line_info.h"
#include "sim/components/lines/line_browser.h"
#include "sim/sim_host.h"

namespace qx::sim {

using automation::makeObject;
using automation::ObjectRef;

void registerItemLineComponents(SimHost& host) {
  namespace id = host::prog_id;
  std::shared_ptr<Database> database(host.databaseShared());
  host.components().registerComponent(
      id::kItemLineInfo, [database] { return ObjectRef(makeObject<ItemLineInfo>(database)); });
  std::shared_ptr<DialogScript> dialogs = host.platform().dialogsShared();
  host.components().registerComponent(id::kLineBrowser, [database, dialogs] {
    return ObjectRef(makeObject<LineBrowser>(database, dialogs));
  });
}

}  // namespace qx::sim
