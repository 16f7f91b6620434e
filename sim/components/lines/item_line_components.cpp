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
  std::shared_ptr<const HostTexts> texts = host.textsShared();
  host.components().registerComponent(id::kLineBrowser, [database, dialogs, texts] {
    return ObjectRef(makeObject<LineBrowser>(database, dialogs, texts));
  });
}

}  // namespace qx::sim
