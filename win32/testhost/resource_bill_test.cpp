// The five events of the resource bill, raised by the host with by-reference arguments, and
// what the plug-in writes back into them.
#include "win32/testhost/resource_bill.h"
#include "automation/object.h"
#include "win32/testhost/check.h"
#include "win32/testhost/fields.h"
#include "win32/testhost/substitutes.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

namespace ev = master_event;
using automation::Variant;

std::string flag(VARIANT_BOOL b) {
  return b == VARIANT_TRUE ? "True" : b == VARIANT_FALSE ? "False" : std::to_string(b);
}

struct KeyValue {
  const wchar_t* key;
  VARTYPE type;
  std::string text;
};

void titleInfoWithoutVector() {
  ResourceBill bill;
  if (!bill.open()) return;
  ComPtr<IDispatch> vec;
  VARIANT_BOOL cancel = VARIANT_TRUE;
  CallOutcome r = bill.raise(ev::kOnGetTitleInfo, {refDispatch(vec), refBool(cancel)});
  checkStatus(r.hr, S_OK, "OnGetTitleInfo: raised");
  checkEqual(flag(cancel), "True", "OnGetTitleInfo: bCancel is not written");
  if (!check(static_cast<bool>(vec), "OnGetTitleInfo: vecData receives a new vector")) return;
  checkEqual(textOf(*getProperty(vec.get(), L"Count").result.get()), "1",
             "OnGetTitleInfo: the vector holds one column definition");
  CallOutcome item = getProperty(vec.get(), L"Item", {argLong(1)});
  ComPtr<IDispatch> def = dispatchOf(*item.result.get());
  if (!check(static_cast<bool>(def), "OnGetTitleInfo: the definition is an object")) return;
  checkEqual(textOf(*getProperty(def.get(), L"Count").result.get()), "11",
             "OnGetTitleInfo: the definition has eleven keys");
  const KeyValue expected[] = {
      {L"FName", VT_BSTR, "FEIProductivity"},
      {L"FCName", VT_BSTR, translatedText("生产率")},
      {L"FFieldType", VT_I2, "2"},
      {L"FTrueName", VT_BSTR, "FEIProductivity"},
      {L"FTrueFieldType", VT_I2, "2"},
      {L"FVisible", VT_BOOL, "-1"},
      {L"FDefaultValue", VT_BSTR, "0.00000"},
      {L"FAlignType", VT_I2, "1"},
      {L"FDecCtl", VT_I2, "1"},
      {L"FQtyDecimal", VT_I2, "6"},
      {L"FColPrecision", VT_I2, "1"},
  };
  Bstr absent("<absent>");
  for (const KeyValue& kv : expected) {
    Bstr key(std::wstring_view(kv.key));
    CallOutcome v = callMethod(def.get(), L"GetValue", {argBstr(key), argBstr(absent)});
    std::string name = "OnGetTitleInfo: " + key.utf8();
    const VARIANT& got = *v.result.get();
    std::string text = V_VT(&got) == VT_BOOL ? std::to_string(V_BOOL(&got)) : textOf(got);
    checkEqual(text, kv.text, name);
    checkEqual(V_VT(&got), kv.type, name + " has its automation type");
  }
}

void titleInfoWithVector() {
  ResourceBill bill;
  if (!bill.open()) return;
  ComPtr<IDispatch> mine = makeVector({});
  ComPtr<IDispatch> vec = mine;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  CallOutcome r = bill.raise(ev::kOnGetTitleInfo, {refDispatch(vec), refBool(cancel)});
  checkStatus(r.hr, S_OK, "OnGetTitleInfo with a vector: raised");
  check(vec.get() == mine.get(), "OnGetTitleInfo with a vector: the host's vector is kept");
  checkEqual(textOf(*getProperty(vec.get(), L"Count").result.get()), "0",
             "OnGetTitleInfo with a vector: nothing is added");
  checkEqual(flag(cancel), "False", "OnGetTitleInfo with a vector: bCancel unchanged");
}

