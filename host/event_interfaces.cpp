#include "host/event_interfaces.h"

#include "automation/text.h"

namespace qx::host {

using automation::Error;

namespace {

constexpr EventParam kTitleInfo[] = {{"vecData", ParamType::Object, true},
                                     {"bCancel", ParamType::Flag, true}};
constexpr EventParam kMTSComponent[] = {{"sProgID", ParamType::String, true},
                                        {"bCancel", ParamType::Flag, true}};
constexpr EventParam kECaption[] = {{"sCaption", ParamType::String, true},
                                    {"bCancel", ParamType::Flag, true}};
constexpr EventParam kMasterCheckData[] = {{"vecData", ParamType::Object, false},
                                           {"sMsg", ParamType::String, true},
                                           {"bCancel", ParamType::Flag, true}};
constexpr EventParam kCheckCanDel[] = {{"lInterID", ParamType::Long, false},
                                       {"sMsg", ParamType::String, true},
                                       {"bCancel", ParamType::Flag, true}};

constexpr EventDecl kMasterData[] = {
    {master_data_event::kOnGetTitleInfo, "OnGetTitleInfo", kTitleInfo},
    {master_data_event::kOnGetMTSComponent, "OnGetMTSComponent", kMTSComponent},
    {master_data_event::kOnGetECaption, "OnGetECaption", kECaption},
    {master_data_event::kOnCheckData, "OnCheckData", kMasterCheckData},
    {master_data_event::kOnCheckCanDel, "OnCheckCanDel", kCheckCanDel},
};

constexpr EventParam kCancelOnly[] = {{"bCancel", ParamType::Flag, true}};
constexpr EventParam kBeforeShowData[] = {{"lInterID", ParamType::Long, false},
                                          {"bCancel", ParamType::Flag, true}};
constexpr EventParam kGridKeyDown[] = {{"KeyCode", ParamType::Integer, true},
                                       {"Shift", ParamType::Any, false},
                                       {"bCancel", ParamType::Flag, true}};
constexpr EventParam kAfterSave[] = {{"lInterID", ParamType::Long, false}};
constexpr EventParam kCellChanged[] = {{"lRow", ParamType::Long, false},
                                       {"lCol", ParamType::Long, false},
                                       {"vValue", ParamType::Any, false}};
constexpr EventParam kSelectChanged[] = {{"IRow", ParamType::Long, false},
                                         {"iCol", ParamType::Long, false},
                                         {"iPreRow", ParamType::Long, false},
                                         {"iPreCol", ParamType::Long, false},
                                         {"bCancel", ParamType::Flag, true}};
constexpr EventParam kBarClick[] = {{"Tool", ParamType::Object, false},
                                    {"bCancel", ParamType::Flag, true}};

constexpr EventDecl kBill[] = {
    {bill_event::kOnBillInit, "OnBillInit", kCancelOnly},
    {bill_event::kOnBeforeShowData, "OnBeforeShowData", kBeforeShowData},
    {bill_event::kOnCheckData, "OnCheckData", kCancelOnly},
    {bill_event::kOnGridKeyDown, "OnGridKeyDown", kGridKeyDown},
    {bill_event::kOnShowDataEnd, "OnShowDataEnd", {}},
    {bill_event::kOnAfterSave, "OnAfterSave", kAfterSave},
    {bill_event::kOnCellChanged, "OnCellChanged", kCellChanged},
    {bill_event::kOnBeforeClose, "OnBeforeClose", kCancelOnly},
    {bill_event::kOnSelectChanged, "OnSelectChanged", kSelectChanged},
    {bill_event::kOnBarClick, "OnBarClick", kBarClick},
};

constexpr std::string_view kOperationNames[] = {
    "GetForm",      "GetColumns",     "GetInterID",    "GetBillStatus", "RefreshBill",
    "RenumberRows", "SetBillChanged", "RefreshTotals", "GetMenuBar",    "ShowDetail"};

bool typeFits(ParamType t, const automation::Variant& v) {
  using automation::VarType;
  VarType k = v.type();
  switch (t) {
    case ParamType::Flag:
      return k == VarType::Boolean || k == VarType::Integer || k == VarType::Long;
    case ParamType::String:
      return k == VarType::String;
    case ParamType::Long:
    case ParamType::Integer:
      return k == VarType::Integer || k == VarType::Long ||
             (k == VarType::Double &&
              v.toDouble() == static_cast<double>(static_cast<int64_t>(v.toDouble())));
    case ParamType::Object:
      return k == VarType::Object || k == VarType::Empty;
    case ParamType::Any:
      return true;
  }
  return false;
}

const char* typeName(ParamType t) {
  switch (t) {
    case ParamType::Flag:
      return "flag";
    case ParamType::String:
      return "string";
    case ParamType::Long:
      return "long";
    case ParamType::Integer:
      return "integer";
    case ParamType::Object:
      return "object";
    case ParamType::Any:
      return "any";
  }
  return "?";
}

}  // namespace

std::string_view bill_op::nameOf(int position) {
  if (position < 1 || position > 10) return {};
  return kOperationNames[position - 1];
}

std::span<const EventDecl> masterDataEvents() {
  return kMasterData;
}
std::span<const EventDecl> billEvents() {
  return kBill;
}

std::span<const EventDecl> eventsOf(std::string_view interfaceName) {
  if (automation::equalsIgnoreCase(interfaceName, kMasterDataEvents)) return kMasterData;
  if (automation::equalsIgnoreCase(interfaceName, kBillEvents)) return kBill;
  return {};
}

const EventDecl* findEvent(std::string_view interfaceName, std::string_view name) {
  for (const EventDecl& e : eventsOf(interfaceName)) {
    if (automation::equalsIgnoreCase(e.name, name)) return &e;
  }
  return nullptr;
}

const EventDecl* findEvent(std::string_view interfaceName, DispId id) {
  for (const EventDecl& e : eventsOf(interfaceName)) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

void checkEventArgs(const EventDecl& decl, automation::Args args) {
  std::string source(decl.name);
  if (args.size() < decl.params.size()) {
    throw Error::argumentNotOptional(std::string(decl.name) + " needs " +
                                         std::to_string(decl.params.size()) + " arguments, got " +
                                         std::to_string(args.size()),
                                     source);
  }
  if (args.size() > decl.params.size()) throw Error::wrongArgumentCount(decl.name, source);
  for (size_t i = 0; i < args.size(); ++i) {
    const EventParam& p = decl.params[i];
    if (!typeFits(p.type, args[i].get())) {
      throw Error::typeMismatch(std::string(p.name) + " must be a " + typeName(p.type) + ", got " +
                                    automation::describe(args[i].get()),
                                source);
    }
    if (p.byRef && !args[i].isByRef()) {
      throw Error::typeMismatch(std::string(p.name) + " must be passed by reference", source);
    }
  }
}

}  // namespace qx::host
