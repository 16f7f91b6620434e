// The tool bar's capacity and planning commands: show or hide the capacity area, the capacity
// options, the plan decomposition wizard behind its access check, the work-order detail, a
// capacity refresh and the remaining-capacity report. Other buttons are the host's.
#include "automation/arg.h"
#include "automation/condition.h"
#include "host/event_interfaces.h"
#include "host/platform.h"
#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/host_objects.h"
#include "services/local_string.h"
#include "services/msg.h"
#include "services/sys_objects.h"

namespace qx::scheduler {

void EIRepScheduler::m_oEvent_OnBarClick(const Variant& Tool, Variant& /*bCancel*/) {
  // No failure handling: a failure ends the command and goes back to the host's event call.
  host::platform().doEvents();
  ObjectRef tool = Tool.toObject();
  const std::string name = tool->get("Name").toString();  // compared exactly, case and all
  if (name == "close") return;

  if (name == "showability") {
    tool->put("Checked", !tool->get("Checked").toBool());
    m_bShowAbility = !m_bShowAbility;
    if (tool->get("Checked").toBool()) {
      ShowAbilityArea();
      RefreshAbility();
    } else {
      HideAbilityArea();
      ObjectRef ledger = control("ldgAbility");
      m_grdDetail->put("Height", ledger->get("Top").toDouble() + ledger->get("Height").toDouble() -
                                     m_grdDetail->get("Top").toDouble());
    }
    m_frmRep_Resize();
  } else if (name == "abilityOption") {
    EditAbilityOption();
  } else if (name == "wizard") {
    ObjectRef glData = services::NewGLData();
    // A Null answer is no right, as an If on Null is false.
    bool allowed =
        automation::isTrue(glData->call("AccessCheck", services::kWizardRightObject,
                                        services::kWizardRightSub, services::kWizardRightMask));
    glData.reset();
    if (allowed) {
      RunPlanWizard();
    } else {
      services::ShowMessage(services::LoadLocalString("对不起,你没有相应权限."),
                            services::kInformationOk);
    }
  } else if (name == "detailicmo") {
    m_frmRep_Resize();
    Variant button{m_frmRep->get("MenuBar").toObject()->get("Tools", "showability")};
    if (button.toObject()->get("Checked").toBool()) {
      Variant zero(int32_t{0});
      m_oEvent->callId(host::bill_op::idOf(host::bill_op::kShowDetail),
                       automation::CallKind::Method, automation::Arg::byRef(button),
                       automation::Arg::byRef(zero));
    }
  } else if (name == "refreshability") {
    if (m_bShowAbility) {
      m_rsAbility.reset();
      m_lAbilityLineID = 0;
      RefreshAbility();
    }
  } else if (name == "viewload") {
    ShowAbilityReport();
  }
}

void EIRepScheduler::EditAbilityOption() {
  // No failure handling. Whatever the dialog leaves in the argument becomes the options, whether
  // or not the user confirmed; a confirmed dialog's result becomes them and reloads the ledger.
  ObjectRef loader = services::createHostObject(host::prog_id::kAbilityLoad);
  Variant options{m_dctAbilityOption};
  Variant result = loader->call("ShowAbilityOption", automation::byRef(options));
  m_dctAbilityOption.set(options);
  ObjectRef answer = result.toObject();
  // "OK" Null is not a confirmation, as an If on Null is false.
  if (automation::isTrue(
          answer->callId(automation::kDispIdValue, automation::CallKind::Get, Variant("OK")))) {
    m_dctAbilityOption = answer;
    m_rsAbility.reset();
    m_lAbilityLineID = 0;
    RefreshAbility();
  }
  loader.reset();
}

}  // namespace qx::scheduler
