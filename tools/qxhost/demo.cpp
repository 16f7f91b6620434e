#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

// The guided tour: every step is narrated in the login's language, then shows what the user
// sees; the expectations keep the tour honest (a step that stops showing its point fails).
std::string demoScript() {
  return R"(step "安装：组件在主机中注册自己。" "Installing: the component registers itself with the host."
register
step "打开资源单据：组件给资源列表加上“生产率”一列。" "The resource bill opens: the component adds the column \"Productivity\" to the resource list."
resource open
resource columns
expect "FEIProductivity"
step "单据的列表和保存改由组件的业务组件处理。" "The bill's list and its saving are routed to the component's own business components."
resource components
expect "QxMEIResource.ResourceInfo"
step "给新生产线 L-09 填生产率 55 并保存：接受。" "A productivity of 55 on the new production line L-09 is saved: accepted."
resource save FInterID=1009 FNumber=L-09 FName="水壶装配三线" FTypeName=11063 FEIProductivity=55
expect "已新增资源 1009" "added resource 1009"
step "给模具 MD-02 填生产率并保存：被拒绝，模具不能有生产率。" "A productivity on the mould MD-02 is refused: only production lines have one."
resource save FNumber=MD-02 FName="内胆拉伸模具二" FTypeName=11064 FEIProductivity=12.5
expect "插件拒绝, 未保存" "refused, not saved"
step "删除仍在生产水壶的生产线 L-01：被拒绝。" "Deleting line L-01, which still makes kettles, is refused."
resource delete 1001
expect "插件拒绝, 未删除" "refused, kept"
step "删除没有任何关系的新生产线 L-09：允许。" "Deleting the new line L-09, which nothing refers to, is allowed."
resource delete 1009
expect "已删除资源 1009" "deleted resource 1009"
resource close
step "打开工单 WO-2612-001 的排产单，显示能力区：计划表格在上，能力台账在下。" "The schedule bill of work order WO-2612-001 opens with the capacity area shown: the schedule grid above, the capacity ledger below."
schedule showability on
schedule open 5001
expect "ldgAbility"
schedule grid
schedule window 2026-12-07 14
step "选中第 2 行（生产线 L-02）：台账显示这条线每天的能力和负荷。" "Row 2 (line L-02) is selected: the ledger shows the line's capacity and load per day."
schedule select 2 ColQty
expect "L-02"
expect "-10.67"
step "L-02 从 2026-12-14 起超负荷：负荷 18.67 小时，能力只有 8 小时，差异为负。" "L-02 is overloaded from 2026-12-14 on: a load of 18.67 hours against a capacity of 8, a negative difference."
step "移到第 1 行（生产线 L-01）：台账跟着换成 L-01。" "Moving to row 1 (line L-01): the ledger follows to L-01."
schedule select 1 ColQty
expect "L-01"
step "在第 3 行的生产线格按 F7，从能生产该物料的生产线中选 L-01。" "F7 in row 3's line cell lists the lines that can make the item; the user picks L-01."
answer line L-01
schedule select 3 ColLine
schedule key F7
expect "-> L-01"
step "在第 3 行填入不能生产该物料的生产线 L-03，然后离开该行：被拒绝，生产线被清空。" "Line L-03, which cannot make the item, is typed into row 3 and the row is left: refused, the line is cleared."
schedule type 3 ColLine L-03
schedule type 3 ColLineId 1003
schedule select 1 ColQty
expect "[L-03]"
step "再按 F7 选 L-02 并保存：通过检查，写入数据库。" "F7 again picks L-02 and the bill is saved: the checks pass and the rows are written."
schedule select 3 ColLine
answer line L-02
schedule key F7
schedule save
expect "已保存:" "saved:"
step "计划分解向导把尚未排产的数量按空闲能力分给生产线。" "The plan decomposition wizard spreads the quantity not yet scheduled over the lines by free capacity."
dialog decompose accept
schedule click wizard
expect "plan decomposition of WO-2612-001"
step "查看剩余能力报表。" "The remaining-capacity report."
schedule click viewload
expect "report 902"
step "在能力选项中改选排产方式并关闭单据；再次打开时，显示能力区和选项都保留着。" "The capacity options are changed and the bill is closed; reopened, it keeps the capacity area shown and the options."
dialog options ok FSchedule=1
schedule click abilityOption
schedule close
schedule open 5001
expect "showability[checked]"
schedule settings
expect "FSchedule = 1"
step "把选项改回原样并关闭单据，下次演示从同样的状态开始。" "The options are set back and the bill is closed, so the next tour starts from the same state."
dialog options ok FSchedule=0
schedule click abilityOption
schedule close
schedule settings
expect "FSchedule = 0"
)";
}

}  // namespace qx::qxhost
