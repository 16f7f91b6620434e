// The five handlers of the resource bill.
#include <cmath>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/steps.h"
#include "resource/ei_resource.h"
#include "resource/resource_texts.h"
#include "services/host_objects.h"
#include "services/local_string.h"

namespace qx::resource {

using automation::ObjectRef;
using services::LoadLocalString;

namespace {

// The walk of OnCheckData: the type id of the last "FTypeName" before a productivity entry
// decides whether the productivity may be set.
void checkProductivity(const Variant& vecData, Variant& sMsg, Variant& bCancel) {
  int32_t typeId = 0;
  ObjectRef entries = vecData.toObject();
  int32_t count = entries->get("Count").toInt32();
  for (int32_t i = 1; i <= count; ++i) {
    ObjectRef entry = entries->get("Item", i).toObject();
    std::string name = entry->call("GetValue", "FName", "").toString();
    if (name == "FTypeName") {
      typeId = entry->call("GetValue", "TrueValue", 0).toInt32();
    } else if (name == "FEIProductivity") {
      double productivity = entry->call("GetValue", "TrueValue", 0.0).toDouble();
      if (typeId != kProductionLineType && std::fabs(productivity) > kNoProductivity) {
        sMsg = Variant(LoadLocalString(kNotALine));
        bCancel = Variant(true);
        return;
      }
    }
  }
  // Accepted: sMsg and bCancel stay as the host passed them.
}

}  // namespace

void EIResource::m_oEvent_OnGetTitleInfo(Variant& vecData, Variant& bCancel) {
  // No failure handling: a failure reaches the host, vecData then holds the new, empty vector.
  (void)bCancel;  // never written
  if (vecData.objectOrNull()) return;
  auto vector = automation::HostVector::create();
  vecData = Variant(vector);
  ObjectRef column(automation::HostDictionary::create());
  column->put("Value", "FName", "FEIProductivity");
  column->put("Value", "FCName", LoadLocalString(kProductivityCaption));
  column->put("Value", "FFieldType", int16_t{2});
  column->put("Value", "FTrueName", "FEIProductivity");
  column->put("Value", "FTrueFieldType", int16_t{2});
  column->put("Value", "FVisible", true);
  column->put("Value", "FDefaultValue", "0.00000");
  column->put("Value", "FAlignType", int16_t{1});
  column->put("Value", "FDecCtl", int16_t{1});
  column->put("Value", "FQtyDecimal", int16_t{6});
  column->put("Value", "FColPrecision", int16_t{1});
  vector->call("Add", column);
}

void EIResource::m_oEvent_OnGetMTSComponent(Variant& sProgID, Variant& bCancel) {
  // Exact comparison: another letter case is another identifier.
  const std::string* id = sProgID.stringIf();
  if (!id) return;
  if (*id == kStandardResourceList) {
    sProgID = Variant(kResourceInfo);
    bCancel = Variant(false);
  } else if (*id == kStandardResourceAction) {
    sProgID = Variant(kResourceUpdate);
    bCancel = Variant(false);
  }
}

void EIResource::m_oEvent_OnGetECaption(Variant& sCaption, Variant& bCancel) {
  sCaption = Variant(kCaptionKey);
  bCancel = Variant(true);
}

void EIResource::m_oEvent_OnCheckData(const Variant& vecData, Variant& sMsg, Variant& bCancel) {
  // Catch-all into the result: whatever fails in the walk refuses the record with its reason.
  try {
    checkProductivity(vecData, sMsg, bCancel);
  } catch (...) {
    automation::Error failure = automation::toError(std::current_exception());
    sMsg = Variant(LoadLocalString(kCheckFailed) + LoadLocalString(failure.description()));
    bCancel = Variant(true);
  }
}

void EIResource::m_oEvent_OnCheckCanDel(const Variant& lInterID, Variant& sMsg, Variant& bCancel) {
  // No failure handling: a failing connection or query, or an empty result, is the event's error.
  std::string sql =
      "SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = " + std::to_string(lInterID.toInt32());
  ObjectRef rs = services::execute(sql);
  if (!rs) {
    // Without an answer the references were not checked: the line must not go.
    sMsg = Variant(LoadLocalString(kCannotCheck));
    bCancel = Variant(true);
    return;
  }
  Variant relations = rs->get("Fields", 0).value();
  if (!relations.isNull() && relations.toDouble() > 0) {
    sMsg = Variant(LoadLocalString(kStillReferenced) + "\r\n" + LoadLocalString(kDisableInstead));
    bCancel = Variant(true);
  }
}

}  // namespace qx::resource