void mtsComponent() {
  struct Row {
    const char* in;
    const char* out;
    VARIANT_BOOL cancelIn;
    VARIANT_BOOL cancelOut;
  };
  const Row rows[] = {
      {"QxMResource.ResourceList", "QxMEIResource.ResourceInfo", VARIANT_TRUE, VARIANT_FALSE},
      {"QxMResource.ResourceAction", "QxMEIResource.ResourceUpdate", VARIANT_TRUE, VARIANT_FALSE},
      {"qxmresource.resourcelist", "qxmresource.resourcelist", VARIANT_TRUE, VARIANT_TRUE},
      {"QxMResource.ResourceList ", "QxMResource.ResourceList ", VARIANT_TRUE, VARIANT_TRUE},
      {"QxMResource.Other", "QxMResource.Other", VARIANT_FALSE, VARIANT_FALSE},
  };
  ResourceBill bill;
  if (!bill.open()) return;
  for (const Row& row : rows) {
    std::string name = std::string("OnGetMTSComponent \"") + row.in + "\"";
    Bstr progId(row.in);
    VARIANT_BOOL cancel = row.cancelIn;
    CallOutcome r = bill.raise(ev::kOnGetMTSComponent, {refBstr(progId), refBool(cancel)});
    checkStatus(r.hr, S_OK, name + ": raised");
    checkEqual(progId.utf8(), row.out, name + ": sProgID");
    checkEqual(flag(cancel), flag(row.cancelOut), name + ": bCancel");
  }
}

void eCaption() {
  ResourceBill bill;
  if (!bill.open()) return;
  for (const char* in : {"ResourceList", ""}) {
    std::string name = std::string("OnGetECaption \"") + in + "\"";
    Bstr caption(in);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    CallOutcome r = bill.raise(ev::kOnGetECaption, {refBstr(caption), refBool(cancel)});
    checkStatus(r.hr, S_OK, name + ": raised");
    checkEqual(caption.utf8(), "EIResourceList", name + ": sCaption");
    checkEqual(cancel, VARIANT_TRUE, name + ": bCancel is -1");
  }
}

void checkData() {
  struct Row {
    const char* what;
    ComPtr<IDispatch> fields;
    bool refused;
  };
  const std::string refusal = translatedText("非生产线资源不能定义生产率.");
  Row rows[] = {
      {"a line with a productivity",
       makeFieldVector({{"FTypeName", Variant(int32_t{11063})}, {"FEIProductivity", Variant(5.5)}}),
       false},
      {"a line with a negative productivity",
       makeFieldVector(
           {{"FTypeName", Variant(int32_t{11063})}, {"FEIProductivity", Variant(-3.0)}}),
       false},
      {"a line type given as text",
       makeFieldVector({{"FTypeName", Variant("11063")}, {"FEIProductivity", Variant(2.0)}}),
       false},
      {"another resource type with a productivity",
       makeFieldVector({{"FTypeName", Variant(int32_t{1})}, {"FEIProductivity", Variant(0.5)}}),
       true},
      {"no type, productivity at the threshold",
       makeFieldVector({{"FEIProductivity", Variant(0.0000001)}}), false},
      {"no type, a small negative productivity",
       makeFieldVector({{"FEIProductivity", Variant(-0.00001)}}), true},
      {"the productivity before the type",
       makeFieldVector({{"FEIProductivity", Variant(1.0)}, {"FTypeName", Variant(int32_t{11063})}}),
       true},
      {"other fields only",
       makeFieldVector({{"FNumber", Variant("L-01")}, {"FName", Variant("x")}}), false},
  };
  ResourceBill bill;
  if (!bill.open()) return;
  for (Row& row : rows) {
    std::string name = std::string("OnCheckData, ") + row.what;
    Bstr msg("keep");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    CallOutcome r = bill.raise(ev::kOnCheckData,
                               {argDispatch(row.fields.get()), refBstr(msg), refBool(cancel)});
    checkStatus(r.hr, S_OK, name + ": raised");
    checkEqual(msg.utf8(), row.refused ? refusal : "keep", name + ": sMsg");
    checkEqual(flag(cancel), row.refused ? "True" : "False", name + ": bCancel");
  }

  // A failure inside the walk becomes the refusal "data check failed" with its reason.
  const std::string prefix = translatedText("数据检查出错,原因：");
  ComPtr<IDispatch> notRecords = makeVector({Variant("not a record")});
  for (IDispatch* vec : {notRecords.get(), static_cast<IDispatch*>(nullptr)}) {
    std::string name = vec ? "OnCheckData, an item that is no record" : "OnCheckData, no vector";
    Bstr msg("keep");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    CallOutcome r = bill.raise(ev::kOnCheckData, {argDispatch(vec), refBstr(msg), refBool(cancel)});
    checkStatus(r.hr, S_OK, name + ": raised");
    std::string text = msg.utf8();
    check(text.compare(0, prefix.size(), prefix) == 0 && text.size() > prefix.size(),
          name + ": sMsg gives the reason: " + text);
    checkEqual(flag(cancel), "True", name + ": bCancel");
  }
}

