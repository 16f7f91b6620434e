#include "sim/bills/schedule_bill.h"

#include <sstream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/recordset.h"
#include "host/event_interfaces.h"
#include "host/toolkit.h"
#include "sim/bills/schedule_checks.h"
#include "sim/bills/schedule_save.h"

namespace qx::sim {

using automation::Arg;
using automation::Error;
using automation::ObjectRef;
namespace op = host::bill_op;

namespace {

Variant field(const automation::Recordset& rs, const char* name) {
  auto c = rs.findColumn(name);
  if (!c) throw Error::internal(std::string("the schedule query has no field ") + name);
  return rs.value(*c);
}

std::string text(const Variant& v) {
  return v.isNull() ? std::string() : v.toString();
}

// Grid column key → the schedule table's field.
constexpr std::pair<std::string_view, const char*> kRowFields[] = {
    {"ColNo", "FEntryID"},
    {"ColBillNo", "FBillNo"},
    {"ColBDate", "FBeginDate"},
    {"ColEDate", "FEndDate"},
    {"ColQty", "FAuxQty"},
    {"ColInHighLimit", "FInHighLimit"},
    {"ColInHighLimitQty", "FInHighLimitQty"},
    {"ColInLowLimit", "FInLowLimit"},
    {"ColInLowLimitQty", "FInLowLimitQty"},
    {"ColLine", "FLineName"},
    {"ColLineId", "FLineID"},
    {"ColInterId", "FInterID"},
    {"ColStatusId", "FStatus"},
    {"ColCheckDate", "FCheckDate"},
    {"ColBiller", "FBiller"},
    {"ColBatchNo", "FBatchNo"},
    {"ColCancel", "FCancel"},
    {"ColSuspend", "FSuspend"},
};

}  // namespace

ScheduleBill::ScheduleBill(SimHost& host, ObjectRef ledgerBinding)
    : host_(host),
      form_(buildScheduleForm(host.platform(), std::move(ledgerBinding), &host.texts())),
      events_(EventSource::create(std::string(host::kBillEvents))) {
  events_->setOperations([this](int p, automation::Args a) { return operation(p, a); });
  // The host handles the form's Resize before any plug-in, having subscribed first.
  hostSink_ = automation::makeObject<automation::FunctionSink>(
      [this](automation::DispId id, automation::Args) {
        if (id == host::form_event::kResize) hostLayout();
      });
  hostResize_.assign(ObjectRef(form_.form), host::kFormEvents, ObjectRef(hostSink_));
  form_.grid->setSelectionGuard([this](int32_t r, int32_t c, int32_t pr, int32_t pc) {
    Variant cancel(false);
    Outcome o = raise(
        "OnSelectChanged",
        {Arg(Variant(r)), Arg(Variant(c)), Arg(Variant(pr)), Arg(Variant(pc)), Arg::byRef(cancel)},
        &cancel);
    if (o.failure) selectFailure_ = o.failure;  // shown to the user; the move goes on
    return o.cancel;
  });
}

ScheduleBill::~ScheduleBill() {
  host_.openBills().closed(this);
  close();
  hostSink_->detach();
  hostResize_.reset();
  form_.grid->setSelectionGuard(nullptr);
  events_->setOperations(nullptr);
}

void ScheduleBill::load(int32_t id) {
  SqliteDb db = host_.database().open();
  std::string n = std::to_string(id);
  auto header = db.execute(
      "SELECT i.FInterID, i.FBillNo, i.FItemID, i.FWorkShop, i.FAuxQty, i.FStatus, "
      "i.FPlanCommitDate, i.FPlanFinishDate, i.FBatchNo, t.FNumber AS FItemNumber, "
      "t.FQtyDecimal FROM icmo i JOIN t_ICItem t ON t.FItemID = i.FItemID "
      "WHERE i.FType = 2 AND i.FInterID = " +
      n);
  if (!header || header->recordCount() == 0) {
    throw Error(3021, "There is no repetitive work order with the internal id " + n,
                "ScheduleBill");
  }
  auto rows = db.execute(
      "SELECT s.*, r.FName AS FLineName FROM t_eiRepSchedule s LEFT JOIN t_resource r ON "
      "r.FInterID = s.FLineID WHERE s.FICMOInterID = " +
      n + " ORDER BY s.FEntryID");

  workOrderId_ = id;
  status_ = field(*header, "FStatus").toInt32();
  orderQty_ = field(*header, "FAuxQty").toDouble();
  host_.openBills().opened(
      this, id, [this] { return automation::leadingNumber(form_.text("txtNoQty").text); });
  int32_t decimals = field(*header, "FQtyDecimal").toInt32();
  double planned = 0;
  GridControl& g = *form_.grid;
  g.setRows(1);
  g.setRows(1 + rows->recordCount());
  std::string qtyFormat = decimals > 0 ? "0." + std::string(decimals, '0') : "0";
  int32_t r = 2;
  for (rows->moveFirst(); !rows->eof(); rows->moveNext(), ++r) {
    for (auto [key, name] : kRowFields) {
      g.cell(r, scheduleColumnIndex(key)).value = field(*rows, name);
    }
    g.cell(r, scheduleColumnIndex("ColQty")).format = qtyFormat;
    if (text(field(*rows, "FCancel")) != "Y") planned += field(*rows, "FAuxQty").toDouble();
  }
  form_.text("txtInterId").text = n;
  form_.text("txtNo").text = text(field(*header, "FBillNo"));
  form_.text("txtNoQty").text =
      automation::formatDouble(field(*header, "FAuxQty").toDouble() - planned);
  form_.text("txtDecimal").text = std::to_string(decimals);
  form_.text("txtBatchNo").text = text(field(*header, "FBatchNo"));
  form_.text("txtPlanBDate").text = text(field(*header, "FPlanCommitDate"));
  form_.text("txtPlanEDate").text = text(field(*header, "FPlanFinishDate"));
  form_.text("txtItemNumber").text = text(field(*header, "FItemNumber"));
  form_.text("txtItemID").text = text(field(*header, "FItemID"));
  form_.text("txtdeptid").text = text(field(*header, "FWorkShop"));
  changed_ = false;
  sumTotals();
}

std::optional<Error> ScheduleBill::attachPlugin(std::string_view progId) {
  std::optional<Error> failure;
  plugin_.reset();
  try {
    plugin_ = host_.platform().createObject(progId);
    // A plug-in whose Init fails is kept, as the bill engine keeps it: what Init bound stays
    // bound and the bill's events still reach it.
    plugin_->call("Init", Variant(ObjectRef(events_)));
  } catch (const Error& e) {
    failure = e;
  }
  Outcome shown = raise("OnShowDataEnd", {}, nullptr);
  if (!failure) failure = shown.failure;
  return failure;
}

void ScheduleBill::close() {
  plugin_.reset();
}

ScheduleBill::Outcome ScheduleBill::raise(std::string_view event, std::vector<Arg> args,
                                          Variant* cancel) {
  Outcome o;
  raised_.emplace_back(event);
  try {
    events_->raise(event, automation::Args(args));
  } catch (const Error& e) {
    o.failure = e;
  }
  if (!o.failure && displayFailure_) o.failure = std::move(displayFailure_);
  displayFailure_.reset();
  if (cancel) {
    try {
      o.cancel = cancel->toBool();
    } catch (const Error&) {
      o.cancel = false;
    }
  }
  return o;
}

ScheduleBill::Outcome ScheduleBill::clickTool(const std::string& key) {
  auto button = form_.menuBar->find(key);
  if (!button) throw Error(35601, "Element not found: tool \"" + key + "\"", "MenuBar");
  Variant cancel(false);
  Outcome o = raise("OnBarClick", {Arg(Variant(ObjectRef(button))), Arg::byRef(cancel)}, &cancel);
  if (!o.cancel && !o.failure) hostTool(key, o);
  return o;
}

ScheduleBill::Outcome ScheduleBill::select(int32_t row, int32_t col) {
  Outcome o;
  selectFailure_.reset();
  try {
    o.cancel = !form_.grid->select(row, col);
  } catch (const Error& e) {
    o.failure = e;
  }
  if (!o.failure) o.failure = std::move(selectFailure_);
  selectFailure_.reset();
  return o;
}

ScheduleBill::Outcome ScheduleBill::keyDown(int16_t keyCode) {
  Variant key(keyCode), cancel(false);
  Outcome o = raise("OnGridKeyDown",
                    {Arg::byRef(key), Arg(Variant(int16_t{0})), Arg::byRef(cancel)}, &cancel);
  if (o.cancel) {
    o.action = said("插件已处理此键, 单据不再处理");
    return o;
  }
  // The handler may have changed the key code.
  int16_t code = keyCode;
  try {
    code = key.toInt16();
  } catch (const Error&) {
  }
  Outcome host = hostKey(code);
  if (!o.failure) o.failure = std::move(host.failure);
  o.action = std::move(host.action);
  return o;
}

ScheduleBill::Outcome ScheduleBill::hostKey(int16_t keyCode) {
  constexpr int16_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kDelete = 46;
  GridControl& g = *form_.grid;
  int32_t row = g.selRow(), col = g.selCol();
  Outcome o;
  if (row < 2 || col < 1) return o;  // no data cell is selected
  int32_t toRow = row, toCol = col;
  switch (keyCode) {
    case kUp:
      toRow = row - 1;
      break;
    case kDown:
      toRow = row + 1;
      break;
    case kLeft:
      toCol = col - 1;
      break;
    case kRight:
      toCol = col + 1;
      break;
    case kDelete:
      if (g.cell(row, col).locked) {
        o.action = said("单元格已锁定, 未删除");
        return o;
      }
      g.cell(row, col).value = Variant();
      o = cellEdited(row, col);
      o.action = said("单据清空了单元格 ({1}, {2})", {std::to_string(row), std::to_string(col)});
      return o;
    default:
      return o;
  }
  if (toRow < 2 || toRow > g.rows() || toCol < 1 || toCol > g.cols()) return o;
  o = select(toRow, toCol);
  o.action =
      o.cancel ? said("移动选择被拒绝")
               : said("单据将选择移到 ({1}, {2})", {std::to_string(toRow), std::to_string(toCol)});
  return o;
}

ScheduleBill::Outcome ScheduleBill::typeInto(int32_t row, int32_t col, const std::string& text) {
  GridControl& g = *form_.grid;
  g.cell(row, col);  // fails for a cell the grid does not have
  if (row < 2) throw Error::invalidProcedureCall("the caption row cannot be edited", "grdDetail");
  Outcome o;
  if (g.selRow() != row || g.selCol() != col) {
    o = select(row, col);
    if (o.cancel) {
      o.action = said("移到该单元格被拒绝, 未输入");
      return o;
    }
  }
  if (g.cell(row, col).locked) {
    o.action = said("单元格已锁定, 未输入");
    return o;
  }
  g.cell(row, col).value = Variant(text);
  Outcome edited = cellEdited(row, col);
  if (!o.failure) o.failure = std::move(edited.failure);
  return o;
}

ScheduleBill::Outcome ScheduleBill::cellEdited(int32_t row, int32_t col) {
  changed_ = true;
  // What the grid shows is what is saved: the limit quantities follow their figures.
  if (col == scheduleColumnIndex("ColQty") || col == scheduleColumnIndex("ColInHighLimit") ||
      col == scheduleColumnIndex("ColInLowLimit")) {
    followLimits(*form_.grid, row);
  }
  if (col == scheduleColumnIndex("ColQty") || col == scheduleColumnIndex("ColCancel")) {
    refreshUndecomposed();
  }
  sumTotals();
  return raise("OnCellChanged",
               {Arg(Variant(row)), Arg(Variant(col)), Arg(form_.grid->cell(row, col).value)},
               nullptr);
}

ScheduleBill::Outcome ScheduleBill::save() {
  Outcome own;
  if (!ownChecks(own, true)) return own;
  Variant cancel(false);
  Outcome o = raise("OnCheckData", {Arg::byRef(cancel)}, &cancel);
  if (o.failure) {
    // A check that could not be carried out does not let the bill be saved unchecked.
    o.action = said("检查失败, 未保存");
    return o;
  }
  if (o.cancel) {
    o.action = said("检查拒绝保存, 未保存");
    return o;
  }
  SavedRows saved;
  try {
    SqliteDb db = host_.database().open();
    saved = saveScheduleRows(db, workOrderId_, *form_.grid);
  } catch (const Error& e) {
    o.failure = e;
    o.action = said("保存失败, 未保存");
    return o;
  }
  o.saved = true;
  changed_ = false;
  Outcome after = raise("OnAfterSave", {Arg(Variant(workOrderId_))}, nullptr);
  Outcome shown = reload();
  if (!o.failure) o.failure = after.failure ? std::move(after.failure) : std::move(shown.failure);
  o.action = said("已保存: 更新 {1} 行, 新增 {2} 行, 删除 {3} 行; 单据显示已保存的数据",
                  {std::to_string(saved.updated), std::to_string(saved.inserted),
                   std::to_string(saved.removed)});
  return o;
}

ScheduleBill::Outcome ScheduleBill::reload() {
  load(workOrderId_);
  return raise("OnShowDataEnd", {}, nullptr);
}

ScheduleBill::Outcome ScheduleBill::checkData() {
  Outcome own;
  if (!ownChecks(own, false)) return own;
  Variant cancel(false);
  return raise("OnCheckData", {Arg::byRef(cancel)}, &cancel);
}

void ScheduleBill::hostLayout() {
  PictureBox& f = *form_.fraOther;
  f.top = form_.form->scaleHeight - f.height - 120;
  f.width = form_.form->scaleWidth - 240;
}

void ScheduleBill::renumber() {
  GridControl& g = *form_.grid;
  for (int32_t r = 2; r <= g.rows(); ++r) {
    g.cell(r, scheduleColumnIndex("ColNo")).value = Variant(r - 1);
  }
}

void ScheduleBill::sumTotals() {
  GridControl& g = *form_.grid;
  double total = 0;
  for (int32_t r = 2; r <= g.rows(); ++r) {
    const Variant& v = g.cell(r, scheduleColumnIndex("ColQty")).value;
    total += automation::leadingNumber(v.isNull() ? std::string() : v.toString());
  }
  totalQty_ = total;
}

Variant ScheduleBill::operation(int position, automation::Args args) {
  switch (position) {
    case op::kGetForm:
      automation::requireArgs(args, 1, "GetForm");
      args[0].set(Variant(ObjectRef(form_.form)));
      return Variant();
    case op::kGetColumns: {
      automation::requireArgs(args, 1, "GetColumns");
      auto map = automation::HostDictionary::create();
      for (const ScheduleColumn& c : scheduleColumns()) {
        map->set(c.key, Variant(scheduleColumnIndex(c.key)));
      }
      args[0].set(Variant(map));
      return Variant();
    }
    case op::kGetInterID:
      return Variant(workOrderId_);
    case op::kGetBillStatus:
      return Variant(status_);
    case op::kRefreshBill: {
      // The data is shown again; a failure of the display event is reported with the user's
      // action that led here.
      Outcome shown = reload();
      if (shown.failure) displayFailure_ = std::move(shown.failure);
      return Variant();
    }
    case op::kRenumberRows:
      renumber();
      return Variant();
    case op::kSetBillChanged:
      changed_ = true;
      return Variant();
    case op::kRefreshTotals:
      sumTotals();
      return Variant();
    case op::kGetMenuBar:
      return Variant(ObjectRef(form_.menuBar));
    case op::kShowDetail:
      automation::requireArgs(args, 2, "ShowDetail");
      detailShown_ = !detailShown_;
      return Variant();
  }
  throw Error::memberNotFound("operation " + std::to_string(position), "BillEvents");
}

std::string ScheduleBill::layoutText() const {
  std::ostringstream out;
  auto rect = [&](const char* name, double l, double t, double w, double h, bool visible) {
    out << "  " << name << std::string(12 - std::string(name).size(), ' ') << "left " << l
        << "  top " << t << "  width " << w << "  height " << h << (visible ? "" : "  (hidden)")
        << "\n";
  };
  out << "form " << form_.form->scaleWidth << " x " << form_.form->scaleHeight << " twips\n";
  const GridControl& g = *form_.grid;
  rect("grdDetail", g.left, g.top, g.width, g.height, g.visible);
  const PictureBox& p = *form_.picSplit;
  rect("picSplit", p.left, p.top, p.width, p.height, p.visible);
  const LedgerGrid& l = *form_.ldgAbility;
  rect("ldgAbility", l.left, l.top, l.width, l.height, l.visible);
  const PictureBox& f = *form_.fraOther;
  rect("fraOther", f.left, f.top, f.width, f.height, f.visible);
  out << "  tools:";
  for (const auto& b : form_.menuBar->buttons()) {
    if (!b->visible) continue;
    out << " " << b->key << (b->checked ? "[checked]" : "");
  }
  out << "\n";
  return out.str();
}

}  // namespace qx::sim
