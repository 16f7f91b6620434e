#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

std::string demoScript() {
  return R"(# The component registers itself with the host and both plug-ins are created by identifier.
register
create resource QxIndDepComponent.EIResource
source engine MasterDataEvents
init resource $engine
raise engine OnGetECaption "" false
raise engine OnGetMTSComponent "QxMResource.ResourceList" true
release resource
create scheduler qxinddepcomponent.eirepscheduler
init scheduler nothing
release scheduler
can-unload
# The resource bill as a user of the sample plant works with it; the component's texts come in
# the login's language (login language EN before the bill opens, for English).
resource open
resource columns
resource components
resource caption
# A productivity is accepted on a production line and refused on a mould.
resource save FInterID=1009 FNumber=L-09 FName="水壶装配三线" FTypeName=11063 FEIProductivity=55
resource save FNumber=MD-02 FName="内胆拉伸模具二" FTypeName=11064 FEIProductivity=12.5
# Line 1001 still makes kettles and stays; the new line 1009 has no relations and is deleted.
resource delete 1001
resource delete 1009
sql "SELECT FInterID, FNumber, FName FROM t_resource WHERE FInterID IN (1001, 1009) ORDER BY FInterID"
resource close
# The schedule bill of work order WO-2612-001 with the capacity area shown: the plug-in reads the
# user's settings, places the splitter bar, and lays the form out on every drag and resize.
schedule showability on
schedule open 5001
schedule grid
schedule drag 30 7000 6000 5000
schedule drag 30 2000
schedule resize 19200 9600
# F7 in a line cell opens the line browser on the lines that may make the item; the user picks one.
answer line L-01
schedule select 3 ColLine
schedule key F7
# A line typed into a row that cannot make the item: the save is refused and nothing is written.
schedule type 4 ColLine L-03
schedule type 4 ColLineId 1003
schedule save
# Leaving the row is refused as well and clears its line; a line picked with F7 then saves.
schedule select 2 ColQty
schedule select 4 ColLine
answer line L-02
schedule key F7
schedule save
schedule reload
schedule close
schedule settings
)";
}

}  // namespace qx::qxhost