void canDel() {
  auto& log = ConnectionSubstitute::log();
  const int64_t objectsBefore = automation::Object::liveObjects();
  ResourceBill bill;
  if (!bill.open()) return;

  struct Row {
    int32_t line;
    VARIANT_BOOL cancelIn;
    bool refused;
  };
  const std::string refusal = translatedText("有生产线和物料对应关系引用该资源，不能删除.") +
                              "\r\n" + translatedText("但你可以禁用该资源。");
  const Row rows[] = {{7, VARIANT_FALSE, true},
                      {9, VARIANT_FALSE, true},
                      {8, VARIANT_TRUE, false},
                      {8, VARIANT_FALSE, false},
                      {-1, VARIANT_FALSE, false}};
  for (const Row& row : rows) {
    std::string name = "OnCheckCanDel " + std::to_string(row.line);
    int createdBefore = log.created;
    Bstr msg("keep");
    VARIANT_BOOL cancel = row.cancelIn;
    CallOutcome r =
        bill.raise(ev::kOnCheckCanDel, {argLong(row.line), refBstr(msg), refBool(cancel)});
    checkStatus(r.hr, S_OK, name + ": raised");
    checkEqual(log.statements.empty() ? "" : log.statements.back(),
               "SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = " + std::to_string(row.line),
               name + ": the query");
    checkEqual(log.created - createdBefore, 1, name + ": one connection per event");
    checkEqual(log.live, 0, name + ": the connection is released");
    checkEqual(msg.utf8(), row.refused ? refusal : "keep", name + ": sMsg");
    checkEqual(flag(cancel), row.refused ? "True" : flag(row.cancelIn), name + ": bCancel");
  }

  // No recordset: the relations cannot be checked, so the delete is refused.
  log.answerNothing = true;
  Bstr msg("keep");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  CallOutcome r = bill.raise(ev::kOnCheckCanDel, {argLong(7), refBstr(msg), refBool(cancel)});
  log.answerNothing = false;
  checkStatus(r.hr, S_OK, "OnCheckCanDel without a recordset: raised");
  checkEqual(msg.utf8(), translatedText("无法检查该资源的引用关系,不能删除."),
             "OnCheckCanDel without a recordset: sMsg");
  checkEqual(flag(cancel), "True", "OnCheckCanDel without a recordset: bCancel");

  // A failing query is the error of the event, handed back to the host.
  log.failWith = "the connection to the database was lost";
  Bstr msg2("keep");
  VARIANT_BOOL cancel2 = VARIANT_FALSE;
  r = bill.raise(ev::kOnCheckCanDel, {argLong(7), refBstr(msg2), refBool(cancel2)});
  log.failWith.clear();
  checkStatus(r.hr, DISP_E_EXCEPTION, "OnCheckCanDel with a failing query: the event fails");
  check(r.description.find("the connection to the database was lost") != std::string::npos,
        "OnCheckCanDel with a failing query: the host reads the reason: " + r.description);
  checkEqual(msg2.utf8(), "keep", "OnCheckCanDel with a failing query: sMsg unchanged");
  checkEqual(log.live, 0, "OnCheckCanDel with a failing query: the connection is released");

  bill.plugin.reset();
  checkEqual(automation::Object::liveObjects(), objectsBefore,
             "OnCheckCanDel: every recordset handed to the plug-in is released");
}

}  // namespace

void runResourceBillTests() {
  section("resource bill events");
  titleInfoWithoutVector();
  titleInfoWithVector();
  mtsComponent();
  eCaption();
  checkData();
  canDel();
  auto& loader = ResLoaderSubstitute::log();
  checkEqual(loader.baseName, "QxEIGroup", "the resource loader was pointed at QxEIGroup");
  checkEqual(loader.language, "EN", "the resource loader was given the login's language");
}

}  // namespace qx::testhost
