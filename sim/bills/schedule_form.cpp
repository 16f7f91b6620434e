#include "sim/bills/schedule_form.h"

namespace qx::sim {

namespace {

constexpr ScheduleColumn kColumns[] = {
    {"ColNo", "序号"},
    {"ColBillNo", "计划单号"},
    {"ColBDate", "开始日期"},
    {"ColEDate", "结束日期"},
    {"ColQty", "数量"},
    {"ColInHighLimit", "上限(%)"},
    {"ColInHighLimitQty", "上限数量"},
    {"ColInLowLimit", "下限(%)"},
    {"ColInLowLimitQty", "下限数量"},
    {"ColLine", "生产线"},
    {"ColLineId", "生产线内码"},
    {"ColInterId", "内码"},
    {"ColStatusId", "状态"},
    {"ColCheckDate", "审核日期"},
    {"ColBiller", "制单人"},
    {"ColBatchNo", "批号"},
    {"ColCancel", "作废"},
    {"ColSuspend", "挂起"},
};

struct Tool {
  std::string_view key, caption;
  bool visible;
};
// The plug-in's buttons start hidden; it shows the ones it offers.
constexpr Tool kTools[] = {
    {"new", "新增", true},
    {"save", "保存", true},
    {"delete", "删除", true},
    {"print", "打印", true},
    {"detailicmo", "任务单明细", true},
    {"wizard", "计划分解", false},
    {"showability", "显示产能", false},
    {"abilityOption", "产能选项", false},
    {"refreshability", "刷新产能", false},
    {"viewload", "剩余产能", false},
    {"close", "退出", true},
};

constexpr const char* kTextBoxes[] = {"txtInterId", "txtNo",        "txtNoQty",     "txtDecimal",
                                      "txtBatchNo", "txtPlanBDate", "txtPlanEDate", "txtItemNumber",
                                      "txtItemID",  "txtdeptid"};

constexpr double kFormWidth = 19200, kFormHeight = 10800;

}  // namespace

std::span<const ScheduleColumn> scheduleColumns() {
  return kColumns;
}

int32_t scheduleColumnIndex(std::string_view key) {
  for (size_t i = 0; i < std::size(kColumns); ++i) {
    if (kColumns[i].key == key) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

ScheduleForm buildScheduleForm(SimPlatform& platform, automation::ObjectRef ledgerBinding) {
  ScheduleForm f;
  f.form = Form::create("frmRepScheduler", &platform);
  f.form->caption = "重复生产计划单";
  f.form->scaleWidth = kFormWidth;
  f.form->scaleHeight = kFormHeight;

  f.menuBar = automation::makeObject<ToolBar>();
  for (const Tool& t : kTools)
    f.menuBar->add(std::string(t.key), std::string(t.caption), t.visible);
  f.form->addControl("MenuBar", automation::ObjectRef(f.menuBar));

  for (const char* name : kTextBoxes) {
    f.textBoxes[name] = automation::makeObject<TextBox>(name);
    f.form->addControl(name, automation::ObjectRef(f.textBoxes[name]));
  }

  std::vector<std::string> captions;
  for (const ScheduleColumn& c : kColumns) captions.emplace_back(c.caption);
  f.grid = GridControl::create("grdDetail", std::move(captions));
  f.grid->left = 120, f.grid->top = 1560, f.grid->width = 18960, f.grid->height = 6600;
  f.form->addControl("grdDetail", automation::ObjectRef(f.grid));

  f.picSplit = PictureBox::create("picSplit");
  f.picSplit->left = 120, f.picSplit->top = 8160, f.picSplit->width = 18960;
  f.picSplit->height = 60, f.picSplit->visible = false;
  f.form->addControl("picSplit", automation::ObjectRef(f.picSplit));

  f.ldgAbility = LedgerGrid::create("ldgAbility");
  f.ldgAbility->left = 120, f.ldgAbility->top = 8220, f.ldgAbility->width = 18960;
  f.ldgAbility->height = 1500, f.ldgAbility->visible = false;
  f.form->addControl("ldgAbility", automation::ObjectRef(f.ldgAbility));

  f.fraOther = PictureBox::create("fraOther");
  f.fraOther->left = 120, f.fraOther->top = 9840, f.fraOther->width = 18960;
  f.fraOther->height = 840;
  f.form->addControl("fraOther", automation::ObjectRef(f.fraOther));

  if (ledgerBinding) {
    ledgerBinding->putRef("ldg", automation::Variant(automation::ObjectRef(f.ldgAbility)));
    f.form->addControl("m_ldgData", ledgerBinding);
    f.ledgerBinding = std::move(ledgerBinding);
  }
  return f;
}

}  // namespace qx::sim
